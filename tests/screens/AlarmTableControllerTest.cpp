#include "screens/battery/AlarmTableController.h"

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

TEST(AlarmSettings, EachChoiceWritesItsKeyAndMovesTheMark)
{
    for (auto idiom : {ui::UserInterfaceIdiom::Phone, ui::UserInterfaceIdiom::Pad}) {
        SCOPED_TRACE(static_cast<int>(idiom));
        SettingsRig rig(idiom);
        // Absent keys mark "Off" and the state trigger.
        EXPECT_EQ(rig.marks(0), std::vector<int>{0});
        EXPECT_EQ(rig.marks(1), std::vector<int>{0});
        for (int row : {2, 3, 1}) {
            rig.tap(0, row);
            EXPECT_EQ(rig.store.storedInteger(kType), row);
            EXPECT_EQ(rig.marks(0), std::vector<int>{row});
        }
        rig.tap(1, 1);
        EXPECT_EQ(rig.store.storedInteger(kTrigger), 1);
        EXPECT_EQ(rig.marks(1), std::vector<int>{1});
        EXPECT_EQ(rig.marks(0), std::vector<int>{1}); // the other section keeps its mark
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
    EXPECT_EQ(AlarmTableController::frequencyTitle(-1), std::nullopt);
}

// "Off" always lets the machine idle; another frequency applies the idle
// rule (awake while charging towards the trigger); a trigger leaves it alone.
TEST(AlarmSettings, FrequenciesApplyTheIdleRuleTriggersDoNot)
{
    struct Case {
        Battery::State state;
        float level;
        int row;
        bool awake;
    };
    for (const Case& c :
         {Case{Battery::StateCharging, 0.5f, 0, false}, Case{Battery::StateCharging, 0.5f, 2, true},
          Case{Battery::StateUnplugged, 0.5f, 1, false}}) {
        SettingsRig rig;
        rig.host.battery.st = c.state;
        rig.host.battery.lvl = c.level;
        rig.host.idle.disabled = !c.awake;
        rig.tap(0, c.row);
        EXPECT_EQ(rig.host.idle.disabled, c.awake) << c.row;
        EXPECT_EQ(rig.host.idle.calls, 1);
        rig.tap(1, 1);
        EXPECT_EQ(rig.host.idle.calls, 1);
    }
}
