// An array of CStrings; archived as a count (WriteCount) followed by the strings.
#pragma once

#include "CArray.h"

class CStringArray : public CArray<CString, LPCTSTR> {
    DECLARE_SERIAL(CStringArray)
public:
    CStringArray();
    virtual ~CStringArray();

    // CString arguments share the string's buffer instead of copying the characters.
    using CArray<CString, LPCTSTR>::SetAt;
    using CArray<CString, LPCTSTR>::SetAtGrow;
    using CArray<CString, LPCTSTR>::Add;
    using CArray<CString, LPCTSTR>::InsertAt;
    void SetAt(int nIndex, const CString& newElement) { ElementAt(nIndex) = newElement; }
    void SetAtGrow(int nIndex, const CString& newElement);
    int Add(const CString& newElement);
    void InsertAt(int nIndex, const CString& newElement, int nCount = 1);
};
