#include "QzDate.h"

#include <windows.h>

namespace qz {

namespace {

// Days from 1 March of year 0 (proleptic Gregorian) to the date.
long DaysFromCivil(long y, int m, int d)
{
    y -= m <= 2 ? 1 : 0;
    long era = (y >= 0 ? y : y - 399) / 400;
    long yoe = y - era * 400;
    long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

const long kEpoch = DaysFromCivil(1900, 1, 1);

} // namespace

bool IsLeapYear(long nYear) { return (nYear % 4 == 0 && nYear % 100 != 0) || nYear % 400 == 0; }

int DaysInMonth(long nYear, int nMonth)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (nMonth < 1 || nMonth > 12)
        return 0;
    return nMonth == 2 && IsLeapYear(nYear) ? 29 : days[nMonth - 1];
}

bool IsValidDate(long nYear, int nMonth, int nDay)
{
    return nYear >= kFirstYear && nYear <= kLastYear && nDay >= 1 && nDay <= DaysInMonth(nYear, nMonth);
}

long SerialOf(long nYear, int nMonth, int nDay) { return DaysFromCivil(nYear, nMonth, nDay) - kEpoch; }

void DateOf(long nSerial, long* pYear, int* pMonth, int* pDay)
{
    long z = nSerial + kEpoch;
    long era = (z >= 0 ? z : z - 146096) / 146097;
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    int d = (int)(doy - (153 * mp + 2) / 5 + 1);
    int m = (int)(mp < 10 ? mp + 3 : mp - 9);
    *pYear = yoe + era * 400 + (m <= 2 ? 1 : 0);
    *pMonth = m;
    *pDay = d;
}

// 1 January 1900 was a Monday.
int WeekdayOf(long nSerial) { return (int)(((nSerial % 7) + 7) % 7); }

int IsoWeekOf(long nSerial)
{
    // the week belongs to the year of its Thursday
    long nThursday = nSerial - WeekdayOf(nSerial) + 3;
    long nYear;
    int nMonth, nDay;
    DateOf(nThursday, &nYear, &nMonth, &nDay);
    return (int)((nThursday - SerialOf(nYear, 1, 1)) / 7 + 1);
}

long TodaySerial()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return SerialOf(st.wYear, st.wMonth, st.wDay);
}

} // namespace qz
