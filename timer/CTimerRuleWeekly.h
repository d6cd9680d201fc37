// A weekly timer on one weekday (TimerAddCyclicWeek, and one per weekday of
// TimerAddCyclicWeekByDay): every N weeks on the weekday, at the time of day of the start. A
// start on another weekday moves to the next date that falls on the weekday.
#pragma once

#include "CTimerRule.h"

class CTimerRuleWeekly : public CTimerRule {
public:
    CTimerRuleWeekly(long lId, int nSubIndex, const COleDateTime& start, const COleDateTime& end, int nEveryWeeks,
                     int nWeekday, int nLeadMinutes);

    int m_nEveryWeeks;
    // 1 Sunday ... 7 Saturday; the series ends after its start for any other value.
    int m_nWeekday;

protected:
    BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const override;
};
