#pragma once

#include "stats/ProcessInfo.h"

#include <string>
#include <vector>

// The processes of one user, by descending pid.
struct ProcessUserGroup {
    std::string name;
    std::vector<ProcessInfo> processList;
};
