// A flat-looking edit: hover polling, focus and mouse state. Its frame drawing is left to a
// derived class (no window of the program uses one).
#pragma once

#include "CTkEdit.h"

class CTkFlatEdit : public CTkEdit {
    DECLARE_DYNAMIC(CTkFlatEdit)
public:
    CTkFlatEdit();

    // Frame states: 1 normal, 2 raised, 3 pressed.
    virtual void DrawEdit(CDC* pDC, int nState);
    virtual BOOL IsCursorOver();

    BOOL m_bFlatLook;
    BOOL m_bMouseDown;
    BOOL m_bHasFocus;

protected:
    void DrawFrame(int nState);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
