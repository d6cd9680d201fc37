#!/usr/bin/python3
"""Checks the recurrence expansion of series patterns against python3-dateutil's rrule.

Every regular kind of pattern (every N days, working days, weekly on several weekdays, monthly on
a day, monthly on the Nth or last weekday, yearly on a date, yearly on the Nth or last weekday of a
month) is expanded by recurrence_probe.exe under Wine, for fixed cases at the edges of the range,
of months and of leap years and for cases drawn from a seeded generator over 1900-2099. Here rrule
computes the same occurrences:
- the range runs from the start to the end, without an end to 2099-12-31, with the default end to
  ten years after the start (29 February to 28 February), never past 2099-12-31;
- a day of month beyond the month's end falls on its last day (rrule: the first of the month days
  D and -1, bysetpos 1); a monthly series whose start lies after day D of its month begins on the
  next month that has a day D; a yearly date cut to a short month stays cut in later years (29
  February becomes 28 February for good);
- the first candidate is listed even when it lies after the end (for the kinds on the Nth weekday
  and the yearly kinds, when it lies on or after the start);
- each weekday of a weekly pattern runs on its own from its first day on or after the start;
- the working days are listed from the start (when it is one), then Mondays, Tuesdays, ... Fridays.
The days are compared in list order, and the first occurrence with the smallest day.
"""
import calendar
import datetime
import random
import subprocess
import sys

from dateutil.rrule import DAILY, MONTHLY, WEEKLY, YEARLY, rrule
from dateutil.rrule import MO, TU, WE, TH, FR, SA, SU

import oxtest

FIRST = datetime.datetime(1900, 1, 1)
LAST = datetime.datetime(2099, 12, 31)
NONE = "2199-12-31"
# The pattern's weekday numbers (1 Sunday ... 7 Saturday) as dateutil's weekdays.
WEEKDAYS = {1: SU, 2: MO, 3: TU, 4: WE, 5: TH, 6: FR, 7: SA}


def weekday_number(date):
    return date.isoweekday() % 7 + 1


def add_years(date, years):
    day = date.day
    if date.month == 2 and day == 29:
        try:
            return date.replace(year=date.year + years)
        except ValueError:
            day = 28
    return date.replace(year=date.year + years, day=day)


class Pattern:
    """A pattern with the fields of the probe's input line."""

    def __init__(self, name, kind, start, end=None, no_end=False, default_end=False, interval=1, days="0000000",
                 day=1, instance=1, weekday=1, month=1):
        self.name, self.kind, self.start, self.end = name, kind, start, end or start
        self.no_end, self.default_end = no_end, default_end
        self.interval, self.days, self.day = interval, days, day
        self.instance, self.weekday, self.month = instance, weekday, month

    def line(self):
        types = {"daily": 0, "workdays": 0, "weekly": 1, "monthday": 2, "monthweekday": 2, "yeardate": 3,
                 "yearweekday": 3}
        fields = [self.name, types[self.kind], self.start.strftime("%Y-%m-%d"), self.end.strftime("%Y-%m-%d"),
                  int(self.no_end), int(self.default_end),
                  self.interval if self.kind == "daily" else 0, int(self.kind == "workdays"),
                  self.interval if self.kind == "weekly" else 0, self.days, int(self.kind == "monthday"),
                  self.interval if self.kind.startswith("month") else 0, self.day, self.instance, self.weekday,
                  int(self.kind == "yeardate"), self.month]
        return " ".join(str(f) for f in fields)

    def range_end(self):
        if self.no_end:
            end = LAST
        elif self.default_end:
            end = add_years(self.start, 10)
        else:
            end = self.end
        return min(end, LAST)


def clamped_day(day):
    """rrule's parts for day D of a month, or its last day when the month is shorter."""
    return dict(bymonthday=(day, -1), bysetpos=1)


def month_length(year, month):
    return calendar.monthrange(year, month)[1]


def nth(weekday, instance):
    return WEEKDAYS[weekday](-1 if instance == 5 else instance)


def first_in(freq, start, **parts):
    return next(iter(rrule(freq, dtstart=start, count=1, **parts)))


def expected_days(p):
    start, end = max(p.start, FIRST), p.range_end()
    k = p.kind
    if k == "daily":
        return [start] + [d for d in rrule(DAILY, interval=p.interval, dtstart=start, until=end) if d > start]
    if k == "workdays":
        days = list(rrule(DAILY, byweekday=(MO, TU, WE, TH, FR), dtstart=start, until=end))
        ordered = [start] if start in days else []
        for number in range(2, 7):
            ordered += [d for d in days if d > start and weekday_number(d) == number]
        return ordered
    if k == "weekly":
        result = []
        for number in range(1, 8):
            if p.days[number - 1] != "1":
                continue
            first = start + datetime.timedelta(days=(number - weekday_number(start)) % 7)
            result += [first] + [d for d in rrule(WEEKLY, interval=p.interval, dtstart=first, until=end) if d > first]
        return result
    if k == "monthday":
        parts = clamped_day(p.day)
        first = start.replace(day=min(p.day, month_length(start.year, start.month)))
        if first < start:
            # The next month that has day D (day 30 from 31 January is 30 March).
            year, month = start.year, start.month
            while True:
                year, month = (year + 1, 1) if month == 12 else (year, month + 1)
                if month_length(year, month) >= p.day:
                    break
            first = datetime.datetime(year, month, p.day)
        return [first] + [d for d in rrule(MONTHLY, interval=p.interval, dtstart=first, until=end, **parts)
                          if d > first]
    if k == "monthweekday":
        parts = dict(byweekday=nth(p.weekday, p.instance))
        in_start_month = first_in(MONTHLY, start.replace(day=1), **parts)
        if start <= in_start_month and in_start_month > end:
            return [in_start_month]
        return list(rrule(MONTHLY, interval=p.interval, dtstart=start, until=end, **parts))
    if k == "yeardate":
        # A year added each time: a day cut to a short month stays cut (29 February, once 28
        # February, stays 28 February).
        year, day = start.year, min(p.day, month_length(start.year, p.month))
        date = datetime.datetime(year, p.month, day)
        result = [date] if date >= start else []
        while date <= end:
            year += 1
            day = min(day, month_length(year, p.month))
            date = datetime.datetime(year, p.month, day)
            if date <= end:
                result.append(date)
        return result
    if k == "yearweekday":
        parts = dict(bymonth=p.month, byweekday=nth(p.weekday, p.instance))
        in_start_year = first_in(YEARLY, start.replace(month=1, day=1), **parts)
        if start <= in_start_year and in_start_year > end:
            return [in_start_year]
        return list(rrule(YEARLY, dtstart=start, until=end, **parts))
    raise ValueError(k)


def random_date(rng, first_year=1900, last_year=2099):
    day = rng.randrange((datetime.datetime(last_year, 12, 31) - datetime.datetime(first_year, 1, 1)).days + 1)
    return datetime.datetime(first_year, 1, 1) + datetime.timedelta(days=day)


def generated(rng, count_per_kind):
    patterns = []
    kinds = ["daily", "workdays", "weekly", "monthday", "monthweekday", "yeardate", "yearweekday"]
    for kind in kinds:
        for i in range(count_per_kind):
            start = random_date(rng)
            ending = rng.choice(["given", "given", "none", "default"])
            end = start + datetime.timedelta(days=rng.randrange(0, 20 * 366))
            p = Pattern("%s-%d" % (kind, i), kind, start, end, no_end=ending == "none",
                        default_end=ending == "default")
            if kind == "daily":
                p.interval = rng.choice([1, 1, 2, 3, 7, 10, 31, 100, 365])
                if p.no_end and p.interval < 7:
                    p.start = random_date(rng, 2070)  # keeps the lines short
            elif kind == "workdays" and p.no_end:
                p.start = random_date(rng, 2070)
            elif kind == "weekly":
                p.interval = rng.choice([1, 1, 2, 3, 4, 8])
                p.days = "".join(rng.choice("01") for _ in range(7))
                if "1" not in p.days:
                    p.days = "0100000"
            elif kind == "monthday":
                p.interval = rng.choice([1, 1, 2, 3, 6, 12, 7])
                p.day = rng.choice([1, 15, 28, 29, 30, 31, rng.randrange(1, 32)])
            elif kind == "monthweekday":
                p.interval = rng.choice([1, 1, 2, 3, 6, 12])
                p.instance, p.weekday = rng.randrange(1, 6), rng.randrange(1, 8)
            elif kind == "yeardate":
                p.month, p.day = rng.randrange(1, 13), rng.choice([1, 29, 30, 31, rng.randrange(1, 32)])
            else:
                p.month, p.instance, p.weekday = rng.randrange(1, 13), rng.randrange(1, 6), rng.randrange(1, 8)
            patterns.append(p)
    return patterns


def fixed():
    d = datetime.datetime
    return [
        Pattern("whole-range-daily", "daily", FIRST, no_end=True),
        Pattern("whole-range-monthly-31", "monthday", FIRST, no_end=True, day=31),
        Pattern("whole-range-last-friday", "monthweekday", FIRST, no_end=True, instance=5, weekday=6),
        Pattern("leap-day-from-1900", "yeardate", FIRST, no_end=True, month=2, day=29),
        Pattern("leap-day-default-end", "yeardate", d(2096, 2, 29), default_end=True, month=2, day=29),
        Pattern("last-day", "daily", LAST, no_end=True),
        Pattern("monthly-30-from-31-january", "monthday", d(2005, 1, 31), d(2006, 12, 31), interval=1, day=30),
        Pattern("every-other-month-31", "monthday", d(2003, 8, 31), d(2008, 8, 31), interval=2, day=31),
        Pattern("working-days-from-saturday", "workdays", d(2005, 1, 1), d(2007, 1, 1)),
        Pattern("weekly-every-two-mon-wed", "weekly", d(2003, 1, 1), d(2004, 12, 31), interval=2, days="0101000"),
        Pattern("fourth-monday", "monthweekday", d(1999, 12, 31), d(2030, 1, 1), interval=1, instance=4, weekday=2),
        Pattern("last-monday-may", "yearweekday", FIRST, no_end=True, month=5, instance=5, weekday=2),
    ]


def main():
    rng = random.Random(20230)
    patterns = fixed() + generated(rng, 120)
    text = "".join(p.line() + "\n" for p in patterns).encode("ascii")
    run = subprocess.run(oxtest.command("recurrence_probe"), input=text, stdout=subprocess.PIPE, timeout=600)
    if run.returncode != 0:
        print("probe failed with exit code %d" % run.returncode)
        return 1
    results = {}
    for line in run.stdout.decode("ascii").splitlines():
        words = line.split()
        if words:
            results[words[0]] = words[1:]
    days_compared = 0
    for p in patterns:
        words = results.get(p.name)
        if words is None:
            oxtest.fail("%s: no answer" % p.name)
            continue
        expected = [x.strftime("%Y-%m-%d") for x in expected_days(p)]
        days_compared += len(expected)
        oxtest.check(p.name + " result", "1", words[0])
        oxtest.check(p.name + " first occurrence", min(expected) if expected else NONE, words[1])
        oxtest.check_list(p.name + " days (" + p.line() + ")", expected, words[2:])
    return oxtest.report("%d patterns, %d days, %d checks, %d failures" %
                         (len(patterns), days_compared, oxtest.checks, len(oxtest.failures)))


if __name__ == "__main__":
    sys.exit(main())
