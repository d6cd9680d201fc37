#include "afxwin.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

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
        nResult = (UINT)(pThread->InitInstance() ? pThread->Run() : pThread->ExitInstance());
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

int CWinThread::Run()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&pState->m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageA(&pState->m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    if (!::GetMessageA(pMsg, NULL, 0, 0))
        return FALSE;
    if (pMsg->message != WM_KICKIDLE && !PreTranslateMessage(pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* pMainWnd = m_pMainWnd;
        if (pMainWnd != NULL && pMainWnd->m_hWnd != NULL && pMainWnd->IsWindowVisible()) {
            AfxCallWndProc(pMainWnd, pMainWnd->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            pMainWnd->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    } else {
        // Temporary objects made while handling the last messages are gone now (unless someone
        // holds the maps locked).
        AfxLockTempMaps();
        AfxUnlockTempMaps(TRUE);
    }
    return lCount < 1;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // a move to where the mouse already was is no reason for idle processing
        if (pState->m_nMsgLast == pMsg->message && pState->m_ptCursorLast.x == pMsg->pt.x &&
            pState->m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        pState->m_ptCursorLast = pMsg->pt;
        pState->m_nMsgLast = pMsg->message;
        return TRUE;
    }
    // paints and the caret's blink timer come all the time
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118;
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* pMsg)
{
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap != NULL ? (*pMap->pfnGetBaseMap)() : NULL) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->nSig != AfxSig_end; ++p) {
            BOOL bMatch = (pMsg->message >= 0xC000 && pMsg->message <= 0xFFFF)
                              ? (p->nMessage == 0xC000 && *(const UINT*)p->nSig == pMsg->message)
                              : (p->nMessage == pMsg->message && p->nSig == AfxSig_vwl_thread);
            if (bMatch) {
                AFX_PMSGT pfn = (AFX_PMSGT)p->pfn;
                (this->*reinterpret_cast<void (CWinThread::*)(WPARAM, LPARAM)>(pfn))(pMsg->wParam, pMsg->lParam);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->hwnd == NULL && DispatchThreadMessageEx(pMsg))
        return TRUE;
    CWnd* pMainWnd = AfxGetMainWnd();
    // (the thread may have no main window any more: its messages come on until WM_QUIT)
    if (CWnd::WalkPreTranslateTree(pMainWnd != NULL ? pMainWnd->m_hWnd : NULL, pMsg))
        return TRUE;
    // A message of a window outside the main window's tree (a modeless top-level dialog) gets
    // the main window's translation too (its accelerators).
    if (pMainWnd != NULL && pMsg->hwnd != NULL) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd->GetTopLevelParent() != pMainWnd)
            return pMainWnd->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

LRESULT PASCAL CWinThread::ProcessWndProcExceptionDefault(CException* e, const MSG* pMsg)
{
    if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
        e->ReportError(MB_ICONSTOP, AFX_IDP_INTERNAL_FAILURE);
    if (pMsg->message == WM_CREATE)
        return -1; // the window is not created
    if (pMsg->message == WM_PAINT)
        ::ValidateRect(pMsg->hwnd, NULL); // else the paint comes back for ever
    return 0;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg) { return ProcessWndProcExceptionDefault(e, pMsg); }

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

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                                  LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    CWinThread* pThread = pThreadClass != NULL ? (CWinThread*)pThreadClass->CreateObject() : NULL;
    if (pThread == NULL)
        return NULL;
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
