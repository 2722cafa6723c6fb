#!/usr/bin/env python3
"""Draws the folder tree's 23 node images side by side in 24-bit bitmaps: TreeImages.bmp at
16 x 16 each for 96 dpi, and TreeImages24.bmp at 24 x 24 for 144 dpi.

Magenta is the transparent colour. Image n (from 1) is at x = size * (n - 1). Every drawable kind
comes in three states: normal, selected (brightened on a blue ground) and on the path to the
selection (with a small orange arrow). The pictures are laid out on a 16-pixel grid, and the
larger size is drawn anew from that layout (not stretched), so that outlines stay one pixel wide.
Run it again after changing a picture:
    scripts/draw-tree-images.py src/app
"""
import math
import os
import struct
import sys

SIZE = 16  # the grid the pictures are laid out on
COUNT = 23
CLEAR = (255, 0, 255)

BLACK = (0, 0, 0)
DARK = (64, 64, 64)
GREY = (128, 128, 128)
LIGHT = (192, 192, 192)
WHITE = (255, 255, 255)
YELLOW = (240, 200, 64)
OCHRE = (176, 128, 32)
BLUE = (32, 80, 200)
SKY = (96, 160, 240)
GREEN = (48, 160, 64)
RED = (200, 40, 40)
ORANGE = (255, 140, 0)


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


class Picture:
    """A square of `size` pixels drawn in the coordinates of a `grid`-pixel layout: a rectangle
    covers every pixel of its grid cells, and a frame stays one pixel wide at any size."""

    def __init__(self, size, grid=SIZE):
        self.size = size
        self.scale = size / grid
        self.img = [[CLEAR] * size for _ in range(size)]

    def first(self, v):
        return math.floor(v * self.scale)

    def last(self, v):  # the last pixel of grid cell v
        return math.floor((v + 1) * self.scale) - 1

    def rect(self, x0, y0, x1, y1, colour):
        rect(self.img, self.first(x0), self.first(y0), self.last(x1), self.last(y1), colour)

    def frame(self, x0, y0, x1, y1, colour):
        frame(self.img, self.first(x0), self.first(y0), self.last(x1), self.last(y1), colour)

    def centre(self, p):
        """The grid coordinate at the centre of pixel p."""
        return (p + 0.5) / self.scale - 0.5

    def pixels(self):
        """Each pixel with the grid point at its centre."""
        for y in range(self.size):
            for x in range(self.size):
                yield x, y, self.centre(x), self.centre(y)


def desktop(size):
    img = Picture(size)
    img.rect(1, 2, 14, 11, DARK)
    img.rect(2, 3, 13, 10, SKY)
    img.rect(3, 8, 12, 10, GREEN)
    img.rect(6, 12, 9, 12, GREY)
    img.rect(4, 13, 11, 14, DARK)
    return img


def documents(size):
    img = folder_closed(size)
    img.rect(5, 2, 12, 9, WHITE)
    img.frame(5, 2, 12, 9, GREY)
    for y in (4, 6, 8):
        img.rect(6, y, 11, y, BLUE)
    return img


def drive_body(img, top=7):
    img.rect(1, top, 14, top + 5, LIGHT)
    img.frame(1, top, 14, top + 5, DARK)
    img.rect(2, top + 4, 13, top + 4, GREY)


def removable(size):
    img = Picture(size)
    img.rect(2, 1, 13, 14, BLUE)
    img.frame(2, 1, 13, 14, BLACK)
    img.rect(5, 1, 10, 5, LIGHT)
    img.rect(8, 2, 9, 4, DARK)
    img.rect(4, 8, 11, 13, WHITE)
    return img


def fixed(size):
    img = Picture(size)
    drive_body(img)
    img.rect(11, 9, 12, 9, GREEN)
    return img


def cd(size):
    img = Picture(size)
    for x, y, gx, gy in img.pixels():
        d = (gx - 7.5) ** 2 + (gy - 7.5) ** 2
        if d <= 49:
            img.img[y][x] = LIGHT if (round(gx) + round(gy)) % 5 else WHITE
        if 36 < d <= 49:
            img.img[y][x] = GREY
        if d <= 4:
            img.img[y][x] = CLEAR if d <= 2 else DARK
    return img


def network(size):
    img = Picture(size)
    drive_body(img, 3)
    img.rect(11, 5, 12, 5, GREEN)
    img.rect(7, 9, 8, 12, DARK)
    img.rect(2, 13, 13, 13, DARK)
    return img


def folder_closed(size):
    img = Picture(size)
    img.rect(1, 3, 6, 4, OCHRE)
    img.rect(1, 5, 14, 13, YELLOW)
    img.frame(1, 5, 14, 13, OCHRE)
    return img


def folder_open(size):
    img = Picture(size)
    img.rect(1, 3, 6, 4, OCHRE)
    img.rect(1, 5, 12, 13, OCHRE)
    for y in range(8, 14):
        shift = (13 - y) // 2
        img.rect(3 + shift, y, 14 + shift - 2, y, YELLOW)
    img.frame(1, 5, 12, 13, OCHRE)
    return img


def selected(img):
    # The picture brightened on a blue ground, as the node's highlight reads.
    out = Picture(img.size)
    for x, y, _, _ in img.pixels():
        c = img.img[y][x]
        out.img[y][x] = SKY if c == CLEAR else tuple(min(255, v + 48) for v in c)
    out.frame(0, 0, 15, 15, BLUE)
    return out


def on_path(img):
    # A small orange arrow in the lower right corner points down the path to the selection.
    out = Picture(img.size)
    out.img = [row[:] for row in img.img]
    for i, y in enumerate(range(10, 16)):
        width = 3 - abs(i - 2) if i < 5 else 0
        if width > 0:
            out.rect(12, y, 12 + width, y, ORANGE)
    out.frame(11, 10, 11, 14, RED)
    return out


def images(size):
    table = {}

    def three(normal, sel, path, picture):
        table[normal] = picture
        table[sel] = selected(picture)
        table[path] = on_path(picture)

    three(1, 19, 20, desktop(size))
    three(2, 17, 18, documents(size))
    three(4, 5, 6, removable(size))
    three(7, 8, 9, fixed(size))
    three(10, 11, 12, cd(size))
    three(13, 15, 16, folder_closed(size))
    table[14] = folder_open(size)
    three(21, 22, 23, network(size))
    table[3] = Picture(size)  # no node kind shows it
    return [table[n].img for n in range(1, COUNT + 1)]


def write_bmp(path, strip):
    size = len(strip[0])
    width = size * COUNT
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(size)):  # bottom-up rows
        row = bytearray()
        for img in strip:
            for (r, g, b) in img[y]:
                row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, size, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    write_bmp(os.path.join(folder, "TreeImages.bmp"), images(16))
    write_bmp(os.path.join(folder, "TreeImages24.bmp"), images(24))
