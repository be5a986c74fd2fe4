#include "stats/RouteAddressText.h"

#include "RouteRecordBuilders.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <net/if.h>

using namespace routebuild;
using routetext::addressText;

namespace {
std::uint32_t hostOrder(const char* dotted)
{
    in_addr a{};
    inet_pton(AF_INET, dotted, &a);
    return ntohl(a.s_addr);
}
} // namespace

TEST(RouteNetworkText, ShortensByClassAndAddsMaskSuffix)
{
    struct Case {
        const char* address;
        const char* mask;
        const char* text;
    } cases[] = {
        {"10.0.0.0", "255.0.0.0", "10"},
        {"192.168.1.0", "255.255.255.0", "192.168.1"},
        {"10.0.1.0", "255.255.255.0", "10.0.1/24"},
        {"10.0.0.0", "255.0.255.0", "10&0xff00ff00"},
        {"127.0.0.0", "0.0.0.0", "127"},            // no mask: bare network number
        {"172.16.0.0", "255.240.0.0", "172.16/12"}, // class B, shorter than its class mask
        {"10.1.2.3", "255.255.255.255", "10.1.2.3/32"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(routetext::networkText(hostOrder(c.address), hostOrder(c.mask)), c.text)
            << c.address << " mask " << c.mask;
}

TEST(RouteAddressText, Ipv4DefaultHostAndGateway)
{
    const RouteSockaddr zero = inet("0.0.0.0");
    const RouteSockaddr noMask; // a missing mask is a zero-filled area of length 0
    EXPECT_EQ(addressText(zero, &noMask, routeflag::Up), "default");
    const RouteSockaddr zeroMask = inet("0.0.0.0");
    EXPECT_EQ(addressText(zero, &zeroMask, routeflag::Up), "default");
    // A gateway is written as a host even when it is 0.0.0.0.
    EXPECT_EQ(addressText(zero, nullptr, routeflag::Host), "0.0.0.0");
    // A host route is never shortened.
    EXPECT_EQ(addressText(inet("10.0.0.1"), &noMask, routeflag::Host), "10.0.0.1");
    // A short mask (length 0) with a value still counts as no default.
    const RouteSockaddr classMask = inet("255.0.0.0", 5);
    EXPECT_EQ(addressText(inet("10.0.0.0"), &classMask, 0), "10");
}

TEST(RouteAddressText, Ipv6PrefixesDefaultsAndScopes)
{
    const RouteSockaddr noMask;
    const RouteSockaddr m63 = inet6Mask(63), m64 = inet6Mask(64);
    EXPECT_EQ(addressText(inet6("::"), &noMask, 0), "default");
    EXPECT_EQ(addressText(inet6("2001:db8::"), &m63, 0), "2001:db8::/63");
    EXPECT_EQ(addressText(inet6("::1"), nullptr, routeflag::Host), "::1");
    // A mask byte that is no prefix counts 0.
    RouteSockaddr odd = inet6Mask(16);
    odd.bytes[sockaddrlayout::In6Addr + 2] = 0x0f;
    EXPECT_EQ(addressText(inet6("2001::"), &odd, 0), "2001::/16");
    // The embedded scope names the interface (loopback is index 1 here).
    char lo[IF_NAMESIZE];
    ASSERT_NE(if_indextoname(1, lo), nullptr);
    EXPECT_EQ(addressText(inet6("fe80:1::1"), nullptr, routeflag::Host),
              std::string("fe80::1%") + lo);
    EXPECT_EQ(addressText(inet6("fe80:1::"), &m64, 0), std::string("fe80::%") + lo + "/64");
    EXPECT_EQ(addressText(inet6("ff02:1::1"), nullptr, routeflag::Host),
              std::string("ff02::1%") + lo);
    // A scope that names no interface is written as its number.
    EXPECT_EQ(addressText(inet6("fe80:7ff0::5"), nullptr, routeflag::Host), "fe80::5%32752");
    // Not link-local: bytes 2 and 3 are part of the address.
    EXPECT_EQ(addressText(inet6("2001:1::1"), nullptr, routeflag::Host), "2001:1::1");
}

TEST(RouteAddressText, LinkLayerForms)
{
    EXPECT_EQ(addressText(link(7), nullptr, routeflag::Host), "link#7");
    EXPECT_EQ(addressText(link(3, 6, "en0", {0x00, 0x1b, 0x63, 0x0a, 0x0b, 0x0c}), nullptr, 0),
              "0:1b:63:a:b:c");
    // Other link types fall to the link_ntoa form: name, then dotted hex bytes.
    EXPECT_EQ(addressText(link(3, 24, "lo0", {0x01, 0xab}), nullptr, 0), "lo0:1.ab");
}

TEST(RouteAddressText, UnknownFamilyInHexPairs)
{
    EXPECT_EQ(addressText(raw(99, {0x01, 0x02, 0x03, 0x04, 0x05}), nullptr, 0),
              "(99) 0102 0304 05");
    EXPECT_EQ(addressText(raw(5, {}), nullptr, 0), "(5)");
    // A long address stops starting groups once the text reaches 122 characters.
    RouteSockaddr big;
    big.bytes[0] = 120;
    big.bytes[1] = 77;
    for (int i = 2; i < 120; ++i)
        big.bytes[i] = 0xee;
    const std::string text = addressText(big, nullptr, 0);
    EXPECT_EQ(text.rfind("(77) eeee", 0), 0u);
    EXPECT_GE(text.size(), 122u);
    EXPECT_LE(text.size(), 126u);
    EXPECT_EQ((text.size() - 4) % 5, 0u);
}

TEST(RouteFlagLetters, FixedOrderNotBitOrder)
{
    EXPECT_EQ(routetext::flagLetters(0x1 | 0x2 | 0x800 | 0x10000), "UGSc");
    // Bits without a letter are not shown.
    EXPECT_EQ(routetext::flagLetters(0x80 | 0x2000 | 0x80000 | 0x1), "U");
}
