#include "screens/overview/StartupSnapshots.h"

#include "stats/ConnectionStats.h"
#include "stats/RouteStats.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {
// A page that is never painted (hidden, or an off-screen test) still gets
// its snapshot.
constexpr int kUnpaintedDelayMs = 1000;
} // namespace

StartupSnapshots::StartupSnapshots(QWidget* painted, RouteStats* routes,
                                   ConnectionStats* connections, QObject* parent)
    : QObject(parent), m_painted(painted), m_routes(routes), m_connections(connections),
      m_fallback(new QTimer(this))
{
    m_fallback->setSingleShot(true);
    connect(m_fallback, &QTimer::timeout, this, &StartupSnapshots::start);
    m_fallback->start(kUnpaintedDelayMs);
    if (painted)
        painted->installEventFilter(this);
}

bool StartupSnapshots::eventFilter(QObject* watched, QEvent* event)
{
    // Seen before the paint is done: the snapshot is queued behind it.
    if (watched == m_painted && event->type() == QEvent::Paint && !m_started)
        QTimer::singleShot(0, this, &StartupSnapshots::start);
    return QObject::eventFilter(watched, event);
}

void StartupSnapshots::start()
{
    if (m_started)
        return;
    m_started = true;
    m_fallback->stop();
    if (m_painted)
        m_painted->removeEventFilter(this);
    // The collectors are not thread-safe: the dumps fill copies, which
    // replace the originals on this thread.
    auto routes = m_routes ? std::make_shared<RouteStats>(*m_routes) : nullptr;
    auto connections = m_connections ? std::make_shared<ConnectionStats>(*m_connections) : nullptr;
    QPointer<StartupSnapshots> self(this);
    QThreadPool::globalInstance()->start([self, routes, connections] {
        if (routes)
            routes->refresh();
        if (connections)
            connections->refresh();
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self, routes, connections] {
                if (!self)
                    return; // the page went away; its collectors may have too
                if (routes)
                    *self->m_routes = std::move(*routes);
                if (connections)
                    *self->m_connections = std::move(*connections);
                Q_EMIT self->finished();
            },
            Qt::QueuedConnection);
    });
}
