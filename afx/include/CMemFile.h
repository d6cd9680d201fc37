// A file in memory. Its buffer grows in steps of nGrowBytes (rounded up to whole steps) as data
// is written beyond its end. A buffer given by the caller (Attach) is used as it is: with
// nGrowBytes 0 it holds the whole file and cannot grow; with nGrowBytes > 0 the file starts
// empty and the buffer is enlarged with realloc, so it must come from malloc. Detach hands the
// buffer (malloc memory) to the caller and leaves the file empty.
#pragma once

#include "CFile.h"

class CMemFile : public CFile {
    DECLARE_DYNAMIC(CMemFile)
public:
    CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach();

    virtual DWORD GetPosition() const;
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual void SetLength(DWORD dwNewLen);
    virtual DWORD GetLength() const;
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Abort();
    virtual void Flush();
    virtual void Close();
    // Not supported by a memory file: throw CNotSupportedException.
    virtual void LockRange(DWORD dwPos, DWORD dwCount);
    virtual void UnlockRange(DWORD dwPos, DWORD dwCount);

protected:
    virtual BYTE* Alloc(DWORD nBytes);
    virtual BYTE* Realloc(BYTE* lpMem, DWORD nBytes);
    virtual BYTE* Memcpy(BYTE* lpMemTarget, const BYTE* lpMemSource, UINT nBytes);
    virtual void Free(BYTE* lpMem);
    virtual void GrowFile(DWORD dwNewLen);

    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete; // the buffer is the file's own (freed on Close)
};
