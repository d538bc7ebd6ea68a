#include "service/platform/ReplayPlatform.h"

#include <cerrno>
#include <fstream>
#include <iterator>

#include "service/platform/FactsJson.h"

namespace orvane {

namespace {

// Reads a capture file, noting why one that is there could not be read.
std::optional<std::vector<std::uint8_t>> readNoting(const std::filesystem::path& p,
                                                    std::vector<std::string>* problems) {
    std::string problem;
    auto bytes = readCaptureFile(p, &problem);
    if (!problem.empty() && problems) problems->push_back(std::move(problem));
    return bytes;
}

std::optional<Value> readJson(const std::filesystem::path& p, std::vector<std::string>* problems) {
    auto bytes = readNoting(p, problems);
    if (!bytes) return std::nullopt;
    return decodeJson(*bytes);
}

std::unique_ptr<CapturedLive> readLive(const std::filesystem::path& dir, double uptime,
                                       std::vector<std::string>* problems) {
    const auto bytes = readNoting(dir / "live.json", problems);
    return std::make_unique<CapturedLive>(
        bytes ? liveSamplesFromJson(*bytes, uptime) : std::vector<LiveInputs>{}, uptime);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readCaptureFile(const std::filesystem::path& p,
                                                         std::string* problem) {
    const auto fail = [&](const std::string& why) {
        if (problem) *problem = "cannot read " + p.string() + ": " + why;
        return std::nullopt;
    };
    std::error_code ec;
    const auto status = std::filesystem::status(p, ec);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) return fail(ec.message());
    if (status.type() != std::filesystem::file_type::regular) return fail("not a regular file");
    const auto size = std::filesystem::file_size(p, ec);
    if (ec) return fail(ec.message());
    if (size > kMaxCaptureFileBytes)
        return fail("larger than " + std::to_string(kMaxCaptureFileBytes >> 20) + " MB");
    std::ifstream in(p, std::ios::binary);
    if (!in) return fail(std::error_code(errno, std::generic_category()).message());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    // A file that grew since its size was taken is read no further than the limit allows.
    if (bytes.size() > kMaxCaptureFileBytes)
        return fail("larger than " + std::to_string(kMaxCaptureFileBytes >> 20) + " MB");
    return bytes;
}

bool holdsCaptureFiles(const std::filesystem::path& dir) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name == "facts.json" || name == "live.json" || name == "host.json" ||
            name == "kernel.json" || name.rfind("system_profiler-", 0) == 0 ||
            name.rfind("ioreg-", 0) == 0 || name.rfind("sw_vers-", 0) == 0)
            return true;
    }
    return false;
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

MacCaptureSource::MacCaptureSource(const std::filesystem::path& dir,
                                   std::vector<std::string>* problems) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("system_profiler-", 0) == 0 || name.rfind("ioreg-", 0) == 0 ||
            name.rfind("sw_vers-", 0) == 0) {
            if (auto bytes = readNoting(it->path(), problems))
                outputs_.emplace(name, std::move(*bytes));
        }
    }
    kernel_ = readJson(dir / "kernel.json", problems);

    if (auto host = readJson(dir / "host.json", problems)) {
        if (const Value* v = host->get("osVersion"); v && v->asArray()) {
            const auto& a = *v->asArray();
            auto at = [&](std::size_t i) {
                return i < a.size() ? saturatingInt64(numberOr(&a[i], 0)) : 0;
            };
            osVersion_ = {at(0), at(1), at(2)};
        }
        uptime_ = numberOr(host->get("uptime"), 0);
        if (const std::string* s = host->getString("hostName")) hostName_ = *s;
    }
    live_ = readLive(dir, uptime_, problems);
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
    // A directory that cannot be listed is one problem; its files then fail for the same
    // reason and are not reported again.
    std::error_code ec;
    std::filesystem::directory_iterator list(dir, ec);
    std::vector<std::string>* problems = &problems_;
    if (ec) {
        problems_.push_back("cannot read capture directory " + dir.string() + ": " + ec.message());
        problems = nullptr;
    }
    if (const auto bytes = readNoting(dir / "facts.json", problems)) {
        facts_ = factsFromJson(*bytes);
        if (facts_) {
            live_ = readLive(dir, facts_->hardware.uptime, problems);
            return;
        }
    }
    mac_ = std::make_unique<MacPlatform>(std::make_shared<MacCaptureSource>(dir, problems));
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
