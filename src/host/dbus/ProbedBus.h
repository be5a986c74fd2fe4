#pragma once

#include <QDBusConnection>
#include <QObject>

#include <functional>

// The system and session bus, each probed once per process on a background
// thread (BusProbe) and handed to QtDBus only when it answered. A bus that is
// missing or silent stays absent for the life of the process, logged once.
class ProbedBus {
public:
    enum class Kind { System, Session };

    // Calls `ready` later on `context`'s thread (queued, never from inside this
    // call) with the bus, or with a disconnected connection when the bus is
    // absent. Dropped if `context` is gone by then. `context` must live on the
    // main thread; this may be called from any thread.
    static void whenReady(Kind kind, QObject* context, std::function<void(QDBusConnection)> ready);

    // Qt's own users of the session bus (accessibility, desktop themes) open
    // it on the main thread and would hang for ever on a bus that never
    // answers. Call once before the QGuiApplication is made: probes the
    // session bus (at most the probe's limit) and, when it did not answer,
    // points DBUS_SESSION_BUS_ADDRESS at nothing so they fail at once. The
    // result is kept: whenReady() does not probe again.
    static void screenSessionBusForQt();
};
