// A flat-looking combo box: hover polling, focus and mouse state, auto-completion of typed text.
// Its frame drawing is left to a derived class (no window of the program uses one).
#pragma once

#include <afxwin.h>

class CTkFlatComboBox : public CComboBox {
    DECLARE_DYNAMIC(CTkFlatComboBox)
public:
    CTkFlatComboBox();

    // Frame states: 1 normal, 2 raised, 3 pressed.
    virtual void DrawCombo(CDC* pDC, int nState);
    virtual BOOL IsCursorOver();

    BOOL m_bFlatLook;
    BOOL m_bMouseDown;
    BOOL m_bHasFocus;
    BOOL m_bHot;
    BOOL m_bAutoComplete;
    BOOL m_bDefaultEditUpdate; // hands CBN_EDITUPDATE to default processing instead

protected:
    void DrawFrame(int nState);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetFocus();
    afx_msg BOOL OnKillFocus();
    afx_msg BOOL OnCloseUp();
    afx_msg BOOL OnEditUpdate();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
