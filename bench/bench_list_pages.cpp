// From "the page will appear" to its first painted rows of a fresh snapshot,
// against one run of the standard tool on the same table, and the cost of
// scrolling one screen of the list, in a private network namespace:
//   bench_list_pages connections [N]   N loopback connections (default 30000) vs `ss -tanu`
//   bench_list_pages routes [N]        N + N routes (default 100000) vs `ip -4/-6 route show
//                                      table all`; also the resident memory with them listed
// Run as root.
#include "BenchSupport.h"

#include "host/netlink/LinuxRouteDump.h"
#include "host/netlink/LinuxSocketDump.h"
#include "screens/connections/ConnectionTableController.h"
#include "screens/routes/RouteTableController.h"
#include "ui/Device.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScrollBar>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Counts the paints of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Wall ms from the page's appearance to the first paint of its table after
// the new snapshot is shown.
double appearToRows(ListScreenController& page)
{
    QWidget* view = page.view();
    view->resize(1024, 768);
    view->show();
    QCoreApplication::processEvents();
    PaintCounter counter;
    page.tableView()->viewport()->installEventFilter(&counter);
    bool shown = false;
    int paintsAtShow = 0;
    double tShown = 0;
    QObject::connect(&page, &ListScreenController::snapshotShown, [&] {
        shown = true;
        tShown = bench::wallNowMs();
        paintsAtShow = counter.paints;
    });
    const double t0 = bench::wallNowMs();
    page.beginAppearance(false);
    page.endAppearance(false);
    const double tAppeared = bench::wallNowMs();
    while (!shown || counter.paints == paintsAtShow)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double ms = bench::wallNowMs() - t0;
    if (std::getenv("BENCH_DETAIL"))
        std::printf("  appear %.1f, snapshot shown %.1f, painted %.1f ms\n", tAppeared - t0,
                    tShown - t0, ms);
    page.beginDisappearance(false);
    page.endDisappearance(false);
    view->hide();
    return ms;
}

// Median wall ms of moving the table down by one screen and painting it.
double scrollOneScreen(ListScreenController& page)
{
    ui::TableView* table = page.tableView();
    page.view()->show();
    std::vector<double> times;
    for (int i = 0; i < 21; ++i) {
        const double t0 = bench::wallNowMs();
        table->setContentOffset(table->contentOffset() + table->viewport()->height());
        table->viewport()->repaint();
        times.push_back(bench::wallNowMs() - t0);
    }
    return bench::median(times);
}

double residentMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

template <typename Page, typename Stats>
void race(Stats& stats, const std::vector<std::vector<std::string>>& tools, const char* what)
{
    const auto pageRun = [&] {
        Page page(stats);
        const double ms = appearToRows(page);
        return bench::Timing{ms, 0};
    };
    std::vector<std::function<bench::Timing()>> each{pageRun};
    for (const auto& tool : tools)
        each.push_back([tool] { return bench::runOnce(tool); });
    const std::vector<bench::Timing> t = bench::interleave(5, each);
    double toolsWall = 0;
    for (std::size_t i = 1; i < t.size(); ++i)
        toolsWall += t[i].wall_ms;
    Page page(stats);
    appearToRows(page);
    const double scroll = scrollOneScreen(page);
    std::printf("%s, median of 5 rounds: page appear -> rows painted %.1f ms | tools %.1f ms | "
                "ratio %.2f (goal <= 1.0); one screen scrolled %.2f ms (goal < 4); resident "
                "%.0f MiB\n",
                what, t[0].wall_ms, toolsWall, bench::ratio(t[0].wall_ms, toolsWall), scroll,
                residentMiB());
}

} // namespace

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    const std::string mode = argc > 1 ? argv[1] : "connections";
    const bool routes = mode == "routes";
    const int n = argc > 2 ? std::atoi(argv[2]) : routes ? 100000 : 30000;
    pid_t workload = -1;
    char dirTemplate[] = "/tmp/welvane-bench-XXXXXX";
    const char* dir = ::mkdtemp(dirTemplate);
    const std::string ready = std::string(dir ? dir : "/tmp") + "/ready";
    if (routes) {
        bool ok = false;
        bench::runOnce({"bash", bench::workloads() + "/route_namespace.sh", std::to_string(n), "-"},
                       &ok);
        if (!ok)
            return 1;
    } else if ((workload = bench::startConnections(n, ready)) < 0) {
        std::fprintf(stderr, "workload of %d connections did not start\n", n);
        return 1;
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    {
        QApplication app(argc, argv);
        ui::Device::setUserInterfaceIdiom(ui::UserInterfaceIdiom::Pad);
        const std::string label = mode + " " + std::to_string(n);
        if (routes) {
            RouteStats stats(std::make_shared<LinuxRouteDump>());
            race<RouteTableController>(stats,
                                       {{"ip", "-4", "route", "show", "table", "all"},
                                        {"ip", "-6", "route", "show", "table", "all"}},
                                       (label + "+" + std::to_string(n)).c_str());
        } else {
            ConnectionStats stats(std::make_shared<LinuxSocketDump>());
            race<ConnectionTableController>(stats, {{"ss", "-tanu"}}, label.c_str());
        }
    }
    if (workload > 0) {
        ::kill(workload, SIGTERM);
        ::waitpid(workload, nullptr, 0);
    }
    std::remove(ready.c_str());
    if (dir)
        ::rmdir(dir);
    return 0;
}
