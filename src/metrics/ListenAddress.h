#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Where the exporter listens, from "[ADDRESS:]PORT": an IPv4 literal, an
// IPv6 literal in brackets, or only a port (then loopback, so a device is
// never exposed by accident).
struct ListenAddress {
    std::string host = "127.0.0.1"; // numeric, without brackets
    std::uint16_t port = 0;         // 0: any free port
    bool ipv6 = false;

    // nullopt with why set when the text is not a usable address.
    static std::optional<ListenAddress> parse(const std::string& text, std::string* why = nullptr);

    // The form the HTTP server's listening option takes ("[::1]:9100").
    std::string serverOption() const;
    // The scrape URL for a port actually bound.
    std::string url(std::uint16_t boundPort) const;
};
