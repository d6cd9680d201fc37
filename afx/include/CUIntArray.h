// An array of UINTs (4 bytes each).
#pragma once

#include "CArray.h"

class CUIntArray : public CArray<UINT, UINT> {
    DECLARE_DYNAMIC(CUIntArray)
public:
    CUIntArray();
    virtual ~CUIntArray();
};
