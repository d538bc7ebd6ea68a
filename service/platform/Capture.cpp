#include "service/platform/Capture.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

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

bool writeFile(const std::filesystem::path& p, const void* data, std::size_t size) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

bool writeJson(const std::filesystem::path& p, const nlohmann::json& j) {
    const std::string text = j.dump(2) + "\n";
    return writeFile(p, text.data(), text.size());
}

}  // namespace

std::string writeCapture(const Platform& platform, const std::filesystem::path& dir,
                         const CaptureOptions& options) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec || !std::filesystem::is_directory(dir))
        return "cannot create capture directory " + dir.string();

    for (const auto& line : commandLines()) {
        const auto bytes = platform.runData(line.path, line.args);
        if (bytes.empty()) continue;  // that tool could not be read: no file
        const auto file = dir / ReplayPlatform::fileFor(line.path, line.args);
        if (!writeFile(file, bytes.data(), bytes.size())) return "cannot write " + file.string();
    }

    nlohmann::json kernel = nlohmann::json::object();
    for (const char* name : {"hw.model", "machdep.cpu.brand_string"})
        if (auto s = platform.sysctlString(name); !s.empty()) kernel[name] = s;
    for (const char* name : {"hw.ncpu", "hw.memsize"})
        if (auto v = platform.sysctlInt(name); v != 0) kernel[name] = v;
    if (!writeJson(dir / "kernel.json", kernel)) return "cannot write kernel.json";

    const OsVersion v = platform.osVersion();
    nlohmann::json host = {{"osVersion", {v.major, v.minor, v.patch}},
                           {"uptime", platform.uptime()},
                           {"hostName", platform.hostName()}};
    if (auto name = platform.osName()) host["osName"] = *name;
    if (auto text = platform.osVersionText()) host["osVersionText"] = *text;
    if (auto portable = platform.isPortable()) host["portable"] = *portable;
    if (!writeJson(dir / "host.json", host)) return "cannot write host.json";

    nlohmann::json samples = nlohmann::json::array();
    for (int i = 0; i < std::max(options.samples, 1); ++i) {
        if (i > 0) std::this_thread::sleep_for(options.interval);
        const LiveInputs in = platform.sampleLive();
        nlohmann::json s = {{"uptime", in.uptime}};
        if (in.vm) {
            s["pageSize"] = in.vm->pageSize;
            s["vm"] = {{"active", in.vm->active},
                       {"inactive", in.vm->inactive},
                       {"wire", in.vm->wire},
                       {"purgeable", in.vm->purgeable},
                       {"compressor", in.vm->compressor},
                       {"external", in.vm->external}};
        } else {
            s["vm"] = nullptr;
        }
        s["swapUsed"] = in.swapUsed ? nlohmann::json(*in.swapUsed) : nlohmann::json(nullptr);
        if (in.cpuTicks) {
            nlohmann::json rows = nlohmann::json::array();
            for (const auto& t : *in.cpuTicks)
                rows.push_back({t.user, t.system, t.idle, t.nice});
            s["cpuTicks"] = rows;
        } else {
            s["cpuTicks"] = nullptr;
        }
        samples.push_back(std::move(s));
    }
    if (!writeJson(dir / "live.json", {{"samples", samples}})) return "cannot write live.json";
    return {};
}

}  // namespace orvane
