#include "screens/overview/OverviewFormat.h"
#include "drawing/Palette.h"

#include <gtest/gtest.h>

namespace {

TEST(OverviewFormatTest, UptimeShowsDaysOnlyWhenThereAreAny)
{
    const std::pair<int32_t, const char*> cases[] = {
        {59, "0h 0m"}, {86399, "23h 59m"}, {86400, "1d 0h 0m"}, {400 * 86400 + 7, "400d 0h 0m"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(OverviewFormat::uptimeText(seconds), QString::fromLatin1(text)) << seconds;
    EXPECT_EQ(OverviewFormat::uptimeSeconds(1000.0, 1059.9), 59); // truncated
    // A clock far from the boot time must not overflow the conversion.
    EXPECT_EQ(OverviewFormat::uptimeSeconds(0.0, 1e12), INT32_MAX);
    EXPECT_EQ(OverviewFormat::uptimeSeconds(1e12, 0.0), INT32_MIN);
}

TEST(OverviewFormatTest, BinaryGigabytesAndAnEmptyVolume)
{
    EXPECT_EQ(OverviewFormat::gigabytesText(OverviewFormat::gigabytes(1e9)), "0.9 GB");
    const auto demo = OverviewFormat::disk(59.1f, 21.3f);
    EXPECT_EQ(OverviewFormat::percentText(demo.usedShare), "64.0 %");
    // A volume that reports no size shows 0.0 %, never "nan".
    const auto none = OverviewFormat::disk(0.0f, 0.0f);
    EXPECT_EQ(OverviewFormat::percentText(none.usedShare), "0.0 %");
    EXPECT_EQ(OverviewFormat::percentText(none.freeShare), "0.0 %");
}

TEST(OverviewFormatTest, BarsLoadAndCarrierCodes)
{
    EXPECT_EQ(OverviewFormat::batteryItems(20)[0].color(), palette::kRed);
    EXPECT_EQ(OverviewFormat::batteryItems(21)[0].color(), palette::kGreen);
    EXPECT_FLOAT_EQ(OverviewFormat::batteryItems(21)[1].value(), 79.0f);
    // No ticks: an idle bar, nothing coloured.
    float coloured = 0, grey = 0;
    for (const auto& item : OverviewFormat::cpuItems(0, 0, 0, 0))
        (item.color() == palette::kLightGrey ? grey : coloured) += item.value();
    EXPECT_EQ(coloured, 0.0f);
    EXPECT_GT(grey, 0.0f);
    EXPECT_EQ(OverviewFormat::loadText(0.5, 1.255, 12.0), "0.50, 1.25, 12.00");
    EXPECT_EQ(OverviewFormat::codeText(QStringLiteral("")), ""); // empty is not absent
    EXPECT_EQ(OverviewFormat::codePairText(QString(), "01"), "N/A / 01");
}

} // namespace
