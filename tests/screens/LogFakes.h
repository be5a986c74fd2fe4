#pragma once

#include "host/Journal.h"

#include <condition_variable>
#include <mutex>

namespace logfakes {

// A journal of fixed records; with a gate closed, a read waits (off the UI
// thread) until the test opens it.
class FakeJournal : public Journal {
public:
    explicit FakeJournal(std::vector<LogRecord> records) : m_records(std::move(records)) {}

    bool isAvailable() override { return true; }
    QString name() const override { return QStringLiteral("fake"); }
    std::vector<LogRecord> newest(std::size_t limit, std::stop_token) override
    {
        std::unique_lock lock(m_mutex);
        ++m_reading;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_open; });
        --m_reading;
        std::vector<LogRecord> out(m_records.begin(),
                                   m_records.begin() + std::min(limit, m_records.size()));
        return out;
    }

    void setRecords(std::vector<LogRecord> records)
    {
        std::lock_guard lock(m_mutex);
        m_records = std::move(records);
    }
    void setOpen(bool open)
    {
        std::lock_guard lock(m_mutex);
        m_open = open;
        m_changed.notify_all();
    }
    bool isReading()
    {
        std::lock_guard lock(m_mutex);
        return m_reading > 0;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<LogRecord> m_records;
    bool m_open = true;
    int m_reading = 0;
};

inline LogRecord record(double time, int level, const QString& sender, const QString& pid,
                        const QString& message)
{
    LogRecord r;
    r.insert(QStringLiteral("Time"), QString::number(time, 'f', 6));
    r.insert(QStringLiteral("Level"), QString::number(level));
    r.insert(QStringLiteral("Sender"), sender);
    r.insert(QStringLiteral("PID"), pid);
    r.insert(QStringLiteral("Message"), message);
    return r;
}

} // namespace logfakes
