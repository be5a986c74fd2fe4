#pragma once

#include "host/IdleInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

#include <optional>

class QDBusPendingCallWatcher;

// Inhibits idleness through the desktop's org.freedesktop.ScreenSaver on the
// session bus, else through logind's "idle:sleep" inhibitor lock on the
// system bus. Every call is asynchronous: the buses are probed first (see
// ProbedBus), the inhibition is held once its reply arrives, and a missing or
// silent service leaves the machine uninhibited, logged once. Releases on
// request and when destroyed. Lives on, and is called from, the main thread.
class DBusIdleInhibitor : public QObject, public IdleInhibitor {
    Q_OBJECT
public:
    // The real buses, probed on the first request.
    DBusIdleInhibitor();
    // For tests: private buses standing in for the session and system bus.
    DBusIdleInhibitor(QDBusConnection session, QDBusConnection system);
    ~DBusIdleInhibitor() override;

    void setIdleTimerDisabled(bool disabled) override;
    bool idleTimerDisabled() const override { return m_disabled; }

    // Which service holds the inhibition now (for diagnostics and tests).
    enum class Holder { None, ScreenSaver, Logind };
    Holder holder() const;
    // Whether a request is still waiting for a bus or a reply.
    bool pending() const;

    // Short, so a hung service gives up soon; the window never waits for it.
    static constexpr int kCallTimeoutMs = 1000;

Q_SIGNALS:
    // The holder changed, or a request gave up.
    void settled();

private:
    enum class Stage { ScreenSaver, Logind, Failed };

    void pursue();
    void inhibitScreenSaver();
    void inhibitLogind();
    void onScreenSaver(QDBusPendingCallWatcher* call);
    void onLogind(QDBusPendingCallWatcher* call);
    void giveUp(const char* why);
    void release();

    std::optional<QDBusConnection> m_session; // unknown until probed
    std::optional<QDBusConnection> m_system;
    bool m_probed = false;
    bool m_disabled = false;
    bool m_waiting = false; // an Inhibit call is out
    Stage m_stage = Stage::ScreenSaver;
    std::optional<uint> m_cookie;
    QDBusUnixFileDescriptor m_lock;
};
