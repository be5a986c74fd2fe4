#pragma once

#include "screens/common/ScreenController.h"
#include "screens/overview/OverviewLayout.h"
#include "screens/overview/OverviewSources.h"

#include <chrono>
#include <optional>

class QTimer;

class ExternalAddressLookup;
class FullChargeAlarm;
class OverviewCell;

// The page that shows the Overview: battery, disk, CPU, load, uptime and
// network at a glance, refreshed every two seconds while visible. It also
// hears the battery's changes for its whole life, for the full-charge alarm.
class GeneralTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{2000};

    // The pages the small screen's detail rows push.
    struct Pages {
        ui::ViewController& workTime;
        ui::ViewController& files;
        ui::ViewController& connections;
        ui::ViewController& routes;
    };

    GeneralTableController(OverviewSources sources, Pages pages, QObject* parent = nullptr);
    ~GeneralTableController() override;

    const OverviewSources& sources() const { return m_sources; }

    void awakeFromNib() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // Refreshes the collectors, reloads the table and starts the timer.
    void reloadData() override;
    // One tick of the refresh timer: skipped while `scrolling`.
    void updateMethod();
    // The "Reload" button of the external-address row.
    void clickMe();

    // Copy-menu and battery signals.
    void menuWillShow();
    void menuWillHide();
    void batteryLevelDidChange();
    void batteryStateDidChange();

    // Warms the renderer's gloss cache with every height and colour this
    // screen draws, so the first small-screen frame pays no gloss.
    void createTextures();

    // Stops the full-charge alarm if it is sounding.
    virtual void stopAudioPlayer();
    FullChargeAlarm& alarm() { return m_sources.alarm; }

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

protected:
    // The full-charge alarm's check, run on battery changes before the table
    // reloads.
    virtual void onBatteryStateChange();

private:
    OverviewLayout layout();
    bool demo();
    void refreshCollectors();
    void reloadTable();
    bool refillVisibleCells();
    void fillCell(OverviewCell* cell, OverviewLayout::Row row, bool created);
    void fillBattery(OverviewCell* cell, bool created);
    void fillDisk(OverviewCell* cell, bool created);
    void fillCpu(OverviewCell* cell, bool created);
    void fillOnOff(OverviewCell* cell, OverviewLayout::Row row);
    QString valueText(OverviewLayout::Row row);
    float diskTotal();
    float diskFree();

    OverviewSources m_sources;
    Pages m_pages;
    ExternalAddressLookup* m_lookup;
    QTimer* m_timer = nullptr;
    bool m_scrolling = false;
};
