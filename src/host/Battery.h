#pragma once

// The battery as the alarm and the screens see it: a level from 0 to 1 and
// one of four states. Changes are posted through NotificationCenter under
// the two names below while monitoring is on.
class Battery {
public:
    enum State { StateUnknown = 0, StateUnplugged = 1, StateCharging = 2, StateFull = 3 };

    static constexpr const char* kLevelDidChangeNotification = "BatteryLevelDidChangeNotification";
    static constexpr const char* kStateDidChangeNotification = "BatteryStateDidChangeNotification";

    virtual ~Battery() = default;

    // 0.0 to 1.0; -1.0 when the machine has no battery.
    virtual float level() = 0;
    virtual State state() = 0;
    // Starts or stops watching for changes (and so the notifications).
    virtual void setMonitoringEnabled(bool enabled) = 0;
    virtual bool monitoringEnabled() const = 0;
};
