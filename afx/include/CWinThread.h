// A thread of the program. AfxBeginThread starts a worker thread that runs a function, or a
// user-interface thread of a CWinThread class: its InitInstance, then (when that succeeds) its
// message loop Run until WM_QUIT, then ExitInstance. The thread object deletes itself when the
// thread ends (also through AfxEndThread) unless m_bAutoDelete was cleared, which must happen
// before the thread can end (start it suspended).
//
// The message loop: when the queue is empty, OnIdle is called with a count that starts at 0 and
// grows with every call until OnIdle answers FALSE or a message arrives that is not an idle
// message (IsIdleMessage); then the count starts again at 0. At count 0 the user-interface
// items of the main window and its descendants are updated (WM_IDLEUPDATECMDUI), at count 1 the
// temporary objects of the handle maps are deleted. Every message is first offered to
// PreTranslateMessage: messages without a window to the thread's message map
// (ON_THREAD_MESSAGE), the others to the PreTranslateMessage of the windows from the message's
// window up to the main window.
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
    // The message loop; answers ExitInstance's exit code.
    virtual int Run();
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Handles an exception that a message handler let through: reports it (a CUserException has
    // been reported already) and answers the message's result (-1 for WM_CREATE).
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    static LRESULT PASCAL ProcessWndProcExceptionDefault(CException* e, const MSG* pMsg);
    // Calls the thread's handler of a message without a window; FALSE when there is none.
    BOOL DispatchThreadMessageEx(MSG* pMsg);
    virtual CWnd* GetMainWnd();
    // Deletes the object when m_bAutoDelete is set.
    virtual void Delete();

    LPVOID m_pThreadParams;
    AFX_THREADPROC m_pfnThreadProc;

protected:
    void CommonConstruct();
    DECLARE_MESSAGE_MAP()
};

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                                  UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Starts a user-interface thread of the class (made with its CreateObject).
CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                                  DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// Ends the calling thread with nExitCode; with bDelete its thread object is deleted (when it has
// m_bAutoDelete). Objects on the thread's stack are not destroyed.
[[noreturn]] void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete = TRUE);
