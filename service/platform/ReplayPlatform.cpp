#include "service/platform/ReplayPlatform.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>

namespace orvane {

namespace {

// Capture files are small; anything larger than this is not one of ours.
constexpr std::uintmax_t kMaxFileBytes = 64u << 20;

std::optional<std::vector<std::uint8_t>> readFile(const std::filesystem::path& p) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(p, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(p, ec);
    if (ec || size > kMaxFileBytes) return std::nullopt;
    std::ifstream in(p, std::ios::binary);
    if (!in) return std::nullopt;
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

std::optional<Value> readJson(const std::filesystem::path& p) {
    auto bytes = readFile(p);
    if (!bytes) return std::nullopt;
    return decodeJson(*bytes);
}

double numberOr(const Value* v, double fallback) {
    if (!v) return fallback;
    if (const double* d = v->asReal()) return std::isfinite(*d) ? *d : fallback;
    if (const std::int64_t* i = v->asInt()) return static_cast<double>(*i);
    return fallback;
}

// A non-negative integer count; nothing when the value is not one.
std::optional<std::uint64_t> countOf(const Value* v) {
    if (!v) return std::nullopt;
    if (const std::int64_t* i = v->asInt()) {
        if (*i < 0) return std::nullopt;
        return static_cast<std::uint64_t>(*i);
    }
    if (const double* d = v->asReal()) {
        if (!(*d >= 0) || *d >= 1.8e19) return std::nullopt;
        return static_cast<std::uint64_t>(*d);
    }
    return std::nullopt;
}

std::optional<VmStats> vmOf(const Value& sample) {
    const Value* vm = sample.getObject("vm");
    if (!vm) return std::nullopt;
    VmStats s;
    const auto page = countOf(sample.get("pageSize"));
    if (!page) return std::nullopt;
    s.pageSize = *page;
    struct Field {
        const char* key;
        std::uint64_t VmStats::*slot;
    };
    static constexpr Field kFields[] = {
        {"active", &VmStats::active},
        {"inactive", &VmStats::inactive},
        {"wire", &VmStats::wire},
        {"purgeable", &VmStats::purgeable},
        {"compressor", &VmStats::compressor},
        {"external", &VmStats::external},
    };
    for (const auto& f : kFields)
        s.*f.slot = countOf(vm->get(f.key)).value_or(0);
    return s;
}

std::optional<std::vector<CpuTicks>> ticksOf(const Value& sample) {
    const Value* t = sample.get("cpuTicks");
    const Value::Array* rows = t ? t->asArray() : nullptr;
    if (!rows) return std::nullopt;
    std::vector<CpuTicks> ticks;
    ticks.reserve(rows->size());
    for (const Value& row : *rows) {
        const Value::Array* r = row.asArray();
        if (!r || r->size() < 4) return std::nullopt;
        std::uint32_t c[4];
        for (int k = 0; k < 4; ++k) {
            // Counters are 32-bit; larger captured values keep their low 32 bits.
            c[k] = static_cast<std::uint32_t>(countOf(&(*r)[k]).value_or(0));
        }
        ticks.push_back({c[0], c[1], c[2], c[3]});
    }
    return ticks;
}

}  // namespace

std::string ReplayPlatform::fileFor(const std::string& path, const std::vector<std::string>& args) {
    if (path == kSystemProfiler && args.size() == 2 && args[1] == "-json" &&
        args[0].rfind("SP", 0) == 0 && args[0].find('/') == std::string::npos)
        return "system_profiler-" + args[0] + ".json";
    if (path == kIoreg && args == std::vector<std::string>{"-r", "-c", "AppleSmartBattery", "-a"})
        return "ioreg-AppleSmartBattery.plist";
    if (path == kSwVers && args == std::vector<std::string>{"-buildVersion"})
        return "sw_vers-buildVersion.txt";
    return {};
}

ReplayPlatform::ReplayPlatform(const std::filesystem::path& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("system_profiler-", 0) == 0 || name.rfind("ioreg-", 0) == 0 ||
            name.rfind("sw_vers-", 0) == 0) {
            if (auto bytes = readFile(entry.path())) outputs_.emplace(name, std::move(*bytes));
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
        if (const std::string* s = host->getString("osName")) osName_ = *s;
        if (const std::string* s = host->getString("osVersionText")) osVersionText_ = *s;
        if (const Value* p = host->get("portable"); p && p->asBool()) portable_ = *p->asBool();
    }

    if (auto live = readJson(dir / "live.json")) {
        const Value* s = live->get("samples");
        if (const Value::Array* arr = s ? s->asArray() : nullptr) {
            for (const Value& sample : *arr) {
                LiveInputs in;
                in.uptime = numberOr(sample.get("uptime"), uptime_);
                in.vm = vmOf(sample);
                in.swapUsed = countOf(sample.get("swapUsed"));
                in.cpuTicks = ticksOf(sample);
                samples_.push_back(std::move(in));
            }
        }
    }
}

std::vector<std::uint8_t> ReplayPlatform::runData(const std::string& path,
                                                  const std::vector<std::string>& args) const {
    const std::string file = fileFor(path, args);
    if (file.empty()) return {};
    auto it = outputs_.find(file);
    return it == outputs_.end() ? std::vector<std::uint8_t>{} : it->second;
}

std::string ReplayPlatform::sysctlString(const std::string& name) const {
    if (!kernel_) return {};
    const std::string* s = kernel_->getString(name);
    return s ? *s : std::string();
}

std::int64_t ReplayPlatform::sysctlInt(const std::string& name) const {
    if (!kernel_) return 0;
    const Value* v = kernel_->get(name);
    if (!v) return 0;
    if (const std::int64_t* i = v->asInt()) return *i;
    return 0;
}

LiveInputs ReplayPlatform::sampleLive() const {
    const std::size_t k = nextSample_.fetch_add(1, std::memory_order_relaxed);
    if (samples_.empty()) return LiveInputs{uptime_, std::nullopt, std::nullopt, std::nullopt};
    return samples_[std::min(k, samples_.size() - 1)];
}

}  // namespace orvane
