#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <tuple>

#include "service/Fmt.h"

using namespace orvane;

TEST(FmtBytes, PicksTheUnitAndTrimsZeros) {
    // 50'000: printf rounding of 0.05 (binary just above). Each unit boundary: just below it,
    // rounding up into the next unit, and on it.
    const std::pair<std::int64_t, const char*> cases[] = {{0, "0 MB"},
                                                          {1, "0 MB"},
                                                          {49'999, "0 MB"},
                                                          {50'000, "0.1 MB"},
                                                          {1'000'000, "1 MB"},
                                                          {1'234'567, "1.2 MB"},
                                                          {999'940'000, "999.9 MB"},
                                                          {999'960'000, "1 GB"},
                                                          {999'999'999, "1 GB"},
                                                          {1'000'000'000, "1 GB"},
                                                          {17'179'869'184, "17.18 GB"},
                                                          {500'000'000'000, "500 GB"},
                                                          {250'100'000'000, "250.1 GB"},
                                                          {999'994'999'999, "999.99 GB"},
                                                          {999'996'000'000, "1 TB"},
                                                          {999'999'999'999, "1 TB"},
                                                          {1'000'000'000'000, "1 TB"},
                                                          {2'000'398'934'016, "2 TB"},
                                                          {4'123'000'000'000, "4.12 TB"},
                                                          {INT64_MAX, "9223372.04 TB"},
                                                          {-5'000'000, "-5 MB"},
                                                          {-999'999'999, "-1 GB"},
                                                          {-5'000'000'000, "-5 GB"}};
    for (const auto& [count, expected] : cases)
        EXPECT_EQ(Fmt::bytes(count, "."), expected) << count;
}

TEST(FmtBytes, UsesTheGivenDecimalSeparator) {
    EXPECT_EQ(Fmt::bytes(17'179'869'184, ","), "17,18 GB");
    // The separator the user interface sets, "." until then and for an empty one.
    for (const auto& [point, expected] :
         {std::pair{",", "17,18 GB"}, std::pair{"\u066b", "17\u066b18 GB"},
          std::pair{"", "17.18 GB"}}) {
        Fmt::setDecimalPoint(point);
        EXPECT_EQ(Fmt::bytes(17'179'869'184), expected);
        EXPECT_EQ(Fmt::bytes(500'000'000'000), "500 GB");
    }
}

// Memory in binary units; integers grouped from four digits, with a minus sign.
TEST(FmtMemory, BinaryUnitsGroupedIntegersAndMinusSign) {
    Fmt::setDecimalPoint(".");
    for (const auto& [n, text] : std::initializer_list<std::pair<std::int64_t, const char*>>{
             {0, "0 MB 0 GB 0"},
             {1'610'612'736, "1.5 GB 2 GB 1,610,612,736"},
             {17'179'869'184, "16 GB 16 GB 17,179,869,184"},
             {999, "0 MB 0 GB 999"},
             {1'073'741'824'000, "0.98 TB 1000 GB 1,073,741,824,000"}})
        EXPECT_EQ(Fmt::memory(n) + " " + Fmt::memoryGB(n) + " " + Fmt::integer(n), text);
    EXPECT_EQ(Fmt::integer(INT64_MIN), "\u22129,223,372,036,854,775,808");
    Fmt::setGroupSeparator(".");
    EXPECT_EQ(Fmt::integer(-12345), "\u221212.345");
    Fmt::setGroupSeparator(",");
    EXPECT_EQ(Fmt::withMinusSign("-3.5 \u00b0C") + Fmt::withMinusSign("-"), "\u22123.5 \u00b0C-");
}

TEST(FmtBytesGB, WholeGigabytesThenTerabytes) {
    for (const auto& [count, expected] : {std::pair<std::int64_t, const char*>{0, "0 GB"},
                                          {17'179'869'184, "17 GB"},
                                          {999'499'999'999, "999 GB"},
                                          {999'500'000'000, "1000 GB"},
                                          {1'000'000'000'000, "1.00 TB"},
                                          {2'000'398'934'016, "2.00 TB"}})
        EXPECT_EQ(Fmt::bytesGB(count), expected) << count;
}

// Rates at each unit's edges; a value that would round to 1000 moves up a unit.
TEST(FmtRate, DecimalUnitsPerSecond) {
    for (const auto& [rate, text] :
         std::initializer_list<std::pair<double, const char*>>{{-1, "0 B/s"},
                                                               {999.4, "999 B/s"},
                                                               {999.5, "1.0 kB/s"},
                                                               {12'345, "12.3 kB/s"},
                                                               {999'950, "1.0 MB/s"},
                                                               {4.56e6, "4.6 MB/s"},
                                                               {1.234e9, "1.23 GB/s"}})
        EXPECT_EQ(Fmt::rate(rate), text) << rate;
}

TEST(FmtFormat, IgnoresTheProcessLocale) {
    // The C library writes its locale's point; where a comma locale is installed it is used
    // here, and the result must still read "." (the suffix keeps its own characters).
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    for (const char* name : {"de_DE.UTF-8", "C"}) {
        std::setlocale(LC_NUMERIC, name);
        EXPECT_EQ(Fmt::format("%.2f V", 12.85), "12.85 V") << name;
        EXPECT_EQ(Fmt::format("%.1f \u00b0C", -3.25), "-3.2 \u00b0C") << name;
        EXPECT_EQ(Fmt::format("%.0f%% used", 99.5), "100% used") << name;
        EXPECT_EQ(Fmt::format("%.0f%%", 1e308).substr(304), "18336%") << name;  // 309 digits
        EXPECT_EQ(Fmt::bytesGB(2'000'398'934'016), "2.00 TB") << name;
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(FmtDuration, DaysHoursMinutes) {
    const std::pair<double, const char*> cases[] = {
        {0, "0m"},           {59, "0m"},          {600, "10m"},       {3599.9, "59m"},
        {3600, "1h 0m"},     {3660, "1h 1m"},     {86399, "23h 59m"}, {86400, "1d 0h 0m"},
        {93784, "1d 2h 3m"}, {90000, "1d 1h 0m"}, {-30, "0m"},        {-3600, "0m"}};
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(Fmt::duration(seconds), expected) << seconds;
    // Out of range input does not crash.
    for (double odd : {std::nan(""), double(INFINITY), -double(INFINITY)})
        EXPECT_FALSE(Fmt::duration(odd).empty());
}
