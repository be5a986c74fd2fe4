#include "metrics/MetricFamilies.h"

#include "host/sysfs/PowerSupply.h"

#include <arpa/inet.h>
#include <net/if.h>

#include <QString>

#include <initializer_list>
#include <string>

using prometheus::ClientMetric;
using prometheus::MetricFamily;
using prometheus::MetricType;

namespace {

using Labels = std::initializer_list<ClientMetric::Label>;

class Families {
public:
    MetricFamily& add(const char* name, const char* help, MetricType type)
    {
        out.push_back({name, help, type, {}});
        return out.back();
    }
    static void sample(MetricFamily& f, double value, Labels labels = {})
    {
        ClientMetric m;
        m.label.assign(labels.begin(), labels.end());
        if (f.type == MetricType::Counter)
            m.counter.value = value;
        else
            m.gauge.value = value;
        f.metric.push_back(std::move(m));
    }
    void one(const char* name, const char* help, MetricType type, double value)
    {
        sample(add(name, help, type), value);
    }

    std::vector<MetricFamily> out;
};

// Interface names and addresses are the machine's own bytes: the text
// format needs valid UTF-8 in label values.
std::string utf8(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size())).toStdString();
}

std::string ipv4Text(std::uint32_t networkOrder)
{
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &networkOrder, text, sizeof text);
    return text;
}

std::string macText(const std::vector<std::uint8_t>& bytes)
{
    static const char kHex[] = "0123456789abcdef";
    std::string s;
    for (const std::uint8_t b : bytes) {
        if (!s.empty())
            s += ':';
        s += kHex[b >> 4];
        s += kHex[b & 15];
    }
    return s;
}

void addMemory(Families& fs, const MemInfo& m)
{
    if (m.total)
        fs.one("welvane_memory_total_bytes", "Physical memory (MemTotal).", MetricType::Gauge,
               double(*m.total));
    auto& f = fs.add("welvane_memory_bytes", "Memory by kind.", MetricType::Gauge);
    const auto put = [&f](const char* kind, std::optional<std::uint64_t> v) {
        if (v)
            Families::sample(f, double(*v), {{"kind", kind}});
    };
    put("free", m.free);
    put("available", m.available);
    put("active", m.active);
    put("inactive", m.inactive);
    // Wired: what the kernel cannot page out, as the Memory page counts it.
    if (m.unevictable && m.sunreclaim && m.kernel_stack && m.page_tables)
        put("wired", *m.unevictable + *m.sunreclaim + *m.kernel_stack + *m.page_tables);
}

void addPaging(Families& fs, const VmStat& v)
{
    const auto put = [&fs](const char* name, const char* help, std::optional<std::uint64_t> n,
                           double scale) {
        if (n)
            fs.one(name, help, MetricType::Counter, double(*n) * scale);
    };
    put("welvane_memory_paged_in_bytes_total", "Bytes paged in from disk (pgpgin).", v.pgpgin,
        1024);
    put("welvane_memory_paged_out_bytes_total", "Bytes paged out to disk (pgpgout).", v.pgpgout,
        1024);
    put("welvane_memory_page_faults_total", "Page faults (pgfault).", v.pgfault, 1);
    put("welvane_memory_page_reactivations_total", "Pages moved back to active (pgactivate).",
        v.pgactivate, 1);
    put("welvane_memory_page_purges_total", "Lazily freed pages reclaimed (pglazyfreed).",
        v.pglazyfreed, 1);
}

void addBattery(Families& fs, const MetricsReading& r)
{
    const bool present = r.battery.batteries > 0;
    fs.one("welvane_battery_present", "1 when the machine has a system battery.", MetricType::Gauge,
           present ? 1 : 0);
    fs.one("welvane_battery_health_setting_ratio",
           "Battery health the user set for the work-time estimate.", MetricType::Gauge,
           double(r.healthPercent) / 100.0);
    if (!present)
        return;
    if (r.battery.level >= 0)
        fs.one("welvane_battery_level_ratio", "Battery charge.", MetricType::Gauge,
               double(r.battery.level));
    auto& f =
        fs.add("welvane_battery_state", "Battery state (one of them is 1).", MetricType::Gauge);
    static const std::pair<Battery::State, const char*> kStates[] = {
        {Battery::StateUnknown, "unknown"},
        {Battery::StateUnplugged, "discharging"},
        {Battery::StateCharging, "charging"},
        {Battery::StateFull, "full"}};
    for (const auto& [state, name] : kStates)
        Families::sample(f, r.battery.state == state ? 1 : 0, {{"state", name}});
}

void addAddresses(Families& fs, const std::vector<InterfaceAddress>& list, bool withIdentity)
{
    auto& ip =
        fs.add("welvane_network_address_info", "IPv4 address of an interface.", MetricType::Gauge);
    for (const auto& a : list)
        if (a.kind == InterfaceAddress::Kind::Ipv4)
            Families::sample(ip, 1, {{"interface", utf8(a.name)}, {"address", ipv4Text(a.ipv4)}});
    if (!withIdentity)
        return;
    auto& mac = fs.add("welvane_network_hardware_address_info",
                       "Ethernet hardware address of an interface.", MetricType::Gauge);
    for (const auto& a : list)
        if (a.kind == InterfaceAddress::Kind::Link && a.ethernet && !(a.flags & IFF_LOOPBACK))
            Families::sample(mac, 1,
                             {{"interface", utf8(a.name)}, {"address", macText(a.address)}});
}

void addDevice(Families& fs, const DeviceInfo& d, bool withIdentity)
{
    auto& f = fs.add("welvane_device_info", "What this device is.", MetricType::Gauge);
    ClientMetric m;
    m.label = {{"model", utf8(d.model)},
               {"system", utf8(d.system)},
               {"kernel", utf8(d.kernel)},
               {"cpu", utf8(d.cpu)},
               {"cores", d.cores ? std::to_string(*d.cores) : std::string()}};
    if (withIdentity)
        m.label.push_back({"device_id", utf8(d.deviceId)});
    m.gauge.value = 1;
    f.metric.push_back(std::move(m));
}

} // namespace

std::vector<MetricFamily> MetricFamilies::build(const MetricsReading& r, bool withIdentity)
{
    Families fs;
    auto& success =
        fs.add("welvane_collector_success",
               "1 when the collector's reading succeeded in this scrape.", MetricType::Gauge);
    const auto collector = [&success](const char* name, bool ok) {
        Families::sample(success, ok ? 1 : 0, {{"collector", name}});
    };
    collector("load", r.load.has_value());
    collector("cpu", r.cpu.has_value());
    collector("memory", r.memory.has_value());
    collector("paging", r.paging.has_value());
    collector("boot", r.bootTime.has_value());
    collector("documents_volume", r.documentsVolume.has_value());
    collector("addresses", r.addresses.has_value());
    collector("connections", r.connections.has_value());
    collector("routes", r.routes.has_value());
    collector("processes", r.processes.has_value());

    if (r.load) {
        fs.one("welvane_load1", "Load average over 1 minute.", MetricType::Gauge, (*r.load)[0]);
        fs.one("welvane_load5", "Load average over 5 minutes.", MetricType::Gauge, (*r.load)[1]);
        fs.one("welvane_load15", "Load average over 15 minutes.", MetricType::Gauge, (*r.load)[2]);
    }
    if (r.cpu && r.ticksPerSecond > 0) {
        auto& f = fs.add("welvane_cpu_seconds_total",
                         "CPU time since boot by mode, all CPUs (system includes interrupts and "
                         "steal, idle includes I/O wait).",
                         MetricType::Counter);
        const double hz = r.ticksPerSecond;
        Families::sample(f, double(r.cpu->user) / hz, {{"mode", "user"}});
        Families::sample(f, double(r.cpu->nice) / hz, {{"mode", "nice"}});
        Families::sample(f, double(r.cpu->system) / hz, {{"mode", "system"}});
        Families::sample(f, double(r.cpu->idle) / hz, {{"mode", "idle"}});
    }
    if (r.memory)
        addMemory(fs, *r.memory);
    if (r.paging)
        addPaging(fs, *r.paging);
    addBattery(fs, r);
    if (r.documentsVolume) {
        fs.one("welvane_documents_volume_size_bytes", "Size of the volume holding Documents.",
               MetricType::Gauge, double(r.documentsVolume->size));
        fs.one("welvane_documents_volume_free_bytes",
               "Bytes free to the user on the volume holding Documents.", MetricType::Gauge,
               double(r.documentsVolume->freeSize));
    }
    if (r.bootTime)
        fs.one("welvane_boot_time_seconds", "Boot time, seconds since the Unix epoch.",
               MetricType::Gauge, double(*r.bootTime));
    if (r.connections) {
        auto& f = fs.add("welvane_connections",
                         "Internet sockets by protocol and state (listening TCP sockets are "
                         "not counted).",
                         MetricType::Gauge);
        for (const auto& [key, n] : *r.connections)
            Families::sample(f, double(n), {{"protocol", key.first}, {"state", key.second}});
    }
    if (r.routes) {
        auto& f = fs.add("welvane_routes", "Routes in all routing tables by address family.",
                         MetricType::Gauge);
        for (const auto& [family, n] : *r.routes)
            Families::sample(f, double(n), {{"family", family}});
    }
    if (r.processes) {
        auto& f = fs.add("welvane_processes",
                         "Processes by the user that runs them (effective id).", MetricType::Gauge);
        for (const auto& [user, n] : *r.processes)
            Families::sample(f, double(n), {{"user", user}});
    }
    if (r.addresses)
        addAddresses(fs, *r.addresses, withIdentity);
    addDevice(fs, r.device, withIdentity);
    return std::move(fs.out);
}
