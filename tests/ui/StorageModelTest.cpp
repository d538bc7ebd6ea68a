#include <gtest/gtest.h>

#include <cmath>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/StorageModel.h"

namespace orvane {
namespace {

TEST(StorageModel, UsedTextRoundsTiesToEven) {
    struct Case {
        std::int64_t total, free;
        const char* text;
        Tint color;
    };
    const Case cases[] = {
        {1000, 875, "12% used", Tint::green},    // 0.125
        {1000, 975, "2% used", Tint::green},     // 0.025
        {1000, 985, "2% used", Tint::green},     // 0.015
        {10000, 4322, "57% used", Tint::green},  // 0.5678
        {1000, 1000, "0% used", Tint::green},    // empty
        {1000, 400, "60% used", Tint::yellow},   // boundary
        {1000, 150, "85% used", Tint::red},      // boundary
        {1000, -200, "120% used", Tint::red},    // negative free space
        {1000, 1200, "0% used", Tint::green},    // free above total: used clamps to 0
        {0, 0, "", Tint::secondary},             // total unknown: no percentage, no usage colour
        {-1, 5, "", Tint::secondary},
    };
    for (const Case& c : cases) {
        const VolumeInfo v("X", "/x", "APFS", c.total, c.free, true, false);
        const VolumeCardText card = StorageModel::card(v);
        EXPECT_EQ(card.usedText, c.text) << c.free;
        EXPECT_EQ(card.color, c.color) << c.free;
        EXPECT_EQ(card.legend[0].color, c.color);
        // An unknown total leaves the bar empty and the amounts it would need unknown.
        EXPECT_EQ(card.showFill, c.total >= 1) << c.total;
        if (c.total < 1) {
            EXPECT_EQ(card.fraction, 0);
            EXPECT_EQ(card.legend[0].value, "-");
            EXPECT_EQ(card.legend[2].value, "-");
        }
    }
}

TEST(StorageModel, CardTexts) {
    const VolumeInfo boot("Macintosh HD", "/", "APFS", 494'384'795'648, 201'000'000'000, true,
                          true);
    const VolumeCardText c = StorageModel::card(boot);
    EXPECT_EQ(c.icon, Symbol::internalDriveFill);
    EXPECT_EQ(c.name, "Macintosh HD");
    EXPECT_TRUE(c.startup);
    std::string legend;
    for (const LegendEntry& e : c.legend)
        legend += e.label + " " + e.value + (e.hasDot() ? " (dot); " : "; ");
    EXPECT_EQ(legend, "Used 293.38 GB (dot); Free 201 GB (dot); Total 494.38 GB; ");
    EXPECT_EQ(StorageModel::card(VolumeInfo("", "", "", 64, 1, false, false)).icon,
              Symbol::externalDriveFill);
}

TEST(StorageModel, SummaryLeavesOutEmptyPartsWithTheirSeparators) {
    const struct {
        const char *fileSystem, *mountPoint;
        bool internal;
        const char* summary;
    } cases[] = {
        {"APFS", "/", true, "APFS \u00b7 Internal \u00b7 /"},
        {"", "", false, "External"},
        {"", "/Volumes/USB", false, "External \u00b7 /Volumes/USB"},
        {"ExFAT", "", true, "ExFAT \u00b7 Internal"},
    };
    for (const auto& c : cases) {
        const VolumeInfo v("X", c.mountPoint, c.fileSystem, 1000, 1, c.internal, false);
        EXPECT_EQ(StorageModel::card(v).summary, c.summary);
    }
}

TEST(StorageModel, CardsOfTheSameVolumeCompareEqualDespiteNewIds) {
    const VolumeInfo a("Data", "/Volumes/Data", "APFS", 1000, 500, true, false);
    const VolumeInfo b("Data", "/Volumes/Data", "APFS", 1000, 500, true, false);
    ASSERT_FALSE(a.id() == b.id());
    EXPECT_EQ(StorageModel::card(a), StorageModel::card(b));
}

TEST(StorageModel, FillWidthHasAMinimum) {
    const double cases[][2] = {{0.02, 12}, {0.03, 12}, {0, 12},  {-0.5, 12},
                               {0.5, 200}, {1.2, 480}, {NAN, 12}};
    for (const auto& [fraction, width] : cases)
        EXPECT_DOUBLE_EQ(StorageModel::fillWidth(400, fraction), width) << fraction;
}

}  // namespace
}  // namespace orvane
