// An in-memory Platform for the collector tests: tool outputs by command line, kernel
// values by name, and a scripted queue of live samples.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "service/platform/Platform.h"

namespace orvane::collectors_test {

class FakePlatform : public Platform {
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
        calls.push_back({path, args});
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
    std::optional<std::string> osName() const override { return name; }
    std::optional<std::string> osVersionText() const override { return versionText; }
    double uptime() const override { return uptimeSeconds; }
    std::string hostName() const override { return host; }
    LiveInputs sampleLive() const override {
        if (samples.empty()) return {};
        LiveInputs next = samples.front();
        if (samples.size() > 1) samples.pop_front();
        return next;
    }

    std::map<CommandLine, std::vector<std::uint8_t>> outputs;
    std::map<std::string, std::string> strings;
    std::map<std::string, std::int64_t> ints;
    OsVersion version;
    std::optional<std::string> name;
    std::optional<std::string> versionText;
    double uptimeSeconds = 0;
    std::string host;
    mutable std::deque<LiveInputs> samples;
    mutable std::vector<CommandLine> calls;
};

// An XML property list around `body` (the plist's root element).
inline std::string xmlPlist(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
           "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
           "<plist version=\"1.0\">\n" +
           body + "\n</plist>\n";
}

}  // namespace orvane::collectors_test
