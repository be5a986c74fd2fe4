#include "screens/battery/BatteryTableController.h"

#include "host/Battery.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/common/CellImageView.h"
#include "screens/ScreenFakes.h"
#include "stats/DeviceFacts.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QSlider>

using namespace screenfakes;

namespace {

// Rated seconds of standby, audio, video, Wi-Fi and 3G browsing, talk.
DeviceFacts ratedFacts(std::array<double, 6> rated)
{
    DeviceFacts f;
    f.battery_life_standby = rated[0];
    f.battery_life_audio = rated[1];
    f.battery_life_video = rated[2];
    f.battery_life_browsing_wifi = rated[3];
    f.battery_life_browsing_3g = rated[4];
    f.battery_life_talk = rated[5];
    return f;
}

// The Work Time page over a hand-set battery, device facts and defaults,
// shown at the small layout's size.
struct PageRig {
    IdiomScope idiom;
    TempDefaults store;
    FakeStats host{store.defaults};
    DeviceFacts facts = ratedFacts({1080000, 144000, 36000, 32400, 28800, 25200});
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
};

} // namespace

TEST(BatteryPage, SectionsRowsAndTitles)
{
    PageRig rig;
    ui::TableView* table = rig.page.tableView();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 6);
    EXPECT_EQ(table->numberOfRowsInSection(1), 2);
    EXPECT_EQ(rig.page.titleForHeaderInSection(table, 0), QStringLiteral("Estimated Work Time"));
    EXPECT_EQ(rig.page.titleForHeaderInSection(table, 1), QStringLiteral("Settings"));
    const QStringList titles{"Standby", "Audio", "Video", "Internet Wi-Fi", "Internet 3G", "Talk"};
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(rig.cell(0, r)->textLabel()->text(), titles[r]);
    EXPECT_EQ(rig.cell(1, 0)->textLabel()->text(), QStringLiteral("Battery Health"));
    EXPECT_EQ(rig.cell(1, 1)->textLabel()->text(), QStringLiteral("Full Charge Sound Alert"));
    EXPECT_EQ(rig.cell(0, 0)->reuseIdentifier(), QStringLiteral("CellNormal"));
    EXPECT_EQ(rig.cell(1, 0)->reuseIdentifier(), QStringLiteral("CellSlider"));
    EXPECT_EQ(rig.cell(1, 1)->reuseIdentifier(), QStringLiteral("CellSwitch"));
}

TEST(BatteryPage, WorkTimesFromRatedLifeHealthAndCharge)
{
    PageRig rig;
    EXPECT_EQ(rig.workTimes(),
              (QStringList{"150h 0m", "20h 0m", "5h 0m", "4h 30m", "4h 0m", "3h 30m"}));

    // A model with few ratings, health 80 %, charge 0.333 (33 %).
    PageRig examples(ui::UserInterfaceIdiom::Phone, 80);
    examples.facts = ratedFacts({0, 0, 36000, 0, 0, 25200});
    examples.host.battery.lvl = 0.333f;
    examples.page.reloadData();
    EXPECT_EQ(examples.workTimes(), (QStringList{"N/A", "N/A", "2h 38m", "N/A", "N/A", "1h 50m"}));
}

TEST(BatteryPage, DemoChargeAndUnreadableLevel)
{
    PageRig rig;
    rig.facts.simulator = true;
    rig.host.battery.lvl = -1.0f;
    rig.page.reloadData();
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("225h 0m")); // 1080000 x 0.75

    rig.facts.simulator = false;
    rig.page.reloadData();
    EXPECT_EQ(rig.workTimes(), QStringList(6, QStringLiteral("N/A")));
    EXPECT_EQ(rig.detail(1, 0), QStringLiteral("100%")); // the rest of the page is unharmed
}

TEST(BatteryPage, ALevelChangeReloadsTheRows)
{
    PageRig rig;
    rig.host.battery.lvl = 0.25f;
    Q_EMIT rig.host.battery.levelChanged();
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("75h 0m"));
}

TEST(BatteryPage, DraggingChangesOnlyTheHealthTextAndReleaseStoresAndReloads)
{
    PageRig rig;
    QSlider* slider = rig.slider();
    ASSERT_NE(slider, nullptr);
    EXPECT_EQ(slider->minimum(), 20);
    EXPECT_EQ(slider->maximum(), 100);
    EXPECT_EQ(slider->value(), 100);
    const QStringList before = rig.workTimes();

    slider->setSliderDown(true);
    slider->setValue(60);
    slider->setValue(50);
    EXPECT_EQ(rig.page.label()->text(), QStringLiteral("50%"));
    EXPECT_EQ(rig.workTimes(), before);
    EXPECT_EQ(rig.store.storedInteger(QStringLiteral("kHealthKey")), 0); // nothing stored yet
    EXPECT_EQ(rig.page.slider_value(), 100u);

    slider->setSliderDown(false); // the touch ends
    EXPECT_EQ(rig.page.slider_value(), 50u);
    EXPECT_EQ(rig.store.storedInteger(QStringLiteral("kHealthKey")), 50);
    EXPECT_EQ(rig.detail(0, 0), QStringLiteral("75h 0m"));
    EXPECT_EQ(rig.detail(1, 0), QStringLiteral("50%"));
    EXPECT_EQ(rig.slider()->value(), 50);
}

TEST(BatteryPage, SliderValuesRoundToTheNearestPercent)
{
    PageRig rig;
    rig.page.sliderAction(49.5);
    EXPECT_EQ(rig.page.label()->text(), QStringLiteral("50%"));
    rig.page.sliderReleased(20.4);
    EXPECT_EQ(rig.page.slider_value(), 20u);
    EXPECT_EQ(rig.store.storedInteger(QStringLiteral("kHealthKey")), 20);
}

TEST(BatteryPage, AKeyPressOnTheSliderStoresAtOnce)
{
    PageRig rig;
    rig.slider()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(rig.page.slider_value(), 99u);
    EXPECT_EQ(rig.store.storedInteger(QStringLiteral("kHealthKey")), 99);
}

TEST(BatteryPage, HealthOutOfRangeOrAbsentShows100AndWritesNothing)
{
    for (std::optional<long long> stored :
         {std::optional<long long>{}, std::optional<long long>{19}, std::optional<long long>{101},
          std::optional<long long>{0}}) {
        SCOPED_TRACE(stored.value_or(-1));
        PageRig rig(ui::UserInterfaceIdiom::Phone, stored);
        EXPECT_EQ(rig.page.slider_value(), 100u);
        EXPECT_EQ(rig.store.storedInteger(QStringLiteral("kHealthKey")), stored.value_or(0));
        EXPECT_EQ(rig.detail(1, 0), QStringLiteral("100%"));
    }
    PageRig kept(ui::UserInterfaceIdiom::Phone, 20);
    EXPECT_EQ(kept.page.slider_value(), 20u);
    EXPECT_EQ(kept.detail(1, 0), QStringLiteral("20%"));
}

TEST(BatteryPage, AlertRowTextFollowsTheTypeAndKeepsItForUnknownValues)
{
    PageRig rig;
    const char* texts[] = {"Off", "Once", "Every minute", "Continuous"};
    for (int type = 0; type < 4; ++type) {
        rig.store.defaults.setInteger(type, QStringLiteral("kAlertType"));
        rig.page.reloadData();
        EXPECT_EQ(rig.detail(1, 1), QString::fromLatin1(texts[type]));
    }
    rig.store.defaults.setInteger(9, QStringLiteral("kAlertType"));
    rig.page.reloadData();
    EXPECT_EQ(rig.detail(1, 1), QStringLiteral("Continuous"));
}

TEST(BatteryPage, OnlyTheAlertRowSelectsAndPushesTheSettings)
{
    PageRig rig;
    ui::NavigationController nav(&rig.page);
    ui::TableView* table = rig.page.tableView();
    for (int r = 0; r < 6; ++r)
        EXPECT_EQ(rig.page.willSelectRowAtIndexPath(table, {0, r}), std::nullopt);
    EXPECT_EQ(rig.page.willSelectRowAtIndexPath(table, {1, 0}), std::nullopt);
    table->tapRowAtIndexPath({0, 2});
    EXPECT_EQ(nav.topViewController(), &rig.page);
    table->tapRowAtIndexPath({1, 1});
    EXPECT_EQ(nav.topViewController(), &rig.alarm);
}

TEST(BatteryPage, RowHeightsAndMarksPerScreenClass)
{
    PageRig small;
    ui::TableView* t = small.page.tableView();
    EXPECT_EQ(small.page.heightForRowAtIndexPath(t, {0, 3}), 30);
    EXPECT_EQ(small.page.heightForRowAtIndexPath(t, {1, 0}), 40);
    EXPECT_EQ(small.cell(1, 1)->accessoryType(), ui::AccessoryType::DisclosureIndicator);
    EXPECT_FALSE(
        small.page.shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation::LandscapeLeft));

    PageRig large(ui::UserInterfaceIdiom::Pad);
    t = large.page.tableView();
    EXPECT_EQ(large.page.heightForRowAtIndexPath(t, {0, 3}), 44);
    EXPECT_EQ(large.page.heightForRowAtIndexPath(t, {1, 0}), 44);
    EXPECT_EQ(large.cell(1, 1)->accessoryType(), ui::AccessoryType::None);
    auto* arrow = qobject_cast<CellImageView*>(large.cell(1, 1)->accessoryView());
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->imageName(), QStringLiteral("arrow.png"));
    EXPECT_TRUE(large.page.navigationItem()->hidesBackButton());
    EXPECT_TRUE(
        large.page.shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation::LandscapeLeft));
}
