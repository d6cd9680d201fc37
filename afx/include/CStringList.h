// A list of CStrings; archived as a count (WriteCount) followed by the strings from head to tail.
#pragma once

#include "CList.h"

class CStringList : public CList<CString, LPCTSTR> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(int nBlockSize = 10);
    virtual ~CStringList();

    // CString arguments share the string's buffer instead of copying the characters.
    using CList<CString, LPCTSTR>::AddHead;
    using CList<CString, LPCTSTR>::AddTail;
    POSITION AddHead(const CString& newElement);
    POSITION AddTail(const CString& newElement);
};
