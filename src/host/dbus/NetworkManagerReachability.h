#pragma once

#include "host/Reachability.h"

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <atomic>
#include <optional>

class QDBusMessage;

// NetworkManager's connectivity state over the system bus, kept current by
// its change signals: full connectivity is reachable, none, portal and
// limited are not. Where NetworkManager is absent, silent or does not know
// (connectivity checking off), a default route in the kernel's routing table
// counts as reachable. No request goes out just to test the network.
// state() reads the cached answer or the route files and never waits on the
// bus. The object lives on the main thread.
class NetworkManagerReachability : public QObject, public Reachability {
    Q_OBJECT
public:
    // NetworkManager's NMConnectivityState values.
    enum Connectivity : unsigned { Unknown = 0, None = 1, Portal = 2, Limited = 3, Full = 4 };

    // The system bus, once probed; routes from /proc/net.
    NetworkManagerReachability();
    // For tests: a private bus standing in for the system bus, and a folder
    // holding net/route and net/ipv6_route in place of /proc.
    NetworkManagerReachability(QDBusConnection bus, QString procRoot);

    State state() const override;

    // The last connectivity NetworkManager reported; Unknown until it answered.
    Connectivity connectivity() const { return static_cast<Connectivity>(m_connectivity.load()); }
    // Whether the first answer (or the lack of one) is in.
    bool settled() const { return m_settled.load(); }

    // From the route files' text: is there a default route (destination 0/0)
    // that is up? Empty optional when neither file could be read.
    static std::optional<bool> defaultRouteIn(const QByteArray* ipv4, const QByteArray* ipv6);

    static constexpr int kCallTimeoutMs = 1000;

Q_SIGNALS:
    void changed();

private Q_SLOTS:
    void onPropertiesChanged(const QDBusMessage& message);

private:
    void attach(const QDBusConnection& bus);
    void fetch();
    void take(unsigned value, bool fromService);

    QDBusConnection m_bus{QString()};
    QString m_procRoot;
    std::atomic<unsigned> m_connectivity{Unknown};
    std::atomic<bool> m_settled{false};
};
