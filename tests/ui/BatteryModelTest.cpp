#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <tuple>

#include "tests/ui/PageTextPrinters.h"
#include "ui/model/BatteryModel.h"

namespace orvane {
namespace {

BatteryInfo present() {
    BatteryInfo b;
    b.present = true;
    b.condition = "Normal";
    return b;
}

// Words that name the machine: a Mac only where the records say macOS; before the machine is
// read, the platform the program was built for.
TEST(BatteryModel, NoticeAndTaglineNameTheMachine) {
#if defined(__APPLE__)
    const bool builtForMac = true;
#else
    const bool builtForMac = false;
#endif
    const struct {
        const char* osName;
        bool mac;
    } cases[] = {{"macOS Sonoma", true},
                 {"macOS", true},
                 {"Debian GNU/Linux", false},
                 {"Linux", false},
                 {"", builtForMac}};
    for (const auto& c : cases) {
        HardwareInfo hw;
        hw.macOSName = c.osName;
        EXPECT_EQ(BatteryModel::noBatteryText(hw),
                  c.mac ? "This Mac runs on AC power \u2013 no battery to report."
                        : "This computer runs on AC power \u2013 no battery to report.")
            << c.osName;
        EXPECT_EQ(PageText::tagline(c.osName), c.mac ? "Know your Mac" : "Know your computer")
            << c.osName;
    }
}

TEST(BatteryModel, SubtitleGaugesAndConditionBadge) {
    EXPECT_EQ(BatteryModel::subtitle(BatteryInfo{}), "No internal battery detected");
    EXPECT_EQ(BatteryModel::subtitle(present()), "Health, cycles & charge");
    EXPECT_FALSE(BatteryModel::showGauges(BatteryInfo{}));
    EXPECT_TRUE(BatteryModel::showGauges(present()));
    BatteryInfo b = present();
    b.condition = "Service Recommended";
    EXPECT_EQ(BatteryModel::conditionBadge(b), (PageText::Badge{"Service Recommended", Tint::red}));
    EXPECT_EQ(BatteryModel::conditionBadge(BatteryInfo{}), (PageText::Badge{"-", Tint::secondary}));
}

TEST(BatteryModel, HealthGaugeTintFollowsWear) {
    struct Case {
        double health;
        const char* title;
        Tint tint;
    };
    const Case cases[] = {
        {100, "100%", Tint::green}, {40, "40%", Tint::yellow}, {40.0001, "40%", Tint::green},
        {15, "15%", Tint::red},     {10, "10%", Tint::red},    {87.6, "88%", Tint::green},
        {104, "104%", Tint::green}, {0, "0%", Tint::red},
    };
    for (const Case& c : cases) {
        BatteryInfo b = present();
        b.healthPercent = c.health;
        const auto g = BatteryModel::healthGauge(b);
        EXPECT_EQ(g.title, c.title) << c.health;
        EXPECT_EQ(g.tint, c.tint) << c.health;
        EXPECT_DOUBLE_EQ(g.fraction, c.health / 100);
    }
    // Not read: no arc, "-".
    EXPECT_EQ(BatteryModel::healthGauge(present()),
              (PageText::Gauge{0, "-", "Maximum\nCapacity", Tint::secondary}));
    EXPECT_EQ(BatteryModel::chargeGauge(present()),
              (PageText::Gauge{0, "-", "Current\nCharge", Tint::secondary}));
    EXPECT_EQ(BatteryModel::cycles(present()).count, "-");
}

TEST(BatteryModel, ChargeTitleRoundsTiesToEven) {
    for (auto [charge, title] :
         {std::pair{99.5, "100%"}, {0.5, "0%"}, {87.4, "87%"}, {2.5, "2%"}, {100.0, "100%"}}) {
        BatteryInfo b = present();
        b.chargePercent = charge;
        EXPECT_EQ(BatteryModel::chargeGauge(b).title, title) << charge;
    }
}

TEST(BatteryModel, ChargeStateTextIconAndColour) {
    struct Case {
        bool charging, full, onAC;
        double charge;
        const char* text;
        Symbol icon;
        Tint color;
    };
    const Case cases[] = {
        {true, true, true, 20, "Charging", Symbol::battery100Bolt, Tint::green},
        {true, false, false, 95, "Charging", Symbol::battery100Bolt, Tint::green},
        {false, true, true, 100, "Fully Charged", Symbol::powerPlugFill, Tint::green},
        {false, true, false, 100, "Fully Charged", Symbol::battery50, Tint::green},
        {false, false, true, 80, "On AC \u00b7 Not Charging", Symbol::powerPlugFill, Tint::green},
        {false, false, false, 30, "On Battery", Symbol::battery50, Tint::yellow},
        {false, false, false, 10, "On Battery", Symbol::battery50, Tint::red},
    };
    for (const Case& c : cases) {
        BatteryInfo b = present();
        b.isCharging = c.charging;
        b.fullyCharged = c.full;
        b.onAC = c.onAC;
        b.chargePercent = c.charge;
        EXPECT_EQ(BatteryModel::chargeState(b), (ChargeState{c.text, c.icon})) << c.text;
        EXPECT_EQ(BatteryModel::chargeColor(b), c.color) << c.text;
        EXPECT_EQ(BatteryModel::chargeGauge(b).tint, c.color) << c.text;
    }
}

TEST(BatteryModel, CyclesWithAndWithoutARating) {
    BatteryInfo b = present();
    b.cycleCount = 312;
    const CyclesText unrated = BatteryModel::cycles(b);
    EXPECT_EQ(unrated.count, "312");
    EXPECT_FALSE(unrated.showRated);
    EXPECT_TRUE(unrated.remaining.empty());

    b.designCycleCount = 1000;
    const CyclesText rated = BatteryModel::cycles(b);
    EXPECT_TRUE(rated.showRated);
    EXPECT_EQ(rated.ratedBar, (PageText::Bar{"", "312 / 1,000 rated", 0.312, Tint::accent}));
    EXPECT_EQ(rated.remaining, "688 cycles remaining (rated)");

    // Above the rating: the raw quotient goes to the bar and nothing remains.
    b.cycleCount = 1200;
    const CyclesText over = BatteryModel::cycles(b);
    EXPECT_EQ(over.ratedBar.detail, "1,200 / 1,000 rated");
    EXPECT_DOUBLE_EQ(over.ratedBar.fraction, 1.2);
    EXPECT_EQ(over.remaining, "0 cycles remaining (rated)");

    // Nonsense counts must not overflow the remaining count.
    b.cycleCount = std::numeric_limits<std::int64_t>::min();
    b.designCycleCount = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(BatteryModel::cycles(b).remaining,
              "9,223,372,036,854,775,807 cycles remaining (rated)");
    b.designCycleCount = -5;
    EXPECT_FALSE(BatteryModel::cycles(b).showRated);
}

TEST(BatteryModel, TimeRemainingAndTimeToFull) {
    const std::tuple<std::optional<std::int64_t>, bool, bool, const char*> cases[] = {
        {0, true, false, "On AC"},
        {-1, false, false, "Calculating\u2026"},
        {0, false, false, "Calculating\u2026"},
        {-1, true, true, "Calculating\u2026"},
        {90, false, false, "1h 30m"},
        {1, true, true, "1m"},
        {1440, false, false, "1d 0h 0m"},
        {std::nullopt, false, false, "-"}};
    for (const auto& [minutes, onAC, charging, text] : cases) {
        BatteryInfo b = present();
        b.timeRemaining = minutes;
        b.onAC = onAC;
        b.isCharging = charging;
        EXPECT_EQ(BatteryModel::timeRemaining(b), text) << minutes.value_or(-99);
        EXPECT_EQ(BatteryModel::capacityRows(b)[3].label,
                  charging ? "Time to Full" : "Time Remaining");
    }
}

TEST(BatteryModel, CapacityRows) {
    BatteryInfo b = present();
    b.maxCapacity = 4382;
    b.designCapacity = 5000;
    const auto rows = BatteryModel::capacityRows(b);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (PageText::Row{"Full Charge Capacity", "4,382 mAh", Symbol::boltFill}));
    EXPECT_EQ(rows[1].value, "5,000 mAh");
    // Not read: the placeholder in the secondary style, never "0 mAh".
    EXPECT_EQ(rows[2],
              (PageText::Row{"Current Capacity", "-", Symbol::boltCircle, Tint::secondary}));
}

TEST(BatteryModel, TemperatureBoundaryAndAmperageSign) {
    const std::tuple<double, const char*, Tint> temperatures[] = {
        {35.0, "35.0 \u00b0C", Tint::primary},
        {35.1, "35.1 \u00b0C", Tint::yellow},
        {35.04, "35.0 \u00b0C", Tint::yellow},
        {0, "0.0 \u00b0C", Tint::primary},
        {-5, "\u22125.0 \u00b0C", Tint::primary}};
    for (const auto& [temperature, text, color] : temperatures) {
        BatteryInfo b = present();
        b.temperature = temperature;
        const auto row = BatteryModel::electricalRows(b)[0];
        EXPECT_EQ(row.value, text) << temperature;
        EXPECT_EQ(row.valueColor, color) << temperature;
    }
    EXPECT_EQ(BatteryModel::electricalRows(present())[0].value, "-");
    for (auto [amperes, text] : {std::pair{-1.5, "\u22121,500 mA"},
                                 {-1.2345, "\u22121,234 mA"},
                                 {-0.0004, "0 mA"},
                                 {0.0, "0 mA"}}) {
        BatteryInfo b = present();
        b.amperage = amperes;
        EXPECT_EQ(BatteryModel::electricalRows(b)[2].value, text) << amperes;
    }
}

TEST(BatteryModel, ElectricalRows) {
    BatteryInfo b = present();
    b.voltage = 12.849;
    b.onAC = true;
    auto rows = BatteryModel::electricalRows(b);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[1], (PageText::Row{"Voltage", "12.85 V", Symbol::waveform}));
    EXPECT_EQ(rows[3], (PageText::Row{"Power Source", "Power Adapter", Symbol::powerPlugFill}));
    EXPECT_EQ(rows[4], (PageText::Row{"Battery Serial", "-", Symbol::barcode, Tint::secondary}));
    b.onAC = false;
    b.serial = "F8Y1234";
    rows = BatteryModel::electricalRows(b);
    EXPECT_EQ(rows[3], (PageText::Row{"Power Source", "Battery", Symbol::battery75}));
    EXPECT_EQ(rows[4].value, "F8Y1234");
    // A power source that was not read is not claimed.
    b.onAC.reset();
    EXPECT_EQ(BatteryModel::electricalRows(b).size(), 4u);
}

}  // namespace
}  // namespace orvane
