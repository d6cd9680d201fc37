// The library's lock: a Win32 critical section with a spin count of 4000 once the channel has
// looked the spin-count function up (locks made earlier have none).
#pragma once

#include <windows.h>

class clsCrit {
public:
    clsCrit();
    virtual ~clsCrit();
    clsCrit(const clsCrit&) = delete;
    clsCrit& operator=(const clsCrit&) = delete;

    void Enter() { EnterCriticalSection(&m_cs); }
    void Leave() { LeaveCriticalSection(&m_cs); }
    bool TryEnter();
    CRITICAL_SECTION* Get() { return &m_cs; }

private:
    CRITICAL_SECTION m_cs;
};

// Functions looked up by name in KERNEL32.DLL when the debug-output channel opens.
extern BOOL(WINAPI* g_pfnSetCriticalSectionSpinCount)(CRITICAL_SECTION*, DWORD);
extern BOOL(WINAPI* g_pfnTryEnterCriticalSection)(CRITICAL_SECTION*);
