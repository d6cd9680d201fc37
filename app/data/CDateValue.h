// The program's date type: COleDateTime (a day count with a status) with the conversions and
// calendar rules of the schedule: the day.month.year texts of the tables, the day serial that
// indexes days throughout the program (whole days since 1900-01-01, which is 0), weekday searches
// of recurrence patterns, month and year steps that keep the day, leap years with the Julian rule
// before 1582, the Julian day number and two week-number rules. Days of the week are numbered as
// COleDateTime numbers them: 1 Sunday to 7 Saturday.
#pragma once

#include <afxdisp.h>

class CDateValue : public COleDateTime {
public:
    // Text formats of the parsing constructor.
    enum TextFormat {
        kDayMonthYear2 = 0, // "%2d%*c%2d%*c%2d": day, month, year as written (two digits: invalid)
        kDayMonthYear4 = 1, // "%2d%*c%2d%*c%4d": day, month, year
        kYearMonthDay2 = 2, // "%2d%*c%2d%*c%2d": year, month, day
        kYearMonthDay4 = 3, // "%4d%*c%2d%*c%2d": year, month, day
    };

    CDateValue() {}
    CDateValue(const COleDateTime& date) : COleDateTime(date) {}
    // Value 0 (30 December 1899, valid) for an empty text or an unknown format; else the date of
    // the three numbers read (a number that cannot be read is 0, which makes the date invalid).
    CDateValue(int nFormat, const CString& strText);
    // The day serial plus the minutes.
    CDateValue(long nDaySerial, int nMinutes);

    // Before 1582 every year divisible by 4; from 1582 on the Gregorian rule.
    static BOOL IsLeapYear(int nYear);
    // 0 for a month outside 1..12.
    static int DaysInMonth(int nMonth, int nYear);
    int GetDaysInMonth() const;
    // The day is at most the month's length (no lower bound).
    static BOOL IsValidDay(int nMonth, int nDay, int nYear);
    // The Julian day number (1 January 2000: 2,451,545); 0 for a day that is not valid.
    static long JulianDay(int nMonth, int nDay, int nYear);
    long GetJulianDay() const;

    // From this day (or the next one without bIncludeThis) the first date on that weekday.
    CDateValue GetNextWeekday(int nWeekday, BOOL bIncludeThis) const;
    // The latest date before this one on that weekday; a date that is not valid answers itself.
    CDateValue GetPreviousWeekday(int nWeekday) const;
    // In this date's year, from the first of the month: n 1 to 4 the n-th date on that weekday
    // (which may lie in the next month), 5 the last one of the month, any other n the first.
    CDateValue GetNthWeekday(int n, int nWeekday, int nMonth) const;
    CDateValue GetNthWeekdayOfMonth(int n, int nWeekday) const;

    // Whole days between 1900-01-01 00:00 and this value, truncated toward zero.
    long GetDaySerial() const;
    // 1900-01-01 plus the days, midnight.
    void SetDaySerial(long nDaySerial);

    // count times to the first of the next month, then this date's day or the month's last day;
    // nothing for a count of 0 or less.
    void AddMonths(int nCount);
    // The year plus n with the same month and day, time 00:00:00 (29 February becomes 28 February
    // in a common year); SetDateTime's answer.
    int AddYears(int n);
    // The same year, month and time with the day; 0 on success.
    int SetDay(int nDay);
    // 0 when status and value are equal, else -1 when this is earlier, else 1.
    int Compare(const COleDateTime& other) const;
    // Mode 0: the ISO 8601 week number; mode 1: weeks from Monday to Sunday, the one with
    // 1 January is week 1; 0 for other modes.
    int GetWeekNumber(int nMode) const;

private:
    // The value as a continuous day count (OLE dates before 1899-12-30 count the time forward).
    double Linear() const;
};
