#!/usr/bin/env python3
"""Renders nokia-browser.svg into the icon files kept next to it.

    python3 render_icons.py

Writes icons/hicolor/<N>x<N>/apps/nokia-browser.png for the icon-theme sizes
and nokia-browser.ico, the Windows icon: one 32 x 32 image with a 256-colour
palette and a 1-bit transparency mask, the format every Windows version shows.
The outputs are kept in the tree so that building needs no SVG renderer; run
this again only after changing the SVG.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
SVG = os.path.join(HERE, "nokia-browser.svg")
ICO = os.path.join(HERE, "nokia-browser.ico")
SIZES = (32, 48, 64, 128, 256)
ICO_SIZE = 32
# A pixel at least half covered is drawn opaque; the mask has no partial values.
ALPHA_THRESHOLD = 128


def png_path(size):
    return os.path.join(HERE, "icons", "hicolor", f"{size}x{size}", "apps", "nokia-browser.png")


def render(size, out):
    os.makedirs(os.path.dirname(out), exist_ok=True)
    subprocess.run(["rsvg-convert", "--width", str(size), "--height", str(size),
                    "--format", "png", "--output", out, SVG], check=True)


def read_png_rgba(path):
    """Decodes the 8-bit RGBA, non-interlaced PNG that rsvg-convert writes."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
    width, height, depth, colour, _, _, interlace = header
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError(f"{path}: expected 8-bit RGBA without interlacing")
    raw = zlib.decompress(idat)
    stride, bpp = width * 4, 4
    rows, prev, at = [], bytearray(stride), 0
    for _ in range(height):
        kind = raw[at]
        line = bytearray(raw[at + 1:at + 1 + stride])
        at += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                predictor = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + predictor) & 0xFF
        rows.append([tuple(line[x * 4:x * 4 + 4]) for x in range(width)])
        prev = line
    return width, height, rows


def median_cut(colours, count):
    """Reduces a list of RGB colours to at most `count` representatives."""
    unique = sorted(set(colours))
    if len(unique) <= count:
        return unique
    boxes = [sorted(colours)]
    while len(boxes) < count:
        # Split the box whose widest channel spans most; ties go to the fuller box.
        def spread(box):
            return max(max(c[k] for c in box) - min(c[k] for c in box) for k in range(3))
        splittable = [b for b in boxes if len(set(b)) > 1]
        if not splittable:
            break
        box = max(splittable, key=lambda b: (spread(b), len(b)))
        boxes.remove(box)
        channel = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box.sort(key=lambda c: (c[channel], c))
        middle = len(box) // 2
        # Never split between equal values, so the halves are distinct colours.
        while middle < len(box) - 1 and box[middle][channel] == box[middle - 1][channel]:
            middle += 1
        if middle >= len(box):
            middle = len(box) // 2
        boxes += [box[:middle], box[middle:]]
    palette = []
    for box in boxes:
        palette.append(tuple((sum(c[k] for c in box) + len(box) // 2) // len(box) for k in range(3)))
    return sorted(set(palette))


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def write_ico(rows, out):
    size = len(rows)
    opaque = [[px[3] >= ALPHA_THRESHOLD for px in row] for row in rows]
    colours = [px[:3] for row, keep in zip(rows, opaque) for px, k in zip(row, keep) if k]
    # Entry 0 is reserved for the transparent pixels, which the mask hides.
    palette = [(0, 0, 0)] + median_cut(colours, 255)
    palette += [(0, 0, 0)] * (256 - len(palette))
    lookup = {}
    indices = []
    for row, keep in zip(rows, opaque):
        line = []
        for px, k in zip(row, keep):
            if not k:
                line.append(0)
                continue
            if px[:3] not in lookup:
                lookup[px[:3]] = 1 + nearest(palette[1:], px[:3])
            line.append(lookup[px[:3]])
        indices.append(line)

    # BMP rows run bottom to top, each padded to a multiple of 4 bytes.
    xor_bytes = b"".join(bytes(line) + b"\0" * (-size % 4) for line in reversed(indices))
    mask_stride = ((size + 31) // 32) * 4
    and_bytes = b""
    for keep in reversed(opaque):
        bits = bytearray(mask_stride)
        for x, k in enumerate(keep):
            if not k:
                bits[x // 8] |= 0x80 >> (x % 8)
        and_bytes += bytes(bits)
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    # The height in the header counts the colour image and the mask together.
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                       len(xor_bytes) + len(and_bytes), 0, 0, 256, 0)
    image = info + palette_bytes + xor_bytes + and_bytes
    # Width and height 32, colour count 0 meaning 256, one plane, 8 bits.
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack(
        "<BBBBHHII", size, size, 0, 0, 1, 8, len(image), 6 + 16)
    with open(out, "wb") as f:
        f.write(directory + image)


def main():
    if shutil.which("rsvg-convert") is None:
        sys.exit("render_icons.py needs rsvg-convert; on Debian or Ubuntu install it with:\n"
                 "    sudo apt-get install librsvg2-bin")
    for size in SIZES:
        render(size, png_path(size))
        print(f"wrote {os.path.relpath(png_path(size), HERE)}")
    if ICO_SIZE in SIZES:
        source = png_path(ICO_SIZE)
        width, height, rows = read_png_rgba(source)
    else:
        with tempfile.TemporaryDirectory() as scratch:
            source = os.path.join(scratch, "icon.png")
            render(ICO_SIZE, source)
            width, height, rows = read_png_rgba(source)
    if (width, height) != (ICO_SIZE, ICO_SIZE):
        sys.exit(f"rsvg-convert drew {width} x {height}, not {ICO_SIZE} x {ICO_SIZE}")
    write_ico(rows, ICO)
    print(f"wrote {os.path.relpath(ICO, HERE)}")


if __name__ == "__main__":
    main()
