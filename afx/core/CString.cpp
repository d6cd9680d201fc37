#include "afx.h"

#include <oleauto.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

// The shared empty string: a header that is never freed (nRefs -1) followed by a zero. Constant
// initialised, so strings built during static initialisation can use it.
long g_nilData[4] = {-1, 0, 0, 0};

inline CStringData* NilData() { return (CStringData*)g_nilData; }
inline LPTSTR NilChars() { return NilData()->data(); }

// Characters of the ANSI code page: lead bytes of double-byte characters and the case-folded
// form of single-byte characters. The code page does not change while the process runs.
struct CodePageTables {
    bool lead[256];
    unsigned char fold[256];
    CodePageTables()
    {
        for (int c = 0; c < 256; ++c) {
            lead[c] = c != 0 && IsDBCSLeadByte((BYTE)c);
            char ch[2] = {(char)c, 0};
            if (c != 0 && !lead[c])
                CharLowerBuffA(ch, 1);
            fold[c] = (unsigned char)ch[0];
        }
    }
};

const CodePageTables& Tables()
{
    static const CodePageTables tables;
    return tables;
}

// Length in bytes of the character at p (1 or 2; a lead byte before the terminator counts 1).
inline int CharLen(LPCTSTR p)
{
    return (Tables().lead[(BYTE)*p] && p[1] != '\0') ? 2 : 1;
}

// TRUE when the character of nLen bytes at pCh is one of the characters of lpszSet.
bool CharInSet(LPCTSTR pCh, int nLen, LPCTSTR lpszSet)
{
    for (LPCTSTR p = lpszSet; *p != '\0';) {
        int n = CharLen(p);
        if (n == nLen && memcmp(p, pCh, n) == 0)
            return true;
        p += n;
    }
    return false;
}

// First occurrence of lpszSub in lpsz that starts on a character boundary, or NULL.
LPCTSTR FindSub(LPCTSTR lpsz, LPCTSTR lpszSub)
{
    size_t nSub = strlen(lpszSub);
    for (LPCTSTR p = lpsz;; p += CharLen(p)) {
        if (strncmp(p, lpszSub, nSub) == 0)
            return p;
        if (*p == '\0')
            return NULL;
    }
}

inline bool IsTrimSpace(TCHAR ch) { return ch == ' ' || (ch >= '\t' && ch <= '\r'); }

} // namespace

// ---- construction ------------------------------------------------------------------------------

void CString::Init() { m_pchData = NilChars(); }

CString::CString() { Init(); }

CString::CString(const CString& stringSrc)
{
    if (stringSrc.GetData()->nRefs >= 0) {
        m_pchData = stringSrc.m_pchData;
        InterlockedIncrement(&GetData()->nRefs);
    } else {
        Init();
        AssignCopy(stringSrc.GetData()->nDataLength, stringSrc.m_pchData);
    }
}

CString::CString(TCHAR ch, int nRepeat)
{
    Init();
    if (nRepeat >= 1) {
        AllocBuffer(nRepeat);
        memset(m_pchData, ch, nRepeat);
    }
}

CString::CString(LPCSTR lpsz)
{
    Init();
    if (lpsz != NULL && IS_INTRESOURCE(lpsz)) {
        LoadString(LOWORD((DWORD_PTR)lpsz));
        return;
    }
    int nLen = SafeStrlen(lpsz);
    if (nLen != 0) {
        AllocBuffer(nLen);
        memcpy(m_pchData, lpsz, nLen);
    }
}

CString::CString(LPCWSTR lpsz)
{
    Init();
    *this = lpsz;
}

CString::CString(LPCTSTR lpch, int nLength)
{
    Init();
    if (lpch != NULL && nLength > 0) {
        AllocBuffer(nLength);
        memcpy(m_pchData, lpch, nLength);
    }
}

CString::CString(const unsigned char* psz)
{
    Init();
    *this = (LPCSTR)psz;
}

CString::~CString() { Release(); }

// ---- buffer management -------------------------------------------------------------------------

void CString::FreeData(CStringData* pData) { free(pData); }

void CString::AllocBuffer(int nLen)
{
    if (nLen < 0 || (size_t)nLen > (size_t)INT_MAX - sizeof(CStringData) - 1)
        AfxThrowMemoryException();
    if (nLen == 0) {
        Init();
        return;
    }
    CStringData* pData = (CStringData*)malloc(sizeof(CStringData) + nLen + 1);
    if (pData == NULL)
        AfxThrowMemoryException();
    pData->nRefs = 1;
    pData->data()[nLen] = '\0';
    pData->nDataLength = nLen;
    pData->nAllocLength = nLen;
    m_pchData = pData->data();
}

void PASCAL CString::Release(CStringData* pData)
{
    if (pData != NilData() && InterlockedDecrement(&pData->nRefs) <= 0)
        FreeData(pData);
}

void CString::Release()
{
    if (GetData() != NilData()) {
        Release(GetData());
        Init();
    }
}

void CString::Empty()
{
    if (GetData()->nDataLength == 0)
        return;
    if (GetData()->nRefs >= 0)
        Release();
    else
        *this = "";
}

void CString::CopyBeforeWrite()
{
    if (GetData()->nRefs > 1) {
        CStringData* pData = GetData();
        Release();
        AllocBuffer(pData->nDataLength);
        memcpy(m_pchData, pData->data(), pData->nDataLength + 1);
    }
}

void CString::AllocBeforeWrite(int nLen)
{
    if (GetData()->nRefs > 1 || nLen > GetData()->nAllocLength) {
        Release();
        AllocBuffer(nLen);
    }
}

void CString::AllocCopy(CString& dest, int nCopyLen, int nCopyIndex, int nExtraLen) const
{
    int nNewLen = nCopyLen + nExtraLen;
    if (nNewLen == 0) {
        dest.Init();
        return;
    }
    dest.AllocBuffer(nNewLen);
    memcpy(dest.m_pchData, m_pchData + nCopyIndex, nCopyLen);
}

void CString::AssignCopy(int nSrcLen, LPCTSTR lpszSrcData)
{
    if (nSrcLen == 0) {
        if (GetData()->nRefs < 0 && GetData() != NilData()) {
            GetData()->nDataLength = 0;
            m_pchData[0] = '\0';
        } else
            Release();
        return;
    }
    // The source may lie inside this string's own buffer (s = (LPCTSTR)s + n): keep the old
    // buffer alive until the characters are copied.
    CStringData* pOld = NULL;
    if (GetData()->nRefs > 1 || nSrcLen > GetData()->nAllocLength) {
        pOld = GetData();
        Init();
        AllocBuffer(nSrcLen);
    }
    memmove(m_pchData, lpszSrcData, nSrcLen);
    GetData()->nDataLength = nSrcLen;
    m_pchData[nSrcLen] = '\0';
    if (pOld != NULL)
        Release(pOld);
}

void CString::ConcatCopy(int nSrc1Len, LPCTSTR lpszSrc1Data, int nSrc2Len, LPCTSTR lpszSrc2Data)
{
    if ((long long)nSrc1Len + nSrc2Len > INT_MAX)
        AfxThrowMemoryException();
    int nNewLen = nSrc1Len + nSrc2Len;
    if (nNewLen != 0) {
        AllocBuffer(nNewLen);
        memcpy(m_pchData, lpszSrc1Data, nSrc1Len);
        memcpy(m_pchData + nSrc1Len, lpszSrc2Data, nSrc2Len);
    }
}

void CString::ConcatInPlace(int nSrcLen, LPCTSTR lpszSrcData)
{
    if (nSrcLen == 0)
        return;
    CStringData* pData = GetData();
    if ((long long)pData->nDataLength + nSrcLen > INT_MAX)
        AfxThrowMemoryException();
    int nNewLen = pData->nDataLength + nSrcLen;
    if (pData->nRefs > 1 || nNewLen > pData->nAllocLength) {
        // Grow by half again, so that appending in a loop stays linear.
        long long nAlloc = (long long)pData->nDataLength + pData->nDataLength / 2;
        if (nAlloc < nNewLen || pData->nRefs > 1)
            nAlloc = nNewLen;
        if (nAlloc > INT_MAX - 64)
            nAlloc = nNewLen;
        Init();
        AllocBuffer((int)nAlloc);
        memcpy(m_pchData, pData->data(), pData->nDataLength);
        memcpy(m_pchData + pData->nDataLength, lpszSrcData, nSrcLen);
        GetData()->nDataLength = nNewLen;
        m_pchData[nNewLen] = '\0';
        Release(pData);
    } else {
        memmove(m_pchData + pData->nDataLength, lpszSrcData, nSrcLen);
        pData->nDataLength = nNewLen;
        m_pchData[nNewLen] = '\0';
    }
}

int PASCAL CString::SafeStrlen(LPCTSTR lpsz) { return lpsz == NULL ? 0 : (int)strlen(lpsz); }

LPTSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < 0)
        nMinBufLength = 0;
    if (GetData()->nRefs > 1 || nMinBufLength > GetData()->nAllocLength) {
        CStringData* pOldData = GetData();
        int nOldLen = pOldData->nDataLength;
        if (nMinBufLength < nOldLen)
            nMinBufLength = nOldLen;
        Init();
        AllocBuffer(nMinBufLength);
        memcpy(m_pchData, pOldData->data(), nOldLen + 1);
        GetData()->nDataLength = nOldLen;
        Release(pOldData);
    }
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    CopyBeforeWrite();
    if (nNewLength == -1)
        nNewLength = (int)strnlen(m_pchData, GetData()->nAllocLength);
    if (nNewLength < 0)
        nNewLength = 0;
    if (nNewLength > GetData()->nAllocLength)
        nNewLength = GetData()->nAllocLength;
    if (GetData() == NilData())
        return;
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
}

LPTSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0;
    GetBuffer(nNewLength);
    if (GetData() != NilData()) {
        GetData()->nDataLength = nNewLength;
        m_pchData[nNewLength] = '\0';
    }
    return m_pchData;
}

void CString::FreeExtra()
{
    CStringData* pData = GetData();
    if (pData != NilData() && pData->nDataLength != pData->nAllocLength) {
        Init();
        AllocBuffer(pData->nDataLength);
        memcpy(m_pchData, pData->data(), pData->nDataLength);
        Release(pData);
    }
}

LPTSTR CString::LockBuffer()
{
    LPTSTR lpsz = GetBuffer(0);
    if (GetData() != NilData())
        GetData()->nRefs = -1;
    return lpsz;
}

void CString::UnlockBuffer()
{
    if (GetData() != NilData() && GetData()->nRefs < 0)
        GetData()->nRefs = 1;
}

// ---- element access ----------------------------------------------------------------------------

TCHAR CString::GetAt(int nIndex) const
{
    ASSERT(nIndex >= 0 && nIndex < GetData()->nDataLength);
    if (nIndex < 0 || nIndex > GetData()->nDataLength)
        return '\0';
    return m_pchData[nIndex];
}

void CString::SetAt(int nIndex, TCHAR ch)
{
    if (nIndex < 0 || nIndex >= GetData()->nDataLength)
        return;
    CopyBeforeWrite();
    m_pchData[nIndex] = ch;
}

// ---- assignment and concatenation --------------------------------------------------------------

const CString& CString::operator=(const CString& stringSrc)
{
    if (m_pchData != stringSrc.m_pchData) {
        if ((GetData()->nRefs < 0 && GetData() != NilData()) || stringSrc.GetData()->nRefs < 0) {
            // A locked buffer is never shared: copy the characters.
            AssignCopy(stringSrc.GetData()->nDataLength, stringSrc.m_pchData);
        } else {
            CStringData* pOld = GetData();
            m_pchData = stringSrc.m_pchData;
            InterlockedIncrement(&GetData()->nRefs);
            Release(pOld);
        }
    }
    return *this;
}

const CString& CString::operator=(TCHAR ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    AssignCopy(SafeStrlen(lpsz), lpsz);
    return *this;
}

const CString& CString::operator=(LPCWSTR lpsz)
{
    int nSrcLen = lpsz != NULL ? (int)wcslen(lpsz) : 0;
    if (nSrcLen == 0) {
        AssignCopy(0, "");
        return *this;
    }
    int nLen = WideCharToMultiByte(CP_ACP, 0, lpsz, nSrcLen, NULL, 0, NULL, NULL);
    AllocBeforeWrite(nLen);
    WideCharToMultiByte(CP_ACP, 0, lpsz, nSrcLen, m_pchData, nLen, NULL, NULL);
    GetData()->nDataLength = nLen;
    m_pchData[nLen] = '\0';
    return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = (LPCSTR)psz; }

const CString& CString::operator+=(const CString& string)
{
    ConcatInPlace(string.GetData()->nDataLength, string.m_pchData);
    return *this;
}

const CString& CString::operator+=(TCHAR ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

const CString& CString::operator+=(LPCTSTR lpsz)
{
    ConcatInPlace(SafeStrlen(lpsz), lpsz);
    return *this;
}

CString AFXAPI operator+(const CString& string1, const CString& string2)
{
    CString s;
    s.ConcatCopy(string1.GetData()->nDataLength, string1.m_pchData, string2.GetData()->nDataLength,
                 string2.m_pchData);
    return s;
}

CString AFXAPI operator+(const CString& string, TCHAR ch)
{
    CString s;
    s.ConcatCopy(string.GetData()->nDataLength, string.m_pchData, 1, &ch);
    return s;
}

CString AFXAPI operator+(TCHAR ch, const CString& string)
{
    CString s;
    s.ConcatCopy(1, &ch, string.GetData()->nDataLength, string.m_pchData);
    return s;
}

CString AFXAPI operator+(const CString& string, LPCTSTR lpsz)
{
    CString s;
    s.ConcatCopy(string.GetData()->nDataLength, string.m_pchData, CString::SafeStrlen(lpsz), lpsz);
    return s;
}

CString AFXAPI operator+(LPCTSTR lpsz, const CString& string)
{
    CString s;
    s.ConcatCopy(CString::SafeStrlen(lpsz), lpsz, string.GetData()->nDataLength, string.m_pchData);
    return s;
}

// ---- comparison --------------------------------------------------------------------------------

int CString::Compare(LPCTSTR lpsz) const { return strcmp(m_pchData, lpsz != NULL ? lpsz : ""); }

int CString::CompareNoCase(LPCTSTR lpsz) const
{
    const unsigned char* fold = Tables().fold;
    const unsigned char* p1 = (const unsigned char*)m_pchData;
    const unsigned char* p2 = (const unsigned char*)(lpsz != NULL ? lpsz : "");
    for (;; ++p1, ++p2) {
        int c1 = fold[*p1];
        int c2 = fold[*p2];
        if (c1 != c2)
            return c1 < c2 ? -1 : 1;
        if (c1 == 0)
            return 0;
    }
}

int CString::Collate(LPCTSTR lpsz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, 0, m_pchData, -1, lpsz != NULL ? lpsz : "", -1) - CSTR_EQUAL;
}

int CString::CollateNoCase(LPCTSTR lpsz) const
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, m_pchData, -1, lpsz != NULL ? lpsz : "", -1) -
           CSTR_EQUAL;
}

bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) > 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator>(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) < 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator<=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) >= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(const CString& s1, LPCTSTR s2) { return s1.Compare(s2) >= 0; }
bool AFXAPI operator>=(LPCTSTR s1, const CString& s2) { return s2.Compare(s1) <= 0; }

// ---- extraction --------------------------------------------------------------------------------

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetData()->nDataLength); }

CString CString::Mid(int nFirst, int nCount) const
{
    int nLen = GetData()->nDataLength;
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > nLen)
        nFirst = nLen;
    if ((long long)nFirst + nCount > nLen)
        nCount = nLen - nFirst;
    if (nFirst == 0 && nCount == nLen)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, nFirst, 0);
    return dest;
}

CString CString::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetData()->nDataLength)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, 0, 0);
    return dest;
}

CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetData()->nDataLength)
        return *this;
    CString dest;
    AllocCopy(dest, nCount, GetData()->nDataLength - nCount, 0);
    return dest;
}

CString CString::SpanIncluding(LPCTSTR lpszCharSet) const
{
    LPCTSTR p = m_pchData;
    while (*p != '\0' && CharInSet(p, CharLen(p), lpszCharSet != NULL ? lpszCharSet : ""))
        p += CharLen(p);
    return Left((int)(p - m_pchData));
}

CString CString::SpanExcluding(LPCTSTR lpszCharSet) const
{
    LPCTSTR p = m_pchData;
    while (*p != '\0' && !CharInSet(p, CharLen(p), lpszCharSet != NULL ? lpszCharSet : ""))
        p += CharLen(p);
    return Left((int)(p - m_pchData));
}

// ---- changes in place --------------------------------------------------------------------------

void CString::MakeUpper()
{
    CopyBeforeWrite();
    if (GetData()->nDataLength > 0)
        CharUpperBuffA(m_pchData, GetData()->nDataLength);
}

void CString::MakeLower()
{
    CopyBeforeWrite();
    if (GetData()->nDataLength > 0)
        CharLowerBuffA(m_pchData, GetData()->nDataLength);
}

void CString::MakeReverse()
{
    int nLen = GetData()->nDataLength;
    if (nLen < 2)
        return;
    CopyBeforeWrite();
    // Reverse the characters, keeping the two bytes of a double-byte character in order.
    CString copy(m_pchData, nLen);
    LPTSTR pDest = m_pchData + nLen;
    for (LPCTSTR p = copy.m_pchData; p < copy.m_pchData + nLen;) {
        int n = CharLen(p);
        pDest -= n;
        memcpy(pDest, p, n);
        p += n;
    }
}

int CString::Replace(TCHAR chOld, TCHAR chNew)
{
    if (chOld == chNew || chOld == '\0')
        return 0;
    int nCount = 0;
    for (int i = 0; i < GetData()->nDataLength;) {
        int n = CharLen(m_pchData + i);
        if (n == 1 && m_pchData[i] == chOld) {
            CopyBeforeWrite();
            m_pchData[i] = chNew;
            ++nCount;
        }
        i += n;
    }
    return nCount;
}

int CString::Replace(LPCTSTR lpszOld, LPCTSTR lpszNew)
{
    int nOldLen = SafeStrlen(lpszOld);
    if (nOldLen == 0)
        return 0;
    int nNewLen = SafeStrlen(lpszNew);

    int nCount = 0;
    for (LPCTSTR p = FindSub(m_pchData, lpszOld); p != NULL; p = FindSub(p + nOldLen, lpszOld))
        ++nCount;
    if (nCount == 0)
        return 0;

    long long nResultLen = (long long)GetData()->nDataLength + (long long)(nNewLen - nOldLen) * nCount;
    if (nResultLen > INT_MAX)
        AfxThrowMemoryException();
    CString result;
    if (nResultLen > 0)
        result.AllocBuffer((int)nResultLen);
    LPTSTR pDest = result.m_pchData;
    LPCTSTR pSrc = m_pchData;
    for (LPCTSTR p = FindSub(pSrc, lpszOld); p != NULL; p = FindSub(pSrc, lpszOld)) {
        memcpy(pDest, pSrc, p - pSrc);
        pDest += p - pSrc;
        memcpy(pDest, lpszNew, nNewLen);
        pDest += nNewLen;
        pSrc = p + nOldLen;
    }
    memcpy(pDest, pSrc, m_pchData + GetData()->nDataLength - pSrc);
    *this = result;
    return nCount;
}

int CString::Remove(TCHAR chRemove)
{
    int nLen = GetData()->nDataLength;
    int nCount = 0;
    for (int i = 0; i < nLen; i += CharLen(m_pchData + i)) {
        if (m_pchData[i] == chRemove && CharLen(m_pchData + i) == 1)
            ++nCount;
    }
    if (nCount == 0)
        return 0;
    CopyBeforeWrite();
    LPTSTR pDest = m_pchData;
    for (int i = 0; i < nLen;) {
        int n = CharLen(m_pchData + i);
        if (!(n == 1 && m_pchData[i] == chRemove)) {
            memmove(pDest, m_pchData + i, n);
            pDest += n;
        }
        i += n;
    }
    *pDest = '\0';
    GetData()->nDataLength = (int)(pDest - m_pchData);
    return nCount;
}

int CString::Insert(int nIndex, TCHAR ch)
{
    TCHAR sz[2] = {ch, '\0'};
    return Insert(nIndex, sz);
}

int CString::Insert(int nIndex, LPCTSTR pstr)
{
    int nLen = GetData()->nDataLength;
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > nLen)
        nIndex = nLen;
    int nInsertLen = SafeStrlen(pstr);
    if (nInsertLen == 0)
        return nLen;
    CString result;
    result.ConcatCopy(nIndex, m_pchData, nInsertLen, pstr);
    result += m_pchData + nIndex;
    *this = result;
    return GetData()->nDataLength;
}

int CString::Delete(int nIndex, int nCount)
{
    int nLen = GetData()->nDataLength;
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < nLen) {
        if ((long long)nIndex + nCount > nLen)
            nCount = nLen - nIndex;
        CopyBeforeWrite();
        memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, nLen - nIndex - nCount + 1);
        GetData()->nDataLength = nLen - nCount;
    }
    return GetData()->nDataLength;
}

void CString::TrimRight()
{
    LPCTSTR pLast = NULL; // start of the trailing run of white space
    for (LPCTSTR p = m_pchData; *p != '\0'; p += CharLen(p)) {
        if (IsTrimSpace(*p)) {
            if (pLast == NULL)
                pLast = p;
        } else
            pLast = NULL;
    }
    if (pLast != NULL)
        Delete((int)(pLast - m_pchData), GetData()->nDataLength);
}

void CString::TrimRight(TCHAR chTarget)
{
    TCHAR sz[2] = {chTarget, '\0'};
    TrimRight(sz);
}

void CString::TrimRight(LPCTSTR lpszTargets)
{
    if (lpszTargets == NULL)
        return;
    LPCTSTR pLast = NULL;
    for (LPCTSTR p = m_pchData; *p != '\0'; p += CharLen(p)) {
        if (CharInSet(p, CharLen(p), lpszTargets)) {
            if (pLast == NULL)
                pLast = p;
        } else
            pLast = NULL;
    }
    if (pLast != NULL)
        Delete((int)(pLast - m_pchData), GetData()->nDataLength);
}

void CString::TrimLeft()
{
    LPCTSTR p = m_pchData;
    while (IsTrimSpace(*p))
        ++p;
    if (p != m_pchData)
        Delete(0, (int)(p - m_pchData));
}

void CString::TrimLeft(TCHAR chTarget)
{
    TCHAR sz[2] = {chTarget, '\0'};
    TrimLeft(sz);
}

void CString::TrimLeft(LPCTSTR lpszTargets)
{
    if (lpszTargets == NULL)
        return;
    LPCTSTR p = m_pchData;
    while (*p != '\0' && CharInSet(p, CharLen(p), lpszTargets))
        p += CharLen(p);
    if (p != m_pchData)
        Delete(0, (int)(p - m_pchData));
}

// ---- searching ---------------------------------------------------------------------------------

int CString::Find(TCHAR ch) const { return Find(ch, 0); }

int CString::Find(TCHAR ch, int nStart) const
{
    int nLen = GetData()->nDataLength;
    if (nStart < 0 || nStart >= nLen || ch == '\0')
        return -1;
    for (int i = nStart; i < nLen; i += CharLen(m_pchData + i)) {
        if (m_pchData[i] == ch && CharLen(m_pchData + i) == 1)
            return i;
    }
    return -1;
}

int CString::Find(LPCTSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCTSTR lpszSub, int nStart) const
{
    if (lpszSub == NULL || nStart < 0 || nStart > GetData()->nDataLength)
        return -1;
    LPCTSTR p = FindSub(m_pchData + nStart, lpszSub);
    return p == NULL ? -1 : (int)(p - m_pchData);
}

int CString::ReverseFind(TCHAR ch) const
{
    int nFound = -1;
    if (ch == '\0')
        return -1;
    for (int i = 0; i < GetData()->nDataLength; i += CharLen(m_pchData + i)) {
        if (m_pchData[i] == ch && CharLen(m_pchData + i) == 1)
            nFound = i;
    }
    return nFound;
}

int CString::FindOneOf(LPCTSTR lpszCharSet) const
{
    if (lpszCharSet == NULL)
        return -1;
    for (LPCTSTR p = m_pchData; *p != '\0'; p += CharLen(p)) {
        if (CharInSet(p, CharLen(p), lpszCharSet))
            return (int)(p - m_pchData);
    }
    return -1;
}

// ---- formatting --------------------------------------------------------------------------------

void CString::FormatV(LPCTSTR lpszFormat, va_list argList)
{
    if (lpszFormat == NULL) {
        Empty();
        return;
    }
    va_list argCount;
    va_copy(argCount, argList);
    int nLen = _vscprintf(lpszFormat, argCount);
    va_end(argCount);
    if (nLen < 0) {
        Empty();
        return;
    }
    // Format into a new buffer: the format or an argument may be this string's own text.
    CString result;
    if (nLen > 0) {
        result.AllocBuffer(nLen);
        _vsnprintf(result.m_pchData, nLen + 1, lpszFormat, argList);
        result.m_pchData[nLen] = '\0';
    }
    *this = result;
}

void AFX_CDECL CString::Format(LPCTSTR lpszFormat, ...)
{
    va_list argList;
    va_start(argList, lpszFormat);
    FormatV(lpszFormat, argList);
    va_end(argList);
}

void AFX_CDECL CString::Format(UINT nFormatID, ...)
{
    CString strFormat;
    strFormat.LoadString(nFormatID);
    va_list argList;
    va_start(argList, nFormatID);
    FormatV(strFormat, argList);
    va_end(argList);
}

// ---- conversions -------------------------------------------------------------------------------

void CString::AnsiToOem()
{
    CopyBeforeWrite();
    if (GetData()->nDataLength > 0)
        CharToOemBuffA(m_pchData, m_pchData, GetData()->nDataLength);
}

void CString::OemToAnsi()
{
    CopyBeforeWrite();
    if (GetData()->nDataLength > 0)
        OemToCharBuffA(m_pchData, m_pchData, GetData()->nDataLength);
}

BSTR CString::AllocSysString() const
{
    int nLen = GetData()->nDataLength;
    int nWide = nLen > 0 ? MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, NULL, 0) : 0;
    BSTR bstr = SysAllocStringLen(NULL, nWide);
    if (bstr == NULL)
        AfxThrowMemoryException();
    if (nWide > 0)
        MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, bstr, nWide);
    return bstr;
}

BSTR CString::SetSysString(BSTR* pbstr) const
{
    int nLen = GetData()->nDataLength;
    int nWide = nLen > 0 ? MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, NULL, 0) : 0;
    if (!SysReAllocStringLen(pbstr, NULL, nWide))
        AfxThrowMemoryException();
    if (nWide > 0)
        MultiByteToWideChar(CP_ACP, 0, m_pchData, nLen, *pbstr, nWide);
    return *pbstr;
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    for (int nSize = 256;; nSize *= 2) {
        CString buffer;
        LPTSTR p = buffer.GetBuffer(nSize);
        int nLen = ::LoadStringA(hInst, nID, p, nSize + 1);
        if (nLen <= 0)
            return FALSE;
        if (nLen < nSize || nSize >= 65536) {
            buffer.ReleaseBuffer(nLen);
            *this = buffer;
            return TRUE;
        }
    }
}
