#!/usr/bin/env python3
"""Draws the flag pictures of the shipped languages: 48 x 48 pixel, 24-bit BMP.

Each flag is a 42 x 28 rectangle with a dark outline on the window colour
(RGB 248, 247, 237). The options dialog shows a flag transparent by leaving out
the colour of its bottom-left pixel, so that margin disappears on screen.

Usage: scripts/make_flags.py [output folder]   (default: languages/)
"""
import math
import os
import struct
import sys

SIZE = 48
BACKGROUND = (248, 247, 237)
OUTLINE = (70, 70, 70)
LEFT, TOP, WIDTH, HEIGHT = 3, 10, 42, 28
SAMPLES = 4  # per axis, for smooth diagonal and round edges


def stripes(colours, vertical, weights=None):
    weights = weights or [1] * len(colours)
    total = float(sum(weights))

    def paint(u, v):
        t = u if vertical else v
        edge = 0.0
        for colour, w in zip(colours, weights):
            edge += w / total
            if t < edge:
                return colour
        return colours[-1]
    return paint


def union_flag(u, v):
    # Proportions of a 60 x 30 flag, stretched over the rectangle.
    x, y = u * 60.0, v * 30.0
    blue, white, red = (1, 33, 105), (255, 255, 255), (200, 16, 46)
    if abs(x - 30) < 3 or abs(y - 15) < 3:
        return red
    if abs(x - 30) < 5 or abs(y - 15) < 5:
        return white
    norm = math.hypot(30, 60)
    d = (30 * x - 60 * y) / norm          # the diagonal from the top of the hoist
    s = (30 * x + 60 * y - 1800) / norm   # the diagonal from the bottom of the hoist
    left, top = x < 30, y < 15
    diag = d if left == top else s
    if abs(diag) < 3:
        # The red band lies on one side of the white one, turning clockwise.
        red_side = {(True, True): diag < 0, (False, True): diag < 0,
                    (False, False): diag > 0, (True, False): diag > 0}[(left, top)]
        return red if red_side and abs(diag) < 2 else white
    return blue


def default_flag(u, v):
    # A plain light flag with a globe: the picture for a language without its own flag.
    x, y = u * WIDTH, v * HEIGHT
    cx, cy, r = WIDTH / 2.0, HEIGHT / 2.0, 10.5
    dist = math.hypot(x - cx, y - cy)
    line = (120, 130, 145)
    if abs(dist - r) < 0.9:
        return line
    if dist < r:
        if abs(y - cy) < 0.6 or abs(x - cx) < 0.6:
            return line
        if abs(math.hypot((x - cx) * 2.0, y - cy) - r) < 0.9:
            return line
        return (205, 222, 240)
    return (236, 236, 232)


FLAGS = {
    "Italian": stripes([(0, 146, 70), (255, 255, 255), (206, 43, 55)], vertical=True),
    "French": stripes([(0, 85, 164), (255, 255, 255), (239, 65, 53)], vertical=True),
    "German": stripes([(0, 0, 0), (221, 0, 0), (255, 206, 0)], vertical=False),
    "Spanish": stripes([(170, 21, 27), (241, 191, 0), (170, 21, 27)], vertical=False, weights=[1, 2, 1]),
    "English": union_flag,
    "DefaultFlag": default_flag,
}


def render(paint):
    pixels = [[BACKGROUND] * SIZE for _ in range(SIZE)]
    for py in range(TOP, TOP + HEIGHT):
        for px in range(LEFT, LEFT + WIDTH):
            if px in (LEFT, LEFT + WIDTH - 1) or py in (TOP, TOP + HEIGHT - 1):
                pixels[py][px] = OUTLINE
                continue
            acc = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    u = (px - LEFT + (sx + 0.5) / SAMPLES) / WIDTH
                    v = (py - TOP + (sy + 0.5) / SAMPLES) / HEIGHT
                    c = paint(u, v)
                    for i in range(3):
                        acc[i] += c[i]
            pixels[py][px] = tuple(int(round(a / float(SAMPLES * SAMPLES))) for a in acc)
    return pixels


def bmp_bytes(pixels):
    row_size = (SIZE * 3 + 3) // 4 * 4
    image = bytearray()
    for row in reversed(pixels):  # BMP rows run from the bottom up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        image += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    return header + info + bytes(image)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "languages")
    os.makedirs(out, exist_ok=True)
    for name, paint in FLAGS.items():
        with open(os.path.join(out, name + ".bmp"), "wb") as f:
            f.write(bmp_bytes(render(paint)))


if __name__ == "__main__":
    main()
