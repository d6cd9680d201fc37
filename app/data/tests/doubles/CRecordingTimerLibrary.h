// Test double of the timer library: records every call the data controller makes as one line of
// text (the operation, then its arguments; dates as "YYYY-MM-DD HH:MM", a null date as "null"),
// answers with fixed results, and fires the callback the controller set when the test asks.
// Calls may come from any thread.
#pragma once

#include <afxmt.h>

#include <functional>
#include <string>
#include <vector>

#include "CTimerLibrary.h"

class CRecordingTimerLibrary : public CTimerLibrary {
public:
    long JobOpen() override;
    int JobClose(long lJob) override;
    int SetPollTime(long lJob, int nSeconds) override;
    int SetMessageCallback(long lJob, TimerCallback pfnCallback) override;
    int StartPolling(long lJob) override;
    int StopPolling(long lJob) override;
    int Delete(long lJob, long lId) override;
    int AddFixed(long lJob, const COleDateTime& when, long lId, int nLeadMinutes) override;
    int AddCyclicDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int bWorkingDaysOnly,
                     int nEveryDays, int nLeadMinutes) override;
    int AddCyclicWeekByDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int nEveryWeeks,
                           const int* pWeekdays, int nLeadMinutes) override;
    int AddCyclicMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int nEveryMonths,
                       int nDayOfMonth, int nLeadMinutes) override;
    int AddCyclicMonthExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int nWeekIndex,
                          int nWeekday, int nEveryMonths, int nLeadMinutes) override;
    int AddCyclicYearDayInMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                                int nDay, int nLeadMinutes) override;
    int AddCyclicYearExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end, int nMonth,
                         int nWeekIndex, int nWeekday, int nLeadMinutes) override;

    // The calls so far, in order; the lines that begin with the prefix.
    std::vector<std::string> Calls() const;
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
    void Clear();
    // Calls the callback the controller set (FALSE when none is set) with a record of the id, the
    // time and its status.
    BOOL Fire(int nType, long lId, const COleDateTime& time, int nStatus = TIMER_STATUS_VALID);

    // Called with each call's line after it is recorded, on the calling thread (NULL: nothing).
    void SetOnCall(std::function<void(const std::string&)> onCall);

    // The handle JobOpen answers.
    long m_lJobHandle = 7;

private:
    void Record(const std::string& line);

    mutable CCriticalSection m_lock;
    std::vector<std::string> m_calls;
    TimerCallback m_pfnCallback = NULL;
    std::function<void(const std::string&)> m_onCall;
};

// "YYYY-MM-DD HH:MM", "null" or "invalid".
std::string TimerDateText(const COleDateTime& date);
