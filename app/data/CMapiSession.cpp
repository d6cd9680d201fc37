#include "CMapiSession.h"

#include <vector>

CMapiSession::CMapiSession()
    : m_hLibrary(NULL), m_hSession(0), m_bLoggedOn(FALSE), m_pfnLogon(NULL), m_pfnLogoff(NULL), m_pfnSendMail(NULL)
{
    UINT nOldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    m_hLibrary = LoadLibraryA("MAPI32.DLL");
    SetErrorMode(nOldMode);
    if (m_hLibrary != NULL) {
        m_pfnLogon = (LPMAPILOGON)GetProcAddress(m_hLibrary, "MAPILogon");
        m_pfnLogoff = (LPMAPILOGOFF)GetProcAddress(m_hLibrary, "MAPILogoff");
        m_pfnSendMail = (LPMAPISENDMAIL)GetProcAddress(m_hLibrary, "MAPISendMail");
    }
}

CMapiSession::~CMapiSession()
{
    Unload();
}

int CMapiSession::Logon()
{
    if (!m_bLoggedOn && m_pfnLogon != NULL) {
        char szProfile[1] = "";
        char szPassword[1] = "";
        LHANDLE hSession = 0;
        m_bLoggedOn = m_pfnLogon((ULONG_PTR)GetActiveWindow(), szProfile, szPassword, MAPI_LOGON_UI, 0, &hSession) ==
                      SUCCESS_SUCCESS;
        if (m_bLoggedOn)
            m_hSession = hSession;
    }
    return 0;
}

void CMapiSession::Logoff()
{
    if (m_bLoggedOn) {
        if (m_pfnLogoff != NULL)
            m_pfnLogoff(m_hSession, (ULONG_PTR)GetActiveWindow(), 0, 0);
        m_bLoggedOn = FALSE;
        m_hSession = 0;
    }
}

int CMapiSession::SendMail(const CMailMessage& message)
{
    if (!m_bLoggedOn || m_pfnSendMail == NULL)
        return -1;

    // The attachments stand at blanks after the body, one blank each.
    CString strNote = message.m_strBody;
    const int nFiles = (int)message.m_attachments.GetCount();
    if (nFiles > 0)
        strNote += "\n" + CString(' ', nFiles) + "\n";

    std::vector<CString> paths;
    for (POSITION pos = message.m_attachments.GetHeadPosition(); pos != NULL;)
        paths.push_back(message.m_attachments.GetNext(pos));
    std::vector<MapiFileDesc> files(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        MapiFileDesc& file = files[i];
        ZeroMemory(&file, sizeof file);
        file.nPosition = (ULONG)(message.m_strBody.GetLength() + (int)i + 1);
        file.lpszPathName = paths[i].GetBuffer(0);
        file.lpszFileName = NULL;
    }

    CString strRecipient = message.m_strRecipient;
    MapiRecipDesc recipient;
    ZeroMemory(&recipient, sizeof recipient);
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = strRecipient.GetBuffer(0);
    recipient.lpszAddress = NULL;

    CString strSubject = message.m_strSubject;
    MapiMessage mail;
    ZeroMemory(&mail, sizeof mail);
    mail.lpszSubject = strSubject.GetBuffer(0);
    mail.lpszNoteText = strNote.GetBuffer(0);
    mail.nRecipCount = 1;
    mail.lpRecips = &recipient;
    mail.nFileCount = (ULONG)files.size();
    mail.lpFiles = files.empty() ? NULL : files.data();

    FLAGS flags = message.m_strRecipient.IsEmpty() ? MAPI_DIALOG : 0;
    ULONG nResult = m_pfnSendMail(m_hSession, (ULONG_PTR)GetActiveWindow(), &mail, flags, 0);
    for (CString& path : paths)
        path.ReleaseBuffer();
    strRecipient.ReleaseBuffer();
    strSubject.ReleaseBuffer();
    strNote.ReleaseBuffer();
    return nResult == SUCCESS_SUCCESS ? 0 : -(int)nResult - 100;
}

void CMapiSession::Unload()
{
    if (m_hLibrary != NULL) {
        Logoff();
        FreeLibrary(m_hLibrary);
        m_hLibrary = NULL;
        m_pfnLogon = NULL;
        m_pfnLogoff = NULL;
        m_pfnSendMail = NULL;
    }
}
