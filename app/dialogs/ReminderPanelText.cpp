#include "ReminderPanelText.h"

#include "CDataAppointment.h"
#include "CDateValue.h"
#include "DataStrings.h"
#include "Recurrence.h"
#include "ReminderResource.h"

namespace {

CString LoadText(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return str;
}

// A line of the panel from its format, empty for an empty field.
CString FieldLine(UINT nFormat, const CString& strValue)
{
    CString strLine;
    if (!strValue.IsEmpty())
        strLine.Format(LoadText(nFormat), (LPCTSTR)strValue);
    return strLine;
}

CString FormatMinute(long nDay, int nMinute)
{
    return CDateValue(nDay, nMinute < 0 ? 0 : nMinute).Format((UINT)IDS_TIME_FORMAT);
}

} // namespace

long GetReminderPanelDay(const CDataAppointment& entry)
{
    if (entry.m_bTodo)
        return entry.m_pattern.m_nPatternEnd;
    if (!entry.m_bSeries)
        return entry.m_pattern.m_nPatternStart;
    if (entry.m_dtNextOccurrence.GetStatus() == COleDateTime::valid) {
        const COleDateTime due = entry.m_dtNextOccurrence + COleDateTimeSpan(0, 0, entry.m_nRemindSpan, 0);
        return CDateValue(due).GetDaySerial();
    }
    CDataSerienTermin pattern = entry.m_pattern;
    CDateValue limit(COleDateTime::GetCurrentTime());
    limit.AddYears(2);
    pattern.m_nPatternEnd = limit.GetDaySerial();
    pattern.m_bNoEnd = FALSE;
    pattern.m_bDefaultEnd = FALSE;
    long nFirst = NoOccurrenceDay();
    if (!GetFirstOccurrence(pattern, nFirst) || nFirst == NoOccurrenceDay())
        return entry.m_pattern.m_nPatternStart;
    return nFirst;
}

CString BuildReminderPanelText(const CDataAppointment& entry)
{
    const long nDay = GetReminderPanelDay(entry);
    const CString strDay = CDateValue(nDay, 0).Format((UINT)IDS_MAIL_DATE_FORMAT);
    CString strDate;
    if (entry.m_bTodo)
        strDate.Format(LoadText(IDS_PANEL_TODO_DATE_LINE), (LPCTSTR)strDay,
                       (LPCTSTR)FormatMinute(nDay, entry.m_pattern.m_nStartTime));
    else
        strDate.Format(LoadText(IDS_PANEL_DATE_LINE), (LPCTSTR)strDay,
                       (LPCTSTR)FormatMinute(nDay, entry.m_pattern.m_nStartTime),
                       (LPCTSTR)FormatMinute(nDay, entry.m_pattern.m_nEndTime));
    CString strPanel;
    strPanel.Format(LoadText(entry.m_bTodo ? IDS_PANEL_TODO : IDS_PANEL_APPOINTMENT),
                    entry.m_bPrivate ? "IDB_PRIV_I" : "", entry.m_bSeries ? "IDB_REPEAT_I" : "", (LPCTSTR)strDate,
                    (LPCTSTR)FieldLine(IDS_PANEL_WITH_LINE, entry.m_strParticipants),
                    (LPCTSTR)FieldLine(IDS_PANEL_PLACE_LINE, entry.m_strPlace), (LPCTSTR)entry.m_strSubject);
    return strPanel;
}
