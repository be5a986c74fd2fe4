#include "ShellTestSupport.h"

#include "shell/DetailNavigationController.h"
#include "shell/RootViewController.h"
#include "shell/TabBarController.h"
#include "ui/FocusMark.h"
#include "ui/MenuController.h"
#include "ui/NavigationBar.h"
#include "ui/Popover.h"
#include "ui/ScreenOrderFocus.h"
#include "ui/Slider.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace shelltest;

namespace {
struct Desktop : Launched {
    using Launched::Launched;
    RootViewController* root() { return graph->rootViewController; }
    ui::ViewController* shownPage() { return graph->detailNavigController->topViewController(); }
};

void wheel(QWidget* target, int delta)
{
    const QPointF at = QPointF(target->rect().center());
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
} // namespace

TEST(DesktopWindow, MinimumSizesHoldThePagesFixedContent)
{
    // 1000 × 760 used to squeeze the pages beside the list and cut values off.
    Desktop large(ui::UserInterfaceIdiom::Pad, {1000, 760});
    EXPECT_EQ(large.graph->detailNavigController->view()->geometry(), QRect(0, 0, 1000, 760));
    EXPECT_EQ(large.graph->detailNavigController->navigBar()->leftButton()->text(), "Page List");
    large.graph->window->resize(500, 300);
    EXPECT_EQ(large.graph->window->size(), QSize(768, 540));
    // A 768-wide window is portrait: the page gets the whole width it needs.
    EXPECT_EQ(large.graph->detailNavigController->view()->width(), 768);
    EXPECT_FALSE(large.root()->rootPopoverButtonItem.isNull());

    Desktop small(ui::UserInterfaceIdiom::Phone, {320, 480});
    small.graph->window->resize(200, 200);
    EXPECT_EQ(small.graph->window->size(), QSize(320, 480));
}

TEST(PageListKeys, ArrowsHomeEndMoveTheHighlightReturnOpensThePage)
{
    Desktop d;
    ui::TableView* list = d.root()->tableView();
    list->setFocus();
    ASSERT_EQ(list->indexPathForSelectedRow(), (ui::IndexPath{0, 0}));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->indexPathForSelectedRow(), (ui::IndexPath{0, 2}));
    EXPECT_EQ(d.shownPage(), d.graph->screens.general); // moving is not choosing
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(d.shownPage(), d.graph->screens.disk);
    QTest::keyClick(list, Qt::Key_End);
    EXPECT_EQ(list->indexPathForSelectedRow(), (ui::IndexPath{0, 9}));
    QTest::keyClick(list, Qt::Key_Down); // stays on the last row
    EXPECT_EQ(list->indexPathForSelectedRow(), (ui::IndexPath{0, 9}));
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(d.shownPage(), d.graph->screens.about);
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->indexPathForSelectedRow(), (ui::IndexPath{0, 0}));
}

TEST(PageListKeys, EscapeClosesThePopoverAndGivesTheKeyboardBack)
{
    Desktop d(ui::UserInterfaceIdiom::Pad, {768, 1024});
    QPushButton* button = d.graph->detailNavigController->navigBar()->leftButton();
    ASSERT_TRUE(button->isVisible());
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    ASSERT_TRUE(d.root()->popoverController->isPopoverVisible());
    EXPECT_TRUE(d.root()->tableView()->hasFocus());
    QTest::keyClick(d.root()->tableView(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(d.root()->popoverController->isPopoverVisible());
    EXPECT_FALSE(d.root()->view()->isVisible());
    EXPECT_TRUE(button->hasFocus());
    EXPECT_EQ(d.shownPage(), d.graph->screens.general);
}

// Each arrow key on the slider saves and reloads; the slider keeps the
// keyboard, and a wheel passing over it scrolls past without saving.
TEST(SliderFocus, KeysStepAndKeepFocusWheelNeedsFocus)
{
    Desktop d;
    d.root()->tableView()->tapRowAtIndexPath({0, 1});
    ui::TableView* table = d.graph->screens.battery->tableView();
    auto* slider = table->findChild<ui::Slider*>();
    ASSERT_NE(slider, nullptr);
    const int before = slider->value();
    Defaults& defaults = Defaults::standardUserDefaults();

    wheel(slider, -120);
    EXPECT_EQ(slider->value(), before);

    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Left);
    EXPECT_EQ(slider->value(), before - 1);
    EXPECT_EQ(defaults.integerForKey("kHealthKey"), before - 1);
    table->reloadData();
    EXPECT_TRUE(slider->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(defaults.integerForKey("kHealthKey"), before - 2);

    wheel(slider, 120);
    EXPECT_GT(slider->value(), before - 2);
}

TEST(SmallLayout, OverviewRowLetsGoAfterBack)
{
    Desktop d(ui::UserInterfaceIdiom::Phone, {320, 480});
    GeneralTableController* overview = d.graph->screens.general;
    overview->tableView()->tapRowAtIndexPath({0, 2});
    ASSERT_EQ(d.graph->generalNavigController->topViewController(), d.graph->screens.battery);
    d.graph->generalNavigController->popViewControllerAnimated(false);
    EXPECT_FALSE(overview->tableView()->indexPathForSelectedRow().has_value());
}

TEST(CopyMenuPlace, CalloutStaysInsideANarrowWindow)
{
    const QRect window(100, 50, 320, 480);
    const QSize menu(120, 30);
    // Centred above a target in the middle.
    EXPECT_EQ(ui::MenuController::calloutPosition({200, 300, 60, 20}, menu, window),
              QPoint(169, 270));
    // A value at the right edge: the menu slides left to the window's edge.
    EXPECT_EQ(ui::MenuController::calloutPosition({380, 300, 40, 20}, menu, window),
              QPoint(300, 270));
    // A value on the top row: no room above, so below it.
    EXPECT_EQ(ui::MenuController::calloutPosition({100, 55, 40, 20}, menu, window),
              QPoint(100, 75));
    // Wider than the window: it starts at the window's left edge.
    EXPECT_EQ(ui::MenuController::calloutPosition({200, 300, 60, 20}, {400, 30}, window).x(), 100);
}

// A keyboard user sees where the focus is: bar buttons and the slider
// ring themselves in the focus colour, and only while they have focus.
TEST(FocusMarks, ControlsRingThemselvesOnlyWhileFocused)
{
    const auto ringed = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        const QColor edge = image.pixelColor(image.width() / 2, 1);
        const QColor mark = ui::FocusMark::color();
        return std::abs(edge.red() - mark.red()) < 30 &&
               std::abs(edge.green() - mark.green()) < 30 &&
               std::abs(edge.blue() - mark.blue()) < 40;
    };
    Desktop d(ui::UserInterfaceIdiom::Pad, {768, 1024});
    QPushButton* button = d.graph->detailNavigController->navigBar()->leftButton();
    d.graph->screens.general->tableView()->setFocus();
    EXPECT_FALSE(ringed(button));
    button->setFocus();
    EXPECT_TRUE(ringed(button));

    d.root()->tableView()->tapRowAtIndexPath({0, 1});
    auto* slider = d.graph->screens.battery->tableView()->findChild<ui::Slider*>();
    ASSERT_NE(slider, nullptr);
    EXPECT_FALSE(ringed(slider));
    slider->setFocus();
    EXPECT_TRUE(ringed(slider));
}

// Tab walks the controls as they sit on screen: the page above the tab bar,
// the list before the page beside it, the bar's button before the page.
TEST(TabOrder, FollowsTheScreen)
{
    Desktop small(ui::UserInterfaceIdiom::Phone, {320, 480});
    ui::TableView* overview = small.graph->screens.general->tableView();
    const QList<QWidget*> order = ui::ScreenOrderFocus::chain(small.graph->window);
    ASSERT_GE(order.size(), 6);
    EXPECT_EQ(order.first(), overview);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(order[order.size() - 5 + i], small.graph->tabBarController->tabButton(i)) << i;
    overview->setFocus();
    QTest::keyClick(overview, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), small.graph->tabBarController->tabButton(4));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), overview);
    small.graph->window->hide();

    Desktop large;
    ui::TableView* list = large.root()->tableView();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), large.graph->screens.general->tableView());
    large.graph->window->resize(800, 1000);
    QPushButton* button = large.graph->detailNavigController->navigBar()->leftButton();
    const QList<QWidget*> portrait = ui::ScreenOrderFocus::chain(large.graph->window);
    ASSERT_GE(portrait.size(), 2);
    EXPECT_EQ(portrait[0], button);
    EXPECT_EQ(portrait[1], large.graph->screens.general->tableView());
    EXPECT_FALSE(portrait.contains(list)); // parked off screen
}
