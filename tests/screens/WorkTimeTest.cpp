#include "screens/battery/WorkTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(WorkTimeText, WorkedExamplesAndRounding)
{
    struct Case {
        double rated;
        uint32_t health;
        std::optional<double> charge;
        const char* text;
    };
    const Case cases[] = {
        {25200, 80, 0.333, "1h 50m"},  // N = 33: 6652.8 s truncated to 6652
        {36000, 100, 0.125, "1h 18m"}, // 12.5 % rounds away from zero to 13, not 12 (1h 12m)
        {36000, 20, 0.0, "0h 0m"},     // an empty battery is zero, not "N/A"
        {3599, 100, 1.0, "0h 59m"},    {0, 100, 0.5, "N/A"}, {36000, 100, std::nullopt, "N/A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WorkTime::text(c.rated, c.health, c.charge), QString::fromLatin1(c.text))
            << c.rated << " " << c.health;
    // Past 32 bits, or not a number: no undefined conversion.
    EXPECT_EQ(WorkTime::seconds(1e12, 100, 1.0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(WorkTime::seconds(std::nan(""), 100, 1.0), 0);
}

TEST(WorkTimeCharge, DemoUnreadableAndPlainLevelsAndHealthOutOfRange)
{
    EXPECT_EQ(WorkTime::charge(-1.0f, true), 0.75); // demo on a machine without battery
    EXPECT_EQ(WorkTime::charge(-1.0f, false), std::nullopt);
    EXPECT_EQ(WorkTime::charge(std::nanf(""), false), std::nullopt);
    EXPECT_EQ(WorkTime::charge(0.0f, false), 0.0);
    // The float level is widened before the percent is taken.
    EXPECT_EQ(WorkTime::chargeSteps(*WorkTime::charge(0.355f, false)), 35);
    for (const auto& [stored, health] : {std::pair<long long, uint32_t>{19, 100},
                                         {20, 20},
                                         {100, 100},
                                         {101, 100},
                                         {-40, 100},
                                         {1LL << 40, 100}})
        EXPECT_EQ(WorkTime::repairedHealth(stored), health) << stored;
}
