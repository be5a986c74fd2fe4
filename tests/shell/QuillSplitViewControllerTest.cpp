#include "SplitTestSupport.h"

#include "shell/QuillSplitCornersView.h"
#include "shell/QuillSplitDividerView.h"
#include "support/TestSupport.h"
#include "ui/Popover.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMouseEvent>

using splittest::Split;

namespace {
QStringList g_messages;
struct MessageCapture {
    QtMessageHandler previous;
    MessageCapture()
    {
        g_messages.clear();
        previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& text) { g_messages << text; });
    }
    ~MessageCapture() { qInstallMessageHandler(previous); }
    bool contains(const QString& text) const { return g_messages.contains(text); }
};

bool noNegativeSize(Split& s)
{
    for (QWidget* w : s.svc.view()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->width() < 0 || w->height() < 0)
            return false;
    return true;
}
} // namespace

// A 1024 × 768 screen less a 20-point status bar, turned both ways.
TEST(SplitGeometry, LandscapeBesidePortraitInAPopoverAndBack)
{
    Split s({1024, 748});
    ASSERT_TRUE(s.svc.isLandscape());
    EXPECT_TRUE(s.svc.isShowingMaster());
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 256, 748));
    EXPECT_EQ(s.dividerFrame(), QRect(256, 0, 1, 748));
    EXPECT_EQ(s.detailFrame(), QRect(257, 0, 767, 748));
    // Hairline corners: 2 × 5 + 1 wide, 5 high, centred on the divider.
    EXPECT_EQ(s.corners(0), QRect(251, 0, 11, 5));
    EXPECT_EQ(s.corners(1), QRect(251, 743, 11, 5));
    EXPECT_TRUE(s.delegate.calls.isEmpty());

    s.resize(768, 1004);
    EXPECT_FALSE(s.svc.isLandscape());
    EXPECT_FALSE(s.svc.isShowingMaster());
    // Parked off screen, not removed.
    EXPECT_EQ(s.masterFrame(), QRect(-257, 0, 256, 1004));
    EXPECT_EQ(s.master.view()->parentWidget(), s.svc.view());
    EXPECT_EQ(s.detailFrame(), QRect(0, 0, 768, 1004));
    EXPECT_EQ(s.delegate.calls, QStringList{"willHide Master"});
    ASSERT_NE(s.svc.barButtonItem(), nullptr);
    EXPECT_EQ(s.svc.barButtonItem(), s.delegate.hideButtons.value(0));
    // Both panes heard the turn; the hidden master no longer appears.
    EXPECT_EQ(s.detail.calls.mid(s.detail.calls.indexOf("willRotate 1")),
              (QStringList{"willRotate 1", "didRotate 3"}));
    EXPECT_TRUE(s.master.calls.contains("didDisappear"));

    // The button opens the master in the popover, telling the delegate first.
    s.svc.barButtonItem()->trigger();
    ASSERT_TRUE(s.svc.hiddenPopoverController()->isPopoverVisible());
    EXPECT_EQ(s.delegate.calls.last(), "willPresent");

    s.resize(1024, 748);
    EXPECT_EQ(s.delegate.calls.last(), "willShow");
    EXPECT_EQ(s.delegate.showButtons, s.delegate.hideButtons);
    EXPECT_EQ(s.svc.barButtonItem(), nullptr);
    EXPECT_EQ(s.svc.hiddenPopoverController(), nullptr);
    EXPECT_EQ(s.master.view()->parentWidget(), s.svc.view());
    EXPECT_TRUE(s.master.view()->isVisible());
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 256, 748));
    // Wider than tall but under 1024 points is still portrait.
    s.resize(1023, 700);
    EXPECT_FALSE(s.svc.isLandscape());
    EXPECT_EQ(s.detailFrame(), QRect(0, 0, 1023, 700));
    s.master.calls.clear();
    s.svc.beginDisappearance(false);
    EXPECT_TRUE(s.master.calls.isEmpty()); // a hidden master is not told
    EXPECT_EQ(s.detail.calls.last(), "willDisappear");
}

TEST(SplitGeometry, StackedAndMasterAfterDetail)
{
    Split s({1024, 748});
    s.svc.setVertical(false);
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 1024, 256));
    EXPECT_EQ(s.dividerFrame(), QRect(0, 256, 1024, 1));
    EXPECT_EQ(s.detailFrame(), QRect(0, 257, 1024, 491));
    EXPECT_EQ(s.svc.cornerViews()[0]->cornersPosition(), QuillCornersLeft);
    EXPECT_EQ(s.corners(0), QRect(0, 251, 5, 11));
    EXPECT_EQ(s.corners(1), QRect(1019, 251, 5, 11));

    s.svc.setMasterBeforeDetail(false);
    EXPECT_EQ(s.masterFrame(), QRect(0, 492, 1024, 256));
    EXPECT_EQ(s.dividerFrame(), QRect(0, 491, 1024, 1));
    EXPECT_EQ(s.detailFrame(), QRect(0, 0, 1024, 491));
    EXPECT_EQ(s.corners(1), QRect(1019, 486, 5, 11));

    s.svc.setVertical(true);
    EXPECT_EQ(s.masterFrame(), QRect(768, 0, 256, 748));
    EXPECT_EQ(s.detailFrame(), QRect(0, 0, 767, 748));
    EXPECT_EQ(s.svc.cornerViews()[1]->cornersPosition(), QuillCornersBottom);

    // Hidden after the detail: just past the far edge.
    s.svc.setShowsMasterInLandscape(false);
    EXPECT_EQ(s.masterFrame(), QRect(1025, 0, 256, 748));
    EXPECT_EQ(s.dividerFrame(), QRect(1024, 0, 1, 748));
    EXPECT_EQ(s.detailFrame(), QRect(0, 0, 1024, 748));
    EXPECT_EQ(s.delegate.calls,
              (QStringList{"willChangeToVertical 0", "willChangeToVertical 1", "willHide Master"}));
}

TEST(SplitPosition, LimitsKeepTwoHundredPointsForEachPane)
{
    Split s({1024, 748});
    s.svc.setSplitPosition(150.0);
    s.svc.setSplitPosition(1024 - 1 - 199.5);
    s.svc.setSplitPosition(256.0);
    EXPECT_EQ(s.svc.splitPosition(), 256.0);
    EXPECT_TRUE(s.delegate.calls.isEmpty());

    s.svc.setSplitPosition(823.0); // leaves exactly 200 beside the divider
    EXPECT_EQ(s.delegate.calls, QStringList{"willMove 823"});
    EXPECT_EQ(s.detailFrame(), QRect(824, 0, 200, 748));
    s.svc.setSplitPosition(200.0);
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 200, 748));
}

// A delegate's answer is taken as it is, but never shown as a negative size.
TEST(SplitPosition, DelegateConstraintReplacesTheLimitsWithoutNegativeFrames)
{
    Split s({1024, 748});
    s.delegate.constrainTo = -80.0;
    s.svc.setSplitPosition(300.0);
    EXPECT_EQ(s.svc.splitPosition(), -80.0);
    EXPECT_EQ(s.masterFrame().width(), 0);
    EXPECT_TRUE(noNegativeSize(s));
    s.delegate.constrainTo = 1e12;
    s.svc.setSplitPosition(300.0);
    EXPECT_EQ(s.detailFrame().width(), 0);
    EXPECT_TRUE(noNegativeSize(s));
    s.delegate.constrainTo = std::numeric_limits<double>::quiet_NaN();
    s.svc.setSplitPosition(300.0);
    EXPECT_EQ(s.svc.splitPosition(), 1e12);
}

TEST(DividerStyle, GripBarWidensAndDragsAndDropsTheCorners)
{
    Split s({1024, 748});
    EXPECT_FALSE(s.svc.allowsDraggingDivider());
    EXPECT_TRUE(s.svc.dividerView()->testAttribute(Qt::WA_TransparentForMouseEvents));

    s.svc.setDividerStyle(QuillDividerGripBar);
    EXPECT_EQ(s.svc.splitWidth(), 25.0);
    EXPECT_TRUE(s.svc.allowsDraggingDivider());
    EXPECT_FALSE(s.svc.dividerView()->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(s.svc.cornerViews()[0]->cornerRadius(), 0.0f);
    EXPECT_EQ(s.dividerFrame(), QRect(256, 0, 25, 748));
    EXPECT_EQ(s.detailFrame(), QRect(281, 0, 743, 748));

    // An unknown style keeps width and dragging, and rounds the corners again.
    s.svc.setDividerStyle(7);
    EXPECT_EQ(s.svc.splitWidth(), 25.0);
    EXPECT_TRUE(s.svc.allowsDraggingDivider());
    EXPECT_EQ(s.svc.cornerViews()[1]->cornerRadius(), 5.0f);
    EXPECT_EQ(s.corners(0), QRect(251, 0, 35, 5));

    s.svc.setDividerStyle(QuillDividerHairline);
    EXPECT_EQ(s.svc.splitWidth(), 1.0);
    EXPECT_FALSE(s.svc.allowsDraggingDivider());
    s.svc.setSplitWidth(-3.0);
    EXPECT_EQ(s.svc.splitWidth(), 1.0);
}

TEST(DividerStyle, DraggingTheGripBarMovesTheSplitWithinItsLimits)
{
    Split s({1024, 748});
    s.svc.setDividerStyle(QuillDividerGripBar);
    QuillSplitDividerView* divider = s.svc.dividerView();
    const auto send = [divider](QEvent::Type type, QPointF global, Qt::MouseButtons buttons) {
        const QPointF local = divider->mapFromGlobal(global);
        QMouseEvent event(type, local, local, global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(divider, &event);
    };
    const QPointF start = divider->mapToGlobal(QPointF(12, 300));
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPointF(40, 3), Qt::LeftButton);
    EXPECT_EQ(s.svc.splitPosition(), 296.0);
    send(QEvent::MouseMove, start + QPointF(-200, 3), Qt::LeftButton); // would leave 96
    EXPECT_EQ(s.svc.splitPosition(), 296.0);
    send(QEvent::MouseMove, start + QPointF(-60, 3), Qt::LeftButton);
    // The refused move still counts as where the pointer was.
    EXPECT_EQ(s.svc.splitPosition(), 436.0);
}

TEST(SplitToggles, OrientationWhileHiddenFlipsAtOnceAndShownHidesTheChromeUntilTheEnd)
{
    Split s({768, 1004});
    s.svc.toggleSplitOrientation();
    EXPECT_FALSE(s.svc.isVertical());
    EXPECT_FALSE(s.svc.dividerView()->isHidden());
    EXPECT_FALSE(s.svc.cornerViews()[0]->isHidden());

    Split shown({1024, 748});
    shown.svc.setAnimationDuration(60);
    shown.svc.toggleSplitOrientation();
    EXPECT_FALSE(shown.svc.isVertical());
    EXPECT_TRUE(shown.svc.dividerView()->isHidden());
    EXPECT_TRUE(shown.svc.cornerViews()[1]->isHidden());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !shown.svc.dividerView()->isHidden(); }));
    EXPECT_FALSE(shown.svc.cornerViews()[0]->isHidden());
    EXPECT_EQ(shown.masterFrame(), QRect(0, 0, 1024, 256));

    shown.svc.toggleMasterBeforeDetail();
    EXPECT_TRUE(shown.svc.dividerView()->isHidden());
    // A resize mid-way cuts the animation short; the chrome still returns.
    shown.resize(1100, 748);
    EXPECT_FALSE(shown.svc.dividerView()->isHidden());
    EXPECT_EQ(shown.masterFrame(), QRect(0, 492, 1100, 256));
}

TEST(SplitToggles, ToggleMasterViewHidesAndBringsBackTheMaster)
{
    Split s({1024, 748});
    s.svc.toggleMasterView();
    EXPECT_FALSE(s.svc.showsMasterInLandscape());
    EXPECT_EQ(s.delegate.calls, QStringList{"willHide Master"});
    EXPECT_EQ(s.masterFrame().x(), -257);
    EXPECT_TRUE(s.master.view()->isHidden()); // parked: out of the focus chain
    s.svc.toggleMasterView();
    EXPECT_EQ(s.delegate.calls, (QStringList{"willHide Master", "willShow"}));
    EXPECT_TRUE(s.svc.isShowingMaster());
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 256, 748));
}

TEST(SplitControllers, FewerThanTwoEmptiesTheListAndTheSlotsFillAgain)
{
    Split s({1024, 748});
    MessageCapture log;
    s.svc.setViewControllers({&s.master});
    EXPECT_TRUE(log.contains("Error: QuillSplitViewController requires 2 view-controllers. "
                             "(setViewControllers:)"));
    EXPECT_TRUE(s.svc.viewControllers().isEmpty());
    EXPECT_EQ(s.master.view()->parentWidget(), nullptr);
    EXPECT_EQ(s.detail.view()->parentWidget(), nullptr);
    s.svc.setViewControllers({});
    EXPECT_FALSE(s.svc.isShowingMaster());
    QObject stranger; // not a delegate: refused, the old one stays
    s.svc.setDelegateObject(&stranger);
    EXPECT_EQ(s.svc.delegate(), &s.delegate);
    EXPECT_TRUE(QuillSplitViewController::nameOfInterfaceOrientation(0).isNull());
    EXPECT_TRUE(QuillSplitViewController::nameOfInterfaceOrientation(5).isNull());

    // The detail keeps to its own slot even in an emptied list.
    s.svc.setDetailViewController(&s.detail);
    EXPECT_EQ(s.svc.viewControllers(), (QList<ui::ViewController*>{nullptr, &s.detail}));
    EXPECT_EQ(s.detailFrame(), QRect(257, 0, 767, 748));
    s.svc.setViewControllers({&s.master, &s.detail});
    EXPECT_TRUE(s.svc.isShowingMaster());
    EXPECT_EQ(s.masterFrame(), QRect(0, 0, 256, 748));
}

// Dragging a window edge back and forth across the landscape line, and down
// to a few pixels: every hidden button is shown back at most once, in order.
TEST(SplitResize, StormAcrossTheLineKeepsDelegateCallsPaired)
{
    Split s({1024, 748});
    for (int i = 0; i < 200; ++i) {
        s.resize(i % 3 == 0 ? 1030 : 1000 + i % 7, 748 - i % 5);
        if (i % 17 == 0)
            s.resize(3, 2);
        ASSERT_TRUE(noNegativeSize(s)) << i;
    }
    QString expected = "willHide Master";
    for (const QString& call : s.delegate.calls) {
        ASSERT_EQ(call, expected);
        expected = expected == "willShow" ? "willHide Master" : "willShow";
    }
    for (int i = 0; i < s.delegate.showButtons.size(); ++i)
        EXPECT_EQ(s.delegate.showButtons[i], s.delegate.hideButtons[i]);
    EXPECT_EQ(s.svc.barButtonItem() != nullptr, !s.svc.isLandscape());
}
