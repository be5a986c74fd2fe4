#pragma once

#include "screens/overview/OverviewLayout.h"
#include "screens/overview/OverviewSources.h"
#include "screens/common/ScreenController.h"

#include <chrono>
#include <memory>
#include <optional>

class QTimer;

namespace ui {
class NavigationController;
}

class BatteryTableController;
class DiskTableController;
class RouteTableController;
class ConnectionTableController;
class ExternalAddressLookup;

// The page that shows the Overview: battery, disk, CPU, load, uptime and
// network at a glance, refreshed every two seconds while visible. It also
// hears the battery notifications for the life of the application, for the
// full-charge alarm.
class FullChargeAlarm;

class GeneralTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{2000};

    explicit GeneralTableController(QObject* parent = nullptr);
    ~GeneralTableController() override;

    // Tests hand in private collectors before the first use; otherwise the
    // shared ones are taken when first needed.
    void setSources(OverviewSources sources);
    const OverviewSources& sources();

    void awakeFromNib() override;
    void viewDidLoad() override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // Refreshes the collectors, reloads the table and starts the timer.
    void reloadData() override;
    // One tick of the refresh timer: skipped while `scrolling`.
    void updateMethod();
    // The "Reload" button of the external-address row.
    void clickMe();

    // Copy-menu and battery notifications.
    void menuWillShow();
    void menuWillHide();
    void batteryLevelDidChange();
    void batteryStateDidChange();

    // Warms the renderer's gloss cache with every height and colour this
    // screen draws, so the first small-screen frame pays no gloss.
    void createTextures();

    // Stops the full-charge alarm if it is sounding.
    virtual void stopAudioPlayer();
    // The alarm this screen drives (tests hand in one with fakes).
    FullChargeAlarm& alarm();
    void setAlarm(std::unique_ptr<FullChargeAlarm> alarm);

    bool scrolling() const { return m_scrolling; }
    // The running refresh timer, or nullptr while stopped.
    QTimer* timer() const { return m_timer; }
    QString externalIP() const;
    bool loadingIP() const;
    ExternalAddressLookup& addressLookup() { return *m_lookup; }

    // Table data source and delegate.
    int numberOfSectionsInTableView(ui::TableView*) override;
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*,
                                                          ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    void scrollViewWillBeginDragging(ui::TableView*) override;
    void scrollViewDidEndDragging(ui::TableView*, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(ui::TableView*) override;

    // Outlets wired by the main window description.
    BatteryTableController* batteryController = nullptr;
    DiskTableController* diskController = nullptr;
    RouteTableController* routeController = nullptr;
    ConnectionTableController* connectionController = nullptr;
    ui::NavigationController* navigController = nullptr;

protected:
    // The full-charge alarm's check, run on battery events before the table
    // reloads.
    virtual void onBatteryStateChange();

private:
    OverviewLayout layout();
    bool demo();
    void refreshCollectors();
    void reloadTable();
    bool refillVisibleCells();
    void fillCell(ui::TableViewCell* cell, ui::IndexPath indexPath, bool created);
    void fillBattery(ui::TableViewCell* cell, bool created);
    void fillBatteryState(ui::TableViewCell* cell);
    void fillDisk(ui::TableViewCell* cell, bool created);
    void fillCpu(ui::TableViewCell* cell, bool created);
    void fillOnOff(ui::TableViewCell* cell, ui::IndexPath indexPath);
    QString valueText(ui::IndexPath indexPath);
    float diskTotal();
    float diskFree();

    std::optional<OverviewSources> m_sources;
    ExternalAddressLookup* m_lookup;
    QTimer* m_timer = nullptr;
    bool m_scrolling = false;
    std::unique_ptr<FullChargeAlarm> m_alarm;
};
