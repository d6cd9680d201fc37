#include "clsThreadBase.h"

#include <process.h>

#include <cstring>

#include "DebugOutput.h"
#include "clsLibInfo.h"

namespace {

bool NamedThreadsWanted()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\velmar", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0, size = sizeof value, type = 0;
    bool on = RegQueryValueExA(key, "Debug.NamedThreads", nullptr, &type, (BYTE*)&value, &size) == ERROR_SUCCESS &&
              size == sizeof value && value != 0;
    RegCloseKey(key);
    return on;
}

const DWORD kStillActive = 259;

} // namespace

clsThreadBase::clsThreadBase(const char* name)
{
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (name && g_LibInfo.IsDebuggerActive() && NamedThreadsWanted()) {
        size_t n = std::strlen(name);
        m_name = static_cast<char*>(LocalAlloc(LPTR, n + 1));
        if (m_name)
            std::memcpy(m_name, name, n);
    }
}

clsThreadBase::~clsThreadBase()
{
    if (m_thread) {
        DebugPrintf("WRN: derived class does not end thread. I do it here - cross your fingers that the derived "
                    "class does not access any members in the thread function!!!");
        ThreadStop(false, 1000);
    }
    if (m_stopEvent)
        CloseHandle(m_stopEvent);
    if (m_name)
        LocalFree(m_name);
}

unsigned __stdcall clsThreadBase::Routine(void* param)
{
    clsThreadBase* self = static_cast<clsThreadBase*>(param);
    SetEvent(self->m_startEvent);
    return self->ThreadMain();
}

void clsThreadBase::ThreadStart(int priority)
{
    if (GetState() == 3)
        CloseThreadHandle();
    if (m_thread) {
        ResumeThread(m_thread);
        return;
    }
    m_startEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_starterId = GetCurrentThreadId();
    ResetEvent(m_stopEvent);
    unsigned id = 0;
    m_thread = (HANDLE)_beginthreadex(nullptr, GetStackSize(), &Routine, this, CREATE_SUSPENDED, &id);
    if (!m_thread) {
        CloseHandle(m_startEvent);
        m_startEvent = nullptr;
        return;
    }
    m_threadId = id;
    if (m_name)
        SetThreadNameForDebugger(m_threadId, m_name);
    SetThreadPriority(m_thread, priority);
    ResumeThread(m_thread);
    if (WaitForSingleObject(m_startEvent, INFINITE) != WAIT_OBJECT_0)
        DebugPrintf("clsThreadBase::ThreadStart()::WaitForSingleObject() failed");
    CloseHandle(m_startEvent);
    m_startEvent = nullptr;
}

void clsThreadBase::ThreadStop(bool terminateSuspended, DWORD timeoutMs)
{
    if (!m_thread)
        return;
    SetEvent(m_stopEvent);
    DWORD code = 0;
    if (!GetExitCodeThread(m_thread, &code)) {
        BOOL again = GetExitCodeThread(m_thread, &code);
        DebugPrintf("warning: thread handle is not NULL, but ::GetExitCodeThread(_hThread,&dwEC) failed(%d)", again);
        // The handle is gone: never use it again.
        CloseThreadHandle();
        return;
    }
    bool running = code == kStillActive;
    if (running) {
        DWORD count = SuspendThread(m_thread);
        ResumeThread(m_thread);
        bool suspended = count != (DWORD)-1 && count > 0;
        if (!suspended || !terminateSuspended) {
            SetThreadPriority(m_thread, GetThreadPriority(GetCurrentThread()));
            if (suspended)
                ResumeThread(m_thread);
            if (UseMsgWait()) {
                DWORD start = GetTickCount();
                for (;;) {
                    DWORD elapsed = GetTickCount() - start;
                    if (elapsed >= timeoutMs)
                        break;
                    DWORD r = MsgWaitForMultipleObjects(1, &m_thread, FALSE, timeoutMs - elapsed, 0xFF);
                    if (r != WAIT_OBJECT_0 + 1)
                        break;
                    MSG msg; // input arrived: take it off the queue's signalled state without dispatching
                    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
                }
            } else {
                WaitForSingleObject(m_thread, timeoutMs);
            }
            running = GetExitCodeThread(m_thread, &code) && code == kStillActive;
        }
        if (running)
            TerminateThread(m_thread, 0);
    }
    CloseThreadHandle();
}

bool clsThreadBase::WaitForStop(DWORD ms)
{
    if (UseMsgWait()) {
        DWORD start = GetTickCount();
        for (;;) {
            DWORD elapsed = GetTickCount() - start;
            DWORD left = elapsed >= ms ? 0 : ms - elapsed;
            DWORD r = MsgWaitForMultipleObjects(1, &m_stopEvent, FALSE, left, 0xFF);
            if (r == WAIT_OBJECT_0)
                return false;
            if (r != WAIT_OBJECT_0 + 1 || left == 0)
                return true;
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        }
    }
    return WaitForSingleObject(m_stopEvent, ms) == WAIT_TIMEOUT;
}

int clsThreadBase::GetState()
{
    DWORD code = 0;
    if (!m_thread || !GetExitCodeThread(m_thread, &code))
        return 0;
    if (code != kStillActive)
        return 3;
    DWORD count = SuspendThread(m_thread);
    ResumeThread(m_thread);
    return (count != (DWORD)-1 && count > 0) ? 2 : 1;
}

bool clsThreadBase::GetExitCode(DWORD* code)
{
    DWORD c = 0;
    if (!m_thread || !GetExitCodeThread(m_thread, &c))
        return false;
    if (code)
        *code = c;
    return true;
}

void clsThreadBase::CloseThreadHandle()
{
    if (m_thread)
        CloseHandle(m_thread);
    m_thread = nullptr;
    m_threadId = 0;
}

namespace {

LONG CALLBACK SkipThreadNameException(EXCEPTION_POINTERS* info)
{
    return info->ExceptionRecord->ExceptionCode == 0x406D1388 ? EXCEPTION_CONTINUE_EXECUTION
                                                               : EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

void SetThreadNameForDebugger(DWORD threadId, const char* name)
{
    // The debugger convention: exception 0x406D1388 with {0x1000, name, thread id, flags}. Without
    // __try, a temporary vectored handler continues execution when no debugger took it.
    ULONG_PTR args[4] = {0x1000, (ULONG_PTR)name, threadId, 0};
    PVOID handler = AddVectoredExceptionHandler(0, &SkipThreadNameException);
    RaiseException(0x406D1388, 0, 4, args);
    if (handler)
        RemoveVectoredExceptionHandler(handler);

    // Newer systems also keep a description with the thread.
    typedef HRESULT(WINAPI * SetDescription)(HANDLE, PCWSTR);
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    SetDescription set = kernel ? (SetDescription)LibGetProcAddress(kernel, "SetThreadDescription") : nullptr;
    HANDLE thread = set ? OpenThread(THREAD_SET_LIMITED_INFORMATION, FALSE, threadId) : nullptr;
    if (thread) {
        wchar_t wide[256];
        if (MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 256) > 0)
            set(thread, wide);
        CloseHandle(thread);
    }
}
