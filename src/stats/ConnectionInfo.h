#pragma once

#include <string>

// One socket as the connections screen shows it. std::string keeps the
// short texts inside the object: 60 000 records are built per snapshot.
struct ConnectionInfo {
    std::string name;
    std::string localAddr;
    std::string localPort;
    std::string remoteAddr;
    std::string remotePort;
    std::string state; // TCP only
};
