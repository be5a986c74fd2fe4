#pragma once

#include "host/sysfs/PowerSupply.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class DeviceIdentity;
class HardwareProbe;
class InterfaceAddresses;
class KernelFacts;
class ProcessTable;
class RouteDump;
class SocketDump;
class UserDirectory;
class VolumeInfo;

// The host services the exporter reads, handed in so tests give fakes. The
// exporter reads them itself rather than through the screens' collectors:
// those keep 32-bit tick counts and single-precision sizes for display,
// while a time series wants the kernel's full 64-bit counters.
struct MetricsHost {
    std::shared_ptr<KernelFacts> kernel;
    std::shared_ptr<DeviceIdentity> identity;
    std::shared_ptr<HardwareProbe> hardware;
    std::shared_ptr<VolumeInfo> volume;
    std::shared_ptr<InterfaceAddresses> addresses;
    std::shared_ptr<SocketDump> sockets;
    std::shared_ptr<RouteDump> routes;
    std::shared_ptr<ProcessTable> processes;
    std::shared_ptr<UserDirectory> users;
    std::function<PowerSupplyReading()> battery;
    // The battery-health percentage the user set; absent when never set.
    std::function<std::optional<long long>()> healthSetting;
    std::function<std::string()> documentsPath;
    double ticksPerSecond = 100; // the kernel's USER_HZ

    // This machine's services.
    static MetricsHost linuxHost();
};
