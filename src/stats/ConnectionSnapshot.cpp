#include "stats/ConnectionSnapshot.h"

#include "stats/ConnectionText.h"

#include <algorithm>
#include <cstring>
#include <numeric>

namespace {

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

const std::string& ConnectionSnapshot::sectionName(std::size_t section) const
{
    return m_sections.at(section).name;
}

std::size_t ConnectionSnapshot::rowCount(std::size_t section) const
{
    return m_sections.at(section).entries.size();
}

std::size_t ConnectionSnapshot::totalRows() const
{
    return std::accumulate(m_sections.begin(), m_sections.end(), std::size_t(0),
                           [](std::size_t n, const Section& s) { return n + s.entries.size(); });
}

ConnectionInfo ConnectionSnapshot::connection(std::size_t section, std::size_t row) const
{
    if (row >= rowCount(section))
        return {};
    const ConnectionEntry& e = m_sections[section].entries[row];
    ConnectionInfo info;
    info.name = m_sections[section].name;
    if (e.ipv4) {
        std::uint32_t local, remote;
        std::memcpy(&local, e.local.data(), 4);
        std::memcpy(&remote, e.remote.data(), 4);
        info.localAddr = connectiontext::ipv4Text(local);
        info.remoteAddr = connectiontext::ipv4Text(remote);
    } else {
        info.localAddr = connectiontext::ipv6Text(e.local.data());
        info.remoteAddr = connectiontext::ipv6Text(e.remote.data());
    }
    info.localPort = connectiontext::portText(e.localPort, e.ipv4);
    info.remotePort = connectiontext::portText(e.remotePort, e.ipv4);
    if (e.state != ConnectionEntry::NotTcp)
        info.state = connectiontext::stateText(e.state, e.tcpFlags);
    return info;
}

std::vector<ConnectionGroup> ConnectionSnapshot::connectionArray() const
{
    std::vector<ConnectionGroup> groups(m_sections.size());
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        groups[s].name = m_sections[s].name;
        groups[s].connectionList.reserve(m_sections[s].entries.size());
        for (std::size_t r = 0; r < m_sections[s].entries.size(); ++r)
            groups[s].connectionList.push_back(connection(s, r));
    }
    return groups;
}

std::size_t ConnectionSnapshot::Builder::sectionFor(const char* protocolName, std::uint8_t vflag)
{
    // A handful of keys: the protocol tables are short.
    for (const Key& k : m_keys)
        if (k.protocolName == protocolName && k.vflag == vflag)
            return k.section;
    const std::string name = connectiontext::protocolName(protocolName, vflag);
    auto it = std::find_if(m_sections.begin(), m_sections.end(),
                           [&](const Section& s) { return s.name == name; });
    if (it == m_sections.end())
        it = m_sections.insert(it, Section{name, {}});
    const std::size_t section = std::size_t(it - m_sections.begin());
    m_keys.push_back({protocolName, vflag, section});
    return section;
}

void ConnectionSnapshot::Builder::add(const char* protocolName, const PcbRecord& r, bool tcp)
{
    ConnectionEntry& e = m_sections[sectionFor(protocolName, r.vflag)].entries.emplace_back();
    e.ipv4 = r.vflag & PcbRecord::VersionIpv4;
    if (e.ipv4) {
        std::memcpy(e.local.data(), &r.laddr, 4);
        std::memcpy(e.remote.data(), &r.faddr, 4);
    } else {
        e.local = r.laddr6;
        e.remote = r.faddr6;
    }
    e.localPort = r.lport;
    e.remotePort = r.fport;
    if (tcp) {
        e.state = std::int16_t(std::clamp(r.tstate, -1, 0x7fff));
        e.tcpFlags = std::uint16_t(r.tflags & (PcbRecord::NeedSyn | PcbRecord::NeedFin));
    }
}

ConnectionSnapshot::Builder::Mark ConnectionSnapshot::Builder::mark() const
{
    Mark sizes;
    for (const Section& s : m_sections)
        sizes.push_back(s.entries.size());
    return sizes;
}

void ConnectionSnapshot::Builder::dropSince(const Mark& mark)
{
    for (std::size_t s = 0; s < m_sections.size(); ++s)
        m_sections[s].entries.resize(s < mark.size() ? mark[s] : 0);
}

ConnectionSnapshot ConnectionSnapshot::Builder::finish()
{
    std::erase_if(m_sections, [](const Section& s) { return s.entries.empty(); });
    std::sort(m_sections.begin(), m_sections.end(), [](const Section& a, const Section& b) {
        const int ra = rank(a.name), rb = rank(b.name);
        return ra != rb ? ra < rb : a.name < b.name;
    });
    m_keys.clear();
    ConnectionSnapshot snapshot;
    snapshot.m_sections = std::move(m_sections);
    return snapshot;
}
