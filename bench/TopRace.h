#pragma once
// Welvane with the Overview on screen against `top -d 2` in a terminal and
// `top -b -d 2`, all three running over the same span in the same network
// namespace; CPU by the scheduler's own time (/proc/PID/task/*/schedstat,
// nanoseconds), which tick counts are too coarse for.

#include "BenchSupport.h"

#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>

namespace bench {

// Nanoseconds of CPU a process has used so far, from every thread's
// scheduler time. A thread that ends (a pool thread retiring) leaves the
// task list, so each thread's last reading is kept: the sum never falls.
class CpuSampler {
public:
    explicit CpuSampler(pid_t pid) : m_pid(pid) {}

    unsigned long long sampleNs()
    {
        const std::string tasks = "/proc/" + std::to_string(m_pid) + "/task";
        if (DIR* dir = ::opendir(tasks.c_str())) {
            while (const dirent* e = ::readdir(dir)) {
                if (e->d_name[0] == '.')
                    continue;
                std::ifstream in(tasks + "/" + e->d_name + "/schedstat");
                unsigned long long ns = 0;
                if (in >> ns)
                    m_threads[std::atoi(e->d_name)] = ns;
            }
            ::closedir(dir);
        }
        unsigned long long total = 0;
        for (const auto& [tid, ns] : m_threads)
            total += ns;
        return total;
    }

private:
    pid_t m_pid;
    std::map<int, unsigned long long> m_threads;
};

// The seconds a long run lasts: WELVANE_BENCH_SECONDS, else the default.
inline int benchSeconds(int fallback = 60)
{
    const char* s = std::getenv("WELVANE_BENCH_SECONDS");
    const int n = s ? std::atoi(s) : 0;
    return n > 0 ? n : fallback;
}

// Starts an interactive program on a new pseudo-terminal of 80 x 24, as in
// a terminal window; the caller must keep reading *master.
inline pid_t spawnOnTerminal(const std::vector<std::string>& args, int* master)
{
    *master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (*master < 0 || ::grantpt(*master) != 0 || ::unlockpt(*master) != 0)
        return -1;
    const std::string slave = ::ptsname(*master);
    // Looked up here: after fork only async-signal-safe calls are allowed.
    std::string path = args[0];
    if (path.find('/') == std::string::npos) {
        const char* dirs = std::getenv("PATH");
        std::string list = dirs ? dirs : "/usr/bin:/bin";
        for (std::size_t start = 0, end; start <= list.size(); start = end + 1) {
            end = list.find(':', start);
            if (end == std::string::npos)
                end = list.size();
            const std::string candidate = list.substr(start, end - start) + "/" + args[0];
            if (::access(candidate.c_str(), X_OK) == 0) {
                path = candidate;
                break;
            }
        }
    }
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setsid();
        const int fd = ::open(slave.c_str(), O_RDWR); // becomes the controlling terminal
        if (fd < 0)
            ::_exit(127);
        winsize size{24, 80, 0, 0};
        ::ioctl(fd, TIOCSWINSZ, &size);
        ::dup2(fd, 0);
        ::dup2(fd, 1);
        ::dup2(fd, 2);
        ::execv(path.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

// An X server of our own when Xvfb is installed ("" otherwise: the program
// then draws off screen).
inline std::string startXvfb(pid_t* pid)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    *pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-nolisten", "tcp", "-screen", "0",
                  "1280x1024x24"});
    ::close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (*pid > 0 && ::poll(&p, 1, 10000) > 0 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.empty() && *pid > 0) {
        ::kill(*pid, SIGTERM);
        ::waitpid(*pid, nullptr, 0);
        *pid = -1;
    }
    return number.empty() ? std::string() : ":" + number;
}

struct RaceResult {
    double welvane_ms = 0, top_ms = 0, topBatch_ms = 0; // CPU over the whole span
    double medianRatioTop = 0, medianRatioBatch = 0;    // of the windows' ratios
};

// Runs the three side by side for `seconds` (after a start-up allowance),
// in windows of about ten seconds; prints each window and the totals.
// startApp, when given, starts the program to measure instead of `welvane
// --layout large` (it runs after the display and settings are set up).
inline RaceResult raceAgainstTop(const std::string& label, int seconds,
                                 const std::function<pid_t()>& startApp = {})
{
    const std::string binary = std::string(WELVANE_BINARY_DIR) + "/src/app/welvane";
    char configTemplate[] = "/tmp/welvane-bench-config-XXXXXX";
    if (!::mkdtemp(configTemplate)) {
        std::fprintf(stderr, "cannot make a settings folder\n");
        return {};
    }
    const std::string config = configTemplate;
    pid_t xvfb = -1;
    const std::string display = startXvfb(&xvfb);
    if (display.empty()) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    } else {
        ::setenv("DISPLAY", display.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1); // no user settings, no prompts
    const pid_t app = startApp ? startApp() : spawn({binary, "--layout", "large"});
    ::sleep(3); // start-up and the first paint are not the steady cost
    ::setenv("TERM", "xterm", 1);
    int master = -1;
    const pid_t top = spawnOnTerminal({"top", "-d", "2"}, &master);
    const pid_t topBatch = spawn({"top", "-b", "-d", "2"});
    CpuSampler cpu[3] = {CpuSampler(app), CpuSampler(top), CpuSampler(topBatch)};

    char sink[65536];
    const auto drainFor = [&](double ms) { // the terminal must not fill up
        const double end = wallNowMs() + ms;
        for (double now = wallNowMs(); now < end; now = wallNowMs()) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, int(end - now) + 1) > 0)
                (void)!::read(master, sink, sizeof sink);
        }
    };
    drainFor(500);
    const int windows = std::max(1, seconds / 10);
    const double windowMs = seconds * 1000.0 / windows;
    std::vector<double> ratioTop, ratioBatch;
    RaceResult r;
    unsigned long long start[3], last[3];
    for (int i = 0; i < 3; ++i)
        start[i] = last[i] = cpu[i].sampleNs();
    std::printf("%s, %s, %d s in %d windows (CPU ms: welvane / top -d 2 / top -b -d 2)\n",
                label.c_str(), display.empty() ? "off screen" : "under Xvfb", seconds, windows);
    for (int w = 0; w < windows; ++w) {
        drainFor(windowMs);
        double used[3];
        for (int i = 0; i < 3; ++i) {
            const unsigned long long now = cpu[i].sampleNs();
            used[i] = (now - last[i]) / 1e6;
            last[i] = now;
        }
        ratioTop.push_back(ratio(used[0], used[1]));
        ratioBatch.push_back(ratio(used[0], used[2]));
        std::printf("  window %d: %8.1f %8.1f %8.1f\n", w + 1, used[0], used[1], used[2]);
    }
    r.welvane_ms = (last[0] - start[0]) / 1e6;
    r.top_ms = (last[1] - start[1]) / 1e6;
    r.topBatch_ms = (last[2] - start[2]) / 1e6;
    r.medianRatioTop = median(ratioTop);
    r.medianRatioBatch = median(ratioBatch);
    const bool alive = ::kill(app, 0) == 0;
    for (pid_t pid : {topBatch, top, app, xvfb})
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    if (master >= 0)
        ::close(master);
    std::printf("  total: welvane %.1f ms, top -d 2 %.1f ms, top -b -d 2 %.1f ms%s\n", r.welvane_ms,
                r.top_ms, r.topBatch_ms, alive ? "" : " (welvane had exited!)");
    std::printf("  ratio welvane / top -d 2: %.2f (windows' median %.2f); "
                "welvane / top -b -d 2: %.2f (median %.2f); goal <= 1.0 both: %s\n",
                ratio(r.welvane_ms, r.top_ms), r.medianRatioTop, ratio(r.welvane_ms, r.topBatch_ms),
                r.medianRatioBatch,
                r.welvane_ms <= r.top_ms && r.welvane_ms <= r.topBatch_ms ? "met" : "NOT met");
    ::unsetenv("XDG_CONFIG_HOME");
    std::error_code ignored;
    std::filesystem::remove_all(config, ignored);
    return r;
}

} // namespace bench
