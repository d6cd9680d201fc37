#include "CTimerLibrary.h"

CTimerLibrary::~CTimerLibrary() {}

CTimerLibrary* CTimerLibrary::GetDefault()
{
    static CTimerLibrary s_library;
    return &s_library;
}

long CTimerLibrary::JobOpen() { return TimerJobOpen(); }

int CTimerLibrary::JobClose(long lJob) { return TimerJobClose(lJob); }

int CTimerLibrary::SetPollTime(long lJob, int nSeconds) { return TimerSetPollTime(lJob, nSeconds); }

int CTimerLibrary::SetMessageCallback(long lJob, TimerCallback pfnCallback)
{
    return TimerSetMessageCallback(lJob, pfnCallback);
}

int CTimerLibrary::StartPolling(long lJob) { return TimerStartPolling(lJob); }

int CTimerLibrary::StopPolling(long lJob) { return TimerStopPolling(lJob); }

int CTimerLibrary::Delete(long lJob, long lId) { return TimerDelete(lJob, lId); }

int CTimerLibrary::AddFixed(long lJob, const COleDateTime& when, long lId, int nLeadMinutes)
{
    return TimerAddFixed(lJob, TimerDateTimeFrom(when), lId, nLeadMinutes);
}

int CTimerLibrary::AddCyclicDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                int bWorkingDaysOnly, int nEveryDays, int nLeadMinutes)
{
    return TimerAddCyclicDay(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), bWorkingDaysOnly, nEveryDays,
                             nLeadMinutes);
}

int CTimerLibrary::AddCyclicWeekByDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                      int nEveryWeeks, const int* pWeekdays, int nLeadMinutes)
{
    return TimerAddCyclicWeekByDay(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), nEveryWeeks, pWeekdays,
                                   nLeadMinutes);
}

int CTimerLibrary::AddCyclicMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                  int nEveryMonths, int nDayOfMonth, int nLeadMinutes)
{
    return TimerAddCyclicMonth(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), nEveryMonths, nDayOfMonth,
                               nLeadMinutes);
}

int CTimerLibrary::AddCyclicMonthExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                     int nWeekIndex, int nWeekday, int nEveryMonths, int nLeadMinutes)
{
    return TimerAddCyclicMonthExt(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), nWeekIndex, nWeekday,
                                  nEveryMonths, nLeadMinutes);
}

int CTimerLibrary::AddCyclicYearDayInMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                           int nMonth, int nDay, int nLeadMinutes)
{
    return TimerAddCyclicYearDayInMonth(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), nMonth, nDay,
                                        nLeadMinutes);
}

int CTimerLibrary::AddCyclicYearExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                    int nMonth, int nWeekIndex, int nWeekday, int nLeadMinutes)
{
    return TimerAddCyclicYearExt(lJob, lId, TimerDateTimeFrom(start), TimerDateTimeFrom(end), nMonth, nWeekIndex,
                                 nWeekday, nLeadMinutes);
}
