#include "host/dbus/ModemManagerClient.h"

#include "host/dbus/ProbedBus.h"
#include "host/HostLog.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QThread>
#include <QTimer>

using InterfaceProperties = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, InterfaceProperties>;
Q_DECLARE_METATYPE(InterfaceProperties)
Q_DECLARE_METATYPE(ManagedObjects)

namespace {

const QString Service = QStringLiteral("org.freedesktop.ModemManager1");
const QString Root = QStringLiteral("/org/freedesktop/ModemManager1");
const QString ObjectManagerIface = QStringLiteral("org.freedesktop.DBus.ObjectManager");
const QString PropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");

// A silent service is asked again after this long, in case it was only busy.
constexpr int kRetryMs = 30000;

template <typename T> T argumentAs(const QDBusMessage& message, int index)
{
    const QVariantList args = message.arguments();
    if (index >= args.size())
        return {};
    const QVariant& v = args.at(index);
    if (v.canConvert<QDBusArgument>())
        return qdbus_cast<T>(v.value<QDBusArgument>());
    return v.value<T>();
}

QDBusMessage methodCall(const QString& path, const QString& iface, const QString& method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(Service, path, iface, method);
    call.setAutoStartService(false); // never start ModemManager just to ask
    return call;
}

} // namespace

ModemManagerClient::ModemManagerClient()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
    ProbedBus::whenReady(ProbedBus::Kind::System, this,
                         [this](const QDBusConnection& bus) { attach(bus); });
}

ModemManagerClient::ModemManagerClient(QDBusConnection bus)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
    if (thread() == QThread::currentThread())
        attach(bus);
    else
        QMetaObject::invokeMethod(
            this, [this, bus] { attach(bus); }, Qt::QueuedConnection);
}

CarrierReading ModemManagerClient::read()
{
    std::lock_guard lock(m_mutex);
    return m_reading;
}

bool ModemManagerClient::available()
{
    std::lock_guard lock(m_mutex);
    return m_reading.serviceAvailable;
}

std::optional<QString> ModemManagerClient::carrierName()
{
    std::lock_guard lock(m_mutex);
    return m_operatorName;
}

bool ModemManagerClient::settled() const
{
    std::lock_guard lock(m_mutex);
    return m_settled;
}

void ModemManagerClient::attach(const QDBusConnection& bus)
{
    qDBusRegisterMetaType<InterfaceProperties>();
    qDBusRegisterMetaType<ManagedObjects>();
    m_bus = bus;
    if (!m_bus.isConnected()) {
        publish(false);
        return;
    }
    m_watcher =
        new QDBusServiceWatcher(Service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        m_warnedSilent = false;
        reload();
    });
    connect(m_watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
        ++m_generation;
        markAbsent();
    });
    m_bus.connect(Service, Root, ObjectManagerIface, QStringLiteral("InterfacesAdded"), this,
                  SLOT(onInterfacesAdded(QDBusMessage)));
    m_bus.connect(Service, Root, ObjectManagerIface, QStringLiteral("InterfacesRemoved"), this,
                  SLOT(onInterfacesRemoved(QDBusMessage)));
    // Any path: the modems and their SIMs all report here.
    m_bus.connect(Service, QString(), PropertiesIface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QDBusMessage)));
    reload();
}

void ModemManagerClient::reload()
{
    const unsigned generation = ++m_generation;
    m_simRequested.clear();
    auto* call = new QDBusPendingCallWatcher(
        m_bus.asyncCall(methodCall(Root, ObjectManagerIface, QStringLiteral("GetManagedObjects")),
                        kCallTimeoutMs),
        this);
    connect(call, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* w) { onObjects(w, generation); });
}

void ModemManagerClient::onObjects(QDBusPendingCallWatcher* call, unsigned generation)
{
    call->deleteLater();
    if (generation != m_generation)
        return;
    const QDBusPendingReply<ManagedObjects> reply = *call;
    if (reply.isError()) {
        const QDBusError::ErrorType type = reply.error().type();
        if (type == QDBusError::NoReply || type == QDBusError::Timeout) {
            if (!m_warnedSilent)
                qCWarning(lcHost, "ModemManager did not answer within %d ms; counted as absent",
                          kCallTimeoutMs);
            m_warnedSilent = true;
            QTimer::singleShot(kRetryMs, this, [this, generation] {
                if (generation == m_generation)
                    reload();
            });
        } else {
            static bool logged = false;
            if (!logged)
                qCDebug(lcHost, "ModemManager not available: %s",
                        qPrintable(reply.error().message()));
            logged = true;
        }
        markAbsent();
        return;
    }
    ModemManagerState::Objects objects;
    const ManagedObjects managed = reply.value();
    for (auto it = managed.begin(); it != managed.end(); ++it)
        objects.insert(it.key().path(), it.value());
    m_state.reset(std::move(objects));
    m_present = true;
    fetchSimIfNeeded();
    if (m_simRequested.isEmpty())
        publish(true);
}

void ModemManagerClient::fetchSimIfNeeded()
{
    // ModemManager does not list SIMs in its object manager: ask the SIM itself.
    const QString sim = m_state.firstModemSim();
    if (sim.isEmpty() || sim == m_simRequested ||
        m_state.hasInterface(sim, ModemManagerState::SimIface))
        return;
    m_simRequested = sim;
    QDBusMessage call = methodCall(sim, PropertiesIface, QStringLiteral("GetAll"));
    call << ModemManagerState::SimIface;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    const unsigned generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, sim](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                if (generation != m_generation)
                    return;
                const QDBusPendingReply<QVariantMap> reply = *w;
                // Without the SIM the network operator stands in: publish either way.
                if (!reply.isError())
                    m_state.addInterfaces(sim, {{ModemManagerState::SimIface, reply.value()}});
                publish(m_present);
            });
}

void ModemManagerClient::onInterfacesAdded(const QDBusMessage& message)
{
    if (!m_present)
        return;
    const QString path = argumentAs<QDBusObjectPath>(message, 0).path();
    m_state.addInterfaces(path, argumentAs<InterfaceProperties>(message, 1));
    fetchSimIfNeeded();
    publish(true);
}

void ModemManagerClient::onInterfacesRemoved(const QDBusMessage& message)
{
    if (!m_present)
        return;
    const QString path = argumentAs<QDBusObjectPath>(message, 0).path();
    m_state.removeInterfaces(path, argumentAs<QStringList>(message, 1));
    publish(true);
}

void ModemManagerClient::onPropertiesChanged(const QDBusMessage& message)
{
    if (!m_present)
        return;
    m_state.changeProperties(message.path(), argumentAs<QString>(message, 0),
                             argumentAs<QVariantMap>(message, 1),
                             argumentAs<QStringList>(message, 2));
    fetchSimIfNeeded(); // the modem may have a new SIM
    publish(true);
}

void ModemManagerClient::markAbsent()
{
    m_present = false;
    m_simRequested.clear();
    m_state.reset();
    publish(false);
}

void ModemManagerClient::publish(bool serviceAvailable)
{
    CarrierReading reading;
    reading.serviceAvailable = serviceAvailable;
    std::optional<QString> name;
    if (serviceAvailable) {
        reading.carrier = m_state.carrier();
        name = m_state.operatorName();
    }
    {
        std::lock_guard lock(m_mutex);
        m_reading = std::move(reading);
        m_operatorName = std::move(name);
        m_settled = true;
    }
    Q_EMIT changed();
}
