#pragma once

#include <cstdint>
#include <string>

// One process as the Processes screen shows it.
struct ProcessInfo {
    std::string name;    // the kernel's short command name
    std::string runtime; // time since the start, "1d 2h 3m 4s"
    std::string user;    // login name; empty when the user database has none
    std::int32_t pid = 0;
    std::int32_t ppid = 0;
    std::int32_t prio = 0; // the kernel's signed priority
    std::int32_t uid = 0;
    std::int32_t pgid = 0;
};
