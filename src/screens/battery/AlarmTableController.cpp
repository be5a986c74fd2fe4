#include "screens/battery/AlarmTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/CustomCell.h"
#include "host/settings/Defaults.h"
#include "screens/common/CellImageView.h"
#include "screens/common/SettingsRows.h"
#include "stats/DynamicStats.h"
#include "ui/Device.h"

#include <QLabel>

namespace {

const QString kAlertTypeKey = QStringLiteral("kAlertType");
const QString kAlertTriggerKey = QStringLiteral("kAlertTrigger");

const char* const kFrequencyTitles[] = {"Off", "Once", "Every minute", "Continuous"};
const char* const kTriggerTitles[] = {"Battery State \"Charged\"", "Battery at 100%"};
constexpr int kFrequencyRows = 4;
constexpr int kTriggerRows = 2;

} // namespace

AlarmTableController::AlarmTableController(Host host, QObject* parent)
    : ScreenController(QStringLiteral("Sound Alert"), ui::TableViewStyle::Grouped, parent),
      m_host(std::move(host))
{
}

std::optional<QString> AlarmTableController::frequencyTitle(long long alertType)
{
    if (alertType < 0 || alertType >= kFrequencyRows)
        return std::nullopt;
    return QString::fromLatin1(kFrequencyTitles[alertType]);
}

void AlarmTableController::reloadData()
{
    SettingsRows::clearSelection(tableView());
    ScreenController::reloadData();
}

int AlarmTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return section == 0 ? kFrequencyRows : section == 1 ? kTriggerRows : 0;
}

QString AlarmTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    if (section == 0)
        return QStringLiteral("Alert Frequency");
    if (section == 1)
        return QStringLiteral("Alert Trigger");
    return {};
}

ui::TableViewCell* AlarmTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                               ui::IndexPath indexPath)
{
    const QString id = QString::fromLatin1(cellid::kCellNormal);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell) {
        cell = new CustomCell(ui::CellStyle::Value1, id);
        SettingsRows::applyRowFonts(cell);
        if (ui::Device::isPad()) {
            // Every row carries the tick, shown only on the chosen one; as the
            // accessory it keeps to the row's right end at any width.
            auto* tick = new CellImageView(QStringLiteral("tick.png"));
            ui::TableViewCell::setTag(tick, kTickTag);
            cell->setAccessoryView(tick);
        }
    }
    Defaults& defaults = m_host.defaults;
    const bool frequency = indexPath.section == 0;
    const long long stored = defaults.integerForKey(frequency ? kAlertTypeKey : kAlertTriggerKey);
    cell->textLabel()->setText(QString::fromLatin1(frequency ? kFrequencyTitles[indexPath.row]
                                                             : kTriggerTitles[indexPath.row]));
    showCheck(stored == indexPath.row, cell);
    return cell;
}

void AlarmTableController::showCheck(bool check, ui::TableViewCell* cell)
{
    if (ui::Device::isPad()) {
        if (QWidget* tick = cell->viewWithTag(kTickTag))
            tick->setVisible(check);
        return;
    }
    cell->setAccessoryType(check ? ui::AccessoryType::Checkmark : ui::AccessoryType::None);
}

void AlarmTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    Defaults& defaults = m_host.defaults;
    if (indexPath.section == 0) {
        defaults.setInteger(indexPath.row, kAlertTypeKey);
        defaults.synchronize();
        // "Off" always lets the machine idle again; an alarm keeps it awake
        // while the battery can still reach the trigger.
        DynamicStats& stats = m_host.stats;
        stats.preventIdle(indexPath.row == 0 ? false : stats.shouldPreventIdle());
    } else if (indexPath.section == 1) {
        defaults.setInteger(indexPath.row, kAlertTriggerKey);
        defaults.synchronize();
    }
    reloadData();
}

bool AlarmTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}
