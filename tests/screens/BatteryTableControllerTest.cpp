#include "screens/battery/BatteryTableController.h"

#include "host/Battery.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/ScreenFakes.h"
#include "stats/DeviceFacts.h"
#include "ui/NavigationController.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QSlider>

using namespace screenfakes;

namespace {

// The Work Time page over a hand-set battery, device facts and defaults,
// shown at the small layout's size.
struct PageRig {
    IdiomScope idiom;
    TempDefaults store;
    FakeStats host{store.defaults};
    DeviceFacts facts = [] {
        DeviceFacts f; // rated seconds: each row reads its own
        f.battery_life_standby = 1080000;
        f.battery_life_audio = 144000;
        f.battery_life_video = 36000;
        f.battery_life_browsing_wifi = 32400;
        f.battery_life_browsing_3g = 28800;
        f.battery_life_talk = 25200;
        return f;
    }();
    AlarmTableController alarm{AlarmTableController::Host{store.defaults, host.stats}};
    BatteryTableController page{BatteryTableController::Host{host.battery, facts, store.defaults},
                                alarm};

    explicit PageRig(ui::UserInterfaceIdiom i = ui::UserInterfaceIdiom::Phone,
                     std::optional<long long> health = std::nullopt)
        : idiom(i)
    {
        host.battery.lvl = 0.5f;
        if (health)
            store.defaults.setInteger(*health, QStringLiteral("kHealthKey"));
        page.awakeFromNib();
        page.view()->resize(i == ui::UserInterfaceIdiom::Pad ? 704 : 320, 600);
        page.view()->show();
        page.reloadData();
    }
    ui::TableViewCell* cell(int section, int row)
    {
        return page.tableView()->cellForRowAtIndexPath({section, row});
    }
    QString detail(int section, int row) { return cell(section, row)->detailTextLabel()->text(); }
    QStringList workTimes()
    {
        QStringList texts;
        for (int r = 0; r < BatteryTableController::kWorkTimeRows; ++r)
            texts << detail(0, r);
        return texts;
    }
    QSlider* slider() { return cell(1, 0)->findChild<QSlider*>(); }
    long long storedHealth() const { return store.storedInteger(QStringLiteral("kHealthKey")); }
};

} // namespace

TEST(BatteryPage, WorkTimesFromRatedLifeHealthAndCharge)
{
    PageRig rig;
    EXPECT_EQ(rig.workTimes(),
              (QStringList{"150h 0m", "20h 0m", "5h 0m", "4h 30m", "4h 0m", "3h 30m"}));
    rig.host.battery.lvl = 0.25f;
    Q_EMIT rig.host.battery.levelChanged(); // a level change reloads the rows
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("75h 0m"));

    rig.facts.simulator = true;
    rig.host.battery.lvl = -1.0f;
    rig.page.reloadData();
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("225h 0m")); // 1080000 x 0.75
    rig.facts.simulator = false;
    rig.page.reloadData();
    EXPECT_EQ(rig.workTimes(), QStringList(6, QStringLiteral("N/A")));
    EXPECT_EQ(rig.detail(1, 0), QStringLiteral("100%")); // the rest of the page is unharmed
}

TEST(BatteryPage, DraggingChangesOnlyTheHealthTextAndReleaseStoresAndReloads)
{
    PageRig rig;
    QSlider* slider = rig.slider();
    ASSERT_NE(slider, nullptr);
    const QStringList before = rig.workTimes();
    slider->setSliderDown(true);
    slider->setValue(60);
    slider->setValue(50);
    EXPECT_EQ(rig.page.label()->text(), QStringLiteral("50%"));
    EXPECT_EQ(rig.workTimes(), before);
    EXPECT_EQ(rig.storedHealth(), 0); // nothing stored yet

    slider->setSliderDown(false); // the touch ends
    EXPECT_EQ(rig.storedHealth(), 50);
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("75h 0m"));
    EXPECT_EQ(rig.detail(1, 0), QStringLiteral("50%"));
    EXPECT_EQ(rig.slider()->value(), 50);

    // Keys move the handle without a press: stored at once.
    rig.slider()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(rig.storedHealth(), 49);
    // Values between two percents round to the nearer one.
    rig.page.sliderAction(49.5);
    EXPECT_EQ(rig.page.label()->text(), QStringLiteral("50%"));
    rig.page.sliderReleased(20.6);
    EXPECT_EQ(rig.storedHealth(), 21);
}

TEST(BatteryPage, HealthOutOfRangeShows100AndWritesNothing)
{
    PageRig rig(ui::UserInterfaceIdiom::Phone, 101);
    EXPECT_EQ(rig.page.slider_value(), 100u);
    EXPECT_EQ(rig.storedHealth(), 101);
    EXPECT_EQ(rig.detail(1, 0), QStringLiteral("100%"));
    PageRig kept(ui::UserInterfaceIdiom::Phone, 20);
    EXPECT_EQ(kept.detail(1, 0), QStringLiteral("20%"));
}

TEST(BatteryPage, AlertRowNamesTheTypeSelectsAndPushesTheSettings)
{
    PageRig rig;
    rig.store.defaults.setInteger(2, QStringLiteral("kAlertType"));
    rig.page.reloadData();
    EXPECT_EQ(rig.detail(1, 1), QStringLiteral("Every minute"));
    rig.store.defaults.setInteger(9, QStringLiteral("kAlertType")); // unknown: the text stays
    rig.page.reloadData();
    EXPECT_EQ(rig.detail(1, 1), QStringLiteral("Every minute"));
    ui::NavigationController nav(&rig.page);
    ui::TableView* table = rig.page.tableView();
    EXPECT_EQ(rig.page.willSelectRowAtIndexPath(table, {0, 1}), std::nullopt);
    EXPECT_EQ(rig.page.willSelectRowAtIndexPath(table, {1, 0}), std::nullopt);
    table->tapRowAtIndexPath({0, 2});
    EXPECT_EQ(nav.topViewController(), &rig.page);
    table->tapRowAtIndexPath({1, 1});
    EXPECT_EQ(nav.topViewController(), &rig.alarm);
}
