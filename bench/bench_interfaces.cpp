// The Overview tick on a machine with many interfaces: 200 veth pairs (401
// interfaces with the loopback) in a private network namespace. The tick
// with the interface roles looked up in sysfs every time (as before they
// were cached) against the roles kept until a link changes, interleaved
// round by round; then the program against `top -d 2` and `top -b -d 2`
// over the same minute (WELVANE_BENCH_SECONDS shortens it).
//   bench_interfaces [pairs]   (default 200; run as root)
#include "BenchSupport.h"
#include "TopRace.h"

#include "host/sysfs/InterfaceRoles.h"
#include "host/system/LinuxInterfaceAddresses.h"
#include "screens/overview/GeneralTableController.h"
#include "screens/overview/OverviewSources.h"
#include "shell/MainWindowDescription.h"
#include "stats/SemiDynamicStats.h"
#include "ui/Device.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <memory>

namespace {

bool makeVethPairs(int pairs)
{
    char dirTemplate[] = "/tmp/welvane-bench-veth-XXXXXX";
    if (!::mkdtemp(dirTemplate))
        return false;
    const std::string batch = std::string(dirTemplate) + "/veths.batch";
    bool ok = false;
    const pid_t gen = bench::spawn(
        {"python3", bench::workloads() + "/gen_veths.py", std::to_string(pairs)}, batch);
    int status = -1;
    ok = gen > 0 && ::waitpid(gen, &status, 0) == gen && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
    if (ok)
        bench::runOnce({"ip", "-batch", batch}, &ok);
    std::remove(batch.c_str());
    ::rmdir(dirTemplate);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    if (!makeVethPairs(pairs)) {
        std::fprintf(stderr, "could not make %d veth pairs\n", pairs);
        return 1;
    }
    const int interfaces =
        int(QDir("/sys/class/net").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    {
        QApplication app(argc, argv);
        std::printf("%d interfaces in /sys/class/net\n", interfaces);

        // Before: the roles looked up in sysfs and the addresses read with
        // getifaddrs on every refresh; after: what the program uses.
        SemiDynamicStats::Sources plain = SemiDynamicStats::linuxSources();
        plain.roles = std::make_shared<InterfaceRoles>();
        plain.addresses = std::make_shared<LinuxInterfaceAddresses>();
        const SemiDynamicStats::Sources cached = SemiDynamicStats::linuxSources();
        SemiDynamicStats before(plain);
        SemiDynamicStats after(cached);
        QCoreApplication::processEvents(); // the monitor starts listening

        ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Pad);
        // The application's own graph lends the other services and pages;
        // only the collector under test differs.
        const auto graph = MainWindowDescription::load();
        GeneralTableController& shown = *graph->screens.general;
        const OverviewSources& live = shown.sources();
        ui::ViewController page;
        const auto overview = [&](SemiDynamicStats* stats) {
            auto screen = std::make_unique<GeneralTableController>(
                OverviewSources{live.dynamicStats, *stats, live.staticStats, live.routeStats,
                                live.connectionStats, live.battery, live.defaults, live.alarm,
                                live.now},
                GeneralTableController::Pages{page, page, page, page});
            screen->awakeFromNib();
            screen->tableView()->resize(767, 724);
            screen->tableView()->show();
            screen->beginAppearance(false);
            return screen;
        };
        auto screenBefore = overview(&before);
        auto screenAfter = overview(&after);

        const int rounds = 15, calls = 20;
        const auto per = [&](const std::function<void()>& work) {
            return [=] { return bench::batch(calls, work); };
        };
        const std::vector<bench::Timing> t =
            bench::interleave(rounds, {per([&] {
                                           (void)plain.roles->wifiInterface();
                                           (void)plain.roles->cellularInterface();
                                       }),
                                       per([&] {
                                           (void)cached.roles->wifiInterface();
                                           (void)cached.roles->cellularInterface();
                                       }),
                                       per([&] { (void)plain.addresses->list(); }),
                                       per([&] { (void)cached.addresses->list(); }),
                                       per([&] { before.refreshAddressesSync(); }),
                                       per([&] { after.refreshAddressesSync(); }),
                                       per([&] { screenBefore->updateMethod(); }),
                                       per([&] { screenAfter->updateMethod(); })});
        std::printf("median of %d rounds of %d calls, CPU us per call (wall us)\n", rounds, calls);
        const char* names[] = {"role lookup", "address list", "address refresh",
                               "Overview tick (no paint)"};
        for (int i = 0; i < 4; ++i)
            std::printf("  %-26s before %9.1f (%9.1f)  after %9.1f (%9.1f)  after/before %.3f\n",
                        names[i], t[2 * i].cpu_ms * 1e3, t[2 * i].wall_ms * 1e3,
                        t[2 * i + 1].cpu_ms * 1e3, t[2 * i + 1].wall_ms * 1e3,
                        bench::ratio(t[2 * i + 1].cpu_ms, t[2 * i].cpu_ms));
        screenBefore->beginDisappearance(false);
        screenAfter->beginDisappearance(false);
    }
    bench::raceAgainstTop("Overview, large layout, " + std::to_string(interfaces) + " interfaces",
                          bench::benchSeconds());
    return 0;
}
