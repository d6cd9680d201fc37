#include "COleAppointment.h"

#include "CAppSettings.h"
#include "CDataController.h"
#include "CDateValue.h"
#include "CFrameBusyGuard.h"
#include "COrvexApp.h"
#include "COrvexDoc.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "RtfToText.h"

IMPLEMENT_DYNCREATE(COleAppointment, CCmdTarget)

// The members' positions are their DISPIDs (1-31).
BEGIN_DISPATCH_MAP(COleAppointment, CCmdTarget)
DISP_PROPERTY_EX(COleAppointment, "Private", GetPrivate, SetPrivate, VT_BOOL)
DISP_PROPERTY_EX(COleAppointment, "ReminderMinutesBeforeStart", GetReminderMinutesBeforeStart,
                 SetReminderMinutesBeforeStart, VT_I4)
DISP_PROPERTY_EX(COleAppointment, "Subject", GetSubject, SetSubject, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "Location", GetLocation, SetLocation, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "Reminder", GetReminder, SetReminder, VT_BOOL)
DISP_PROPERTY_EX(COleAppointment, "Start", GetStart, SetStart, VT_DATE)
DISP_PROPERTY_EX(COleAppointment, "End", GetEnd, SetEnd, VT_DATE)
DISP_PROPERTY_EX(COleAppointment, "Body", GetBody, SetBody, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "HostDatabase", GetHostDatabase, SetHostDatabase, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "HostRecordID", GetHostRecordID, SetHostRecordID, VT_I4)
DISP_PROPERTY_EX(COleAppointment, "HostID", GetHostID, SetHostID, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "Contact", GetContact, SetContact, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "UniqueID", GetUniqueID, SetUniqueID, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "ActionID", GetActionID, SetActionID, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "ActionData", GetActionData, SetActionData, VT_VARIANT)
DISP_PROPERTY_EX(COleAppointment, "CreationUser", GetCreationUser, SetCreationUser, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "ChangeUser", GetChangeUser, SetChangeUser, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "CreationDate", GetCreationDate, SetCreationDate, VT_DATE)
DISP_PROPERTY_EX(COleAppointment, "ChangeDate", GetChangeDate, SetChangeDate, VT_DATE)
DISP_PROPERTY_EX(COleAppointment, "User", GetUser, SetUser, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "BodyPlain", GetBodyPlain, SetBodyPlain, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "ActionDataString", GetActionDataString, SetActionDataString, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "ActionType", GetActionType, SetActionType, VT_I4)
DISP_PROPERTY_EX(COleAppointment, "RecurrencePattern", GetRecurrencePattern, SetRecurrencePattern, VT_DISPATCH)
DISP_PROPERTY_EX(COleAppointment, "IsRecurring", GetIsRecurring, SetIsRecurring, VT_BOOL)
DISP_PROPERTY_EX(COleAppointment, "TimeStamp", GetTimeStamp, SetTimeStamp, VT_BSTR)
DISP_PROPERTY_EX(COleAppointment, "SerializedString", GetSerializedString, SetSerializedString, VT_BSTR)
DISP_FUNCTION(COleAppointment, "Save", Save, VT_BOOL, VTS_NONE)
DISP_FUNCTION(COleAppointment, "Remove", Remove, VT_BOOL, VTS_NONE)
DISP_FUNCTION(COleAppointment, "Display", Display, VT_BOOL, VTS_NONE)
DISP_FUNCTION(COleAppointment, "ClearRecurrencePattern", ClearRecurrencePattern, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

// {C75B6CAC-5712-4DD6-800B-2880A19E12EA}
static const IID IID_IOleAppointment = {0xC75B6CAC, 0x5712, 0x4DD6, {0x80, 0x0B, 0x28, 0x80, 0xA1, 0x9E, 0x12, 0xEA}};

BEGIN_INTERFACE_MAP(COleAppointment, CCmdTarget)
INTERFACE_PART(COleAppointment, IID_IOleAppointment, Dispatch)
END_INTERFACE_MAP()

namespace {

// 1900-01-01 00:00:00: only later dates are taken.
const DATE kEarliestDate = 2.0;

CString StoredId(long nId)
{
    CString strId;
    strId.Format("%010ld", nId);
    return strId;
}

BSTR Text(const CString& str) { return str.AllocSysString(); }

void SetText(CString& field, LPCTSTR lpsz)
{
    if (lpsz != NULL)
        field = lpsz;
}

void SetUpper(CString& field, LPCTSTR lpsz)
{
    if (lpsz != NULL) {
        field = lpsz;
        field.MakeUpper();
    }
}

short MinuteOf(const COleDateTime& time) { return (short)(time.GetHour() * 60 + time.GetMinute()); }

} // namespace

#define LOCK_OBJECT() CSingleLock lock(&m_lock, TRUE)

COleAppointment::COleAppointment() : m_nRecordId(0), m_pRecord(new CDataAppointment)
{
    EnableAutomation();
}

COleAppointment::~COleAppointment() {}

COleAppointment* COleAppointment::FromDispatch(LPDISPATCH pDispatch)
{
    CCmdTarget* pTarget = pDispatch != NULL ? CCmdTarget::FromIDispatch(pDispatch) : NULL;
    return pTarget != NULL ? DYNAMIC_DOWNCAST(COleAppointment, pTarget) : NULL;
}

BOOL COleAppointment::GetPrivate() { LOCK_OBJECT(); return m_pRecord->m_bPrivate; }
void COleAppointment::SetPrivate(BOOL b) { LOCK_OBJECT(); m_pRecord->m_bPrivate = b; }
long COleAppointment::GetReminderMinutesBeforeStart() { LOCK_OBJECT(); return m_pRecord->m_nRemindSpan; }
void COleAppointment::SetReminderMinutesBeforeStart(long n) { LOCK_OBJECT(); m_pRecord->m_nRemindSpan = n; }
BSTR COleAppointment::GetSubject() { LOCK_OBJECT(); return Text(m_pRecord->m_strSubject); }
void COleAppointment::SetSubject(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strSubject, lpsz); }
BSTR COleAppointment::GetLocation() { LOCK_OBJECT(); return Text(m_pRecord->m_strPlace); }
void COleAppointment::SetLocation(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strPlace, lpsz); }
BOOL COleAppointment::GetReminder() { LOCK_OBJECT(); return m_pRecord->m_bRemind; }
void COleAppointment::SetReminder(BOOL b) { LOCK_OBJECT(); m_pRecord->m_bRemind = b; }

DATE COleAppointment::GetStart()
{
    LOCK_OBJECT();
    return CDateValue(m_pRecord->m_pattern.m_nPatternStart, (short)m_pRecord->m_pattern.m_nStartTime).m_dt;
}

void COleAppointment::SetStart(DATE date)
{
    LOCK_OBJECT();
    if (date <= kEarliestDate)
        return;
    const COleDateTime value(date);
    m_pRecord->m_pattern.m_nPatternStart = CDateValue(value).GetDaySerial();
    m_pRecord->m_pattern.m_nStartTime = MinuteOf(value);
}

DATE COleAppointment::GetEnd()
{
    LOCK_OBJECT();
    return CDateValue(m_pRecord->m_pattern.m_nPatternStart, (short)m_pRecord->m_pattern.m_nEndTime).m_dt;
}

void COleAppointment::SetEnd(DATE date)
{
    LOCK_OBJECT();
    if (date > kEarliestDate)
        m_pRecord->m_pattern.m_nEndTime = MinuteOf(COleDateTime(date));
}

BSTR COleAppointment::GetBody() { LOCK_OBJECT(); return Text(m_pRecord->m_strNotes); }
void COleAppointment::SetBody(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strNotes, lpsz); }
BSTR COleAppointment::GetHostDatabase() { LOCK_OBJECT(); return Text(m_pRecord->m_strDbPath); }
void COleAppointment::SetHostDatabase(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strDbPath, lpsz); }
long COleAppointment::GetHostRecordID() { LOCK_OBJECT(); return m_pRecord->m_nDbRecId; }
void COleAppointment::SetHostRecordID(long n) { LOCK_OBJECT(); m_pRecord->m_nDbRecId = n; }
BSTR COleAppointment::GetHostID() { LOCK_OBJECT(); return Text(m_pRecord->m_strAppId); }
void COleAppointment::SetHostID(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strAppId, lpsz); }
BSTR COleAppointment::GetContact() { LOCK_OBJECT(); return Text(m_pRecord->m_strParticipants); }
void COleAppointment::SetContact(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_strParticipants, lpsz); }

BSTR COleAppointment::GetUniqueID()
{
    LOCK_OBJECT();
    CString strId;
    strId.Format("%ld", m_nRecordId);
    return Text(strId);
}

void COleAppointment::SetUniqueID(LPCTSTR) {}

BSTR COleAppointment::GetActionID() { LOCK_OBJECT(); return Text(m_pRecord->m_action.m_strName); }
void COleAppointment::SetActionID(LPCTSTR lpsz) { LOCK_OBJECT(); SetText(m_pRecord->m_action.m_strName, lpsz); }

VARIANT COleAppointment::GetActionData()
{
    LOCK_OBJECT();
    VARIANT result;
    ::VariantInit(&result);
    const CDataAction& action = m_pRecord->m_action;
    if (action.m_bBinary) {
        const ULONG nCount = (ULONG)action.m_binParameter.GetSize();
        SAFEARRAY* pArray = ::SafeArrayCreateVector(VT_UI1, 0, nCount);
        if (pArray != NULL) {
            void* pData = NULL;
            if (SUCCEEDED(::SafeArrayAccessData(pArray, &pData))) {
                if (nCount > 0)
                    memcpy(pData, action.m_binParameter.GetData(), nCount);
                ::SafeArrayUnaccessData(pArray);
            }
            result.vt = VT_ARRAY | VT_UI1;
            result.parray = pArray;
        }
    } else {
        result.vt = VT_BSTR;
        result.bstrVal = Text(action.m_strParameter);
    }
    return result;
}

void COleAppointment::SetActionData(const VARIANT& data)
{
    LOCK_OBJECT();
    CDataAction& action = m_pRecord->m_action;
    if (data.vt == VT_BSTR) {
        action.m_strParameter = CString(data.bstrVal);
        action.m_bBinary = FALSE;
    } else if (data.vt == (VT_ARRAY | VT_UI1)) {
        // Only a one-dimensional array with elements is taken; anything else leaves the action.
        SAFEARRAY* pArray = data.parray;
        LONG nLower = 0, nUpper = -1;
        if (pArray == NULL || ::SafeArrayGetDim(pArray) != 1 || FAILED(::SafeArrayGetLBound(pArray, 1, &nLower)) ||
            FAILED(::SafeArrayGetUBound(pArray, 1, &nUpper)) || nUpper < nLower)
            return;
        const LONG nCount = nUpper - nLower + 1;
        void* pData = NULL;
        if (FAILED(::SafeArrayAccessData(pArray, &pData)))
            return;
        action.m_binParameter.SetSize(nCount);
        memcpy(action.m_binParameter.GetData(), pData, nCount);
        ::SafeArrayUnaccessData(pArray);
        action.m_bBinary = TRUE;
    } else {
        action.m_strParameter.Empty();
        action.m_bBinary = FALSE;
    }
}

BSTR COleAppointment::GetCreationUser() { LOCK_OBJECT(); return Text(m_pRecord->m_strCreatedBy); }
void COleAppointment::SetCreationUser(LPCTSTR lpsz) { LOCK_OBJECT(); SetUpper(m_pRecord->m_strCreatedBy, lpsz); }
BSTR COleAppointment::GetChangeUser() { LOCK_OBJECT(); return Text(m_pRecord->m_strChangedBy); }
void COleAppointment::SetChangeUser(LPCTSTR lpsz) { LOCK_OBJECT(); SetUpper(m_pRecord->m_strChangedBy, lpsz); }

DATE COleAppointment::GetCreationDate()
{
    LOCK_OBJECT();
    return m_pRecord->m_dtCreated.GetStatus() == COleDateTime::valid ? m_pRecord->m_dtCreated.m_dt : 0.0;
}

void COleAppointment::SetCreationDate(DATE date)
{
    LOCK_OBJECT();
    if (date > kEarliestDate)
        m_pRecord->m_dtCreated = COleDateTime(date);
}

DATE COleAppointment::GetChangeDate()
{
    LOCK_OBJECT();
    return m_pRecord->m_dtChanged.GetStatus() == COleDateTime::valid ? m_pRecord->m_dtChanged.m_dt : 0.0;
}

void COleAppointment::SetChangeDate(DATE date)
{
    LOCK_OBJECT();
    if (date > kEarliestDate)
        m_pRecord->m_dtChanged = COleDateTime(date);
}

BSTR COleAppointment::GetUser() { LOCK_OBJECT(); return Text(m_pRecord->m_strUser); }
void COleAppointment::SetUser(LPCTSTR lpsz) { LOCK_OBJECT(); SetUpper(m_pRecord->m_strUser, lpsz); }

BSTR COleAppointment::GetBodyPlain()
{
    LOCK_OBJECT();
    const CString& strNotes = m_pRecord->m_strNotes;
    if (strNotes.Left(5) != "{\\rtf")
        return Text(strNotes);
    CString strText;
    RtfToText(strNotes, strText);
    if (strText == "\r" || strText == "\n")
        strText.Empty();
    return Text(strText);
}

void COleAppointment::SetBodyPlain(LPCTSTR lpsz) { SetBody(lpsz); }

BSTR COleAppointment::GetActionDataString()
{
    LOCK_OBJECT();
    return Text(m_pRecord->m_action.m_bBinary ? CString() : m_pRecord->m_action.m_strParameter);
}

void COleAppointment::SetActionDataString(LPCTSTR lpsz)
{
    LOCK_OBJECT();
    m_pRecord->m_action.m_strParameter = lpsz != NULL ? lpsz : "";
    m_pRecord->m_action.m_bBinary = FALSE;
}

long COleAppointment::GetActionType() { LOCK_OBJECT(); return m_pRecord->m_action.m_nActionType; }
void COleAppointment::SetActionType(long n) { LOCK_OBJECT(); m_pRecord->m_action.m_nActionType = n; }

LPDISPATCH COleAppointment::GetRecurrencePattern()
{
    return NULL; // the pattern object comes with the series' automation
}

void COleAppointment::SetRecurrencePattern(LPDISPATCH) {}
BOOL COleAppointment::GetIsRecurring() { LOCK_OBJECT(); return m_pRecord->m_bSeries; }
void COleAppointment::SetIsRecurring(BOOL) {}

BSTR COleAppointment::GetTimeStamp()
{
    LOCK_OBJECT();
    CDataController* pController = theApp.GetDataController();
    if (m_nRecordId == 0 || pController == NULL)
        return Text(CString());
    CString strDate;
    if (m_pRecord->m_dtChanged.GetStatus() == COleDateTime::valid)
        strDate = m_pRecord->m_dtChanged.Format("%Y%m%d");
    else
        strDate = COleDateTime(0.0).Format("%Y%m%d");
    CString strStamp;
    strStamp.Format("%s:%s", (LPCTSTR)strDate, (LPCTSTR)pController->GetItemFootprint(StoredId(m_nRecordId)));
    return Text(strStamp);
}

void COleAppointment::SetTimeStamp(LPCTSTR) {}

BSTR COleAppointment::GetSerializedString()
{
    LOCK_OBJECT();
    CString strText;
    m_pRecord->ToText(strText, 0);
    return Text(strText);
}

void COleAppointment::SetSerializedString(LPCTSTR lpsz)
{
    LOCK_OBJECT();
    if (lpsz == NULL)
        return;
    // A text that does not decode whole (odd length, other characters, cut) leaves the record.
    const CString strText(lpsz);
    if (strText.IsEmpty() || strText.GetLength() % 2 != 0)
        return;
    CDataAppointment loaded;
    if (loaded.FromText(strText) != 0)
        return;
    const CString strRecordId = m_pRecord->m_strRecordId;
    const CString strMoved = m_pRecord->m_strMovedRecordId;
    const COleDateTime dtNext = m_pRecord->m_dtNextOccurrence;
    const CString strStatus = m_pRecord->m_strStatus;
    *m_pRecord = loaded;
    m_pRecord->m_strRecordId = strRecordId;
    m_pRecord->m_strMovedRecordId = strMoved;
    m_pRecord->m_dtNextOccurrence = dtNext;
    m_pRecord->m_strStatus = strStatus;
}

BOOL COleAppointment::Save()
{
    LOCK_OBJECT();
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL)
        return FALSE;
    CString strId = m_nRecordId != 0 ? StoredId(m_nRecordId) : CString();
    COrvexDoc* pDoc = theApp.GetOrvexDocument();
    const BOOL bUpdate = !(pDoc != NULL && pDoc->GetOptions(1) != 0);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    CDataSerienTermin& pattern = m_pRecord->m_pattern;
    if (pattern.m_nStartTime == -1)
        pattern.m_nStartTime = MinuteOf(now);
    if (pattern.m_nEndTime == -1) {
        CAppSettings* pSettings = theApp.GetSettings();
        const int nUnit = pSettings != NULL ? pSettings->GetTimeUnitMinutes() : 15;
        // An appointment ends on its day: at 23:59 at the latest.
        pattern.m_nEndTime = (short)std::min(pattern.m_nStartTime + nUnit, 1439);
    }
    if (pattern.m_nPatternStart == 0)
        pattern.m_nPatternStart = CDateValue(now).GetDaySerial();
    const BOOL bSaved = pController->SaveAppointment(*m_pRecord, strId, TRUE, bUpdate);
    if (bSaved && m_nRecordId == 0) {
        m_nRecordId = atol(strId);
        CFrameBusyGuard busy(theApp.GetMainFrame());
        CTerminRecordBuffer row(pController->GetAppointmentTable());
        CDataAppointment stored;
        if (pController->ReadAppointment(StoredId(m_nRecordId), stored, row))
            *m_pRecord = stored;
    }
    return bSaved;
}

BOOL COleAppointment::Remove()
{
    LOCK_OBJECT();
    CDataController* pController = theApp.GetDataController();
    if (m_nRecordId == 0 || pController == NULL)
        return FALSE;
    return pController->DeleteAppointment(StoredId(m_nRecordId), FALSE) != 0;
}

BOOL COleAppointment::Display()
{
    LOCK_OBJECT();
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL)
        return FALSE;
    try {
        CString strId = m_nRecordId != 0 ? StoredId(m_nRecordId) : CString();
        return pController->SaveAppointment(*m_pRecord, strId, FALSE, TRUE);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
}

void COleAppointment::ClearRecurrencePattern()
{
    LOCK_OBJECT();
    m_pRecord->m_bSeries = FALSE;
}
