#include "ShellTestSupport.h"

#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "shell/ForegroundWatcher.h"
#include "shell/StatusAppDelegate.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

using namespace shelltest;
using Log = std::vector<std::string>;

namespace {
// A graph of counting screens with the settings in a private file.
struct ForegroundFixture : ::testing::Test {
    QTemporaryDir dir;
    std::unique_ptr<MainWindowDescription> graph;
    CountingGeneral* general = nullptr;
    int idleRuleRuns = 0;

    void start(ui::UserInterfaceIdiom idiom, long long alertType)
    {
        Defaults::setStandardPath(dir.filePath(QStringLiteral("welvane.conf")));
        Defaults::standardUserDefaults().setInteger(alertType, QStringLiteral("kAlertType"));
        ui::Device::setUserInterfaceIdiom(idiom);
        graph = countingGraph(&general);
        graph->appDelegate->applyIdleRule = [this] { ++idleRuleRuns; };
        graph->window->resize(idiom == ui::UserInterfaceIdiom::Pad ? 1024 : 320, 768);
        graph->appDelegate->applicationDidFinishLaunching();
        reloadLog().clear();
        RatingPrompt::resetCounts();
    }
    void TearDown() override
    {
        graph.reset();
        ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Phone);
        Defaults::setStandardPath(QString());
    }
};
} // namespace

TEST_F(ForegroundFixture, NoAlarmConfiguredLeavesPlayerAndIdleRuleAlone)
{
    start(ui::UserInterfaceIdiom::Phone, 0);
    graph->appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(general->stops, 0);
    EXPECT_EQ(idleRuleRuns, 0);
    EXPECT_EQ(RatingPrompt::foregroundCount(), 1);
}

TEST_F(ForegroundFixture, AConfiguredAlarmIsStoppedAndTheIdleRuleReapplied)
{
    start(ui::UserInterfaceIdiom::Phone, 2);
    graph->appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(general->stops, 1);
    EXPECT_EQ(idleRuleRuns, 1);
}

TEST_F(ForegroundFixture, SmallScreensReloadThePagesOfTheSelectedTab)
{
    start(ui::UserInterfaceIdiom::Phone, 0);
    const std::vector<Log> expected{
        {"Overview", "Work Time"}, {"Memory"}, {"Processes"}, {"Details"}, {"About"}};
    for (int tab = 0; tab < 5; ++tab) {
        graph->tabBarController->setSelectedIndex(tab);
        reloadLog().clear();
        graph->appDelegate->applicationWillEnterForeground();
        EXPECT_EQ(reloadLog(), expected[tab]) << "tab " << tab;
    }
    EXPECT_EQ(RatingPrompt::foregroundCount(), 5);
}

TEST_F(ForegroundFixture, LargeScreensReloadSixPagesInOrder)
{
    start(ui::UserInterfaceIdiom::Pad, 0);
    graph->appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(reloadLog(),
              (Log{"Overview", "Work Time", "Memory", "Processes", "Details", "About"}));
}

TEST_F(ForegroundFixture, WatcherCallsForegroundOnlyAfterHiddenOrMinimised)
{
    start(ui::UserInterfaceIdiom::Phone, 1);
    ForegroundWatcher watcher(graph->appDelegate, nullptr);
    watcher.applicationStateChanged(Qt::ApplicationInactive); // resign active only
    watcher.applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(general->stops, 0);

    watcher.applicationStateChanged(Qt::ApplicationHidden);
    watcher.applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(general->stops, 1);
    watcher.applicationStateChanged(Qt::ApplicationActive); // already there
    EXPECT_EQ(general->stops, 1);

    watcher.windowMinimizedChanged(true);
    EXPECT_TRUE(watcher.inBackground());
    watcher.windowMinimizedChanged(false);
    EXPECT_EQ(general->stops, 2);
    EXPECT_EQ(RatingPrompt::foregroundCount(), 2);
}

// The whole path: a real Overview with an alarm over fakes, sounding after
// the battery became full; coming back to the foreground silences it.
#include "screens/battery/FullChargeAlarm.h"
#include "screens/ScreenFakes.h"

TEST(ForegroundAlarm, ReturningToTheForegroundStopsASoundingAlarm)
{
    QTemporaryDir dir;
    Defaults::setStandardPath(dir.filePath(QStringLiteral("welvane.conf")));
    Defaults& defaults = Defaults::standardUserDefaults();
    defaults.setInteger(1, QStringLiteral("kAlertType"));
    defaults.setInteger(0, QStringLiteral("kAlertTrigger"));
    screenfakes::FakeStats host(defaults);
    screenfakes::Clock clock;
    screenfakes::FakePlayer* player = nullptr;
    auto graph = MainWindowDescription::load();
    graph->screens.general->setAlarm(std::make_unique<FullChargeAlarm>(FullChargeAlarm::Host{
        [&]() -> Battery& { return host.battery; },
        [&]() -> DynamicStats& { return host.stats; },
        [&]() -> Defaults& { return defaults; },
        [&]() -> std::unique_ptr<AudioPlayer> {
            auto made = std::make_unique<screenfakes::FakePlayer>();
            player = made.get();
            return made;
        },
        [&] { return clock.make(); },
    }));
    FullChargeAlarm::resetPreviousReading();
    host.battery.st = Battery::StateCharging;
    host.battery.lvl = 0.9f;
    graph->screens.general->alarm().batteryStateDidChange();
    host.battery.st = Battery::StateFull;
    host.battery.lvl = 1.0f;
    graph->screens.general->alarm().batteryStateDidChange();
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->isPlaying());

    graph->appDelegate->applyIdleRule = [] {};
    graph->appDelegate->applicationWillEnterForeground();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->stops, 1);
    graph.reset();
    Defaults::setStandardPath(QString());
}
