#include "stats/DeviceReport.h"

#include "stats/StaticStats.h"

#include <optional>

namespace {

QString yesNo(bool value)
{
    return value ? "Yes" : "No";
}

// Text the host could not read prints as "N/A", not as an empty gap.
QString orNA(const QString& value)
{
    return value.isEmpty() ? QString("N/A") : value;
}

QString number(std::optional<uint64_t> value)
{
    return value ? QString::number(*value) : QString("N/A");
}

// A quantity scaled to a unit ("412 MHz", "48 KB"); "N/A" alone when absent.
QString scaled(std::optional<uint64_t> value, uint64_t divisor, const char* unit)
{
    return value ? QString("%1 %2").arg(*value / divisor).arg(unit) : QString("N/A");
}

} // namespace

QString DeviceReport::text()
{
    return text(StaticStats::instance());
}

QString DeviceReport::text(const StaticStats& s)
{
    QString out;
    const auto line = [&out](const char* label, const QString& value) {
        out += QString("- %1: %2 \n").arg(label, value);
    };
    // The first block has no blank before its line ends.
    out += "Operating System:\n";
    out += QString("- system: %1 %2\n").arg(s.system_name(), s.system_version());
    out += QString("- system build: %1\n").arg(orNA(s.version()));
    out += QString("- multitasking support: %1\n").arg(yesNo(s.multitasking()));
    out += QString("- kernel: %1 %2\n").arg(s.ostype(), s.osrelease());
    out += QString("- kernel build: %1\n").arg(number(s.osrev()));

    out += "\nDevice Information:\n";
    line("device", s.device());
    line("device ID", s.machine());
    line("model", orNA(s.model()));
    line("name", orNA(s.name()));
    line("hostname", orNA(s.hostname()));
    line("UDID", orNA(s.udid()));

    out += "\nCPU Information:\n";
    line("CPU model", s.processor());
    line("GPU model", s.gpu());
    line("core number", QString::number(s.coreNumber()));
    line("CPU frequency", s.cpu_freq());
    line("BUS frequency", scaled(s.bus_freq(), 1000000, "MHz"));
    line("TB frequency", scaled(s.tb_freq(), 1000000, "MHz"));
    line("L1 cache size", scaled(s.l1cachesize(), 1024, "KB"));
    line("L1D cache size", scaled(s.l1dcachesize(), 1024, "KB"));
    line("L2 cache size", scaled(s.l2cachesize(), 1024, "KB"));
    line("byteorder", QString::number(s.byteorder()));
    line("cacheline", number(s.cacheline()));

    out += "\nHardware Features:\n";
    line("display resolution", s.display_resolution());
    line("pixel density", s.display_ppi());
    line("battery voltage", s.battery_voltage());
    line("battery capacity", s.battery_capacity());
    line("rear camera", s.rear_camera() ? s.rear_camera_resolution() : QString("No"));
    line("front camera", s.front_camera() ? s.front_camera_resolution() : QString("No"));
    line("touchscreen", yesNo(s.touchscreen()));
    line("microphone", yesNo(s.microphone()));
    line("speaker", yesNo(s.speaker()));
    line("wi-fi", yesNo(s.wifi()));
    line("bluetooth", yesNo(s.bluetooth()));
    line("accelerometer", yesNo(s.accelerometer()));
    line("gyroscopic sensor", yesNo(s.gyroscope()));
    line("ambient light sensor", yesNo(s.ambient_light()));
    line("proximity sensor", yesNo(s.proximity()));
    line("magnetometer", yesNo(s.magnetometer()));
    line("phone", yesNo(s.phone()));
    return out;
}
