// A map from string keys to CObject pointers; archived as a count (WriteCount) followed by
// key (CString) and object (WriteObject) pairs in iteration order.
// The hashing, iteration order and block allocation are those of the template it is built on.
#pragma once

#include "CMap.h"

class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
    DECLARE_SERIAL(CMapStringToOb)
public:
    explicit CMapStringToOb(int nBlockSize = 10);
    virtual ~CMapStringToOb();

    virtual void Serialize(CArchive& ar);
};
