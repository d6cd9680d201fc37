// Worker threads: AfxBeginThread with suspended start, priority and automatic deletion of the
// thread object, AfxEndThread and AfxGetThread. Waits use a generous limit only so that a fault
// fails the test instead of hanging it.
#include <afxwin.h>
#include <gtest/gtest.h>

namespace {

const DWORD kLimit = 30000;

struct WorkerState {
    HANDLE hStarted = CreateEventA(NULL, TRUE, FALSE, NULL);
    CWinThread* pSeenThread = NULL;
    int nReached = 0;
    ~WorkerState() { CloseHandle(hStarted); }
};

UINT AFX_CDECL Worker(LPVOID pParam)
{
    WorkerState* pState = (WorkerState*)pParam;
    pState->pSeenThread = AfxGetThread();
    pState->nReached = 1;
    SetEvent(pState->hStarted);
    return 17;
}

UINT AFX_CDECL EndingWorker(LPVOID pParam)
{
    WorkerState* pState = (WorkerState*)pParam;
    pState->nReached = 1;
    AfxEndThread(42);
    pState->nReached = 2; // never reached
    return 0;
}

// A thread object that reports its destruction.
class CObservedThread : public CWinThread {
public:
    CObservedThread(AFX_THREADPROC pfn, LPVOID pParam, HANDLE hDeleted) : CWinThread(pfn, pParam), m_hDeleted(hDeleted) {}
    ~CObservedThread() override { SetEvent(m_hDeleted); }
    HANDLE m_hDeleted;
};

} // namespace

TEST(WorkerThread, SuspendedStartPriorityAndExitCode)
{
    WorkerState state;
    CWinThread* pThread = AfxBeginThread(Worker, &state, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pThread);
    EXPECT_NE((HANDLE)NULL, pThread->m_hThread);
    EXPECT_NE(0u, pThread->m_nThreadID);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, pThread->GetThreadPriority());
    // Still suspended: the function has not run.
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, WaitForSingleObject(state.hStarted, 0));
    EXPECT_EQ(0, state.nReached);

    pThread->m_bAutoDelete = FALSE;
    EXPECT_EQ(1u, pThread->ResumeThread());
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pThread->m_hThread, kLimit));
    DWORD dwExitCode = 0;
    EXPECT_TRUE(GetExitCodeThread(pThread->m_hThread, &dwExitCode));
    EXPECT_EQ(17u, dwExitCode);
    EXPECT_EQ(pThread, state.pSeenThread);
    delete pThread;
}

TEST(WorkerThread, AutoDeleteFreesTheThreadObject)
{
    WorkerState state;
    HANDLE hDeleted = CreateEventA(NULL, TRUE, FALSE, NULL);
    CObservedThread* pThread = new CObservedThread(Worker, &state, hDeleted);
    ASSERT_TRUE(pThread->CreateThread());
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hDeleted, kLimit));
    EXPECT_EQ(1, state.nReached);
    CloseHandle(hDeleted);

    // The same through AfxBeginThread: the object goes, the thread's result stays readable
    // through a handle of our own.
    WorkerState state2;
    CWinThread* pPlain = AfxBeginThread(Worker, &state2, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, pPlain);
    HANDLE hOwn = NULL;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), pPlain->m_hThread, GetCurrentProcess(), &hOwn, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    pPlain->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hOwn, kLimit));
    DWORD dwExitCode = 0;
    GetExitCodeThread(hOwn, &dwExitCode);
    EXPECT_EQ(17u, dwExitCode);
    CloseHandle(hOwn);
}

TEST(WorkerThread, EndThreadStopsTheThreadAndDeletesItsObject)
{
    WorkerState state;
    HANDLE hDeleted = CreateEventA(NULL, TRUE, FALSE, NULL);
    CObservedThread* pThread = new CObservedThread(EndingWorker, &state, hDeleted);
    ASSERT_TRUE(pThread->CreateThread(CREATE_SUSPENDED));
    HANDLE hOwn = NULL;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), pThread->m_hThread, GetCurrentProcess(), &hOwn, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    pThread->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hOwn, kLimit));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hDeleted, 0));
    DWORD dwExitCode = 0;
    GetExitCodeThread(hOwn, &dwExitCode);
    EXPECT_EQ(42u, dwExitCode);
    EXPECT_EQ(1, state.nReached);
    CloseHandle(hOwn);
    CloseHandle(hDeleted);
}

TEST(WorkerThread, ThreadsNotStartedByTheLibraryHaveNoThreadObject)
{
    CWinThread* pSeen = (CWinThread*)1;
    HANDLE h = CreateThread(
        NULL, 0, [](LPVOID p) -> DWORD {
            *(CWinThread**)p = AfxGetThread();
            return 0;
        },
        &pSeen, 0, NULL);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(h, kLimit));
    CloseHandle(h);
    EXPECT_EQ(nullptr, pSeen);
}
