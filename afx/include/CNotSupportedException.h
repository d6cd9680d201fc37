#pragma once

#include "CSimpleException.h"

// An operation the object does not support was requested.
class CNotSupportedException : public CSimpleException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    CNotSupportedException();
    explicit CNotSupportedException(BOOL bAutoDelete);
    virtual ~CNotSupportedException();
};

// Throws the preallocated not-supported exception.
[[noreturn]] void AFXAPI AfxThrowNotSupportedException();
