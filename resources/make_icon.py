#!/usr/bin/env python3
"""Draws Kelvaro's icon and writes it as kelvaro.ico next to this script.

One image, 32 x 32 pixels at 16 bits per pixel (5-5-5), with an all-clear AND
mask so every pixel is opaque: a green "K" on a white square. The strokes are
drawn by 4 x 4 supersampling so their edges blend into the white.

    python3 resources/make_icon.py
"""
import math
import os
import struct

SIZE = 32
SAMPLES = 4
WHITE = (255, 255, 255)
GREEN = (20, 140, 60)

# The letter as thick line segments, in pixel units: (x0, y0, x1, y1, width).
STROKES = [
    (10.0, 5.0, 10.0, 27.0, 5.0),   # stem
    (11.5, 17.0, 23.0, 5.0, 4.6),   # upper arm
    (14.0, 14.5, 24.0, 27.0, 4.6),  # leg
]


def distance_to_segment(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def coverage(x, y):
    """Share of the pixel (x, y) that the letter covers, 0..1."""
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            px = x + (sx + 0.5) / SAMPLES
            py = y + (sy + 0.5) / SAMPLES
            if any(distance_to_segment(px, py, x0, y0, x1, y1) <= w / 2
                   for x0, y0, x1, y1, w in STROKES):
                hits += 1
    return hits / (SAMPLES * SAMPLES)


def pixel(x, y):
    c = coverage(x, y)
    return tuple(round(w + (g - w) * c) for w, g in zip(WHITE, GREEN))


def rgb555(rgb):
    r, g, b = (v >> 3 for v in rgb)
    return (r << 10) | (g << 5) | b


def icon_bytes():
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up, as in every DIB
        rows.append(b"".join(struct.pack("<H", rgb555(pixel(x, y))) for x in range(SIZE)))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * 4)  # 32 bits a row, already a multiple of 4 bytes
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 16, 0,
                         len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 16, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "kelvaro.ico")
    with open(out, "wb") as f:
        f.write(icon_bytes())
    print(out)
