// Simple MAPI bound at run time: MAPI32.DLL is loaded when the session is made (without the
// system's box when it is missing) and freed when it ends. A session lives for one mail.
// Without the library (or its functions) nothing logs on and SendMail answers -1.
#pragma once

#include <afxwin.h>
#include <mapi.h>

#include "CMailMessage.h"

class CMapiSession {
public:
    CMapiSession();
    virtual ~CMapiSession();

    // Logs on (MAPI_LOGON_UI, the active window as owner) unless logged on already; always 0.
    virtual int Logon();
    // Logs off when logged on.
    virtual void Logoff();
    // 0 when the mail was sent, -1 when not logged on, else -(MAPI error) - 100. An empty
    // recipient lets the mail system show its addressing dialog (MAPI_DIALOG).
    virtual int SendMail(const CMailMessage& message);

    // Logs off and frees the library (the destructor does it).
    void Unload();

    BOOL IsLoaded() const { return m_hLibrary != NULL; }
    BOOL IsLoggedOn() const { return m_bLoggedOn; }

private:
    CMapiSession(const CMapiSession&) = delete;
    CMapiSession& operator=(const CMapiSession&) = delete;

    HMODULE m_hLibrary;
    LHANDLE m_hSession;
    BOOL m_bLoggedOn;
    LPMAPILOGON m_pfnLogon;
    LPMAPILOGOFF m_pfnLogoff;
    LPMAPISENDMAIL m_pfnSendMail;
};
