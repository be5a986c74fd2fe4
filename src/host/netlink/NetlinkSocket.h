#pragma once

#include "host/netlink/NetlinkParser.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

// A netlink socket for one dump request at a time: sends the request and
// hands each message of the answer to a callback as it arrives, so large
// tables are parsed straight out of the receive buffer without a copy.
class NetlinkSocket {
public:
    explicit NetlinkSocket(int protocol);
    ~NetlinkSocket();
    NetlinkSocket(const NetlinkSocket&) = delete;
    NetlinkSocket& operator=(const NetlinkSocket&) = delete;

    // A dump request of the given type with body as its payload.
    template <typename Body>
    static std::vector<std::uint8_t> dumpRequest(std::uint16_t type, const Body& body)
    {
        std::vector<std::uint8_t> bytes(HeaderLength + sizeof(Body));
        writeHeader(bytes, type);
        std::memcpy(bytes.data() + HeaderLength, &body, sizeof body);
        return bytes;
    }

    bool isOpen() const { return m_fd >= 0; }
    // Lets the kernel filter dumps by the request's header fields
    // (NETLINK_GET_STRICT_CHK); false where it cannot.
    bool enableStrictChecking();
    // errno of the failed open, send or receive (0 if none).
    int lastError() const { return m_error; }

    // Sends request (a complete netlink message; its sequence number is set
    // here) and reads the answer to its end. True when the dump ended with
    // NLMSG_DONE; false on any error, when the messages received so far have
    // already been delivered.
    bool dump(std::vector<std::uint8_t> request,
              const std::function<void(std::uint16_t type, netlink::Bytes payload)>& onMessage);

private:
    static constexpr std::size_t HeaderLength = 16; // NLMSG_HDRLEN
    static void writeHeader(std::vector<std::uint8_t>& bytes, std::uint16_t type);

    int m_fd = -1;
    int m_error = 0;
    std::uint32_t m_sequence = 0;
    std::vector<std::uint8_t> m_buffer;
};
