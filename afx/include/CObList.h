// A list of CObject pointers; archived as a count (WriteCount) followed by the objects
// (WriteObject) from head to tail.
#pragma once

#include "CList.h"

class CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(int nBlockSize = 10);
    virtual ~CObList();

    virtual void Serialize(CArchive& ar);
};
