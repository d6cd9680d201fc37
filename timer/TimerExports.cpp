// The 20 exports of VL32T1.dll. Each takes the library's API lock for its whole run, resolves
// the job handle (-1 for a handle that names no open job) and runs the job operation. Nothing
// thrown inside (memory exhaustion) leaves an export: the call answers -1.
#include "CTimerApp.h"
#include "CTimerJob.h"
#include "CTimerRuleDaily.h"
#include "CTimerRuleFixed.h"
#include "CTimerRuleMonthly.h"
#include "CTimerRuleSeconds.h"
#include "CTimerRuleWeekly.h"
#include "CTimerRuleYearly.h"
#include "CTimerRuleYearlyWeekday.h"
#include "VL32T1.h"

#include <limits.h>

namespace {

COleDateTime ToDate(const TimerDateTime& date)
{
    COleDateTime result;
    result.m_dt = date.dt;
    result.m_status = (date.status >= COleDateTime::valid && date.status <= COleDateTime::null)
                          ? (COleDateTime::DateTimeStatus)date.status
                          : COleDateTime::invalid;
    return result;
}

// Runs operation(job) under the API lock for an open job; -1 otherwise.
template <class OPERATION> int WithJob(long lJob, OPERATION operation)
{
    try {
        CSingleLock lock(&theApp.m_csApi, TRUE);
        CTimerJob* pJob = theApp.GetJob(lJob);
        if (pJob == NULL)
            return TIMER_ERROR;
        return operation(*pJob);
    } catch (...) {
        return TIMER_ERROR;
    }
}

// Adds the rule that makeRule creates (only once the job is known).
template <class MAKE_RULE> int AddRule(long lJob, MAKE_RULE makeRule)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.AddTimer(makeRule()); });
}

} // namespace

long WINAPI TimerJobOpen(void)
{
    try {
        CSingleLock lock(&theApp.m_csApi, TRUE);
        return theApp.OpenJob();
    } catch (...) {
        return TIMER_ERROR;
    }
}

int WINAPI TimerJobClose(long lJob)
{
    try {
        CSingleLock lock(&theApp.m_csApi, TRUE);
        return theApp.CloseJob(lJob);
    } catch (...) {
        return TIMER_ERROR;
    }
}

int WINAPI TimerSetMessageChannel(long lJob, UINT nMessage, HWND hWnd)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.SetMessageChannel(nMessage, hWnd); });
}

int WINAPI TimerSetMessageCallback(long lJob, TimerCallback pfnCallback)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.SetCallback(pfnCallback); });
}

int WINAPI TimerSetPollTime(long lJob, int nSeconds)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.SetPollTime(nSeconds); });
}

int WINAPI TimerStartPolling(long lJob)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.StartPolling() ? TIMER_OK : TIMER_ERROR; });
}

int WINAPI TimerStopPolling(long lJob)
{
    return WithJob(lJob, [&](CTimerJob& job) {
        job.StopPolling();
        return TIMER_OK;
    });
}

int WINAPI TimerDelete(long lJob, long lId)
{
    return WithJob(lJob, [&](CTimerJob& job) { return job.DeleteTimers(lId); });
}

int WINAPI TimerDump(long lJob, char* pszBuffer, int nSize)
{
    if (pszBuffer == NULL || nSize < 1)
        return TIMER_ERROR;
    return WithJob(lJob, [&](CTimerJob& job) {
        CString strText;
        job.Dump(strText);
        // At most nSize - 1 characters, the rest of the buffer zero: always terminated.
        strncpy(pszBuffer, strText, (size_t)nSize - 1);
        pszBuffer[nSize - 1] = '\0';
        return TIMER_OK;
    });
}

int WINAPI TimerAddFixed(long lJob, TimerDateTime when, long lId, int nLeadMinutes)
{
    return AddRule(lJob, [&] { return new CTimerRuleFixed(lId, ToDate(when), nLeadMinutes); });
}

int WINAPI TimerAddCyclicSec(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nSeconds)
{
    return AddRule(lJob, [&] { return new CTimerRuleSeconds(lId, ToDate(start), ToDate(end), nSeconds); });
}

int WINAPI TimerAddCyclicMinutes(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nMinutes)
{
    const long long nSeconds = (long long)nMinutes * 60;
    const int nClamped = nSeconds > INT_MAX ? INT_MAX : (int)nSeconds;
    return AddRule(lJob, [&] { return new CTimerRuleSeconds(lId, ToDate(start), ToDate(end), nClamped); });
}

int WINAPI TimerAddCyclicDay(long lJob, long lId, TimerDateTime start, TimerDateTime end, int bWorkingDaysOnly,
                             int nEveryDays, int nLeadMinutes)
{
    return AddRule(lJob, [&] {
        return new CTimerRuleDaily(lId, ToDate(start), ToDate(end), bWorkingDaysOnly != 0, nEveryDays, nLeadMinutes);
    });
}

int WINAPI TimerAddCyclicWeek(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nEveryWeeks,
                              int nWeekday)
{
    return AddRule(lJob,
                   [&] { return new CTimerRuleWeekly(lId, 0, ToDate(start), ToDate(end), nEveryWeeks, nWeekday, 0); });
}

int WINAPI TimerAddCyclicWeekByDay(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nEveryWeeks,
                                   const int* pWeekdays, int nLeadMinutes)
{
    if (pWeekdays == NULL)
        return TIMER_ERROR;
    return WithJob(lJob, [&](CTimerJob& job) {
        // Element 0 is no weekday. The sub-index counts the timers this call has added; the
        // results of the single additions are not passed on.
        int nSubIndex = 0;
        for (int nWeekday = 1; nWeekday <= 7; nWeekday++) {
            if (pWeekdays[nWeekday] == 0)
                continue;
            CTimerRuleWeekly* pRule = new CTimerRuleWeekly(lId, nSubIndex, ToDate(start), ToDate(end), nEveryWeeks,
                                                           nWeekday, nLeadMinutes);
            if (job.AddTimer(pRule) == TIMER_OK)
                nSubIndex++;
        }
        return TIMER_OK;
    });
}

int WINAPI TimerAddCyclicMonth(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nEveryMonths,
                               int nDayOfMonth, int nLeadMinutes)
{
    return AddRule(lJob, [&] {
        return new CTimerRuleMonthly(lId, ToDate(start), ToDate(end), nEveryMonths, nDayOfMonth, nLeadMinutes);
    });
}

int WINAPI TimerAddCyclicMonthExt(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nWeekIndex,
                                  int nWeekday, int nEveryMonths, int nLeadMinutes)
{
    const int nCode = CTimerRule::MakeWeekdayCode(nWeekIndex, nWeekday);
    return AddRule(lJob, [&] {
        return new CTimerRuleMonthly(lId, ToDate(start), ToDate(end), nEveryMonths, nCode, nLeadMinutes);
    });
}

int WINAPI TimerAddCyclicYear(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nDayOfYear,
                              int nLeadMinutes)
{
    return AddRule(lJob,
                   [&] { return new CTimerRuleYearly(lId, ToDate(start), ToDate(end), nDayOfYear, nLeadMinutes); });
}

int WINAPI TimerAddCyclicYearDayInMonth(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nMonth,
                                        int nDay, int nLeadMinutes)
{
    return AddRule(lJob,
                   [&] { return new CTimerRuleYearly(lId, ToDate(start), ToDate(end), nMonth, nDay, nLeadMinutes); });
}

int WINAPI TimerAddCyclicYearExt(long lJob, long lId, TimerDateTime start, TimerDateTime end, int nMonth,
                                 int nWeekIndex, int nWeekday, int nLeadMinutes)
{
    const int nCode = CTimerRule::MakeWeekdayCode(nWeekIndex, nWeekday);
    return AddRule(lJob, [&] {
        return new CTimerRuleYearlyWeekday(lId, ToDate(start), ToDate(end), nCode, nMonth, nLeadMinutes);
    });
}
