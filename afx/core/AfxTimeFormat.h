// Formatting of date and time values with the conversion codes of the Windows C run time's
// strftime (%a %A %b %B %c %d %H %I %j %m %M %p %S %U %w %W %x %X %y %Y %z %Z %% and the '#'
// flag), shared by CTime and COleDateTime, and of time spans (%D %H %M %S %%), shared by
// CTimeSpan and COleDateTimeSpan. Names and the %c/%x/%X pictures come from the user locale
// (GetLocaleInfo), so the output follows the locale whatever the C run time's locale is.
#pragma once

#include "CString.h"

struct AFX_TIME_PARTS {
    int nYear;       // full year
    int nMonth;      // 1 to 12
    int nDay;        // 1 to 31
    int nHour;       // 0 to 23
    int nMinute;     // 0 to 59
    int nSecond;     // 0 to 59
    int nDayOfWeek;  // 0 Sunday to 6 Saturday
    int nDayOfYear;  // 1 to 366
    int nIsDst;      // > 0 daylight saving time, 0 standard time, < 0 unknown
};

CString AFXAPI AfxFormatTimeParts(const AFX_TIME_PARTS& parts, LPCTSTR lpszFormat);

// lTotalDays is the whole span in days; nHours, nMinutes and nSeconds the rest of the last day.
CString AFXAPI AfxFormatTimeSpan(LPCTSTR lpszFormat, LONG lTotalDays, int nHours, int nMinutes, int nSeconds);
