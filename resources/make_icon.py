#!/usr/bin/env python3
"""Writes vimra.ico: one 32x32 image, 16 colours (4 bits per pixel).

The picture is a small cloud of shaded rainbow discs, like the saver's own.
Run from this folder: python3 make_icon.py (the .ico is committed; the build
does not need Python).
"""
import math
import struct

SIZE = 32

# The standard 16-colour palette, (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, WHITE = 0, 15
# (bright, shaded) palette indices, red round to magenta.
RAINBOW = [(9, 1), (11, 3), (10, 2), (14, 6), (12, 4), (13, 5)]

# Discs back to front: centre x, centre y, radius, colour.
DISCS = [
    (10.5, 9.5, 5.5, RAINBOW[0]),
    (20.5, 8.5, 5.5, RAINBOW[1]),
    (25.0, 17.0, 5.5, RAINBOW[2]),
    (19.5, 24.5, 5.5, RAINBOW[3]),
    (9.5, 23.5, 5.5, RAINBOW[4]),
    (6.0, 15.5, 5.0, RAINBOW[5]),
    (16.0, 16.0, 6.0, RAINBOW[0]),
]


def render():
    pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent
    for cx, cy, r, (bright, shaded) in DISCS:
        for y in range(SIZE):
            for x in range(SIZE):
                px, py = x + 0.5, y + 0.5
                d = math.hypot(px - cx, py - cy)
                if d > r + 1.0:
                    continue
                if d > r:
                    pixels[y][x] = BLACK  # outline keeps the discs apart
                elif math.hypot(px - (cx - 2), py - (cy - 2)) < 1.6:
                    pixels[y][x] = WHITE
                elif math.hypot(px - (cx - 1.5), py - (cy - 1.5)) > r:
                    pixels[y][x] = shaded
                else:
                    pixels[y][x] = bright
    return pixels


def icon_bytes(pixels):
    xor_rows = []
    and_rows = []
    for y in reversed(range(SIZE)):  # DIB rows run bottom-up
        row = pixels[y]
        xor = bytearray()
        for x in range(0, SIZE, 2):
            hi = row[x] if row[x] is not None else BLACK
            lo = row[x + 1] if row[x + 1] is not None else BLACK
            xor.append((hi << 4) | lo)
        mask = 0
        for x in range(SIZE):
            if row[x] is None:
                mask |= 1 << (SIZE - 1 - x)
        xor_rows.append(bytes(xor))
        and_rows.append(struct.pack(">I", mask))
    xor_bits = b"".join(xor_rows)
    and_bits = b"".join(and_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 0, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    image = header + palette + xor_bits + and_bits
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open("vimra.ico", "wb") as out:
        out.write(icon_bytes(render()))
