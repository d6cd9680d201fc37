// A property sheet: pages under tabs with OK, Cancel and Apply Now (or a wizard with Back, Next
// and Finish).
//
// DoModal runs the sheet modally the way the library runs its dialogs: the owner is disabled,
// the sheet is made modeless and runs its own message loop (RunModalLoop) until the sheet ends
// (no current page any more: OK or Cancel was pressed, or EndDialog); it answers the button that
// ended it (IDOK, IDCANCEL, ...). Create makes a modeless sheet without the standard buttons,
// which lives until it is destroyed. The pages are the caller's objects (AddPage); a page's
// window exists once it was shown.
#pragma once

#include "CWnd.h"
#include "CPtrArray.h"
#include "CString.h"

#include <prsht.h>

class CPropertyPage;
class CTabCtrl;

class CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    void Construct(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    virtual ~CPropertySheet();

    // A modeless sheet; dwStyle -1: a captioned popup with a system menu (not for wizards).
    BOOL Create(CWnd* pParentWnd = NULL, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
    virtual INT_PTR DoModal();

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage);
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    // Before the sheet exists: the page it starts with.
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    // The sheet's tab control (a temporary object), NULL before the sheet exists.
    CTabCtrl* GetTabControl() const;
    void SetWizardMode();
    void SetWizardButtons(DWORD dwFlags);
    void SetFinishText(LPCTSTR lpszText);
    // Several rows of tabs (the default) or one scrolling row.
    void EnableStackedTabs(BOOL bStacked);
    // Ends the sheet with nEndID: a modal sheet's loop ends, a modeless sheet is destroyed.
    void EndDialog(int nEndID);
    BOOL IsWizard() const { return (m_psh.dwFlags & PSH_WIZARD) != 0; }

    PROPSHEETHEADERA m_psh;

    virtual BOOL OnInitDialog();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // The modal loop goes on while the sheet has a current page.
    virtual BOOL ContinueModal();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

    CPtrArray m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd;
    BOOL m_bStacked;
    BOOL m_bModeless;
    DWORD m_dwCreateStyle;   // the style Create asked for
    DWORD m_dwCreateExStyle;

protected:
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    // The pages' descriptions for the sheet (m_psh.ppsp).
    void BuildPropPageArray();

    DECLARE_MESSAGE_MAP()
};
