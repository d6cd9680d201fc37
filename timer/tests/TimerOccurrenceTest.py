#!/usr/bin/python3
"""Checks the timer rules' occurrence sequences against python3-dateutil's rrule.

For every rule kind, long sequences (fixed cases at the month, year and leap-year edges plus
cases drawn from a seeded generator) are computed by timer_occurrence_probe.exe under Wine and by
rrule here. A rule's first occurrence is its start (whatever its day; a weekly rule's start moves to
its weekday); the rest is rrule's recurrence after the start. The library's end rules are applied on
top: a series ends when the previous due time is at or past the end, or when the next occurrence's
calendar date lies after the end's date. Each item is compared as "due|reported occurrence": due is
the occurrence minus the lead minutes; the yearly rules report the occurrence itself, the others
their due time.
"""
import calendar
import datetime
import os
import random
import subprocess
import sys

from dateutil.rrule import DAILY, MINUTELY, MONTHLY, SECONDLY, WEEKLY, YEARLY, rrule
from dateutil.rrule import MO, TU, WE, TH, FR, SA, SU

import oxtest

FORMAT = "%Y-%m-%dT%H:%M:%S"
# Weekday numbers of the library (1 Sunday ... 7 Saturday) as dateutil's weekdays.
WEEKDAYS = {1: SU, 2: MO, 3: TU, 4: WE, 5: TH, 6: FR, 7: SA}
REPORTS_OCCURRENCE = {"yearly", "yeardayinmonth"}


def library_weekday(date):
    return date.isoweekday() % 7 + 1


class Case:
    def __init__(self, name, kind, start, end, count, lead, params):
        self.name, self.kind, self.start, self.end = name, kind, start, end
        self.count, self.lead, self.params = count, lead, list(params)

    def line(self):
        end = self.end.strftime(FORMAT) if self.end else "-"
        words = [self.name, self.kind, self.start.strftime(FORMAT), end, str(self.count), str(self.lead)]
        return " ".join(words + [str(p) for p in self.params])


def after_start(start, rule):
    """The start, then every occurrence of rule after it."""
    return [start] + [o for o in rule if o > start]


def year_day_in_month(start, month, day, count):
    """The start, then a year added to the occurrence each time: a day that was cut to a short month
    stays cut (after 28 February of a common year, 28 February also in a leap year)."""
    def last(year, mon):
        return calendar.monthrange(year, mon)[1]

    carried = day
    if start.month == month and start.day < day and start.day == last(start.year, start.month):
        carried = start.day
    result = [start]
    cur = start
    while len(result) < count:
        following = None
        for year in (cur.year, cur.year + 1):
            candidate = start.replace(year=year, month=month, day=min(carried, last(year, month)))
            if candidate.date() > cur.date():
                following = candidate
                carried = candidate.day
                break
        if following is None:
            break
        result.append(following)
        cur = following
    return result


def first_weekday_from(start, weekday):
    days = (weekday - library_weekday(start)) % 7
    return start + datetime.timedelta(days=days)


def occurrences(case, weekday=None):
    """The recurrence of a case (weekday: the one weekly rule of a weekbyday case)."""
    s, n, p = case.start, case.count + 2, case.params
    k = case.kind
    if k == "seconds":
        return list(rrule(SECONDLY, interval=max(1, p[0]), dtstart=s, count=n))
    if k == "minutes":
        return list(rrule(MINUTELY, interval=max(1, p[0]), dtstart=s, count=n))
    if k == "daily":
        return list(rrule(DAILY, interval=max(1, p[0]), dtstart=s, count=n))
    if k == "workdays":
        return after_start(s, rrule(DAILY, byweekday=(MO, TU, WE, TH, FR), dtstart=s, count=n))
    if k in ("weekly", "weekbyday"):
        every, day = (p[0], p[1]) if k == "weekly" else (p[0], weekday)
        first = first_weekday_from(s, day)
        return list(rrule(WEEKLY, interval=max(1, every), byweekday=WEEKDAYS[day], dtstart=first, count=n))
    if k == "monthly":
        rule = rrule(MONTHLY, interval=max(1, p[0]), bymonthday=(p[1], -1), bysetpos=1, dtstart=s, count=n)
        return after_start(s, rule)
    if k == "monthext":
        index, day, every = p
        nth = -1 if index == 4 else index + 1
        return after_start(s, rrule(MONTHLY, interval=max(1, every), byweekday=WEEKDAYS[day](nth), dtstart=s, count=n))
    if k == "yearly":
        return after_start(s, rrule(YEARLY, byyearday=p[0], dtstart=s, count=n))
    if k == "yeardayinmonth":
        return year_day_in_month(s, p[0], p[1], n)
    if k == "yearext":
        month, index, day = p
        nth = -1 if index == 4 else index + 1
        return after_start(s, rrule(YEARLY, bymonth=month, byweekday=WEEKDAYS[day](nth), dtstart=s, count=n))
    raise ValueError(k)


def expected_items(case, weekday=None):
    lead = datetime.timedelta(minutes=case.lead)
    show = lambda d: d.strftime(FORMAT)
    if case.kind == "fixed":
        due = case.start - lead
        return [show(due) + "|" + show(case.start)] + [show(due) + "|" + show(due)] * (case.count - 1)
    occ = occurrences(case, weekday)
    lead = datetime.timedelta(minutes=0 if case.kind in ("seconds", "minutes") else case.lead)
    kept = [occ[0]]
    for k in range(1, len(occ)):
        if len(kept) >= case.count:
            break
        if case.end is not None and occ[k - 1] - lead >= case.end:
            break
        if case.end is not None and occ[k].date() > case.end.date():
            break
        kept.append(occ[k])
    items = []
    for i, o in enumerate(kept):
        reported = o if (i == 0 or case.kind in REPORTS_OCCURRENCE) else o - lead
        items.append(show(o - lead) + "|" + show(reported))
    return items


def fixed_cases():
    d = datetime.datetime
    c = []
    c.append(Case("fixed", "fixed", d(2008, 12, 24, 18, 15), None, 3, 15, []))
    c.append(Case("sec-midnight", "seconds", d(2008, 12, 31, 23, 59), None, 60, 0, [45]))
    c.append(Case("sec-end", "seconds", d(2008, 12, 31, 23, 59), d(2009, 1, 1, 0, 10), 60, 0, [45]))
    c.append(Case("min-leapday", "minutes", d(2008, 2, 28, 22, 0), None, 60, 0, [90]))
    c.append(Case("min-end", "minutes", d(2008, 2, 28, 22, 0), d(2008, 3, 1, 1, 0), 60, 0, [90]))
    c.append(Case("daily-1", "daily", d(2008, 2, 27, 7, 30), None, 60, 30, [1]))
    c.append(Case("daily-3-end", "daily", d(2008, 1, 8, 9, 45), d(2008, 2, 10), 60, 0, [3]))
    c.append(Case("daily-end-00", "daily", d(2008, 1, 1, 9, 45), d(2008, 1, 10), 60, 0, [1]))
    c.append(Case("daily-2100", "daily", d(2100, 2, 20, 23, 59, 59), None, 30, 1440, [2]))
    for start in (d(2008, 1, 18, 18, 0), d(2008, 1, 19, 9, 0), d(2008, 1, 20, 9, 0), d(2008, 1, 21, 6, 0)):
        c.append(Case("workdays-%s" % start.strftime("%a"), "workdays", start, None, 60, 10, []))
    c.append(Case("workdays-end-sat", "workdays", d(2008, 1, 1, 8, 0), d(2008, 2, 2, 12, 0), 60, 0, []))
    for weekday in range(1, 8):
        c.append(Case("weekly-%d" % weekday, "weekly", d(2008, 1, 2, 9, 0), None, 50, 0, [2, weekday]))
    c.append(Case("weekly-end", "weekly", d(2008, 1, 7, 9, 0), d(2008, 3, 19), 50, 0, [1, 2]))
    c.append(Case("wbd-mon-thu", "weekbyday", d(2008, 1, 2, 9, 0), None, 50, 30, [2, 0, 0, 1, 0, 0, 1, 0]))
    c.append(Case("wbd-all", "weekbyday", d(2008, 12, 28, 9, 0), d(2009, 6, 30), 50, 0, [1, 1, 1, 1, 1, 1, 1, 1]))
    for day in (1, 15, 28, 29, 30, 31):
        for every in (1, 2, 5, 12):
            start = first_on_or_after(MONTHLY, d(2007, 12, 1, 8, 0), interval=every, bymonthday=(day, -1), bysetpos=1)
            c.append(Case("monthly-%d-%d" % (day, every), "monthly", start, None, 60, 0, [every, day]))
    c.append(Case("monthly-31-end", "monthly", d(2008, 1, 31, 8, 0), d(2008, 6, 30), 60, 0, [1, 31]))
    for index in range(5):
        for weekday in (1, 6):
            for every in (1, 3):
                c.append(Case("monthext-%d-%d-%d" % (index, weekday, every), "monthext", d(2008, 1, 1, 0, 0), None,
                              60, 60, [index, weekday, every]))
    c.append(Case("monthext-last-fri-00", "monthext", d(2008, 1, 25), None, 40, 0, [4, 6, 1]))
    for day in (1, 59, 60, 61, 200, 365):
        c.append(Case("yearly-%d" % day, "yearly", d(2007, 3, 1, 10, 0), None, 40, 60, [day]))
    c.append(Case("yearly-61-2096", "yearly", d(2096, 3, 1, 10, 0), None, 12, 0, [61]))
    for month, day in ((2, 29), (3, 1), (12, 31), (4, 31), (1, 1)):
        c.append(Case("ydim-%d-%d" % (month, day), "yeardayinmonth", d(2008, 2, 29, 8, 0), None, 40, 30,
                      [month, day]))
    c.append(Case("ydim-2-29-2396", "yeardayinmonth", d(2396, 2, 29, 8, 0), None, 12, 0, [2, 29]))
    c.append(Case("ydim-end", "yeardayinmonth", d(2008, 6, 1), d(2015, 12, 31), 40, 0, [6, 1]))
    for month, index, weekday in ((3, 4, 1), (10, 4, 1), (11, 3, 5), (5, 0, 2), (2, 4, 6)):
        start = first_on_or_after(YEARLY, d(2008, 1, 1, 2, 0), bymonth=month,
                                  byweekday=WEEKDAYS[weekday](-1 if index == 4 else index + 1))
        c.append(Case("yearext-%d-%d-%d" % (month, index, weekday), "yearext", start, None, 40, 0,
                      [month, index, weekday]))
    return c


def first_on_or_after(freq, base, **kw):
    return rrule(freq, dtstart=base, count=1, **kw)[0]


def generated_cases(rng):
    c = []
    for i in range(25):
        base = datetime.datetime(rng.randint(1990, 2380), rng.randint(1, 12), rng.randint(1, 28),
                                 rng.randint(0, 23), rng.choice((0, 15, 30, 59)), rng.choice((0, 30)))
        lead = rng.choice((0, 5, 60, 1440))
        end = None
        if rng.random() < 0.5:
            end = base + datetime.timedelta(days=rng.randint(0, 900), hours=rng.choice((0, 0, 12)))
        count = rng.randint(20, 60)
        every = rng.choice((1, 1, 2, 3, 7))
        weekday = rng.randint(1, 7)
        c.append(Case("g%d-daily" % i, "daily", base, end, count, lead, [every]))
        c.append(Case("g%d-workdays" % i, "workdays", base, end, count, lead, []))
        c.append(Case("g%d-weekly" % i, "weekly", base, end, count, lead, [every, weekday]))
        flags = [rng.choice((0, 1)) for _ in range(7)]
        c.append(Case("g%d-wbd" % i, "weekbyday", base, end, count, lead, [every] + flags))
        day = rng.choice((1, 10, 28, 29, 30, 31))
        start = first_on_or_after(MONTHLY, base, interval=every, bymonthday=(day, -1), bysetpos=1)
        c.append(Case("g%d-monthly" % i, "monthly", start, end and max(end, start), count, lead, [every, day]))
        c.append(Case("g%d-monthext" % i, "monthext", base, end, count, lead, [rng.randint(0, 4), weekday, every]))
        c.append(Case("g%d-yearly" % i, "yearly", base, end, count, lead, [rng.randint(1, 365)]))
        month = rng.randint(1, 12)
        c.append(Case("g%d-ydim" % i, "yeardayinmonth", base, end, count, lead, [month, rng.randint(1, 31)]))
        index = rng.randint(0, 4)
        nth = -1 if index == 4 else index + 1
        start = first_on_or_after(YEARLY, base, bymonth=month, byweekday=WEEKDAYS[weekday](nth))
        c.append(Case("g%d-yearext" % i, "yearext", start, end and max(end, start), count, lead,
                      [month, index, weekday]))
        seconds_end = end and base + datetime.timedelta(seconds=rng.randint(0, 5000))
        c.append(Case("g%d-seconds" % i, "seconds", base, seconds_end, count, 0, [rng.choice((1, 59, 3600, 86400))]))
    return c


def expected_lines(case):
    if case.kind != "weekbyday":
        return {case.name: expected_items(case)}
    lines, sub = {}, 0
    for weekday in range(1, 8):
        if case.params[weekday]:
            lines["%s/%d" % (case.name, sub)] = expected_items(case, weekday)
            sub += 1
    return lines


def main():
    cases = fixed_cases() + generated_cases(random.Random(20240611))
    text = "".join(c.line() + "\n" for c in cases).encode("ascii")
    run = subprocess.run(oxtest.command("timer_occurrence_probe"), input=text, stdout=subprocess.PIPE, timeout=600)
    if run.returncode != 0:
        print("probe failed with exit code %d" % run.returncode)
        return 1
    got = {}
    for line in run.stdout.decode("ascii").splitlines():
        words = line.split()
        got[words[0]] = words[1:]

    failures = checked = items = 0
    for case in cases:
        for name, expected in expected_lines(case).items():
            checked += 1
            items += len(expected)
            actual = got.get(name)
            if actual != expected:
                failures += 1
                if failures <= 10:
                    print("%s (%s)" % (name, case.line()))
                    actual = actual or []
                    for i in range(max(len(expected), len(actual))):
                        e = expected[i] if i < len(expected) else "(none)"
                        a = actual[i] if i < len(actual) else "(none)"
                        if e != a:
                            print("  item %d: expected %s, got %s" % (i, e, a))
                            break
                    print("  expected %d items, got %d" % (len(expected), len(actual)))
    print("%d sequences (%d occurrences) checked, %d failures" % (checked, items, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
