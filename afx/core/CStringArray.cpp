#include "afxcoll.h"

IMPLEMENT_SERIAL(CStringArray, CObject, 0)

CStringArray::CStringArray() {}

CStringArray::~CStringArray() {}

void CStringArray::SetAtGrow(int nIndex, const CString& newElement)
{
    CString copy(newElement); // the argument may be an element that growing moves
    if (nIndex >= m_nSize)
        SetSize(nIndex + 1, -1);
    ElementAt(nIndex) = copy;
}

int CStringArray::Add(const CString& newElement)
{
    int nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
}

void CStringArray::InsertAt(int nIndex, const CString& newElement, int nCount)
{
    CString copy(newElement);
    CArray<CString, LPCTSTR>::InsertAt(nIndex, "", nCount);
    for (int i = 0; i < nCount; ++i)
        ElementAt(nIndex + i) = copy;
}
