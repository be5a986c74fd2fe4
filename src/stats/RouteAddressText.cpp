#include "stats/RouteAddressText.h"

#include "stats/NumericHost.h"

#include <cstdio>
#include <cstring>

namespace routetext {
namespace {

using namespace sockaddrlayout;

std::uint32_t readBigEndian32(const std::uint8_t* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           p[3];
}

void appendByte(std::string& s, std::uint32_t v)
{
    char buf[4];
    int n = 0;
    v &= 0xff;
    if (v >= 100)
        buf[n++] = char('0' + v / 100);
    if (v >= 10)
        buf[n++] = char('0' + v / 10 % 10);
    buf[n++] = char('0' + v % 10);
    s.append(buf, std::size_t(n));
}

// The first `count` bytes of a, most significant first, joined by dots.
std::string dotted(std::uint32_t a, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i) {
        if (i)
            s += '.';
        appendByte(s, a >> (24 - 8 * i));
    }
    return s;
}

std::string inetText(const RouteSockaddr& sa, const RouteSockaddr* mask, std::uint32_t flags)
{
    const std::uint32_t a = readBigEndian32(&sa.bytes[InAddr]);
    const std::uint32_t m = mask ? readBigEndian32(&mask->bytes[InAddr]) : 0;
    if (a == 0 && mask && (m == 0 || mask->len() == 0))
        return "default";
    if (flags & routeflag::Host)
        return dotted(a, 4);
    return networkText(a, m);
}

int maskBits(std::uint8_t byte)
{
    switch (byte) {
    case 0xff:
        return 8;
    case 0xfe:
        return 7;
    case 0xfc:
        return 6;
    case 0xf8:
        return 5;
    case 0xf0:
        return 4;
    case 0xe0:
        return 3;
    case 0xc0:
        return 2;
    case 0x80:
        return 1;
    default:
        return 0; // 0x00 and any byte that is no prefix
    }
}

std::string inet6Text(const RouteSockaddr& original, const RouteSockaddr* mask, std::uint32_t flags)
{
    RouteSockaddr sa = original;
    std::uint8_t* addr = &sa.bytes[In6Addr];
    std::uint32_t scope;
    std::memcpy(&scope, &sa.bytes[In6Scope], 4);
    const bool linkLocal = addr[0] == 0xfe && (addr[1] & 0xc0) == 0x80;
    const bool mcastLinkLocal = addr[0] == 0xff && (addr[1] & 0x0f) == 0x02;
    if (linkLocal || mcastLinkLocal) {
        scope = (std::uint32_t(addr[2]) << 8) | addr[3];
        addr[2] = addr[3] = 0;
    }
    if (flags & routeflag::Host)
        return numericHost6(addr, scope);

    int prefix = 0;
    if (mask && mask->len() != 0)
        for (int i = 0; i < 16; ++i)
            prefix += maskBits(mask->bytes[In6Addr + i]);
    static const std::uint8_t zero[16] = {};
    if (prefix == 0 && std::memcmp(addr, zero, 16) == 0)
        return "default";
    // getnameinfo refuses an address shorter than a sockaddr_in6.
    std::string text = sa.len() >= In6Size ? numericHost6(addr, scope) : std::string();
    text += '/';
    text += std::to_string(prefix);
    return text;
}

std::string linkNtoa(const RouteSockaddr& sa)
{
    const int nlen = sa.bytes[DlNlen], alen = sa.bytes[DlAlen];
    static const char hex[] = "0123456789abcdef";
    std::string out;
    for (int i = 0; i < nlen && DlData + i < RouteSockaddr::Capacity; ++i)
        out += char(sa.bytes[DlData + i]);
    if (nlen && alen)
        out += ':';
    for (int i = 0; i < alen && DlData + nlen + i < RouteSockaddr::Capacity; ++i) {
        if (i)
            out += '.';
        const int b = sa.bytes[DlData + nlen + i];
        if (b > 0xf)
            out += hex[b >> 4];
        out += hex[b & 0xf];
    }
    return out;
}

std::string linkText(const RouteSockaddr& sa)
{
    const int nlen = sa.bytes[DlNlen], alen = sa.bytes[DlAlen], slen = sa.bytes[DlSlen];
    if (nlen == 0 && alen == 0 && slen == 0) {
        std::uint16_t index;
        std::memcpy(&index, &sa.bytes[DlIndex], 2);
        return "link#" + std::to_string(index);
    }
    if (sa.bytes[DlType] != EtherType)
        return linkNtoa(sa);
    std::string out;
    char buf[4];
    for (int i = 0; i < alen && DlData + nlen + i < RouteSockaddr::Capacity; ++i) {
        if (i)
            out += ':';
        std::snprintf(buf, sizeof buf, "%x", sa.bytes[DlData + nlen + i]);
        out += buf;
    }
    return out;
}

std::string anyText(const RouteSockaddr& sa)
{
    std::string out = "(" + std::to_string(sa.family()) + ")";
    const int len = std::min<int>(sa.len(), RouteSockaddr::Capacity);
    char buf[4];
    for (int i = 2; i < len && out.size() < 122; i += 2) {
        std::snprintf(buf, sizeof buf, " %02x", sa.bytes[i]);
        out += buf;
        if (i + 1 < len) {
            std::snprintf(buf, sizeof buf, "%02x", sa.bytes[i + 1]);
            out += buf;
        }
    }
    return out;
}

} // namespace

std::string networkText(std::uint32_t a, std::uint32_t m)
{
    std::uint32_t classMask;
    if ((a & 0x80000000u) == 0)
        classMask = 0xff000000u;
    else if ((a & 0xc0000000u) == 0x80000000u)
        classMask = 0xffff0000u;
    else
        classMask = 0xffffff00u;

    std::string text;
    if (classMask == 0xff000000u && (a & 0x00ffffffu) == 0)
        text = dotted(a, 1);
    else if (classMask != 0xffffff00u && (a & 0x0000ffffu) == 0)
        text = dotted(a, 2);
    else if ((a & 0x000000ffu) == 0)
        text = dotted(a, 3);
    else
        text = dotted(a, 4);

    if (m != 0 && m != classMask) {
        int b = 0;
        while (!(m & (1u << b)))
            ++b;
        const std::uint32_t upper = b == 0 ? 0xffffffffu : ~((1u << b) - 1);
        if ((m & upper) == upper) {
            text += '/';
            text += std::to_string(32 - b);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "&0x%x", m);
            text += buf;
        }
    }
    return text;
}

std::string addressText(const RouteSockaddr& sa, const RouteSockaddr* mask, std::uint32_t flags)
{
    switch (sa.family()) {
    case routefamily::Inet:
        return inetText(sa, mask, flags);
    case routefamily::Inet6:
        return inet6Text(sa, mask, flags);
    case routefamily::Link:
        return linkText(sa);
    default:
        return anyText(sa);
    }
}

std::string flagLetters(std::uint32_t flags)
{
    static const struct {
        std::uint32_t bit;
        char letter;
    } table[] = {
        {0x1, 'U'},       {0x2, 'G'},      {0x4, 'H'},    {0x8, 'R'},      {0x10, 'D'},
        {0x20, 'M'},      {0x800000, 'm'}, {0x40, 'd'},   {0x100, 'C'},    {0x200, 'X'},
        {0x400, 'L'},     {0x800, 'S'},    {0x8000, '1'}, {0x4000, '2'},   {0x20000, 'W'},
        {0x10000, 'c'},   {0x40000, '3'},  {0x1000, 'B'}, {0x400000, 'b'}, {0x1000000, 'I'},
        {0x4000000, 'i'},
    };
    std::string out;
    for (const auto& f : table)
        if (flags & f.bit)
            out += f.letter;
    return out;
}

} // namespace routetext
