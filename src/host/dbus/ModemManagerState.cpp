#include "host/dbus/ModemManagerState.h"

#include "host/dbus/MobileCountryCodes.h"

#include <QDBusObjectPath>

const QString ModemManagerState::ModemIface = QStringLiteral("org.freedesktop.ModemManager1.Modem");
const QString ModemManagerState::Modem3gppIface =
    QStringLiteral("org.freedesktop.ModemManager1.Modem.Modem3gpp");
const QString ModemManagerState::SimIface = QStringLiteral("org.freedesktop.ModemManager1.Sim");

namespace {

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

void ModemManagerState::addInterfaces(const QString& path, const Interfaces& interfaces)
{
    Interfaces& object = m_objects[path];
    for (auto it = interfaces.begin(); it != interfaces.end(); ++it)
        object[it.key()] = it.value();
}

void ModemManagerState::removeInterfaces(const QString& path, const QStringList& interfaces)
{
    const auto object = m_objects.find(path);
    if (object == m_objects.end())
        return;
    for (const QString& iface : interfaces)
        object->remove(iface);
    if (object->isEmpty())
        m_objects.erase(object);
}

void ModemManagerState::changeProperties(const QString& path, const QString& iface,
                                         const QVariantMap& changed, const QStringList& invalidated)
{
    // Only interfaces we know of: a change never invents an object.
    const auto object = m_objects.find(path);
    if (object == m_objects.end() || !object->contains(iface))
        return;
    QVariantMap& props = (*object)[iface];
    for (auto it = changed.begin(); it != changed.end(); ++it)
        props[it.key()] = it.value();
    for (const QString& name : invalidated)
        props.remove(name);
}

bool ModemManagerState::hasInterface(const QString& path, const QString& iface) const
{
    const auto object = m_objects.find(path);
    return object != m_objects.end() && object->contains(iface);
}

QString ModemManagerState::firstModem() const
{
    // QMap keeps the paths sorted, so "first" is stable across reloads.
    for (auto it = m_objects.begin(); it != m_objects.end(); ++it)
        if (it->contains(ModemIface))
            return it.key();
    return {};
}

QVariant ModemManagerState::property(const QString& path, const QString& iface,
                                     const QString& name) const
{
    const auto object = m_objects.find(path);
    if (object == m_objects.end())
        return {};
    return object->value(iface).value(name);
}

QString ModemManagerState::firstModemSim() const
{
    const QString modem = firstModem();
    if (modem.isEmpty())
        return {};
    const QString sim = pathOf(property(modem, ModemIface, QStringLiteral("Sim")));
    return sim == QLatin1String("/") ? QString() : sim;
}

std::optional<CarrierDetails> ModemManagerState::carrier() const
{
    const QString modem = firstModem();
    if (modem.isEmpty())
        return std::nullopt;
    QString name, code;
    const QString sim = firstModemSim();
    if (!sim.isEmpty()) {
        name = property(sim, SimIface, QStringLiteral("OperatorName")).toString();
        code = property(sim, SimIface, QStringLiteral("OperatorIdentifier")).toString();
    }
    if (name.isEmpty())
        name = property(modem, Modem3gppIface, QStringLiteral("OperatorName")).toString();
    if (code.isEmpty())
        code = property(modem, Modem3gppIface, QStringLiteral("OperatorCode")).toString();
    if (name.isEmpty() && code.isEmpty())
        return std::nullopt;

    CarrierDetails details;
    details.carrierName = name;
    if (isOperatorCode(code)) {
        details.mobileCountryCode = code.left(3);
        details.mobileNetworkCode = code.mid(3);
        details.isoCountryCode = isoCountryForMcc(details.mobileCountryCode);
    }
    // ModemManager knows no carrier policy on voice over IP: unknown reads NO.
    details.allowsVOIP = false;
    return details;
}

std::optional<QString> ModemManagerState::operatorName() const
{
    for (const Interfaces& interfaces : m_objects) {
        const auto it = interfaces.find(Modem3gppIface);
        if (it != interfaces.end() && it->contains(QStringLiteral("OperatorName")))
            return it->value(QStringLiteral("OperatorName")).toString();
    }
    return std::nullopt;
}
