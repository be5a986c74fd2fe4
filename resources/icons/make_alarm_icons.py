#!/usr/bin/env python3
"""Draws arrow.png (the large-screen disclosure arrow of the Work Time page)
and tick.png (the large-screen mark of the alarm settings) beside this script.

Both are drawn at twice their logical size, like the page icons, as round-capped
strokes anti-aliased by their distance to the stroke's centre line. Standard
library only; run by hand after changing a drawing:
    python3 resources/icons/make_alarm_icons.py
"""

import math
import os
import struct
import zlib


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def draw(width, height, points, stroke, rgb):
    rows = []
    for y in range(height):
        row = bytearray([0])  # filter type 0 for this scanline
        for x in range(width):
            cx, cy = x + 0.5, y + 0.5
            d = min(segment_distance(cx, cy, *points[i], *points[i + 1])
                    for i in range(len(points) - 1))
            coverage = max(0.0, min(1.0, stroke / 2 - d + 0.5))
            row += bytes(rgb) + bytes([int(round(coverage * 255))])
        rows.append(bytes(row))
    return png(width, height, b"".join(rows))


def png(width, height, raw):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    # A chevron of 10 x 14 points in the grey of the table's own indicators.
    arrow = draw(20, 28, [(5, 4), (15, 14), (5, 24)], 4.0, (128, 128, 128))
    # A check mark of 20 x 16 points in the blue of the value texts.
    tick = draw(40, 32, [(5, 17), (15, 27), (35, 5)], 5.0, (56, 84, 135))
    for name, data in (("arrow.png", arrow), ("tick.png", tick)):
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
        print(os.path.join(here, name))


if __name__ == "__main__":
    main()
