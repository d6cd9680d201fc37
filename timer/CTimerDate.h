// The timer library's date: a COleDateTime (local time, status valid, invalid or null) with the
// calendar rules the timer rules compute with. Leap years follow the Julian rule before 1582 and
// the Gregorian rule from then on; weekdays are numbered as GetDayOfWeek numbers them (1 Sunday
// ... 7 Saturday). Operations on a date that is not valid give a date that is not valid.
#pragma once

#include <afxdisp.h>

class CTimerDate : public COleDateTime {
public:
    CTimerDate() {}
    CTimerDate(const COleDateTime& date) : COleDateTime(date) {}
    CTimerDate(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
        : COleDateTime(nYear, nMonth, nDay, nHour, nMin, nSec)
    {
    }

    static BOOL IsLeapYear(int nYear);
    // Days of the month (1 to 12) in the year; 0 for a month outside 1 to 12.
    static int GetDaysInMonth(int nMonth, int nYear);
    // Days of this date's month.
    int GetDaysInMonth() const;

    // The first date strictly after date that falls on nWeekday, at the same time of day: 1 to 7
    // days later (a date already on that weekday gives the same weekday a week later). Always TRUE.
    static BOOL NextWeekday(const COleDateTime& date, int nWeekday, COleDateTime& result);

    // In this date's year and the given month, at 00:00:00: for n 1 to 4 the nth day that falls
    // on nWeekday, for n 5 the last one; for any other n, or a weekday outside 1 to 7, the 1st.
    CTimerDate NthWeekdayOfMonth(int n, int nWeekday, int nMonth) const;

    // Adds n days; the time of day stays.
    void AddDays(int n);
    // The same day n months later (n may be negative), or the month's last day when the month is
    // shorter; the time of day stays. 31 January plus 1 month is 28 or 29 February.
    void AddMonths(int n);
    // The same month and day n years later at 00:00:00; 29 February becomes 28 February when the
    // target year is not a leap year.
    void AddYears(int n);
    // Sets the day of the month, keeping year, month and time; TRUE when the date is valid.
    BOOL SetDay(int nDay);
    // 1 January of this date's year at this date's time, plus n - 1 days (a day beyond the year's
    // length runs into the next year); TRUE when 1 January was valid.
    BOOL SetDayOfYear(int n);
    // Keeps this date's year, month and day and takes the time of day of time; TRUE when valid.
    BOOL SetTimeOfDay(const COleDateTime& time);
};
