// A map from pointer keys to untyped pointers (not archived).
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    explicit CMapPtrToPtr(int nBlockSize = 10);
    virtual ~CMapPtrToPtr();

    virtual void Serialize(CArchive& ar);
};
