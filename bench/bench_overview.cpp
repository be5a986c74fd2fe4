// The Overview's cost, in a private network namespace holding only a
// loopback: first the CPU of one 2-second tick off screen and its parts, in
// both screen classes, so a regression points at its part; then the
// program with the Overview on screen against `top -d 2` in a terminal and
// `top -b -d 2` over the same minute (WELVANE_BENCH_SECONDS shortens it).
// Goal: no more CPU than either top.
//   bench_overview [seconds]   (run as root)
#include "BenchSupport.h"
#include "TopRace.h"

#include "screens/overview/GeneralTableController.h"
#include "screens/overview/OverviewSources.h"
#include "shell/MainWindowDescription.h"
#include "stats/DynamicStats.h"
#include "stats/SemiDynamicStats.h"
#include "ui/Device.h"
#include "ui/TableView.h"
#include "ui/TableViewCell.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : bench::benchSeconds();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    {
        QApplication app(argc, argv);
        const int runs = 101;
        std::printf("%-7s %-26s %10s %10s\n", "layout", "part", "cpu ms", "wall ms");
        for (bool large : {false, true}) {
            ui::Device::setUserInterfaceIdiom(large ? ui::UserInterfaceIdiom::Pad
                                                    : ui::UserInterfaceIdiom::Phone);
            // The application's own graph: the Overview over this machine.
            const auto graph = MainWindowDescription::load();
            GeneralTableController& overview = *graph->screens.general;
            ui::TableView* table = overview.tableView();
            table->resize(large ? 767 : 320, large ? 724 : 387);
            table->show();
            overview.beginAppearance(false); // first reload, timer on
            const OverviewSources& s = overview.sources();
            const char* name = large ? "large" : "small";
            const auto report = [&](const char* part, const bench::Timing& t) {
                std::printf("%-7s %-26s %10.3f %10.3f\n", name, part, t.cpu_ms, t.wall_ms);
            };
            report("collector refreshes", bench::measure(runs, [&] {
                       s.semiDynamicStats.refreshTotalDiskSpaceSync();
                       s.semiDynamicStats.refreshCarrierInfoSync();
                       s.semiDynamicStats.refreshAddressesSync();
                       s.dynamicStats.refreshLoadavgSync();
                       s.dynamicStats.refreshLoadInfoSync();
                   }));
            report("  of which carrier",
                   bench::measure(runs, [&] { s.semiDynamicStats.refreshCarrierInfoSync(); }));
            report("table reload", bench::measure(runs, [&] { table->reloadData(); }));
            // Rendering the table paints the viewport and every visible cell
            // with its chart images, labels and lamps.
            QPixmap screen(table->size());
            const auto paint = [&] { table->render(&screen); };
            report("repaint visible cells", bench::measure(runs, paint));
            report("tick, no paint", bench::measure(runs, [&] { overview.updateMethod(); }));
            // The worst case: a tick that repaints the whole table (the app only
            // repaints what changed).
            const bench::Timing tick = bench::measure(runs, [&] {
                overview.updateMethod();
                paint();
            });
            report("tick + full repaint", tick);
            std::printf("%-7s %-26s %10.4f %%\n", name, "CPU share at one tick / 2 s",
                        tick.cpu_ms / 2000.0 * 100.0);
            overview.beginDisappearance(false);
        }
    }
    bench::raceAgainstTop("Overview, large layout, loopback only", seconds);
    return 0;
}
