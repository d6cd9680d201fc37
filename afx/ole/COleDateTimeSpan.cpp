#include "afxdisp.h"
#include "AfxLibraryText.h"
#include "AfxTimeFormat.h"

#include <math.h>

namespace {
// Longest span whose end points are both dates of the valid range.
const double kMaxDaysInSpan = 3615897.0;
} // namespace

COleDateTimeSpan::COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) { CheckRange(); }

COleDateTimeSpan::COleDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::CheckRange()
{
    if (!(m_span >= -kMaxDaysInSpan && m_span <= kMaxDaysInSpan))
        m_status = invalid;
}

void COleDateTimeSpan::SetDateTimeSpan(long lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + ((double)nHours) / 24 + ((double)nMins) / (24 * 60) + ((double)nSecs) / (24 * 60 * 60);
    m_status = valid;
    CheckRange();
}

const COleDateTimeSpan& COleDateTimeSpan::operator=(double dblSpanSrc)
{
    m_span = dblSpanSrc;
    m_status = valid;
    CheckRange();
    return *this;
}

long long COleDateTimeSpan::TotalSeconds() const { return llround(m_span * 86400.0); }

double COleDateTimeSpan::GetTotalDays() const { return (double)(TotalSeconds() / 86400); }
double COleDateTimeSpan::GetTotalHours() const { return (double)(TotalSeconds() / 3600); }
double COleDateTimeSpan::GetTotalMinutes() const { return (double)(TotalSeconds() / 60); }
double COleDateTimeSpan::GetTotalSeconds() const { return (double)TotalSeconds(); }
long COleDateTimeSpan::GetDays() const { return (long)(TotalSeconds() / 86400); }
long COleDateTimeSpan::GetHours() const { return (long)((TotalSeconds() / 3600) % 24); }
long COleDateTimeSpan::GetMinutes() const { return (long)((TotalSeconds() / 60) % 60); }
long COleDateTimeSpan::GetSeconds() const { return (long)(TotalSeconds() % 60); }

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& dateSpan) const
{
    return m_status == dateSpan.m_status && m_span == dateSpan.m_span;
}
bool COleDateTimeSpan::operator!=(const COleDateTimeSpan& dateSpan) const { return !(*this == dateSpan); }
bool COleDateTimeSpan::operator<(const COleDateTimeSpan& dateSpan) const { return m_span < dateSpan.m_span; }
bool COleDateTimeSpan::operator>(const COleDateTimeSpan& dateSpan) const { return m_span > dateSpan.m_span; }
bool COleDateTimeSpan::operator<=(const COleDateTimeSpan& dateSpan) const { return m_span <= dateSpan.m_span; }
bool COleDateTimeSpan::operator>=(const COleDateTimeSpan& dateSpan) const { return m_span >= dateSpan.m_span; }

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTimeSpan result;
    if (m_status == null || dateSpan.m_status == null)
        result.SetStatus(null);
    else if (m_status == invalid || dateSpan.m_status == invalid)
        result.SetStatus(invalid);
    else {
        result.m_span = m_span + dateSpan.m_span;
        result.CheckRange();
    }
    return result;
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& dateSpan) const { return *this + (-dateSpan); }

const COleDateTimeSpan& COleDateTimeSpan::operator+=(const COleDateTimeSpan dateSpan)
{
    *this = *this + dateSpan;
    return *this;
}

const COleDateTimeSpan& COleDateTimeSpan::operator-=(const COleDateTimeSpan dateSpan)
{
    *this = *this - dateSpan;
    return *this;
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(*this);
    result.m_span = -m_span;
    return result;
}

CString COleDateTimeSpan::Format(LPCTSTR pFormat) const
{
    if (m_status == null)
        return CString();
    if (m_status == invalid)
        return AfxGetLibraryText(AFX_TEXT_INVALID_DATETIMESPAN);
    return AfxFormatTimeSpan(pFormat, GetDays(), (int)GetHours(), (int)GetMinutes(), (int)GetSeconds());
}

CString COleDateTimeSpan::Format(UINT nFormatID) const
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    return Format(strFormat);
}

CArchive& AFXAPI operator<<(CArchive& ar, const COleDateTimeSpan& dateSpanSrc)
{
    ar << (LONG)dateSpanSrc.m_status;
    return ar << dateSpanSrc.m_span;
}

CArchive& AFXAPI operator>>(CArchive& ar, COleDateTimeSpan& dateSpanSrc)
{
    LONG lStatus = 0;
    ar >> lStatus;
    ar >> dateSpanSrc.m_span;
    // A status outside the three known ones cannot be trusted: the span is invalid.
    dateSpanSrc.m_status = (lStatus >= COleDateTimeSpan::valid && lStatus <= COleDateTimeSpan::null)
                               ? (COleDateTimeSpan::DateTimeSpanStatus)lStatus
                               : COleDateTimeSpan::invalid;
    return ar;
}
