// An array of WORDs; archived as a count (WriteCount) followed by the 2-byte values.
#pragma once

#include "CArray.h"

class CWordArray : public CArray<WORD, WORD> {
    DECLARE_SERIAL(CWordArray)
public:
    CWordArray();
    virtual ~CWordArray();
};
