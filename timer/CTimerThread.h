// A thread of the timer library (a job's polling or notification thread) that can be waited for
// even while the library is being unloaded.
//
// Normally the owner waits for the thread's end. While the library is unloaded (FreeLibrary with
// a job still open), the loader lock is held by the unloading thread, and no thread can end
// before it is released: waiting for the end would hang. The thread therefore sets an event as
// its very last act, and does so without returning into the library's code: its start routine
// jumps to SetEvent, which returns straight to the system's thread start-up and from there to
// ExitThread. Once the event is set the library's code and data may go.
#pragma once

#include <windows.h>

class CTimerThread {
public:
    typedef void (*BODY)(void* pParam);

    CTimerThread();
    // The thread must have been waited for.
    ~CTimerThread();
    CTimerThread(const CTimerThread&) = delete;
    CTimerThread& operator=(const CTimerThread&) = delete;

    // Starts pfnBody(pParam) on a new thread with the given stack commit size and priority;
    // FALSE when the thread cannot be created. The object must not be running.
    BOOL Start(BODY pfnBody, void* pParam, UINT nStackCommit, int nPriority);
    BOOL IsRunning() const { return m_hThread != NULL; }
    DWORD GetThreadId() const { return m_nThreadId; }

    // Waits until the thread has ended (bUnloading FALSE), or until it has left the library's
    // code (bUnloading TRUE: the library is being unloaded), then forgets it. FALSE when the wait
    // while unloading timed out.
    BOOL Wait(BOOL bUnloading, DWORD dwUnloadTimeout);

    // Called by the start routine on the new thread: runs the body and returns the event that
    // the start routine sets on its way out.
    static HANDLE Run(CTimerThread* pThis);

private:
    HANDLE m_hThread;
    HANDLE m_hLeft;
    DWORD m_nThreadId;
    BODY m_pfnBody;
    void* m_pParam;
};
