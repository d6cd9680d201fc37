// Reads dates "year month day" from standard input, one a line, and writes for each the day
// number and weekday that Date computes, then the date and weekday that Date computes back from
// that day number: "dayNumber weekday year month day weekday". Used by DateCalendarTest.py.
#include <cstdio>

#include "Date.h"

int main()
{
    int year, month, day;
    while (std::scanf("%d %d %d", &year, &month, &day) == 3) {
        Date forward;
        forward.ToDayNumber(year, month, day);
        Date back;
        back.FromDayNumber(forward.GetDayNumber());
        std::printf("%d %d %d %d %d %d\n", forward.GetDayNumber(), forward.GetWeekday(), back.GetYear(),
                    back.GetMonth(), back.GetDay(), back.GetWeekday());
    }
    return 0;
}
