#pragma once

#include "CSimpleException.h"

// Memory could not be allocated.
class CMemoryException : public CSimpleException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    CMemoryException();
    explicit CMemoryException(BOOL bAutoDelete);
    virtual ~CMemoryException();
};

// Throws the preallocated memory exception.
[[noreturn]] void AFXAPI AfxThrowMemoryException();
