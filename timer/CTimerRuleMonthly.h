// A monthly timer every N months (TimerAddCyclicMonth, TimerAddCyclicMonthExt), by its day code:
//   1 to 50   a day of the month: N months after the month of the current occurrence, on that
//             day or on the month's last day when the month is shorter;
//   51 to 97  50 + 10 x week index + weekday (CTimerRule::MakeWeekdayCode): the Nth (or last)
//             weekday of the month of the current occurrence when that lies after it, else of the
//             month N months later.
// The time of day of the current occurrence stays. Any other code ends the series after its start.
#pragma once

#include "CTimerRule.h"

class CTimerRuleMonthly : public CTimerRule {
public:
    CTimerRuleMonthly(long lId, const COleDateTime& start, const COleDateTime& end, int nEveryMonths, int nDayCode,
                      int nLeadMinutes);

    int m_nEveryMonths;
    int m_nDayCode;

protected:
    BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const override;
};
