// The floating frame of control bars: a small frame around one dock bar (m_wndDockBar, id
// AFX_IDW_DOCKBAR_FLOAT) that holds the floating bar (or several with CBRS_FLOAT_MULTI).
//
// The frame takes the size of its bars (FWS_SNAPTOBARS) and shows their title. A press on its
// caption drags the bar (its docking context), a press on a sizing border of a CBRS_SIZE_DYNAMIC
// bar resizes it, a double click on the caption docks it back. Closing the frame hides its bars;
// the frame is destroyed when its last bar leaves.
//
// The dock bar is created as a child of the frame that owns the bars (so it registers with that
// frame's bar list, which the saved layout reads) and then moved into this frame.
#pragma once

#include "CMiniFrameWnd.h"
#include "CDockBar.h"

class CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd();

    // The frame owned by pParent (the frame whose bars float in it), oriented by dwBarStyle
    // (CBRS_ALIGN_..., CBRS_FLOAT_MULTI, CBRS_SIZE_DYNAMIC).
    virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
    virtual void RecalcLayout(BOOL bNotify = TRUE);

    CDockBar m_wndDockBar;

    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

protected:
    // The first bar of the dock bar (the one whose docking context acts for the caption).
    CControlBar* GetFirstBar() const;

    DECLARE_MESSAGE_MAP()
};
