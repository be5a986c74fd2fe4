#pragma once

#include <array>
#include <cstdint>

// One Internet socket in the shape the connection-table logic reads: the BSD
// protocol-control-block fields it needs (protocol, IP version bits, IPv4 or
// IPv6 addresses, ports, TCP state and flags). Linux sockets are mapped onto
// it by assignPcbAddresses() and tcpStateFromLinux().
struct PcbRecord {
    static constexpr std::uint8_t VersionIpv4 = 0x1;
    static constexpr std::uint8_t VersionIpv6 = 0x2;
    static constexpr std::uint32_t NeedSyn = 0x400;
    static constexpr std::uint32_t NeedFin = 0x800;

    std::uint8_t protocol = 0;
    std::uint8_t vflag = 0;
    std::uint16_t lport = 0; // host byte order
    std::uint16_t fport = 0;
    std::uint32_t laddr = 0; // IPv4, network byte order
    std::uint32_t faddr = 0;
    std::array<std::uint8_t, 16> laddr6{};
    std::array<std::uint8_t, 16> faddr6{};
    int tstate = 0; // TCP state in the classic BSD numbering
    std::uint32_t tflags = 0;
    // Identity of the kernel socket (0: unknown). A dump that races with
    // socket changes can deliver one socket twice; the cookie lets the
    // reader drop the repeat.
    std::uint64_t cookie = 0;
};

// Classic BSD TCP state numbers.
namespace tcpstate {
constexpr int Closed = 0;
constexpr int Listen = 1;
constexpr int SynSent = 2;
constexpr int SynReceived = 3;
constexpr int Established = 4;
constexpr int CloseWait = 5;
constexpr int FinWait1 = 6;
constexpr int Closing = 7;
constexpr int LastAck = 8;
constexpr int FinWait2 = 9;
constexpr int TimeWait = 10;
} // namespace tcpstate

// Linux TCP state (include/net/tcp_states.h) to the BSD number. States with
// no BSD counterpart keep their Linux number when it is above the BSD range,
// so they show as a number rather than as a wrong name.
int tcpStateFromLinux(int linuxState);

// Fills the version bits and addresses of rec from a Linux socket. An AF_INET
// socket is IPv4. Only a dual-stack socket (TCP or UDP over AF_INET6 without
// IPV6_V6ONLY) can talk IPv4: one whose addresses are IPv4-mapped (or
// unspecified beside a mapped one) is shown as IPv4 with the embedded
// addresses, and one with no address at either end answers both versions.
// Every other AF_INET6 socket, raw ones included, is IPv6 only. scopeId is
// the interface the socket is bound to (0: none): the kernel keeps no scope
// inside a socket's link-local addresses, so it is embedded in bytes 2 and 3
// as the BSD kernel does, where the address texts look for it.
void assignPcbAddresses(PcbRecord& rec, int linuxFamily, bool dualStack,
                        const std::uint8_t* local16, const std::uint8_t* remote16,
                        std::uint32_t scopeId = 0);
