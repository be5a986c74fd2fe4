#pragma once

#include "metrics/MetricsHost.h"
#include "metrics/MetricsReading.h"

#include <string>

// Reads the host services into one MetricsReading. The device facts are read
// once, when the reader is made; everything else on each read(). Not
// thread-safe: one read at a time (the collector serialises them).
class MetricsReader {
public:
    explicit MetricsReader(MetricsHost host);

    MetricsReading read();

    const DeviceInfo& device() const { return m_device; }

    // The state label of a socket: a TCP state in the classic BSD numbering,
    // or for UDP and raw sockets 1 when connected to a peer, else 0.
    static std::string stateName(bool tcp, int state);
    // A health setting outside 20..100 (or never set) counts as 100.
    static long long repairedHealth(std::optional<long long> setting);

private:
    std::optional<std::map<std::pair<std::string, std::string>, std::uint64_t>> countSockets();
    std::optional<std::map<std::string, std::uint64_t>> countRoutes();
    std::optional<std::map<std::string, std::uint64_t>> countProcesses();
    // Logs a source's failure once, and its return after a failure.
    void note(const char* source, bool ok);

    MetricsHost m_host;
    DeviceInfo m_device;
    std::map<std::string, bool> m_failing;
};
