#!/usr/bin/python3
"""The data controller's maintenance of the schedule table "OX4.DBE", read back with independent
readers: python3-dbf (the table and its memos) and Perl's XBase::Index (the index files).

python3-dbf writes a schedule table of generated rows: live rows, dead rows (RECORDID empty or 0,
acknowledged postponement copies: MOVERECID set and STATUS "N"), live rows that look like them
(open copies, STATUS "N" without MOVERECID, MOVERECID 0), and rows marked deleted; dead rows
stand first, one after the other, and last. maintenance_probe starts a data controller on the
directory (which makes the missing index files) and runs one operation:

1. reorganize with clean-up: exactly the live rows are left, in their order, with their values and
   memo texts; no row is marked deleted; the header counts them and the file ends after the last;
   Perl's walks of both indexes equal the keys computed here from the rows.
2. reorganize without clean-up: only the rows marked deleted are gone.
3. clean-up alone: the dead rows are marked deleted, nothing else changes.
4. reindex after rows were appended past the index files: Perl's walks hold every row again.
"""
import os
import random
import struct
import sys
import tempfile

import dbf

import oxtest
from oxtest import check, check_list, winpath

sys.path.insert(0, os.path.join(os.environ["OX_SOURCE_DIR"], "engine", "tests"))
sys.path.insert(0, os.path.join(os.environ["OX_SOURCE_DIR"], "app", "data", "tests"))
from IndexInteropTest import FIELDS, expected_keys, key_values, perl_walk, read_records  # noqa: E402
from TerminInteropTest import clean, named, table_fields  # noqa: E402

ROWS = 400
MOVED_FROM = 1234567890

# The kinds of rows: whether the clean-up removes them, and whether they are marked deleted.
KINDS = {
    "live": (False, False),
    "no id": (True, False),
    "id 0": (True, False),
    "acknowledged copy": (True, False),
    "open copy": (False, False),
    "acknowledged, not moved": (False, False),
    "moved from 0": (False, False),
    "deleted": (False, True),
    "deleted, no id": (True, True),
}
# Rows of each kind, at random places after the fixed first and last ones.
WEIGHTS = {"live": 10, "no id": 1, "id 0": 1, "acknowledged copy": 2, "open copy": 1, "acknowledged, not moved": 1,
           "moved from 0": 1, "deleted": 2, "deleted, no id": 1}
COMPARED = ["RECORDID", "USER", "BETREFF", "WITH", "DB_PATH", "STATUS", "MOVERECID", "D_FIRST_OC", "T_BEGIN",
            "NOTIZEN"]


def probe(*args):
    out = oxtest.run("maintenance_probe", *args, timeout=600)
    lines = [line.rstrip("\r") for line in out.splitlines()]
    if not lines or lines[-1] != "ok":
        raise RuntimeError("maintenance_probe %s: %s" % (args[0], out[-400:]))
    return lines[:-1]


def row_values(rng, ids, kind, n):
    values = key_values(rng, ids)
    values.update({"ERF_USER": "ANLAGE", "FOOTPRINT": 0, "TERMIN": "0" * 160, "MOVERECID": None,
                   "NOTIZEN": rng.choice(["", "Notiz %d \u00fcber den Termin, Stra\u00dfe %d" % (n, n)])})
    if values["STATUS"] == "N":
        values["STATUS"] = "C"
    if kind in ("no id", "deleted, no id"):
        values["RECORDID"] = None
    elif kind == "id 0":
        values["RECORDID"] = 0
    elif kind == "acknowledged copy":
        values.update({"MOVERECID": MOVED_FROM, "STATUS": "N"})
    elif kind == "open copy":
        values.update({"MOVERECID": MOVED_FROM, "STATUS": "C"})
    elif kind == "acknowledged, not moved":
        values["STATUS"] = "N"
    elif kind == "moved from 0":
        values.update({"MOVERECID": 0, "STATUS": "N"})
    return values


def field_text(name, kind, length):
    if kind in "MD":
        return "%s %s" % (name, kind)
    return "%s %s(%d%s)" % (name, kind, length, ",0" if kind == "N" else "")


def pad_memo(folder):
    # python3-dbf stops the memo file right after the last memo's terminator; the engine reads
    # whole blocks, so the last block is filled up as dBase writers leave it.
    with open(os.path.join(folder, "OX4.DBT"), "r+b") as memo:
        memo.seek(0, 2)
        memo.write(b"\0" * (-memo.tell() % 512))


def append_rows(folder, rows):
    """Appends (kind, values) rows to the schedule table of the folder (made when missing), past
    any index file."""
    made = os.path.join(folder, "made.dbf")
    table_path = os.path.join(folder, "OX4.DBE")
    if os.path.exists(table_path):
        os.rename(table_path, made)
        os.rename(named(folder, "OX4.DBT"), os.path.join(folder, "made.dbt"))
        table = dbf.Table(made, codepage="cp850")
    else:
        table = dbf.Table(made, "; ".join(field_text(*f) for f in FIELDS), dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for kind, values in rows:
        table.append({name.lower(): value for name, value in values.items()})
        if KINDS[kind][1]:
            dbf.delete(table[-1])
    table.close()
    os.rename(made, table_path)
    os.rename(os.path.join(folder, "made.dbt"), os.path.join(folder, "OX4.DBT"))
    pad_memo(folder)


def fixture(folder, rng):
    ids = set()
    kinds = ["no id", "id 0", "acknowledged copy"]
    kinds += rng.choices(list(WEIGHTS), weights=list(WEIGHTS.values()), k=ROWS - len(kinds) - 1) + ["id 0"]
    rows = [(kind, row_values(rng, ids, kind, n)) for n, kind in enumerate(kinds)]
    append_rows(folder, rows)
    return rows


def deleted_flags(path):
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    return [data[header_length + n * record_length] == 0x2A for n in range(count)]


def check_table(stage, folder, rows, keep_dead, deleted):
    """The table holds exactly the given rows (those the clean-up keeps, or all) in order, those
    marked deleted only when deleted is true; the indexes hold every stored row."""
    path = os.path.join(folder, "OX4.DBE")
    expected = [(kind, values) for kind, values in rows
                if (deleted or not KINDS[kind][1]) and (keep_dead or not KINDS[kind][0])]
    _, stored = table_fields(path)
    check("%s: rows left" % stage, len(expected), len(stored))
    for n, ((kind, values), row) in enumerate(zip(expected, stored)):
        for name in COMPARED:
            given = values.get(name)
            actual = clean(row[name])
            if given is None:
                # python3-dbf reads a blank number as None and a blank date as None.
                check("%s: row %d (%s) %s" % (stage, n + 1, kind, name), None, actual)
            else:
                check("%s: row %d (%s) %s" % (stage, n + 1, kind, name), clean(given), actual)
    check_list("%s: rows marked deleted" % stage, [deleted and KINDS[kind][1] for kind, _ in expected],
               deleted_flags(path))
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    check("%s: the header counts the rows" % stage, len(expected), count)
    end = header_length + count * record_length
    check("%s: the file ends after the last row" % stage, True,
          len(data) == end or (len(data) == end + 1 and data[end] == 0x1A))
    records = read_records(path)
    ids, composite = expected_keys(records)
    check_list("%s: record-id index" % stage, ids, perl_walk(named(folder, "OX4.nt0"), "N"))
    check_list("%s: composite index" % stage, composite, perl_walk(named(folder, "OX4.nt1"), "C"))


def reorganize_with_clean_up(folder, rng):
    rows = fixture(folder, rng)
    check("reorganize with clean-up: done, tables open", ["1 1"], probe("reorganize", winpath(folder), 1, 1))
    check_table("reorganize with clean-up", folder, rows, keep_dead=False, deleted=False)


def reorganize_without_clean_up(folder, rng):
    rows = fixture(folder, rng)
    check("reorganize: done, tables open", ["1 1"], probe("reorganize", winpath(folder), 1, 0))
    check_table("reorganize without clean-up", folder, rows, keep_dead=True, deleted=False)


def clean_up_alone(folder, rng):
    rows = fixture(folder, rng)
    check("clean-up: done", ["1 1"], probe("clean", winpath(folder)))
    # The dead rows are now marked deleted as well: a table of the live rows and all the others
    # marked.
    marked = [("deleted" if KINDS[kind][0] or KINDS[kind][1] else kind, values) for kind, values in rows]
    check_table("clean-up alone", folder, marked, keep_dead=True, deleted=True)


def reindex_after_appends(folder, rng):
    rows = fixture(folder, rng)
    check("reorganize first: done", ["1 1"], probe("reorganize", winpath(folder), 1, 1))
    ids = {int(values["RECORDID"]) for _, values in rows if values["RECORDID"]}
    more = [("live", row_values(rng, ids, "live", ROWS + n)) for n in range(60)]
    append_rows(folder, more)
    records = read_records(os.path.join(folder, "OX4.DBE"))
    ids_expected, _ = expected_keys(records)
    walked = perl_walk(named(folder, "OX4.nt0"), "N")
    check("the index files miss the appended rows", len(ids_expected) - len(more), len(walked))
    check("reindex: done, tables open", ["1 1"], probe("reindex", winpath(folder)))
    kept = [(kind, values) for kind, values in rows if not KINDS[kind][0] and not KINDS[kind][1]]
    check_table("reindex after appends", folder, kept + more, keep_dead=True, deleted=True)


def main():
    rng = random.Random(20261226)
    for stage in (reorganize_with_clean_up, reorganize_without_clean_up, clean_up_alone, reindex_after_appends):
        with tempfile.TemporaryDirectory() as folder:
            try:
                stage(folder, rng)
            except Exception as e:  # a failed stage is reported, the others still run
                oxtest.fail("%s: %s" % (stage.__name__, e))
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
