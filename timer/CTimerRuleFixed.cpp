#include "CTimerRuleFixed.h"

CTimerRuleFixed::CTimerRuleFixed(long lId, const COleDateTime& when, int nLeadMinutes)
    : CTimerRule(FALSE, lId, 0, when, COleDateTime(), nLeadMinutes), m_due(MinusLead(when))
{
    // A one-shot timer has no series to end.
    m_end.SetStatus(COleDateTime::null);
}

BOOL CTimerRuleFixed::NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence)
{
    UNUSED(from);
    if (m_due.GetStatus() != COleDateTime::valid)
        return FALSE;
    due = occurrence = m_due;
    return TRUE;
}
