// Day serials (days since 1900-01-01) from and to "YYYY-MM-DD", for the tests of the recurrence
// expansion, the day index and the data controller.
#pragma once

#include <stdio.h>

#include <string>

#include "CDateValue.h"

namespace datatest {

inline long Day(const char* pszDate)
{
    int y = 0, m = 0, d = 0;
    sscanf(pszDate, "%d-%d-%d", &y, &m, &d);
    CDateValue date;
    date.SetDateTime(y, m, d, 0, 0, 0);
    return date.GetDaySerial();
}

inline std::string DayText(long nDay)
{
    CDateValue date;
    date.SetDaySerial(nDay);
    char szText[16];
    snprintf(szText, sizeof szText, "%04d-%02d-%02d", date.GetYear(), date.GetMonth(), date.GetDay());
    return szText;
}

} // namespace datatest
