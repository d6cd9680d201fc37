// An array of bytes; archived as a count (WriteCount) followed by the bytes.
#pragma once

#include "CArray.h"

class CByteArray : public CArray<BYTE, BYTE> {
    DECLARE_SERIAL(CByteArray)
public:
    CByteArray();
    virtual ~CByteArray();
};
