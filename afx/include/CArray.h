// A growable array of TYPE passed as ARG_TYPE. When SetSize (or Add, SetAtGrow, InsertAt) needs
// room, the first allocation has the exact size; later ones grow by the array's grow-by value or,
// when that is 0, by a eighth of the current size, at least 4 and at most 1024 elements.
#pragma once

#include "AfxCollectionHelpers.h"
#include "CObject.h"

#include <functional>
#include <memory>
#include <stdlib.h>

template <class TYPE, class ARG_TYPE> class CArray : public CObject {
public:
    CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
    virtual ~CArray();

    int GetSize() const { return m_nSize; }
    int GetUpperBound() const { return m_nSize - 1; }
    // nGrowBy -1 keeps the current grow-by value. A negative size throws CInvalidArgException.
    void SetSize(int nNewSize, int nGrowBy = -1);

    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    TYPE GetAt(int nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
    TYPE& ElementAt(int nIndex) { return m_pData[CheckIndex(nIndex)]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    int Add(ARG_TYPE newElement)
    {
        int nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    int Append(const CArray& src);
    void Copy(const CArray& src);

    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }

    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    void RemoveAt(int nIndex, int nCount = 1);
    void InsertAt(int nStartIndex, CArray* pNewArray);

    virtual void Serialize(CArchive& ar);

protected:
    TYPE* m_pData;
    int m_nSize;
    int m_nMaxSize;
    int m_nGrowBy;

    int CheckIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
        return nIndex;
    }
    // TRUE when newElement is a reference to an element of this array (which may move).
    bool RefersIntoArray(ARG_TYPE newElement) const
    {
        if constexpr (std::is_reference_v<ARG_TYPE>) {
            const void* p = std::addressof(newElement);
            return m_nSize > 0 && std::less_equal<const void*>()(m_pData, p) &&
                   std::less<const void*>()(p, m_pData + m_nSize);
        } else {
            UNUSED(newElement);
            return false;
        }
    }
};

template <class TYPE, class ARG_TYPE> CArray<TYPE, ARG_TYPE>::~CArray()
{
    if (m_pData != NULL) {
        DestructElements<TYPE>(m_pData, m_nSize);
        free(m_pData);
    }
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
{
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;

    if (nNewSize == 0) {
        if (m_pData != NULL) {
            DestructElements<TYPE>(m_pData, m_nSize);
            free(m_pData);
            m_pData = NULL;
        }
        m_nSize = m_nMaxSize = 0;
    } else if (m_pData == NULL) {
        // The first block has exactly the size asked for.
        if ((size_t)nNewSize > (size_t)0x7FFFFFFF / sizeof(TYPE))
            AfxThrowMemoryException();
        m_pData = (TYPE*)malloc((size_t)nNewSize * sizeof(TYPE));
        if (m_pData == NULL)
            AfxThrowMemoryException();
        ConstructElements<TYPE>(m_pData, nNewSize);
        m_nSize = m_nMaxSize = nNewSize;
    } else if (nNewSize <= m_nMaxSize) {
        if (nNewSize > m_nSize)
            ConstructElements<TYPE>(&m_pData[m_nSize], nNewSize - m_nSize);
        else if (m_nSize > nNewSize)
            DestructElements<TYPE>(&m_pData[nNewSize], m_nSize - nNewSize);
        m_nSize = nNewSize;
    } else {
        int nGrow = m_nGrowBy;
        if (nGrow == 0) {
            nGrow = m_nSize / 8;
            nGrow = (nGrow < 4) ? 4 : ((nGrow > 1024) ? 1024 : nGrow);
        }
        long long nNewMax = (nNewSize < (long long)m_nMaxSize + nGrow) ? (long long)m_nMaxSize + nGrow : nNewSize;
        if (nNewMax > 0x7FFFFFFF || (size_t)nNewMax > (size_t)0x7FFFFFFF / sizeof(TYPE))
            AfxThrowMemoryException();
        TYPE* pNewData = (TYPE*)malloc((size_t)nNewMax * sizeof(TYPE));
        if (pNewData == NULL)
            AfxThrowMemoryException();
        AfxRelocateElements<TYPE>(pNewData, m_pData, m_nSize);
        ConstructElements<TYPE>(&pNewData[m_nSize], nNewSize - m_nSize);
        free(m_pData);
        m_pData = pNewData;
        m_nSize = nNewSize;
        m_nMaxSize = (int)nNewMax;
    }
}

template <class TYPE, class ARG_TYPE> int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    if (this == &src)
        AfxThrowInvalidArgException();
    int nOldSize = m_nSize;
    SetSize(m_nSize + src.m_nSize);
    CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
    return nOldSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize);
    CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    TYPE* pNewData = NULL;
    if (m_nSize != 0) {
        pNewData = (TYPE*)malloc((size_t)m_nSize * sizeof(TYPE));
        if (pNewData == NULL)
            AfxThrowMemoryException();
        AfxRelocateElements<TYPE>(pNewData, m_pData, m_nSize);
    }
    free(m_pData);
    m_pData = pNewData;
    m_nMaxSize = m_nSize;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex >= m_nSize) {
        if (RefersIntoArray(newElement)) {
            // Growing may move the element the argument refers to: copy it first.
            TYPE copy(newElement);
            SetSize(nIndex + 1, -1);
            m_pData[nIndex] = copy;
            return;
        }
        SetSize(nIndex + 1, -1);
    }
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
{
    if (nIndex < 0 || nCount <= 0)
        AfxThrowInvalidArgException();
    if (RefersIntoArray(newElement)) {
        TYPE copy(newElement);
        InsertAt(nIndex, copy, nCount);
        return;
    }
    if (nIndex >= m_nSize) {
        // Adding after the end: grow and fill the new elements.
        SetSize(nIndex + nCount, -1);
    } else {
        // Inserting in the middle: grow, then move the tail up and make room.
        int nOldSize = m_nSize;
        if ((long long)m_nSize + nCount > 0x7FFFFFFF)
            AfxThrowMemoryException();
        SetSize(m_nSize + nCount, -1);
        DestructElements<TYPE>(&m_pData[nOldSize], nCount);
        AfxRelocateElements<TYPE>(&m_pData[nIndex + nCount], &m_pData[nIndex], nOldSize - nIndex);
        ConstructElements<TYPE>(&m_pData[nIndex], nCount);
    }
    while (nCount--)
        m_pData[nIndex++] = newElement;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nCount < 0 || (long long)nIndex + nCount > m_nSize)
        AfxThrowInvalidArgException();
    int nMoveCount = m_nSize - (nIndex + nCount);
    DestructElements<TYPE>(&m_pData[nIndex], nCount);
    AfxRelocateElements<TYPE>(&m_pData[nIndex], &m_pData[nIndex + nCount], nMoveCount);
    m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray)
{
    if (pNewArray == NULL || nStartIndex < 0 || pNewArray == this)
        AfxThrowInvalidArgException();
    if (pNewArray->GetSize() > 0) {
        InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
        for (int i = 0; i < pNewArray->GetSize(); i++)
            SetAt(nStartIndex + i, pNewArray->GetAt(i));
    }
}

template <class TYPE, class ARG_TYPE> void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount((DWORD)m_nSize);
    } else {
        DWORD nOldSize = ar.ReadCount();
        ar.CheckCount(nOldSize, 1);
        SetSize((int)nOldSize, -1);
    }
    SerializeElements<TYPE>(ar, m_pData, m_nSize);
}
