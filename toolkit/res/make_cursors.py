#!/usr/bin/env python3
"""Writes the toolkit's seven cursors (32 x 32, monochrome) from the pictures below.

'.' transparent, 'X' black, 'o' white, '*' the hot spot (black). Run it after changing a picture:
    python3 toolkit/res/make_cursors.py
"""
import os
import struct

ARROW = [
    "X...........",
    "XX..........",
    "XoX.........",
    "XooX........",
    "XoooX.......",
    "XooooX......",
    "XoooooX.....",
    "XooooooX....",
    "XoooooooX...",
    "XooooooooX..",
    "XoooooXXXXX.",
    "XooXooX.....",
    "XoX.XooX....",
    "XX..XooX....",
    "X....XooX...",
    ".....XooX...",
    "......XX....",
]

BOX = [
    "XXXXXXXXXXX",
    "XoooooooooX",
    "XoooooooooX",
    "XoooooooooX",
    "XoooooooooX",
    "XoooooooooX",
    "XoooooooooX",
    "XXXXXXXXXXX",
]

PLUS = [
    "XXXXXXXXX",
    "XooooooooX"[:9],
    "XoooXoooX",
    "XoooXoooX",
    "XoXXXXXoX",
    "XoooXoooX",
    "XoooXoooX",
    "XoooooooX",
    "XXXXXXXXX",
]

NONE = [
    "......XXXXXXX......",
    "....XXoooooooXX....",
    "...XoooXXXXXoooX...",
    "..XooXX.....XXooX..",
    ".XooX.........XXoX.",
    ".XoX.........XooXoX",
    "XooX........XooX.XoX",
    "XoX........XooX..XoX",
    "XoX.......XooX...XoX",
    "XoX......XooX....XoX",
    "XoX.....XooX.....XoX",
    "XoX....XooX......XoX",
    "XoX...XooX.......XoX",
    ".XoX.XooX.......XoX.",
    ".XoXXooX.......XooX.",
    "..XooXX.......XooX..",
    "...XoooXXXXXXoooX...",
    "....XXoooooooXX.....",
    "......XXXXXXX.......",
]

HAND = [
    ".....XX.........",
    "....XooX........",
    "....XooX........",
    "....XooX........",
    "....XooX........",
    "....XooXXX......",
    "....XooXooXXX...",
    "....XooXooXooXX.",
    "XXX.XooXooXooXoX",
    "XooXXooooooooXoX",
    "XoooXoooooooooooX"[:16],
    ".XooXoooooooooooX"[:16],
    "..XoooooooooooooX"[:16],
    "..XoooooooooooooX"[:16],
    "...XoooooooooooX",
    "...XooooooooooX.",
    "....XoooooooooX.",
    "....XoooooooooX.",
    ".....XooooooooX.",
    ".....XXXXXXXXXX.",
]

COLSPLIT = [
    ".......XXoXX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    "...X...XoXoX...X...",
    "..XX...XoXoX...XX..",
    ".XoXXXXXoXoXXXXXoX.",
    "XoooooooXoXoooooooX",
    ".XoXXXXXoXoXXXXXoX.",
    "..XX...XoXoX...XX..",
    "...X...XoXoX...X...",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XoXoX.......",
    ".......XXoXX.......",
]


def transpose(picture):
    width = max(len(row) for row in picture)
    rows = [row.ljust(width, ".") for row in picture]
    return ["".join(rows[y][x] for y in range(len(rows))) for x in range(width)]


ROWSPLIT = transpose(COLSPLIT)


def canvas():
    return [["."] * 32 for _ in range(32)]


def paste(grid, picture, x0, y0):
    for y, row in enumerate(picture):
        for x, c in enumerate(row):
            if c != "." and 0 <= y0 + y < 32 and 0 <= x0 + x < 32:
                grid[y0 + y][x0 + x] = c


def centred(picture):
    grid = canvas()
    width = max(len(row) for row in picture)
    x0, y0 = (32 - width) // 2, (32 - len(picture)) // 2
    paste(grid, picture, x0, y0)
    return grid, (x0 + width // 2, y0 + len(picture) // 2)


def write_cursor(path, grid, hotspot):
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        xor_bits = and_bits = 0
        for x in range(32):
            c = grid[y][x]
            bit = 1 << (31 - x)
            if c == ".":
                and_bits |= bit
            elif c == "o":
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    drag_copy = canvas()
    paste(drag_copy, ARROW, 0, 0)
    paste(drag_copy, BOX, 9, 18)
    paste(drag_copy, PLUS, 22, 22)
    drag_move = canvas()
    paste(drag_move, ARROW, 0, 0)
    paste(drag_move, BOX, 9, 18)
    none, none_hot = centred(NONE)
    hand = canvas()
    paste(hand, HAND, 4, 0)
    spare = canvas()
    paste(spare, ARROW, 0, 0)
    col, col_hot = centred(COLSPLIT)
    row, row_hot = centred(ROWSPLIT)
    cursors = {
        "DragCopy.cur": (drag_copy, (0, 0)),
        "DragMove.cur": (drag_move, (0, 0)),
        "Hand.cur": (hand, (9, 1)),
        "ColSplit.cur": (col, col_hot),
        "DragNone.cur": (none, none_hot),
        "RowSplit.cur": (row, row_hot),
        "Spare.cur": (spare, (0, 0)),
    }
    for name, (grid, hotspot) in cursors.items():
        write_cursor(os.path.join(here, name), grid, hotspot)


if __name__ == "__main__":
    main()
