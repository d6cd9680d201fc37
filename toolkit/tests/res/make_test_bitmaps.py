#!/usr/bin/env python3
"""Writes the bitmaps of the toolkit's test resources:

ToolBar128.bmp   the pictures of toolbar 128 (16 x 18 each, 4 bits per pixel, light grey is
                 transparent), one per command in the toolbar's order
SysColor4/8/24   one row of test pixels in 4, 8 and 24 bits per pixel: black, 0x808080, 0xC0C0C0,
                 white, 0xC0C0C1 (one step off light grey) and 0x123456

Run it after changing a picture:  python3 toolkit/tests/res/make_test_bitmaps.py
"""
import os
import struct

VGA = [(0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0), (0, 0, 0x80), (0x80, 0, 0x80), (0, 0x80, 0x80),
       (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0xFF, 0, 0), (0, 0xFF, 0), (0xFF, 0xFF, 0), (0, 0, 0xFF),
       (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]
LETTERS = {".": 7, "k": 0, "R": 1, "G": 2, "B": 4, "c": 6, "g": 8, "r": 9, "y": 11, "b": 12, "w": 15}

# 32775 new appointment, 32776 new to-do, 32812 edit, 32787 delete, 32780 day, 32779 week,
# 32778 month, 32790 appointment list, 32777 to-dos, 32813 today, 32784 refresh
PICTURES = [
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..krrrrrrrrrrk..",
        "..kRRRRRRRRRRk..",
        "..kwwwwwwwwwwk..",
        "..kwkwkwkwkwwk..",
        "..kwwwwwwwwwwk..",
        "..kwkwkwkwkwwk..",
        "..kwwwwwwwwGGGG.",
        "..kwkwkwkwkGwwG.",
        "..kwwwwwwGGGwwGG",
        "..kkkkkkkGwwwwwG",
        ".........GGGwwGG",
        "...........GwwG.",
        "...........GGGG.",
        "................",
    ],
    [
        "................",
        "..kkkkkkkkkkk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwGk...",
        "..kwwwwwwwGGk...",
        "..kwGwwwwGGwk...",
        "..kwGGwwGGwwk...",
        "..kwwGGGGwwwk...",
        "..kwwwGGwwGGGG..",
        "..kwwwwwwwGwwG..",
        "..kwwwwwGGGwwGG.",
        "..kkkkkkGwwwwwG.",
        "........GGGwwGG.",
        "..........GwwG..",
        "..........GGGG..",
        "................",
    ],
    [
        "................",
        "...........kk...",
        "..........kyyk..",
        ".........kyyyk..",
        "........kyyyk...",
        ".......kyyyk....",
        "......kyyyk.....",
        ".....kyyyk......",
        "....kyyyk.......",
        "...kwyyk........",
        "...kwwk.........",
        "..kkkk..........",
        "..kk............",
        "................",
        "................",
        "................",
    ],
    [
        "................",
        "................",
        "..rr........rr..",
        "..rrr......rrr..",
        "...rrr....rrr...",
        "....rrr..rrr....",
        ".....rrrrrr.....",
        "......rrrr......",
        "......rrrr......",
        ".....rrrrrr.....",
        "....rrr..rrr....",
        "...rrr....rrr...",
        "..rrr......rrr..",
        "..rr........rr..",
        "................",
        "................",
    ],
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..kBBBBBBBBBBk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwbbbbbbbbwk..",
        "..kwbbbbbbbbwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwbbbbbbbbwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
        "................",
    ],
    [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwgwwgwwgwwgk.",
        ".kbwgwwgbwgwwgk.",
        ".kbwgbwgbwgwwgk.",
        ".kwwgbwgwwgbwgk.",
        ".kwwgwwgwwgbwgk.",
        ".kbwgwwgwwgwwgk.",
        ".kbwgwwgbwgwwgk.",
        ".kwwgwwgbwgwwgk.",
        ".kwwgwwgwwgwwgk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
        "................",
    ],
    [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kBBBBBBBBBBBBk.",
        ".kwwgwwgwwgwwgk.",
        ".kwwgwwgwwgwwgk.",
        ".kggggggggggggk.",
        ".kwwgwwgbbgwwgk.",
        ".kwwgwwgbbgwwgk.",
        ".kggggggggggggk.",
        ".kwwgwwgwwgwwgk.",
        ".kwwgwwgwwgwwgk.",
        ".kggggggggggggk.",
        ".kwwgwwgwwgwwgk.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    ],
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..kwwwwwwwwwwk..",
        "..kwrrwkkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kwrrwkkkkwwk..",
        "..kwwwwwwwwwwk..",
        "..kwrrwkkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kwrrwkkkwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwrrwkkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
    ],
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..kwwwwwwwwwwk..",
        "..kwwGwwkkkkwk..",
        "..kGwGwwwwwwwk..",
        "..kwGwwwkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kwwGwwkkkkwk..",
        "..kGwGwwwwwwwk..",
        "..kwGwwwkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kgggwwkkkkwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
    ],
    [
        "................",
        "..kkkkkkkkkkkk..",
        "..krrrrrrrrrrk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwrrwwwwk..",
        "..kwwwrrrrwwwk..",
        "..kwwrrwwrrwwk..",
        "..kwwrrwwrrwwk..",
        "..kwwwrrrrwwwk..",
        "..kwwwwrrwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
        "................",
        "................",
        "................",
        "................",
    ],
    [
        "................",
        "......GGGGG.....",
        "....GG.....GG.G.",
        "...G.........GG.",
        "..G.........GGG.",
        "..G........GGGG.",
        ".G..............",
        ".G..............",
        "..............G.",
        "..............G.",
        ".GGGG........G..",
        ".GGG.........G..",
        ".GG.........G...",
        ".G.GG.....GG....",
        ".....GGGGG......",
        "................",
    ],
]


def write_bmp(path, width, height, bits, palette, pixel):
    """pixel(x, y) gives a palette index (bits <= 8) or an (r, g, b) tuple."""
    stride = (width * bits + 31) // 32 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        if bits == 24:
            for x in range(width):
                r, g, b = pixel(x, y)
                row += bytes((b, g, r))
        elif bits == 8:
            row += bytes(pixel(x, y) for x in range(width))
        else:
            for x in range(0, width, 2):
                hi = pixel(x, y)
                lo = pixel(x + 1, y) if x + 1 < width else 0
                row.append((hi << 4) | lo)
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, stride * height, 2835, 2835, len(palette), 0)
    offset = 14 + len(info) + len(colours)
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + colours + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    width, height = 16 * len(PICTURES), 18

    def toolbar_pixel(x, y):
        picture = PICTURES[x // 16]
        row = y - 1  # 16 rows of art in an 18-pixel image
        if 0 <= row < len(picture):
            return LETTERS[picture[row][x % 16]]
        return LETTERS["."]

    write_bmp(os.path.join(here, "ToolBar128.bmp"), width, height, 4, VGA, toolbar_pixel)

    test = [(0, 0, 0), (0x80, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0xFF, 0xFF, 0xFF), (0xC0, 0xC0, 0xC1),
            (0x12, 0x34, 0x56)]
    palette = test + [(0x40, 0x40, 0x40)] * 10
    write_bmp(os.path.join(here, "SysColor4.bmp"), 6, 1, 4, palette, lambda x, y: x)
    write_bmp(os.path.join(here, "SysColor8.bmp"), 6, 1, 8, test, lambda x, y: x)
    write_bmp(os.path.join(here, "SysColor24.bmp"), 6, 1, 24, [], lambda x, y: test[x])


if __name__ == "__main__":
    main()
