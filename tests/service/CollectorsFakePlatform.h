// An in-memory Mac for the decoder and collector tests: tool outputs by command line and kernel
// values by name; and the records a Mac with those sources shows.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/mac/MacPlatform.h"

namespace orvane::collectors_test {

class FakePlatform : public MacSource {
  public:
    using CommandLine = std::pair<std::string, std::vector<std::string>>;

    // Output of a command line; a command line without output cannot be started.
    void setOutput(const std::string& path, const std::vector<std::string>& args,
                   const std::string& text) {
        outputs[{path, args}] = std::vector<std::uint8_t>(text.begin(), text.end());
    }
    void setProfiler(const std::string& dataType, const std::string& json) {
        setOutput(kSystemProfiler, {dataType, "-json"}, json);
    }
    void setIoreg(const std::string& plist) {
        setOutput(kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}, plist);
    }

    std::vector<std::uint8_t> runData(const std::string& path,
                                      const std::vector<std::string>& args) const override {
        auto it = outputs.find({path, args});
        return it == outputs.end() ? std::vector<std::uint8_t>{} : it->second;
    }
    std::string sysctlString(const std::string& name) const override {
        auto it = strings.find(name);
        return it == strings.end() ? std::string() : it->second;
    }
    std::int64_t sysctlInt(const std::string& name) const override {
        auto it = ints.find(name);
        return it == ints.end() ? 0 : it->second;
    }
    OsVersion osVersion() const override { return version; }
    double uptime() const override { return uptimeSeconds; }
    std::string hostName() const override { return host; }
    LiveInputs sampleLive() const override { return {}; }

    std::map<CommandLine, std::vector<std::uint8_t>> outputs;
    std::map<std::string, std::string> strings;
    std::map<std::string, std::int64_t> ints;
    OsVersion version;
    double uptimeSeconds = 0;
    std::string host;
};

// A Mac whose kernel values all read, so every fallback has something to take.
inline FakePlatform kernelOnlyMac() {
    FakePlatform p;
    p.strings["hw.model"] = "MacBookAir10,1";
    p.strings["machdep.cpu.brand_string"] = "Apple M1";
    p.ints["hw.ncpu"] = 8;
    p.ints["hw.memsize"] = 17179869184;
    p.version = {14, 5, 0};
    return p;
}

// The records of a Mac whose sources are `mac`, through the Mac platform and the collectors.
inline MacPlatform macOf(const FakePlatform& mac) {
    return MacPlatform(std::shared_ptr<const MacSource>(&mac, [](const MacSource*) {}));
}
inline HardwareInfo hardwareOf(const FakePlatform& mac) {
    return collectHardware(macOf(mac).hardware());
}
inline BatteryInfo batteryOf(const FakePlatform& mac) {
    return collectBattery(macOf(mac).power());
}
inline std::vector<VolumeInfo> volumesOf(const FakePlatform& mac) {
    return collectVolumes(macOf(mac).volumes());
}
inline std::pair<std::vector<DisplayInfo>, std::vector<GraphicsInfo>> displaysOf(
    const FakePlatform& mac) {
    return collectDisplays(macOf(mac).graphics());
}

// An XML property list around `body` (the plist's root element).
inline std::string xmlPlist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

}  // namespace orvane::collectors_test
