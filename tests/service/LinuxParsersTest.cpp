// The Linux platform's parsers at their edges: EDID blocks, the mount table, /proc counters,
// the PCI ID list, DRM connector names and the small text helpers. What the fake trees already
// show (common files, whole) is pinned by their facts and records; os-release by the hardware
// rules.
#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "service/Fmt.h"
#include "service/Utf8.h"
#include "service/platform/linux/DisplayReport.h"
#include "service/platform/linux/Edid.h"
#include "service/platform/linux/MountInfo.h"
#include "service/platform/linux/PciIds.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/StorageReport.h"
#include "service/platform/linux/SysText.h"
#include "tests/service/LinuxTestSupport.h"

namespace orvane {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Blocks written by tests/fixtures/linux/make-binaries.py, which says what each one holds.
TEST(LinuxEdid, NameTimingAndBrokenBlocks) {
    const auto block = [](const std::string& name) {
        std::ifstream in(std::string(ORVANE_FIXTURES) + "/linux/edid/" + name + ".bin",
                         std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    // name | preferred timing: joined names, the field rate of 1080i, timings that live only
    // in CTA-861 or DisplayID extension blocks.
    for (const auto& [name, expected] :
         {std::pair{"full-name", "ABCDEFGHIJKLM | 1920x1200 59.95"},
          {"interlaced", " | 1920x1080 60.00"},
          {"interlaced-two-names", "Cinema HD Display | 1920x1080 60.00"},
          {"cta-timing", "Sceptre X9G-NagaV | 2880x1800 60.00"},
          {"displayid-1", "5K | 5120x2880 60.00"},
          {"displayid-2", " | 2880x1600 90.00"},
          {"unclean-name", "B | 0x0 0.00"}}) {
        const auto edid = Edid::parse(block(name));
        ASSERT_TRUE(edid) << name;
        EXPECT_EQ(edid->monitorName + " | " + std::to_string(edid->width) + "x" +
                      std::to_string(edid->height) + Fmt::format(" %.2f", edid->refreshHz),
                  expected);
    }
    // Short, a wrong header or checksum: nothing. Extension blocks after the base are allowed.
    const Bytes good = block("full-name");
    Bytes badSum = good, badHeader = good, longer = good;
    badSum[60] ^= 0x01;
    badHeader[0] = 0x01;
    badHeader[127] = static_cast<std::uint8_t>(badHeader[127] - 1);
    longer.resize(256, 0xAB);  // a block that does not count as an extension is ignored
    EXPECT_FALSE(Edid::parse(std::span(good).first(127)));
    EXPECT_FALSE(Edid::parse(badSum));
    EXPECT_FALSE(Edid::parse(badHeader));
    EXPECT_TRUE(Edid::parse(longer));
}

TEST(LinuxMountInfo, FieldsEscapesAndMalformedLines) {
    linux_test::forEachCase(
        "mount-fields.txt", [](const std::string& table, const std::string& expected) {
            std::string mounts;
            for (const MountInfo& m : MountInfo::parse(table))
                mounts += std::to_string(m.major) + ":" + std::to_string(m.minor) + " " + m.root +
                          " " + m.mountPoint + " " + m.fsType + " " + m.source + "; ";
            EXPECT_EQ(mounts, expected + "; ");
        });
    // Incomplete or invalid escapes stay as they are; no NUL inside a path or a label.
    for (const char* kept : {"a\\04", "a\\", "a\\089", "\\000"})
        EXPECT_EQ(MountInfo::unescape(kept), kept);
    for (const char* kept : {"bad\\x2", "nul\\x00", "\\xzz"})
        EXPECT_EQ(StorageReport::unescapeLabel(kept), kept);
    EXPECT_EQ(StorageReport::unescapeLabel("My\\x20Disk\\x2f"), "My Disk/");
}

TEST(LinuxMountInfo, VolumesOncePerDeviceAndTheRootWhateverItIs) {
    linux_test::forEachCase(
        "mount-rules.txt", [](const std::string& table, const std::string& expected) {
            std::string points;
            for (const MountInfo& m : StorageReport::volumes(MountInfo::parse(table)))
                points += (points.empty() ? "" : "; ") + m.mountPoint + " " + m.fsType;
            EXPECT_EQ(points, expected) << table;
        });
}

TEST(LinuxProcStat, FieldsWrapOfflineProcessorsAndMalformedLines) {
    std::vector<CpuTicks> ticks;
    ASSERT_TRUE(ProcCounters::parseCpuTicks(
        "cpu  1 2 3 4 5 6 7 8 9 10\n"
        "cpu0 10 20 30 40 50 60 70 80 90 100\n"
        "cpu1 4294967306 1 18446744073709551615 99999999999999999999999 0 0 0 0\n"
        "cpu3 5 6 7 8\n"  // an old kernel's four fields; cpu2 is offline
        "intr 1 2 3\n"
        "cpu9 1 1 1 1\n",  // after the processor lines: not read
        ticks));
    // user; system + irq + softirq + steal; idle + iowait; nice; each modulo 2^32.
    EXPECT_EQ(ticks, (std::vector<CpuTicks>{{10, 30 + 60 + 70 + 80, 40 + 50, 20},
                                            {10, 0xFFFFFFFFu, 0xf67fffffu, 1},
                                            {5, 7, 8, 6}}));
    for (const char* text :
         {"", "intr 1 2\n", "cpu 1 2 3 4\n", "cpu0 1 2 3\n", "cpu0 1 2 x 4\n",
          "cpu0 1 2 3 4\ncpu1 -1 2 3 4\n", "cpu0\n", "cpu0x 1 2 3 4\n", "cpu0 1 2 3 4z\n"}) {
        ticks = {CpuTicks{9, 9, 9, 9}};
        EXPECT_FALSE(ProcCounters::parseCpuTicks(text, ticks)) << text;
        EXPECT_TRUE(ticks.empty()) << text;
    }
}

TEST(LinuxMemInfo, OldKernelsAndOddLines) {
    // Without Zswap (kernels before 5.19) compressed memory is 0; no swap lines, no swap.
    auto info = ProcCounters::parseMemInfo("Active: 8 kB\nInactive: 4 kB\n", 4096);
    EXPECT_EQ(info.vm, (VmStats{4096, 2, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(info.swapUsed);
    EXPECT_EQ(info.memTotalBytes, 0u);
    // No Active, or a page size of 0: no page counts.
    EXPECT_FALSE(ProcCounters::parseMemInfo("Inactive: 4 kB\n", 4096).vm);
    EXPECT_FALSE(ProcCounters::parseMemInfo("Active: 4 kB\nInactive: 4 kB\n", 0).vm);
    // More free swap than swap: nothing used. Garbage and huge values are ignored.
    info = ProcCounters::parseMemInfo(
        "SwapTotal: 10 kB\nSwapFree: 20 kB\nActive: x kB\nInactive:\nActive:12 kB\n"
        "Inactive: 999999999999999999999999 kB\nInactive: 8 kB\nMemTotal: 90000000000000000 kB",
        1024);
    EXPECT_EQ(info.swapUsed, 0u);
    EXPECT_EQ(info.vm, (VmStats{1024, 12, 8, 0, 0, 0, 0}));
    EXPECT_EQ(info.memTotalBytes, 0u);
    // 2^50 kB is the largest value read: in bytes, sums of four stay within 64 bits.
    EXPECT_EQ(ProcCounters::parseMemInfo("MemTotal: 1125899906842624 kB", 4096).memTotalBytes,
              std::uint64_t{1} << 60);
    EXPECT_EQ(ProcCounters::parseMemInfo("MemTotal: 1125899906842625 kB", 4096).memTotalBytes, 0u);
}

TEST(LinuxPciIds, SubsystemsOtherVendorsAndBrackets) {
    const std::string db = linux_test::readText(linux_test::fixtureTree("pci-edges.ids"));
    const auto names = [&](std::uint16_t v, std::uint16_t d) {
        const PciIds::Names n = PciIds::lookup(db, v, d);
        return n.vendor + " / " + n.device;
    };
    EXPECT_EQ(names(0x8086, 0x9a49), "Intel Corporation / TigerLake-LP GT2");
    EXPECT_EQ(names(0x8086, 0x9a60), "Intel Corporation / ");
    EXPECT_EQ(names(0x10de, 0x1111), "NVIDIA Corporation / ");
    EXPECT_EQ(names(0x1234, 0x1111), " / ");
    EXPECT_EQ(DisplayReport::productName("Odd []"), "Odd []");
    EXPECT_EQ(DisplayReport::vendorName("Advanced Micro Devices, Inc. [AMD/ATI]"),
              "Advanced Micro Devices, Inc.");
    EXPECT_EQ(DisplayReport::vendorName("[Only brackets]"), "[Only brackets]");

    // A device the database does not name: the vendor's brand (ours, else the database's
    // short name) and the device id; the vendor's id too when nothing names the vendor.
    const struct {
        std::uint16_t vendor, device;
        const char *databaseVendor, *name;
    } unnamed[] = {
        {0x1002, 0x73bf, "", "AMD GPU 73bf"},
        {0x1002, 0x73bf, "Advanced Micro Devices, Inc. [AMD/ATI]", "AMD GPU 73bf"},
        {0x8086, 0x0a1b, "Intel Corporation", "Intel GPU 0a1b"},
        {0x1f2e, 0x0001, "Example Graphics [ExGfx]", "ExGfx GPU 0001"},
        {0x1f2e, 0x0001, "Example Graphics", "Example Graphics GPU 0001"},
        {0x1f2e, 0x0001, " ", "GPU 1f2e:0001"},
    };
    for (const auto& u : unnamed)
        EXPECT_EQ(DisplayReport::unnamedGpu(u.vendor, u.device, u.databaseVendor), u.name);

    // A DRM entry belongs to its own card only.
    const auto c = DisplayReport::connectorOf("card0-HDMI-A-1", "card0");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name + " " + c->type + " " + std::to_string(c->index), "HDMI-A-1 HDMI-A 1");
    for (const char* entry : {"card10-DP-1", "card1", "card1-DP", "card1--1", "renderD128"})
        EXPECT_FALSE(DisplayReport::connectorOf(entry, "card1")) << entry;
}

TEST(LinuxSysText, NumbersListsAndText) {
    EXPECT_EQ(SysText::parseUnsigned("18446744073709551615"),
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(SysText::parseSigned("-9223372036854775808"),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(SysText::parseHex("0x8086"), 0x8086u);
    for (const char* bad : {"18446744073709551616", " 1", ""})
        EXPECT_FALSE(SysText::parseUnsigned(bad)) << bad;
    for (const char* bad : {"9223372036854775808", "-"})
        EXPECT_FALSE(SysText::parseSigned(bad)) << bad;
    for (const char* bad : {"0x", "0x12345678901234567", "12g"})
        EXPECT_FALSE(SysText::parseHex(bad)) << bad;
    EXPECT_EQ(SysText::cpuList("0-2,8,5"), (std::vector<std::uint32_t>{0, 1, 2, 8, 5}));
    EXPECT_EQ(SysText::cpuListCount("0-3,8-11\n"), 8u);
    // A list far longer than any machine's, however it is spelt, is refused before it is
    // spelt out.
    for (const char* bad : {"", "3-1", "0-4294967295", "0,,1", "0-65535,0", "0-70000"})
        EXPECT_FALSE(SysText::cpuListCount(bad)) << bad;
    EXPECT_EQ(Utf8::replaceInvalid("a\tCaf\xC3\xA9\xC3(\xED\xA0\x80"),
              "a\tCaf\xC3\xA9\uFFFD(\uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace orvane
