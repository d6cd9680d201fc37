#include "CMfxUiQueue.h"

#include <afxmt.h>

#include <atomic>
#include <deque>

namespace {

// The thread that ran the program's static initialisation: the thread that started the program.
const DWORD s_dwStartThreadId = ::GetCurrentThreadId();

const char kWindowClass[] = "OxMfxUiQueue";

struct QueueState {
    CCriticalSection lock;
    std::deque<CMfxUiQueue::Task> tasks;
    // The wake-up window and its thread.
    HWND hWnd = NULL;
    DWORD dwWindowThread = 0;
    // A wake-up message is on its way (cleared when it is dispatched).
    std::atomic<bool> bWakePosted{false};
    // The user-interface thread is running tasks (they never run nested).
    std::atomic<bool> bRunning{false};
};

QueueState& State()
{
    static QueueState* s_pState = new QueueState; // lives until the process ends
    return *s_pState;
}

thread_local int t_nHold = 0;

LRESULT CALLBACK WakeWindowProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == CMfxUiQueue::kWakeMessage) {
        State().bWakePosted = false;
        CMfxUiQueue::RunPending();
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

// The module this code is linked into (the program, or a DLL that links the library).
const char s_cModuleMarker = 0;

HINSTANCE ThisModule()
{
    HMODULE hModule = NULL;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         &s_cModuleMarker, &hModule);
    return hModule;
}

// Posts the wake-up message unless one is on its way; FALSE when there is no window to post to.
void Wake()
{
    QueueState& state = State();
    HWND hWnd;
    {
        CSingleLock lock(&state.lock, TRUE);
        hWnd = state.hWnd;
    }
    if (hWnd == NULL || state.bWakePosted.exchange(true))
        return;
    if (!::PostMessageA(hWnd, CMfxUiQueue::kWakeMessage, 0, 0))
        state.bWakePosted = false;
}

} // namespace

DWORD CMfxUiQueue::GetUiThreadId()
{
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL && pApp->m_nThreadID != 0)
        return pApp->m_nThreadID;
    return s_dwStartThreadId;
}

BOOL CMfxUiQueue::IsUiThread() { return ::GetCurrentThreadId() == GetUiThreadId(); }

void CMfxUiQueue::Attach()
{
    if (!IsUiThread())
        return;
    QueueState& state = State();
    const DWORD dwThread = ::GetCurrentThreadId();
    {
        CSingleLock lock(&state.lock, TRUE);
        if (state.hWnd != NULL && state.dwWindowThread == dwThread && ::IsWindow(state.hWnd))
            return;
    }
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WakeWindowProc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = kWindowClass;
    ::RegisterClassA(&wc); // fails harmlessly when the class exists
    HWND hWnd = ::CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    if (hWnd == NULL)
        return;
    {
        CSingleLock lock(&state.lock, TRUE);
        state.hWnd = hWnd;
        state.dwWindowThread = dwThread;
        state.bWakePosted = false;
    }
    // Tasks queued while there was no window get their wake-up now.
    if (GetPendingCount() > 0)
        Wake();
}

BOOL CMfxUiQueue::Run(Task task)
{
    QueueState& state = State();
    if (IsUiThread() && t_nHold == 0) {
        // The tasks that came earlier go first; inside a task (a report that shows a second box)
        // the new one is simply part of it.
        if (!state.bRunning)
            RunPending();
        task();
        return TRUE;
    }
    {
        CSingleLock lock(&state.lock, TRUE);
        state.tasks.push_back(std::move(task));
    }
    Wake();
    return FALSE;
}

void CMfxUiQueue::RunPending()
{
    if (!IsUiThread() || t_nHold > 0)
        return;
    Attach();
    QueueState& state = State();
    if (state.bRunning.exchange(true))
        return;
    // Whatever ends the loop, the next call runs tasks again.
    struct Running {
        ~Running() { State().bRunning = false; }
    } running;
    for (;;) {
        Task task;
        {
            CSingleLock lock(&state.lock, TRUE);
            if (state.tasks.empty())
                break;
            task = std::move(state.tasks.front());
            state.tasks.pop_front();
        }
        try {
            task();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

int CMfxUiQueue::GetPendingCount()
{
    QueueState& state = State();
    CSingleLock lock(&state.lock, TRUE);
    return (int)state.tasks.size();
}

void CMfxUiQueue::EnterHold() { ++t_nHold; }

void CMfxUiQueue::LeaveHold()
{
    if (t_nHold > 0 && --t_nHold == 0 && GetPendingCount() > 0)
        RunPending();
}

int CMfxUiQueue::GetHoldDepth() { return t_nHold; }
