#!/usr/bin/python3
"""The work of bench_index done by SQLite (Python's sqlite3 module, Debian's /usr/bin/python3), for
comparison: the same rows, an index on the record id and an index on the schedule table's
226-character composite key expression, then point lookups by key.

    bench_index.exe Z:\\some\\folder                       (under Wine: makes the tables and runs)
    /usr/bin/python3 bench/index_bench_sqlite.py /some/folder

The rows are read from the tables bench_index made (index_100k.dbf, index_1m.dbf) and loaded into
a fresh SQLite file in the same folder (not timed). Timed: CREATE INDEX (with the sorter's
temporary data in memory and in files, as the key sort's two modes), and 200,000 lookups
(SELECT of the whole row by key) of keys present in the table.
"""
import os
import random
import sqlite3
import struct
import sys
import time

COMPOSITE = ("upper(USER || CASE WHEN trim(D_FIRST_OC) = '' THEN '99999999' ELSE D_FIRST_OC END"
             " || printf('%4d', T_BEGIN) || TYPE || PRIO || APP_ID || printf('%10d', DB_RECID) || TODOSTAT"
             " || STATUS || CASE WHEN trim(D_LAST_OC) = '' THEN '99999999' ELSE D_LAST_OC END || PRIVAT || SERIE"
             " || substr(BETREFF, 1, 30) || substr(WITH, 1, 30) || REMIND || substr(rtrim(DB_PATH), -100))")
LOOKUPS = 200000


def read_table(path):
    """Field names, types and the rows of a DBF file (texts as stored, numbers as integers)."""
    with open(path, "rb") as f:
        data = f.read()
    count, header_length, record_length = struct.unpack("<IHH", data[4:12])
    fields = []
    offset = 1
    for at in range(32, header_length - 1, 32):
        if data[at] == 0x0D:
            break
        name = data[at:at + 11].split(b"\0")[0].decode("ascii")
        kind, length = chr(data[at + 11]), data[at + 16]
        fields.append((name, kind, offset, length))
        offset += length
    rows = []
    for n in range(count):
        start = header_length + n * record_length
        record = data[start:start + record_length]
        row = []
        for _, kind, o, length in fields:
            raw = record[o:o + length]
            row.append(int(raw) if kind == "N" else raw.decode("cp850"))
        rows.append(row)
    return fields, rows


def load(folder, name, fields, rows):
    path = os.path.join(folder, name)
    if os.path.exists(path):
        os.remove(path)
    db = sqlite3.connect(path)
    columns = ", ".join('"%s" %s' % (n, "INTEGER" if k == "N" else "TEXT") for n, k, _, _ in fields)
    db.execute("CREATE TABLE t (%s)" % columns)
    db.executemany("INSERT INTO t VALUES (%s)" % ", ".join("?" * len(fields)), rows)
    db.commit()
    return db


def timed(db, sql, *args):
    start = time.perf_counter()
    db.execute(sql, *args)
    db.commit()
    return time.perf_counter() - start


def builds(folder, table, count):
    fields, rows = read_table(os.path.join(folder, table))
    for memory in (True, False):
        db = load(folder, "sqlite_%d.db" % count, fields, rows)
        db.execute("PRAGMA temp_store = %s" % ("MEMORY" if memory else "FILE"))
        mode = "memory" if memory else "file"
        seconds = timed(db, "CREATE UNIQUE INDEX ix_id ON t (RECORDID)")
        print("  build %8d rows, record-id     key, %-6s sort: %7.2f s %10.0f rows/s" %
              (count, mode, seconds, count / seconds))
        seconds = timed(db, "CREATE INDEX ix_key ON t (%s)" % COMPOSITE)
        print("  build %8d rows, 226-character key, %-6s sort: %7.2f s %10.0f rows/s" %
              (count, mode, seconds, count / seconds))
        if memory:
            db.close()
    return db, rows


def lookups(db, rows):
    rng = random.Random(7)
    ids = [rows[rng.randrange(len(rows))][0] for _ in range(LOOKUPS)]
    start = time.perf_counter()
    found = 0
    for i in ids:
        found += db.execute("SELECT * FROM t WHERE RECORDID = ?", (i,)).fetchone() is not None
    seconds = time.perf_counter() - start
    print("  seek %8d rows, record-id key:       %9.0f lookups/s (%d of %d found)" %
          (len(rows), LOOKUPS / seconds, found, LOOKUPS))
    keys = [db.execute("SELECT %s FROM t WHERE rowid = ?" % COMPOSITE, (1 + rng.randrange(len(rows)),)).fetchone()[0]
            for _ in range(20000)]
    query = "SELECT * FROM t WHERE %s = ?" % COMPOSITE
    start = time.perf_counter()
    found = 0
    for i in range(LOOKUPS):
        found += db.execute(query, (keys[i % len(keys)],)).fetchone() is not None
    seconds = time.perf_counter() - start
    print("  seek %8d rows, 226-character key: %9.0f lookups/s (%d of %d found)" %
          (len(rows), LOOKUPS / seconds, found, LOOKUPS))


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    folder = sys.argv[1]
    print("SQLite %s" % sqlite3.sqlite_version)
    for table, count in (("index_100k.dbf", 100000), ("index_1m.dbf", 1000000)):
        db, rows = builds(folder, table, count)
        if count == 1000000:
            lookups(db, rows)
        db.close()
        os.remove(os.path.join(folder, "sqlite_%d.db" % count))
    return 0


if __name__ == "__main__":
    sys.exit(main())
