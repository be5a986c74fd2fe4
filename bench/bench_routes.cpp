// Route snapshot against `ip -4 route show table all` + `ip -6 ...` in a
// namespace holding N IPv4 and N IPv6 routes.
//   bench_routes [N]   (default 100000; run as root)
#include "BenchSupport.h"

#include "host/netlink/LinuxRouteDump.h"
#include "stats/RouteStats.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sched.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

const std::string Workloads = std::string(WELVANE_SOURCE_DIR) + "/../shared/bench";

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        ::pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string name = "welvane-bench-routes-" + std::to_string(::getpid());
    std::printf("building a namespace with %d + %d routes...\n", n, n);
    std::fflush(stdout);
    const std::string ns =
        run(Workloads + "/route_namespace.sh " + std::to_string(n) + " " + name + " | tail -1");
    if (ns != name) {
        std::fprintf(stderr, "could not build the namespace\n");
        std::system(("ip netns del " + name + " 2>/dev/null").c_str());
        return 1;
    }

    bench::Timing ours{};
    std::size_t rows = 0;
    std::string gateway;
    // The reader runs on a thread that entered the namespace.
    std::thread worker([&] {
        const int fd = ::open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || ::setns(fd, CLONE_NEWNET) != 0)
            return;
        ::close(fd);
        RouteStats stats(std::make_shared<LinuxRouteDump>());
        stats.refresh(); // warm up
        for (const RouteGroup& g : stats.routeArray())
            rows += g.routeList.size();
        gateway = stats.default_gateway();
        ours = bench::measure(5, [&] { stats.refresh(); });
    });
    worker.join();
    const bench::Timing ip4 = bench::measureCommand(5, "ip -n " + ns + " -4 route show table all");
    const bench::Timing ip6 = bench::measureCommand(5, "ip -n " + ns + " -6 route show table all");
    const double tools = ip4.wall_ms + ip6.wall_ms;
    std::printf("routes %d+%d (%zu rows, default gateway %s): RouteStats %.1f ms (cpu %.1f) | "
                "ip -4 %.1f ms + ip -6 %.1f ms = %.1f ms | ratio %.2f\n",
                n, n, rows, gateway.c_str(), ours.wall_ms, ours.cpu_ms, ip4.wall_ms, ip6.wall_ms,
                tools, ours.wall_ms / tools);
    std::system(("ip netns del " + ns).c_str());
    return 0;
}
