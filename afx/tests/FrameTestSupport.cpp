#include "FrameTestSupport.h"
#include "FramesTestResource.h"

#include <string.h>

#include "Png.h"
#include "TestKit.h"

namespace framestest {

Log& TheLog()
{
    static Log s_log;
    return s_log;
}

// ---- the application ---------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CProbeApp, CWinApp)
ON_COMMAND(ID_PROBE_APP, OnProbeApp)
ON_COMMAND(ID_ROUTE_ALL, OnRouteApp)
ON_COMMAND(ID_ROUTE_DOC_FRAME_APP, OnRouteApp)
ON_COMMAND(ID_ROUTE_TEMPLATE_FRAME_APP, OnRouteApp)
ON_COMMAND(ID_ROUTE_FRAME_APP, OnRouteApp)
ON_COMMAND(ID_ROUTE_APP, OnRouteApp)
ON_COMMAND_EX(ID_ROUTE_CHAIN, OnRouteChain)
ON_COMMAND(ID_FILE_NEW, OnFileNew)
END_MESSAGE_MAP()

CProbeApp::CProbeApp() { AfxWinInit(::GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL); }

CProbeApp::~CProbeApp()
{
    // a main window left by a failed test goes before the application
    if (m_pMainWnd != NULL && m_pMainWnd->m_hWnd != NULL)
        m_pMainWnd->DestroyWindow();
    TakeQuitMessage();
}

void CProbeApp::WinHelp(DWORD_PTR dwData, UINT nCmd) { m_helpCalls.emplace_back(dwData, nCmd); }

void CProbeApp::EnableModeless(BOOL bEnable) { m_modeless.push_back(bEnable); }

void CProbeApp::OnProbeApp() { TheLog().push_back("app"); }

void CProbeApp::OnRouteApp() { TheLog().push_back("app"); }

BOOL CProbeApp::OnRouteChain(UINT)
{
    TheLog().push_back("app");
    return FALSE;
}

// ---- the message loop ------------------------------------------------------------------------------

void RunToIdle()
{
    for (int nRound = 0; nRound < 100; nRound++) {
        MSG msg;
        while (::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT)
                return;
            AfxPumpMessage();
        }
        CWinThread* pThread = AfxGetThread();
        for (LONG lCount = 0; pThread != NULL && pThread->OnIdle(lCount); lCount++) {
        }
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_NOREMOVE))
            return;
    }
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    DWORD dwStart = ::GetTickCount();
    while (!pred()) {
        DWORD dwElapsed = ::GetTickCount() - dwStart;
        if (dwElapsed >= timeoutMs)
            return pred();
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, timeoutMs - dwElapsed, QS_ALLINPUT);
        RunToIdle();
    }
    return true;
}

bool TakeQuitMessage()
{
    MSG msg;
    bool bQuit = false;
    while (::PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE))
        bQuit = true;
    return bQuit;
}

// ---- views -----------------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPaneView, CView)

void CPaneView::OnDraw(CDC* pDC)
{
    static const COLORREF kColours[] = {RGB(0xE8, 0xF0, 0xFF), RGB(0xFF, 0xF4, 0xE0), RGB(0xE8, 0xFF, 0xE8), RGB(0xFF, 0xE8, 0xF0)};
    int nID = GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, kColours[((nID / 16) * 2 + nID % 16) % 4]);
    CString strText;
    strText.Format("Bereich %d, %d", nID / 16, nID % 16);
    pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strText, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

void CPaneView::OnInitialUpdate()
{
    TheLog().push_back("initial update " + std::to_string(GetDlgCtrlID()) + (GetDocument() != NULL ? " with document" : ""));
    CView::OnInitialUpdate();
}

// ---- placeholder bars ----------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CPlaceholderBar, CWnd)
ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
ON_WM_PAINT()
END_MESSAGE_MAP()

CPlaceholderBar::CPlaceholderBar(Side side, int nThickness, COLORREF clr, LPCTSTR lpszText)
    : m_side(side), m_nThickness(nThickness), m_clr(clr), m_strText(lpszText)
{
}

BOOL CPlaceholderBar::Create(CWnd* pParent, UINT nID)
{
    return CWnd::Create(NULL, m_strText, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), pParent, nID);
}

LRESULT CPlaceholderBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    m_nSizeParentCalls++;
    AFX_SIZEPARENTPARAMS* pLayout = (AFX_SIZEPARENTPARAMS*)lParam;
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    CRect rect = pLayout->rect;
    CRect rectFree = pLayout->rect;
    switch (m_side) {
    case top:
        rect.bottom = rect.top + m_nThickness;
        rectFree.top = rect.bottom;
        pLayout->sizeTotal.cy += m_nThickness;
        break;
    case bottom:
        rect.top = rect.bottom - m_nThickness;
        rectFree.bottom = rect.top;
        pLayout->sizeTotal.cy += m_nThickness;
        break;
    case left:
        rect.right = rect.left + m_nThickness;
        rectFree.left = rect.right;
        pLayout->sizeTotal.cx += m_nThickness;
        break;
    case right:
        rect.left = rect.right - m_nThickness;
        rectFree.right = rect.left;
        pLayout->sizeTotal.cx += m_nThickness;
        break;
    }
    pLayout->rect = rectFree;
    AfxRepositionWindow(pLayout, m_hWnd, &rect);
    return 0;
}

void CPlaceholderBar::OnPaint()
{
    CPaintDC dc(this);
    CRect rect;
    GetClientRect(&rect);
    dc.FillSolidRect(&rect, m_clr);
    dc.Draw3dRect(&rect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    CString strText;
    GetWindowText(strText);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(strText, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
}

void SetClientSize(CWnd* pWnd, int cx, int cy)
{
    for (int i = 0; i < 3; i++) {
        CRect rectClient;
        pWnd->GetClientRect(&rectClient);
        CRect rectWindow;
        pWnd->GetWindowRect(&rectWindow);
        int dx = cx - rectClient.Width();
        int dy = cy - rectClient.Height();
        if (dx == 0 && dy == 0)
            return;
        pWnd->SetWindowPos(NULL, 0, 0, rectWindow.Width() + dx, rectWindow.Height() + dy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CRect ChildRect(const CWnd* pWnd)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    ::MapWindowPoints(NULL, ::GetParent(pWnd->m_hWnd), (LPPOINT)&rect, 2);
    return rect;
}

// ---- screenshots -----------------------------------------------------------------------------------

namespace {

// Copies cx x cy pixels at (x, y) of hdc into a PNG file of the screenshots folder.
std::string WritePng(HDC hdc, int x, int y, int cx, int cy, const char* pszName)
{
    std::string strFolder = oxtest::ProgramDir() + "\\screenshots";
    ::CreateDirectoryA(strFolder.c_str(), NULL);
    std::string strPath = strFolder + "\\" + pszName + ".png";
    if (!oxtest::WriteDcPng(hdc, x, y, cx, cy, strPath))
        return std::string();
    return strPath;
}

} // namespace

std::string SaveScreenshot(CWnd* pWnd, const char* pszName)
{
    HWND hWnd = pWnd->GetSafeHwnd();
    if (hWnd == NULL)
        return std::string();
    // painted now (no messages are pumped: a script running in the window's loop goes on)
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CRect rect;
    ::GetWindowRect(hWnd, &rect);
    HDC hdc = ::GetWindowDC(hWnd);
    std::string strPath = WritePng(hdc, 0, 0, rect.Width(), rect.Height(), pszName);
    ::ReleaseDC(hWnd, hdc);
    return strPath;
}

std::string SaveScreenArea(const RECT& rect, const char* pszName)
{
    HDC hdc = ::GetDC(NULL);
    std::string strPath = WritePng(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

bool CopyToShots(const std::string& strPath, const char* pszArea, const char* pszName)
{
    if (strPath.empty())
        return false;
    std::string strFolder = oxtest::ProgramDir() + "\\..\\shots";
    ::CreateDirectoryA(strFolder.c_str(), NULL);
    strFolder = strFolder + "\\" + pszArea;
    ::CreateDirectoryA(strFolder.c_str(), NULL);
    return ::CopyFileA(strPath.c_str(), (strFolder + "\\" + pszName + ".png").c_str(), FALSE) != FALSE;
}

std::string SaveWindowsShot(const std::vector<HWND>& windows, const char* pszName)
{
    CRect rectAll(0, 0, 0, 0);
    for (HWND hWnd : windows) {
        CRect rect;
        ::GetWindowRect(hWnd, &rect);
        rectAll.UnionRect(&rectAll, &rect);
    }
    rectAll.InflateRect(4, 4);
    if (rectAll.IsRectEmpty())
        return std::string();
    HDC hdcScreen = ::GetDC(NULL);
    HDC hdcMem = ::CreateCompatibleDC(hdcScreen);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hdcScreen, rectAll.Width(), rectAll.Height());
    HGDIOBJ hOld = ::SelectObject(hdcMem, hBitmap);
    RECT rectFill = {0, 0, rectAll.Width(), rectAll.Height()};
    HBRUSH hBrush = ::CreateSolidBrush(RGB(128, 128, 128));
    ::FillRect(hdcMem, &rectFill, hBrush);
    ::DeleteObject(hBrush);
    for (HWND hWnd : windows) {
        ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        CRect rect;
        ::GetWindowRect(hWnd, &rect);
        HDC hdc = ::GetWindowDC(hWnd);
        ::BitBlt(hdcMem, rect.left - rectAll.left, rect.top - rectAll.top, rect.Width(), rect.Height(), hdc, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, hdc);
    }
    std::string strPath = WritePng(hdcMem, 0, 0, rectAll.Width(), rectAll.Height(), pszName);
    ::SelectObject(hdcMem, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hdcMem);
    ::ReleaseDC(NULL, hdcScreen);
    return strPath;
}

} // namespace framestest
