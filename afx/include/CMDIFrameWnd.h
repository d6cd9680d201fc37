// The frame of a program with several document windows (MDI): the MDI client fills the frame's
// pane and holds the child frames (CMDIChildWnd). Commands go to the active child first (its
// view, document and frame), then to this frame; the window menu lists the children (ids from
// AFX_IDM_FIRST_MDICHILD) and arranges them (ID_WINDOW_CASCADE, _TILE_HORZ, _TILE_VERT,
// _ARRANGE).
#pragma once

#include "CFrameWnd.h"

class CMDIChildWnd;
class CMenu;

// The range of the window menu's commands (the popup that holds one of them is the window menu).
#define AFX_IDM_WINDOW_FIRST 0xE130
#define AFX_IDM_WINDOW_LAST 0xE13F

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    CMDIFrameWnd();

    HWND m_hWndMDIClient;

    void MDIActivate(CWnd* pWndActivate);
    // The active child (NULL without one); *pbMaximized tells whether it is maximized.
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = NULL) const;
    void MDIIconArrange();
    void MDIMaximize(CWnd* pWnd);
    void MDINext();
    void MDIRestore(CWnd* pWnd);
    void MDITile(int nType = MDITILE_VERTICAL);
    void MDICascade(int nType = 0);
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    // The MDI client with the window menu pWindowMenu (children ids from AFX_IDM_FIRST_MDICHILD).
    BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext);
    // The popup of hMenuBar that holds a window command, or NULL.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);

    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The active child, else this frame.
    virtual CFrameWnd* GetActiveFrame();
    virtual void OnUpdateFrameMenu(HMENU hMenuAlt);
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg BOOL OnMDIWindowCmd(UINT nID);
    afx_msg void OnUpdateMDIWindowCmd(CCmdUI* pCmdUI);

protected:
    DECLARE_MESSAGE_MAP()
};
