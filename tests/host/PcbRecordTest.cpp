#include "host/PcbRecord.h"
#include "host/proc/ProcNetSockets.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace {
std::array<std::uint8_t, 16> a6(const char* text)
{
    std::array<std::uint8_t, 16> a{};
    inet_pton(AF_INET6, text, a.data());
    return a;
}
std::uint32_t a4(const char* text)
{
    std::uint32_t a = 0;
    inet_pton(AF_INET, text, &a);
    return a;
}
// The version bits and both addresses, as "4 a b", "6 a b" or "46 a b".
std::string describe(const PcbRecord& r)
{
    const bool v4 = r.vflag & PcbRecord::VersionIpv4;
    char l[INET6_ADDRSTRLEN], f[INET6_ADDRSTRLEN];
    inet_ntop(v4 ? AF_INET : AF_INET6, v4 ? (const void*)&r.laddr : r.laddr6.data(), l, sizeof l);
    inet_ntop(v4 ? AF_INET : AF_INET6, v4 ? (const void*)&r.faddr : r.faddr6.data(), f, sizeof f);
    const std::string version =
        std::string(v4 ? "4" : "") + (r.vflag & PcbRecord::VersionIpv6 ? "6" : "");
    return version + " " + l + " " + f;
}

std::string mapped(const char* local, const char* remote, bool dualStack, std::uint32_t scope = 0)
{
    PcbRecord r;
    assignPcbAddresses(r, AF_INET6, dualStack, a6(local).data(), a6(remote).data(), scope);
    return describe(r);
}
} // namespace

TEST(PcbAddresses, DualStackSocketsMapToVersionBits)
{
    std::uint8_t l4[16] = {127, 0, 0, 1}, r4[16] = {10, 0, 0, 9};
    PcbRecord plain;
    assignPcbAddresses(plain, AF_INET, false, l4, r4);
    EXPECT_EQ(describe(plain), "4 127.0.0.1 10.0.0.9");
    // Unbound: both versions, or IPv6 alone when v6-only.
    EXPECT_EQ(mapped("::", "::", true), "46 0.0.0.0 0.0.0.0");
    EXPECT_EQ(mapped("::", "::", false), "6 :: ::");
    // Talking IPv4 through mapped addresses: the IPv4 bit and the embedded addresses.
    EXPECT_EQ(mapped("::ffff:192.168.1.5", "::ffff:93.184.216.34", true),
              "4 192.168.1.5 93.184.216.34");
    EXPECT_EQ(mapped("::ffff:127.0.0.1", "::", true), "4 127.0.0.1 0.0.0.0");
    // A real IPv6 conversation, and an unbound socket connected to IPv6.
    EXPECT_EQ(mapped("2001:db8::1", "2001:db8::2", true), "6 2001:db8::1 2001:db8::2");
    EXPECT_EQ(mapped("::", "2001:db8::2", true), "6 :: 2001:db8::2");
    // A raw socket is never dual-stack: mapped-looking addresses stay IPv6.
    EXPECT_EQ(mapped("::ffff:127.0.0.1", "::", false), "6 ::ffff:127.0.0.1 ::");
    // The bound interface becomes the scope of link-local addresses only.
    EXPECT_EQ(mapped("fe80::1", "2001:db8::2", true, 0x0203), "6 fe80:203::1 2001:db8::2");
    EXPECT_EQ(mapped("ff02::fb", "::", true, 7), "6 ff02:7::fb ::");
}

// NEW_SYN_RECV (12, kernel-internal) is half open; a newer state shows as its number.
TEST(PcbAddresses, LinuxTcpStatesPastTheListedOnes)
{
    EXPECT_EQ(tcpStateFromLinux(12), tcpstate::SynReceived);
    EXPECT_EQ(tcpStateFromLinux(13), 13);
}

TEST(ProcNetTables, ParsesIpv4Ipv6AndRawLines)
{
    const char* tcp =
        "  sl  local_address rem_address   st tx_queue rx_queue tr tm->when retrnsmt   uid\n"
        "   0: 0100007F:9C40 0100007F:9C41 01 00000000:00000000 00:00000000 00000000     0\n"
        "   1: 00000000:0016 00000000:0000 0A 00000000:00000000 00:00000000 00000000     0\n"
        "   2: garbage line\n"
        "   3: 0100007F:ZZZZ 0100007F:9C41 01\n";
    std::vector<PcbRecord> out;
    procnet::parseTable(tcp, AF_INET, 6, [&](const PcbRecord& r) { out.push_back(r); });
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].laddr, a4("127.0.0.1"));
    EXPECT_EQ(out[0].lport, 40000);
    EXPECT_EQ(out[0].fport, 40001);
    EXPECT_EQ(out[0].tstate, tcpstate::Established);
    EXPECT_EQ(out[1].tstate, tcpstate::Listen);
    EXPECT_EQ(out[1].lport, 22);

    const char* tcp6 =
        "  sl  local_address                         remote_address                        st\n"
        "   0: 00000000000000000000000001000000:1F90 00000000000000000000000001000000:D431 01\n"
        "   1: 0000000000000000FFFF00000100007F:0050 0000000000000000FFFF00000100007F:D432 06\n";
    out.clear();
    procnet::parseTable(tcp6, AF_INET6, 6, [&](const PcbRecord& r) { out.push_back(r); });
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].vflag, PcbRecord::VersionIpv6);
    EXPECT_EQ(out[0].laddr6, a6("::1"));
    EXPECT_EQ(out[0].lport, 8080);
    EXPECT_EQ(out[1].vflag, PcbRecord::VersionIpv4); // IPv4-mapped
    EXPECT_EQ(out[1].laddr, a4("127.0.0.1"));
    EXPECT_EQ(out[1].tstate, tcpstate::TimeWait);

    const char* raw = "  sl  local_address rem_address   st\n"
                      " 210: 00000000:0001 00000000:0000 07\n";
    out.clear();
    procnet::parseTable(raw, AF_INET, 255, [&](const PcbRecord& r) { out.push_back(r); });
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].protocol, 1); // the raw socket's protocol, not a port
    EXPECT_EQ(out[0].lport, 0);
}
