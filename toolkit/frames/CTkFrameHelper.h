// What every toolkit frame shares, whatever kind of frame it is: the cool menus, the menu bar, the
// toolkit's docking, the menu of the frame, and the translation of keys for the menu bar. The
// frame passes itself along with every call.
#pragma once

#include <afxext.h>

#include "CTkCoolMenu.h"
#include "CTkMenuBar.h"

class CTkFrameHelper {
public:
    CTkFrameHelper();
    virtual ~CTkFrameHelper();

    void InstallCoolMenus(const UINT* pIDs, int nCount, CFrameWnd* pFrame);
    void InstallCoolMenus(UINT nIDToolbar, CFrameWnd* pFrame);
    // Dock bars for the sides of dwDockStyle the frame lacks (top, bottom, left, right).
    void EnableDocking(DWORD dwDockStyle, CFrameWnd* pFrame);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect, CFrameWnd* pFrame);
    // nDockBarID 0 (or one the frame lacks): the dock bar of the bar's alignment.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect, CFrameWnd* pFrame);
    // Docks pBar in pLeftOf's row just after it.
    void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf, CFrameWnd* pFrame);
    void LoadBarState(LPCTSTR lpszProfileName, CFrameWnd* pFrame);
    void SaveBarState(LPCTSTR lpszProfileName, CFrameWnd* pFrame);
    void SetDockState(const CDockState& state, CFrameWnd* pFrame);
    void GetDockState(CDockState& state, CFrameWnd* pFrame);
    // The frame's first control bar 59480 that is a menu bar, or NULL.
    static CTkMenuBar* GetMenuBar(CFrameWnd* pFrame);
    // The frame's window menu, else the menu its menu bar shows (MDI children ask their frame).
    static CMenu* GetMenu(CFrameWnd* pFrame);
    BOOL HideMenuCommand(UINT nID, CFrameWnd* pFrame);
    BOOL HideMenuCommands(const UINT* pIDs, int nCount, CFrameWnd* pFrame);
    BOOL MenuCommandStub(UINT nID);
    BOOL MenuCommandsStub(const UINT* pIDs, int nCount);
    BOOL PreTranslateMessage(MSG* pMsg, CFrameWnd* pFrame);
    // The window class: no class style, cursor or background, the icon nIconID.
    BOOL PreCreateWindowEx(CREATESTRUCT& cs, UINT nIconID);
    void OnInitMenuPopup(CMenu* pPopupMenu);
    BOOL OnToolCommand(UINT nID);

    // The dock bars in the order EnableDocking makes them: id and style.
    static const DWORD dwTkDockBarMap[4][2];

    CTkCoolMenu m_coolMenu;
    CTkMenuBar m_menuBar;
};
