#include "host/dbus/ModemManagerCarrier.h"

#include "host/dbus/MobileCountryCodes.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>

namespace {

const QString Service = QStringLiteral("org.freedesktop.ModemManager1");
const QString Root = QStringLiteral("/org/freedesktop/ModemManager1");
const QString ModemIface = QStringLiteral("org.freedesktop.ModemManager1.Modem");
const QString Modem3gppIface = QStringLiteral("org.freedesktop.ModemManager1.Modem.Modem3gpp");
const QString SimIface = QStringLiteral("org.freedesktop.ModemManager1.Sim");
constexpr int TimeoutMs = 2000;

QVariant property(const QDBusConnection& bus, const QString& path, const QString& iface,
                  const QString& name)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    call << iface << name;
    const QDBusMessage reply = bus.call(call, QDBus::Block, TimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().first().value<QDBusVariant>().variant();
}

// Object paths of the modems, from the object manager at the root.
QStringList modems(const QDBusConnection& bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, Root, QStringLiteral("org.freedesktop.DBus.ObjectManager"),
        QStringLiteral("GetManagedObjects"));
    const QDBusMessage reply = bus.call(call, QDBus::Block, TimeoutMs);
    QStringList paths;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return paths;
    // a{oa{sa{sv}}}: only the keys are needed.
    const QDBusArgument arg = reply.arguments().first().value<QDBusArgument>();
    arg.beginMap();
    while (!arg.atEnd()) {
        arg.beginMapEntry();
        QDBusObjectPath path;
        QMap<QString, QVariantMap> interfaces;
        arg >> path >> interfaces;
        arg.endMapEntry();
        if (interfaces.contains(ModemIface))
            paths << path.path();
    }
    arg.endMap();
    paths.sort();
    return paths;
}

// An MCC+MNC code: three digits, then two or three.
bool isOperatorCode(const QString& code)
{
    if (code.size() != 5 && code.size() != 6)
        return false;
    for (const QChar c : code)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

QString pathOf(const QVariant& v)
{
    return v.canConvert<QDBusObjectPath>() ? v.value<QDBusObjectPath>().path() : v.toString();
}

} // namespace

ModemManagerCarrier::ModemManagerCarrier(QDBusConnection bus) : m_bus(std::move(bus)) {}

CarrierReading ModemManagerCarrier::read()
{
    CarrierReading reading;
    if (!m_bus.isConnected() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(Service).value())
        return reading;
    reading.serviceAvailable = true;

    const QStringList found = modems(m_bus);
    if (found.isEmpty())
        return reading;
    const QString modem = found.first();
    QString name, code;
    const QString sim = pathOf(property(m_bus, modem, ModemIface, QStringLiteral("Sim")));
    if (!sim.isEmpty() && sim != QLatin1String("/")) {
        name = property(m_bus, sim, SimIface, QStringLiteral("OperatorName")).toString();
        code = property(m_bus, sim, SimIface, QStringLiteral("OperatorIdentifier")).toString();
    }
    if (name.isEmpty())
        name = property(m_bus, modem, Modem3gppIface, QStringLiteral("OperatorName")).toString();
    if (code.isEmpty())
        code = property(m_bus, modem, Modem3gppIface, QStringLiteral("OperatorCode")).toString();
    if (name.isEmpty() && code.isEmpty())
        return reading;

    CarrierDetails details;
    details.carrierName = name;
    if (isOperatorCode(code)) {
        details.mobileCountryCode = code.left(3);
        details.mobileNetworkCode = code.mid(3);
        details.isoCountryCode = isoCountryForMcc(details.mobileCountryCode);
    }
    // ModemManager knows no carrier policy on voice over IP: unknown reads NO.
    details.allowsVOIP = false;
    reading.carrier = details;
    return reading;
}
