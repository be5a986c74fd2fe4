#pragma once

#include <QObject>

// The battery as the alarm and the screens see it: a level from 0 to 1 and
// one of four states. While monitoring is on, changes arrive as the two
// signals below; a receiver's connection ends when either side is destroyed.
class Battery : public QObject {
    Q_OBJECT
public:
    enum State { StateUnknown = 0, StateUnplugged = 1, StateCharging = 2, StateFull = 3 };

    ~Battery() override = default;

    // 0.0 to 1.0; -1.0 when the machine has no battery.
    virtual float level() = 0;
    virtual State state() = 0;
    // Starts or stops watching for changes (and so the signals).
    virtual void setMonitoringEnabled(bool enabled) = 0;
    virtual bool monitoringEnabled() const = 0;

Q_SIGNALS:
    void levelChanged();
    void stateChanged();
};
