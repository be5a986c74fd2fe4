#include "stats/LogStats.h"

#include "host/DemoMode.h"
#include "host/journal/DemoJournal.h"
#include "host/journal/FallbackJournal.h"
#include "host/settings/Defaults.h"
#include "stats/LogDateFormat.h"

#include <QMetaObject>

#include <algorithm>
#include <cmath>

LogStats::LogStats(std::shared_ptr<Journal> journal, std::function<std::size_t()> windowSize,
                   QObject* parent)
    : QObject(parent), m_journal(std::move(journal)), m_windowSize(std::move(windowSize)),
      m_jobs(BackgroundWorker::longJobs())
{
}

LogStats& LogStats::instance()
{
    static LogStats shared(
        DemoMode::enabled() ? std::shared_ptr<Journal>(std::make_shared<DemoJournal>())
                            : std::shared_ptr<Journal>(FallbackJournal::machine()),
        [] {
            // Out of range or absent: the default (a million is plenty).
            const long long size =
                Defaults::standardUserDefaults().integerForKey(QString::fromLatin1(kWindowKey));
            return size > 0 && size <= 1000000 ? std::size_t(size) : kDefaultWindow;
        });
    return shared;
}

LogStats::~LogStats()
{
    {
        std::lock_guard lock(m_stopMutex);
        m_stop.request_stop();
    }
    m_jobs.wait();
}

LogStats::Window LogStats::entries(std::vector<LogRecord> records)
{
    const LogDateFormat format;
    Window out;
    out.reserve(records.size());
    for (LogRecord& r : records) {
        LogEntry e;
        // Text to number as the platform's doubleValue/intValue do: a
        // leading number, else 0.
        e.time = r.value(QStringLiteral("Time")).toDouble();
        if (!std::isfinite(e.time)) // "nan" would break the sort's ordering
            e.time = 0;
        if (const auto level = r.constFind(QStringLiteral("Level")); level != r.cend()) {
            bool ok = false;
            const int value = level->trimmed().toInt(&ok);
            e.level = ok ? value : 0;
        }
        e.timeText = r.contains(QStringLiteral("Time")) ? format.format(e.time) : QString();
        e.senderText = QStringLiteral("%1 [%2]").arg(r.value(QStringLiteral("Sender")),
                                                     r.value(QStringLiteral("PID")));
        e.message = r.value(QStringLiteral("Message"));
        e.shownMessage = e.message.size() > LogEntry::kMaxShown
                             ? e.message.left(LogEntry::kMaxShown) + QChar(0x2026)
                             : e.message;
        e.record = std::move(r);
        out.push_back(std::move(e));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const LogEntry& a, const LogEntry& b) { return a.time > b.time; });
    return out;
}

void LogStats::reload()
{
    std::size_t size = m_windowSize ? m_windowSize() : 0;
    if (size == 0)
        size = kDefaultWindow;
    std::stop_token token;
    {
        std::lock_guard lock(m_stopMutex);
        m_stop.request_stop();
        m_stop = std::stop_source();
        token = m_stop.get_token();
    }
    const unsigned generation = ++m_generation;
    m_loading = true;
    m_jobs.post([this, size, token, generation] {
        Window window = entries(m_journal->newest(size, token));
        if (token.stop_requested())
            return;
        m_window.store(std::move(window));
        QMetaObject::invokeMethod(
            this,
            [this, generation] {
                if (generation != m_generation)
                    return; // a newer read is on its way
                m_loading = false;
                Q_EMIT windowChanged();
            },
            Qt::QueuedConnection);
    });
}
