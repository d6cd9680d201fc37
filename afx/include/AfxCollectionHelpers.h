// The element helpers of the collection templates. A program may specialise them for its own
// element types, as the library does for CString:
//   ConstructElements   zero the memory, then default-construct each element
//   DestructElements    destroy each element
//   CopyElements        assign each element
//   SerializeElements   archive the elements; the default writes and reads their bytes as they
//                       lie in memory (for plain data only), CString uses its archive format
//   CompareElements     TRUE when two elements are equal (operator==)
//   HashKey             the hash of a map key: the key shifted right by 4 for integral and
//                       pointer keys; for strings h = (h << 5) + h + c over the characters, each
//                       taken as a signed char (the char type of the Windows compilers)
#pragma once

#include "CArchive.h"
#include "CString.h"

#include <new>
#include <string.h>
#include <type_traits>

template <class TYPE> void AFXAPI ConstructElements(TYPE* pElements, int nCount)
{
    if (nCount <= 0)
        return;
    memset((void*)pElements, 0, (size_t)nCount * sizeof(TYPE));
    for (; nCount--; pElements++)
        ::new ((void*)pElements) TYPE;
}

template <class TYPE> void AFXAPI DestructElements(TYPE* pElements, int nCount)
{
    for (; nCount-- > 0; pElements++)
        pElements->~TYPE();
}

template <class TYPE> void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, int nCount)
{
    while (nCount-- > 0)
        *pDest++ = *pSrc++;
}

template <class TYPE> void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, int nCount)
{
    if (nCount <= 0)
        return;
    UINT nBytes = (UINT)((size_t)nCount * sizeof(TYPE));
    if (ar.IsStoring())
        ar.Write((const void*)pElements, nBytes);
    else if (ar.Read((void*)pElements, nBytes) != nBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}

template <class TYPE, class ARG_TYPE> BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

template <class ARG_KEY> UINT AFXAPI HashKey(ARG_KEY key) { return ((UINT)(DWORD_PTR)key) >> 4; }

template <> inline UINT AFXAPI HashKey<LPCTSTR>(LPCTSTR key)
{
    UINT nHash = 0;
    while (*key != '\0')
        nHash = (nHash << 5) + nHash + (UINT)(int)(signed char)*key++;
    return nHash;
}

template <> inline UINT AFXAPI HashKey<const CString&>(const CString& key) { return HashKey<LPCTSTR>(key); }

template <> void AFXAPI SerializeElements<CString>(CArchive& ar, CString* pElements, int nCount);

// Whether elements may be moved to another address by copying their bytes (plain data, and
// CString, which is one pointer to its shared buffer).
template <class TYPE> struct AfxIsBitwiseRelocatable : std::is_trivially_copyable<TYPE> {};
template <> struct AfxIsBitwiseRelocatable<CString> : std::true_type {};

// Moves nCount elements from pSrc to pDest (the ranges may overlap); the source elements end.
template <class TYPE> void AfxRelocateElements(TYPE* pDest, TYPE* pSrc, int nCount)
{
    if (nCount <= 0 || pDest == pSrc)
        return;
    if constexpr (AfxIsBitwiseRelocatable<TYPE>::value) {
        memmove((void*)pDest, (const void*)pSrc, (size_t)nCount * sizeof(TYPE));
    } else if (pDest < pSrc) {
        for (int i = 0; i < nCount; ++i) {
            ::new ((void*)(pDest + i)) TYPE(static_cast<TYPE&&>(pSrc[i]));
            pSrc[i].~TYPE();
        }
    } else {
        for (int i = nCount - 1; i >= 0; --i) {
            ::new ((void*)(pDest + i)) TYPE(static_cast<TYPE&&>(pSrc[i]));
            pSrc[i].~TYPE();
        }
    }
}
