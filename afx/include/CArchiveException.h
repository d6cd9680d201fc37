// Reading or writing an archive failed: the cause and the name of the archive's file.
#pragma once

#include "CException.h"
#include "CString.h"

class CArchiveException : public CException {
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };

    CArchiveException(int cause = CArchiveException::none, LPCTSTR lpszArchiveName = NULL);
    virtual ~CArchiveException();

    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AFXAPI AfxThrowArchiveException(int cause, LPCTSTR lpszArchiveName = NULL);
