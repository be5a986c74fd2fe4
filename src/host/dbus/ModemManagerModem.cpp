#include "host/dbus/ModemManagerModem.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QVariantMap>

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {
const char* const kService = "org.freedesktop.ModemManager1";
}

ModemManagerModem::ModemManagerModem() : ModemManagerModem(QDBusConnection::systemBus()) {}

ModemManagerModem::ModemManagerModem(QDBusConnection system) : m_bus(std::move(system))
{
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();
}

bool ModemManagerModem::available()
{
    return m_bus.isConnected() && m_bus.interface() &&
           m_bus.interface()->isServiceRegistered(kService).value();
}

std::optional<QString> ModemManagerModem::carrierName()
{
    if (!available())
        return std::nullopt;
    auto msg =
        QDBusMessage::createMethodCall(kService, "/org/freedesktop/ModemManager1",
                                       "org.freedesktop.DBus.ObjectManager", "GetManagedObjects");
    const QDBusMessage reply = m_bus.call(msg, QDBus::Block, kCallTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    const auto objects =
        qdbus_cast<ManagedObjects>(reply.arguments().first().value<QDBusArgument>());
    for (const auto& interfaces : objects) {
        const auto it = interfaces.find("org.freedesktop.ModemManager1.Modem.Modem3gpp");
        if (it != interfaces.end() && it->contains("OperatorName"))
            return it->value("OperatorName").toString();
    }
    return std::nullopt;
}
