#include "afx.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    // A destructor must not throw: close as Abort does.
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        CFile::Abort();
}

BOOL CFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pException)
{
    m_bCloseOnDelete = FALSE;
    m_hFile = hFileNull;
    m_strFileName.Empty();

    char szFullPath[MAX_PATH];
    LPSTR lpszFilePart = NULL;
    DWORD n = GetFullPathNameA(lpszFileName, sizeof szFullPath, szFullPath, &lpszFilePart);
    m_strFileName = (n > 0 && n < sizeof szFullPath) ? szFullPath : lpszFileName;

    DWORD dwAccess = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        dwAccess = GENERIC_READ;
        break;
    case modeWrite:
        dwAccess = GENERIC_WRITE;
        break;
    case modeReadWrite:
        dwAccess = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        dwAccess = GENERIC_READ;
        break;
    }

    DWORD dwShareMode = 0;
    switch (nOpenFlags & 0x70) {
    case shareDenyWrite:
        dwShareMode = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        dwShareMode = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        dwShareMode = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    default: // compatibility mode and exclusive
        dwShareMode = 0;
        break;
    }

    SECURITY_ATTRIBUTES sa;
    sa.nLength = sizeof sa;
    sa.lpSecurityDescriptor = NULL;
    sa.bInheritHandle = (nOpenFlags & modeNoInherit) == 0;

    DWORD dwCreateFlag;
    if (nOpenFlags & modeCreate)
        dwCreateFlag = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    else
        dwCreateFlag = OPEN_EXISTING;

    HANDLE hFile = CreateFileA(lpszFileName, dwAccess, dwShareMode, &sa, dwCreateFlag, FILE_ATTRIBUTE_NORMAL, NULL);
    if (hFile == INVALID_HANDLE_VALUE) {
        if (pException != NULL) {
            pException->m_lOsError = (LONG)GetLastError();
            pException->m_cause = CFileException::OsErrorToException(pException->m_lOsError);
            pException->m_strFileName = lpszFileName;
        }
        m_strFileName.Empty();
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD dwRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &dwRead, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (UINT)dwRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

LONG CFile::Seek(LONG lOff, UINT nFrom)
{
    LARGE_INTEGER distance;
    distance.QuadPart = lOff;
    LARGE_INTEGER newPos;
    if (!SetFilePointerEx(m_hFile, distance, &newPos, (DWORD)nFrom))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (LONG)newPos.QuadPart;
}

DWORD CFile::GetPosition() const
{
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER pos;
    if (!SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (DWORD)pos.QuadPart;
}

DWORD CFile::SeekToEnd() { return (DWORD)Seek(0, end); }

void CFile::SeekToBegin() { Seek(0, begin); }

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    if (!::FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    if (m_hFile != hFileNull)
        bError = !::CloseHandle(m_hFile);
    DWORD dwError = bError ? GetLastError() : 0;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    CString strName = m_strFileName;
    m_strFileName.Empty();
    if (bError)
        CFileException::ThrowOsError((LONG)dwError, strName);
}

void CFile::Abort()
{
    if (m_hFile != hFileNull) {
        ::CloseHandle(m_hFile);
        m_hFile = hFileNull;
    }
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

void CFile::LockRange(DWORD dwPos, DWORD dwCount)
{
    if (!::LockFile(m_hFile, dwPos, 0, dwCount, 0))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::UnlockRange(DWORD dwPos, DWORD dwCount)
{
    if (!::UnlockFile(m_hFile, dwPos, 0, dwCount, 0))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::SetLength(DWORD dwNewLen)
{
    Seek((LONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

DWORD CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (DWORD)size.QuadPart;
}

CString CFile::GetFileName() const
{
    int n = m_strFileName.GetLength();
    int nStart = n;
    while (nStart > 0) {
        char ch = m_strFileName[nStart - 1];
        if (ch == '\\' || ch == '/' || ch == ':')
            break;
        --nStart;
    }
    return m_strFileName.Mid(nStart);
}

CString CFile::GetFileTitle() const
{
    CString strName = GetFileName();
    int nDot = strName.ReverseFind('.');
    return nDot > 0 ? strName.Left(nDot) : strName;
}

CString CFile::GetFilePath() const { return m_strFileName; }

void CFile::SetFilePath(LPCTSTR lpszNewName) { m_strFileName = lpszNewName; }

void PASCAL CFile::Rename(LPCTSTR lpszOldName, LPCTSTR lpszNewName)
{
    if (!::MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszOldName);
}

void PASCAL CFile::Remove(LPCTSTR lpszFileName)
{
    if (!::DeleteFileA(lpszFileName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName);
}

namespace {

CTime TimeOf(const FILETIME& ft)
{
    if (ft.dwLowDateTime == 0 && ft.dwHighDateTime == 0)
        return CTime();
    return CTime(ft);
}

} // namespace

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    rStatus = CFileStatus();
    lstrcpynA(rStatus.m_szFullName, m_strFileName, MAX_PATH);
    if (m_hFile == hFileNull)
        return FALSE;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    rStatus.m_ctime = TimeOf(info.ftCreationTime);
    rStatus.m_atime = TimeOf(info.ftLastAccessTime);
    rStatus.m_mtime = TimeOf(info.ftLastWriteTime);
    rStatus.m_size = (LONG)info.nFileSizeLow;
    rStatus.m_attribute = (BYTE)info.dwFileAttributes;
    return TRUE;
}

BOOL PASCAL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus)
{
    rStatus = CFileStatus();
    if (lpszFileName == NULL)
        return FALSE;
    LPSTR lpszFilePart = NULL;
    DWORD n = GetFullPathNameA(lpszFileName, MAX_PATH, rStatus.m_szFullName, &lpszFilePart);
    if (n == 0 || n >= MAX_PATH) {
        rStatus.m_szFullName[0] = '\0';
        return FALSE;
    }
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    rStatus.m_attribute = (BYTE)data.dwFileAttributes;
    rStatus.m_size = (LONG)data.nFileSizeLow;
    rStatus.m_ctime = TimeOf(data.ftCreationTime);
    rStatus.m_atime = TimeOf(data.ftLastAccessTime);
    rStatus.m_mtime = TimeOf(data.ftLastWriteTime);
    return TRUE;
}
