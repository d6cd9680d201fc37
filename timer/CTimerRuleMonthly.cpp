#include "CTimerRuleMonthly.h"

#include "CTimerDate.h"

#include <algorithm>

CTimerRuleMonthly::CTimerRuleMonthly(long lId, const COleDateTime& start, const COleDateTime& end, int nEveryMonths,
                                     int nDayCode, int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nEveryMonths(nEveryMonths), m_nDayCode(nDayCode)
{
}

BOOL CTimerRuleMonthly::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    const int nMonths = m_nEveryMonths < 1 ? 1 : m_nEveryMonths;
    if (m_nDayCode >= 1 && m_nDayCode <= 50) {
        CTimerDate month(cur.GetYear(), cur.GetMonth(), 1, 0, 0, 0);
        month.AddMonths(nMonths);
        if (month.GetStatus() != COleDateTime::valid)
            return FALSE;
        const int nDay = std::min(m_nDayCode, month.GetDaysInMonth());
        next = CTimerDate(month.GetYear(), month.GetMonth(), nDay, 0, 0, 0);
        return next.SetTimeOfDay(cur);
    }
    int n = 0, nWeekday = 0;
    if (!DecodeWeekdayCode(m_nDayCode, n, nWeekday))
        return FALSE;
    CTimerDate t = cur.NthWeekdayOfMonth(n, nWeekday, cur.GetMonth());
    if (t <= cur) {
        t.AddMonths(nMonths);
        if (t.GetStatus() != COleDateTime::valid)
            return FALSE;
        t = t.NthWeekdayOfMonth(n, nWeekday, t.GetMonth());
    }
    next = t;
    return next.SetTimeOfDay(cur);
}
