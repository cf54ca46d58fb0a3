#!/usr/bin/env python3
"""Draws the panel's two tray icons and writes them as .ico files (32-bit images with alpha,
several sizes each): the handset in grey, and the same handset with its display lit red.

    scripts/make_icons.py [OUTPUT_DIR]        default panel/win32/res

The shapes are given on a 32 x 32 grid and rendered at every size with 4 x 4 samples per
pixel, so small sizes stay smooth. Only the standard library is used.
"""
import math
import os
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 128)
SAMPLES = 4

# (r, g, b) colours of the two pictures.
PRESENT = {
    "rim": (196, 204, 214), "body_top": (58, 67, 80), "body_bottom": (33, 39, 48),
    "slot": (20, 24, 30), "display_top": (255, 108, 92), "display_bottom": (214, 36, 30),
    "display_rim": (120, 20, 18), "key": (200, 207, 216),
}
ABSENT = {
    "rim": (222, 226, 231), "body_top": (150, 157, 166), "body_bottom": (120, 127, 136),
    "slot": (92, 98, 106), "display_top": (196, 201, 208), "display_bottom": (172, 178, 186),
    "display_rim": (104, 110, 118), "key": (214, 218, 223),
}


def round_rect(x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hw, hh = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def distance(x, y):
        dx, dy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0) - r
    return distance


def vertical(top, bottom, y0, y1):
    """A colour that runs from `top` at y0 to `bottom` at y1."""
    def color(_x, y):
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return color


def solid(rgb):
    return lambda _x, _y: rgb


def layers(palette):
    """The handset, back to front: (distance function, colour function)."""
    out = [
        (round_rect(8.2, 1.2, 23.8, 30.8, 4.2), solid(palette["rim"])),
        (round_rect(9.0, 2.0, 23.0, 30.0, 3.5), vertical(palette["body_top"], palette["body_bottom"], 2, 30)),
        (round_rect(13.0, 3.9, 19.0, 5.3, 0.7), solid(palette["slot"])),
        (round_rect(10.6, 6.8, 21.4, 15.6, 1.6), solid(palette["display_rim"])),
        (round_rect(11.3, 7.5, 20.7, 14.9, 1.1),
         vertical(palette["display_top"], palette["display_bottom"], 7.5, 14.9)),
    ]
    for row in range(4):
        for col in range(3):
            x = 11.4 + col * 3.4
            y = 17.6 + row * 2.9
            out.append((round_rect(x, y, x + 2.4, y + 1.8, 0.6), solid(palette["key"])))
    return out


def render(palette, size):
    """RGBA rows, top first."""
    scale = 32.0 / size
    shapes = layers(palette)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    cr = cg = cb = ca = 0.0
                    for distance, color in shapes:
                        if distance(x, y) <= 0:
                            cr, cg, cb = color(x, y)
                            ca = 1.0
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            n = SAMPLES * SAMPLES
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / a), round(g / a), round(b / a), round(255 * a / n)))
        rows.append(row)
    return rows


def dib(rows):
    """The icon image as Windows stores it: header, BGRA rows from the bottom, AND mask."""
    size = len(rows)
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = 0
        for px, (r, g, b, a) in enumerate(row):
            pixels += bytes((b, g, r, a))
            if a == 0:
                bits |= 1 << (mask_stride * 8 - 1 - px)
        mask += bits.to_bytes(mask_stride, "big")
    return header + bytes(pixels) + bytes(mask)


def png(rows):
    """The icon image as a PNG, which Windows Vista and later read in an icon file: the large
    size compressed. Windows XP never picks a size above 48 for its own use."""
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    size = len(rows)
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


# Sizes from this one up are stored as PNG.
PNG_FROM = 128


def ico(palette):
    images = [(png if size >= PNG_FROM else dib)(render(palette, size)) for size in SIZES]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(SIZES, images):
        dimension = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dimension, dimension, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "panel", "win32", "res")
    os.makedirs(target, exist_ok=True)
    for name, palette in (("handset_present.ico", PRESENT), ("handset_absent.ico", ABSENT)):
        with open(os.path.join(target, name), "wb") as f:
            f.write(ico(palette))


if __name__ == "__main__":
    main()
