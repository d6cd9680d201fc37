// The built-in action "OXMAIL": a notification mail about the entry through Simple MAPI. The
// recipient is the entry's action parameter; the subject carries the day, the times, the subject,
// the place and the participants; the body is the notes as plain text.
#pragma once

#include "CLinkedAction.h"

class CMailAction : public CLinkedAction {
public:
    explicit CMailAction(CLinkedApplication* pApplication = NULL);

    // 1 when the mail was sent; 0 when it was not (no mail library, no logon, refused or
    // cancelled by the mail system).
    int Execute(HWND hOwner, CLinkedApplication* pApplication, const CDataAppointment& entry) override;

    // The subject line of the entry's mail, at most kMaxSubject characters.
    static CString MailSubject(const CDataAppointment& entry);
    // The notes as plain text; notes that are not readable RTF as they are.
    static CString MailBody(const CDataAppointment& entry);

    enum { kMaxSubject = 256 };
};
