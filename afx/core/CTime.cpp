#include "afx.h"
#include "AfxTimeFormat.h"

#include <string.h>

namespace {

bool LocalParts(time_t t, struct tm& out)
{
    __time64_t t64 = t;
    struct tm* p = _localtime64(&t64);
    if (p == NULL)
        return false;
    out = *p;
    return true;
}

bool GmtParts(time_t t, struct tm& out)
{
    __time64_t t64 = t;
    struct tm* p = _gmtime64(&t64);
    if (p == NULL)
        return false;
    out = *p;
    return true;
}

CString FormatTm(bool bValid, const struct tm& tmTime, LPCTSTR pFormat)
{
    if (!bValid)
        return CString();
    AFX_TIME_PARTS parts = {tmTime.tm_year + 1900, tmTime.tm_mon + 1, tmTime.tm_mday, tmTime.tm_hour,
                            tmTime.tm_min,         tmTime.tm_sec,      tmTime.tm_wday, tmTime.tm_yday + 1,
                            tmTime.tm_isdst};
    return AfxFormatTimeParts(parts, pFormat);
}

} // namespace

CTime PASCAL CTime::GetCurrentTime() { return CTime((time_t)_time64(NULL)); }

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST)
{
    struct tm atm;
    memset(&atm, 0, sizeof atm);
    atm.tm_sec = nSec;
    atm.tm_min = nMin;
    atm.tm_hour = nHour;
    atm.tm_mday = nDay;
    atm.tm_mon = nMonth - 1;
    atm.tm_year = nYear - 1900;
    atm.tm_isdst = nDST;
    m_time = (time_t)_mktime64(&atm);
}

CTime::CTime(const SYSTEMTIME& sysTime, int nDST)
{
    if (sysTime.wYear < 1900)
        m_time = 0;
    else
        *this = CTime(sysTime.wYear, sysTime.wMonth, sysTime.wDay, sysTime.wHour, sysTime.wMinute,
                      sysTime.wSecond, nDST);
}

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    FILETIME localTime;
    SYSTEMTIME sysTime;
    if (!FileTimeToLocalFileTime(&fileTime, &localTime) || !FileTimeToSystemTime(&localTime, &sysTime)) {
        m_time = 0;
        return;
    }
    *this = CTime(sysTime, nDST);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    static thread_local struct tm s_tm;
    if (!GmtParts(m_time, s_tm))
        return NULL;
    if (ptm != NULL) {
        *ptm = s_tm;
        return ptm;
    }
    return &s_tm;
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    static thread_local struct tm s_tm;
    if (!LocalParts(m_time, s_tm))
        return NULL;
    if (ptm != NULL) {
        *ptm = s_tm;
        return ptm;
    }
    return &s_tm;
}

BOOL CTime::GetAsSystemTime(SYSTEMTIME& timeDest) const
{
    struct tm t;
    if (!LocalParts(m_time, t))
        return FALSE;
    timeDest.wYear = (WORD)(t.tm_year + 1900);
    timeDest.wMonth = (WORD)(t.tm_mon + 1);
    timeDest.wDayOfWeek = (WORD)t.tm_wday;
    timeDest.wDay = (WORD)t.tm_mday;
    timeDest.wHour = (WORD)t.tm_hour;
    timeDest.wMinute = (WORD)t.tm_min;
    timeDest.wSecond = (WORD)t.tm_sec;
    timeDest.wMilliseconds = 0;
    return TRUE;
}

int CTime::GetYear() const { struct tm t; return LocalParts(m_time, t) ? t.tm_year + 1900 : -1; }
int CTime::GetMonth() const { struct tm t; return LocalParts(m_time, t) ? t.tm_mon + 1 : -1; }
int CTime::GetDay() const { struct tm t; return LocalParts(m_time, t) ? t.tm_mday : -1; }
int CTime::GetHour() const { struct tm t; return LocalParts(m_time, t) ? t.tm_hour : -1; }
int CTime::GetMinute() const { struct tm t; return LocalParts(m_time, t) ? t.tm_min : -1; }
int CTime::GetSecond() const { struct tm t; return LocalParts(m_time, t) ? t.tm_sec : -1; }
int CTime::GetDayOfWeek() const { struct tm t; return LocalParts(m_time, t) ? t.tm_wday + 1 : -1; }

CString CTime::Format(LPCTSTR pFormat) const
{
    struct tm t;
    bool bValid = LocalParts(m_time, t);
    return FormatTm(bValid, t, pFormat);
}

CString CTime::FormatGmt(LPCTSTR pFormat) const
{
    struct tm t;
    bool bValid = GmtParts(m_time, t);
    return FormatTm(bValid, t, pFormat);
}

CString CTime::Format(UINT nFormatID) const
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    return Format(strFormat);
}

CString CTime::FormatGmt(UINT nFormatID) const
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    return FormatGmt(strFormat);
}

CArchive& AFXAPI operator<<(CArchive& ar, CTime time) { return ar << (DWORD)time.m_time; }

CArchive& AFXAPI operator>>(CArchive& ar, CTime& rtime)
{
    DWORD dwTime = 0;
    ar >> dwTime;
    rtime.m_time = (time_t)dwTime;
    return ar;
}
