#include "CTimerRule.h"

#include "CTimerDate.h"

CTimerRule::CTimerRule(BOOL bRecurring, long lId, int nSubIndex, const COleDateTime& start, const COleDateTime& end,
                       int nLeadMinutes)
    : m_lId(lId), m_strKey(MakeKey(lId, nSubIndex)), m_cur(start), m_end(end), m_nLeadMinutes(nLeadMinutes),
      m_bRecurring(bRecurring)
{
}

CTimerRule::~CTimerRule()
{
    m_lId = 0;
    m_strKey.Empty();
}

CString CTimerRule::MakeKey(long lId, int nSubIndex)
{
    CString strKey;
    strKey.Format("%ld_%d", lId, nSubIndex);
    return strKey;
}

int CTimerRule::MakeWeekdayCode(int nWeekIndex, int nWeekday)
{
    if (nWeekIndex < 0 || nWeekIndex > 4 || nWeekday < 1 || nWeekday > 7)
        return 0;
    return 50 + 10 * nWeekIndex + nWeekday;
}

BOOL CTimerRule::DecodeWeekdayCode(int nCode, int& n, int& nWeekday)
{
    if (nCode <= 50)
        return FALSE;
    n = (nCode - 50) / 10 + 1;
    nWeekday = (nCode - 50) % 10;
    return n >= 1 && n <= 5 && nWeekday >= 1 && nWeekday <= 7;
}

BOOL CTimerRule::FirstDue(const COleDateTime& now, COleDateTime& due)
{
    if (m_bRecurring && m_cur.GetStatus() == COleDateTime::valid) {
        const COleDateTime first = MinusLead(m_cur);
        if (first.GetStatus() != COleDateTime::valid)
            return FALSE;
        due = first;
        return TRUE;
    }
    COleDateTime occurrence;
    return NextOccurrence(now, due, occurrence);
}

BOOL CTimerRule::NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence)
{
    if (m_cur.GetStatus() != COleDateTime::valid || HasEndedAt(from))
        return FALSE;
    const CTimerDate cur(m_cur);
    CTimerDate next;
    if (!NextAfter(cur, next) || next.GetStatus() != COleDateTime::valid || next <= cur)
        return FALSE;
    const COleDateTime nextDue = MinusLead(next);
    if (LiesAfterEndDate(next) || nextDue.GetStatus() != COleDateTime::valid)
        return FALSE;
    m_cur = next;
    due = nextDue;
    occurrence = ReportsOccurrence() ? COleDateTime(next) : due;
    return TRUE;
}

BOOL CTimerRule::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    UNUSED(cur);
    UNUSED(next);
    return FALSE;
}

BOOL CTimerRule::HasEndedAt(const COleDateTime& from) const
{
    return m_end.GetStatus() != COleDateTime::null && from >= m_end;
}

BOOL CTimerRule::LiesAfterEndDate(const COleDateTime& occurrence) const
{
    if (m_end.GetStatus() != COleDateTime::valid)
        return FALSE;
    const long nOccurrence = occurrence.GetYear() * 10000L + occurrence.GetMonth() * 100L + occurrence.GetDay();
    const long nEnd = m_end.GetYear() * 10000L + m_end.GetMonth() * 100L + m_end.GetDay();
    return nOccurrence > nEnd;
}

COleDateTime CTimerRule::MinusLead(const COleDateTime& occurrence) const
{
    return occurrence - COleDateTimeSpan(0, 0, m_nLeadMinutes, 0);
}
