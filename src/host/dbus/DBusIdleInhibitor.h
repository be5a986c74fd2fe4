#pragma once

#include "host/IdleInhibitor.h"

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>

#include <optional>

// Inhibits idleness through the desktop's org.freedesktop.ScreenSaver on the
// session bus, else through logind's "idle:sleep" inhibitor lock on the
// system bus. Releases on request and when destroyed (at exit).
class DBusIdleInhibitor : public IdleInhibitor {
public:
    DBusIdleInhibitor();
    // For tests: private buses standing in for the session and system bus.
    DBusIdleInhibitor(QDBusConnection session, QDBusConnection system);
    ~DBusIdleInhibitor() override;

    void setIdleTimerDisabled(bool disabled) override;
    bool idleTimerDisabled() const override { return m_disabled; }

    // Which service holds the inhibition now (for diagnostics and tests).
    enum class Holder { None, ScreenSaver, Logind };
    Holder holder() const;

    // Short, so a hung service never freezes the window.
    static constexpr int kCallTimeoutMs = 1000;

private:
    bool inhibitScreenSaver();
    bool inhibitLogind();
    void release();

    QDBusConnection m_session;
    QDBusConnection m_system;
    bool m_disabled = false;
    std::optional<uint> m_cookie;
    QDBusUnixFileDescriptor m_lock;
};
