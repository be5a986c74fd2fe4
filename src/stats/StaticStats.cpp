#include "stats/StaticStats.h"

#include "host/DeviceIdentity.h"
#include "host/HardwareProbe.h"
#include "host/HostServices.h"
#include "host/KernelFacts.h"
#include "host/Modem.h"
#include "host/proc/ProcParsers.h"
#include "stats/DeviceTable.h"

#include <bit>

namespace {

QString fromStd(const std::string& s)
{
    return QString::fromStdString(s);
}

// The kernel's byte-order word in the BSD form the Details page prints.
constexpr uint32_t kByteOrder = std::endian::native == std::endian::little ? 1234 : 4321;

} // namespace

StaticStats& StaticStats::instance()
{
    static StaticStats stats(Host{HostServices::kernel(), HostServices::identity(),
                                  HostServices::hardware(), HostServices::modem()});
    return stats;
}

StaticStats::StaticStats(const Host& host)
{
    refresh(host);
}

QString StaticStats::formatCpuFrequency(std::optional<uint64_t> hz, const QString& machine)
{
    if (hz && *hz != 0)
        return QString("%1 MHz").arg(*hz / 1000000);
    for (const char* p : {"iPhone3", "iPhone4", "iPod4", "iPod5"})
        if (machine.startsWith(QLatin1String(p)))
            return "~800 MHz";
    for (const char* p : {"iPad1", "iPad2"})
        if (machine.startsWith(QLatin1String(p)))
            return "1000 MHz";
    return "N/A";
}

bool StaticStats::test3G(Modem& modem)
{
    if (!modem.available())
        return false;
    const auto carrier = modem.carrierName();
    return !(carrier && carrier->isEmpty());
}

void StaticStats::refresh(const Host& host)
{
    KernelFacts& k = host.kernel;
    const auto id = k.identity();
    if (id) {
        m_machine = fromStd(id->machine);
        m_ostype = fromStd(id->ostype);
        m_osrelease = fromStd(id->release);
        m_hostname = fromStd(id->hostname);
    }
    m_model = fromStd(k.model().value_or(""));
    m_byteorder = kByteOrder;
    if (const auto mem = k.memInfo()) {
        m_physmem = mem->total;
        m_usermem = mem->available;
    }
    m_pagesize = k.pageSize();
    // No Linux source for the bus and time-base frequencies: they stay absent.
    m_cpu_freq = formatCpuFrequency(k.cpuFrequencyHz(), m_machine);
    const CacheSizes caches = k.caches();
    m_cacheline = caches.line;
    m_l1cachesize = caches.l1i;
    m_l1dcachesize = caches.l1d;
    m_l2cachesize = caches.l2;
    if (id)
        m_osrev = procparse::kernelBuild(id->version);
    const OsRelease os = k.osRelease();
    m_version = fromStd(os.build_id.value_or(os.version_id.value_or("")));
    m_boottime = k.bootTime();

    DeviceIdentity& who = host.identity;
    m_name = fromStd(who.name());
    m_system_name = fromStd(who.systemName());
    m_system_version = fromStd(who.systemVersion());
    m_udid = fromStd(who.uniqueIdentifier().value_or(""));
    m_multitasking = who.multitaskingSupported();

    m_facts = DeviceFacts{};
    const int row = DeviceTable::apply(m_machine, m_facts);
    if (row >= DeviceTable::kFirstIpadRow && row <= DeviceTable::kLastIpadRow) {
        m_facts.has3g = test3G(host.modem);
        if (m_facts.has3g) {
            m_facts.battery_life_browsing_3g = 9 * 3600;
            m_facts.gps = true;
        }
    }
    if (row == DeviceTable::kSimulatorRow)
        m_physmem = DeviceTable::kSimulatorPhysmem;
    if (row == 0)
        applyProbe(host);
}

void StaticStats::applyProbe(const Host& host)
{
    const HardwareFacts hw = host.hardware.probe();
    const auto text = [](QString& field, const std::optional<std::string>& found) {
        if (found && !found->empty())
            field = fromStd(*found);
    };
    const auto flag = [](bool& field, const std::optional<bool>& found) {
        if (found)
            field = *found;
    };
    DeviceFacts& f = m_facts;
    text(f.device, hw.device);
    text(f.display_resolution, hw.display_resolution);
    text(f.display_ppi, hw.display_ppi);
    text(f.battery_voltage, hw.battery_voltage);
    text(f.battery_capacity, hw.battery_capacity);
    text(f.processor, hw.processor);
    text(f.gpu, hw.gpu);
    text(f.front_camera_resolution, hw.front_camera_resolution);
    text(f.rear_camera_resolution, hw.rear_camera_resolution);
    if (hw.coreNumber && *hw.coreNumber > 0)
        f.coreNumber = *hw.coreNumber;
    flag(f.front_camera, hw.front_camera);
    flag(f.rear_camera, hw.rear_camera);
    flag(f.microphone, hw.microphone);
    flag(f.phone, hw.phone);
    flag(f.gyroscope, hw.gyroscope);
    flag(f.magnetometer, hw.magnetometer);
    flag(f.proximity, hw.proximity);
    flag(f.has3g, hw.has3g);
    flag(f.gps, hw.gps);
    flag(f.bluetooth, hw.bluetooth);
    flag(f.wifi, hw.wifi);
    flag(f.accelerometer, hw.accelerometer);
    flag(f.touchscreen, hw.touchscreen);
    flag(f.speaker, hw.speaker);
    flag(f.ambient_light, hw.ambient_light);
}
