#include "screens/files/DiskTableController.h"

#include "drawing/CellIdentifiers.h"
#include "screens/common/ValueRowCell.h"
#include "stats/DeviceFacts.h"
#include "ui/Device.h"
#include "ui/NavigationItem.h"

#include <QLabel>

#include <algorithm>

namespace {

const char* const kTitles[kMediaQueryCount] = {"Songs",    "Albums",     "Artists",
                                               "Podcasts", "Audiobooks", "Composers",
                                               "Genres",   "Playlists",  "Compilations"};
const int32_t kDemoNumbers[kMediaQueryCount] = {3704, 424, 138, 0, 0, 0, 19, 4, 0};

} // namespace

DiskTableController::DiskTableController(Host host, QObject* parent)
    : ScreenController(QStringLiteral("File Statistics"), ui::TableViewStyle::Grouped, parent),
      m_host(std::move(host)), m_stats(m_host.library, m_host.worker)
{
    m_numbers.fill(kNotCounted);
}

DiskTableController::~DiskTableController() = default;

void DiskTableController::viewDidLoad()
{
    m_numbers.fill(kNotCounted);
    m_refreshDate = m_host.now();
    if (ui::Device::isPad())
        navigationItem()->setHidesBackButton(true);
}

void DiskTableController::viewWillAppear(bool animated)
{
    // Not the plain reload of other pages: every appearance counts anew.
    ui::TableViewController::viewWillAppear(animated);
    refreshStatisticsAsync();
}

void DiskTableController::refreshStatisticsAsync()
{
    m_numbers.fill(kNotCounted);
    tableView()->reloadData();
    // The worker hands each count over as a queued call: the numbers are
    // written on this thread only.
    m_stats.refreshMediaStatsAsync(
        m_host.musicFolder(), [this](int pass, MediaQuery query, int32_t value) {
            QMetaObject::invokeMethod(
                this, [=, this] { countArrived(pass, query, value); }, Qt::QueuedConnection);
        });
}

void DiskTableController::countArrived(int pass, MediaQuery query, int32_t value)
{
    if (pass != m_stats.pass())
        return; // a superseded pass leaves no trace
    m_numbers[static_cast<int>(query)] = value;
    if (static_cast<int>(query) == kMediaQueryCount - 1)
        reloadTable();
    else
        conditionalReloadTable();
}

void DiskTableController::conditionalReloadTable()
{
    if (m_host.now() - m_refreshDate > 0.5)
        tableView()->reloadData();
}

void DiskTableController::reloadTable()
{
    tableView()->reloadData();
    m_refreshDate = m_host.now();
}

bool DiskTableController::isLoading() const
{
    return !m_host.facts.simulator && m_numbers.back() == kNotCounted && m_stats.pass() > 0;
}

int DiskTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return section == 0 ? kMediaQueryCount : 0;
}

QString DiskTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    return section == 0 ? QStringLiteral("File Statistics") : QString();
}

double DiskTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath)
{
    return ui::Device::isPad() ? 44 : 30;
}

bool DiskTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

ui::TableViewCell* DiskTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                              ui::IndexPath indexPath)
{
    const QString id = QString::fromLatin1(cellid::kCellNormal);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell)
        cell = ValueRowCell::create(id);
    const int row = std::clamp(indexPath.row, 0, kMediaQueryCount - 1);
    const int32_t value = m_host.facts.simulator ? kDemoNumbers[row] : m_numbers[row];
    cell->textLabel()->setText(QString::fromLatin1(kTitles[row]));
    cell->detailTextLabel()->setText(value == kNotCounted ? QStringLiteral("Loading...")
                                                          : QString::asprintf("%d", value));
    return cell;
}
