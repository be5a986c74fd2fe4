#include "host/netlink/NetlinkParser.h"

#include "support/TestSupport.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <linux/rtnetlink.h>

#include <fstream>
#include <iterator>
#include <map>

using netlink::Bytes;
using netlink::WalkEnd;

namespace {

std::vector<std::uint8_t> capture(const std::string& name)
{
    std::ifstream in(testsupport::fixture("netlink/" + name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Walked {
    WalkEnd end;
    std::vector<std::vector<std::uint8_t>> payloads; // copies, so the input can go
    std::vector<std::uint16_t> types;
};

// Walks an exact-size heap copy of bytes, so a read past its end is a real
// out-of-bounds read (caught under AddressSanitizer).
Walked walk(const std::vector<std::uint8_t>& bytes, std::size_t length)
{
    std::vector<std::uint8_t> exact(bytes.begin(), bytes.begin() + std::ptrdiff_t(length));
    Walked w;
    w.end = netlink::walkMessages(Bytes(exact.data(), exact.size()),
                                  [&](std::uint16_t type, Bytes payload) {
                                      w.types.push_back(type);
                                      w.payloads.emplace_back(payload.begin(), payload.end());
                                  });
    return w;
}

std::vector<RouteRecord> routes(const std::vector<std::uint8_t>& bytes)
{
    std::vector<RouteRecord> out;
    netlink::RouteContext context{1000, 100};
    netlink::walkMessages(Bytes(bytes.data(), bytes.size()), [&](std::uint16_t, Bytes p) {
        RouteRecord r;
        if (netlink::parseRouteMessage(p, context, r))
            out.push_back(r);
    });
    return out;
}

std::string v4(const RouteSockaddr& sa)
{
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &sa.bytes[sockaddrlayout::InAddr], text, sizeof text);
    return text;
}

const RouteRecord* findV4(const std::vector<RouteRecord>& rs, const std::string& dst,
                          const std::string& mask)
{
    for (const RouteRecord& r : rs)
        if (v4(r.sa[RouteRecord::Destination]) == dst && v4(r.sa[RouteRecord::Netmask]) == mask)
            return &r;
    return nullptr;
}

} // namespace

// Every capture ends with DONE, and every truncation of it keeps the
// complete messages before the cut and never reaches DONE.
TEST(NetlinkWalk, CapturesAndEveryTruncationOfThem)
{
    for (const char* name : {"routes4.bin", "routes6.bin", "links.bin", "diag_tcp.bin"}) {
        SCOPED_TRACE(name);
        const auto bytes = capture(name);
        ASSERT_FALSE(bytes.empty()) << "missing";
        const Walked full = walk(bytes, bytes.size());
        EXPECT_EQ(full.end, WalkEnd::Done);
        EXPECT_FALSE(full.types.empty());
        for (std::size_t len = 0; len < bytes.size(); ++len) {
            const Walked w = walk(bytes, len);
            EXPECT_NE(w.end, WalkEnd::Done) << len; // the DONE message is the last one
            ASSERT_LE(w.types.size(), full.types.size());
            for (std::size_t i = 0; i < w.payloads.size(); ++i)
                EXPECT_EQ(w.payloads[i], full.payloads[i]) << "message " << i << " at " << len;
        }
    }
}

// A length past the end is covered by the truncations above.
TEST(NetlinkWalk, AHeaderLengthBelowTheHeaderStopsTheWalk)
{
    auto bytes = capture("routes4.bin");
    const Walked full = walk(bytes, bytes.size());
    ASSERT_GE(full.types.size(), 3u);
    // Make the third message claim less than a header: the first two are kept.
    std::size_t pos = 0;
    for (int i = 0; i < 2; ++i) {
        std::uint32_t len;
        std::memcpy(&len, &bytes[pos], 4);
        pos += (len + 3) & ~3u;
    }
    const std::uint32_t tiny = 8;
    std::memcpy(&bytes[pos], &tiny, 4);
    const Walked w = walk(bytes, bytes.size());
    EXPECT_EQ(w.end, WalkEnd::Malformed);
    EXPECT_EQ(w.types.size(), 2u);
}

TEST(NetlinkWalk, KernelErrorsEndTheDump)
{
    // A lone message of the given type carrying the given error number.
    const auto walkOne = [](std::uint16_t type, int error, int* code) {
        std::uint8_t message[20] = {20};
        std::memcpy(message + 4, &type, 2);
        std::memcpy(message + 16, &error, 4);
        return netlink::walkMessages(
            Bytes(message, 20), [](std::uint16_t, Bytes) {}, code);
    };
    int code = 0;
    EXPECT_EQ(walkOne(NLMSG_ERROR, -EPERM, &code), WalkEnd::Error);
    EXPECT_EQ(code, EPERM);
    EXPECT_EQ(walkOne(NLMSG_DONE, -ENOENT, &code), WalkEnd::Error);
    EXPECT_EQ(code, ENOENT);
    EXPECT_EQ(walkOne(NLMSG_ERROR, 0, nullptr), WalkEnd::More) << "an acknowledgement";
}

TEST(NetlinkRoutes, CapturedIpv4Table)
{
    const auto rs = routes(capture("routes4.bin"));
    std::map<std::uint32_t, std::string> names;
    const auto links = capture("links.bin");
    netlink::walkMessages(Bytes(links.data(), links.size()), [&](std::uint16_t, Bytes p) {
        std::uint32_t index;
        std::string name;
        if (netlink::parseLinkMessage(p, index, name))
            names[index] = name;
    });
    ASSERT_GE(names.size(), 3u); // lo, d0, d1

    const RouteRecord* via = findV4(rs, "10.30.0.0", "255.255.0.0");
    ASSERT_NE(via, nullptr);
    EXPECT_EQ(v4(via->sa[RouteRecord::GatewaySlot]), "10.20.0.254");
    EXPECT_EQ(via->flags, routeflag::Up | routeflag::Gateway | routeflag::Static);
    EXPECT_EQ(via->mtu, 1400u);
    EXPECT_EQ(names[via->index], "d0");
    EXPECT_EQ(via->sa[RouteRecord::Destination].len(), sockaddrlayout::InSize);

    const RouteRecord* def = findV4(rs, "0.0.0.0", "0.0.0.0");
    ASSERT_NE(def, nullptr);
    EXPECT_TRUE(def->flags & routeflag::Gateway);

    const RouteRecord* hole = findV4(rs, "10.66.0.0", "255.255.0.0");
    ASSERT_NE(hole, nullptr);
    EXPECT_TRUE(hole->flags & routeflag::Blackhole);
    EXPECT_FALSE(hole->has(RouteRecord::GatewaySlot)); // neither gateway nor interface

    const RouteRecord* connected = findV4(rs, "10.20.0.0", "255.255.255.0");
    ASSERT_NE(connected, nullptr);
    EXPECT_EQ(connected->sa[RouteRecord::GatewaySlot].family(), routefamily::Link);
    EXPECT_EQ(connected->flags, routeflag::Up); // a kernel route

    const RouteRecord* local = findV4(rs, "10.20.0.1", "255.255.255.255");
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(local->flags & routeflag::Host);
}

TEST(NetlinkRoutes, CapturedIpv6TableCarriesCacheInfoAndScopes)
{
    const auto rs = routes(capture("routes6.bin"));
    ASSERT_FALSE(rs.empty());
    bool sawVia = false, sawLinkLocal = false;
    for (const RouteRecord& r : rs) {
        const auto& dst = r.sa[RouteRecord::Destination];
        EXPECT_EQ(dst.family(), routefamily::Inet6);
        EXPECT_EQ(dst.len(), sockaddrlayout::In6Size);
        EXPECT_GE(r.refcnt, 0); // IPv6 routes come with cache info
        const std::uint8_t* a = &dst.bytes[sockaddrlayout::In6Addr];
        if (a[0] == 0x20 && a[1] == 0x01 && a[2] == 0x0d && a[3] == 0xb8 && a[5] == 0x77) {
            sawVia = true;
            EXPECT_TRUE(r.flags & routeflag::Gateway);
        }
        if (a[0] == 0xfe && a[1] == 0x80 && !(r.flags & routeflag::Host)) {
            sawLinkLocal = true;
            // The interface index is embedded as the BSD kernel does.
            EXPECT_EQ((a[2] << 8) | a[3], int(r.index));
        }
    }
    EXPECT_TRUE(sawVia);
    EXPECT_TRUE(sawLinkLocal);
}

TEST(NetlinkRoutes, MalformedPayloadsAreRefused)
{
    RouteRecord r;
    netlink::RouteContext context;
    // An rtmsg cut by `cut` bytes, or followed by an RTA_DST attribute that
    // claims `attrLen` bytes of which four (10.0.0.0) are there.
    const auto parse = [&](std::uint8_t family, std::uint8_t dstLen, std::uint16_t attrLen,
                           std::size_t cut = 0) {
        std::vector<std::uint8_t> p(sizeof(rtmsg) + (attrLen ? 8 : 0), 0);
        rtmsg m{};
        m.rtm_family = family;
        m.rtm_dst_len = dstLen;
        std::memcpy(p.data(), &m, sizeof m);
        const rtattr dst{attrLen, RTA_DST};
        if (attrLen) {
            std::memcpy(p.data() + sizeof m, &dst, sizeof dst);
            p[sizeof m + 4] = 10;
        }
        std::vector<std::uint8_t> exact(p.begin(), p.end() - std::ptrdiff_t(cut));
        return netlink::parseRouteMessage(Bytes(exact.data(), exact.size()), context, r);
    };
    EXPECT_FALSE(parse(AF_INET, 8, 0, 1)) << "shorter than an rtmsg";
    EXPECT_FALSE(parse(AF_INET, 33, 0)) << "a prefix longer than the address";
    EXPECT_FALSE(parse(AF_UNIX, 8, 0)) << "an unknown family";
    EXPECT_FALSE(parse(AF_INET, 8, 200)) << "an attribute past the end";
    EXPECT_FALSE(parse(AF_INET, 8, 6)) << "a destination shorter than an address";
    ASSERT_TRUE(parse(AF_INET, 8, 8));
    EXPECT_EQ(r.sa[RouteRecord::Destination].bytes[sockaddrlayout::InAddr], 10);
}

TEST(NetlinkDiag, CapturedTcpConnection)
{
    const auto bytes = capture("diag_tcp.bin");
    std::vector<PcbRecord> sockets;
    netlink::walkMessages(Bytes(bytes.data(), bytes.size()), [&](std::uint16_t, Bytes p) {
        PcbRecord r;
        if (netlink::parseDiagMessage(p, IPPROTO_TCP, r))
            sockets.push_back(r);
    });
    ASSERT_EQ(sockets.size(), 2u); // both ends; the listener was filtered by the kernel
    int clientSide = 0;
    for (const PcbRecord& s : sockets) {
        EXPECT_EQ(s.protocol, IPPROTO_TCP);
        EXPECT_EQ(s.vflag, PcbRecord::VersionIpv4);
        EXPECT_EQ(s.tstate, tcpstate::Established);
        EXPECT_EQ(s.laddr, htonl(INADDR_LOOPBACK));
        EXPECT_EQ(s.faddr, htonl(INADDR_LOOPBACK));
        EXPECT_NE(s.cookie, 0u);
        if (s.lport == 40001 && s.fport == 40000)
            ++clientSide;
        else
            EXPECT_TRUE(s.lport == 40000 && s.fport == 40001);
    }
    EXPECT_EQ(clientSide, 1);
    // Every truncation of a message payload is refused or parsed, never overread.
    netlink::walkMessages(Bytes(bytes.data(), bytes.size()), [&](std::uint16_t, Bytes p) {
        for (std::size_t len = 0; len < p.size(); ++len) {
            std::vector<std::uint8_t> exact(p.begin(), p.begin() + std::ptrdiff_t(len));
            PcbRecord r;
            const bool ok = netlink::parseDiagMessage(Bytes(exact.data(), exact.size()), 6, r);
            if (len < 72) {
                EXPECT_FALSE(ok) << len;
            }
        }
    });
}
