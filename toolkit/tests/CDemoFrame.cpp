#include "CDemoFrame.h"

#include "CTkGlobalData.h"
#include "ToolkitTestResource.h"

namespace {
const DWORD kMenuBarStyle = 0x50402834; // the program's style of its menu bar
const DWORD kToolBarStyle = 0x52402834; // and of its toolbar
const UINT kIndicators[] = {ID_SEPARATOR};
// The command ids of menu 128.
const UINT kFirstMenuCommand = 32768;
const UINT kLastMenuCommand = 32999;
} // namespace

BEGIN_MESSAGE_MAP(CDemoFrame, CTkFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(kFirstMenuCommand, kLastMenuCommand, OnMenuCommand)
ON_UPDATE_COMMAND_UI_RANGE(kFirstMenuCommand, kLastMenuCommand, OnUpdateMenuCommand)
END_MESSAGE_MAP()

CDemoFrame::CDemoFrame() : m_nLastCommand(0)
{
    tkAfxData.bFlatLook = TRUE;
    tkAfxData.bMenuShadows = TRUE;
}

int CDemoFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTkFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_menuBar.CreateEx(this, TBSTYLE_FLAT, kMenuBarStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
        !m_menuBar.LoadMenuBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    m_wndToolBar.SetWindowText("Standard");
    if (!m_wndStatusBar.Create(this) || !m_wndStatusBar.SetIndicators(kIndicators, 1))
        return -1;
    m_menuBar.EnableDocking(0xA000, 0x306B);
    m_wndToolBar.EnableDocking(0xA000);
    EnableDocking(0xA000);
    DockControlBar(&m_menuBar, 0, NULL);
    DockControlBar(&m_wndToolBar, 0, NULL);
    InstallCoolMenus(IDR_MAINFRAME);
    return 0;
}

void CDemoFrame::OnMenuCommand(UINT nID)
{
    m_nLastCommand = nID;
    CString strText;
    strText.Format("Befehl %u", nID);
    SetMessageText(strText);
}

void CDemoFrame::OnUpdateMenuCommand(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
