// The day index and the reminder give the same dates: for a table of series, the days the
// recurrence expansion puts into the day index are compared with the days on which the timer
// library's own rules (the rule classes of VL32T1.dll) fall due, when the data controller registers
// the series' timer as it does for every entry. Month ends, leap days, intervals below 1 and
// ends on a day are the cases where they could part.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CDateValue.h"
#include "CItemVersion.h"
#include "CTimerRuleDaily.h"
#include "CTimerRuleFixed.h"
#include "CTimerRuleMonthly.h"
#include "CTimerRuleWeekly.h"
#include "CTimerRuleYearly.h"
#include "CTimerRuleYearlyWeekday.h"
#include "ControllerTestKit.h"
#include "Recurrence.h"

namespace {

using namespace controllertest;

// A timer library that keeps the rules the library itself would make of each call, as its
// exports make them.
class CRuleTimerLibrary : public CTimerLibrary {
public:
    long JobOpen() override { return 7; }
    int JobClose(long) override { return 0; }
    int SetPollTime(long, int) override { return 0; }
    int SetMessageCallback(long, TimerCallback) override { return 0; }
    int StartPolling(long) override { return 0; }
    int StopPolling(long) override { return 0; }
    int Delete(long, long) override
    {
        m_rules.clear();
        return 0;
    }
    int AddFixed(long, const COleDateTime& when, long lId, int nLead) override
    {
        return Keep(new CTimerRuleFixed(lId, when, nLead));
    }
    int AddCyclicDay(long, long lId, const COleDateTime& start, const COleDateTime& end, int bWorkingDaysOnly,
                     int nEveryDays, int nLead) override
    {
        return Keep(new CTimerRuleDaily(lId, start, end, bWorkingDaysOnly != 0, nEveryDays, nLead));
    }
    int AddCyclicWeekByDay(long, long lId, const COleDateTime& start, const COleDateTime& end, int nEveryWeeks,
                           const int* pWeekdays, int nLead) override
    {
        int nSubIndex = 0;
        for (int nWeekday = 1; nWeekday <= 7; ++nWeekday)
            if (pWeekdays[nWeekday] != 0)
                Keep(new CTimerRuleWeekly(lId, nSubIndex++, start, end, nEveryWeeks, nWeekday, nLead));
        return 0;
    }
    int AddCyclicMonth(long, long lId, const COleDateTime& start, const COleDateTime& end, int nEveryMonths,
                       int nDayOfMonth, int nLead) override
    {
        return Keep(new CTimerRuleMonthly(lId, start, end, nEveryMonths, nDayOfMonth, nLead));
    }
    int AddCyclicMonthExt(long, long lId, const COleDateTime& start, const COleDateTime& end, int nWeekIndex,
                          int nWeekday, int nEveryMonths, int nLead) override
    {
        return Keep(new CTimerRuleMonthly(lId, start, end, nEveryMonths, CTimerRule::MakeWeekdayCode(nWeekIndex, nWeekday),
                                          nLead));
    }
    int AddCyclicYearDayInMonth(long, long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                                int nDay, int nLead) override
    {
        return Keep(new CTimerRuleYearly(lId, start, end, nMonth, nDay, nLead));
    }
    int AddCyclicYearExt(long, long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                         int nWeekIndex, int nWeekday, int nLead) override
    {
        return Keep(
            new CTimerRuleYearlyWeekday(lId, start, end, CTimerRule::MakeWeekdayCode(nWeekIndex, nWeekday), nMonth, nLead));
    }

    // The days on which the kept rules fall due, up to the last day, as the polling thread steps
    // them: the first due, then each next one asked for at the due before.
    std::set<long> DueDays(long nLastDay)
    {
        std::set<long> days;
        for (auto& rule : m_rules) {
            COleDateTime due;
            if (!rule->FirstDue(COleDateTime(2000, 1, 1, 0, 0, 0), due))
                continue;
            for (int n = 0; n < 5000; ++n) {
                const long nDay = CDateValue(due).GetDaySerial();
                if (nDay > nLastDay)
                    break;
                days.insert(nDay);
                COleDateTime next, occurrence;
                if (!rule->NextOccurrence(due, next, occurrence))
                    break;
                due = next;
            }
        }
        return days;
    }

    size_t RuleCount() const { return m_rules.size(); }

private:
    int Keep(CTimerRule* pRule)
    {
        m_rules.emplace_back(pRule);
        return 0;
    }

    std::vector<std::unique_ptr<CTimerRule>> m_rules;
};

class RecurrenceTimerTest : public ControllerTest {};

CDataSerienTermin Series(LONG nType, const char* pszStart, const char* pszEnd)
{
    CDataSerienTermin p;
    p.m_nType = nType;
    p.m_nPatternStart = Day(pszStart);
    p.m_nPatternEnd = Day(pszEnd);
    p.m_bNoEnd = FALSE;
    p.m_bDefaultEnd = FALSE;
    p.m_nStartTime = 540;
    return p;
}

std::vector<std::string> Texts(const std::set<long>& days)
{
    std::vector<std::string> texts;
    for (long nDay : days)
        texts.push_back(datatest::DayText(nDay));
    return texts;
}

} // namespace

TEST_F(RecurrenceTimerTest, TheDayIndexAndTheReminderGiveTheSameDates)
{
    auto daily = [](const char* s, const char* e, int n) {
        CDataSerienTermin p = Series(CDataSerienTermin::daily, s, e);
        p.m_nDailyInterval = (WORD)n;
        return p;
    };
    auto workdays = [](const char* s, const char* e) {
        CDataSerienTermin p = Series(CDataSerienTermin::daily, s, e);
        p.m_bEveryWorkday = TRUE;
        return p;
    };
    auto weekly = [](const char* s, const char* e, int n, const char* days) {
        CDataSerienTermin p = Series(CDataSerienTermin::weekly, s, e);
        p.m_nWeeklyInterval = (WORD)n;
        for (int i = 0; i < 7; ++i)
            p.m_bWeekdays[i] = days[i] == '1';
        return p;
    };
    auto monthly = [](const char* s, const char* e, int n, int day) {
        CDataSerienTermin p = Series(CDataSerienTermin::monthly, s, e);
        p.m_bMonthlyByDay = TRUE;
        p.m_nMonthlyInterval = (WORD)n;
        p.m_nDayOfMonth = (WORD)day;
        return p;
    };
    auto monthlyNth = [](const char* s, const char* e, int n, int instance, int weekday) {
        CDataSerienTermin p = Series(CDataSerienTermin::monthly, s, e);
        p.m_bMonthlyByDay = FALSE;
        p.m_nMonthlyInterval = (WORD)n;
        p.m_nInstance = (WORD)instance;
        p.m_nWeekday = (WORD)weekday;
        return p;
    };
    auto yearly = [](const char* s, const char* e, int month, int day) {
        CDataSerienTermin p = Series(CDataSerienTermin::yearly, s, e);
        p.m_bYearlyByDate = TRUE;
        p.m_nMonth = (WORD)month;
        p.m_nDayOfMonth = (WORD)day;
        return p;
    };
    auto yearlyNth = [](const char* s, const char* e, int month, int instance, int weekday) {
        CDataSerienTermin p = Series(CDataSerienTermin::yearly, s, e);
        p.m_bYearlyByDate = FALSE;
        p.m_nMonth = (WORD)month;
        p.m_nInstance = (WORD)instance;
        p.m_nWeekday = (WORD)weekday;
        return p;
    };
    const struct Case {
        const char* what;
        CDataSerienTermin pattern;
    } cases[] = {
        {"every 3 days, the end on an occurrence", daily("2005-01-30", "2005-03-04", 3)},
        {"every day, interval 0", daily("2005-01-30", "2005-03-04", 0)},
        {"working days from a Saturday", workdays("2005-01-01", "2005-02-28")},
        {"Monday and Wednesday every 2 weeks from a Wednesday", weekly("2003-01-01", "2003-03-31", 2, "0101000")},
        {"Sunday and Saturday weekly, interval 0", weekly("2005-01-05", "2005-03-31", 0, "1000001")},
        {"day 31 from 31 January", monthly("2004-01-31", "2005-12-31", 1, 31)},
        {"day 30 from 31 January", monthly("2005-01-31", "2006-06-30", 1, 30)},
        {"day 29 from 30 January of a common year", monthly("2005-01-30", "2006-06-30", 1, 29)},
        {"day 31 from 10 April", monthly("2005-04-10", "2006-04-30", 1, 31)},
        {"day 15 from the 20th, every 2 months", monthly("2005-01-20", "2006-12-31", 2, 15)},
        {"day 10, interval 0", monthly("2005-01-05", "2005-12-31", 0, 10)},
        {"the last Friday of every month", monthlyNth("2005-01-01", "2005-12-31", 1, 5, 6)},
        {"the second Tuesday every 3 months", monthlyNth("2005-01-20", "2006-12-31", 3, 2, 3)},
        {"29 February from a leap year", yearly("2004-02-29", "2013-12-31", 2, 29)},
        {"29 February from a common year", yearly("2005-01-01", "2013-12-31", 2, 29)},
        {"31 April", yearly("2005-01-01", "2008-12-31", 4, 31)},
        {"1 March from after it", yearly("2005-03-02", "2009-12-31", 3, 1)},
        {"the last Monday of May", yearlyNth("2005-01-01", "2010-12-31", 5, 5, 2)},
    };
    CRuleTimerLibrary timers;
    CDataController c(m_strPath.c_str(), kUser, &timers, &m_timings);
    ASSERT_TRUE(c.IsOpen());
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        CDataAppointment record;
        record.m_strUser = kUser;
        record.m_bSeries = TRUE;
        record.m_bRemind = TRUE;
        record.m_pattern = k.pattern;
        CList<DWORD, DWORD> expanded;
        long nFirst = 0;
        ASSERT_EQ(1, ExpandRecurrence(record.m_pattern, expanded, nFirst));
        std::set<long> dayIndex;
        for (POSITION pos = expanded.GetHeadPosition(); pos != NULL;)
            dayIndex.insert((long)expanded.GetNext(pos));
        ASSERT_FALSE(dayIndex.empty());

        // Registered as every entry is: the timer starts at the first occurrence.
        timers.Delete(7, 1);
        const CItemVersionRef key(new CItemVersion("0000000001", "0000"), FALSE);
        c.ScheduleReminderTimer(key.Get(), record, CDateValue(nFirst, 0));
        ASSERT_NE(0u, timers.RuleCount());
        EXPECT_EQ(Texts(dayIndex), Texts(timers.DueDays(k.pattern.m_nPatternEnd)));
    }
}
