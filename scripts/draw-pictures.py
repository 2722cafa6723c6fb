#!/usr/bin/env python3
"""Draws the File Selection dialog's two 32 x 32 shortcut pictures as icons.

The desktop picture is a monitor whose screen shows sky and hills; the documents picture is a
yellow folder with a white page in it. Both redraw the tree's 16 x 16 desktop and documents
images at 32 x 32 with the palette and helpers of draw-tree-images.py, so that the shortcuts and
the tree read alike. Each icon holds one 32-bit image (alpha channel and AND mask).
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

SIZE = 32
CLEAR = tree.CLEAR
rect, frame = tree.rect, tree.frame


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def disc(img, cx, cy, radius, colour):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
                img[y][x] = colour


def desktop():
    img = blank()
    # The monitor: a dark bezel round the screen, with a green lamp below it.
    rect(img, 1, 2, 30, 22, tree.DARK)
    frame(img, 1, 2, 30, 22, tree.BLACK)
    rect(img, 3, 4, 28, 19, tree.SKY)
    rect(img, 26, 21, 27, 21, tree.GREEN)
    # Sky: a sun and a cloud; then rolling hills up to the screen's lower edge.
    disc(img, 22.5, 8.5, 2.6, tree.YELLOW)
    for (cx, cy, r) in ((7.5, 8.5, 1.8), (10, 7.5, 2.2), (12.5, 8.5, 1.8)):
        disc(img, cx, cy, r, tree.WHITE)
    rect(img, 6, 9, 14, 10, tree.SKY)  # a flat bottom to the cloud
    rect(img, 7, 9, 13, 9, tree.WHITE)
    for x in range(3, 29):
        top = round(15 + 1.6 * math.sin((x - 3) / 4.2))
        rect(img, x, top, x, 19, tree.GREEN)
    # The stand: a grey neck on a dark foot.
    rect(img, 13, 23, 18, 25, tree.GREY)
    rect(img, 8, 26, 23, 28, tree.DARK)
    rect(img, 9, 26, 22, 26, tree.GREY)
    return img


def documents():
    img = blank()
    # The folder's back and tab, the page standing in it, then the front over the page's foot.
    rect(img, 2, 5, 12, 6, tree.OCHRE)
    rect(img, 3, 4, 11, 4, tree.OCHRE)
    rect(img, 2, 7, 29, 27, tree.YELLOW)
    frame(img, 2, 7, 29, 27, tree.OCHRE)
    rect(img, 9, 2, 25, 20, tree.WHITE)
    frame(img, 9, 2, 25, 20, tree.GREY)
    for y in (5, 8, 11, 14):
        rect(img, 11, y, 23 if y != 14 else 18, y, tree.BLUE)
    rect(img, 2, 15, 29, 27, tree.YELLOW)
    frame(img, 2, 15, 29, 27, tree.OCHRE)
    rect(img, 3, 16, 28, 16, tree.WHITE)  # the light on the front's edge
    return img


def write_ico(path, img):
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        bits = 0
        for x, colour in enumerate(img[y]):
            clear = colour == CLEAR
            r, g, b = (0, 0, 0) if clear else colour
            xor += bytes((b, g, r, 0 if clear else 255))
            bits |= (1 if clear else 0) << (SIZE - 1 - x)
        mask += bits.to_bytes(SIZE // 8, "big")  # 32 pixels make a whole 4-byte row
    # The header counts the XOR and AND bitmaps together, hence twice the height.
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, 2 * SIZE, 1, 32, 0, len(xor) + len(mask), 0, 0,
                       0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(path, "wb") as out:
        out.write(header + entry + image)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_ico(os.path.join(folder, "Desktop.ico"), desktop())
    write_ico(os.path.join(folder, "Documents.ico"), documents())
