// The Overview's battery figure from real sysfs files: a level the kernel
// reports beside the status "Unknown" still counts; no battery is "N/A".

#include "drawing/Palette.h"
#include "host/HostFixtures.h"
#include "host/sysfs/LinuxBattery.h"
#include "screens/overview/OverviewFormat.h"
#include "stats/DynamicStats.h"
#include "stats/StatsFakes.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

long chargeOn(const std::string& root)
{
    fakes::Kernel kernel;
    fakes::Inhibitor idle;
    LinuxBattery battery(root);
    DynamicStats stats({kernel, battery, idle, {}, false, {}});
    return stats.getCharge();
}

} // namespace

TEST(BatteryCharge, UnknownStatusKeepsTheLevelAndNoBatteryShowsNA)
{
    QTemporaryDir dir;
    const QString bat = "sys/class/power_supply/BAT0/";
    testsupport::writeFile(dir.path(), bat + "type", "Battery\n");
    testsupport::writeFile(dir.path(), bat + "status", "Unknown\n");
    testsupport::writeFile(dir.path(), bat + "capacity", "85\n");
    const long unknown = chargeOn(dir.path().toStdString());
    EXPECT_EQ(OverviewFormat::chargeText(unknown), "85%");
    EXPECT_EQ(OverviewFormat::batteryItems(unknown)[0].color(), palette::kGreen);
    EXPECT_FLOAT_EQ(OverviewFormat::batteryItems(unknown)[0].value(), 85.0f);

    const long none = chargeOn(machineRoot("desktop")); // a mouse battery only
    EXPECT_EQ(OverviewFormat::chargeText(none), "N/A");
    const auto bar = OverviewFormat::batteryItems(none);
    ASSERT_EQ(bar.size(), 1u);
    EXPECT_EQ(bar[0].color(), palette::kLightGrey);
}
