#include "screens/overview/GeneralTableController.h"

#include "drawing/BarChartView.h"
#include "drawing/CustomCell.h"
#include "drawing/OnOffView.h"
#include "drawing/Palette.h"
#include "host/Battery.h"
#include "host/NotificationCenter.h"
#include "host/settings/Defaults.h"
#include "screens/battery/BatteryTableController.h"
#include "screens/battery/FullChargeAlarm.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/ExternalAddressLookup.h"
#include "screens/overview/OverviewCellFactory.h"
#include "screens/overview/OverviewFormat.h"
#include "screens/overview/StartupSnapshots.h"
#include "screens/routes/RouteTableController.h"
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

constexpr float kDemoDiskTotal = 59.1f;
constexpr float kDemoDiskFree = 21.3f;

void setText(ui::TableViewCell* cell, int tag, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(cell->viewWithTag(tag)))
        label->setText(text);
}

void drawBar(ui::TableViewCell* cell, int tag, const std::vector<BarChartItem>& items)
{
    auto* bar = qobject_cast<BarChartView*>(cell->viewWithTag(tag));
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
    if (!bar->image().isNull() && bar->property("chartKey").toByteArray() == key)
        return;
    bar->setProperty("chartKey", key);
    bar->clearItems();
    for (const BarChartItem& item : items)
        bar->addItemValue(item.value(), item.color());
    bar->drawImage();
    bar->update();
}

void setLamp(ui::TableViewCell* cell, const OverviewFormat::Lamped& value)
{
    setText(cell, Factory::kLampText, value.text);
    auto* lamp = qobject_cast<OnOffView*>(cell->viewWithTag(Factory::kLamp));
    if (lamp && lamp->color() != value.lamp)
        lamp->setColor(value.lamp);
}
} // namespace

GeneralTableController::GeneralTableController(QObject* parent)
    : ScreenController(QStringLiteral("Overview"), ui::TableViewStyle::Grouped, parent),
      m_lookup(new ExternalAddressLookup(this))
{
    connect(m_lookup, &ExternalAddressLookup::externalIPChanged, this,
            &GeneralTableController::reloadTable);
}

GeneralTableController::~GeneralTableController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void GeneralTableController::setSources(OverviewSources sources)
{
    m_sources = std::move(sources);
}

const OverviewSources& GeneralTableController::sources()
{
    if (!m_sources)
        m_sources = OverviewSources::shared();
    return *m_sources;
}

bool GeneralTableController::demo()
{
    return sources().staticStats->simulator();
}

OverviewLayout GeneralTableController::layout()
{
    const OverviewSources& s = sources();
    return OverviewLayout(ui::Device::isPad(),
                          s.staticStats->has3g() && s.semiDynamicStats->providesCarrierInfo());
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
    const OverviewSources& s = sources();
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(this, Battery::kLevelDidChangeNotification,
                       [this](const std::string&, const void*) { batteryLevelDidChange(); });
    center.addObserver(this, Battery::kStateDidChangeNotification,
                       [this](const std::string&, const void*) { batteryStateDidChange(); });
    center.addObserver(this, ui::MenuController::WillHideMenuNotification,
                       [this](const std::string&, const void*) { menuWillHide(); });
    center.addObserver(this, ui::MenuController::WillShowMenuNotification,
                       [this](const std::string&, const void*) { menuWillShow(); });
    if (!ui::Device::isPad())
        createTextures();
    s.battery->setMonitoringEnabled(true);
}

void GeneralTableController::viewDidLoad()
{
    ScreenController::viewDidLoad();
    const OverviewSources& s = sources();
    // The gateway row shows the start-up route snapshot until the routing
    // page refreshes; it is taken after the first paint, off this thread.
    auto* snapshots =
        new StartupSnapshots(tableView()->viewport(), s.routeStats, s.connectionStats, this);
    connect(snapshots, &StartupSnapshots::finished, this, &GeneralTableController::reloadTable);
    s.battery->setMonitoringEnabled(true);
    m_scrolling = false;
    navigationItem()->setHidesBackButton(true);
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
    const OverviewSources& s = sources();
    s.semiDynamicStats->refreshTotalDiskSpaceSync();
    s.semiDynamicStats->refreshCarrierInfoSync();
    s.semiDynamicStats->refreshAddressesSync();
    s.dynamicStats->refreshLoadavgSync();
    s.dynamicStats->refreshLoadInfoSync();
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
            if (ui::TableViewCell* cell = table->cellForRowAtIndexPath({s, r}))
                fillCell(cell, {s, r}, false);
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
    const Defaults& defaults = Defaults::standardUserDefaults();
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

FullChargeAlarm& GeneralTableController::alarm()
{
    if (!m_alarm)
        m_alarm = std::make_unique<FullChargeAlarm>();
    return *m_alarm;
}

void GeneralTableController::setAlarm(std::unique_ptr<FullChargeAlarm> alarm)
{
    m_alarm = std::move(alarm);
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
    return layout().rowHeight(indexPath);
}

std::optional<ui::IndexPath> GeneralTableController::willSelectRowAtIndexPath(ui::TableView*,
                                                                              ui::IndexPath p)
{
    if (!layout().isSelectable(p))
        return std::nullopt;
    return p;
}

void GeneralTableController::didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath p)
{
    ui::ViewController* next = nullptr;
    if (p.section == OverviewLayout::Battery && p.row == 2)
        next = batteryController;
    else if (p.section == OverviewLayout::Disk && p.row == 2)
        next = diskController;
    else if (p.section == OverviewLayout::Connections && p.row == 2)
        next = connectionController;
    else if (p.section == OverviewLayout::Connections && p.row == 3)
        next = routeController;
    // The stack this page is on, which is the outlet's on small screens.
    ui::NavigationController* nav =
        navigationController() ? navigationController() : navigController;
    if (next && nav)
        nav->pushViewController(next, true);
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
    const Kind kind = OverviewLayout::kind(indexPath);
    ui::TableViewCell* cell =
        tableView->dequeueReusableCell(QString::fromLatin1(OverviewLayout::reuseIdentifier(kind)));
    const bool created = cell == nullptr;
    if (created)
        cell = Factory::create(kind, [this] { clickMe(); });
    cell->textLabel()->setText(OverviewLayout::labelText(indexPath));
    fillCell(cell, indexPath, created);
    return cell;
}

void GeneralTableController::fillCell(ui::TableViewCell* cell, ui::IndexPath p, bool created)
{
    switch (OverviewLayout::kind(p)) {
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
        fillOnOff(cell, p);
        break;
    case Kind::ExternalIp:
        setText(cell, Factory::kExternalIp, m_lookup->externalIP());
        break;
    case Kind::Normal:
        setText(cell, Factory::kValue, valueText(p));
        break;
    case Kind::Details:
        break;
    }
}

void GeneralTableController::fillBattery(ui::TableViewCell* cell, bool created)
{
    const long charge = sources().dynamicStats->getCharge();
    Factory::setChargeText(cell, OverviewFormat::chargeText(charge));
    // A reused chart keeps its picture while the user drags or copies.
    if (!created && m_scrolling)
        return;
    drawBar(cell, Factory::kBatteryBar, OverviewFormat::batteryItems(charge));
}

void GeneralTableController::fillOnOff(ui::TableViewCell* cell, ui::IndexPath p)
{
    const SemiDynamicStats& semi = *sources().semiDynamicStats;
    if (p.section == OverviewLayout::Battery)
        fillBatteryState(cell);
    else if (p.section == OverviewLayout::Wifi)
        setLamp(cell, OverviewFormat::yesNo(semi.wifiConnected()));
    else if (p.row == 0)
        setLamp(cell, OverviewFormat::yesNo(semi.cellConnected()));
    else
        setLamp(cell, OverviewFormat::yesNo(semi.allowsVOIP()));
}

void GeneralTableController::fillBatteryState(ui::TableViewCell* cell)
{
    const Battery::State state = demo() ? Battery::StateUnplugged : sources().battery->state();
    setLamp(cell, OverviewFormat::batteryState(state));
}

float GeneralTableController::diskTotal()
{
    return demo() ? kDemoDiskTotal : OverviewFormat::gigabytes(sources().semiDynamicStats->size());
}

float GeneralTableController::diskFree()
{
    return demo() ? kDemoDiskFree
                  : OverviewFormat::gigabytes(sources().semiDynamicStats->freeSize());
}

void GeneralTableController::fillDisk(ui::TableViewCell* cell, bool created)
{
    const OverviewFormat::DiskFigures disk = OverviewFormat::disk(diskTotal(), diskFree());
    Factory::legendValueOfCell(cell, disk.used, disk.usedShare, Factory::kDiskUsed,
                               Factory::kDiskUsedShare);
    Factory::legendValueOfCell(cell, disk.free, disk.freeShare, Factory::kDiskFree,
                               Factory::kDiskFreeShare);
    if (!created && m_scrolling)
        return;
    drawBar(cell, Factory::kDiskBar, OverviewFormat::diskItems(disk));
}

void GeneralTableController::fillCpu(ui::TableViewCell* cell, bool created)
{
    const DynamicStats& d = *sources().dynamicStats;
    const uint32_t user = d.ticks_user(), system = d.ticks_system(), idle = d.ticks_idle();
    const uint32_t total = d.ticks_total();
    const OverviewFormat::CpuShares shares = OverviewFormat::cpuShares(user, system, idle, total);
    Factory::legendValueOfCell(cell, shares.user, Factory::kCpuUser);
    Factory::legendValueOfCell(cell, shares.system, Factory::kCpuSystem);
    Factory::legendValueOfCell(cell, shares.idle, Factory::kCpuIdle);
    if (!created && m_scrolling)
        return;
    drawBar(cell, Factory::kCpuBar, OverviewFormat::cpuItems(user, system, idle, total));
}

QString GeneralTableController::valueText(ui::IndexPath p)
{
    const OverviewSources& s = sources();
    const SemiDynamicStats& semi = *s.semiDynamicStats;
    const std::optional<uint64_t> boot = s.staticStats->boottime();
    switch (p.section * 10 + p.row) {
    case 11:
        return OverviewFormat::gigabytesText(diskTotal());
    case 21:
        return OverviewFormat::loadText(s.dynamicStats->avg1(), s.dynamicStats->avg5(),
                                        s.dynamicStats->avg15());
    case 30:
        if (!boot)
            return QStringLiteral("N/A");
        return QLocale().toString(QDateTime::fromSecsSinceEpoch(static_cast<qint64>(*boot)),
                                  QLocale::ShortFormat);
    case 31:
        if (!boot)
            return QStringLiteral("N/A");
        return OverviewFormat::uptimeText(
            OverviewFormat::uptimeSeconds(static_cast<double>(*boot), s.now()));
    case 41:
        return QString::fromStdString(s.routeStats->default_gateway());
    case 51:
        return semi.wifiMac();
    case 52:
        return semi.wifiIp();
    case 61:
        return semi.cellIp();
    case 62:
        return semi.carrierName();
    case 63:
        return OverviewFormat::codeText(semi.isoCountryCode());
    case 64:
        return OverviewFormat::codePairText(semi.mobileCountryCode(), semi.mobileNetworkCode());
    default:
        return {};
    }
}
