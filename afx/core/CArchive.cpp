#include "afxcoll.h"

#include <stdlib.h>

namespace {

// Tags of the object format (see CArchive.h).
const WORD wNullTag = 0;
const WORD wNewClassTag = 0xFFFF;
const WORD wClassTag = 0x8000;
const DWORD dwBigClassTag = 0x80000000;
const WORD wBigObjectTag = 0x7FFF;
const UINT nMaxMapCount = 0x3FFFFFFE;

// Size of the object maps: the store map's hash table and the load array's growth.
const UINT nHashSize = 2053;
const int nGrowSize = 64;

// Smallest buffer: a value of any archived type fits.
const int nMinBufSize = 16;

} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void* lpBuf)
    : m_pDocument(NULL), m_nMode(nMode), m_bUserBuf(lpBuf != NULL), m_nBufSize(nBufSize < nMinBufSize ? nMinBufSize : nBufSize),
      m_pFile(pFile), m_lpBufCur(NULL), m_lpBufMax(NULL), m_lpBufStart(NULL), m_nMapCount(0), m_pLoadArray(NULL),
      m_pStoreMap(NULL), m_pSchemaMap(NULL), m_nObjectSchema((UINT)-1)
{
    if (lpBuf != NULL && nBufSize >= nMinBufSize)
        m_lpBufStart = (BYTE*)lpBuf;
    else {
        m_bUserBuf = FALSE;
        m_lpBufStart = (BYTE*)malloc(m_nBufSize);
        if (m_lpBufStart == NULL)
            AfxThrowMemoryException();
    }
    m_lpBufCur = m_lpBufStart;
    // Store: the buffer is free space up to its end. Load: it holds no data yet.
    m_lpBufMax = IsStoring() ? m_lpBufStart + m_nBufSize : m_lpBufStart;
}

CArchive::~CArchive()
{
    if (m_pFile != NULL && !(m_nMode & bNoFlushOnDelete)) {
        try {
            Close();
        } catch (CException* e) {
            e->Delete();
            Abort();
        }
    }
    Abort();
    if (!m_bUserBuf)
        free(m_lpBufStart);
    delete m_pLoadArray;
    delete m_pStoreMap;
    delete m_pSchemaMap;
}

void CArchive::ThrowArchiveException(int cause)
{
    CString strName;
    if (m_pFile != NULL)
        strName = m_pFile->GetFilePath();
    AfxThrowArchiveException(cause, strName);
}

void CArchive::CheckStoring()
{
    if (m_pFile == NULL)
        ThrowArchiveException(CArchiveException::generic);
    if (!IsStoring())
        ThrowArchiveException(CArchiveException::readOnly);
}

void CArchive::CheckLoading()
{
    if (m_pFile == NULL)
        ThrowArchiveException(CArchiveException::generic);
    if (!IsLoading())
        ThrowArchiveException(CArchiveException::writeOnly);
}

UINT CArchive::GetObjectSchema()
{
    UINT nResult = m_nObjectSchema;
    m_nObjectSchema = (UINT)-1;
    return nResult;
}

// ---- raw bytes ---------------------------------------------------------------------------------

void CArchive::FillBuffer(UINT nBytesNeeded)
{
    // Move what is left to the front, then read behind it.
    UINT nUnused = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nUnused > 0 && m_lpBufCur != m_lpBufStart)
        memmove(m_lpBufStart, m_lpBufCur, nUnused);
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = m_lpBufStart + nUnused;

    UINT nTotalNeeded = nUnused + nBytesNeeded;
    while ((UINT)(m_lpBufMax - m_lpBufStart) < nTotalNeeded) {
        UINT nRead = m_pFile->Read(m_lpBufMax, (UINT)(m_nBufSize - (m_lpBufMax - m_lpBufStart)));
        if (nRead == 0)
            break;
        m_lpBufMax += nRead;
    }
    if ((UINT)(m_lpBufMax - m_lpBufStart) < nTotalNeeded)
        ThrowArchiveException(CArchiveException::endOfFile);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    CheckLoading();
    if (nMax == 0)
        return 0;
    BYTE* pDest = (BYTE*)lpBuf;
    UINT nTotal = 0;

    // First what the buffer holds.
    UINT nTemp = (UINT)(m_lpBufMax - m_lpBufCur);
    if (nTemp > nMax)
        nTemp = nMax;
    memcpy(pDest, m_lpBufCur, nTemp);
    m_lpBufCur += nTemp;
    pDest += nTemp;
    nTotal += nTemp;
    nMax -= nTemp;

    // Large remainders straight from the file, the rest through the buffer.
    while (nMax >= (UINT)m_nBufSize) {
        UINT nRead = m_pFile->Read(pDest, nMax - nMax % (UINT)m_nBufSize);
        if (nRead == 0)
            return nTotal;
        pDest += nRead;
        nTotal += nRead;
        nMax -= nRead;
    }
    while (nMax > 0) {
        m_lpBufCur = m_lpBufStart;
        UINT nRead = m_pFile->Read(m_lpBufStart, (UINT)m_nBufSize);
        m_lpBufMax = m_lpBufStart + nRead;
        if (nRead == 0)
            break;
        nTemp = nRead < nMax ? nRead : nMax;
        memcpy(pDest, m_lpBufCur, nTemp);
        m_lpBufCur += nTemp;
        pDest += nTemp;
        nTotal += nTemp;
        nMax -= nTemp;
    }
    return nTotal;
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    CheckStoring();
    const BYTE* pSrc = (const BYTE*)lpBuf;
    while (nMax > 0) {
        UINT nFree = (UINT)(m_lpBufMax - m_lpBufCur);
        if (nFree == 0) {
            Flush();
            if (nMax >= (UINT)m_nBufSize) {
                m_pFile->Write(pSrc, nMax);
                return;
            }
            continue;
        }
        UINT nTemp = nFree < nMax ? nFree : nMax;
        memcpy(m_lpBufCur, pSrc, nTemp);
        m_lpBufCur += nTemp;
        pSrc += nTemp;
        nMax -= nTemp;
    }
}

void CArchive::Flush()
{
    if (m_pFile == NULL)
        return;
    if (IsStoring()) {
        if (m_lpBufCur != m_lpBufStart)
            m_pFile->Write(m_lpBufStart, (UINT)(m_lpBufCur - m_lpBufStart));
        m_lpBufCur = m_lpBufStart;
    } else {
        // Give the bytes read ahead back, so the file stands behind what was consumed.
        if (m_lpBufMax != m_lpBufCur)
            m_pFile->Seek(-(LONG)(m_lpBufMax - m_lpBufCur), CFile::current);
        m_lpBufCur = m_lpBufMax = m_lpBufStart;
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_lpBufCur = m_lpBufStart;
    m_lpBufMax = IsStoring() ? m_lpBufStart + m_nBufSize : m_lpBufStart;
    m_pFile = NULL;
}

// ---- counts ------------------------------------------------------------------------------------

void CArchive::WriteCount(DWORD dwCount)
{
    if (dwCount < 0xFFFF)
        *this << (WORD)dwCount;
    else {
        *this << (WORD)0xFFFF;
        *this << dwCount;
    }
}

DWORD CArchive::ReadCount()
{
    WORD wCount;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount;
    *this >> dwCount;
    return dwCount;
}

void CArchive::CheckCount(DWORD nCount, UINT nMinElementSize)
{
    CheckLoading();
    ULONGLONG nNeeded = (ULONGLONG)nCount * nMinElementSize;
    ULONGLONG nBuffered = (ULONGLONG)(m_lpBufMax - m_lpBufCur);
    if (nNeeded <= nBuffered)
        return;
    ULONGLONG nInFile = 0;
    try {
        DWORD dwLength = m_pFile->GetLength();
        DWORD dwPosition = m_pFile->GetPosition();
        nInFile = dwLength > dwPosition ? dwLength - dwPosition : 0;
    } catch (CException* e) {
        // A file that cannot tell its length: the reads themselves will find the end.
        e->Delete();
        return;
    }
    if (nNeeded > nBuffered + nInFile)
        ThrowArchiveException(CArchiveException::endOfFile);
}

// ---- objects -----------------------------------------------------------------------------------

void CArchive::CheckMapCount()
{
    if (m_nMapCount >= nMaxMapCount)
        ThrowArchiveException(CArchiveException::badIndex);
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    CheckStoring();
    if (pClassRef->m_wSchema == 0xFFFF) {
        TRACE("Class %s is not serializable (no IMPLEMENT_SERIAL).\n", pClassRef->m_lpszClassName);
        AfxThrowNotSupportedException();
    }
    if (m_pStoreMap == NULL) {
        m_pStoreMap = new CMapPtrToPtr(nGrowSize);
        m_pStoreMap->InitHashTable(nHashSize);
        m_nMapCount = 1;
    }
    void* pIndex = NULL;
    if (m_pStoreMap->Lookup((void*)pClassRef, pIndex)) {
        DWORD nClassIndex = (DWORD)(DWORD_PTR)pIndex;
        if (nClassIndex < wBigObjectTag)
            *this << (WORD)(wClassTag | nClassIndex);
        else {
            *this << wBigObjectTag;
            *this << (DWORD)(dwBigClassTag | nClassIndex);
        }
        return;
    }
    *this << wNewClassTag;
    pClassRef->Store(*this);
    CheckMapCount();
    (*m_pStoreMap)[(void*)pClassRef] = (void*)(DWORD_PTR)m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    CheckStoring();
    if (pOb == NULL) {
        *this << wNullTag;
        return;
    }
    void* pIndex = NULL;
    if (m_pStoreMap != NULL && m_pStoreMap->Lookup((void*)pOb, pIndex)) {
        DWORD nObIndex = (DWORD)(DWORD_PTR)pIndex;
        if (nObIndex < wBigObjectTag)
            *this << (WORD)nObIndex;
        else {
            *this << wBigObjectTag;
            *this << nObIndex;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    CheckMapCount();
    (*m_pStoreMap)[(void*)pOb] = (void*)(DWORD_PTR)m_nMapCount++;
    ((CObject*)pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema, DWORD* pObTag)
{
    CheckLoading();
    if (m_pLoadArray == NULL) {
        m_pLoadArray = new CPtrArray;
        m_pLoadArray->SetSize(nGrowSize, nGrowSize);
        m_pLoadArray->SetAt(0, NULL);
        m_pSchemaMap = new CMapPtrToPtr;
        m_nMapCount = 1;
    }

    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == wBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & wClassTag) << 16) | (wTag & ~wClassTag);

    if (!(obTag & dwBigClassTag)) {
        // An object reference (or NULL), not a class.
        if (pObTag == NULL)
            ThrowArchiveException(CArchiveException::badIndex);
        *pObTag = obTag;
        return NULL;
    }

    CRuntimeClass* pClassRef;
    UINT nSchema;
    void* pSchemaValue = NULL;
    if (wTag == wNewClassTag) {
        pClassRef = CRuntimeClass::Load(*this, &nSchema);
        if (pClassRef == NULL)
            ThrowArchiveException(CArchiveException::badClass);
        if ((pClassRef->m_wSchema & ~VERSIONABLE_SCHEMA) != nSchema &&
            !(pClassRef->m_wSchema & VERSIONABLE_SCHEMA))
            ThrowArchiveException(CArchiveException::badSchema);
        CheckMapCount();
        m_pLoadArray->SetAtGrow((int)m_nMapCount++, pClassRef);
        (*m_pSchemaMap)[pClassRef] = (void*)(DWORD_PTR)nSchema;
    } else {
        DWORD nClassIndex = obTag & ~dwBigClassTag;
        if (nClassIndex == 0 || nClassIndex >= m_nMapCount)
            ThrowArchiveException(CArchiveException::badIndex);
        pClassRef = (CRuntimeClass*)m_pLoadArray->GetAt((int)nClassIndex);
        // The number must name a class read before, not an object.
        if (!m_pSchemaMap->Lookup(pClassRef, pSchemaValue))
            ThrowArchiveException(CArchiveException::badIndex);
        nSchema = (UINT)(DWORD_PTR)pSchemaValue;
    }

    if (pClassRefRequested != NULL && !pClassRef->IsDerivedFrom(pClassRefRequested))
        ThrowArchiveException(CArchiveException::badClass);
    if (pSchema != NULL)
        *pSchema = nSchema;
    else
        m_nObjectSchema = nSchema;
    if (pObTag != NULL)
        *pObTag = obTag;
    return pClassRef;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    CheckLoading();
    UINT nSchema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClassRef = ReadClass(pClassRefRequested, &nSchema, &obTag);

    CObject* pOb;
    if (pClassRef == NULL) {
        // A NULL pointer or an object read before.
        if (obTag >= m_nMapCount)
            ThrowArchiveException(CArchiveException::badIndex);
        void* p = m_pLoadArray->GetAt((int)obTag);
        void* pIgnored;
        if (p != NULL && m_pSchemaMap->Lookup(p, pIgnored))
            ThrowArchiveException(CArchiveException::badIndex); // names a class
        pOb = (CObject*)p;
        if (pOb != NULL && pClassRefRequested != NULL && !pOb->IsKindOf(pClassRefRequested))
            ThrowArchiveException(CArchiveException::badClass);
        return pOb;
    }

    pOb = pClassRef->CreateObject();
    if (pOb == NULL)
        ThrowArchiveException(CArchiveException::badClass);
    CheckMapCount();
    m_pLoadArray->SetAtGrow((int)m_nMapCount++, pOb);

    UINT nSchemaSave = m_nObjectSchema;
    m_nObjectSchema = nSchema;
    pOb->Serialize(*this);
    m_nObjectSchema = nSchemaSave;
    return pOb;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CObject* pOb)
{
    ar.WriteObject(pOb);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, const CObject*& pOb)
{
    pOb = ar.ReadObject(NULL);
    return ar;
}

// ---- strings -----------------------------------------------------------------------------------

namespace {

// The length prefix of a string; (UINT)-1 for the marker of UTF-16 text.
UINT ReadStringLength(CArchive& ar)
{
    BYTE bLen;
    ar >> bLen;
    if (bLen < 0xFF)
        return bLen;
    WORD wLen;
    ar >> wLen;
    if (wLen == 0xFFFE)
        return (UINT)-1;
    if (wLen < 0xFFFF)
        return wLen;
    DWORD dwLen;
    ar >> dwLen;
    return dwLen;
}

} // namespace

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string)
{
    DWORD nLen = (DWORD)string.GetLength();
    if (nLen < 0xFF)
        ar << (BYTE)nLen;
    else if (nLen < 0xFFFE) {
        // 0xFFFE is the marker of UTF-16 text, so a WORD length stays below it.
        ar << (BYTE)0xFF;
        ar << (WORD)nLen;
    } else {
        ar << (BYTE)0xFF;
        ar << (WORD)0xFFFF;
        ar << nLen;
    }
    ar.Write((LPCTSTR)string, nLen);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& string)
{
    UINT nNewLen = ReadStringLength(ar);
    bool bWide = false;
    if (nNewLen == (UINT)-1) {
        bWide = true;
        nNewLen = ReadStringLength(ar);
        if (nNewLen == (UINT)-1)
            AfxThrowArchiveException(CArchiveException::generic);
    }
    ar.CheckCount(nNewLen, bWide ? 2 : 1);
    if (nNewLen > (UINT)INT_MAX / 2)
        AfxThrowArchiveException(CArchiveException::generic);

    if (!bWide) {
        LPTSTR p = string.GetBufferSetLength((int)nNewLen);
        if (nNewLen != 0 && ar.Read(p, nNewLen) != nNewLen)
            AfxThrowArchiveException(CArchiveException::endOfFile);
        string.ReleaseBuffer((int)nNewLen);
        return ar;
    }

    WCHAR* pWide = (WCHAR*)malloc(((size_t)nNewLen + 1) * sizeof(WCHAR));
    if (pWide == NULL)
        AfxThrowMemoryException();
    UINT nBytes = nNewLen * (UINT)sizeof(WCHAR);
    if (nBytes != 0 && ar.Read(pWide, nBytes) != nBytes) {
        free(pWide);
        AfxThrowArchiveException(CArchiveException::endOfFile);
    }
    pWide[nNewLen] = 0;
    string = pWide;
    free(pWide);
    return ar;
}
