// The toolkit's single-document frame: it docks bars on the toolkit's dock bars, hosts a menu
// bar in place of the window menu (every message passes the menu bar first), makes its popups
// cool menus with command pictures and keeps its bars' layout in the registry. The frame's
// toolkit work is done by CTkFrameHelper, which the other kinds of frame share.
#pragma once

#include <afxext.h>

#include "CTkFrameHelper.h"

class CTkFrameWnd : public CFrameWnd, public CTkFrameHelper {
    DECLARE_DYNCREATE(CTkFrameWnd)
public:
    CTkFrameWnd();
    ~CTkFrameWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    virtual void ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext);
    virtual void LoadBarState(LPCTSTR lpszProfileName);
    virtual void SaveBarState(LPCTSTR lpszProfileName);
    virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    virtual CMenu* GetMenu();
    virtual BOOL MenuCommandStub(UINT nID);
    virtual BOOL HideMenuCommand(UINT nID);
    virtual BOOL MenuCommandsStub(const UINT* pIDs, int nCount);
    virtual BOOL HideMenuCommands(const UINT* pIDs, int nCount);
    virtual void SetDockState(const CDockState& state);
    virtual void GetDockState(CDockState& state);
    virtual BOOL PreCreateWindowEx(CREATESTRUCT& cs, UINT nIconID);

    void InstallCoolMenus(UINT nIDToolbar);
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
    CTkMenuBar* GetMenuBar();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg BOOL OnToolCommand(UINT nID);
    afx_msg void OnUpdateToolCommand(CCmdUI* pCmdUI);
    afx_msg void OnUpdateShowFullMenus(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()
};
