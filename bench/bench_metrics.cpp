// One metrics scrape of `welvane --serve-metrics` against Debian's
// prometheus-node-exporter on this machine (both at their defaults), then
// one scrape with 30 000 connections and 100 000 + 100 000 routes in a
// private network namespace against `ss -tanu` plus `ip -4/-6 route show
// table all`, and the exporter's resident memory over 1 000 scrapes.
//   bench_metrics [CONNS ROUTES]   (default 30000 100000; run as root)
#include "BenchSupport.h"

#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <netinet/in.h>
#include <signal.h>
#include <sys/stat.h>
#include <thread>

namespace {

// CPU time of every thread of pid so far, in ms (schedstat: nanoseconds,
// where /proc/PID/stat would round to clock ticks).
double processCpuMs(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            if (e->d_name[0] == '.')
                continue;
            std::ifstream in(dir + "/" + e->d_name + "/schedstat");
            double run = 0;
            if (in >> run)
                ns += run;
        }
        ::closedir(d);
    }
    return ns / 1e6;
}

long residentKiB(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

// GET /metrics; the body size, 0 on failure.
std::size_t scrape(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    std::size_t got = 0;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
        const char request[] =
            "GET /metrics HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
        ::send(fd, request, sizeof request - 1, MSG_NOSIGNAL);
        char buffer[65536];
        for (ssize_t n; (n = ::recv(fd, buffer, sizeof buffer, 0)) > 0;)
            got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return got;
}

// A server started for the run, scraped over loopback.
struct Server {
    pid_t pid = -1;
    int port = 0;
    // Wall and CPU (of the server's process) of one scrape.
    bench::Timing scrapeOnce() const
    {
        const double c0 = processCpuMs(pid), w0 = bench::wallNowMs();
        if (!scrape(port))
            std::fprintf(stderr, "warning: a scrape of port %d failed\n", port);
        return {bench::wallNowMs() - w0, processCpuMs(pid) - c0};
    }
    void stop()
    {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }
};

int freePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(fd);
    return ntohs(a.sin_port);
}

Server start(std::vector<std::string> argv, int port)
{
    Server s{bench::spawn(argv), port};
    for (int i = 0; i < 100 && s.pid > 0 && !scrape(port); ++i)
        ::usleep(50000);
    return s;
}

Server startWelvane()
{
    const int port = freePort();
    return start({WELVANE_BINARY_DIR "/src/app/welvane", "--serve-metrics",
                  "127.0.0.1:" + std::to_string(port)},
                 port);
}

// The exporter refreshes at most once a second: space its scrapes so each
// one pays for a fresh reading.
void waitForNextReading()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(1050));
}

bool waitForFile(const std::string& path, pid_t owner)
{
    struct stat st {};
    for (int i = 0; i < 3000; ++i) {
        if (::stat(path.c_str(), &st) == 0)
            return true;
        if (::waitpid(owner, nullptr, WNOHANG) == owner)
            return false;
        ::usleep(100000);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int conns = argc > 1 ? std::atoi(argv[1]) : 30000;
    const int routes = argc > 2 ? std::atoi(argv[2]) : 100000;
    constexpr int kRounds = 9;

    // 1. This machine as it is: ours against the node exporter.
    Server welvane = startWelvane();
    const int nodePort = freePort();
    Server node = start(
        {"prometheus-node-exporter", "--web.listen-address=127.0.0.1:" + std::to_string(nodePort)},
        nodePort);
    if (welvane.pid < 0 || node.pid < 0) {
        std::fprintf(stderr, "could not start both exporters\n");
        return 1;
    }
    std::vector<bench::Timing> t = bench::interleave(kRounds, {[&] {
                                                                   waitForNextReading();
                                                                   return welvane.scrapeOnce();
                                                               },
                                                               [&] { return node.scrapeOnce(); }});
    std::printf("one scrape, this machine, median of %d rounds:\n", kRounds);
    std::printf("  welvane --serve-metrics   %7.2f ms wall, %7.2f ms CPU\n", t[0].wall_ms,
                t[0].cpu_ms);
    std::printf("  prometheus-node-exporter  %7.2f ms wall, %7.2f ms CPU\n", t[1].wall_ms,
                t[1].cpu_ms);
    std::printf("  ratio %.2f wall, %.2f CPU (goal: CPU <= 1.0)\n",
                bench::ratio(t[0].wall_ms, t[1].wall_ms), bench::ratio(t[0].cpu_ms, t[1].cpu_ms));
    node.stop();

    // 2. Resident memory over 1 000 scrapes (most share a cached reading;
    // one in a second refreshes).
    const long rssFirst = residentKiB(welvane.pid);
    for (int i = 0; i < 1000; ++i) {
        scrape(welvane.port);
        if (i == 99)
            std::printf("  resident after 100 scrapes: %ld KiB\n", residentKiB(welvane.pid));
    }
    std::printf("resident memory of the exporter: %ld KiB after the rounds above, %ld KiB after "
                "1 000 more scrapes\n",
                rssFirst, residentKiB(welvane.pid));
    welvane.stop();

    // 3. A busy machine, in a namespace of our own.
    bench::enterPrivateNetwork();
    std::printf("filling a private namespace with %d connections and %d + %d routes...\n", conns,
                routes, routes);
    std::fflush(stdout);
    bool ok = false;
    bench::runOnce(
        {"bash", bench::workloads() + "/route_namespace.sh", std::to_string(routes), "-"}, &ok);
    char dirTemplate[] = "/tmp/welvane-bench-XXXXXX";
    const char* dir = ::mkdtemp(dirTemplate);
    const std::string ready = std::string(dir ? dir : "/tmp") + "/ready";
    const pid_t workload =
        bench::spawn({"python3", bench::workloads() + "/conn_workload.py", "--conns",
                      std::to_string(conns), "--ready", ready, "--hold", "900"});
    if (!ok || workload < 0 || !waitForFile(ready, workload)) {
        std::fprintf(stderr, "could not build the workload\n");
        return 1;
    }
    welvane = startWelvane();
    t = bench::interleave(5,
                          {[&] {
                               waitForNextReading();
                               return welvane.scrapeOnce();
                           },
                           [] {
                               return bench::runOnce({"ss", "-tanu"});
                           },
                           [] {
                               return bench::runOnce({"ip", "-4", "route", "show", "table", "all"});
                           },
                           [] {
                               return bench::runOnce({"ip", "-6", "route", "show", "table", "all"});
                           }});
    const double toolsWall = t[1].wall_ms + t[2].wall_ms + t[3].wall_ms;
    const double toolsCpu = t[1].cpu_ms + t[2].cpu_ms + t[3].cpu_ms;
    std::printf("one scrape, %d connections, %d + %d routes, median of 5 rounds:\n", conns, routes,
                routes);
    std::printf("  welvane --serve-metrics        %8.1f ms wall, %8.1f ms CPU\n", t[0].wall_ms,
                t[0].cpu_ms);
    std::printf("  ss -tanu + ip -4 + ip -6 route %8.1f ms wall, %8.1f ms CPU (ss %.1f ms)\n",
                toolsWall, toolsCpu, t[1].wall_ms);
    std::printf("  ratio %.2f wall, %.2f CPU (goal <= 1.0)\n",
                bench::ratio(t[0].wall_ms, toolsWall), bench::ratio(t[0].cpu_ms, toolsCpu));
    std::printf("  resident memory of the exporter: %ld KiB\n", residentKiB(welvane.pid));
    welvane.stop();
    ::kill(workload, SIGTERM);
    ::waitpid(workload, nullptr, 0);
    std::remove(ready.c_str());
    if (dir)
        ::rmdir(dir);
    return 0;
}
