// The calling thread's CWinThread, the main window, and the application's start and end.
#include "AfxWindowLayer.h"

#include <signal.h>
#include <stdlib.h>

#include <commctrl.h>

void AFXAPI AfxUnregisterWndClasses();

CWinThread* AFXAPI AfxGetThread() { return AfxGetThreadState()->m_pCurrentWinThread; }

void AFXAPI AfxSetCurrentThread(CWinThread* pThread) { AfxGetThreadState()->m_pCurrentWinThread = pThread; }

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
    AfxInitCommonControls();
    return TRUE;
}

namespace {

AFX_TERM_HOOK g_pfnOleTerm = NULL;
COccManager* g_pOccManager = NULL;

} // namespace

void AFXAPI AfxSetOleTermHook(AFX_TERM_HOOK pfnTerm) { g_pfnOleTerm = pfnTerm; }

COccManager* AFXAPI AfxGetOccManager() { return g_pOccManager; }

void AFXAPI AfxSetOccManager(COccManager* pOccManager) { g_pOccManager = pOccManager; }

void AFXAPI AfxWinTerm()
{
    if (g_pfnOleTerm != NULL) {
        AFX_TERM_HOOK pfnTerm = g_pfnOleTerm;
        g_pfnOleTerm = NULL;
        (*pfnTerm)();
    }
    AfxUnregisterWndClasses();
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_hHookOldCbtFilter != NULL) {
        ::UnhookWindowsHookEx(pState->m_hHookOldCbtFilter);
        pState->m_hHookOldCbtFilter = NULL;
    }
    pState->DeleteTempMaps();
}

void AFXAPI AfxInitCommonControls()
{
    static const BOOL s_bDone = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES |
                                                     ICC_COOL_CLASSES | ICC_INTERNET_CLASSES};
        return ::InitCommonControlsEx(&icc);
    }();
    UNUSED(s_bDone);
}

void AFXAPI AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AFXAPI AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->PumpMessage();
    // a thread without a thread object: the same loop step without its translation
    MSG* pMsg = &AfxGetThreadState()->m_msgCur;
    if (!::GetMessageA(pMsg, NULL, 0, 0))
        return FALSE;
    if (pMsg->message != WM_KICKIDLE && !CWnd::WalkPreTranslateTree(NULL, pMsg)) {
        ::TranslateMessage(pMsg);
        ::DispatchMessageA(pMsg);
    }
    return TRUE;
}

BOOL AFXAPI AfxIsIdleMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    if (pThread != NULL)
        return pThread->IsIdleMessage(pMsg);
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 && pMsg->message != WM_MOUSEMOVE &&
           pMsg->message != WM_NCMOUSEMOVE;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow)
{
    int nReturnCode = -1;
    CWinThread* pThread = AfxGetThread();
    CWinApp* pApp = AfxGetApp();
    if (AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow) && pThread != NULL &&
        (pApp == NULL || pApp->InitApplication())) {
        if (!pThread->InitInstance()) {
            if (pThread->m_pMainWnd != NULL)
                pThread->m_pMainWnd->DestroyWindow();
            nReturnCode = pThread->ExitInstance();
        } else {
            nReturnCode = pThread->Run();
        }
    }
    AfxWinTerm();
    return nReturnCode;
}

void AFXAPI AfxAbort()
{
    AfxWinTerm();
    raise(SIGABRT);
    _exit(3);
}
