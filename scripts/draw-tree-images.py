#!/usr/bin/env python3
"""Draws the folder tree's 23 node images, 16 x 16 each, side by side in one 24-bit bitmap.

Magenta is the transparent colour. Image n (from 1) is at x = 16 * (n - 1). Every drawable kind
comes in three states: normal, selected (brightened on a blue ground) and on the path to the
selection (with a small orange arrow). Run it again after changing a picture:
    scripts/draw-tree-images.py src/app/TreeImages.bmp
"""
import struct
import sys

SIZE = 16
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


def blank():
    return [[CLEAR] * SIZE for _ in range(SIZE)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = colour


def frame(img, x0, y0, x1, y1, colour):
    for x in range(x0, x1 + 1):
        img[y0][x] = img[y1][x] = colour
    for y in range(y0, y1 + 1):
        img[y][x0] = img[y][x1] = colour


def desktop():
    img = blank()
    rect(img, 1, 2, 14, 11, DARK)
    rect(img, 2, 3, 13, 10, SKY)
    rect(img, 3, 8, 12, 10, GREEN)
    rect(img, 6, 12, 9, 12, GREY)
    rect(img, 4, 13, 11, 14, DARK)
    return img


def documents():
    img = folder_closed()
    rect(img, 5, 2, 12, 9, WHITE)
    frame(img, 5, 2, 12, 9, GREY)
    for y in (4, 6, 8):
        rect(img, 6, y, 11, y, BLUE)
    return img


def drive_body(img, top=7):
    rect(img, 1, top, 14, top + 5, LIGHT)
    frame(img, 1, top, 14, top + 5, DARK)
    rect(img, 2, top + 4, 13, top + 4, GREY)


def removable():
    img = blank()
    rect(img, 2, 1, 13, 14, BLUE)
    frame(img, 2, 1, 13, 14, BLACK)
    rect(img, 5, 1, 10, 5, LIGHT)
    rect(img, 8, 2, 9, 4, DARK)
    rect(img, 4, 8, 11, 13, WHITE)
    return img


def fixed():
    img = blank()
    drive_body(img)
    rect(img, 11, 9, 12, 9, GREEN)
    return img


def cd():
    img = blank()
    for y in range(SIZE):
        for x in range(SIZE):
            d = (x - 7.5) ** 2 + (y - 7.5) ** 2
            if d <= 49:
                img[y][x] = LIGHT if (x + y) % 5 else WHITE
            if 36 < d <= 49:
                img[y][x] = GREY
            if d <= 4:
                img[y][x] = CLEAR if d <= 2 else DARK
    return img


def network():
    img = blank()
    drive_body(img, 3)
    rect(img, 11, 5, 12, 5, GREEN)
    rect(img, 7, 9, 8, 12, DARK)
    rect(img, 2, 13, 13, 13, DARK)
    return img


def folder_closed():
    img = blank()
    rect(img, 1, 3, 6, 4, OCHRE)
    rect(img, 1, 5, 14, 13, YELLOW)
    frame(img, 1, 5, 14, 13, OCHRE)
    return img


def folder_open():
    img = blank()
    rect(img, 1, 3, 6, 4, OCHRE)
    rect(img, 1, 5, 12, 13, OCHRE)
    for y in range(8, 14):
        shift = (13 - y) // 2
        rect(img, 3 + shift, y, 14 + shift - 2, y, YELLOW)
    frame(img, 1, 5, 12, 13, OCHRE)
    return img


def selected(img):
    # The picture brightened on a blue ground, as the node's highlight reads.
    out = blank()
    for y in range(SIZE):
        for x in range(SIZE):
            c = img[y][x]
            out[y][x] = SKY if c == CLEAR else tuple(min(255, v + 48) for v in c)
    frame(out, 0, 0, 15, 15, BLUE)
    return out


def on_path(img):
    # A small orange arrow in the lower right corner points down the path to the selection.
    out = [row[:] for row in img]
    for i, y in enumerate(range(10, 16)):
        width = 3 - abs(i - 2) if i < 5 else 0
        rect(out, 12, y, 12 + width, y, ORANGE) if width > 0 else None
    frame(out, 11, 10, 11, 14, RED)
    return out


def images():
    table = {}

    def three(normal, sel, path, picture):
        table[normal] = picture
        table[sel] = selected(picture)
        table[path] = on_path(picture)

    three(1, 19, 20, desktop())
    three(2, 17, 18, documents())
    three(4, 5, 6, removable())
    three(7, 8, 9, fixed())
    three(10, 11, 12, cd())
    three(13, 15, 16, folder_closed())
    table[14] = folder_open()
    three(21, 22, 23, network())
    table[3] = blank()  # no node kind shows it
    return [table[n] for n in range(1, COUNT + 1)]


def write_bmp(path, strip):
    width = SIZE * COUNT
    row_bytes = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        row = bytearray()
        for img in strip:
            for (r, g, b) in img[y]:
                row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        pixels += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as out:
        out.write(header + info + pixels)


if __name__ == "__main__":
    write_bmp(sys.argv[1] if len(sys.argv) > 1 else "TreeImages.bmp", images())
