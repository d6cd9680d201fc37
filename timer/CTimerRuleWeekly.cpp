#include "CTimerRuleWeekly.h"

#include "CTimerDate.h"

#include <limits.h>

CTimerRuleWeekly::CTimerRuleWeekly(long lId, int nSubIndex, const COleDateTime& start, const COleDateTime& end,
                                   int nEveryWeeks, int nWeekday, int nLeadMinutes)
    : CTimerRule(TRUE, lId, nSubIndex, start, end, nLeadMinutes), m_nEveryWeeks(nEveryWeeks), m_nWeekday(nWeekday)
{
    if (m_cur.GetStatus() == COleDateTime::valid && nWeekday >= 1 && nWeekday <= 7 &&
        m_cur.GetDayOfWeek() != nWeekday)
        CTimerDate::NextWeekday(start, nWeekday, m_cur);
}

BOOL CTimerRuleWeekly::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    if (m_nWeekday < 1 || m_nWeekday > 7)
        return FALSE;
    const int nWeeks = m_nEveryWeeks < 1 ? 1 : m_nEveryWeeks;
    COleDateTime nextWeekday;
    CTimerDate::NextWeekday(cur, m_nWeekday, nextWeekday);
    next = nextWeekday;
    const long long nDays = 7LL * nWeeks - 7;
    next.AddDays(nDays > INT_MAX ? INT_MAX : (int)nDays);
    return TRUE;
}
