#include "CControllerBusyGuard.h"

#include "CDataController.h"

void CControllerBusyGuard::Release()
{
    if (m_pController != NULL) {
        m_pController->LeaveBusy();
        m_pController = NULL;
    }
}
