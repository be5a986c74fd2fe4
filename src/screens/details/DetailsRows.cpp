#include "screens/details/DetailsRows.h"

#include "stats/StaticStats.h"

#include <cstdint>

namespace {

using Row = DetailsRows::Row;
using Kind = DetailsRows::Kind;

QString yesNo(bool value)
{
    return value ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString orNA(const QString& value)
{
    return value.isEmpty() ? QStringLiteral("N/A") : value;
}

QString number(std::optional<uint64_t> value)
{
    return value ? QString::number(*value) : QStringLiteral("N/A");
}

// Unsigned and truncated: 999 999 Hz is "0 MHz".
QString scaled(std::optional<uint64_t> value, uint64_t divisor, const char* unit)
{
    return value ? QStringLiteral("%1 %2").arg(*value / divisor).arg(QLatin1String(unit))
                 : QStringLiteral("N/A");
}

Row normal(const char* title, const QString& value)
{
    return {QString::fromLatin1(title), Kind::Normal, value, std::nullopt};
}

Row onOff(const char* title, bool on, const QString& text)
{
    return {QString::fromLatin1(title), Kind::OnOffGraph, text, on};
}

Row onOff(const char* title, bool on)
{
    return onOff(title, on, yesNo(on));
}

} // namespace

DetailsRows::DetailsRows(const StaticStats& stats, bool pad) : m_stats(stats), m_pad(pad) {}

QString DetailsRows::sectionTitle(int section)
{
    static const char* const titles[kSections] = {"Operating System", "Device Information",
                                                  "CPU Information", "Hardware Features"};
    return section >= 0 && section < kSections ? QString::fromLatin1(titles[section]) : QString();
}

int DetailsRows::numberOfRows(int section) const
{
    switch (section) {
    case 0:
        // Large screens show the log as a page of its own.
        return m_pad ? 5 : 6;
    case 1:
        return 6;
    case 2:
        return 11;
    case 3:
        return m_pad && !m_stats.has3g() ? 17 : 18;
    default:
        return 0;
    }
}

QString DetailsRows::demoOr(const char* demo, const QString& live) const
{
    return m_stats.simulator() ? QString::fromUtf8(demo) : live;
}

DetailsRows::Row DetailsRows::row(ui::IndexPath p) const
{
    switch (p.section) {
    case 0:
        return operatingSystem(p.row);
    case 1:
        return deviceInformation(p.row);
    case 2:
        return cpuInformation(p.row);
    default:
        return hardwareFeatures(p.row);
    }
}

DetailsRows::Row DetailsRows::operatingSystem(int row) const
{
    const StaticStats& s = m_stats;
    switch (row) {
    case 0:
        return normal("System", s.system_name() + QLatin1Char(' ') + s.system_version());
    case 1:
        return normal("System Build", demoOr("8J2", orNA(s.version())));
    case 2:
        return onOff("Multitasking Support", s.multitasking());
    case 3:
        return normal("Kernel",
                      demoOr("Darwin 11.0.0", s.ostype() + QLatin1Char(' ') + s.osrelease()));
    case 4:
        return normal("Kernel Build", number(s.osrev()));
    default:
        return {QStringLiteral("System Log"), Kind::Details, {}, std::nullopt};
    }
}

DetailsRows::Row DetailsRows::deviceInformation(int row) const
{
    const StaticStats& s = m_stats;
    switch (row) {
    case 0:
        return normal("Device", s.device());
    case 1:
        return normal("Device ID", s.machine());
    case 2:
        return normal("Model", demoOr("N81AP", orNA(s.model())));
    case 3:
        return normal("Name", demoOr("Corvin's iPod", orNA(s.name())));
    case 4:
        return normal("Hostname", demoOr("Corvins-iPod", orNA(s.hostname())));
    default: {
        Row udid = normal("UDID", orNA(s.udid()));
        if (s.simulator())
            udid.value = QStringLiteral("abcdef").repeated(7);
        // Too long for one line beside its title on a narrow screen.
        if (!m_pad)
            udid.kind = Kind::Twoline;
        return udid;
    }
    }
}

DetailsRows::Row DetailsRows::cpuInformation(int row) const
{
    const StaticStats& s = m_stats;
    switch (row) {
    case 0:
        return normal("CPU Model", s.processor());
    case 1:
        return normal("GPU Model", s.gpu());
    case 2:
        return normal("Core Number", QString::number(s.coreNumber()));
    case 3:
        return normal("CPU Frequency", demoOr("~800 MHz", s.cpu_freq()));
    case 4:
        return normal("BUS Frequency", demoOr("100 MHz", scaled(s.bus_freq(), 1000000, "MHz")));
    case 5:
        return normal("TB Frequency", demoOr("24 MHz", scaled(s.tb_freq(), 1000000, "MHz")));
    case 6:
        return normal("L1 Cache Size", scaled(s.l1cachesize(), 1024, "KB"));
    case 7:
        return normal("L1D Cache Size", scaled(s.l1dcachesize(), 1024, "KB"));
    case 8:
        return normal("L2 Cache Size", demoOr("512 KB", scaled(s.l2cachesize(), 1024, "KB")));
    case 9:
        return normal("Byteorder", QString::number(s.byteorder()));
    default:
        return normal("Cacheline", number(s.cacheline()));
    }
}

DetailsRows::Row DetailsRows::hardwareFeatures(int row) const
{
    const StaticStats& s = m_stats;
    switch (row) {
    case 0:
        return normal("Display Resolution", s.display_resolution());
    case 1:
        return normal("Pixel Density", s.display_ppi());
    case 2:
        return normal("Battery Voltage", s.battery_voltage());
    case 3:
        return normal("Battery Capacity", s.battery_capacity());
    // A camera the machine lacks reads "No" whatever resolution is on record,
    // as in the mailed report.
    case 4:
        return onOff("Rear Camera", s.rear_camera(),
                     s.rear_camera() ? s.rear_camera_resolution() : yesNo(false));
    case 5:
        return onOff("Front Camera", s.front_camera(),
                     s.front_camera() ? s.front_camera_resolution() : yesNo(false));
    case 6:
        return onOff("Touchscreen", s.touchscreen());
    case 7:
        return onOff("Microphone", s.microphone());
    case 8:
        return onOff("Speaker", s.speaker());
    case 9:
        return onOff("Wi-Fi", s.wifi());
    case 10:
        return onOff("Bluetooth", s.bluetooth());
    case 11:
        return onOff("Accelerometer", s.accelerometer());
    case 12:
        return onOff("Gyroscopic Sensor", s.gyroscope());
    case 13:
        return onOff("Ambient Light Sensor", s.ambient_light());
    case 14:
        return onOff("Proximity Sensor", s.proximity());
    case 15:
        return onOff("Magnetometer", s.magnetometer());
    case 16:
        return onOff("Phone", s.phone());
    default:
        return onOff("GPS", s.gps());
    }
}
