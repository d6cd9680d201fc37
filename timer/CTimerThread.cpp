#include "CTimerThread.h"

// The start routine of every CTimerThread, in assembly so that no code of the library runs after
// the "left" event is set: it calls TimerThreadRun, then jumps to SetEvent with the event that
// returned, so SetEvent returns directly to the system's thread start-up, which ends the thread.
// The unwind directives describe the 40 bytes of home space and alignment the prologue takes.
extern "C" DWORD WINAPI TimerThreadStart(void* pParam);
extern "C" HANDLE TimerThreadRun(void* pParam) { return CTimerThread::Run((CTimerThread*)pParam); }

asm(R"(
    .text
    .p2align 4
    .globl TimerThreadStart
    .def TimerThreadStart; .scl 2; .type 32; .endef
    .seh_proc TimerThreadStart
TimerThreadStart:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
    call TimerThreadRun
    addq $40, %rsp
    movq %rax, %rcx
    rex64 jmp *__imp_SetEvent(%rip)
    .seh_endproc
)");

CTimerThread::CTimerThread()
    : m_hThread(NULL), m_hLeft(CreateEventA(NULL, TRUE, FALSE, NULL)), m_nThreadId(0), m_pfnBody(NULL),
      m_pParam(NULL)
{
}

CTimerThread::~CTimerThread()
{
    if (m_hThread != NULL)
        CloseHandle(m_hThread);
    if (m_hLeft != NULL)
        CloseHandle(m_hLeft);
}

BOOL CTimerThread::Start(BODY pfnBody, void* pParam, UINT nStackCommit, int nPriority)
{
    if (m_hThread != NULL || m_hLeft == NULL)
        return FALSE;
    m_pfnBody = pfnBody;
    m_pParam = pParam;
    ResetEvent(m_hLeft);
    m_hThread = CreateThread(NULL, nStackCommit, &TimerThreadStart, this, CREATE_SUSPENDED, &m_nThreadId);
    if (m_hThread == NULL)
        return FALSE;
    SetThreadPriority(m_hThread, nPriority);
    ResumeThread(m_hThread);
    return TRUE;
}

BOOL CTimerThread::Wait(BOOL bUnloading, DWORD dwUnloadTimeout)
{
    if (m_hThread == NULL)
        return TRUE;
    BOOL bLeft = TRUE;
    if (bUnloading)
        bLeft = WaitForSingleObject(m_hLeft, dwUnloadTimeout) == WAIT_OBJECT_0;
    else
        WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = NULL;
    m_nThreadId = 0;
    return bLeft;
}

HANDLE CTimerThread::Run(CTimerThread* pThis)
{
    try {
        pThis->m_pfnBody(pThis->m_pParam);
    } catch (...) {
        // Nothing may leave a thread of the library; the body has ended either way.
    }
    return pThis->m_hLeft;
}
