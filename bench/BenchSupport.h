#pragma once
// Small timing helpers shared by the benchmarks: wall and CPU time of a piece
// of in-process work, and of an external command run the same number of times.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Timing {
    double wall_ms = 0; // median wall time of one run
    double cpu_ms = 0;  // median process CPU time of one run
};

inline double cpuNowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

inline double wallNowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

inline Timing measure(int runs, const std::function<void()>& work)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const double w0 = wallNowMs(), c0 = cpuNowMs();
        work();
        wall.push_back(wallNowMs() - w0);
        cpu.push_back(cpuNowMs() - c0);
    }
    return {median(wall), median(cpu)};
}

// Wall time of a shell command with its output thrown away (includes the
// process start, as a user of the tool would pay it).
inline Timing measureCommand(int runs, const std::string& command)
{
    const std::string quiet = command + " >/dev/null 2>&1";
    std::vector<double> wall;
    for (int i = 0; i < runs; ++i) {
        const double w0 = wallNowMs();
        if (std::system(quiet.c_str()) != 0)
            std::fprintf(stderr, "warning: '%s' failed\n", command.c_str());
        wall.push_back(wallNowMs() - w0);
    }
    return {median(wall), 0};
}

} // namespace bench
