#include "ShellTestSupport.h"
#include "support/IdiomScope.h"

#include "rating/RatingPrompt.h"
#include "shell/DetailNavigationController.h"
#include "shell/QuillSplitViewController.h"
#include "shell/RootViewController.h"
#include "shell/StatusAppDelegate.h"
#include "shell/TabBarController.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QSet>
#include <QToolButton>

using namespace shelltest;

using testsupport::IdiomScope;

TEST(Launch, LargeScreensShowTheSplitViewOnly)
{
    IdiomScope pad(ui::UserInterfaceIdiom::Pad);
    auto graph = countingGraph();
    RatingPrompt::resetCounts();
    graph->window->resize(1024, 768);
    EXPECT_TRUE(graph->appDelegate->applicationDidFinishLaunching());
    EXPECT_TRUE(graph->window->isAncestorOf(graph->splitViewController->view()));
    EXPECT_FALSE(graph->tabBarController->isViewLoaded() &&
                 graph->window->isAncestorOf(graph->tabBarController->view()));
    EXPECT_EQ(RatingPrompt::launchCount(), 1);
    // The Overview is the first page shown.
    EXPECT_EQ(graph->detailNavigController->topViewController(), graph->screens.general);
}

TEST(Launch, SmallScreensShowTheTabBarWithFiveTabsInOrder)
{
    IdiomScope phone(ui::UserInterfaceIdiom::Phone);
    auto graph = countingGraph();
    graph->window->resize(320, 480);
    graph->appDelegate->applicationDidFinishLaunching();
    EXPECT_TRUE(graph->window->isAncestorOf(graph->tabBarController->view()));
    EXPECT_FALSE(graph->splitViewController->isViewLoaded());
    const auto tabs = graph->tabBarController->viewControllers();
    ASSERT_EQ(tabs.size(), 5);
    EXPECT_EQ(tabs[0], graph->generalNavigController);
    EXPECT_EQ(tabs[1], graph->screens.memory);
    EXPECT_EQ(tabs[2], graph->screens.processes);
    EXPECT_EQ(tabs[3], graph->detailsNavigController);
    EXPECT_EQ(tabs[4], graph->screens.about);
    EXPECT_EQ(graph->generalNavigController->topViewController(), graph->screens.general);
    EXPECT_EQ(graph->detailsNavigController->topViewController(), graph->screens.details);
    const QStringList titles{"Overview", "Memory", "Processes", "Details", "About"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(graph->tabBarController->tabButton(i)->text(), titles[i]);
        EXPECT_FALSE(graph->tabBarController->tabButton(i)->icon().isNull());
    }
    EXPECT_FALSE(graph->tabBarController->shouldAutorotateToInterfaceOrientation(
        ui::InterfaceOrientation::LandscapeLeft));
    EXPECT_TRUE(graph->tabBarController->shouldAutorotateToInterfaceOrientation(
        ui::InterfaceOrientation::Portrait));
}

// Each page row of the Overview and the alert row of Work Time push the
// graph's own page on the Overview's stack.
TEST(Launch, ScreensAreWiredToEachOther)
{
    IdiomScope phone(ui::UserInterfaceIdiom::Phone);
    auto graph = countingGraph();
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
    EXPECT_EQ(graph->splitViewController->masterViewController(), graph->rootViewController);
    EXPECT_EQ(graph->splitViewController->detailViewController(), graph->detailNavigController);
    EXPECT_EQ(graph->tabBarController->delegate(), graph->appDelegate);
}

TEST(PageList, TenRowsWithTitlesAndIconsAndNothingOutside)
{
    auto graph = MainWindowDescription::load();
    RootViewController* root = graph->rootViewController;
    ui::TableView* table = root->tableView();
    EXPECT_EQ(root->numberOfRowsInSection(table, 0), 10);
    QSet<QString> titles, icons;
    for (int row = 0; row < 10; ++row) {
        ui::TableViewCell* cell = root->cellForRowAtIndexPath(table, {0, row});
        EXPECT_EQ(cell->reuseIdentifier(), QStringLiteral("RootViewControllerCellIdentifier"));
        // Each row shows its own page under that page's title.
        EXPECT_EQ(cell->textLabel()->text(), root->pageController(row)->title());
        titles.insert(cell->textLabel()->text());
        icons.insert(RootViewController::pageIconName(row));
        const auto images = cell->contentView()->findChildren<QLabel*>();
        int withPixmap = 0;
        for (QLabel* l : images)
            if (!l->pixmap().isNull()) {
                ++withPixmap;
                EXPECT_EQ(l->pos(), QPoint(10, 9));
            }
        EXPECT_EQ(withPixmap, 1) << "row " << row;
        EXPECT_DOUBLE_EQ(cell->indentationWidth(), 40.0);
        EXPECT_EQ(cell->indentationLevel(), 1);
        delete cell;
    }
    EXPECT_EQ(titles.size(), 10);
    EXPECT_EQ(icons.size(), 10);
    for (int row : {-1, 10}) {
        ui::TableViewCell* cell = root->cellForRowAtIndexPath(table, {0, row});
        EXPECT_TRUE(cell->textLabel()->text().isEmpty());
        int withPixmap = 0;
        for (QLabel* l : cell->contentView()->findChildren<QLabel*>())
            withPixmap += l->pixmap().isNull() ? 0 : 1;
        EXPECT_EQ(withPixmap, 0);
        EXPECT_EQ(root->pageController(row), nullptr);
        delete cell;
    }
}

TEST(PageList, AReusedCellShowsOneIconOnly)
{
    auto graph = MainWindowDescription::load();
    ui::TableView* table = graph->rootViewController->tableView();
    table->resize(250, 600);
    table->reloadData();
    table->reloadData(); // every cell is handed out again, to a new row or the same
    ui::TableViewCell* shown = table->cellForRowAtIndexPath({0, 3});
    ASSERT_NE(shown, nullptr);
    int icons = 0;
    for (QLabel* l : shown->contentView()->findChildren<QLabel*>())
        icons += l->pixmap().isNull() ? 0 : 1;
    EXPECT_EQ(icons, 1);
}

TEST(PageList, PopoverIsTallEnoughForTenRowsPlus22)
{
    auto graph = MainWindowDescription::load();
    graph->rootViewController->view();
    EXPECT_EQ(graph->rootViewController->contentSizeForViewInPopover(), QSize(250, 22 + 10 * 44));
}
