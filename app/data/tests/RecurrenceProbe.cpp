// Expansions of series patterns, for RecurrenceInteropTest.py. Reads one pattern per line from
// standard input:
//   <name> <type> <start> <end> <no end> <default end> <daily interval> <every working day>
//   <weekly interval> <weekday flags, 7 characters from Sunday> <monthly by day>
//   <monthly interval> <day of month> <instance> <weekday> <yearly by date> <month>
// with dates as yyyy-mm-dd and the flags as 0 or 1. Writes one line per pattern: the name, the
// result of the expansion, the first occurrence and the days in list order, as yyyy-mm-dd.
#include <stdio.h>
#include <string.h>

#include <string>

#include "CDataSerienTermin.h"
#include "DaySerials.h"
#include "Recurrence.h"

int main()
{
    char szLine[512];
    while (fgets(szLine, sizeof szLine, stdin) != NULL) {
        char szName[64], szStart[16], szEnd[16], szDays[16];
        int nType, bNoEnd, bDefaultEnd, nDaily, bWorkdays, nWeekly, bByDay, nMonthly, nDay, nInstance, nWeekday,
            bByDate, nMonth;
        if (sscanf(szLine, "%63s %d %15s %15s %d %d %d %d %d %15s %d %d %d %d %d %d %d", szName, &nType, szStart, szEnd,
                   &bNoEnd, &bDefaultEnd, &nDaily, &bWorkdays, &nWeekly, szDays, &bByDay, &nMonthly, &nDay, &nInstance,
                   &nWeekday, &bByDate, &nMonth) != 17 ||
            strlen(szDays) != 7) {
            fprintf(stderr, "bad line: %s", szLine);
            return 2;
        }
        CDataSerienTermin p;
        p.m_nType = nType;
        p.m_nPatternStart = datatest::Day(szStart);
        p.m_nPatternEnd = datatest::Day(szEnd);
        p.m_bNoEnd = bNoEnd;
        p.m_bDefaultEnd = bDefaultEnd;
        p.m_nDailyInterval = (WORD)nDaily;
        p.m_bEveryWorkday = bWorkdays;
        p.m_nWeeklyInterval = (WORD)nWeekly;
        for (int i = 0; i < 7; ++i)
            p.m_bWeekdays[i] = szDays[i] == '1';
        p.m_bMonthlyByDay = bByDay;
        p.m_nMonthlyInterval = (WORD)nMonthly;
        p.m_nDayOfMonth = (WORD)nDay;
        p.m_nInstance = (WORD)nInstance;
        p.m_nWeekday = (WORD)nWeekday;
        p.m_bYearlyByDate = bByDate;
        p.m_nMonth = (WORD)nMonth;

        CList<DWORD, DWORD> days(100);
        long nFirst = 0;
        const int nResult = ExpandRecurrence(p, days, nFirst);
        std::string line = std::string(szName) + " " + std::to_string(nResult) + " " + datatest::DayText(nFirst);
        for (POSITION pos = days.GetHeadPosition(); pos != NULL;)
            line += " " + datatest::DayText((long)days.GetNext(pos));
        fputs(line.c_str(), stdout);
        fputc('\n', stdout);
    }
    return 0;
}
