#!/usr/bin/python3
"""Checks Date's day numbers against an independent calendar calculation.

For more than 10,000 dates between the years 1 and 9999 the Windows program
support_date_probe.exe reports the day number and weekday Date computes, and the date it
computes back from that day number. The expected values come from Python's own calendar
(datetime, Gregorian) for dates from 1582-10-15 on, and from a plain day count of the Julian
calendar (a leap year every fourth year) before that. Date's day number is the Julian day
number minus 1; its weekday counts Sunday as 1.
"""
import datetime
import os
import random
import subprocess
import sys

import oxtest

REFORM = (1582, 10, 15)
GREGORIAN_ORDINAL_OFFSET = 1721425   # Julian day number of proleptic Gregorian ordinal 0
JULIAN_EPOCH = 1721424               # Julian day number of 1 January 1 in the Julian calendar
JULIAN_MONTH_DAYS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]


def julian_leap(year):
    return year % 4 == 0


def julian_month_days(year, month):
    if month == 2 and julian_leap(year):
        return 29
    return JULIAN_MONTH_DAYS[month - 1]


def julian_day_number(year, month, day):
    """Julian day number of a date of the Julian calendar, by counting days from 1 January 1."""
    days = (year - 1) * 365 + (year - 1) // 4
    days += sum(julian_month_days(year, m) for m in range(1, month))
    return JULIAN_EPOCH + days + day - 1


def expected(year, month, day):
    """(day number, weekday with Sunday = 1) of a date of the calendar in force then."""
    if (year, month, day) >= REFORM:
        d = datetime.date(year, month, day)
        jdn = d.toordinal() + GREGORIAN_ORDINAL_OFFSET
        weekday = d.isoweekday() % 7 + 1
    else:
        jdn = julian_day_number(year, month, day)
        weekday = (jdn + 1) % 7 + 1   # Julian day number 0 was a Monday
    return jdn - 1, weekday


def valid(year, month, day):
    if (1582, 10, 5) <= (year, month, day) < REFORM:
        return False   # these days do not exist: 4 October 1582 was followed by 15 October
    if (year, month, day) >= REFORM:
        try:
            datetime.date(year, month, day)
            return True
        except ValueError:
            return False
    return 1 <= day <= julian_month_days(year, month)


def dates():
    result = []
    whole_years = [1, 4, 100, 200, 300, 1000, 1500, 1580, 1581, 1582, 1583, 1600, 1700, 1800,
                   1900, 2000, 2024, 2100, 9999]
    for year in whole_years:
        for month in range(1, 13):
            for day in range(1, 32):
                if valid(year, month, day):
                    result.append((year, month, day))
    rng = random.Random(1582)
    while len(result) < 12000:
        date = (rng.randint(1, 9999), rng.randint(1, 12), rng.randint(1, 31))
        if valid(*date):
            result.append(date)
    return result


def main():
    # The reference itself: the two calendars meet at the reform.
    assert julian_day_number(1582, 10, 4) == 2299160, julian_day_number(1582, 10, 4)
    assert expected(1582, 10, 15) == (2299160, 6), expected(1582, 10, 15)   # a Friday
    assert expected(2000, 1, 1) == (2451544, 7), expected(2000, 1, 1)        # a Saturday

    cases = dates()
    stdin = "".join("%d %d %d\n" % c for c in cases)
    run = subprocess.run(oxtest.command("support_date_probe"), input=stdin.encode(), stdout=subprocess.PIPE, timeout=240)
    lines = run.stdout.decode().split()
    if run.returncode != 0 or len(lines) != 6 * len(cases):
        print("probe failed: exit code %d, %d numbers for %d dates" % (run.returncode, len(lines), len(cases)))
        return 1
    failures = 0
    for i, (year, month, day) in enumerate(cases):
        got = [int(v) for v in lines[6 * i:6 * i + 6]]
        number, weekday = expected(year, month, day)
        want = [number, weekday, year, month, day, weekday]
        if got != want:
            failures += 1
            if failures <= 20:
                print("%04d-%02d-%02d: expected %s, got %s" % (year, month, day, want, got))
    before_reform = sum(1 for c in cases if c < REFORM)
    print("%d dates checked (%d before 1582-10-15), %d failures" % (len(cases), before_reform, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
