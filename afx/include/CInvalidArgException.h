#pragma once

#include "CSimpleException.h"

// A function was called with an argument outside its domain.
class CInvalidArgException : public CSimpleException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    CInvalidArgException();
    explicit CInvalidArgException(BOOL bAutoDelete);
    virtual ~CInvalidArgException();
};

// Throws the preallocated invalid-argument exception.
[[noreturn]] void AFXAPI AfxThrowInvalidArgException();
