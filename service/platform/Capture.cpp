#include "service/platform/Capture.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "service/platform/FactsJson.h"
#include "service/platform/ReplayPlatform.h"

namespace orvane {

namespace {

struct CommandLine {
    const char* path;
    std::vector<std::string> args;
};

const std::vector<CommandLine>& commandLines() {
    static const std::vector<CommandLine> lines = {
        {kSystemProfiler, {"SPHardwareDataType", "-json"}},
        {kSystemProfiler, {"SPMemoryDataType", "-json"}},
        {kSystemProfiler, {"SPPowerDataType", "-json"}},
        {kSystemProfiler, {"SPStorageDataType", "-json"}},
        {kSystemProfiler, {"SPDisplaysDataType", "-json"}},
        {kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}},
        {kSwVers, {"-buildVersion"}},
    };
    return lines;
}

bool writeFile(const std::filesystem::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return static_cast<bool>(out);
}

std::string jsonText(const nlohmann::json& j) {
    // Kernel values and host names are not always valid UTF-8: such bytes become U+FFFD
    // rather than make the capture fail part way.
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

// The Mac's own sources: each tool's output byte for byte, the kernel values, the host.
std::string writeMacSources(const MacSource& mac, const std::filesystem::path& dir) {
    for (const auto& line : commandLines()) {
        const auto bytes = mac.runData(line.path, line.args);
        if (bytes.empty()) continue;  // that tool could not be read: no file
        const auto file = dir / MacCaptureSource::fileFor(line.path, line.args);
        if (!writeFile(file, std::string(bytes.begin(), bytes.end())))
            return "cannot write " + file.string();
    }

    nlohmann::json kernel = nlohmann::json::object();
    for (const char* name : {"hw.model", "machdep.cpu.brand_string"})
        if (auto s = mac.sysctlString(name); !s.empty()) kernel[name] = s;
    for (const char* name : {"hw.ncpu", "hw.memsize"})
        if (auto v = mac.sysctlInt(name); v != 0) kernel[name] = v;
    if (!writeFile(dir / "kernel.json", jsonText(kernel))) return "cannot write kernel.json";

    const OsVersion v = mac.osVersion();
    const nlohmann::json host = {{"osVersion", {v.major, v.minor, v.patch}},
                                 {"uptime", mac.uptime()},
                                 {"hostName", mac.hostName()}};
    if (!writeFile(dir / "host.json", jsonText(host))) return "cannot write host.json";
    return {};
}

}  // namespace

std::string writeCapture(const Platform& platform, const std::filesystem::path& dir,
                         const CaptureOptions& options, const std::string& journal) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir))
        return "cannot create capture directory " + dir.string();

    if (const MacSource* mac = platform.macSource()) {
        if (std::string error = writeMacSources(*mac, dir); !error.empty()) return error;
    } else {
        const MachineFacts facts{platform.hardware(), platform.power(), platform.volumes(),
                                 platform.graphics(), platform.installedMemory()};
        if (!writeFile(dir / "facts.json", factsToJson(facts))) return "cannot write facts.json";
    }

    std::vector<LiveInputs> samples;
    for (int i = 0; i < std::max(options.samples, 1); ++i) {
        if (i > 0) std::this_thread::sleep_for(options.interval);
        samples.push_back(platform.sampleLive());
    }
    const std::string live = liveSamplesToJson(samples);
    // A replay reads no larger file: say so now rather than lose the samples later.
    if (live.size() > kMaxCaptureFileBytes)
        return "too many live samples for one capture (" + std::to_string(live.size() >> 20) +
               " MB): take fewer";
    if (!writeFile(dir / "live.json", live)) return "cannot write live.json";
    if (!journal.empty() && !writeFile(dir / "journal.json", journal))
        return "cannot write journal.json";
    return {};
}

}  // namespace orvane
