#include "drawing/BarChartView.h"
#include "drawing/CopyableLabel.h"
#include "drawing/OnOffView.h"
#include "screens/overview/ExternalAddressLookup.h"
#include "screens/overview/StartupSnapshots.h"
#include "ui/MenuController.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"

#include "AddressServer.h"
#include "OverviewRig.h"

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

// The hue of the bar's first segment: red or green wins.
QColor firstSegment(Rig& rig)
{
    BarChartView* bar = rig.cell(0, 0)->bar;
    EXPECT_NE(bar, nullptr);
    const QImage& image = bar->image();
    return image.pixelColor(image.width() / 20, image.height() / 2);
}

// Cellular hardware with a carrier adds the Cell section; large screens
// leave out the four rows that lead to other pages.
TEST(GeneralTableControllerTest, SectionsFollowScreenClassAndCellular)
{
    const auto total = [](GeneralTableController& c) {
        int rows = 0;
        for (int s = 0; s < c.numberOfSectionsInTableView(nullptr); ++s)
            rows += c.numberOfRowsInSection(nullptr, s);
        return rows;
    };
    int rows[2][2] = {};
    for (bool large : {false, true})
        for (bool cellular : {false, true}) {
            Rig rig({large, cellular, false});
            GeneralTableController& overview = rig.build();
            overview.reloadData();
            EXPECT_EQ(rig.table()->numberOfSections(), cellular ? 7 : 6);
            EXPECT_EQ(overview.titleForHeaderInSection(nullptr, 6),
                      QStringLiteral("Cell Information"));
            rows[large][cellular] = total(overview);
        }
    EXPECT_EQ(rows[0][1] - rows[0][0], 6);
    EXPECT_EQ(rows[0][0] - rows[1][0], 4);
    EXPECT_EQ(rows[0][1] - rows[1][1], 4);
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

    EXPECT_EQ(rig.text(0, 0, kCharge), "87%");
    EXPECT_EQ(rig.text(0, 1), "Charging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Amber);
    EXPECT_EQ(rig.text(1, 1), "16.0 GB");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::used), "12.0 GB"); // used
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::usedShare), "75.0 %");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::free), "4.0 GB"); // free
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::freeShare), "25.0 %");
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    EXPECT_EQ(rig.text(3, 1), "1d 1h 1m");
    EXPECT_FALSE(rig.text(3, 0).isEmpty());
    EXPECT_EQ(rig.text(4, 0), "N/A");
    EXPECT_EQ(rig.text(4, 1), "192.168.1.1");
    EXPECT_EQ(rig.text(5, 0), "Yes");
    EXPECT_EQ(lampOf(rig, 5, 0), OnOffView::Green);
    EXPECT_EQ(rig.text(5, 2), "192.168.1.20");
    EXPECT_EQ(rig.text(6, 0), "No");
    EXPECT_EQ(lampOf(rig, 6, 0), OnOffView::Red);
    EXPECT_EQ(rig.text(6, 2), "Telekom");
    EXPECT_EQ(rig.text(6, 3), "de");
    EXPECT_EQ(rig.text(6, 4), "262 / 01");
    EXPECT_EQ(rig.text(6, 5), "Yes");
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
    EXPECT_EQ(rig.text(3, 0), "N/A");
    EXPECT_EQ(rig.text(3, 1), "N/A");
    EXPECT_EQ(rig.text(6, 2), "");
    EXPECT_EQ(rig.text(6, 3), "N/A");
    EXPECT_EQ(rig.text(6, 4), "N/A / N/A");
}

TEST(GeneralTableControllerTest, BatteryBarIsRedAtTwentyAndGreenAtTwentyOne)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    rig.battery.lvl = 0.20f;
    overview.reloadData();
    EXPECT_EQ(rig.text(0, 0, kCharge), "20%");
    QColor c = firstSegment(rig);
    EXPECT_GT(c.red(), c.green() * 2) << c.name().toStdString();

    rig.battery.lvl = 0.21f;
    overview.updateMethod();
    EXPECT_EQ(rig.text(0, 0, kCharge), "21%");
    c = firstSegment(rig);
    EXPECT_GT(c.green(), c.red() * 2) << c.name().toStdString();

    // A tick with the same charge keeps the picture it has.
    const qint64 picture = rig.cell(0, 0)->bar->image().cacheKey();
    overview.updateMethod();
    EXPECT_EQ(rig.cell(0, 0)->bar->image().cacheKey(), picture);
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
        EXPECT_EQ(rig.text(0, 1), QString::fromLatin1(c.text));
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
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuUser), "10.0 %");
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuSystem), "20.0 %");
    EXPECT_EQ(rig.text(2, 0, &OverviewCell::cpuIdle), "55.0 %");

    // No tick between two refreshes.
    overview.updateMethod();
    for (auto part : {&OverviewCell::cpuUser, &OverviewCell::cpuSystem, &OverviewCell::cpuIdle})
        EXPECT_EQ(rig.text(2, 0, part), "0.0 %");
}

TEST(GeneralTableControllerTest, DemoValues)
{
    Rig rig({false, false, true});
    rig.battery.lvl = 0.3f;
    rig.battery.st = Battery::StateCharging;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    EXPECT_EQ(rig.text(0, 0, kCharge), "75%");
    EXPECT_EQ(rig.text(0, 1), "Discharging");
    EXPECT_EQ(lampOf(rig, 0, 1), OnOffView::Red);
    EXPECT_EQ(rig.text(1, 1), "59.1 GB");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::free), "21.3 GB");
    EXPECT_EQ(rig.text(1, 0, &OverviewCell::used), "37.8 GB");

    overview.clickMe();
    EXPECT_EQ(overview.externalIP(), "Loading...");
    ASSERT_TRUE(testsupport::waitUntil([&] { return !overview.loadingIP(); }));
    EXPECT_EQ(rig.text(4, 0), "203.0.113.42");
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
    ui::NavigationController nav(&overview);
    overview.reloadData();

    const struct {
        ui::IndexPath row;
        ui::ViewController* screen;
    } cases[] = {{{0, 2}, rig.workTime.get()},
                 {{1, 2}, &rig.filesPage},
                 {{4, 2}, &rig.connectionsPage},
                 {{4, 3}, &rig.routesPage}};
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
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    rig.kernel.load = std::array<double, 3>{2.0, 2.0, 2.0};

    overview.scrollViewWillBeginDragging(nullptr);
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    overview.scrollViewDidEndDragging(nullptr, true); // still decelerating
    EXPECT_TRUE(overview.scrolling());
    overview.scrollViewDidEndDecelerating(nullptr);
    EXPECT_FALSE(overview.scrolling());

    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    Q_EMIT menu.menuWillShow();
    EXPECT_TRUE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12");
    Q_EMIT menu.menuWillHide();
    EXPECT_FALSE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "2.00, 2.00, 2.00");

    // reloadData clears a flag left set.
    overview.scrollViewWillBeginDragging(nullptr);
    overview.reloadData();
    EXPECT_FALSE(overview.scrolling());
}

// Counts the alarm checks the battery's changes ask for.
class CountingOverview : public GeneralTableController {
public:
    using GeneralTableController::GeneralTableController;
    int* checks = nullptr;

protected:
    void onBatteryStateChange() override { ++*checks; }
};

TEST(GeneralTableControllerTest, BatteryChangesRunTheAlarmCheckAndReload)
{
    Rig rig;
    int checks = 0;
    CountingOverview& overview = rig.build<CountingOverview>();
    overview.checks = &checks;
    overview.reloadData();

    rig.battery.lvl = 0.55f;
    Q_EMIT rig.battery.stateChanged();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(rig.text(0, 0, kCharge), "55%");

    // The level runs the check only for an alarm on reaching 100 %.
    rig.battery.lvl = 0.56f;
    Q_EMIT rig.battery.levelChanged();
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(rig.text(0, 0, kCharge), "56%");
    Defaults::standardUserDefaults().setInteger(1, "kAlertType");
    Defaults::standardUserDefaults().setInteger(1, "kAlertTrigger");
    Q_EMIT rig.battery.levelChanged();
    EXPECT_EQ(checks, 2);
    Defaults::standardUserDefaults().setInteger(0, "kAlertTrigger");
    Q_EMIT rig.battery.levelChanged();
    EXPECT_EQ(checks, 2);

    // A destroyed page hears nothing more (and is not called through a
    // dangling pointer).
    rig.controller.reset();
    Q_EMIT rig.battery.stateChanged();
    EXPECT_EQ(checks, 2);
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

// A battery chart made while the user drags has no picture to keep: it is
// drawn at once, not left empty until the drag ends.
TEST(GeneralTableControllerTest, ABatteryCellMadeWhileScrollingIsDrawn)
{
    Rig rig;
    rig.controller = std::make_unique<GeneralTableController>(rig.sources(), rig.pages());
    rig.controller->view(); // loaded, no cells yet
    rig.controller->scrollViewWillBeginDragging(nullptr);
    rig.table()->resize(320, 3000);
    rig.table()->show();
    ASSERT_TRUE(rig.controller->scrolling());
    ASSERT_NE(rig.cell(0, 0), nullptr);
    EXPECT_FALSE(rig.cell(0, 0)->bar->image().isNull());
    const QColor c = firstSegment(rig);
    EXPECT_GT(c.green(), c.red() * 2) << "87 % is green";
    EXPECT_FALSE(rig.cell(2, 0)->bar->image().isNull());
    EXPECT_FALSE(rig.cell(1, 0)->bar->image().isNull());
}

// The copy menu pauses the refresh; however the menu goes away, the
// refresh resumes.
TEST(GeneralTableControllerTest, EveryWayTheCopyMenuClosesResumesTheRefresh)
{
    Rig rig;
    GeneralTableController& overview = rig.build();
    overview.reloadData();
    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    auto* value = qobject_cast<CopyableLabel*>(rig.cell(2, 1)->value);
    ASSERT_NE(value, nullptr);
    const auto open = [&] {
        QTest::mouseClick(value, Qt::LeftButton, {}, value->rect().center());
        ASSERT_TRUE(menu.isMenuVisible());
        ASSERT_TRUE(overview.scrolling());
    };
    rig.kernel.load = std::array<double, 3>{2.0, 2.0, 2.0};

    open();
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "0.50, 0.25, 0.12"); // paused
    menu.menu()->close();
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_FALSE(overview.scrolling());
    overview.updateMethod();
    EXPECT_EQ(rig.text(2, 1), "2.00, 2.00, 2.00");

    // The label's window goes away under the open menu.
    value->resignFirstResponder();
    open();
    rig.table()->hide();
    EXPECT_FALSE(menu.menu()->isVisible());
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_FALSE(overview.scrolling());
    rig.table()->show();

    // The label itself is destroyed, as a re-layout may do.
    value = qobject_cast<CopyableLabel*>(rig.cell(2, 1)->value);
    value->resignFirstResponder();
    open();
    delete value;
    EXPECT_FALSE(menu.isMenuVisible());
    EXPECT_FALSE(overview.scrolling());
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
    EXPECT_EQ(rig.text(4, 0), "Loading...");
    EXPECT_TRUE(overview.loadingIP());
    ASSERT_TRUE(testsupport::waitUntil([&] { return !overview.loadingIP(); }));
    EXPECT_EQ(rig.text(4, 0), "198.51.100.23");
    EXPECT_EQ(server.requests, 1);
}

} // namespace
