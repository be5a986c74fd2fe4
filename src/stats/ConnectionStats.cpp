#include "stats/ConnectionStats.h"

#include "host/netlink/LinuxSocketDump.h"
#include "stats/ConnectionText.h"

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

// tcp4, tcp6, udp4, udp6 first; every other name after them in plain order.
int rank(const std::string& name)
{
    static const char* const first[] = {"tcp4", "tcp6", "udp4", "udp6"};
    for (int i = 0; i < 4; ++i)
        if (name == first[i])
            return i;
    return 4;
}

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
    std::vector<ConnectionInfo> work;
    for (const Protocol& p : Ipv4Table)
        protopr(p.number, p.name, work, done);
    for (const Protocol& p : Ipv6Table)
        protopr(p.number, p.name, work, done);

    // Rank first, so the common names never reach a string comparison.
    std::vector<std::pair<int, std::uint32_t>> order(work.size());
    for (std::uint32_t i = 0; i < work.size(); ++i)
        order[i] = {rank(work[i].name), i};
    std::stable_sort(order.begin(), order.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        return a.first == 4 && work[a.second].name < work[b.second].name;
    });

    std::vector<ConnectionGroup> groups;
    for (const auto& [r, i] : order) {
        ConnectionInfo& info = work[i];
        if (groups.empty() || groups.back().name != info.name)
            groups.push_back(ConnectionGroup{info.name, {}});
        groups.back().connectionList.push_back(std::move(info));
    }
    m_snapshot.store(Snapshot{std::move(groups)});
}

void ConnectionStats::protopr(std::uint32_t p, const char* name, std::vector<ConnectionInfo>& array,
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

    const std::size_t before = array.size();
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
        ConnectionInfo& info = array.emplace_back();
        info.name = connectiontext::protocolName(name, r.vflag);
        if (r.vflag & PcbRecord::VersionIpv4) {
            info.localAddr = connectiontext::ipv4Text(r.laddr);
            info.remoteAddr = connectiontext::ipv4Text(r.faddr);
            info.localPort = connectiontext::portText(r.lport, true);
            info.remotePort = connectiontext::portText(r.fport, true);
        } else {
            info.localAddr = connectiontext::ipv6Text(r.laddr6.data());
            info.remoteAddr = connectiontext::ipv6Text(r.faddr6.data());
            info.localPort = connectiontext::portText(r.lport, false);
            info.remotePort = connectiontext::portText(r.fport, false);
        }
        if (tcp)
            info.state = connectiontext::stateText(r.tstate, r.tflags);
    });
    if (!ok)
        array.resize(before); // an unreadable list contributes nothing
}
