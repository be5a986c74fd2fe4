#pragma once

#include "screens/common/ListScreenController.h"
#include "stats/RouteStats.h"

#include <memory>

// The page that shows the kernel routing table by address family.
class RouteTableController : public ListScreenController {
    Q_OBJECT
public:
    // The texts of one row, "N/A" for a number the kernel did not give.
    struct RowTexts {
        QString destination, gateway, flags, interface, refs, use, expire, mtu;
    };
    // The one place that reads a route's texts out of a snapshot.
    static RowTexts rowTexts(const RouteStats::Snapshot& snapshot, int section, int row);

    explicit RouteTableController(RouteStats& stats, QObject* parent = nullptr);

    int numberOfSectionsInTableView(ui::TableView*) override;
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;

protected:
    void startSnapshot() override;
    std::shared_ptr<const void> takeSnapshot() override;

private:
    RouteStats& m_stats;
    std::shared_ptr<const RouteStats::Snapshot> m_snapshot;
};
