#pragma once

#include "screens/common/ScreenController.h"

#include <QLabel>
#include <QPointer>

#include <array>
#include <cstdint>

class AlarmTableController;
class Battery;
class Defaults;
struct DeviceFacts;
class QSlider;

// The page that shows estimated battery work time, battery health and the alarm setting.
class BatteryTableController : public ScreenController {
    Q_OBJECT
public:
    static constexpr int kWorkTimeRows = 6;

    struct Host {
        Battery& battery;
        // The rated battery life and whether this is the demonstration.
        const DeviceFacts& facts;
        Defaults& defaults;
    };

    // alarm is the page the alert row pushes.
    BatteryTableController(Host host, AlarmTableController& alarm, QObject* parent = nullptr);
    ~BatteryTableController() override;

    void awakeFromNib() override;
    void viewDidLoad() override;
    void reloadData() override;
    void batteryLevelDidChange();

    int numberOfSectionsInTableView(ui::TableView*) override { return 2; }
    int numberOfRowsInSection(ui::TableView*, int section) override;
    QString titleForHeaderInSection(ui::TableView*, int section) override;
    ui::TableViewCell* cellForRowAtIndexPath(ui::TableView* tableView,
                                             ui::IndexPath indexPath) override;
    double heightForRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    std::optional<ui::IndexPath> willSelectRowAtIndexPath(ui::TableView*,
                                                          ui::IndexPath indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView*, ui::IndexPath indexPath) override;
    bool shouldAutorotateToInterfaceOrientation(ui::InterfaceOrientation) const override;

    // The health slider while it moves: only its label follows.
    void sliderAction(double value);
    // The health slider let go: store the health and recompute the rows.
    void sliderReleased(double value);

    uint32_t slider_value() const { return m_sliderValue; }
    // The slider row's detail label, once that row has been shown.
    QLabel* label() const { return m_label; }

private:
    ui::TableViewCell* workTimeCell(ui::TableView* tableView, int row);
    ui::TableViewCell* sliderCell(ui::TableView* tableView);
    ui::TableViewCell* alertCell(ui::TableView* tableView);
    QSlider* makeSlider(ui::TableViewCell* cell);

    Host m_host;
    AlarmTableController& m_alarm;
    uint32_t m_sliderValue = 100;
    QPointer<QLabel> m_label;
};
