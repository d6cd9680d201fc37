// A rebar: a control bar made of the common controls' rebar, whose bands hold other bars
// (toolbars, dialog bars) or windows.
//
// AddBar puts a window into a new band as small as the window's fixed size; the rebar is as high
// as its visible bands (CalcFixedLayout), and its frame redoes its layout when the bands' height
// changes or a band is dragged. A band and its window stay shown or hidden together.
#pragma once

#include "CControlBar.h"
#include "CReBarCtrl.h"

class CBitmap;

class CReBar : public CControlBar {
    DECLARE_DYNAMIC(CReBar)
public:
    CReBar();

    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    CReBarCtrl& GetReBarCtrl() const { return *(CReBarCtrl*)this; }
    // A new band with pBar (its text, background bitmap and band style); FALSE when the control
    // refused it.
    BOOL AddBar(CWnd* pBar, LPCTSTR pszText = NULL, CBitmap* pbmp = NULL,
                DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
    BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText = NULL,
                DWORD dwStyle = RBBS_GRIPPERALWAYS);

    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
    virtual CSize CalcDynamicLayout(int nLength, DWORD dwMode);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFO* pTI) const;
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnShowBand(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);

protected:
    BOOL AddBarBand(CWnd* pBar, REBARBANDINFO* pRBBI);
    // Shows or hides the band's window as the band is (and answers the band's visibility).
    void SyncBandWindow(UINT nBand, BOOL bBandFollowsWindow);

    DECLARE_MESSAGE_MAP()
};
