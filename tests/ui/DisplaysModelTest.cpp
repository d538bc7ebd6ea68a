#include <gtest/gtest.h>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/DisplaysModel.h"

namespace orvane {
namespace {

using PageText::Line;
using PageText::Row;

TEST(DisplaysModel, GpuCardDividerRuleCoresAndPlaceholder) {
    const Line vendor{false, Row{"Vendor", "Apple", Symbol::building}};
    const Line divider{true, {}};
    const Line metal{false, Row{"Metal", "Metal 3", Symbol::stack}};
    const Line driver{false, Row{"Driver", "amdgpu", Symbol::stack}};
    struct Case {
        const char* vendor;
        const char* metal;
        const char* driver;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"Apple", "Metal 3", "", {vendor, divider, metal}},
        {"Apple", "", "", {vendor}},   // no divider under a lone row
        {"", "Metal 3", "", {metal}},  // no divider before Metal alone
        {"", "", "", {}},
        // Without Metal the kernel driver takes its row; Metal, where known, wins.
        {"Apple", "", "amdgpu", {vendor, divider, driver}},
        {"", "", "amdgpu", {driver}},
        {"", "Metal 3", "amdgpu", {metal}},
    };
    for (const Case& c : cases) {
        const GraphicsInfo g("Apple M2 Pro", c.vendor, "19", c.metal, c.driver);
        EXPECT_EQ(DisplaysModel::gpuCard(g).lines, c.lines)
            << c.vendor << "/" << c.metal << "/" << c.driver;
    }
    EXPECT_EQ(DisplaysModel::gpuCard(GraphicsInfo("GPU", "", "10", "")).coresText, "10-core GPU");
    EXPECT_EQ(DisplaysModel::gpuCard(GraphicsInfo("GPU", "", "", "")).coresText, "");
}

TEST(DisplaysModel, DisplayCardRowsAndBadge) {
    const DisplayInfo builtIn("Color LCD", "3024 x 1964 Retina", "1512 x 982 @ 120.00Hz", true,
                              true, "Built-In Liquid Retina XDR Display", "120.00Hz");
    const DisplayCardText c = DisplaysModel::displayCard(builtIn);
    EXPECT_EQ(c.icon, Symbol::laptop);
    EXPECT_TRUE(c.mainBadge);
    EXPECT_EQ(
        c.lines,
        (std::vector<Line>{
            {false, Row{"Resolution", "3024 x 1964 Retina", Symbol::rectangleDashed}},
            {true, {}},
            {false, Row{"Refresh Rate", "120.00 Hz", Symbol::timer}},
            {true, {}},
            {false, Row{"Type", "Built-In Liquid Retina XDR Display", Symbol::cableConnector}},
        }));

    const DisplayInfo bare("DELL U2723QE", "", "", false, false, "", "");
    const DisplayCardText b = DisplaysModel::displayCard(bare);
    EXPECT_EQ(b.icon, Symbol::display);
    EXPECT_FALSE(b.mainBadge);
    EXPECT_EQ(b.lines,
              (std::vector<Line>{{false, Row{"Resolution", "-", Symbol::rectangleDashed}}}));

    const DisplayInfo typeOnly("X", "1920 x 1080", "", false, false, "Displayport", "");
    EXPECT_EQ(DisplaysModel::displayCard(typeOnly).lines.size(), 3u);
}

}  // namespace
}  // namespace orvane
