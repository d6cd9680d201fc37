// An array of DWORDs; archived as a count (WriteCount) followed by the 4-byte values.
#pragma once

#include "CArray.h"

class CDWordArray : public CArray<DWORD, DWORD> {
    DECLARE_SERIAL(CDWordArray)
public:
    CDWordArray();
    virtual ~CDWordArray();
};
