#include "host/dbus/DBusIdleInhibitor.h"

#include <QDBusMessage>

namespace {
const char* const kAppName = "Welvane";
const char* const kReason = "Waiting for the battery to charge";
} // namespace

DBusIdleInhibitor::DBusIdleInhibitor()
    : DBusIdleInhibitor(QDBusConnection::sessionBus(), QDBusConnection::systemBus())
{
}

DBusIdleInhibitor::DBusIdleInhibitor(QDBusConnection session, QDBusConnection system)
    : m_session(std::move(session)), m_system(std::move(system))
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

void DBusIdleInhibitor::setIdleTimerDisabled(bool disabled)
{
    m_disabled = disabled;
    if (!disabled) {
        release();
        return;
    }
    if (holder() != Holder::None)
        return;
    if (!inhibitScreenSaver())
        inhibitLogind();
}

bool DBusIdleInhibitor::inhibitScreenSaver()
{
    if (!m_session.isConnected())
        return false;
    auto msg = QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                              "/org/freedesktop/ScreenSaver",
                                              "org.freedesktop.ScreenSaver", "Inhibit");
    msg << QString(kAppName) << QString(kReason);
    const QDBusMessage reply = m_session.call(msg, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    m_cookie = reply.arguments().first().toUInt();
    return true;
}

bool DBusIdleInhibitor::inhibitLogind()
{
    if (!m_system.isConnected())
        return false;
    auto msg = QDBusMessage::createMethodCall("org.freedesktop.login1", "/org/freedesktop/login1",
                                              "org.freedesktop.login1.Manager", "Inhibit");
    msg << QString("idle:sleep") << QString(kAppName) << QString(kReason) << QString("block");
    const QDBusMessage reply = m_system.call(msg, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    // logind holds the lock for as long as this descriptor stays open.
    m_lock = reply.arguments().first().value<QDBusUnixFileDescriptor>();
    return m_lock.isValid();
}

void DBusIdleInhibitor::release()
{
    if (m_cookie && m_session.isConnected()) {
        auto msg = QDBusMessage::createMethodCall("org.freedesktop.ScreenSaver",
                                                  "/org/freedesktop/ScreenSaver",
                                                  "org.freedesktop.ScreenSaver", "UnInhibit");
        msg << *m_cookie;
        m_session.call(msg, QDBus::Block, kCallTimeoutMs);
    }
    m_cookie.reset();
    // Dropping the last copy closes the descriptor, which ends the lock.
    m_lock = QDBusUnixFileDescriptor();
}
