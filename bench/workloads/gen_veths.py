#!/usr/bin/env python3
"""Write an `ip -batch` file that adds N veth pairs (2N interfaces), both
ends up, as a container host or a test rig has them. Run it only inside a
throw-away network namespace: the pairs connect nothing to the outside.

usage: gen_veths.py N [--prefix vb] > veths.batch
"""
import argparse
import sys


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("n", type=int)
    ap.add_argument("--prefix", default="vb")
    a = ap.parse_args()
    w = sys.stdout.write
    for i in range(a.n):
        name, peer = f"{a.prefix}{i}", f"{a.prefix}{i}p"
        w(f"link add {name} type veth peer name {peer}\n")
        w(f"link set {name} up\n")
        w(f"link set {peer} up\n")


if __name__ == "__main__":
    main()
