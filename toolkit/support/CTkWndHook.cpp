#include "CTkWndHook.h"

#include "CTkWindowMap.h"

#include <AfxThreadState.h>

// The run-time class names CObject as base: a hook is no window, and code that asks whether an
// object is a window must not take a hook for one.
IMPLEMENT_DYNAMIC(CTkWndHook, CObject)

CTkWndHook::CTkWndHook() : m_hWnd(NULL), m_pOldWndProc(NULL), m_pNext(NULL) {}

CTkWndHook::~CTkWndHook()
{
    if (m_hWnd != NULL)
        HookWindow((HWND)NULL);
}

void CTkWndHook::Serialize(CArchive&) {}

BOOL CTkWndHook::IsWindowHooked() const { return m_hWnd != NULL; }

BOOL CTkWndHook::HookWindow(HWND hWnd)
{
    if (hWnd != NULL) {
        // a hook watches one window: leave the chain it is in before joining another (joining
        // twice would link the hook to itself)
        if (m_hWnd != NULL)
            HookWindow((HWND)NULL);
        TkGetWindowMap().Add(hWnd, this);
        m_hWnd = hWnd;
    } else if (m_hWnd != NULL) {
        TkGetWindowMap().Remove(this);
        m_pOldWndProc = NULL;
        m_pNext = NULL;
        m_hWnd = NULL;
    }
    return TRUE;
}

BOOL CTkWndHook::HookWindow(CWnd* pWnd) { return HookWindow(pWnd != NULL ? pWnd->m_hWnd : (HWND)NULL); }

LRESULT CTkWndHook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext != NULL)
        return m_pNext->WindowProc(message, wParam, lParam);
    if (m_pOldWndProc != NULL)
        return ::CallWindowProcA(m_pOldWndProc, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK TkHookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Library functions that read the current message (CWnd::GetCurrentMessage) see this one.
    _AFX_THREAD_STATE* pState = AfxGetThreadState();
    MSG msgSaved = pState->m_lastSentMsg;
    pState->m_lastSentMsg.hwnd = hWnd;
    pState->m_lastSentMsg.message = message;
    pState->m_lastSentMsg.wParam = wParam;
    pState->m_lastSentMsg.lParam = lParam;

    CTkWindowMap& map = TkGetWindowMap();
    LRESULT lResult;
    CTkWndHook* pHook = map.Lookup(hWnd);
    if (pHook == NULL) {
        // a window whose hooks went while another procedure lay over this one
        WNDPROC pfnOld = map.LookupPassThrough(hWnd);
        if (message == WM_NCDESTROY)
            map.RemovePassThrough(hWnd);
        lResult = pfnOld != NULL ? ::CallWindowProcA(pfnOld, hWnd, message, wParam, lParam)
                                 : ::DefWindowProcA(hWnd, message, wParam, lParam);
    } else if (message == WM_NCDESTROY) {
        WNDPROC pfnOld = pHook->m_pOldWndProc;
        map.RemoveAll(hWnd);
        map.RemovePassThrough(hWnd);
        lResult = ::CallWindowProcA(pfnOld, hWnd, message, wParam, lParam);
    } else {
        lResult = pHook->WindowProc(message, wParam, lParam);
    }

    pState->m_lastSentMsg = msgSaved;
    return lResult;
}
