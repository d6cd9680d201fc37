#include "ActionJob.h"

#include <objbase.h>

#include "CLinkedAction.h"
#include "CLinkedApplication.h"

UINT AFX_CDECL RunActionThread(LPVOID pParam)
{
    ActionJob* pJob = static_cast<ActionJob*>(pParam);
    ::CoInitialize(NULL);
    if (pJob->m_pApplication != NULL) {
        // The application's calls on this thread connect for themselves (CLinkedApplication).
        CLinkedAction* pAction = pJob->m_pApplication->FindAction(pJob->m_entry.m_action.m_strName);
        if (pAction != NULL)
            pAction->Execute(NULL, pJob->m_pApplication, pJob->m_entry);
    }
    delete pJob;
    ::CoUninitialize();
    return 0;
}
