// An OLE or automation call failed with the status code m_sc.
#pragma once

#include "CException.h"

class COleException : public CException {
    DECLARE_DYNAMIC(COleException)
public:
    COleException();
    virtual ~COleException();

    // The status code that stands for any caught exception: m_sc of an OLE exception,
    // DISP_E_EXCEPTION for a dispatch exception, E_OUTOFMEMORY for a memory exception,
    // E_UNEXPECTED otherwise.
    static SCODE PASCAL Process(const CException* pAnyException);

    // The system's text for m_sc; FALSE when the system has none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    SCODE m_sc;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
// Throws for a failed status: a memory exception for E_OUTOFMEMORY, else an OLE exception.
void AFXAPI AfxCheckError(SCODE sc);
