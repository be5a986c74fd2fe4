#include "host/dbus/NetworkManagerReachability.h"

#include "host/dbus/ProbedBus.h"
#include "host/HostLog.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>
#include <QThread>

namespace {

const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
const QString Path = QStringLiteral("/org/freedesktop/NetworkManager");
const QString Iface = QStringLiteral("org.freedesktop.NetworkManager");
const QString PropertiesIface = QStringLiteral("org.freedesktop.DBus.Properties");

constexpr unsigned kRouteUp = 0x1;       // RTF_UP
constexpr unsigned kRouteReject = 0x200; // RTF_REJECT: the kernel's "unreachable" routes

// Route files are small; a bound keeps a strange /proc from costing much.
std::optional<QByteArray> readSmall(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.read(1 << 20);
}

bool allZero(const QByteArray& hex)
{
    return !hex.isEmpty() && hex.count('0') == hex.size();
}

} // namespace

NetworkManagerReachability::NetworkManagerReachability() : m_procRoot(QStringLiteral("/proc"))
{
    if (QCoreApplication* app = QCoreApplication::instance())
        moveToThread(app->thread());
    ProbedBus::whenReady(ProbedBus::Kind::System, this,
                         [this](const QDBusConnection& bus) { attach(bus); });
}

NetworkManagerReachability::NetworkManagerReachability(QDBusConnection bus, QString procRoot)
    : m_procRoot(std::move(procRoot))
{
    attach(bus);
}

Reachability::State NetworkManagerReachability::state() const
{
    switch (m_connectivity.load()) {
    case Full:
        return State::Reachable;
    case None:
    case Portal:
    case Limited:
        return State::Unreachable;
    default:
        break;
    }
    const auto v4 = readSmall(m_procRoot + QStringLiteral("/net/route"));
    const auto v6 = readSmall(m_procRoot + QStringLiteral("/net/ipv6_route"));
    const auto route = defaultRouteIn(v4 ? &*v4 : nullptr, v6 ? &*v6 : nullptr);
    if (!route)
        return State::Unknown;
    return *route ? State::Reachable : State::Unreachable;
}

std::optional<bool> NetworkManagerReachability::defaultRouteIn(const QByteArray* ipv4,
                                                               const QByteArray* ipv6)
{
    if (!ipv4 && !ipv6)
        return std::nullopt;
    if (ipv4) {
        // Iface Destination Gateway Flags RefCnt Use Metric Mask ...; hex, first line a header.
        const QList<QByteArray> lines = ipv4->split('\n');
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QList<QByteArray> f = lines[i].simplified().split(' ');
            if (f.size() < 8)
                continue;
            bool ok = false;
            const unsigned flags = f[3].toUInt(&ok, 16);
            if (ok && allZero(f[1]) && allZero(f[7]) && (flags & kRouteUp) &&
                !(flags & kRouteReject))
                return true;
        }
    }
    if (ipv6) {
        // dest plen src splen nexthop metric refcnt use flags iface; no header.
        for (const QByteArray& line : ipv6->split('\n')) {
            const QList<QByteArray> f = line.simplified().split(' ');
            if (f.size() < 10 || f[9] == "lo")
                continue;
            bool ok = false;
            const unsigned flags = f[8].toUInt(&ok, 16);
            if (ok && allZero(f[0]) && allZero(f[1]) && (flags & kRouteUp) &&
                !(flags & kRouteReject))
                return true;
        }
    }
    return false;
}

void NetworkManagerReachability::attach(const QDBusConnection& bus)
{
    m_bus = bus;
    if (!m_bus.isConnected()) {
        qCDebug(lcHost) << "no system bus: reachability from the default route";
        m_settled = true;
        return;
    }
    auto* watcher =
        new QDBusServiceWatcher(Service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this,
            &NetworkManagerReachability::fetch);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this,
            [this] { take(Unknown, false); });
    // NetworkManager announces on its own interface and on the standard one.
    m_bus.connect(Service, Path, Iface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QDBusMessage)));
    m_bus.connect(Service, Path, PropertiesIface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QDBusMessage)));
    fetch();
}

void NetworkManagerReachability::fetch()
{
    QDBusMessage call =
        QDBusMessage::createMethodCall(Service, Path, PropertiesIface, QStringLiteral("Get"));
    call << Iface << QStringLiteral("Connectivity");
    call.setAutoStartService(false);
    auto* w = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(w, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusVariant> reply = *w;
        if (reply.isError()) {
            static bool logged = false;
            if (!logged)
                qCInfo(lcHost).noquote() << QStringLiteral("NetworkManager did not answer (%1): "
                                                           "reachability from the default route")
                                                .arg(reply.error().name());
            logged = true;
            take(Unknown, false);
            return;
        }
        take(reply.value().variant().toUInt(), true);
    });
}

void NetworkManagerReachability::onPropertiesChanged(const QDBusMessage& message)
{
    // (a{sv}) on NetworkManager's interface, (s, a{sv}, as) on the standard one.
    for (const QVariant& arg : message.arguments()) {
        const QVariantMap changed = qdbus_cast<QVariantMap>(arg);
        const auto it = changed.constFind(QStringLiteral("Connectivity"));
        if (it != changed.constEnd()) {
            take(it->toUInt(), true);
            return;
        }
    }
}

void NetworkManagerReachability::take(unsigned value, bool fromService)
{
    const unsigned known = fromService && value <= Full ? value : Unknown;
    const bool wasSettled = m_settled.exchange(true);
    if (m_connectivity.exchange(known) != known || !wasSettled)
        Q_EMIT changed();
}
