#include "service/platform/linux/LinuxPlatform.h"

#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <climits>

#include "service/platform/linux/HardwareReport.h"
#include "service/platform/linux/OsRelease.h"
#include "service/platform/linux/PowerSupplies.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/StorageReport.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

bool isCommand(const std::string& path, const std::vector<std::string>& args, const char* tool,
               std::initializer_list<const char*> expected) {
    if (path != tool || args.size() != expected.size()) return false;
    std::size_t i = 0;
    for (const char* e : expected)
        if (args[i++] != e) return false;
    return true;
}

std::vector<std::uint8_t> bytesOf(const std::string& text) {
    return {text.begin(), text.end()};
}

OsRelease readOsRelease(const SysFs& fs) {
    for (const char* file : {"etc/os-release", "usr/lib/os-release"})
        if (std::optional<std::string> text = fs.read(file, 64 * 1024))
            return OsRelease::parse(*text);
    return {};
}

// Leading "major.minor.patch" digit groups ("6.1.0-18-amd64" -> 6, 1, 0); nothing when the
// text does not start with a number.
std::optional<OsVersion> leadingVersion(std::string_view text) {
    std::int64_t parts[3] = {0, 0, 0};
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        std::size_t start = i;
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

// Per-thread buffers for the live sample: the files are read every second.
struct LiveBuffers {
    std::string text;
    LiveBuffers() { text.reserve(64 * 1024); }
};

}  // namespace

LinuxPlatform::LinuxPlatform(std::filesystem::path root, LinuxPlatformOptions options)
    : fs_(std::move(root)),
      stat_(fs_.path("proc/stat").string()),
      meminfo_(fs_.path("proc/meminfo").string()),
      probe_(options.fsSpace
                 ? std::move(options.fsSpace)
                 : FsSpaceFunction([root = fs_.root()](const std::string& mountPoint) {
                       return FsSpaceProbe::statvfsSpace(
                           (root / std::filesystem::path(mountPoint).relative_path()).string());
                   }),
             options.fsSpaceTimeout) {
    const long page = ::sysconf(_SC_PAGESIZE);
    pageSize_ = page > 0 ? static_cast<std::uint64_t>(page) : 4096;
}

std::vector<std::uint8_t> LinuxPlatform::runData(const std::string& path,
                                                 const std::vector<std::string>& args) const {
    if (isCommand(path, args, kSystemProfiler, {"SPHardwareDataType", "-json"}))
        return HardwareReport(fs_).hardwareJson(installedMemory());
    if (isCommand(path, args, kSystemProfiler, {"SPMemoryDataType", "-json"}))
        return HardwareReport(fs_).memoryJson();
    if (isCommand(path, args, kSystemProfiler, {"SPPowerDataType", "-json"}))
        return PowerSupplies::read(fs_).powerJson();
    if (isCommand(path, args, kIoreg, {"-r", "-c", "AppleSmartBattery", "-a"}))
        return PowerSupplies::read(fs_).registryPlist();
    if (isCommand(path, args, kSystemProfiler, {"SPStorageDataType", "-json"}))
        return StorageReport(fs_, probe_).json();
    if (isCommand(path, args, kSystemProfiler, {"SPDisplaysDataType", "-json"}))
        return DisplayReport(fs_, pciNames_).json();
    if (isCommand(path, args, kSwVers, {"-buildVersion"})) {
        const std::string release = kernelRelease();
        return release.empty() ? std::vector<std::uint8_t>{} : bytesOf(release + "\n");
    }
    return {};
}

std::int64_t LinuxPlatform::installedMemory() const {
    std::call_once(memoryOnce_, [this] { memory_ = HardwareReport(fs_).installedMemory(); });
    return memory_;
}

std::string LinuxPlatform::sysctlString(const std::string& name) const {
    if (name == "hw.model") return HardwareReport(fs_).model();
    if (name == "machdep.cpu.brand_string") return HardwareReport(fs_).cpuBrand();
    return {};
}

std::int64_t LinuxPlatform::sysctlInt(const std::string& name) const {
    if (name == "hw.memsize") return installedMemory();
    if (name == "hw.ncpu") return HardwareReport(fs_).onlineProcessors();
    return 0;
}

std::string LinuxPlatform::kernelRelease() const {
    if (fs_.isHostRoot()) {
        struct utsname u {};
        if (::uname(&u) == 0) return SysText::clean(u.release);
        return {};
    }
    return SysText::clean(fs_.text("proc/sys/kernel/osrelease").value_or(""));
}

OsVersion LinuxPlatform::osVersion() const {
    const OsRelease release = readOsRelease(fs_);
    if (std::optional<std::string> id = release.get("VERSION_ID"))
        if (std::optional<OsVersion> v = leadingVersion(*id)) return *v;
    return leadingVersion(kernelRelease()).value_or(OsVersion{});
}

std::optional<std::string> LinuxPlatform::osName() const {
    const OsRelease release = readOsRelease(fs_);
    if (auto name = release.get("NAME")) return name;
    if (auto pretty = release.get("PRETTY_NAME")) return pretty;
    return std::string("Linux");
}

std::optional<std::string> LinuxPlatform::osVersionText() const {
    const OsRelease release = readOsRelease(fs_);
    if (auto id = release.get("VERSION_ID")) return id;
    // Rolling and testing releases have no number: "Debian GNU/Linux trixie/sid".
    const auto name = release.get("NAME");
    const auto pretty = release.get("PRETTY_NAME");
    if (name && pretty && pretty->size() > name->size() && pretty->rfind(*name, 0) == 0) {
        const std::string rest(SysText::trim(std::string_view(*pretty).substr(name->size())));
        if (!rest.empty()) return rest;
    }
    if (auto version = release.get("VERSION")) return version;
    return std::nullopt;
}

double LinuxPlatform::uptime() const {
    if (fs_.isHostRoot()) {
        struct timespec ts {};
        if (::clock_gettime(CLOCK_MONOTONIC, &ts) != 0) return 0;
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    }
    const std::optional<std::string> text = fs_.text("proc/uptime");
    if (!text) return 0;
    const std::vector<std::string_view> w = SysText::words(*text);
    if (w.empty()) return 0;
    // "12345.67": whole seconds and hundredths.
    const std::string_view first = w.front();
    const std::size_t dot = first.find('.');
    const auto whole = SysText::parseUnsigned(first.substr(0, dot));
    if (!whole) return 0;
    double seconds = static_cast<double>(*whole);
    if (dot != std::string_view::npos) {
        const std::string_view frac = first.substr(dot + 1);
        const auto f = SysText::parseUnsigned(frac);
        if (!f || frac.size() > 9) return 0;
        double scale = 1;
        for (std::size_t i = 0; i < frac.size(); ++i)
            scale *= 10;
        seconds += static_cast<double>(*f) / scale;
    }
    return seconds;
}

std::string LinuxPlatform::hostName() const {
    if (fs_.isHostRoot()) {
        char name[HOST_NAME_MAX + 1] = {};
        if (::gethostname(name, sizeof name - 1) != 0) return {};
        return SysText::clean(name);
    }
    return SysText::clean(fs_.text("proc/sys/kernel/hostname").value_or(""));
}

std::optional<bool> LinuxPlatform::isPortable() const {
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

LiveInputs LinuxPlatform::sampleLive() const {
    thread_local LiveBuffers buffers;
    LiveInputs in;
    in.uptime = uptime();

    if (meminfo_.read(buffers.text, SysFs::kMaxFileBytes)) {
        const ProcCounters::MemInfo mem = ProcCounters::parseMemInfo(buffers.text, pageSize_);
        in.vm = mem.vm;
        in.swapUsed = mem.swapUsed;
    }
    if (stat_.read(buffers.text, SysFs::kMaxFileBytes)) {
        std::vector<CpuTicks> ticks;
        ticks.reserve(64);
        if (ProcCounters::parseCpuTicks(buffers.text, ticks)) in.cpuTicks = std::move(ticks);
    }
    return in;
}

}  // namespace orvane
