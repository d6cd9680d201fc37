#include "afx.h"

#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CStdioFile, CFile)

CStdioFile::CStdioFile() : m_pStream(NULL) {}

CStdioFile::CStdioFile(FILE* pOpenStream) : m_pStream(pOpenStream)
{
    if (pOpenStream != NULL)
        m_hFile = (HANDLE)_get_osfhandle(_fileno(pOpenStream));
}

CStdioFile::CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags) : m_pStream(NULL)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_pStream != NULL && m_bCloseOnDelete)
        Abort();
}

BOOL CStdioFile::Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pException)
{
    m_pStream = NULL;
    if (!CFile::Open(lpszFileName, nOpenFlags & ~(typeText | typeBinary), pException))
        return FALSE;

    // The stream mode that matches the open flags.
    char szMode[4];
    int nMode = 0;
    if (nOpenFlags & modeCreate)
        szMode[nMode++] = (nOpenFlags & modeNoTruncate) ? 'a' : 'w';
    else if (nOpenFlags & modeWrite)
        szMode[nMode++] = 'a';
    else
        szMode[nMode++] = 'r';
    if ((szMode[0] == 'r' && (nOpenFlags & modeReadWrite)) || (szMode[0] != 'r' && !(nOpenFlags & modeWrite)))
        szMode[nMode++] = '+';
    int nFlags = _O_RDONLY | _O_TEXT;
    if (nOpenFlags & (modeWrite | modeReadWrite))
        nFlags ^= _O_RDONLY;
    if (nOpenFlags & typeBinary) {
        szMode[nMode++] = 'b';
        nFlags ^= _O_TEXT;
    } else
        szMode[nMode++] = 't';
    szMode[nMode] = '\0';

    int nHandle = _open_osfhandle((intptr_t)m_hFile, nFlags);
    if (nHandle != -1) {
        m_pStream = _fdopen(nHandle, szMode);
        if (m_pStream == NULL)
            _close(nHandle); // also closes m_hFile
        m_hFile = m_pStream != NULL ? m_hFile : hFileNull;
    }
    if (m_pStream == NULL) {
        if (pException != NULL) {
            pException->m_lOsError = (LONG)_doserrno;
            pException->m_cause = CFileException::OsErrorToException(pException->m_lOsError);
        }
        CFile::Abort();
        return FALSE;
    }
    return TRUE;
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    UINT nRead = (UINT)fread(lpBuf, sizeof(BYTE), nCount, m_pStream);
    if (nRead == 0 && !feof(m_pStream))
        CFileException::ThrowErrno(errno, m_strFileName);
    if (ferror(m_pStream)) {
        clearerr(m_pStream);
        CFileException::ThrowErrno(errno, m_strFileName);
    }
    return nRead;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    if (fwrite(lpBuf, sizeof(BYTE), nCount, m_pStream) != nCount)
        CFileException::ThrowErrno(errno, m_strFileName);
}

void CStdioFile::WriteString(LPCTSTR lpsz)
{
    if (lpsz == NULL)
        AfxThrowInvalidArgException();
    if (fputs(lpsz, m_pStream) == EOF)
        AfxThrowFileException(CFileException::diskFull, (LONG)_doserrno, m_strFileName);
}

LPTSTR CStdioFile::ReadString(LPTSTR lpsz, UINT nMax)
{
    if (lpsz == NULL || nMax == 0)
        return NULL;
    LPTSTR lpszResult = fgets(lpsz, (int)nMax, m_pStream);
    if (lpszResult == NULL && !feof(m_pStream)) {
        clearerr(m_pStream);
        AfxThrowFileException(CFileException::generic, (LONG)_doserrno, m_strFileName);
    }
    return lpszResult;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    rString.Empty();
    char buffer[128];
    bool bAny = false;
    for (;;) {
        if (fgets(buffer, sizeof buffer, m_pStream) == NULL) {
            if (!feof(m_pStream)) {
                clearerr(m_pStream);
                AfxThrowFileException(CFileException::generic, (LONG)_doserrno, m_strFileName);
            }
            break;
        }
        bAny = true;
        size_t n = strlen(buffer);
        if (n > 0 && buffer[n - 1] == '\n') {
            buffer[n - 1] = '\0';
            rString += buffer;
            return TRUE;
        }
        rString += buffer;
    }
    return bAny;
}

LONG CStdioFile::Seek(LONG lOff, UINT nFrom)
{
    int nOrigin = nFrom == begin ? SEEK_SET : nFrom == end ? SEEK_END : SEEK_CUR;
    if (fseek(m_pStream, lOff, nOrigin) != 0)
        AfxThrowFileException(CFileException::badSeek, (LONG)_doserrno, m_strFileName);
    return (LONG)ftell(m_pStream);
}

DWORD CStdioFile::GetPosition() const
{
    long pos = ftell(m_pStream);
    if (pos == -1)
        AfxThrowFileException(CFileException::invalidFile, (LONG)_doserrno, m_strFileName);
    return (DWORD)pos;
}

DWORD CStdioFile::GetLength() const
{
    long nCurrent = ftell(m_pStream);
    if (nCurrent == -1)
        AfxThrowFileException(CFileException::invalidFile, (LONG)_doserrno, m_strFileName);
    fseek(m_pStream, 0, SEEK_END);
    long nLength = ftell(m_pStream);
    fseek(m_pStream, nCurrent, SEEK_SET);
    return (DWORD)nLength;
}

void CStdioFile::Flush()
{
    if (m_pStream != NULL && fflush(m_pStream) != 0)
        AfxThrowFileException(CFileException::diskFull, (LONG)_doserrno, m_strFileName);
}

void CStdioFile::Close()
{
    int nErr = 0;
    if (m_pStream != NULL)
        nErr = fclose(m_pStream); // closes m_hFile too
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    m_pStream = NULL;
    CString strName = m_strFileName;
    m_strFileName.Empty();
    if (nErr != 0)
        AfxThrowFileException(CFileException::diskFull, (LONG)_doserrno, strName);
}

void CStdioFile::Abort()
{
    if (m_pStream != NULL && m_bCloseOnDelete)
        fclose(m_pStream);
    m_hFile = hFileNull;
    m_pStream = NULL;
    m_bCloseOnDelete = FALSE;
    m_strFileName.Empty();
}

void CStdioFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CStdioFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
