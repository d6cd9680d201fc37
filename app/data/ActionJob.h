// One run of an entry's action on a thread of its own: the reminder windows and the main frame
// make the job when an entry's action is to run and start RunActionThread with it
// (AfxBeginThread); the thread owns the job and deletes it.
#pragma once

#include <afxwin.h>

#include "CDataAppointment.h"

class CDataController;
class CLinkedApplication;

struct ActionJob {
    ActionJob(CDataController* pController, const CDataAppointment& entry, CLinkedApplication* pApplication)
        : m_pController(pController), m_entry(entry), m_pApplication(pApplication)
    {
    }

    CDataController* m_pController;
    // A copy of the entry whose action runs.
    CDataAppointment m_entry;
    // The application offering the entry's action; NULL when none does (nothing runs).
    CLinkedApplication* m_pApplication;
};

// The thread procedure of an action run (pParam: a heap ActionJob, deleted here): with COM
// initialised for the thread, the application's action of the entry's action name runs with no
// owner window. Answers 0.
UINT AFX_CDECL RunActionThread(LPVOID pParam);
