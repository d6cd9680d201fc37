#include "afxwin.h"
#include "CMirrorFile.h"

BOOL CMirrorFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    m_strMirrorName.Empty();
    if (!(nOpenFlags & modeCreate) || (nOpenFlags & modeNoTruncate))
        return CFile::Open(lpszFileName, nOpenFlags, pError);

    // the temporary file lies in the target's folder, so that it can take the target's place
    // without copying
    char szFullPath[MAX_PATH];
    LPSTR lpszFilePart = NULL;
    DWORD n = ::GetFullPathNameA(lpszFileName, MAX_PATH, szFullPath, &lpszFilePart);
    char szMirror[MAX_PATH];
    if (n != 0 && n < MAX_PATH && lpszFilePart != NULL) {
        CString strFolder(szFullPath, (int)(lpszFilePart - szFullPath));
        if (::GetTempFileNameA(strFolder, "ox", 0, szMirror) != 0)
            m_strMirrorName = szMirror;
    }
    if (m_strMirrorName.IsEmpty())
        return CFile::Open(lpszFileName, nOpenFlags, pError); // no folder to write into beside it
    if (!CFile::Open(m_strMirrorName, nOpenFlags, pError)) {
        ::DeleteFileA(m_strMirrorName);
        m_strMirrorName.Empty();
        return CFile::Open(lpszFileName, nOpenFlags, pError);
    }
    SetFilePath(szFullPath);
    return TRUE;
}

void CMirrorFile::Close()
{
    CString strTarget = GetFilePath();
    CFile::Close();
    if (m_strMirrorName.IsEmpty())
        return;
    CString strMirror = m_strMirrorName;
    m_strMirrorName.Empty();
    if (!::MoveFileExA(strMirror, strTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        LONG lOsError = (LONG)::GetLastError();
        ::DeleteFileA(strMirror);
        CFileException::ThrowOsError(lOsError, strTarget);
    }
}

void CMirrorFile::Abort()
{
    CFile::Abort();
    if (!m_strMirrorName.IsEmpty()) {
        ::DeleteFileA(m_strMirrorName);
        m_strMirrorName.Empty();
    }
}
