"""The contact sheet: every piece of every image, enlarged, with its name."""

import numpy as np
from PIL import Image, ImageDraw

import palette as P
import text

SCALE = 2
PAD = 8
WIDTH = 1280
LABEL = ("gothic", 12)
HEAD = ("gothic", 16)
CHECK = ((214, 222, 232), (234, 238, 244))  # transparent pixels show as a checker


def _enlarged(canvas, scale=SCALE):
    rgb = canvas.to_image().convert("RGB")
    w, h = rgb.size
    yy, xx = np.mgrid[0:h, 0:w]
    odd = ((xx // 4 + yy // 4) % 2).astype(bool)[..., None]
    checker = Image.fromarray(np.where(odd, CHECK[1], CHECK[0]).astype("uint8"), "RGB")
    mask = Image.fromarray(((canvas.px != P.KEY) * 255).astype("uint8"), "L")
    checker.paste(rgb, (0, 0), mask)
    return checker.resize((w * scale, h * scale), Image.NEAREST)


def build_sheet(images, descs, crop):
    """images: {file: canvas}; descs: the image descriptions; crop(canvas, box)."""
    label_font = text.font(*LABEL)
    head_font = text.font(*HEAD)
    blocks = []  # (kind, payload)
    for desc in descs:
        blocks.append(("head", f"{desc.file}  {desc.size[0]} x {desc.size[1]}"))
        cells = []
        for piece in desc.pieces:
            tile = _enlarged(crop(images[desc.file], piece.box))
            x0, y0, x1, y1 = piece.box
            cells.append((tile, piece.name, f"({x0}, {y0}, {x1}, {y1})"))
        blocks.append(("cells", cells))
    # Lay out once to know the height, then draw.
    layout = []
    y = PAD
    for kind, payload in blocks:
        if kind == "head":
            layout.append((kind, payload, PAD, y))
            y += 26
            continue
        x, row_h = PAD, 0
        for tile, name, where in payload:
            label_w = max(label_font.getlength(name), label_font.getlength(where))
            cell_w = max(tile.width, int(label_w)) + PAD
            cell_h = tile.height + 32
            if x + cell_w > WIDTH and x > PAD:
                x, y = PAD, y + row_h + PAD
                row_h = 0
            layout.append(("cell", (tile, name, where), x, y))
            x += cell_w + PAD
            row_h = max(row_h, cell_h)
        y += row_h + PAD * 2
    sheet = Image.new("RGB", (WIDTH, y), (255, 255, 255))
    draw = ImageDraw.Draw(sheet)
    for kind, payload, x, y in layout:
        if kind == "head":
            draw.text((x, y), payload, font=head_font, fill=(43, 36, 132))
            draw.line((x, y + 21, WIDTH - PAD, y + 21), fill=(162, 159, 219))
        else:
            tile, name, where = payload
            sheet.paste(tile, (x, y))
            draw.text((x, y + tile.height + 2), name, font=label_font, fill=(0, 0, 0))
            draw.text((x, y + tile.height + 16), where, font=label_font, fill=(110, 110, 110))
    return sheet
