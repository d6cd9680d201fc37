// A page of a property sheet, made from a dialog template. The sheet tells the page when it
// becomes active (OnSetActive), before it is left (OnKillActive, which takes the page's data
// through DDX: a refused value keeps the page), when the changes are to be applied (OnApply, for
// OK and Apply Now) and when they are dropped (OnReset). The first activation fills the controls
// through OnInitDialog; later ones fill them again.
#pragma once

#include "CDialog.h"
#include "CString.h"

#include <prsht.h>

class CPropertySheet;

class CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    virtual ~CPropertyPage();

    // The page's description for the sheet (template, title from nIDCaption).
    PROPSHEETPAGEA m_psp;

    // The sheet's Cancel button becomes "Close" (the changes cannot be taken back).
    void CancelToClose();
    // The sheet's Apply Now button follows whether the page has changes to apply.
    void SetModified(BOOL bChanged = TRUE);
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    virtual BOOL OnSetActive();
    // FALSE keeps the page (its data were refused).
    virtual BOOL OnKillActive();
    // OK or Apply Now: FALSE keeps the sheet open on this page. The default calls OnOK.
    virtual BOOL OnApply();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnReset();
    // FALSE keeps the sheet open when the user cancels.
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    CString m_strCaption;
    BOOL m_bFirstSetActive;

    // The sheet's notifications (PSN_...) to the page.
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    void CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption);

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of the pages: the page's window is attached to its object when the
// sheet creates it (WM_INITDIALOG carries the page's description).
INT_PTR CALLBACK AfxPropPageDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
