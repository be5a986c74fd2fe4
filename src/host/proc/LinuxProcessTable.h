#pragma once

#include "host/ProcessTable.h"

#include <string>

// The process table read from /proc: command name, parent, group, priority
// and start time from /proc/[pid]/stat, the effective user from
// /proc/[pid]/status. Start times are the boot time of /proc/stat plus the
// start ticks.
class LinuxProcessTable : public ProcessTable {
public:
    // root is "/" or a fixture folder holding proc/; ticksPerSecond 0 asks
    // the system (USER_HZ).
    explicit LinuxProcessTable(std::string root = "/", long ticksPerSecond = 0);

    std::optional<std::vector<ProcessRecord>> processes() override;

private:
    std::string m_root;
    long m_ticks;
    bool m_loggedFailure = false;
};
