#!/usr/bin/env python3
"""Write an `ip -batch` file that adds N IPv4 or N IPv6 routes on one link.

Only documentation/private space is used (10.0.0.0/8 for IPv4,
2001:db8::/32 for IPv6), and the routes live in a throw-away network
namespace whose only link is a veth pair with both ends inside it (see
route_namespace.sh): nothing is ever sent.

Mix, chosen so the table looks like a busy router rather than a list of
host routes: prefix lengths /32 /30 /28 /24 (IPv4) and /128 /64 /56 /48
(IPv6); half the routes go via an on-link gateway, half are device
routes; every 7th has an explicit metric, every 11th an MTU, every 13th
proto static.  Order is shuffled with a fixed seed, so the same N always
gives the same file.

usage: gen_routes.py -4|-6 N [--dev pa0] [--seed 1] > routes.batch
"""
import argparse
import ipaddress
import random
import sys

# (prefix length, base network holding that length's slots, share)
V4_PLAN = [(32, "10.0.0.0/9", 0.60), (30, "10.128.0.0/10", 0.25),
           (28, "10.192.0.0/11", 0.10), (24, "10.224.0.0/12", 0.05)]
V6_PLAN = [(128, "2001:db8:0:1::/64", 0.50), (64, "2001:db8:1000::/36", 0.35),
           (56, "2001:db8:2000::/36", 0.10), (48, "2001:db8:3000::/36", 0.05)]
GW4 = "10.255.255.254"   # on-link through 10.255.0.0/16 on the link
GW6 = "2001:db8:ffff::fe"  # on-link through 2001:db8:ffff::/64 on the link


def sample_slots(rng, slots, want):
    """`want` distinct slot numbers out of range(slots), any slot count."""
    if slots <= 1 << 26:
        return rng.sample(range(slots), want)
    seen = set()
    while len(seen) < want:
        seen.add(rng.getrandbits(slots.bit_length() - 1))
    return sorted(seen)


def prefixes(plan, n, rng):
    out = []
    left = n
    for idx, (plen, base, share) in enumerate(plan):
        net = ipaddress.ip_network(base)
        slots = 1 << (plen - net.prefixlen)
        want = left if idx == len(plan) - 1 else min(left, int(round(n * share)))
        if want > slots:
            # Not enough room at this length: the overflow goes to the
            # first (host-route) bucket, which has plenty of room.
            want = slots
        for k in sample_slots(rng, slots, want):
            addr = net.network_address + (k << (net.max_prefixlen - plen))
            out.append(f"{addr}/{plen}")
        left -= want
    if left:
        plen, base, _ = plan[0]
        net = ipaddress.ip_network(base)
        taken = {p for p in out if p.endswith(f"/{plen}")}
        while left:
            k = rng.getrandbits(plen - net.prefixlen)
            p = f"{net.network_address + (k << (net.max_prefixlen - plen))}/{plen}"
            if p not in taken:
                taken.add(p)
                out.append(p)
                left -= 1
    rng.shuffle(out)
    return out


def main():
    ap = argparse.ArgumentParser()
    fam = ap.add_mutually_exclusive_group(required=True)
    fam.add_argument("-4", dest="v4", action="store_true")
    fam.add_argument("-6", dest="v6", action="store_true")
    ap.add_argument("n", type=int)
    ap.add_argument("--dev", default="pa0")
    ap.add_argument("--seed", type=int, default=1)
    a = ap.parse_args()
    rng = random.Random(a.seed * 2 + (1 if a.v6 else 0))
    plan, gw = (V6_PLAN, GW6) if a.v6 else (V4_PLAN, GW4)
    w = sys.stdout.write
    for i, p in enumerate(prefixes(plan, a.n, rng)):
        line = f"route add {p}"
        if i % 2:
            line += f" via {gw}"
        line += f" dev {a.dev}"
        if i % 13 == 0:
            line += " proto static"
        if i % 7 == 0:
            line += f" metric {100 + i % 50}"
        if i % 11 == 0:
            line += " mtu 1400"
        w(line + "\n")


if __name__ == "__main__":
    main()
