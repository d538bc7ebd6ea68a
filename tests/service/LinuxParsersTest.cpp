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

using Bytes = std::vector<std::uint8_t>;
using Texts = std::vector<std::string>;

// ---- EDID ----------------------------------------------------------------------------

// A base block: fixed header, four 18-byte descriptors, checksum.
Bytes edidBlock(const std::vector<Bytes>& descriptors) {
    Bytes b = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
    b.resize(54, 0x01);
    for (const Bytes& d : descriptors)
        b.insert(b.end(), d.begin(), d.end());
    b.resize(127, 0);
    unsigned sum = 0;
    for (auto v : b)
        sum += v;
    b.push_back(static_cast<std::uint8_t>((256 - sum % 256) % 256));
    return b;
}

// A detailed timing: pixel clock in kHz, active and blank pixels and lines.
Bytes timing(int kHz, int hActive, int hBlank, int vActive, int vBlank, bool interlaced = false) {
    const int clock = kHz / 10;
    return {static_cast<std::uint8_t>(clock & 0xFF),
            static_cast<std::uint8_t>(clock >> 8),
            static_cast<std::uint8_t>(hActive & 0xFF),
            static_cast<std::uint8_t>(hBlank & 0xFF),
            static_cast<std::uint8_t>(((hActive >> 8) << 4) | (hBlank >> 8)),
            static_cast<std::uint8_t>(vActive & 0xFF),
            static_cast<std::uint8_t>(vBlank & 0xFF),
            static_cast<std::uint8_t>(((vActive >> 8) << 4) | (vBlank >> 8)),
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            0,
            static_cast<std::uint8_t>(interlaced ? 0x9E : 0x1E)};
}

// A text descriptor, ended by a line feed and padded with spaces.
Bytes text(std::uint8_t tag, std::string s) {
    s = std::string{0, 0, 0, static_cast<char>(tag), 0} + s + "\n";
    s.resize(18, ' ');
    return Bytes(s.begin(), s.end());
}

TEST(LinuxEdid, NameAndPreferredTiming) {
    const Bytes none(18, 0);
    struct Case {
        std::vector<Bytes> descriptors;
        std::string expected;  // name, width x height
    };
    const Case table[] = {
        {{timing(533250, 3840, 160, 2160, 62), text(0xFF, "SERIAL1"), text(0xFC, "DELL U2720Q"),
          none},
         "DELL U2720Q 3840x2160"},
        // The first timing is the preferred one; a name may fill all 13 characters.
        {{timing(154000, 1920, 160, 1200, 35), timing(74250, 1280, 370, 720, 30),
          text(0xFC, "ABCDEFGHIJKLM"), text(0xFE, "NOT A NAME")},
         "ABCDEFGHIJKLM 1920x1200"},
        // Other text is no name; an interlaced timing has twice the lines.
        {{timing(74250, 1920, 280, 540, 22, true), text(0xFE, "PANEL"), none, none}, " 1920x1080"},
        // A bell and a byte that is not UTF-8 on its own are cleaned out; no timing at all.
        {{text(0xFC,
               "\xC3"
               "B\x07"),
          none, none, none},
         "B 0x0"}};
    for (const auto& c : table) {
        const auto edid = Edid::parse(edidBlock(c.descriptors));
        ASSERT_TRUE(edid) << c.expected;
        EXPECT_EQ(edid->monitorName + " " + std::to_string(edid->width) + "x" +
                      std::to_string(edid->height),
                  c.expected);
    }
    EXPECT_NEAR(Edid::parse(edidBlock(table[0].descriptors))->refreshHz,
                533250000.0 / (4000.0 * 2222.0), 1e-9);

    // Short, a wrong header or checksum: nothing. Extension blocks after the base are allowed.
    const Bytes good = edidBlock(table[1].descriptors);
    Bytes badSum = good, badHeader = good, longer = good;
    badSum[60] ^= 0x01;
    badHeader[0] = 0x01;
    badHeader[127] = static_cast<std::uint8_t>(badHeader[127] - 1);
    longer.resize(256, 0xAB);
    EXPECT_FALSE(Edid::parse(std::span(good).first(127)));
    EXPECT_FALSE(Edid::parse(Bytes{}));
    EXPECT_FALSE(Edid::parse(badSum));
    EXPECT_FALSE(Edid::parse(badHeader));
    EXPECT_TRUE(Edid::parse(longer));
}

// ---- mount table -----------------------------------------------------------------------

Texts describe(const std::vector<MountInfo>& mounts) {
    Texts out;
    for (const MountInfo& m : mounts)
        out.push_back(std::to_string(m.major) + ":" + std::to_string(m.minor) + " " + m.root + " " +
                      m.mountPoint + " " + m.fsType + " " + m.source);
    return out;
}

TEST(LinuxMountInfo, FieldsEscapesAndMalformedLines) {
    EXPECT_EQ(describe(MountInfo::parse(
                  "47 44 8:1 / /media/a/My\\040Disk rw shared:320 master:2 - vfat /dev/sda1 rw\n"
                  "garbage\n"
                  "1 2 3:4 / /no-separator rw ext4 /dev/sda1 rw\n"
                  "1 2 x:4 / /bad-device rw - ext4 /dev/sda1 rw\n"
                  "1 2 3:4 / relative rw - ext4 /dev/sda1 rw\n"
                  "1 2 3:4 / /short rw -\n\n"
                  "1 2 99999999999:4 / /huge rw - ext4 /dev/sda1 rw\n"
                  "29 1 0:35 /@home /home\\011tab rw - btrfs /dev/mapper/x\\134y rw")),
              (Texts{"8:1 / /media/a/My Disk vfat /dev/sda1",
                     "0:35 /@home /home\ttab btrfs /dev/mapper/x\\y"}));
    // Incomplete or invalid escapes stay as they are; no NUL inside a path or a label.
    for (const char* kept : {"a\\04", "a\\", "a\\089", "\\000"})
        EXPECT_EQ(MountInfo::unescape(kept), kept);
    for (const char* kept : {"bad\\x2", "nul\\x00", "\\xzz"})
        EXPECT_EQ(StorageReport::unescapeLabel(kept), kept);
    EXPECT_EQ(StorageReport::unescapeLabel("My\\x20Disk\\x2f"), "My Disk/");
}

TEST(LinuxMountInfo, VolumesOncePerDeviceAndTheRootWhateverItIs) {
    const auto points = [](const char* table) {
        Texts out;
        for (const MountInfo& m : StorageReport::volumes(MountInfo::parse(table)))
            out.push_back(m.mountPoint + " " + m.fsType);
        return out;
    };
    // Block devices once each, under the shortest mount point (by source or device number);
    // no pseudo filesystems, snaps or network shares.
    EXPECT_EQ(points("1 0 259:3 /alice /srv/alice rw - ext4 /dev/nvme0n1p3 rw\n"
                     "2 0 259:3 / /home rw - ext4 /dev/nvme0n1p3 rw\n"
                     "3 0 0:35 /@ / rw - btrfs /dev/nvme0n1p2 rw\n"
                     "4 0 0:36 /@home /data rw - btrfs /dev/nvme0n1p2 rw\n"
                     "5 0 0:22 / /run rw - tmpfs tmpfs rw\n"
                     "6 0 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
                     "7 0 7:1 / /mnt/iso ro - iso9660 /dev/loop1 ro\n"
                     "8 0 0:50 / /mnt/nas rw - nfs4 nas:/export rw\n"
                     "9 0 0:51 / /weird rw - tmpfs /dev/fake rw\n"
                     "10 0 8:1 / /mnt/a rw - ext4 /dev/disk/by-uuid/1234 rw\n"
                     "11 0 8:1 / /b rw - ext4 /dev/sdb1 rw\n"),
              (Texts{"/home ext4", "/ btrfs", "/mnt/iso iso9660", "/b ext4"}));
    // A container's overlay root; the topmost of several ZFS roots; never a kernel view.
    EXPECT_EQ(points("1 0 0:50 / / rw - overlay overlay rw\n"
                     "2 1 0:51 / /proc rw - proc proc rw\n"
                     "3 1 254:1 /docker/hosts /etc/hosts rw - ext4 /dev/vda1 rw\n"),
              (Texts{"/ overlay", "/etc/hosts ext4"}));
    EXPECT_EQ(points("1 0 0:60 / / rw - zfs rpool/ROOT/old rw\n"
                     "2 0 0:61 / / rw - zfs rpool/ROOT/ubuntu rw\n"
                     "3 1 0:62 / /home rw - zfs rpool/USERDATA/home rw\n"),
              Texts{"/ zfs"});
    EXPECT_EQ(points("1 0 0:2 / / rw - proc proc rw\n"), Texts{});
    EXPECT_EQ(points(""), Texts{});
}

// ---- os-release ------------------------------------------------------------------------

TEST(LinuxOsRelease, QuotingEscapesAndComments) {
    const auto r = OsRelease::parse(
        "# comment\nNAME=\"Fedora Linux\"\nPRETTY_NAME='It''s \"quoted\"'\n  ID = fedora  \n"
        "ESCAPED=\"a \\\"b\\\" \\\\ c\"\nEMPTY=\"\"\nbad key=1\nNOEQUALS\nCTRL=\"x\x01y\"\n");
    EXPECT_EQ(r.fields, (decltype(r.fields){{"CTRL", "xy"},
                                            {"EMPTY", ""},
                                            {"ESCAPED", "a \"b\" \\ c"},
                                            {"ID", "fedora"},
                                            {"NAME", "Fedora Linux"},
                                            {"PRETTY_NAME", "Its \"quoted\""}}));
    EXPECT_EQ(r.get("EMPTY"), std::nullopt);
}

// ---- /proc counters ----------------------------------------------------------------------

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

TEST(LinuxMemInfo, PagesFromKilobytesAndOddLines) {
    auto info = ProcCounters::parseMemInfo(
        "MemTotal: 16000 kB\nActive: 800 kB\nInactive: 400 kB\nActive(file): 200 kB\n"
        "Inactive(file): 100 kB\nUnevictable: 4 kB\nSUnreclaim: 8 kB\nKernelStack: 12 kB\n"
        "PageTables: 16 kB\nSReclaimable: 40 kB\nZswap: 20 kB\nSwapTotal: 1000 kB\n"
        "SwapFree: 600 kB\n",
        4096);
    EXPECT_EQ(info.vm, (VmStats{4096, 200, 100, 10, 10, 5, 75}));
    EXPECT_EQ(info.swapUsed, 400u * 1024);
    EXPECT_EQ(info.memTotalBytes, 16000u * 1024);

    // Without Zswap (kernels before 5.19) compressed memory is 0; no swap lines, no swap.
    info = ProcCounters::parseMemInfo("Active: 8 kB\nInactive: 4 kB\n", 4096);
    EXPECT_EQ(info.vm, (VmStats{4096, 2, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(info.swapUsed);
    EXPECT_EQ(info.memTotalBytes, 0u);
    // No Active, or a page size of 0: no page counts.
    EXPECT_FALSE(ProcCounters::parseMemInfo("Inactive: 4 kB\n", 4096).vm);
    EXPECT_FALSE(ProcCounters::parseMemInfo("Active: 4 kB\nInactive: 4 kB\n", 0).vm);
    // More free swap than swap: nothing used. Garbage values are ignored.
    info = ProcCounters::parseMemInfo(
        "SwapTotal: 10 kB\nSwapFree: 20 kB\nActive: x kB\nInactive:\nActive:12 kB\n"
        "Inactive: 999999999999999999999999 kB\nInactive: 8 kB",
        1024);
    EXPECT_EQ(info.swapUsed, 0u);
    EXPECT_EQ(info.vm, (VmStats{1024, 12, 8, 0, 0, 0, 0}));
}

// ---- PCI IDs and DRM connectors --------------------------------------------------------

TEST(LinuxPciIds, NamesFromTheDatabase) {
    const char* db =
        "# comment\n10de  NVIDIA Corporation\n\t1f9d  TU117M [GeForce GTX 1650 Mobile / Max-Q]\n"
        "\t\t1043 1111  Subsystem that is not a device\n8086  Intel Corporation\n"
        "# a comment inside a vendor\n\t9A49  TigerLake-LP GT2 [Iris Xe Graphics]\r\n"
        "\t\t9a60 0001  Subsystem with a device-like id\n8087  Intel Corp.\n"
        "\t9a60  Not an Intel Corporation device\nC 03  Display controller\n"
        "\t9a60  A class, not a device\n";
    const auto names = [&](std::uint16_t v, std::uint16_t d) {
        const PciIds::Names n = PciIds::lookup(db, v, d);
        return n.vendor + " / " + n.device;
    };
    EXPECT_EQ(names(0x8086, 0x9a49), "Intel Corporation / TigerLake-LP GT2 [Iris Xe Graphics]");
    EXPECT_EQ(names(0x8086, 0x9a60), "Intel Corporation / ");  // a subsystem, another vendor's
    EXPECT_EQ(names(0x1234, 0x1111), " / ");
    EXPECT_EQ(PciIds::lookup("", 0x8086, 0x9a49).vendor, "");

    // The marketing name in brackets; the vendor without its bracketed short name.
    EXPECT_EQ(DisplayReport::productName("TU117M [GeForce GTX 1650 Mobile / Max-Q]"),
              "GeForce GTX 1650 Mobile / Max-Q");
    EXPECT_EQ(DisplayReport::productName("Odd []"), "Odd []");
    EXPECT_EQ(DisplayReport::vendorName("Advanced Micro Devices, Inc. [AMD/ATI]"),
              "Advanced Micro Devices, Inc.");
    EXPECT_EQ(DisplayReport::vendorName("[Only brackets]"), "[Only brackets]");
}

TEST(LinuxDrmConnectors, OnlyTheCardsOwnConnectors) {
    const auto c = DisplayReport::connectorOf("card0-HDMI-A-1", "card0");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->name + " " + c->type + " " + std::to_string(c->index), "HDMI-A-1 HDMI-A 1");
    for (const char* entry : {"card10-DP-1", "card1", "card1-DP", "card1--1", "renderD128"})
        EXPECT_FALSE(DisplayReport::connectorOf(entry, "card1")) << entry;
}

// ---- text helpers -------------------------------------------------------------------------

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
    EXPECT_EQ(SysText::cpuListCount("0-3,8-11"), 8u);
    for (const char* bad : {"", "3-1", "0-4294967295", "0,,1"})
        EXPECT_FALSE(SysText::cpuListCount(bad)) << bad;

    EXPECT_EQ(SysText::clean("  Caf\xC3\xA9\t\n"), "Caf\xC3\xA9");
    EXPECT_EQ(SysText::clean("a\xFF"
                             "b\x01"),
              "ab");
    EXPECT_EQ(SysText::replaceInvalidUtf8("a\tCaf\xC3\xA9\xC3(\xED\xA0\x80"),
              "a\tCaf\xC3\xA9\uFFFD(\uFFFD\uFFFD\uFFFD");
    EXPECT_TRUE(SysText::isPlaceholder(" Default string "));
    EXPECT_FALSE(SysText::isPlaceholder("ThinkPad"));
}

}  // namespace
}  // namespace orvane
