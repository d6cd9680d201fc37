#include "CTimerRuleSeconds.h"

CTimerRuleSeconds::CTimerRuleSeconds(long lId, const COleDateTime& start, const COleDateTime& end, int nSeconds)
    : CTimerRule(TRUE, lId, 0, start, end, 0), m_nSeconds(nSeconds)
{
}

BOOL CTimerRuleSeconds::NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence)
{
    if (m_end.GetStatus() == COleDateTime::valid && from >= m_end)
        return FALSE;
    const int nSeconds = m_nSeconds < 1 ? 1 : m_nSeconds;
    const COleDateTime next = from + COleDateTimeSpan(nSeconds / 86400, 0, 0, nSeconds % 86400);
    if (next.GetStatus() != COleDateTime::valid || LiesAfterEndDate(next))
        return FALSE;
    due = occurrence = next;
    return TRUE;
}
