#pragma once

#include "host/InterfaceAddresses.h"

// getifaddrs; link addresses are its AF_PACKET entries.
class LinuxInterfaceAddresses : public InterfaceAddresses {
public:
    std::optional<std::vector<InterfaceAddress>> list() override;
};
