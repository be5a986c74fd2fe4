#pragma once
// Shared helpers of the benchmarks: a private network namespace per run,
// peers started directly (no shell), our work and the peer's interleaved
// over several rounds, medians.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <net/if.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {

// The project's own workload generators.
inline std::string workloads()
{
    return std::string(WELVANE_SOURCE_DIR) + "/bench/workloads";
}

struct Timing {
    double wall_ms = 0; // median wall time of one run
    double cpu_ms = 0;  // median CPU time of one run (ours, or the peer process's)
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

// Moves this process into a network namespace of its own with only a
// loopback (up), so no benchmark sees or disturbs the host's network and
// every peer it starts inherits the same namespace. /sys is mounted afresh
// in a private mount namespace, as `ip netns exec` does, so sysfs lists this
// namespace's interfaces. Call before any thread starts. Exits when it
// cannot (needs root or CAP_SYS_ADMIN).
inline void enterPrivateNetwork()
{
    if (::unshare(CLONE_NEWNET | CLONE_NEWNS) != 0) {
        std::fprintf(stderr, "cannot make a private network namespace (%s); run as root\n",
                     std::strerror(errno));
        std::exit(2);
    }
    if (::mount(nullptr, "/", nullptr, MS_SLAVE | MS_REC, nullptr) != 0 ||
        ::umount2("/sys", MNT_DETACH) != 0 || ::mount("sysfs", "/sys", "sysfs", 0, nullptr) != 0)
        std::fprintf(stderr, "warning: /sys still shows the host's interfaces (%s)\n",
                     std::strerror(errno));
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    ifreq req{};
    std::strcpy(req.ifr_name, "lo");
    if (fd < 0 || ::ioctl(fd, SIOCGIFFLAGS, &req) != 0 ||
        (req.ifr_flags |= IFF_UP, ::ioctl(fd, SIOCSIFFLAGS, &req)) != 0)
        std::fprintf(stderr, "warning: loopback stays down\n");
    if (fd >= 0)
        ::close(fd);
}

// Starts argv[0] (looked up in PATH) with stdout and stderr sent to outPath
// (default: thrown away). -1 on failure.
inline pid_t spawn(const std::vector<std::string>& args, const std::string& outPath = "/dev/null")
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// Runs a command to its end; its wall time (process start included, as a
// user pays it) and its own CPU time from the kernel's accounting.
inline Timing runOnce(const std::vector<std::string>& args, bool* ok = nullptr)
{
    const double w0 = wallNowMs();
    const pid_t pid = spawn(args);
    int status = -1;
    rusage usage{};
    const bool ran = pid > 0 && ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) &&
                     WEXITSTATUS(status) == 0;
    const double wall = wallNowMs() - w0;
    if (ok)
        *ok = ran;
    if (!ran)
        std::fprintf(stderr, "warning: '%s' failed\n", args[0].c_str());
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return {wall, ms(usage.ru_utime) + ms(usage.ru_stime)};
}

// One piece of work timed in-process: wall and CPU of a single call.
inline Timing timeOnce(const std::function<void()>& work)
{
    const double w0 = wallNowMs(), c0 = cpuNowMs();
    work();
    return {wallNowMs() - w0, cpuNowMs() - c0};
}

// Medians of runs single calls.
inline Timing measure(int runs, const std::function<void()>& work)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const Timing t = timeOnce(work);
        wall.push_back(t.wall_ms);
        cpu.push_back(t.cpu_ms);
    }
    return {median(wall), median(cpu)};
}

// Alternates the contestants round by round, so drift in the machine's load
// hits all of them alike; the medians of each.
inline std::vector<Timing> interleave(int rounds, const std::vector<std::function<Timing()>>& each)
{
    std::vector<std::vector<double>> wall(each.size()), cpu(each.size());
    for (int r = 0; r < rounds; ++r)
        for (std::size_t i = 0; i < each.size(); ++i) {
            const Timing t = each[i]();
            wall[i].push_back(t.wall_ms);
            cpu[i].push_back(t.cpu_ms);
        }
    std::vector<Timing> out;
    for (std::size_t i = 0; i < each.size(); ++i)
        out.push_back({median(wall[i]), median(cpu[i])});
    return out;
}

// Mean cost of one call over a batch of n calls, for work too short to time
// alone.
inline Timing batch(int n, const std::function<void()>& work)
{
    const double w0 = wallNowMs(), c0 = cpuNowMs();
    for (int i = 0; i < n; ++i)
        work();
    return {(wallNowMs() - w0) / n, (cpuNowMs() - c0) / n};
}

// Starts the loopback connection workload and waits (at most 300 s) for its
// ready file; its pid, or -1.
inline pid_t startConnections(int conns, const std::string& ready)
{
    const pid_t pid = spawn({"python3", workloads() + "/conn_workload.py", "--conns",
                             std::to_string(conns), "--ready", ready, "--hold", "900"});
    if (pid < 0)
        return -1;
    for (int i = 0; i < 3000; ++i) {
        if (::access(ready.c_str(), F_OK) == 0)
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

inline double ratio(double a, double b)
{
    return b > 0 ? a / b : 0;
}

} // namespace bench
