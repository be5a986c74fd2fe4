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
#include "shell/MainWindowDescription.h"
#include "shell/PageNavigator.h"
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
    const int runs = 101, rounds = 5;
    std::printf("\n%-7s %-22s %10s %10s %8s\n", "layout", "tick + repaint", "memory ms",
                "overview ms", "ratio");
    for (bool large : {false, true}) {
        ui::Device::setUserInterfaceIdiom(large ? ui::UserInterfaceIdiom::Pad
                                                : ui::UserInterfaceIdiom::Phone);
        const auto graph = MainWindowDescription::load();
        MemoryTableController& memory = *graph->screens.memory;
        GeneralTableController& overview = *graph->screens.general;
        const QSize size(large ? 767 : 320, large ? 724 : 387);
        const auto tick = [&](ScreenController& page, auto&& update) {
            ui::TableView* table = page.tableView();
            QPixmap screen(table->size());
            return bench::measure(runs, [&] {
                update();
                table->render(&screen);
            });
        };
        for (ScreenController* page :
             {static_cast<ScreenController*>(&memory), static_cast<ScreenController*>(&overview)}) {
            page->tableView()->resize(size);
            page->tableView()->show();
            page->beginAppearance(false);
        }
        std::vector<double> mem, over, ratio;
        for (int r = 0; r < rounds; ++r) {
            mem.push_back(tick(memory, [&] { memory.updateMethod(); }).cpu_ms);
            over.push_back(tick(overview, [&] { overview.updateMethod(); }).cpu_ms);
            ratio.push_back(bench::ratio(mem.back(), over.back()));
        }
        std::printf("%-7s %-22s %10.3f %10.3f %8.2f%s\n", large ? "large" : "small",
                    "cpu, median of rounds", bench::median(mem), bench::median(over),
                    bench::median(ratio), bench::median(ratio) <= 1.0 ? "" : "  (goal NOT met)");
        memory.beginDisappearance(false);
        overview.beginDisappearance(false);
    }
    return 0;
}
