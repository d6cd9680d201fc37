// One timer of a job: a rule that knows its current occurrence and computes the next one.
//
// The kinds: CTimerRuleFixed (one-shot), CTimerRuleSeconds, CTimerRuleDaily, CTimerRuleWeekly,
// CTimerRuleMonthly, CTimerRuleYearly and CTimerRuleYearlyWeekday. The add exports construct a
// rule with its parameters and hand it to CTimerJob::AddTimer, which owns it from then on. Rules
// take no lock: they are used only while the job's polling thread is stopped, or by that thread.
//
// The calendar rules (daily to yearly) step their current occurrence forward by exactly one
// occurrence per NextOccurrence; a series whose start lies far in the past therefore catches up
// one occurrence per signal. They need a valid current occurrence (the start) to compute from.
//
// End of a series (recurring rules): NextOccurrence gives none when the end is not null and the
// time of the check (from) is at or past the end, or when the calendar date of the newly
// computed occurrence lies after the calendar date of the end (so an end given as a day at
// 00:00 still lets that day's occurrence through, and nothing after it). A rule that would not
// move forward (a parameter no occurrence can be made of) ends its series too.
#pragma once

#include <afxdisp.h>

class CTimerDate;

class CTimerRule {
public:
    virtual ~CTimerRule();

    // TRUE when the rule has a next occurrence after the check at from (the current time of the
    // caller): due receives the time to signal (the occurrence minus the lead minutes),
    // occurrence the time reported with the signal. FALSE when the series has ended; the outputs
    // and the rule stay unchanged.
    virtual BOOL NextOccurrence(const COleDateTime& from, COleDateTime& due, COleDateTime& occurrence);

    // The first due time of a newly added rule: for a recurring rule with a valid start, the
    // start minus the lead (the start counts as the first occurrence whatever its day);
    // otherwise the next occurrence computed at now. FALSE when there is none.
    BOOL FirstDue(const COleDateTime& now, COleDateTime& due);

    long m_lId;
    // "%ld_%d" of the id and the sub-index; unique within a job.
    CString m_strKey;
    // The start as given (weekly rules: moved to the weekday), then the occurrence last computed.
    COleDateTime m_cur;
    // End of the series; null means open.
    COleDateTime m_end;
    int m_nLeadMinutes;
    BOOL m_bRecurring;

    // The key of an id's timer with the given sub-index.
    static CString MakeKey(long lId, int nSubIndex);
    // Code of the Nth weekday for the monthly and yearly weekday rules: 50 + 10 x week index
    // (0 first ... 3 fourth, 4 last) + weekday (1 to 7); 0 when either is out of range.
    static int MakeWeekdayCode(int nWeekIndex, int nWeekday);
    // n (1 to 5, 5 the last) and the weekday of a code; FALSE for a code no week index and
    // weekday can produce.
    static BOOL DecodeWeekdayCode(int nCode, int& n, int& nWeekday);

protected:
    CTimerRule(BOOL bRecurring, long lId, int nSubIndex, const COleDateTime& start, const COleDateTime& end,
               int nLeadMinutes);

    // Calendar rules: the occurrence after cur; FALSE when none can be made.
    virtual BOOL NextAfter(const CTimerDate& cur, CTimerDate& next) const;
    // Whether the signal reports the occurrence itself (TRUE) or the due time (FALSE).
    virtual BOOL ReportsOccurrence() const { return FALSE; }

    // The end test made with from.
    BOOL HasEndedAt(const COleDateTime& from) const;
    // Whether the calendar date of occurrence lies after the calendar date of a valid end.
    BOOL LiesAfterEndDate(const COleDateTime& occurrence) const;
    // The occurrence minus the lead minutes.
    COleDateTime MinusLead(const COleDateTime& occurrence) const;
};
