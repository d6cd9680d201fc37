#!/usr/bin/env python3
"""Writes the pictures of the toolkit's own context menus (16 x 15 each, 4 bits per pixel, light
grey is transparent):

EditMenu.bmp    toolbar 4524: undo, cut, copy, paste, delete
OutBarMenu.bmp  toolbar 4521: large icons, small icons

Run it after changing a picture:  python3 toolkit/res/make_menu_bitmaps.py
"""
import os
import struct

VGA = [(0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0), (0, 0, 0x80), (0x80, 0, 0x80), (0, 0x80, 0x80),
       (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0xFF, 0, 0), (0, 0xFF, 0), (0xFF, 0xFF, 0), (0, 0, 0xFF),
       (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]
LETTERS = {".": 7, "k": 0, "R": 1, "B": 4, "g": 8, "r": 9, "y": 11, "b": 12, "w": 15}

EDIT = [
    ["................", "................", "....b...........", "...bb...........", "..bbbbbbbb......",
     "...bb.....b.....", "....b......b....", "...........b....", "...........b....", "..........b.....",
     ".........b......", "......bbb.......", "................", "................", "................"],
    ["................", "....k.....k.....", "....k.....k.....", "....k.....k.....", ".....k...k......",
     ".....k...k......", "......k.k.......", ".......k........", "......k.k.......", "...bbb...bbb....",
     "..b..b...b..b...", "..b..b...b..b...", "..b..b...b..b...", "...bb.....bb....", "................"],
    ["................", "kkkkkk..........", "kwwwwkk.........", "kwkkwkwk........", "kwwwwkkkkkkk....",
     "kwkkkkwwwwwkk...", "kwwwwkwkkkwkwk..", "kwkkkkwwwwwkkkk.", "kwwwwkwkkkkkwwk.", "kkkkkkwwwwwwwwk.",
     ".....kwkkkkkkwk.", ".....kwwwwwwwwk.", ".....kkkkkkkkkk.", "................", "................"],
    ["................", "....kkkk........", ".kkkyyyykkk.....", ".kRkkkkkkRk.....", ".kRRRRRRRRk.....",
     ".kRRRRkkkkkkk...", ".kRRRRkwwwwkwk..", ".kRRRRkwkkwkkwk.", ".kRRRRkwwwwkkkk.", ".kRRRRkwkkkkwwk.",
     ".kRRRRkwwwwwwwk.", ".kkkkkkwkkkkkwk.", "......kwwwwwwwk.", "......kkkkkkkkk.", "................"],
    ["................", "................", "..rr.......rr...", "...rr.....rr....", "....rr...rr.....",
     ".....rr.rr......", "......rrr.......", "......rrr.......", ".....rr.rr......", "....rr...rr.....",
     "...rr.....rr....", "..rr.......rr...", "................", "................", "................"],
]
OUTBAR = [
    ["................", ".kkkkkk..kkkkkk.", ".kbbbbk..kbbbbk.", ".kbbbbk..kbbbbk.", ".kbbbbk..kbbbbk.",
     ".kkkkkk..kkkkkk.", "................", "................", ".kkkkkk..kkkkkk.", ".kbbbbk..kbbbbk.",
     ".kbbbbk..kbbbbk.", ".kbbbbk..kbbbbk.", ".kkkkkk..kkkkkk.", "................", "................"],
    ["................", "................", ".kkk............", ".kbk.kkkkkkkkk..", ".kkk............",
     "................", ".kkk............", ".kbk.kkkkkkkkk..", ".kkk............", "................",
     ".kkk............", ".kbk.kkkkkkkkk..", ".kkk............", "................", "................"],
]


def write_bmp(path, pictures):
    width, height = 16 * len(pictures), 15
    stride = ((width * 4 + 31) // 32) * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            v = LETTERS[pictures[x // 16][y][x % 16]]
            row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        rows.append(bytes(row))
    data = b"".join(rows)
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + colours + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for pics in (EDIT, OUTBAR):
        for p in pics:
            assert len(p) == 15 and all(len(r) == 16 for r in p), p
    write_bmp(os.path.join(here, "EditMenu.bmp"), EDIT)
    write_bmp(os.path.join(here, "OutBarMenu.bmp"), OUTBAR)


if __name__ == "__main__":
    main()
