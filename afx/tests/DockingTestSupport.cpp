#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using framestest::CPaneView;

namespace docktest {

// ---- the application ---------------------------------------------------------------------------

CDockApp::CDockApp()
{
    m_strKey.Format("OX-Test-Docking-%lu", ::GetCurrentProcessId());
    SetRegistryKey(m_strKey);
}

CDockApp::~CDockApp()
{
    HKEY hSoftware = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftware) == ERROR_SUCCESS) {
        DelRegTree(hSoftware, m_strKey);
        ::RegCloseKey(hSoftware);
    }
}

CString CDockApp::SectionPath(LPCTSTR lpszSection) const
{
    CString strPath;
    strPath.Format("Software\\%s\\%s\\%s", (LPCTSTR)m_strKey, m_pszProfileName, lpszSection);
    return strPath;
}

// ---- the frame ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CDockFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CDockFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_TB_NEW, OnNew)
ON_COMMAND(ID_TB_OPEN, OnOpen)
ON_COMMAND(ID_TB_CUT, OnCut)
ON_COMMAND(ID_TB_BOLD, OnBold)
ON_UPDATE_COMMAND_UI(ID_TB_SAVE, OnUpdateSave)
ON_UPDATE_COMMAND_UI(ID_TB_BOLD, OnUpdateBold)
ON_COMMAND(IDC_BAR_APPLY, OnApply)
END_MESSAGE_MAP()

CDockFrame::CDockFrame() {}

CDockFrame* CDockFrame::Make(const FrameSetup& setup, int x, int y, int cx, int cy)
{
    CDockFrame* pFrame = new CDockFrame;
    pFrame->m_setup = setup;
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CPaneView);
    if (!pFrame->Create(NULL, "Andocken", WS_OVERLAPPEDWINDOW, CRect(x, y, x + cx + 20, y + cy + 60), NULL, NULL, 0,
                        &context))
        return nullptr; // the frame is gone
    framestest::SetClientSize(pFrame, cx, cy);
    pFrame->ShowWindow(SW_SHOW);
    pFrame->SetForegroundWindow();
    pFrame->RecalcLayout();
    framestest::RunToIdle();
    return pFrame;
}

int CDockFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const DWORD dwBarStyle =
        WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, dwBarStyle) || !m_wndToolBar.LoadToolBar(IDR_DOCK_TOOLBAR))
        return -1;
    m_wndToolBar.SetWindowText("Standard");
    if (!m_wndToolBar2.CreateEx(this, TBSTYLE_FLAT, dwBarStyle, CRect(0, 0, 0, 0), IDW_SECOND_TOOLBAR) ||
        !m_wndToolBar2.LoadToolBar(IDR_DOCK_TOOLBAR2))
        return -1;
    m_wndToolBar2.SetWindowText("Format");
    if (!m_wndDialogBar.Create(this, IDD_DOCK_DIALOGBAR, WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY,
                               AFX_IDW_DIALOGBAR))
        return -1;
    m_wndDialogBar.SetWindowText("Auswahl");
    if (m_setup.bStatusBar) {
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(indicators, 4))
            return -1;
    }
    if (m_setup.bDocking) {
        m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
        m_wndToolBar2.EnableDocking(CBRS_ALIGN_ANY);
        m_wndDialogBar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        EnableDocking(CBRS_ALIGN_ANY);
        if (m_setup.bDockBars) {
            DockControlBar(&m_wndToolBar);
            DockControlBar(&m_wndToolBar2);
            DockControlBar(&m_wndDialogBar);
        }
    }
    return 0;
}

void CDockFrame::OnNew() { m_nNewCommands++; }

void CDockFrame::OnApply() { m_nApplyCommands++; }

void CDockFrame::OnBold() { m_bBold = !m_bBold; }

void CDockFrame::OnUpdateSave(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bCanSave); }

void CDockFrame::OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bBold); }

// ---- the tests' frames ----------------------------------------------------------------------------

CDockFrame* DockingTest::MakeFrame(const FrameSetup& setup, int x, int y, int cx, int cy)
{
    CDockFrame* pFrame = CDockFrame::Make(setup, x, y, cx, cy);
    if (pFrame != nullptr) {
        m_frames.push_back(pFrame->m_hWnd);
        m_app.m_pMainWnd = pFrame;
    }
    return pFrame;
}

void DockingTest::TearDown()
{
    for (HWND hWnd : m_frames) {
        CWnd* pFrame = ::IsWindow(hWnd) ? CWnd::FromHandlePermanent(hWnd) : NULL;
        if (pFrame != NULL)
            pFrame->DestroyWindow();
    }
    m_app.m_pMainWnd = NULL;
    framestest::TakeQuitMessage();
}

// ---- dock bars ---------------------------------------------------------------------------------

CDockBar* DockBar(CFrameWnd* pFrame, UINT nID)
{
    CControlBar* pBar = pFrame->GetControlBar(nID);
    return pBar != NULL && pBar->IsKindOf(RUNTIME_CLASS(CDockBar)) ? (CDockBar*)pBar : NULL;
}

std::vector<UINT> BarIds(const CDockBar* pDockBar)
{
    std::vector<UINT> ids;
    if (pDockBar == NULL)
        return ids;
    for (int i = 0; i < pDockBar->m_arrBars.GetSize(); i++) {
        void* pEntry = pDockBar->m_arrBars[i];
        if (pEntry == NULL)
            ids.push_back(0);
        else if ((UINT_PTR)pEntry <= 0xFFFF)
            ids.push_back((UINT)(UINT_PTR)pEntry | 0x10000);
        else
            ids.push_back((UINT)(WORD)::GetDlgCtrlID(((CControlBar*)pEntry)->m_hWnd));
    }
    return ids;
}

CRect RectIn(const CWnd* pWnd, const CWnd* pOther)
{
    CRect rect;
    ::GetWindowRect(pWnd->m_hWnd, &rect);
    ::MapWindowPoints(NULL, pOther->m_hWnd, (LPPOINT)&rect, 2);
    return rect;
}

CRect ScreenRect(const CWnd* pWnd)
{
    CRect rect;
    ::GetWindowRect(pWnd->m_hWnd, &rect);
    return rect;
}

// ---- mouse -------------------------------------------------------------------------------------

void PostDrag(CWnd* pBar, CPoint ptDown, std::initializer_list<CPoint> ptsScreen, UINT nEndKey,
              std::initializer_list<UINT> keysDown)
{
    pBar->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDown.x, ptDown.y));
    for (UINT nKey : keysDown)
        pBar->PostMessage(WM_KEYDOWN, nKey, 0);
    CPoint ptLast = ptDown;
    for (CPoint pt : ptsScreen) {
        ptLast = pt;
        pBar->ScreenToClient(&ptLast);
        pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptLast.x, ptLast.y));
    }
    if (nEndKey != 0)
        pBar->PostMessage(WM_KEYDOWN, nEndKey, 0);
    else
        pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptLast.x, ptLast.y));
}

// ---- registry ----------------------------------------------------------------------------------

DWORD RegDword(const CString& strPath, LPCTSTR lpszValue, BOOL* pbFound)
{
    DWORD dwValue = (DWORD)-1;
    DWORD dwType = 0;
    DWORD cbValue = sizeof(dwValue);
    HKEY hKey = NULL;
    BOOL bFound = FALSE;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        bFound = ::RegQueryValueExA(hKey, lpszValue, NULL, &dwType, (LPBYTE)&dwValue, &cbValue) == ERROR_SUCCESS &&
                 dwType == REG_DWORD && cbValue == sizeof(DWORD);
        ::RegCloseKey(hKey);
    }
    if (pbFound != NULL)
        *pbFound = bFound;
    return bFound ? dwValue : (DWORD)-1;
}

std::vector<std::string> RegValueNames(const CString& strPath)
{
    std::vector<std::string> names;
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0;; i++) {
        char szName[256];
        DWORD cchName = sizeof(szName);
        if (::RegEnumValueA(hKey, i, szName, &cchName, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
            break;
        names.push_back(szName);
    }
    ::RegCloseKey(hKey);
    return names;
}

BOOL RegKeyExists(const CString& strPath)
{
    HKEY hKey = NULL;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, strPath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return FALSE;
    ::RegCloseKey(hKey);
    return TRUE;
}

// ---- screenshots -------------------------------------------------------------------------------

std::string SaveFrameShot(CFrameWnd* pFrame, const char* pszName)
{
    // the frame, then the floating frames it owns that show, over it as on the screen
    std::vector<HWND> windows{pFrame->m_hWnd};
    std::vector<HWND> owned;
    for (HWND hWnd = ::GetWindow(::GetDesktopWindow(), GW_CHILD); hWnd != NULL; hWnd = ::GetWindow(hWnd, GW_HWNDNEXT)) {
        if (::GetWindow(hWnd, GW_OWNER) == pFrame->m_hWnd && ::IsWindowVisible(hWnd))
            owned.push_back(hWnd);
    }
    // (the desktop lists them topmost first)
    windows.insert(windows.end(), owned.rbegin(), owned.rend());
    return framestest::SaveWindowsShot(windows, pszName);
}

} // namespace docktest
