// The Memory page's cost: one 2-second tick (counter refresh, refill of the
// visible cells, repaint) against one Overview tick in the same graph,
// interleaved over several rounds, medians; then the program with the Memory
// page on screen under Xvfb against `top -d 2` and `top -b -d 2` over the
// same minute (WELVANE_BENCH_SECONDS shortens it). Goal: a Memory tick no
// dearer than an Overview tick, and no more CPU than either top.
//   bench_memory [seconds]
#include "BenchSupport.h"
#include "TopRace.h"

#include "app/Application.h"
#include "screens/memory/MemoryTableController.h"
#include "screens/overview/GeneralTableController.h"
#include "shell/AppComposition.h"
#include "shell/MainWindowDescription.h"
#include "shell/PageNavigator.h"
#include "stats/DynamicStats.h"
#include "ui/Device.h"
#include "ui/TableView.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

namespace {

// The application in a child process, large layout, showing the Memory page
// as a user who chose it in the page list.
pid_t startMemoryPage(int argc, char** argv)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    QApplication app(argc, argv);
    ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Pad);
    const auto graph = MainWindowDescription::load();
    Application::launch(*graph, StatusAppDelegate::Launch::Tool);
    PageNavigator::show(*graph, QStringLiteral("memory"));
    ::_exit(app.exec());
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : bench::benchSeconds();
    // First the race: its child must start before this process runs Qt.
    bench::raceAgainstTop("Memory page, large layout", seconds,
                          [&] { return startMemoryPage(argc, argv); });

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    constexpr int runs = 101, rounds = 5;
    std::printf("\n%-7s %-26s %10s %10s %8s\n", "layout", "cpu ms, median of rounds", "memory",
                "overview", "ratio");
    for (bool large : {false, true}) {
        ui::Device::setUserInterfaceIdiom(large ? ui::UserInterfaceIdiom::Pad
                                                : ui::UserInterfaceIdiom::Phone);
        const auto graph = MainWindowDescription::load();
        MemoryTableController& memory = *graph->screens.memory;
        GeneralTableController& overview = *graph->screens.general;
        const char* name = large ? "large" : "small";
        for (ScreenController* page :
             {static_cast<ScreenController*>(&memory), static_cast<ScreenController*>(&overview)}) {
            page->tableView()->resize(large ? 767 : 320, large ? 724 : 387);
            page->tableView()->show();
            page->beginAppearance(false);
        }
        QApplication::processEvents(); // the first paint is not a tick's
        // The parts of a Memory tick, so a regression points at its part.
        DynamicStats& stats = graph->composition->services().dynamicStats;
        std::printf("%-7s %-26s %10.3f\n", name, "counter refresh",
                    bench::measure(runs, [&] { stats.refreshMemInfoSync(); }).cpu_ms);
        // The tick itself (refresh and refill; the labels that changed are
        // painted later), and the worst case: a paint of the whole table.
        const auto changed = [](ScreenController&, const std::function<void()>& update) {
            return bench::measure(runs, update);
        };
        const auto full = [](ScreenController& page, const std::function<void()>& update) {
            QPixmap screen(page.tableView()->size());
            return bench::measure(runs, [&] {
                update();
                page.tableView()->render(&screen);
            });
        };
        for (const auto& [label, way] :
             {std::pair{"tick, no paint", +changed}, std::pair{"tick + full repaint", +full}}) {
            std::vector<double> mem, over, ratio;
            for (int r = 0; r < rounds; ++r) {
                mem.push_back(way(memory, [&] { memory.updateMethod(); }).cpu_ms);
                over.push_back(way(overview, [&] { overview.updateMethod(); }).cpu_ms);
                ratio.push_back(bench::ratio(mem.back(), over.back()));
            }
            std::printf("%-7s %-26s %10.3f %10.3f %8.2f\n", name, label, bench::median(mem),
                        bench::median(over), bench::median(ratio));
        }
        memory.beginDisappearance(false);
        overview.beginDisappearance(false);
    }
    return 0;
}
