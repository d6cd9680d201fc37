#!/usr/bin/python3
"""Wildcard seek next to SQLite, in one run on the same rows.

    bash tools/bench.sh bench_wildcard
    (or: OX_BIN=build/bin OX_WINE=/usr/lib/wine/wine64 /usr/bin/python3 bench/bench_wildcard.py [folder])

Runs bench_wildcard.exe under Wine, which makes (once) a table of 1,000,000 names and its index in
the folder and walks the index with db_seek_wild for patterns that match no key (compared: the walks
with the index pages in the cache, as SQLite's table is in memory). Then the same rows
(read from that table) go into an SQLite table with an index on the name (Python's sqlite3 module,
Debian's /usr/bin/python3; loading is not timed), and the same patterns run as GLOB and as LIKE
(case-sensitive, as the wildcard seek is) in the form that also stops at the first match in key
order: SELECT rowid ... WHERE name GLOB ? ORDER BY name LIMIT 1. The wildcard seek's pattern end is
open, so GLOB gets a '*' and LIKE a '%' appended. Printed: keys per second of each side and the
ratio (wildcard seek / SQLite).
"""
import os
import re
import sqlite3
import struct
import subprocess
import sys
import tempfile
import time


def wine_command(program, *args):
    wine = [w for w in os.environ.get("OX_WINE", "/usr/lib/wine/wine64").split(";") if w]
    return wine + [os.path.join(os.environ["OX_BIN"], program + ".exe")] + list(args)


def winpath(path):
    return "Z:" + path.replace("/", "\\")


def read_names(path):
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    return [data[header_length + n * record_length + 1:header_length + (n + 1) * record_length].decode("ascii")
            for n in range(count)]


def sqlite_rate(db, sql, pattern, count):
    start = time.perf_counter()
    row = db.execute(sql, (pattern,)).fetchone()
    seconds = time.perf_counter() - start
    if row is not None:
        print("  unexpected SQLite match: %r" % (row,))
    return count / seconds, seconds


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(tempfile.gettempdir(), "ox_wildcard_bench")
    os.makedirs(folder, exist_ok=True)
    done = subprocess.run(wine_command("bench_wildcard", winpath(folder)), stdout=subprocess.PIPE)
    output = done.stdout.decode("latin-1")
    walks = []
    for line in output.splitlines():
        m = re.match(r"walk (\S+) (\S+) (\d+) ([0-9.]+)$", line.strip())
        if m:
            walks.append((m.group(1), m.group(2), int(m.group(3)), float(m.group(4))))
        else:
            print(line)
    if done.returncode != 0 or not walks:
        print("bench_wildcard failed (%d)" % done.returncode)
        return 1

    names = read_names(os.path.join(folder, "wild_1m.dbf"))
    db = sqlite3.connect(":memory:")
    db.execute("CREATE TABLE t (name TEXT)")
    db.executemany("INSERT INTO t VALUES (?)", ((n,) for n in names))
    db.execute("CREATE INDEX ix ON t (name)")
    db.execute("PRAGMA case_sensitive_like = ON")
    db.commit()
    print("SQLite %s, %d rows, the same patterns:" % (sqlite3.sqlite_version, len(names)))
    glob = "SELECT rowid FROM t WHERE name GLOB ? ORDER BY name LIMIT 1"
    like = "SELECT rowid FROM t WHERE name LIKE ? ORDER BY name LIMIT 1"
    for label, pattern, count, seconds in walks:
        ours = count / seconds
        glob_rate, _ = sqlite_rate(db, glob, pattern + "*", len(names))
        like_pattern = pattern.replace("%", "").replace("_", "").replace("*", "%").replace("?", "_") + "%"
        like_rate, _ = sqlite_rate(db, like, like_pattern, len(names))
        print("  %-26s %-20s seek %10.0f keys/s | GLOB %10.0f rows/s (ratio %.2f) | LIKE %10.0f rows/s (ratio %.2f)"
              % (label, pattern, ours, glob_rate, ours / glob_rate, like_rate, ours / like_rate))
    return 0


if __name__ == "__main__":
    sys.exit(main())
