#pragma once

#include <QObject>
#include <QPointer>

class ConnectionStats;
class QTimer;
class QWidget;
class RouteStats;

// The start-up snapshot of every route and socket. A machine with 100 000
// routes or 30 000 sockets must not delay the first picture, and the
// Overview shows neither list, so the dumps wait for the first paint of
// the given widget (or a short time-out when it is not shown) and run on
// the snapshot worker; the collectors publish whole snapshots, so the pages
// read either the old lists or the new ones.
class StartupSnapshots : public QObject {
    Q_OBJECT
public:
    StartupSnapshots(QWidget* painted, RouteStats* routes, ConnectionStats* connections,
                     QObject* parent = nullptr);

Q_SIGNALS:
    // The collectors hold the new snapshots.
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void start();

    QPointer<QWidget> m_painted;
    RouteStats* m_routes;
    ConnectionStats* m_connections;
    QTimer* m_fallback;
    bool m_started = false;
};
