#pragma once

#include <cstdint>
#include <string>

// The netstat text forms of socket addresses, ports and TCP states.
namespace connectiontext {

// "*" for 0.0.0.0, else the dotted quad (address in network byte order).
std::string ipv4Text(std::uint32_t networkOrder);

// "*" for ::, else the numeric text with the embedded scope of a link-local
// address, at most 49 characters.
std::string ipv6Text(const std::uint8_t* address16);

// IPv4 sockets show port 0 as "*"; IPv6 sockets show it as 0.
std::string portText(std::uint16_t port, bool ipv4);

// The state name, "*" while a SYN or FIN is still to be sent, or the
// number of an unknown state.
std::string stateText(int state, std::uint32_t flags);

// Protocol name plus the version suffix "4", "6" or "46".
std::string protocolName(const char* name, std::uint8_t vflag);

} // namespace connectiontext
