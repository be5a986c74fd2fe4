#pragma once
// The real `welvane --serve-metrics` started for one test, and a minimal
// HTTP client with time-outs to talk to it (and to Prometheus).

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace served {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A loopback TCP connection to port (with a small receive buffer when
// given, for clients that read slowly); -1 on failure.
inline int connectTo(int port, int receiveBuffer = 0)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && receiveBuffer)
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
        return fd;
    if (fd >= 0)
        ::close(fd);
    return -1;
}

// Established loopback TCP pairs: client then accepted end, count times.
inline std::vector<int> loopbackPairs(int count)
{
    std::vector<int> fds;
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listener, count);
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &len);
    for (int i = 0; i < count; ++i) {
        fds.push_back(connectTo(ntohs(a.sin_port)));
        fds.push_back(::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC));
    }
    ::close(listener); // listening sockets are not counted anyway
    return fds;
}

// A port nobody listens on right now.
inline int freePort()
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

struct Reply {
    int status = 0; // 0: no answer in time
    std::string head, body;
};

// Sends request and reads until the server closes or the time is up.
inline Reply exchange(int port, const std::string& request,
                      std::chrono::milliseconds limit = 5000ms)
{
    Reply r;
    const int fd = connectTo(port);
    if (fd < 0)
        return r;
    std::size_t sent = 0;
    while (sent < request.size()) {
        const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<std::size_t>(n);
    }
    std::string all;
    const auto end = Clock::now() + limit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        pollfd p{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0)
            break;
        char buffer[65536];
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        all.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    const auto split = all.find("\r\n\r\n");
    if (all.rfind("HTTP/1.", 0) == 0 && split != std::string::npos) {
        r.status = std::stoi(all.substr(9, 3));
        r.head = all.substr(0, split);
        r.body = all.substr(split + 4);
    }
    return r;
}

inline Reply get(int port, const std::string& target, std::chrono::milliseconds limit = 5000ms)
{
    return exchange(
        port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n", limit);
}

// The value of the first sample line that starts with series ("name{...}"
// exactly as printed); nullopt when absent.
inline std::optional<double> sample(const std::string& text, const std::string& series)
{
    std::size_t at = 0;
    while ((at = text.find(series + " ", at)) != std::string::npos) {
        if (at == 0 || text[at - 1] == '\n')
            return std::stod(text.substr(at + series.size() + 1));
        at += series.size();
    }
    return std::nullopt;
}

// The number after key on its line of a /proc file ("MemTotal:", "btime ").
inline std::optional<std::uint64_t> procNumber(const char* file, const std::string& key)
{
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0)
            return std::stoull(line.substr(key.size()));
    return std::nullopt;
}

// posix_spawn of argv with stdout on a pipe; stderr is kept for messages.
class Process {
public:
    explicit Process(std::vector<std::string> argv)
    {
        std::vector<char*> args;
        for (std::string& w : argv)
            args.push_back(w.data());
        args.push_back(nullptr);
        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        if (posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(err[1]);
        m_out = out[0];
        m_err = err[0];
    }
    ~Process()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        for (int fd : {m_out, m_err})
            if (fd >= 0)
                ::close(fd);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    pid_t pid() const { return m_pid; }

    // The first line of standard output, waiting up to limit.
    std::string firstLine(std::chrono::milliseconds limit = 10000ms)
    {
        std::string line;
        const auto end = Clock::now() + limit;
        while (line.find('\n') == std::string::npos && Clock::now() < end) {
            pollfd p{m_out, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0)
                continue;
            char c[256];
            const ssize_t n = ::read(m_out, c, sizeof c);
            if (n <= 0)
                break;
            line.append(c, static_cast<std::size_t>(n));
        }
        return line.substr(0, line.find('\n'));
    }

    // Standard error so far (after the process ended: all of it).
    std::string errors()
    {
        std::string all;
        char c[4096];
        ::fcntl(m_err, F_SETFL, O_NONBLOCK);
        for (ssize_t n; (n = ::read(m_err, c, sizeof c)) > 0;)
            all.append(c, static_cast<std::size_t>(n));
        return all;
    }

    // Exit status after signal (or when it ends by itself); -1 when it had
    // to be killed or died of a signal.
    int stop(int signal = SIGTERM, std::chrono::milliseconds limit = 10000ms)
    {
        if (m_pid <= 0)
            return -1;
        if (signal)
            ::kill(m_pid, signal);
        int status = 0;
        const auto end = Clock::now() + limit;
        while (::waitpid(m_pid, &status, WNOHANG) == 0) {
            if (Clock::now() > end) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, &status, 0);
                m_pid = -1;
                return -1;
            }
            ::usleep(10000);
        }
        m_pid = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1, m_err = -1;
};

// `welvane --serve-metrics 127.0.0.1:0` (plus extra arguments, or run under
// a prefix such as `ip netns exec NAME`), with the port it reports.
struct Exporter {
    explicit Exporter(std::vector<std::string> extra = {}, std::vector<std::string> prefix = {},
                      std::string listen = "0")
        : process([&] {
              std::vector<std::string> argv = prefix;
              argv.insert(argv.end(), {WELVANE_BINARY, "--serve-metrics", listen});
              argv.insert(argv.end(), extra.begin(), extra.end());
              return argv;
          }())
    {
        line = process.firstLine();
        const auto colon = line.rfind(':');
        if (line.ends_with("/metrics") && colon != std::string::npos)
            port = std::stoi(line.substr(colon + 1));
    }
    std::string scrape() { return get(port, "/metrics").body; }

    Process process;
    std::string line;
    int port = 0;
};

} // namespace served
