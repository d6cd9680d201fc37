#!/usr/bin/python3
"""Tables of the engine against independent DBF readers and writers from Debian.

1. The Windows program engine_dbf_probe.exe creates a table with C, N (with decimals), D, L and
   M fields through db_define_* and fills its records through db_blank and db_replace. The
   header bytes are checked here, and python3-dbfread, python3-dbf and Perl's XBase module
   (libdbd-xbase-perl) must read the same descriptors, the same deleted flags and the values
   that the engine's conversion rules give.
2. python3-dbf and Perl's XBase module write tables (with a memo field and a deleted record);
   the engine opens them and must report the same descriptors and, for every record, the
   deleted flag and the field contents as stored (dbfread's raw bytes; logical fields read as
   "T" for 'T' or '1' and "F" otherwise). Memo texts themselves are not read here.
Table text is OEM: code page 850.
"""
import datetime
import os
import subprocess
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, check_list, winpath

FIELDS = [("NAME", "C", 20, 0), ("AMOUNT", "N", 8, 2), ("COUNT", "N", 5, 0), ("BORN", "D", 8, 0),
          ("FLAG", "L", 1, 0), ("NOTE", "M", 10, 0)]
BLANK_MEMO = " " * 10

# (deleted, the texts given to db_replace, the values a reader must see)
ENGINE_ROWS = [
    (False, ["M\u00fcller", "1234.5", "-42", "20240517", "T", BLANK_MEMO],
     ["M\u00fcller", 1234.5, -42, datetime.date(2024, 5, 17), True]),
    (False, ["Huber", "0", "7", "        ", "F", BLANK_MEMO], ["Huber", 0.0, 7, None, False]),
    (True, ["Gel\u00f6scht", "3.14159", "123456", "19991231", "1", BLANK_MEMO],
     ["Gel\u00f6scht", 3.14, 12345, datetime.date(1999, 12, 31), True]),
    (False, ["", "-0.5", "abc", "20000229", "t", BLANK_MEMO], ["", -0.5, 0, datetime.date(2000, 2, 29), False]),
]

def probe(*args, stdin=None):
    return oxtest.run("engine_dbf_probe", *args, stdin=stdin, timeout=120)


def hexed(text):
    return text.encode("cp850").hex() or "-"


def engine_creates(folder):
    path = os.path.join(folder, "engine.dbf")
    stdin = ";".join("%s %s %d %d" % f for f in FIELDS) + "\n"
    for deleted, texts, _ in ENGINE_ROWS:
        stdin += "%d %s\n" % (deleted, " ".join(hexed(t) for t in texts))
    probe("create", winpath(path), "0", stdin=stdin.encode())

    image = open(path, "rb").read()
    record_length = 1 + sum(f[2] for f in FIELDS)
    header_length = 32 * (len(FIELDS) + 1) + 2
    today = datetime.datetime.now(datetime.timezone.utc).date()
    check("version byte", 0x83, image[0])
    check("date bytes", True, tuple(image[1:4]) in {(d.year - 1900, d.month, d.day)
                                                     for d in (today, today - datetime.timedelta(days=1))})
    check("record count", len(ENGINE_ROWS), int.from_bytes(image[4:8], "little"))
    check("header length", header_length, int.from_bytes(image[8:10], "little"))
    check("record length", record_length, int.from_bytes(image[10:12], "little"))
    check("charset mark", 2, image[31])
    check("terminator", b"\x0d\x1a", image[header_length - 2:header_length])
    check("file size", header_length + len(ENGINE_ROWS) * record_length, len(image))
    memo = open(os.path.join(folder, "engine.dbt"), "rb").read()
    check("memo file", (512, 1, 0x0102, 512),
          (len(memo), int.from_bytes(memo[0:4], "little"), int.from_bytes(memo[18:20], "little"),
           int.from_bytes(memo[20:22], "little")))

    # python3-dbfread
    table = dbfread.DBF(path, encoding="cp850", load=True)
    check("dbfread descriptors", FIELDS, [(f.name, f.type, f.length, f.decimal_count) for f in table.fields])
    live = [values for deleted, _, values in ENGINE_ROWS if not deleted]
    gone = [values for deleted, _, values in ENGINE_ROWS if deleted]
    check("dbfread records", live, [[r[f[0]] for f in FIELDS[:5]] for r in table.records])
    check("dbfread deleted records", gone, [[r[f[0]] for f in FIELDS[:5]] for r in table.deleted])
    check("dbfread empty memos", [None] * len(ENGINE_ROWS),
          [r["NOTE"] for r in list(table.records) + list(table.deleted)])

    # python3-dbf
    table = dbf.Table(path, codepage="cp850")
    table.open(dbf.READ_ONLY)
    check("dbf descriptors", FIELDS,
          [(name.upper(), chr(table.field_info(name)[0]), table.field_info(name)[1], table.field_info(name)[2])
           for name in table.field_names])
    for i, (deleted, _, values) in enumerate(ENGINE_ROWS):
        record = table[i]
        check("dbf deleted flag of record %d" % (i + 1), deleted, dbf.is_deleted(record))
        got = [record[f[0].lower()] for f in FIELDS[:5]]
        got[0] = got[0].rstrip()
        got[3] = got[3] if got[3] else None
        check("dbf record %d" % (i + 1), values, got)
    table.close()

    # Perl's XBase module
    script = r'''
use strict; use XBase;
my $t = XBase->new($ARGV[0]) or die XBase->errstr;
my @n = $t->field_names; my @y = $t->field_types; my @l = $t->field_lengths; my @d = $t->field_decimals;
print "field $n[$_] $y[$_] $l[$_] $d[$_]\n" for 0 .. $#n;
for my $i (0 .. $t->last_record) {
    my @v = $t->get_record($i);
    print "record ", join("\t", map { defined $_ ? $_ : "undef" } @v), "\n";
}
'''
    out = subprocess.run(["perl", "-e", script, path], stdout=subprocess.PIPE, check=True, timeout=60).stdout
    lines = out.decode("cp850").splitlines()
    check("XBase descriptors", ["field %s %s %d %d" % f for f in FIELDS], [l for l in lines if l.startswith("field")])
    records = [l[len("record "):].split("\t") for l in lines if l.startswith("record")]
    expected = []
    for deleted, _, values in ENGINE_ROWS:
        name, amount, count, born, flag = values
        expected.append(["1" if deleted else "0", name, "%g" % amount, str(count),
                         born.strftime("%Y%m%d") if born else "undef", "1" if flag else "0"])
    check("XBase records", expected, [r[:6] for r in records])


def engine_reads(path, what):
    """The engine's dump of a table against dbfread's raw reading of it."""
    lines = probe("dump", winpath(path), "1").splitlines()
    reference = dbfread.DBF(path, raw=True, load=True)
    fields = [(f.name, f.type, f.length, f.decimal_count) for f in reference.fields]
    check(what + ": descriptors", ["field %s %s %d %d" % f for f in fields], [l for l in lines if l.startswith("field")])
    image = open(path, "rb").read()
    table = lines[0].split()
    check(what + ": header values",
          ["%02x" % image[0], str(int.from_bytes(image[8:10], "little")), str(int.from_bytes(image[10:12], "little")),
           str(len(reference.records) + len(reference.deleted))], table[1:5])
    # dbfread gives the live records and the deleted ones apart: put them back in file order.
    stored = []
    record_length = int.from_bytes(image[10:12], "little")
    header_length = int.from_bytes(image[8:10], "little")
    live, gone = iter(reference.records), iter(reference.deleted)
    for n in range(len(reference.records) + len(reference.deleted)):
        deleted = image[header_length + n * record_length] == ord("*")
        stored.append((deleted, next(gone) if deleted else next(live)))
    records = [l.split()[2:] for l in lines if l.startswith("record")]
    check(what + ": record count", len(stored), len(records))
    for n, ((deleted, raw), got) in enumerate(zip(stored, records)):
        expected = ["1" if deleted else "0"]
        for name, ftype, _, _ in fields:
            value = raw[name]
            if ftype == "L":
                value = b"T" if value in (b"T", b"1") else b"F"
            expected.append(value.hex() or "-")
        check("%s: record %d" % (what, n + 1), expected, got)


def readers_write(folder):
    path = os.path.join(folder, "pydbf.dbf")
    table = dbf.Table(path, "NAME C(20); AMOUNT N(8,2); COUNT N(5,0); BORN D; FLAG L; NOTE M", dbf_type="db3",
                      codepage="cp850")
    table.open(dbf.READ_WRITE)
    table.append(("M\u00fcller", 1234.5, -42, datetime.date(2024, 5, 17), True, "a memo text"))
    table.append(("Huber", 0, 7, None, False, ""))
    table.append(("Gel\u00f6scht", 3.25, 1, datetime.date(1999, 12, 31), None, "x"))
    dbf.delete(table[2])
    table.close()
    engine_reads(path, "python3-dbf table")

    path = os.path.join(folder, "perl.dbf")
    script = r'''
use strict; use XBase;
my $t = XBase->create(name => $ARGV[0], field_names => ["NAME","AMOUNT","COUNT","BORN","FLAG","NOTE"],
    field_types => ["C","N","N","D","L","M"], field_lengths => [20,8,5,8,1,10],
    field_decimals => [0,2,0,0,0,0]) or die XBase->errstr;
$t->set_record(0, "Perl", 12.5, -3, "20240517", 1, "memo from perl") or die $t->errstr;
$t->set_record(1, "Zwei", 0, 99999, "", 0, "") or die $t->errstr;
$t->set_record(2, "Drei", 1.239, 5, "19000101", undef, "m") or die $t->errstr;
$t->delete_record(2);
$t->close;
'''
    subprocess.run(["perl", "-e", script, path], check=True, timeout=60)
    engine_reads(path, "XBase table")


def main():
    with tempfile.TemporaryDirectory(prefix="dbfinterop") as folder:
        try:
            engine_creates(folder)
            readers_write(folder)
        except Exception as e:
            oxtest.fail("%s: %s" % (type(e).__name__, e))
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
