#include "screens/battery/BatteryTableController.h"

#include "drawing/CellIdentifiers.h"
#include "drawing/CustomCell.h"
#include "drawing/CustomDetailCell.h"
#include "host/Battery.h"
#include "host/settings/Defaults.h"
#include "screens/battery/AlarmTableController.h"
#include "screens/battery/WorkTime.h"
#include "screens/common/CellImageView.h"
#include "screens/common/SettingsRows.h"
#include "stats/DeviceFacts.h"
#include "ui/Device.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"
#include "ui/Slider.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

const QString kHealthKey = QStringLiteral("kHealthKey");
const QString kAlertTypeKey = QStringLiteral("kAlertType");
constexpr int kSliderTag = 1;
const QString kHealthTitle = QStringLiteral("Battery Health");

const char* const kWorkTimeTitles[BatteryTableController::kWorkTimeRows] = {
    "Standby", "Audio", "Video", "Internet Wi-Fi", "Internet 3G", "Talk"};

} // namespace

BatteryTableController::BatteryTableController(Host host, AlarmTableController& alarm,
                                               QObject* parent)
    : ScreenController(QStringLiteral("Work Time"), ui::TableViewStyle::Grouped, parent),
      m_host(host), m_alarm(alarm)
{
    connect(&m_host.battery, &Battery::levelChanged, this,
            &BatteryTableController::batteryLevelDidChange);
}

BatteryTableController::~BatteryTableController() = default;

void BatteryTableController::awakeFromNib()
{
    m_label = nullptr;
}

void BatteryTableController::viewDidLoad()
{
    // Repaired in memory only: reading a page never writes the settings, so
    // a broken file is not moved aside before the user changes something.
    m_sliderValue = WorkTime::repairedHealth(m_host.defaults.integerForKey(kHealthKey));
    if (ui::Device::isPad())
        navigationItem()->setHidesBackButton(true);
}

void BatteryTableController::reloadData()
{
    // The row that pushed the alarm settings is not kept chosen.
    SettingsRows::clearSelection(tableView());
    ScreenController::reloadData();
}

void BatteryTableController::batteryLevelDidChange()
{
    reloadData();
}

int BatteryTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return section == 0 ? kWorkTimeRows : section == 1 ? 2 : 0;
}

QString BatteryTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    if (section == 0)
        return QStringLiteral("Estimated Work Time");
    if (section == 1)
        return QStringLiteral("Settings");
    return {};
}

double BatteryTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    if (ui::Device::isPad())
        return 44;
    return indexPath.section == 0 ? 30 : 40;
}

std::optional<ui::IndexPath>
BatteryTableController::willSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    if (indexPath == ui::IndexPath{1, 1})
        return indexPath;
    return std::nullopt;
}

void BatteryTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath)
{
    // Whichever stack the page is on: the Overview's tab or the detail pane.
    if (ui::NavigationController* nav = navigationController())
        nav->pushViewController(&m_alarm, true);
}

bool BatteryTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

ui::TableViewCell* BatteryTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                 ui::IndexPath indexPath)
{
    if (indexPath.section == 0)
        return workTimeCell(tableView, indexPath.row);
    if (indexPath.row == 0)
        return sliderCell(tableView);
    return alertCell(tableView);
}

ui::TableViewCell* BatteryTableController::workTimeCell(ui::TableView* tableView, int row)
{
    const QString id = QString::fromLatin1(cellid::kCellNormal);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell) {
        cell = new CustomCell(ui::CellStyle::Value1, id);
        SettingsRows::applyRowFonts(cell);
        cell->setSelectionStyle(ui::SelectionStyle::None);
    }
    const DeviceFacts& f = m_host.facts;
    const double rated[kWorkTimeRows] = {f.battery_life_standby,     f.battery_life_audio,
                                         f.battery_life_video,       f.battery_life_browsing_wifi,
                                         f.battery_life_browsing_3g, f.battery_life_talk};
    const auto charge = WorkTime::charge(m_host.battery.level(), f.simulator);
    cell->textLabel()->setText(QString::fromLatin1(kWorkTimeTitles[row]));
    cell->detailTextLabel()->setText(WorkTime::text(rated[row], m_sliderValue, charge));
    return cell;
}

QSlider* BatteryTableController::makeSlider(ui::TableViewCell* cell)
{
    auto* slider = new ui::Slider(Qt::Horizontal, cell);
    slider->setAccessibleName(kHealthTitle);
    slider->setRange(static_cast<int>(WorkTime::kMinHealth),
                     static_cast<int>(WorkTime::kMaxHealth));
    slider->setTracking(true);
    // The frame as the handheld platform measured it from the row's left end;
    // our grouped cells begin at the group's inset (10, or 45 on wide tables).
    const bool pad = ui::Device::isPad();
    const int inset = pad ? 45 : 10;
    const int x = (pad ? 300 : 117) - inset;
    const int width = pad ? 300 : 130;
    // Our fonts run wider than the platform's: the title must not slide under
    // the slider, so its left end gives way (title at the cell's margin of 10,
    // moved 10 more on large screens).
    const int titleEnd =
        10 + (pad ? 10 : 0) + cell->textLabel()->fontMetrics().horizontalAdvance(kHealthTitle) + 8;
    const int left = std::max(x, titleEnd);
    slider->setGeometry(left, 0, std::max(40, width - (left - x)), 40);
    ui::TableViewCell::setTag(slider, kSliderTag);
    connect(slider, &QSlider::valueChanged, this, [this, slider](int value) {
        sliderAction(value);
        // Keys and clicks beside the handle move it without a press and
        // release of the handle: they count as a release at once.
        if (!slider->isSliderDown())
            sliderReleased(value);
    });
    connect(slider, &QSlider::sliderReleased, this,
            [this, slider] { sliderReleased(slider->value()); });
    return slider;
}

ui::TableViewCell* BatteryTableController::sliderCell(ui::TableView* tableView)
{
    const QString id = QString::fromLatin1(cellid::kCellSlider);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell) {
        cell = new CustomCell(ui::CellStyle::Value1, id);
        SettingsRows::applyRowFonts(cell);
        cell->setSelectionStyle(ui::SelectionStyle::None);
        makeSlider(cell);
        m_label = cell->detailTextLabel();
    }
    cell->textLabel()->setText(kHealthTitle);
    cell->detailTextLabel()->setText(QString::asprintf("%d%%", static_cast<int>(m_sliderValue)));
    if (auto* slider = qobject_cast<QSlider*>(cell->viewWithTag(kSliderTag))) {
        const QSignalBlocker quiet(slider); // setting it is not the user moving it
        slider->setValue(static_cast<int>(m_sliderValue));
    }
    return cell;
}

ui::TableViewCell* BatteryTableController::alertCell(ui::TableView* tableView)
{
    const QString id = QString::fromLatin1(cellid::kCellSwitch);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell) {
        cell = new CustomDetailCell(ui::CellStyle::Value1, id);
        SettingsRows::applyRowFonts(cell);
        // The arrow rides as the accessory, so it keeps to the row's right
        // end and the detail text keeps clear of it at any window width.
        if (ui::Device::isPad())
            cell->setAccessoryView(new CellImageView(QStringLiteral("arrow.png")));
        else
            cell->setAccessoryType(ui::AccessoryType::DisclosureIndicator);
    }
    cell->textLabel()->setText(QStringLiteral("Full Charge Sound Alert"));
    // An unknown type leaves whatever the reused cell showed.
    if (const auto text =
            AlarmTableController::frequencyTitle(m_host.defaults.integerForKey(kAlertTypeKey)))
        cell->detailTextLabel()->setText(*text);
    return cell;
}

void BatteryTableController::sliderAction(double value)
{
    if (!m_label)
        return;
    m_label->setText(QString::asprintf("%d%%", static_cast<int>(std::lround(value))));
    // "100%" is wider than "99%": let the cell size the label again.
    for (QWidget* w = m_label; w; w = w->parentWidget())
        if (auto* cell = qobject_cast<ui::TableViewCell*>(w)) {
            cell->layoutSubviews();
            break;
        }
}

void BatteryTableController::sliderReleased(double value)
{
    m_sliderValue = static_cast<uint32_t>(std::lround(value));
    Defaults& defaults = m_host.defaults;
    defaults.setInteger(m_sliderValue, kHealthKey);
    defaults.synchronize();
    reloadData();
}
