#include "metrics/ListenAddress.h"

#include <arpa/inet.h>
#include <charconv>

namespace {
std::optional<std::uint16_t> parsePort(const std::string& text)
{
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value > 65535)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}
} // namespace

std::optional<ListenAddress> ListenAddress::parse(const std::string& text, std::string* why)
{
    const auto fail = [why](const std::string& message) -> std::optional<ListenAddress> {
        if (why)
            *why = message;
        return std::nullopt;
    };
    ListenAddress a;
    std::string portText = text;
    if (!text.empty() && text.front() == '[') {
        const auto close = text.find(']');
        if (close == std::string::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return fail("an IPv6 address is written [ADDRESS]:PORT");
        a.host = text.substr(1, close - 1);
        a.ipv6 = true;
        portText = text.substr(close + 2);
    } else if (const auto colon = text.rfind(':'); colon != std::string::npos) {
        a.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        if (a.host.find(':') != std::string::npos)
            return fail("an IPv6 address is written [ADDRESS]:PORT");
    }
    const auto port = parsePort(portText);
    if (!port)
        return fail("'" + portText + "' is not a port (0 to 65535)");
    a.port = *port;
    unsigned char buffer[16];
    if (inet_pton(a.ipv6 ? AF_INET6 : AF_INET, a.host.c_str(), buffer) != 1)
        return fail("'" + a.host + "' is not a numeric " + (a.ipv6 ? "IPv6" : "IPv4") + " address");
    return a;
}

std::string ListenAddress::serverOption() const
{
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::string ListenAddress::url(std::uint16_t boundPort) const
{
    return "http://" + (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(boundPort) +
           "/metrics";
}
