// An array of untyped pointers; pointers are not archived (Serialize writes nothing).
#pragma once

#include "CArray.h"

class CPtrArray : public CArray<void*, void*> {
    DECLARE_DYNAMIC(CPtrArray)
public:
    CPtrArray();
    virtual ~CPtrArray();

    virtual void Serialize(CArchive& ar);
};
