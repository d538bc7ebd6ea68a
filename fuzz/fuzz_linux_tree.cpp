// The Linux platform over a fake /proc and /sys tree written from the input: each entry is a
// byte choosing the file and its content up to the next "\n--\n" line. A chosen byte of 128
// or more makes a symbolic link instead, whose target is the content (relative, so a link
// may loop but never leaves the tree). Every fact and the live samples go through the
// collectors, and so do two samples of the sensors.
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "service/Sensors.h"
#include "service/platform/linux/LinuxPlatform.h"

using namespace orvane;
namespace fs = std::filesystem;

namespace {

constexpr std::array<const char*, 64> kFiles = {
    "proc/cpuinfo",
    "proc/meminfo",
    "proc/stat",
    "proc/uptime",
    "proc/self/mountinfo",
    "proc/sys/kernel/osrelease",
    "proc/sys/kernel/hostname",
    "proc/device-tree/model",
    "etc/os-release",
    "usr/lib/os-release",
    "sys/class/dmi/id/product_name",
    "sys/class/dmi/id/sys_vendor",
    "sys/class/dmi/id/product_family",
    "sys/class/dmi/id/product_version",
    "sys/class/dmi/id/chassis_type",
    "sys/class/dmi/id/product_serial",
    "sys/devices/cpu_core/cpus",
    "sys/devices/cpu_atom/cpus",
    "sys/devices/system/cpu/cpu0/topology/core_cpus_list",
    "sys/devices/system/memory/block_size_bytes",
    "sys/devices/system/memory/memory0/state",
    "sys/devices/system/memory/memory1/state",
    "sys/firmware/dmi/entries/17-0/raw",
    "sys/hypervisor/type",
    "sys/class/power_supply/BAT0/type",
    "sys/class/power_supply/BAT0/status",
    "sys/class/power_supply/BAT0/present",
    "sys/class/power_supply/BAT0/scope",
    "sys/class/power_supply/BAT0/capacity",
    "sys/class/power_supply/BAT0/cycle_count",
    "sys/class/power_supply/BAT0/voltage_now",
    "sys/class/power_supply/BAT0/voltage_min_design",
    "sys/class/power_supply/BAT0/current_now",
    "sys/class/power_supply/BAT0/power_now",
    "sys/class/power_supply/BAT0/charge_full_design",
    "sys/class/power_supply/BAT0/charge_full",
    "sys/class/power_supply/BAT0/charge_now",
    "sys/class/power_supply/BAT0/energy_full_design",
    "sys/class/power_supply/BAT0/energy_full",
    "sys/class/power_supply/BAT0/energy_now",
    "sys/class/power_supply/BAT0/temp",
    "sys/class/power_supply/BAT0/time_to_empty_now",
    "sys/class/power_supply/BAT0/time_to_full_now",
    "sys/class/power_supply/BAT0/serial_number",
    "sys/class/power_supply/BAT0/health",
    "sys/class/power_supply/BAT1/type",
    "sys/class/power_supply/BAT1/status",
    "sys/class/power_supply/BAT1/energy_now",
    "sys/class/power_supply/BAT1/power_now",
    "sys/class/power_supply/AC/type",
    "sys/class/power_supply/AC/online",
    "sys/class/drm/card0/device/vendor",
    "sys/class/drm/card0/device/device",
    "sys/class/drm/card0/device/power/runtime_status",
    "sys/class/drm/card0-eDP-1/status",
    "sys/class/drm/card0-eDP-1/edid",
    "sys/class/drm/card0-eDP-1/modes",
    "sys/class/drm/card0-HDMI-A-1/status",
    "sys/class/drm/card0-HDMI-A-1/edid",
    "sys/block/sda/removable",
    "sys/class/block/sda1/partition",
    "dev/disk/by-label/data",
    "usr/share/hwdata/pci.ids",
    "sys/class/drm/card0/device/driver",
};

// A link target the tree keeps: relative, without "..", of plain path characters.
std::string linkTarget(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 120)) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '/' || c == '.';
        if (plain) out += c;
    }
    while (!out.empty() && out.front() == '/')
        out.erase(0, 1);
    if (out.find("..") != std::string::npos || out.empty()) return ".";
    return out;
}

// One tree per process, rewritten for every input and removed at exit.
struct Tree {
    fs::path root;
    Tree() {
        std::string tmpl = (fs::temp_directory_path() / "orvane-fuzz-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) std::abort();
        root = tmpl;
    }
    ~Tree() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Tree tree;
    const fs::path& root = tree.root;
    std::error_code ec;
    for (const char* top : {"proc", "sys", "etc", "usr", "dev"})
        fs::remove_all(root / top, ec);

    fuzz::FuzzInput in(data, size);
    for (int n = 0; n < 64 && !in.empty(); ++n) {
        const std::uint8_t which = in.byte();
        const std::string_view content = in.text();
        const fs::path file = root / kFiles[which % kFiles.size()];
        fs::create_directories(file.parent_path(), ec);
        fs::remove(file, ec);
        if (which >= 128) {
            fs::create_symlink(linkTarget(content), file, ec);
        } else {
            std::ofstream(file, std::ios::binary)
                .write(content.data(), static_cast<std::streamsize>(content.size()));
        }
    }

    LinuxPlatformOptions options;
    options.fsSpace = [](const std::string&) {
        return std::optional<FsSpace>({1u << 30, 1u << 29});
    };
    const LinuxPlatform platform(root, std::move(options));
    fuzz::collectAll(platform.hardware(), platform.power(), platform.volumes(),
                     platform.graphics());
    LiveMetrics metrics;
    std::vector<CpuTicks> ticks;
    for (int k = 0; k < 2; ++k) {
        LiveSample s = collectLive(metrics, ticks, platform);
        metrics = std::move(s.metrics);
        if (s.ticks) ticks = std::move(*s.ticks);
    }
    SensorReadings sensors;
    for (int k = 0; k < 2; ++k) {
        sensors = collectSensors(sensors, platform.sampleSensors());
        for (const NetworkActivity& n : sensors.network)
            fuzz::require(n.receivedPerSecond.value_or(0) >= 0 && n.sentPerSecond.value_or(0) >= 0,
                          "a rate is never negative");
    }
    return 0;
}
