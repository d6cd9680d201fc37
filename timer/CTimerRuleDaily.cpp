#include "CTimerRuleDaily.h"

#include "CTimerDate.h"

CTimerRuleDaily::CTimerRuleDaily(long lId, const COleDateTime& start, const COleDateTime& end,
                                 BOOL bWorkingDaysOnly, int nEveryDays, int nLeadMinutes)
    : CTimerRule(TRUE, lId, 0, start, end, nLeadMinutes), m_nEveryDays(nEveryDays),
      m_bWorkingDaysOnly(bWorkingDaysOnly)
{
}

BOOL CTimerRuleDaily::NextAfter(const CTimerDate& cur, CTimerDate& next) const
{
    int nDays = m_nEveryDays < 1 ? 1 : m_nEveryDays;
    if (m_bWorkingDaysOnly) {
        switch (cur.GetDayOfWeek()) {
        case 6: // Friday
            nDays = 3;
            break;
        case 7: // Saturday
            nDays = 2;
            break;
        default:
            nDays = 1;
            break;
        }
    }
    next = cur;
    next.AddDays(nDays);
    return TRUE;
}
