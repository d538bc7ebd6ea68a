#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "service/Collectors.h"
#include "service/platform/ReplayPlatform.h"
#include "tests/service/Captures.h"
#include "tests/service/CollectorsFakePlatform.h"
#include "tests/service/RecordText.h"

namespace orvane {
namespace {

using collectors_test::FakePlatform;
using record_text::describe;
using Texts = std::vector<std::string>;

std::vector<VolumeInfo> collect(const std::string& json) {
    FakePlatform p;
    if (!json.empty()) p.setProfiler("SPStorageDataType", json);
    return volumesOf(p);
}

std::vector<VolumeInfo> collectItems(const std::string& items) {
    return collect(R"({"SPStorageDataType": [)" + items + "]}");
}

std::vector<std::string> names(const std::vector<VolumeInfo>& volumes) {
    std::vector<std::string> out;
    for (const auto& v : volumes)
        out.push_back(v.name);
    return out;
}

TEST(Volumes, Fields) {
    EXPECT_EQ(describe(collectItems(R"({"_name": "Macintosh HD", "mount_point": "/",
        "file_system": "APFS", "size_in_bytes": 994662584320,
        "free_space_in_bytes": 412000000000})")),
              Texts{"Macintosh HD | / | APFS | 994662584320/412000000000 | BI"});
    // Members of the wrong kind: defaults; sizes as text go through the strict parse.
    EXPECT_EQ(describe(collectItems(
                  R"({"size_in_bytes": "2000", "_name": 5, "mount_point": ["/"],
                      "file_system": null, "free_space_in_bytes": "lots"})")),
              Texts{"Volume |  |  | 2000/0 | -I"});
    // Only the root is the boot volume.
    for (const char* mount : {R"("//")", R"("/ ")", R"("/Volumes/")", "1"}) {
        const auto v = collectItems(
            std::string(R"({"size_in_bytes": 1, "_name": "/", "mount_point": )") + mount + "}");
        EXPECT_FALSE(v.at(0).isBoot) << mount;
    }
}

TEST(Volumes, ItemsWithoutUsableSizeAreDropped) {
    for (const char* size : {R"("size_in_bytes": 0)", R"("size_in_bytes": -5)",
                             R"("size_in_bytes": "1 TB")", R"("free_space_in_bytes": 1000)"}) {
        EXPECT_EQ(names(collectItems(std::string(R"({"_name": "gone", )") + size +
                                     R"(}, {"size_in_bytes": 1})")),
                  Texts{"Volume"})
            << size;
    }
    // The largest signed 64-bit count is still a size; one past it is not a number.
    EXPECT_EQ(collectItems(R"({"size_in_bytes": 9223372036854775807})").size(), 1u);
    EXPECT_EQ(collectItems(R"({"size_in_bytes": "9223372036854775808"})").size(), 0u);
}

TEST(Volumes, InternalFromTheDriveDescription) {
    const std::pair<std::string, bool> table[] = {
        {R"("x": 1)", true},  // no description: stays internal
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes"})", true},
        {R"("spstorage_physical_drive": {"is_internal_disk": "YES"})", true},
        {R"("spstorage_physical_drive": {"is_internal_disk": "no"})", false},
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes "})", false},
        {R"("spstorage_physical_drive": {"is_internal_disk": true})", false},
        {R"("spstorage_physical_drive": {"protocol": "USB"})", false},
        {R"("spstorage_physical_drive": "internal")", true},  // not an object
        // The name real reports use, with the same rule.
        {R"("physical_drive": {"is_internal_disk": "Yes"})", true},
        {R"("physical_drive": {"is_internal_disk": "no"})", false},
        // The first name wins when it is an object; otherwise the second is read.
        {R"("spstorage_physical_drive": {"is_internal_disk": "yes"},
            "physical_drive": {"is_internal_disk": "no"})",
         true},
        {R"("spstorage_physical_drive": 3, "physical_drive": {"is_internal_disk": "no"})", false}};
    for (const auto& [members, internal] : table) {
        const auto v = collectItems(R"({"size_in_bytes": 1000, )" + members + "}");
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].isInternal, internal) << members;
    }
}

TEST(Volumes, BootFirstThenLargerFirstStable) {
    EXPECT_EQ(names(collectItems(
                  R"({"_name": "500", "size_in_bytes": 500000000000, "mount_point": "/"},
                     {"_name": "1000", "size_in_bytes": 1000000000000},
                     {"_name": "250", "size_in_bytes": 250000000000})")),
              (Texts{"500", "1000", "250"}));
    // Equal size and boot flag: report order.
    EXPECT_EQ(names(collectItems(
                  R"({"_name": "a", "size_in_bytes": 100}, {"_name": "b", "size_in_bytes": 200},
                     {"_name": "c", "size_in_bytes": 100}, {"_name": "d", "size_in_bytes": 200},
                     {"_name": "root", "size_in_bytes": 1, "mount_point": "/"},
                     {"_name": "e", "size_in_bytes": 100})")),
              (Texts{"root", "b", "d", "a", "c", "e"}));
}

TEST(Volumes, UnreadableReportGivesNoVolumes) {
    for (const std::string& json :
         {std::string(), std::string("{\"SPStorageDataType\": [{\"_name\": \"Mac"),
          std::string(R"({"SPStorageDataType": {"size_in_bytes": 1000}})"),
          std::string(R"({"SPStorageDataType": [{"size_in_bytes": 1000}, "x"]})")}) {
        EXPECT_TRUE(collect(json).empty()) << json;
    }
}

TEST(Volumes, FreshIdentifiersEachCollection) {
    const std::string json = R"({"SPStorageDataType": [{"size_in_bytes": 1}]})";
    EXPECT_NE(collect(json).at(0).id(), collect(json).at(0).id());
}

}  // namespace
}  // namespace orvane
