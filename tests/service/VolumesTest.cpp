#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/CollectorsFakePlatform.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;

std::vector<VolumeInfo> collect(const std::string& json) {
    FakePlatform p;
    if (!json.empty()) p.setProfiler("SPStorageDataType", json);
    return collectVolumes(p);
}

std::vector<VolumeInfo> collectItems(const std::string& items) {
    return collect(R"({"SPStorageDataType": [)" + items + "]}");
}

// One item with a usable size and the given extra members.
std::string item(const std::string& members) {
    return R"({"size_in_bytes": 1000)" + (members.empty() ? "" : ", " + members) + "}";
}

std::vector<std::string> names(const std::vector<VolumeInfo>& volumes) {
    std::vector<std::string> out;
    for (const auto& v : volumes)
        out.push_back(v.name);
    return out;
}

TEST(Volumes, Fields) {
    const auto v = collectItems(R"({"_name": "Macintosh HD", "mount_point": "/",
        "file_system": "APFS", "size_in_bytes": 994662584320,
        "free_space_in_bytes": 412000000000})");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].name, "Macintosh HD");
    EXPECT_EQ(v[0].mountPoint, "/");
    EXPECT_EQ(v[0].fileSystem, "APFS");
    EXPECT_EQ(v[0].totalBytes, 994662584320);
    EXPECT_EQ(v[0].freeBytes, 412000000000);
    EXPECT_TRUE(v[0].isBoot);
    EXPECT_TRUE(v[0].isInternal);
}

TEST(Volumes, MissingOrMistypedMembers) {
    const auto v = collectItems(
        R"({"size_in_bytes": "2000", "_name": 5, "mount_point": ["/"], "file_system": null,
            "free_space_in_bytes": "lots"})");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].name, "Volume");
    EXPECT_EQ(v[0].mountPoint, "");
    EXPECT_EQ(v[0].fileSystem, "");
    EXPECT_EQ(v[0].totalBytes, 2000);
    EXPECT_EQ(v[0].freeBytes, 0);
    EXPECT_FALSE(v[0].isBoot);
}

TEST(Volumes, ItemsWithoutUsableSizeAreDropped) {
    for (const char* size :
         {R"("size_in_bytes": 0)", R"("size_in_bytes": -5)", R"("size_in_bytes": "1 TB")",
          R"("size_in_bytes": " 1000")", R"("size_in_bytes": null)", R"("size_in_bytes": [1000])",
          R"("size_in_bytes": 0.5)", R"("free_space_in_bytes": 1000)"}) {
        const auto v = collectItems(std::string(R"({"_name": "gone", )") + size + "}," + item(""));
        ASSERT_EQ(v.size(), 1u) << size;
        EXPECT_EQ(v[0].name, "Volume") << size;
    }
    // The largest signed 64-bit count is still a size; one past it is not a number.
    EXPECT_EQ(collectItems(R"({"size_in_bytes": 9223372036854775807})").size(), 1u);
    EXPECT_EQ(collectItems(R"({"size_in_bytes": "9223372036854775808"})").size(), 0u);
}

TEST(Volumes, BootOnlyAtRoot) {
    const std::pair<const char*, bool> table[] = {{R"("mount_point": "/")", true},
                                                  {R"("mount_point": "//")", false},
                                                  {R"("mount_point": "/ ")", false},
                                                  {R"("mount_point": "")", false},
                                                  {R"("mount_point": "/Volumes/")", false},
                                                  {R"("mount_point": 1)", false},
                                                  {R"("_name": "/")", false}};
    for (const auto& [members, boot] : table) {
        const auto v = collectItems(item(members));
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].isBoot, boot) << members;
    }
}

TEST(Volumes, InternalFromTheDriveDescription) {
    const std::pair<std::string, bool> table[] = {
        {"", true},  // no description: stays internal
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes"})", true},
        {R"("spstorage_physical_drive": {"is_internal_disk": "YES"})", true},
        {R"("spstorage_physical_drive": {"is_internal_disk": "Yes"})", true},
        {R"("spstorage_physical_drive": {"is_internal_disk": "no"})", false},
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes "})", false},
        {R"("spstorage_physical_drive": {"is_internal_disk": "y"})", false},
        {R"("spstorage_physical_drive": {"is_internal_disk": true})", false},
        {R"("spstorage_physical_drive": {"protocol": "USB"})", false},
        {R"("spstorage_physical_drive": {})", false},
        {R"("spstorage_physical_drive": "internal")", true},  // not an object
        {R"("spstorage_physical_drive": [{"is_internal_disk": "no"}])", true},
        // The name real reports use, with the same rule.
        {R"("physical_drive": {"is_internal_disk": "yes"})", true},
        {R"("physical_drive": {"is_internal_disk": "no"})", false},
        {R"("physical_drive": {"protocol": "USB"})", false},
        {R"("physical_drive": null)", true},
        // The first name wins when it is an object; otherwise the second is read.
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes"},
            "physical_drive": {"is_internal_disk": "no"})",
         true},
        {R"("spstorage_physical_drive": 3, "physical_drive": {"is_internal_disk": "no"})", false}};
    for (const auto& [members, internal] : table) {
        const auto v = collectItems(item(members));
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].isInternal, internal) << members;
    }
}

TEST(Volumes, BootFirstThenLargerFirstStable) {
    auto v = collectItems(
        R"({"_name": "500", "size_in_bytes": 500000000000, "mount_point": "/"},
           {"_name": "1000", "size_in_bytes": 1000000000000},
           {"_name": "250", "size_in_bytes": 250000000000})");
    EXPECT_EQ(names(v), (std::vector<std::string>{"500", "1000", "250"}));

    // Equal size and boot flag: report order.
    v = collectItems(
        R"({"_name": "a", "size_in_bytes": 100}, {"_name": "b", "size_in_bytes": 200},
           {"_name": "c", "size_in_bytes": 100}, {"_name": "d", "size_in_bytes": 200},
           {"_name": "root", "size_in_bytes": 1, "mount_point": "/"},
           {"_name": "e", "size_in_bytes": 100})");
    EXPECT_EQ(names(v), (std::vector<std::string>{"root", "b", "d", "a", "c", "e"}));
}

TEST(Volumes, UnreadableReportGivesNoVolumes) {
    for (const std::string& json :
         {std::string(), std::string("{\"SPStorageDataType\": [{\"_name\": \"Mac"),
          std::string(R"([{"SPStorageDataType": [{"size_in_bytes": 1000}]}])"),
          std::string(R"({"SPStorageDataType": {"size_in_bytes": 1000}})"),
          std::string(R"({"SPStorageDataType": [{"size_in_bytes": 1000}, "x"]})"),
          std::string(R"({"SPStorageDataType": []})"), std::string(R"({})")}) {
        EXPECT_TRUE(collect(json).empty()) << json;
    }
}

TEST(Volumes, FreshIdentifiersAndCommandLine) {
    FakePlatform p;
    p.setProfiler("SPStorageDataType", R"({"SPStorageDataType": [{"size_in_bytes": 1}]})");
    const auto a = collectVolumes(p);
    const auto b = collectVolumes(p);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NE(a[0].id(), b[0].id());
    EXPECT_EQ(p.calls.front(),
              (FakePlatform::CommandLine{kSystemProfiler, {"SPStorageDataType", "-json"}}));
}

std::vector<VolumeInfo> replayVolumes(const char* machine) {
    return collectVolumes(ReplayPlatform(std::string(ORVANE_FIXTURES) + "/" + machine));
}

TEST(VolumesReplay, Portable) {
    const auto v = replayVolumes("mac-portable");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].name, "Macintosh HD");
    EXPECT_TRUE(v[0].isBoot);
    EXPECT_TRUE(v[0].isInternal);
    EXPECT_EQ(v[0].totalBytes, 1000000000000);
    EXPECT_EQ(v[0].freeBytes, 400000000000);
    EXPECT_EQ(v[0].usedBytes(), 600000000000);
    EXPECT_EQ(v[1].name, "Backup");
    EXPECT_EQ(v[1].mountPoint, "/Volumes/Backup");
    EXPECT_EQ(v[1].fileSystem, "ExFAT");
    EXPECT_FALSE(v[1].isBoot);
    EXPECT_FALSE(v[1].isInternal);
    EXPECT_DOUBLE_EQ(v[1].usedFraction(), 0.25);
}

TEST(VolumesReplay, Desktop) {
    const auto v = replayVolumes("mac-desktop");
    // The installer image has no size; the two 2 TB volumes keep their report order.
    EXPECT_EQ(names(v),
              (std::vector<std::string>{"Macintosh HD", "Media", "Scratch", "Time Machine"}));
    ASSERT_EQ(v.size(), 4u);
    EXPECT_TRUE(v[0].isInternal);   // "spstorage_physical_drive", "yes"
    EXPECT_FALSE(v[1].isInternal);  // "no"
    EXPECT_TRUE(v[2].isInternal);   // "Yes"
    EXPECT_FALSE(v[3].isInternal);  // no "is_internal_disk"
}

TEST(VolumesReplay, OlderBrokenFailed) {
    const auto older = replayVolumes("mac-older");
    EXPECT_EQ(names(older), (std::vector<std::string>{"Macintosh HD", "Photos"}));
    ASSERT_EQ(older.size(), 2u);
    EXPECT_TRUE(older[0].isInternal);
    EXPECT_FALSE(older[1].isInternal);
    EXPECT_TRUE(replayVolumes("mac-broken").empty());
    EXPECT_TRUE(replayVolumes("mac-failed").empty());
}

}  // namespace
}  // namespace orvane
