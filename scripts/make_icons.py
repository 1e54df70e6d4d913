#!/usr/bin/env python3
"""Draws the program's desktop icon as PNG files in the usual sizes and as SVG,
with no library beyond Python.

Run once; the results in packaging/icons/ are committed and installed into the
desktop's icon theme (hicolor) by the build's install rules.

The picture: a dark blue tile with a timing-advance curve (rising with engine
speed, then flat) in amber and a red spark at the curve's knee.
"""
import math
import os
import struct
import sys
import zlib

BLUE = (16, 40, 96)
AMBER = (240, 170, 20)
RED = (200, 30, 30)
GRID = (60, 110, 190)

CORNER = 0.18
CURVE = [(0.14, 0.80), (0.52, 0.36), (0.86, 0.30)]
CURVE_HALF_WIDTH = 0.055
SPARK = (0.52, 0.36, 0.10)
GRID_LINES = [0.30, 0.55, 0.80]
GRID_HALF_WIDTH = 0.012
SIZES = [16, 24, 32, 48, 64, 128, 256]
SAMPLES = 4  # per axis and pixel, for smooth edges


def in_tile(x, y):
    m = 0.04
    if not (m <= x <= 1 - m and m <= y <= 1 - m):
        return False
    cx = min(max(x, m + CORNER), 1 - m - CORNER)
    cy = min(max(y, m + CORNER), 1 - m - CORNER)
    return (x - cx) ** 2 + (y - cy) ** 2 <= CORNER ** 2


def segment_distance(px, py, a, b):
    ax, ay = a
    bx, by = b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def colour_at(x, y, size):
    if not in_tile(x, y):
        return None
    sx, sy, sr = SPARK
    if (x - sx) ** 2 + (y - sy) ** 2 <= sr ** 2:
        return RED
    if min(segment_distance(x, y, CURVE[k], CURVE[k + 1]) for k in range(len(CURVE) - 1)) <= CURVE_HALF_WIDTH:
        return AMBER
    # The grid only where there are pixels enough to show it.
    if size >= 48 and any(abs(y - g) <= GRID_HALF_WIDTH or abs(x - g) <= GRID_HALF_WIDTH for g in GRID_LINES):
        return GRID
    return BLUE


def render(size):
    rows = []
    for py in range(size):
        row = bytearray([0])  # filter type: none
        for px in range(size):
            r = g = b = a = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = colour_at((px + (sx + 0.5) / SAMPLES) / size, (py + (sy + 0.5) / SAMPLES) / size, size)
                    if c:
                        r, g, b, a = r + c[0], g + c[1], b + c[2], a + 1
            n = SAMPLES * SAMPLES
            row += bytes([r // a, g // a, b // a, 255 * a // n] if a else [0, 0, 0, 0])
        rows.append(bytes(row))
    return b"".join(rows)


def png(size, pixels):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(pixels, 9)) + chunk(b"IEND", b"")


def svg():
    def hexc(c):
        return "#%02x%02x%02x" % c

    m = 0.04
    s = 256
    grid = "".join(
        f'<line x1="{g*s:.1f}" y1="{m*s:.1f}" x2="{g*s:.1f}" y2="{(1-m)*s:.1f}"/>'
        f'<line x1="{m*s:.1f}" y1="{g*s:.1f}" x2="{(1-m)*s:.1f}" y2="{g*s:.1f}"/>'
        for g in GRID_LINES)
    points = " ".join(f"{x*s:.1f},{y*s:.1f}" for x, y in CURVE)
    sx, sy, sr = SPARK
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{s}" height="{s}" viewBox="0 0 {s} {s}">\n'
        f'<defs><clipPath id="tile"><rect x="{m*s:.1f}" y="{m*s:.1f}" width="{(1-2*m)*s:.1f}" '
        f'height="{(1-2*m)*s:.1f}" rx="{CORNER*s:.1f}"/></clipPath></defs>\n'
        f'<g clip-path="url(#tile)">\n'
        f'<rect width="{s}" height="{s}" fill="{hexc(BLUE)}"/>\n'
        f'<g stroke="{hexc(GRID)}" stroke-width="{2*GRID_HALF_WIDTH*s:.1f}">{grid}</g>\n'
        f'<polyline points="{points}" fill="none" stroke="{hexc(AMBER)}" stroke-width="{2*CURVE_HALF_WIDTH*s:.1f}" '
        f'stroke-linecap="round" stroke-linejoin="round"/>\n'
        f'<circle cx="{sx*s:.1f}" cy="{sy*s:.1f}" r="{sr*s:.1f}" fill="{hexc(RED)}"/>\n'
        f'</g>\n</svg>\n')


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "packaging", "icons")
    os.makedirs(out, exist_ok=True)
    for size in SIZES:
        with open(os.path.join(out, f"tunara-{size}.png"), "wb") as f:
            f.write(png(size, render(size)))
    with open(os.path.join(out, "tunara.svg"), "w") as f:
        f.write(svg())
    return 0


if __name__ == "__main__":
    sys.exit(main())
