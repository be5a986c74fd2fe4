#pragma once

#include "host/ProcessTable.h"
#include "host/UserDirectory.h"
#include "stats/JobGroup.h"
#include "stats/ProcessUserGroup.h"
#include "stats/SnapshotCell.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// Snapshot of every process, grouped by user: the user who runs the
// application first, then "root", then the others by name. A refresh builds
// a whole new snapshot and publishes it at once; a failed reading keeps the
// previous one.
class ProcessStats {
public:
    using Clock = std::function<double()>; // calendar seconds, with fractions

    struct Snapshot {
        std::vector<ProcessUserGroup> processArray;
    };

    static ProcessStats& instance();

    // owner is the user whose processes come first.
    ProcessStats(std::shared_ptr<ProcessTable> table, std::shared_ptr<UserDirectory> users,
                 std::uint32_t owner, Clock clock = {});
    ~ProcessStats(); // waits for its Async refresh still queued or running
    ProcessStats(const ProcessStats&) = delete;
    ProcessStats& operator=(const ProcessStats&) = delete;

    void refresh();
    // Queues refresh() on the snapshot worker and returns at once.
    void refreshAsync();
    void waitForAsync();

    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }
    std::vector<ProcessUserGroup> processArray() const { return snapshot()->processArray; }

    // "1d 2h 3m 4s": days and hours only when not zero (hours also when
    // days are), truncating arithmetic, so -5 s is "0m -5s".
    static std::string runtimeText(std::int64_t seconds);
    // Whether user a's group comes before user b's: owner, "root", then
    // plain byte order (the empty name first among the rest).
    static bool userBefore(const std::string& a, const std::string& b,
                           const std::optional<std::string>& owner);

private:
    std::shared_ptr<ProcessTable> m_table;
    std::shared_ptr<UserDirectory> m_users;
    std::uint32_t m_owner;
    Clock m_clock;
    std::mutex m_refreshMutex; // one reading at a time through m_table
    SnapshotCell<Snapshot> m_snapshot;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
