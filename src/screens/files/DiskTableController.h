#pragma once

#include "host/MediaLibrary.h"
#include "screens/common/ScreenController.h"
#include "stats/MediaStats.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

struct DeviceFacts;

// The page that shows counts of the media library: nine rows that read
// "Loading..." until their count arrives from a pass on the long-job worker.
// Counts reach this page only on the UI thread and only from the newest
// pass; a partial count redraws the table only when the last full reload is
// more than half a second old.
class DiskTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr int32_t kNotCounted = -1;

    struct Host {
        MediaLibrary& library;
        // The music folder, asked on the UI thread as each pass starts.
        std::function<std::string()> musicFolder;
        // Whether this is the demonstration.
        const DeviceFacts& facts;
        std::function<double()> now; // calendar seconds, with fractions
        BackgroundWorker& worker;
    };

    explicit DiskTableController(Host host, QObject* parent = nullptr);
    ~DiskTableController() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    int numberOfSectionsInTableView(ui::TableView*) override { return 1; }
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // Shows every row as "Loading..." and starts a pass.
    void refreshStatisticsAsync();
    // Reloads unless the last full reload is at most half a second old.
    void conditionalReloadTable();
    // Reloads and restarts the half-second window.
    void reloadTable();

    int32_t number(MediaQuery query) const { return m_numbers[static_cast<int>(query)]; }
    double refreshDate() const { return m_refreshDate; }
    bool isLoading() const override;

private:
    void countArrived(int pass, MediaQuery query, int32_t value);

    Host m_host;
    std::array<int32_t, kMediaQueryCount> m_numbers;
    double m_refreshDate = 0;
    MediaStats m_stats; // last: stops and waits for its pass before the fields above go
};
