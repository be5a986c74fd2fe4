#pragma once

#include "host/PcbRecord.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Reader of the /proc/net/{tcp,tcp6,udp,udp6,raw,raw6} tables, the fallback
// where sock_diag is refused.
namespace procnet {

// Parses one table's text (header line first). family is AF_INET or
// AF_INET6, protocol the table's (IPPROTO_RAW for the raw tables, whose
// local "port" is the socket's protocol). Malformed lines are skipped.
void parseTable(std::string_view text, int family, std::uint8_t protocol,
                const std::function<void(const PcbRecord&)>& each);

// Reads root + "/proc/net/" + name; false when the file cannot be read.
bool readTable(const std::string& root, const std::string& name, int family, std::uint8_t protocol,
               const std::function<void(const PcbRecord&)>& each);

} // namespace procnet
