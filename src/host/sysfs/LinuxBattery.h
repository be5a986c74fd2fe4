#pragma once

#include "host/Battery.h"
#include "host/sysfs/PowerSupply.h"

#include <QTimer>

#include <string>

// Battery over sysfs. Level and state are read fresh on every question; while
// monitoring is on a 2-second poll emits the level and state signals (main
// thread) when a value differs from the previous poll.
class LinuxBattery : public Battery {
    Q_OBJECT
public:
    explicit LinuxBattery(std::string root = "/");

    float level() override;
    State state() override;
    void setMonitoringEnabled(bool enabled) override;
    bool monitoringEnabled() const override { return m_timer.isActive(); }

    // One poll step: reads the supplies and emits what changed. The timer
    // calls it; tests call it directly.
    void poll();

    static constexpr int kPollMilliseconds = 2000;

private:
    std::string m_root;
    QTimer m_timer;
    PowerSupplyReading m_last;
};
