#!/usr/bin/python3
"""Every order in which a program can close a table keeps every key and every change.

python3-dbf writes a table of 50 rows (NAME C 10); engine_close_probe creates the index on NAME
and then, in one process, opens the table, appends 200 rows and closes it in one of the orders
below: the files-open count dropped before db_close (exclusive, and shared under db_flock), the
index opened while the count was 0 and written once it was 1, the files closed and opened again
between writes, a close-on-select area left for another one (and selected again), db_job_close
with the table still open, and the program's own shut-down (db_files_close, then db_job_close). Every order runs twice: once as it is, and once with a
changed record buffer (a row renamed, not written) left at the moment of closing.

Afterwards python3-dbfread must read the rows that were written and changed, and the index must
hold exactly the key of every row: walked by Perl's XBase::Index (Debian's libdbd-xbase-perl)
and by the engine itself in a new process.
"""
import os
import subprocess
import sys
import tempfile

import dbf
import dbfread

import oxtest
from oxtest import check, check_list, fail, winpath

ROWS = 50
APPENDS = 200
KEY_SIZE = 10
CHANGED_ROW = 7
CHANGED_NAME = "Changed"

APPEND = "append:%d" % APPENDS
HALF = "append:%d" % (APPENDS // 2)
CHANGE = "change:%d:%s" % (CHANGED_ROW, CHANGED_NAME)

# (what, steps after the index was created); CHANGE marks where the changed buffer is left.
ORDERS = [
    ("exclusive, closed with db_close", ["files_open", "use:excl", "index", APPEND, CHANGE, "close:3"]),
    ("exclusive, files-open count dropped before db_close",
     ["files_open", "use:excl", "index", APPEND, CHANGE, "files_close", "close:3"]),
    ("shared under db_flock, files-open count dropped before db_close",
     ["files_open", "use:shared", "index", "flock", APPEND, CHANGE, "files_close", "close:3"]),
    ("exclusive, index opened with the count 0, written with 1",
     ["use:excl", "index", "files_open", APPEND, CHANGE, "close:3"]),
    ("shared, index opened with the count 0, written with 1",
     ["use:shared", "index", "files_open", APPEND, CHANGE, "close:3"]),
    ("exclusive, index opened with the count 0, files closed again before db_close",
     ["use:excl", "index", "files_open", APPEND, CHANGE, "files_close", "close:3"]),
    ("shared under db_flock, index opened with the count 0, files closed before db_close",
     ["use:shared", "index", "files_open", "flock", APPEND, CHANGE, "files_close", "close:3"]),
    ("exclusive, files closed and opened again between the appends",
     ["files_open", "use:excl", "index", HALF, "files_close", "files_open", HALF, CHANGE, "close:3"]),
    ("close-on-select area left for another one", ["files_open", "use:cos", "index", APPEND, CHANGE, "select:2",
                                                    "close:0"]),
    ("close-on-select, shared under db_flock, left and selected again",
     ["files_open", "use:cos_shared", "index", "flock", HALF, "select:2", "select:1", "flock", HALF, CHANGE,
      "select:2", "close:0"]),
    ("db_job_close with the table open", ["files_open", "use:excl", "index", APPEND, CHANGE, "job_close"]),
    ("db_job_close, shared under db_flock", ["files_open", "use:shared", "index", "flock", APPEND, CHANGE,
                                             "job_close"]),
    ("the program's shut-down: db_files_close, then db_job_close",
     ["files_open", "use:shared", "index", APPEND, CHANGE, "files_close", "job_close"]),
]

INITIAL = ["Name%02d" % ((i * 37) % ROWS) for i in range(ROWS)]

PERL_WALK = r"""
use XBase::Index;
for my $file (@ARGV) {
    my $index = new XBase::Index $file, type => "C" or die XBase::Index->errstr;
    $index->prepare_select;
    print "index $file\n";
    while (my ($key, $recno) = $index->fetch) {
        print unpack("H*", $key), " $recno\n";
    }
}
"""


def probe(*args):
    out = oxtest.run("engine_close_probe", *args)
    if not out.rstrip().endswith("ok"):
        raise RuntimeError("probe %s did not end: %s" % (args[0], out[-400:]))
    return out.splitlines()[:-1]


def make_table(path):
    table = dbf.Table(path, "NAME C(10)", dbf_type="db3", codepage="cp850")
    table.open(dbf.READ_WRITE)
    for name in INITIAL:
        table.append({"name": name})
    table.close()


def expected_names(with_change):
    names = INITIAL + ["Add%04d" % i for i in range(1, APPENDS + 1)]
    if with_change:
        names[CHANGED_ROW - 1] = CHANGED_NAME
    return names


def expected_entries(names):
    keys = [(name.encode("cp850").ljust(KEY_SIZE, b" "), n + 1) for n, name in enumerate(names)]
    return sorted(keys)


def perl_walks(indexes):
    """The keys of each index file as XBase::Index reads them, by file."""
    run = subprocess.run(["perl", "-e", PERL_WALK] + indexes, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         timeout=300)
    if run.returncode != 0:
        raise RuntimeError("perl failed: %s" % run.stderr.decode("latin-1"))
    walks = {}
    current = None
    for line in run.stdout.decode("latin-1").splitlines():
        first, rest = line.split(" ", 1)
        if first == "index":
            current = walks.setdefault(rest, [])
        else:
            current.append((bytes.fromhex(first), int(rest)))
    return walks


def engine_walks(pairs):
    """The keys in index order as the engine walks them in a new process, by table."""
    args = []
    for table, index in pairs:
        args += [winpath(table), winpath(index)]
    walks, current, tables = {}, [], iter(pairs)
    for line in probe("walk", *args):
        first, rest = line.split(" ", 1)
        if first == "end":
            walks[next(tables)[0]] = (current, int(rest))
            current = []
        else:
            current.append((bytes.fromhex(rest), int(first)))
    return walks


def main():
    with tempfile.TemporaryDirectory() as folder:
        cases = []
        for number, (what, steps) in enumerate(ORDERS):
            for with_change in (False, True):
                name = "t%02d%s" % (number, "c" if with_change else "")
                table = os.path.join(folder, name + ".dbf")
                # The engine names index files in upper case.
                index = os.path.join(folder, name.upper() + ".NTX")
                make_table(table)
                run = ["files_open", "use:excl", "create", "close:3", "files_close"]
                run += [s for s in steps if with_change or s != CHANGE]
                label = what + (", with a changed record buffer" if with_change else "")
                try:
                    probe("run", winpath(table), winpath(index), *run)
                except RuntimeError as error:
                    fail("%s: %s" % (label, error))
                    continue
                cases.append((label, table, index, expected_names(with_change)))

        # XBase::Index tells the format by the extension: the index files are read as they are.
        walks = perl_walks([index for _, _, index, _ in cases])
        walked = engine_walks([(table, index) for _, table, index, _ in cases])
        for label, table, index, names in cases:
            rows = [record["NAME"] for record in dbfread.DBF(table, encoding="cp850", char_decode_errors="strict")]
            check_list("%s: the rows of the table" % label, names, rows)
            entries = expected_entries(names)
            check_list("%s: XBase::Index walk" % label, entries, walks.get(index, []))
            keys, error = walked.get(table, ([], -1))
            check_list("%s: engine walk after reopening" % label, entries, keys)
            check("%s: error of the engine walk" % label, 0, error)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
