#include "CTimerRuleYearlyWeekday.h"

#include "CTimerDate.h"

CTimerRuleYearlyWeekday::CTimerRuleYearlyWeekday(long lId, const COleDateTime& start, const COleDateTime& end,
                                                 int nWeekdayCode, int nMonth, int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nWeekdayCode(nWeekdayCode), m_nMonth(nMonth)
{
}

BOOL CTimerRuleYearlyWeekday::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    int n = 0, nWeekday = 0;
    if (!DecodeWeekdayCode(m_nWeekdayCode, n, nWeekday) || m_nMonth < 1 || m_nMonth > 12)
        return FALSE;
    CTimerDate year(cur);
    year.AddYears(1);
    if (year.GetStatus() != COleDateTime::valid)
        return FALSE;
    next = year.NthWeekdayOfMonth(n, nWeekday, m_nMonth);
    return next.SetTimeOfDay(cur);
}
