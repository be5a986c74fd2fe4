#pragma once

#include <string>
#include <vector>

struct ListenAddress;

// The headless exporter: serves GET /metrics on the address until SIGTERM or
// SIGINT. No Qt application object, no display, no D-Bus.
class MetricsServer {
public:
    static constexpr int kThreads = 8;
    static constexpr int kRequestTimeoutMs = 5000;

    // Prints the URL it serves, then blocks until a stop signal and ends the
    // process with status 0. Returns 2 for a line that is not an address, 1
    // for an address that cannot be bound.
    static int run(const std::string& listen, bool withIdentity);

    // The HTTP server's options: enough threads that a few idle clients do
    // not hold up scrapes, and a request time-out that frees their threads.
    static std::vector<std::string> serverOptions(const ListenAddress& address);
    // Whether the HTTP server library can listen on IPv6 (Debian's civetweb
    // cannot).
    static bool ipv6Served();
    // Why binding the address fails (a bind of our own, for a clear message).
    static std::string bindError(const ListenAddress& address);
};
