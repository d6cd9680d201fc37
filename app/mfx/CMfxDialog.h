// A dialog in the controls library's look: the library paints its background, its colour
// messages reach the colour operation with the WM_CTLCOLOR type they stand for, "KdMfxMessages"
// reaches the two notifications, and the help command 18 is swallowed. The dialog owns an
// attached object, deleted when the window is destroyed.
#pragma once

#include <afxwin.h>

class CMfxDialog : public CDialog {
    DECLARE_DYNAMIC(CMfxDialog)
public:
    CMfxDialog();
    explicit CMfxDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    explicit CMfxDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    virtual ~CMfxDialog();

    // Takes ownership of the object (a previous one is deleted).
    void SetAttachedObject(CObject* pObject);
    CObject* GetAttachedObject() const { return m_pAttachedObject; }

    // "KdMfxMessages" with wParam 101: the two words of lParam.
    virtual void OnMfxNotifyValues(WORD wLow, WORD wHigh);
    // "KdMfxMessages" with wParam 102.
    virtual void OnMfxNotify();
    // A colour message of the controls library: the brush to paint the control with, or NULL
    // for the library's colours. nCtlType is the WM_CTLCOLOR type (CTLCOLOR_EDIT ... STATIC).
    virtual HBRUSH OnMfxCtlColor(CWnd* pControl, CDC* pDC, UINT nCtlType);

    BOOL m_bFlag;

protected:
    CObject* m_pAttachedObject;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnDestroy();
    afx_msg void OnHelpCommand();
    afx_msg LRESULT OnMfxMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorBtn(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorListBox(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorScrollBar(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorEdit(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCtlColorDlg(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    LRESULT RouteCtlColor(WPARAM wParam, LPARAM lParam, UINT nCtlType);
};
