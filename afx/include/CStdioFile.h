// A file read and written through a C run-time stream, in text mode (CR LF translated) unless
// typeBinary is given, with line-wise ReadString and WriteString.
#pragma once

#include "CFile.h"

#include <stdio.h>

class CStdioFile : public CFile {
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    explicit CStdioFile(FILE* pOpenStream);
    // Opens the file; throws CFileException on failure.
    CStdioFile(LPCTSTR lpszFileName, UINT nOpenFlags);
    virtual ~CStdioFile();

    FILE* m_pStream;

    virtual void WriteString(LPCTSTR lpsz);
    // Reads up to nMax - 1 characters or to the end of the line (the line break is kept); NULL at
    // the end of the file.
    virtual LPTSTR ReadString(LPTSTR lpsz, UINT nMax);
    // Reads one line without its line break; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);

    virtual DWORD GetPosition() const;
    virtual BOOL Open(LPCTSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual DWORD GetLength() const;
    virtual void Abort();
    virtual void Flush();
    virtual void Close();
    // Not supported by a stream: throw CNotSupportedException.
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);
};
