#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One process as the kernel's process table gives it.
struct ProcessRecord {
    std::string comm; // the kernel's short command name, raw bytes
    std::int32_t pid = 0;
    std::int32_t ppid = 0;
    std::int32_t pgid = 0;
    std::int32_t priority = 0;  // signed: real-time tasks are negative
    std::uint32_t uid = 0;      // effective user id
    std::int64_t startTime = 0; // calendar seconds
};

// The machine's process table.
class ProcessTable {
public:
    virtual ~ProcessTable() = default;

    // Every process that could be read; processes that exit while the table
    // is read are left out. nullopt only when the table itself is unreadable.
    virtual std::optional<std::vector<ProcessRecord>> processes() = 0;
};
