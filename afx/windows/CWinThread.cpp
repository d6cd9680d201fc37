#include "afxwin.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

// Detaches the calling thread from its thread object and deletes that when it asks for it.
void EndCurrentThread(BOOL bDelete)
{
    CWinThread* pThread = AfxGetThread();
    AfxSetCurrentThread(NULL);
    if (bDelete && pThread != NULL)
        pThread->Delete();
}

unsigned __stdcall ThreadEntry(void* pParam)
{
    CWinThread* pThread = (CWinThread*)pParam;
    AfxSetCurrentThread(pThread);
    UINT nResult;
    if (pThread->m_pfnThreadProc != NULL)
        nResult = (*pThread->m_pfnThreadProc)(pThread->m_pThreadParams);
    else
        nResult = pThread->InitInstance() ? 0 : (UINT)pThread->ExitInstance();
    EndCurrentThread(TRUE);
    return nResult;
}

} // namespace

void CWinThread::CommonConstruct()
{
    m_pMainWnd = NULL;
    m_pActiveWnd = NULL;
    m_bAutoDelete = TRUE;
    m_hThread = NULL;
    m_nThreadID = 0;
}

CWinThread::CWinThread() : m_pThreadParams(NULL), m_pfnThreadProc(NULL) { CommonConstruct(); }

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pThreadParams(pParam), m_pfnThreadProc(pfnThreadProc)
{
    CommonConstruct();
}

CWinThread::~CWinThread()
{
    if (m_hThread != NULL)
        CloseHandle(m_hThread);
    if (AfxGetThread() == this)
        AfxSetCurrentThread(NULL);
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    // Always created suspended, so that m_hThread and m_nThreadID are set before it runs.
    unsigned nThreadID = 0;
    HANDLE hThread = (HANDLE)_beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry, this,
                                            dwCreateFlags | CREATE_SUSPENDED, &nThreadID);
    if (hThread == NULL)
        return FALSE;
    m_hThread = hThread;
    m_nThreadID = nThreadID;
    // The object must not be touched once the thread runs: it may delete itself.
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(hThread);
    return TRUE;
}

int CWinThread::GetThreadPriority() { return ::GetThreadPriority(m_hThread); }

BOOL CWinThread::SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }

DWORD CWinThread::SuspendThread() { return ::SuspendThread(m_hThread); }

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() { return 0; }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                                  DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* pThread = new CWinThread(pfnThreadProc, pParam);
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        pThread->Delete();
        return NULL;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

void AFXAPI AfxEndThread(UINT nExitCode, BOOL bDelete)
{
    EndCurrentThread(bDelete);
    _endthreadex(nExitCode);
    __builtin_unreachable();
}
