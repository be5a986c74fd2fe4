#pragma once

#include "stats/ConnectionInfo.h"

#include <string>
#include <vector>

// The sockets of one protocol name ("tcp4", "udp6", ...).
struct ConnectionGroup {
    std::string name;
    std::vector<ConnectionInfo> connectionList;
};
