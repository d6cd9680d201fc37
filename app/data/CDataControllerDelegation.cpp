// The data controller's delegation of entries to other users: a copy of the entry is written for
// the chosen user, and with the move option the original is deleted, only once its copy is safely
// in the table.
#include "CDataController.h"

#include "CControllerBusyGuard.h"
#include "CDataAppointment.h"
#include "CDataApplication.h"
#include "CDataDialogs.h"
#include "CDataDocument.h"
#include "CFrameBusyGuard.h"
#include "CItemVersion.h"
#include "CMfxWaitCursor.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"

namespace {

CDataApplication* App() { return CDataApplication::Get(); }

CDataMainFrame* MainFrame() { return App() != NULL ? App()->GetMainFrame() : NULL; }

CDataDialogs* Dialogs() { return App() != NULL ? App()->GetDialogs() : NULL; }

void Warn(UINT nText) { MfxMessageBoxId(nText, -1, MB_ICONEXCLAMATION); }

// The delegation dialog; IDCANCEL without dialogs.
int RunDelegateDialog(CString& strUser, BOOL& bMove)
{
    CDataDialogs* pDialogs = Dialogs();
    return pDialogs != NULL ? pDialogs->Delegate(strUser, bMove) : IDCANCEL;
}

LPARAM DelegationHint(BOOL bTodo) { return bTodo ? CDataDocument::hintTodoCreated : CDataDocument::hintAppointmentCreated; }

} // namespace

int CDataController::ReadEntryToDelegate(LPCTSTR lpszRecordId, CDataAppointment& record,
                                         std::unique_ptr<CTerminRecordBuffer>& row, BOOL& bTodo)
{
    const long nId = CItemVersion::ParseNumber(lpszRecordId);
    // The table of the map that holds the id (appointment map first); an entry that is not loaded
    // (another user's entry outside the filter) is read from the table itself, and its TYPE tells
    // what it is.
    auto read = [&](CTerminTable* pTable) {
        row.reset(new CTerminRecordBuffer(pTable));
        return ReadEntry(pTable, lpszRecordId, record, *row, TRUE);
    };
    bTodo = FALSE;
    if (m_appointmentMap.Find(nId) && read(m_pAppointmentTable))
        bTodo = FALSE;
    else if (m_todoMap.Find(nId) && read(m_pTodoTable))
        bTodo = TRUE;
    else if (read(m_pAppointmentTable) || read(m_pTodoTable))
        bTodo = record.m_bTodo;
    else {
        row.reset();
        return 0;
    }
    if (record.m_strUser != m_strCurrentUser && (m_nRights & kRightManageOthers) == 0)
        return -1;
    return 1;
}

BOOL CDataController::WriteDelegatedCopy(const CTerminRecordBuffer& source, const CDataAppointment& record, BOOL bTodo,
                                         LPCTSTR lpszRecordId, LPCTSTR lpszUser, BOOL bMove)
{
    EntrySide side = bTodo ? TodoSide() : AppointmentSide();
    BOOL bWritten;
    // A move locks the original and reads it again before its copy is made: a change another
    // station made since the entry was read (while the dialog was open) goes with the copy
    // instead of being deleted with the original.
    std::unique_ptr<CTerminRecordBuffer> original;
    if (bMove) {
        EnterBusy();
        CControllerBusyGuard busy(*this);
        original.reset(new CTerminRecordBuffer(source.GetTable()));
        original->AttachFields();
        const long nRecNo = side.pTable->FindRecordById(lpszRecordId);
        if (nRecNo <= 0 || original->LockAndRead(nRecNo) != 0) {
            Warn(nRecNo <= 0 ? IDS_ENTRY_GONE : IDS_DB_RECORD_IN_USE);
            return FALSE;
        }
    }
    {
        EnterBusy();
        CControllerBusyGuard busy(*this);
        // The row's own buffer, every field of it (also those no record carries), written as a
        // new row: the table gives it a RECORDID and FOOTPRINT of its own.
        CTerminRecordBuffer row(original ? *original : source);
        row.ForgetRow();
        row.SetFieldValue("USER", lpszUser);
        row.StampChange(m_strCurrentUser);
        bWritten = (!m_copyWriteHook || m_copyWriteHook(record)) && row.WriteRecord() == 0;
        row.UnlockRecord();
    }
    if (!bWritten) {
        // The original is kept: nothing of the entry is lost.
        Warn(IDS_SAVE_ERROR);
        return FALSE;
    }
    if (bMove)
        DeleteEntry(side, lpszRecordId, FALSE);
    return TRUE;
}

void CDataController::DelegateItem(LPCTSTR lpszRecordId)
{
    CMfxWaitCursor wait;
    EnterBusy();
    CControllerBusyGuard busy(*this);
    CFrameBusyGuard frameBusy(MainFrame());
    CDataAppointment record;
    std::unique_ptr<CTerminRecordBuffer> row;
    BOOL bTodo = FALSE;
    const int nRead = ReadEntryToDelegate(lpszRecordId, record, row, bTodo);
    if (nRead == 0)
        Warn(IDS_ENTRY_GONE);
    else if (nRead < 0)
        Warn(IDS_DELEGATE_OWN_ONLY);
    else if ((m_nRights & kRightDelegate) != 0) {
        CString strUser;
        BOOL bMove = FALSE;
        if (RunDelegateDialog(strUser, bMove) == IDOK) {
            PumpWaitingMessages();
            WriteDelegatedCopy(*row, record, bTodo, lpszRecordId, strUser, bMove);
        }
    }
    busy.Release();
    TellViews(DelegationHint(bTodo), NULL, NULL);
}

void CDataController::DelegateItems(const CStringList& ids)
{
    if ((m_nRights & kRightDelegate) == 0)
        return;
    EnterBusy();
    CControllerBusyGuard busy(*this);
    CFrameBusyGuard frameBusy(MainFrame());
    CString strUser;
    BOOL bMove = FALSE;
    if (RunDelegateDialog(strUser, bMove) != IDOK)
        return;
    PumpWaitingMessages();
    CMfxWaitCursor wait;
    BOOL bRefused = FALSE, bMissing = FALSE, bTodo = FALSE;
    for (POSITION pos = ids.GetHeadPosition(); pos != NULL;) {
        const CString strId = ids.GetNext(pos);
        CDataAppointment record;
        std::unique_ptr<CTerminRecordBuffer> row;
        BOOL bEntryTodo = FALSE;
        const int nRead = ReadEntryToDelegate(strId, record, row, bEntryTodo);
        if (nRead == 0) {
            bMissing = TRUE;
            continue;
        }
        bTodo = bEntryTodo;
        if (nRead < 0) {
            bRefused = TRUE;
            continue;
        }
        WriteDelegatedCopy(*row, record, bTodo, strId, strUser, bMove);
    }
    if (bRefused)
        Warn(IDS_DELEGATE_OWN_ONLY);
    if (bMissing)
        Warn(IDS_ENTRY_GONE);
    busy.Release();
    TellViews(DelegationHint(bTodo), NULL, NULL);
}
