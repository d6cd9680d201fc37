// A mail as CMapiSession::SendMail sends it.
#pragma once

#include <afxcoll.h>

struct CMailMessage {
    CString m_strRecipient;   // the name of the one recipient; empty: the mail system asks
    CString m_strSubject;
    CString m_strBody;
    CStringList m_attachments; // paths of the files to attach, in order
};
