// Expansion of a series pattern (CDataSerienTermin) into the day serials (days since 1900-01-01)
// of its occurrences, for the day index and the dialogs. The reminder timers do not use it: the
// timer library computes its due times from the same pattern, by the same calendar rules.
//
// Range: from the pattern start to the pattern end; without an end to 2099-12-31; with the default
// end to ten years after the start; never before 1900-01-01 or after 2099-12-31 (a start after
// 2099-12-31 gives nothing).
//
// Kinds (type, flags; N the kind's interval):
//   daily, every working day   every Monday to Friday of the range; the list holds the Mondays
//                              first, then the Tuesdays, and so on
//   daily, every N days        the start, then every N days
//   weekly                     per flagged weekday, Sunday first: the first such day on or after
//                              the start, then every N weeks (the list holds the weekdays one
//                              after the other)
//   monthly on day D           the first day D (D clamped to the month's last day) on or after the
//                              start, then day D of every Nth month, clamped the same way
//   monthly on the Nth weekday the Nth (5: the last) weekday of the start's month when it is on or
//                              after the start, then of every Nth month
//   yearly on a date           the month's day D of every year (clamped, so 29 February falls on
//                              28 February in common years), from the start on
//   yearly on the Nth weekday  the Nth (5: the last) weekday of the month of every year, from the
//                              start on
// The first candidate of every kind is listed even when it lies after the end (for the kinds on
// the Nth weekday and the yearly kinds, when it is on or after the start). An interval below 1
// gives the first occurrence only (per weekday for the weekly kind). A day of month outside
// 1..31, an instance outside 1..5, a weekday outside 1..7 or a month outside 1..12 gives no
// occurrence at all.
#pragma once

#include <afxtempl.h>

class CDataSerienTermin;

// The day serial of 2199-12-31: the first occurrence of an expansion that produced nothing.
long NoOccurrenceDay();

// Empties the list and fills it with the day serials of the pattern's occurrences. nFirst gets
// the smallest of them (NoOccurrenceDay() when there is none). 1 on success, 0 for a pattern type
// other than daily, weekly, monthly and yearly (the list stays empty).
int ExpandRecurrence(const CDataSerienTermin& pattern, CList<DWORD, DWORD>& days, long& nFirst);

// ExpandRecurrence into a list of its own; its result, and the first occurrence.
int GetFirstOccurrence(const CDataSerienTermin& pattern, long& nFirst);
