// A small frame window with a tool-window caption, the frame of floating windows. With
// MFS_SYNCACTIVE its caption follows the activation of the frame that owns it (WM_FLOATSTATUS);
// MFS_4THICKFRAME allows sizing only along the edges, MFS_MOVEFRAME turns the sizing edges into a
// caption, MFS_BLOCKSYSMENU keeps the system menu from opening. System keys of a floating frame
// (Alt, Alt+F4, F6) go to the window that owns it.
#pragma once

#include "CFrameWnd.h"

#define MFS_SYNCACTIVE 0x00000100L
#define MFS_4THICKFRAME 0x00000200L
#define MFS_THICKFRAME 0x00000400L
#define MFS_MOVEFRAME 0x00000800L
#define MFS_BLOCKSYSMENU 0x00001000L

class CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd = NULL,
                UINT nID = 0);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpClassName, LPCTSTR lpWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd = NULL, UINT nID = 0);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Grows a client rectangle to the window rectangle of a mini frame with dwStyle (a tool
    // window's small caption and borders).
    static void PASCAL CalcBorders(LPRECT lpClientRect, DWORD dwStyle = WS_THICKFRAME | WS_CAPTION, DWORD dwExStyle = 0);

    BOOL m_bActive; // the caption shows the active state
    CString m_strCaption;

    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    // A mini frame may be as small as its borders and caption (a floating bar's frame takes the
    // bar's size, however small).
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);

protected:
    DECLARE_MESSAGE_MAP()
};
