#!/usr/bin/python3
"""The two indexes of the program's schedule table, built and kept by the engine, against an
independent reader, Perl's XBase::Index (Debian's libdbd-xbase-perl).

1. python3-dbf writes a schedule table of 10,000 generated rows (34 fields, memo file, OEM text
   with umlauts, empty dates, negative times). engine_index_probe builds the record-id index
   (RECORDID, unique, numeric) and the 226-character composite key with db_index_on.
2. Perl walks both files; the keys and record numbers must equal the lists computed here from the
   table's records: the record ids in ascending order, and the composite key as the program
   defines it (upper case in code page 850, dates as CCYYMMDD or 99999999 when empty), sorted by
   its bytes; equal keys by record number.
3. The probe opens the table shared with both indexes and writes 600 random changes of key
   fields, then appends 100 rows. The table is read back here (the records must hold what was
   written) and Perl's walks must equal the lists computed from it again.
4. The probe seeks record ids, present and absent ones; the answers must be the record numbers
   of the rows that hold them.
"""
import datetime
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

import dbf

import oxtest
from oxtest import check, check_list, winpath

ROWS = 10000
WRITES = 600
APPENDS = 100

FIELDS = [
    ("ERF_USER", "C", 20), ("ERF_DAT", "D", 8), ("L_USER", "C", 20), ("L_DAT", "D", 8), ("RECORDID", "N", 10),
    ("FOOTPRINT", "N", 4), ("USER", "C", 20), ("NOTIZEN", "M", 10), ("BETREFF", "C", 140), ("ORT", "C", 100),
    ("WITH", "C", 100), ("APP_ID", "C", 8), ("DB_RECID", "N", 10), ("DB_PATH", "C", 255), ("APP_DAT1", "M", 10),
    ("APP_DAT2", "M", 10), ("KATEGORIE", "C", 30), ("MOVERECID", "N", 10), ("PRIVAT", "C", 1), ("SERIE", "C", 1),
    ("STATUS", "C", 1), ("TYPE", "C", 2), ("PRIO", "C", 1), ("REMIND", "C", 1), ("PERCDONE", "N", 3),
    ("TODOSTAT", "C", 1), ("FLAGS", "C", 10), ("D_FIRST_OC", "D", 8), ("D_LAST_OC", "D", 8), ("D_NEXT_OC", "D", 8),
    ("T_BEGIN", "N", 4), ("T_END", "N", 4), ("T_REMSPAN", "N", 7), ("TERMIN", "C", 180),
]
WIDTH = {name: length for name, _, length in FIELDS}
KEY_SIZE = 226

USERS = ["MEIER", "M\u00fcller", "huber", "Schmidt", "\u00d6zt\u00fcrk", "B\u00e4cker Gro\u00df", "weber", ""]
WORDS = ["Termin", "Besprechung", "\u00e4rztliche", "Kontrolle", "Projekt", "Abnahme", "Urlaub", "r\u00fcckruf",
         "Kunde", "M\u00fcnchen", "Z\u00fcrich", "Stra\u00dfe"]

def probe(*args):
    run = subprocess.run(oxtest.command("engine_index_probe", *args), stdout=subprocess.PIPE, timeout=600)
    out = run.stdout.decode("latin-1")
    if run.returncode != 0 or not out.rstrip().endswith("ok"):
        raise RuntimeError("probe %s failed (%d): %s" % (args[0], run.returncode, out[-400:]))
    return out.splitlines()[:-1]


PERL_WALK = r"""
use XBase::Index;
my ($file, $type) = @ARGV;
my $index = new XBase::Index $file, type => $type or die XBase::Index->errstr;
$index->prepare_select;
while (my ($key, $recno) = $index->fetch) {
    print(($type eq "C" ? unpack("H*", $key) : $key), " $recno\n");
}
"""


def perl_walk(path, key_type):
    # XBase::Index tells the format by the extension: the program's .nt0/.nt1 files are read as
    # a copy named .ntx.
    copy = path + ".ntx"
    shutil.copyfile(path, copy)
    run = subprocess.run(["perl", "-e", PERL_WALK, copy, key_type], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=600)
    if run.returncode != 0:
        raise RuntimeError("perl failed: %s" % run.stderr.decode("latin-1"))
    walked = []
    for line in run.stdout.decode("latin-1").splitlines():
        key, recno = line.split()
        walked.append((bytes.fromhex(key) if key_type == "C" else int(round(float(key))), int(recno)))
    return walked


# ---- rows ---------------------------------------------------------------------------------------

def random_date(rng, empty_share):
    if rng.random() < empty_share:
        return None
    return datetime.date(2018, 1, 1) + datetime.timedelta(days=rng.randrange(3000))


def random_text(rng, width, words):
    text = " ".join(rng.choice(WORDS) for _ in range(words))
    return text[:width]


def random_path(rng):
    parts = ["C:", "Daten", "Kunden", rng.choice(WORDS), "Akte%05d" % rng.randrange(100000)]
    path = "\\".join(parts[: rng.randrange(2, len(parts) + 1)])
    return (path * rng.randrange(1, 6))[: rng.randrange(0, 220)]


def key_values(rng, ids):
    """Random values of the fields of both keys."""
    rid = rng.randrange(1, 2147483647)
    while rid in ids:
        rid = rng.randrange(1, 2147483647)
    ids.add(rid)
    return {
        "RECORDID": rid,
        "USER": rng.choice(USERS),
        "D_FIRST_OC": random_date(rng, 0.05),
        "T_BEGIN": rng.randrange(-1, 1440),
        "TYPE": rng.choice(["AF", "AD", "AW", "AM", "AY", "TD"]),
        "PRIO": rng.choice(["1", "2", "3", ""]),
        "APP_ID": rng.choice(["", "OUTLOOK", "crm01", "Fibu\u00e4"]),
        "DB_RECID": rng.choice([0, rng.randrange(1, 9999999999)]),
        "TODOSTAT": rng.choice(["", "0", "1"]),
        "STATUS": rng.choice(["", "C", "D", "N"]),
        "D_LAST_OC": random_date(rng, 0.3),
        "PRIVAT": rng.choice(["0", "1"]),
        "SERIE": rng.choice(["0", "1"]),
        "BETREFF": random_text(rng, 140, rng.randrange(0, 12)),
        "WITH": random_text(rng, 100, rng.randrange(0, 4)),
        "REMIND": rng.choice(["0", "1"]),
        "DB_PATH": random_path(rng),
    }


def make_table(path, rng, ids):
    def field_text(name, kind, length):
        if kind in "MD":
            return "%s %s" % (name, kind)
        return "%s %s(%d%s)" % (name, kind, length, ",0" if kind == "N" else "")

    fields = "; ".join(field_text(*field) for field in FIELDS)
    # python3-dbf names its files .dbf and .dbt; the schedule table is renamed to its own name.
    made = os.path.splitext(path)[0] + ".dbf"
    table = dbf.Table(made, fields, dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for _ in range(ROWS):
        values = key_values(rng, ids)
        values.update({"ERF_USER": rng.choice(USERS), "ERF_DAT": random_date(rng, 0.1), "FOOTPRINT": 1,
                       "NOTIZEN": rng.choice(["", "Notiz \u00fcber den Termin"]), "T_END": rng.randrange(-1, 1440),
                       "T_REMSPAN": 15, "TERMIN": "0" * 160})
        table.append({name.lower(): value for name, value in values.items()})
    table.close()
    os.rename(made, path)


# ---- the records and the keys, computed from the table file ------------------------------------

def read_records(path):
    """The raw bytes of every field of every record, read by the DBF layout."""
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    fields = []
    offset = 1
    for at in range(32, header_length - 1, 32):
        if data[at] == 0x0D:
            break
        name = data[at:at + 11].split(b"\0")[0].decode("ascii").upper()
        length = data[at + 16]
        fields.append((name, offset, length))
        offset += length
    records = []
    for n in range(count):
        start = header_length + n * record_length
        record = data[start:start + record_length]
        records.append({name: record[o:o + length] for name, o, length in fields})
    return records


OEM_UPPER = {0x81: 0x9A, 0x82: 0x90, 0x84: 0x8E, 0x86: 0x8F, 0x91: 0x92, 0x94: 0x99, 0xA4: 0xA5}


def oem_upper(raw):
    return bytes(b - 32 if 0x61 <= b <= 0x7A else OEM_UPPER.get(b, b) for b in raw)


def number(raw):
    text = raw.decode("ascii").strip()
    return float(text) if text else 0.0


def dtoord(raw):
    return raw if raw.strip() else b"99999999"


def composite_key(r):
    key = (r["USER"] + dtoord(r["D_FIRST_OC"]) + (b"%4.0f" % number(r["T_BEGIN"])) + r["TYPE"] + r["PRIO"] +
           r["APP_ID"] + (b"%10.0f" % number(r["DB_RECID"])) + r["TODOSTAT"] + r["STATUS"] + dtoord(r["D_LAST_OC"]) +
           r["PRIVAT"] + r["SERIE"] + r["BETREFF"][:30] + r["WITH"][:30] + r["REMIND"] +
           r["DB_PATH"].rstrip(b" ")[-100:])
    return oem_upper(key).ljust(KEY_SIZE, b" ")[:KEY_SIZE]


def expected_keys(records):
    ids = sorted((int(number(r["RECORDID"])), n + 1) for n, r in enumerate(records))
    composite = sorted((composite_key(r), n + 1) for n, r in enumerate(records))
    return ids, composite


def compare_walks(stage, folder, records):
    ids, composite = expected_keys(records)
    walked_ids = perl_walk(os.path.join(folder, "OX4.NT0"), "N")
    walked_composite = perl_walk(os.path.join(folder, "OX4.NT1"), "C")
    check_list("%s: record-id index" % stage, ids, walked_ids)
    check_list("%s: composite index" % stage, composite, walked_composite)


# ---- writes -------------------------------------------------------------------------------------

def stored(name, value):
    """The field text the engine stores for a value given to db_replace."""
    width = WIDTH[name]
    if isinstance(value, datetime.date):
        return value.strftime("%Y%m%d").encode("ascii")
    if value is None:
        return b" " * 8
    if isinstance(value, int):
        return (b"%*d" % (width, value))[-width:]
    return value.encode("cp850")[:width].ljust(width, b" ")


def write_operations(rng, records, ids):
    lines = []
    for _ in range(WRITES):
        recno = rng.randrange(1, len(records) + 1)
        values = key_values(rng, ids)
        changed = rng.sample(sorted(values), rng.randrange(1, 5))
        if "RECORDID" not in changed:
            ids.discard(values["RECORDID"])
        parts = []
        for name in changed:
            text = stored(name, values[name])
            records[recno - 1][name] = text
            parts.append("%s=%s" % (name, text.rstrip(b" ").hex() if name not in ("RECORDID", "DB_RECID",
                                                                                "T_BEGIN") else text.hex()))
        lines.append("w %d %s" % (recno, " ".join(parts)))
    for _ in range(APPENDS):
        values = key_values(rng, ids)
        record = {name: b" " * WIDTH[name] for name in WIDTH}
        for name in ("NOTIZEN", "APP_DAT1", "APP_DAT2"):
            record[name] = b" " * 10
        parts = []
        for name, value in sorted(values.items()):
            text = stored(name, value)
            record[name] = text
            parts.append("%s=%s" % (name, text.hex()))
        records.append(record)
        lines.append("a %s" % " ".join(parts))
    return lines


def main():
    rng = random.Random(20240517)
    ids = set()
    with tempfile.TemporaryDirectory() as folder:
        table = os.path.join(folder, "OX4.DBE")
        make_table(table, rng, ids)
        nt0, nt1 = os.path.join(folder, "OX4.NT0"), os.path.join(folder, "OX4.NT1")
        probe("build", winpath(table), winpath(nt0), winpath(nt1))
        records = read_records(table)
        check("rows written", ROWS, len(records))
        compare_walks("after the build", folder, records)

        model = [dict(r) for r in records]
        operations = os.path.join(folder, "operations.txt")
        with open(operations, "w") as f:
            f.write("\n".join(write_operations(rng, model, ids)) + "\n")
        probe("write", winpath(table), winpath(nt0), winpath(nt1), winpath(operations))
        records = read_records(table)
        key_fields = ["RECORDID", "USER", "D_FIRST_OC", "T_BEGIN", "BETREFF", "DB_PATH", "STATUS", "D_LAST_OC"]
        check_list("the table holds what was written",
              [[m[k] for k in key_fields] for m in model], [[r[k] for k in key_fields] for r in records])
        compare_walks("after %d writes and %d appends" % (WRITES, APPENDS), folder, records)

        by_id = {int(number(r["RECORDID"])): n + 1 for n, r in enumerate(records)}
        sought = rng.sample(sorted(by_id), 150) + [rng.randrange(1, 2147483647) for _ in range(50)]
        answers = probe("seek", winpath(table), winpath(nt0), winpath(nt1), *[str(i) for i in sought])
        check_list("seeks of record ids", ["%d %d" % (i, by_id.get(i, 0)) for i in sought], answers)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
