#include "service/platform/linux/HardwareReport.h"

#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <set>

#include "service/Shell.h"
#include "service/platform/linux/OsRelease.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

bool containsIgnoringCase(std::string_view haystack, std::string_view needle) {
    return Shell::lowerAscii(haystack).find(Shell::lowerAscii(needle)) != std::string::npos;
}

// A product version worth showing: not a placeholder and more than a revision number.
bool meaningfulVersion(std::string_view version) {
    if (SysText::isPlaceholder(version)) return false;
    int letters = 0;
    for (char c : version)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) ++letters;
    return letters >= 3;
}

// Leading "major.minor.patch" digit groups ("6.1.0-18-amd64" -> 6, 1, 0); nothing when the
// text does not start with a number.
std::optional<OsVersion> leadingVersion(std::string_view text) {
    std::int64_t parts[3] = {0, 0, 0};
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i == start) {
            if (k == 0) return std::nullopt;
            break;
        }
        const auto value = SysText::parseUnsigned(text.substr(start, i - start));
        if (!value || *value > INT32_MAX) return std::nullopt;
        parts[k] = static_cast<std::int64_t>(*value);
        if (i >= text.size() || text[i] != '.') break;
        ++i;
    }
    return OsVersion{parts[0], parts[1], parts[2]};
}

}  // namespace

std::string HardwareReport::dmi(const char* field) const {
    const std::optional<std::string> value = fs_.text(std::string("sys/class/dmi/id/") + field);
    if (!value) return {};
    std::string text = SysText::collapseSpaces(SysText::clean(*value));
    return SysText::isPlaceholder(text) ? std::string() : text;
}

std::string HardwareReport::deviceTreeModel() const {
    for (const char* file : {"proc/device-tree/model", "sys/firmware/devicetree/base/model"}) {
        if (std::optional<std::string> raw = fs_.read(file, 4096)) {
            // The property is NUL-terminated text.
            const std::size_t nul = raw->find('\0');
            std::string text = SysText::clean(raw->substr(0, nul));
            if (!text.empty()) return text;
        }
    }
    return {};
}

std::string HardwareReport::cpuInfoField(std::string_view key) const {
    const std::optional<std::string> info = fs_.read("proc/cpuinfo");
    if (!info) return {};
    std::string_view rest = *info;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (SysText::trim(line.substr(0, colon)) != key) continue;
        return SysText::collapseSpaces(SysText::clean(line.substr(colon + 1)));
    }
    return {};
}

bool HardwareReport::runsInVirtualMachine() const {
    const std::string flags = cpuInfoField("flags");
    for (std::string_view flag : SysText::words(flags))
        if (flag == "hypervisor") return true;
    return fs_.exists("sys/hypervisor/type");
}

std::string HardwareReport::cpuBrand() const {
    std::string name = cpuInfoField("model name");
    return name.empty() ? deviceTreeModel() : name;
}

std::int64_t HardwareReport::onlineProcessors() const {
    std::vector<CpuTicks> ticks;
    if (const std::optional<std::string> stat = fs_.read("proc/stat");
        stat && ProcCounters::parseCpuTicks(*stat, ticks)) {
        return static_cast<std::int64_t>(ticks.size());
    }
    if (fs_.isHostRoot()) {
        const long n = ::sysconf(_SC_NPROCESSORS_ONLN);
        if (n > 0) return n;
    }
    return 0;
}

std::vector<std::uint32_t> HardwareReport::onlineCpus() const {
    if (const std::optional<std::string> online = fs_.text("sys/devices/system/cpu/online")) {
        if (auto cpus = SysText::cpuList(*online)) return std::move(*cpus);
    }
    std::vector<std::uint32_t> cpus;
    const std::optional<std::string> stat = fs_.read("proc/stat");
    if (!stat) return cpus;
    for (std::string_view rest = *stat; rest.rfind("cpu", 0) == 0;) {
        const std::string_view line = rest.substr(0, rest.find('\n'));
        const std::vector<std::string_view> w = SysText::words(line);
        if (!w.empty() && w[0].size() > 3) {
            const auto n = SysText::parseUnsigned(w[0].substr(3));
            if (!n || *n > UINT32_MAX || cpus.size() >= 65536) return {};
            cpus.push_back(static_cast<std::uint32_t>(*n));
        }
        if (line.size() == rest.size()) break;
        rest.remove_prefix(line.size() + 1);
    }
    return cpus;
}

HardwareReport::CoreKeys HardwareReport::coresOf(const std::vector<std::uint32_t>& cpus) const {
    // Threads of one core list the same siblings: the list's first processor names the core.
    // Without those lists, a core is its core_id within its package; a processor without
    // topology files is a core of its own.
    CoreKeys keys;
    for (const std::uint32_t cpu : cpus) {
        const std::string topology =
            "sys/devices/system/cpu/cpu" + std::to_string(cpu) + "/topology/";
        std::optional<std::string> siblings = fs_.text(topology + "core_cpus_list");
        if (!siblings) siblings = fs_.text(topology + "thread_siblings_list");
        const auto members = siblings ? SysText::cpuList(*siblings) : std::nullopt;
        std::pair<std::int64_t, std::int64_t> key{-1, cpu};
        if (members && std::find(members->begin(), members->end(), cpu) != members->end()) {
            key.second = *std::min_element(members->begin(), members->end());
        } else if (!siblings) {
            const auto core = fs_.integer(topology + "core_id");
            const auto package =
                core ? fs_.integer(topology + "physical_package_id") : std::nullopt;
            if (core && package && *core >= 0 && *package >= 0) key = {*package, *core};
        }
        keys.emplace(cpu, key);
    }
    return keys;
}

std::int64_t HardwareReport::physicalCores(const std::vector<std::uint32_t>& cpus,
                                           const CoreKeys& keys) const {
    std::set<std::pair<std::int64_t, std::int64_t>> cores;
    for (const std::uint32_t cpu : cpus) {
        const auto it = keys.find(cpu);
        cores.insert(it != keys.end() ? it->second : coresOf({cpu}).begin()->second);
    }
    return static_cast<std::int64_t>(cores.size());
}

std::optional<std::pair<std::int64_t, std::int64_t>> HardwareReport::hybridCores(
    const std::vector<std::uint32_t>& cpus, const CoreKeys& keys) const {
    std::vector<std::uint32_t> performance;
    std::vector<std::uint32_t> efficiency;
    // x86 hybrids name their two kinds of core. Elsewhere the cores' speeds tell them apart:
    // their capacity (ARM, RISC-V), else the firmware's highest performance level (which some
    // firmware gives every core alike), else the highest clock; the first source that every
    // online processor has and that tells tiers apart.
    const std::optional<std::string> core = fs_.text("sys/devices/cpu_core/cpus");
    const std::optional<std::string> atom = fs_.text("sys/devices/cpu_atom/cpus");
    if (core && atom) {
        performance = SysText::cpuList(*core).value_or(std::vector<std::uint32_t>{});
        efficiency = SysText::cpuList(*atom).value_or(std::vector<std::uint32_t>{});
    } else {
        if (cpus.empty()) return std::nullopt;
        for (const char* file :
             {"/cpu_capacity", "/acpi_cppc/highest_perf", "/cpufreq/cpuinfo_max_freq"}) {
            std::vector<std::int64_t> speeds;
            for (const std::uint32_t cpu : cpus) {
                const auto speed =
                    fs_.integer("sys/devices/system/cpu/cpu" + std::to_string(cpu) + file);
                if (!speed || *speed <= 0 || *speed > (std::int64_t{1} << 40)) break;
                speeds.push_back(*speed);
            }
            if (speeds.size() != cpus.size()) continue;
            // Speeds form tiers: sorted, a tier ends where the next speed is more than a fifth
            // above the one before (two efficiency clusters at 718 and 731 are one tier;
            // favoured cores a few percent faster are no tier of their own). The slowest tier
            // is the efficiency cores, every faster one performance cores.
            std::vector<std::int64_t> sorted = speeds;
            std::sort(sorted.begin(), sorted.end());
            std::int64_t slowest = sorted.front();
            for (std::size_t i = 1; i < sorted.size() && sorted[i] * 5 <= sorted[i - 1] * 6; ++i)
                slowest = sorted[i];
            if (slowest == sorted.back()) continue;  // one tier: perhaps the next source tells
            for (std::size_t i = 0; i < cpus.size(); ++i)
                (speeds[i] <= slowest ? efficiency : performance).push_back(cpus[i]);
            break;
        }
    }
    if (performance.empty() || efficiency.empty()) return std::nullopt;
    return std::make_pair(physicalCores(performance, keys), physicalCores(efficiency, keys));
}

std::int64_t HardwareReport::soldMemorySize(std::int64_t bytes) {
    constexpr std::int64_t kMiB = std::int64_t{1} << 20;
    constexpr std::int64_t kGiB = std::int64_t{1} << 30;
    if (bytes <= 0) return 0;
    std::int64_t size = kMiB;
    while (size < bytes && size < 2 * kGiB)
        size *= 2;
    // 2, 3, 4, 6, 8, 12, …: alternately half as much again and a third as much again.
    while (size < bytes && size < 256 * kGiB)
        size += (size & (size - 1)) == 0 ? size / 2 : size / 3;
    if (size >= bytes) return size;
    constexpr std::int64_t kStep = 64 * kGiB;
    return bytes <= INT64_MAX - kStep ? (bytes + kStep - 1) / kStep * kStep : bytes;
}

std::int64_t HardwareReport::installedMemory() const {
    std::int64_t memTotal = 0;
    if (const std::optional<std::string> meminfo = fs_.read("proc/meminfo")) {
        memTotal = static_cast<std::int64_t>(ProcCounters::parseMemInfo(*meminfo, 0).memTotalBytes);
    }
    // The kernel and the firmware keep some memory out of MemTotal (a graphics processor
    // sharing it keeps more): the memory blocks count it, else the size it was sold as.
    const std::optional<std::string> blockText =
        fs_.text("sys/devices/system/memory/block_size_bytes");
    const std::optional<std::uint64_t> block =
        blockText ? SysText::parseHex(*blockText) : std::nullopt;
    if (!block || *block == 0 || *block > (std::uint64_t{1} << 40)) return soldMemorySize(memTotal);
    std::uint64_t online = 0;
    for (const std::string& name : fs_.list("sys/devices/system/memory")) {
        if (name.rfind("memory", 0) != 0 || !SysText::parseUnsigned(name.substr(6))) continue;
        if (fs_.text("sys/devices/system/memory/" + name + "/state") == "online") ++online;
    }
    const std::uint64_t total = online * *block;
    if (online == 0) return soldMemorySize(memTotal);
    if (total > static_cast<std::uint64_t>(INT64_MAX)) return memTotal;
    return std::max(memTotal, static_cast<std::int64_t>(total));
}

std::string HardwareReport::memoryText(std::int64_t bytes) {
    constexpr double kGiB = 1024.0 * 1024.0 * 1024.0;
    if (bytes <= 0) return {};
    const double gib = static_cast<double>(bytes) / kGiB;
    if (gib >= 1) return std::to_string(std::llround(gib)) + " GB";
    return std::to_string(std::llround(static_cast<double>(bytes) / (1024.0 * 1024.0))) + " MB";
}

std::string HardwareReport::memoryTypeName(unsigned code) {
    switch (code) {
        case 0x03:
            return "DRAM";
        case 0x04:
            return "EDRAM";
        case 0x05:
            return "VRAM";
        case 0x06:
            return "SRAM";
        case 0x07:
            return "RAM";
        case 0x0F:
            return "SDRAM";
        case 0x10:
            return "SGRAM";
        case 0x11:
            return "RDRAM";
        case 0x12:
            return "DDR";
        case 0x13:
            return "DDR2";
        case 0x14:
            return "DDR2 FB-DIMM";
        case 0x18:
            return "DDR3";
        case 0x19:
            return "FBD2";
        case 0x1A:
            return "DDR4";
        case 0x1B:
            return "LPDDR";
        case 0x1C:
            return "LPDDR2";
        case 0x1D:
            return "LPDDR3";
        case 0x1E:
            return "LPDDR4";
        case 0x20:
            return "HBM";
        case 0x21:
            return "HBM2";
        case 0x22:
            return "DDR5";
        case 0x23:
            return "LPDDR5";
        case 0x24:
            return "HBM3";
        default:
            return {};
    }
}

std::string HardwareReport::memoryType() const {
    // SMBIOS memory devices (type 17): byte 1 is the structure length, bytes 0x0C-0x0D the
    // module size (0: empty slot), byte 0x12 the memory type.
    constexpr std::size_t kTypeOffset = 0x12;
    for (const std::string& entry : fs_.list("sys/firmware/dmi/entries")) {
        if (entry.rfind("17-", 0) != 0) continue;
        const std::optional<std::string> raw =
            fs_.read("sys/firmware/dmi/entries/" + entry + "/raw", 4096);
        if (!raw || raw->size() <= kTypeOffset) continue;
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>((*raw)[i]); };
        if (byte(0) != 17 || byte(1) <= kTypeOffset) continue;
        const unsigned size = byte(0x0C) | (byte(0x0D) << 8);
        if (size == 0) continue;
        if (std::string type = memoryTypeName(byte(kTypeOffset)); !type.empty()) return type;
    }
    // The firmware tables are usually readable by root only. Without them the type is not
    // known; say plain "RAM" rather than let the Mac's "Unified Memory" stand for a PC's.
    return "RAM";
}

std::optional<bool> HardwareReport::isPortable() const {
    const std::optional<std::string> text = fs_.text("sys/class/dmi/id/chassis_type");
    if (!text) return std::nullopt;
    const auto type = SysText::parseUnsigned(SysText::trim(*text));
    if (!type) return std::nullopt;
    switch (*type) {
        case 8:   // portable
        case 9:   // laptop
        case 10:  // notebook
        case 11:  // hand held
        case 14:  // sub notebook
        case 30:  // tablet
        case 31:  // convertible
        case 32:  // detachable
            return true;
        case 1:  // other
        case 2:  // unknown
            return std::nullopt;
        default:
            return false;
    }
}

std::string HardwareReport::kernelRelease() const {
    if (fs_.isHostRoot()) {
        struct utsname u {};
        if (::uname(&u) == 0) return SysText::clean(u.release);
        return {};
    }
    return SysText::clean(fs_.text("proc/sys/kernel/osrelease").value_or(""));
}

std::string HardwareReport::hostName() const {
    if (fs_.isHostRoot()) {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) != 0) return {};
        return SysText::clean(name);
    }
    return SysText::clean(fs_.text("proc/sys/kernel/hostname").value_or(""));
}

void HardwareReport::readOperatingSystem(HardwareFacts& hw) const {
    OsRelease release;
    bool described = false;
    for (const char* file : {"etc/os-release", "usr/lib/os-release"}) {
        if (std::optional<std::string> text = fs_.read(file, 64 * 1024)) {
            release = OsRelease::parse(*text);
            described = true;
            break;
        }
    }
    const std::optional<std::string> name = release.get("NAME");
    const std::optional<std::string> pretty = release.get("PRETTY_NAME");
    const std::optional<std::string> versionId = release.get("VERSION_ID");
    hw.osName = name ? name : pretty ? pretty : std::string("Linux");

    // VERSION_ID, else VERSION. What PRETTY_NAME adds to NAME is often part of the name
    // ("Gentoo/Linux", "Exherbo Linux"): a system without a version number has none.
    hw.osVersionText = versionId ? versionId : release.get("VERSION");
    if (described && !hw.osVersionText) hw.osVersionText = "";

    // The numbers from VERSION_ID ("22.04" -> 22.4.0), else from the kernel release.
    const std::string kernel = kernelRelease();
    std::optional<OsVersion> version = versionId ? leadingVersion(*versionId) : std::nullopt;
    if (!version) version = leadingVersion(kernel);
    if (version && *version != OsVersion{}) hw.osVersion = version;
    if (!kernel.empty()) hw.osBuild = kernel;
}

HardwareFacts HardwareReport::facts(std::int64_t installedMemory) const {
    HardwareFacts hw;
    const std::string family = dmi("product_family");
    const std::string product = dmi("product_name");
    const std::string version = dmi("product_version");

    // The family names the line ("ThinkPad X1 Carbon Gen 9"); a product name that already
    // carries it is more precise ("Latitude 7420" within "Latitude").
    std::string name;
    if (!product.empty() && (family.empty() || containsIgnoringCase(product, family))) {
        name = product;
    } else if (!family.empty()) {
        name = family;
    } else {
        name = deviceTreeModel();
    }
    if (name.empty()) name = runsInVirtualMachine() ? "Virtual Machine" : "Computer";

    if (!product.empty()) {
        std::string identifier = product;
        if (meaningfulVersion(version) && version != product && version != name)
            identifier += " (" + version + ")";
        hw.modelIdentifier = identifier;
    } else if (std::string model = deviceTreeModel(); !model.empty()) {
        hw.modelIdentifier = model;
    }
    hw.modelName = std::move(name);
    hw.chip = cpuBrand();

    if (const std::int64_t total = onlineProcessors(); total > 0) {
        hw.logicalProcessors = total;
        const std::vector<std::uint32_t> cpus = onlineCpus();
        const CoreKeys keys = coresOf(cpus);
        const std::int64_t physical = physicalCores(cpus, keys);
        if (physical > 0 && physical <= total) hw.physicalCores = physical;
        if (const auto cores = hybridCores(cpus, keys)) {
            hw.performanceCores = cores->first;
            hw.efficiencyCores = cores->second;
        }
    }

    if (installedMemory > 0) hw.memoryBytes = installedMemory;
    if (std::string text = memoryText(installedMemory); !text.empty()) hw.memoryText = text;
    hw.memoryType = memoryType();
    if (std::string serial = dmi("product_serial"); !serial.empty()) hw.serial = serial;
    hw.portable = isPortable();
    readOperatingSystem(hw);
    hw.hostName = hostName();
    return hw;
}

}  // namespace orvane
