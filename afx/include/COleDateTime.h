// A point in time as an OLE DATE (days since 30 December 1899; the fraction is the time of day,
// for negative values counted from the start of the day as well, so -1.25 is 29 December 1899
// 06:00) with a status: valid, invalid or null. Valid dates run from 1 January 100 to
// 31 December 9999 in the Gregorian calendar; the parts are rounded to the second.
//
// The layout (DATE at offset 0, status at offset 8, 16 bytes) is fixed: modules exchange
// COleDateTime values, and TimerDateTime-style records mirror it.
#pragma once

#include "COleDateTimeSpan.h"

#include <stddef.h>
#include <time.h>

class CArchive;

// What the Get... functions return for a date that is not valid.
#define AFX_OLE_DATETIME_ERROR (-1)

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1, null = 2 };

    // The local time now (whole seconds).
    static COleDateTime PASCAL GetCurrentTime();

    COleDateTime() : m_dt(0), m_status(valid) {}
    COleDateTime(const VARIANT& varSrc);
    COleDateTime(DATE dtSrc);
    // time_t in local time.
    COleDateTime(time_t timeSrc);
    COleDateTime(const SYSTEMTIME& systimeSrc);
    // A UTC file time, converted to local time.
    COleDateTime(const FILETIME& filetimeSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);

    DATE m_dt;
    DateTimeStatus m_status;

    void SetStatus(DateTimeStatus status) { m_status = status; }
    DateTimeStatus GetStatus() const { return m_status; }

    // FALSE for a date that is not valid.
    BOOL GetAsSystemTime(SYSTEMTIME& sysTime) const;

    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const; // 1 = Sunday ... 7 = Saturday
    int GetDayOfYear() const; // 1 = 1 January

    const COleDateTime& operator=(const VARIANT& varSrc);
    const COleDateTime& operator=(DATE dtSrc);
    const COleDateTime& operator=(const time_t& timeSrc);
    const COleDateTime& operator=(const SYSTEMTIME& systimeSrc);
    const COleDateTime& operator=(const FILETIME& filetimeSrc);

    // Equal: same status and same value. Ordered by the point in time.
    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const;
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const;
    bool operator<=(const COleDateTime& date) const;
    bool operator>=(const COleDateTime& date) const;

    // A null operand gives a null result, else an invalid operand (or a result out of range) an
    // invalid one.
    COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
    const COleDateTime& operator+=(const COleDateTimeSpan dateSpan);
    const COleDateTime& operator-=(const COleDateTimeSpan dateSpan);
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    operator DATE() const { return m_dt; }

    // 0 (valid) when the parts form a valid date and time, else 1 (invalid; the value stays).
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec); // on 30 December 1899

    // Reads a date and/or time as the locale writes it (VarDateFromStr); FALSE and status
    // invalid when the text is no date.
    BOOL ParseDateTime(LPCTSTR lpszDate, DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT);

    // The locale's form (VarBstrFromDate; dwFlags VAR_DATEVALUEONLY, VAR_TIMEVALUEONLY,
    // LOCALE_NOUSEROVERRIDE), or strftime codes. Empty for a null date, a fixed text for an
    // invalid one.
    CString Format(DWORD dwFlags = 0, LCID lcid = LANG_USER_DEFAULT) const;
    CString Format(LPCTSTR lpszFormat) const;
    CString Format(UINT nFormatID) const;

    // Archive form: the status as a 4-byte value, then the DATE as a double.
    friend CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTime& dateSrc);
    friend CArchive& AFXAPI operator>>(CArchive& ar, COleDateTime& dateSrc);

private:
    void CheckRange();
};

static_assert(sizeof(COleDateTime) == 16, "COleDateTime is a DATE and a 4-byte status, 16 bytes");
static_assert(offsetof(COleDateTime, m_dt) == 0 && offsetof(COleDateTime, m_status) == 8,
              "COleDateTime layout is fixed");
