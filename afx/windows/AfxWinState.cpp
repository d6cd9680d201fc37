// The calling thread's CWinThread, the main window, and the application's start and end.
#include "afxwin.h"

#include <signal.h>
#include <stdlib.h>

namespace {
thread_local CWinThread* t_pCurrentThread = NULL;
}

CWinThread* AFXAPI AfxGetThread() { return t_pCurrentThread; }

void AFXAPI AfxSetCurrentThread(CWinThread* pThread) { t_pCurrentThread = pThread; }

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    CWnd* pWnd = pThread != NULL ? pThread->GetMainWnd() : NULL;
    if (pWnd != NULL)
        return pWnd;
    // A thread without a main window of its own works for the application's.
    CWinApp* pApp = AfxGetApp();
    return pApp != NULL ? pApp->m_pMainWnd : NULL;
}

BOOL AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    AFX_MODULE_STATE* pModuleState = AfxGetModuleState();
    if (hInstance != NULL) {
        pModuleState->m_hCurrentInstanceHandle = hInstance;
        pModuleState->m_hCurrentResourceHandle = hInstance;
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != NULL) {
        pApp->m_hInstance = pModuleState->m_hCurrentInstanceHandle;
        pApp->m_hPrevInstance = hPrevInstance;
        pApp->m_lpCmdLine = lpCmdLine;
        pApp->m_nCmdShow = nCmdShow;
        pApp->SetCurrentHandles();
    }
    return TRUE;
}

void AFXAPI AfxWinTerm() {}

void AFXAPI AfxAbort()
{
    AfxWinTerm();
    raise(SIGABRT);
    _exit(3);
}
