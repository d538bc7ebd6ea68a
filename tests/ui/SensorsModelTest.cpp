#include <gtest/gtest.h>

#include <cmath>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/DisplaysModel.h"
#include "ui/model/SensorsModel.h"

namespace orvane {
namespace {

using PageText::Line;
using PageText::Row;

// Each card finds its load by driver and place; a sleeping GPU says so; a Mac's loads have
// no driver, as its cards have none.
TEST(SensorsModel, GpuLoadRowsMatchCardsByDriverAndPlace) {
    const std::vector<GraphicsInfo> graphics = {
        GraphicsInfo("Iris Xe", "", "", "", "i915"), GraphicsInfo("RX 6600", "", "", "", "amdgpu"),
        GraphicsInfo("RX 7600", "", "", "", "amdgpu"), GraphicsInfo("Apple M2", "", "", "Metal 3")};
    const std::vector<GpuLoadFacts> loads = {{"card1", "amdgpu", false, 40.0},
                                             {"card2", "amdgpu", true, std::nullopt},
                                             {"card0", "i915", false, 90.0},
                                             {"", "", false, 61.4}};
    const std::optional<Row> expected[] = {
        Row{"GPU Load", "90%", Symbol::gauge, Tint::red},
        Row{"GPU Load", "40%", Symbol::gauge, Tint::green},
        Row{"GPU Load", "Sleeping", Symbol::gauge, Tint::secondary},
        Row{"GPU Load", "61%", Symbol::gauge, Tint::yellow},
    };
    for (std::size_t i = 0; i < graphics.size(); ++i)
        EXPECT_EQ(SensorsModel::loadRow(SensorsModel::loadOf(graphics, i, loads)), expected[i]);
    EXPECT_EQ(SensorsModel::loadOf(graphics, 1, {}), nullptr);
    EXPECT_EQ(SensorsModel::loadRow(&loads[0]).has_value(), true);
    const GpuLoadFacts unread{"card0", "i915", false, std::nullopt};
    EXPECT_EQ(SensorsModel::loadRow(&unread), std::nullopt);
    // The row ends the card, after a divider.
    EXPECT_EQ(
        DisplaysModel::gpuCard(graphics[0], &loads[2]).lines,
        (std::vector<Line>{
            {false, Row{"Driver", "i915", Symbol::stack}}, {true, {}}, {false, *expected[0]}}));
}

TEST(SensorsModel, CardsColouredAgainstCriticalWithPowerDraw) {
    SensorReadings s;
    s.sampled = true;
    s.thermalState = ThermalState::serious;
    s.devices = {{"CPU",
                  false,
                  {{"CPU Package", 52.4, 100.0},
                   {"Core 0", 88.0, 100.0},
                   {"Core 1", 70.0, std::nullopt},
                   {"Core 2", std::nullopt, 100.0}},
                  {}},
                 {"GPU", true, {}, {}},
                 {"System", false, {}, {{"Fan 1", 2405.0}, {"Fan 2", std::nullopt}}}};
    BatteryInfo b;
    b.present = true;
    b.voltage = 12.0;
    b.amperage = -1.5;
    const std::vector<SensorCardText> expected = {
        {"Thermal State", Symbol::gauge, {{"State", "Serious", Symbol::thermometer, Tint::red}}},
        {"CPU",
         Symbol::cpu,
         {{"CPU Package", "52 °C", Symbol::thermometerMedium, Tint::green},
          {"Core 0", "88 °C", Symbol::thermometerMedium, Tint::red},
          {"Core 1", "70 °C", Symbol::thermometerMedium, Tint::primary}}},
        {"GPU", Symbol::cpuFill, {{"State", "Sleeping", Symbol::moonFill, Tint::secondary}}},
        {"System", Symbol::gauge, {{"Fan 1", "2405 RPM", Symbol::arrowCirclePath, Tint::primary}}},
        {"Battery",
         Symbol::battery100,
         {{"Power Draw", "18.0 W", Symbol::boltFill, Tint::primary}}},
    };
    EXPECT_EQ(SensorsModel::cards(s, b), expected);

    // Charging, with the battery's own sensors: the power leads its card.
    s.thermalState.reset();
    s.devices = {{"Battery", false, {{"Battery", 31.0, std::nullopt}}, {}}};
    b.amperage = 2.0;
    const auto charging = SensorsModel::cards(s, b);
    ASSERT_EQ(charging.size(), 1u);
    EXPECT_EQ(charging[0].rows.front().label, "Charging Power");
    EXPECT_EQ(charging[0].rows.size(), 2u);

    // Nothing to show: the empty state, once a sample was read.
    b.present = false;
    s.devices.clear();
    EXPECT_TRUE(SensorsModel::showEmpty(s, SensorsModel::cards(s, b)));
    EXPECT_FALSE(SensorsModel::showEmpty(SensorReadings{}, {}));
}

TEST(SensorsModel, GraphScaleAndLegend) {
    using SensorsModel::Traffic;
    struct Case {
        double read, written;
        double scale;
    };
    for (const Case& c : std::initializer_list<Case>{{0, 0, 1000},
                                                     {999, 1000, 1000},
                                                     {1001, 0, 2000},
                                                     {0, 2500, 5000},
                                                     {7.2e6, 1, 1e7},
                                                     {NAN, 1.9e9, 2e9}}) {
        const std::deque<ThroughputPoint> points = {{0, {}, {}, c.read, c.written},
                                                    {1, {}, {}, std::nullopt, 10}};
        EXPECT_EQ(SensorsModel::scale(Traffic::disk, points), c.scale) << c.read << c.written;
        EXPECT_EQ(SensorsModel::scale(Traffic::network, points), 1000);
    }
    const ThroughputPoint p{0, 1.5e6, std::nullopt, {}, {}};
    EXPECT_EQ(SensorsModel::legend(Traffic::network, &p),
              (std::array<MiniStat, 2>{
                  {{"1.5 MB/s", "Received", Tint::blue}, {"-", "Sent", Tint::green}}}));
    EXPECT_EQ(SensorsModel::legend(Traffic::disk, nullptr)[1].value, "-");
}

}  // namespace
}  // namespace orvane
