// The About box (dialog 100): product version and copyright from the program's version resource;
// two hidden buttons reached by their mnemonics open the support information (Alt+H, once that
// dialog exists) and the test dialog 169 (Alt+R).
#pragma once

#include <afxwin.h>

class CAboutDlg : public CDialog {
public:
    CAboutDlg(CWnd* pParent = NULL);

    // The version block of the module's version resource: the first translation's block, else
    // the first string table whose name starts below 'A'; empty when there is none.
    static CString FindVersionBlock(const void* pVersionData);
    // A value of the block ("ProductVersion", "LegalCopyright"), or empty.
    static CString QueryVersionValue(const void* pVersionData, LPCTSTR lpszBlock, LPCTSTR lpszName);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnSupport();
    afx_msg void OnTestDialog();
    DECLARE_MESSAGE_MAP()
};
