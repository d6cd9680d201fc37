#include "CMainFrame.h"

#include "CAppSettings.h"
#include "CDataController.h"
#include "COrvexApp.h"
#include "COrvexDoc.h"
#include "CReminderDialog.h"
#include "CTkGlobalData.h"
#include "MfxWindows.h"
#include "ShellResource.h"

IMPLEMENT_DYNCREATE(CMainFrame, CTkFrameWnd)

namespace {

// The view commands of the modes 0-4.
const UINT kViewCommands[] = {32780, 32779, 32778, 32790, 32777};

const UINT kIndicators[] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};

// Window styles of the bars: child, visible, gripper, top, bottom border, fly-by, tooltips and
// dynamic size; the toolbar also clips its children, the filter bar starts hidden until docked.
const DWORD kMenuBarStyle = 0x50402834;
const DWORD kToolBarStyle = 0x52402834;
const DWORD kFilterBarStyle = 0x00402834;
// child, visible, clip-children, bottom, top border
const DWORD kStatusBarStyle = 0x52008200;
// the bars dock at the top and at the bottom only
const DWORD kDockTopBottom = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
// the menu bar's extra toolkit bar style
const DWORD kMenuBarTkStyle = 0x306B;
const UINT kMenuBarId = 59480;
const char kBarStatesSection[] = "BarStates3";
const char kMainFrameClass[] = "OrvexMainFrame";

// Tests shorten the marker check (OX_TEST_MARKER_INTERVAL, milliseconds).
UINT MarkerInterval()
{
    char szValue[16];
    if (::GetEnvironmentVariableA("OX_TEST_MARKER_INTERVAL", szValue, sizeof(szValue)) != 0) {
        int n = atoi(szValue);
        if (n > 0)
            return (UINT)n;
    }
    return CMainFrame::kMarkerInterval;
}

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    char szClass[64];
    if (::IsWindowVisible(hWnd) && ::GetClassNameA(hWnd, szClass, sizeof(szClass)) != 0 &&
        (strcmp(szClass, "#32770") == 0 || strncmp(szClass, "VlmrDialog", 10) == 0))
        ((CArray<HWND, HWND>*)lParam)->Add(hWnd);
    return TRUE;
}

} // namespace

// Both registered once at program start.
static const UINT s_nUpdateViewsMessage = CMainFrame::GetUpdateViewsMessage();
static const UINT s_nTaskbarCreatedMessage = CMainFrame::GetTaskbarCreatedMessage();

BEGIN_MESSAGE_MAP(CMainFrame, CTkFrameWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CLOSE()
ON_WM_SYSCOMMAND()
ON_WM_TIMER()
ON_WM_ENDSESSION()
ON_WM_GETMINMAXINFO()
ON_MESSAGE(WM_TRAY_NOTIFY, OnTrayNotify)
ON_REGISTERED_MESSAGE(s_nUpdateViewsMessage, OnUpdateViewsMessage)
ON_REGISTERED_MESSAGE(s_nTaskbarCreatedMessage, OnTaskbarCreated)
ON_COMMAND_EX(ID_VIEW_DAY, OnViewCommand)
ON_COMMAND_EX(ID_VIEW_WEEK, OnViewCommand)
ON_COMMAND_EX(ID_VIEW_MONTH, OnViewCommand)
ON_COMMAND_EX(ID_VIEW_APPOINTMENTS, OnViewCommand)
ON_COMMAND_EX(ID_VIEW_TASKS, OnViewCommand)
ON_COMMAND(CMainFrame::kRefreshCommand, OnRefresh)
ON_MESSAGE(CDataMainFrame::msgDue, OnReminderDue)
ON_MESSAGE(WM_REMINDER_RESULT, OnReminderResult)
ON_MESSAGE(CDataMainFrame::msgFinished, OnReminderFinished)
ON_MESSAGE(CDataMainFrame::msgNextScheduled, OnReminderRescheduled)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_nBusy(0), m_nViewMode(-1), m_nPreviousViewMode(-1), m_nMarkerCloses(0)
{
    tkAfxData.bFlatLook = TRUE;
    tkAfxData.bMenuShadows = TRUE;
}

UINT CMainFrame::GetUpdateViewsMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageA("Orvex.Application.UpdateViews");
    return nMessage;
}

UINT CMainFrame::GetTaskbarCreatedMessage()
{
    static const UINT nMessage = ::RegisterWindowMessageA("TaskbarCreated");
    return nMessage;
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CTkFrameWnd::PreCreateWindow(cs))
        return FALSE;
    // The framework's class under the program's own name, with the program's icon.
    WNDCLASSA wc;
    HINSTANCE hInstance = AfxGetInstanceHandle();
    if (!::GetClassInfoA(hInstance, kMainFrameClass, &wc)) {
        if (!::GetClassInfoA(hInstance, cs.lpszClass, &wc))
            return FALSE;
        wc.hIcon = ::LoadIconA(hInstance, MAKEINTRESOURCEA(IsWindowsXPOrLater() ? IDR_MAINFRAME : IDI_ABOUT));
        wc.lpszClassName = kMainFrameClass;
        if (!AfxRegisterClass(&wc))
            return FALSE;
    }
    cs.lpszClass = kMainFrameClass;
    cs.style |= WS_CLIPCHILDREN;
    cs.style &= ~FWS_ADDTOTITLE; // the title is the program's name alone
    CAppSettings* pSettings = theApp.GetSettings();
    if (pSettings != NULL && !CRect(pSettings->m_rectMain).IsRectNull()) {
        CRect rect(pSettings->m_rectMain);
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.Width();
        cs.cy = rect.Height();
    }
    return TRUE;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTkFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_menuBar.CreateEx(this, TBSTYLE_FLAT, kMenuBarStyle, CRect(0, 0, 0, 0), kMenuBarId) ||
        !m_menuBar.LoadMenuBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    CString strTitle;
    strTitle.LoadString(IDS_TOOLBAR_TITLE);
    m_wndToolBar.SetWindowText(strTitle);
    if (!m_wndFilterBar.Create(this, IDR_MAINFRAME, kFilterBarStyle, ID_VIEW_FILTERBAR))
        return -1;
    strTitle.LoadString(IDS_FILTERBAR_TITLE);
    m_wndFilterBar.SetWindowText(strTitle);
    m_wndFilterBar.ModifyTkBarStyle(2, 1, TRUE);
    if (!m_wndStatusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(kIndicators, 4))
        return -1;
    m_wndStatusBar.SetPaneInfo(0, ID_SEPARATOR, SBPS_NOBORDERS | SBPS_STRETCH, 0);
    m_wndStatusBar.SetPaneInfo(1, ID_SEPARATOR, SBPS_NORMAL, 80);
    m_wndStatusBar.SetPaneInfo(2, ID_SEPARATOR, SBPS_NORMAL, 85);
    m_wndStatusBar.SetPaneInfo(3, ID_SEPARATOR, SBPS_NORMAL, 85);

    m_menuBar.EnableDocking(kDockTopBottom, kMenuBarTkStyle);
    m_wndToolBar.EnableDocking(kDockTopBottom);
    m_wndFilterBar.EnableDocking(kDockTopBottom);
    EnableDocking(kDockTopBottom);
    DockControlBar(&m_menuBar, 0, NULL);
    DockControlBar(&m_wndToolBar, 0, NULL);
    DockControlBar(&m_wndFilterBar, 0, NULL);
    InstallCoolMenus(IDR_MAINFRAME);
    LoadBarState(kBarStatesSection);
    m_nViewMode = 0;

    CDataController* pController = theApp.GetDataController();
    if (pController != NULL) {
        SetUserPane(pController->GetCurrentUser());
        SetAppointmentCountText(0);
        SetTaskCountText(0);
    }
    // The user list draws each user with its colour, as high as the appointment filter's items.
    if (m_userCombo.SubclassDlgItem(IDC_FILTER_USER, &m_wndFilterBar)) {
        CComboBox* pAppointments = (CComboBox*)m_wndFilterBar.GetDlgItem(IDC_FILTER_APPOINTMENTS);
        if (pAppointments != NULL)
            m_userCombo.SetItemHeight(0, pAppointments->GetItemHeight(0));
    }
    COrvexDoc* pDocument = theApp.GetOrvexDocument();
    if (pDocument == NULL || pDocument->IsVisibleInTray())
        theApp.SetTrayIcon(0, this);
    SetTimer(kMarkerTimer, MarkerInterval(), NULL);
    return 0;
}

void CMainFrame::OnDestroy()
{
    KillTimer(kMarkerTimer);
    theApp.SetTrayIcon(2, this);
    CTkFrameWnd::OnDestroy();
}

void CMainFrame::SetUserPane(LPCTSTR lpszUser)
{
    if (m_wndStatusBar.GetSafeHwnd() != NULL)
        m_wndStatusBar.SetPaneText(1, lpszUser);
}

void CMainFrame::SetAppointmentCountText(int nCount)
{
    CString strText;
    strText.Format("Termine: %d", nCount < 0 ? 0 : nCount);
    if (m_wndStatusBar.GetSafeHwnd() != NULL)
        m_wndStatusBar.SetPaneText(2, strText);
}

void CMainFrame::SetTaskCountText(int nCount)
{
    CString strText;
    strText.Format("Aufgaben: %d", nCount < 0 ? 0 : nCount);
    if (m_wndStatusBar.GetSafeHwnd() != NULL)
        m_wndStatusBar.SetPaneText(3, strText);
}

void CMainFrame::SelectViewMode(int nMode)
{
    if (nMode >= 0 && nMode <= 4)
        PostMessage(WM_COMMAND, kViewCommands[nMode]);
    Invalidate(FALSE);
}

BOOL CMainFrame::OnViewCommand(UINT nID)
{
    for (int nMode = 0; nMode < 5; nMode++) {
        if (kViewCommands[nMode] == nID) {
            m_nPreviousViewMode = m_nViewMode;
            m_nViewMode = nMode;
            if (CAppSettings* pSettings = theApp.GetSettings())
                pSettings->m_nLastActiveView = nMode;
            Invalidate(FALSE);
        }
    }
    return TRUE;
}

void CMainFrame::OnRefresh()
{
    if (CDataController* pController = theApp.GetDataController())
        pController->ReloadAll();
}

void CMainFrame::ShowMainWindow(BOOL bShow)
{
    if (bShow) {
        ShowWindow(SW_SHOW);
        MfxForceForegroundWindow(this);
    } else {
        ShowWindow(SW_HIDE);
        ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (CAppSettings* pSettings = theApp.GetSettings())
        pSettings->m_bVisible = bShow;
}

BOOL CMainFrame::EndOpenDialogs()
{
    CArray<HWND, HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, (LPARAM)&dialogs);
    for (int i = 0; i < dialogs.GetSize(); i++)
        ::SendMessageA(dialogs[i], WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return dialogs.GetSize() > 0;
}

void CMainFrame::OnClose()
{
    // An administrator's shutdown first ends the modal dialogs, whose loops must unwind before
    // the document and this frame go; the close comes again from the outer loop.
    if (AdminShutdownMarkerExists() && m_nMarkerCloses < 10 && EndOpenDialogs()) {
        m_nMarkerCloses++;
        PostMessage(WM_CLOSE);
        return;
    }
    SaveBarState(kBarStatesSection);
    CTkFrameWnd::OnClose();
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_CLOSE) {
        ShowMainWindow(FALSE);
        return;
    }
    CTkFrameWnd::OnSysCommand(nID, lParam);
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kMarkerTimer) {
        if (AdminShutdownMarkerExists())
            PostMessage(WM_CLOSE);
        return;
    }
    CTkFrameWnd::OnTimer(nIDEvent);
}

void CMainFrame::OnEndSession(BOOL bEnding)
{
    if (bEnding) {
        if (COrvexDoc* pDocument = theApp.GetOrvexDocument())
            pDocument->SetSessionEnding(TRUE);
    }
    CTkFrameWnd::OnEndSession(bEnding);
    // The documents are closed and the settings saved (ExitInstance ran): the process ends with
    // the session, here rather than waiting for Windows to end it.
    if (bEnding)
        ::ExitProcess(0);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    lpMMI->ptMinTrackSize.x = 540;
    lpMMI->ptMinTrackSize.y = 400;
}

LRESULT CMainFrame::OnTrayNotify(WPARAM, LPARAM lParam)
{
    UINT nMouse = LOWORD(lParam);
    if (nMouse == WM_LBUTTONDOWN || nMouse == WM_LBUTTONDBLCLK)
        ShowMainWindow(TRUE);
    return 0;
}

LRESULT CMainFrame::OnUpdateViewsMessage(WPARAM, LPARAM)
{
    if (CDataController* pController = theApp.GetDataController())
        pController->ReloadAll();
    return 0;
}

LRESULT CMainFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    COrvexDoc* pDocument = theApp.GetOrvexDocument();
    if (pDocument != NULL && pDocument->IsVisibleInTray()) {
        theApp.SetTrayIcon(2, this);
        theApp.SetTrayIcon(0, this);
    }
    return 0;
}
