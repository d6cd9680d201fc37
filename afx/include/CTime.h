// A point in time as seconds since 1 January 1970 UTC (64-bit time_t), shown in local time.
#pragma once

#include "CTimeSpan.h"

class CTime {
public:
    static CTime PASCAL GetCurrentTime();

    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the run time decide whether daylight saving time applies.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& sysTime, int nDST = -1);
    // A UTC file time, shown in local time.
    CTime(const FILETIME& fileTime, int nDST = -1);

    time_t GetTime() const { return m_time; }
    // The broken-down time in UTC or local time; NULL when the time cannot be converted. The
    // result is copied to ptm when it is given.
    struct tm* GetGmtTm(struct tm* ptm = NULL) const;
    struct tm* GetLocalTm(struct tm* ptm = NULL) const;
    BOOL GetAsSystemTime(SYSTEMTIME& timeDest) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday

    CTimeSpan operator-(CTime time) const { return CTimeSpan(m_time - time.m_time); }
    CTime operator-(CTimeSpan timeSpan) const { return CTime(m_time - timeSpan.m_timeSpan); }
    CTime operator+(CTimeSpan timeSpan) const { return CTime(m_time + timeSpan.m_timeSpan); }
    const CTime& operator+=(CTimeSpan timeSpan) { m_time += timeSpan.m_timeSpan; return *this; }
    const CTime& operator-=(CTimeSpan timeSpan) { m_time -= timeSpan.m_timeSpan; return *this; }
    bool operator==(CTime time) const { return m_time == time.m_time; }
    bool operator!=(CTime time) const { return m_time != time.m_time; }
    bool operator<(CTime time) const { return m_time < time.m_time; }
    bool operator>(CTime time) const { return m_time > time.m_time; }
    bool operator<=(CTime time) const { return m_time <= time.m_time; }
    bool operator>=(CTime time) const { return m_time >= time.m_time; }

    // strftime codes of the Windows C run time, in local time or UTC.
    CString Format(LPCTSTR pFormat) const;
    CString FormatGmt(LPCTSTR pFormat) const;
    CString Format(UINT nFormatID) const;
    CString FormatGmt(UINT nFormatID) const;

    // Archive form: the seconds as a 4-byte value.
    friend CArchive& AFXAPI operator<<(CArchive& ar, CTime time);
    friend CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime);

private:
    time_t m_time;
};
