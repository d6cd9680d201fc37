#include "CFrameBusyGuard.h"

CFrameBusyGuard::CFrameBusyGuard(CDataMainFrame* pFrame) : m_pCounter(pFrame != NULL ? pFrame->GetBusyCounter() : NULL)
{
    if (m_pCounter != NULL)
        InterlockedIncrement(m_pCounter);
}

CFrameBusyGuard::~CFrameBusyGuard()
{
    if (m_pCounter != NULL)
        InterlockedDecrement(m_pCounter);
}
