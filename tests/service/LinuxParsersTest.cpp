// The Linux platform's parsers: EDID blocks, the mount table, os-release, /proc counters,
// the PCI ID list and the small text helpers.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "service/platform/linux/DisplayReport.h"
#include "service/platform/linux/Edid.h"
#include "service/platform/linux/MountInfo.h"
#include "service/platform/linux/OsRelease.h"
#include "service/platform/linux/PciIds.h"
#include "service/platform/linux/ProcCounters.h"
#include "service/platform/linux/StorageReport.h"
#include "service/platform/linux/SysText.h"

namespace orvane {
namespace {

// ---- EDID ----------------------------------------------------------------------------

struct Timing {
    int clockKHz, hActive, hBlank, vActive, vBlank;
    bool interlaced = false;
};

std::vector<std::uint8_t> edidBlock(const std::vector<std::vector<std::uint8_t>>& descriptors) {
    std::vector<std::uint8_t> b = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    b.resize(54, 0x01);
    for (const auto& d : descriptors)
        b.insert(b.end(), d.begin(), d.end());
    while (b.size() < 127)
        b.push_back(0);
    unsigned sum = 0;
    for (auto v : b)
        sum += v;
    b.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));
    return b;
}

std::vector<std::uint8_t> timingDescriptor(const Timing& t) {
    const int clock = t.clockKHz / 10;
    std::vector<std::uint8_t> d(18, 0);
    d[0] = clock & 0xFF;
    d[1] = clock >> 8;
    d[2] = t.hActive & 0xFF;
    d[3] = t.hBlank & 0xFF;
    d[4] = static_cast<std::uint8_t>(((t.hActive >> 8) << 4) | (t.hBlank >> 8));
    d[5] = t.vActive & 0xFF;
    d[6] = t.vBlank & 0xFF;
    d[7] = static_cast<std::uint8_t>(((t.vActive >> 8) << 4) | (t.vBlank >> 8));
    d[17] = t.interlaced ? 0x9E : 0x1E;
    return d;
}

std::vector<std::uint8_t> textDescriptor(std::uint8_t tag, const std::string& text) {
    std::vector<std::uint8_t> d = {0, 0, 0, tag, 0};
    for (char c : text)
        d.push_back(static_cast<std::uint8_t>(c));
    if (d.size() < 18) d.push_back(0x0A);
    while (d.size() < 18)
        d.push_back(0x20);
    d.resize(18);
    return d;
}

std::vector<std::uint8_t> empty() {
    return std::vector<std::uint8_t>(18, 0);
}

TEST(LinuxEdid, NameAndPreferredTiming) {
    auto control = textDescriptor(0xFC, "AB");
    control[7] = 0x07;  // bell, then the rest is padding after a line feed at [8]
    control[5] = 0xC3;  // not valid UTF-8 on its own
    struct Case {
        std::vector<std::vector<std::uint8_t>> descriptors;
        std::string name;
        int width, height;
    };
    const Case table[] = {
        {{timingDescriptor({533250, 3840, 160, 2160, 62}), textDescriptor(0xFF, "SERIAL1"),
          textDescriptor(0xFC, "DELL U2720Q"), empty()},
         "DELL U2720Q",
         3840,
         2160},
        // The first timing is the preferred one; a name may fill all 13 characters.
        {{timingDescriptor({154000, 1920, 160, 1200, 35}),
          timingDescriptor({74250, 1280, 370, 720, 30}), textDescriptor(0xFC, "ABCDEFGHIJKLM"),
          textDescriptor(0xFE, "NOT A NAME")},
         "ABCDEFGHIJKLM",
         1920,
         1200},
        // Other text is no name; an interlaced timing has twice the lines.
        {{timingDescriptor({74250, 1920, 280, 540, 22, true}), textDescriptor(0xFE, "PANEL"),
          empty(), empty()},
         "",
         1920,
         1080},
        // Control and stray high bytes are cleaned out; no timing at all.
        {{control, empty(), empty(), empty()}, "B", 0, 0}};
    for (const auto& c : table) {
        const auto edid = Edid::parse(edidBlock(c.descriptors));
        ASSERT_TRUE(edid) << c.name;
        EXPECT_EQ(edid->monitorName, c.name);
        EXPECT_EQ(edid->width, c.width) << c.name;
        EXPECT_EQ(edid->height, c.height) << c.name;
    }
    EXPECT_NEAR(Edid::parse(edidBlock(table[0].descriptors))->refreshHz,
                533250000.0 / (4000.0 * 2222.0), 1e-9);
}

TEST(LinuxEdid, RejectsShortWrongHeaderOrChecksum) {
    auto good =
        edidBlock({timingDescriptor({154000, 1920, 160, 1200, 35}), empty(), empty(), empty()});
    ASSERT_TRUE(Edid::parse(good));
    EXPECT_FALSE(Edid::parse(std::span(good).first(127)));
    EXPECT_FALSE(Edid::parse(std::vector<std::uint8_t>{}));
    auto badSum = good;
    badSum[60] ^= 0x01;
    EXPECT_FALSE(Edid::parse(badSum));
    auto badHeader = good;
    badHeader[0] = 0x01;
    badHeader[127] = static_cast<std::uint8_t>(badHeader[127] - 1);
    EXPECT_FALSE(Edid::parse(badHeader));
    // Extension blocks after the base block are allowed.
    auto longer = good;
    longer.resize(256, 0xAB);
    EXPECT_TRUE(Edid::parse(longer));
}

// ---- mount table -----------------------------------------------------------------------

TEST(LinuxMountInfo, ParsesFieldsEscapesAndOptionalFields) {
    const auto mounts = MountInfo::parse(
        "47 44 8:1 / /media/a/My\\040Disk rw,nosuid shared:320 master:2 - vfat /dev/sda1 rw\n"
        "28 1 259:2 / / rw - ext4 /dev/nvme0n1p2 rw\n"
        "29 1 0:35 /@home /home\\011tab rw - btrfs /dev/mapper/x\\134y rw\n");
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[0].mountPoint, "/media/a/My Disk");
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sda1");
    EXPECT_EQ(mounts[0].major, 8u);
    EXPECT_EQ(mounts[0].minor, 1u);
    EXPECT_EQ(mounts[1].mountPoint, "/");
    EXPECT_EQ(mounts[2].root, "/@home");
    EXPECT_EQ(mounts[2].mountPoint, "/home\ttab");
    EXPECT_EQ(mounts[2].source, "/dev/mapper/x\\y");
}

TEST(LinuxMountInfo, SkipsMalformedLines) {
    const auto mounts = MountInfo::parse(
        "garbage\n"
        "1 2 3:4 / /no-separator rw ext4 /dev/sda1 rw\n"
        "1 2 x:4 / /bad-device rw - ext4 /dev/sda1 rw\n"
        "1 2 3:4 / relative rw - ext4 /dev/sda1 rw\n"
        "1 2 3:4 / /short rw -\n"
        "\n\n"
        "1 2 99999999999:4 / /huge rw - ext4 /dev/sda1 rw\n"
        "1 2 3:4 / /ok rw - ext4 /dev/sda1 rw");  // no final newline
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].mountPoint, "/ok");
}

TEST(LinuxMountInfo, EscapesOfPathsAndLabels) {
    // Incomplete or invalid escapes stay as they are; no NUL inside a path or label.
    const std::pair<const char*, const char*> paths[] = {{"a\\040b", "a b"},
                                                         {"a\\04", "a\\04"},
                                                         {"a\\", "a\\"},
                                                         {"a\\089", "a\\089"},
                                                         {"\\000", "\\000"}};
    for (const auto& [in, out] : paths)
        EXPECT_EQ(MountInfo::unescape(in), out) << in;
    const std::pair<const char*, const char*> labels[] = {{"My\\x20Disk", "My Disk"},
                                                          {"a\\x2fb", "a/b"},
                                                          {"bad\\x2", "bad\\x2"},
                                                          {"nul\\x00", "nul\\x00"},
                                                          {"\\xzz", "\\xzz"}};
    for (const auto& [in, out] : labels)
        EXPECT_EQ(StorageReport::unescapeLabel(in), out) << in;
}

TEST(LinuxStorageVolumes, KeepsBlockDevicesOncePerDeviceUnderTheShortestMountPoint) {
    const auto mounts = MountInfo::parse(
        "1 0 259:3 /alice /srv/alice rw - ext4 /dev/nvme0n1p3 rw\n"
        "2 0 259:3 / /home rw - ext4 /dev/nvme0n1p3 rw\n"
        "3 0 0:35 /@ / rw - btrfs /dev/nvme0n1p2 rw\n"
        "4 0 0:36 /@home /data rw - btrfs /dev/nvme0n1p2 rw\n"
        "5 0 0:22 / /run rw - tmpfs tmpfs rw\n"
        "6 0 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
        "7 0 7:1 / /mnt/iso ro - iso9660 /dev/loop1 ro\n"
        "8 0 0:50 / /mnt/nas rw - nfs4 nas:/export rw\n"
        "9 0 0:51 / /weird rw - tmpfs /dev/fake rw\n"
        "10 0 8:1 / /mnt/a rw - ext4 /dev/disk/by-uuid/1234 rw\n"
        "11 0 8:1 / /b rw - ext4 /dev/sdb1 rw\n");
    const auto kept = StorageReport::volumes(mounts);
    std::vector<std::string> points;
    for (const auto& m : kept)
        points.push_back(m.mountPoint);
    EXPECT_EQ(points, (std::vector<std::string>{"/home", "/", "/mnt/iso", "/b"}));
}

TEST(LinuxStorageVolumes, RootIsKeptWhateverItIs) {
    const auto pointsOf = [](const char* table) {
        std::vector<std::string> points;
        for (const auto& m : StorageReport::volumes(MountInfo::parse(table)))
            points.push_back(m.mountPoint + " " + m.fsType);
        return points;
    };
    // A container: the root is an overlay, the host's disk only shows in file bind mounts.
    EXPECT_EQ(pointsOf("1 0 0:50 / / rw - overlay overlay rw\n"
                       "2 1 0:51 / /proc rw - proc proc rw\n"
                       "3 1 254:1 /docker/hosts /etc/hosts rw - ext4 /dev/vda1 rw\n"),
              (std::vector<std::string>{"/ overlay", "/etc/hosts ext4"}));
    // ZFS datasets have no device path; the topmost root mount counts.
    EXPECT_EQ(pointsOf("1 0 0:60 / / rw - zfs rpool/ROOT/old rw\n"
                       "2 0 0:61 / / rw - zfs rpool/ROOT/ubuntu rw\n"
                       "3 1 0:62 / /home rw - zfs rpool/USERDATA/home rw\n"),
              (std::vector<std::string>{"/ zfs"}));
    EXPECT_EQ(pointsOf("1 0 0:2 / / rw - proc proc rw\n"), (std::vector<std::string>{}));
    EXPECT_EQ(pointsOf(""), (std::vector<std::string>{}));
}

// ---- os-release ------------------------------------------------------------------------

TEST(LinuxOsRelease, QuotingEscapesAndComments) {
    const auto r = OsRelease::parse(
        "# comment\n"
        "NAME=\"Fedora Linux\"\n"
        "VERSION_ID=39\n"
        "PRETTY_NAME='It''s \"quoted\"'\n"
        "  ID = fedora  \n"
        "ESCAPED=\"a \\\"b\\\" \\\\ c\"\n"
        "EMPTY=\"\"\n"
        "bad key=1\n"
        "NOEQUALS\n"
        "NAME_CTRL=\"x\x01y\"\n");
    EXPECT_EQ(r.get("NAME"), "Fedora Linux");
    EXPECT_EQ(r.get("VERSION_ID"), "39");
    EXPECT_EQ(r.get("PRETTY_NAME"), "Its \"quoted\"");
    EXPECT_EQ(r.get("ID"), "fedora");
    EXPECT_EQ(r.get("ESCAPED"), "a \"b\" \\ c");
    EXPECT_EQ(r.get("EMPTY"), std::nullopt);
    EXPECT_EQ(r.get("NAME_CTRL"), "xy");
    EXPECT_EQ(r.get("MISSING"), std::nullopt);
    EXPECT_EQ(r.fields.count("bad key"), 0u);
}

// ---- /proc counters ----------------------------------------------------------------------

TEST(LinuxProcStat, MapsFieldsAndTruncatesTo32Bits) {
    std::vector<CpuTicks> ticks;
    ASSERT_TRUE(ProcCounters::parseCpuTicks(
        "cpu  1 2 3 4 5 6 7 8 9 10\n"
        "cpu0 10 20 30 40 50 60 70 80 90 100\n"
        "cpu1 4294967306 1 18446744073709551615 99999999999999999999999 0 0 0 0\n"
        "intr 1 2 3\n"
        "cpu9 1 1 1 1\n",  // after the processor lines: not read
        ticks));
    ASSERT_EQ(ticks.size(), 2u);
    // user; system + irq + softirq + steal; idle + iowait; nice.
    EXPECT_EQ(ticks[0], (CpuTicks{10, 30 + 60 + 70 + 80, 40 + 50, 20}));
    EXPECT_EQ(ticks[1].user, 10u);            // 2^32 + 10
    EXPECT_EQ(ticks[1].system, 0xFFFFFFFFu);  // 2^64 - 1 modulo 2^32
    const std::uint32_t idle = 0xf67fffffu;   // 10^23 - 1 modulo 2^32
    EXPECT_EQ(ticks[1].idle, idle);
}

TEST(LinuxProcStat, OldKernelsWithFourFieldsAndOfflineProcessors) {
    std::vector<CpuTicks> ticks;
    ASSERT_TRUE(ProcCounters::parseCpuTicks("cpu 1 1 1 1\ncpu0 1 2 3 4\ncpu3 5 6 7 8\n", ticks));
    ASSERT_EQ(ticks.size(), 2u);  // an offline processor has no line
    EXPECT_EQ(ticks[1], (CpuTicks{5, 7, 8, 6}));
}

TEST(LinuxProcStat, MalformedOrMissingLinesFail) {
    std::vector<CpuTicks> ticks;
    for (const char* text :
         {"", "intr 1 2\n", "cpu 1 2 3 4\n", "cpu0 1 2 3\n", "cpu0 1 2 x 4\n",
          "cpu0 1 2 3 4\ncpu1 -1 2 3 4\n", "cpu0\n", "cpu0x 1 2 3 4\n", "cpu0 1 2 3 4z\n"}) {
        ticks = {CpuTicks{9, 9, 9, 9}};
        EXPECT_FALSE(ProcCounters::parseCpuTicks(text, ticks)) << text;
        EXPECT_TRUE(ticks.empty()) << text;
    }
}

TEST(LinuxMemInfo, PagesFromKilobytes) {
    const auto info = ProcCounters::parseMemInfo(
        "MemTotal: 16000 kB\nActive: 800 kB\nInactive: 400 kB\nActive(file): 200 kB\n"
        "Inactive(file): 100 kB\nUnevictable: 4 kB\nSUnreclaim: 8 kB\nKernelStack: 12 kB\n"
        "PageTables: 16 kB\nSReclaimable: 40 kB\nZswap: 20 kB\nSwapTotal: 1000 kB\n"
        "SwapFree: 600 kB\n",
        4096);
    ASSERT_TRUE(info.vm);
    EXPECT_EQ(info.vm->pageSize, 4096u);
    EXPECT_EQ(info.vm->active, 200u);
    EXPECT_EQ(info.vm->inactive, 100u);
    EXPECT_EQ(info.vm->external, 75u);
    EXPECT_EQ(info.vm->wire, 10u);
    EXPECT_EQ(info.vm->purgeable, 10u);
    EXPECT_EQ(info.vm->compressor, 5u);
    EXPECT_EQ(info.swapUsed, 400u * 1024);
    EXPECT_EQ(info.memTotalBytes, 16000u * 1024);
}

TEST(LinuxMemInfo, MissingAndOddLines) {
    // Without Zswap (kernels before 5.19) compressed memory is 0.
    auto info = ProcCounters::parseMemInfo("Active: 8 kB\nInactive: 4 kB\n", 4096);
    ASSERT_TRUE(info.vm);
    EXPECT_EQ(info.vm->compressor, 0u);
    EXPECT_FALSE(info.swapUsed);
    EXPECT_EQ(info.memTotalBytes, 0u);

    // No Active: the read fails; a page size of 0 too.
    EXPECT_FALSE(
        ProcCounters::parseMemInfo("Inactive: 4 kB\nSwapTotal: 0 kB\nSwapFree: 0 kB\n", 4096).vm);
    EXPECT_FALSE(ProcCounters::parseMemInfo("Active: 4 kB\nInactive: 4 kB\n", 0).vm);

    // More free swap than swap: nothing used. Garbage values are ignored.
    info = ProcCounters::parseMemInfo(
        "SwapTotal: 10 kB\nSwapFree: 20 kB\nActive: x kB\nInactive:\nActive:12 kB\n"
        "Inactive: 999999999999999999999999 kB\nInactive: 8 kB",
        1024);
    EXPECT_EQ(info.swapUsed, 0u);
    ASSERT_TRUE(info.vm);
    EXPECT_EQ(info.vm->active, 12u);
    EXPECT_EQ(info.vm->inactive, 8u);
}

// ---- PCI IDs ----------------------------------------------------------------------------

constexpr const char* kPciIds =
    "# comment\n"
    "10de  NVIDIA Corporation\n"
    "\t1f9d  TU117M [GeForce GTX 1650 Mobile / Max-Q]\n"
    "\t\t1043 1111  Subsystem that is not a device\n"
    "8086  Intel Corporation\n"
    "# a comment inside a vendor\n"
    "\t9A49  TigerLake-LP GT2 [Iris Xe Graphics]\r\n"
    "\t\t9a60 0001  Subsystem with a device-like id\n"
    "8087  Intel Corp.\n"
    "\t9a60  Not an Intel Corporation device\n"
    "C 03  Display controller\n"
    "\t9a60  A class, not a device\n";

TEST(LinuxPciIds, VendorAndDeviceNames) {
    auto n = PciIds::lookup(kPciIds, 0x8086, 0x9a49);
    EXPECT_EQ(n.vendor, "Intel Corporation");
    EXPECT_EQ(n.device, "TigerLake-LP GT2 [Iris Xe Graphics]");
    n = PciIds::lookup(kPciIds, 0x8086, 0x9a60);  // only a subsystem or another vendor's
    EXPECT_EQ(n.vendor, "Intel Corporation");
    EXPECT_EQ(n.device, "");
    n = PciIds::lookup(kPciIds, 0x1234, 0x1111);
    EXPECT_EQ(n.vendor, "");
    EXPECT_EQ(n.device, "");
    n = PciIds::lookup("", 0x8086, 0x9a49);
    EXPECT_EQ(n.vendor, "");
    EXPECT_EQ(PciIds::knownVendor(0x10de), "NVIDIA Corporation");
    EXPECT_EQ(PciIds::knownVendor(0xffff), "");
}

TEST(LinuxPciIds, MarketingNames) {
    EXPECT_EQ(DisplayReport::productName("TU117M [GeForce GTX 1650 Mobile / Max-Q]"),
              "GeForce GTX 1650 Mobile / Max-Q");
    EXPECT_EQ(DisplayReport::productName("Virtio 1.0 GPU"), "Virtio 1.0 GPU");
    EXPECT_EQ(DisplayReport::productName("Odd []"), "Odd []");
    EXPECT_EQ(DisplayReport::vendorName("Advanced Micro Devices, Inc. [AMD/ATI]"),
              "Advanced Micro Devices, Inc.");
    EXPECT_EQ(DisplayReport::vendorName("[Only brackets]"), "[Only brackets]");
}

TEST(LinuxDrmConnectors, OnlyTheCardsOwnConnectors) {
    const auto c = DisplayReport::connectorOf("card0-HDMI-A-1", "card0");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name, "HDMI-A-1");
    EXPECT_EQ(c->type, "HDMI-A");
    EXPECT_EQ(c->index, 1);
    for (const char* entry : {"card10-DP-1", "card1", "card1-DP", "card1--1", "renderD128"})
        EXPECT_FALSE(DisplayReport::connectorOf(entry, "card1")) << entry;
}

// ---- text helpers -------------------------------------------------------------------------

TEST(LinuxSysText, NumbersAndLists) {
    EXPECT_EQ(SysText::parseUnsigned("18446744073709551615"),
              std::numeric_limits<std::uint64_t>::max());
    EXPECT_FALSE(SysText::parseUnsigned("18446744073709551616"));
    EXPECT_FALSE(SysText::parseUnsigned(" 1"));
    EXPECT_FALSE(SysText::parseUnsigned(""));
    EXPECT_EQ(SysText::parseSigned("-9223372036854775808"),
              std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(SysText::parseSigned("9223372036854775808"));
    EXPECT_FALSE(SysText::parseSigned("-"));
    EXPECT_EQ(SysText::parseHex("0x8086"), 0x8086u);
    EXPECT_EQ(SysText::parseHex("40000000"), 0x40000000u);
    EXPECT_FALSE(SysText::parseHex("0x"));
    EXPECT_FALSE(SysText::parseHex("0x12345678901234567"));
    EXPECT_FALSE(SysText::parseHex("12g"));

    EXPECT_EQ(SysText::cpuListCount("0-3,8-11"), 8u);
    EXPECT_EQ(SysText::cpuListCount("5\n"), 1u);
    EXPECT_FALSE(SysText::cpuListCount(""));
    EXPECT_FALSE(SysText::cpuListCount("3-1"));
    EXPECT_FALSE(SysText::cpuListCount("0-4294967295"));
    EXPECT_FALSE(SysText::cpuListCount("0,,1"));
}

TEST(LinuxSysText, CleanTextAndPlaceholders) {
    EXPECT_EQ(SysText::clean("  Caf\xC3\xA9\t\n"), "Caf\xC3\xA9");
    EXPECT_EQ(SysText::replaceInvalidUtf8("a\tCaf\xC3\xA9\xC3(\xED\xA0\x80"),
              "a\tCaf\xC3\xA9\uFFFD(\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(SysText::clean("a\xFF"
                             "b\x01"),
              "ab");
    EXPECT_EQ(SysText::collapseSpaces("  Intel(R)   Core(TM)\ti7  "), "Intel(R) Core(TM) i7");
    EXPECT_TRUE(SysText::isPlaceholder("To be filled by O.E.M."));
    EXPECT_TRUE(SysText::isPlaceholder(" Default string "));
    EXPECT_TRUE(SysText::isPlaceholder(""));
    EXPECT_FALSE(SysText::isPlaceholder("ThinkPad"));
}

}  // namespace
}  // namespace orvane
