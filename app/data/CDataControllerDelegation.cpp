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

int CDataController::ReadEntryToDelegate(LPCTSTR lpszRecordId, CDataAppointment& record, BOOL& bTodo)
{
    bTodo = FALSE;
    if (!ReadEntryOfId(CItemVersion::ParseNumber(lpszRecordId), record, bTodo)) {
        // Not loaded (another user's entry outside the filter): read from the table itself.
        CTerminRecordBuffer row(m_pAppointmentTable);
        if (!ReadAppointment(lpszRecordId, record, row)) {
            CTerminRecordBuffer todoRow(m_pTodoTable);
            if (!ReadTask(lpszRecordId, record, todoRow))
                return 0;
        }
        bTodo = record.m_bTodo;
    }
    if (record.m_strUser != m_strCurrentUser && (m_nRights & kRightManageOthers) == 0)
        return -1;
    return 1;
}

BOOL CDataController::WriteDelegatedCopy(const CDataAppointment& record, BOOL bTodo, LPCTSTR lpszRecordId,
                                         LPCTSTR lpszUser, BOOL bMove)
{
    EntrySide side = bTodo ? TodoSide() : AppointmentSide();
    BOOL bWritten;
    {
        EnterBusy();
        CControllerBusyGuard busy(*this);
        // A buffer without a record number: the table writes a new row with a RECORDID and
        // FOOTPRINT of its own.
        CTerminRecordBuffer row(side.pTable);
        row.AttachFields();
        row.Clear();
        CDataAppointment copy(record);
        row.PutAppointment(copy);
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
    BOOL bTodo = FALSE;
    const int nRead = ReadEntryToDelegate(lpszRecordId, record, bTodo);
    if (nRead == 0)
        Warn(IDS_ENTRY_GONE);
    else if (nRead < 0)
        Warn(IDS_DELEGATE_OWN_ONLY);
    else if ((m_nRights & kRightDelegate) != 0) {
        CString strUser;
        BOOL bMove = FALSE;
        if (RunDelegateDialog(strUser, bMove) == IDOK) {
            PumpWaitingMessages();
            WriteDelegatedCopy(record, bTodo, lpszRecordId, strUser, bMove);
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
        BOOL bEntryTodo = FALSE;
        const int nRead = ReadEntryToDelegate(strId, record, bEntryTodo);
        if (nRead == 0) {
            bMissing = TRUE;
            continue;
        }
        bTodo = bEntryTodo;
        if (nRead < 0) {
            bRefused = TRUE;
            continue;
        }
        WriteDelegatedCopy(record, bTodo, strId, strUser, bMove);
    }
    if (bRefused)
        Warn(IDS_DELEGATE_OWN_ONLY);
    if (bMissing)
        Warn(IDS_ENTRY_GONE);
    busy.Release();
    TellViews(DelegationHint(bTodo), NULL, NULL);
}
