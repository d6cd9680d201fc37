// A calendar date held as a day number (the Julian day number minus 1, so 2000-01-01 is
// 2,451,544) with its day, month, year and weekday.
//
// Dates before 1582-10-15 are dates of the Julian calendar, later ones of the Gregorian
// calendar. The weekday counts from the first weekday (1 = Sunday by default): with first
// weekday 1, Sunday is 1 and Saturday 7.
#pragma once

class Date {
public:
    // Day number 0, year, month, day and weekday 0, first weekday 1.
    Date();
    Date(const Date& other);
    // "TODAY" (any case), a signed number of days from today ("+30", "-1"), or up to three
    // numbers in the user's locale date order; missing parts come from today, two-digit years
    // 0..29 are 2000..2029 and 30..99 are 1930..1999.
    explicit Date(const char* text);
    virtual ~Date();
    Date& operator=(const Date& other) = default;

    int GetDay() const { return m_day; }
    int GetMonth() const { return m_month; }
    int GetYear() const { return m_year; }
    int GetDayNumber() const { return m_dayNumber; }
    int GetWeekday() const { return m_weekday; }

    void SetToday();
    // Sets year, month and day (months outside 1..12 move whole years) and computes the day
    // number and weekday.
    void ToDayNumber(int year, int month, int day);
    // Sets the day number and computes day, month, year and weekday.
    void FromDayNumber(int dayNumber);
    void UpdateWeekday();

private:
    int m_dayNumber = 0;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_weekday = 0;
    int m_firstWeekday = 1;
};
