// Base of the exceptions that carry nothing but a fixed text (memory, not supported, resource,
// invalid argument). The library throws preallocated static objects of these classes, so that a
// throw works even when memory is exhausted.
#pragma once

#include "CException.h"

class CSimpleException : public CException {
    DECLARE_DYNAMIC(CSimpleException)
public:
    CSimpleException();
    explicit CSimpleException(BOOL bAutoDelete);
    virtual ~CSimpleException();

    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

protected:
    int m_nTextID; // AfxLibraryText number of the text
};
