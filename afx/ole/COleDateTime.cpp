#include "afxdisp.h"
#include "AfxLibraryText.h"
#include "AfxTimeFormat.h"

#include <math.h>

namespace {

// Day numbers (days since 30 December 1899) of the first and last valid days.
const long kMinDay = -657434; // 1 January 100
const long kMaxDay = 2958465; // 31 December 9999

bool IsLeapYear(long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(long y, int m)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeapYear(y)) ? 29 : days[m - 1];
}

// Days between 30 December 1899 and the given Gregorian date.
long DayNumber(long y, int m, int d)
{
    // Days since 1 March of year 0 of the proleptic Gregorian calendar, then shifted.
    long yy = m <= 2 ? y - 1 : y;
    long era = (yy >= 0 ? yy : yy - 399) / 400;
    long yoe = yy - era * 400;
    long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long daysSince1970 = era * 146097 + doe - 719468;
    return daysSince1970 + 25569;
}

void CivilFromDayNumber(long n, long& y, int& m, int& d)
{
    long z = n - 25569 + 719468;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    d = (int)(doy - (153 * mp + 2) / 5 + 1);
    m = (int)(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2 ? 1 : 0);
}

// A DATE on a linear time line (days and fractions counting forward), and back.
double ToLinear(DATE dt)
{
    if (dt >= 0)
        return dt;
    double dayPart = ceil(dt);
    return dayPart + (dayPart - dt);
}

DATE FromLinear(double linear)
{
    if (linear >= 0)
        return linear;
    double dayPart = floor(linear);
    double fraction = linear - dayPart;
    return fraction == 0 ? dayPart : dayPart - fraction;
}

bool MakeDate(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, DATE& dtDest)
{
    if (nYear < 100 || nYear > 9999 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysInMonth(nYear, nMonth) ||
        nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59)
        return false;
    long nDays = DayNumber(nYear, nMonth, nDay);
    double dblTime = (nHour * 3600L + nMin * 60L + nSec) / 86400.0;
    dtDest = nDays >= 0 ? nDays + dblTime : nDays - dblTime;
    return true;
}

// The parts of a valid DATE, rounded to the nearest second; false when out of range.
bool GetParts(DATE dt, AFX_TIME_PARTS& parts)
{
    if (!(dt > kMinDay - 1.0 && dt < kMaxDay + 1.0))
        return false;
    long long nSeconds = llround(ToLinear(dt) * 86400.0);
    long long nDay = nSeconds >= 0 ? nSeconds / 86400 : -((-nSeconds + 86399) / 86400);
    long nSecOfDay = (long)(nSeconds - nDay * 86400);
    if (nDay < kMinDay || nDay > kMaxDay)
        return false;
    long y;
    int m, d;
    CivilFromDayNumber((long)nDay, y, m, d);
    parts.nYear = (int)y;
    parts.nMonth = m;
    parts.nDay = d;
    parts.nHour = nSecOfDay / 3600;
    parts.nMinute = (nSecOfDay / 60) % 60;
    parts.nSecond = nSecOfDay % 60;
    parts.nDayOfWeek = (int)(((nDay % 7) + 7 + 6) % 7); // day 0 was a Saturday
    parts.nDayOfYear = (int)(nDay - DayNumber(y, 1, 1) + 1);
    parts.nIsDst = -1;
    return true;
}

} // namespace

COleDateTime PASCAL COleDateTime::GetCurrentTime()
{
    SYSTEMTIME st;
    ::GetLocalTime(&st);
    return COleDateTime(st);
}

COleDateTime::COleDateTime(const VARIANT& varSrc) : m_dt(0), m_status(valid) { *this = varSrc; }

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(valid) { CheckRange(); }

COleDateTime::COleDateTime(time_t timeSrc) : m_dt(0), m_status(valid) { *this = timeSrc; }

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc) : m_dt(0), m_status(valid) { *this = systimeSrc; }

COleDateTime::COleDateTime(const FILETIME& filetimeSrc) : m_dt(0), m_status(valid) { *this = filetimeSrc; }

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec) : m_dt(0), m_status(valid)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

void COleDateTime::CheckRange()
{
    if (!(m_dt > kMinDay - 1.0 && m_dt < kMaxDay + 1.0))
        m_status = invalid;
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    m_status = MakeDate(nYear, nMonth, nDay, nHour, nMin, nSec, m_dt) ? valid : invalid;
    return m_status;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay) { return SetDateTime(nYear, nMonth, nDay, 0, 0, 0); }

int COleDateTime::SetTime(int nHour, int nMin, int nSec) { return SetDateTime(1899, 12, 30, nHour, nMin, nSec); }

const COleDateTime& COleDateTime::operator=(const VARIANT& varSrc)
{
    if (varSrc.vt == VT_DATE) {
        m_dt = varSrc.date;
        m_status = valid;
        CheckRange();
        return *this;
    }
    VARIANT varTemp;
    VariantInit(&varTemp);
    if (SUCCEEDED(VariantChangeType(&varTemp, (VARIANT*)&varSrc, 0, VT_DATE))) {
        m_dt = varTemp.date;
        m_status = valid;
        CheckRange();
    } else {
        m_dt = 0;
        m_status = invalid;
    }
    VariantClear(&varTemp);
    return *this;
}

const COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = valid;
    CheckRange();
    return *this;
}

const COleDateTime& COleDateTime::operator=(const time_t& timeSrc)
{
    __time64_t t = timeSrc;
    struct tm* ptm = _localtime64(&t);
    if (ptm == NULL)
        m_status = invalid;
    else
        SetDateTime(ptm->tm_year + 1900, ptm->tm_mon + 1, ptm->tm_mday, ptm->tm_hour, ptm->tm_min, ptm->tm_sec);
    return *this;
}

const COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
                systimeSrc.wSecond);
    return *this;
}

const COleDateTime& COleDateTime::operator=(const FILETIME& filetimeSrc)
{
    FILETIME filetimeLocal;
    SYSTEMTIME systime;
    if (!FileTimeToLocalFileTime(&filetimeSrc, &filetimeLocal) || !FileTimeToSystemTime(&filetimeLocal, &systime))
        m_status = invalid;
    else
        *this = systime;
    return *this;
}

BOOL COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    AFX_TIME_PARTS parts;
    if (m_status != valid || !GetParts(m_dt, parts))
        return FALSE;
    sysTime.wYear = (WORD)parts.nYear;
    sysTime.wMonth = (WORD)parts.nMonth;
    sysTime.wDayOfWeek = (WORD)parts.nDayOfWeek;
    sysTime.wDay = (WORD)parts.nDay;
    sysTime.wHour = (WORD)parts.nHour;
    sysTime.wMinute = (WORD)parts.nMinute;
    sysTime.wSecond = (WORD)parts.nSecond;
    sysTime.wMilliseconds = 0;
    return TRUE;
}

#define AFX_DATE_PART(name, member)                                                             \
    int COleDateTime::name() const                                                              \
    {                                                                                           \
        AFX_TIME_PARTS parts;                                                                   \
        return (m_status == valid && GetParts(m_dt, parts)) ? (member) : AFX_OLE_DATETIME_ERROR; \
    }
AFX_DATE_PART(GetYear, parts.nYear)
AFX_DATE_PART(GetMonth, parts.nMonth)
AFX_DATE_PART(GetDay, parts.nDay)
AFX_DATE_PART(GetHour, parts.nHour)
AFX_DATE_PART(GetMinute, parts.nMinute)
AFX_DATE_PART(GetSecond, parts.nSecond)
AFX_DATE_PART(GetDayOfWeek, parts.nDayOfWeek + 1)
AFX_DATE_PART(GetDayOfYear, parts.nDayOfYear)
#undef AFX_DATE_PART

bool COleDateTime::operator==(const COleDateTime& date) const { return m_status == date.m_status && m_dt == date.m_dt; }
bool COleDateTime::operator!=(const COleDateTime& date) const { return !(*this == date); }
bool COleDateTime::operator<(const COleDateTime& date) const { return ToLinear(m_dt) < ToLinear(date.m_dt); }
bool COleDateTime::operator>(const COleDateTime& date) const { return ToLinear(m_dt) > ToLinear(date.m_dt); }
bool COleDateTime::operator<=(const COleDateTime& date) const { return ToLinear(m_dt) <= ToLinear(date.m_dt); }
bool COleDateTime::operator>=(const COleDateTime& date) const { return ToLinear(m_dt) >= ToLinear(date.m_dt); }

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTime result;
    if (m_status == null || dateSpan.GetStatus() == COleDateTimeSpan::null)
        result.SetStatus(null);
    else if (m_status == invalid || dateSpan.GetStatus() == COleDateTimeSpan::invalid)
        result.SetStatus(invalid);
    else {
        result.m_dt = FromLinear(ToLinear(m_dt) + dateSpan.m_span);
        result.CheckRange();
    }
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const { return *this + (-dateSpan); }

const COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan dateSpan)
{
    *this = *this + dateSpan;
    return *this;
}

const COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan dateSpan)
{
    *this = *this - dateSpan;
    return *this;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan spanResult;
    if (m_status == null || date.m_status == null)
        spanResult.SetStatus(COleDateTimeSpan::null);
    else if (m_status == invalid || date.m_status == invalid)
        spanResult.SetStatus(COleDateTimeSpan::invalid);
    else
        spanResult = ToLinear(m_dt) - ToLinear(date.m_dt);
    return spanResult;
}

BOOL COleDateTime::ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags, LCID lcid)
{
    CString strDate(lpszDate);
    BSTR bstrDate = strDate.AllocSysString();
    DATE dt = 0;
    HRESULT hr = VarDateFromStr(bstrDate, lcid, dwFlags, &dt);
    SysFreeString(bstrDate);
    if (FAILED(hr)) {
        if (hr == E_OUTOFMEMORY)
            AfxThrowMemoryException();
        m_dt = hr == DISP_E_OVERFLOW ? -1 : 0;
        m_status = invalid;
        return FALSE;
    }
    m_dt = dt;
    m_status = valid;
    CheckRange();
    return m_status == valid;
}

CString COleDateTime::Format(DWORD dwFlags, LCID lcid) const
{
    if (m_status == null)
        return CString();
    if (m_status == invalid)
        return AfxGetLibraryText(AFX_TEXT_INVALID_DATETIME);
    BSTR bstr = NULL;
    if (FAILED(VarBstrFromDate(m_dt, lcid, dwFlags, &bstr)))
        return CString();
    CString result(bstr);
    SysFreeString(bstr);
    return result;
}

CString COleDateTime::Format(LPCTSTR lpszFormat) const
{
    if (m_status == null)
        return CString();
    AFX_TIME_PARTS parts;
    if (m_status == invalid || !GetParts(m_dt, parts))
        return AfxGetLibraryText(AFX_TEXT_INVALID_DATETIME);
    return AfxFormatTimeParts(parts, lpszFormat);
}

CString COleDateTime::Format(UINT nFormatID) const
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    return Format((LPCTSTR)strFormat);
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc)
{
    ar << (LONG)dateSrc.m_status;
    return ar << dateSrc.m_dt;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc)
{
    LONG lStatus = 0;
    ar >> lStatus;
    ar >> dateSrc.m_dt;
    // A status outside the three known ones cannot be trusted: the date is invalid.
    dateSrc.m_status = (lStatus >= COleDateTime::valid && lStatus <= COleDateTime::null)
                           ? (COleDateTime::DateTimeStatus)lStatus
                           : COleDateTime::invalid;
    return ar;
}
