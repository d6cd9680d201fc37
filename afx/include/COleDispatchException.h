// An automation member failed: the error code, text, source and help reference that an
// automation client receives in its EXCEPINFO.
#pragma once

#include "CException.h"
#include "CString.h"

// Help contexts of dispatch exceptions start here.
#define HID_BASE_DISPATCH 0x00090000UL

class COleDispatchException : public CException {
    DECLARE_DYNAMIC(COleDispatchException)
public:
    COleDispatchException(LPCTSTR lpszDescription, UINT nHelpID, WORD wCode);
    virtual ~COleDispatchException();

    // The description (TRUE even when it is empty).
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    // Fills what an automation client receives for any caught exception (pInfo may be NULL):
    // the code, text, source and help of a dispatch exception (the application's name as the
    // source when it has none), else the status code of COleException::Process and the
    // exception's text.
    static void PASCAL Process(EXCEPINFO* pInfo, const CException* e);

    WORD m_wCode;          // error code of the application (0 when m_scError is used)
    SCODE m_scError;       // status code (0 when m_wCode is used)
    DWORD m_dwHelpContext; // 0 without help
    CString m_strHelpFile;
    CString m_strDescription;
    CString m_strSource;   // the application name
};

[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
// The description is the string resource nDescriptionID; nHelpID (UINT)-1 uses nDescriptionID.
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, UINT nDescriptionID, UINT nHelpID = (UINT)-1);
