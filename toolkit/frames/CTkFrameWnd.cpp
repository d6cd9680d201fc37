#include "CTkFrameWnd.h"

#include "CTkGlobalData.h"
#include "ToolkitResource.h"

IMPLEMENT_DYNCREATE(CTkFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CTkFrameWnd, CFrameWnd)
ON_WM_CREATE()
ON_WM_SYSCOLORCHANGE()
ON_WM_SETTINGCHANGE()
ON_WM_INITMENUPOPUP()
ON_COMMAND_EX_RANGE(53000, 53250, OnToolCommand)
ON_UPDATE_COMMAND_UI_RANGE(53000, 53250, OnUpdateToolCommand)
ON_UPDATE_COMMAND_UI(IDS_TK_SHOW_FULL_MENUS, OnUpdateShowFullMenus)
END_MESSAGE_MAP()

CTkFrameWnd::CTkFrameWnd() {}

CTkFrameWnd::~CTkFrameWnd() {}

int CTkFrameWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // A common-controls library too old for the toolkit was reported; the program ends.
    if (tkAfxData.bComCtlVersionFailed)
        return -1;
    return CFrameWnd::OnCreate(lpCreateStruct);
}

BOOL CTkFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return CFrameWnd::PreCreateWindow(cs); }

BOOL CTkFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CTkFrameHelper::PreTranslateMessage(pMsg, this))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

void CTkFrameWnd::ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext)
{
    CView* pOldView = GetActiveView();
    if (pDoc == NULL && pOldView != NULL)
        pDoc = pOldView->GetDocument();
    CCreateContext context;
    if (pContext == NULL) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewDocTemplate = pDoc != NULL ? pDoc->GetDocTemplate() : NULL;
        context.m_pLastView = pOldView;
        context.m_pCurrentFrame = this;
        pContext = &context;
    }
    CView* pNewView = (CView*)CreateView(pContext, AFX_IDW_PANE_FIRST);
    if (pNewView == NULL)
        return;
    pNewView->OnInitialUpdate();
    SetActiveView(pNewView, TRUE);
    RecalcLayout(TRUE);
    if (pOldView != NULL)
        pOldView->DestroyWindow();
}

void CTkFrameWnd::LoadBarState(LPCTSTR lpszProfileName) { CTkFrameHelper::LoadBarState(lpszProfileName, this); }

void CTkFrameWnd::SaveBarState(LPCTSTR lpszProfileName) { CTkFrameHelper::SaveBarState(lpszProfileName, this); }

void CTkFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf)
{
    CTkFrameHelper::DockControlBarLeftOf(pBar, pLeftOf, this);
}

CMenu* CTkFrameWnd::GetMenu() { return CTkFrameHelper::GetMenu(this); }

BOOL CTkFrameWnd::MenuCommandStub(UINT nID) { return CTkFrameHelper::MenuCommandStub(nID); }

BOOL CTkFrameWnd::HideMenuCommand(UINT nID) { return CTkFrameHelper::HideMenuCommand(nID, this); }

BOOL CTkFrameWnd::MenuCommandsStub(const UINT* pIDs, int nCount) { return CTkFrameHelper::MenuCommandsStub(pIDs, nCount); }

BOOL CTkFrameWnd::HideMenuCommands(const UINT* pIDs, int nCount)
{
    return CTkFrameHelper::HideMenuCommands(pIDs, nCount, this);
}

void CTkFrameWnd::SetDockState(const CDockState& state) { CTkFrameHelper::SetDockState(state, this); }

void CTkFrameWnd::GetDockState(CDockState& state) { CTkFrameHelper::GetDockState(state, this); }

BOOL CTkFrameWnd::PreCreateWindowEx(CREATESTRUCT& cs, UINT nIconID)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    return CTkFrameHelper::PreCreateWindowEx(cs, nIconID);
}

void CTkFrameWnd::InstallCoolMenus(UINT nIDToolbar) { CTkFrameHelper::InstallCoolMenus(nIDToolbar, this); }

void CTkFrameWnd::EnableDocking(DWORD dwDockStyle) { CTkFrameHelper::EnableDocking(dwDockStyle, this); }

void CTkFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CTkFrameHelper::DockControlBar(pBar, nDockBarID, lpRect, this);
}

CTkMenuBar* CTkFrameWnd::GetMenuBar() { return CTkFrameHelper::GetMenuBar(this); }

void CTkFrameWnd::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    tkAfxData.UpdateSysColors();
}

void CTkFrameWnd::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CWnd::OnSettingChange(uFlags, lpszSection);
    tkAfxData.UpdateSysColors();
}

void CTkFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CTkFrameHelper::OnInitMenuPopup(pPopupMenu);
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

BOOL CTkFrameWnd::OnToolCommand(UINT nID) { return CTkFrameHelper::OnToolCommand(nID); }

void CTkFrameWnd::OnUpdateToolCommand(CCmdUI* pCmdUI) { pCmdUI->ContinueRouting(); }

void CTkFrameWnd::OnUpdateShowFullMenus(CCmdUI* pCmdUI) { pCmdUI->Enable(TRUE); }
