// The timer library's date arithmetic (CTimerDate): leap years, month lengths, the next weekday,
// the Nth weekday of a month, adding days, months and years at month ends, setting the day and
// the day of the year.
#include <gtest/gtest.h>

#include <functional>

#include "CTimerDate.h"
#include "TimerTestDates.h"

using timertest::At;
using timertest::Show;

TEST(CTimerDate, LeapYearsAndMonthLengths)
{
    const struct {
        int nYear;
        BOOL bLeap;
    } years[] = {{1500, TRUE}, {1580, TRUE}, {1581, FALSE}, {1582, FALSE}, {1600, TRUE}, {1700, FALSE},
                 {1900, FALSE}, {2000, TRUE}, {2008, TRUE}, {2009, FALSE}, {2100, FALSE}, {2400, TRUE}};
    for (const auto& c : years)
        EXPECT_EQ(c.bLeap, CTimerDate::IsLeapYear(c.nYear)) << "year " << c.nYear;

    const struct {
        int nMonth, nYear, nDays;
    } months[] = {{1, 2009, 31}, {2, 2008, 29}, {2, 2009, 28}, {2, 2000, 29}, {2, 2100, 28}, {2, 1500, 29},
                  {4, 2008, 30}, {6, 2008, 30}, {9, 2008, 30}, {11, 2008, 30}, {12, 2008, 31}, {0, 2008, 0},
                  {13, 2008, 0}};
    for (const auto& c : months)
        EXPECT_EQ(c.nDays, CTimerDate::GetDaysInMonth(c.nMonth, c.nYear)) << c.nMonth << "/" << c.nYear;
    EXPECT_EQ(29, CTimerDate(At(2008, 2, 10)).GetDaysInMonth());
}

TEST(CTimerDate, Arithmetic)
{
    // Each case applies one operation to a date and shows the result.
    const struct {
        const char* what;
        COleDateTime date;
        std::function<void(CTimerDate&)> operation;
        const char* expected;
    } cases[] = {
        // The next weekday strictly after the date, same time of day.
        {"Sunday to Monday", At(2008, 1, 6, 10, 30),
         [](CTimerDate& d) { CTimerDate::NextWeekday(COleDateTime(d), 2, d); }, "2008-01-07 10:30:00"},
        {"Monday to the next Monday", At(2008, 1, 7, 10, 30),
         [](CTimerDate& d) { CTimerDate::NextWeekday(COleDateTime(d), 2, d); }, "2008-01-14 10:30:00"},
        {"Saturday to Sunday", At(2008, 1, 12),
         [](CTimerDate& d) { CTimerDate::NextWeekday(COleDateTime(d), 1, d); }, "2008-01-13 00:00:00"},
        {"Sunday to Saturday across a month", At(2008, 1, 27, 23, 59, 59),
         [](CTimerDate& d) { CTimerDate::NextWeekday(COleDateTime(d), 7, d); }, "2008-02-02 23:59:59"},
        // The Nth weekday of a month, at midnight.
        {"last Friday of February 2008", At(2008, 2, 10, 10, 30),
         [](CTimerDate& d) { d = d.NthWeekdayOfMonth(5, 6, 2); }, "2008-02-29 00:00:00"},
        {"fourth Friday of February 2008", At(2008, 2, 10), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(4, 6, 2); },
         "2008-02-22 00:00:00"},
        {"first Friday of February 2008", At(2008, 2, 10), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(1, 6, 2); },
         "2008-02-01 00:00:00"},
        {"n 0 gives the 1st", At(2008, 2, 10, 10, 30), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(0, 6, 2); },
         "2008-02-01 00:00:00"},
        {"last Sunday of March, other month", At(2008, 7, 4), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(5, 1, 3); },
         "2008-03-30 00:00:00"},
        {"last Monday of a month with five", At(2008, 3, 1), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(5, 2, 3); },
         "2008-03-31 00:00:00"},
        {"fourth Monday of a month with five", At(2008, 3, 1), [](CTimerDate& d) { d = d.NthWeekdayOfMonth(4, 2, 3); },
         "2008-03-24 00:00:00"},
        // Days keep the time of day.
        {"days across a year", At(2008, 12, 30, 8, 15), [](CTimerDate& d) { d.AddDays(3); }, "2009-01-02 08:15:00"},
        {"days back", At(2008, 3, 1, 8, 15), [](CTimerDate& d) { d.AddDays(-1); }, "2008-02-29 08:15:00"},
        // Months keep the day or fall back to the month's last day, and keep the time.
        {"31 January + 1 month (leap year)", At(2008, 1, 31, 10, 30), [](CTimerDate& d) { d.AddMonths(1); },
         "2008-02-29 10:30:00"},
        {"31 January + 1 month (common year)", At(2001, 1, 31), [](CTimerDate& d) { d.AddMonths(1); },
         "2001-02-28 00:00:00"},
        {"31 January + 2 months", At(2008, 1, 31), [](CTimerDate& d) { d.AddMonths(2); }, "2008-03-31 00:00:00"},
        {"31 January - 2 months", At(2008, 1, 31), [](CTimerDate& d) { d.AddMonths(-2); }, "2007-11-30 00:00:00"},
        {"31 March - 1 month (leap year)", At(2008, 3, 31), [](CTimerDate& d) { d.AddMonths(-1); },
         "2008-02-29 00:00:00"},
        {"31 March - 1 month (common year)", At(2009, 3, 31), [](CTimerDate& d) { d.AddMonths(-1); },
         "2009-02-28 00:00:00"},
        {"15 December + 1 month", At(2008, 12, 15, 23, 0), [](CTimerDate& d) { d.AddMonths(1); },
         "2009-01-15 23:00:00"},
        {"30 November + 14 months", At(2008, 11, 30), [](CTimerDate& d) { d.AddMonths(14); }, "2010-01-30 00:00:00"},
        // Years keep month and day at midnight; 29 February falls on 28 February in common years.
        {"29 February + 1 year", At(2008, 2, 29, 10, 30), [](CTimerDate& d) { d.AddYears(1); }, "2009-02-28 00:00:00"},
        {"29 February + 4 years", At(2008, 2, 29, 10, 30), [](CTimerDate& d) { d.AddYears(4); },
         "2012-02-29 00:00:00"},
        {"29 February + 92 years (2100 is common)", At(2008, 2, 29), [](CTimerDate& d) { d.AddYears(92); },
         "2100-02-28 00:00:00"},
        {"15 June - 1 year", At(2008, 6, 15, 10, 30), [](CTimerDate& d) { d.AddYears(-1); }, "2007-06-15 00:00:00"},
        // Setting the day and the day of the year keep the time.
        {"day 29 of February 2008", At(2008, 2, 10, 7, 0), [](CTimerDate& d) { EXPECT_TRUE(d.SetDay(29)); },
         "2008-02-29 07:00:00"},
        {"day 30 of February 2008", At(2008, 2, 10, 7, 0), [](CTimerDate& d) { EXPECT_FALSE(d.SetDay(30)); },
         "invalid"},
        {"day of the year 61 in a leap year", At(2008, 7, 4, 10, 0), [](CTimerDate& d) { d.SetDayOfYear(61); },
         "2008-03-01 10:00:00"},
        {"day of the year 61 in a common year", At(2009, 7, 4, 10, 0), [](CTimerDate& d) { d.SetDayOfYear(61); },
         "2009-03-02 10:00:00"},
        {"day of the year 366 in a common year runs on", At(2009, 7, 4), [](CTimerDate& d) { d.SetDayOfYear(366); },
         "2010-01-01 00:00:00"},
        // A time of day from another date.
        {"time of day", At(2008, 7, 4, 10, 0), [](CTimerDate& d) { d.SetTimeOfDay(At(1999, 1, 1, 18, 45, 30)); },
         "2008-07-04 18:45:30"},
    };
    for (const auto& c : cases) {
        CTimerDate date(c.date);
        c.operation(date);
        EXPECT_EQ(c.expected, Show(date)) << c.what;
    }
}

TEST(CTimerDate, DatesThatAreNotValidStayNotValid)
{
    CTimerDate date(At(2008, 1, 31));
    date.SetStatus(COleDateTime::invalid);
    date.AddMonths(1);
    EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    date.AddYears(1);
    EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    EXPECT_FALSE(date.SetDay(3));
    EXPECT_FALSE(date.SetDayOfYear(3));

    CTimerDate late(At(9999, 12, 15));
    late.AddMonths(1);
    EXPECT_EQ("invalid", Show(late)) << "beyond the last valid date";
}
