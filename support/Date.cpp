#include "Date.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>

#include "TextHelpers.h"

Date::Date() {}

Date::Date(const Date& other) = default;

Date::~Date() {}

Date::Date(const char* text)
{
    if (!text)
        text = "";
    if (StrCompareAsciiNoCase(text, "TODAY") == 0) {
        SetToday();
        return;
    }
    if (*text == '+' || *text == '-') {
        SetToday();
        FromDayNumber(m_dayNumber + atoi(text));
        return;
    }

    SetToday();
    char order[2] = {0};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDATE, order, sizeof order);
    if (!*text) {
        ToDayNumber(0, 0, 0);
        return;
    }

    // Up to three signed decimal numbers; other characters separate them.
    int numbers[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    bool nonZero = false;
    const char* p = text;
    while (count < 3 && *p) {
        while (*p && !(*p >= '0' && *p <= '9') && *p != '+' && *p != '-')
            ++p;
        if (!*p)
            break;
        bool negative = false;
        if (*p == '+' || *p == '-') {
            negative = *p == '-';
            ++p;
        }
        long long value = 0;
        int n = 0;
        while (*p >= '0' && *p <= '9') {
            if (value < 100000000)
                value = value * 10 + (*p - '0');
            ++p;
            ++n;
        }
        numbers[count] = (int)(negative ? -value : value);
        digits[count] = n;
        nonZero = nonZero || numbers[count] != 0;
        ++count;
    }
    if (!nonZero) {
        ToDayNumber(0, 0, 0);
        return;
    }

    // Positions of day, month and year in the text by the locale's order.
    int dayAt, monthAt, yearAt;
    if (order[0] == '0') {
        monthAt = 0, dayAt = 1, yearAt = 2;
    } else if (order[0] == '1') {
        dayAt = 0, monthAt = 1, yearAt = 2;
    } else {
        yearAt = 0, monthAt = 1, dayAt = 2;
    }
    int year = yearAt < count ? numbers[yearAt] : m_year;
    int month = monthAt < count ? numbers[monthAt] : m_month;
    int day = dayAt < count ? numbers[dayAt] : m_day;
    if (yearAt < count && digits[yearAt] < 3 && year >= 0 && year <= 99)
        year += year < 30 ? 2000 : 1900;
    ToDayNumber(year, month, day);
}

void Date::SetToday()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    ToDayNumber(now.wYear, now.wMonth, now.wDay);
}

void Date::ToDayNumber(int year, int month, int day)
{
    while (month > 12) {
        month -= 12;
        ++year;
    }
    while (month < 1) {
        month += 12;
        --year;
    }
    m_year = year;
    m_month = month;
    m_day = day;

    // There is no year 0: the year before 1 is -1.
    int y = year <= 0 ? year + 1 : year;
    int m = month;
    if (m <= 2) {
        m += 12;
        y -= 1;
    }
    int b = 0;
    // From the Gregorian reform on (1582-10-15).
    if ((long long)y * 10000 + m * 100 + day >= 15821015) {
        int a = y / 100;
        b = 2 - a + a / 4;
    }
    m_dayNumber = (int)std::trunc(365.25 * y) + (int)std::trunc(30.6001 * (m + 1)) + day + 1720994 + b;
    UpdateWeekday();
}

void Date::FromDayNumber(int dayNumber)
{
    m_dayNumber = dayNumber;
    long long z = (long long)dayNumber + 1;
    long long a = z;
    if (z >= 2299161) {
        long long alpha = (long long)std::trunc((z - 1867216.25) / 36524.25);
        a = z + 1 + alpha - alpha / 4;
    }
    long long b = a > 1721423 ? a + 1524 : a + 1158;
    long long c = (long long)std::trunc((b - 122.1) / 365.25);
    long long d = (long long)std::trunc(365.25 * c);
    long long e = (long long)std::trunc((b - d) / 30.6001);
    m_day = (int)(b - d - (long long)std::trunc(30.6001 * e));
    m_month = (int)(e < 13.5 ? e - 1 : e - 13);
    m_year = (int)(m_month > 2.5 ? c - 4716 : c - 4715);
    UpdateWeekday();
}

void Date::UpdateWeekday()
{
    m_weekday = (int)(((unsigned)(m_dayNumber + 3 - m_firstWeekday)) % 7u) + 1;
}
