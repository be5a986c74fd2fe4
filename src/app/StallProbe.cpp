#include "app/StallProbe.h"

#include "app/AppLog.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>

void StallProbe::installFromEnvironment()
{
    const QString file = qEnvironmentVariable("WELVANE_STALL_PROBE");
    if (file.isEmpty() || !QCoreApplication::instance())
        return;
    auto* probe = new StallProbe(file);
    probe->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(probe);
}

StallProbe::StallProbe(QString file) : m_file(std::move(file))
{
    m_timer.setInterval(5);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StallProbe::tick);
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &StallProbe::write);
}

bool StallProbe::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Paint && !m_timer.isActive()) {
        // Start-up before the first paint is not what the user waits on.
        QCoreApplication::instance()->removeEventFilter(this);
        m_sinceTick.start();
        m_sinceStart.start();
        m_timer.start();
        qCInfo(lcApp, "stall probe started, writing to %s", qPrintable(m_file));
    }
    return QObject::eventFilter(watched, event);
}

void StallProbe::tick()
{
    const qint64 gap = m_sinceTick.restart();
    if (gap > m_longest) {
        m_longest = gap;
        m_longestAt = m_sinceStart.elapsed();
    }
    if (++m_ticks % 200 == 0)
        write();
}

void StallProbe::write() const
{
    QFile out(m_file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(QStringLiteral("longest_ms %1\nticks %2\nlongest_at_ms %3\n")
                      .arg(m_longest)
                      .arg(m_ticks)
                      .arg(m_longestAt)
                      .toUtf8());
}
