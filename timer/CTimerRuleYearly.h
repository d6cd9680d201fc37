// A yearly timer, in one of two forms:
//   on a day of the year (TimerAddCyclicYear, 1 to 366): that day of the current occurrence's
//   year when the current occurrence lies on an earlier day of the year, else that day of the
//   following year; a day beyond a year's length runs into the next year;
//   on a month and day (TimerAddCyclicYearDayInMonth): that date in the current occurrence's year
//   when it lies on a later day, else in the following year; a year is added each time, as the
//   program's day index does: a day beyond the month's length falls on the month's last day, and
//   stays there in later years (29 February: 28 February from the first common year on; a start
//   on such a cut day, 28 February of a common year for the 29th, starts cut).
// The time of day of the current occurrence stays. The signal reports the occurrence itself;
// only the due time is moved by the lead. A day, day of the year or month out of range ends the
// series after its start.
#pragma once

#include "CTimerRule.h"

class CTimerRuleYearly : public CTimerRule {
public:
    // On a day of the year.
    CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nDayOfYear, int nLeadMinutes);
    // On a month and day.
    CTimerRuleYearly(long lId, const COleDateTime& start, const COleDateTime& end, int nMonth, int nDay,
                     int nLeadMinutes);

    // Day of the year (1 to 366), 0 in the month-and-day form.
    int m_nDayOfYear;
    // Month (1 to 12) and day (1 to 31) of the month-and-day form; 0 in the day-of-year form.
    int m_nMonth;
    int m_nDay;
    // The day of the month-and-day form as far as it has been cut by a shorter month: the day of
    // every later occurrence is at most this.
    mutable int m_nCarriedDay;

protected:
    BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const override;
    BOOL ReportsOccurrence() const override { return TRUE; }

private:
    BOOL NextDayOfYear(const CTimerDate& cur, CTimerDate& next) const;
    BOOL NextMonthAndDay(const CTimerDate& cur, CTimerDate& next) const;
};
