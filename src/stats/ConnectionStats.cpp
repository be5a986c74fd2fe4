#include "stats/ConnectionStats.h"

#include "host/netlink/LinuxSocketDump.h"

#include <algorithm>
#include <unordered_set>

namespace {

struct Protocol {
    std::uint32_t number;
    const char* name;
};
constexpr Protocol Ipv4Table[] = {{6, "tcp"},  {17, "udp"}, {254, "divert"},
                                  {255, "ip"}, {1, "icmp"}, {2, "igmp"}};
constexpr Protocol Ipv6Table[] = {{6, "tcp"}, {17, "udp"}, {255, "ip6"}, {58, "icmp6"}};

} // namespace

ConnectionStats& ConnectionStats::instance()
{
    static ConnectionStats shared(std::make_shared<LinuxSocketDump>());
    return shared;
}

ConnectionStats::ConnectionStats(std::shared_ptr<SocketDump> dump)
    : m_dump(std::move(dump)), m_jobs(BackgroundWorker::snapshots())
{
}

ConnectionStats::~ConnectionStats()
{
    waitForAsync();
}

void ConnectionStats::refreshAsync()
{
    m_jobs.post([this] { refresh(); });
}

void ConnectionStats::waitForAsync()
{
    m_jobs.wait();
}

void ConnectionStats::refresh()
{
    std::lock_guard lock(m_refreshMutex);
    ListsRead done;
    ConnectionSnapshot::Builder work;
    for (const Protocol& p : Ipv4Table)
        protopr(p.number, p.name, work, done);
    for (const Protocol& p : Ipv6Table)
        protopr(p.number, p.name, work, done);
    m_snapshot.store(work.finish());
}

void ConnectionStats::protopr(std::uint32_t p, const char* name, ConnectionSnapshot::Builder& array,
                              ListsRead& done)
{
    SocketDump::List list;
    const bool tcp = p == 6;
    if (p == 17) {
        if (done.udp)
            return;
        done.udp = true;
        list = SocketDump::List::Udp;
    } else if (tcp) {
        if (done.tcp)
            return;
        done.tcp = true;
        list = SocketDump::List::Tcp;
    } else if (p == 254) {
        list = SocketDump::List::Divert;
    } else {
        list = SocketDump::List::Raw;
    }

    const ConnectionSnapshot::Builder::Mark before = array.mark();
    // Stands in for the generation check of the BSD lists: a socket that
    // moved while the kernel walked its table can be delivered twice.
    std::unordered_set<std::uint64_t> seen;
    const bool ok = m_dump->list(list, [&](const PcbRecord& r) {
        if (r.protocol != p)
            return;
        if (r.cookie != 0 && !seen.insert(r.cookie).second)
            return;
        if (!(r.vflag & (PcbRecord::VersionIpv4 | PcbRecord::VersionIpv6)))
            return;
        if (tcp && r.tstate <= 1)
            return;
        array.add(name, r, tcp);
    });
    if (!ok)
        array.dropSince(before); // an unreadable list contributes nothing
}
