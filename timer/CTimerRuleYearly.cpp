#include "CTimerRuleYearly.h"

#include "CTimerDate.h"

#include <algorithm>

CTimerRuleYearly::CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nDayOfYear,
                                   int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nDayOfYear(nDayOfYear), m_nMonth(0), m_nDay(0),
      m_nCarriedDay(0)
{
}

CTimerRuleYearly::CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                                   int nDay, int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nDayOfYear(0), m_nMonth(nMonth), m_nDay(nDay),
      m_nCarriedDay(nDay)
{
    // A start on the last day of the rule's month before the day (28 February for the 29th) is
    // a cut occurrence: the later ones are cut as well.
    if (start.GetStatus() == COleDateTime::valid && start.GetMonth() == nMonth && start.GetDay() < nDay &&
        start.GetDay() == CTimerDate::GetDaysInMonth(nMonth, start.GetYear()))
        m_nCarriedDay = start.GetDay();
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
    // A year is added to the occurrence each time, as the program's day index does: a day that was
    // cut to a short month stays cut (after 28 February of a common year, 28 February also in a
    // leap year).
    for (int nYear = cur.GetYear(); nYear <= cur.GetYear() + 1; nYear++) {
        const int nDay = std::min(m_nCarriedDay, CTimerDate::GetDaysInMonth(m_nMonth, nYear));
        next = CTimerDate(nYear, m_nMonth, nDay, 0, 0, 0);
        if (next.GetStatus() != COleDateTime::valid)
            return FALSE;
        // A later day than cur's (the time of day does not count).
        if (next > CTimerDate(cur.GetYear(), cur.GetMonth(), cur.GetDay(), 0, 0, 0)) {
            m_nCarriedDay = nDay;
            return next.SetTimeOfDay(cur);
        }
    }
    return FALSE;
}
