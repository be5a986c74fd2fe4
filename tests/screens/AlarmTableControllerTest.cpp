#include "screens/battery/AlarmTableController.h"
#include "stats/DeviceFacts.h"

#include "screens/battery/BatteryTableController.h"
#include "screens/ScreenFakes.h"
#include "ui/TableViewCell.h"

#include <gtest/gtest.h>
#include <QLabel>

using namespace screenfakes;

namespace {

const QString kType = QStringLiteral("kAlertType");
const QString kTrigger = QStringLiteral("kAlertTrigger");

struct SettingsRig {
    IdiomScope idiom;
    TempDefaults store;
    FakeStats host{store.defaults};
    AlarmTableController page{AlarmTableController::Host{
        store.defaults,
        host.stats,
    }};

    explicit SettingsRig(ui::UserInterfaceIdiom i = ui::UserInterfaceIdiom::Phone) : idiom(i)
    {
        page.view()->resize(i == ui::UserInterfaceIdiom::Pad ? 704 : 320, 600);
        page.view()->show();
        page.reloadData();
    }
    ui::TableViewCell* cell(int section, int row)
    {
        return page.tableView()->cellForRowAtIndexPath({section, row});
    }
    bool marked(int section, int row)
    {
        ui::TableViewCell* c = cell(section, row);
        if (ui::Device::isPad()) {
            QWidget* tick = c->viewWithTag(AlarmTableController::kTickTag);
            return tick && !tick->isHidden();
        }
        return c->accessoryType() == ui::AccessoryType::Checkmark;
    }
    // Which rows of a section carry the mark.
    std::vector<int> marks(int section)
    {
        std::vector<int> rows;
        for (int r = 0; r < page.numberOfRowsInSection(page.tableView(), section); ++r)
            if (marked(section, r))
                rows.push_back(r);
        return rows;
    }
    void tap(int section, int row) { page.tableView()->tapRowAtIndexPath({section, row}); }
};

} // namespace

TEST(AlarmSettings, SectionsAndTitles)
{
    SettingsRig rig;
    ui::TableView* table = rig.page.tableView();
    EXPECT_EQ(rig.page.titleForHeaderInSection(table, 0), QStringLiteral("Alert Frequency"));
    EXPECT_EQ(rig.page.titleForHeaderInSection(table, 1), QStringLiteral("Alert Trigger"));
    const QStringList frequency{"Off", "Once", "Every minute", "Continuous"};
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(rig.cell(0, r)->textLabel()->text(), frequency[r]);
    EXPECT_EQ(rig.cell(1, 0)->textLabel()->text(), QStringLiteral("Battery State \"Charged\""));
    EXPECT_EQ(rig.cell(1, 1)->textLabel()->text(), QStringLiteral("Battery at 100%"));
    EXPECT_EQ(table->numberOfRowsInSection(0), 4);
    EXPECT_EQ(table->numberOfRowsInSection(1), 2);
}

TEST(AlarmSettings, AbsentKeysMarkOffAndTheStateTrigger)
{
    SettingsRig rig;
    EXPECT_EQ(rig.marks(0), std::vector<int>{0});
    EXPECT_EQ(rig.marks(1), std::vector<int>{0});
}

TEST(AlarmSettings, EachChoiceWritesItsKeyAndMovesTheMark)
{
    for (auto idiom : {ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad}) {
        SCOPED_TRACE(static_cast<int>(idiom));
        SettingsRig rig(idiom);
        for (int row : {2, 3, 1, 0}) {
            rig.tap(0, row);
            EXPECT_EQ(rig.store.storedInteger(kType), row);
            EXPECT_EQ(rig.marks(0), std::vector<int>{row});
        }
        rig.tap(1, 1);
        EXPECT_EQ(rig.store.storedInteger(kTrigger), 1);
        EXPECT_EQ(rig.marks(1), std::vector<int>{1});
        EXPECT_EQ(rig.marks(0), std::vector<int>{0}); // the other section keeps its mark
        rig.tap(1, 0);
        EXPECT_EQ(rig.store.storedInteger(kTrigger), 0);
        EXPECT_EQ(rig.marks(1), std::vector<int>{0});
        EXPECT_EQ(rig.page.tableView()->indexPathForSelectedRow(), std::nullopt);
    }
}

TEST(AlarmSettings, UnknownStoredValuesMarkNoRow)
{
    SettingsRig rig;
    rig.store.defaults.setInteger(7, kType);
    rig.store.defaults.setInteger(-1, kTrigger);
    rig.page.reloadData();
    EXPECT_TRUE(rig.marks(0).empty());
    EXPECT_TRUE(rig.marks(1).empty());
    EXPECT_EQ(AlarmTableController::frequencyTitle(7), std::nullopt);
    EXPECT_EQ(AlarmTableController::frequencyTitle(-1), std::nullopt);
}

TEST(AlarmSettings, OffAlwaysReleasesTheIdleInhibitor)
{
    for (auto state : {Battery::StateCharging, Battery::StateUnplugged, Battery::StateUnknown}) {
        SCOPED_TRACE(state);
        SettingsRig rig;
        rig.host.battery.st = state;
        rig.host.battery.lvl = 0.5f;
        rig.host.idle.disabled = true;
        rig.tap(0, 0);
        EXPECT_FALSE(rig.host.idle.disabled);
        EXPECT_EQ(rig.host.idle.calls, 1);
    }
}

TEST(AlarmSettings, OtherFrequenciesApplyTheIdleRule)
{
    struct Case {
        Battery::State state;
        float level;
        long long trigger;
        bool awake;
    };
    const Case cases[] = {
        {Battery::StateCharging, 0.5f, 0, true},   {Battery::StateCharging, 1.0f, 0, true},
        {Battery::StateCharging, 0.99f, 1, true},  {Battery::StateCharging, 1.0f, 1, false},
        {Battery::StateUnplugged, 0.5f, 0, false}, {Battery::StateFull, 1.0f, 0, false},
    };
    for (const Case& c : cases) {
        for (int row : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message()
                         << c.state << " " << c.level << " " << c.trigger << " row " << row);
            SettingsRig rig;
            rig.store.defaults.setInteger(c.trigger, kTrigger);
            rig.host.battery.st = c.state;
            rig.host.battery.lvl = c.level;
            rig.host.idle.disabled = !c.awake;
            rig.tap(0, row);
            EXPECT_EQ(rig.host.idle.disabled, c.awake);
            EXPECT_EQ(rig.host.idle.calls, 1);
        }
    }
}

TEST(AlarmSettings, ChoosingATriggerLeavesTheIdleTimerAlone)
{
    SettingsRig rig;
    rig.host.battery.st = Battery::StateCharging;
    rig.tap(1, 1);
    rig.tap(1, 0);
    EXPECT_EQ(rig.host.idle.calls, 0);
}

TEST(AlarmSettings, AnUnknownTypeLeavesTheWorkTimeRowTextAsItWas)
{
    SettingsRig rig;
    const DeviceFacts facts;
    BatteryTableController battery(
        BatteryTableController::Host{rig.host.battery, facts, rig.store.defaults}, rig.page);
    battery.view()->resize(320, 600);
    battery.view()->show();
    rig.tap(0, 2);
    battery.reloadData();
    ui::TableViewCell* alertRow = battery.tableView()->cellForRowAtIndexPath({1, 1});
    EXPECT_EQ(alertRow->detailTextLabel()->text(), QStringLiteral("Every minute"));

    rig.store.defaults.setInteger(12, kType);
    battery.reloadData();
    rig.page.reloadData();
    alertRow = battery.tableView()->cellForRowAtIndexPath({1, 1});
    EXPECT_EQ(alertRow->detailTextLabel()->text(), QStringLiteral("Every minute"));
    EXPECT_TRUE(rig.marks(0).empty());
}
