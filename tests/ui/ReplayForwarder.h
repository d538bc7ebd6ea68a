// A captured machine behind a platform that tests extend: every input is answered by the
// replay unless a subclass overrides it.
#pragma once

#include <string>

#include "service/platform/ReplayPlatform.h"

namespace orvane {

class ReplayForwarder : public Platform {
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
    std::optional<std::string> osName() const override { return replay_.osName(); }
    std::optional<std::string> osVersionText() const override { return replay_.osVersionText(); }
    double uptime() const override { return replay_.uptime(); }
    std::string hostName() const override { return replay_.hostName(); }
    std::optional<bool> isPortable() const override { return replay_.isPortable(); }
    LiveInputs sampleLive() const override { return replay_.sampleLive(); }

  private:
    ReplayPlatform replay_;
};

}  // namespace orvane
