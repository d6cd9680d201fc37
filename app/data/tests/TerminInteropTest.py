#!/usr/bin/python3
"""The schedule table "OX4.DBE" as the program makes and keeps it, read back with independent
readers: python3-dbf (tables and memos) and Perl's XBase::Index (the index files).

1. A fresh data directory: termin_probe open creates the table (answer 2); python3-dbf finds the
   34 fields with their types and lengths, Perl the key expressions and unique flags of OX4.nt0
   and OX4.nt1.
2. 400 rows written through the table class (stamping write): python3-dbf reads the values given,
   every row has its own record id, change counter 0 and the creator; Perl's walks of both
   indexes equal the record ids and the composite keys computed here from the rows.
3. An old table made by python3-dbf (two fields missing, one extra, two of another length, memo
   texts): opening it upgrades it (answer 3), keeps ~X4.DBE and ~X4.DBT as they were, and the new
   table holds every row with every field both structures have; its indexes are complete.
   Two upgrades whose import fails answer failure and leave the old table, its memo file and the
   backup byte for byte as they were; a third upgrade then holds every row of the original file,
   compared field by field with dbfread.
4. Two stations append rows to one table at the same time, their record ids drawn from a narrow
   range: no record id is stored twice.
5. ISO week numbers of every day from 1990 to 2040 equal Python's isocalendar().
"""
import datetime
import os
import random
import shutil
import subprocess
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, check_list, winpath

sys.path.insert(0, os.path.join(os.environ["OX_SOURCE_DIR"], "engine", "tests"))
from IndexInteropTest import (FIELDS, KEY_SIZE, composite_key, expected_keys, key_values, number,  # noqa: E402
                              perl_walk, read_records)

KEY_EXPRESSION = ("UPPER(USER+DTOORD(D_FIRST_OC)+STR(T_BEGIN,4,0)+TYPE+PRIO+APP_ID+STR(DB_RECID,10,0)+TODOSTAT+"
                  "STATUS+DTOORD(D_LAST_OC)+PRIVAT+SERIE+LEFT(BETREFF,30)+LEFT(WITH,30)+REMIND+"
                  "RIGHT(RTRIM(DB_PATH),100))")

PERL_HEADER = r"""
use XBase::Index;
my ($file) = @ARGV;
my $index = new XBase::Index $file, type => "C" or die XBase::Index->errstr;
print $index->{'key_string'}, "\n", $index->{'unique'}, "\n";
"""


def probe(*args, timeout=600):
    out = oxtest.run("termin_probe", *args, timeout=timeout)
    lines = out.splitlines()
    if not lines or lines[-1] != "ok":
        raise RuntimeError("termin_probe %s: %s" % (args[0], out[-400:]))
    return lines[:-1]


def named(folder, name):
    """The file of that name in the folder, whatever the case of its letters (Windows names)."""
    for entry in os.listdir(folder):
        if entry.upper() == name.upper():
            return os.path.join(folder, entry)
    return os.path.join(folder, name)


def index_header(path):
    copy = path + ".ntx"
    shutil.copyfile(path, copy)
    run = subprocess.run(["perl", "-e", PERL_HEADER, copy], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=120)
    if run.returncode != 0:
        raise RuntimeError("perl failed: %s" % run.stderr.decode("latin-1"))
    key, unique = run.stdout.decode("latin-1").splitlines()
    return key, int(unique)


def table_fields(path):
    # python3-dbf reads a table by the names .dbf and .dbt.
    folder = os.path.dirname(path)
    copy = os.path.join(folder, "read.dbf")
    shutil.copyfile(path, copy)
    memo = named(folder, os.path.splitext(os.path.basename(path))[0] + ".DBT")
    if os.path.exists(memo):
        shutil.copyfile(memo, os.path.join(folder, "read.dbt"))
    table = dbf.Table(copy, codepage="cp850")
    table.open(dbf.READ_ONLY)
    fields = []
    for name in table.field_names:
        info = table.field_info(name)
        fields.append((name.upper(), chr(info.field_type), info.length))
    rows = [{name.upper(): row[name] for name in table.field_names} for row in table]
    table.close()
    return fields, rows


def text(value):
    """A value as the program's text: dates day.month.year, numbers as written, text as it is."""
    if value is None:
        return ""
    if isinstance(value, datetime.date):
        return value.strftime("%d.%m.%Y")
    return str(value)


def clean(value):
    if isinstance(value, str):
        # The engine ends a memo text with 0x1A 0x00, python3-dbf reads on to 0x1A 0x1A.
        return value.split("\x1a")[0].rstrip(" ")
    if isinstance(value, float) and value == int(value):
        return int(value)
    return value


def check_indexes(stage, folder):
    records = read_records(os.path.join(folder, "OX4.DBE"))
    ids, composite = expected_keys(records)
    check_list("%s: record-id index" % stage, ids, perl_walk(named(folder, "OX4.nt0"), "N"))
    check_list("%s: composite index" % stage, composite, perl_walk(named(folder, "OX4.nt1"), "C"))
    return records


def fresh_table(folder):
    check("a fresh directory: the table is created", ["2"], probe("open", winpath(folder) + "\\"))
    for name in ("OX4.DBE", "OX4.DBT", "OX4.nt0", "OX4.nt1"):
        check("%s exists" % name, True, os.path.exists(named(folder, name)))
    fields, rows = table_fields(os.path.join(folder, "OX4.DBE"))
    check_list("the 34 fields of a fresh table", [(n, t, l) for n, t, l in FIELDS], fields)
    check("a fresh table has no rows", 0, len(rows))
    check("record-id index", ("RECORDID", 1), index_header(named(folder, "OX4.nt0")))
    check("composite index", (KEY_EXPRESSION, 0), index_header(named(folder, "OX4.nt1")))


def written_rows(folder, rng):
    ids = set()
    given = []
    lines = []
    for n in range(400):
        values = key_values(rng, ids)
        del values["RECORDID"]
        values["NOTIZEN"] = rng.choice(["", "Notiz %d \u00fcber den Termin" % n])
        values["T_END"] = rng.randrange(-1, 1440)
        given.append(values)
        lines.append(" ".join("%s=%s" % (name, text(value).encode("cp1252").hex()) for name, value in values.items()))
    rows_file = os.path.join(folder, "rows.txt")
    with open(rows_file, "w") as f:
        f.write("\n".join(lines) + "\n")
    check("rows written", ["400 rows"], probe("fill", winpath(folder) + "\\", winpath(rows_file)))

    _, rows = table_fields(os.path.join(folder, "OX4.DBE"))
    check("rows read", len(given), len(rows))
    for n, (values, row) in enumerate(zip(given, rows)):
        for name, value in values.items():
            expected = value if not isinstance(value, str) else value
            check("row %d %s" % (n + 1, name), clean(expected) if expected is not None else None, clean(row[name]))
        check("row %d creator" % (n + 1), "PROBE", row["ERF_USER"].rstrip())
        check("row %d change counter" % (n + 1), 0, row["FOOTPRINT"])
    ids = [row["RECORDID"] for row in rows]
    check("every written row has its own record id", len(ids), len(set(ids)))
    check("record ids are ten-digit numbers", True, all(0 < i <= 2147483647 for i in ids))
    check_indexes("after 400 writes", folder)


OLD_FIELDS = [(n, t, {"BETREFF": 60, "T_REMSPAN": 5}.get(n, l)) for n, t, l in FIELDS
              if n not in ("KATEGORIE", "FLAGS")] + [("ALTFELD", "C", 12)]


def make_old_table(folder, rng):
    """An old schedule table made by python3-dbf in the folder; its rows as written."""
    def field_text(name, kind, length):
        if kind in "MD":
            return "%s %s" % (name, kind)
        return "%s %s(%d%s)" % (name, kind, length, ",0" if kind == "N" else "")

    made = os.path.join(folder, "OX4.dbf")
    table = dbf.Table(made, "; ".join(field_text(*f) for f in OLD_FIELDS), dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    ids = set()
    old_rows = []
    for n in range(300):
        values = key_values(rng, ids)
        values["BETREFF"] = values["BETREFF"][:60]
        values.update({"ERF_USER": "ALT", "FOOTPRINT": rng.randrange(0, 9999), "T_REMSPAN": rng.randrange(0, 99999),
                       "NOTIZEN": rng.choice(["", "Alte Notiz %d: Stra\u00dfe, M\u00fcnchen" % n]),
                       "APP_DAT1": rng.choice(["", "0100" * rng.randrange(1, 40)]), "ALTFELD": "weg %d" % n,
                       "TERMIN": "0" * 160})
        table.append({name.lower(): value for name, value in values.items()})
        old_rows.append(values)
    table.close()
    os.rename(made, os.path.join(folder, "OX4.DBE"))
    os.rename(os.path.join(folder, "OX4.dbt"), os.path.join(folder, "OX4.DBT"))
    # python3-dbf stops the memo file right after the last memo's terminator; the engine reads
    # whole blocks, so the last block is filled up as dBase writers leave it.
    with open(os.path.join(folder, "OX4.DBT"), "r+b") as memo:
        memo.seek(0, 2)
        memo.write(b"\0" * (-memo.tell() % 512))
    return old_rows


def upgrade(folder, rng):
    old_rows = make_old_table(folder, rng)
    old_table = open(os.path.join(folder, "OX4.DBE"), "rb").read()
    old_memo = open(os.path.join(folder, "OX4.DBT"), "rb").read()

    check("an old table is upgraded", ["3"], probe("open", winpath(folder) + "\\"))
    check("backup of the table", old_table, open(os.path.join(folder, "~X4.DBE"), "rb").read())
    check("backup of the memo file", old_memo, open(named(folder, "~X4.DBT"), "rb").read())
    fields, rows = table_fields(os.path.join(folder, "OX4.DBE"))
    check_list("the upgraded table has the 34 fields", [(n, t, l) for n, t, l in FIELDS], fields)
    check("every old row is imported", len(old_rows), len(rows))
    common = [n for n, _, _ in OLD_FIELDS if n in {f for f, _, _ in FIELDS}]
    for n, (old, row) in enumerate(zip(old_rows, rows)):
        for name in common:
            if name in old:
                check("row %d %s" % (n + 1, name), clean(old[name]), clean(row[name]))
        check("row %d KATEGORIE is new and empty" % (n + 1), "", row["KATEGORIE"].rstrip())
    check_indexes("after the upgrade", folder)
    check("the upgraded table opens as it is", ["1"], probe("open", winpath(folder) + "\\"))


def dbfread_rows(path):
    """The rows of a table read by dbfread (its memo file found beside it), by record id."""
    rows = {}
    for row in dbfread.DBF(path, encoding="cp850", char_decode_errors="strict"):
        values = {name.upper(): value for name, value in row.items()}
        rows[values["RECORDID"]] = values
    return rows


def upgrade_after_failures(folder, rng):
    """Two upgrades whose import fails leave the old table in its place and the backup as it was;
    the third succeeds: every row of the original file is in the new table."""
    make_old_table(folder, rng)
    original = os.path.join(folder, "original")
    os.mkdir(original)
    for name in ("OX4.DBE", "OX4.DBT"):
        shutil.copyfile(os.path.join(folder, name), os.path.join(original, name))
    old_table = open(os.path.join(folder, "OX4.DBE"), "rb").read()
    old_memo = open(os.path.join(folder, "OX4.DBT"), "rb").read()
    for attempt in (1, 2):
        check("failed upgrade %d answers failure" % attempt, ["0"], probe("open-failing", winpath(folder) + "\\"))
        check("failed upgrade %d: the table is the old one" % attempt, old_table,
              open(named(folder, "OX4.DBE"), "rb").read())
        check("failed upgrade %d: the memo file is the old one" % attempt, old_memo,
              open(named(folder, "OX4.DBT"), "rb").read())
        check("failed upgrade %d: the backup holds the old table" % attempt, old_table,
              open(named(folder, "~X4.DBE"), "rb").read())
        check("failed upgrade %d: nothing left of the work table" % attempt, [],
              sorted(e for e in os.listdir(folder) if e.startswith("$")))
    check("the third upgrade succeeds", ["3"], probe("open", winpath(folder) + "\\"))
    before = dbfread_rows(os.path.join(original, "OX4.DBE"))
    after = dbfread_rows(named(folder, "OX4.DBE"))
    check("rows of the original file", 300, len(before))
    check_list("record ids after the upgrade", sorted(before), sorted(after))
    new_fields = {n for n, _, _ in FIELDS}

    def value_of(value):
        # An empty memo or number reads as None from one writer's file and as "" or 0 from the
        # other's: all of them are the empty value.
        return None if value is None or value == "" or value == 0 else value

    for record_id, old in sorted(before.items()):
        row = after.get(record_id, {})
        for name, value in old.items():
            if name in new_fields:
                check("row %s %s" % (record_id, name), value_of(value), value_of(row.get(name)))
    check("no second backup of the same table", [],
          sorted(e for e in os.listdir(folder) if e.upper().startswith("~X4_")))


def two_stations(folder):
    probe("open", winpath(folder) + "\\")
    count, first, last = 1000, 1, 2050
    stations = [subprocess.Popen(oxtest.command("termin_probe", "append", winpath(folder) + "\\", count, first, last,
                                                "STATION%d" % s), stdout=subprocess.PIPE) for s in (1, 2)]
    for s, station in enumerate(stations):
        out, _ = station.communicate(timeout=600)
        check("station %d appended" % (s + 1), "%d rows\nok" % count, out.decode("latin-1").strip().replace("\r", ""))
    records = check_indexes("two stations", folder)
    ids = [int(number(r["RECORDID"])) for r in records]
    check("rows of both stations", 2 * count, len(ids))
    check("no record id is stored twice", [], sorted(i for i in set(ids) if ids.count(i) > 1))
    check("record ids from the narrowed range", True, all(first <= i <= last for i in ids))


def weeks():
    first = (datetime.date(1990, 1, 1) - datetime.date(1900, 1, 1)).days
    last = (datetime.date(2040, 12, 31) - datetime.date(1900, 1, 1)).days
    expected, actual = [], []
    for line in probe("weeks", first, last):
        serial, day, iso, _ = line.split()
        date = datetime.date(1900, 1, 1) + datetime.timedelta(days=int(serial))
        expected.append((date.isoformat(), date.isocalendar()[1]))
        actual.append((day, int(iso)))
    check("days 1990-2040", last - first + 1, len(actual))
    check_list("ISO week numbers", expected, actual)


def main():
    rng = random.Random(20261210)
    for stage in (fresh_table, written_rows, upgrade, upgrade_after_failures, two_stations):
        with tempfile.TemporaryDirectory() as folder:
            try:
                if stage in (written_rows, upgrade, upgrade_after_failures):
                    if stage is written_rows:
                        probe("open", winpath(folder) + "\\")
                    stage(folder, rng)
                else:
                    stage(folder)
            except Exception as e:  # a failed stage is reported, the others still run
                oxtest.fail("%s: %s" % (stage.__name__, e))
    weeks()
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
