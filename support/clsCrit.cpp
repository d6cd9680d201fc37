#include "clsCrit.h"

BOOL(WINAPI* g_pfnSetCriticalSectionSpinCount)(CRITICAL_SECTION*, DWORD) = nullptr;
BOOL(WINAPI* g_pfnTryEnterCriticalSection)(CRITICAL_SECTION*) = nullptr;

clsCrit::clsCrit()
{
    InitializeCriticalSection(&m_cs);
    if (g_pfnSetCriticalSectionSpinCount)
        g_pfnSetCriticalSectionSpinCount(&m_cs, 4000);
}

clsCrit::~clsCrit() { DeleteCriticalSection(&m_cs); }

bool clsCrit::TryEnter()
{
    if (g_pfnTryEnterCriticalSection)
        return g_pfnTryEnterCriticalSection(&m_cs) != FALSE;
    EnterCriticalSection(&m_cs);
    return true;
}
