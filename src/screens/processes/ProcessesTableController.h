#pragma once

#include "screens/common/ListScreenController.h"
#include "stats/ProcessStats.h"

#include <memory>

// The page that shows running processes grouped by user.
class ProcessesTableController : public ListScreenController {
    Q_OBJECT
public:
    explicit ProcessesTableController(ProcessStats& stats, QObject* parent = nullptr);

    int numberOfSectionsInTableView(ui::TableView*) override;
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;

protected:
    void startSnapshot() override;
    std::shared_ptr<const void> takeSnapshot() override;
    bool hidesBackButton() const override { return true; }

private:
    ProcessStats& m_stats;
    std::shared_ptr<const ProcessStats::Snapshot> m_snapshot;
};
