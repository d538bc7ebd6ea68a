// A captured Mac behind a source that tests extend: every tool output and kernel value is
// answered by the capture unless a subclass overrides it. The service sees it through the Mac
// platform, as it sees a real Mac.
#pragma once

#include <memory>
#include <string>

#include "service/platform/ReplayPlatform.h"
#include "service/platform/mac/MacPlatform.h"

namespace orvane {

class ReplayForwarder : public MacSource {
  public:
    explicit ReplayForwarder(const std::string& dir) : replay_(dir) {}

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override {
        return replay_.runData(path, args);
    }
    std::string sysctlString(const std::string& name) const override {
        return replay_.sysctlString(name);
    }
    std::int64_t sysctlInt(const std::string& name) const override {
        return replay_.sysctlInt(name);
    }
    OsVersion osVersion() const override { return replay_.osVersion(); }
    double uptime() const override { return replay_.uptime(); }
    std::string hostName() const override { return replay_.hostName(); }
    LiveInputs sampleLive() const override { return replay_.sampleLive(); }

  private:
    MacCaptureSource replay_;
};

// The platform a service reads `source` through.
inline std::shared_ptr<const Platform> macPlatformOf(std::shared_ptr<const MacSource> source) {
    return std::make_shared<MacPlatform>(std::move(source));
}

}  // namespace orvane
