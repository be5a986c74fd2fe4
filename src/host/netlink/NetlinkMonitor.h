#pragma once

#include "host/DefaultRouteChange.h"

#include <QObject>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <vector>

class QSocketNotifier;
class QTimer;

// Listens to the kernel's rtnetlink change messages (links, IPv4 and IPv6
// addresses and routes) so readings that change only on hotplug or
// reconfiguration can be cached instead of re-read on every tick. Bursts
// (a link going away takes its addresses and routes with it) are coalesced
// into at most one signal of each kind per interval. Changes of the main
// table's default routes are passed on one by one, as they come. Lives on
// the thread with the event loop that delivers its signals.
class NetlinkMonitor : public QObject {
    Q_OBJECT
public:
    // The process's monitor, created on first use and moved to the
    // application's main thread; not listening without a QCoreApplication.
    static NetlinkMonitor& instance();

    explicit NetlinkMonitor(QObject* parent = nullptr,
                            std::chrono::milliseconds coalesce = std::chrono::milliseconds(100));
    ~NetlinkMonitor() override;

    // True once changes are delivered: the socket is open and watched. Safe
    // to ask from any thread.
    bool isListening() const { return m_listening.load(std::memory_order_acquire); }

    // Starts watching the socket on the calling thread (which needs an
    // event loop); done by the constructor when it has one.
    void start();

Q_SIGNALS:
    void linksChanged();
    void addressesChanged();
    void routesChanged();
    // Sent at once, in the kernel's order.
    void defaultRouteChanged(const DefaultRouteChange& change);
    // The kernel dropped messages (the receive buffer overflowed): whatever
    // the messages above describe must be read again.
    void routeMessagesLost();

private:
    void readMessages();
    void flush();

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer* m_coalesce = nullptr;
    std::vector<std::uint8_t> m_buffer;
    bool m_links = false, m_addresses = false, m_routes = false, m_lost = false;
    std::vector<DefaultRouteChange> m_defaultChanges;
    std::atomic<bool> m_listening{false};
};
