#include "CRecordingTimerLibrary.h"

#include <stdio.h>

namespace {

std::string Format(const char* pszFormat, ...)
{
    char szLine[512];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szLine, sizeof szLine, pszFormat, args);
    va_end(args);
    return szLine;
}

} // namespace

std::string TimerDateText(const COleDateTime& date)
{
    if (date.GetStatus() == COleDateTime::null)
        return "null";
    if (date.GetStatus() != COleDateTime::valid)
        return "invalid";
    return Format("%04d-%02d-%02d %02d:%02d", date.GetYear(), date.GetMonth(), date.GetDay(), date.GetHour(),
                  date.GetMinute());
}

void CRecordingTimerLibrary::Record(const std::string& line)
{
    std::function<void(const std::string&)> onCall;
    {
        CSingleLock lock(&m_lock, TRUE);
        m_calls.push_back(line);
        onCall = m_onCall;
    }
    if (onCall)
        onCall(line);
}

void CRecordingTimerLibrary::SetOnCall(std::function<void(const std::string&)> onCall)
{
    CSingleLock lock(&m_lock, TRUE);
    m_onCall = std::move(onCall);
}

std::vector<std::string> CRecordingTimerLibrary::Calls() const
{
    CSingleLock lock(&m_lock, TRUE);
    return m_calls;
}

std::vector<std::string> CRecordingTimerLibrary::CallsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> result;
    for (const std::string& line : Calls())
        if (line.compare(0, prefix.size(), prefix) == 0)
            result.push_back(line);
    return result;
}

void CRecordingTimerLibrary::Clear()
{
    CSingleLock lock(&m_lock, TRUE);
    m_calls.clear();
}

BOOL CRecordingTimerLibrary::Fire(int nType, long lId, const COleDateTime& time, int nStatus)
{
    TimerCallback pfnCallback;
    {
        CSingleLock lock(&m_lock, TRUE);
        pfnCallback = m_pfnCallback;
    }
    if (pfnCallback == NULL)
        return FALSE;
    TimerInfo info = {};
    info.nSize = sizeof info;
    info.lTimerId = (int32_t)lId;
    info.dtTime = time.m_dt;
    info.lStatus = nStatus;
    pfnCallback(nType, &info);
    return TRUE;
}

long CRecordingTimerLibrary::JobOpen()
{
    Record("JobOpen");
    return m_lJobHandle;
}

int CRecordingTimerLibrary::JobClose(long lJob)
{
    Record(Format("JobClose %ld", lJob));
    return 0;
}

int CRecordingTimerLibrary::SetPollTime(long lJob, int nSeconds)
{
    Record(Format("SetPollTime %ld %d", lJob, nSeconds));
    return 0;
}

int CRecordingTimerLibrary::SetMessageCallback(long lJob, TimerCallback pfnCallback)
{
    {
        CSingleLock lock(&m_lock, TRUE);
        m_pfnCallback = pfnCallback;
    }
    Record(Format("SetMessageCallback %ld %s", lJob, pfnCallback != NULL ? "set" : "NULL"));
    return 0;
}

int CRecordingTimerLibrary::StartPolling(long lJob)
{
    Record(Format("StartPolling %ld", lJob));
    return 0;
}

int CRecordingTimerLibrary::StopPolling(long lJob)
{
    Record(Format("StopPolling %ld", lJob));
    return 0;
}

int CRecordingTimerLibrary::Delete(long lJob, long lId)
{
    Record(Format("Delete %ld %ld", lJob, lId));
    return 0;
}

int CRecordingTimerLibrary::AddFixed(long lJob, const COleDateTime& when, long lId, int nLeadMinutes)
{
    Record(Format("AddFixed %ld %s %ld %d", lJob, TimerDateText(when).c_str(), lId, nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                         int bWorkingDaysOnly, int nEveryDays, int nLeadMinutes)
{
    Record(Format("AddCyclicDay %ld %ld %s %s %d %d %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), bWorkingDaysOnly, nEveryDays, nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicWeekByDay(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                               int nEveryWeeks, const int* pWeekdays, int nLeadMinutes)
{
    std::string flags;
    for (int i = 0; i < 8; ++i)
        flags += pWeekdays != NULL ? (pWeekdays[i] != 0 ? '1' : '0') : '?';
    Record(Format("AddCyclicWeekByDay %ld %ld %s %s %d %s %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), nEveryWeeks, flags.c_str(), nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicMonth(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                           int nEveryMonths, int nDayOfMonth, int nLeadMinutes)
{
    Record(Format("AddCyclicMonth %ld %ld %s %s %d %d %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), nEveryMonths, nDayOfMonth, nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicMonthExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                              int nWeekIndex, int nWeekday, int nEveryMonths, int nLeadMinutes)
{
    Record(Format("AddCyclicMonthExt %ld %ld %s %s %d %d %d %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), nWeekIndex, nWeekday, nEveryMonths, nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicYearDayInMonth(long lJob, long lId, const COleDateTime& start,
                                                    const COleDateTime& end, int nMonth, int nDay, int nLeadMinutes)
{
    Record(Format("AddCyclicYearDayInMonth %ld %ld %s %s %d %d %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), nMonth, nDay, nLeadMinutes));
    return 0;
}

int CRecordingTimerLibrary::AddCyclicYearExt(long lJob, long lId, const COleDateTime& start, const COleDateTime& end,
                                             int nMonth, int nWeekIndex, int nWeekday, int nLeadMinutes)
{
    Record(Format("AddCyclicYearExt %ld %ld %s %s %d %d %d %d", lJob, lId, TimerDateText(start).c_str(),
                  TimerDateText(end).c_str(), nMonth, nWeekIndex, nWeekday, nLeadMinutes));
    return 0;
}
