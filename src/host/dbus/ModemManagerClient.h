#pragma once

#include "host/CarrierService.h"
#include "host/dbus/ModemManagerState.h"
#include "host/Modem.h"

#include <QDBusConnection>
#include <QObject>

#include <mutex>
#include <optional>

class QDBusMessage;
class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

// ModemManager on the system bus, as the carrier and the modem facts need it.
// Every call is asynchronous with a short time-out; the answers fill a cache
// that the object manager's and the properties' change signals keep current.
// read(), available() and carrierName() only read that cache, from any
// thread, and never wait: until ModemManager has answered, and whenever it
// does not, the service counts as absent. The service is never started just
// to ask. The object lives on the main thread.
class ModemManagerClient : public QObject, public CarrierService, public Modem {
    Q_OBJECT
public:
    // The system bus, once probed (see ProbedBus).
    ModemManagerClient();
    // For tests: a private bus standing in for the system bus.
    explicit ModemManagerClient(QDBusConnection bus);

    CarrierReading read() override;
    bool available() override;
    std::optional<QString> carrierName() override;

    // Whether the first answer (or the lack of one) is in.
    bool settled() const;

    static constexpr int kCallTimeoutMs = 1000;

Q_SIGNALS:
    // The cached readings changed (or were settled); emitted on the main thread.
    void changed();

private Q_SLOTS:
    void onInterfacesAdded(const QDBusMessage& message);
    void onInterfacesRemoved(const QDBusMessage& message);
    void onPropertiesChanged(const QDBusMessage& message);

private:
    void attach(const QDBusConnection& bus);
    void reload();
    void onObjects(QDBusPendingCallWatcher* call, unsigned generation);
    void fetchSimIfNeeded();
    void markAbsent();
    void publish(bool serviceAvailable);

    QDBusConnection m_bus{QString()};
    QDBusServiceWatcher* m_watcher = nullptr;
    ModemManagerState m_state;
    unsigned m_generation = 0; // answers to an older reload are dropped
    bool m_present = false;
    QString m_simRequested;
    bool m_warnedSilent = false;

    // The published readings: the only state other threads see.
    mutable std::mutex m_mutex;
    CarrierReading m_reading;
    std::optional<QString> m_operatorName;
    bool m_settled = false;
};
