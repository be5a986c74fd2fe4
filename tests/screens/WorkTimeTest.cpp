#include "screens/battery/WorkTime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(WorkTimeText, WorkedExamplesAndRounding)
{
    struct Case {
        double rated;
        uint32_t health;
        double charge;
        const char* text;
    };
    const Case cases[] = {
        {1080000, 100, 0.5, "150h 0m"}, // 540000 s
        {25200, 80, 0.333, "1h 50m"},   // N = 33: 6652.8 s truncated to 6652
        {16200, 100, 1.0, "4h 30m"},
        {36000, 100, 0.125, "1h 18m"}, // 12.5 % rounds away from zero to 13, not 12 (1h 12m)
        {36000, 20, 0.0, "0h 0m"},     // an empty battery is zero, not "N/A"
        {59, 100, 1.0, "0h 0m"},       // under a minute
        {3599, 100, 1.0, "0h 59m"},
        {3600, 100, 1.0, "1h 0m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(WorkTime::text(c.rated, c.health, c.charge), QString::fromLatin1(c.text));
    }
}

TEST(WorkTimeText, MissingRatedLifeOrChargeReadsNA)
{
    EXPECT_EQ(WorkTime::text(0, 100, 0.5), QStringLiteral("N/A"));
    EXPECT_EQ(WorkTime::text(36000, 100, std::nullopt), QStringLiteral("N/A"));
}

TEST(WorkTimeSeconds, TruncatesTowardZeroAndStaysInside32Bits)
{
    EXPECT_EQ(WorkTime::seconds(25200, 80, 0.333), 6652);
    EXPECT_EQ(WorkTime::seconds(1080000, 100, 0.5), 540000);
    EXPECT_EQ(WorkTime::seconds(1e12, 100, 1.0), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(WorkTime::seconds(std::nan(""), 100, 1.0), 0);
}

TEST(WorkTimeCharge, DemoUnreadableAndPlainLevels)
{
    EXPECT_EQ(WorkTime::charge(0.2f, true), 0.75);  // demo, whatever the level
    EXPECT_EQ(WorkTime::charge(-1.0f, true), 0.75); // demo on a machine without battery
    EXPECT_EQ(WorkTime::charge(-1.0f, false), std::nullopt);
    EXPECT_EQ(WorkTime::charge(std::nanf(""), false), std::nullopt);
    EXPECT_EQ(WorkTime::charge(0.0f, false), 0.0);
    EXPECT_EQ(WorkTime::charge(0.5f, false), 0.5);
    // The float level is widened before the percent is taken.
    EXPECT_EQ(WorkTime::chargeSteps(*WorkTime::charge(0.355f, false)), 35);
    EXPECT_EQ(WorkTime::chargeSteps(0.75), 75);
}

TEST(WorkTimeHealth, OutOfRangeBecomes100)
{
    struct Case {
        long long stored;
        bool inRange;
        uint32_t health;
    };
    const Case cases[] = {{0, false, 100},   {19, false, 100},       {20, true, 20},
                          {57, true, 57},    {100, true, 100},       {101, false, 100},
                          {-40, false, 100}, {1LL << 40, false, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(WorkTime::healthInRange(c.stored), c.inRange);
        EXPECT_EQ(WorkTime::repairedHealth(c.stored), c.health);
    }
}
