#!/usr/bin/python3
"""Checks the engine's day numbers against Python's own calendar.

Every day from 0001-01-01 to 9999-12-31: the date text the engine writes for its day number must
be the date Python's datetime gives for that day (the engine's day number is the Julian day
number, datetime's proleptic Gregorian ordinal + 1,721,425), and reading the text back must give
the same day number. Then texts that are no dates (29 February of common years, the 31st of short
months, day 0, month 0 and 13) must be refused, and the blank text must be the empty date.
"""
import calendar
import datetime
import os
import subprocess
import sys

import oxtest

ORDINAL_OFFSET = 1721425
FIRST = datetime.date(1, 1, 1).toordinal() + ORDINAL_OFFSET
LAST = datetime.date(9999, 12, 31).toordinal() + ORDINAL_OFFSET


def run_probe(args, stdin=None):
    run = subprocess.run(oxtest.command("engine_day_number_probe", *args), input=stdin, stdout=subprocess.PIPE, timeout=600)
    if run.returncode != 0:
        print("probe %s failed with exit code %d" % (args, run.returncode))
        return None
    return run.stdout.decode("ascii").splitlines()


def check_every_day():
    lines = run_probe(["days", str(FIRST), str(LAST)])
    if lines is None:
        return 1
    if len(lines) != LAST - FIRST + 1:
        print("expected %d lines, got %d" % (LAST - FIRST + 1, len(lines)))
        return 1
    failures = 0
    day = datetime.date(1, 1, 1)
    one = datetime.timedelta(days=1)
    for i, line in enumerate(lines):
        number = FIRST + i
        expected = "%04d%02d%02d" % (day.year, day.month, day.day)
        if line != expected:
            failures += 1
            if failures <= 20:
                print("day %d: expected %s (read back to %d), got '%s'" % (number, expected, number, line))
        if number < LAST:
            day += one
    print("%d days checked, %d failures" % (len(lines), failures))
    return failures


def valid(year, month, day):
    try:
        datetime.date(year, month, day)
        return True
    except ValueError:
        return False


def check_texts():
    cases = []
    for year in range(1, 10000):
        for month, day in ((2, 29), (2, 30), (4, 31), (6, 31), (9, 31), (11, 31), (12, 31), (1, 0), (0, 1), (13, 1)):
            text = "%04d%02d%02d" % (year, month, day)
            if valid(year, month, day):
                expected = "0 %d" % (datetime.date(year, month, day).toordinal() + ORDINAL_OFFSET)
            else:
                expected = "-1 -1"
            cases.append((text, expected))
    cases += [("        ", "-2 -1"), ("00000000", "-1 -1"), ("19000229", "-1 -1"), ("20010231", "-1 -1")]
    assert not calendar.isleap(1900) and calendar.isleap(2000)
    lines = run_probe(["texts"], "".join(t + "\n" for t, _ in cases).encode("ascii"))
    if lines is None:
        return 1
    if len(lines) != len(cases):
        print("expected %d lines, got %d" % (len(cases), len(lines)))
        return 1
    failures = 0
    for (text, expected), got in zip(cases, lines):
        if got != expected:
            failures += 1
            if failures <= 20:
                print("'%s': expected '%s', got '%s'" % (text, expected, got))
    print("%d texts checked, %d failures" % (len(cases), failures))
    return failures


def main():
    assert FIRST == 1721426 and datetime.date(2000, 1, 1).toordinal() + ORDINAL_OFFSET == 2451545
    return 1 if check_every_day() + check_texts() else 0


if __name__ == "__main__":
    sys.exit(main())
