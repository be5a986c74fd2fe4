#include "ShellTestSupport.h"

#include "host/settings/Defaults.h"
#include "rating/RatingPrompt.h"
#include "shell/ForegroundWatcher.h"
#include "shell/TabBarController.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

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

// A configured alarm is silenced and the idle rule applied again; with none
// the player and the inhibitor are left alone.
TEST_F(ForegroundFixture, OnlyAConfiguredAlarmIsStopped)
{
    for (long long type : {0, 2}) {
        start(ui::UserInterfaceIdiom::Phone, type);
        const int before = idleRuleRuns();
        g().appDelegate->applicationWillEnterForeground();
        EXPECT_EQ(general->stops, type ? 1 : 0);
        EXPECT_EQ(idleRuleRuns(), before + (type ? 1 : 0));
        EXPECT_EQ(RatingPrompt::foregroundCount(), 1);
    }
}

// The pages to reload are found by the tab's controller: reordering the
// tabs changes nothing about which pages a tab reloads.
TEST_F(ForegroundFixture, SmallScreensReloadThePagesOfTheSelectedTabWhateverTheOrder)
{
    start(ui::UserInterfaceIdiom::Phone, 0);
    const auto& s = g().screens;
    const std::vector<std::pair<ui::ViewController*, Log>> tabs{
        {g().generalNavigController, {"Overview", "Work Time"}},
        {s.memory, {"Memory"}},
        {g().detailsNavigController, {"Details"}},
        {s.about, {"About"}},
        {s.processes, {"Processes"}},
    };
    QList<ui::ViewController*> order;
    for (const auto& tab : tabs)
        order.append(tab.first);
    g().tabBarController->setViewControllers(order);
    for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
        g().tabBarController->setSelectedIndex(i);
        reloadLog().clear();
        g().appDelegate->applicationWillEnterForeground();
        EXPECT_EQ(reloadLog(), tabs[static_cast<std::size_t>(i)].second) << i;
    }
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
    watcher.windowMinimizedChanged(false);
    EXPECT_EQ(general->stops, 2);
}
