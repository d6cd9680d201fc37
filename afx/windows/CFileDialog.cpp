#include "AfxWindowLayer.h"
#include "CFileDialog.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CFileDialog, CDialog)

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt, LPCTSTR lpszFileName, DWORD dwFlags,
                         LPCTSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog)
{
    m_pParentWnd = pParentWnd;
    memset(&m_ofn, 0, sizeof(m_ofn));
    m_szFileName[0] = '\0';
    m_szFileTitle[0] = '\0';
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof(m_szFileName);
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof(m_szFileTitle);
    m_ofn.lpstrDefExt = lpszDefExt;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.hInstance = AfxGetResourceHandle();
    if (lpszFileName != NULL)
        lstrcpynA(m_szFileName, lpszFileName, sizeof(m_szFileName));
    if (lpszFilter != NULL) {
        // "Text|Pattern|...||" becomes the NUL-separated list of the system's dialog
        m_strFilter = lpszFilter;
        int nLength = m_strFilter.GetLength();
        LPTSTR pch = m_strFilter.GetBuffer(nLength);
        for (int i = 0; i < nLength; i++)
            if (pch[i] == '|')
                pch[i] = '\0';
        m_strFilter.ReleaseBuffer(nLength);
        m_ofn.lpstrFilter = m_strFilter;
    }
}

CFileDialog::~CFileDialog() {}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = AfxGetSafeOwner(m_pParentWnd, NULL);
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL)
        pApp->EnableModeless(FALSE);
    BOOL bResult = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    if (pApp != NULL)
        pApp->EnableModeless(TRUE);
    return bResult ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const
{
    if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 && m_ofn.lpstrFile[m_ofn.nFileOffset - 1] == '\0') {
        // several files: the first one's full path
        POSITION pos = GetStartPosition();
        return GetNextPathName(pos);
    }
    return m_ofn.lpstrFile;
}

CString CFileDialog::GetFileName() const
{
    CString strPath = GetPathName();
    int nSlash = strPath.ReverseFind('\\');
    return strPath.Mid(nSlash + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot >= 0 ? strName.Mid(nDot + 1) : CString();
}

CString CFileDialog::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

POSITION CFileDialog::GetStartPosition() const { return m_ofn.lpstrFile[0] != '\0' ? (POSITION)m_ofn.lpstrFile : NULL; }

CString CFileDialog::GetNextPathName(POSITION& pos) const
{
    LPCTSTR lpsz = (LPCTSTR)pos;
    LPCTSTR lpszFile = m_ofn.lpstrFile;
    BOOL bMulti = (m_ofn.Flags & OFN_ALLOWMULTISELECT) && m_ofn.nFileOffset > 0 && lpszFile[m_ofn.nFileOffset - 1] == '\0';
    if (!bMulti) {
        pos = NULL;
        return lpszFile;
    }
    // "folder\0name1\0name2\0\0": the folder, then one name after the other
    if (lpsz == lpszFile)
        lpsz += m_ofn.nFileOffset;
    CString strPath = lpszFile;
    if (strPath.GetLength() > 0 && strPath[strPath.GetLength() - 1] != '\\')
        strPath += '\\';
    strPath += lpsz;
    lpsz += strlen(lpsz) + 1;
    pos = *lpsz != '\0' ? (POSITION)lpsz : NULL;
    return strPath;
}
