// A view that is a control: the window is a control of the class given to the constructor
// (a list view, a tree view, an edit ...) with its own painting, and the view adds the
// document and the frame's handling. The control's notifications come back to the view through
// reflection (ON_NOTIFY_REFLECT).
#pragma once

#include "CView.h"
#include "CString.h"

class CCtrlView : public CView {
    DECLARE_DYNAMIC(CCtrlView)
public:
    CCtrlView(LPCTSTR lpszClass, DWORD dwStyle);

    CString m_strClass;
    DWORD m_dwDefaultStyle; // replaces the frame's default view style

    virtual void OnDraw(CDC* pDC);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    afx_msg void OnPaint();

protected:
    DECLARE_MESSAGE_MAP()
};
