"""Reading and writing uncompressed 8-bit BMP files.

The game loads its pictures through the platform's bitmap loader, so the files
are the plainest kind it reads: BITMAPINFOHEADER (40 bytes), a 256-entry colour
table, rows stored bottom-up and padded to four bytes.
"""

import struct

FILE_HEADER_SIZE = 14
INFO_HEADER_SIZE = 40


def _row_stride(width):
    return (width + 3) & ~3


def encode(pixels, width, height, palette_rgb):
    """BMP bytes for width x height palette indices given row by row, top first."""
    if len(pixels) != width * height:
        raise ValueError("pixel count does not match the size")
    if len(palette_rgb) != 256:
        raise ValueError("the colour table needs 256 entries")
    stride = _row_stride(width)
    table = bytearray()
    for r, g, b in palette_rgb:
        table += bytes((b, g, r, 0))
    data = bytearray()
    pad = bytes(stride - width)
    for y in range(height - 1, -1, -1):
        data += bytes(pixels[y * width:(y + 1) * width]) + pad
    offset = FILE_HEADER_SIZE + INFO_HEADER_SIZE + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", INFO_HEADER_SIZE, width, height, 1, 8, 0,
                              len(data), 0, 0, 256, 0)
    return file_header + info_header + bytes(table) + bytes(data)


def decode(blob):
    """(width, height, pixels top row first, colour table as (r, g, b)) of an
    8-bit uncompressed BMP; raises ValueError for anything else."""
    if len(blob) < FILE_HEADER_SIZE + INFO_HEADER_SIZE or blob[:2] != b"BM":
        raise ValueError("not a BMP file")
    file_size, _, _, offset = struct.unpack_from("<IHHI", blob, 2)
    if file_size != len(blob):
        raise ValueError("file size field does not match")
    (size, width, height, planes, bits, compression, image_size, _, _, used,
     _) = struct.unpack_from("<IiiHHIIiiII", blob, FILE_HEADER_SIZE)
    if size != INFO_HEADER_SIZE or planes != 1 or bits != 8 or compression != 0:
        raise ValueError("not an uncompressed 8-bit BMP with a 40-byte header")
    if width <= 0 or height <= 0:
        raise ValueError("only bottom-up bitmaps of positive size")
    count = used or 256
    table_at = FILE_HEADER_SIZE + INFO_HEADER_SIZE
    if table_at + 4 * count > offset:
        raise ValueError("colour table runs into the pixels")
    table = [tuple(blob[table_at + 4 * i + k] for k in (2, 1, 0)) for i in range(count)]
    stride = _row_stride(width)
    if offset + stride * height > len(blob) or image_size not in (0, stride * height):
        raise ValueError("pixel data is short")
    pixels = bytearray()
    for y in range(height - 1, -1, -1):
        start = offset + y * stride
        pixels += blob[start:start + width]
    return width, height, bytes(pixels), table
