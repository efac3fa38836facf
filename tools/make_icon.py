#!/usr/bin/env python3
"""Write the application icon (a camera-frame motif) as a Windows .ico file.

Usage: make_icon.py [OUTPUT]   (default: resources/oxview.ico in the repo root)

The icon holds 48, 32 and 16 pixel images, each at 4, 8 and 32 bits per
pixel, stored as classic DIBs (XOR bitmap followed by a 1-bpp AND mask).
"""

import struct
import sys
from pathlib import Path

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
GRID = 16     # the picture is laid out on a 16x16 grid so edges stay pixel-aligned
SAMPLES = 4   # supersampling per axis for anti-aliased 32bpp edges

TRANSPARENT = (0, 0, 0)
BODY = (46, 50, 58)
BODY_TOP = (78, 84, 96)
RING = (196, 202, 210)
GLASS = (28, 78, 150)
GLASS_DEEP = (14, 36, 80)
SHINE = (255, 255, 255)
ACCENT = (255, 150, 0)

# Index 0 is black so transparent pixels (AND bit set) leave the screen unchanged.
PALETTE = [TRANSPARENT, BODY, BODY_TOP, RING, GLASS, GLASS_DEEP, SHINE, ACCENT]


def in_rounded_rect(x, y, x0, y0, x1, y1, r):
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return x0 <= x < x1 and y0 <= y < y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def in_brackets(x, y):
    """Viewfinder corner brackets: L shapes, 1 unit thick, 4 units long."""
    dx = min(x, GRID - x)
    dy = min(y, GRID - y)
    return (dx < 1 and dy < 4) or (dy < 1 and dx < 4)


def shade(x, y):
    """Colour at grid point (x, y), or None where the background shows."""
    if in_circle(x, y, 7.2, 8.2, 0.8):
        return SHINE
    if in_circle(x, y, 8, 9, 1.6):
        return GLASS_DEEP
    if in_circle(x, y, 8, 9, 2.5):
        return GLASS
    if in_circle(x, y, 8, 9, 3.5):
        return RING
    if in_circle(x, y, 12.5, 6.5, 0.7):
        return ACCENT
    if in_rounded_rect(x, y, 2, 5, 14, 13, 1.5):
        return BODY_TOP if y < 6 else BODY
    if in_rounded_rect(x, y, 5, 4, 11, 6, 0.75):
        return BODY_TOP
    if in_brackets(x, y):
        return ACCENT
    return None


def pixel(x, y, size):
    """Straight-alpha RGBA of pixel (x, y) (top-down) in an image of `size`."""
    scale = GRID / size
    hits = []
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            gx = (x + (sx + 0.5) / SAMPLES) * scale
            gy = (y + (sy + 0.5) / SAMPLES) * scale
            colour = shade(gx, gy)
            if colour is not None:
                hits.append(colour)
    if not hits:
        return (0, 0, 0, 0)
    rgb = tuple(round(sum(c[i] for c in hits) / len(hits)) for i in range(3))
    return rgb + (round(255 * len(hits) / SAMPLES ** 2),)


def is_opaque(rgba):
    return rgba[3] >= 128


def nearest_index(rgba):
    if not is_opaque(rgba):
        return 0
    return min(range(1, len(PALETTE)), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgba, PALETTE[i])))


def pad4(row):
    return row + b"\0" * (-len(row) % 4)


def pack_bits(values, bits):
    """Pack small integers MSB-first into bytes, as DIB rows expect."""
    per_byte = 8 // bits
    out = bytearray()
    for i in range(0, len(values), per_byte):
        byte = 0
        for j, v in enumerate(values[i:i + per_byte]):
            byte |= v << (8 - bits * (j + 1))
        out.append(byte)
    return bytes(out)


def xor_row(row, bpp):
    if bpp == 32:
        return b"".join(bytes((b, g, r, a)) for r, g, b, a in row)
    return pack_bits([nearest_index(p) for p in row], bpp)


def palette_bytes(bpp):
    if bpp == 32:
        return b""
    entries = PALETTE + [(0, 0, 0)] * ((1 << bpp) - len(PALETTE))
    return b"".join(bytes((b, g, r, 0)) for r, g, b in entries)


def dib(size, bpp):
    """BITMAPINFOHEADER + palette + XOR rows + AND rows, both bottom-up."""
    rows = [[pixel(x, y, size) for x in range(size)] for y in range(size - 1, -1, -1)]
    xor = b"".join(pad4(xor_row(row, bpp)) for row in rows)
    mask = b"".join(pad4(pack_bits([0 if is_opaque(p) else 1 for p in row], 1))
                    for row in rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bpp, 0,
                         len(xor) + len(mask), 0, 0, 0, 0)
    return header + palette_bytes(bpp) + xor + mask


def build_icon():
    images = [(size, bpp, dib(size, bpp)) for size in SIZES for bpp in DEPTHS]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        colours = 16 if bpp == 4 else 0
        out += struct.pack("<BBBBHHII", size, size, colours, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, _, data in images)


def main():
    default = Path(__file__).resolve().parent.parent / "resources" / "oxview.ico"
    target = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(build_icon())


if __name__ == "__main__":
    main()
