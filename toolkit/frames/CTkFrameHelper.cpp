#include "CTkFrameHelper.h"

#include <afxpriv.h>

#include <shellapi.h>

#include "CTkAccelManager.h"
#include "CTkCustomizeManager.h"
#include "CTkDockBar.h"
#include "CTkDockState.h"
#include "CTkGlobalData.h"
#include "CTkMiniDockFrameWnd.h"
#include "CTkToolsManager.h"

const DWORD CTkFrameHelper::dwTkDockBarMap[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

CTkFrameHelper::CTkFrameHelper()
{
    // From now on the frames save the shortcuts and the tools, not the managers at process end.
    CTkAccelManager::Instance()->m_bSaveOnDestroy = 0;
    CTkToolsManager::Instance()->m_bSaveOnDestroy = 0;
}

CTkFrameHelper::~CTkFrameHelper()
{
    CTkAccelManager* pAccel = CTkAccelManager::Instance();
    if (pAccel->m_bActive)
        pAccel->SaveChanges(FALSE);
    CTkToolsManager* pTools = CTkToolsManager::Instance();
    if (pTools->m_bEnabled)
        pTools->Commit(FALSE);
}

void CTkFrameHelper::InstallCoolMenus(const UINT* pIDs, int nCount, CFrameWnd* pFrame)
{
    tkAfxData.bCoolMenusInstalled = TRUE;
    m_coolMenu.Install(pFrame);
    m_coolMenu.LoadToolbars(pIDs, nCount, TRUE);
}

void CTkFrameHelper::InstallCoolMenus(UINT nIDToolbar, CFrameWnd* pFrame) { InstallCoolMenus(&nIDToolbar, 1, pFrame); }

void CTkFrameHelper::EnableDocking(DWORD dwDockStyle, CFrameWnd* pFrame)
{
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CTkMiniDockFrameWnd);
    for (const auto& entry : dwTkDockBarMap) {
        if (!(entry[1] & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(entry[0]) != NULL)
            continue;
        CTkDockBar* pDockBar = new CTkDockBar;
        if (!pDockBar->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | entry[1], entry[0])) {
            delete pDockBar;
            AfxThrowResourceException();
        }
    }
}

void CTkFrameHelper::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect, CFrameWnd* pFrame)
{
    // a toolkit dock bar marks a docking window that it takes as just docked
    if (pDockBar != NULL && pDockBar->IsKindOf(RUNTIME_CLASS(CTkDockBar)))
        ((CTkDockBar*)pDockBar)->DockControlBar(pBar, lpRect);
    else if (pDockBar != NULL)
        pDockBar->DockControlBar(pBar, lpRect);
}

void CTkFrameHelper::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect, CFrameWnd* pFrame)
{
    CDockBar* pDockBar = nDockBarID != 0 ? (CDockBar*)pFrame->GetControlBar(nDockBarID) : NULL;
    if (pDockBar == NULL) {
        DWORD dwAlign = pBar->m_dwStyle & CBRS_ALIGN_ANY;
        for (const auto& entry : dwTkDockBarMap) {
            if ((entry[1] & CBRS_ALIGN_ANY) == dwAlign) {
                pDockBar = (CDockBar*)pFrame->GetControlBar(entry[0]);
                break;
            }
        }
    }
    DockControlBar(pBar, pDockBar, lpRect, pFrame);
}

void CTkFrameHelper::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf, CFrameWnd* pFrame)
{
    pFrame->RecalcLayout(TRUE);
    CRect rect;
    pLeftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    DWORD dwStyle = pLeftOf->GetBarStyle();
    UINT nID = (dwStyle & CBRS_ALIGN_TOP)      ? AFX_IDW_DOCKBAR_TOP
               : (dwStyle & CBRS_ALIGN_BOTTOM) ? AFX_IDW_DOCKBAR_BOTTOM
               : (dwStyle & CBRS_ALIGN_LEFT)   ? AFX_IDW_DOCKBAR_LEFT
               : (dwStyle & CBRS_ALIGN_RIGHT)  ? AFX_IDW_DOCKBAR_RIGHT
                                               : 0;
    DockControlBar(pBar, nID, &rect, pFrame);
}

void CTkFrameHelper::LoadBarState(LPCTSTR lpszProfileName, CFrameWnd* pFrame)
{
    CTkCustomizeManager::Instance()->CallLoadBars(pFrame, lpszProfileName);
    CTkDockState state;
    state.LoadState(lpszProfileName);
    // Bars the program no longer has (a removed bar, a deleted custom toolbar) are dropped from
    // the rows, then the infos of such bars; a floating info stands for a floating dock bar and
    // is known by the bars it holds.
    for (int i = (int)state.m_arrBarInfo.GetSize() - 1; i >= 0; i--) {
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
        for (int j = (int)pInfo->m_arrBarID.GetSize() - 1; j >= 0; j--) {
            DWORD dwID = CControlBarInfo::EntryToId(pInfo->m_arrBarID[j]);
            if (dwID != 0 && pFrame->GetControlBar(dwID & 0xFFFF) == NULL)
                pInfo->m_arrBarID.RemoveAt(j);
        }
        if (!pInfo->m_bFloating && pFrame->GetControlBar(pInfo->m_nBarID) == NULL) {
            state.m_arrBarInfo.RemoveAt(i);
            delete pInfo;
        }
    }
    SetDockState(state, pFrame);
}

void CTkFrameHelper::SaveBarState(LPCTSTR lpszProfileName, CFrameWnd* pFrame)
{
    CTkCustomizeManager::Instance()->CallSaveBars(pFrame, lpszProfileName);
    CTkDockState state;
    GetDockState(state, pFrame);
    state.SaveState(lpszProfileName);
}

void CTkFrameHelper::SetDockState(const CDockState& state, CFrameWnd* pFrame) { pFrame->CFrameWnd::SetDockState(state); }

void CTkFrameHelper::GetDockState(CDockState& state, CFrameWnd* pFrame) { pFrame->CFrameWnd::GetDockState(state); }

CTkMenuBar* CTkFrameHelper::GetMenuBar(CFrameWnd* pFrame)
{
    if (pFrame == NULL)
        return NULL;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)pFrame->m_listControlBars.GetNext(pos);
        if (pBar->m_hWnd != NULL && pBar->GetDlgCtrlID() == AFX_IDW_MENUBAR && pBar->IsKindOf(RUNTIME_CLASS(CTkMenuBar)))
            return (CTkMenuBar*)pBar;
    }
    return NULL;
}

CMenu* CTkFrameHelper::GetMenu(CFrameWnd* pFrame)
{
    CFrameWnd* pWnd = pFrame;
    CTkMenuBar* pBar = GetMenuBar(pWnd);
    if (pBar == NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) {
        CFrameWnd* pParent = pFrame->GetParentFrame();
        pBar = GetMenuBar(pParent);
        if (pBar == NULL)
            return CMenu::FromHandle(::GetMenu(pFrame->m_hWnd));
        pWnd = pParent;
    }
    HMENU hMenu = ::GetMenu(pWnd->m_hWnd);
    if (hMenu == NULL && pBar != NULL && pBar->m_hWnd != NULL)
        hMenu = pBar->m_hMenu;
    return hMenu != NULL ? CMenu::FromHandle(hMenu) : NULL;
}

BOOL CTkFrameHelper::HideMenuCommand(UINT nID, CFrameWnd* pFrame) { return HideMenuCommands(&nID, 1, pFrame); }

BOOL CTkFrameHelper::HideMenuCommands(const UINT* pIDs, int nCount, CFrameWnd* pFrame)
{
    CTkMenuBar* pBar = GetMenuBar(pFrame);
    BOOL bResult = pBar != NULL ? pBar->HideCommands(pIDs, nCount) : FALSE;
    if (tkAfxData.bCoolMenusInstalled)
        m_coolMenu.HideCommands(pIDs, nCount);
    return bResult;
}

BOOL CTkFrameHelper::MenuCommandStub(UINT nID) { return m_coolMenu.CommandStub(nID); }

BOOL CTkFrameHelper::MenuCommandsStub(const UINT* pIDs, int nCount) { return m_coolMenu.CommandsStub(pIDs, nCount); }

BOOL CTkFrameHelper::PreTranslateMessage(MSG* pMsg, CFrameWnd* pFrame)
{
    // A shortcut of the accelerator manager goes to the frame's accelerator table, not the menu bar.
    CTkAccelManager* pAccel = CTkAccelManager::Instance();
    if (pAccel->m_bActive && pAccel->IsAccelerator(pMsg))
        return FALSE;
    CTkMenuBar* pBar = GetMenuBar(pFrame);
    if (pBar != NULL && pBar->m_hWnd != NULL && pBar->TranslateFrameMessage(pMsg))
        return TRUE;
    return FALSE;
}

BOOL CTkFrameHelper::PreCreateWindowEx(CREATESTRUCT& cs, UINT nIconID)
{
    HICON hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIconID));
    cs.lpszClass = AfxRegisterWndClass(0, NULL, NULL, hIcon);
    return TRUE;
}

void CTkFrameHelper::OnInitMenuPopup(CMenu* pPopupMenu)
{
    // Every item shows the shortcut the accelerator manager knows now (the first of several), or
    // none; without an active manager the menus keep their own texts.
    CTkAccelManager* pAccel = CTkAccelManager::Instance();
    if (!pAccel->m_bActive || pPopupMenu == NULL)
        return;
    HMENU hMenu = pPopupMenu->m_hMenu;
    int nCount = ::GetMenuItemCount(hMenu);
    for (int nPos = 0; nPos < nCount; nPos++) {
        MENUITEMINFOA mii = {};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_ID | MIIM_TYPE | MIIM_SUBMENU;
        // Separators, owner-drawn items and popups (they have no command) stay as they are.
        if (!::GetMenuItemInfoA(hMenu, nPos, TRUE, &mii) || mii.fType != MFT_STRING || mii.hSubMenu != NULL)
            continue;
        UINT nID = mii.wID;
        // By position: two items of one command each keep their own text.
        int nLength = ::GetMenuStringA(hMenu, nPos, NULL, 0, MF_BYPOSITION);
        if (nLength <= 0)
            continue;
        CString strText;
        ::GetMenuStringA(hMenu, nPos, strText.GetBuffer(nLength * 2 + 2), nLength * 2 + 2, MF_BYPOSITION);
        strText.ReleaseBuffer();
        if (strText.IsEmpty())
            continue;
        BOOL bCut = FALSE;
        int nTab = strText.Find('\t');
        if (nTab >= 0) {
            strText = strText.Left(nTab);
            bCut = TRUE;
        }
        CString strShortcut;
        pAccel->GetShortcutText(nID, strShortcut);
        int nComma = strShortcut.Find(',');
        if (nComma >= 0)
            strShortcut = strShortcut.Left(nComma);
        if (!strShortcut.IsEmpty())
            strText += "\t" + strShortcut;
        else if (!bCut)
            continue;
        ::ModifyMenuA(hMenu, nPos, MF_BYPOSITION | MF_STRING, nID, strText);
    }
}

BOOL CTkFrameHelper::OnToolCommand(UINT nID)
{
    // A command id the tools manager does not know has no tool to start: it is ignored.
    CString strCommand, strArgs, strDirectory;
    if (!CTkToolsManager::Instance()->GetLaunch(nID, strCommand, strArgs, strDirectory))
        return TRUE;
    ::ShellExecuteA(NULL, "open", strCommand, strArgs, strDirectory, SW_SHOW);
    return TRUE;
}
