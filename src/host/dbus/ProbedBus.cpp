#include "host/dbus/ProbedBus.h"

#include "host/dbus/BusProbe.h"
#include "host/HostLog.h"

#include <QCoreApplication>
#include <QDBusError>
#include <QPointer>

#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

// Where a session bus that did not answer is pointed, so Qt's own users of
// the bus fail at once instead of waiting for ever.
const char* const kNowhere = "unix:path=/nonexistent/welvane-silent-session-bus";

struct Waiter {
    QPointer<QObject> context;
    std::function<void(QDBusConnection)> ready;
};

// One bus's probe state. Never destroyed: a probe still running at exit may
// touch it after static destruction.
struct BusState {
    std::mutex mutex;
    bool started = false;
    std::optional<QDBusConnection> connection; // set once the probe is over
    // A probe made before Qt started (see screenSessionBusForQt).
    std::optional<std::pair<QByteArray, BusProbe::Result>> early;
    std::vector<Waiter> waiters;
};

BusState& stateOf(ProbedBus::Kind kind)
{
    static auto* system = new BusState;
    static auto* session = new BusState;
    return kind == ProbedBus::Kind::System ? *system : *session;
}

// Runs every waiter on the main thread, where the contexts live.
void deliver(std::vector<Waiter> waiters, const QDBusConnection& bus)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || waiters.empty())
        return;
    QMetaObject::invokeMethod(
        app,
        [waiters = std::move(waiters), bus] {
            for (const Waiter& w : waiters)
                if (w.context)
                    w.ready(bus);
        },
        Qt::QueuedConnection);
}

QDBusConnection connect(ProbedBus::Kind kind,
                        std::optional<std::pair<QByteArray, BusProbe::Result>> early)
{
    const bool system = kind == ProbedBus::Kind::System;
    const char* what = system ? "system" : "session";
    const QByteArray address = early    ? early->first
                               : system ? BusProbe::systemAddress()
                                        : BusProbe::sessionAddress();
    const QString name =
        system ? QStringLiteral("welvane-system") : QStringLiteral("welvane-session");
    // A machine without the bus is ordinary (containers): debug, not info.
    if (address.isEmpty()) {
        qCDebug(lcHost, "no %s bus address; its services count as absent", what);
        return QDBusConnection(name);
    }
    switch (early ? early->second : BusProbe::probe(address)) {
    case BusProbe::Result::Answered:
        break;
    case BusProbe::Result::Silent:
        qCWarning(lcHost,
                  "the %s bus at %s did not answer within %d ms; its services count as absent",
                  what, address.constData(), int(BusProbe::kLimit.count()));
        return QDBusConnection(name);
    case BusProbe::Result::Unreachable:
        qCDebug(lcHost, "no %s bus at %s; its services count as absent", what, address.constData());
        return QDBusConnection(name);
    }
    if (!QCoreApplication::instance())
        return QDBusConnection(name); // exiting: QtDBus may be gone already
    QDBusConnection bus = QDBusConnection::connectToBus(QString::fromLocal8Bit(address), name);
    if (!bus.isConnected())
        qCWarning(lcHost, "the %s bus at %s answered but QtDBus could not connect: %s", what,
                  address.constData(), qPrintable(bus.lastError().message()));
    return bus;
}

} // namespace

void ProbedBus::whenReady(Kind kind, QObject* context, std::function<void(QDBusConnection)> ready)
{
    BusState& state = stateOf(kind);
    std::unique_lock lock(state.mutex);
    if (state.connection) {
        const QDBusConnection bus = *state.connection;
        lock.unlock();
        QMetaObject::invokeMethod(
            context, [ready = std::move(ready), bus] { ready(bus); }, Qt::QueuedConnection);
        return;
    }
    state.waiters.push_back({context, std::move(ready)});
    if (state.started)
        return;
    state.started = true;
    // Detached: a probe still waiting at exit must not hold the exit up.
    std::thread([kind, &state, early = state.early] {
        const QDBusConnection bus = connect(kind, early);
        std::vector<Waiter> waiters;
        {
            std::lock_guard done(state.mutex);
            state.connection = bus;
            waiters.swap(state.waiters);
        }
        deliver(std::move(waiters), bus);
    }).detach();
}

void ProbedBus::screenSessionBusForQt()
{
    const QByteArray address = BusProbe::sessionAddress();
    if (address.isEmpty())
        return;
    BusState& state = stateOf(Kind::Session);
    {
        std::lock_guard lock(state.mutex);
        if (state.started || state.early)
            return;
    }
    // On a worker, as every probe; Qt is not running yet, so waiting here
    // holds up no window, and at most for the probe's limit.
    BusProbe::Result result = BusProbe::Result::Unreachable;
    std::thread([&] { result = BusProbe::probe(address); }).join();
    {
        std::lock_guard lock(state.mutex);
        state.early = std::make_pair(address, result);
    }
    if (result != BusProbe::Result::Answered)
        qputenv("DBUS_SESSION_BUS_ADDRESS", kNowhere);
}
