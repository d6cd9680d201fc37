#pragma once

#include "CSimpleException.h"

// Ends an operation that the user has been told about already (a refused entry of a dialog):
// it is caught and deleted without a further message.
class CUserException : public CSimpleException {
    DECLARE_DYNAMIC(CUserException)
public:
    CUserException();
    explicit CUserException(BOOL bAutoDelete);
    virtual ~CUserException();
};

// Throws the preallocated user exception.
[[noreturn]] void AFXAPI AfxThrowUserException();
