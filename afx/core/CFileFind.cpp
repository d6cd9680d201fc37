#include "afx.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CFileFind, CObject)

CFileFind::CFileFind() : m_hContext(NULL), m_bHaveFound(FALSE), m_bHaveNext(FALSE), m_found(), m_next() {}

CFileFind::~CFileFind() { Close(); }

void CFileFind::Close()
{
    if (m_hContext != NULL && m_hContext != INVALID_HANDLE_VALUE)
        ::FindClose(m_hContext);
    m_hContext = NULL;
    m_bHaveFound = m_bHaveNext = FALSE;
}

BOOL CFileFind::FindFile(LPCTSTR pstrName, DWORD)
{
    Close();
    if (pstrName == NULL || *pstrName == '\0')
        pstrName = "*.*";
    HANDLE hContext = ::FindFirstFileA(pstrName, &m_next);
    if (hContext == INVALID_HANDLE_VALUE)
        return FALSE;
    m_hContext = hContext;
    m_bHaveNext = TRUE;

    // The folder part of the pattern, as a full path.
    char szFull[MAX_PATH * 2];
    LPSTR pszFilePart = NULL;
    DWORD dwLen = ::GetFullPathNameA(pstrName, sizeof(szFull), szFull, &pszFilePart);
    if (dwLen > 0 && dwLen < sizeof(szFull)) {
        if (pszFilePart != NULL)
            *pszFilePart = '\0';
        m_strRoot = szFull;
    } else {
        m_strRoot.Empty();
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile()
{
    if (!m_bHaveNext)
        return FALSE;
    m_found = m_next;
    m_bHaveFound = TRUE;
    m_bHaveNext = ::FindNextFileA(m_hContext, &m_next);
    return m_bHaveNext;
}

ULONGLONG CFileFind::GetLength() const
{
    return m_bHaveFound ? ((ULONGLONG)m_found.nFileSizeHigh << 32) | m_found.nFileSizeLow : 0;
}

CString CFileFind::GetFileName() const { return m_bHaveFound ? CString(m_found.cFileName) : CString(); }

CString CFileFind::GetFilePath() const { return m_bHaveFound ? m_strRoot + m_found.cFileName : CString(); }

CString CFileFind::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

CString CFileFind::GetRoot() const { return m_strRoot; }

BOOL CFileFind::GetLastWriteTime(FILETIME* pTimeStamp) const
{
    if (!m_bHaveFound || pTimeStamp == NULL)
        return FALSE;
    *pTimeStamp = m_found.ftLastWriteTime;
    return TRUE;
}

BOOL CFileFind::GetLastWriteTime(CTime& refTime) const
{
    if (!m_bHaveFound)
        return FALSE;
    refTime = CTime(m_found.ftLastWriteTime);
    return TRUE;
}

BOOL CFileFind::MatchesMask(DWORD dwMask) const { return m_bHaveFound && (m_found.dwFileAttributes & dwMask) != 0; }

BOOL CFileFind::IsDots() const
{
    return m_bHaveFound && IsDirectory() && (strcmp(m_found.cFileName, ".") == 0 || strcmp(m_found.cFileName, "..") == 0);
}
