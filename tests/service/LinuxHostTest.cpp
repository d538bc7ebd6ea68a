// The Linux platform on the machine running the tests: only what must hold on any machine.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <time.h>
#include <unistd.h>

#include <climits>

#include "service/platform/linux/LinuxPlatform.h"

namespace orvane {
namespace {

TEST(LinuxHost, FactsAndLiveSampleMatchTheMachine) {
    const auto monotonic = [] {
        timespec ts{};
        clock_gettime(CLOCK_MONOTONIC, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    };
    const LinuxPlatform platform;
    ASSERT_TRUE(platform.sysFs().isHostRoot());
    const double before = monotonic();
    const LiveInputs in = platform.sampleLive();
    EXPECT_GE(in.uptime, before);
    EXPECT_LE(in.uptime, monotonic());
    ASSERT_TRUE(in.cpuTicks && in.vm && in.swapUsed);
    EXPECT_EQ(static_cast<long>(in.cpuTicks->size()), ::sysconf(_SC_NPROCESSORS_ONLN));
    EXPECT_GT(in.vm->active + in.vm->inactive, 0u);
    // Installed memory covers at least what the kernel manages.
    EXPECT_GE(platform.installedMemory(),
              static_cast<std::int64_t>(::sysconf(_SC_PHYS_PAGES)) * ::sysconf(_SC_PAGESIZE));

    const HardwareFacts hw = platform.hardware();
    char host[HOST_NAME_MAX + 1] = {};
    utsname u{};
    ASSERT_EQ(::gethostname(host, sizeof host - 1) + ::uname(&u), 0);
    EXPECT_EQ(hw.hostName + " " + hw.osBuild.value_or(""), std::string(host) + " " + u.release);
    EXPECT_EQ(hw.logicalProcessors, ::sysconf(_SC_NPROCESSORS_ONLN));
    EXPECT_EQ(hw.memoryBytes, platform.installedMemory());
    // Sizes come from statvfs of the real mount points.
    for (const VolumeFacts& v : platform.volumes())
        EXPECT_GE(v.totalBytes.value_or(0), v.freeBytes.value_or(0)) << v.mountPoint;
}

}  // namespace
}  // namespace orvane
