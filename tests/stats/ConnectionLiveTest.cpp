#include "host/netlink/LinuxSocketDump.h"
#include "stats/ConnectionStats.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A socket closed at the end of the test.
struct Fd {
    int fd;
    explicit Fd(int f) : fd(f) {}
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

std::uint16_t boundPort(int fd)
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

int count(const std::vector<ConnectionInfo>& list, const std::string& lport,
          const std::string& rport, const std::string& state)
{
    int n = 0;
    for (const ConnectionInfo& c : list)
        if (c.localAddr == "127.0.0.1" && c.localPort == lport && c.remotePort == rport &&
            c.state == state)
            ++n;
    return n;
}

// Opens a TCP connection and a UDP socket on 127.0.0.1 and checks one
// snapshot of reader.
void checkLoopbackSockets(const std::shared_ptr<SocketDump>& reader)
{
    Fd server(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in a = loopback(0);
    ASSERT_EQ(::bind(server.fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(server.fd, 4), 0);
    const std::uint16_t serverPort = boundPort(server.fd);
    Fd client(::socket(AF_INET, SOCK_STREAM, 0));
    a = loopback(serverPort);
    ASSERT_EQ(::connect(client.fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    Fd accepted(::accept(server.fd, nullptr, nullptr));
    ASSERT_GE(accepted.fd, 0);
    const std::uint16_t clientPort = boundPort(client.fd);
    Fd udp(::socket(AF_INET, SOCK_DGRAM, 0));
    a = loopback(0);
    ASSERT_EQ(::bind(udp.fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    const std::uint16_t udpPort = boundPort(udp.fd);

    Fd icmp(::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP)); // -1 without the privilege

    ConnectionStats stats(reader);
    stats.refresh();
    const std::vector<ConnectionInfo>* tcp4 = nullptr;
    const std::vector<ConnectionInfo>* udp4 = nullptr;
    const std::vector<ConnectionInfo>* icmp4 = nullptr;
    const auto groups = stats.connectionArray(); // a copy: the pointers below point into it
    for (const ConnectionGroup& g : groups) {
        if (g.name == "tcp4")
            tcp4 = &g.connectionList;
        if (g.name == "udp4")
            udp4 = &g.connectionList;
        if (g.name == "icmp4")
            icmp4 = &g.connectionList;
    }
    if (icmp.fd >= 0) {
        ASSERT_NE(icmp4, nullptr) << "a raw ICMP socket is listed as icmp4";
        EXPECT_EQ(icmp4->at(0).localAddr, "*");
        EXPECT_EQ(icmp4->at(0).localPort, "*");
        EXPECT_EQ(icmp4->at(0).state, "");
    }
    ASSERT_NE(tcp4, nullptr);
    ASSERT_NE(udp4, nullptr);
    const std::string sp = std::to_string(serverPort), cp = std::to_string(clientPort);
    EXPECT_EQ(count(*tcp4, cp, sp, "ESTABLISHED"), 1);
    EXPECT_EQ(count(*tcp4, sp, cp, "ESTABLISHED"), 1);
    // The listening socket is left out.
    EXPECT_EQ(count(*tcp4, sp, "*", "LISTEN"), 0);
    for (const ConnectionInfo& c : *tcp4)
        EXPECT_NE(c.state, "LISTEN");
    int udpSeen = 0;
    for (const ConnectionInfo& c : *udp4)
        if (c.localAddr == "127.0.0.1" && c.localPort == std::to_string(udpPort)) {
            ++udpSeen;
            EXPECT_EQ(c.remoteAddr, "*");
            EXPECT_EQ(c.remotePort, "*");
            EXPECT_EQ(c.state, "");
        }
    EXPECT_EQ(udpSeen, 1);
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
