// A rebar whose bands hold toolkit bars. Its handlers keep a band's child shown as the band is,
// redo the frame's layout when the rebar's height changes, let bands' children fit themselves and
// take the ideal width a toolbar asks for.
#pragma once

#include "CTkControlBar.h"

class CTkReBar : public CTkControlBar {
    DECLARE_DYNAMIC(CTkReBar)
public:
    CTkReBar();
    ~CTkReBar() override;

    // A rebar control ("ReBarWindow32") as a bar of pParentWnd.
    BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
                UINT nID = AFX_IDW_REBAR);
    // pBar as a band of its own (a new row), its minimum size from the bar.
    BOOL AddBar(CWnd* pBar, REBARBANDINFOA* pInfo);
    // The band whose child is hWnd, -1 when none.
    int FindBand(HWND hWnd);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    int m_nBandID;

protected:
    afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnShowBand(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecalcParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSizeChild(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnChildSize(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()
};
