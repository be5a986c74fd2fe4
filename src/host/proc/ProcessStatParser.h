#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Parsers of the per-process files under /proc/[pid].
namespace procstat {

struct StatFields {
    std::string_view comm; // points into the parsed line
    std::int32_t pid = 0;
    std::int32_t ppid = 0;
    std::int32_t pgrp = 0;
    std::int32_t priority = 0;
    std::uint64_t startTicks = 0; // clock ticks after boot
};

// One /proc/[pid]/stat line. The command name is taken up to the last ')':
// a process may name itself "a) 1 (b". nullopt for a line cut short.
std::optional<StatFields> statLine(std::string_view line);

// The effective user id: the second number of the "Uid:" line of
// /proc/[pid]/status.
std::optional<std::uint32_t> effectiveUid(std::string_view status);

} // namespace procstat
