// The library's window procedure, the hook that attaches windows to their objects while they
// are created, and the registration of window classes.
#include "AfxWindowLayer.h"

#include <stdio.h>
#include <string.h>

#include <mutex>
#include <set>
#include <string>

namespace {

// The next window created on the thread becomes the waiting object's; input-method windows
// that the system may create in between are left alone.
LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (code == HCBT_CREATEWND && pState->m_pWndInit != NULL) {
        HWND hWnd = (HWND)wParam;
        char szClass[32] = "";
        ::GetClassNameA(hWnd, szClass, (int)sizeof(szClass));
        if (lstrcmpiA(szClass, "ime") != 0) {
            CWnd* pWndInit = pState->m_pWndInit;
            pState->m_pWndInit = NULL;
            pWndInit->Attach(hWnd);
            pWndInit->PreSubclassWindow();
            WNDPROC* ppfnSuper = pWndInit->GetSuperWndProcAddr();
            WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&AfxWndProc);
            if (pfnOld != &AfxWndProc)
                *ppfnSuper = pfnOld;
        }
    }
    return ::CallNextHookEx(pState->m_hHookOldCbtFilter, code, wParam, lParam);
}

// Window classes registered by this module, unregistered by AfxWinTerm.
std::mutex g_classesLock;
std::set<std::string> g_registeredClasses;

} // namespace

WNDPROC AFXAPI AfxGetAfxWndProc() { return &AfxWndProc; }

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == NULL || pWnd->m_hWnd != hWnd)
        return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG oldState = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = nMsg;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
        // The OLE controls of a window go when its own handler is done, while their windows
        // still exist.
        if (nMsg == WM_DESTROY && pWnd->m_pCtrlCont != NULL && AfxGetOccManager() != NULL)
            AfxGetOccManager()->OnContainerDestroy(pWnd);
    } catch (CException* e) {
        // A handler's exception must not unwind through the system's code.
        CWinThread* pThread = AfxGetThread();
        MSG msg = pState->m_lastSentMsg;
        if (pThread != NULL)
            lResult = pThread->ProcessWndProcException(e, &msg);
        else
            lResult = CWinThread::ProcessWndProcExceptionDefault(e, &msg);
        e->Delete();
    }
    pState->m_lastSentMsg = oldState;
    return lResult;
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit == pWnd)
        return;
    if (pState->m_hHookOldCbtFilter == NULL) {
        pState->m_hHookOldCbtFilter = ::SetWindowsHookExA(WH_CBT, &CbtFilterHook, NULL, ::GetCurrentThreadId());
        if (pState->m_hHookOldCbtFilter == NULL)
            AfxThrowMemoryException();
    }
    pState->m_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    if (pState->m_pWndInit != NULL) {
        pState->m_pWndInit = NULL;
        return FALSE; // no window was created
    }
    return TRUE;
}

BOOL AFXAPI AfxRegisterClass(WNDCLASS* lpWndClass)
{
    WNDCLASSA wndcls;
    if (::GetClassInfoA(lpWndClass->hInstance, lpWndClass->lpszClassName, &wndcls))
        return TRUE;
    if (!::RegisterClassA(lpWndClass))
        return FALSE;
    std::lock_guard<std::mutex> lock(g_classesLock);
    g_registeredClasses.insert(lpWndClass->lpszClassName);
    return TRUE;
}

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    thread_local char t_szName[96];
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hCursor == NULL && hbrBackground == NULL && hIcon == NULL)
        snprintf(t_szName, sizeof(t_szName), "Afx:%p:%x", (void*)hInst, nClassStyle);
    else
        snprintf(t_szName, sizeof(t_szName), "Afx:%p:%x:%p:%p:%p", (void*)hInst, nClassStyle, (void*)hCursor,
                 (void*)hbrBackground, (void*)hIcon);

    WNDCLASSA wndcls;
    memset(&wndcls, 0, sizeof(wndcls));
    wndcls.style = nClassStyle;
    wndcls.lpfnWndProc = &::DefWindowProcA;
    wndcls.hInstance = hInst;
    wndcls.hIcon = hIcon;
    wndcls.hCursor = hCursor;
    wndcls.hbrBackground = hbrBackground;
    wndcls.lpszClassName = t_szName;
    if (!AfxRegisterClass(&wndcls))
        AfxThrowResourceException();
    return t_szName;
}

// Registers the library's own classes the first time a window needs one.
BOOL AFXAPI AfxEndDeferRegisterClass(LPCTSTR lpszClassName)
{
    WNDCLASSA wndcls;
    memset(&wndcls, 0, sizeof(wndcls));
    wndcls.lpfnWndProc = &::DefWindowProcA;
    wndcls.hInstance = AfxGetInstanceHandle();
    wndcls.hCursor = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wndcls.lpszClassName = lpszClassName;
    if (strcmp(lpszClassName, AFX_WND_CLASS) == 0) {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    } else if (strcmp(lpszClassName, AFX_WNDCONTROLBAR_CLASS) == 0) {
        wndcls.style = CS_DBLCLKS;
        wndcls.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    } else if (strcmp(lpszClassName, AFX_WNDFRAMEORVIEW_CLASS) == 0) {
        wndcls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wndcls.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    } else if (strcmp(lpszClassName, AFX_WNDMDIFRAME_CLASS) == 0) {
        wndcls.style = CS_DBLCLKS;
    } else {
        return FALSE;
    }
    return AfxRegisterClass(&wndcls);
}

void AFXAPI AfxUnregisterWndClasses()
{
    std::set<std::string> classes;
    {
        std::lock_guard<std::mutex> lock(g_classesLock);
        classes.swap(g_registeredClasses);
    }
    for (const std::string& strName : classes)
        ::UnregisterClassA(strName.c_str(), AfxGetInstanceHandle());
}
