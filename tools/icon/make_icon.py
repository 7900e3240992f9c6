#!/usr/bin/python3
"""Writes the program's icon, resources/myicon.ico: a cream key cap with a red "P" and the
small circle that makes "pa", drawn as pixel art at 32 x 32 and 16 x 16, 32 bits a pixel.

The same drawing, at any multiple of 16 pixels, is the desktop's icon for the installed game.

Usage: make_icon.py OUTPUT.ico
       make_icon.py --png SIZE OUTPUT.png
"""
import struct
import sys
import zlib

INK = (0x2B, 0x24, 0x84, 255)      # deep indigo outline
CAP = (0xFF, 0xFF, 0xC4, 255)      # cream key top
SIDE = (0xCD, 0xB6, 0x70, 255)     # sand key side
LETTER = (0xE8, 0x6A, 0x46, 255)   # vermilion
CLEAR = (0, 0, 0, 0)

# "P" with a handakuten, on a 7 x 9 grid.
GLYPH = [
    "######.",
    "##..##.",
    "##..##.",
    "######.",
    "##.....",
    "##..###",
    "##..#.#",
    "##..###",
    ".......",
]


def draw(size):
    """RGBA rows, top first, for one icon size."""
    px = [[CLEAR] * size for _ in range(size)]
    unit = size // 16
    inset = unit
    top, bottom = inset, size - inset
    left, right = inset, size - inset
    side_height = 2 * unit
    for y in range(top, bottom):
        for x in range(left, right):
            edge = x in (left, right - 1) or y in (top, bottom - 1)
            # Round the corners off by one pixel.
            corner = (x in (left, right - 1)) and (y in (top, bottom - 1))
            if corner:
                continue
            if edge:
                px[y][x] = INK
            elif y >= bottom - 1 - side_height:
                px[y][x] = SIDE
            else:
                px[y][x] = CAP
    scale = max(1, unit * 2 // 2)
    glyph_w, glyph_h = len(GLYPH[0]) * scale, len(GLYPH) * scale
    gx = left + (right - left - glyph_w) // 2
    gy = top + (bottom - side_height - top - glyph_h) // 2 + unit
    for row, line in enumerate(GLYPH):
        for col, ch in enumerate(line):
            if ch != "#":
                continue
            for dy in range(scale):
                for dx in range(scale):
                    px[gy + row * scale + dy][gx + col * scale + dx] = LETTER
    return px


def bmp_entry(size):
    rows = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for y in range(size - 1, -1, -1):
        for r, g, b, a in rows[y]:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(mask_stride)
        for x in range(size):
            if rows[y][x][3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def png_file(size):
    """The icon of one size as an RGBA PNG file."""
    raw = bytearray()
    for row in draw(size):
        raw.append(0)
        for pixel in row:
            raw += bytes(pixel)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "--png":
        size = int(sys.argv[2])
        if size % 16:
            sys.exit("the icon's size must be a multiple of 16")
        with open(sys.argv[3], "wb") as f:
            f.write(png_file(size))
        return
    sizes = [32, 16]
    entries = [bmp_entry(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for size, data in zip(sizes, entries):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in entries:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
