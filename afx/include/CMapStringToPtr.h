// A map from string keys to untyped pointers (not archived).
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    explicit CMapStringToPtr(int nBlockSize = 10);
    virtual ~CMapStringToPtr();

    virtual void Serialize(CArchive& ar);
};
