#include "CTkWindowMap.h"

#include "CTkWndHook.h"

CTkWindowMap& TkGetWindowMap()
{
    static CTkWindowMap s_map;
    return s_map;
}

CTkWindowMap::CTkWindowMap() : m_map(10), m_mapPassThrough(10) {}

CTkWindowMap::~CTkWindowMap() {}

CTkWndHook* CTkWindowMap::Lookup(HWND hWnd) const
{
    void* pHook = NULL;
    return m_map.Lookup(hWnd, pHook) ? (CTkWndHook*)pHook : NULL;
}

WNDPROC CTkWindowMap::LookupPassThrough(HWND hWnd) const
{
    void* pProc = NULL;
    return m_mapPassThrough.Lookup(hWnd, pProc) ? reinterpret_cast<WNDPROC>((UINT_PTR)pProc) : NULL;
}

void CTkWindowMap::RemovePassThrough(HWND hWnd) { m_mapPassThrough.RemoveKey(hWnd); }

void CTkWindowMap::Add(HWND hWnd, CTkWndHook* pHook)
{
    CTkWndHook* pNewest = Lookup(hWnd);
    pHook->m_pNext = pNewest;
    m_map.SetAt(hWnd, pHook);
    if (pNewest != NULL) {
        pHook->m_pOldWndProc = pNewest->m_pOldWndProc;
        return;
    }
    WNDPROC pfnPassThrough = LookupPassThrough(hWnd);
    if (pfnPassThrough != NULL) {
        // TkHookWndProc still lies below somebody else's procedure: use it again
        pHook->m_pOldWndProc = pfnPassThrough;
        RemovePassThrough(hWnd);
        return;
    }
    pHook->m_pOldWndProc = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)TkHookWndProc);
}

void CTkWindowMap::Remove(CTkWndHook* pHook)
{
    HWND hWnd = pHook->m_hWnd;
    CTkWndHook* pNewest = Lookup(hWnd);
    if (pNewest == NULL)
        return;
    if (pNewest == pHook) {
        if (pHook->m_pNext != NULL) {
            m_map.SetAt(hWnd, pHook->m_pNext);
        } else {
            m_map.RemoveKey(hWnd);
            if ((WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == TkHookWndProc)
                ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)pHook->m_pOldWndProc);
            else if (::IsWindow(hWnd))
                m_mapPassThrough.SetAt(hWnd, (void*)reinterpret_cast<UINT_PTR>(pHook->m_pOldWndProc));
        }
        return;
    }
    for (CTkWndHook* p = pNewest; p->m_pNext != NULL; p = p->m_pNext) {
        if (p->m_pNext == pHook) {
            p->m_pNext = pHook->m_pNext;
            return;
        }
    }
}

void CTkWindowMap::RemoveAll(HWND hWnd)
{
    CTkWndHook* pHook;
    while ((pHook = Lookup(hWnd)) != NULL)
        pHook->HookWindow((HWND)NULL);
}
