#!/usr/bin/env python3
"""Draws the splash logo and writes it as a GIF, with no library beyond Python.

Run once; the result, resources/Halvern_Sensors_Logo.gif, is committed.
The encoder sends a clear code often enough that the code width never grows,
which every GIF reader accepts, at some cost in size (the picture is tiny).
"""
import math
import os
import struct
import sys

W, H = 99, 60
PALETTE = [
    (255, 255, 255),  # 0 background
    (16, 40, 96),     # 1 dark blue
    (200, 30, 30),    # 2 red
    (150, 160, 175),  # 3 grey
    (240, 170, 20),   # 4 amber
    (60, 110, 190),   # 5 light blue
    (0, 0, 0), (0, 0, 0),
]

# 5x7 capitals for the maker's name.
FONT = {
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def draw():
    px = [[0] * W for _ in range(H)]

    def put(x, y, c):
        if 0 <= x < W and 0 <= y < H:
            px[y][x] = c

    # A dial: ring, ticks and a needle at high advance.
    cx, cy, r = 22, 22, 18
    for a in range(0, 3600):
        t = math.radians(a / 10)
        for rr in (r, r - 1):
            put(round(cx + rr * math.cos(t)), round(cy + rr * math.sin(t)), 1)
    for k in range(9):
        t = math.radians(135 + k * 33.75)
        for rr in range(r - 5, r - 2):
            put(round(cx + rr * math.cos(t)), round(cy + rr * math.sin(t)), 3)
    t = math.radians(135 + 6.2 * 33.75)
    for s in range(0, 140):
        rr = s / 10
        put(round(cx + rr * math.cos(t)), round(cy + rr * math.sin(t)), 2)
    for dx in range(-2, 3):
        for dy in range(-2, 3):
            if dx * dx + dy * dy <= 4:
                put(cx + dx, cy + dy, 1)
    # A spark: a zig-zag bolt to the right of the dial.
    bolt = [(48, 4), (60, 18), (54, 20), (68, 38), (52, 24), (58, 22)]
    for (x0, y0), (x1, y1) in zip(bolt, bolt[1:]):
        n = max(abs(x1 - x0), abs(y1 - y0))
        for i in range(n + 1):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            put(x, y, 4)
            put(x + 1, y, 4)
    # A timing curve rising to the right.
    for x in range(70, 97):
        y = round(38 - 26 * (1 - math.exp(-(x - 70) / 8)))
        put(x, y, 5)
        put(x, y + 1, 5)
    # The name underneath.
    text = "HALVERN"
    x = (W - (len(text) * 6 - 1) * 2) // 2
    for ch in text:
        for row, bits in enumerate(FONT[ch]):
            for col, b in enumerate(bits):
                if b == "1":
                    for sx in range(2):
                        put(x + col * 2 + sx, 44 + row * 2, 1)
                        put(x + col * 2 + sx, 45 + row * 2, 1)
        x += 12
    return px


def lzw(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    width = min_code_size + 1
    codes = []
    since_clear = 0
    codes.append(clear)
    for i in indices:
        # Restart the table before the reader would widen its codes.
        if since_clear == (1 << width) - clear - 4:
            codes.append(clear)
            since_clear = 0
        codes.append(i)
        since_clear += 1
    codes.append(end)
    out = bytearray()
    acc = nbits = 0
    for c in codes:
        acc |= c << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def gif(px):
    min_code_size = 3  # 8 palette entries
    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", W, H, 0x80 | 0x70 | 0x02, 0, 0)
    for rgb in PALETTE:
        data += bytes(rgb)
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, W, H, 0)
    data.append(min_code_size)
    stream = lzw([c for row in px for c in row], min_code_size)
    for k in range(0, len(stream), 255):
        chunk = stream[k:k + 255]
        data.append(len(chunk))
        data += chunk
    data.append(0)
    data.append(0x3B)
    return bytes(data)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "Halvern_Sensors_Logo.gif")
    with open(target, "wb") as f:
        f.write(gif(draw()))
    print("wrote", os.path.normpath(target))
