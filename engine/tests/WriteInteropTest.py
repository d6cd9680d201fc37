#!/usr/bin/python3
"""Shared writing and memo files of the engine against independent readers and writers.

1. Five Wine processes (engine_write_probe append) append to one shared table, made by
   python3-dbf, at the same time. Every record must be there exactly once, the record numbers
   the processes were given must be 1..N without gaps or doubles, each record must hold what the
   process that got its number wrote there, the header must count N records and the file must end
   right behind the last one; python3-dbfread and Perl's XBase module must read all N.
2. The engine writes memos (new ones, then rewrites: shorter, longer, empty) in both memo styles:
   terminator memos (dBase III, read by python3-dbfread) and dBase 4 memos in whole blocks
   (read by Perl's XBase::Memo, whose dBase IV reader takes the 8-byte block header as written).
3. python3-dbf writes a table with memos; the engine reads them (db_memo_read).
Table text is OEM: code page 850.
"""
import os
import subprocess
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, check_list, winpath

WRITERS = 5
APPENDS = 200

def probe_command(*args):
    return oxtest.command("engine_write_probe", *args)


def probe(*args, stdin=None):
    return oxtest.run("engine_write_probe", *args, stdin=stdin)


def concurrent_appends(folder):
    path = os.path.join(folder, "shared.dbf")
    table = dbf.Table(path, "WRITER N(2,0); SEQ N(5,0); TEXT C(30)", dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    table.close()

    start = os.path.join(folder, "start")
    runs = [subprocess.Popen(probe_command("append", winpath(path), str(w), str(APPENDS), winpath(start)),
                             stdout=subprocess.PIPE) for w in range(1, WRITERS + 1)]
    # Every writer has the table open before any of them appends.
    for w, run in enumerate(runs, 1):
        check("writer %d ready" % w, b"ready", run.stdout.readline().strip())
    open(start, "w").close()
    given = {}
    for w, run in enumerate(runs, 1):
        out, _ = run.communicate(timeout=300)
        check("writer %d exit code" % w, 0, run.returncode)
        for line in out.decode("latin-1").splitlines():
            words = line.split()
            if words[0] != "rec":
                oxtest.fail("writer %d: %s" % (w, line))
                continue
            writer, seq, recno = int(words[1]), int(words[2]), int(words[3])
            check("record number %d given once" % recno, False, recno in given)
            given[recno] = (writer, seq)
    total = WRITERS * APPENDS
    check("record numbers given", list(range(1, total + 1)), sorted(given))
    for w in range(1, WRITERS + 1):
        mine = sorted((seq, recno) for recno, (writer, seq) in given.items() if writer == w)
        check("writer %d appended in order" % w, sorted(recno for _, recno in mine), [recno for _, recno in mine])

    image = open(path, "rb").read()
    header_length = int.from_bytes(image[8:10], "little")
    record_length = int.from_bytes(image[10:12], "little")
    check("header count", total, int.from_bytes(image[4:8], "little"))
    check("file size", header_length + total * record_length, len(image))

    records = list(dbfread.DBF(path, encoding="cp850", load=True).records)
    check("dbfread record count", total, len(records))
    stored = [(r["WRITER"], r["SEQ"]) for r in records]
    check("every (writer, row) exactly once", sorted((w, s) for w in range(1, WRITERS + 1)
                                                     for s in range(1, APPENDS + 1)), sorted(stored))
    check("each record holds what its writer put there", [given[n] for n in range(1, total + 1)], stored)
    check("texts", ["writer %d row %d" % pair for pair in stored], [r["TEXT"] for r in records])

    script = r'''
use strict; use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
my $n = 0;
for my $i (0 .. $t->last_record) { my @v = $t->get_record($i); $n++ if defined $v[0] && !$v[0]; }
print "$n\n";
'''
    out = subprocess.run(["perl", "-e", script, path], stdout=subprocess.PIPE, check=True, timeout=60).stdout
    check("XBase reads every record", str(total), out.decode().strip())


# Memo texts around the block boundaries and beyond (code page 850 in the files).
TEXTS = {
    "empty": "",
    "one": "a",
    "504": "b" * 504,
    "505": "c" * 505,
    "511": "d" * 511,
    "512": "e" * 512,
    "513": "f" * 513,
    "lines": "Zeile eins\r\nZeile zwei mit \u00c4rger und M\u00fcller\r\n" * 40,
    "big": "".join(chr(65 + i % 26) for i in range(100000)),
}


def memo_round_trip(folder, options, style):
    path = os.path.join(folder, "memo%d.dbf" % options)
    t = TEXTS
    order = ["one", "504", "505", "511", "512", "513", "lines", "big", "empty"]
    final = [t[k] for k in order]
    script = ["new %s" % (t[k].encode("cp850").hex() or "-") for k in order]
    # Rewrites: shorter, longer, empty, and a text for the empty one.
    rewrites = [(2, "x" * 10), (1, "y" * 3000), (8, ""), (9, "z" * 700), (3, "w" * 505), (7, "v" * 40000)]
    for recno, text in rewrites:
        script.append("set %d %s" % (recno, text.encode("cp850").hex() or "-"))
        final[recno - 1] = text
    out = probe("memo-write", winpath(path), str(options), stdin=("\n".join(script) + "\n").encode())
    refs = [l.split(" ", 2)[2] for l in out.splitlines() if l.startswith("ref ")]
    check("%s: records" % style, len(final), len(refs))

    if options == 0:
        records = list(dbfread.DBF(path, encoding="cp850", load=True).records)
        check("%s: dbfread memos" % style, [f if f else None for f in final], [r["NOTE"] for r in records])
        return
    blocks = [int(r) if r.strip() else 0 for r in refs]
    check("%s: references zero-padded" % style, [], [r for r in refs if r.strip() and not r.isdigit()])
    perl = r'''
use strict; use XBase::Memo;
my $m = XBase::Memo->new(name => $ARGV[0], dbf_version => 4) or die XBase::Memo->errstr;
die "not read as dBase IV memos" unless ref $m eq 'XBase::Memo::dBaseIV';
for my $b (@ARGV[1 .. $#ARGV]) {
    if ($b == 0) { print "-\n"; next; }
    my $t = $m->read_record($b - 1);
    print defined $t ? (length $t ? unpack("H*", $t) : "-") : "undef", "\n";
}
'''
    dbt = os.path.join(folder, "memo%d.dbt" % options)
    out = subprocess.run(["perl", "-e", perl, dbt] + [str(b) for b in blocks], stdout=subprocess.PIPE, check=True,
                         timeout=60).stdout.decode()
    check("%s: XBase memos" % style, [f.encode("cp850").hex() or "-" for f in final], out.split())


def engine_reads_dbf_memos(folder):
    path = os.path.join(folder, "pydbf.dbf")
    t = TEXTS
    written = [t["one"], t["504"], "", t["513"], t["lines"], t["big"]]
    table = dbf.Table(path, "ID N(4,0); NOTE M", dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for i, text in enumerate(written, 1):
        table.append((i, text))
    table.close()
    out = probe("memo-read", winpath(path), "0")
    got = [l.split(" ", 2)[2] for l in out.splitlines() if l.startswith("memo ")]
    check("engine reads python3-dbf memos", [w.encode("cp850").hex() or "-" for w in written], got)


def main():
    with tempfile.TemporaryDirectory(prefix="writeinterop") as folder:
        for step in (lambda: concurrent_appends(folder), lambda: memo_round_trip(folder, 0, "terminator memos"),
                     lambda: memo_round_trip(folder, 1, "dBase 4 memos"), lambda: engine_reads_dbf_memos(folder)):
            try:
                step()
            except Exception as e:
                oxtest.fail("%s: %s" % (type(e).__name__, e))
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
