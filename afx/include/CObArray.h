// An array of CObject pointers; archived as a count (WriteCount) followed by the objects
// (WriteObject), so an object stored twice is written once.
#pragma once

#include "CArray.h"

class CObArray : public CArray<CObject*, CObject*> {
    DECLARE_SERIAL(CObArray)
public:
    CObArray();
    virtual ~CObArray();

    virtual void Serialize(CArchive& ar);
};
