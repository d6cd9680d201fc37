#!/usr/bin/python3
"""The engine next to SQLite on exclusive and shared tables, then the engine's system calls per
appended row and per seek.

    bash tools/bench.sh bench_exclusive
    (or, in a Wine session: OX_BIN=build/bin OX_WINE=/usr/lib/wine/wine64 /usr/bin/python3 bench/bench_exclusive.py)

First bench_exclusive.exe prints its comparison (see bench/ExclusiveBench.cpp). Then, when strace
is there, the engine's exclusive load and its seeks run under strace twice each, with two
different counts of rows (seeks), and the difference of the calls divided by the difference of the
counts gives the calls per row (seek): on the table, memo and index files the seeks (lseek), reads
(read, pread64) and writes (write, pwrite64), and the requests to the Wine server (writes on its
request pipe). Fixed costs (start, opening, closing) fall out of the difference.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile


def wine_command(*args):
    wine = [w for w in os.environ.get("OX_WINE", "/usr/lib/wine/wine64").split(";") if w]
    return wine + [os.path.join(os.environ["OX_BIN"], "bench_exclusive.exe")] + list(args)


def winpath(path):
    return "Z:" + path.replace("/", "\\")


LINE = re.compile(r"^\d+\s+(\w+)\((\d+)<([^>]*)>")
TABLE_FILE = re.compile(r"\.(dbf|dbt|ntx)$", re.IGNORECASE)


def count_calls(folder, what, n):
    """Calls of the engine on its files and requests to the Wine server for one run."""
    trace = os.path.join(folder, "strace.txt")
    command = ["strace", "-f", "-y", "-qq", "-o", trace,
               "-e", "trace=read,write,pread64,pwrite64,lseek,readv,writev"] + \
        wine_command("count", what, str(n), winpath(folder))
    done = subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if done.returncode != 0:
        raise RuntimeError("bench_exclusive count %s %d failed (%d)" % (what, n, done.returncode))
    counts = {"seek": 0, "read": 0, "write": 0, "server": 0}
    with open(trace, errors="replace") as f:
        for line in f:
            m = LINE.match(line)
            if not m:
                continue
            call, target = m.group(1), m.group(3)
            if TABLE_FILE.search(target):
                if call == "lseek":
                    counts["seek"] += 1
                elif call in ("read", "pread64", "readv"):
                    counts["read"] += 1
                elif call in ("write", "pwrite64", "writev"):
                    counts["write"] += 1
            elif target.startswith("pipe:") and call in ("write", "writev"):
                counts["server"] += 1
    os.remove(trace)
    return counts


def per_unit(folder, what, small, large):
    a = count_calls(folder, what, small)
    b = count_calls(folder, what, large)
    return {k: (b[k] - a[k]) / float(large - small) for k in a}


def show(label, calls):
    print("  %-22s %5.2f seeks  %5.2f reads  %5.2f writes  %5.2f server requests" %
          (label, calls["seek"], calls["read"], calls["write"], calls["server"]))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(tempfile.gettempdir(), "ox_exclusive_bench")
    os.makedirs(folder, exist_ok=True)
    done = subprocess.run(wine_command(winpath(folder)))
    if done.returncode != 0:
        print("bench_exclusive failed (%d)" % done.returncode)
        return 1
    if not shutil.which("strace"):
        print("strace is not installed: no system-call counts")
        return 0
    print("system calls of the engine (strace; differences of two runs):")
    show("per appended row", per_unit(folder, "load", 2000, 12000))
    show("per seek (+field read)", per_unit(folder, "seek", 0, 10000))
    return 0


if __name__ == "__main__":
    sys.exit(main())
