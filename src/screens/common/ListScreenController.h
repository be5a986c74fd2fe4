#pragma once

#include "screens/common/ScreenController.h"
#include "ui/BarButtonItem.h"

#include <memory>
#include <optional>

// A list page (processes, routes, connections): a plain table of one row
// per record with a "Refresh" bar button. The snapshot is taken on the
// snapshot worker, so a list of 100 000 rows never stalls the window; the
// table keeps showing the last snapshot until the new one is in, and a
// reload while one runs starts no second one.
class ListScreenController : public ScreenController {
    Q_OBJECT
public:
    ListScreenController(const QString& title, QObject* parent = nullptr);

    void viewDidLoad() override;
    // Starts a new snapshot unless one runs; the table reloads when it is in.
    void reloadData() override;
    // The Refresh button: the same as reloadData.
    void clickMe();

    bool isSnapshotPending() const { return m_pending; }
    // `--dump` and `--screenshot` wait while a snapshot runs.
    bool isLoading() const override { return m_pending; }
    ui::BarButtonItem* refreshButton() const { return m_refresh; }

    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*, ui::IndexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath) override {}
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

Q_SIGNALS:
    // The table shows a new snapshot.
    void snapshotShown();

protected:
    // Queues the collector's refresh on the snapshot worker.
    virtual void startSnapshot() = 0;
    // Takes the collector's current snapshot as the one the table shows and
    // hands back the one it showed before.
    virtual std::shared_ptr<const void> takeSnapshot() = 0;
    // Whether the back button is hidden on this layout.
    virtual bool hidesBackButton() const;

private:
    void snapshotDone();
    static void retire(std::shared_ptr<const void> snapshot);

    ui::BarButtonItem* m_refresh;
    bool m_pending = false;
    bool m_shownOnce = false;
};
