#pragma once

#include "host/PcbRecord.h"
#include "host/RouteRecord.h"

#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>

// Plain parsers of netlink message bytes as the kernel sends them (host byte
// order). None of them reads past the span it is given: a message or
// attribute whose length does not fit is treated as the end of the input.
namespace netlink {

using Bytes = std::span<const std::uint8_t>;

enum class WalkEnd {
    More,      // every message was complete; the dump goes on in the next chunk
    Done,      // NLMSG_DONE seen
    Error,     // NLMSG_ERROR with a non-zero code, or NLMSG_DONE with a negative one
    Malformed, // a header whose length does not fit; the rest was dropped
};

// Calls onMessage(type, payload) for every complete message of one received
// chunk, in order, and says how the chunk ended; on Error, *errorCode (if
// given) receives the kernel's errno.
WalkEnd walkMessages(Bytes chunk,
                     const std::function<void(std::uint16_t type, Bytes payload)>& onMessage,
                     int* errorCode = nullptr);

// The same, also handing on the message's header flags (NLM_F_REPLACE of a
// route change, for example).
WalkEnd walkMessagesWithFlags(
    Bytes chunk,
    const std::function<void(std::uint16_t type, std::uint16_t flags, Bytes payload)>& onMessage,
    int* errorCode = nullptr);

// Calls onAttribute(type, value) for each route attribute in bytes; false
// when an attribute's length is bad (those before it were delivered). The
// template is for hot loops (a route table is ten attributes a route).
template <typename OnAttribute> bool forEachAttribute(Bytes bytes, OnAttribute&& onAttribute)
{
    constexpr std::size_t HeaderSize = 4; // struct rtattr: u16 length, u16 type
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (bytes.size() - pos < HeaderSize)
            return false;
        std::uint16_t length, type;
        std::memcpy(&length, bytes.data() + pos, 2);
        std::memcpy(&type, bytes.data() + pos + 2, 2);
        if (length < HeaderSize || length > bytes.size() - pos)
            return false;
        onAttribute(std::uint16_t(type & 0x3fff), // without the nested and byte-order bits
                    bytes.subspan(pos + HeaderSize, length - HeaderSize));
        pos += (std::size_t(length) + 3) & ~std::size_t(3);
    }
    return true;
}
bool walkAttributes(Bytes bytes,
                    const std::function<void(std::uint16_t type, Bytes value)>& onAttribute);

struct RouteContext {
    std::int64_t now = 0;      // calendar seconds, for the expiry
    long ticksPerSecond = 100; // unit of the kernel's cache-info expiry
};

// An RTM_NEWROUTE payload to a route record (see RouteRecord.h for the
// mapping). False for a malformed payload or a family other than IPv4/IPv6.
bool parseRouteMessage(Bytes payload, const RouteContext& context, RouteRecord& out);

// True when an RTM_NEWROUTE/RTM_DELROUTE payload is a default route (prefix
// length 0) of the main table, IPv4 or IPv6; cheaper than a full parse.
bool isMainTableDefault(Bytes payload);

// An RTM_NEWLINK payload: the interface index and name.
bool parseLinkMessage(Bytes payload, std::uint32_t& index, std::string& name);

// A sock_diag inet_diag_msg payload. protocol is the one the dump asked for;
// a raw socket's own protocol comes from the message.
bool parseDiagMessage(Bytes payload, std::uint8_t protocol, PcbRecord& out);

} // namespace netlink
