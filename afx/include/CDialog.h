// A dialog box from a dialog template of the resources (or one in memory).
//
// Modal (DoModal): the owner (GetSafeOwner of the parent) is disabled, the dialog is created
// modeless from its template and runs its own message loop (RunModalLoop) until EndDialog; then
// it is hidden, the owner enabled and activated, and the window destroyed. DoModal answers
// EndDialog's result, -1 when the dialog could not be made, or -1 when WM_QUIT arrived (which
// stays posted for the loop outside). Modeless (Create): the dialog lives until DestroyWindow.
//
// WM_INITDIALOG calls OnInitDialog, which fills the controls (UpdateData(FALSE)). IDOK calls
// OnOK (UpdateData(TRUE), then EndDialog(IDOK) when the data were accepted), IDCANCEL and
// Escape OnCancel (EndDialog(IDCANCEL)).
#pragma once

#include "CWnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    virtual ~CDialog();

    // Modeless creation.
    BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = NULL);
    BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = NULL);
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);
    // Modal with a template in memory (set before DoModal).
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = NULL);

    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnSetFont(CFont* pFont);

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;
    // Dialog units to pixels of this dialog's font.
    void MapDialogRect(LPRECT lpRect) const;
    // The help context of the dialog (m_nIDHelp; a template given by number starts with its id).
    void SetHelpID(UINT nIDR) { m_nIDHelp = nIDR; }

    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;
    LPCDLGTEMPLATE m_lpDialogTemplate;
    CWnd* m_pParentWnd;

protected:
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    HWND PreModal();
    void PostModal();
    LPCDLGTEMPLATE LoadTemplate(HINSTANCE* phInst) const;

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of the library's dialogs: TRUE for WM_INITDIALOG (the focus goes to the
// first control unless OnInitDialog set it and answered FALSE), else FALSE (the library's window
// procedure has handled the message already).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
