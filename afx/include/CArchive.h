// A buffered binary stream over a CFile that writes and reads values in the class library's
// archive byte format (all integers little-endian):
//
//   type                       bytes
//   BYTE, char                 1
//   WORD, short                2
//   LONG, DWORD, int, unsigned 4
//   float                      4 (IEEE single)
//   double                     8 (IEEE double)
//   CString (n characters)     n < 0xFF: BYTE n; n < 0xFFFE: 0xFF, WORD n; else 0xFF, 0xFFFF,
//                              DWORD n; then the n ANSI bytes (0xFF 0xFFFE before the length marks
//                              UTF-16 text, which is read and converted)
//   count (WriteCount)         n < 0xFFFF: WORD n; else 0xFFFF, DWORD n
//   object (WriteObject)       see below
//
// Objects: every class and every object written gets the next number of the archive, counting
// from 1 (0 is the NULL pointer). An object is written as
//   WORD 0                                      NULL
//   WORD n (n < 0x7FFF), or 0x7FFF + DWORD n    an object written before (its number)
//   class reference, then the object's data    a new object
// and a class reference as
//   WORD 0xFFFF, WORD schema, WORD name length, name bytes   a class new to this archive
//   WORD 0x8000|n (n < 0x7FFF), or 0x7FFF + DWORD 0x80000000|n   a class written before
//
// There are deliberately no operators for bool, size_t or 64-bit integers: a stored image must
// not change its layout with the platform, so the caller names the width.
#pragma once

#include "AfxBase.h"

#include <concepts>
#include <string.h>

class CFile;
class CObject;
class CString;
class CDocument;
class CPtrArray;
class CMapPtrToPtr;

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsByteSwapping() const { return FALSE; }
    BOOL IsBufferEmpty() const { return m_lpBufCur == m_lpBufMax; }
    CFile* GetFile() const { return m_pFile; }

    // The schema of the object being read (valid once, inside its Serialize); (UINT)-1 after.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_nObjectSchema = nSchema; }

    CDocument* m_pDocument;

    // Raw bytes. Read returns fewer than nMax bytes at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);

    // Store: writes the buffer to the file. Load: gives unread buffered bytes back to the file.
    void Flush();
    // Flushes and detaches from the file (the file stays open).
    void Close();
    // Detaches from the file without writing the buffer and without throwing.
    void Abort();

    void WriteCount(DWORD dwCount);
    DWORD ReadCount();

    // Throws CArchiveException::endOfFile when the rest of the archive cannot hold nCount
    // elements of at least nMinElementSize bytes each, so that a damaged count in a stored image
    // does not make the reader allocate for elements that are not there.
    void CheckCount(DWORD nCount, UINT nMinElementSize);

    void WriteObject(const CObject* pOb);
    // A new object of the class read (or one read before); throws CArchiveException badClass
    // when it is not of pClassRefRequested, badSchema for a schema the class does not accept,
    // badIndex for a reference to nothing.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);

    CArchive& operator<<(BYTE by) { return WriteRaw(by); }
    CArchive& operator<<(WORD w) { return WriteRaw(w); }
    CArchive& operator<<(LONG l) { return WriteRaw(l); }
    CArchive& operator<<(DWORD dw) { return WriteRaw(dw); }
    CArchive& operator<<(float f) { return WriteRaw(f); }
    CArchive& operator<<(double d) { return WriteRaw(d); }
    CArchive& operator<<(int i) { return WriteRaw((LONG)i); }
    CArchive& operator<<(short w) { return WriteRaw((WORD)w); }
    CArchive& operator<<(char ch) { return WriteRaw((BYTE)ch); }
    CArchive& operator<<(unsigned u) { return WriteRaw((LONG)u); }
    template <class T>
        requires std::same_as<T, bool>
    CArchive& operator<<(T b) = delete; // write BOOL (4 bytes) or BYTE explicitly

    CArchive& operator>>(BYTE& by) { return ReadRaw(by); }
    CArchive& operator>>(WORD& w) { return ReadRaw(w); }
    CArchive& operator>>(LONG& l) { return ReadRaw(l); }
    CArchive& operator>>(DWORD& dw) { return ReadRaw(dw); }
    CArchive& operator>>(float& f) { return ReadRaw(f); }
    CArchive& operator>>(double& d) { return ReadRaw(d); }
    CArchive& operator>>(int& i) { return ReadRaw(i); }
    CArchive& operator>>(short& w) { return ReadRaw(w); }
    CArchive& operator>>(char& ch) { return ReadRaw(ch); }
    CArchive& operator>>(unsigned& u) { return ReadRaw(u); }
    template <class T>
        requires std::same_as<T, bool>
    CArchive& operator>>(T& b) = delete;

protected:
    template <class T> CArchive& WriteRaw(T value)
    {
        static_assert(sizeof(T) <= 8, "archive values are at most 8 bytes");
        CheckStoring();
        if (m_lpBufCur + sizeof(T) > m_lpBufMax)
            Flush();
        memcpy(m_lpBufCur, &value, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }
    template <class T> CArchive& ReadRaw(T& value)
    {
        static_assert(sizeof(T) <= 8, "archive values are at most 8 bytes");
        CheckLoading();
        if (m_lpBufCur + sizeof(T) > m_lpBufMax)
            FillBuffer((UINT)(sizeof(T) - (m_lpBufMax - m_lpBufCur)));
        memcpy(&value, m_lpBufCur, sizeof(T));
        m_lpBufCur += sizeof(T);
        return *this;
    }

    void CheckStoring();
    void CheckLoading();
    // Makes at least nBytesNeeded more bytes available in the buffer; throws endOfFile when the
    // file has fewer.
    void FillBuffer(UINT nBytesNeeded);
    [[noreturn]] void ThrowArchiveException(int cause);
    void CheckMapCount();

    UINT m_nMode;
    BOOL m_bUserBuf;
    int m_nBufSize;
    CFile* m_pFile;
    BYTE* m_lpBufCur;
    BYTE* m_lpBufMax;
    BYTE* m_lpBufStart;

    UINT m_nMapCount;             // number of the next class or object
    CPtrArray* m_pLoadArray;      // load: number -> class or object
    CMapPtrToPtr* m_pStoreMap;    // store: class or object -> number
    CMapPtrToPtr* m_pSchemaMap;   // load: class -> schema read
    UINT m_nObjectSchema;
};

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb);
CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb);
CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb);
CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
