// The data controller's reminder results: what the main frame asks for when a reminder window is
// answered (acknowledge, postpone, move, store the next occurrence, postpone every open reminder).
// They change STATUS and the dates of the entry's row and save it without a dialog; a postponement
// also writes the postponement copy, a row that carries the reminder (MOVERECID = the entry's id).
#include "CDataController.h"

#include "CControllerBusyGuard.h"
#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataReminderWindow.h"
#include "CDateValue.h"
#include "CDbProgressDialog.h"
#include "CFrameBusyGuard.h"
#include "CMfxString.h"
#include "CMfxWaitCursor.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "CTimerLibrary.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"

#include <algorithm>

namespace {

// STATUS: acknowledged, postponed (the entry whose reminder was postponed), moved or a copy.
const char kStatusAcknowledged[] = "N";
const char kStatusPostponed[] = "D";
const char kStatusMoved[] = "C";
// The last minute of a day.
const int kLastMinute = 1439;
// The progress of the bulk postponement moves at least this far per window.
const double kMinProgressStep = 0.05;

CDataMainFrame* MainFrame()
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? pApp->GetMainFrame() : NULL;
}

CString IdText(long nRecordId)
{
    CString strId;
    strId.Format("%ld", nRecordId);
    return strId;
}

// The record id as the table stores it.
CString StoredIdText(long nRecordId)
{
    CString strId;
    strId.Format("%010ld", nRecordId);
    return strId;
}

// Minutes after midnight of the time.
short MinuteOfDay(const COleDateTime& time) { return (short)(time.GetHour() * 60 + time.GetMinute()); }

// The day serial at the minute (none: midnight).
COleDateTime DayAt(long nDay, short nMinute) { return CDateValue(nDay, std::max<int>(nMinute, 0)); }

} // namespace

// ---- finding the entry of an id --------------------------------------------------------------------

int CDataController::LockEntryRow(long nRecordId, std::unique_ptr<CTerminRecordBuffer>& row, BOOL& bTodo)
{
    const CString strId = StoredIdText(nRecordId);
    for (BOOL bTodoSide : {FALSE, TRUE}) {
        CItemMap& map = bTodoSide ? m_todoMap : m_appointmentMap;
        if (!map.Find(nRecordId))
            continue;
        CTerminTable* pTable = bTodoSide ? m_pTodoTable : m_pAppointmentTable;
        const long nRecNo = pTable->FindRecordById(strId);
        if (nRecNo <= 0)
            continue;
        row.reset(new CTerminRecordBuffer(pTable));
        row->AttachFields();
        // Locked first, then read: nothing another station writes can come between.
        const int nRead = row->LockAndRead(nRecNo);
        if (nRead == -1)
            return -1;
        if (nRead == 0) {
            bTodo = bTodoSide;
            return 1;
        }
    }
    row.reset();
    return 0;
}

BOOL CDataController::ReadEntryOfId(long nRecordId, CDataAppointment& record, BOOL& bTodo)
{
    const CString strId = StoredIdText(nRecordId);
    CTerminRecordBuffer appointmentRow(m_pAppointmentTable);
    if (m_appointmentMap.Find(nRecordId) && ReadAppointment(strId, record, appointmentRow)) {
        bTodo = FALSE;
        return TRUE;
    }
    CTerminRecordBuffer todoRow(m_pTodoTable);
    if (m_todoMap.Find(nRecordId) && ReadTask(strId, record, todoRow)) {
        bTodo = TRUE;
        return TRUE;
    }
    return FALSE;
}

// ---- acknowledging ---------------------------------------------------------------------------------

int CDataController::AcknowledgeReminder(long nRecordId, BOOL bRemoveOnly)
{
    if (nRecordId == 0)
        return 1;
    if (bRemoveOnly) {
        m_pTimers->Delete(m_nTimerJob, nRecordId);
        return 1;
    }
    CFrameBusyGuard frameBusy(MainFrame());
    EnterBusy();
    CControllerBusyGuard busy(*this);
    std::unique_ptr<CTerminRecordBuffer> row;
    BOOL bTodo = FALSE;
    const int nFound = LockEntryRow(nRecordId, row, bTodo);
    if (nFound < 0)
        return 0;
    if (nFound > 0) {
        // The entry itself is not touched here: the next reload pass sees the row's new footprint.
        row->SetFieldValue("STATUS", kStatusAcknowledged);
        if (row->FieldValue("SERIE") != "1")
            row->SetFieldValue("REMIND", "0");
        const BOOL bWritten = row->WriteRecord() == 0;
        const BOOL bUnlocked = row->UnlockRecord() == 0;
        // A row that was not written keeps its reminder.
        if (!bWritten || !bUnlocked)
            return 0;
    }
    m_pTimers->Delete(m_nTimerJob, nRecordId);
    return 1;
}

// ---- postponing ------------------------------------------------------------------------------------

BOOL CDataController::PostponeReminder(LPCTSTR lpszRecordId, const CDataAppointment& reminder,
                                       const COleDateTimeSpan& span, long nCopyId)
{
    const BOOL bPostponed = Postpone(lpszRecordId, reminder, span, nCopyId);
    if (!bPostponed)
        MfxMessageBoxId(IDS_POSTPONE_FAILED, -1, MB_ICONEXCLAMATION);
    return bPostponed;
}

BOOL CDataController::Postpone(LPCTSTR lpszRecordId, const CDataAppointment& reminder, const COleDateTimeSpan& span,
                               long nCopyId)
{
    CFrameBusyGuard frameBusy(MainFrame());
    EnterBusy();
    CControllerBusyGuard busy(*this);
    const EntrySide side = reminder.m_bTodo ? TodoSide() : AppointmentSide();
    CTerminRecordBuffer entryRow(side.pTable);
    entryRow.AttachFields();
    CDataAppointment record;
    if (!ReadEntry(side.pTable, lpszRecordId, record, entryRow, TRUE))
        return FALSE;
    const long nId = CItemVersion::ParseNumber(lpszRecordId);

    // The copy carries the reminder: due at now + span, without lead time, never a series. It is
    // written first: until it is there, the entry keeps its status and its timer, so a copy that
    // cannot be written loses no reminder.
    CDataAppointment copy(record);
    copy.m_strMovedRecordId = IdText(nId);
    copy.m_strStatus = kStatusMoved;
    copy.m_nRemindSpan = 0;
    copy.m_bSeries = FALSE;
    const CDateValue due(COleDateTime::GetCurrentTime() + span);
    if (copy.m_bTodo)
        copy.m_pattern.m_nPatternEnd = due.GetDaySerial();
    else
        copy.m_pattern.m_nPatternStart = due.GetDaySerial();
    copy.m_pattern.m_nStartTime = MinuteOfDay(due);

    CTerminRecordBuffer copyRow(side.pTable);
    copyRow.AttachFields();
    BOOL bOverCopy = FALSE;
    if (nCopyId != 0) {
        const long nRecNo = side.pTable->FindRecordById(StoredIdText(nCopyId));
        bOverCopy = nRecNo > 0 && copyRow.LockAndRead(nRecNo) == 0;
        if (!bOverCopy) {
            // That copy is gone, held or unreadable: the reminder gets a new one. (Only a lock
            // this buffer holds is given up: unlocking releases every lock of the table's area.)
            if (copyRow.IsLocked())
                copyRow.UnlockRecord();
            copyRow.Clear();
        }
    }
    copyRow.PutAppointment(copy);
    const BOOL bWritten = copyRow.WriteRecord() == 0;
    const long nCopyRecNo = copyRow.GetRecNo();
    // A copy that was not written is no success, whatever the unlock says.
    const BOOL bUnlocked = copyRow.UnlockRecord() == 0;
    if (!bWritten || !bUnlocked) {
        ResetFileTime(side.bTodo);
        return FALSE;
    }

    // The entry: its reminder is postponed (a series keeps reminding of its later occurrences).
    CDataAppointment postponed(record);
    postponed.m_strStatus = kStatusPostponed;
    CString strId = lpszRecordId;
    const BOOL bSaved = side.bTodo ? SaveTask(postponed, strId, TRUE, TRUE) : SaveAppointment(postponed, strId, TRUE, TRUE);
    if (!bSaved) {
        // The entry keeps its reminder: a new copy would remind a second time, so it goes again.
        if (!bOverCopy && nCopyRecNo > 0) {
            side.pTable->GoTo(nCopyRecNo);
            side.pTable->DeleteRecord(TRUE);
        }
        ResetFileTime(side.bTodo);
        return FALSE;
    }
    if (!reminder.m_bSeries && reminder.m_strMovedRecordId.IsEmpty())
        m_pTimers->Delete(m_nTimerJob, nId);

    // The update thread loads the copy (with its timer) at once.
    ResetFileTime(side.bTodo);
    busy.Release();
    WakeUpdateThread();
    return TRUE;
}

// ---- moving ----------------------------------------------------------------------------------------

BOOL CDataController::MoveItemBySpan(LPCTSTR lpszRecordId, const CDataAppointment& record, const COleDateTimeSpan& span)
{
    // The save registers the moved entry again (its old timer goes then); a save that fails
    // leaves the entry and its timer as they were. Only the dates and the status are the move's:
    // the save puts just these over the row, so what another station changed meanwhile stays.
    CDataAppointment moved(record);
    CDataSerienTermin& pattern = moved.m_pattern;
    moved.m_strStatus = kStatusMoved;
    CString strId = lpszRecordId;
    if (moved.m_bTodo) {
        const CDateValue due(DayAt(pattern.m_nPatternEnd, pattern.m_nStartTime) + span);
        pattern.m_nPatternEnd = due.GetDaySerial();
        pattern.m_nStartTime = MinuteOfDay(due);
        return SaveTask(moved, strId, TRUE, TRUE);
    }
    const short nDuration = (short)(pattern.m_nEndTime - pattern.m_nStartTime);
    const CDateValue start(DayAt(pattern.m_nPatternStart, pattern.m_nStartTime) + span);
    pattern.m_nPatternStart = pattern.m_nPatternEnd = start.GetDaySerial();
    pattern.m_nStartTime = MinuteOfDay(start);
    pattern.m_nEndTime = (short)std::min<int>(pattern.m_nStartTime + nDuration, kLastMinute);
    return SaveAppointment(moved, strId, TRUE, TRUE);
}

// ---- the next occurrence ---------------------------------------------------------------------------

BOOL CDataController::SetNextOccurrence(long nRecordId, const COleDateTime& next)
{
    if (nRecordId == 0 || next.GetStatus() != COleDateTime::valid)
        return FALSE;
    CFrameBusyGuard frameBusy(MainFrame());
    EnterBusy();
    CControllerBusyGuard busy(*this);
    CDataAppointment record;
    BOOL bTodo = FALSE;
    if (!ReadEntryOfId(nRecordId, record, bTodo))
        return FALSE;
    record.m_dtNextOccurrence = next;
    CString strId = StoredIdText(nRecordId);
    return bTodo ? SaveTask(record, strId, TRUE, TRUE) : SaveAppointment(record, strId, TRUE, TRUE);
}

// ---- postponing every open reminder ----------------------------------------------------------------

int CDataController::PostponeReminders()
{
    CMfxWaitCursor wait;
    if (m_reminderWindows.IsEmpty())
        return 0;
    CDbProgressDialog progress(FALSE, IDS_PROGRAM_NAME, IDS_POSTPONING_REMINDERS);
    const CMfxString strText(IDS_POSTPONING_REMINDERS);
    // No reminder falls due meanwhile.
    m_pTimers->StopPolling(m_nTimerJob);
    int nFailed = 0;
    {
        CFrameBusyGuard frameBusy(MainFrame());
        EnterBusy();
        CControllerBusyGuard busy(*this);
        CArray<DWORD, DWORD> ids;
        CArray<CDataReminderWindow*, CDataReminderWindow*> windows;
        m_reminderWindows.GetSnapshot(ids, windows);
        const double dStep = std::max(100.0 / (double)ids.GetSize(), kMinProgressStep);
        double dProgress = 0;
        for (int i = 0; i < ids.GetSize(); ++i) {
            const long nId = (long)ids[i];
            CDataAppointment record;
            COleDateTimeSpan span;
            COleDateTime next;
            BOOL bOpen;
            {
                // The window may have gone meanwhile (another handler closed it).
                CSingleLock lock(m_reminderWindows.GetLock(), TRUE);
                CDataReminderWindow* pWindow = NULL;
                bOpen = m_reminderWindows.Lookup(ids[i], pWindow) && pWindow == windows[i];
                if (bOpen) {
                    record = pWindow->GetRecord();
                    span = pWindow->GetSpan();
                    next = pWindow->GetNextOccurrence();
                }
            }
            if (bOpen) {
                if (Postpone(IdText(nId), record, span, 0)) {
                    SetNextOccurrence(nId, next);
                    m_reminderWindows.RemoveKeyAndDelete(ids[i]);
                } else
                    ++nFailed;
            }
            dProgress += dStep;
            progress.SetText(strText, std::min(100, (int)dProgress));
        }
        if (nFailed > 0)
            MfxMessageBoxId(IDS_POSTPONE_FAILED, -1, MB_ICONEXCLAMATION);
        progress.End();
    }
    m_pTimers->StartPolling(m_nTimerJob);
    return nFailed == 0 ? 1 : 0;
}
