#include "CTerminRecordBuffer.h"

#include <afxdisp.h>
#include <stdlib.h>

#include "CDataAppointment.h"
#include "CDateValue.h"

namespace {

// The date format of the table's date fields as the buffer holds them.
const char kDateFormat[] = "%d.%m.%Y";
// The field lengths passed to the image texts (not applied).
const int kTerminLength = 180;
const int kActionLength = 64000;

// A creation or change date: empty is no date (null), otherwise the date of the text, which may be
// invalid.
COleDateTime StampDate(const CString& strText)
{
    COleDateTime dt;
    if (strText.IsEmpty())
        dt.SetStatus(COleDateTime::null);
    else
        dt = CDateValue(CDateValue::kDayMonthYear4, strText);
    return dt;
}

CString DateText(const COleDateTime& dt) { return dt.Format(kDateFormat); }

CString Number(LPCTSTR lpszFormat, long nValue)
{
    CString strText;
    strText.Format(lpszFormat, nValue);
    return strText;
}

} // namespace

CTerminRecordBuffer::CTerminRecordBuffer(CDbTable* pTable) : CDbRecordBuffer(pTable) {}

CTerminRecordBuffer::~CTerminRecordBuffer() {}

void CTerminRecordBuffer::StampChange(LPCTSTR lpszUser)
{
    SetFieldValue("L_USER", lpszUser);
    SetFieldValue("L_DAT", COleDateTime::GetCurrentTime().Format(kDateFormat));
}

void CTerminRecordBuffer::GetAppointment(CDataAppointment& a)
{
    a.m_strRecordId = FieldValue("RECORDID");
    a.m_strSubject = FieldValue("BETREFF");
    a.m_strParticipants = FieldValue("WITH");
    a.m_strPlace = FieldValue("ORT");
    a.m_strNotes = FieldValue("NOTIZEN");
    a.m_bSeries = FieldValue("SERIE") == "1";
    a.m_bPrivate = FieldValue("PRIVAT") == "1";
    a.m_bRemind = FieldValue("REMIND") == "1";
    a.m_bTodo = FieldValue("TYPE") == "TD";
    a.m_strPriority = FieldValue("PRIO");
    a.m_nPercentDone = atol(FieldValue("PERCDONE"));
    a.m_strTodoState = FieldValue("TODOSTAT");
    a.m_pattern.FromText(FieldValue("TERMIN"));
    a.m_nRemindSpan = atol(FieldValue("T_REMSPAN"));
    a.m_strAppId = FieldValue("APP_ID");
    a.m_strDbPath = FieldValue("DB_PATH");
    a.m_nDbRecId = atol(FieldValue("DB_RECID"));
    const CString& strAction = FieldValue("APP_DAT1");
    if (!strAction.IsEmpty())
        a.m_action.FromText(strAction);
    a.m_strUser = FieldValue("USER");
    a.m_strChangedBy = FieldValue("L_USER");
    a.m_strCreatedBy = FieldValue("ERF_USER");
    a.m_dtChanged = StampDate(FieldValue("L_DAT"));
    a.m_dtCreated = StampDate(FieldValue("ERF_DAT"));
    const CString& strNext = FieldValue("D_NEXT_OC");
    if (!strNext.IsEmpty()) {
        a.m_dtNextOccurrence = CDateValue(CDateValue::kDayMonthYear4, strNext);
        if (a.m_dtNextOccurrence.GetStatus() != COleDateTime::valid) {
            a.m_dtNextOccurrence = COleDateTime::GetCurrentTime();
            a.m_dtNextOccurrence.SetStatus(COleDateTime::null);
        }
    }
    a.m_strMovedRecordId = FieldValue("MOVERECID");
    if (a.m_strMovedRecordId == "0")
        a.m_strMovedRecordId.Empty();
    a.m_strStatus = FieldValue("STATUS");
    // What the record was read as: a later save without a dialog writes back only what changed.
    a.m_pAsRead.reset();
    a.m_pAsRead = std::make_shared<const CDataAppointment>(a);
}

void CTerminRecordBuffer::PutAppointment(CDataAppointment& a)
{
    static const char* const kSeriesTypes[] = {"AD", "AW", "AM", "AY"};

    SetFieldValue("BETREFF", a.m_strSubject);
    SetFieldValue("WITH", a.m_strParticipants);
    SetFieldValue("ORT", a.m_strPlace);
    SetFieldValue("NOTIZEN", a.m_strNotes);
    SetFieldValue("SERIE", a.m_bSeries ? "1" : "");
    SetFieldValue("PRIVAT", a.m_bPrivate ? "1" : "");
    SetFieldValue("REMIND", a.m_bRemind ? "1" : "");
    if (a.m_bTodo) {
        SetFieldValue("TYPE", "TD");
        SetFieldValue("PRIO", a.m_strPriority);
        SetFieldValue("PERCDONE", Number("%03ld", a.m_nPercentDone));
        SetFieldValue("TODOSTAT", a.m_strTodoState);
    } else {
        LONG nType = a.m_pattern.m_nType;
        if (nType >= 0 && nType <= 3)
            SetFieldValue("TYPE", kSeriesTypes[nType]);
        if (!a.m_bSeries)
            SetFieldValue("TYPE", "AF");
    }

    CString strText;
    a.m_pattern.ToText(strText, kTerminLength);
    SetFieldValue("TERMIN", strText);
    SetFieldValue("T_BEGIN", Number("%04ld", a.m_pattern.m_nStartTime));
    SetFieldValue("T_END", Number("%04ld", a.m_pattern.m_nEndTime));
    SetFieldValue("T_REMSPAN", Number("%07ld", a.m_nRemindSpan));
    SetFieldValue("D_FIRST_OC", DateText(CDateValue(a.m_pattern.m_nPatternStart, 0)));
    SetFieldValue("D_LAST_OC", DateText(CDateValue(a.m_pattern.m_nPatternEnd, 0)));

    a.m_action.ToText(strText, kActionLength);
    SetFieldValue("APP_DAT1", strText);
    SetFieldValue("APP_ID", a.m_strAppId);
    SetFieldValue("DB_RECID", Number("%010ld", a.m_nDbRecId));
    SetFieldValue("DB_PATH", a.m_strDbPath);
    SetFieldValue("USER", a.m_strUser);
    if (!a.m_strChangedBy.IsEmpty())
        SetFieldValue("L_USER", a.m_strChangedBy);
    if (!a.m_strCreatedBy.IsEmpty())
        SetFieldValue("ERF_USER", a.m_strCreatedBy);
    if (a.m_dtChanged.GetStatus() == COleDateTime::valid)
        SetFieldValue("L_DAT", DateText(a.m_dtChanged));
    if (a.m_dtCreated.GetStatus() == COleDateTime::valid)
        SetFieldValue("ERF_DAT", DateText(a.m_dtCreated));
    SetFieldValue("D_NEXT_OC", a.m_dtNextOccurrence.GetStatus() == COleDateTime::valid
                                   ? DateText(a.m_dtNextOccurrence)
                                   : CString());
    SetFieldValue("MOVERECID", a.m_strMovedRecordId);
    SetFieldValue("STATUS", a.m_strStatus);
}
