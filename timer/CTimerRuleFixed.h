// A one-shot timer (TimerAddFixed): due once at the given time minus the lead minutes. The
// polling thread removes it after its signal.
#pragma once

#include "CTimerRule.h"

class CTimerRuleFixed : public CTimerRule {
public:
    CTimerRuleFixed(long lId, const COleDateTime& when, int nLeadMinutes);

    // The stored due time as due and occurrence; FALSE only for a time that is not valid.
    BOOL NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence) override;

    COleDateTime m_due;
};
