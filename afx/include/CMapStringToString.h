// A map from strings to strings; archived as a count (WriteCount) followed by key and value
// strings in iteration order.
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
    DECLARE_SERIAL(CMapStringToString)
public:
    explicit CMapStringToString(int nBlockSize = 10);
    virtual ~CMapStringToString();
};
