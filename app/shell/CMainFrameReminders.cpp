// The main frame's reminder handlers: a due reminder runs the entry's automatic action and opens
// its reminder window (or hands it to the collective window); the windows' results acknowledge,
// postpone, move, edit or delete the entry through the data controller.
#include "CMainFrame.h"

#include "ActionJob.h"
#include "CAppSettings.h"
#include "CDataController.h"
#include "CDataMultiReminderWindow.h"
#include "CLinkedApplication.h"
#include "COrvexApp.h"
#include "CReminderDialog.h"
#include "CTerminRecordBuffer.h"
#include "CTerminTable.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"
#include "MfxWindows.h"
#include "ReminderResource.h"

namespace {

// The record id as the table stores it (ten digits).
CString StoredId(long nId)
{
    CString strId;
    strId.Format("%010ld", nId);
    return strId;
}

void PumpWaiting()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage((int)msg.wParam);
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Raises the frame's and the controller's busy counters for the handler's run.
class CReminderBusy {
public:
    CReminderBusy(volatile LONG* pFrameCounter, CDataController* pController)
        : m_pFrameCounter(pFrameCounter), m_pController(pController)
    {
        ::InterlockedIncrement(m_pFrameCounter);
        m_pController->EnterBusy();
    }
    ~CReminderBusy()
    {
        m_pController->LeaveBusy();
        ::InterlockedDecrement(m_pFrameCounter);
    }

private:
    volatile LONG* m_pFrameCounter;
    CDataController* m_pController;
};

CReminderDialog* FindWindowOf(CDataController* pController, DWORD nId)
{
    CDataController::CReminderWindowMap& map = pController->GetReminderWindows();
    CSingleLock lock(map.GetLock(), TRUE);
    CDataReminderWindow* pWindow = NULL;
    return map.Lookup(nId, pWindow) ? dynamic_cast<CReminderDialog*>(pWindow) : NULL;
}

// Looks the id up again, removes the entry and deletes its window.
void RemoveWindowOf(CDataController* pController, DWORD nId)
{
    pController->GetReminderWindows().RemoveKeyAndDelete(nId);
}

// Whether the entry's row is still in the table (the to-do instance for ids of the to-do map).
BOOL RowExists(CDataController* pController, long nId)
{
    CTerminTable* pTable =
        pController->GetTaskMap().Find(nId) ? pController->GetTaskTable() : pController->GetAppointmentTable();
    return pTable != NULL && pTable->FindRecordById(StoredId(nId)) > 0;
}

CLinkedApplication* FindActionApplication(CDataController* pController, const CString& strAction)
{
    CLinkedApplicationList& apps = pController->GetLinkedApplications();
    for (POSITION pos = apps.GetHeadPosition(); pos != NULL;) {
        CLinkedApplication* pApp = apps.GetNext(pos);
        if (pApp != NULL && pApp->FindAction(strAction) != NULL)
            return pApp;
    }
    return NULL;
}

} // namespace

LRESULT CMainFrame::OnReminderDue(WPARAM, LPARAM lParam)
{
    CDataController* pController = theApp.GetDataController();
    CTerminTable* pTable = pController != NULL ? pController->GetAppointmentTable() : NULL;
    if (pTable == NULL)
        return 0;
    CReminderBusy busy(&m_nBusy, pController);
    long nId = (long)lParam;
    long nFiredId = 0;
    CDataAppointment record;
    {
        CTerminRecordBuffer row(pTable);
        if (!pController->ReadAppointment(StoredId(nId), record, row))
            return 0;
    }
    if (!record.m_strMovedRecordId.IsEmpty()) {
        // The postponement copy fired: the reminder shows the entry it was made for.
        const long nTarget = atol(record.m_strMovedRecordId);
        if (pTable->FindRecordById(StoredId(nTarget)) <= 0)
            return 0;
        nFiredId = nId;
        nId = nTarget;
        CDataAppointment target;
        CTerminRecordBuffer row(pTable);
        if (pController->ReadAppointment(StoredId(nTarget), target, row))
            record = target;
    }

    if (!record.m_action.m_strName.IsEmpty() && record.m_action.m_nActionType == 0) {
        ActionJob* pJob =
            new ActionJob(pController, record, FindActionApplication(pController, record.m_action.m_strName));
        AfxBeginThread(RunActionThread, pJob, THREAD_PRIORITY_BELOW_NORMAL, 512);
    }
    if (!record.m_bRemind)
        return 0;

    CDataController::CReminderWindowMap& map = pController->GetReminderWindows();
    CReminderDialog* pDialog = NULL;
    {
        CSingleLock lock(map.GetLock(), TRUE);
        CDataReminderWindow* pOpen = NULL;
        if (map.Lookup((DWORD)nId, pOpen))
            return 0;
        pDialog = new CReminderDialog(record, this, CWnd::GetDesktopWindow(), pController);
        pDialog->m_nOriginalId = nFiredId;
        map.SetAt((DWORD)nId, pDialog);
    }
    CAppSettings* pSettings = theApp.GetSettings();
    const BOOL bCollective = pSettings != NULL && pSettings->m_bMultiReminderDlg;
    const BOOL bToFront = pSettings == NULL || pSettings->m_bReminderToFront;
    if (bCollective)
        pController->ShowInCollectiveReminder(nId);
    else if (!pDialog->Create()) {
        RemoveWindowOf(pController, (DWORD)nId);
        return 0;
    }
    PlaySoundEvent("OX_Erinnerung");
    // Creating the window runs messages: a result may have removed the entry meanwhile.
    if (!bCollective && FindWindowOf(pController, (DWORD)nId) != pDialog)
        return 0;
    const int n = (int)map.GetCount();
    CWnd* pShown = pDialog;
    if (bCollective) {
        CDataMultiReminderWindow* pCollective = pController->GetCollectiveReminder();
        pShown = pCollective != NULL ? CWnd::FromHandle(pCollective->GetWindowHandle()) : NULL;
    } else
        pDialog->SetWindowPos(NULL, 10 + 5 * n, 10 + 5 * n, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pShown != NULL && pShown->m_hWnd != NULL) {
        if (bToFront) {
            MfxForceForegroundWindow(pShown);
            pShown->BringWindowToTop();
        } else
            ::SetWindowPos(pShown->m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (!bCollective && FindWindowOf(pController, (DWORD)nId) == pDialog)
        pDialog->ShowWindow(bToFront ? SW_SHOW : SW_SHOWNOACTIVATE);
    return 0;
}

LRESULT CMainFrame::OnReminderResult(WPARAM wParam, LPARAM lParam)
{
    PumpWaiting();
    CDataController* pController = theApp.GetDataController();
    if (pController == NULL || lParam == 0)
        return -1;
    const DWORD nId = *(const DWORD*)lParam;
    CReminderDialog* pDialog = FindWindowOf(pController, nId);
    if (pDialog == NULL)
        return -1;
    const CString strId = StoredId((long)nId);
    CReminderBusy busy(&m_nBusy, pController);
    CAppSettings* pSettings = theApp.GetSettings();
    const BOOL bCollective = pSettings != NULL && pSettings->m_bMultiReminderDlg;
    const BOOL bTodo = pController->GetTaskMap().Find((long)nId) ? TRUE : FALSE;

    switch ((int)wParam) {
    case REMINDER_CLOSE:
        if (pDialog->m_bTimerFinished)
            pController->AcknowledgeReminder((long)nId, FALSE);
        pController->SetNextOccurrence((long)nId, pDialog->m_dtNextOccurrence);
        RemoveWindowOf(pController, nId);
        break;
    case REMINDER_POSTPONE: {
        // The collective window's span comes with that window (not built here yet): the entry's
        // own window keeps the span the user chose there in either mode.
        (void)bCollective;
        const COleDateTimeSpan span = pDialog->GetSpan();
        if (pController->PostponeReminder(strId, pDialog->GetRecord(), span, pDialog->m_nOriginalId)) {
            pController->SetNextOccurrence((long)nId, pDialog->m_dtNextOccurrence);
            RemoveWindowOf(pController, nId);
        } else if (!RowExists(pController, (long)nId)) {
            // (the postponement has reported 40062; the entry is gone, so its window goes)
            MfxMessageBoxId(IDS_ENTRY_GONE, -2, MB_ICONEXCLAMATION, pDialog);
            RemoveWindowOf(pController, nId);
        }
        break;
    }
    case REMINDER_EDIT:
        RemoveWindowOf(pController, nId);
        PumpWaiting();
        if (bTodo)
            pController->EditTask(strId);
        else
            pController->EditAppointment(strId);
        break;
    case REMINDER_MOVE: {
        const COleDateTimeSpan span = pDialog->GetSpan();
        if (!RowExists(pController, (long)nId)) {
            MfxMessageBoxId(IDS_ENTRY_GONE, -2, MB_ICONEXCLAMATION, pDialog);
            RemoveWindowOf(pController, nId);
        } else if (pController->MoveItemBySpan(strId, pDialog->GetRecord(), span))
            RemoveWindowOf(pController, nId);
        else
            MfxMessageBoxId(IDS_MOVE_FAILED, -2, MB_ICONEXCLAMATION, pDialog);
        break;
    }
    case REMINDER_DELETE: {
        const int nDeleted = bTodo ? pController->DeleteTask(strId, FALSE) : pController->DeleteAppointment(strId, FALSE);
        if (nDeleted != 0 || !RowExists(pController, (long)nId))
            RemoveWindowOf(pController, nId);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CMainFrame::OnReminderFinished(WPARAM, LPARAM lParam)
{
    const long nId = (long)lParam;
    CDataController* pController = theApp.GetDataController();
    if (nId == 0 || pController == NULL)
        return 0;
    PumpWaiting();
    ::Sleep(500);
    CReminderDialog* pDialog = FindWindowOf(pController, (DWORD)nId);
    if (pDialog != NULL) {
        pController->AcknowledgeReminder(nId, TRUE);
        pDialog->m_bTimerFinished = TRUE;
        return 1;
    }
    return pController->AcknowledgeReminder(nId, FALSE) ? 0 : -1;
}

LRESULT CMainFrame::OnReminderRescheduled(WPARAM, LPARAM lParam)
{
    const long nId = (long)lParam;
    CDataController* pController = theApp.GetDataController();
    if (nId == 0 || pController == NULL)
        return 0;
    PumpWaiting();
    ::Sleep(200);
    COleDateTime due;
    if (!pController->LookupDueTime(nId, due))
        due.SetStatus(COleDateTime::null);
    CReminderDialog* pDialog = FindWindowOf(pController, (DWORD)nId);
    if (pDialog == NULL)
        return pController->SetNextOccurrence(nId, due);
    if (due.GetStatus() != COleDateTime::valid)
        return 0;
    pDialog->m_dtNextOccurrence = due;
    return 1;
}
