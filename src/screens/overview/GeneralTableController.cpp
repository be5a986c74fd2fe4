#include "screens/overview/GeneralTableController.h"

#include "drawing/BarChartView.h"
#include "drawing/OnOffView.h"
#include "drawing/Palette.h"
#include "host/Battery.h"
#include "host/settings/Defaults.h"
#include "screens/battery/FullChargeAlarm.h"
#include "screens/common/SettingsRows.h"
#include "screens/overview/ExternalAddressLookup.h"
#include "screens/overview/OverviewCell.h"
#include "screens/overview/OverviewCellFactory.h"
#include "screens/overview/OverviewFormat.h"
#include "screens/overview/StartupSnapshots.h"
#include "stats/ConnectionStats.h"
#include "stats/DynamicStats.h"
#include "stats/RouteStats.h"
#include "stats/SemiDynamicStats.h"
#include "stats/StaticStats.h"
#include "ui/Device.h"
#include "ui/MenuController.h"
#include "ui/NavigationController.h"
#include "ui/NavigationItem.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

namespace {
using Factory = OverviewCellFactory;
using Kind = OverviewLayout::Kind;
using Row = OverviewLayout::Row;

constexpr float kDemoDiskTotal = 59.1f;
constexpr float kDemoDiskFree = 21.3f;

void drawBar(OverviewCell* cell, const std::vector<BarChartItem>& items)
{
    BarChartView* bar = cell->bar;
    if (!bar)
        return;
    // Most ticks leave the battery and disk bars as they were: keep the
    // picture instead of rendering and repainting the same one.
    QByteArray key;
    for (const BarChartItem& item : items) {
        const float value = item.value();
        const QRgb rgb = item.color().rgba();
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
        key.append(reinterpret_cast<const char*>(&rgb), sizeof rgb);
    }
    if (!bar->image().isNull() && cell->chartKey == key)
        return;
    cell->chartKey = key;
    bar->clearItems();
    for (const BarChartItem& item : items)
        bar->addItemValue(item.value(), item.color());
    bar->drawImage();
    bar->update();
}

void setValue(OverviewCell* cell, const QString& text)
{
    if (cell->value)
        cell->value->setText(text);
}

void setLamp(OverviewCell* cell, const OverviewFormat::Lamped& value)
{
    setValue(cell, value.text);
    if (cell->lamp && cell->lamp->color() != value.lamp)
        cell->lamp->setColor(value.lamp);
}
} // namespace

GeneralTableController::GeneralTableController(OverviewSources sources, Pages pages,
                                               QObject* parent)
    : ScreenController(QStringLiteral("Overview"), ui::TableViewStyle::Grouped, parent),
      m_sources(std::move(sources)), m_pages(pages),
      m_lookup(new ExternalAddressLookup(m_sources.defaults, this))
{
    connect(m_lookup, &ExternalAddressLookup::externalIPChanged, this,
            &GeneralTableController::reloadTable);
    // Heard for the whole life of the page (the alarm needs them while it is
    // off screen); each connection ends with whichever side goes first.
    connect(&m_sources.battery, &Battery::levelChanged, this,
            &GeneralTableController::batteryLevelDidChange);
    connect(&m_sources.battery, &Battery::stateChanged, this,
            &GeneralTableController::batteryStateDidChange);
    ui::MenuController& menu = ui::MenuController::sharedMenuController();
    connect(&menu, &ui::MenuController::menuWillShow, this, &GeneralTableController::menuWillShow);
    connect(&menu, &ui::MenuController::menuWillHide, this, &GeneralTableController::menuWillHide);
}

GeneralTableController::~GeneralTableController() = default;

bool GeneralTableController::demo()
{
    return m_sources.staticStats.simulator();
}

OverviewLayout GeneralTableController::layout()
{
    return OverviewLayout(ui::Device::isPad(),
                          m_sources.staticStats.has3g() &&
                              m_sources.semiDynamicStats.providesCarrierInfo());
}

QString GeneralTableController::externalIP() const
{
    return m_lookup->externalIP();
}

bool GeneralTableController::loadingIP() const
{
    return m_lookup->loadingIP();
}

void GeneralTableController::awakeFromNib()
{
    if (!ui::Device::isPad())
        createTextures();
    m_sources.battery.setMonitoringEnabled(true);
}

void GeneralTableController::viewDidLoad()
{
    ScreenController::viewDidLoad();
    // The gateway row shows the start-up route snapshot until the routing
    // page refreshes; it is taken after the first paint, off this thread.
    auto* snapshots = new StartupSnapshots(tableView()->viewport(), &m_sources.routeStats,
                                           &m_sources.connectionStats, this);
    connect(snapshots, &StartupSnapshots::finished, this, &GeneralTableController::reloadTable);
    m_sources.battery.setMonitoringEnabled(true);
    m_scrolling = false;
    navigationItem()->setHidesBackButton(true);
}

void GeneralTableController::viewWillAppear(bool animated)
{
    // Back from a page a disclosure row opened: that row lets go, as the
    // other table screens' rows do.
    SettingsRows::clearSelection(tableView());
    ScreenController::viewWillAppear(animated);
}

void GeneralTableController::viewWillDisappear(bool animated)
{
    ScreenController::viewWillDisappear(animated);
    delete m_timer;
    m_timer = nullptr;
}

bool GeneralTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

void GeneralTableController::refreshCollectors()
{
    SemiDynamicStats& semi = m_sources.semiDynamicStats;
    semi.refreshTotalDiskSpaceSync();
    semi.refreshCarrierInfoSync();
    semi.refreshAddressesSync();
    m_sources.dynamicStats.refreshLoadavgSync();
    m_sources.dynamicStats.refreshLoadInfoSync();
}

void GeneralTableController::reloadTable()
{
    if (isViewLoaded())
        tableView()->reloadData();
}

void GeneralTableController::reloadData()
{
    m_scrolling = false;
    refreshCollectors();
    tableView()->reloadData();
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setInterval(kRefreshInterval);
        connect(m_timer, &QTimer::timeout, this, &GeneralTableController::updateMethod);
        m_timer->start();
    }
}

void GeneralTableController::updateMethod()
{
    if (m_scrolling)
        return;
    refreshCollectors();
    if (!refillVisibleCells())
        tableView()->reloadData();
}

bool GeneralTableController::refillVisibleCells()
{
    // A full reload hides and shows every cell, so the whole table would be
    // painted again every two seconds; filling the visible cells in place
    // repaints only the labels and bars whose values changed. When the rows
    // themselves change (a carrier appears), reload.
    ui::TableView* table = tableView();
    const OverviewLayout rows = layout();
    if (table->numberOfSections() != rows.numberOfSections())
        return false;
    for (int s = 0; s < rows.numberOfSections(); ++s)
        if (table->numberOfRowsInSection(s) != rows.numberOfRows(s))
            return false;
    for (int s = 0; s < rows.numberOfSections(); ++s)
        for (int r = 0; r < rows.numberOfRows(s); ++r)
            if (auto* cell = qobject_cast<OverviewCell*>(table->cellForRowAtIndexPath({s, r})))
                fillCell(cell, *rows.row({s, r}), false);
    return true;
}

void GeneralTableController::clickMe()
{
    m_lookup->clickMe(demo());
}

void GeneralTableController::menuWillShow()
{
    m_scrolling = true;
}

void GeneralTableController::menuWillHide()
{
    m_scrolling = false;
}

void GeneralTableController::batteryLevelDidChange()
{
    const Defaults& defaults = m_sources.defaults;
    if (defaults.integerForKey(QStringLiteral("kAlertType")) != 0 &&
        defaults.integerForKey(QStringLiteral("kAlertTrigger")) == 1)
        onBatteryStateChange();
    reloadTable();
}

void GeneralTableController::batteryStateDidChange()
{
    onBatteryStateChange();
    reloadTable();
}

void GeneralTableController::onBatteryStateChange()
{
    alarm().onBatteryStateChange();
}

void GeneralTableController::stopAudioPlayer()
{
    alarm().stopAudioPlayer();
}

void GeneralTableController::createTextures()
{
    struct Texture {
        QRect frame;
        float radius;
        std::vector<BarChartItem> items;
    };
    using namespace palette;
    const Texture textures[] = {
        {{10, 10, 185, 60}, 5.0f, {{0.2f, kGreen}, {0.2f, kRed}, {0.6f, kLightGrey}}},
        {{10, 10, 280, 20},
         5.0f,
         {{0.2f, kAmber}, {0.2f, kLightGrey}, {0.2f, kRed}, {0.4f, kGreen}}},
        {{10, 10, 10, 10},
         3.0f,
         {{0.2f, kAmber}, {0.2f, kRed}, {0.2f, kLightGrey}, {0.2f, kGreen}}},
    };
    for (const Texture& t : textures) {
        BarChartView view(t.frame, t.radius);
        for (const BarChartItem& item : t.items)
            view.addItemValue(item.value(), item.color());
        view.drawImage();
    }
}

int GeneralTableController::numberOfSectionsInTableView(ui::TableView*)
{
    return layout().numberOfSections();
}

int GeneralTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return layout().numberOfRows(section);
}

QString GeneralTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    return OverviewLayout::sectionTitle(section);
}

double GeneralTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath)
{
    const OverviewLayout rows = layout();
    const std::optional<Row> row = rows.row(indexPath);
    return row ? rows.rowHeight(*row) : 0.0;
}

std::optional<ui::IndexPath> GeneralTableController::willSelectRowAtIndexPath(ui::TableView*,
                                                                              ui::IndexPath p)
{
    const OverviewLayout rows = layout();
    const std::optional<Row> row = rows.row(p);
    if (!row || !rows.isSelectable(*row))
        return std::nullopt;
    return p;
}

void GeneralTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath p)
{
    const std::optional<Row> row = layout().row(p);
    ui::ViewController* next = nullptr;
    if (row == Row::WorkTime)
        next = &m_pages.workTime;
    else if (row == Row::FileStatistics)
        next = &m_pages.files;
    else if (row == Row::ConnectionList)
        next = &m_pages.connections;
    else if (row == Row::RoutingTable)
        next = &m_pages.routes;
    if (next && navigationController())
        navigationController()->pushViewController(next, true);
}

void GeneralTableController::scrollViewWillBeginDragging(ui::TableView*)
{
    m_scrolling = true;
}

void GeneralTableController::scrollViewDidEndDragging(ui::TableView*, bool willDecelerate)
{
    if (!willDecelerate)
        m_scrolling = false;
}

void GeneralTableController::scrollViewDidEndDecelerating(ui::TableView*)
{
    m_scrolling = false;
}

ui::TableViewCell* GeneralTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                 ui::IndexPath indexPath)
{
    const Row row = layout().row(indexPath).value_or(Row::BootTime);
    const Kind kind = OverviewLayout::kind(row);
    auto* cell = qobject_cast<OverviewCell*>(
        tableView->dequeueReusableCell(QString::fromLatin1(OverviewLayout::reuseIdentifier(kind))));
    const bool created = cell == nullptr;
    if (created)
        cell = Factory::create(kind, [this] { clickMe(); });
    cell->textLabel()->setText(OverviewLayout::labelText(row));
    fillCell(cell, row, created);
    return cell;
}

void GeneralTableController::fillCell(OverviewCell* cell, Row row, bool created)
{
    switch (OverviewLayout::kind(row)) {
    case Kind::BatteryGraph:
        fillBattery(cell, created);
        break;
    case Kind::DiskGraph:
        fillDisk(cell, created);
        break;
    case Kind::CpuGraph:
        fillCpu(cell, created);
        break;
    case Kind::OnOffGraph:
        fillOnOff(cell, row);
        break;
    case Kind::ExternalIp:
        setValue(cell, m_lookup->externalIP());
        break;
    case Kind::Normal:
        setValue(cell, valueText(row));
        break;
    case Kind::Details:
        break;
    }
}

void GeneralTableController::fillBattery(OverviewCell* cell, bool created)
{
    const long charge = m_sources.dynamicStats.getCharge();
    Factory::setChargeText(cell, OverviewFormat::chargeText(charge));
    // A reused chart keeps its picture while the user drags or copies; a
    // new one has none yet and is drawn whatever the flag says.
    if (!created && m_scrolling)
        return;
    drawBar(cell, OverviewFormat::batteryItems(charge));
}

void GeneralTableController::fillOnOff(OverviewCell* cell, Row row)
{
    const SemiDynamicStats& semi = m_sources.semiDynamicStats;
    switch (row) {
    case Row::BatteryState:
        setLamp(cell, OverviewFormat::batteryState(demo() ? Battery::StateUnplugged
                                                          : m_sources.battery.state()));
        break;
    case Row::WifiConnected:
        setLamp(cell, OverviewFormat::yesNo(semi.wifiConnected()));
        break;
    case Row::CellConnected:
        setLamp(cell, OverviewFormat::yesNo(semi.cellConnected()));
        break;
    case Row::VoipSupport:
        setLamp(cell, OverviewFormat::yesNo(semi.allowsVOIP()));
        break;
    default:
        break;
    }
}

float GeneralTableController::diskTotal()
{
    return demo() ? kDemoDiskTotal : OverviewFormat::gigabytes(m_sources.semiDynamicStats.size());
}

float GeneralTableController::diskFree()
{
    return demo() ? kDemoDiskFree
                  : OverviewFormat::gigabytes(m_sources.semiDynamicStats.freeSize());
}

void GeneralTableController::fillDisk(OverviewCell* cell, bool created)
{
    const OverviewFormat::DiskFigures disk = OverviewFormat::disk(diskTotal(), diskFree());
    Factory::setGigabytes(cell->used, disk.used);
    Factory::setPercent(cell->usedShare, disk.usedShare);
    Factory::setGigabytes(cell->free, disk.free);
    Factory::setPercent(cell->freeShare, disk.freeShare);
    if (!created && m_scrolling)
        return;
    drawBar(cell, OverviewFormat::diskItems(disk));
}

void GeneralTableController::fillCpu(OverviewCell* cell, bool created)
{
    const DynamicStats& d = m_sources.dynamicStats;
    const uint32_t user = d.ticks_user(), system = d.ticks_system(), idle = d.ticks_idle();
    const uint32_t total = d.ticks_total();
    const OverviewFormat::CpuShares shares = OverviewFormat::cpuShares(user, system, idle, total);
    Factory::setPercent(cell->cpuUser, shares.user);
    Factory::setPercent(cell->cpuSystem, shares.system);
    Factory::setPercent(cell->cpuIdle, shares.idle);
    if (!created && m_scrolling)
        return;
    drawBar(cell, OverviewFormat::cpuItems(user, system, idle, total));
}

QString GeneralTableController::valueText(Row row)
{
    const OverviewSources& s = m_sources;
    const SemiDynamicStats& semi = s.semiDynamicStats;
    const DynamicStats& d = s.dynamicStats;
    const std::optional<uint64_t> boot = s.staticStats.boottime();
    switch (row) {
    case Row::TotalDiskSpace:
        return OverviewFormat::gigabytesText(diskTotal());
    case Row::AverageLoad:
        return OverviewFormat::loadText(d.avg1(), d.avg5(), d.avg15());
    case Row::BootTime:
        if (!boot)
            return QStringLiteral("N/A");
        return QLocale().toString(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(*boot)),
                                  QLocale::ShortFormat);
    case Row::Uptime:
        if (!boot)
            return QStringLiteral("N/A");
        return OverviewFormat::uptimeText(
            OverviewFormat::uptimeSeconds(static_cast<double>(*boot), s.now()));
    case Row::DefaultGateway:
        return QString::fromStdString(s.routeStats.default_gateway());
    case Row::WifiMac:
        return semi.wifiMac();
    case Row::WifiIp:
        return semi.wifiIp();
    case Row::CellIp:
        return semi.cellIp();
    case Row::CarrierName:
        return semi.carrierName();
    case Row::CountryCode:
        return OverviewFormat::codeText(semi.isoCountryCode());
    case Row::MccMnc:
        return OverviewFormat::codePairText(semi.mobileCountryCode(), semi.mobileNetworkCode());
    default:
        return {};
    }
}
