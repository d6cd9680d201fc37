#include "afxwin.h"

#include <signal.h>
#include <stdlib.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
thread_local CWinThread* t_pCurrentThread = NULL;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    static AFX_MODULE_STATE s_state = {NULL, (HINSTANCE)&__ImageBase, (HINSTANCE)&__ImageBase, NULL, FALSE};
    return &s_state;
}

CWinApp* AFXAPI AfxGetApp() { return AfxGetModuleState()->m_pCurrentWinApp; }

HINSTANCE AFXAPI AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

HINSTANCE AFXAPI AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    if (hInstResource != NULL)
        AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

LPCTSTR AFXAPI AfxGetAppName() { return AfxGetModuleState()->m_lpszCurrentAppName; }

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
