#include "drawing/BarChartView.h"
#include "drawing/CopyableLabel.h"
#include "drawing/OnOffView.h"
#include "host/netlink/NetlinkMonitor.h"
#include "screens/overview/ExternalAddressLookup.h"
#include "screens/overview/OverviewCellFactory.h"
#include "screens/overview/StartupSnapshots.h"
#include "support/TestSupport.h"
#include "ui/MenuController.h"
#include "ui/NavigationController.h"

#include "../stats/NetnsScope.h"
#include "OverviewRig.h"

#include <QThread>

#include <gtest/gtest.h>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using overview::Options;
using overview::Rig;

constexpr auto kCharge = &OverviewCell::charge;

int lampOf(Rig& rig, int section, int row)
{
    OnOffView* lamp = rig.cell(section, row)->lamp;
    return lamp ? lamp->color() : -99;
}

// True when the battery bar's first segment is green rather than red.
bool batteryBarIsGreen(Rig& rig)
{
    const QImage& image = rig.cell(0, 0)->bar->image();
    const QColor c = image.pixelColor(image.width() / 20, image.height() / 2);
    return c.green() > c.red() * 2;
}

TEST(GeneralTableControllerTest, RowsShowTheCollectorValues)
{
    Rig rig({false, true, false});
    rig.carrier->reading.carrier = CarrierDetails{QStringLiteral("Telekom"), QStringLiteral("262"),
                                                  QStringLiteral("01"), QStringLiteral("de"), true};
    GeneralTableController& overview = rig.build();
    rig.routeStats->setDefault_gateway("192.168.1.1");
    overview.reloadData();

    EXPECT_EQ(rig.text(0, 0, kCharge), "87%");
    EXPECT_TRUE(batteryBarIsGreen(rig));
    EXPECT_EQ(rig.text(0, 1), "Charging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Amber);
    EXPECT_EQ(rig.text(1, 1), "16.0 GB");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::used), "12.0 GB");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::freeShare), "25.0 %");
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    EXPECT_EQ(rig.text(3, 1), "1d 1h 1m");
    EXPECT_EQ(rig.text(4, 0), "N/A");
    EXPECT_EQ(rig.text(4, 1), "192.168.1.1");
    EXPECT_EQ(lampOf(rig, 5, 0), OnOffView::Green);
    EXPECT_EQ(rig.text(5, 2), "192.168.1.20");
    EXPECT_EQ(rig.text(6, 0), "No");
    EXPECT_EQ(rig.text(6, 2), "Telekom");
    EXPECT_EQ(rig.text(6, 4), "262 / 01");

    // A tick with the same charge keeps the picture it has; 20 % turns red.
    const qint64 picture = rig.cell(0, 0)->bar->image().cacheKey();
    overview.updateMethod();
    EXPECT_EQ(rig.cell(0, 0)->bar->image().cacheKey(), picture);
    rig.battery.lvl = 0.20f;
    overview.updateMethod();
    EXPECT_FALSE(batteryBarIsGreen(rig));
}

TEST(GeneralTableControllerTest, CarrierServiceDecidesTheCellSectionAtEveryTick)
{
    Rig rig({false, true, false});
    rig.carrier->reading.serviceAvailable = false;
    rig.kernel.btime.reset();
    rig.staticStats = std::make_unique<StaticStats>(
        StaticStats::Host{rig.kernel, rig.identity, rig.probe, rig.modem});
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.table()->numberOfSections(), 6);
    EXPECT_EQ(rig.text(3, 0), "N/A"); // no boot time
    EXPECT_EQ(rig.text(3, 1), "N/A");
    rig.carrier->reading.serviceAvailable = true;
    overview.updateMethod();
    EXPECT_EQ(rig.table()->numberOfSections(), 7);
    EXPECT_EQ(rig.table()->numberOfRowsInSection(6), 6);
    EXPECT_EQ(rig.text(6, 3), "N/A"); // no carrier codes
    EXPECT_EQ(rig.text(6, 4), "N/A / N/A");
}

TEST(GeneralTableControllerTest, CpuLegendFollowsTheTickDifference)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    rig.kernel.ticks = CpuTicks{1000, 500, 1000, 5000};
    overview.reloadData();
    // 200 ticks: 20 user, 30 nice, 40 system, 110 idle; nice has no share.
    rig.kernel.ticks = CpuTicks{1020, 530, 1040, 5110};
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuUser), "10.0 %");
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuSystem), "20.0 %");
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuIdle), "55.0 %");
    overview.updateMethod(); // no tick between two refreshes
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuIdle), "0.0 %");
}

// The demonstration shows fixed values and a local address behind the
// cell's Reload button; two quick presses make one lookup.
TEST(GeneralTableControllerTest, DemoValuesAndTheReloadButton)
{
    Rig rig({false, false, true});
    rig.battery.lvl = 0.3f;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.text(0, 0, kCharge), "75%");
    EXPECT_EQ(rig.text(0, 1), "Discharging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Red);
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::used), "37.8 GB");

    auto* button = rig.cell(4, 0)->findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    QSignalSpy changes(&overview.addressLookup(), &ExternalAddressLookup::externalIPChanged);
    button->click();
    button->click();
    EXPECT_EQ(rig.text(4, 0), "Loading...");
    ASSERT_TRUE(testsupport::waitUntil([&] { return !overview.loadingIP(); }));
    EXPECT_EQ(rig.text(4, 0), "203.0.113.42");
    EXPECT_EQ(changes.size(), 3); // two "Loading..." and one answer
}

TEST(GeneralTableControllerTest, SmallScreenPageRowsPushTheirScreens)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    ui::NavigationController nav(&overview);
    overview.reloadData();
    const std::pair<ui::IndexPath, ui::ViewController*> cases[] = {{{0, 2}, &rig.workTimePage},
                                                                   {{1, 2}, &rig.filesPage},
                                                                   {{4, 2}, &rig.connectionsPage},
                                                                   {{4, 3}, &rig.routesPage}};
    for (const auto& [row, screen] : cases) {
        rig.table()->tapRowAtIndexPath(row);
        EXPECT_EQ(nav.topViewController(), screen);
        nav.popToRootViewControllerAnimated(false);
    }
    rig.table()->tapRowAtIndexPath({5, 1}); // a value row pushes nothing
    EXPECT_EQ(nav.topViewController(), &overview);
}

TEST(GeneralTableControllerTest, TimerFollowsVisibilityAndScrollingPausesTheTick)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    EXPECT_EQ(overview.timer(), nullptr);
    overview.beginAppearance(false);
    ASSERT_NE(overview.timer(), nullptr);
    QTimer* first = overview.timer();
    overview.reloadData(); // a second reload keeps the one timer
    EXPECT_EQ(overview.timer(), first);
    overview.beginDisappearance(false);
    EXPECT_EQ(overview.timer(), nullptr);
    // Hidden pages are reloaded on returning to the foreground: the timer starts anyway.
    overview.reloadData();
    ASSERT_NE(overview.timer(), nullptr);
    EXPECT_TRUE(overview.timer()->isActive());

    rig.kernel.load = std::array<double, 3>{2.0, 2.0, 2.0};
    overview.scrollViewWillBeginDragging(nullptr);
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    overview.scrollViewDidEndDragging(nullptr, true); // still decelerating
    EXPECT_TRUE(overview.scrolling());
    overview.scrollViewDidEndDecelerating(nullptr);
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "2.00, 2.00, 2.00");
    overview.scrollViewWillBeginDragging(nullptr);
    overview.scrollViewDidEndDragging(nullptr, false);
    EXPECT_FALSE(overview.scrolling());
    overview.scrollViewWillBeginDragging(nullptr);
    overview.reloadData(); // clears a flag left set
    EXPECT_FALSE(overview.scrolling());
}

// Counts the alarm checks the battery's changes ask for.
class CountingOverview : public GeneralTableController {
public:
    using GeneralTableController::GeneralTableController;
    int checks = 0;

protected:
    void onBatteryStateChange() override { ++checks; }
};

TEST(GeneralTableControllerTest, BatteryChangesRunTheAlarmCheckAndReload)
{
    Rig rig;
    CountingOverview& overview = rig.build<CountingOverview>();
    overview.reloadData();
    rig.battery.lvl = 0.55f;
    Q_EMIT rig.battery.stateChanged();
    EXPECT_EQ(overview.checks, 1);
    EXPECT_EQ(rig.text(0, 0, kCharge), "55%");

    // The level runs the check only for an alarm on reaching 100 %.
    rig.battery.lvl = 0.56f;
    Q_EMIT rig.battery.levelChanged();
    EXPECT_EQ(overview.checks, 1);
    EXPECT_EQ(rig.text(0, 0, kCharge), "56%");
    Defaults::standardUserDefaults().setInteger(1, "kAlertType");
    Defaults::standardUserDefaults().setInteger(1, "kAlertTrigger");
    Q_EMIT rig.battery.levelChanged();
    EXPECT_EQ(overview.checks, 2);

    // A destroyed page hears nothing more (and is not called through a
    // dangling pointer).
    rig.controller.reset();
    Q_EMIT rig.battery.stateChanged();
}

TEST(GeneralTableControllerTest, StartUpSnapshotsFollowTheFirstPaintAndRunOnce)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    auto* snapshots = overview.findChild<StartupSnapshots*>();
    ASSERT_NE(snapshots, nullptr);
    QSignalSpy finished(snapshots, &StartupSnapshots::finished);
    // Nothing was dumped before the page could be painted.
    EXPECT_EQ(rig.routes->dumps, 0);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(rig.routes->dumps, 1);
    const int lists = rig.sockets->lists;
    EXPECT_GT(lists, 0);
    overview.reloadData();
    overview.updateMethod();
    QTest::qWait(50);
    EXPECT_EQ(rig.routes->dumps, 1); // the tick never dumps routes or sockets
    EXPECT_EQ(rig.sockets->lists, lists);
}

// Regression: a battery chart made while the user drags has no picture to
// keep: it is drawn at once, not left empty until the drag ends.
TEST(GeneralTableControllerTest, ABatteryCellMadeWhileScrollingIsDrawn)
{
    Rig rig;
    rig.controller = std::make_unique<GeneralTableController>(rig.sources(), rig.pages());
    rig.controller->view(); // loaded, no cells yet
    rig.controller->scrollViewWillBeginDragging(nullptr);
    rig.table()->resize(320, 3000);
    rig.table()->show();
    ASSERT_NE(rig.cell(0, 0), nullptr);
    EXPECT_TRUE(batteryBarIsGreen(rig)) << "87 % is green";
    EXPECT_FALSE(rig.cell(2, 0)->bar->image().isNull());
    EXPECT_FALSE(rig.cell(1, 0)->bar->image().isNull());
}

// Regression: the copy menu pauses the refresh; however the menu goes
// away, the refresh resumes.
TEST(GeneralTableControllerTest, EveryWayTheCopyMenuClosesResumesTheRefresh)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    CopyableLabel* value = nullptr;
    const auto open = [&] {
        value = qobject_cast<CopyableLabel*>(rig.cell(2, 1)->value);
        ASSERT_NE(value, nullptr);
        value->resignFirstResponder();
        QTest::mouseClick(value, Qt::LeftButton, {}, value->rect().center());
        ASSERT_TRUE(overview.scrolling());
    };
    rig.kernel.load = std::array<double, 3>{2.0, 2.0, 2.0};
    open();
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12"); // paused
    menu.menu()->close();
    EXPECT_FALSE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "2.00, 2.00, 2.00");

    open(); // the label's window goes away under the open menu
    rig.table()->hide();
    EXPECT_FALSE(menu.menu()->isVisible());
    EXPECT_FALSE(overview.scrolling());
    rig.table()->show();

    open(); // the label itself is destroyed, as a re-layout may do
    delete value;
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_FALSE(overview.scrolling());
}

// Regression: a reused cell moved to a row with a longer label kept the
// label width of its previous row.
TEST(GeneralTableControllerTest, ReusedCellsFitTheirNewLabel)
{
    Rig rig;
    rig.build().reloadData();
    for (const ui::IndexPath p : {ui::IndexPath{1, 1}, ui::IndexPath{2, 1}, ui::IndexPath{5, 0}}) {
        QLabel* label = rig.cell(p.section, p.row)->textLabel();
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
}

// A legend value too wide for its frame shrinks its font, and a short value
// after it gets the frame's own size back.
TEST(GeneralTableControllerTest, LegendValuesShrinkToFitAndGrowBack)
{
    std::unique_ptr<OverviewCell> cell(
        OverviewCellFactory::create(OverviewLayout::Kind::DiskGraph, {}));
    QLabel* used = cell->used;
    OverviewCellFactory::setGigabytes(used, 1.0f);
    const int base = used->font().pixelSize();
    OverviewCellFactory::setGigabytes(used, 123456789.0f);
    EXPECT_LT(used->font().pixelSize(), base);
    OverviewCellFactory::setGigabytes(used, 1.0f);
    EXPECT_EQ(used->font().pixelSize(), base);
}

} // namespace

// The gateway row follows the kernel's route messages in a private network
// namespace from tick to tick, with no reading of the routing table.
TEST(GeneralTableControllerTest, DefaultGatewayFollowsTheKernel)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    for (const char* command : {"link add d0 type veth peer name d1", "link set d1 up",
                                "link set d0 up", "addr add 10.1.1.10/24 dev d0"})
        ASSERT_TRUE(ns.ip(command)) << command;
    std::unique_ptr<NetlinkMonitor> monitor;
    QThread* here = QThread::currentThread();
    ASSERT_TRUE(ns.run([&] {
        monitor = std::make_unique<NetlinkMonitor>(nullptr, std::chrono::milliseconds(20));
        monitor->moveToThread(here);
    }));
    monitor->start();

    Rig rig;
    rig.routeStats = std::make_unique<RouteStats>(rig.routes, RouteStats::Clock{}, monitor.get());
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    // The start-up reading of the (fake, empty) table comes first.
    ASSERT_TRUE(testsupport::waitUntil([&] { return rig.routes->dumps == 1; }));
    rig.routeStats->waitForAsync();
    EXPECT_EQ(rig.text(4, 1), "N/A");
    const auto follows = [&](const std::string& command, const QString& expected) {
        ASSERT_TRUE(ns.ip(command)) << command;
        EXPECT_TRUE(testsupport::waitUntil([&] {
            overview.updateMethod();
            return rig.text(4, 1) == expected;
        })) << command
            << ": " << rig.text(4, 1).toStdString();
    };
    follows("route add default via 10.1.1.1 metric 600", "10.1.1.1");
    follows("route add default via 10.1.1.2 metric 100", "10.1.1.2");
    follows("route replace default via 10.1.1.3 metric 100", "10.1.1.3");
    follows("route del default via 10.1.1.3 metric 100", "10.1.1.1");
    follows("route del default via 10.1.1.1 metric 600", "N/A");
    EXPECT_EQ(rig.routes->dumps, 1);
}
