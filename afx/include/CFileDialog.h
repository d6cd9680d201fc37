// The common file dialog (open or save as, explorer style). The filter is given as pairs
// "Text|Pattern|" ending with "||". With OFN_ALLOWMULTISELECT the chosen files are walked with
// GetStartPosition/GetNextPathName.
#pragma once

#include "CDialog.h"

#include <commdlg.h>

class CFileDialog : public CDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL, LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCTSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL);
    virtual ~CFileDialog();

    OPENFILENAMEA m_ofn;

    // IDOK or IDCANCEL (also when the dialog failed; CommDlgExtendedError tells why).
    virtual INT_PTR DoModal();

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;        // the filter with its separators replaced by NULs
    char m_szFileName[64 * 1024]; // room for many files of a multiple selection
    char m_szFileTitle[MAX_PATH];
};
