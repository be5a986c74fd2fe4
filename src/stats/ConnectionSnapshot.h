#pragma once

#include "host/PcbRecord.h"
#include "stats/ConnectionEntry.h"
#include "stats/ConnectionGroup.h"

#include <cstddef>
#include <string>
#include <vector>

// One reading of the socket lists: one section per protocol name, in the
// listing's order, over compact records. The texts of a row are written
// when asked for, so a reading costs no formatting and only the rows on
// screen (or a dump) pay for it.
class ConnectionSnapshot {
public:
    std::size_t sectionCount() const { return m_sections.size(); }
    const std::string& sectionName(std::size_t section) const;
    std::size_t rowCount(std::size_t section) const;
    std::size_t totalRows() const;

    // The texts of one row, exactly as the connections screen shows them.
    ConnectionInfo connection(std::size_t section, std::size_t row) const;
    // Every row's texts (the whole list at once: for dumps and tests).
    std::vector<ConnectionGroup> connectionArray() const;

    // Collects records under their names in reading order; finish() puts
    // the names in the listing's order.
    class Builder;

private:
    struct Section {
        std::string name;
        std::vector<ConnectionEntry> entries;
    };
    std::vector<Section> m_sections;
};

class ConnectionSnapshot::Builder {
public:
    // Adds r under the name made of protocolName and r's version bits.
    // protocolName must stay valid until finish() (the protocol tables are
    // static); tcp says whether r has a TCP state.
    void add(const char* protocolName, const PcbRecord& r, bool tcp);
    // Takes back the records added since mark() (an unreadable list adds none).
    using Mark = std::vector<std::size_t>;
    Mark mark() const;
    void dropSince(const Mark& mark);
    // Empty sections are left out.
    ConnectionSnapshot finish();

private:
    std::size_t sectionFor(const char* protocolName, std::uint8_t vflag);

    struct Key {
        const char* protocolName;
        std::uint8_t vflag;
        std::size_t section;
    };
    std::vector<Key> m_keys;
    std::vector<Section> m_sections;
};
