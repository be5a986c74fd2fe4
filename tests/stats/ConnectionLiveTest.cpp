#include "host/netlink/LinuxSocketDump.h"
#include "stats/ConnectionStats.h"

#include "NetnsScope.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>

// The only tests of the socket readers' requests against a real kernel: the
// parsers have captured-data tests, the requests and the fallback do not.
namespace {

// A socket on 127.0.0.1, closed at the end of the test.
struct Socket {
    int fd;
    explicit Socket(int type) : fd(::socket(AF_INET, type, 0)) {}
    ~Socket() { ::close(fd); }
    std::string port() const
    {
        sockaddr_in a{};
        socklen_t len = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
        return std::to_string(ntohs(a.sin_port));
    }
    bool bindOrConnect(std::uint16_t port, bool connect)
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        const auto* sa = reinterpret_cast<const sockaddr*>(&a);
        return (connect ? ::connect(fd, sa, sizeof a) : ::bind(fd, sa, sizeof a)) == 0;
    }
};

// A TCP connection and UDP sockets on the loopback, each listed exactly once.
void checkLoopbackSockets(const std::shared_ptr<SocketDump>& reader)
{
    Socket server(SOCK_STREAM), client(SOCK_STREAM), udp(SOCK_DGRAM);
    ASSERT_TRUE(server.bindOrConnect(0, false));
    ASSERT_EQ(::listen(server.fd, 4), 0);
    ASSERT_TRUE(client.bindOrConnect(std::stoi(server.port()), true));
    const int accepted = ::accept(server.fd, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    ASSERT_TRUE(udp.bindOrConnect(0, false));
    // One on ::1 too, which neither the IPv4 request nor the IPv4 table lists.
    const int udp6 = ::socket(AF_INET6, SOCK_DGRAM, 0);
    sockaddr_in6 a6{};
    a6.sin6_family = AF_INET6;
    a6.sin6_addr = in6addr_loopback;
    socklen_t len = sizeof a6;
    ASSERT_EQ(::bind(udp6, reinterpret_cast<sockaddr*>(&a6), len), 0);
    ::getsockname(udp6, reinterpret_cast<sockaddr*>(&a6), &len);

    ConnectionStats stats(reader);
    stats.refresh();
    ::close(accepted);
    ::close(udp6);
    std::map<std::string, int> seen; // "name local:port remote:port state"
    for (const ConnectionGroup& g : stats.connectionArray())
        for (const ConnectionInfo& c : g.connectionList)
            if (c.localAddr == "127.0.0.1" || c.localAddr == "::1")
                ++seen[g.name + " " + c.localPort + " " + c.remoteAddr + ":" + c.remotePort + " " +
                       c.state];
    const std::string sp = server.port(), cp = client.port();
    EXPECT_EQ(seen["tcp4 " + cp + " 127.0.0.1:" + sp + " ESTABLISHED"], 1);
    EXPECT_EQ(seen["tcp4 " + sp + " 127.0.0.1:" + cp + " ESTABLISHED"], 1);
    EXPECT_EQ(seen["tcp4 " + sp + " *:* LISTEN"], 0); // listening sockets are left out
    EXPECT_EQ(seen["udp4 " + udp.port() + " *:* "], 1);
    EXPECT_EQ(seen["udp6 " + std::to_string(ntohs(a6.sin6_port)) + " *:0 "], 1);
}

} // namespace

TEST(ConnectionLive, LoopbackSocketsViaSockDiag)
{
    checkLoopbackSockets(std::make_shared<LinuxSocketDump>());
}

TEST(ConnectionLive, LoopbackSocketsViaProcNet)
{
    auto reader = std::make_shared<LinuxSocketDump>();
    reader->setForceProcFallback(true);
    checkLoopbackSockets(reader);
}

// In a namespace of its own, so the sockets below are all there is: a raw
// ICMPv6 socket is IPv6 only, and a connection over a link-local address
// keeps the interface as its scope.
TEST(ConnectionLive, RawIpv6AndLinkLocalSockets)
{
    NetnsScope ns;
    if (!ns.ok())
        GTEST_SKIP() << "cannot create a network namespace here (needs root and ip netns)";
    for (const char* command : {"link add d0 type veth peer name d1", "link set d1 up",
                                "link set d0 up", "-6 addr add fe80::1/64 dev d0 nodad"})
        ASSERT_TRUE(ns.ip(command)) << command;

    std::vector<std::string> rows; // "group local:port remote:port state"
    std::string serverPort, clientPort;
    ASSERT_TRUE(ns.run([&] {
        const int raw = ::socket(AF_INET6, SOCK_RAW, IPPROTO_ICMPV6);
        const int server = ::socket(AF_INET6, SOCK_STREAM, 0);
        const int client = ::socket(AF_INET6, SOCK_STREAM, 0);
        sockaddr_in6 a{};
        a.sin6_family = AF_INET6;
        inet_pton(AF_INET6, "fe80::1", &a.sin6_addr);
        a.sin6_scope_id = if_nametoindex("d0");
        socklen_t len = sizeof a;
        ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&a), len), 0);
        ASSERT_EQ(::listen(server, 4), 0);
        ::getsockname(server, reinterpret_cast<sockaddr*>(&a), &len);
        serverPort = std::to_string(ntohs(a.sin6_port));
        ASSERT_EQ(::connect(client, reinterpret_cast<sockaddr*>(&a), len), 0);
        const int accepted = ::accept(server, nullptr, nullptr);
        ASSERT_GE(accepted, 0);
        ::getsockname(client, reinterpret_cast<sockaddr*>(&a), &len);
        clientPort = std::to_string(ntohs(a.sin6_port));

        ConnectionStats stats(std::make_shared<LinuxSocketDump>());
        stats.refresh();
        // Texts name the interface, so they are made inside the namespace.
        for (const ConnectionGroup& g : stats.connectionArray())
            for (const ConnectionInfo& c : g.connectionList)
                rows.push_back(g.name + " " + c.localAddr + ":" + c.localPort + " " + c.remoteAddr +
                               ":" + c.remotePort + " " + c.state);
        for (int fd : {raw, server, client, accepted})
            ::close(fd);
    }));
    if (rows.size() >= 2) // the two ends of the connection come in kernel order
        std::sort(rows.begin(), rows.begin() + 2);
    const std::string sp = serverPort, cp = clientPort;
    std::vector<std::string> tcp = {"tcp6 fe80::1%d0:" + cp + " fe80::1%d0:" + sp + " ESTABLISHED",
                                    "tcp6 fe80::1%d0:" + sp + " fe80::1%d0:" + cp + " ESTABLISHED"};
    std::sort(tcp.begin(), tcp.end());
    EXPECT_EQ(rows, (std::vector<std::string>{tcp[0], tcp[1], "icmp66 *:0 *:0 "}));
}
