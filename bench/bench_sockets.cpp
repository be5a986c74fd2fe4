// Socket snapshot against `ss -tanu` on the loopback connection workload,
// in a private network namespace this program makes, interleaved round by
// round.
//   bench_sockets [N ...]   (default 10000 30000; run as root)
#include "BenchSupport.h"

#include "host/netlink/LinuxSocketDump.h"
#include "stats/ConnectionStats.h"

#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    bench::enterPrivateNetwork();
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {10000, 30000};

    char dirTemplate[] = "/tmp/welvane-bench-XXXXXX";
    const char* dir = ::mkdtemp(dirTemplate);
    if (!dir)
        return 1;
    ConnectionStats stats(std::make_shared<LinuxSocketDump>());
    for (int n : sizes) {
        const std::string ready = std::string(dir) + "/ready-" + std::to_string(n);
        const pid_t pid = bench::startConnections(n, ready);
        if (pid < 0) {
            std::fprintf(stderr, "workload of %d connections did not start\n", n);
            continue;
        }
        stats.refresh(); // warm up
        const std::size_t rows = stats.snapshot()->totalRows();
        const std::vector<bench::Timing> t =
            bench::interleave(9, {[&] { return bench::timeOnce([&] { stats.refresh(); }); },
                                  [] {
                                      return bench::runOnce({"ss", "-tanu"});
                                  }});
        std::printf("sockets %6d conns (%zu rows), median of 9 rounds: ConnectionStats %.1f ms "
                    "wall (%.1f CPU) | ss -tanu %.1f ms wall (%.1f CPU) | ratio %.2f wall, %.2f "
                    "CPU (goal <= 0.5)\n",
                    n, rows, t[0].wall_ms, t[0].cpu_ms, t[1].wall_ms, t[1].cpu_ms,
                    bench::ratio(t[0].wall_ms, t[1].wall_ms),
                    bench::ratio(t[0].cpu_ms, t[1].cpu_ms));
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        std::remove(ready.c_str());
    }
    ::rmdir(dir);
    return 0;
}
