// A yearly timer on the Nth (or last) weekday of a month (TimerAddCyclicYearExt): that day of the
// month in the year after the current occurrence's year, at the current occurrence's time of day.
// The weekday code is that of the monthly rule (CTimerRule::MakeWeekdayCode); a code no week
// index and weekday can produce, or a month out of range, ends the series after its start.
#pragma once

#include "CTimerRule.h"

class CTimerRuleYearlyWeekday : public CTimerRule {
public:
    CTimerRuleYearlyWeekday(long lId, const COleDateTime& start, const COleDateTime& end, int nWeekdayCode,
                            int nMonth, int nLeadMinutes);

    int m_nWeekdayCode;
    int m_nMonth;

protected:
    BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const override;
};
