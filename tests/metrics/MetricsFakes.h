#pragma once
// Stand-ins for the socket, route, volume and address services the exporter
// reads, beside the kernel fakes of the collectors' tests.

#include "../stats/StatsFakes.h"
#include "host/InterfaceAddresses.h"
#include "host/ProcessTable.h"
#include "host/RouteDump.h"
#include "host/SocketDump.h"
#include "host/UserDirectory.h"
#include "host/VolumeInfo.h"
#include "metrics/MetricsHost.h"

#include <map>
#include <memory>

namespace fakes {

struct Sockets : SocketDump {
    std::map<List, std::vector<PcbRecord>> lists;
    std::map<List, bool> fails;
    bool list(List which, const std::function<void(const PcbRecord&)>& each) override
    {
        for (const PcbRecord& r : lists[which])
            each(r);
        return !fails[which];
    }
};

struct Routes : RouteDump {
    std::vector<RouteRecord> records;
    bool ok = true;
    bool dump(const std::function<void(const RouteRecord&)>& each) override
    {
        for (const RouteRecord& r : records)
            each(r);
        return ok;
    }
    std::optional<std::string> interfaceName(std::uint32_t) const override { return {}; }
};

struct Processes : ProcessTable {
    std::optional<std::vector<ProcessRecord>> table = std::vector<ProcessRecord>{};
    std::optional<std::vector<ProcessRecord>> processes() override { return table; }
};

struct Users : UserDirectory {
    std::map<std::uint32_t, std::string> names;
    std::optional<std::string> userName(std::uint32_t uid) override
    {
        const auto it = names.find(uid);
        return it == names.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
};

struct Volume : VolumeInfo {
    std::optional<VolumeSpace> space;
    std::optional<VolumeSpace> spaceFor(const std::string&) override { return space; }
};

struct Addresses : InterfaceAddresses {
    std::optional<std::vector<InterfaceAddress>> entries;
    std::optional<std::vector<InterfaceAddress>> list() override { return entries; }
};

// A host made of the fakes above, each reachable for the test to set.
struct Host {
    std::shared_ptr<Kernel> kernel = std::make_shared<Kernel>();
    std::shared_ptr<Identity> identity = std::make_shared<Identity>();
    std::shared_ptr<Probe> probe = std::make_shared<Probe>();
    std::shared_ptr<Sockets> sockets = std::make_shared<Sockets>();
    std::shared_ptr<Routes> routes = std::make_shared<Routes>();
    std::shared_ptr<Volume> volume = std::make_shared<Volume>();
    std::shared_ptr<Addresses> addresses = std::make_shared<Addresses>();
    std::shared_ptr<Processes> processes = std::make_shared<Processes>();
    std::shared_ptr<Users> users = std::make_shared<Users>();
    PowerSupplyReading battery;
    std::optional<long long> health;
    double ticksPerSecond = 100;

    MetricsHost metricsHost()
    {
        MetricsHost h;
        h.kernel = kernel;
        h.identity = identity;
        h.hardware = probe;
        h.sockets = sockets;
        h.routes = routes;
        h.volume = volume;
        h.addresses = addresses;
        h.processes = processes;
        h.users = users;
        h.ticksPerSecond = ticksPerSecond;
        h.battery = [this] { return battery; };
        h.healthSetting = [this] { return health; };
        h.documentsPath = [] { return std::string("/home/ana/Documents"); };
        return h;
    }
};

} // namespace fakes
