// A view made from a dialog template: the template's controls fill it, it scrolls when it is
// smaller than the template, exchanges its data with its members (UpdateData, from
// OnInitialUpdate), and gives the keyboard to its controls as a dialog does (Tab, arrows,
// mnemonics) once the frames above it have had their accelerators. The template must be a child
// template (WS_CHILD, no caption); the view's border follows the style it is created with.
//
// With control containment (AfxEnableControlContainer) the template's OLE controls are made as
// a dialog's are: taken out of the template before the window is created and made when it is
// initialised, at their place and in their order, with their saved state from the DLGINIT data,
// which also fills the list and combo boxes. A control that cannot be made fails the view's
// creation.
#pragma once

#include "CScrollView.h"

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
protected:
    explicit CFormView(LPCTSTR lpszTemplateName);
    explicit CFormView(UINT nIDTemplate);

public:
    virtual ~CFormView();

    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID, CCreateContext* pContext = NULL);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void OnInitialUpdate();
    virtual void OnDraw(CDC* pDC);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd);

    LPCTSTR m_lpszTemplateName;
    CCreateContext* m_pCreateContext; // the context while the window is created
    HWND m_hWndFocus;                 // the control that had the focus when the view lost it

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    // WM_INITDIALOG: the template's OLE controls and list strings.
    afx_msg LRESULT OnInitForm(WPARAM wParam, LPARAM lParam);

protected:
    // Remembers the control inside the form that has the focus; FALSE when none has.
    BOOL SaveFocusControl();

    DECLARE_MESSAGE_MAP()
};
