// A timer every N seconds (TimerAddCyclicSec; TimerAddCyclicMinutes with minutes x 60), lead 0.
// Its next occurrence is the time of the check plus the interval; its current occurrence never
// changes. It also works from a start that is not valid: the first due is then now plus the
// interval. An end that is not valid is ignored.
#pragma once

#include "CTimerRule.h"

class CTimerRuleSeconds : public CTimerRule {
public:
    CTimerRuleSeconds(long lId, const COleDateTime& start, const COleDateTime& end, int nSeconds);

    BOOL NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence) override;

    int m_nSeconds;
};
