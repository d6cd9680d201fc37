#include "CTimerRuleYearly.h"

#include "CTimerDate.h"

#include <algorithm>

CTimerRuleYearly::CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nDayOfYear,
                                   int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nDayOfYear(nDayOfYear), m_nMonth(0), m_nDay(0)
{
}

CTimerRuleYearly::CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                                   int nDay, int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nDayOfYear(0), m_nMonth(nMonth), m_nDay(nDay)
{
}

BOOL CTimerRuleYearly::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    return m_nMonth != 0 ? NextMonthAndDay(cur, next) : NextDayOfYear(cur, next);
}

BOOL CTimerRuleYearly::NextDayOfYear(const CTimerDate& cur, CTimerDate& next) const
{
    if (m_nDayOfYear < 1 || m_nDayOfYear > 366)
        return FALSE;
    next = cur;
    if (cur.GetDayOfYear() >= m_nDayOfYear) {
        // That day of the following year, at the time of day of cur.
        next = CTimerDate(cur.GetYear() + 1, 1, 1, 0, 0, 0);
        if (!next.SetTimeOfDay(cur))
            return FALSE;
    }
    return next.SetDayOfYear(m_nDayOfYear);
}

BOOL CTimerRuleYearly::NextMonthAndDay(const CTimerDate& cur, CTimerDate& next) const
{
    if (m_nMonth < 1 || m_nMonth > 12 || m_nDay < 1 || m_nDay > 31)
        return FALSE;
    for (int nYear = cur.GetYear(); nYear <= cur.GetYear() + 1; nYear++) {
        next = CTimerDate(nYear, m_nMonth, std::min(m_nDay, CTimerDate::GetDaysInMonth(m_nMonth, nYear)), 0, 0, 0);
        if (next.GetStatus() != COleDateTime::valid)
            return FALSE;
        // A later day than cur's (the time of day does not count).
        if (next > CTimerDate(cur.GetYear(), cur.GetMonth(), cur.GetDay(), 0, 0, 0))
            return next.SetTimeOfDay(cur);
    }
    return FALSE;
}
