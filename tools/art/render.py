"""Turns the description into pictures: each image as a canvas of palette indices."""

import canvas as cv
import pieces


def render_piece(piece):
    w, h = piece.size
    c = cv.Canvas(w, h)
    piece.paint(c, **piece.args)
    return c


def render_image(desc):
    """The whole image: every piece painted in its own canvas, then set in place."""
    image = cv.Canvas(*desc.size)
    for piece in desc.pieces:
        x0, y0, _, _ = piece.box
        image.paste(render_piece(piece), (x0, y0), keyed=False)
    return image


def render_all():
    """{file name: canvas} for every image."""
    return {desc.file: render_image(desc) for desc in pieces.IMAGES}
