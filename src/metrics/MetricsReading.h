#pragma once

#include "host/InterfaceAddresses.h"
#include "host/KernelFacts.h"
#include "host/sysfs/PowerSupply.h"
#include "host/VolumeInfo.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The facts that do not change while the exporter runs.
struct DeviceInfo {
    std::string model, system, kernel, cpu, deviceId;
    std::optional<std::uint32_t> cores;
};

// One refresh of every reading the exporter reports. A reading that failed
// is nullopt and is left out of the scrape.
struct MetricsReading {
    std::optional<std::array<double, 3>> load;
    std::optional<CpuTicks> cpu;
    double ticksPerSecond = 100;
    std::optional<MemInfo> memory;
    std::optional<VmStat> paging;
    PowerSupplyReading battery;
    long long healthPercent = 100; // repaired to 20..100
    std::optional<VolumeSpace> documentsVolume;
    std::optional<std::uint64_t> bootTime;
    // (protocol, state) -> sockets.
    std::optional<std::map<std::pair<std::string, std::string>, std::uint64_t>> connections;
    // "ipv4" / "ipv6" -> routes.
    std::optional<std::map<std::string, std::uint64_t>> routes;
    // user name (the decimal id when the user database has none) -> processes.
    std::optional<std::map<std::string, std::uint64_t>> processes;
    std::optional<std::vector<InterfaceAddress>> addresses;
    DeviceInfo device;
};
