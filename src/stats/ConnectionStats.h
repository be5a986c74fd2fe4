#pragma once

#include "host/SocketDump.h"
#include "stats/ConnectionGroup.h"
#include "stats/ConnectionSnapshot.h"
#include "stats/JobGroup.h"
#include "stats/SnapshotCell.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Snapshot of the Internet sockets, grouped by protocol name, listening and
// closed TCP sockets left out. A refresh builds a whole new snapshot and
// publishes it at once; refreshes run one at a time, readers never wait for one.
class ConnectionStats {
public:
    using Snapshot = ConnectionSnapshot;

    static ConnectionStats& instance();

    explicit ConnectionStats(std::shared_ptr<SocketDump> dump);
    ~ConnectionStats(); // waits for its Async refresh still queued or running
    ConnectionStats(const ConnectionStats&) = delete;
    ConnectionStats& operator=(const ConnectionStats&) = delete;

    // Builds and sorts a new snapshot, then replaces connectionArray.
    void refresh();
    // Queues refresh() on the snapshot worker and returns at once.
    void refreshAsync();
    void waitForAsync();

    // The whole reading; a reader of many sockets holds this and asks it for
    // the texts of the rows it shows.
    std::shared_ptr<const Snapshot> snapshot() const { return m_snapshot.load(); }
    // Every socket's texts at once: costly for a long list.
    std::vector<ConnectionGroup> connectionArray() const { return snapshot()->connectionArray(); }

private:
    // The lists already read in this refresh: the IPv4 and IPv6 tables share them.
    struct ListsRead {
        bool tcp = false;
        bool udp = false;
    };
    // Adds a record to the snapshot for every qualifying socket of the list
    // that serves protocol p, named after name.
    void protopr(std::uint32_t p, const char* name, ConnectionSnapshot::Builder& array,
                 ListsRead& done);

    std::shared_ptr<SocketDump> m_dump;
    std::mutex m_refreshMutex; // one dump at a time through m_dump
    SnapshotCell<Snapshot> m_snapshot;
    JobGroup m_jobs; // last: its destructor waits for jobs that use the fields above
};
