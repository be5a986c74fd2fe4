// CPU of one Overview refresh tick off screen, as the 2-second timer runs it:
// the five collector refreshes on this machine, the table reload and the
// repaint of the visible cells, in both screen classes. Also the pieces, so
// a regression points at its part. A tick must stay far below the 2 s it
// repeats at: the goal of the whole screen is less CPU than `top -d 2`.
#include "BenchSupport.h"

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
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
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
    return 0;
}
