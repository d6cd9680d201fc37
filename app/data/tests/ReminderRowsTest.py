#!/usr/bin/python3
"""Reminder results in the stored rows, read with python3-dbf: reminder_probe acknowledges and
postpones reminders through the data controller; the rows it leaves in OX4.DBE must say so.

- Acknowledged single entry: STATUS "N", REMIND no longer "1"; acknowledged series: STATUS "N",
  REMIND still "1".
- Postponed single appointment: STATUS "D"; one more row, the postponement copy: MOVERECID = the
  entry's record id, STATUS "C", T_REMSPAN 0, SERIE not "1", TYPE "AF", the subject and user of the
  entry, starting (D_FIRST_OC, T_BEGIN) 15 minutes after the probe's "now", later rewritten in
  place to 30 minutes after it (no third row).
- Postponed to-do: STATUS "D"; its copy a to-do (TYPE "TD") due (D_LAST_OC, T_BEGIN) two hours
  after "now".

Two stations, read with dbfread: station A takes its copy of an entry (10:00 to 11:00 in "Raum 1")
as a reminder window holds it; station B, another process, changes the place to "Raum 2"; then A
moves its copy by an hour. The row holds both changes: "Raum 2", 11:00 to 12:00, STATUS "C".
"""
import datetime
import os
import shutil
import sys
import tempfile

import subprocess

import dbf
import dbfread

import oxtest
from oxtest import check, winpath


def rows_of(folder):
    copy = os.path.join(folder, "read.dbf")
    for entry in os.listdir(folder):
        if entry.upper() == "OX4.DBE":
            shutil.copyfile(os.path.join(folder, entry), copy)
        if entry.upper() == "OX4.DBT":
            shutil.copyfile(os.path.join(folder, entry), os.path.join(folder, "read.dbt"))
    table = dbf.Table(copy, codepage="cp850")
    table.open(dbf.READ_ONLY)
    rows = []
    for row in table:
        if dbf.is_deleted(row):
            continue
        rows.append({name.upper(): clean(row[name]) for name in table.field_names})
    table.close()
    return rows


def clean(value):
    if isinstance(value, str):
        return value.split("\x1a")[0].strip(" ")
    if isinstance(value, float) and value == int(value):
        return int(value)
    return value


def start_of(row, date_field):
    """The date and minute of the row's start as a datetime (None when missing)."""
    day = row[date_field]
    minute = row["T_BEGIN"]
    if not isinstance(day, datetime.date) or not isinstance(minute, int):
        return None
    return datetime.datetime(day.year, day.month, day.day) + datetime.timedelta(minutes=minute)


def near(what, expected, actual):
    """Within the few minutes the probe needed (the copy's time is cut to whole minutes)."""
    ok = actual is not None and datetime.timedelta(0) <= actual - expected <= datetime.timedelta(minutes=3)
    check(what + " (within minutes of %s)" % expected, True, ok)
    if not ok:
        oxtest.fail("%s: %s" % (what, actual))


def reminder_rows():
    with tempfile.TemporaryDirectory() as folder:
        out = oxtest.run("reminder_probe", winpath(folder) + "\\", timeout=600)
        lines = out.splitlines()
        if not lines or lines[-1] != "ok":
            oxtest.fail("reminder_probe: %s" % out[-400:])
            return
        ids, results, now = {}, {}, None
        for line in lines[:-1]:
            words = line.split()
            if words[0] == "id":
                ids[words[1]] = int(words[2])
            elif words[0] == "result":
                results[words[1]] = words[2]
            elif words[0] == "now":
                now = datetime.datetime.strptime(words[1], "%Y%m%d%H%M")
        check("answers of the operations",
              {"acknowledge-single": "1", "acknowledge-series": "1", "postpone-late": "1", "postpone-todo": "1",
               "postpone-copy": "1"}, results)
        by_id = {row["RECORDID"]: row for row in rows_of(folder)}
        check("rows: four entries and two copies", 6, len(by_id))

        single, series = by_id[ids["Einzeln"]], by_id[ids["Serie"]]
        check("acknowledged single: status", "N", single["STATUS"])
        check("acknowledged single: reminder off", False, single["REMIND"] == "1")
        check("acknowledged series: status", "N", series["STATUS"])
        check("acknowledged series: reminder kept", "1", series["REMIND"])

        late, todo = by_id[ids["Spaet"]], by_id[ids["Aufgabe"]]
        check("postponed appointment: status", "D", late["STATUS"])
        check("postponed to-do: status", "D", todo["STATUS"])

        copy = by_id.get(ids["Kopie"])
        if copy is None:
            oxtest.fail("the copy's row is missing")
            return
        check("copy: moved record id", ids["Spaet"], copy["MOVERECID"])
        check("copy: status", "C", copy["STATUS"])
        check("copy: lead time", 0, copy["T_REMSPAN"])
        check("copy: no series", False, copy["SERIE"] == "1")
        check("copy: type", "AF", copy["TYPE"])
        check("copy: subject and user", ("Spaet", "ANNA"), (copy["BETREFF"], copy["USER"]))
        check("copy: reminder on", "1", copy["REMIND"])
        near("copy rewritten: start now + 30 minutes", now + datetime.timedelta(minutes=30), start_of(copy, "D_FIRST_OC"))

        todo_copies = [row for row in by_id.values() if row["MOVERECID"] == ids["Aufgabe"]]
        check("to-do copies", 1, len(todo_copies))
        if todo_copies:
            todo_copy = todo_copies[0]
            check("to-do copy: type and status", ("TD", "C"), (todo_copy["TYPE"], todo_copy["STATUS"]))
            check("to-do copy: lead time", 0, todo_copy["T_REMSPAN"])
            near("to-do copy: due now + 2 hours", now + datetime.timedelta(hours=2), start_of(todo_copy, "D_LAST_OC"))


def two_stations_move():
    with tempfile.TemporaryDirectory() as folder:
        directory = winpath(folder) + "\\"
        station_a = subprocess.Popen(oxtest.command("reminder_probe", "move", directory), stdout=subprocess.PIPE)
        try:
            words = station_a.stdout.readline().decode("latin-1").split()
            if len(words) != 3 or words[0] != "id":
                oxtest.fail("station A: %s" % words)
                return
            record_id = int(words[2])
            oxtest.run("reminder_probe", "place", directory, record_id, "Raum 2", timeout=300)
            out, _ = station_a.communicate(timeout=300)
        finally:
            if station_a.poll() is None:
                station_a.kill()
        lines = out.decode("latin-1").replace("\r", "").split("\n")
        check("station A moved its copy", ["result move 1", "ok"], [line for line in lines if line][-2:])
        rows = [row for row in dbfread.DBF(os.path.join(folder, "OX4.DBE"), encoding="cp850")
                if int(row["RECORDID"]) == record_id]
        check("one row of the entry", 1, len(rows))
        if rows:
            row = rows[0]
            check("station B's place stays", "Raum 2", row["ORT"].strip())
            check("station A's move: start and end", (660, 720), (int(row["T_BEGIN"]), int(row["T_END"])))
            check("station A's move: status", "C", row["STATUS"].strip())
            check("the day stays", datetime.date(2005, 3, 1), row["D_FIRST_OC"])


def main():
    reminder_rows()
    two_stations_move()
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
