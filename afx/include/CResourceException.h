#pragma once

#include "CSimpleException.h"

// A Windows resource (a handle, a synchronisation object, a resource) could not be made or found.
class CResourceException : public CSimpleException {
    DECLARE_DYNAMIC(CResourceException)
public:
    CResourceException();
    explicit CResourceException(BOOL bAutoDelete);
    virtual ~CResourceException();
};

// Throws the preallocated resource exception.
[[noreturn]] void AFXAPI AfxThrowResourceException();
