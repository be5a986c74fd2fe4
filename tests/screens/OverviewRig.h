#pragma once
// An Overview over private collectors fed by hand-set fakes, so each test
// decides the battery, ticks, volume, carrier and interfaces it shows.

#include "host/AudioPlayer.h"
#include "host/CarrierService.h"
#include "host/InterfaceAddresses.h"
#include "host/RouteDump.h"
#include "host/settings/Defaults.h"
#include "host/SocketDump.h"
#include "host/sysfs/InterfaceRoles.h"
#include "host/VolumeInfo.h"
#include "screens/battery/FullChargeAlarm.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/files/DiskTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/overview/OverviewCell.h"
#include "screens/routes/RouteTableController.h"
#include "stats/ConnectionStats.h"
#include "stats/DeviceFacts.h"
#include "stats/DynamicStats.h"
#include "stats/RouteStats.h"
#include "stats/SemiDynamicStats.h"
#include "stats/StaticStats.h"
#include "stats/StatsFakes.h"
#include "support/TestSupport.h"
#include "ui/Device.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

#include <QLabel>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <atomic>
#include <memory>
#include <net/if.h>

namespace overview {

struct Addresses : InterfaceAddresses {
    std::optional<std::vector<InterfaceAddress>> list() override
    {
        InterfaceAddress a;
        a.name = "wlan0";
        a.kind = InterfaceAddress::Kind::Ipv4;
        a.flags = IFF_UP | IFF_RUNNING;
        inet_pton(AF_INET, "192.168.1.20", &a.ipv4);
        return std::vector<InterfaceAddress>{a};
    }
};
struct Volume : VolumeInfo {
    std::optional<VolumeSpace> spaceFor(const std::string&) override
    {
        return VolumeSpace{17179869184ull, 4294967296ull};
    }
};
struct Carrier : CarrierService {
    CarrierReading reading;
    CarrierReading read() override { return reading; }
};
// Count the dumps only: the start-up snapshots must run once.
struct Routes : RouteDump {
    std::atomic<int> dumps = 0; // counted on the worker, read by the test
    bool dump(const std::function<void(const RouteRecord&)>&) override { return ++dumps; }
    std::optional<std::string> interfaceName(std::uint32_t) const override { return {}; }
};
struct Sockets : SocketDump {
    std::atomic<int> lists = 0;
    bool list(List, const std::function<void(const PcbRecord&)>&) override { return ++lists; }
};

// A library with nothing in it.
struct Media : MediaLibrary {
    bool countAll(const std::string&, std::stop_token, const Counted& counted) override
    {
        for (int q = 0; q < kMediaQueryCount; ++q)
            counted(static_cast<MediaQuery>(q), 0);
        return true;
    }
};

struct Options {
    bool large = false;
    bool cellular = false; // cellular hardware and a carrier service
    bool demo = false;
};

// Owns every fake and collector; the controller is made by build().
struct Rig {
    QTemporaryDir dir;
    fakes::Kernel kernel;
    fakes::Identity identity;
    fakes::Probe probe;
    fakes::FakeModem modem;
    fakes::FakeBattery battery;
    fakes::Inhibitor inhibitor;
    std::shared_ptr<Addresses> addresses = std::make_shared<Addresses>();
    std::shared_ptr<Volume> volume = std::make_shared<Volume>();
    std::shared_ptr<Carrier> carrier = std::make_shared<Carrier>();
    std::shared_ptr<Routes> routes = std::make_shared<Routes>();
    std::shared_ptr<Sockets> sockets = std::make_shared<Sockets>();
    std::unique_ptr<StaticStats> staticStats;
    std::unique_ptr<DynamicStats> dynamicStats;
    std::unique_ptr<SemiDynamicStats> semiDynamicStats;
    // Made before the pages below, which read them.
    std::unique_ptr<RouteStats> routeStats = std::make_unique<RouteStats>(routes);
    std::unique_ptr<ConnectionStats> connectionStats = std::make_unique<ConnectionStats>(sockets);
    std::unique_ptr<FullChargeAlarm> alarm;
    Media media;
    DeviceFacts pageFacts;
    double now = 1700000000.0 + 90061.0;
    DiskTableController::Host pageHost{media, [] { return std::string(); }, pageFacts,
                                       [this] { return now; }, BackgroundWorker::longJobs()};
    DiskTableController workTimePage{pageHost}; // any page will do: only its identity counts
    DiskTableController filesPage{pageHost};
    ConnectionTableController connectionsPage{*connectionStats};
    RouteTableController routesPage{*routeStats};
    std::unique_ptr<GeneralTableController> controller;

    explicit Rig(Options options = {})
    {
        Defaults::setStandardPath(dir.path() + "/welvane.conf");
        ui::Device::setUserInterfaceIdiom(options.large ? ui::UserInterfaceIdiom::Pad
                                                        : ui::UserInterfaceIdiom::Phone);
        DynamicStats::resetPreviousTicks();
        kernel.load = std::array<double, 3>{0.5, 0.25, 0.125};
        kernel.ticks = CpuTicks{};
        if (options.demo)
            kernel.id->machine = "i386";
        probe.facts.has3g = options.cellular;
        carrier->reading.serviceAvailable = options.cellular;
        battery.lvl = 0.87f;
        battery.st = Battery::StateCharging;
        testsupport::writeFile(dir.path(), "sys/class/net/wlan0/uevent", "INTERFACE=wlan0\n");
        testsupport::writeFile(dir.path(), "sys/class/net/wlan0/wireless/uevent", "");

        staticStats =
            std::make_unique<StaticStats>(StaticStats::Host{kernel, identity, probe, modem});
        dynamicStats = std::make_unique<DynamicStats>(
            DynamicStats::Host{kernel, battery, inhibitor, [] { return 0LL; },
                               staticStats->simulator(), [] { return 0u; }});
        SemiDynamicStats::Sources s;
        s.addresses = addresses;
        s.roles = std::make_shared<InterfaceRoles>(dir.path().toStdString());
        s.volume = volume;
        s.carrier = carrier;
        s.documentsPath = [] { return QStringLiteral("/"); };
        semiDynamicStats = std::make_unique<SemiDynamicStats>(s);
        // The carrier decides the section count before the first reload.
        semiDynamicStats->refreshCarrierInfoSync();
        Defaults& defaults = Defaults::standardUserDefaults();
        // Nothing sounds in these tests.
        alarm = std::make_unique<FullChargeAlarm>(FullChargeAlarm::Host{
            battery, *dynamicStats, defaults, [] { return std::unique_ptr<AudioPlayer>(); }});
    }

    OverviewSources sources()
    {
        return OverviewSources{*dynamicStats,
                               *semiDynamicStats,
                               *staticStats,
                               *routeStats,
                               *connectionStats,
                               battery,
                               Defaults::standardUserDefaults(),
                               *alarm,
                               [this] { return now; }};
    }
    GeneralTableController::Pages pages()
    {
        return {workTimePage, filesPage, connectionsPage, routesPage};
    }

    ~Rig()
    {
        controller.reset();
        alarm.reset();
        Defaults::setStandardPath({});
        ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Phone);
    }

    // A controller over this rig's collectors, woken, with its table shown
    // at the window width of its screen class.
    template <typename Controller = GeneralTableController> Controller& build()
    {
        auto* made = new Controller(sources(), pages());
        controller.reset(made);
        controller->awakeFromNib();
        ui::TableView* table = controller->tableView();
        table->resize(ui::Device::isPad() ? 704 : 320, 3000);
        table->show();
        return *made;
    }

    ui::TableView* table() { return controller->tableView(); }
    OverviewCell* cell(int section, int row)
    {
        return qobject_cast<OverviewCell*>(table()->cellForRowAtIndexPath({section, row}));
    }
    // The text of a cell's part, by default its value.
    QString text(int section, int row, QLabel* OverviewCell::*part = &OverviewCell::value)
    {
        OverviewCell* c = cell(section, row);
        QLabel* label = c ? c->*part : nullptr;
        return label ? label->text() : QStringLiteral("<none>");
    }
};

} // namespace overview
