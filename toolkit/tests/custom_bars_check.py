#!/usr/bin/env python3
"""The value "CustomBars-Info" as the customize manager writes and reads it, seen through the
system's registry tool: CRC-32 envelope, header and records recomputed with zlib and struct; the
bars a fresh frame creates from it; damaged and foreign values."""
import os
import re
import struct
import subprocess
import sys
import zlib

import oxtest

KEY = "OxCustomBarsCheck-%d" % os.getpid()
SECTION = "HKCU\\Software\\%s\\ToolkitProbe\\BarStates3" % KEY
LONG_TITLE = "".join(chr(ord("A") + i % 26) for i in range(300))


def reg(*args):
    done = subprocess.run(oxtest.wine() + ["reg"] + list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return done.returncode, done.stdout.decode("latin-1")


def stored_value():
    """The bytes of the value, or None when it is missing."""
    code, out = reg("query", SECTION, "/v", "CustomBars-Info")
    if code != 0:
        return None
    m = re.search(r"CustomBars-Info\s+REG_BINARY\s+([0-9A-Fa-f]*)", out)
    if not m:
        oxtest.fail("no binary value in: " + out)
        return None
    return bytes.fromhex(m.group(1))


def probe(*args):
    return oxtest.run("toolkit_custom_bars_probe", KEY, *args)


def archive_string(text):
    raw = text.encode("cp1252")
    if len(raw) < 255:
        return bytes([len(raw)]) + raw
    return b"\xff" + struct.pack("<H", len(raw)) + raw


def envelope(payload, crc=None):
    return struct.pack("<I", zlib.crc32(payload) & 0xFFFFFFFF if crc is None else crc) + payload


def records(*bars):
    return b"".join(struct.pack("<I", i) + archive_string(t) for i, t in bars)


def load_with(value):
    """Stores the value, loads it into a frame that has bar 0xE801; (created ids, result)."""
    reg("add", SECTION, "/v", "CustomBars-Info", "/t", "REG_BINARY", "/d", value.hex().upper(), "/f")
    out = probe("load")
    created = [int(line.split()[1]) for line in out.splitlines() if line.startswith("create ")]
    result = [line.split()[1] for line in out.splitlines() if line.startswith("result ")]
    return created, result[0] if result else None, out


def main():
    try:
        # three user-defined bars: header and records
        probe("save", "three")
        value = stored_value()
        if value is None:
            oxtest.fail("save of three bars wrote no value")
        else:
            oxtest.check("crc of the payload", struct.unpack_from("<I", value, 0)[0], zlib.crc32(value[4:]) & 0xFFFFFFFF)
            oxtest.check("version and count", (1, 3), struct.unpack_from("<II", value, 4))
            expected = records((0xE800, "Meine Leiste"), (0xE801, LONG_TITLE), (0xE802, "Ansicht \xe4\xf6\xfc"))
            oxtest.check("records", expected.hex(), value[12:].hex())
            oxtest.check("length", 12 + 4 + 13 + 4 + 3 + 300 + 4 + 12, len(value))

        # a fresh frame with bar 0xE801 creates exactly the two missing bars
        out = probe("load")
        oxtest.check("bars created on load", ["create 59392 12 Meine Leiste", "create 59394 11 Ansicht \xe4\xf6\xfc"],
                     [line for line in out.splitlines() if line.startswith("create ")])
        oxtest.check("load result", True, "result 1" in out)

        # no user-defined bar: the value goes
        probe("save", "none")
        oxtest.check("value after saving no bar", None, stored_value())

        good = struct.pack("<II", 1, 2) + records((0xE800, "Eins"), (0xE802, "Zwei"))
        cases = [
            # name, value, created, result
            ("three bytes", b"\x01\x02\x03", [], "0"),
            ("wrong crc", envelope(good, crc=(zlib.crc32(good) ^ 1) & 0xFFFFFFFF), [], "0"),
            ("version 2", envelope(struct.pack("<II", 2, 2) + good[8:]), [], "0"),
            ("count beyond the records", envelope(struct.pack("<II", 1, 5) + good[8:]), [0xE800, 0xE802], "0"),
            ("huge count without records", envelope(struct.pack("<II", 1, 0xFFFFFFFF)), [], "0"),
            ("truncated title", envelope(struct.pack("<II", 1, 2) + records((0xE800, "Eins")) +
                                         struct.pack("<I", 0xE805) + b"\x0aABC"), [0xE800], "0"),
            ("huge title length", envelope(struct.pack("<II", 1, 1) + struct.pack("<I", 0xE800) +
                                           b"\xff\xff\xff\xff\xff\xff\x7f" + b"AB"), [], "0"),
            ("ids outside the user range", envelope(struct.pack("<II", 1, 5) + records(
                (0xE900, "Splitter"), (0xE7FF, "Darunter"), (0xE8FF, "Darueber"), (0xE8FE, "Letzte"), (0xE801, "Da"))),
             [0xE8FE], "1"),
            ("the same id twice", envelope(struct.pack("<II", 1, 2) + records((0xE800, "A"), (0xE800, "B"))),
             [0xE800], "1"),
            ("no bars", envelope(struct.pack("<II", 1, 0)), [], "1"),
        ]
        for name, value, created, result in cases:
            got_created, got_result, out = load_with(value)
            oxtest.check(name + ": bars created", created, got_created)
            oxtest.check(name + ": result", result, got_result)
    finally:
        reg("delete", "HKCU\\Software\\" + KEY, "/f")
    sys.exit(oxtest.report())


if __name__ == "__main__":
    main()
