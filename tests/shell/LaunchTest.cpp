#include "ShellTestSupport.h"

#include "rating/RatingPrompt.h"
#include "shell/DetailNavigationController.h"
#include "shell/PageNavigator.h"
#include "shell/QuillSplitViewController.h"
#include "shell/RootViewController.h"
#include "shell/TabBarController.h"
#include "ui/NavigationController.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QSet>
#include <QToolButton>

using namespace shelltest;

using testsupport::IdiomScope;

namespace {
int iconsOf(ui::TableViewCell* cell)
{
    int icons = 0;
    for (QLabel* l : cell->contentView()->findChildren<QLabel*>())
        icons += l->pixmap().isNull() ? 0 : 1;
    return icons;
}
} // namespace

TEST(Launch, SmallScreensShowTheTabBarWithFiveTabsInOrder)
{
    IdiomScope phone(ui::UserInterfaceIdiom::Phone);
    CountingGraph graph;
    RatingPrompt::resetCounts();
    graph->window->resize(320, 480);
    EXPECT_TRUE(graph->appDelegate->applicationDidFinishLaunching());
    EXPECT_EQ(RatingPrompt::launchCount(), 1);
    EXPECT_TRUE(graph->window->isAncestorOf(graph->tabBarController->view()));
    EXPECT_FALSE(graph->splitViewController->isViewLoaded());
    const auto& s = graph->screens;
    EXPECT_EQ(graph->tabBarController->viewControllers(),
              (QList<ui::ViewController*>{
                  graph->generalNavigController, graph->memoryNavigController,
                  graph->processesNavigController, graph->detailsNavigController, s.about}));
    EXPECT_EQ(graph->generalNavigController->topViewController(), s.general);
    // Processes sits in a stack of its own so its Refresh button has a bar.
    EXPECT_EQ(graph->processesNavigController->topViewController(), s.processes);
    EXPECT_EQ(graph->detailsNavigController->topViewController(), s.details);
    EXPECT_EQ(graph->tabBarController->tabButton(3)->text(), "Details");
}

// Each page row of the Overview and the alert row of Work Time push the
// graph's own page on the Overview's stack.
TEST(Launch, ScreensAreWiredToEachOther)
{
    IdiomScope phone(ui::UserInterfaceIdiom::Phone);
    CountingGraph graph;
    const auto& s = graph->screens;
    ui::NavigationController* nav = graph->generalNavigController;
    const std::pair<ui::IndexPath, ui::ViewController*> rows[] = {
        {{0, 2}, s.battery}, {{1, 2}, s.disk}, {{4, 2}, s.connection}, {{4, 3}, s.route}};
    for (const auto& [row, page] : rows) {
        s.general->didSelectRowAtIndexPath(nullptr, row);
        EXPECT_EQ(nav->topViewController(), page);
        nav->popToRootViewControllerAnimated(false);
    }
    nav->pushViewController(s.battery, false);
    s.battery->didSelectRowAtIndexPath(nullptr, {1, 1});
    EXPECT_EQ(nav->topViewController(), s.alarm);
}

// A page named on the command line is reached as the user would reach it.
TEST(Launch, NamedPagesAreShownThroughTheirTabOrRow)
{
    for (auto idiom : {ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad}) {
        Launched launched(idiom);
        CountingGraph& graph = launched.graph;
        const auto& s = graph->screens;
        EXPECT_EQ(PageNavigator::show(*graph.graph, "log"), s.log);
        EXPECT_EQ(PageNavigator::show(*graph.graph, "alarm"), s.alarm);
        EXPECT_EQ(PageNavigator::show(*graph.graph, "bogus"), nullptr);
        if (idiom == ui::UserInterfaceIdiom::Phone) {
            EXPECT_EQ(graph->tabBarController->selectedViewController(),
                      graph->generalNavigController);
            EXPECT_EQ(graph->generalNavigController->viewControllers(),
                      (QList<ui::ViewController*>{s.general, s.battery, s.alarm}));
            PageNavigator::show(*graph.graph, "overview"); // back to the tab's root
            EXPECT_EQ(graph->generalNavigController->viewControllers(),
                      QList<ui::ViewController*>{s.general});
        }
    }
}

TEST(PageList, TenRowsWithTheirPagesTitlesAndIconsAndNothingOutside)
{
    auto graph = MainWindowDescription::load();
    RootViewController* root = graph->rootViewController;
    ui::TableView* table = root->tableView();
    EXPECT_EQ(root->numberOfRowsInSection(table, 0), 10);
    QSet<QString> icons;
    for (int row : {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}) {
        std::unique_ptr<ui::TableViewCell> cell(root->cellForRowAtIndexPath(table, {0, row}));
        const bool inside = row >= 0 && row < 10;
        EXPECT_EQ(iconsOf(cell.get()), inside ? 1 : 0) << row;
        if (!inside) {
            EXPECT_EQ(root->pageController(row), nullptr);
            continue;
        }
        // Each row shows its own page under that page's title.
        EXPECT_EQ(cell->textLabel()->text(), root->pageController(row)->title());
        EXPECT_EQ(root->rowOfPage(root->pageController(row)), row);
        icons.insert(RootViewController::pageIconName(row));
    }
    EXPECT_EQ(icons.size(), 10);
}

// Regression: every reload added an icon to a reused cell.
TEST(PageList, AReusedCellShowsOneIconOnly)
{
    auto graph = MainWindowDescription::load();
    ui::TableView* table = graph->rootViewController->tableView();
    table->resize(250, 600);
    table->reloadData();
    table->reloadData(); // every cell is handed out again, to a new row or the same
    ui::TableViewCell* shown = table->cellForRowAtIndexPath({0, 3});
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(iconsOf(shown), 1);
}
