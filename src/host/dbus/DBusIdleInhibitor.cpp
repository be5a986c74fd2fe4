#include "host/dbus/DBusIdleInhibitor.h"

#include "host/dbus/ProbedBus.h"
#include "host/HostLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const char* const kAppName = "Welvane";
const char* const kReason = "Waiting for the battery to charge";

QDBusMessage screenSaverCall(const char* method)
{
    auto msg = QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                              "/org/freedesktop/ScreenSaver",
                                              "org.freedesktop.ScreenSaver", method);
    msg.setAutoStartService(false);
    return msg;
}
} // namespace

DBusIdleInhibitor::DBusIdleInhibitor() = default;

DBusIdleInhibitor::DBusIdleInhibitor(QDBusConnection session, QDBusConnection system)
    : m_session(std::move(session)), m_system(std::move(system)), m_probed(true)
{
}

DBusIdleInhibitor::~DBusIdleInhibitor()
{
    release();
}

DBusIdleInhibitor::Holder DBusIdleInhibitor::holder() const
{
    if (m_cookie)
        return Holder::ScreenSaver;
    if (m_lock.isValid())
        return Holder::Logind;
    return Holder::None;
}

bool DBusIdleInhibitor::pending() const
{
    return m_disabled && holder() == Holder::None && m_stage != Stage::Failed;
}

void DBusIdleInhibitor::setIdleTimerDisabled(bool disabled)
{
    m_disabled = disabled;
    if (!disabled) {
        release();
        return;
    }
    if (!m_probed) {
        // The buses are only probed once an inhibition is first wanted.
        m_probed = true;
        ProbedBus::whenReady(ProbedBus::Kind::Session, this, [this](const QDBusConnection& bus) {
            m_session = bus;
            pursue();
        });
        ProbedBus::whenReady(ProbedBus::Kind::System, this, [this](const QDBusConnection& bus) {
            m_system = bus;
            pursue();
        });
    }
    pursue();
}

void DBusIdleInhibitor::pursue()
{
    if (!m_disabled || m_waiting || holder() != Holder::None)
        return;
    if (m_stage == Stage::ScreenSaver) {
        if (!m_session)
            return; // the probe's answer calls again
        if (m_session->isConnected()) {
            inhibitScreenSaver();
            return;
        }
        m_stage = Stage::Logind;
    }
    if (m_stage == Stage::Logind) {
        if (!m_system)
            return;
        if (m_system->isConnected()) {
            inhibitLogind();
            return;
        }
        giveUp("no bus to ask");
    }
}

void DBusIdleInhibitor::inhibitScreenSaver()
{
    QDBusMessage msg = screenSaverCall("Inhibit");
    msg << QString(kAppName) << QString(kReason);
    m_waiting = true;
    auto* call = new QDBusPendingCallWatcher(m_session->asyncCall(msg, kCallTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &DBusIdleInhibitor::onScreenSaver);
}

void DBusIdleInhibitor::onScreenSaver(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_waiting = false;
    const QDBusPendingReply<uint> reply = *call;
    if (reply.isError()) {
        m_stage = m_disabled ? Stage::Logind : Stage::ScreenSaver;
        pursue();
        return;
    }
    if (m_disabled) {
        m_cookie = reply.value();
    } else {
        // Released while the request was out: give the cookie straight back.
        QDBusMessage undo = screenSaverCall("UnInhibit");
        undo << reply.value();
        m_session->send(undo);
    }
    Q_EMIT settled();
}

void DBusIdleInhibitor::inhibitLogind()
{
    auto msg = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                              "org.freedesktop.login1.Manager", "Inhibit");
    msg.setAutoStartService(false);
    msg << QString("idle:sleep") << QString(kAppName) << QString(kReason) << QString("block");
    m_waiting = true;
    auto* call = new QDBusPendingCallWatcher(m_system->asyncCall(msg, kCallTimeoutMs), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &DBusIdleInhibitor::onLogind);
}

void DBusIdleInhibitor::onLogind(QDBusPendingCallWatcher* call)
{
    call->deleteLater();
    m_waiting = false;
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *call;
    if (reply.isError() || !reply.value().isValid()) {
        giveUp(reply.isError() ? qPrintable(reply.error().message()) : "no lock descriptor");
        return;
    }
    // logind holds the lock for as long as this descriptor stays open; one
    // that arrives after a release is dropped, which closes it.
    if (m_disabled)
        m_lock = reply.value();
    Q_EMIT settled();
}

void DBusIdleInhibitor::giveUp(const char* why)
{
    m_stage = Stage::Failed;
    static bool logged = false;
    if (!logged)
        qCInfo(lcHost, "idleness not inhibited (neither the screen saver nor logind): %s", why);
    logged = true;
    Q_EMIT settled();
}

void DBusIdleInhibitor::release()
{
    if (m_cookie && m_session && m_session->isConnected()) {
        QDBusMessage msg = screenSaverCall("UnInhibit");
        msg << *m_cookie;
        m_session->send(msg); // no reply needed: nothing waits for it
    }
    m_cookie.reset();
    // Dropping the last copy closes the descriptor, which ends the lock.
    m_lock = QDBusUnixFileDescriptor();
    m_stage = Stage::ScreenSaver; // the next request tries both again
}
