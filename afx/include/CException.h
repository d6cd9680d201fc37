// Base class of the exceptions of the class library. Exceptions are thrown as pointers to heap
// objects (THROW, AfxThrow...) and end with Delete(), which frees only objects made with
// bAutoDelete (the library's preallocated exceptions are static).
#pragma once

#include "CObject.h"

class CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE);
    virtual ~CException();

    // Frees the exception when it was allocated for this one throw.
    void Delete();

    // Copies the error text into lpszError; FALSE when the exception has no text.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    // Shows the error text (or the string resource nMessageID, or a general text) through
    // AfxShowMessageBox and returns its answer.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};
