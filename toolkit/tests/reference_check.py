#!/usr/bin/env python3
"""Recomputes what toolkit_reference_dump.exe printed, apart from the program's code: the toolkit
colour table from the rules of its derivation, entry by entry for several colour schemes, and the
CRC-32 of pseudo-random blocks with zlib's."""
import math
import sys
import zlib

import oxtest

MAX = (195.0, 390.0, 65.0)


def split(c):
    return (c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)


def join(r, g, b):
    return r | (g << 8) | (b << 16)


def weighted(c):
    return tuple(v * m / 255.0 for v, m in zip(split(c), MAX))


def from_weighted(w):
    def clip(v):
        n = int(v + 0.5)  # truncated toward zero
        return max(0, min(255, n))
    return join(*(clip(v * 255.0 / m) for v, m in zip(w, MAX)))


def dist(a, b):
    return math.sqrt(sum((x - y) ** 2 for x, y in zip(a, b)))


def brightness(c):
    return dist(weighted(c), (0, 0, 0))


def threshold(a, base):
    return base * (2.0 - min(int(brightness(a)), 220) / 220.0)


def blend(a, b, p):
    d = 100 if p < 100 else 1000
    return join(*((x * p + y * (d - p) + d // 2) // d for x, y in zip(split(a), split(b))))


def pull(target, a, base):
    t, aw = weighted(target), weighted(a)
    thr, d = threshold(a, base), dist(t, aw)
    if d <= thr:
        return target
    f = thr / d
    return from_weighted(tuple(ai + (ti - ai) * f for ti, ai in zip(t, aw)))


def push(target, a, base):
    t, aw = weighted(target), weighted(a)
    thr = threshold(a, base)
    if dist(t, aw) > thr:
        return target
    bt, ba = brightness(target), brightness(a)
    white = (bt > ba and ba <= 442.0 - thr) or (bt <= ba and ba <= thr)
    if white:
        t = tuple(m - v for v, m in zip(t, MAX))
        aw = tuple(m - v for v, m in zip(aw, MAX))
    # |s * t - a| = thr
    tt = sum(v * v for v in t)
    if tt <= 0:
        return target
    ta = sum(x * y for x, y in zip(t, aw))
    aa = sum(v * v for v in aw)
    disc = ta * ta - tt * (aa - thr * thr)
    if disc < 0:
        return target
    roots = [(ta - math.sqrt(disc)) / tt, (ta + math.sqrt(disc)) / tt]
    s = min(roots, key=abs)
    p = tuple(v * s for v in t)
    if white:
        p = tuple(m - v for v, m in zip(p, MAX))
    return from_weighted(p)


def table_for(sys_colors, bits, before):
    t = list(before)
    window, face, highlight, shadow = sys_colors[5], sys_colors[15], sys_colors[13], sys_colors[16]
    t[0] = 0
    t[1:29] = sys_colors[1:29]
    t[29] = t[50] = 0
    defaults = {30: face, 31: window, 32: highlight, 33: highlight, 35: sys_colors[17], 36: window, 37: highlight,
                38: shadow, 39: shadow, 40: shadow, 42: shadow, 43: shadow, 52: shadow, 41: window,
                44: sys_colors[8], 45: sys_colors[7], 46: sys_colors[18], 47: sys_colors[14], 48: face,
                49: sys_colors[18], 51: face}
    for k, v in defaults.items():
        t[k] = v
    if 1 <= bits <= 8:
        return t
    t[30] = blend(window, face, 165)
    t[31] = blend(highlight, window, 30)
    t[33] = blend(highlight, window, 50)
    t[41] = blend(face, window, 143)
    t[35] = blend(sys_colors[17], window, 70)
    t[38] = blend(shadow, window, 75)
    t[39] = blend(shadow, window, 70)
    t[43] = blend(t[46], shadow, 20)
    t[40] = blend(shadow, window, 90)
    t[42] = blend(face, shadow, 90)
    t[30] = pull(t[30], face, 35)
    for target, a, base in [(31, 30, 50), (32, 30, 100), (33, 30, 30), (35, 41, 80), (37, 33, 100), (38, 30, 85),
                            (39, 30, 50), (43, 47, 100), (40, 30, 80), (44, 41, 180), (45, 31, 180), (46, 30, 180),
                            (47, 33, 180)]:
        t[target] = push(t[target], t[a], base)
    t[35] = pull(t[35], t[41], 145)
    t[36] = join(*(x * 50 // 100 + y * 40 // 100 + z * 10 // 100
                   for x, y, z in zip(split(t[30]), split(window), split(highlight))))
    m = max(split(face))
    t[48] = 0x232323 if m == 0 else join(*(v * (m + min(255 - m, 35)) // m for v in split(face)))
    if face == 0:
        t[49] = 0x7F7F7F
    else:
        m = max(split(shadow))
        t[49] = 0 if m == 0 else join(*(v * max(m - 43, 0) // m for v in split(shadow)))
    t[34] = join(*(v * 3 // 4 for v in split(t[31])))
    return t


def check_crc():
    blocks = 0
    for line in oxtest.run("toolkit_reference_dump", "crc").splitlines():
        words = line.split()
        if not words or words[0] != "crc":
            continue
        length, data, value = int(words[1]), words[2], words[3]
        raw = b"" if data == "-" else bytes.fromhex(data)
        oxtest.check(f"length of block {blocks}", length, len(raw))
        oxtest.check(f"crc of {length} bytes", f"{zlib.crc32(raw) & 0xFFFFFFFF:08x}", value)
        oxtest.check(f"crc of {length} bytes in two calls", 4, len(words))
        blocks += 1
    oxtest.check("blocks printed", 7, blocks)


def main():
    check_crc()
    out = oxtest.run("toolkit_reference_dump", "colors")
    lines = out.splitlines()
    schemes = 0
    i = 0
    while i < len(lines):
        if not lines[i].startswith("scheme "):
            i += 1
            continue
        _, name, bits = lines[i].split()
        sys_colors = [int(v, 16) for v in lines[i + 1].split()[1:]]
        before = [int(v, 16) for v in lines[i + 2].split()[1:]]
        actual = [int(v, 16) for v in lines[i + 3].split()[1:]]
        expected = table_for(sys_colors, int(bits), before)
        for k, (e, a) in enumerate(zip(expected, actual)):
            oxtest.check(f"{name} entry {k}", f"{e:06x}", f"{a:06x}")
        schemes += 1
        i += 4
    oxtest.check("schemes printed", 5, schemes)
    sys.exit(oxtest.report())


if __name__ == "__main__":
    main()
