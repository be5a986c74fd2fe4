#pragma once

#include "host/SocketDump.h"
#include "stats/ConnectionGroup.h"

#include <cstdint>
#include <memory>
#include <vector>

// Snapshot of the Internet sockets, grouped by protocol name, listening and
// closed TCP sockets left out. Not thread-safe: one refresh at a time.
class ConnectionStats {
public:
    static ConnectionStats& instance();

    explicit ConnectionStats(std::shared_ptr<SocketDump> dump);

    // Builds and sorts a new snapshot, then replaces connectionArray.
    void refresh();

    // Appends a record to array for every qualifying socket of the list that
    // serves protocol p, named after name.
    void protopr(std::uint32_t p, const char* name, std::vector<ConnectionInfo>& array);

    const std::vector<ConnectionGroup>& connectionArray() const { return m_connectionArray; }

private:
    std::shared_ptr<SocketDump> m_dump;
    std::vector<ConnectionGroup> m_connectionArray;
    bool m_tcpDone = false;
    bool m_udpDone = false;
};
