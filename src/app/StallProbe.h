#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

// Measures how long the UI thread is kept from its events: from the first
// paint on, a 5 ms timer records the longest gap between its ticks and
// writes it to a file about once a second and at exit, so a test can read
// it even after killing the program. Only made when WELVANE_STALL_PROBE
// names that file.
class StallProbe : public QObject {
public:
    static void installFromEnvironment();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit StallProbe(QString file);
    void tick();
    void write() const;

    QString m_file;
    QTimer m_timer;
    QElapsedTimer m_sinceTick;
    QElapsedTimer m_sinceStart; // where the longest gap fell, to find its cause
    qint64 m_longestAt = 0;
    qint64 m_longest = 0;
    long m_ticks = 0;
};
