#include "CDateValue.h"

#include <math.h>
#include <stdio.h>

namespace {

const int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// 1900-01-01 as a linear day count of the OLE date (1899-12-30 is 0).
const double kSerialBase = 2.0;
const int kFirstGregorianYear = 1582;
const int kMonday = 2;
const int kSunday = 1;

int CeilDiv(int n, int d) { return (n + d - 1) / d; }

} // namespace

CDateValue::CDateValue(int nFormat, const CString& strText)
{
    if (strText.IsEmpty() || nFormat < kDayMonthYear2 || nFormat > kYearMonthDay4)
        return;
    int n1 = 0, n2 = 0, n3 = 0;
    static const char* const kPatterns[] = {"%2d%*c%2d%*c%2d", "%2d%*c%2d%*c%4d", "%2d%*c%2d%*c%2d", "%4d%*c%2d%*c%2d"};
    sscanf(strText, kPatterns[nFormat], &n1, &n2, &n3);
    if (nFormat <= kDayMonthYear4)
        SetDateTime(n3, n2, n1, 0, 0, 0);
    else
        SetDateTime(n1, n2, n3, 0, 0, 0);
}

CDateValue::CDateValue(long nDaySerial, int nMinutes)
{
    SetDaySerial(nDaySerial);
    *this += COleDateTimeSpan(0, 0, nMinutes, 0);
}

double CDateValue::Linear() const
{
    const double dWhole = m_dt < 0 ? ceil(m_dt) : floor(m_dt);
    return dWhole + fabs(m_dt - dWhole);
}

BOOL CDateValue::IsLeapYear(int nYear)
{
    if (nYear < kFirstGregorianYear)
        return nYear % 4 == 0;
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int CDateValue::DaysInMonth(int nMonth, int nYear)
{
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : kDaysPerMonth[nMonth - 1];
}

int CDateValue::GetDaysInMonth() const { return DaysInMonth(GetMonth(), GetYear()); }

BOOL CDateValue::IsValidDay(int nMonth, int nDay, int nYear) { return nDay <= DaysInMonth(nMonth, nYear); }

long CDateValue::JulianDay(int nMonth, int nDay, int nYear)
{
    if (!IsValidDay(nMonth, nDay, nYear))
        return 0;
    long m = nMonth, y = nYear;
    if (m < 3) {
        m += 12;
        y -= 1;
    }
    return (153 * m - 457) / 5 + nDay + ((y / 100) * 146097) / 4 + ((y % 100) * 1461) / 4 + 1721119;
}

long CDateValue::GetJulianDay() const { return JulianDay(GetMonth(), GetDay(), GetYear()); }

CDateValue CDateValue::GetNextWeekday(int nWeekday, BOOL bIncludeThis) const
{
    CDateValue date(*this);
    if (!bIncludeThis)
        date += COleDateTimeSpan(1, 0, 0, 0);
    for (int i = 0; i < 7 && date.GetDayOfWeek() != nWeekday; ++i)
        date += COleDateTimeSpan(1, 0, 0, 0);
    return date;
}

CDateValue CDateValue::GetPreviousWeekday(int nWeekday) const
{
    if (GetStatus() != valid)
        return *this;
    CDateValue date(*this);
    for (int i = 0; i < 7; ++i) {
        date -= COleDateTimeSpan(1, 0, 0, 0);
        if (date.GetDayOfWeek() == nWeekday)
            break;
    }
    return date;
}

CDateValue CDateValue::GetNthWeekday(int n, int nWeekday, int nMonth) const
{
    CDateValue date;
    date.SetDateTime(GetYear(), nMonth, 1, 0, 0, 0);
    if (n >= 1 && n <= 4) {
        int nSeen = 0;
        // Four weeks and a day at most reach the fourth such day.
        for (int i = 0; i < 35; ++i) {
            if (date.GetDayOfWeek() == nWeekday && ++nSeen == n)
                return date;
            date += COleDateTimeSpan(1, 0, 0, 0);
        }
        return date;
    }
    if (n == 5) {
        CDateValue last = date;
        const int nDays = DaysInMonth(nMonth, GetYear());
        for (int i = 0; i < nDays; ++i) {
            if (date.GetDayOfWeek() == nWeekday)
                last = date;
            date += COleDateTimeSpan(1, 0, 0, 0);
        }
        return last;
    }
    return date;
}

CDateValue CDateValue::GetNthWeekdayOfMonth(int n, int nWeekday) const { return GetNthWeekday(n, nWeekday, GetMonth()); }

long CDateValue::GetDaySerial() const { return (long)(Linear() - kSerialBase); }

void CDateValue::SetDaySerial(long nDaySerial)
{
    // Whole days: the OLE date of a midnight is its linear day count, negative or not.
    m_dt = (double)nDaySerial + kSerialBase;
    m_status = valid;
}

void CDateValue::AddMonths(int nCount)
{
    if (nCount <= 0 || GetStatus() != valid)
        return;
    const int nDay = GetDay();
    int nMonth = GetMonth(), nYear = GetYear();
    for (int i = 0; i < nCount; ++i)
        if (++nMonth > 12) {
            nMonth = 1;
            ++nYear;
        }
    const int nLast = DaysInMonth(nMonth, nYear);
    SetDateTime(nYear, nMonth, nDay < nLast ? nDay : nLast, GetHour(), GetMinute(), GetSecond());
}

int CDateValue::AddYears(int n)
{
    const int nYear = GetYear() + n;
    int nDay = GetDay();
    if (GetMonth() == 2 && nDay == 29 && !IsLeapYear(nYear))
        nDay = 28;
    return SetDateTime(nYear, GetMonth(), nDay, 0, 0, 0);
}

int CDateValue::SetDay(int nDay) { return SetDateTime(GetYear(), GetMonth(), nDay, GetHour(), GetMinute(), GetSecond()); }

int CDateValue::Compare(const COleDateTime& other) const
{
    if (GetStatus() == other.GetStatus() && m_dt == other.m_dt)
        return 0;
    return *this < other ? -1 : 1;
}

int CDateValue::GetWeekNumber(int nMode) const
{
    if (nMode == 0) {
        const long j = GetJulianDay();
        const long d4 = ((j - j % 7 + 31741) % 146097 % 36524) % 1461;
        const long l = d4 / 1460;
        const long d1 = ((d4 - l) % 365) + l;
        return (int)(d1 / 7 + 1);
    }
    if (nMode == 1) {
        const int n = GetDayOfYear();
        COleDateTime first(GetYear(), 1, 1, 0, 0, 0);
        const int w = first.GetDayOfWeek();
        if (w == kMonday)
            return CeilDiv(n, 7);
        const int f = w == kSunday ? 1 : 9 - w;
        return n <= f ? 1 : CeilDiv(n - f, 7) + 1;
    }
    return 0;
}
