// Process snapshot against `ps -eo pid,ppid,pgid,pri,uid,user,comm,lstart`
// with N extra sleeping processes of the project's sleepers workload,
// interleaved round by round.
//   bench_processes [N]   (default 5000; run as root: some sleepers change user)
#include "BenchSupport.h"

#include "host/proc/LinuxProcessTable.h"
#include "host/system/PasswdUserDirectory.h"
#include "stats/ProcessStats.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

bool sleepers(const std::string& call, const std::string& dir)
{
    const std::string command =
        "bash -c '. \"" + bench::workloads() + "/sleepers.sh\" && " + call + " \"" + dir + "\"'";
    return std::system(command.c_str()) == 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 5000;
    char dirTemplate[] = "/tmp/welvane-bench-XXXXXX";
    const char* dir = ::mkdtemp(dirTemplate);
    if (!dir)
        return 1;
    if (!sleepers("pa_sleepers_start " + std::to_string(n), dir)) {
        std::fprintf(stderr, "the sleepers did not start\n");
        return 1;
    }
    ProcessStats stats(std::make_shared<LinuxProcessTable>(),
                       std::make_shared<PasswdUserDirectory>(), ::geteuid());
    stats.refresh(); // warm up
    std::size_t rows = 0;
    const std::size_t groups = stats.snapshot()->processArray.size();
    for (const ProcessUserGroup& g : stats.snapshot()->processArray)
        rows += g.processList.size();
    const std::vector<bench::Timing> t = bench::interleave(
        9, {[&] { return bench::timeOnce([&] { stats.refresh(); }); },
            [] {
                return bench::runOnce({"ps", "-eo", "pid,ppid,pgid,pri,uid,user,comm,lstart"});
            }});
    std::printf("processes +%d sleepers (%zu rows, %zu users), median of 9 rounds: ProcessStats "
                "%.1f ms wall (%.1f CPU) | ps -eo ... %.1f ms wall (%.1f CPU) | ratio %.2f wall, "
                "%.2f CPU (goal <= 1.0)\n",
                n, rows, groups, t[0].wall_ms, t[0].cpu_ms, t[1].wall_ms, t[1].cpu_ms,
                bench::ratio(t[0].wall_ms, t[1].wall_ms), bench::ratio(t[0].cpu_ms, t[1].cpu_ms));
    sleepers("pa_sleepers_stop", dir);
    ::rmdir(dir);
    return 0;
}
