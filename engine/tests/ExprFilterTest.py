#!/usr/bin/python3
"""Filtered navigation of the engine against the same filters computed here.

python3-dbf writes a table of 1,000 people (random names with umlauts, cities, ages, prices,
birthdays, some empty, flags, some records deleted). The Windows program
engine_expr_filter_probe.exe sets each filter with db_set_filter_to and walks the table forwards
and backwards, and tests every record with db_matches_condition. The visible records must be the
records that the filter's meaning, computed here from the stored bytes (read back with
python3-dbfread), selects: forwards in record order, backwards in reverse order, without the
deleted records when the deleted setting is on. Runs with the exact setting on and off.
Table text is OEM: code page 850.
"""
import datetime
import os
import random
import subprocess
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, check_list, winpath

ROWS = 1000
NAMES = ["Meier", "Maier", "M\u00fcller", "Schmidt", "M\u00e4der", "Bauer", "Weber", "\u00d6zdemir", "Ma",
         "", "Huber", "Becker", "Sch\u00e4fer", "Kr\u00fcger", "Hartmann", "M\u00e9ndez", "Mei", "Lange",
         "Werner", "Meister", "Zimmermann", "Adler"]
CITIES = ["Berlin", "M\u00fcnchen", "Hamburg", "K\u00f6ln", "Bremen", "Mainz", "", "Bonn", "Essen", "M\u00fcnster"]

# ---- the meaning of the expressions, on the stored bytes -------------------------------------------

OEM_UPPER = {0x81: 0x9A, 0x82: 0x90, 0x84: 0x8E, 0x86: 0x8F, 0x91: 0x92, 0x94: 0x99, 0xA4: 0xA5}


def upper(b):
    """Upper case of an OEM table text: a-z and the seven accented pairs of code page 850."""
    return bytes(c - 32 if 0x61 <= c <= 0x7A else OEM_UPPER.get(c, c) for c in b)


def compare(a, b, exact):
    """Texts in the ASCII sort order: whole texts with exact on, else their common length."""
    if not exact:
        n = min(len(a), len(b))
        a, b = a[:n], b[:n]
    return (a > b) - (a < b)


def dtos(d):
    return d.strftime("%Y%m%d").encode() if d else b" " * 8


def day_number(d):
    return d.toordinal() + 1721425


class Row:
    def __init__(self, recno, raw, deleted):
        self.recno = recno
        self.deleted = deleted
        self.name = raw["NAME"]
        self.city = raw["CITY"]
        self.age = float(raw["AGE"] or 0)
        self.price = float(raw["PRICE"] or 0)
        self.born = datetime.datetime.strptime(raw["BORN"].decode(), "%Y%m%d").date() if raw["BORN"].strip() else None
        self.flag = raw["FLAG"] in (b"T", b"1")


def oem(text):
    return text.encode("cp850")


# (filter text, its meaning for a row with the exact setting)
FILTERS = [
    ("AGE > 30 .AND. FLAG", lambda r, x: r.age > 30 and r.flag),
    ("SUBSTR(UPPER(NAME),1,3)=UPPER('m\u00fcl')", lambda r, x: compare(upper(r.name)[:3], oem("M\u00dcL"), x) == 0),
    ("SUBSTR(UPPER(NAME),1,5)=UPPER(\"mei\") .AND. SUBSTR(UPPER(CITY),1,1)>=UPPER(\"b\")",
     lambda r, x: compare(upper(r.name)[:5], b"MEI", x) == 0 and compare(upper(r.city)[:1], b"B", x) >= 0),
    ("'er' $ NAME", lambda r, x: b"er" in r.name),
    ("BORN < ctod('01/01/1970')", lambda r, x: r.born is None or r.born < datetime.date(1970, 1, 1)),
    ("BORN + 365 > ctod('06/30/2000')",   # a date sum is a number: the empty date stays huge
     lambda r, x: r.born is None or day_number(r.born) + 365 > day_number(datetime.date(2000, 6, 30))),
    ("PRICE * 2 >= 100.5", lambda r, x: r.price * 2 >= 100.5),
    ("dtos(BORN) >= '1980' .AND. AGE <= 50", lambda r, x: compare(dtos(r.born), b"1980", x) >= 0 and r.age <= 50),
    ("year(BORN) = 1985 .OR. month(BORN) = 12",
     lambda r, x: r.born is not None and (r.born.year == 1985 or r.born.month == 12)),
    ("iif(FLAG, AGE, 0) > 40", lambda r, x: (r.age if r.flag else 0) > 40),
    ("left(CITY, 1) # 'B'", lambda r, x: compare(r.city[:1], b"B", x) != 0),
    ("at('a', NAME) > 2", lambda r, x: r.name.find(b"a") + 1 > 2),
    ("NOT (AGE >= 20 .AND. AGE <= 40)", lambda r, x: not (20 <= r.age <= 40)),
    ("recno() > 500 .AND. recno() <= 510", lambda r, x: 500 < r.recno <= 510),
    ("CITY > 'M'", lambda r, x: compare(r.city, b"M", x) > 0),
    ("NAME = 'Ma'", lambda r, x: compare(r.name, b"Ma", x) == 0),
    ("trim(NAME) = 'Ma'", lambda r, x: compare(r.name.rstrip(b" "), b"Ma", x) == 0),
    ("trim(NAME) = ''", lambda r, x: compare(r.name.rstrip(b" "), b"", x) == 0),
    ("trim(upper(CITY)) = 'M\u00dcNCHEN'", lambda r, x: compare(upper(r.city).rstrip(b" "), oem("M\u00dcNCHEN"), x) == 0),
    ("(str(AGE, 3) + '|') $ ' 42| 17|'", lambda r, x: (b"%3.0f|" % r.age) in b" 42| 17|"),
]


def make_table(path):
    rng = random.Random(20240517)
    table = dbf.Table(path, "NAME C(20); CITY C(15); AGE N(3,0); PRICE N(8,2); BORN D; FLAG L", dbf_type="db3",
                      codepage="cp850")
    table.open(dbf.READ_WRITE)
    for _ in range(ROWS):
        born = None if rng.random() < 0.1 else datetime.date(1940, 1, 1) + datetime.timedelta(days=rng.randrange(25000))
        table.append((rng.choice(NAMES), rng.choice(CITIES), rng.randrange(100), rng.randrange(0, 20000) / 100.0,
                      born, rng.random() < 0.5))
    for i in range(0, ROWS, 9):
        dbf.delete(table[i])
    table.close()


def read_rows(path):
    """The rows as stored, in record order (dbfread gives live and deleted records apart)."""
    image = open(path, "rb").read()
    header_length = int.from_bytes(image[8:10], "little")
    record_length = int.from_bytes(image[10:12], "little")
    reference = dbfread.DBF(path, raw=True, load=True)
    live, gone = iter(reference.records), iter(reference.deleted)
    rows = []
    for n in range(len(reference.records) + len(reference.deleted)):
        deleted = image[header_length + n * record_length] == ord("*")
        rows.append(Row(n + 1, next(gone) if deleted else next(live), deleted))
    return rows


def probe(path, exact, deleted):
    stdin = "".join(oem(text).hex() + "\n" for text, _ in FILTERS).encode()
    run = subprocess.run(oxtest.command("engine_expr_filter_probe", winpath(path), exact, deleted), input=stdin,
                         stdout=subprocess.PIPE, timeout=240)
    out = run.stdout.decode("latin-1")
    if run.returncode != 0:
        raise RuntimeError("probe failed (%d): %s" % (run.returncode, out))
    results, current = [], None
    for line in out.splitlines():
        words = line.split()
        if not words:
            continue
        if words[0] == "filter":
            current = {}
            results.append(current)
        else:
            current[words[0]] = [int(w) for w in words[1:]]
    return results


def main():
    with tempfile.TemporaryDirectory(prefix="exprfilter") as folder:
        try:
            path = os.path.join(folder, "people.dbf")
            make_table(path)
            rows = read_rows(path)
            check("row count", ROWS, len(rows))
            for exact in (1, 0):
                for hide_deleted in (0, 1):
                    results = probe(path, exact, hide_deleted)
                    meaningful = 0
                    check("filters answered (exact %d, deleted %d)" % (exact, hide_deleted), len(FILTERS), len(results))
                    for (text, meaning), got in zip(FILTERS, results):
                        what = "%s (exact %d, deleted %d)" % (text, exact, hide_deleted)
                        selected = [r.recno for r in rows if meaning(r, exact)]
                        visible = [n for n in selected if not (hide_deleted and rows[n - 1].deleted)]
                        check(what + ": set", [1, 0], got.get("set"))
                        check(what + ": forward", visible, got.get("forward"))
                        check(what + ": backward", visible[::-1], got.get("backward"))
                        check(what + ": db_matches_condition", selected, got.get("match"))
                        meaningful += 0 < len(selected) < ROWS
                    check("filters that select some records but not all (exact %d)" % exact, True,
                          meaningful >= len(FILTERS) - 4)
        except Exception as e:
            oxtest.fail("%s: %s" % (type(e).__name__, e))
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
