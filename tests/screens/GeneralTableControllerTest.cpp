#include "drawing/BarChartView.h"
#include "drawing/OnOffView.h"
#include "host/NotificationCenter.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/ExternalAddressLookup.h"
#include "screens/overview/StartupSnapshots.h"
#include "screens/routes/RouteTableController.h"
#include "ui/MenuController.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"

#include "AddressServer.h"
#include "OverviewRig.h"

#include <gtest/gtest.h>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {

using overview::Options;
using overview::Rig;

enum { kValue = 14, kLampText = 12, kLamp = 11 };

std::vector<int> rowCounts(GeneralTableController& c)
{
    std::vector<int> counts;
    for (int s = 0; s < c.numberOfSectionsInTableView(nullptr); ++s)
        counts.push_back(c.numberOfRowsInSection(nullptr, s));
    return counts;
}

int lampOf(Rig& rig, int section, int row)
{
    auto* lamp = qobject_cast<OnOffView*>(rig.cell(section, row)->viewWithTag(kLamp));
    return lamp ? lamp->color() : -99;
}

// The hue of the bar's first segment: red or green wins.
QColor firstSegment(Rig& rig)
{
    auto* bar = qobject_cast<BarChartView*>(rig.cell(0, 0)->viewWithTag(2));
    EXPECT_NE(bar, nullptr);
    const QImage& image = bar->image();
    return image.pixelColor(image.width() / 20, image.height() / 2);
}

TEST(GeneralTableControllerTest, SectionsFollowScreenClassAndCellular)
{
    const struct {
        Options options;
        std::vector<int> rows;
    } cases[] = {
        {{false, true, false}, {3, 3, 2, 2, 4, 3, 6}},
        {{false, false, false}, {3, 3, 2, 2, 4, 3}},
        {{true, true, false}, {2, 2, 2, 2, 2, 3, 6}},
        {{true, false, false}, {2, 2, 2, 2, 2, 3}},
    };
    for (const auto& c : cases) {
        Rig rig(c.options);
        GeneralTableController& overview = rig.build();
        overview.reloadData();
        EXPECT_EQ(rowCounts(overview), c.rows);
        EXPECT_EQ(rig.table()->numberOfSections(), static_cast<int>(c.rows.size()));
    }
}

TEST(GeneralTableControllerTest, CarrierServiceDecidesTheCellSectionAtEveryTick)
{
    Rig rig({false, true, false});
    rig.carrier->reading.serviceAvailable = false;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(overview.numberOfSectionsInTableView(nullptr), 6);
    EXPECT_EQ(rig.table()->numberOfSections(), 6);
    // The modem service appears between two ticks: the table grows.
    rig.carrier->reading.serviceAvailable = true;
    overview.updateMethod();
    EXPECT_EQ(rig.table()->numberOfSections(), 7);
    EXPECT_EQ(rig.table()->numberOfRowsInSection(6), 6);
}

TEST(GeneralTableControllerTest, RowsShowTheCollectorValues)
{
    Rig rig({false, true, false});
    rig.carrier->reading.carrier = CarrierDetails{QStringLiteral("Telekom"), QStringLiteral("262"),
                                                  QStringLiteral("01"), QStringLiteral("de"), true};
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    rig.routeStats->setDefault_gateway("192.168.1.1");
    overview.reloadData();

    EXPECT_EQ(rig.text(0, 0, 1), "87%");
    EXPECT_EQ(rig.text(0, 1, kLampText), "Charging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Amber);
    EXPECT_EQ(rig.text(1, 1, kValue), "16.0 GB");
    EXPECT_EQ(rig.text(1, 0, 5), "12.0 GB"); // used
    EXPECT_EQ(rig.text(1, 0, 7), "75.0 %");
    EXPECT_EQ(rig.text(1, 0, 4), "4.0 GB"); // free
    EXPECT_EQ(rig.text(1, 0, 6), "25.0 %");
    EXPECT_EQ(rig.text(2, 1, kValue), "0.50, 0.25, 0.12");
    EXPECT_EQ(rig.text(3, 1, kValue), "1d 1h 1m");
    EXPECT_FALSE(rig.text(3, 0, kValue).isEmpty());
    EXPECT_EQ(rig.text(4, 0, 13), "N/A");
    EXPECT_EQ(rig.text(4, 1, kValue), "192.168.1.1");
    EXPECT_EQ(rig.text(5, 0, kLampText), "Yes");
    EXPECT_EQ(lampOf(rig, 5, 0), OnOffView::Green);
    EXPECT_EQ(rig.text(5, 2, kValue), "192.168.1.20");
    EXPECT_EQ(rig.text(6, 0, kLampText), "No");
    EXPECT_EQ(lampOf(rig, 6, 0), OnOffView::Red);
    EXPECT_EQ(rig.text(6, 2, kValue), "Telekom");
    EXPECT_EQ(rig.text(6, 3, kValue), "de");
    EXPECT_EQ(rig.text(6, 4, kValue), "262 / 01");
    EXPECT_EQ(rig.text(6, 5, kLampText), "Yes");
    EXPECT_EQ(rig.cell(0, 2)->textLabel()->text(), "Work Time");
}

TEST(GeneralTableControllerTest, MissingCarrierAndBootTimeShowNA)
{
    Rig rig({true, true, false});
    rig.kernel.btime.reset();
    // Recreate the static facts without a boot time.
    rig.staticStats = std::make_unique<StaticStats>(
        StaticStats::Host{rig.kernel, rig.identity, rig.probe, rig.modem});
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.text(3, 0, kValue), "N/A");
    EXPECT_EQ(rig.text(3, 1, kValue), "N/A");
    EXPECT_EQ(rig.text(6, 2, kValue), "");
    EXPECT_EQ(rig.text(6, 3, kValue), "N/A");
    EXPECT_EQ(rig.text(6, 4, kValue), "N/A / N/A");
}

TEST(GeneralTableControllerTest, BatteryBarIsRedAtTwentyAndGreenAtTwentyOne)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    rig.battery.lvl = 0.20f;
    overview.reloadData();
    EXPECT_EQ(rig.text(0, 0, 1), "20%");
    QColor c = firstSegment(rig);
    EXPECT_GT(c.red(), c.green() * 2) << c.name().toStdString();

    rig.battery.lvl = 0.21f;
    overview.updateMethod();
    EXPECT_EQ(rig.text(0, 0, 1), "21%");
    c = firstSegment(rig);
    EXPECT_GT(c.green(), c.red() * 2) << c.name().toStdString();

    // A tick with the same charge keeps the picture it has.
    const qint64 picture =
        qobject_cast<BarChartView*>(rig.cell(0, 0)->viewWithTag(2))->image().cacheKey();
    overview.updateMethod();
    EXPECT_EQ(qobject_cast<BarChartView*>(rig.cell(0, 0)->viewWithTag(2))->image().cacheKey(),
              picture);
}

TEST(GeneralTableControllerTest, BatteryStatesAndTheirLamps)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    const struct {
        Battery::State state;
        const char* text;
        int lamp;
    } cases[] = {{Battery::StateUnknown, "Unknown", OnOffView::Red},
                 {Battery::StateUnplugged, "Discharging", OnOffView::Red},
                 {Battery::StateCharging, "Charging", OnOffView::Amber},
                 {Battery::StateFull, "Charged", OnOffView::Green}};
    for (const auto& c : cases) {
        rig.battery.st = c.state;
        overview.reloadData();
        EXPECT_EQ(rig.text(0, 1, kLampText), QString::fromLatin1(c.text));
        EXPECT_EQ(lampOf(rig, 0, 1), c.lamp) << c.text;
    }
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
    EXPECT_EQ(rig.text(2, 0, 8), "10.0 %");
    EXPECT_EQ(rig.text(2, 0, 9), "20.0 %");
    EXPECT_EQ(rig.text(2, 0, 10), "55.0 %");

    // No tick between two refreshes.
    overview.updateMethod();
    for (int tag : {8, 9, 10})
        EXPECT_EQ(rig.text(2, 0, tag), "0.0 %");
}

TEST(GeneralTableControllerTest, DemoValues)
{
    Rig rig({false, false, true});
    rig.battery.lvl = 0.3f;
    rig.battery.st = Battery::StateCharging;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.text(0, 0, 1), "75%");
    EXPECT_EQ(rig.text(0, 1, kLampText), "Discharging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Red);
    EXPECT_EQ(rig.text(1, 1, kValue), "59.1 GB");
    EXPECT_EQ(rig.text(1, 0, 4), "21.3 GB");
    EXPECT_EQ(rig.text(1, 0, 5), "37.8 GB");

    overview.clickMe();
    EXPECT_EQ(overview.externalIP(), "Loading...");
    ASSERT_TRUE(testsupport::waitUntil([&] { return !overview.loadingIP(); }));
    EXPECT_EQ(rig.text(4, 0, 13), "203.0.113.42");
}

TEST(GeneralTableControllerTest, DumpListsTheScreenAsAUserSeesIt)
{
    Rig rig({true, false, false});
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    const QString dump = rig.table()->dumpText();
    for (const char* expected :
         {"Battery Status", "87%", "Battery State\tCharging\t[amber]", "Total Disk Space\t16.0 GB",
          "Used", "Free", "System", "User", "Idle", "Uptime\t1d 1h 1m",
          "External IP\tN/A\t[Reload]", "Network Connected\tYes\t[green]", "Wi-Fi Information"})
        EXPECT_TRUE(dump.contains(QString::fromLatin1(expected))) << expected << "\n"
                                                                  << dump.toStdString();
    EXPECT_FALSE(dump.contains("Work Time"));
    EXPECT_FALSE(dump.contains("Cell Information"));
}

TEST(GeneralTableControllerTest, SmallScreenPageRowsPushTheirScreens)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    BatteryTableController battery;
    DiskTableController disk;
    ConnectionTableController connections;
    RouteTableController routes;
    overview.batteryController = &battery;
    overview.diskController = &disk;
    overview.connectionController = &connections;
    overview.routeController = &routes;
    ui::NavigationController nav(&overview);
    overview.navigController = &nav;
    overview.reloadData();

    const struct {
        ui::IndexPath row;
        ui::ViewController* screen;
    } cases[] = {{{0, 2}, &battery}, {{1, 2}, &disk}, {{4, 2}, &connections}, {{4, 3}, &routes}};
    for (const auto& c : cases) {
        ASSERT_TRUE(overview.willSelectRowAtIndexPath(nullptr, c.row).has_value());
        overview.didSelectRowAtIndexPath(nullptr, c.row);
        EXPECT_EQ(nav.topViewController(), c.screen);
        nav.popToRootViewControllerAnimated(false);
    }
    EXPECT_FALSE(overview.willSelectRowAtIndexPath(nullptr, {0, 0}).has_value());
    EXPECT_FALSE(overview.willSelectRowAtIndexPath(nullptr, {4, 0}).has_value());
    // A tap on a value row pushes nothing.
    rig.table()->tapRowAtIndexPath({5, 1});
    EXPECT_EQ(nav.topViewController(), &overview);
}

TEST(GeneralTableControllerTest, NothingIsSelectableOnLargeScreens)
{
    Rig rig({true, true, false});
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    for (int s = 0; s < overview.numberOfSectionsInTableView(nullptr); ++s)
        for (int r = 0; r < overview.numberOfRowsInSection(nullptr, s); ++r)
            EXPECT_FALSE(overview.willSelectRowAtIndexPath(nullptr, {s, r}).has_value());
}

TEST(GeneralTableControllerTest, TimerRunsWhileVisibleAndAfterAReloadWhileHidden)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    EXPECT_EQ(overview.timer(), nullptr);
    overview.beginAppearance(false);
    ASSERT_NE(overview.timer(), nullptr);
    EXPECT_TRUE(overview.timer()->isActive());
    EXPECT_EQ(overview.timer()->interval(), 2000);
    QTimer* first = overview.timer();
    overview.reloadData(); // a second reload keeps the one timer
    EXPECT_EQ(overview.timer(), first);
    overview.beginDisappearance(false);
    EXPECT_EQ(overview.timer(), nullptr);
    // The application delegate reloads hidden pages on returning to the
    // foreground: the timer starts anyway.
    overview.reloadData();
    ASSERT_NE(overview.timer(), nullptr);
    EXPECT_TRUE(overview.timer()->isActive());
}

TEST(GeneralTableControllerTest, ScrollingPausesTheTick)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.text(2, 1, kValue), "0.50, 0.25, 0.12");
    rig.kernel.load = std::array<double, 3>{2.0, 2.0, 2.0};

    overview.scrollViewWillBeginDragging(nullptr);
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1, kValue), "0.50, 0.25, 0.12");
    overview.scrollViewDidEndDragging(nullptr, true); // still decelerating
    EXPECT_TRUE(overview.scrolling());
    overview.scrollViewDidEndDecelerating(nullptr);
    EXPECT_FALSE(overview.scrolling());

    NotificationCenter::defaultCenter().postNotification(
        ui::MenuController::WillShowMenuNotification);
    EXPECT_TRUE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1, kValue), "0.50, 0.25, 0.12");
    NotificationCenter::defaultCenter().postNotification(
        ui::MenuController::WillHideMenuNotification);
    EXPECT_FALSE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1, kValue), "2.00, 2.00, 2.00");

    // reloadData clears a flag left set.
    overview.scrollViewWillBeginDragging(nullptr);
    overview.reloadData();
    EXPECT_FALSE(overview.scrolling());
}

// Counts the alarm checks the battery notifications ask for.
class CountingOverview : public GeneralTableController {
public:
    int checks = 0;

protected:
    void onBatteryStateChange() override { ++checks; }
};

TEST(GeneralTableControllerTest, BatteryNotificationsRunTheAlarmCheckAndReload)
{
    Rig rig;
    rig.build();
    CountingOverview overview;
    overview.setSources(rig.controller->sources());
    overview.awakeFromNib();
    overview.tableView()->resize(320, 2000);
    overview.reloadData();
    NotificationCenter& center = NotificationCenter::defaultCenter();

    rig.battery.lvl = 0.55f;
    center.postNotification(Battery::kStateDidChangeNotification);
    EXPECT_EQ(overview.checks, 1);
    EXPECT_EQ(
        qobject_cast<QLabel*>(overview.tableView()->cellForRowAtIndexPath({0, 0})->viewWithTag(1))
            ->text(),
        "55%");

    // The level runs the check only for an alarm on reaching 100 %.
    rig.battery.lvl = 0.56f;
    center.postNotification(Battery::kLevelDidChangeNotification);
    EXPECT_EQ(overview.checks, 1);
    EXPECT_EQ(
        qobject_cast<QLabel*>(overview.tableView()->cellForRowAtIndexPath({0, 0})->viewWithTag(1))
            ->text(),
        "56%");
    Defaults::standardUserDefaults().setInteger(1, "kAlertType");
    Defaults::standardUserDefaults().setInteger(1, "kAlertTrigger");
    center.postNotification(Battery::kLevelDidChangeNotification);
    EXPECT_EQ(overview.checks, 2);
    Defaults::standardUserDefaults().setInteger(0, "kAlertTrigger");
    center.postNotification(Battery::kLevelDidChangeNotification);
    EXPECT_EQ(overview.checks, 2);
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
    EXPECT_EQ(rig.sockets->lists, 0);
    EXPECT_TRUE(rig.battery.monitoring);
    ASSERT_TRUE(finished.wait(5000));
    EXPECT_EQ(rig.routes->dumps, 1);
    const int lists = rig.sockets->lists;
    EXPECT_GT(lists, 0);
    overview.reloadData();
    overview.updateMethod();
    QTest::qWait(50);
    EXPECT_EQ(finished.size(), 1);
    EXPECT_EQ(rig.routes->dumps, 1); // the tick never dumps routes or sockets
    EXPECT_EQ(rig.sockets->lists, lists);
    EXPECT_TRUE(overview.navigationItem()->hidesBackButton());
}

TEST(GeneralTableControllerTest, NotificationsStopWithTheController)
{
    Rig rig;
    rig.build();
    const int before =
        NotificationCenter::defaultCenter().observerCount(Battery::kStateDidChangeNotification);
    rig.controller.reset();
    EXPECT_EQ(
        NotificationCenter::defaultCenter().observerCount(Battery::kStateDidChangeNotification),
        before - 1);
}

TEST(GeneralTableControllerTest, RotatesOnlyOnLargeScreens)
{
    Rig small;
    EXPECT_FALSE(small.build().shouldAutorotateToInterfaceOrientation(
        ui::InterfaceOrientation::LandscapeLeft));
    Rig large({true, false, false});
    EXPECT_TRUE(large.build().shouldAutorotateToInterfaceOrientation(
        ui::InterfaceOrientation::LandscapeLeft));
}

} // namespace

namespace {

// Pictures of the demonstration screen in both classes, for people to look
// at; the battery bar must come out green at 75 %.
TEST(GeneralTableControllerTest, DemoPicturesInBothLayouts)
{
    for (bool large : {false, true}) {
        Rig rig({large, true, true});
        GeneralTableController& overview = rig.build();
        rig.table()->resize(large ? 767 : 320, large ? 1100 : 1200);
        overview.reloadData();
        const QColor c = firstSegment(rig);
        EXPECT_GT(c.green(), c.red() * 2);
        const QImage picture = rig.table()->grab().toImage();
        ASSERT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.save(testsupport::outputDir() + "/overview-demo-" +
                                 (large ? "large" : "small") + ".png"));
    }
}

} // namespace

namespace {

// Regression: a reused cell moved to a row with a longer label kept the
// label width of its previous row.
TEST(GeneralTableControllerTest, ReusedCellsFitTheirNewLabel)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    for (const ui::IndexPath p : {ui::IndexPath{1, 1}, ui::IndexPath{2, 1}, ui::IndexPath{5, 0}}) {
        QLabel* label = rig.cell(p.section, p.row)->textLabel();
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
}

} // namespace

namespace {

TEST(GeneralTableControllerTest, ReloadButtonShowsLoadingThenTheAddress)
{
    Rig rig({true, false, false});
    AddressServer server;
    server.answer = [] { return AddressServer::ok("198.51.100.23\n"); };
    Defaults::standardUserDefaults().setObject(server.base(), ExternalAddressLookup::kServiceKey);
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    auto* button = rig.cell(4, 0)->findChild<QPushButton*>();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Reload");
    button->click();
    button->click();
    EXPECT_EQ(rig.text(4, 0, 13), "Loading...");
    EXPECT_TRUE(overview.loadingIP());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !overview.loadingIP(); }));
    EXPECT_EQ(rig.text(4, 0, 13), "198.51.100.23");
    EXPECT_EQ(server.requests, 1);
}

} // namespace
