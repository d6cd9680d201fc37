// The data controller's operations that change entries: new entries through their dialog, editing,
// saving with or without a dialog, deleting; each brings the keys, the day index and the reminder
// timer in step with the row it wrote, sends the companion notice and tells the views.
#include "CDataController.h"

#include "CCompanionNotice.h"
#include "CControllerBusyGuard.h"
#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataDialogs.h"
#include "CDataDocument.h"
#include "CDataMainFrame.h"
#include "CDateValue.h"
#include "CFrameBusyGuard.h"
#include "CMfxWaitCursor.h"
#include "CStatusProgress.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"
#include "MfxWindows.h"

namespace {

// Progress steps of the operations.
const int kNewStep = 10;
const int kSaveAppointmentStep = 20;
const int kSaveTodoStep = 10;
const int kDeleteStep = 20;

CDataApplication* App() { return CDataApplication::Get(); }

CDataMainFrame* MainFrame() { return App() != NULL ? App()->GetMainFrame() : NULL; }

CDataDocument* Document() { return App() != NULL ? App()->GetDocument() : NULL; }

void Warn(UINT nText) { MfxMessageBoxId(nText, -1, MB_ICONEXCLAMATION); }

} // namespace

void CDataController::PumpWaitingMessages() { MfxPumpWaitingMessages(); }

namespace {

// The status-bar progress of an operation, ended when the operation ends.
class CEntryProgress {
public:
    CEntryProgress()
    {
        CString strText;
        strText.LoadString(IDS_ENTRY_PROGRESS);
        m_progress.Begin(strText);
    }
    ~CEntryProgress() { m_progress.End(); }
    void Step(int nStep) { m_progress.Step(nStep); }
    void SetPos(int nPos) { m_progress.SetPos(nPos); }

private:
    CStatusProgress m_progress;
};

} // namespace

// ---- shared steps ----------------------------------------------------------------------------------

void CDataController::RegisterEntry(const EntrySide& side, CDataAppointment& record, LPCTSTR lpszRecordId,
                                    LPCTSTR lpszFootprint, CDayEntries* pDays)
{
    if (side.bTodo)
        AddTaskItem(record, lpszRecordId, lpszFootprint);
    else
        AddAppointmentItem(record, lpszRecordId, lpszFootprint, pDays);
}

void CDataController::UnregisterEntry(const EntrySide& side, long nRecordId)
{
    const CItemVersionRef key = side.pMap->Find(nRecordId);
    if (key && !side.bTodo)
        m_dayIndex.Remove(key.Get());
    side.pMap->RemoveKeyAndDelete((DWORD)nRecordId);
    m_pTimers->Delete(m_nTimerJob, nRecordId);
}

int CDataController::RunEntryDialog(const EntrySide& side, CDataAppointment& record, BOOL bNew, CStringList& users)
{
    CDataDialogs* pDialogs = App() != NULL ? App()->GetDialogs() : NULL;
    if (pDialogs == NULL)
        return IDCANCEL;
    return side.bTodo ? pDialogs->EditTodo(record, bNew, users) : pDialogs->EditAppointment(record, bNew, users);
}

BOOL CDataController::CheckUserInformation()
{
    // The users of the linked applications are read again: users added since the start are
    // offered by the dialog that follows.
    if (LoadLinkedUsers() || !m_strCurrentUser.IsEmpty())
        return TRUE;
    Warn(IDS_NO_USER_INFORMATION);
    return FALSE;
}

BOOL CDataController::IsForeignPrivate(const CDataAppointment& record) const
{
    return record.m_bPrivate && record.m_strUser != m_strCurrentUser;
}

void CDataController::PauseAfterSave(const EntrySide& side, const CDataAppointment& record)
{
    if (side.bTodo)
        return;
    Pause(m_timings.dwSavePause);
    if (record.m_bSeries)
        Pause(m_timings.dwSeriesPause);
    Pause(m_timings.dwNoticePause);
}

void CDataController::TellViews(LPARAM lHint, CStringList* pIds, LPCTSTR lpszRecordId)
{
    if (pIds != NULL) {
        pIds->RemoveAll();
        pIds->AddTail(lpszRecordId);
    }
    if (CDataDocument* pDocument = Document())
        pDocument->UpdateAllViews(NULL, lHint, pIds);
}

void CDataController::NotifyCompanionWindows(BOOL bDeleted, long nRecordId, BOOL bTodo)
{
    CDataMainFrame* pFrame = MainFrame();
    CCompanionNotice::Send(bDeleted, nRecordId, bTodo, pFrame != NULL ? pFrame->GetFrameWindow() : NULL);
}

// ---- new entries -----------------------------------------------------------------------------------

BOOL CDataController::NewAppointment(long nDay, int nStartMinute)
{
    CDataAppointment record;
    if (nDay >= 0) {
        record.m_pattern.m_nPatternStart = nDay;
        record.m_pattern.m_nPatternEnd = nDay;
        if (nStartMinute >= 0)
            record.m_pattern.m_nStartTime = (short)nStartMinute;
    }
    return NewEntry(AppointmentSide(), record);
}

BOOL CDataController::NewAppointmentOnDocumentDate()
{
    int nYear = 0, nMonth = 0, nDay = 0;
    if (CDataDocument* pDocument = Document())
        pDocument->GetSelectedDay(nYear, nMonth, nDay);
    const CDateValue day(COleDateTime(nYear, nMonth, nDay, 0, 0, 0));
    return NewAppointment(day.GetStatus() == COleDateTime::valid ? day.GetDaySerial() : -1, -1);
}

BOOL CDataController::NewTask()
{
    CDataAppointment record;
    record.m_bTodo = TRUE;
    int nYear = 0, nMonth = 0, nDay = 0;
    if (CDataDocument* pDocument = Document())
        pDocument->GetSelectedDay(nYear, nMonth, nDay);
    const CDateValue day(COleDateTime(nYear, nMonth, nDay, 0, 0, 0));
    if (day.GetStatus() == COleDateTime::valid) {
        record.m_pattern.m_nPatternStart = day.GetDaySerial();
        record.m_pattern.m_nPatternEnd = day.GetDaySerial();
    }
    return NewEntry(TodoSide(), record);
}

BOOL CDataController::NewEntry(EntrySide side, CDataAppointment& record)
{
    CFrameBusyGuard frameBusy(MainFrame());
    if (!CheckUserInformation())
        return FALSE;
    CStringList users;
    if (RunEntryDialog(side, record, TRUE, users) != IDOK)
        return FALSE;

    PumpWaitingMessages();
    CMfxWaitCursor wait;
    CEntryProgress progress;
    EnterBusy();
    CControllerBusyGuard busy(*this);
    const CString strFilterUser = GetFilterUser();
    for (POSITION pos = users.GetHeadPosition(); pos != NULL;) {
        const CString strUser = users.GetNext(pos);
        CTerminRecordBuffer row(side.pTable);
        row.AttachFields();
        row.PutAppointment(record);
        row.SetFieldValue("USER", strUser);
        if (row.WriteRecord() != 0) {
            // This user's copy is left out; the others are written.
            Warn(IDS_SAVE_ERROR);
            row.UnlockRecord();
            continue;
        }
        row.UnlockRecord();
        if (row.ReadRecord(row.GetRecNo()) == 0) {
            CDataAppointment stored;
            row.GetAppointment(stored);
            const CString strId = row.FieldValue("RECORDID");
            const long nId = CItemVersion::ParseNumber(strId);
            if (strFilterUser.IsEmpty() || strFilterUser == stored.m_strUser) {
                side.pList->AddTail((DWORD)nId);
                RegisterEntry(side, stored, strId, row.FieldValue("FOOTPRINT"));
            }
            NotifyCompanionWindows(FALSE, nId, side.bTodo);
        }
        progress.Step(kNewStep);
    }
    busy.Release();
    progress.SetPos(100);
    progress.SetPos(0);
    TellViews(side.lHintCreated, NULL, NULL);
    return TRUE;
}

// ---- editing ---------------------------------------------------------------------------------------

int CDataController::EditAppointment(LPCTSTR lpszRecordId) { return EditEntry(AppointmentSide(), lpszRecordId); }

int CDataController::EditTask(LPCTSTR lpszRecordId) { return EditEntry(TodoSide(), lpszRecordId); }

int CDataController::EditEntry(EntrySide side, LPCTSTR lpszRecordId)
{
    CFrameBusyGuard frameBusy(MainFrame());
    CTerminRecordBuffer row(side.pTable);
    row.AttachFields();
    CDataAppointment record;
    long nRecNo;
    int nRead;
    {
        CMfxWaitCursor wait;
        EnterBusy();
        CControllerBusyGuard busy(*this);
        nRecNo = side.pTable->FindRecordById(lpszRecordId);
        // Locked first, then read: a change another station made before the lock is in what the
        // dialog shows and what is written back; after the lock no station can change the row.
        row.SetReadHook(m_rowReadHook);
        nRead = nRecNo > 0 ? row.LockAndRead(nRecNo) : -1;
        row.SetReadHook(nullptr);
        if (nRead == 0)
            row.GetAppointment(record);
    }
    if (nRecNo <= 0) {
        Warn(IDS_ENTRY_GONE);
        return 0;
    }
    if (nRead != 0) {
        Warn(nRead == -1 ? IDS_DB_RECORD_IN_USE : IDS_DB_READ_ERROR);
        return 0;
    }
    if (!CheckUserInformation())
        return 0;
    if (IsForeignPrivate(record)) {
        Warn(IDS_PRIVATE_ENTRY);
        return 0;
    }

    // The row stays locked while the dialog is open; the update thread may load meanwhile.
    CStringList users;
    int nResult = RunEntryDialog(side, record, FALSE, users);
    const long nId = CItemVersion::ParseNumber(lpszRecordId);
    BOOL bWritten = FALSE;
    while (nResult == IDOK) {
        {
            CMfxWaitCursor wait;
            EnterBusy();
            CControllerBusyGuard busy(*this);
            row.PutAppointment(record);
            bWritten = (!m_entryWriteHook || m_entryWriteHook(record)) && row.LockRecord() == 0 &&
                       row.WriteRecord() == 0;
            if (bWritten)
                NotifyCompanionWindows(FALSE, nId, side.bTodo);
        }
        if (bWritten)
            break;
        // The user's edits are not lost: the dialog opens again with them, to try once more or
        // to give up.
        Warn(IDS_EDIT_NOT_SAVED);
        nResult = RunEntryDialog(side, record, FALSE, users);
    }
    row.UnlockRecord();
    if (nResult == CDataDialogs::kDeleteButton)
        return side.bTodo ? DeleteTask(lpszRecordId, FALSE) : DeleteAppointment(lpszRecordId, FALSE);
    if (nResult != IDOK)
        return 1;
    if (!bWritten)
        return 0;

    {
        CMfxWaitCursor wait;
        EnterBusy();
        CControllerBusyGuard busy(*this);
        UnregisterEntry(side, nId);
        if (row.ReadRecord(nRecNo) == 0) {
            CDataAppointment stored;
            row.GetAppointment(stored);
            RegisterEntry(side, stored, row.FieldValue("RECORDID"), row.FieldValue("FOOTPRINT"));
            PauseAfterSave(side, stored);
        }
    }
    TellViews(side.lHintChanged, &m_changedIds, lpszRecordId);
    return 1;
}

// ---- saving ----------------------------------------------------------------------------------------

BOOL CDataController::TakeCallersChanges(CTerminRecordBuffer& row, CDataAppointment& record)
{
    CDataAppointment current;
    row.GetAppointment(current);
    // A record that was not read from this row says as a whole what the entry is to be.
    if (!record.m_pAsRead || record.m_pAsRead->m_strRecordId != current.m_strRecordId)
        return TRUE;
    if (!current.TakeChanges(*record.m_pAsRead, record))
        return FALSE;
    record = current;
    return TRUE;
}

BOOL CDataController::SaveAppointment(CDataAppointment& record, CString& strRecordId, BOOL bNoDialog,
                                      BOOL bNotifyViews)
{
    return SaveEntry(AppointmentSide(), record, strRecordId, bNoDialog, bNotifyViews);
}

BOOL CDataController::SaveTask(CDataAppointment& record, CString& strRecordId, BOOL bNoDialog, BOOL bNotifyViews)
{
    return SaveEntry(TodoSide(), record, strRecordId, bNoDialog, bNotifyViews);
}

BOOL CDataController::SaveEntry(EntrySide side, CDataAppointment& record, CString& strRecordId, BOOL bNoDialog,
                                BOOL bNotifyViews)
{
    CMfxWaitCursor wait;
    CFrameBusyGuard frameBusy(MainFrame());
    // Held while the dialog is open: the update thread does not load meanwhile.
    EnterBusy();
    CControllerBusyGuard busy(*this);
    const BOOL bNew = strRecordId.IsEmpty();
    CTerminRecordBuffer row(side.pTable);
    row.AttachFields();
    if (!bNew) {
        const long nRecNo = side.pTable->FindRecordById(strRecordId);
        row.SetReadHook(m_rowReadHook);
        const int nRead = nRecNo > 0 ? row.LockAndRead(nRecNo) : -1;
        row.SetReadHook(nullptr);
        if (nRead != 0) {
            Warn(IDS_DB_RECORD_IN_USE);
            return FALSE;
        }
    }
    CDataAppointment copy(record);
    if (!CheckUserInformation())
        return FALSE;
    if (!bNew && IsForeignPrivate(copy)) {
        Warn(IDS_PRIVATE_ENTRY);
        return FALSE;
    }

    CStringList users;
    int nResult = IDOK;
    if (!bNoDialog)
        nResult = RunEntryDialog(side, copy, bNew, users);
    else if (bNew)
        users.AddTail(copy.m_strUser.IsEmpty() ? m_strCurrentUser : copy.m_strUser);
    BOOL bWritten = FALSE;
    BOOL bChangedMeanwhile = FALSE;
    if (nResult == IDOK) {
        PumpWaitingMessages();
        CEntryProgress progress;
        if (bNew) {
            // One row per user; only the last one is read back and registered here (the update
            // thread finds the others).
            for (POSITION pos = users.GetHeadPosition(); pos != NULL;) {
                const CString strUser = users.GetNext(pos);
                row.Clear();
                row.PutAppointment(copy);
                row.SetFieldValue("USER", strUser);
                bWritten = row.WriteRecord() == 0;
                if (!bWritten)
                    break;
                row.UnlockRecord();
                progress.Step(side.bTodo ? kSaveTodoStep : kSaveAppointmentStep);
            }
        } else {
            progress.Step(kSaveAppointmentStep);
            // The caller's copy may be older than the row (a reminder window's, an automation
            // object's, also when its dialog was shown): only what was changed since it was read
            // goes over the row, so another station's change made meanwhile stays.
            const BOOL bMerged = TakeCallersChanges(row, copy);
            if (bNoDialog) {
                copy.m_strChangedBy = m_strCurrentUser;
                copy.m_dtChanged = COleDateTime::GetCurrentTime();
            }
            if (bMerged) {
                row.PutAppointment(copy);
                if (row.FieldValue("USER").IsEmpty())
                    row.SetFieldValue("USER", m_strCurrentUser);
                bWritten = row.LockRecord() == 0 && row.WriteRecord() == 0;
            } else
                bChangedMeanwhile = TRUE;
        }
    }
    if (!bNew)
        row.UnlockRecord();
    if (nResult == CDataDialogs::kDeleteButton) {
        busy.Release();
        const CString strId = !copy.m_strRecordId.IsEmpty() ? copy.m_strRecordId : strRecordId;
        return side.bTodo ? DeleteTask(strId, FALSE) : DeleteAppointment(strId, FALSE);
    }
    if (bChangedMeanwhile)
        Warn(IDS_ENTRY_CHANGED_MEANWHILE);
    if (!bWritten)
        return FALSE;

    const long nRecNo = row.GetRecNo();
    if (row.ReadRecord(nRecNo) == 0) {
        CDataAppointment stored;
        row.GetAppointment(stored);
        const CString strId = row.FieldValue("RECORDID");
        const long nId = CItemVersion::ParseNumber(strId);
        if (bNew) {
            side.pList->AddTail((DWORD)nId);
            strRecordId = strId;
        } else
            UnregisterEntry(side, nId);
        const CString strFilterUser = GetFilterUser();
        // A new appointment saved without its dialog is shown only to its user's filter; to-dos
        // are registered whoever they belong to.
        if (side.bTodo || !bNew || !bNoDialog || strFilterUser.IsEmpty() || strFilterUser == stored.m_strUser)
            RegisterEntry(side, stored, strId, row.FieldValue("FOOTPRINT"));
        PauseAfterSave(side, stored);
        NotifyCompanionWindows(FALSE, nId, side.bTodo);
    }
    busy.Release();
    if (bNotifyViews) {
        if (bNew)
            TellViews(side.lHintCreated, NULL, NULL);
        else
            TellViews(side.lHintChanged, &m_changedIds, strRecordId);
    }
    return TRUE;
}

// ---- deleting --------------------------------------------------------------------------------------

int CDataController::DeleteAppointment(LPCTSTR lpszRecordId, BOOL bAsk)
{
    return DeleteEntry(AppointmentSide(), lpszRecordId, bAsk);
}

int CDataController::DeleteTask(LPCTSTR lpszRecordId, BOOL bAsk) { return DeleteEntry(TodoSide(), lpszRecordId, bAsk); }

int CDataController::DeleteEntry(EntrySide side, LPCTSTR lpszRecordId, BOOL bAsk)
{
    long nRecNo;
    {
        EnterBusy();
        CControllerBusyGuard busy(*this);
        nRecNo = side.pTable->FindRecordById(lpszRecordId);
    }
    if (nRecNo <= 0) {
        Warn(IDS_ENTRY_GONE);
        return 0;
    }
    CMfxWaitCursor wait;
    CEntryProgress progress;
    EnterBusy();
    CControllerBusyGuard busy(*this);
    CTerminRecordBuffer row(side.pTable);
    row.AttachFields();
    if (row.ReadRecord(nRecNo) != 0) {
        Warn(IDS_DB_READ_ERROR);
        return 0;
    }
    CDataAppointment record;
    row.GetAppointment(record);
    if (IsForeignPrivate(record)) {
        Warn(IDS_PRIVATE_ENTRY);
        return 0;
    }
    if (record.m_strUser != m_strCurrentUser && (m_nRights & kRightManageOthers) == 0) {
        Warn(IDS_DELETE_OWN_ONLY);
        return 0;
    }
    if (bAsk && MfxMessageBoxId(IDS_ASK_DELETE, -1, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;

    PumpWaitingMessages();
    const long nId = CItemVersion::ParseNumber(lpszRecordId);
    side.pTable->GoTo(nRecNo);
    const BOOL bDeleted = side.pTable->DeleteRecord(TRUE);
    if (!bDeleted)
        Warn(IDS_DELETE_ERROR);
    else {
        progress.Step(kDeleteStep);
        const CItemVersionRef key = side.pMap->Find(nId);
        if (key && !side.bTodo)
            m_dayIndex.Remove(key.Get());
        progress.Step(kDeleteStep);
        side.pMap->RemoveKeyAndDelete((DWORD)nId);
        side.pList->RemoveValue((DWORD)nId);
        m_pTimers->Delete(m_nTimerJob, nId);
        NotifyCompanionWindows(TRUE, nId, side.bTodo);
    }
    busy.Release();
    Pause(m_timings.dwDeletePause);
    progress.SetPos(0);
    TellViews(side.lHintDeleted, &m_deletedIds, lpszRecordId);
    return bDeleted;
}
