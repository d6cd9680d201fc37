#include "CTimerDate.h"

#include <algorithm>

BOOL CTimerDate::IsLeapYear(int nYear)
{
    if (nYear < 1582)
        return nYear % 4 == 0;
    return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0;
}

int CTimerDate::GetDaysInMonth(int nMonth, int nYear)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    if (nMonth == 2 && IsLeapYear(nYear))
        return 29;
    return kDays[nMonth - 1];
}

int CTimerDate::GetDaysInMonth() const { return GetDaysInMonth(GetMonth(), GetYear()); }

BOOL CTimerDate::NextWeekday(const COleDateTime& date, int nWeekday, COleDateTime& result)
{
    // ((weekday - day of week + 6) mod 7) + 1, with a modulo that stays positive.
    const int nDays = ((nWeekday - date.GetDayOfWeek() + 6) % 7 + 7) % 7 + 1;
    result = date + COleDateTimeSpan(nDays, 0, 0, 0);
    return TRUE;
}

CTimerDate CTimerDate::NthWeekdayOfMonth(int n, int nWeekday, int nMonth) const
{
    const int nYear = GetYear();
    CTimerDate first(nYear, nMonth, 1, 0, 0, 0);
    if (first.GetStatus() != valid || nWeekday < 1 || nWeekday > 7 || n < 1 || n > 5)
        return first;
    const int nFirstMatch = 1 + (nWeekday - first.GetDayOfWeek() + 7) % 7;
    int nDay = nFirstMatch + 7 * (n - 1);
    if (n == 5) {
        const int nLength = GetDaysInMonth(nMonth, nYear);
        while (nDay > nLength)
            nDay -= 7;
    }
    return CTimerDate(nYear, nMonth, nDay, 0, 0, 0);
}

void CTimerDate::AddDays(int n) { *this += COleDateTimeSpan(n, 0, 0, 0); }

void CTimerDate::AddMonths(int n)
{
    if (GetStatus() != valid)
        return;
    // Month by month, each time to the remembered day or the month's last day, comes to the same
    // as one step to the target month.
    const long long nMonthIndex = (long long)GetYear() * 12 + (GetMonth() - 1) + n;
    if (nMonthIndex < 0 || nMonthIndex > 12LL * 10000) {
        SetStatus(invalid);
        return;
    }
    const int nYear = (int)(nMonthIndex / 12);
    const int nMonth = (int)(nMonthIndex % 12) + 1;
    const int nDay = std::min(GetDay(), GetDaysInMonth(nMonth, nYear));
    SetDateTime(nYear, nMonth, nDay, GetHour(), GetMinute(), GetSecond());
}

void CTimerDate::AddYears(int n)
{
    if (GetStatus() != valid)
        return;
    const long long nTargetYear = (long long)GetYear() + n;
    if (nTargetYear < 0 || nTargetYear > 10000) {
        SetStatus(invalid);
        return;
    }
    const int nYear = (int)nTargetYear;
    const int nMonth = GetMonth();
    const int nDay = std::min(GetDay(), GetDaysInMonth(nMonth, nYear));
    SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

BOOL CTimerDate::SetDay(int nDay)
{
    if (GetStatus() != valid)
        return FALSE;
    return SetDateTime(GetYear(), GetMonth(), nDay, GetHour(), GetMinute(), GetSecond()) == valid;
}

BOOL CTimerDate::SetDayOfYear(int n)
{
    if (GetStatus() != valid)
        return FALSE;
    CTimerDate first(GetYear(), 1, 1, GetHour(), GetMinute(), GetSecond());
    if (first.GetStatus() != valid) {
        *this = first;
        return FALSE;
    }
    first.AddDays(n - 1);
    *this = first;
    return TRUE;
}

BOOL CTimerDate::SetTimeOfDay(const COleDateTime& time)
{
    if (GetStatus() != valid || time.GetStatus() != valid) {
        SetStatus(invalid);
        return FALSE;
    }
    return SetDateTime(GetYear(), GetMonth(), GetDay(), time.GetHour(), time.GetMinute(), time.GetSecond()) == valid;
}
