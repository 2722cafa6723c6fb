#!/usr/bin/env python3
"""Draws the File Selection dialog's two shortcut pictures as icons, at 32 x 32 and 48 x 48.

The desktop picture is a monitor whose screen shows sky and hills; the documents picture is a
yellow folder with a white page in it. Both redraw the tree's 16 x 16 desktop and documents
images with the palette of draw-tree-images.py, so that the shortcuts and the tree read alike.
The pictures are laid out on a 32-pixel grid; the 48-pixel one is drawn anew from the same layout
(not stretched), so that outlines stay one pixel wide at 144 dots per inch. Each icon holds the
two 32-bit images (alpha channel and AND mask).
Run it again after changing a picture:
    scripts/draw-pictures.py src/app
"""
import importlib.util
import math
import os
import struct
import sys

_spec = importlib.util.spec_from_file_location(
    "tree_images", os.path.join(os.path.dirname(os.path.abspath(__file__)), "draw-tree-images.py"))
tree = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(tree)

GRID = 32
CLEAR = tree.CLEAR


class Picture(tree.Picture):
    """A square of `size` pixels drawn in the coordinates of the 32-pixel grid."""

    def __init__(self, size):
        super().__init__(size, GRID)

    def disc(self, cx, cy, radius, colour):
        # Centres and radii in grid pixels; each pixel is tested at its centre.
        for x, y, gx, gy in self.pixels():
            if (gx - cx) ** 2 + (gy - cy) ** 2 <= radius ** 2:
                self.img[y][x] = colour

    def column_from(self, x, top, bottom, colour):
        """Grid column x filled from the height top(x) (in grid rows) down to row bottom."""
        for px in range(self.first(x), self.last(x) + 1):
            tree.rect(self.img, px, round(top(self.centre(px)) * self.scale), px,
                      self.last(bottom), colour)


def desktop(size):
    img = Picture(size)
    # The monitor: a dark bezel round the screen, with a green lamp below it.
    img.rect(1, 2, 30, 22, tree.DARK)
    img.frame(1, 2, 30, 22, tree.BLACK)
    img.rect(3, 4, 28, 19, tree.SKY)
    img.rect(26, 21, 27, 21, tree.GREEN)
    # Sky: a sun and a cloud; then rolling hills up to the screen's lower edge.
    img.disc(22.5, 8.5, 2.6, tree.YELLOW)
    for (cx, cy, r) in ((7.5, 8.5, 1.8), (10, 7.5, 2.2), (12.5, 8.5, 1.8)):
        img.disc(cx, cy, r, tree.WHITE)
    img.rect(6, 9, 14, 10, tree.SKY)  # a flat bottom to the cloud
    img.rect(7, 9, 13, 9, tree.WHITE)
    for x in range(3, 29):
        img.column_from(x, lambda gx: 15 + 1.6 * math.sin((gx - 3) / 4.2), 19, tree.GREEN)
    # The stand: a grey neck on a dark foot.
    img.rect(13, 23, 18, 25, tree.GREY)
    img.rect(8, 26, 23, 28, tree.DARK)
    img.rect(9, 26, 22, 26, tree.GREY)
    return img.img


def documents(size):
    img = Picture(size)
    # The folder's back and tab, the page standing in it, then the front over the page's foot.
    img.rect(2, 5, 12, 6, tree.OCHRE)
    img.rect(3, 4, 11, 4, tree.OCHRE)
    img.rect(2, 7, 29, 27, tree.YELLOW)
    img.frame(2, 7, 29, 27, tree.OCHRE)
    img.rect(9, 2, 25, 20, tree.WHITE)
    img.frame(9, 2, 25, 20, tree.GREY)
    for y in (5, 8, 11, 14):
        img.rect(11, y, 23 if y != 14 else 18, y, tree.BLUE)
    img.rect(2, 15, 29, 27, tree.YELLOW)
    img.frame(2, 15, 29, 27, tree.OCHRE)
    img.rect(3, 16, 28, 16, tree.WHITE)  # the light on the front's edge
    return img.img


def ico_image(img):
    size = len(img)
    xor = bytearray()
    mask = bytearray()
    row_bytes = (size + 31) // 32 * 4  # AND rows are padded to whole 4-byte words
    for y in reversed(range(size)):  # bottom-up rows
        bits = 0
        for x, colour in enumerate(img[y]):
            clear = colour == CLEAR
            r, g, b = (0, 0, 0) if clear else colour
            xor += bytes((b, g, r, 0 if clear else 255))
            bits |= (1 if clear else 0) << (row_bytes * 8 - 1 - x)
        mask += bits.to_bytes(row_bytes, "big")
    # The header counts the XOR and AND bitmaps together, hence twice the height.
    info = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(xor) + len(mask), 0, 0,
                       0, 0)
    return info + xor + mask


def write_ico(path, images):
    data = [ico_image(img) for img in images]
    header = struct.pack("<HHH", 0, 1, len(data))
    offset = 6 + 16 * len(data)
    entries = b""
    for img, image in zip(images, data):
        entries += struct.pack("<BBBBHHII", len(img), len(img), 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as out:
        out.write(header + entries + b"".join(data))


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_ico(os.path.join(folder, "Desktop.ico"), [desktop(32), desktop(48)])
    write_ico(os.path.join(folder, "Documents.ico"), [documents(32), documents(48)])
