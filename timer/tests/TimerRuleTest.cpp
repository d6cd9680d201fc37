// The timer rules: the next occurrence of each kind, the lead, the end of a series (including its
// calendar-date end test), intervals below 1, parameters no occurrence can be made of, and the
// first due of a newly added rule.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "CTimerRuleDaily.h"
#include "CTimerRuleFixed.h"
#include "CTimerRuleMonthly.h"
#include "CTimerRuleSeconds.h"
#include "CTimerRuleWeekly.h"
#include "CTimerRuleYearly.h"
#include "CTimerRuleYearlyWeekday.h"
#include "TimerTestDates.h"

using timertest::At;
using timertest::NullDate;
using timertest::Show;

namespace {

const long kId = 4711;

// One call of NextOccurrence: the time of the check and what it must give; an empty expected due
// means the series has ended.
struct Step {
    COleDateTime from;
    const char* due;
    const char* occurrence;
};

struct RuleCase {
    const char* what;
    std::function<CTimerRule*()> make;
    std::vector<Step> steps;
};

// The checks happen at the due time of the previous occurrence, as a sweep at that moment would.
const char* const kEnded = "";

void RunCase(const RuleCase& c)
{
    std::unique_ptr<CTimerRule> rule(c.make());
    for (size_t i = 0; i < c.steps.size(); i++) {
        const Step& step = c.steps[i];
        COleDateTime due = At(1999, 9, 9), occurrence = At(1999, 9, 9);
        const COleDateTime curBefore = rule->m_cur;
        const BOOL bNext = rule->NextOccurrence(step.from, due, occurrence);
        if (*step.due == '\0') {
            EXPECT_FALSE(bNext) << c.what << ", step " << i << ": the series must have ended";
            EXPECT_EQ(Show(curBefore), Show(rule->m_cur)) << c.what << ", step " << i << ": an ended rule stays";
            EXPECT_EQ("1999-09-09 00:00:00", Show(due)) << c.what << ", step " << i << ": outputs stay";
            continue;
        }
        EXPECT_TRUE(bNext) << c.what << ", step " << i;
        EXPECT_EQ(step.due, Show(due)) << c.what << ", step " << i << " (due)";
        EXPECT_EQ(step.occurrence, Show(occurrence)) << c.what << ", step " << i << " (occurrence)";
    }
}

} // namespace

TEST(CTimerRule, NextOccurrenceOfEachKind)
{
    const RuleCase cases[] = {
        {"daily every 3 days keeps the time",
         [] { return new CTimerRuleDaily(kId, At(2008, 12, 30, 9, 45), NullDate(), FALSE, 3, 0); },
         {{At(2008, 12, 30, 9, 45), "2009-01-02 09:45:00", "2009-01-02 09:45:00"},
          {At(2009, 1, 2, 9, 45), "2009-01-05 09:45:00", "2009-01-05 09:45:00"}}},
        {"working days: Thursday, Friday to Monday",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 17, 18, 0), NullDate(), TRUE, 5, 0); },
         {{At(2008, 1, 17, 18, 0), "2008-01-18 18:00:00", "2008-01-18 18:00:00"},
          {At(2008, 1, 18, 18, 0), "2008-01-21 18:00:00", "2008-01-21 18:00:00"}}},
        {"working days: a Saturday start goes to Monday",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 19, 9, 0), NullDate(), TRUE, 1, 0); },
         {{At(2008, 1, 19, 9, 0), "2008-01-21 09:00:00", "2008-01-21 09:00:00"}}},
        {"working days: a Sunday start goes to Monday",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 20, 9, 0), NullDate(), TRUE, 1, 0); },
         {{At(2008, 1, 20, 9, 0), "2008-01-21 09:00:00", "2008-01-21 09:00:00"}}},
        {"weekly every 2 weeks on Wednesday",
         [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 2, 9, 0), NullDate(), 2, 4, 0); },
         {{At(2008, 1, 2, 9, 0), "2008-01-16 09:00:00", "2008-01-16 09:00:00"},
          {At(2008, 1, 16, 9, 0), "2008-01-30 09:00:00", "2008-01-30 09:00:00"}}},
        {"weekly: a Saturday start moves to the Wednesday after it",
         [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 5, 10, 0), NullDate(), 1, 4, 0); },
         {{At(2008, 1, 9, 10, 0), "2008-01-16 10:00:00", "2008-01-16 10:00:00"}}},
        {"monthly on day 31 falls back in short months and returns",
         [] { return new CTimerRuleMonthly(kId, At(2008, 1, 31, 8, 0), NullDate(), 1, 31, 0); },
         {{At(2008, 1, 31, 8, 0), "2008-02-29 08:00:00", "2008-02-29 08:00:00"},
          {At(2008, 2, 29, 8, 0), "2008-03-31 08:00:00", "2008-03-31 08:00:00"},
          {At(2008, 3, 31, 8, 0), "2008-04-30 08:00:00", "2008-04-30 08:00:00"},
          {At(2008, 4, 30, 8, 0), "2008-05-31 08:00:00", "2008-05-31 08:00:00"}}},
        {"monthly on day 15 every 5 months across a year",
         [] { return new CTimerRuleMonthly(kId, At(2008, 10, 15), NullDate(), 5, 15, 0); },
         {{At(2008, 10, 15), "2009-03-15 00:00:00", "2009-03-15 00:00:00"}}},
        {"monthly on the last Friday at 00:00",
         [] {
             return new CTimerRuleMonthly(kId, At(2008, 1, 25), NullDate(), 1, CTimerRule::MakeWeekdayCode(4, 6), 0);
         },
         {{At(2008, 1, 25), "2008-02-29 00:00:00", "2008-02-29 00:00:00"},
          {At(2008, 2, 29), "2008-03-28 00:00:00", "2008-03-28 00:00:00"}}},
        {"monthly on the third Friday from a start before it in the month",
         [] {
             return new CTimerRuleMonthly(kId, At(2008, 1, 1, 9, 0), NullDate(), 1, CTimerRule::MakeWeekdayCode(2, 6),
                                          0);
         },
         {{At(2008, 1, 1, 9, 0), "2008-01-18 09:00:00", "2008-01-18 09:00:00"},
          {At(2008, 1, 18, 9, 0), "2008-02-15 09:00:00", "2008-02-15 09:00:00"}}},
        {"yearly on day 61: leap year, common years",
         [] { return new CTimerRuleYearly(kId, At(2008, 3, 1, 10, 0), NullDate(), 61, 0); },
         {{At(2008, 3, 1, 10, 0), "2009-03-02 10:00:00", "2009-03-02 10:00:00"},
          {At(2009, 3, 2, 10, 0), "2010-03-02 10:00:00", "2010-03-02 10:00:00"}}},
        {"yearly on day 61 reports the occurrence without the lead",
         [] { return new CTimerRuleYearly(kId, At(2008, 3, 1, 10, 0), NullDate(), 61, 60); },
         {{At(2008, 3, 1, 9, 0), "2009-03-02 09:00:00", "2009-03-02 10:00:00"}}},
        {"yearly on day 100 from a start earlier in the year",
         [] { return new CTimerRuleYearly(kId, At(2009, 1, 10, 7, 0), NullDate(), 100, 0); },
         {{At(2009, 1, 10, 7, 0), "2009-04-10 07:00:00", "2009-04-10 07:00:00"}}},
        {"yearly on 1 March stays on 1 March",
         [] { return new CTimerRuleYearly(kId, At(2008, 3, 1, 10, 0), NullDate(), 3, 1, 0); },
         {{At(2008, 3, 1, 10, 0), "2009-03-01 10:00:00", "2009-03-01 10:00:00"},
          {At(2009, 3, 1, 10, 0), "2010-03-01 10:00:00", "2010-03-01 10:00:00"}}},
        {"yearly on 29 February: 28 February from the first common year on, as adding years gives",
         [] { return new CTimerRuleYearly(kId, At(2008, 2, 29, 8, 0), NullDate(), 2, 29, 30); },
         {{At(2008, 2, 29, 7, 30), "2009-02-28 07:30:00", "2009-02-28 08:00:00"},
          {At(2009, 2, 28, 7, 30), "2010-02-28 07:30:00", "2010-02-28 08:00:00"},
          {At(2010, 2, 28, 7, 30), "2011-02-28 07:30:00", "2011-02-28 08:00:00"},
          {At(2011, 2, 28, 7, 30), "2012-02-28 07:30:00", "2012-02-28 08:00:00"}}},
        {"yearly on a month and day from a start earlier in the year",
         [] { return new CTimerRuleYearly(kId, At(2009, 1, 10, 7, 0), NullDate(), 3, 1, 0); },
         {{At(2009, 1, 10, 7, 0), "2009-03-01 07:00:00", "2009-03-01 07:00:00"}}},
        {"yearly on the last Sunday of March",
         [] {
             return new CTimerRuleYearlyWeekday(kId, At(2008, 3, 30, 2, 0), NullDate(),
                                                CTimerRule::MakeWeekdayCode(4, 1), 3, 0);
         },
         {{At(2008, 3, 30, 2, 0), "2009-03-29 02:00:00", "2009-03-29 02:00:00"},
          {At(2009, 3, 29, 2, 0), "2010-03-28 02:00:00", "2010-03-28 02:00:00"}}},
        {"every 90 seconds from the time of the check; the start stays",
         [] { return new CTimerRuleSeconds(kId, At(2008, 1, 1), NullDate(), 90); },
         {{At(2008, 5, 5, 23, 59), "2008-05-06 00:00:30", "2008-05-06 00:00:30"},
          {At(2008, 5, 6, 0, 0, 30), "2008-05-06 00:02:00", "2008-05-06 00:02:00"}}},
        {"a one-shot timer always gives its due time",
         [] { return new CTimerRuleFixed(kId, At(2008, 12, 24, 18, 15), 15); },
         {{At(2008, 1, 1), "2008-12-24 18:00:00", "2008-12-24 18:00:00"},
          {At(2010, 1, 1), "2008-12-24 18:00:00", "2008-12-24 18:00:00"}}},
    };
    for (const auto& c : cases)
        RunCase(c);
}

TEST(CTimerRule, EndOfASeries)
{
    const RuleCase cases[] = {
        {"daily until 10 January 00:00: checked on the 9th it schedules the 10th, on the 10th it ends",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 8, 9, 45), At(2008, 1, 10), FALSE, 1, 0); },
         {{At(2008, 1, 8, 9, 45), "2008-01-09 09:45:00", "2008-01-09 09:45:00"},
          {At(2008, 1, 9, 9, 45), "2008-01-10 09:45:00", "2008-01-10 09:45:00"},
          {At(2008, 1, 10, 9, 45), kEnded, kEnded}}},
        {"weekly on Monday until Wednesday: no occurrence after the end's date",
         [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 7, 9, 0), At(2008, 1, 16), 1, 2, 0); },
         {{At(2008, 1, 7, 9, 0), "2008-01-14 09:00:00", "2008-01-14 09:00:00"},
          {At(2008, 1, 14, 9, 0), kEnded, kEnded}}},
        {"monthly on day 20 until the 25th: ended although checked before the end",
         [] { return new CTimerRuleMonthly(kId, At(2008, 1, 20), At(2008, 2, 25), 1, 20, 0); },
         {{At(2008, 1, 20), "2008-02-20 00:00:00", "2008-02-20 00:00:00"}, {At(2008, 2, 20), kEnded, kEnded}}},
        {"yearly on a date until a later date of the last year",
         [] { return new CTimerRuleYearly(kId, At(2008, 6, 1), At(2010, 12, 31), 6, 1, 0); },
         {{At(2008, 6, 1), "2009-06-01 00:00:00", "2009-06-01 00:00:00"},
          {At(2009, 6, 1), "2010-06-01 00:00:00", "2010-06-01 00:00:00"},
          {At(2010, 6, 1), kEnded, kEnded}}},
        {"an end already reached",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 1), At(2008, 1, 10), FALSE, 1, 0); },
         {{At(2008, 1, 10), kEnded, kEnded}, {At(2008, 2, 1), kEnded, kEnded}}},
        {"seconds: the end is a moment",
         [] { return new CTimerRuleSeconds(kId, At(2008, 1, 1), At(2008, 1, 1, 10, 0), 60); },
         {{At(2008, 1, 1, 9, 59), "2008-01-01 10:00:00", "2008-01-01 10:00:00"},
          {At(2008, 1, 1, 10, 0), kEnded, kEnded}}},
        {"seconds: an end that is not valid is ignored",
         [] {
             COleDateTime end = At(2008, 1, 1, 10, 0);
             end.SetStatus(COleDateTime::invalid);
             return new CTimerRuleSeconds(kId, At(2008, 1, 1), end, 60);
         },
         {{At(2008, 1, 1, 11, 0), "2008-01-01 11:01:00", "2008-01-01 11:01:00"}}},
    };
    for (const auto& c : cases)
        RunCase(c);
}

TEST(CTimerRule, IntervalsBelowOneCountAsOneAndBadParametersEndTheSeries)
{
    const RuleCase cases[] = {
        {"every 0 days", [] { return new CTimerRuleDaily(kId, At(2008, 1, 1, 9, 0), NullDate(), FALSE, 0, 0); },
         {{At(2008, 1, 1, 9, 0), "2008-01-02 09:00:00", "2008-01-02 09:00:00"}}},
        {"every -3 weeks", [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 2), NullDate(), -3, 4, 0); },
         {{At(2008, 1, 2), "2008-01-09 00:00:00", "2008-01-09 00:00:00"}}},
        {"every 0 months", [] { return new CTimerRuleMonthly(kId, At(2008, 1, 10), NullDate(), 0, 10, 0); },
         {{At(2008, 1, 10), "2008-02-10 00:00:00", "2008-02-10 00:00:00"}}},
        {"every 0 seconds", [] { return new CTimerRuleSeconds(kId, At(2008, 1, 1), NullDate(), 0); },
         {{At(2008, 1, 1, 12, 0), "2008-01-01 12:00:01", "2008-01-01 12:00:01"}}},
        {"monthly on day 0", [] { return new CTimerRuleMonthly(kId, At(2008, 1, 10), NullDate(), 1, 0, 0); },
         {{At(2008, 1, 10), kEnded, kEnded}}},
        {"monthly on week index 5",
         [] {
             return new CTimerRuleMonthly(kId, At(2008, 1, 10), NullDate(), 1, CTimerRule::MakeWeekdayCode(5, 2), 0);
         },
         {{At(2008, 1, 10), kEnded, kEnded}}},
        {"monthly on code 99 (weekday 9)",
         [] { return new CTimerRuleMonthly(kId, At(2008, 1, 10), NullDate(), 1, 99, 0); },
         {{At(2008, 1, 10), kEnded, kEnded}}},
        {"weekly on weekday 0", [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 2), NullDate(), 1, 0, 0); },
         {{At(2008, 1, 2), kEnded, kEnded}}},
        {"yearly on day 0 of the year", [] { return new CTimerRuleYearly(kId, At(2008, 1, 1), NullDate(), 0, 0); },
         {{At(2008, 1, 1), kEnded, kEnded}}},
        {"yearly in month 13", [] { return new CTimerRuleYearly(kId, At(2008, 1, 1), NullDate(), 13, 1, 0); },
         {{At(2008, 1, 1), kEnded, kEnded}}},
        {"yearly on code 50",
         [] { return new CTimerRuleYearlyWeekday(kId, At(2008, 1, 1), NullDate(), 50, 3, 0); },
         {{At(2008, 1, 1), kEnded, kEnded}}},
        {"calendar rule without a valid start",
         [] { return new CTimerRuleDaily(kId, NullDate(), NullDate(), FALSE, 1, 0); },
         {{At(2008, 1, 1), kEnded, kEnded}}},
        {"no occurrence after the last valid date",
         [] { return new CTimerRuleDaily(kId, At(9999, 12, 31, 8, 0), NullDate(), FALSE, 1, 0); },
         {{At(9999, 12, 31, 8, 0), kEnded, kEnded}}},
    };
    for (const auto& c : cases)
        RunCase(c);
}

TEST(CTimerRule, FirstDueOfANewRule)
{
    const COleDateTime now = At(2008, 6, 1, 12, 0);
    const struct {
        const char* what;
        std::function<CTimerRule*()> make;
        BOOL bHasFirst;
        const char* due;
    } cases[] = {
        {"recurring: the start minus the lead, whatever its day",
         [] { return new CTimerRuleDaily(kId, At(2008, 1, 19, 9, 0), NullDate(), TRUE, 1, 15); }, TRUE,
         "2008-01-19 08:45:00"},
        {"weekly: the start moved to the weekday",
         [] { return new CTimerRuleWeekly(kId, 0, At(2008, 1, 5, 10, 0), NullDate(), 1, 4, 60); }, TRUE,
         "2008-01-09 09:00:00"},
        {"one-shot: the time minus the lead",
         [] { return new CTimerRuleFixed(kId, At(2008, 12, 24, 18, 15), 15); }, TRUE, "2008-12-24 18:00:00"},
        {"one-shot without a valid time", [] { return new CTimerRuleFixed(kId, NullDate(), 0); }, FALSE, ""},
        {"seconds without a start: now plus the interval",
         [] { return new CTimerRuleSeconds(kId, NullDate(), NullDate(), 30); }, TRUE, "2008-06-01 12:00:30"},
        {"seconds without a start whose series has ended",
         [] { return new CTimerRuleSeconds(kId, NullDate(), At(2008, 5, 1), 30); }, FALSE, ""},
        {"calendar rule without a start", [] { return new CTimerRuleMonthly(kId, NullDate(), NullDate(), 1, 5, 0); },
         FALSE, ""},
        {"a due before the first valid date",
         [] { return new CTimerRuleDaily(kId, At(100, 1, 1, 0, 30), NullDate(), FALSE, 1, 60); }, FALSE, ""},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CTimerRule> rule(c.make());
        COleDateTime due;
        EXPECT_EQ(c.bHasFirst, rule->FirstDue(now, due)) << c.what;
        if (c.bHasFirst) {
            EXPECT_EQ(c.due, Show(due)) << c.what;
        }
    }
}

TEST(CTimerRule, KeysAndWeekdayCodes)
{
    EXPECT_EQ("4711_0", std::string((LPCTSTR)CTimerRule::MakeKey(4711, 0)));
    EXPECT_EQ("-5_12", std::string((LPCTSTR)CTimerRule::MakeKey(-5, 12)));
    const struct {
        int nWeekIndex, nWeekday, nCode;
    } codes[] = {{0, 1, 51}, {3, 6, 86}, {4, 7, 97}, {5, 1, 0}, {-1, 3, 0}, {0, 0, 0}, {0, 8, 0}};
    for (const auto& c : codes) {
        EXPECT_EQ(c.nCode, CTimerRule::MakeWeekdayCode(c.nWeekIndex, c.nWeekday))
            << "week index " << c.nWeekIndex << ", weekday " << c.nWeekday;
        int n = 0, nWeekday = 0;
        EXPECT_EQ(c.nCode != 0, CTimerRule::DecodeWeekdayCode(c.nCode, n, nWeekday) != FALSE) << c.nCode;
        if (c.nCode != 0) {
            EXPECT_EQ(c.nWeekIndex + 1, n) << c.nCode;
            EXPECT_EQ(c.nWeekday, nWeekday) << c.nCode;
        }
    }
}
