#include "CReminderDialog.h"

#include "ActionJob.h"
#include "CAppSettings.h"
#include "CDataApplication.h"
#include "CDataController.h"
#include "CDataEntryObjects.h"
#include "CLinkedAction.h"
#include "CLinkedApplication.h"
#include "CMfxWaitCursor.h"
#include "DataStrings.h"
#include "MfxMessageBox.h"
#include "ReminderPanelText.h"
#include "ReminderResource.h"
#include "vlCT11.h"

IMPLEMENT_DYNAMIC(CReminderDialog, CMfxDialog)

BEGIN_MESSAGE_MAP(CReminderDialog, CMfxDialog)
ON_BN_CLICKED(IDC_REMINDER_POSTPONE, OnPostpone)
ON_BN_CLICKED(IDC_REMINDER_MOVE, OnMove)
ON_BN_CLICKED(IDC_REMINDER_EDIT, OnEdit)
ON_BN_CLICKED(IDC_REMINDER_RUN, OnRunAction)
ON_BN_CLICKED(IDC_REMINDER_GOTO, OnGotoRecord)
ON_BN_CLICKED(IDC_REMINDER_NOTES, OnAppendNotes)
ON_BN_CLICKED(IDC_REMINDER_DELETE, OnDelete)
ON_BN_CLICKED(IDC_REMINDER_HELP, OnHelpButton)
END_MESSAGE_MAP()

namespace {

CAppSettings* Settings()
{
    CDataApplication* pApp = CDataApplication::Get();
    return pApp != NULL ? pApp->GetSettings() : NULL;
}

// The main window's wait cursor while a button works.
struct ButtonWork {
    CMfxWaitCursor wait;
};

} // namespace

CReminderDialog::CReminderDialog(CDataAppointment record, CWnd* pNotifyWnd, CWnd* pParent, CDataController* pController)
    : CMfxDialog(IDD_REMINDER, pParent), m_nSpanCount(0), m_pParent(pParent), m_pNotifyWnd(pNotifyWnd),
      m_bTimerFinished(FALSE), m_nOriginalId(0), m_record(record), m_pController(pController)
{
    m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_REMINDER), IMAGE_ICON, 16, 16, 0);
    m_dtNextOccurrence = COleDateTime::GetCurrentTime();
    m_dtNextOccurrence.SetStatus(COleDateTime::null);
}

CReminderDialog::~CReminderDialog()
{
    if (m_hWnd != NULL)
        DestroyWindow();
    if (m_hIcon != NULL)
        ::DestroyIcon(m_hIcon);
}

BOOL CReminderDialog::Create()
{
    return CMfxDialog::Create(IDD_REMINDER, m_pParent);
}

DWORD CReminderDialog::GetItemId() const
{
    return (DWORD)strtoul(m_record.m_strRecordId, NULL, 10);
}

void CReminderDialog::DoDataExchange(CDataExchange* pDX)
{
    CMfxDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REMINDER_UNIT, m_cmbUnit);
    DDX_Text(pDX, IDC_REMINDER_COUNT, m_nSpanCount);
}

BOOL CReminderDialog::OnInitDialog()
{
    CString strFormat, strKind, strCaption;
    GetWindowText(strFormat);
    strKind.LoadString(m_record.m_bTodo ? IDS_KIND_TODO : IDS_KIND_APPOINTMENT);
    strCaption.Format(strFormat, (LPCTSTR)strKind);
    SetWindowText(strCaption);

    CAppSettings* pSettings = Settings();
    m_nSpanCount = pSettings != NULL ? pSettings->m_nDefMoveSpan : 15;
    CMfxDialog::OnInitDialog();

    if (CMenu* pMenu = GetSystemMenu(FALSE)) {
        pMenu->RemoveMenu(SC_CLOSE, MF_BYCOMMAND);
        pMenu->RemoveMenu(SC_MAXIMIZE, MF_BYCOMMAND);
        pMenu->RemoveMenu(SC_SIZE, MF_BYCOMMAND);
    }
    CString strHover;
    strHover.LoadString(IDS_HOVER_POSTPONE);
    CtlAttachHelpWindowA(GetDlgItem(IDC_REMINDER_POSTPONE)->GetSafeHwnd(), strHover, 0);
    strHover.LoadString(IDS_HOVER_MOVE);
    CtlAttachHelpWindowA(GetDlgItem(IDC_REMINDER_MOVE)->GetSafeHwnd(), strHover, 0);

    ::SetWindowContextHelpId(m_hWnd, IDD_REMINDER);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);

    m_edtCount.SubclassEdit(IDC_REMINDER_COUNT, this, PES_DIGITS);
    m_edtCount.LimitText(2);

    SetDlgItemText(IDC_REMINDER_INFO, BuildReminderPanelText(m_record));

    const BOOL bLinked = !m_record.m_strAppId.IsEmpty() && !m_record.m_strDbPath.IsEmpty() && m_record.m_nDbRecId != 0;
    if (!bLinked) {
        GetDlgItem(IDC_REMINDER_GOTO)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_REMINDER_NOTES)->ShowWindow(SW_HIDE);
    }
    const BOOL bAllDay =
        !m_record.m_bTodo && m_record.m_pattern.m_nStartTime == 0 && m_record.m_pattern.m_nEndTime == 1439;
    GetDlgItem(IDC_REMINDER_MOVE)->EnableWindow(!m_record.m_bSeries && !bAllDay);

    for (UINT nId = IDS_UNIT_MINUTES; nId <= IDS_UNIT_DAYS; nId++) {
        CString strUnit;
        strUnit.LoadString(nId);
        CString strText, strMinutes;
        AfxExtractSubString(strText, strUnit, 0, ';');
        AfxExtractSubString(strMinutes, strUnit, 1, ';');
        const int nIndex = m_cmbUnit.AddString(strText);
        m_cmbUnit.SetItemData(nIndex, (DWORD_PTR)atol(strMinutes));
    }
    // A unit outside the list takes minutes, so that a postponement never gets a zero span.
    int nUnit = pSettings != NULL ? pSettings->m_nDefMoveUnit : 0;
    if (nUnit < 0 || nUnit > 2)
        nUnit = 0;
    m_cmbUnit.SetCurSel(nUnit);

    CLinkedAction* pAction = NULL;
    if (!m_record.m_action.m_strName.IsEmpty() && m_record.m_action.m_nActionType == 1) {
        if (CLinkedApplication* pApp = FindActionApplication())
            pAction = pApp->FindAction(m_record.m_action.m_strName);
    }
    if (pAction != NULL)
        SetDlgItemText(IDC_REMINDER_ACTION, pAction->m_strTitle);
    else {
        GetDlgItem(IDC_REMINDER_ACTION)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_REMINDER_RUN)->ShowWindow(SW_HIDE);
        GetDlgItem(IDC_REMINDER_ACTION_LABEL)->ShowWindow(SW_HIDE);
        CRect rcPanel, rcRun;
        GetDlgItem(IDC_REMINDER_INFO)->GetWindowRect(rcPanel);
        GetDlgItem(IDC_REMINDER_RUN)->GetWindowRect(rcRun);
        ScreenToClient(rcPanel);
        ScreenToClient(rcRun);
        rcPanel.bottom = rcRun.bottom;
        GetDlgItem(IDC_REMINDER_INFO)->MoveWindow(rcPanel);
    }
    return TRUE;
}

CLinkedApplication* CReminderDialog::FindActionApplication() const
{
    if (m_pController == NULL || m_record.m_action.m_strName.IsEmpty())
        return NULL;
    CLinkedApplicationList& apps = m_pController->GetLinkedApplications();
    for (POSITION pos = apps.GetHeadPosition(); pos != NULL;) {
        CLinkedApplication* pApp = apps.GetNext(pos);
        if (pApp != NULL && pApp->FindAction(m_record.m_action.m_strName) != NULL)
            return pApp;
    }
    return NULL;
}

COleDateTimeSpan CReminderDialog::GetSpan()
{
    if (m_hWnd != NULL && !UpdateData(TRUE))
        return COleDateTimeSpan(0, 0, 0, 0);
    const int nSel = m_cmbUnit.m_hWnd != NULL ? m_cmbUnit.GetCurSel() : CB_ERR;
    if (nSel == CB_ERR)
        return COleDateTimeSpan(0, 0, 0, 0);
    return COleDateTimeSpan(0, 0, m_nSpanCount * (long)m_cmbUnit.GetItemData(nSel), 0);
}

LRESULT CReminderDialog::SendResult(int nCode)
{
    DWORD nId = GetItemId();
    CWnd* pNotify = m_pNotifyWnd;
    return pNotify != NULL ? pNotify->SendMessage(WM_REMINDER_RESULT, nCode, (LPARAM)&nId) : -1;
}

void CReminderDialog::SendSpanResult(int nCode)
{
    ButtonWork work;
    CString strCount;
    GetDlgItemText(IDC_REMINDER_COUNT, strCount);
    if (atol(strCount) <= 0) {
        MfxMessageBoxId(IDS_SPAN_INVALID, -2, MB_ICONEXCLAMATION, this);
        GetDlgItem(IDC_REMINDER_COUNT)->SetFocus();
        return;
    }
    SendResult(nCode);
}

void CReminderDialog::OnPostpone() { SendSpanResult(REMINDER_POSTPONE); }

void CReminderDialog::OnMove() { SendSpanResult(REMINDER_MOVE); }

void CReminderDialog::OnEdit()
{
    ButtonWork work;
    SendResult(REMINDER_EDIT);
}

void CReminderDialog::OnOK() { SendResult(REMINDER_CLOSE); }

void CReminderDialog::OnDelete()
{
    if (MfxMessageBoxId(IDS_ASK_DELETE, -2, MB_YESNO | MB_ICONQUESTION, this) == IDYES)
        SendResult(REMINDER_DELETE);
}

void CReminderDialog::OnRunAction()
{
    ButtonWork work;
    // Everything the run needs is taken before the message: its receiver may delete this window.
    const BOOL bManual = m_record.m_action.m_nActionType == 1;
    CDataController* pController = m_pController;
    ActionJob* pJob = bManual ? new ActionJob(pController, m_record, FindActionApplication()) : NULL;
    SendResult(REMINDER_RUN_ACTION);
    if (pJob != NULL)
        AfxBeginThread(RunActionThread, pJob, THREAD_PRIORITY_BELOW_NORMAL, 512);
}

void CReminderDialog::CallLinkedApplication(BOOL bAppendNotes)
{
    ButtonWork work;
    const CDataAppointment record = m_record;
    CDataController* pController = m_pController;
    SendResult(bAppendNotes ? REMINDER_APPEND_NOTES : REMINDER_GOTO_RECORD);
    CLinkedApplication* pApp = pController != NULL ? pController->FindLinkedApplication(record.m_strAppId) : NULL;
    if (pApp == NULL)
        return;
    CDataApplication* pDataApp = CDataApplication::Get();
    CDataEntryObjects* pObjects = pDataApp != NULL ? pDataApp->GetEntryObjects() : NULL;
    LPDISPATCH pEntry = pObjects != NULL ? pObjects->CreateEntryObject(record) : NULL;
    CString strNumber;
    strNumber.Format("%ld", (long)record.m_nDbRecId);
    const int nDone = bAppendNotes ? pApp->AddContToRec(strNumber, record.m_strDbPath, pEntry)
                                   : pApp->JumpToRec(strNumber, record.m_strDbPath, pEntry);
    if (!nDone)
        MfxMessageBoxId(bAppendNotes ? IDS_NOTES_FAILED : IDS_LINKED_JUMP_FAILED, -2, MB_ICONEXCLAMATION);
    if (pEntry != NULL)
        pEntry->Release();
}

void CReminderDialog::OnGotoRecord() { CallLinkedApplication(FALSE); }

void CReminderDialog::OnAppendNotes() { CallLinkedApplication(TRUE); }

void CReminderDialog::OnHelpButton() { AfxGetApp()->WinHelp(IDD_REMINDER, HELP_CONTEXT); }

BOOL CReminderDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CMfxDialog::PreTranslateMessage(pMsg);
}
