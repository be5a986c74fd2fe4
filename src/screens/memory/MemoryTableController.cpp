#include "screens/memory/MemoryTableController.h"

#include "drawing/CellIdentifiers.h"
#include "host/system/AnonymousMemory.h"
#include "screens/common/ValueRowCell.h"
#include "screens/memory/MemoryGraphCell.h"
#include "screens/ScreensLog.h"
#include "stats/DynamicStats.h"
#include "stats/StaticStats.h"
#include "ui/BarButtonItem.h"
#include "ui/Device.h"
#include "ui/NavigationItem.h"
#include "ui/TableView.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

#include <condition_variable>
#include <mutex>

namespace {

struct SectionInfo {
    const char* title;
    int rows;
};
constexpr SectionInfo kSections[] = {
    {"Memory Usage", 3},           {"Page In/Out Statistics", 2}, {"Page Fault Statistics", 2},
    {"Page Lookup Statistics", 2}, {"Page Purge Statistics", 2},  {"Other Page Statistics", 3},
};
// Row labels by section; the graph row has none.
constexpr const char* kLabels[6][3] = {
    {"", "Total Memory", "Page Size"}, {"Page Ins", "Page Outs", ""},
    {"Faults", "COW Faults", ""},      {"Lookups", "Hits", ""},
    {"Purgable Count", "Purges", ""},  {"Zero Filled", "Reactivated", "Speculative Read"},
};

bool isGraph(ui::IndexPath p)
{
    return p.section == 0 && p.row == 0;
}

bool waitOrStop(std::chrono::milliseconds duration, std::stop_token stop)
{
    std::mutex mutex;
    std::condition_variable_any wake;
    std::unique_lock lock(mutex);
    wake.wait_for(lock, stop, duration, [] { return false; });
    return !stop.stop_requested();
}

} // namespace

MemoryTableController::MemoryTableController(Host host, QObject* parent)
    : ScreenController(QStringLiteral("Memory"), ui::TableViewStyle::Grouped, parent),
      m_host(std::move(host)), m_freeButton(new ui::BarButtonItem(
                                   QStringLiteral("Free"), [this] { freeMemory(); }, this)),
      m_jobs(BackgroundWorker::longJobs())
{
    navigationItem()->setRightBarButtonItem(m_freeButton);
}

MemoryTableController::~MemoryTableController()
{
    m_stop.request_stop();
    m_jobs.wait();
}

void MemoryTableController::awakeFromNib()
{
    delete m_timer;
    m_timer = nullptr;
    m_freeing = false;
}

void MemoryTableController::viewDidLoad()
{
    ScreenController::viewDidLoad();
    m_scrolling = false;
    navigationItem()->setHidesBackButton(true);
}

void MemoryTableController::viewWillDisappear(bool animated)
{
    ScreenController::viewWillDisappear(animated);
    delete m_timer;
    m_timer = nullptr;
}

bool MemoryTableController::shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const
{
    return ui::Device::isPad();
}

void MemoryTableController::reloadData()
{
    m_scrolling = false;
    m_host.dynamicStats.refreshMemInfoSync();
    tableView()->reloadData();
    // Also when called while hidden: the timer then runs until the page
    // next disappears.
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setInterval(kRefreshInterval);
        connect(m_timer, &QTimer::timeout, this, &MemoryTableController::updateMethod);
        m_timer->start();
    }
}

void MemoryTableController::updateMethod()
{
    if (m_scrolling)
        return;
    m_host.dynamicStats.refreshMemInfoSync();
    refillVisibleCells();
}

void MemoryTableController::refillVisibleCells()
{
    // The rows never change: filling the visible cells in place repaints
    // only the texts and the bar that moved, where a reload would lay out
    // and paint the whole table every two seconds.
    ui::TableView* table = tableView();
    for (int s = 0; s < 6; ++s)
        for (int r = 0; r < kSections[s].rows; ++r) {
            ui::TableViewCell* cell = table->cellForRowAtIndexPath({s, r});
            if (!cell)
                continue;
            if (auto* graph = qobject_cast<MemoryGraphCell*>(cell))
                graph->setFigures(figures(), true);
            else if (QLabel* detail = cell->detailTextLabel()) {
                const QString text = valueText({s, r});
                if (detail->text() != text)
                    detail->setText(text);
            }
        }
}

MemoryFormat::Figures MemoryTableController::figures() const
{
    const StaticStats& st = m_host.staticStats;
    const float total =
        static_cast<float>(static_cast<double>(st.physmem().value_or(0)) / 1048576.0);
    if (m_freeing)
        return MemoryFormat::figures(total, m_free.active, m_free.inactive, m_free.wired,
                                     m_free.free);
    const FreeFigures now = measure();
    return MemoryFormat::figures(total, now.active, now.inactive, now.wired, now.free);
}

MemoryTableController::FreeFigures MemoryTableController::measure() const
{
    const auto snap = m_host.dynamicStats.snapshot();
    const uint64_t page = m_host.staticStats.pagesize();
    return {MemoryFormat::megabytes(snap->pages_active, page),
            MemoryFormat::megabytes(snap->pages_inactive, page),
            MemoryFormat::megabytes(snap->pages_wired, page),
            MemoryFormat::megabytes(snap->pages_free, page)};
}

void MemoryTableController::updateMemory()
{
    m_host.dynamicStats.refreshMemInfoSync();
    m_free = measure();
}

FreeMemoryRun::Host MemoryTableController::runHost()
{
    FreeMemoryRun::Host h = m_host.run;
    if (!h.allocate)
        h.allocate = &AnonymousMemory::allocate;
    if (!h.release)
        h.release = &AnonymousMemory::release;
    if (!h.sleep)
        h.sleep = &waitOrStop;
    if (!h.now)
        h.now = [] { return std::chrono::steady_clock::now(); };
    if (m_host.staticStats.simulator()) {
        DynamicStats& stats = m_host.dynamicStats;
        h.fakeFree = [&stats](uint64_t pages) { stats.fakeFreeMemory(static_cast<long>(pages)); };
    }
    // On the run's thread: the collector publishes whole snapshots, so it
    // refreshes here, and the figures go to the page on its own thread.
    h.measure = [this] {
        m_host.dynamicStats.refreshMemInfoSync();
        const FreeFigures f = measure();
        QMetaObject::invokeMethod(
            this,
            [this, f] {
                m_free = f;
                showRunFigures();
            },
            Qt::QueuedConnection);
        return static_cast<double>(f.free);
    };
    return h;
}

void MemoryTableController::freeMemory()
{
    if (m_freeing)
        return;
    m_freeing = true;
    m_freeButton->setEnabled(false);
    updateMemory();
    const uint64_t page = m_host.staticStats.pagesize();
    const FreeMemoryRun::Plan plan =
        FreeMemoryRun::plan(m_host.staticStats.physmem().value_or(0), page);
    const double freeMB = m_free.free;
    m_jobs.post([this, plan, page, freeMB, host = runHost(), stop = m_stop.get_token()] {
        const FreeMemoryRun::Result result = FreeMemoryRun::run(plan, page, freeMB, host, stop);
        QMetaObject::invokeMethod(
            this, [this, result] { runFinished(result); }, Qt::QueuedConnection);
    });
}

void MemoryTableController::runFinished(FreeMemoryRun::Result result)
{
    m_lastRun = result;
    if (result.end == FreeMemoryRun::End::AllocationFailed)
        qCInfo(lcScreens) << "free-memory run ended: the buffer could not be allocated";
    m_freeing = false;
    m_freeButton->setEnabled(true);
    showRunFigures();
    Q_EMIT freeRunFinished();
}

void MemoryTableController::showRunFigures()
{
    // Each measure shows at once on a page on screen, not at the next tick.
    if (m_timer && isViewLoaded() && !m_scrolling)
        refillVisibleCells();
}

void MemoryTableController::waitForFreeRun()
{
    m_jobs.wait();
    QCoreApplication::sendPostedEvents(this);
}

int MemoryTableController::numberOfRowsInSection(ui::TableView*, int section)
{
    return section >= 0 && section < 6 ? kSections[section].rows : 0;
}

QString MemoryTableController::titleForHeaderInSection(ui::TableView*, int section)
{
    return section >= 0 && section < 6 ? QString::fromLatin1(kSections[section].title) : QString();
}

double MemoryTableController::heightForRowAtIndexPath(ui::TableView*, ui::IndexPath p)
{
    const bool pad = ui::Device::isPad();
    if (isGraph(p))
        return pad ? 214.0 : 170.0;
    return pad ? 44.0 : 30.0;
}

QString MemoryTableController::valueText(ui::IndexPath p) const
{
    const DynamicStats& d = m_host.dynamicStats;
    const StaticStats& st = m_host.staticStats;
    switch (p.section * 3 + p.row) {
    case 1:
        return MemoryFormat::totalText(st.physmem());
    case 2:
        return MemoryFormat::pageSizeText(st.pagesize());
    case 3:
        return MemoryFormat::counterText(d.pageins());
    case 4:
        return MemoryFormat::counterText(d.pageouts());
    case 6:
        return MemoryFormat::counterText(d.faults());
    case 7:
        return MemoryFormat::counterText(d.cow_faults());
    case 9:
        return MemoryFormat::counterText(d.lookups());
    case 10:
        return MemoryFormat::counterText(d.hits());
    case 12:
        return MemoryFormat::counterText(d.purgeable_count());
    case 13:
        return MemoryFormat::counterText(d.purges());
    case 15:
        return MemoryFormat::counterText(d.zero_fill_count());
    case 16:
        return MemoryFormat::counterText(d.reactivations());
    case 17:
        return MemoryFormat::counterText(d.speculative_count());
    default:
        return {};
    }
}

ui::TableViewCell* MemoryTableController::cellForRowAtIndexPath(ui::TableView* tableView,
                                                                ui::IndexPath p)
{
    if (isGraph(p)) {
        auto* cell = qobject_cast<MemoryGraphCell*>(
            tableView->dequeueReusableCell(QString::fromLatin1(cellid::kMemoryCellMemoryGraph)));
        const bool created = cell == nullptr;
        if (created)
            cell = new MemoryGraphCell;
        // A reused bar keeps its picture while the user drags.
        cell->setFigures(figures(), created || !m_scrolling);
        return cell;
    }
    const QString id = QString::fromLatin1(cellid::kMemoryCellNormal);
    ui::TableViewCell* cell = tableView->dequeueReusableCell(id);
    if (!cell)
        cell = ValueRowCell::create(id);
    const int s = std::clamp(p.section, 0, 5), r = std::clamp(p.row, 0, 2);
    cell->textLabel()->setText(QString::fromLatin1(kLabels[s][r]));
    cell->detailTextLabel()->setText(valueText(p));
    return cell;
}

void MemoryTableController::scrollViewWillBeginDragging(ui::TableView*)
{
    m_scrolling = true;
}

void MemoryTableController::scrollViewDidEndDragging(ui::TableView*, bool willDecelerate)
{
    if (!willDecelerate)
        m_scrolling = false;
}

void MemoryTableController::scrollViewDidEndDecelerating(ui::TableView*)
{
    m_scrolling = false;
}
