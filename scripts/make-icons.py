#!/usr/bin/env python3
"""Draws the program's three icons (32 x 32, 16 colours) and writes them to res/*.ico.

program.ico (112): a parcel with an arrow going in, the icon the shell shows for setup.exe.
uninstall.ico (113): the same parcel with a red cross, shown by the uninstall dialog.
page.ico (114): a computer with the parcel's colours on screen, shown by the wizard pages
and the about box.
Run from anywhere; the images are plain pixel drawings, so the output is the same each run.
"""
import os
import struct

SIZE = 32
# The standard 16-colour palette, by index.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, OLIVE, NAVY, TEAL, SILVER, GRAY = 0, 1, 3, 4, 6, 7, 8
RED, YELLOW, BLUE, AQUA, WHITE = 9, 11, 12, 14, 15
CLEAR = None  # transparent pixel


class Canvas:
    def __init__(self):
        self.pixels = [[CLEAR] * SIZE for _ in range(SIZE)]

    def put(self, x, y, colour):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.pixels[y][x] = colour

    def rect(self, left, top, right, bottom, fill, edge=None):
        for y in range(top, bottom + 1):
            for x in range(left, right + 1):
                border = x in (left, right) or y in (top, bottom)
                self.put(x, y, edge if border and edge is not None else fill)

    def line(self, x0, y0, x1, y1, colour, width=1):
        steps = max(abs(x1 - x0), abs(y1 - y0)) or 1
        for i in range(steps + 1):
            x = x0 + (x1 - x0) * i // steps
            y = y0 + (y1 - y0) * i // steps
            for dx in range(width):
                self.put(x + dx, y, colour)


def parcel(canvas, top):
    """A closed carton with a taped lid, from row top down to row 30."""
    canvas.rect(4, top, 27, 30, YELLOW, BLACK)
    canvas.rect(5, top + 1, 26, top + 4, OLIVE)
    canvas.line(4, top + 5, 27, top + 5, BLACK)
    canvas.rect(14, top + 1, 17, 29, SILVER)
    for y in range(top + 6, 30):
        canvas.put(26, y, OLIVE)


def program_icon():
    canvas = Canvas()
    parcel(canvas, 14)
    # Arrow pointing down into the parcel.
    canvas.rect(13, 1, 18, 9, BLUE, NAVY)
    for row in range(6):
        canvas.line(9 + row, 10 + row, 22 - row, 10 + row, BLUE)
        canvas.put(8 + row, 10 + row, NAVY)
        canvas.put(23 - row, 10 + row, NAVY)
    return canvas


def uninstall_icon():
    canvas = Canvas()
    parcel(canvas, 14)
    # A red cross over the upper part: the installation goes away.
    for offset in range(3):
        canvas.line(6 + offset, 2, 23 + offset, 19, RED)
        canvas.line(23 + offset, 2, 6 + offset, 19, RED)
    canvas.line(5, 2, 22, 19, MAROON)
    canvas.line(26, 2, 9, 19, MAROON)
    return canvas


def page_icon():
    canvas = Canvas()
    # Monitor with a navy screen showing the parcel's colours, on a stand and a base.
    canvas.rect(3, 2, 28, 21, SILVER, BLACK)
    canvas.rect(6, 5, 25, 18, NAVY, GRAY)
    canvas.rect(11, 9, 20, 15, YELLOW, BLACK)
    canvas.rect(11, 9, 20, 10, OLIVE, BLACK)
    canvas.line(15, 9, 15, 15, SILVER, width=2)
    canvas.rect(13, 22, 18, 24, GRAY, BLACK)
    canvas.rect(6, 25, 25, 29, SILVER, BLACK)
    canvas.line(8, 27, 12, 27, TEAL)
    canvas.put(22, 27, AQUA)
    canvas.line(7, 3, 27, 3, WHITE)
    return canvas


def ico_bytes(canvas):
    """One 32 x 32, 4-bit image: header, palette, colour rows and mask rows, bottom-up."""
    colour_rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):
        row = canvas.pixels[y]
        nibbles = [0 if p is CLEAR else p for p in row]
        colour_rows.append(bytes((nibbles[x] << 4) | nibbles[x + 1] for x in range(0, SIZE, 2)))
        bits = 0
        for x, p in enumerate(row):
            if p is CLEAR:
                bits |= 1 << (SIZE - 1 - x)
        mask_rows.append(struct.pack('>I', bits))
    colours = b''.join(colour_rows)
    mask = b''.join(mask_rows)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0,
                         len(colours) + len(mask), 0, 0, 0, 0)
    image = header + palette + colours + mask
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'res')
    for name, draw in (('program', program_icon), ('uninstall', uninstall_icon),
                       ('page', page_icon)):
        with open(os.path.join(out, name + '.ico'), 'wb') as f:
            f.write(ico_bytes(draw()))


if __name__ == '__main__':
    main()
