// A daily timer (TimerAddCyclicDay): every N days, or on working days only, where the step
// depends on the day of week: Sunday to Thursday 1 day, Friday 3 days, Saturday 2 days (so
// Friday, Saturday and Sunday lead to Monday). The time of day stays.
#pragma once

#include "CTimerRule.h"

class CTimerRuleDaily : public CTimerRule {
public:
    CTimerRuleDaily(long lId, const COleDateTime& start, const COleDateTime& end, BOOL bWorkingDaysOnly,
                    int nEveryDays, int nLeadMinutes);

    int m_nEveryDays;
    BOOL m_bWorkingDaysOnly;

protected:
    BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const override;
};
