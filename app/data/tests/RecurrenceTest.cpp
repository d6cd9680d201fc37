// Recurrence expansion: each kind of pattern on the cases that decide its rules (list order, the
// range and its clamps, the first candidate, month ends and leap days, intervals below 1, values
// no occurrence can be made of). The regular patterns are compared with python3-dateutil's rrule
// over 1900-2099 by RecurrenceInteropTest.py.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CDataSerienTermin.h"
#include "DaySerials.h"
#include "Recurrence.h"

namespace {

using datatest::Day;
const auto Text = datatest::DayText;

// A pattern from the start to the end (no end flags).
CDataSerienTermin Pattern(LONG nType, const char* pszStart, const char* pszEnd)
{
    CDataSerienTermin p;
    p.m_nType = nType;
    p.m_nPatternStart = Day(pszStart);
    p.m_nPatternEnd = Day(pszEnd);
    p.m_bNoEnd = FALSE;
    p.m_bDefaultEnd = FALSE;
    return p;
}

CDataSerienTermin Daily(const char* pszStart, const char* pszEnd, int nInterval)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::daily, pszStart, pszEnd);
    p.m_nDailyInterval = (WORD)nInterval;
    return p;
}

CDataSerienTermin WorkingDays(const char* pszStart, const char* pszEnd)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::daily, pszStart, pszEnd);
    p.m_bEveryWorkday = TRUE;
    return p;
}

// Weekdays as letters of "SMTWTFS" positions: "0101000" is Monday and Wednesday.
CDataSerienTermin Weekly(const char* pszStart, const char* pszEnd, int nInterval, const char* pszDays)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::weekly, pszStart, pszEnd);
    p.m_nWeeklyInterval = (WORD)nInterval;
    for (int i = 0; i < 7; ++i)
        p.m_bWeekdays[i] = pszDays[i] == '1';
    return p;
}

CDataSerienTermin MonthlyByDay(const char* pszStart, const char* pszEnd, int nInterval, int nDay)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::monthly, pszStart, pszEnd);
    p.m_bMonthlyByDay = TRUE;
    p.m_nMonthlyInterval = (WORD)nInterval;
    p.m_nDayOfMonth = (WORD)nDay;
    return p;
}

CDataSerienTermin MonthlyByWeekday(const char* pszStart, const char* pszEnd, int nInterval, int nInstance, int nWeekday)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::monthly, pszStart, pszEnd);
    p.m_bMonthlyByDay = FALSE;
    p.m_nMonthlyInterval = (WORD)nInterval;
    p.m_nInstance = (WORD)nInstance;
    p.m_nWeekday = (WORD)nWeekday;
    return p;
}

CDataSerienTermin YearlyByDate(const char* pszStart, const char* pszEnd, int nMonth, int nDay)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::yearly, pszStart, pszEnd);
    p.m_bYearlyByDate = TRUE;
    p.m_nMonth = (WORD)nMonth;
    p.m_nDayOfMonth = (WORD)nDay;
    return p;
}

CDataSerienTermin YearlyByWeekday(const char* pszStart, const char* pszEnd, int nMonth, int nInstance, int nWeekday)
{
    CDataSerienTermin p = Pattern(CDataSerienTermin::yearly, pszStart, pszEnd);
    p.m_bYearlyByDate = FALSE;
    p.m_nMonth = (WORD)nMonth;
    p.m_nInstance = (WORD)nInstance;
    p.m_nWeekday = (WORD)nWeekday;
    return p;
}

CDataSerienTermin WithoutEnd(CDataSerienTermin p)
{
    p.m_bNoEnd = TRUE;
    return p;
}

CDataSerienTermin WithDefaultEnd(CDataSerienTermin p)
{
    p.m_bDefaultEnd = TRUE;
    return p;
}

struct Expansion {
    int nResult;
    std::vector<std::string> days; // in list order
    std::string first;
};

Expansion Expand(const CDataSerienTermin& pattern)
{
    CList<DWORD, DWORD> days(100);
    days.AddTail(4711); // the expansion empties the list first
    long nFirst = -1;
    Expansion e;
    e.nResult = ExpandRecurrence(pattern, days, nFirst);
    for (POSITION pos = days.GetHeadPosition(); pos != NULL;)
        e.days.push_back(Text((long)days.GetNext(pos)));
    e.first = Text(nFirst);
    return e;
}

struct Case {
    const char* name;
    CDataSerienTermin pattern;
    std::vector<std::string> days;
    const char* first;
};

void CheckCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Expansion e = Expand(c.pattern);
        EXPECT_EQ(1, e.nResult);
        EXPECT_EQ(c.days, e.days);
        EXPECT_EQ(c.first, e.first);
    }
}

const char kNone[] = "2199-12-31";

} // namespace

TEST(RecurrenceTest, ListOrderAndFirstOccurrenceOfTheWeekdayKinds)
{
    CheckCases({
        {"Monday and Wednesday every two weeks from a Wednesday",
         Weekly("2003-01-01", "2003-01-31", 2, "0101000"),
         {"2003-01-06", "2003-01-20", "2003-01-01", "2003-01-15", "2003-01-29"},
         "2003-01-01"},
        {"working days from a Saturday: Mondays first, the start is no working day",
         WorkingDays("2005-01-01", "2005-01-11"),
         {"2005-01-03", "2005-01-10", "2005-01-04", "2005-01-11", "2005-01-05", "2005-01-06", "2005-01-07"},
         "2005-01-03"},
        {"working days from a Wednesday: the start first, then weekday by weekday",
         WorkingDays("2005-01-05", "2005-01-11"),
         {"2005-01-05", "2005-01-10", "2005-01-11", "2005-01-06", "2005-01-07"},
         "2005-01-05"},
        {"weekly on Sunday and Saturday every week",
         Weekly("2005-01-05", "2005-01-20", 1, "1000001"),
         {"2005-01-09", "2005-01-16", "2005-01-08", "2005-01-15"},
         "2005-01-08"},
    });
}

TEST(RecurrenceTest, RangeIsClampedTo1900Through2099)
{
    CheckCases({
        {"no end: the last day is 2099-12-31", WithoutEnd(Daily("2099-12-29", "2000-01-01", 1)),
         {"2099-12-29", "2099-12-30", "2099-12-31"}, "2099-12-29"},
        {"an end after 2099 is cut", Daily("2099-12-30", "2105-06-01", 1), {"2099-12-30", "2099-12-31"}, "2099-12-30"},
        {"a start before 1900 begins on 1900-01-01", Daily("1899-12-28", "1900-01-02", 1),
         {"1900-01-01", "1900-01-02"}, "1900-01-01"},
        {"the default end is ten years after the start", WithDefaultEnd(Daily("2005-03-01", "2005-03-02", 1000)),
         {"2005-03-01", "2007-11-26", "2010-08-22", "2013-05-18"}, "2005-03-01"},
        {"a start after 2099 gives nothing", WithoutEnd(Daily("2100-01-01", "2100-01-01", 1)), {}, kNone},
    });
}

TEST(RecurrenceTest, FirstCandidateIsListedEvenAfterTheEnd)
{
    CheckCases({
        {"daily", Daily("2005-03-10", "2005-03-01", 1), {"2005-03-10"}, "2005-03-10"},
        {"weekly: the first day of each weekday", Weekly("2005-03-10", "2005-03-01", 1, "0100010"),
         {"2005-03-14", "2005-03-11"}, "2005-03-11"},
        {"monthly on a day", MonthlyByDay("2005-03-10", "2005-03-01", 1, 20), {"2005-03-20"}, "2005-03-20"},
        {"monthly on a weekday", MonthlyByWeekday("2005-03-01", "2005-02-15", 1, 1, 2), {"2005-03-07"}, "2005-03-07"},
        {"yearly on a date", YearlyByDate("2005-03-10", "2005-03-01", 3, 20), {"2005-03-20"}, "2005-03-20"},
        {"a weekday candidate before the start is not listed", MonthlyByWeekday("2005-03-10", "2005-03-01", 1, 1, 2),
         {}, kNone},
        {"a yearly candidate before the start is not listed", YearlyByDate("2005-03-10", "2005-03-01", 3, 5), {},
         kNone},
    });
}

TEST(RecurrenceTest, MonthEndsAndLeapDays)
{
    CheckCases({
        {"day 31 from 31 January: the day comes back whenever the month has it",
         MonthlyByDay("2005-01-31", "2005-05-31", 1, 31),
         {"2005-01-31", "2005-02-28", "2005-03-31", "2005-04-30", "2005-05-31"},
         "2005-01-31"},
        {"day 31 in a leap year", MonthlyByDay("2004-01-31", "2004-03-31", 1, 31),
         {"2004-01-31", "2004-02-29", "2004-03-31"}, "2004-01-31"},
        {"day 31 from 10 April: the month's last day, not nothing", MonthlyByDay("2005-04-10", "2005-06-30", 1, 31),
         {"2005-04-30", "2005-05-31", "2005-06-30"}, "2005-04-30"},
        {"day 30 from 31 January: the next month that has a 30th, then every month",
         MonthlyByDay("2005-01-31", "2006-03-31", 1, 30),
         {"2005-03-30", "2005-04-30", "2005-05-30", "2005-06-30", "2005-07-30", "2005-08-30", "2005-09-30",
          "2005-10-30", "2005-11-30", "2005-12-30", "2006-01-30", "2006-02-28", "2006-03-30"},
         "2005-03-30"},
        {"day 31 from 2 February of a leap year: the month's last day", MonthlyByDay("2004-02-02", "2004-04-30", 1, 31),
         {"2004-02-29", "2004-03-31", "2004-04-30"}, "2004-02-29"},
        {"day 15 from the 20th: the 15th of the next month", MonthlyByDay("2005-01-20", "2005-04-01", 1, 15),
         {"2005-02-15", "2005-03-15"}, "2005-02-15"},
        {"day 10 every three months", MonthlyByDay("2005-01-05", "2005-12-31", 3, 10),
         {"2005-01-10", "2005-04-10", "2005-07-10", "2005-10-10"}, "2005-01-10"},
        {"the last Friday of every month", MonthlyByWeekday("2005-01-01", "2005-04-30", 1, 5, 6),
         {"2005-01-28", "2005-02-25", "2005-03-25", "2005-04-29"}, "2005-01-28"},
        {"the first Monday, before the start in the start's month", MonthlyByWeekday("2005-01-05", "2005-03-31", 1, 1, 2),
         {"2005-02-07", "2005-03-07"}, "2005-02-07"},
        {"29 February from a leap year: 28 February in every later year", YearlyByDate("2004-02-29", "2009-12-31", 2, 29),
         {"2004-02-29", "2005-02-28", "2006-02-28", "2007-02-28", "2008-02-28", "2009-02-28"},
         "2004-02-29"},
        {"29 February from a common year: 28 February, also in leap years",
         YearlyByDate("2005-01-01", "2008-12-31", 2, 29), {"2005-02-28", "2006-02-28", "2007-02-28", "2008-02-28"},
         "2005-02-28"},
        {"29 February from after it in a leap year", YearlyByDate("2004-03-01", "2006-12-31", 2, 29),
         {"2005-02-28", "2006-02-28"}, "2005-02-28"},
        {"31 April is 30 April", YearlyByDate("2005-01-01", "2006-12-31", 4, 31), {"2005-04-30", "2006-04-30"},
         "2005-04-30"},
        {"the last Monday of May", YearlyByWeekday("2005-01-01", "2007-12-31", 5, 5, 2),
         {"2005-05-30", "2006-05-29", "2007-05-28"}, "2005-05-30"},
        {"the second Sunday of May, after the start in the start's year",
         YearlyByWeekday("2005-05-09", "2007-12-31", 5, 2, 1), {"2006-05-14", "2007-05-13"}, "2006-05-14"},
    });
}

TEST(RecurrenceTest, IntervalsBelowOneGiveTheFirstOccurrenceOnly)
{
    CheckCases({
        {"daily", Daily("2005-03-01", "2005-03-31", 0), {"2005-03-01"}, "2005-03-01"},
        {"daily, a negative interval", Daily("2005-03-01", "2005-03-31", 0xFFFF), {"2005-03-01"}, "2005-03-01"},
        {"weekly: each weekday once", Weekly("2005-03-01", "2005-12-31", 0, "0100100"),
         {"2005-03-07", "2005-03-03"}, "2005-03-03"},
        {"monthly on a day", MonthlyByDay("2005-03-01", "2005-12-31", 0, 5), {"2005-03-05"}, "2005-03-05"},
        {"monthly on a weekday", MonthlyByWeekday("2005-03-10", "2005-12-31", 0, 1, 2), {"2005-04-04"}, "2005-04-04"},
    });
}

TEST(RecurrenceTest, ValuesNoOccurrenceCanBeMadeOfGiveNone)
{
    // Each of these would have walked or stepped for ever, or formed no date: the expansion ends
    // with no occurrence and succeeds, so the entry is still registered.
    CheckCases({
        {"monthly on day 0", MonthlyByDay("2005-03-01", "2005-12-31", 1, 0), {}, kNone},
        {"monthly on day 32", MonthlyByDay("2005-03-01", "2005-12-31", 1, 32), {}, kNone},
        {"monthly on a 16-bit negative day", MonthlyByDay("2005-03-01", "2005-12-31", 1, 0xFFFF), {}, kNone},
        {"monthly instance 0", MonthlyByWeekday("2005-03-01", "2005-12-31", 1, 0, 2), {}, kNone},
        {"monthly instance 6", MonthlyByWeekday("2005-03-01", "2005-12-31", 1, 6, 2), {}, kNone},
        {"monthly weekday 0", MonthlyByWeekday("2005-03-01", "2005-12-31", 1, 1, 0), {}, kNone},
        {"monthly weekday 8", MonthlyByWeekday("2005-03-01", "2005-12-31", 1, 1, 8), {}, kNone},
        {"yearly month 0", YearlyByDate("2005-03-01", "2007-12-31", 0, 1), {}, kNone},
        {"yearly month 13", YearlyByDate("2005-03-01", "2007-12-31", 13, 1), {}, kNone},
        {"yearly day 0", YearlyByDate("2005-03-01", "2007-12-31", 6, 0), {}, kNone},
        {"yearly on weekday 9", YearlyByWeekday("2005-03-01", "2007-12-31", 6, 1, 9), {}, kNone},
        {"weekly without a weekday", Weekly("2005-03-01", "2005-12-31", 1, "0000000"), {}, kNone},
    });
}

TEST(RecurrenceTest, UnknownTypeFails)
{
    for (LONG nType : {4L, -1L, 100L}) {
        SCOPED_TRACE(nType);
        CDataSerienTermin p = Daily("2005-03-01", "2005-03-31", 1);
        p.m_nType = nType;
        const Expansion e = Expand(p);
        EXPECT_EQ(0, e.nResult);
        EXPECT_TRUE(e.days.empty());
        EXPECT_EQ(kNone, e.first);
        long nFirst = 0;
        EXPECT_EQ(0, GetFirstOccurrence(p, nFirst));
        EXPECT_EQ(kNone, Text(nFirst));
    }
}

TEST(RecurrenceTest, GetFirstOccurrenceGivesTheSmallestDay)
{
    const struct {
        CDataSerienTermin pattern;
        const char* first;
    } cases[] = {
        {Weekly("2003-01-01", "2003-01-31", 2, "0101000"), "2003-01-01"},
        {WorkingDays("2005-01-01", "2005-12-31"), "2005-01-03"},
        {MonthlyByDay("2005-01-20", "2005-04-01", 1, 15), "2005-02-15"},
        {WithoutEnd(YearlyByWeekday("2005-01-01", "2005-01-01", 5, 5, 2)), "2005-05-30"},
    };
    for (const auto& c : cases) {
        long nFirst = 0;
        EXPECT_EQ(1, GetFirstOccurrence(c.pattern, nFirst));
        EXPECT_EQ(c.first, Text(nFirst));
    }
}

TEST(RecurrenceTest, LongSeriesEndOnTheLastDayOfTheRange)
{
    // A daily series over the whole range: every day once, in order.
    const Expansion e = Expand(WithoutEnd(Daily("1900-01-01", "1900-01-01", 1)));
    ASSERT_EQ((size_t)(Day("2099-12-31") + 1), e.days.size());
    EXPECT_EQ("1900-01-01", e.days.front());
    EXPECT_EQ("2099-12-31", e.days.back());
}
