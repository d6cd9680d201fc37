#include "afx.h"
#include "AfxTimeFormat.h"

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_timeSpan = nSecs + 60 * (nMins + 60 * (nHours + 24 * (time_t)lDays));
}

LONG CTimeSpan::GetDays() const { return (LONG)(m_timeSpan / (24 * 3600)); }
LONG CTimeSpan::GetTotalHours() const { return (LONG)(m_timeSpan / 3600); }
int CTimeSpan::GetHours() const { return (int)(GetTotalHours() - GetDays() * 24); }
LONG CTimeSpan::GetTotalMinutes() const { return (LONG)(m_timeSpan / 60); }
int CTimeSpan::GetMinutes() const { return (int)(GetTotalMinutes() - GetTotalHours() * 60); }
LONG CTimeSpan::GetTotalSeconds() const { return (LONG)m_timeSpan; }
int CTimeSpan::GetSeconds() const { return (int)(GetTotalSeconds() - GetTotalMinutes() * 60); }

CString CTimeSpan::Format(LPCTSTR pFormat) const
{
    return AfxFormatTimeSpan(pFormat, GetDays(), GetHours(), GetMinutes(), GetSeconds());
}

CArchive& AFXAPI operator<<(CArchive& ar, CTimeSpan timeSpan) { return ar << (LONG)timeSpan.m_timeSpan; }

CArchive& AFXAPI operator>>(CArchive& ar, CTimeSpan& rtimeSpan)
{
    LONG lSpan = 0;
    ar >> lSpan;
    rtimeSpan.m_timeSpan = lSpan;
    return ar;
}
