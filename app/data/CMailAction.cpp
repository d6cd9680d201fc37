#include "CMailAction.h"

#include "CDataAppointment.h"
#include "CDateValue.h"
#include "CMapiSession.h"
#include "DataStrings.h"
#include "RtfToText.h"

CMailAction::CMailAction(CLinkedApplication* pApplication)
    : CLinkedAction("OXMAIL", IDS_MAIL_TITLE, 504, IDS_MAIL_LABEL, 0, 0, pApplication)
{
}

CString CMailAction::MailSubject(const CDataAppointment& entry)
{
    // The day: a series' next occurrence (now when it has none) plus the lead time, a single
    // entry's day.
    CDateValue day;
    if (entry.m_bSeries) {
        day = entry.m_dtNextOccurrence.GetStatus() == COleDateTime::valid ? entry.m_dtNextOccurrence
                                                                           : COleDateTime::GetCurrentTime();
        day += COleDateTimeSpan(0, 0, entry.m_nRemindSpan, 0);
    } else {
        day.SetDaySerial(entry.m_pattern.m_nPatternStart);
    }
    const CString strDay = day.Format((UINT)IDS_MAIL_DATE_FORMAT);
    const CString strStart = CDateValue(entry.m_pattern.m_nPatternStart, entry.m_pattern.m_nStartTime).Format((UINT)IDS_TIME_FORMAT);
    const CString strEnd = CDateValue(entry.m_pattern.m_nPatternStart, entry.m_pattern.m_nEndTime).Format((UINT)IDS_TIME_FORMAT);

    CString strSubject;
    strSubject.Format(IDS_MAIL_SUBJECT, (LPCTSTR)strDay, (LPCTSTR)strStart, (LPCTSTR)strEnd);
    strSubject += "; " + entry.m_strSubject + "; " + entry.m_strPlace + "; " + entry.m_strParticipants;
    return strSubject.Left(kMaxSubject);
}

CString CMailAction::MailBody(const CDataAppointment& entry)
{
    CString strBody;
    if (!RtfToText(entry.m_strNotes, strBody))
        strBody = entry.m_strNotes;
    return strBody;
}

int CMailAction::Execute(HWND /*hOwner*/, CLinkedApplication* /*pApplication*/, const CDataAppointment& entry)
{
    CMapiSession session;
    session.Logon();

    CMailMessage message;
    message.m_strRecipient = entry.m_action.m_strParameter;
    message.m_strSubject = MailSubject(entry);
    message.m_strBody = MailBody(entry);
    int nResult = session.SendMail(message);
    session.Logoff();
    // Success only when the mail went out: a missing library, a failed logon or a refusal of the
    // mail system is no notification sent.
    return nResult == 0 ? 1 : 0;
}
