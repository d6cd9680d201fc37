// A thread of the program. AfxBeginThread starts a worker thread that runs a function; the
// thread object deletes itself when the function returns (or AfxEndThread is called) unless
// m_bAutoDelete was cleared, which must happen before the thread can end (start it suspended).
#pragma once

#include "CCmdTarget.h"

class CWnd;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    virtual ~CWinThread();

    // Starts the thread; FALSE when it cannot be created. Without CREATE_SUSPENDED the object
    // may already be gone (auto-delete) when this returns.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    operator HANDLE() const { return m_hThread; }

    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    LPVOID m_pThreadParams;
    AFX_THREADPROC m_pfnThreadProc;

protected:
    void CommonConstruct();
};

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling thread with nExitCode; with bDelete its thread object is deleted (when it has
// m_bAutoDelete). Objects on the thread's stack are not destroyed.
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
