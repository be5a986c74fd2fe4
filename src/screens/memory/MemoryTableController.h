#pragma once

#include "screens/common/ScreenController.h"
#include "screens/memory/FreeMemoryRun.h"
#include "screens/memory/MemoryFormat.h"
#include "stats/JobGroup.h"

#include <chrono>
#include <stop_token>

class DynamicStats;
class StaticStats;
class QTimer;
namespace ui {
class BarButtonItem;
}

// The page that shows the division of physical memory and the paging
// counters, refreshed every two seconds while visible, with the "Free"
// action that pushes the kernel to reclaim memory.
class MemoryTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{2000};

    struct Host {
        DynamicStats& dynamicStats;
        // physmem, pagesize and demo mode.
        const StaticStats& staticStats;
        // The run's memory, waits and clock; empty members take the
        // machine's (mapped memory, a real wait, the steady clock).
        FreeMemoryRun::Host run = {};
    };

    // The figures of the latest measure of a free-memory run, in MB.
    struct FreeFigures {
        float active = 0, inactive = 0, wired = 0, free = 0;
    };

    explicit MemoryTableController(Host host, QObject* parent = nullptr);
    // Stops a run still going and waits for it.
    ~MemoryTableController() override;

    void awakeFromNib() override;
    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // Refreshes the counters, reloads the table and starts the timer.
    void reloadData() override;
    // One tick of the refresh timer: skipped while `scrolling`.
    void updateMethod();

    // The "Free" button: starts a run unless one is going.
    void freeMemory();
    // Measures for the run (main thread): the four free* figures.
    void updateMemory();
    // Blocks until the run's thread is done and delivers its figures and
    // its end (tests, benchmarks).
    void waitForFreeRun();

    bool freeing() const { return m_freeing; }
    bool scrolling() const { return m_scrolling; }
    QTimer* timer() const { return m_timer; }
    const FreeFigures& freeFigures() const { return m_free; }
    ui::BarButtonItem* freeButton() const { return m_freeButton; }
    // How the last run ended.
    FreeMemoryRun::Result lastRun() const { return m_lastRun; }
    // The figures the graph shows now.
    MemoryFormat::Figures figures() const;

    int numberOfSectionsInTableView(ui::TableView*) override { return 6; }
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, ui::IndexPath) override
    {
        return std::nullopt;
    }
    void scrollViewWillBeginDragging(ui::TableView*) override;
    void scrollViewDidEndDragging(ui::TableView*, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ui::TableView*) override;

Q_SIGNALS:
    // A run ended (its figures are delivered and `freeing` is NO).
    void freeRunFinished();

private:
    FreeFigures measure() const;
    FreeMemoryRun::Host runHost();
    void runFinished(FreeMemoryRun::Result result);
    void showRunFigures();
    void refillVisibleCells();
    QString valueText(ui::IndexPath indexPath) const;

    Host m_host;
    QTimer* m_timer = nullptr;
    ui::BarButtonItem* m_freeButton;
    bool m_scrolling = false;
    bool m_freeing = false;
    FreeFigures m_free;
    FreeMemoryRun::Result m_lastRun;
    std::stop_source m_stop;
    JobGroup m_jobs; // last: its destructor waits for the run that uses the fields above
};
