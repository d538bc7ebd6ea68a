// macOS: the reporting tools through Shell, kernel values by sysctlbyname, processor ticks
// and page counts from the Mach host interfaces.
#pragma once

#include "service/platform/Platform.h"

namespace orvane {

class MacPlatform final : public Platform {
  public:
    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override;
    std::string sysctlString(const std::string& name) const override;
    std::int64_t sysctlInt(const std::string& name) const override;
    OsVersion osVersion() const override;
    double uptime() const override;
    std::string hostName() const override;
    LiveInputs sampleLive() const override;
};

}  // namespace orvane
