#include "afx.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(FALSE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile()
{
    if (m_lpBuffer != NULL)
        Close();
}

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    if (m_lpBuffer != NULL)
        Close();
    m_nGrowBytes = nGrowBytes;
    m_nPosition = 0;
    m_nBufferSize = nBufferSize;
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_lpBuffer = lpBuffer;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nFileSize = 0;
    m_nBufferSize = 0;
    m_nPosition = 0;
    return lpBuffer;
}

BYTE* CMemFile::Alloc(DWORD nBytes) { return (BYTE*)malloc(nBytes); }

BYTE* CMemFile::Realloc(BYTE* lpMem, DWORD nBytes) { return (BYTE*)realloc(lpMem, nBytes); }

BYTE* CMemFile::Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes)
{
    return (BYTE*)memmove(lpMemTarget, lpMemSource, nBytes);
}

void CMemFile::Free(BYTE* lpMem) { free(lpMem); }

void CMemFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException(); // a fixed buffer cannot grow
    ULONGLONG nNewBufferSize = m_nBufferSize;
    while (nNewBufferSize < dwNewLen)
        nNewBufferSize += m_nGrowBytes;
    if (nNewBufferSize > 0xFFFFFFFFull)
        AfxThrowMemoryException();
    BYTE* lpNew = m_lpBuffer == NULL ? Alloc((DWORD)nNewBufferSize) : Realloc(m_lpBuffer, (DWORD)nNewBufferSize);
    if (lpNew == NULL)
        AfxThrowMemoryException();
    m_lpBuffer = lpNew;
    m_nBufferSize = (DWORD)nNewBufferSize;
}

DWORD CMemFile::GetPosition() const { return m_nPosition; }

DWORD CMemFile::GetLength() const { return m_nFileSize; }

LONG CMemFile::Seek(LONG lOff, UINT nFrom)
{
    LONGLONG lNewPos;
    switch (nFrom) {
    case begin:
        lNewPos = lOff;
        break;
    case current:
        lNewPos = (LONGLONG)m_nPosition + lOff;
        break;
    case end:
        lNewPos = (LONGLONG)m_nFileSize + lOff;
        break;
    default:
        return -1;
    }
    if (lNewPos < 0 || lNewPos > 0x7FFFFFFF)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = (DWORD)lNewPos;
    return (LONG)m_nPosition;
}

void CMemFile::SetLength(DWORD dwNewLen)
{
    if (dwNewLen > m_nBufferSize)
        GrowFile(dwNewLen);
    if (dwNewLen > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    if (dwNewLen < m_nPosition)
        m_nPosition = dwNewLen;
    m_nFileSize = dwNewLen;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0 || m_nPosition >= m_nFileSize)
        return 0;
    UINT nRead = ((ULONGLONG)m_nPosition + nCount > m_nFileSize) ? m_nFileSize - m_nPosition : nCount;
    Memcpy((BYTE*)lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    ULONGLONG nEnd = (ULONGLONG)m_nPosition + nCount;
    if (nEnd > 0xFFFFFFFFull)
        AfxThrowFileException(CFileException::diskFull);
    if (nEnd > m_nBufferSize)
        GrowFile((DWORD)nEnd);
    // Bytes between the old end and a position set beyond it read as zeros.
    if (m_nPosition > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    Memcpy(m_lpBuffer + m_nPosition, (const BYTE*)lpBuf, nCount);
    m_nPosition = (DWORD)nEnd;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

void CMemFile::Flush() {}

void CMemFile::Close()
{
    if (m_lpBuffer != NULL && m_bAutoDelete)
        Free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}

void CMemFile::Abort() { Close(); }

void CMemFile::LockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }

void CMemFile::UnlockRange(DWORD, DWORD) { AfxThrowNotSupportedException(); }
