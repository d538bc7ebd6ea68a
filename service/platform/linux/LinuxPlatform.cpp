#include "service/platform/linux/LinuxPlatform.h"

#include <time.h>
#include <unistd.h>

#include "service/platform/linux/HardwareReport.h"
#include "service/platform/linux/PowerSupplies.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/StorageReport.h"
#include "service/platform/linux/SysText.h"

namespace orvane {

namespace {

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
             options.fsSpaceTimeout),
      sensors_(std::make_unique<LinuxSensors>(fs_)) {
    const long page = ::sysconf(_SC_PAGESIZE);
    pageSize_ = page > 0 ? static_cast<std::uint64_t>(page) : 4096;
}

HardwareFacts LinuxPlatform::hardware() const {
    HardwareFacts hw = HardwareReport(fs_).facts(installedMemory());
    hw.uptime = uptime();
    return hw;
}

PowerFacts LinuxPlatform::power() const {
    return PowerSupplies::read(fs_).facts();
}

std::vector<VolumeFacts> LinuxPlatform::volumes() const {
    return StorageReport(fs_, probe_).facts();
}

std::vector<GpuFacts> LinuxPlatform::graphics() const {
    return DisplayReport(fs_, pciNames_).facts();
}

std::int64_t LinuxPlatform::installedMemory() const {
    std::call_once(memoryOnce_, [this] { memory_ = HardwareReport(fs_).installedMemory(); });
    return memory_;
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

SensorInputs LinuxPlatform::sampleSensors() const {
    SensorInputs in = sensors_->sample();
    in.time = uptime();
    return in;
}

}  // namespace orvane
