#!/usr/bin/python3
"""Packing a table against independent DBF readers and writers from Debian.

python3-dbf writes a table of 250 records with a memo field and marks records 2, 101 and 250
deleted; one record's memo reference is then pointed beyond the end of the memo file. The Windows
program engine_pack_probe.exe packs the table through db_pack. python3-dbfread must then read the
247 kept records in their old order with their values and memo texts, no deleted record, the
header's count 247 and a file that ends right after the last record; the record whose memo was
lost has an empty memo reference. Table text is OEM: code page 850.
"""
import os
import struct
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, winpath

DELETED = {2, 101, 250}
LOST_MEMO = 120  # the record whose memo reference points beyond the memo file


def row(n):
    """The values of record n: a name (every fifth with umlauts), an amount, a memo text (every
    third a long one over several blocks, every seventh none)."""
    name = ("M\u00fcller-\u00c4\u00df %d" if n % 5 == 0 else "Zeile %d") % n
    if n % 7 == 0:
        memo = ""
    elif n % 3 == 0:
        memo = ("Notiz %d mit \u00fc " % n) * 80
    else:
        memo = "Notiz %d" % n
    return name, n * 1.25, memo


def main():
    with tempfile.TemporaryDirectory(prefix="packinterop") as folder:
        path = os.path.join(folder, "pack.dbf")
        table = dbf.Table(path, "NAME C(20); AMOUNT N(8,2); NOTE M", dbf_type="db3", codepage="cp850")
        table.open(dbf.READ_WRITE)
        for n in range(1, 251):
            table.append(row(n))
        for n in sorted(DELETED):
            dbf.delete(table[n - 1])
        table.close()

        # The memo reference of one record (the last 10 bytes of its record) beyond the memo file.
        with open(path, "r+b") as f:
            header = f.read(12)
            header_length, record_length = struct.unpack("<HH", header[8:12])
            f.seek(header_length + LOST_MEMO * record_length - 10)
            f.write(b"%10d" % 99999)

        check("probe", "pack 1 0", oxtest.run("engine_pack_probe", winpath(path), timeout=120).strip())

        kept = [n for n in range(1, 251) if n not in DELETED]
        image = open(path, "rb").read()
        check("header count", len(kept), struct.unpack("<I", image[4:8])[0])
        check("file length", header_length + len(kept) * record_length, len(image))

        reader = dbfread.DBF(path, encoding="cp850", load=True)
        check("deleted records left", 0, len(reader.deleted))
        got = [(r["NAME"], r["AMOUNT"], r["NOTE"]) for r in reader.records]
        check("record count", len(kept), len(got))
        for i, n in enumerate(kept):
            name, amount, memo = row(n)
            if n == LOST_MEMO:
                memo = None
            check("record %d (was %d)" % (i + 1, n), (name, amount, memo), got[i] if i < len(got) else None)
        raw = dbfread.DBF(path, raw=True, load=True)
        lost = kept.index(LOST_MEMO)
        check("the lost memo's reference", b" " * 10, raw.records[lost]["NOTE"])

    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
