// Route snapshot against `ip -4 route show table all` + `ip -6 ...`, with N
// IPv4 and N IPv6 routes in a private network namespace this program makes,
// interleaved round by round.
//   bench_routes [N]   (default 100000; run as root)
#include "BenchSupport.h"

#include "host/netlink/LinuxRouteDump.h"
#include "stats/RouteStats.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// A field of /proc/self/status in MiB ("VmRSS", "VmHWM").
double statusMiB(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field + ":", 0) == 0)
            return std::atof(line.c_str() + field.size() + 1) / 1024.0;
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    std::printf("filling the namespace with %d + %d routes...\n", n, n);
    std::fflush(stdout);
    bool ok = false;
    bench::runOnce({"bash", bench::workloads() + "/route_namespace.sh", std::to_string(n), "-"},
                   &ok);
    if (!ok) {
        std::fprintf(stderr, "could not fill the namespace\n");
        return 1;
    }
    RouteStats stats(std::make_shared<LinuxRouteDump>());
    stats.refresh(); // warm up
    const std::size_t rows = stats.snapshot()->totalRows();
    const std::string gateway = stats.default_gateway();

    const std::vector<bench::Timing> t = bench::interleave(
        5, {[&] { return bench::timeOnce([&] { stats.refresh(); }); },
            [] {
                return bench::runOnce({"ip", "-4", "route", "show", "table", "all"});
            },
            [] {
                return bench::runOnce({"ip", "-6", "route", "show", "table", "all"});
            }});
    const double toolsWall = t[1].wall_ms + t[2].wall_ms, toolsCpu = t[1].cpu_ms + t[2].cpu_ms;
    std::printf("routes %d+%d (%zu rows, default gateway %s), median of 5 rounds:\n", n, n, rows,
                gateway.c_str());
    std::printf("  RouteStats      %8.1f ms wall, %8.1f ms CPU\n", t[0].wall_ms, t[0].cpu_ms);
    std::printf("  ip -4 + ip -6   %8.1f ms wall, %8.1f ms CPU (%.1f + %.1f ms wall)\n", toolsWall,
                toolsCpu, t[1].wall_ms, t[2].wall_ms);
    std::printf("  ratio %.2f wall, %.2f CPU (goal <= 0.6)\n",
                bench::ratio(t[0].wall_ms, toolsWall), bench::ratio(t[0].cpu_ms, toolsCpu));

    std::printf(
        "  resident memory with the snapshot held, before any texts: %.1f MiB (peak %.1f MiB)\n",
        statusMiB("VmRSS"), statusMiB("VmHWM"));
    // The texts of one screen of rows, and of every row (a --dump).
    const auto snapshot = stats.snapshot();
    const bench::Timing screen = bench::measure(9, [&] {
        for (std::size_t r = 0; r < 40 && r < snapshot->rowCount(0); ++r)
            (void)snapshot->route(0, r);
    });
    const bench::Timing all = bench::measure(3, [&] { (void)snapshot->routeArray(); });
    std::printf("  texts of 40 rows %.3f ms, of all rows %.1f ms (then %.1f MiB resident)\n",
                screen.wall_ms, all.wall_ms, statusMiB("VmRSS"));
    return 0;
}
