#pragma once

#include "host/DefaultRouteChange.h"
#include "host/RouteRecord.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// The gateway `ip route` would use: of the main table's default routes, the
// one with the lowest metric, an IPv4 route before any IPv6 one. Kept current
// from the kernel's change messages; a reading of the table (at start, or
// after messages were lost) replaces what it covers. Changes that arrive
// while a reading runs are applied again on top of it: each change is
// idempotent, so one the reading already saw does no harm. Safe to use from
// any thread.
class DefaultGateway {
public:
    // One default route, with its gateway as the route list writes it.
    struct Entry {
        std::uint8_t family = 0; // routefamily
        std::uint32_t priority = 0;
        std::uint8_t tos = 0;
        std::uint32_t index = 0;
        std::string gateway;
    };

    // A main-table default route that forwards (not unreachable, prohibit or
    // blackhole), IPv4 or IPv6.
    static bool isCandidate(const RouteRecord& route);
    // Any default route of the main table, IPv4 or IPv6.
    static bool isMainDefault(const RouteRecord& route);
    static Entry entryFor(const RouteRecord& route, std::string gatewayText);
    static Entry entryFor(const RouteRecord& route);

    void apply(const DefaultRouteChange& change);

    // A reading of the table starts; pass the token to finishReading with
    // the candidates it found, for family (0: both). A failed reading passes
    // ok = false: no default route is known then.
    std::uint64_t beginReading();
    void finishReading(std::uint64_t token, std::uint8_t family, std::vector<Entry> found,
                       bool ok = true);

    // The chosen gateway's text, "N/A" when there is none.
    std::string text() const;
    // Shows text until the next change or reading.
    void setText(std::string text);

private:
    struct Logged {
        std::uint64_t sequence;
        DefaultRouteChange::Kind kind;
        bool add;
        Entry entry;
    };
    void applyLocked(DefaultRouteChange::Kind kind, bool add, const Entry& entry);
    void choose();

    mutable std::mutex m_mutex;
    std::vector<Entry> m_entries; // in the order the kernel reported them
    std::vector<Logged> m_log;    // changes while a reading runs
    std::uint64_t m_sequence = 0; // changes applied so far
    int m_readings = 0;
    std::string m_text = "N/A";
};
