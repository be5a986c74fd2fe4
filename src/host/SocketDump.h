#pragma once

#include "host/PcbRecord.h"

#include <functional>

// The kernel's lists of Internet sockets, one list per kind as the classic
// BSD kernel serves them (the raw list holds sockets of every raw protocol).
class SocketDump {
public:
    enum class List { Tcp, Udp, Divert, Raw };

    virtual ~SocketDump() = default;

    // Calls each(record) for every socket of the list, IPv4 and IPv6. False
    // when the list cannot be read (some records may have been delivered).
    virtual bool list(List which, const std::function<void(const PcbRecord&)>& each) = 0;
};
