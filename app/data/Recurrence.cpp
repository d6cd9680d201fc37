#include "Recurrence.h"

#include "CDataSerienTermin.h"
#include "CDateValue.h"

namespace {

const long kFirstDay = 0; // 1900-01-01
const int kDaysPerWeek = 7;
const int kMonday = 2;
const int kFriday = 6;
const int kLastInstance = 5;
const int kDefaultEndYears = 10;

long DaySerial(int nYear, int nMonth, int nDay)
{
    CDateValue date;
    date.SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
    return date.GetDaySerial();
}

long LastDay()
{
    static const long s_nLast = DaySerial(2099, 12, 31);
    return s_nLast;
}

// Weekday of a day serial as COleDateTime numbers it (1 Sunday ... 7 Saturday); 1900-01-01 was a
// Monday.
int Weekday(long nDay) { return (int)(((nDay % kDaysPerWeek) + kDaysPerWeek + 1) % kDaysPerWeek) + 1; }

struct YearMonth {
    int nYear;
    int nMonth;

    void AddMonths(int nCount)
    {
        const int nIndex = nYear * 12 + (nMonth - 1) + nCount;
        nYear = nIndex / 12;
        nMonth = nIndex % 12 + 1;
    }
    int DaysInMonth() const { return CDateValue::DaysInMonth(nMonth, nYear); }
    // Day D of the month, or its last day when the month is shorter.
    long ClampedDay(int nDay) const { return DaySerial(nYear, nMonth, nDay < DaysInMonth() ? nDay : DaysInMonth()); }
    // The Nth (1 to 4) or last (5) day of the month on the weekday.
    long NthWeekday(int n, int nWeekday) const
    {
        if (n == kLastInstance) {
            const long nLast = DaySerial(nYear, nMonth, DaysInMonth());
            return nLast - (Weekday(nLast) - nWeekday + kDaysPerWeek) % kDaysPerWeek;
        }
        const long nFirst = DaySerial(nYear, nMonth, 1);
        return nFirst + (nWeekday - Weekday(nFirst) + kDaysPerWeek) % kDaysPerWeek + kDaysPerWeek * (n - 1);
    }
};

YearMonth MonthOf(long nDay)
{
    CDateValue date;
    date.SetDaySerial(nDay);
    return YearMonth{date.GetYear(), date.GetMonth()};
}

class CExpansion {
public:
    CExpansion(CList<DWORD, DWORD>& days, long nStart, long nEnd) : m_days(days), m_nStart(nStart), m_nEnd(nEnd) {}

    void Add(long nDay)
    {
        m_days.AddTail((DWORD)nDay);
        if (nDay < m_nFirst)
            m_nFirst = nDay;
    }

    void Daily(int nInterval)
    {
        Add(m_nStart);
        if (nInterval < 1)
            return;
        for (long nDay = m_nStart + nInterval; nDay <= m_nEnd; nDay += nInterval)
            Add(nDay);
    }

    void WorkingDays()
    {
        if (Weekday(m_nStart) >= kMonday && Weekday(m_nStart) <= kFriday)
            Add(m_nStart);
        for (int nWeekday = kMonday; nWeekday <= kFriday; ++nWeekday) {
            // The first such day after the start, then every week.
            long nDay = m_nStart + 1 + (nWeekday - Weekday(m_nStart + 1) + kDaysPerWeek) % kDaysPerWeek;
            for (; nDay <= m_nEnd; nDay += kDaysPerWeek)
                Add(nDay);
        }
    }

    void Weekly(const BOOL bWeekdays[7], int nInterval)
    {
        for (int nWeekday = 1; nWeekday <= kDaysPerWeek; ++nWeekday) {
            if (!bWeekdays[nWeekday - 1])
                continue;
            long nDay = m_nStart + (nWeekday - Weekday(m_nStart) + kDaysPerWeek) % kDaysPerWeek;
            Add(nDay);
            if (nInterval < 1)
                continue;
            for (nDay += kDaysPerWeek * nInterval; nDay <= m_nEnd; nDay += kDaysPerWeek * nInterval)
                Add(nDay);
        }
    }

    void MonthlyByDay(int nDayOfMonth, int nInterval)
    {
        // A start after day D of its month begins on the next day D there is: a month that has no
        // day D is passed over (day 30 from 31 January is 30 March). A start on or before day D
        // of a month that has none begins on that month's last day.
        YearMonth month = MonthOf(m_nStart);
        long nDay = month.ClampedDay(nDayOfMonth);
        if (nDay < m_nStart) {
            do
                month.AddMonths(1);
            while (month.DaysInMonth() < nDayOfMonth);
            nDay = month.ClampedDay(nDayOfMonth);
        }
        Add(nDay);
        if (nInterval < 1)
            return;
        while (nDay <= m_nEnd) {
            month.AddMonths(nInterval);
            nDay = month.ClampedDay(nDayOfMonth);
            if (nDay <= m_nEnd)
                Add(nDay);
        }
    }

    void MonthlyByWeekday(int n, int nWeekday, int nInterval)
    {
        // An interval below 1 looks month by month for the first occurrence only.
        const int nStep = nInterval < 1 ? 1 : nInterval;
        YearMonth month = MonthOf(m_nStart);
        long nDay = month.NthWeekday(n, nWeekday);
        if (nDay >= m_nStart) {
            Add(nDay);
            if (nInterval < 1)
                return;
        }
        while (nDay <= m_nEnd) {
            month.AddMonths(nStep);
            nDay = month.NthWeekday(n, nWeekday);
            if (nDay <= m_nEnd) {
                Add(nDay);
                if (nInterval < 1)
                    return;
            }
        }
    }

    template <class DAY_OF_YEAR> void Yearly(int nMonth, DAY_OF_YEAR dayIn)
    {
        YearMonth month{MonthOf(m_nStart).nYear, nMonth};
        long nDay = dayIn(month);
        if (nDay >= m_nStart)
            Add(nDay);
        while (nDay <= m_nEnd) {
            month.AddMonths(12);
            nDay = dayIn(month);
            if (nDay <= m_nEnd)
                Add(nDay);
        }
    }

    // On day D of the month every year, a year added to the date each time: a day cut to the
    // month's length stays cut (29 February is 28 February in every year after a common year).
    void YearlyByDate(int nMonth, int nDayOfMonth)
    {
        int nCarried = nDayOfMonth;
        Yearly(nMonth, [&nCarried](const YearMonth& month) {
            nCarried = nCarried < month.DaysInMonth() ? nCarried : month.DaysInMonth();
            return DaySerial(month.nYear, month.nMonth, nCarried);
        });
    }

    long First() const { return m_nFirst; }

private:
    CList<DWORD, DWORD>& m_days;
    long m_nStart;
    long m_nEnd;
    long m_nFirst = NoOccurrenceDay();
};

bool InRange(int nValue, int nLow, int nHigh) { return nValue >= nLow && nValue <= nHigh; }

} // namespace

long NoOccurrenceDay()
{
    static const long s_nNone = DaySerial(2199, 12, 31);
    return s_nNone;
}

int ExpandRecurrence(const CDataSerienTermin& pattern, CList<DWORD, DWORD>& days, long& nFirst)
{
    days.RemoveAll();
    nFirst = NoOccurrenceDay();
    if (pattern.m_nType < CDataSerienTermin::daily || pattern.m_nType > CDataSerienTermin::yearly)
        return 0;

    long nStart = pattern.m_nPatternStart;
    long nEnd;
    if (pattern.m_bNoEnd)
        nEnd = LastDay();
    else if (pattern.m_bDefaultEnd) {
        // Ten years after the start as stored (a start before 1900 may end before 1900, too).
        static const long s_nOldest = DaySerial(100, 1, 1);
        CDateValue end;
        end.SetDaySerial(nStart < s_nOldest ? s_nOldest : (nStart > LastDay() ? LastDay() : nStart));
        end.AddYears(kDefaultEndYears);
        nEnd = end.GetDaySerial();
    } else
        nEnd = pattern.m_nPatternEnd;
    if (nStart < kFirstDay)
        nStart = kFirstDay;
    if (nEnd > LastDay())
        nEnd = LastDay();
    if (nStart > LastDay())
        return 1;

    // The stored intervals and numbers are 16-bit signed values.
    const int nDayOfMonth = (short)pattern.m_nDayOfMonth;
    const int nInstance = (short)pattern.m_nInstance;
    const int nWeekday = (short)pattern.m_nWeekday;
    const int nMonth = (short)pattern.m_nMonth;
    CExpansion expansion(days, nStart, nEnd);
    switch (pattern.m_nType) {
    case CDataSerienTermin::daily:
        if (pattern.m_bEveryWorkday)
            expansion.WorkingDays();
        else
            expansion.Daily((short)pattern.m_nDailyInterval);
        break;
    case CDataSerienTermin::weekly:
        expansion.Weekly(pattern.m_bWeekdays, (short)pattern.m_nWeeklyInterval);
        break;
    case CDataSerienTermin::monthly:
        if (pattern.m_bMonthlyByDay) {
            if (InRange(nDayOfMonth, 1, 31))
                expansion.MonthlyByDay(nDayOfMonth, (short)pattern.m_nMonthlyInterval);
        } else if (InRange(nInstance, 1, kLastInstance) && InRange(nWeekday, 1, kDaysPerWeek))
            expansion.MonthlyByWeekday(nInstance, nWeekday, (short)pattern.m_nMonthlyInterval);
        break;
    case CDataSerienTermin::yearly:
        if (!InRange(nMonth, 1, 12))
            break;
        if (pattern.m_bYearlyByDate) {
            if (InRange(nDayOfMonth, 1, 31))
                expansion.YearlyByDate(nMonth, nDayOfMonth);
        } else if (InRange(nInstance, 1, kLastInstance) && InRange(nWeekday, 1, kDaysPerWeek))
            expansion.Yearly(nMonth, [nInstance, nWeekday](const YearMonth& month) {
                return month.NthWeekday(nInstance, nWeekday);
            });
        break;
    }
    nFirst = expansion.First();
    return 1;
}

int GetFirstOccurrence(const CDataSerienTermin& pattern, long& nFirst)
{
    CList<DWORD, DWORD> days(100);
    return ExpandRecurrence(pattern, days, nFirst);
}
