// Day serials (days since 1 January 1900) and calendar arithmetic shared by the qz controls.
#pragma once

namespace qz {

const long kFirstYear = 1900;
const long kLastYear = 9999;

bool IsLeapYear(long nYear);
// Days of a month (1..12); 0 for a month outside.
int DaysInMonth(long nYear, int nMonth);
bool IsValidDate(long nYear, int nMonth, int nDay);
// Serial of a valid date (no check).
long SerialOf(long nYear, int nMonth, int nDay);
// The date of a serial (any serial from 0).
void DateOf(long nSerial, long* pYear, int* pMonth, int* pDay);
// 0 = Monday ... 6 = Sunday.
int WeekdayOf(long nSerial);
// ISO 8601 week number of the week holding the day.
int IsoWeekOf(long nSerial);
// The system's date as a serial.
long TodaySerial();

} // namespace qz
