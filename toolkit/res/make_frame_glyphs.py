#!/usr/bin/env python3
"""Draws FrameGlyphs.bmp: four 10 x 10 glyphs in black on magenta, side by side (40 x 10, 24 bpp):
0 minimise, 1 restore, 2 close, 3 expand (a double chevron pointing down)."""
import struct
import sys
from pathlib import Path

W, H = 40, 10
MAGENTA = (255, 0, 255)
BLACK = (0, 0, 0)

GLYPHS = [
    # minimise: a thick bar at the bottom
    ["..........", "..........", "..........", "..........", "..........",
     "..........", "..........", "..######..", "..######..", ".........."],
    # restore: two overlapping windows
    ["...######.", "...######.", "...#....#.", ".######.#.", ".######.#.",
     ".#....###.", ".#....#...", ".#....#...", ".######...", ".........."],
    # close: a thick cross
    ["..........", ".##....##.", "..##..##..", "...####...", "....##....",
     "...####...", "..##..##..", ".##....##.", "..........", ".........."],
    # expand: two chevrons pointing down
    ["..........", ".#......#.", "..#....#..", "...#..#...", "....##....",
     ".#......#.", "..#....#..", "...#..#...", "....##....", ".........."],
]


def main(out):
    rows = []
    for y in range(H):
        row = b""
        for g in GLYPHS:
            for ch in g[y]:
                r, gr, b = BLACK if ch == "#" else MAGENTA
                row += bytes((b, gr, r))
        row += b"\0" * ((4 - len(row) % 4) % 4)
        rows.append(row)
    pixels = b"".join(reversed(rows))
    header = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    data = b"BM" + struct.pack("<IHHI", 14 + len(header) + len(pixels), 0, 0, 14 + len(header)) + header + pixels
    Path(out).write_bytes(data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else str(Path(__file__).with_name("FrameGlyphs.bmp")))
