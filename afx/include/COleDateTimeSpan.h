// A span between two COleDateTime values in days (fractions are the time of day), with a status:
// valid, invalid (out of range, or made from an invalid operand) or null.
#pragma once

#include "CString.h"

class CArchive;

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() : m_span(0), m_status(valid) {}
    COleDateTimeSpan(double dblSpanSrc);
    COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    double m_span;
    DateTimeSpanStatus m_status;

    void SetStatus(DateTimeSpanStatus status) { m_status = status; }
    DateTimeSpanStatus GetStatus() const { return m_status; }

    // Whole units of the span (rounded to the second, truncated toward zero): 3 days 1 hour
    // 5 minutes 12 seconds give 3, 73, 4385 and 263112.
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;
    // The parts: days, then hours, minutes and seconds of the last day (negative for a
    // negative span).
    long GetDays() const;
    long GetHours() const;
    long GetMinutes() const;
    long GetSeconds() const;

    operator double() const { return m_span; }
    const COleDateTimeSpan& operator=(double dblSpanSrc);

    bool operator==(const COleDateTimeSpan& dateSpan) const;
    bool operator!=(const COleDateTimeSpan& dateSpan) const;
    bool operator<(const COleDateTimeSpan& dateSpan) const;
    bool operator>(const COleDateTimeSpan& dateSpan) const;
    bool operator<=(const COleDateTimeSpan& dateSpan) const;
    bool operator>=(const COleDateTimeSpan& dateSpan) const;

    // A null operand gives a null result, else an invalid operand an invalid result.
    COleDateTimeSpan operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& dateSpan) const;
    const COleDateTimeSpan& operator+=(const COleDateTimeSpan dateSpan);
    const COleDateTimeSpan& operator-=(const COleDateTimeSpan dateSpan);
    COleDateTimeSpan operator-() const;

    void SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs);

    // %D total days, %H hours, %M minutes, %S seconds, %% a percent sign; empty when null.
    CString Format(LPCTSTR pFormat) const;
    CString Format(UINT nID) const;

    // Archive form: the status as a 4-byte value, then the span as a double.
    friend CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTimeSpan& dateSpanSrc);
    friend CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc);

private:
    void CheckRange();
    long long TotalSeconds() const;
};
