// A list of untyped pointers; pointers are not archived (Serialize writes nothing).
#pragma once

#include "CList.h"

class CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(int nBlockSize = 10);
    virtual ~CPtrList();

    virtual void Serialize(CArchive& ar);
};
