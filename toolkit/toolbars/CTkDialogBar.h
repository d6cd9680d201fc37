// A toolkit bar built from a dialog template (the main frame's filter bar): the template's size is
// the bar's, an 8-pixel strip at its left is the gripper (a press there drags the bar), its
// controls are enabled by the frame's command handlers, and it shows its parent's background.
#pragma once

#include "CTkControlBar.h"

class CTkDialogBar : public CTkControlBar {
    DECLARE_DYNAMIC(CTkDialogBar)
public:
    CTkDialogBar();
    ~CTkDialogBar() override;

    BOOL SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo) override;
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    // Docked, the bar stretches over its dock bar's length.
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
    virtual BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID);
    virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID);

    CWnd* m_pParentWnd;
    CSize m_sizeDefault;
    _AFX_OCC_DIALOG_INFO* m_pOccDialogInfo;
    LPCTSTR m_lpszTemplateName;

protected:
    afx_msg LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    DECLARE_MESSAGE_MAP()
};
