#pragma once

#include "host/Journal.h"
#include "stats/JobGroup.h"
#include "stats/LogEntry.h"
#include "stats/SnapshotCell.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The window of the newest system-log records, sorted newest first. A
// reload reads the journal on the long-job worker, never on the UI thread;
// until it arrives the previous window stays, and windowChanged() tells the
// UI thread when the new one is in. A newer reload cancels an older one.
class LogStats : public QObject {
    Q_OBJECT
public:
    using Window = std::vector<LogEntry>;
    static constexpr std::size_t kDefaultWindow = 5000;
    // The setting that sizes the window.
    static constexpr const char* kWindowKey = "LogWindow";

    // The machine's log (the demonstration's fixed records in demo mode),
    // sized by the LogWindow setting.
    static LogStats& instance();

    // windowSize is asked on every reload (a setting), 0 meaning the default.
    explicit LogStats(std::shared_ptr<Journal> journal,
                      std::function<std::size_t()> windowSize = {}, QObject* parent = nullptr);
    ~LogStats() override; // cancels and waits for its read

    // Starts reading the window again and returns at once.
    void reload();
    bool isLoading() const { return m_loading; }
    std::shared_ptr<const Window> window() const { return m_window.load(); }

    // The records made into entries, sorted newest first; equal times keep
    // the source's order.
    static Window entries(std::vector<LogRecord> records);

Q_SIGNALS:
    void windowChanged();

private:
    std::shared_ptr<Journal> m_journal;
    std::function<std::size_t()> m_windowSize;
    SnapshotCell<Window> m_window;
    std::mutex m_stopMutex;
    std::stop_source m_stop{std::nostopstate};
    std::atomic<unsigned> m_generation{0};
    bool m_loading = false;
    JobGroup m_jobs; // last: waits for the read that uses the fields above
};
