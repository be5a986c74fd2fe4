// Socket snapshot against `ss -tanu` on the shared loopback workload.
//   bench_sockets [N ...]   (default 10000 30000; run as root)
#include "BenchSupport.h"

#include "host/netlink/LinuxSocketDump.h"
#include "stats/ConnectionStats.h"

#include <cstdio>
#include <cstdlib>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string Workloads = std::string(WELVANE_SOURCE_DIR) + "/../shared/bench";

// Starts the workload and waits (at most 300 s) for its ready file.
pid_t startWorkload(int conns, const std::string& ready)
{
    const std::string script = Workloads + "/conn_workload.py";
    const std::string n = std::to_string(conns);
    const char* argv[] = {"python3",     script.c_str(), "--conns", n.c_str(), "--ready",
                          ready.c_str(), "--hold",       "900",     nullptr};
    pid_t pid = -1;
    if (posix_spawnp(&pid, "python3", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return -1;
    struct stat st {};
    for (int i = 0; i < 3000; ++i) {
        if (::stat(ready.c_str(), &st) == 0)
            return pid;
        int status;
        if (::waitpid(pid, &status, WNOHANG) == pid)
            return -1;
        ::usleep(100000);
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
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
        const pid_t pid = startWorkload(n, ready);
        if (pid < 0) {
            std::fprintf(stderr, "workload of %d connections did not start\n", n);
            continue;
        }
        stats.refresh(); // warm up
        std::size_t rows = 0;
        for (const ConnectionGroup& g : stats.connectionArray())
            rows += g.connectionList.size();
        const bench::Timing ours = bench::measure(9, [&] { stats.refresh(); });
        const bench::Timing ss = bench::measureCommand(9, "ss -tanu");
        std::printf("sockets %6d conns (%zu rows): ConnectionStats %.1f ms (cpu %.1f) | "
                    "ss -tanu %.1f ms | ratio %.2f\n",
                    n, rows, ours.wall_ms, ours.cpu_ms, ss.wall_ms, ours.wall_ms / ss.wall_ms);
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
    }
    ::rmdir(dir);
    return 0;
}
