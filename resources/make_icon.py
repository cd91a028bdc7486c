#!/usr/bin/env python3
# Redraws nokia-browser.png (32 x 32 RGBA) with the standard library only: python3 make_icon.py [out.png [scale]]
import math
import struct
import sys
import zlib

SIZE = 32
SAMPLES = 4  # subsamples per pixel edge, for smooth edges without a drawing library

GOLD = (222, 172, 38)
GOLD_DARK = (140, 96, 12)
GOLD_LIGHT = (255, 226, 120)
PHONE = (18, 36, 104)
PHONE_EDGE = (6, 14, 48)
PHONE_KEYS = (92, 118, 190)
SCREEN = (96, 204, 64)
SCREEN_DARK = (36, 110, 30)
SILVER = (196, 198, 206)
SILVER_DARK = (112, 114, 126)
SILVER_LIGHT = (246, 246, 250)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def rounded_box(px, py, left, top, right, bottom, radius):
    cx = min(max(px, left + radius), right - radius)
    cy = min(max(py, top + radius), bottom - radius)
    return math.hypot(px - cx, py - cy) <= radius


# The spanner lies diagonally behind the phone: open jaw at the top right,
# ring end at the bottom left.
HEAD = (25.0, 7.0)
TAIL = (6.5, 25.5)
AXIS = (HEAD[0] - TAIL[0], HEAD[1] - TAIL[1])
AXIS_LEN = math.hypot(*AXIS)
UNIT = (AXIS[0] / AXIS_LEN, AXIS[1] / AXIS_LEN)


def spanner(px, py, grow):
    along = (px - HEAD[0]) * UNIT[0] + (py - HEAD[1]) * UNIT[1]
    across = -(px - HEAD[0]) * UNIT[1] + (py - HEAD[1]) * UNIT[0]
    head = math.hypot(px - HEAD[0], py - HEAD[1]) <= 5.6 + grow
    jaw = along > -1.0 and abs(across) < 2.3 - grow
    tail_d = math.hypot(px - TAIL[0], py - TAIL[1])
    tail = 1.6 - grow < tail_d <= 4.2 + grow
    shaft = segment_distance(px, py, *HEAD, *TAIL) <= 2.0 + grow and tail_d > 1.6 - grow
    return (head and not jaw) or tail or shaft


def disc(px, py, grow):
    d = math.hypot(px - 23.0, py - 23.0)
    return 1.8 - grow < d <= 8.3 + grow


def pixel_colour(px, py):
    """Colour of one subsample, painted back to front; None is transparent."""
    colour = None
    if spanner(px, py, 0.7):
        colour = GOLD_DARK
    if spanner(px, py, 0.0):
        # A light ridge along the shaft gives the metal its shine.
        ridge = -(px - HEAD[0]) * UNIT[1] + (py - HEAD[1]) * UNIT[0]
        colour = GOLD_LIGHT if -0.9 < ridge < -0.1 else GOLD
    if disc(px, py, 0.7):
        colour = SILVER_DARK
    if disc(px, py, 0.0):
        d = math.hypot(px - 23.0, py - 23.0)
        angle = math.atan2(py - 23.0, px - 23.0)
        shine = 0.5 + 0.5 * math.cos(2.0 * (angle + math.pi / 4))
        base = SILVER_LIGHT if 4.2 < d < 5.0 else SILVER
        colour = tuple(int(c * (0.82 + 0.18 * shine)) for c in base)
    if rounded_box(px, py, 7.0, 1.5, 18.5, 30.5, 2.6):
        colour = PHONE_EDGE
    if rounded_box(px, py, 7.8, 2.3, 17.7, 29.7, 2.0):
        colour = PHONE
        if 9.5 <= px <= 16.0 and 4.5 <= py <= 13.5:
            colour = SCREEN_DARK if (px < 10.3 or py < 5.3) else SCREEN
        elif 9.5 <= px <= 16.0 and 16.0 <= py <= 28.0:
            col = (px - 9.5) / 2.2
            row = (py - 16.0) / 3.0
            if col - int(col) < 0.62 and row - int(row) < 0.55:
                colour = PHONE_KEYS
    return colour


def render():
    pixels = []
    step = 1.0 / SAMPLES
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            total = [0, 0, 0]
            covered = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    c = pixel_colour(x + (sx + 0.5) * step, y + (sy + 0.5) * step)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            total[i] += c[i]
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                alpha = round(255 * covered / (SAMPLES * SAMPLES))
                row.append(tuple(round(t / covered) for t in total) + (alpha,))
        pixels.append(row)
    return pixels


def write_png(path, pixels, scale=1):
    height = len(pixels) * scale
    width = len(pixels[0]) * scale
    raw = bytearray()
    for row in pixels:
        line = bytearray([0])
        for p in row:
            line += bytes(p) * scale
        raw += bytes(line) * scale

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        out.write(chunk(b"IEND", b""))


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else "nokia-browser.png"
    write_png(target, render(), int(sys.argv[2]) if len(sys.argv) > 2 else 1)
