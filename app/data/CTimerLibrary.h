// The data controller's way to the timer library (VL32T1.dll): one operation per export it uses,
// each passing its arguments on unchanged and answering the export's result. Tests put a recording
// double in its place (CDataController's constructor takes one).
#pragma once

#include <afxdisp.h>

#include "VL32T1.h"

class CTimerLibrary {
public:
    virtual ~CTimerLibrary();

    // The library itself (one object for the process).
    static CTimerLibrary* GetDefault();

    virtual long JobOpen();
    virtual int JobClose(long lJob);
    virtual int SetPollTime(long lJob, int nSeconds);
    virtual int SetMessageCallback(long lJob, TimerCallback pfnCallback);
    virtual int StartPolling(long lJob);
    virtual int StopPolling(long lJob);
    virtual int Delete(long lJob, long lId);
    virtual int AddFixed(long lJob, const COleDateTime& when, long lId, int nLeadMinutes);
    virtual int AddCyclicDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                             int bWorkingDaysOnly, int nEveryDays, int nLeadMinutes);
    // pWeekdays: eight flags, element 0 unused, 1 Sunday to 7 Saturday.
    virtual int AddCyclicWeekByDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                   int nEveryWeeks, const int* pWeekdays, int nLeadMinutes);
    virtual int AddCyclicMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                               int nEveryMonths, int nDayOfMonth, int nLeadMinutes);
    virtual int AddCyclicMonthExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                  int nWeekIndex, int nWeekday, int nEveryMonths, int nLeadMinutes);
    virtual int AddCyclicYearDayInMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                        int nMonth, int nDay, int nLeadMinutes);
    virtual int AddCyclicYearExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                 int nMonth, int nWeekIndex, int nWeekday, int nLeadMinutes);
};
