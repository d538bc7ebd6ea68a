// The Linux platform on the machine running the tests: only what must hold on any machine.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <climits>

#include "service/Collectors.h"
#include "service/platform/linux/MountInfo.h"
#include "service/platform/linux/StorageReport.h"
#include "tests/service/LinuxTestSupport.h"

namespace orvane {
namespace {

double monotonicSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

TEST(LinuxHost, LiveSampleMatchesTheMachine) {
    LinuxPlatform platform;
    ASSERT_TRUE(platform.sysFs().isHostRoot());
    const double before = monotonicSeconds();
    const LiveInputs in = platform.sampleLive();
    EXPECT_GE(in.uptime, before);
    EXPECT_LE(in.uptime, monotonicSeconds());

    ASSERT_TRUE(in.cpuTicks);
    EXPECT_EQ(static_cast<long>(in.cpuTicks->size()), ::sysconf(_SC_NPROCESSORS_ONLN));
    ASSERT_TRUE(in.vm);
    EXPECT_EQ(in.vm->pageSize, static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)));
    EXPECT_GT(in.vm->active + in.vm->inactive, 0u);
    EXPECT_TRUE(in.swapUsed);
    // Installed memory covers at least what the kernel manages.
    EXPECT_GE(platform.installedMemory(),
              static_cast<std::int64_t>(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE));
}

TEST(LinuxHost, FactsOfTheMachine) {
    LinuxPlatform platform;
    const HardwareFacts hw = platform.hardware();
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(hw.hostName, host);
    utsname u{};
    ASSERT_EQ(::uname(&u), 0);
    EXPECT_EQ(hw.osBuild, u.release);
    EXPECT_TRUE(hw.osVersion);
    EXPECT_EQ(hw.logicalProcessors, ::sysconf(_SC_NPROCESSORS_ONLN));
    EXPECT_EQ(hw.memoryBytes, platform.installedMemory());

    // When the root filesystem sits on a block device (not an overlay in a container), it is
    // listed as the boot volume.
    const std::optional<std::string> table = platform.sysFs().read("proc/self/mountinfo");
    ASSERT_TRUE(table);
    bool rootOnDevice = false;
    for (const MountInfo& m : StorageReport::volumes(MountInfo::parse(*table)))
        rootOnDevice = rootOnDevice || m.mountPoint == "/";
    const std::vector<VolumeInfo> volumes = collectVolumes(platform.volumes());
    if (rootOnDevice) {
        ASSERT_FALSE(volumes.empty());
        EXPECT_TRUE(volumes.front().isBoot);
        EXPECT_GE(volumes.front().totalBytes, volumes.front().freeBytes);
    }

    int mains = 0;
    std::size_t displays = 0;
    for (const GpuFacts& gpu : platform.graphics()) {
        EXPECT_TRUE(gpu.name && !gpu.name->empty());
        for (const DisplayFacts& d : gpu.displays)
            mains += d.main ? 1 : 0;
        displays += gpu.displays.size();
    }
    EXPECT_EQ(mains, displays ? 1 : 0);
}

}  // namespace
}  // namespace orvane
