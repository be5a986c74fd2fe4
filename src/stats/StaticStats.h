#pragma once

#include "stats/DeviceFacts.h"

#include <QString>

#include <cstdint>
#include <optional>

class DeviceIdentity;
class HardwareProbe;
class KernelFacts;
class Modem;

// The device facts that do not change while the application runs, read once
// when the shared instance is created. Quantities are 64-bit; a number the
// host cannot read is nullopt (shown as "N/A"); a string it cannot read is "".
class StaticStats {
public:
    struct Host {
        KernelFacts& kernel;
        DeviceIdentity& identity;
        HardwareProbe& hardware;
        Modem& modem;
    };

    static StaticStats& instance();
    // Reads everything from host at once; the services are not kept.
    explicit StaticStats(const Host& host);

    // Kernel and OS
    const QString& machine() const { return m_machine; }
    const QString& model() const { return m_model; }
    uint32_t byteorder() const { return m_byteorder; }
    std::optional<uint64_t> physmem() const { return m_physmem; }
    std::optional<uint64_t> usermem() const { return m_usermem; }
    uint64_t pagesize() const { return m_pagesize; }
    std::optional<uint64_t> bus_freq() const { return m_bus_freq; }
    const QString& cpu_freq() const { return m_cpu_freq; }
    std::optional<uint64_t> cacheline() const { return m_cacheline; }
    std::optional<uint64_t> l1cachesize() const { return m_l1cachesize; }
    std::optional<uint64_t> l1dcachesize() const { return m_l1dcachesize; }
    std::optional<uint64_t> l2cachesize() const { return m_l2cachesize; }
    std::optional<uint64_t> tb_freq() const { return m_tb_freq; }
    const QString& osrelease() const { return m_osrelease; }
    std::optional<uint64_t> osrev() const { return m_osrev; }
    const QString& ostype() const { return m_ostype; }
    const QString& version() const { return m_version; }
    const QString& hostname() const { return m_hostname; }
    std::optional<uint64_t> boottime() const { return m_boottime; }

    // Device identity
    const QString& name() const { return m_name; }
    const QString& system_name() const { return m_system_name; }
    const QString& system_version() const { return m_system_version; }
    const QString& udid() const { return m_udid; }
    bool multitasking() const { return m_multitasking; }

    // Per-model facts
    const DeviceFacts& deviceFacts() const { return m_facts; }
    const QString& device() const { return m_facts.device; }
    const QString& display_resolution() const { return m_facts.display_resolution; }
    const QString& display_ppi() const { return m_facts.display_ppi; }
    const QString& battery_voltage() const { return m_facts.battery_voltage; }
    const QString& battery_capacity() const { return m_facts.battery_capacity; }
    const QString& processor() const { return m_facts.processor; }
    const QString& gpu() const { return m_facts.gpu; }
    const QString& front_camera_resolution() const { return m_facts.front_camera_resolution; }
    const QString& rear_camera_resolution() const { return m_facts.rear_camera_resolution; }
    uint32_t coreNumber() const { return m_facts.coreNumber; }
    bool front_camera() const { return m_facts.front_camera; }
    bool rear_camera() const { return m_facts.rear_camera; }
    bool microphone() const { return m_facts.microphone; }
    bool phone() const { return m_facts.phone; }
    bool gyroscope() const { return m_facts.gyroscope; }
    bool magnetometer() const { return m_facts.magnetometer; }
    bool proximity() const { return m_facts.proximity; }
    bool has3g() const { return m_facts.has3g; }
    bool gps() const { return m_facts.gps; }
    bool simulator() const { return m_facts.simulator; }
    bool bluetooth() const { return m_facts.bluetooth; }
    bool wifi() const { return m_facts.wifi; }
    bool accelerometer() const { return m_facts.accelerometer; }
    bool touchscreen() const { return m_facts.touchscreen; }
    bool speaker() const { return m_facts.speaker; }
    bool ambient_light() const { return m_facts.ambient_light; }
    double battery_life_audio() const { return m_facts.battery_life_audio; }
    double battery_life_video() const { return m_facts.battery_life_video; }
    double battery_life_talk() const { return m_facts.battery_life_talk; }
    double battery_life_browsing_3g() const { return m_facts.battery_life_browsing_3g; }
    double battery_life_browsing_wifi() const { return m_facts.battery_life_browsing_wifi; }
    double battery_life_standby() const { return m_facts.battery_life_standby; }

    // Whether a cellular carrier is present: NO without a modem service, and
    // NO when the carrier's name is the empty string; a missing name is YES.
    static bool test3G(Modem& modem);

    // The CPU frequency text: "%d MHz" of whole MHz when the host knows the
    // frequency, else a figure known for the model, else "N/A".
    static QString formatCpuFrequency(std::optional<uint64_t> hz, const QString& machine);

private:
    void refresh(const Host& host);
    void applyProbe(const Host& host);

    QString m_machine, m_model, m_cpu_freq, m_osrelease, m_ostype, m_version, m_hostname;
    uint32_t m_byteorder = 0;
    std::optional<uint64_t> m_physmem, m_usermem, m_bus_freq, m_cacheline, m_l1cachesize;
    std::optional<uint64_t> m_l1dcachesize, m_l2cachesize, m_tb_freq, m_osrev, m_boottime;
    uint64_t m_pagesize = 0;
    QString m_name, m_system_name, m_system_version, m_udid;
    bool m_multitasking = false;
    DeviceFacts m_facts;
};
