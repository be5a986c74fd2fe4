#include "ShellTestSupport.h"

#include "drawing/CopyableLabel.h"
#include "screens/overview/OverviewCell.h"
#include "shell/DetailNavigationController.h"
#include "shell/QuillSplitViewController.h"
#include "shell/RootViewController.h"
#include "shell/TabBarController.h"
#include "ui/MenuController.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationItem.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMenu>
#include <QTest>

using namespace shelltest;

namespace {
struct LargeGraph : Launched {
    ui::NavigationItem* topItem() { return graph->detailNavigController->navigBar()->topItem(); }
};
} // namespace

TEST(PageSelection, EachRowShowsItsPageOnTheDetailStack)
{
    LargeGraph g;
    RootViewController* root = g.graph->rootViewController;
    for (int row = 0; row < 10; ++row) {
        root->tableView()->tapRowAtIndexPath({0, row});
        EXPECT_EQ(g.graph->detailNavigController->topViewController(), root->pageController(row))
            << row;
        // Every selection starts again from the root: never more than two deep.
        EXPECT_LE(g.graph->detailNavigController->viewControllers().size(), 2);
    }
}

// At launch the list stands beside the Overview, the page right of the list
// and its divider; the first row is highlighted without being chosen.
TEST(PageSelection, LaunchShowsTheListBesideTheOverview)
{
    LargeGraph g;
    EXPECT_TRUE(g.graph->window->isAncestorOf(g.graph->splitViewController->view()));
    EXPECT_FALSE(g.graph->tabBarController->isViewLoaded());
    EXPECT_EQ(g.graph->detailNavigController->viewControllers(),
              QList<ui::ViewController*>{g.graph->screens.general});
    EXPECT_EQ(g.graph->rootViewController->tableView()->indexPathForSelectedRow(),
              (ui::IndexPath{0, 0}));
    const QRect list = g.graph->rootViewController->view()->geometry();
    const QRect page = g.graph->detailNavigController->view()->geometry();
    EXPECT_GT(page.left(), list.right() + 1);
    EXPECT_EQ(page.right(), g.graph->splitViewController->view()->width() - 1);
}

TEST(PageListPopover, PortraitHidesTheListBehindAPageListButton)
{
    LargeGraph g;
    RootViewController* root = g.graph->rootViewController;
    EXPECT_TRUE(root->rootPopoverButtonItem.isNull());
    g.graph->window->resize(768, 1024); // narrower than tall
    ASSERT_FALSE(root->rootPopoverButtonItem.isNull());
    ASSERT_FALSE(root->popoverController.isNull());
    EXPECT_EQ(root->rootPopoverButtonItem->title(), QStringLiteral("Page List"));
    EXPECT_EQ(g.topItem()->leftBarButtonItem(), root->rootPopoverButtonItem.data());

    // Open the list, pick a page: the popover closes and the new page
    // carries the button.
    root->rootPopoverButtonItem->trigger();
    EXPECT_TRUE(root->popoverController->isPopoverVisible());
    // The list shows inside the panel, under the button, tall enough for
    // ten rows and a margin.
    QWidget* panel = nullptr;
    for (QWidget* w : g.graph->window->findChildren<QWidget*>())
        if (w->accessibleName() == QStringLiteral("popover") && w->isVisible())
            panel = w;
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->geometry(), QRect(5, 44, 250, 22 + 10 * 44));
    EXPECT_TRUE(root->view()->isVisible());
    root->tableView()->tapRowAtIndexPath({0, 5});
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(g.graph->detailNavigController->topViewController(), g.graph->screens.memory);
    EXPECT_EQ(g.topItem()->leftBarButtonItem(), root->rootPopoverButtonItem.data());

    // Landscape again: the list comes back, the button goes, the popover is forgotten.
    g.graph->window->resize(1024, 768);
    EXPECT_TRUE(root->popoverController.isNull());
    EXPECT_EQ(g.topItem()->leftBarButtonItem(), nullptr);
}

TEST(TabSelection, NavigationTabsGoBackToTheirRootOtherTabsDoNothing)
{
    Launched launched(ui::UserInterfaceIdiom::Phone, {320, 480});
    CountingGraph& graph = launched.graph;
    graph->generalNavigController->pushViewController(graph->screens.battery, false);
    graph->detailsNavigController->pushViewController(graph->screens.log, false);

    graph->tabBarController->selectTabByUser(0);
    EXPECT_EQ(graph->generalNavigController->topViewController(), graph->screens.general);
    EXPECT_EQ(graph->detailsNavigController->viewControllers().size(), 2);
    graph->tabBarController->selectTabByUser(3);
    EXPECT_EQ(graph->detailsNavigController->topViewController(), graph->screens.details);
}

// Turning the window to portrait while the copy menu is open on the Overview
// re-lays out the pages; the Overview must not stay paused once the menu has
// gone, whichever way it went.

TEST(CopyMenu, TurningTheWindowWithTheMenuOpenLeavesTheOverviewRefreshing)
{
    LargeGraph g;
    GeneralTableController* overview = g.graph->screens.general;
    ui::TableView* table = overview->tableView();
    auto* cell = qobject_cast<OverviewCell*>(table->cellForRowAtIndexPath({1, 1}));
    ASSERT_NE(cell, nullptr);
    auto* value = qobject_cast<CopyableLabel*>(cell->value);
    ASSERT_NE(value, nullptr);
    QTest::mouseClick(value, Qt::LeftButton, {}, value->rect().center());
    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    ASSERT_TRUE(menu.isMenuVisible());
    ASSERT_TRUE(overview->scrolling());

    g.graph->window->resize(768, 1024);
    QApplication::processEvents();
    // Either the menu is still up over a label the user can see (and the
    // pause with it), or it went and the refresh runs again.
    EXPECT_EQ(menu.menu()->isVisible(), menu.isMenuVisible());
    if (menu.isMenuVisible()) {
        EXPECT_TRUE(value->isVisible());
    }
    EXPECT_EQ(overview->scrolling(), menu.isMenuVisible());
    menu.menu()->close();
    EXPECT_FALSE(overview->scrolling());
}
