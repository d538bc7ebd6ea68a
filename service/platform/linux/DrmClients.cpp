#include "service/platform/linux/DrmClients.h"

#include <algorithm>
#include <set>

#include "service/platform/linux/ProcFile.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

constexpr int kSamplesPerScan = 20;
// Bounds the open files on a machine with very many clients.
constexpr std::size_t kMaxClients = 1024;
constexpr std::size_t kMaxFdinfoBytes = 16 * 1024;

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// "1234 ns" -> 1234; a unit other than nanoseconds is not engine time.
std::optional<std::uint64_t> number(std::string_view value, bool nanoseconds) {
    const std::size_t space = value.find(' ');
    const std::string_view unit = space == std::string_view::npos
                                      ? std::string_view{}
                                      : SysText::trim(value.substr(space + 1));
    if (nanoseconds ? !(unit.empty() || unit == "ns") : !unit.empty()) return std::nullopt;
    return SysText::parseUnsigned(value.substr(0, space));
}

}  // namespace

std::optional<DrmFdinfo> parseDrmFdinfo(std::string_view text) {
    DrmFdinfo info;
    std::map<std::string, DrmFdinfo::Engine, std::less<>> engines;
    std::set<std::string, std::less<>> timed;  // engines with drm-engine- time
    bool drm = false;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        const std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view{} : text.substr(nl + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        const std::string_view key = SysText::trim(line.substr(0, colon));
        const std::string_view value = SysText::trim(line.substr(colon + 1));
        const auto engine = [&](std::size_t prefix) -> DrmFdinfo::Engine& {
            const std::string name(key.substr(prefix));
            DrmFdinfo::Engine& e = engines[name];
            e.name = name;
            return e;
        };
        if (key == "drm-driver") {
            drm = !value.empty();
            info.driver = std::string(value);
        } else if (key == "drm-pdev") {
            info.pdev = std::string(value);
        } else if (key == "drm-client-id") {
            info.clientId = SysText::parseUnsigned(value);
        } else if (startsWith(key, "drm-engine-capacity-") && key.size() > 20) {
            if (const auto n = number(value, false); n && *n > 0) engine(20).capacity = *n;
        } else if (startsWith(key, "drm-engine-") && key.size() > 11) {
            if (const auto n = number(value, true)) {
                DrmFdinfo::Engine& e = engine(11);
                e.busy = *n;
                e.cycles = false;
                timed.insert(e.name);
            }
        } else if (startsWith(key, "drm-cycles-") && key.size() > 11) {
            const auto n = number(value, false);
            if (n && !timed.count(key.substr(11))) {
                DrmFdinfo::Engine& e = engine(11);
                e.busy = *n;
                e.cycles = true;
            }
        } else if (startsWith(key, "drm-total-cycles-") && key.size() > 17) {
            if (const auto n = number(value, false)) engine(17).total = *n;
        }
    }
    if (!drm) return std::nullopt;
    for (auto& [name, e] : engines) {
        // Cycles without the cycles that passed, or a capacity alone, give no share.
        if (!timed.count(name) && !(e.cycles && e.total)) continue;
        if (timed.count(name)) e.total.reset();
        info.engines.push_back(std::move(e));
    }
    return info;
}

struct DrmClients::Client {
    Client(std::string pci, std::string key, const std::string& path)
        : pci(std::move(pci)), key(std::move(key)), file(path) {}
    std::string pci;
    std::string key;  // "pid/fd", when the driver names no client id
    ProcFile file;
};

DrmClients::DrmClients(const SysFs& fs) : fs_(fs) {}

DrmClients::~DrmClients() = default;

void DrmClients::rescan() {
    clients_.clear();
    if (nodePci_.size() > 64) nodePci_.clear();
    for (const std::string& pid : fs_.list("proc")) {
        if (pid.empty() ||
            !std::all_of(pid.begin(), pid.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const std::string fdDir = "proc/" + pid + "/fd";
        for (const std::string& fd : fs_.list(fdDir)) {
            if (clients_.size() >= kMaxClients) return;
            // The link names the device node; nothing of the device is touched to read it.
            const std::optional<std::string> target = fs_.linkTarget(fdDir + "/" + fd);
            if (!target || !startsWith(*target, "/dev/dri/")) continue;
            const std::string node = target->substr(9);
            if (node.empty() || node.find('/') != std::string::npos || node == "." || node == "..")
                continue;
            auto it = nodePci_.find(node);
            if (it == nodePci_.end()) {
                const std::string dev =
                    fs_.resolve("sys/class/drm/" + node + "/device").value_or("");
                it = nodePci_.emplace(node, dev.substr(dev.rfind('/') + 1)).first;
            }
            if (it->second.empty()) continue;
            clients_.push_back(std::make_unique<Client>(
                it->second, pid + "/" + fd, fs_.path("proc/" + pid + "/fdinfo/" + fd).string()));
        }
    }
}

std::map<std::string, double> DrmClients::sample(
    double seconds, const std::function<bool(const std::string&)>& awake) {
    if (samplesSinceScan_ == 0) rescan();
    samplesSinceScan_ = (samplesSinceScan_ + 1) % kSamplesPerScan;

    struct Sum {
        double busy = 0;
        std::uint64_t total = 0;  // cycles that passed, for engines counted in cycles
        std::uint64_t capacity = 1;
        bool cycles = false;
        bool counted = false;  // a client had a value in the previous sample too
    };
    std::map<std::string, std::map<std::string, Sum>> sums;  // PCI function, engine
    std::map<std::string, std::uint64_t> now, nowTotal;
    std::set<std::string> seenClients;
    const double wall = previousSeconds_ ? seconds - *previousSeconds_ : 0;
    std::map<std::string, bool> awakeOf;
    for (const auto& c : clients_) {
        auto a = awakeOf.find(c->pci);
        if (a == awakeOf.end()) a = awakeOf.emplace(c->pci, awake(c->pci)).first;
        if (!a->second || !c->file.read(buffer_, kMaxFdinfoBytes)) continue;
        const std::optional<DrmFdinfo> info = parseDrmFdinfo(buffer_);
        // A descriptor closed and opened again for something else is no longer a client.
        if (!info || (!info->pdev.empty() && info->pdev != c->pci)) continue;
        const std::string client =
            c->pci + "/" + (info->clientId ? std::to_string(*info->clientId) : c->key);
        // One client may be open in several descriptors and processes: counted once.
        if (!seenClients.insert(client).second) continue;
        for (const DrmFdinfo::Engine& e : info->engines) {
            const std::string key = client + "/" + e.name;
            // A counter that went back stays at the larger value it had.
            const auto before = previous_.find(key);
            now[key] = before == previous_.end() ? e.busy : std::max(before->second, e.busy);
            Sum& sum = sums[c->pci][e.name];
            sum.capacity = std::max(sum.capacity, e.capacity);
            sum.cycles = e.cycles;
            if (e.total) {
                nowTotal[key] = *e.total;
                const auto t = previousTotal_.find(key);
                if (t != previousTotal_.end() && *e.total > t->second)
                    sum.total = std::max(sum.total, *e.total - t->second);
            }
            if (before != previous_.end()) {
                sum.busy += static_cast<double>(now[key] - before->second);
                sum.counted = true;
            }
        }
    }
    previous_ = std::move(now);
    previousTotal_ = std::move(nowTotal);
    const bool hadPrevious = previousSeconds_.has_value();
    previousSeconds_ = seconds;

    std::map<std::string, double> out;
    if (!hadPrevious || !(wall > 0)) return out;
    for (const auto& [pci, engines] : sums) {
        std::optional<double> busiest;
        for (const auto& [name, s] : engines) {
            const double span = s.cycles ? static_cast<double>(s.total) : wall * 1e9;
            if (!s.counted || !(span > 0)) continue;
            const double share = s.busy / (span * static_cast<double>(s.capacity)) * 100;
            busiest = std::max(busiest.value_or(0), std::clamp(share, 0.0, 100.0));
        }
        if (busiest) out[pci] = *busiest;
    }
    return out;
}

}  // namespace orvane
