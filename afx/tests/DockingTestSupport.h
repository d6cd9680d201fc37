// Helpers of the docking layer's tests: the application with a registry key of its own, a frame
// with the bars a program's main frame has (two toolbars, a dialog bar, a status bar), the dock
// bars' rows as lists of ids, and mouse drags posted as the captured mouse would send them.
#pragma once

#include <afxpriv.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "FrameTestSupport.h"

namespace docktest {

// The application: its profile lives under HKCU\Software\<m_strKey>\<app name>, removed when the
// application goes.
class CDockApp : public framestest::CProbeApp {
public:
    CDockApp();
    ~CDockApp() override;
    CString m_strKey;
    // HKCU\Software\<key>\<app name>\<section> for independent reading.
    CString SectionPath(LPCTSTR lpszSection) const;
};

// What the frame makes in WM_CREATE.
struct FrameSetup {
    BOOL bDocking = TRUE;    // EnableDocking on the bars and the frame (all sides)
    BOOL bDockBars = TRUE;   // each bar docked at the top in a row of its own
    BOOL bStatusBar = TRUE;
};

// A frame with two toolbars (AFX_IDW_TOOLBAR, IDW_SECOND_TOOLBAR), a dialog bar
// (AFX_IDW_DIALOGBAR) and a status bar (panes: message, CAPS, NUM, SCRL), a view as its pane, and
// handlers for some of the bars' commands.
class CDockFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CDockFrame)
public:
    CDockFrame();
    // The frame at (x, y) with a client area of cx x cy pixels, shown.
    static CDockFrame* Make(const FrameSetup& setup, int x = 40, int y = 40, int cx = 620, int cy = 420);

    FrameSetup m_setup;
    CToolBar m_wndToolBar;
    CToolBar m_wndToolBar2;
    CDialogBar m_wndDialogBar;
    CStatusBar m_wndStatusBar;
    BOOL m_bCanSave = TRUE;
    BOOL m_bBold = FALSE;
    int m_nNewCommands = 0;
    int m_nApplyCommands = 0;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNew();
    afx_msg void OnApply();
    afx_msg void OnBold();
    afx_msg void OnUpdateSave(CCmdUI* pCmdUI);
    afx_msg void OnUpdateBold(CCmdUI* pCmdUI);
    afx_msg void OnOpen() {}
    afx_msg void OnCut() {}
    DECLARE_MESSAGE_MAP()
};

// A test with the docking application and the frames it makes; the frames that still exist go
// at the end.
class DockingTest : public testing::Test {
protected:
    void TearDown() override;
    // A frame (CDockFrame::Make) that becomes the application's main window.
    CDockFrame* MakeFrame(const FrameSetup& setup = FrameSetup(), int x = 600, int y = 480, int cx = 620, int cy = 420);

    CDockApp m_app;
    std::vector<HWND> m_frames;
};

// The frame's dock bar with the id, or NULL.
CDockBar* DockBar(CFrameWnd* pFrame, UINT nID);
// The entries of a dock bar: 0 for a row end, a bar's id, id | 0x10000 for a placeholder.
std::vector<UINT> BarIds(const CDockBar* pDockBar);
// The window's rectangle in the client coordinates of pOther.
CRect RectIn(const CWnd* pWnd, const CWnd* pOther);
// The window's rectangle on the screen.
CRect ScreenRect(const CWnd* pWnd);

// Posts a drag of the bar pressed at ptDown (client coordinates of the bar): mouse moves to the
// screen points, then the release at the last one (or, with nEndKey, that key instead). The
// messages go to the bar, as the mouse captured by it sends them; RunToIdle plays them.
void PostDrag(CWnd* pBar, CPoint ptDown, std::initializer_list<CPoint> ptsScreen, UINT nEndKey = 0,
              std::initializer_list<UINT> keysDown = {});

// The registry value (REG_DWORD) of HKCU\<path>; -1 (and bFound FALSE) when it is missing.
DWORD RegDword(const CString& strPath, LPCTSTR lpszValue, BOOL* pbFound = NULL);
// The names of a key's values.
std::vector<std::string> RegValueNames(const CString& strPath);
// Whether the key exists.
BOOL RegKeyExists(const CString& strPath);

// Screenshots of the frame and its floating frames together, each drawn from its own window.
std::string SaveFrameShot(CFrameWnd* pFrame, const char* pszName);

} // namespace docktest
