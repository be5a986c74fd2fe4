#pragma once

#include "screens/common/ListScreenController.h"
#include "stats/ConnectionStats.h"

#include <memory>

// The page that shows open TCP and UDP endpoints by protocol.
class ConnectionTableController : public ListScreenController {
    Q_OBJECT
public:
    // The texts of one row; the state is "N/A" for a socket without one.
    struct RowTexts {
        QString localAddress, localPort, remoteAddress, remotePort, state;
    };
    // The one place that reads a socket's texts out of a snapshot.
    static RowTexts rowTexts(const ConnectionStats::Snapshot& snapshot, int section, int row);

    explicit ConnectionTableController(ConnectionStats& stats, QObject* parent = nullptr);

    int numberOfSectionsInTableView(ui::TableView*) override;
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;

protected:
    void startSnapshot() override;
    std::shared_ptr<const void> takeSnapshot() override;

private:
    ConnectionStats& m_stats;
    std::shared_ptr<const ConnectionStats::Snapshot> m_snapshot;
};
