// A map from WORD keys to CObject pointers; archived as a count (WriteCount) followed by
// key (2 bytes) and object (WriteObject) pairs in iteration order.
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
    DECLARE_SERIAL(CMapWordToOb)
public:
    explicit CMapWordToOb(int nBlockSize = 10);
    virtual ~CMapWordToOb();

    virtual void Serialize(CArchive& ar);
};
