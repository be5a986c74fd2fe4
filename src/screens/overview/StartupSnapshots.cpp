#include "screens/overview/StartupSnapshots.h"

#include "stats/BackgroundWorker.h"
#include "stats/ConnectionStats.h"
#include "stats/RouteStats.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

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
    // Each collector's own Async twin, so its destructor waits for the dump;
    // the worker runs jobs in order, so the note posted after them arrives
    // once both snapshots are in.
    if (m_routes)
        m_routes->refreshAsync();
    if (m_connections)
        m_connections->refreshAsync();
    QPointer<StartupSnapshots> self(this);
    BackgroundWorker::snapshots().post([self] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [self] {
                if (self)
                    Q_EMIT self->finished();
            },
            Qt::QueuedConnection);
    });
}
