#include "service/platform/ReplayPlatform.h"

#include <cmath>
#include <fstream>
#include <iterator>

#include "service/platform/FactsJson.h"

namespace orvane {

namespace {

// Capture files are small; anything larger than this is not one of ours.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

double numberOr(const Value* v, double fallback) {
    if (!v) return fallback;
    if (const double* d = v->asReal()) return std::isfinite(*d) ? *d : fallback;
    if (const std::int64_t* i = v->asInt()) return static_cast<double>(*i);
    return fallback;
}

std::optional<Value> readJson(const std::filesystem::path& p) {
    auto bytes = readCaptureFile(p);
    if (!bytes) return std::nullopt;
    return decodeJson(*bytes);
}

std::unique_ptr<CapturedLive> readLive(const std::filesystem::path& dir, double uptime) {
    const auto bytes = readCaptureFile(dir / "live.json");
    return std::make_unique<CapturedLive>(
        bytes ? liveSamplesFromJson(*bytes, uptime) : std::vector<LiveInputs>{}, uptime);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readCaptureFile(const std::filesystem::path& p) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(p, ec);
    if (ec || size > kMaxFileBytes) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

LiveInputs CapturedLive::next() const {
    const std::size_t k = next_.fetch_add(1, std::memory_order_relaxed);
    if (samples_.empty()) return LiveInputs{uptime_, std::nullopt, std::nullopt, std::nullopt};
    return samples_[std::min(k, samples_.size() - 1)];
}

std::string MacCaptureSource::fileFor(const std::string& path,
                                      const std::vector<std::string>& args) {
    if (path == kSystemProfiler && args.size() == 2 && args[1] == "-json" &&
        args[0].rfind("SP", 0) == 0 && args[0].find('/') == std::string::npos)
        return "system_profiler-" + args[0] + ".json";
    if (path == kIoreg && args == std::vector<std::string>{"-r", "-c", "AppleSmartBattery", "-a"})
        return "ioreg-AppleSmartBattery.plist";
    if (path == kSwVers && args == std::vector<std::string>{"-buildVersion"})
        return "sw_vers-buildVersion.txt";
    return {};
}

MacCaptureSource::MacCaptureSource(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("system_profiler-", 0) == 0 || name.rfind("ioreg-", 0) == 0 ||
            name.rfind("sw_vers-", 0) == 0) {
            if (auto bytes = readCaptureFile(entry.path()))
                outputs_.emplace(name, std::move(*bytes));
        }
    }
    kernel_ = readJson(dir / "kernel.json");

    if (auto host = readJson(dir / "host.json")) {
        if (const Value* v = host->get("osVersion"); v && v->asArray()) {
            const auto& a = *v->asArray();
            auto at = [&](std::size_t i) {
                return i < a.size() ? static_cast<std::int64_t>(numberOr(&a[i], 0)) : 0;
            };
            osVersion_ = {at(0), at(1), at(2)};
        }
        uptime_ = numberOr(host->get("uptime"), 0);
        if (const std::string* s = host->getString("hostName")) hostName_ = *s;
    }
    live_ = readLive(dir, uptime_);
}

std::vector<std::uint8_t> MacCaptureSource::runData(const std::string& path,
                                                    const std::vector<std::string>& args) const {
    const std::string file = fileFor(path, args);
    if (file.empty()) return {};
    auto it = outputs_.find(file);
    return it == outputs_.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::string MacCaptureSource::sysctlString(const std::string& name) const {
    if (!kernel_) return {};
    const std::string* s = kernel_->getString(name);
    return s ? *s : std::string();
}

std::int64_t MacCaptureSource::sysctlInt(const std::string& name) const {
    if (!kernel_) return 0;
    const Value* v = kernel_->get(name);
    if (!v) return 0;
    if (const std::int64_t* i = v->asInt()) return *i;
    return 0;
}

ReplayPlatform::ReplayPlatform(const std::filesystem::path& dir) {
    if (const auto bytes = readCaptureFile(dir / "facts.json")) {
        facts_ = factsFromJson(*bytes);
        if (facts_) {
            live_ = readLive(dir, facts_->hardware.uptime);
            return;
        }
    }
    mac_ = std::make_unique<MacPlatform>(std::make_shared<MacCaptureSource>(dir));
}

HardwareFacts ReplayPlatform::hardware() const {
    return facts_ ? facts_->hardware : mac_->hardware();
}
PowerFacts ReplayPlatform::power() const {
    return facts_ ? facts_->power : mac_->power();
}
std::vector<VolumeFacts> ReplayPlatform::volumes() const {
    return facts_ ? facts_->volumes : mac_->volumes();
}
std::vector<GpuFacts> ReplayPlatform::graphics() const {
    return facts_ ? facts_->graphics : mac_->graphics();
}
std::int64_t ReplayPlatform::installedMemory() const {
    return facts_ ? facts_->installedMemory : mac_->installedMemory();
}
LiveInputs ReplayPlatform::sampleLive() const {
    return facts_ ? live_->next() : mac_->sampleLive();
}

}  // namespace orvane
