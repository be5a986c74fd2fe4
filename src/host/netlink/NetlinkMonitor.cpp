#include "host/netlink/NetlinkMonitor.h"

#include "host/HostLog.h"
#include "host/netlink/NetlinkParser.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <ctime>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

NetlinkMonitor& NetlinkMonitor::instance()
{
    static NetlinkMonitor* shared = [] {
        auto* monitor = new NetlinkMonitor; // kept until exit, like the other host services
        QCoreApplication* app = QCoreApplication::instance();
        if (app && QThread::currentThread() != app->thread()) {
            monitor->moveToThread(app->thread());
            QMetaObject::invokeMethod(monitor, &NetlinkMonitor::start, Qt::QueuedConnection);
        }
        return monitor;
    }();
    return *shared;
}

NetlinkMonitor::NetlinkMonitor(QObject* parent, std::chrono::milliseconds coalesce)
    : QObject(parent), m_coalesce(new QTimer(this))
{
    m_coalesce->setSingleShot(true);
    m_coalesce->setInterval(coalesce);
    connect(m_coalesce, &QTimer::timeout, this, &NetlinkMonitor::flush);

    m_fd = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    int error = errno;
    if (m_fd >= 0) {
        int size = 1 << 20; // a burst of hotplug messages should not overrun it
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
        sockaddr_nl local{};
        local.nl_family = AF_NETLINK;
        local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR |
                          RTMGRP_IPV4_ROUTE | RTMGRP_IPV6_ROUTE;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
            error = errno;
            ::close(m_fd);
            m_fd = -1;
        }
    }
    if (m_fd < 0) {
        qCWarning(lcHost,
                  "rtnetlink change messages unavailable (%s): readings that follow "
                  "hotplug are re-read on every refresh",
                  qPrintable(qt_error_string(error)));
        return;
    }
    if (QCoreApplication::instance() && QAbstractEventDispatcher::instance())
        start();
}

NetlinkMonitor::~NetlinkMonitor()
{
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

void NetlinkMonitor::start()
{
    if (m_fd < 0 || m_notifier)
        return;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &NetlinkMonitor::readMessages);
    m_listening.store(true, std::memory_order_release);
}

void NetlinkMonitor::readMessages()
{
    if (m_buffer.empty())
        m_buffer.resize(64 * 1024);
    const auto classify = [this](std::uint16_t type, std::uint16_t flags, netlink::Bytes payload) {
        switch (type) {
        case RTM_NEWLINK:
        case RTM_DELLINK:
            m_links = true;
            break;
        case RTM_NEWADDR:
        case RTM_DELADDR:
            m_addresses = true;
            break;
        case RTM_NEWROUTE:
        case RTM_DELROUTE:
            m_routes = true;
            if (netlink::isMainTableDefault(payload)) {
                DefaultRouteChange change;
                change.kind = type == RTM_DELROUTE      ? DefaultRouteChange::Kind::Removed
                              : (flags & NLM_F_REPLACE) ? DefaultRouteChange::Kind::Replaced
                                                        : DefaultRouteChange::Kind::Added;
                netlink::RouteContext context;
                context.now = std::time(nullptr);
                if (netlink::parseRouteMessage(payload, context, change.route))
                    m_defaultChanges.push_back(std::move(change));
            }
            break;
        default:
            break;
        }
    };
    for (;;) {
        const ssize_t n = ::recv(m_fd, m_buffer.data(), m_buffer.size(), 0);
        if (n > 0) {
            netlink::walkMessagesWithFlags(netlink::Bytes(m_buffer.data(), std::size_t(n)),
                                           classify);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == ENOBUFS) {
            // Messages were dropped: anything may have changed.
            m_links = m_addresses = m_routes = m_lost = true;
            continue;
        }
        break; // EAGAIN: drained
    }
    for (const DefaultRouteChange& change : std::exchange(m_defaultChanges, {}))
        Q_EMIT defaultRouteChanged(change);
    if ((m_links || m_addresses || m_routes) && !m_coalesce->isActive())
        m_coalesce->start();
}

void NetlinkMonitor::flush()
{
    const bool links = std::exchange(m_links, false);
    const bool addresses = std::exchange(m_addresses, false);
    const bool routes = std::exchange(m_routes, false);
    const bool lost = std::exchange(m_lost, false);
    if (links)
        Q_EMIT linksChanged();
    if (addresses)
        Q_EMIT addressesChanged();
    if (routes)
        Q_EMIT routesChanged();
    if (lost)
        Q_EMIT routeMessagesLost();
}
