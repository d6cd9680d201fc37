// Base of the library's own threads: starts a thread and waits until it runs, suspends, resumes
// and stops it with a time-out (terminating it as a last resort), and offers the thread a stop
// event to wait on.
//
// States (GetState):  0 no thread --ThreadStart--> 1 running --SuspendThread--> 2 suspended
//                     1/2 --ThreadMain returns--> 3 ended --ThreadStart--> 1 (old handle closed)
//                     any --ThreadStop/CloseThreadHandle--> 0
#pragma once

#include <windows.h>

class clsThreadBase {
public:
    explicit clsThreadBase(const char* name = nullptr);
    virtual ~clsThreadBase();
    clsThreadBase(const clsThreadBase&) = delete;
    clsThreadBase& operator=(const clsThreadBase&) = delete;

    // Starts the thread, or resumes it when it exists.
    void ThreadStart(int priority = THREAD_PRIORITY_NORMAL);
    // Asks the thread to stop and waits up to timeoutMs; a thread still running then (or a
    // suspended one when terminateSuspended is set) is terminated.
    void ThreadStop(bool terminateSuspended, DWORD timeoutMs);
    // For the thread body: true when the time passed without a stop request.
    bool WaitForStop(DWORD ms);
    int GetState();
    bool GetExitCode(DWORD* code);
    void CloseThreadHandle();

    HANDLE ThreadHandle() const { return m_thread; }
    DWORD ThreadId() const { return m_threadId; }

protected:
    virtual DWORD ThreadMain() { return 0; }
    // Initial stack commit of the new thread (the reserve stays the image default).
    virtual DWORD GetStackSize() { return 16384; }
    // True: the waits of this class use MsgWaitForMultipleObjects.
    virtual bool UseMsgWait() { return false; }

private:
    static unsigned __stdcall Routine(void* param);

    HANDLE m_thread = nullptr;
    DWORD m_threadId = 0;
    DWORD m_starterId = 0;
    HANDLE m_stopEvent = nullptr;
    char* m_name = nullptr;
    HANDLE m_startEvent = nullptr;
};

// Names a thread for an attached debugger (only when one is attached and the registry switch
// HKCU\Software\velmar "Debug.NamedThreads" is non-zero, see clsThreadBase's constructor).
void SetThreadNameForDebugger(DWORD threadId, const char* name);
