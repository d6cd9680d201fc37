// Dates for the timer tests: building them and showing them as "yyyy-mm-dd hh:mm:ss" (status
// other than valid shown as "invalid" or "null"), so failures print readable values.
#pragma once

#include <afxdisp.h>

#include <string>

namespace timertest {

inline COleDateTime At(int nYear, int nMonth, int nDay, int nHour = 0, int nMin = 0, int nSec = 0)
{
    return COleDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

inline COleDateTime NullDate()
{
    COleDateTime date;
    date.SetStatus(COleDateTime::null);
    return date;
}

inline std::string Show(const COleDateTime& date)
{
    if (date.GetStatus() == COleDateTime::null)
        return "null";
    if (date.GetStatus() == COleDateTime::invalid)
        return "invalid";
    return (LPCTSTR)date.Format("%Y-%m-%d %H:%M:%S");
}

} // namespace timertest
