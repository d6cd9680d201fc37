// Date values: parsing the table texts, leap years, day serials, Julian days, weekday searches,
// month and year steps, comparison and the week-number rule of mode 1. (ISO week numbers of every
// day from 1990 to 2040 are compared with Python's in TerminInteropTest.py.)
#include <gtest/gtest.h>

#include <string>

#include "CDateValue.h"

namespace {

std::string Ymd(const COleDateTime& date)
{
    if (date.GetStatus() != COleDateTime::valid)
        return "invalid";
    return (LPCTSTR)date.Format("%Y-%m-%d %H:%M");
}

TEST(DateValueTest, TextsAreReadInTheirFormat)
{
    struct Case {
        int format;
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {1, "31.12.2005", "2005-12-31 00:00"},
        {3, "2005.12.31", "2005-12-31 00:00"},
        {0, "31.12.05", "invalid"},        // the year as written: 5
        {2, "05-12-31", "invalid"},
        {1, "1.2.2024", "2024-02-01 00:00"},
        {1, "31.02.2024", "invalid"},
        {1, "xx", "invalid"},               // unread numbers are 0
        {1, "", "1899-12-30 00:00"},        // empty: value 0, valid
        {7, "31.12.2005", "1899-12-30 00:00"}, // unknown format
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Ymd(CDateValue(c.format, c.text))) << c.format << " " << c.text;
}

TEST(DateValueTest, LeapYearsFollowTheJulianRuleBefore1582)
{
    const std::pair<int, BOOL> cases[] = {{1500, TRUE}, {1700, FALSE}, {1900, FALSE}, {2000, TRUE},
                                          {1580, TRUE}, {1582, FALSE}, {2024, TRUE}, {2023, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(c.second, CDateValue::IsLeapYear(c.first)) << c.first;
    // Although the Gregorian rule says otherwise, 1700 is common and 1500 has a 29 February.
    EXPECT_EQ(29, CDateValue::DaysInMonth(2, 1500));
    EXPECT_EQ(28, CDateValue::DaysInMonth(2, 1700));
    EXPECT_EQ(0, CDateValue::DaysInMonth(13, 2000));
    EXPECT_FALSE(CDateValue::IsValidDay(2, 30, 2024));
    EXPECT_FALSE(CDateValue::IsValidDay(0, 1, 2024));
}

TEST(DateValueTest, DaySerialsAndJulianDays)
{
    struct Case {
        int y, m, d;
        long serial;
        long julian;
    };
    const Case cases[] = {
        {1900, 1, 1, 0, 2415021},   {2000, 1, 1, 36524, 2451545}, {1899, 12, 30, -2, 2415019},
        {1850, 6, 15, -18097, 2396924}, {2099, 12, 31, 73048, 2488069},
    };
    for (const Case& c : cases) {
        CDateValue date(COleDateTime(c.y, c.m, c.d, 0, 0, 0));
        EXPECT_EQ(c.serial, date.GetDaySerial()) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(c.julian, date.GetJulianDay()) << c.y << "-" << c.m << "-" << c.d;
        CDateValue back;
        back.SetDaySerial(c.serial);
        EXPECT_EQ(Ymd(COleDateTime(c.y, c.m, c.d, 0, 0, 0)), Ymd(back));
    }
    // The time of day does not count.
    EXPECT_EQ(36524, CDateValue(36524, 23 * 60 + 59).GetDaySerial());
    EXPECT_EQ("2000-01-01 10:30", Ymd(CDateValue(36524, 630)));
    EXPECT_EQ(0, CDateValue::JulianDay(2, 30, 2024));
}

TEST(DateValueTest, WeekdaySearches)
{
    const CDateValue wednesday(COleDateTime(2024, 5, 15, 9, 0, 0)); // a Wednesday
    EXPECT_EQ("2024-05-15 09:00", Ymd(wednesday.GetNextWeekday(4, TRUE)));
    EXPECT_EQ("2024-05-22 09:00", Ymd(wednesday.GetNextWeekday(4, FALSE)));
    EXPECT_EQ("2024-05-20 09:00", Ymd(wednesday.GetNextWeekday(2, TRUE)));
    EXPECT_EQ("2024-05-08 09:00", Ymd(wednesday.GetPreviousWeekday(4)));
    EXPECT_EQ("2024-05-13 09:00", Ymd(wednesday.GetPreviousWeekday(2)));
    CDateValue invalid;
    invalid.SetStatus(COleDateTime::invalid);
    EXPECT_EQ("invalid", Ymd(invalid.GetPreviousWeekday(2)));

    // April 2024 has five Mondays (1, 8, 15, 22, 29), February 2024 four Thursdays.
    struct Case {
        int n, weekday, month;
        const char* expected;
    };
    const Case cases[] = {
        {4, 2, 4, "2024-04-22 00:00"}, {5, 2, 4, "2024-04-29 00:00"}, {1, 2, 4, "2024-04-01 00:00"},
        {5, 5, 2, "2024-02-29 00:00"}, {4, 5, 2, "2024-02-22 00:00"}, {0, 5, 2, "2024-02-01 00:00"},
        {6, 5, 2, "2024-02-01 00:00"},
        {4, 6, 2, "2024-02-23 00:00"}, // Fridays of February 2024: 2, 9, 16, 23
        {4, 1, 3, "2024-03-24 00:00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Ymd(wednesday.GetNthWeekday(c.n, c.weekday, c.month))) << c.n << " " << c.weekday;
    EXPECT_EQ("2024-05-27 00:00", Ymd(wednesday.GetNthWeekdayOfMonth(5, 2)));
}

TEST(DateValueTest, MonthAndYearStepsKeepTheDayWherePossible)
{
    struct Case {
        int y, m, d;
        int months;
        const char* expected;
    };
    const Case cases[] = {
        {2001, 1, 31, 1, "2001-02-28 00:00"}, {2004, 1, 31, 1, "2004-02-29 00:00"},
        {2004, 1, 31, 2, "2004-03-31 00:00"}, {2024, 11, 30, 3, "2025-02-28 00:00"},
        {2024, 5, 15, 0, "2024-05-15 00:00"}, {2024, 5, 15, -2, "2024-05-15 00:00"},
        {2024, 5, 15, 12, "2025-05-15 00:00"},
    };
    for (const Case& c : cases) {
        CDateValue date(COleDateTime(c.y, c.m, c.d, 0, 0, 0));
        date.AddMonths(c.months);
        EXPECT_EQ(c.expected, Ymd(date)) << c.y << "-" << c.m << "-" << c.d << " + " << c.months;
    }
    CDateValue leap(COleDateTime(2004, 2, 29, 14, 30, 0));
    EXPECT_EQ(0, leap.AddYears(1));
    EXPECT_EQ("2005-02-28 00:00", Ymd(leap));
    CDateValue leap2(COleDateTime(2004, 2, 29, 0, 0, 0));
    leap2.AddYears(4);
    EXPECT_EQ("2008-02-29 00:00", Ymd(leap2));
    CDateValue day(COleDateTime(2024, 4, 10, 8, 15, 0));
    EXPECT_EQ(0, day.SetDay(30));
    EXPECT_EQ("2024-04-30 08:15", Ymd(day));
    EXPECT_NE(0, day.SetDay(31));
}

TEST(DateValueTest, CompareLooksAtStatusAndValue)
{
    const CDateValue a(COleDateTime(2024, 1, 1, 0, 0, 0)), b(COleDateTime(2024, 1, 2, 0, 0, 0));
    EXPECT_EQ(0, a.Compare(a));
    EXPECT_EQ(-1, a.Compare(b));
    EXPECT_EQ(1, b.Compare(a));
    CDateValue nullDate(a);
    nullDate.SetStatus(COleDateTime::null);
    EXPECT_NE(0, a.Compare(nullDate));
}

TEST(DateValueTest, WeekNumbers)
{
    struct Case {
        int y, m, d;
        int iso, mode1;
    };
    const Case cases[] = {
        {2005, 1, 1, 53, 1},   // Saturday: ISO week 53 of 2004
        {2005, 1, 2, 53, 1},   // Sunday
        {2005, 1, 3, 1, 2},    // Monday
        {2024, 1, 1, 1, 1},    // Monday: mode 1 counts whole weeks
        {2024, 1, 7, 1, 1},
        {2024, 1, 8, 2, 2},
        {2023, 1, 1, 52, 1},   // Sunday: the first week is that one day
        {2023, 1, 2, 1, 2},
        {2024, 12, 30, 1, 53},
        {2020, 12, 31, 53, 53},
    };
    for (const Case& c : cases) {
        CDateValue date(COleDateTime(c.y, c.m, c.d, 0, 0, 0));
        EXPECT_EQ(c.iso, date.GetWeekNumber(0)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(c.mode1, date.GetWeekNumber(1)) << c.y << "-" << c.m << "-" << c.d;
        EXPECT_EQ(0, date.GetWeekNumber(2));
    }
}

} // namespace
