#include "ShellTestSupport.h"
#include "support/IdiomScope.h"

#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "shell/ForegroundWatcher.h"
#include "shell/StatusAppDelegate.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include <optional>

using namespace shelltest;
using Log = std::vector<std::string>;

namespace {
// A graph of counting screens over fakes, with the settings in a private file.
struct ForegroundFixture : ::testing::Test {
    std::optional<testsupport::IdiomScope> idiom;
    std::optional<CountingGraph> graph;
    CountingGeneral* general = nullptr;

    void start(ui::UserInterfaceIdiom screenClass, long long alertType)
    {
        idiom.emplace(screenClass);
        graph.emplace();
        general = graph->general;
        Defaults::standardUserDefaults().setInteger(alertType, QStringLiteral("kAlertType"));
        (*graph)->window->resize(screenClass == ui::UserInterfaceIdiom::Pad ? 1024 : 320, 768);
        (*graph)->appDelegate->applicationDidFinishLaunching();
        reloadLog().clear();
        RatingPrompt::resetCounts();
    }
    // The idle rule's calls on the fake inhibitor.
    int idleRuleRuns() const { return graph->rig.inhibitor.calls; }
    MainWindowDescription& g() { return *graph->graph; }
    void TearDown() override
    {
        graph.reset();
        idiom.reset();
    }
};
} // namespace

TEST_F(ForegroundFixture, NoAlarmConfiguredLeavesPlayerAndIdleRuleAlone)
{
    start(ui::UserInterfaceIdiom::Phone, 0);
    const int before = idleRuleRuns();
    g().appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(general->stops, 0);
    EXPECT_EQ(idleRuleRuns(), before);
    EXPECT_EQ(RatingPrompt::foregroundCount(), 1);
}

TEST_F(ForegroundFixture, AConfiguredAlarmIsStoppedAndTheIdleRuleReapplied)
{
    start(ui::UserInterfaceIdiom::Phone, 2);
    const int before = idleRuleRuns();
    g().appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(general->stops, 1);
    EXPECT_EQ(idleRuleRuns(), before + 1);
}

// The pages to reload are found by the tab's controller: reordering the
// tabs changes nothing about which pages a tab reloads.
TEST_F(ForegroundFixture, SmallScreensReloadThePagesOfTheSelectedTabWhateverTheOrder)
{
    start(ui::UserInterfaceIdiom::Phone, 0);
    const auto& s = g().screens;
    using Tab = std::pair<ui::ViewController*, Log>;
    const std::vector<Tab> tabs{
        Tab{g().generalNavigController, {"Overview", "Work Time"}},
        Tab{s.memory, {"Memory"}},
        Tab{s.processes, {"Processes"}},
        Tab{g().detailsNavigController, {"Details"}},
        Tab{s.about, {"About"}},
    };
    for (bool reversed : {false, true}) {
        QList<ui::ViewController*> order;
        for (const auto& tab : tabs)
            reversed ? order.prepend(tab.first) : order.append(tab.first);
        g().tabBarController->setViewControllers(order);
        for (const auto& [tab, expected] : tabs) {
            g().tabBarController->setSelectedIndex(static_cast<int>(order.indexOf(tab)));
            reloadLog().clear();
            g().appDelegate->applicationWillEnterForeground();
            EXPECT_EQ(reloadLog(), expected) << expected.front() << (reversed ? " reversed" : "");
        }
    }
    EXPECT_EQ(RatingPrompt::foregroundCount(), 10);
}

TEST_F(ForegroundFixture, LargeScreensReloadSixPagesInOrder)
{
    start(ui::UserInterfaceIdiom::Pad, 0);
    g().appDelegate->applicationWillEnterForeground();
    EXPECT_EQ(reloadLog(),
              (Log{"Overview", "Work Time", "Memory", "Processes", "Details", "About"}));
}

TEST_F(ForegroundFixture, WatcherCallsForegroundOnlyAfterHiddenOrMinimised)
{
    start(ui::UserInterfaceIdiom::Phone, 1);
    ForegroundWatcher watcher(g().appDelegate, nullptr);
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

// The whole path: a real Overview with the composition's alarm over fakes,
// sounding after the battery became full; coming back to the foreground
// silences it.
#include "screens/battery/FullChargeAlarm.h"
#include "screens/ScreenFakes.h"

TEST(ForegroundAlarm, ReturningToTheForegroundStopsASoundingAlarm)
{
    testsupport::IdiomScope phone(ui::UserInterfaceIdiom::Phone);
    overview::Rig rig;
    Defaults& defaults = Defaults::standardUserDefaults();
    defaults.setInteger(1, QStringLiteral("kAlertType"));
    defaults.setInteger(0, QStringLiteral("kAlertTrigger"));
    screenfakes::Clock clock;
    screenfakes::FakePlayer* player = nullptr;
    auto composition = std::make_unique<AppComposition>(
        AppComposition::Services{defaults, rig.battery, *rig.staticStats, *rig.dynamicStats,
                                 *rig.semiDynamicStats, *rig.routeStats, *rig.connectionStats,
                                 [&rig] { return rig.now; }},
        [&]() -> std::unique_ptr<AudioPlayer> {
            auto made = std::make_unique<screenfakes::FakePlayer>();
            player = made.get();
            return made;
        },
        [&] { return clock.make(); });
    auto graph = MainWindowDescription::load(std::move(composition));
    FullChargeAlarm::resetPreviousReading();
    rig.battery.st = Battery::StateCharging;
    rig.battery.lvl = 0.9f;
    Q_EMIT rig.battery.stateChanged();
    rig.battery.st = Battery::StateFull;
    rig.battery.lvl = 1.0f;
    Q_EMIT rig.battery.stateChanged();
    ASSERT_NE(player, nullptr);
    EXPECT_TRUE(player->isPlaying());

    graph->appDelegate->applicationWillEnterForeground();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->stops, 1);
}
