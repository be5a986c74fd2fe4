#include "screens/overview/OverviewFormat.h"
#include "drawing/Palette.h"

#include <gtest/gtest.h>

namespace {

TEST(OverviewFormatTest, UptimeShowsDaysOnlyWhenThereAreAny)
{
    const struct {
        int32_t seconds;
        const char* text;
    } cases[] = {
        {0, "0h 0m"},
        {59, "0h 0m"},
        {60, "0h 1m"},
        {3599, "0h 59m"},
        {3600, "1h 0m"},
        {86399, "23h 59m"},
        {86400, "1d 0h 0m"},
        {90061, "1d 1h 1m"},
        {3 * 86400 + 4 * 3600 + 15 * 60, "3d 4h 15m"},
        {4 * 3600 + 15 * 60 + 59, "4h 15m"},
        {400 * 86400 + 7, "400d 0h 0m"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OverviewFormat::uptimeText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

TEST(OverviewFormatTest, UptimeSecondsTruncateAndStayInRange)
{
    EXPECT_EQ(OverviewFormat::uptimeSeconds(1000.0, 1059.9), 59);
    EXPECT_EQ(OverviewFormat::uptimeSeconds(0.0, 90061.4), 90061);
    // A clock far from the boot time must not overflow the conversion.
    EXPECT_EQ(OverviewFormat::uptimeSeconds(0.0, 1e12), INT32_MAX);
    EXPECT_EQ(OverviewFormat::uptimeSeconds(1e12, 0.0), INT32_MIN);
}

TEST(OverviewFormatTest, SizesUseBinaryGigabytes)
{
    EXPECT_EQ(OverviewFormat::gigabytesText(OverviewFormat::gigabytes(17179869184.0)), "16.0 GB");
    EXPECT_EQ(OverviewFormat::gigabytesText(OverviewFormat::gigabytes(1073741824.0 * 1.5)),
              "1.5 GB");
    EXPECT_EQ(OverviewFormat::gigabytesText(OverviewFormat::gigabytes(1e9)), "0.9 GB");
    EXPECT_EQ(OverviewFormat::gigabytesText(0.0f), "0.0 GB");
    EXPECT_EQ(OverviewFormat::percentText(64.0f), "64.0 %");
}

TEST(OverviewFormatTest, DiskSharesAndEmptyVolume)
{
    const auto demo = OverviewFormat::disk(59.1f, 21.3f);
    EXPECT_EQ(OverviewFormat::gigabytesText(demo.used), "37.8 GB");
    EXPECT_EQ(OverviewFormat::percentText(demo.usedShare), "64.0 %");
    EXPECT_EQ(OverviewFormat::percentText(demo.freeShare), "36.0 %");
    // A volume that reports no size shows 0.0 %, never "nan".
    const auto none = OverviewFormat::disk(0.0f, 0.0f);
    EXPECT_EQ(OverviewFormat::percentText(none.usedShare), "0.0 %");
    EXPECT_EQ(OverviewFormat::percentText(none.freeShare), "0.0 %");
    const auto items = OverviewFormat::diskItems(demo);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].color(), palette::kAmber);
    EXPECT_FLOAT_EQ(items[0].value(), demo.used);
    EXPECT_EQ(items[1].color(), palette::kLightGrey);
}

TEST(OverviewFormatTest, BatteryBarTurnsRedAtTwentyPercent)
{
    const struct {
        long charge;
        QColor fill;
    } cases[] = {{0, palette::kRed},
                 {20, palette::kRed},
                 {21, palette::kGreen},
                 {75, palette::kGreen},
                 {100, palette::kGreen}};
    for (const auto& c : cases) {
        const auto items = OverviewFormat::batteryItems(c.charge);
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].color(), c.fill) << c.charge;
        EXPECT_FLOAT_EQ(items[0].value(), static_cast<float>(c.charge));
        EXPECT_EQ(items[1].color(), palette::kLightGrey);
        EXPECT_FLOAT_EQ(items[1].value(), 100.0f - static_cast<float>(c.charge));
    }
    EXPECT_EQ(OverviewFormat::chargeText(87), "87%");
    EXPECT_EQ(OverviewFormat::chargeText(0), "0%");
}

TEST(OverviewFormatTest, CpuSharesLeaveNiceTicksOut)
{
    // 100 ticks: 10 user, 20 system, 50 idle, 20 nice.
    const auto s = OverviewFormat::cpuShares(10, 20, 50, 100);
    EXPECT_EQ(OverviewFormat::percentText(s.user), "10.0 %");
    EXPECT_EQ(OverviewFormat::percentText(s.system), "20.0 %");
    EXPECT_EQ(OverviewFormat::percentText(s.idle), "50.0 %");
    EXPECT_LT(s.user + s.system + s.idle, 100.0f);
    // One decimal, rounded.
    const auto third = OverviewFormat::cpuShares(1, 1, 1, 3);
    EXPECT_EQ(OverviewFormat::percentText(third.idle), "33.3 %");

    const auto items = OverviewFormat::cpuItems(10, 20, 50, 100);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].color(), palette::kRed);
    EXPECT_FLOAT_EQ(items[0].value(), 20.0f);
    EXPECT_EQ(items[1].color(), palette::kGreen);
    EXPECT_FLOAT_EQ(items[1].value(), 10.0f);
    EXPECT_EQ(items[2].color(), palette::kLightGrey);
    EXPECT_FLOAT_EQ(items[2].value(), 50.0f);
}

TEST(OverviewFormatTest, NoTicksShowZeroSharesAndAnIdleBar)
{
    const auto s = OverviewFormat::cpuShares(0, 0, 0, 0);
    EXPECT_EQ(OverviewFormat::percentText(s.user), "0.0 %");
    EXPECT_EQ(OverviewFormat::percentText(s.system), "0.0 %");
    EXPECT_EQ(OverviewFormat::percentText(s.idle), "0.0 %");
    const auto items = OverviewFormat::cpuItems(0, 0, 0, 0);
    float coloured = 0, grey = 0;
    for (const auto& item : items)
        (item.color() == palette::kLightGrey ? grey : coloured) += item.value();
    EXPECT_EQ(coloured, 0.0f);
    EXPECT_GT(grey, 0.0f);
}

TEST(OverviewFormatTest, LoadAndCarrierCodes)
{
    EXPECT_EQ(OverviewFormat::loadText(0.5, 1.255, 12.0), "0.50, 1.25, 12.00");
    EXPECT_EQ(OverviewFormat::codeText("de"), "de");
    EXPECT_EQ(OverviewFormat::codeText(QString()), "N/A");
    EXPECT_EQ(OverviewFormat::codeText(QStringLiteral("")), "");
    EXPECT_EQ(OverviewFormat::codePairText("262", "01"), "262 / 01");
    EXPECT_EQ(OverviewFormat::codePairText(QString(), "01"), "N/A / 01");
}

} // namespace
