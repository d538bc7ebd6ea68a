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

using namespace linux_test;

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
    const double after = monotonicSeconds();
    EXPECT_GE(in.uptime, before);
    EXPECT_LE(in.uptime, after);

    ASSERT_TRUE(in.cpuTicks);
    EXPECT_EQ(static_cast<long>(in.cpuTicks->size()), ::sysconf(_SC_NPROCESSORS_ONLN));
    EXPECT_EQ(platform.sysctlInt("hw.ncpu"), static_cast<std::int64_t>(in.cpuTicks->size()));

    ASSERT_TRUE(in.vm);
    EXPECT_EQ(in.vm->pageSize, static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE)));
    EXPECT_GT(in.vm->active + in.vm->inactive, 0u);
    // Installed memory covers at least what the kernel manages.
    const auto physical = static_cast<std::int64_t>(::sysconf(_SC_PHYS_PAGES)) *
                          static_cast<std::int64_t>(::sysconf(_SC_PAGESIZE));
    EXPECT_GE(platform.sysctlInt("hw.memsize"), physical);
    EXPECT_TRUE(in.swapUsed);

    // Counters only grow between two samples (modulo 2^32).
    const LiveSample first = collectLive(LiveMetrics{}, {}, platform);
    const LiveSample second = collectLive(first.metrics, *first.ticks, platform);
    for (double busy : second.metrics.perCore) {
        EXPECT_GE(busy, 0.0);
        EXPECT_LE(busy, 1.0);
    }
    EXPECT_GT(second.metrics.memTotalBytes, 0);
}

TEST(LinuxHost, IdentityOfTheMachine) {
    LinuxPlatform platform;
    char host[HOST_NAME_MAX + 1] = {};
    ASSERT_EQ(::gethostname(host, sizeof host - 1), 0);
    EXPECT_EQ(platform.hostName(), host);
    utsname u{};
    ASSERT_EQ(::uname(&u), 0);
    EXPECT_EQ(platform.run(kSwVers, {"-buildVersion"}), u.release);
    ASSERT_TRUE(platform.osName());
    EXPECT_FALSE(platform.osName()->empty());
    EXPECT_GT(platform.osVersion().major, 0);

    const HardwareInfo hw = collectHardware(platform);
    EXPECT_FALSE(hw.modelName.empty());
    EXPECT_NE(hw.modelName, "Mac");
    EXPECT_EQ(hw.totalCores, ::sysconf(_SC_NPROCESSORS_ONLN));
    EXPECT_FALSE(hw.memoryGB.empty());
}

TEST(LinuxHost, DocumentsDecodeAndTheRootFilesystemIsListed) {
    LinuxPlatform platform;
    for (const char* type :
         {"SPHardwareDataType", "SPPowerDataType", "SPStorageDataType", "SPDisplaysDataType"}) {
        const nlohmann::json doc = profiler(platform, type);
        ASSERT_TRUE(doc.is_object()) << type;
        EXPECT_TRUE(doc[type].is_array()) << type;
    }
    const std::optional<Value> battery = registry(platform);
    ASSERT_TRUE(battery);
    EXPECT_TRUE(battery->isArrayOfObjects());

    // When the root filesystem sits on a block device (not an overlay in a container), it is
    // listed as the boot volume.
    const std::optional<std::string> table = platform.sysFs().read("proc/self/mountinfo");
    ASSERT_TRUE(table);
    bool rootOnDevice = false;
    for (const MountInfo& m : StorageReport::volumes(MountInfo::parse(*table)))
        rootOnDevice = rootOnDevice || m.mountPoint == "/";
    const std::vector<VolumeInfo> volumes = collectVolumes(platform);
    if (rootOnDevice) {
        ASSERT_FALSE(volumes.empty());
        EXPECT_TRUE(volumes.front().isBoot);
        EXPECT_GT(volumes.front().totalBytes, 0);
        EXPECT_GE(volumes.front().totalBytes, volumes.front().freeBytes);
    }
    for (const VolumeInfo& v : volumes)
        EXPECT_EQ(v.mountPoint.front(), '/');

    const auto [displays, graphics] = collectDisplays(platform);
    for (const GraphicsInfo& g : graphics)
        EXPECT_FALSE(g.name.empty());
    int mains = 0;
    for (const DisplayInfo& d : displays)
        mains += d.isMain ? 1 : 0;
    EXPECT_EQ(mains, displays.empty() ? 0 : 1);
}

}  // namespace
}  // namespace orvane
