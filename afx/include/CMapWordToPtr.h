// A map from WORD keys to untyped pointers (not archived).
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    explicit CMapWordToPtr(int nBlockSize = 10);
    virtual ~CMapWordToPtr();

    virtual void Serialize(CArchive& ar);
};
