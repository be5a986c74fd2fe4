#pragma once

#include "host/RouteRecord.h"
#include "stats/RouteEntry.h"
#include "stats/RouteGroup.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One reading of the routing table: sections (runs of one address family in
// kernel order) over compact records. The texts of a row are written when
// asked for, so reading the table costs no formatting and only the rows on
// screen (or a dump) pay for it.
class RouteSnapshot {
public:
    // The sections in order, and the records of all sections one after another.
    std::size_t sectionCount() const { return m_sections.size(); }
    const std::string& sectionName(std::size_t section) const;
    std::size_t rowCount(std::size_t section) const;
    std::size_t totalRows() const { return m_entries.size(); }
    // Rows whose record had no compact form (none from a Linux kernel).
    std::size_t keptAsTexts() const { return m_asTexts.size(); }

    // The texts and numbers of one row, exactly as the routing screen shows them.
    RouteInfo route(std::size_t section, std::size_t row) const;
    // Every row's texts (the whole list at once: for dumps and tests).
    std::vector<RouteGroup> routeArray() const;

    // "Internet", "Internet6", "IPX" or "Protocol Family N".
    static std::string groupName(int family);

    // Builds a snapshot from kernel records in order.
    class Builder;

private:
    struct Section {
        std::string name;
        std::size_t first = 0;
        std::size_t count = 0;
    };
    const RouteEntry& entry(std::size_t section, std::size_t row) const;
    const std::string& interfaceName(std::uint32_t index) const;

    std::vector<Section> m_sections;
    std::vector<RouteEntry> m_entries;
    std::vector<RouteInfo> m_asTexts; // records the compact form cannot hold
    // Interface names as of the reading: (index, name), few.
    std::vector<std::pair<std::uint32_t, std::string>> m_names;
};

// Appends each record to the last section (a new one when its family
// differs from the previous record's). The names of interfaces are asked of
// interfaceName once per index.
class RouteSnapshot::Builder {
public:
    using Names = std::function<std::optional<std::string>(std::uint32_t index)>;
    // expectedRows: a guess of the table's size (the last reading's), to grow once.
    Builder(Names interfaceName, std::function<std::int64_t()> clock, std::size_t expectedRows = 0);
    void add(const RouteRecord& record);
    RouteSnapshot finish();

private:
    RouteSnapshot m_snapshot{};
    Names m_interfaceName;
    std::function<std::int64_t()> m_clock;
    int m_currentFamily = -1;
    std::uint32_t m_lastIndex = 0;
};
