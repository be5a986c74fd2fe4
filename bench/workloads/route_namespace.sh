#!/usr/bin/env bash
# Fills a network namespace with N IPv4 and N IPv6 routes, for timing route readers against
# `ip route`. Nothing can leave it: its only link is a veth pair with both ends inside.
#
#   route_namespace.sh N NAME   makes the named namespace NAME (remove it with `ip netns del`)
#   route_namespace.sh N -      fills the namespace the caller is in (a benchmark that made
#                               its own with unshare)
# Prints the namespace's name (or "-").
set -euo pipefail
n=${1:?usage: route_namespace.sh N [NAME|-]}
ns=${2:-bench-routes-$$}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$here/gen_routes.py" -4 "$n" --dev pa0 >"$tmp/r4"
python3 "$here/gen_routes.py" -6 "$n" --dev pa0 >"$tmp/r6"
if [ "$ns" = - ]; then
    in=()
else
    ip netns add "$ns"
    in=(-n "$ns")
fi
ip "${in[@]}" link set lo up
ip "${in[@]}" link add pa0 type veth peer name pa1
ip "${in[@]}" link set pa1 up
ip "${in[@]}" link set pa0 up
ip "${in[@]}" addr add 10.255.255.1/16 dev pa0
ip "${in[@]}" -6 addr add 2001:db8:ffff::1/64 dev pa0 nodad
timeout 900 ip "${in[@]}" -batch "$tmp/r4"
timeout 900 ip "${in[@]}" -6 -batch "$tmp/r6"
echo "$ns"
