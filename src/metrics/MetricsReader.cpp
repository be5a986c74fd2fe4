#include "metrics/MetricsReader.h"

#include "host/DeviceIdentity.h"
#include "host/HardwareProbe.h"
#include "host/InterfaceAddresses.h"
#include "host/KernelFacts.h"
#include "host/PcbRecord.h"
#include "host/ProcessTable.h"
#include "host/RouteDump.h"
#include "host/SocketDump.h"
#include "host/UserDirectory.h"
#include "host/VolumeInfo.h"
#include "metrics/MetricsLog.h"

#include <unordered_set>

MetricsReader::MetricsReader(MetricsHost host) : m_host(std::move(host))
{
    DeviceInfo& d = m_device;
    HardwareFacts facts;
    if (m_host.hardware)
        facts = m_host.hardware->probe();
    if (facts.device)
        d.model = *facts.device;
    else if (auto model = m_host.kernel->model())
        d.model = *model;
    if (m_host.identity) {
        d.system = m_host.identity->systemName();
        const std::string version = m_host.identity->systemVersion();
        if (!version.empty())
            d.system += (d.system.empty() ? "" : " ") + version;
        // Derived per application from the machine ID; the raw ID never leaves.
        d.deviceId = m_host.identity->uniqueIdentifier().value_or("");
    }
    if (auto id = m_host.kernel->identity())
        d.kernel = id->release;
    d.cpu = facts.processor.value_or("");
    d.cores = facts.coreNumber ? facts.coreNumber : m_host.kernel->onlineCpus();
}

void MetricsReader::note(const char* source, bool ok)
{
    bool& failing = m_failing[source];
    if (!ok && !failing)
        qCWarning(lcMetrics) << "cannot read" << source << "- left out until it can";
    else if (ok && failing)
        qCInfo(lcMetrics) << source << "readable again";
    failing = !ok;
}

MetricsReading MetricsReader::read()
{
    MetricsReading r;
    KernelFacts& k = *m_host.kernel;
    r.load = k.loadAverages();
    note("load averages", r.load.has_value());
    r.cpu = k.cpuTicks();
    note("CPU ticks", r.cpu.has_value());
    r.ticksPerSecond = m_host.ticksPerSecond;
    r.memory = k.memInfo();
    note("memory", r.memory.has_value());
    r.paging = k.vmStat();
    note("paging counters", r.paging.has_value());
    r.bootTime = k.bootTime();
    note("boot time", r.bootTime.has_value());
    if (m_host.battery)
        r.battery = m_host.battery();
    r.healthPercent = repairedHealth(m_host.healthSetting ? m_host.healthSetting() : std::nullopt);
    if (m_host.volume && m_host.documentsPath)
        r.documentsVolume = m_host.volume->spaceFor(m_host.documentsPath());
    note("documents volume", r.documentsVolume.has_value());
    if (m_host.addresses)
        r.addresses = m_host.addresses->list();
    note("interface addresses", r.addresses.has_value());
    r.connections = countSockets();
    note("sockets", r.connections.has_value());
    r.routes = countRoutes();
    note("routes", r.routes.has_value());
    r.processes = countProcesses();
    note("processes", r.processes.has_value());
    r.device = m_device;
    return r;
}

std::string MetricsReader::stateName(bool tcp, int state)
{
    if (!tcp)
        return state ? "connected" : "unconnected";
    static const char* const kNames[] = {"closed",      "listen",     "syn_sent",   "syn_received",
                                         "established", "close_wait", "fin_wait_1", "closing",
                                         "last_ack",    "fin_wait_2", "time_wait"};
    if (state >= 0 && state < static_cast<int>(std::size(kNames)))
        return kNames[state];
    return "state_" + std::to_string(state); // a Linux-only state keeps its number
}

long long MetricsReader::repairedHealth(std::optional<long long> setting)
{
    return setting && *setting >= 20 && *setting <= 100 ? *setting : 100;
}

std::optional<std::map<std::pair<std::string, std::string>, std::uint64_t>>
MetricsReader::countSockets()
{
    if (!m_host.sockets)
        return std::nullopt;
    std::map<std::pair<std::string, std::string>, std::uint64_t> counts;
    // A dump racing with socket changes may deliver one socket twice.
    std::unordered_set<std::uint64_t> seen;
    for (const auto& [list, name] : {std::pair{SocketDump::List::Tcp, std::string("tcp")},
                                     std::pair{SocketDump::List::Udp, std::string("udp")},
                                     std::pair{SocketDump::List::Raw, std::string("raw")}}) {
        std::map<int, std::uint64_t> byState; // one string per state, not per socket
        const bool ok = m_host.sockets->list(list, [&](const PcbRecord& rec) {
            if (rec.cookie != 0 && !seen.insert(rec.cookie).second)
                return;
            ++byState[name == "tcp" ? rec.tstate : (rec.fport != 0 ? 1 : 0)];
        });
        if (!ok)
            return std::nullopt; // a partial count would read as sockets closing
        for (const auto& [state, n] : byState)
            counts[{name, stateName(name == "tcp", state)}] += n;
    }
    return counts;
}

std::optional<std::map<std::string, std::uint64_t>> MetricsReader::countRoutes()
{
    if (!m_host.routes)
        return std::nullopt;
    std::uint64_t v4 = 0, v6 = 0, other = 0;
    const bool ok = m_host.routes->dump([&](const RouteRecord& rec) {
        std::uint8_t family = 0;
        for (int s = 0; s < RouteRecord::SlotCount && !family; ++s)
            if (rec.has(static_cast<RouteRecord::Slot>(s)))
                family = rec.sa[s].family();
        if (family == routefamily::Inet)
            ++v4;
        else if (family == routefamily::Inet6)
            ++v6;
        else
            ++other;
    });
    if (!ok)
        return std::nullopt;
    std::map<std::string, std::uint64_t> counts{{"ipv4", v4}, {"ipv6", v6}};
    if (other)
        counts["other"] = other;
    return counts;
}

std::optional<std::map<std::string, std::uint64_t>> MetricsReader::countProcesses()
{
    if (!m_host.processes)
        return std::nullopt;
    const std::optional<std::vector<ProcessRecord>> table = m_host.processes->processes();
    if (!table)
        return std::nullopt;
    std::map<std::uint32_t, std::uint64_t> byUid;
    for (const ProcessRecord& p : *table)
        ++byUid[p.uid];
    // A user without a database entry keeps a label of its own: an empty
    // label value would read in Prometheus as no label at all.
    std::map<std::string, std::uint64_t> counts;
    for (const auto& [uid, n] : byUid) {
        const std::optional<std::string> name =
            m_host.users ? m_host.users->userName(uid) : std::nullopt;
        counts[name && !name->empty() ? *name : std::to_string(uid)] += n;
    }
    return counts;
}
