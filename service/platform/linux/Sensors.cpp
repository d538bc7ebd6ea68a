#include "service/platform/linux/Sensors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <set>

#include "service/platform/linux/SysText.h"
#include "service/platform/linux/Throughput.h"

namespace orvane {

// Opened on the first read, not before: a sleeping device's files are never opened. Refuses
// anything but a regular file (a FIFO would block); reopened after a failed read.
class LinuxSensors::KeptFile {
  public:
    explicit KeptFile(std::string path) : path_(std::move(path)) {}
    ~KeptFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    // The trimmed start of the file (sysfs values are short); nothing when it cannot be read.
    std::optional<std::string_view> text() {
        if (fd_ < 0) {
            const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
            if (fd < 0) return std::nullopt;
            struct stat st {};
            if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
                ::close(fd);
                return std::nullopt;
            }
            fd_ = fd;
        }
        ssize_t n;
        do {
            n = ::pread(fd_, buffer_, sizeof buffer_, 0);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            ::close(fd_);
            fd_ = -1;
            return std::nullopt;
        }
        return SysText::trim(std::string_view(buffer_, static_cast<std::size_t>(n)));
    }
    std::optional<std::int64_t> integer() {
        const std::optional<std::string_view> t = text();
        if (!t) return std::nullopt;
        return SysText::parseSigned(*t);
    }

  private:
    const std::string path_;
    int fd_ = -1;
    char buffer_[128];
};

struct LinuxSensors::Input {
    Input(std::string name, const std::string& path) : name(std::move(name)), file(path) {}
    std::string name;
    KeptFile file;
    std::optional<double> critical;
    bool fan = false;
    int index = 0;
    bool tctl = false;
};

// A hwmon chip or a thermal zone.
struct LinuxSensors::Chip {
    std::string dir;                  // holds the attributes, relative to the root
    std::string deviceDir;            // where its device link leads, under the root
    std::unique_ptr<KeptFile> power;  // runtime_status of its PCI function, when on PCI
    std::string driver;               // of that PCI function
    std::string device;               // the group, once listed
    bool listed = false;
    std::vector<std::unique_ptr<Input>> inputs;
};

struct LinuxSensors::Card {
    std::string name;
    std::string driver;
    std::string pci;  // its PCI function ("0000:00:02.0"), when on PCI
    std::unique_ptr<KeptFile> power;
    std::unique_ptr<KeptFile> busy;  // gpu_busy_percent, where the driver has it
};

namespace {

using namespace std::string_literals;

constexpr int kSamplesPerScan = 20;
// Bounds the remembered interface and disk kinds (container hosts make veths by the thousand).
constexpr std::size_t kMaxKinds = 1024;

// The device group of a hwmon chip's name; empty for chips not known here.
std::string_view groupOf(std::string_view chip) {
    if (chip == "coretemp" || chip == "k10temp" || chip == "zenpower" || chip == "cpu_thermal")
        return "CPU";
    if (chip == "amdgpu" || chip == "radeon" || chip == "nouveau") return "GPU";
    if (chip == "nvme") return "NVMe";
    if (chip.substr(0, 7) == "iwlwifi") return "Wi-Fi";
    // A power supply's hwmon is named after the supply.
    if (chip.substr(0, 3) == "BAT" || chip == "battery") return "Battery";
    if (chip == "thinkpad" || chip == "dell_smm") return "System";
    return {};
}

// The group of a sleeping PCI device, from its driver: its sensors cannot be listed.
std::string groupOfDriver(const std::string& driver) {
    if (driver == "amdgpu" || driver == "radeon" || driver == "nouveau" || driver == "i915" ||
        driver == "xe" || driver == "nvidia")
        return "GPU";
    if (driver == "nvme") return "NVMe";
    if (driver == "iwlwifi") return "Wi-Fi";
    return driver.empty() ? "PCI device" : driver;
}

std::string numbered(std::string_view base, int index) {
    return index == 1 ? std::string(base) : std::string(base) + " " + std::to_string(index);
}

bool startsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

// The number in "temp12_input" for prefix "temp" and suffix "_input"; -1 when it is not one.
int attributeIndex(std::string_view name, std::string_view prefix, std::string_view suffix) {
    if (name.size() <= prefix.size() + suffix.size() || !startsWith(name, prefix) ||
        name.substr(name.size() - suffix.size()) != suffix)
        return -1;
    const auto n = SysText::parseUnsigned(
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()));
    return n && *n < 1000 ? static_cast<int>(*n) : -1;
}

// The PCI function a device path lies under: the path up to its last component shaped
// "0000:03:00.0". Empty when it is not on PCI.
std::string pciFunctionOf(std::string_view path) {
    std::size_t end = path.size();
    while (end > 0) {
        const std::size_t slash = path.rfind('/', end - 1);
        const std::size_t start = slash == std::string_view::npos ? 0 : slash + 1;
        const std::string_view c = path.substr(start, end - start);
        const std::size_t dot = c.size() >= 2 ? c.size() - 2 : 0;
        if (c.size() >= 12 && c[dot] == '.' && c[dot - 3] == ':' && c[dot - 6] == ':' &&
            SysText::parseHex(c.substr(0, dot - 6)) && SysText::parseHex(c.substr(dot - 5, 2)) &&
            SysText::parseHex(c.substr(dot - 2, 2)) && c[dot + 1] >= '0' && c[dot + 1] <= '7')
            return std::string(path.substr(0, end));
        if (slash == std::string_view::npos) break;
        end = slash;
    }
    return {};
}

// Degrees from millidegrees, when plausible for a sensor (a missing one often reads -128 °C
// or 255 °C or more).
std::optional<double> celsius(std::optional<std::int64_t> milli) {
    if (!milli || *milli <= -100000 || *milli >= 250000) return std::nullopt;
    return static_cast<double>(*milli) / 1000.0;
}

std::optional<double> critical(std::optional<std::int64_t> milli) {
    const std::optional<double> c = celsius(milli);
    return c && *c > 0 ? c : std::nullopt;
}

int rank(std::string_view device) {
    static constexpr std::string_view order[] = {"CPU",     "GPU",   "NVMe",
                                                 "Battery", "Wi-Fi", "System"};
    for (std::size_t i = 0; i < std::size(order); ++i)
        if (device == order[i]) return static_cast<int>(i);
    return static_cast<int>(std::size(order));
}

// The last component of a link's target ("../../../bus/pci/drivers/amdgpu" -> "amdgpu").
std::string baseName(const std::optional<std::string>& target) {
    if (!target) return {};
    const std::size_t slash = target->rfind('/');
    return slash == std::string::npos ? *target : target->substr(slash + 1);
}

}  // namespace

LinuxSensors::Naming LinuxSensors::temperatureName(std::string_view chip, std::string_view label,
                                                   int index) {
    const std::string_view group = groupOf(chip);
    const std::string l(label);
    if (group.empty())
        return {std::string(chip),
                std::string(chip) + " " + (l.empty() ? "temp" + std::to_string(index) : l)};
    const std::string g(group);
    if (chip == "coretemp" && startsWith(label, "Package id ")) {
        const std::string_view id = label.substr(11);
        return {g, id == "0" ? "CPU Package"s : "CPU Package " + std::string(id)};
    }
    if ((chip == "k10temp" || chip == "zenpower") && (label == "Tctl" || label == "Tdie"))
        return {g, "CPU"};
    if (chip == "k10temp" && startsWith(label, "Tccd")) return {g, "CCD " + l.substr(4)};
    if (g == "GPU" && label == "edge") return {g, "GPU"};
    if (g == "GPU" && label == "junction") return {g, "GPU Hotspot"};
    if (g == "GPU" && label == "mem") return {g, "GPU Memory"};
    // A power supply's hwmon labels its temperatures "temp" and "ambient temp".
    if (g == "Battery" && label == "temp") return {g, "Battery"};
    if (g == "Battery" && label == "ambient temp") return {g, "Battery Ambient"};
    if (chip == "nvme" && label == "Composite") return {g, "NVMe"};
    if (chip == "nvme" && !l.empty()) return {g, "NVMe " + l};
    return {g, l.empty() ? numbered(g, index) : l};
}

LinuxSensors::Naming LinuxSensors::fanName(std::string_view chip, std::string_view label,
                                           int index) {
    const std::string_view group = groupOf(chip);
    return {std::string(group.empty() ? chip : group),
            label.empty() ? "Fan " + std::to_string(index) : std::string(label)};
}

LinuxSensors::LinuxSensors(const SysFs& fs)
    : fs_(fs),
      netDev_(fs.path("proc/net/dev").string()),
      diskStats_(fs.path("proc/diskstats").string()),
      drm_(fs) {
    buffer_.reserve(16 * 1024);
}

LinuxSensors::~LinuxSensors() = default;

bool LinuxSensors::asleep(KeptFile* power) {
    if (!power) return false;
    const std::optional<std::string_view> status = power->text();
    return status && startsWith(*status, "suspend");  // "suspended", "suspending"
}

void LinuxSensors::rescan() {
    std::vector<std::string> seen;
    const std::vector<std::string> hwmons = fs_.list("sys/class/hwmon");
    const std::vector<std::string> thermal = fs_.list("sys/class/thermal");
    const std::vector<std::string> drm = fs_.list("sys/class/drm");
    for (const auto* names : {&hwmons, &thermal, &drm})
        seen.insert(seen.end(), names->begin(), names->end());
    if (scanned_ && seen == *scanned_) return;
    scanned_ = std::move(seen);
    chips_.clear();
    zones_.clear();
    cards_.clear();

    // The PCI function's power state file and driver, for a device path under the root.
    auto attachPower = [this](const std::string& devicePath, std::unique_ptr<KeptFile>& power,
                              std::string& driver) {
        const std::string pci = pciFunctionOf(devicePath);
        if (pci.empty()) return;
        power = std::make_unique<KeptFile>(fs_.path(pci + "/power/runtime_status").string());
        driver = baseName(fs_.linkTarget(pci + "/driver"));
    };

    std::set<std::string> hwmonNames, hwmonDevices;
    for (const std::string& h : hwmons) {
        if (!startsWith(h, "hwmon")) continue;
        auto chip = std::make_unique<Chip>();
        const std::string base = "sys/class/hwmon/" + h;
        // Old drivers keep their attributes in the device's own directory.
        chip->dir = fs_.exists(base + "/name") || !fs_.exists(base + "/device/name")
                        ? base
                        : base + "/device";
        chip->deviceDir = fs_.resolve(base + "/device").value_or("");
        attachPower(chip->deviceDir, chip->power, chip->driver);
        if (!chip->deviceDir.empty()) hwmonDevices.insert(chip->deviceDir);
        if (!asleep(chip->power.get())) {
            listChip(*chip);
            if (const auto name = fs_.text(chip->dir + "/name")) hwmonNames.insert(*name);
        }
        chips_.push_back(std::move(chip));
    }

    // Thermal zones that have a hwmon already show through it.
    for (const std::string& z : thermal) {
        if (!startsWith(z, "thermal_zone")) continue;
        const std::string dir = "sys/class/thermal/" + z;
        std::string type = SysText::clean(fs_.text(dir + "/type").value_or(""));
        // Some zones have no temperature to read ("INT3400 Thermal").
        if (type.empty() || !fs_.exists(dir + "/temp")) continue;
        std::string hwmonName = type;
        std::replace(hwmonName.begin(), hwmonName.end(), '-', '_');
        const std::optional<std::string> resolved = fs_.resolve(dir);
        if (hwmonNames.count(hwmonName) || (resolved && hwmonDevices.count(*resolved))) continue;
        Naming naming;
        if (startsWith(hwmonName, "x86_pkg_temp"))
            naming = {"CPU", "CPU Package"};
        else if (startsWith(hwmonName, "cpu"))
            naming = {"CPU", "CPU"};
        else if (startsWith(hwmonName, "soc"))
            naming = {"CPU", "SoC"};
        else if (startsWith(hwmonName, "gpu"))
            naming = {"GPU", "GPU"};
        else if (!groupOf(hwmonName).empty())
            naming = temperatureName(hwmonName, "", 1);
        else
            naming = {"Thermal zones", type};
        auto zone = std::make_unique<Chip>();
        zone->dir = dir;
        zone->device = naming.device;
        zone->listed = true;
        auto input = std::make_unique<Input>(naming.sensor, fs_.path(dir + "/temp").string());
        for (const std::string& f : fs_.list(dir)) {
            const int trip = attributeIndex(f, "trip_point_", "_type");
            if (trip < 0) continue;
            if (fs_.text(dir + "/" + f) != "critical") continue;
            input->critical =
                critical(fs_.integer(dir + "/trip_point_" + std::to_string(trip) + "_temp"));
        }
        zone->inputs.push_back(std::move(input));
        zones_.push_back(std::move(zone));
    }

    for (const std::string& c : drm) {
        if (!startsWith(c, "card") || c.find('-') != std::string::npos) continue;
        auto card = std::make_unique<Card>();
        card->name = c;
        const std::string device = "sys/class/drm/" + c + "/device";
        const std::string devicePath = fs_.resolve(device).value_or("");
        attachPower(devicePath, card->power, card->driver);
        if (const std::string pci = pciFunctionOf(devicePath); !pci.empty())
            card->pci = pci.substr(pci.rfind('/') + 1);
        if (card->driver.empty()) card->driver = baseName(fs_.linkTarget(device + "/driver"));
        // A stat of the file, which does not reach the driver.
        if (fs_.exists(device + "/gpu_busy_percent"))
            card->busy =
                std::make_unique<KeptFile>(fs_.path(device + "/gpu_busy_percent").string());
        if (card->busy || card->power) cards_.push_back(std::move(card));
    }

    // hwmon0, hwmon1, ..., hwmon10 in their numbers' order.
    auto byNumber = [](const std::string& a, const std::string& b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    };
    std::stable_sort(chips_.begin(), chips_.end(),
                     [&](const auto& a, const auto& b) { return byNumber(a->dir, b->dir); });
    std::stable_sort(zones_.begin(), zones_.end(),
                     [&](const auto& a, const auto& b) { return byNumber(a->dir, b->dir); });
}

void LinuxSensors::listChip(Chip& chip) {
    chip.listed = true;
    const std::string name = SysText::clean(fs_.text(chip.dir + "/name").value_or("hwmon"));
    chip.device = temperatureName(name, "", 1).device;
    bool hasTdie = false;
    for (const std::string& f : fs_.list(chip.dir)) {
        const int temp = std::max(attributeIndex(f, "temp", "_input"), 0);
        const int fan = std::max(attributeIndex(f, "fan", "_input"), 0);
        if (temp == 0 && fan == 0) continue;
        const std::string prefix =
            chip.dir + "/" + (temp ? "temp" : "fan") + std::to_string(temp ? temp : fan);
        const std::string label = SysText::clean(fs_.text(prefix + "_label").value_or(""));
        hasTdie = hasTdie || label == "Tdie";
        const Naming naming = temp ? temperatureName(name, label, temp) : fanName(name, label, fan);
        auto input = std::make_unique<Input>(naming.sensor, fs_.path(chip.dir + "/" + f).string());
        input->fan = fan != 0;
        input->index = temp ? temp : fan;
        input->tctl = label == "Tctl";
        if (temp) input->critical = critical(fs_.integer(prefix + "_crit"));
        chip.inputs.push_back(std::move(input));
    }
    // Where both are given, Tctl carries an offset for fan control; Tdie is the real one.
    if (hasTdie) std::erase_if(chip.inputs, [](const auto& in) { return in->tctl; });
    // Temperatures, then fans, each by number (temp2 before temp10).
    std::sort(chip.inputs.begin(), chip.inputs.end(), [](const auto& a, const auto& b) {
        return std::pair(a->fan, a->index) < std::pair(b->fan, b->index);
    });
}

void LinuxSensors::readInterfaces(SensorInputs& out) {
    if (!netDev_.read(buffer_, SysFs::kMaxFileBytes)) return;
    Throughput::parseNetDev(buffer_, out.network);
    if (interfaceKinds_.size() > kMaxKinds) interfaceKinds_.clear();
    std::erase_if(out.network, [&](NetworkCounters& c) {
        auto it = interfaceKinds_.find(c.name);
        if (it == interfaceKinds_.end()) {
            std::optional<bool> kind;
            const std::string base = "sys/class/net/" + c.name;
            if (c.name.find('/') != std::string::npos || c.name == "." || c.name == "..") {
            } else if (!fs_.exists("sys/class/net")) {
                if (c.name != "lo") kind = false;
            } else if (fs_.exists(base + "/device") && fs_.integer(base + "/type") != 772) {
                // Physical: bridges, veths, tunnels and loopback have no device.
                kind = fs_.exists(base + "/wireless") || fs_.exists(base + "/phy80211");
            }
            it = interfaceKinds_.emplace(c.name, kind).first;
        }
        if (!it->second) return true;
        c.wireless = *it->second;
        return false;
    });
}

void LinuxSensors::readDisks(SensorInputs& out) {
    if (!diskStats_.read(buffer_, SysFs::kMaxFileBytes)) return;
    Throughput::parseDiskStats(buffer_, out.disks);
    if (wholeDisks_.size() > kMaxKinds) wholeDisks_.clear();
    std::erase_if(out.disks, [&](const DiskCounters& d) {
        auto it = wholeDisks_.find(d.name);
        if (it == wholeDisks_.end()) {
            bool whole = false;
            const std::string_view n = d.name;
            const bool virtualDisk = startsWith(n, "loop") || startsWith(n, "ram") ||
                                     startsWith(n, "zram") || startsWith(n, "dm-") ||
                                     startsWith(n, "md") || startsWith(n, "nbd");
            if (virtualDisk || n.find('/') != std::string_view::npos || n == "." || n == "..") {
            } else if (fs_.exists("sys/block")) {
                // /sys/block lists whole disks only.
                const std::optional<std::string> dev = fs_.resolve("sys/block/" + d.name);
                whole = dev && !startsWith(*dev, "/sys/devices/virtual/");
            } else {
                whole = !fs_.exists("sys/class/block/" + d.name + "/partition");
            }
            it = wholeDisks_.emplace(d.name, whole).first;
        }
        return !it->second;
    });
}

SensorInputs LinuxSensors::sample() {
    std::lock_guard lock(mutex_);
    if (samplesSinceScan_ == 0) rescan();
    samplesSinceScan_ = (samplesSinceScan_ + 1) % kSamplesPerScan;
    SensorInputs out;

    std::vector<SensorDeviceFacts> devices;
    for (const auto& chip : chips_) {
        if (asleep(chip->power.get())) {
            devices.push_back(
                {chip->listed ? chip->device : groupOfDriver(chip->driver), true, {}, {}});
            continue;
        }
        if (!chip->listed) listChip(*chip);
        SensorDeviceFacts d{chip->device, false, {}, {}};
        for (const auto& in : chip->inputs) {
            const std::optional<std::int64_t> v = in->file.integer();
            if (in->fan) {
                if (v && *v >= 0) d.fans.push_back({in->name, static_cast<double>(*v)});
            } else if (const std::optional<double> c = celsius(v)) {
                d.temperatures.push_back({in->name, c, in->critical});
            }
        }
        if (!d.temperatures.empty() || !d.fans.empty()) devices.push_back(std::move(d));
    }
    // A zone joins the device of its group unless that already has a sensor of its name.
    for (const auto& zone : zones_) {
        Input& in = *zone->inputs.front();
        const std::optional<double> c = celsius(in.file.integer());
        if (!c) continue;
        auto it = std::find_if(devices.begin(), devices.end(),
                               [&](const auto& d) { return d.name == zone->device; });
        if (it == devices.end()) {
            devices.push_back({zone->device, false, {}, {}});
            it = devices.end() - 1;
        }
        if (std::none_of(it->temperatures.begin(), it->temperatures.end(),
                         [&](const auto& t) { return t.name == in.name; }))
            it->temperatures.push_back({in.name, c, in.critical});
    }
    std::stable_sort(devices.begin(), devices.end(),
                     [](const auto& a, const auto& b) { return rank(a.name) < rank(b.name); });
    // Two drives of one kind: "NVMe" and "NVMe 2".
    std::map<std::string, int> seen;
    for (SensorDeviceFacts& d : devices)
        if (const int n = ++seen[d.name]; n > 1) d.name += " " + std::to_string(n);
    out.devices = std::move(devices);

    std::vector<GpuLoadFacts> gpus;
    std::set<std::string> awakePci;
    bool clientsWanted = false;
    for (const auto& card : cards_) {
        GpuLoadFacts g{card->name, card->driver, asleep(card->power.get()), std::nullopt};
        if (!g.sleeping && !card->pci.empty()) awakePci.insert(card->pci);
        if (!g.sleeping && card->busy)
            if (const auto v = card->busy->integer(); v && *v >= 0 && *v <= 100)
                g.busyPercent = static_cast<double>(*v);
        clientsWanted = clientsWanted || (!g.sleeping && !card->busy && !card->pci.empty());
        gpus.push_back(std::move(g));
    }
    // Cards without a busy percentage of their own: their clients' engine time, read only
    // for devices found awake just now.
    if (clientsWanted) {
        timespec ts{};
        ::clock_gettime(CLOCK_MONOTONIC, &ts);
        const auto loads =
            drm_.sample(static_cast<double>(ts.tv_sec) + ts.tv_nsec / 1e9,
                        [&](const std::string& pci) { return awakePci.count(pci) > 0; });
        for (std::size_t i = 0; i < cards_.size(); ++i)
            if (const auto it = loads.find(cards_[i]->pci);
                !gpus[i].sleeping && !cards_[i]->busy && it != loads.end())
                gpus[i].busyPercent = it->second;
    }
    for (GpuLoadFacts& g : gpus)
        if (g.sleeping || g.busyPercent) out.gpus.push_back(std::move(g));

    readInterfaces(out);
    readDisks(out);
    return out;
}

}  // namespace orvane
