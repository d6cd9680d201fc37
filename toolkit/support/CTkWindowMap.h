// The process-wide map of hooked windows: each window's newest hook (CTkWndHook).
//
// Invariant: for every window with a hook in the map, following the next links from its newest
// hook visits every hook of the window once, and the window's procedure is TkHookWndProc or a
// procedure that somebody installed over it later and that passes messages on to it.
//
// When the last hook of a window goes while somebody else's procedure lies over TkHookWndProc,
// the window cannot get its old procedure back without cutting that procedure out: the window
// then keeps a pass-through entry, and TkHookWndProc passes its messages to the old procedure
// until the window is destroyed or hooked again.
#pragma once

#include <afxwin.h>
#include <afxcoll.h>

class CTkWndHook;

class CTkWindowMap {
public:
    CTkWindowMap();
    ~CTkWindowMap();

    void Add(HWND hWnd, CTkWndHook* pHook);
    void Remove(CTkWndHook* pHook);
    // Unhooks every hook of the window, newest first, each through its own HookWindow.
    void RemoveAll(HWND hWnd);
    CTkWndHook* Lookup(HWND hWnd) const;

    // The procedure that a window without hooks but with a pass-through entry passes messages to;
    // NULL when it has none.
    WNDPROC LookupPassThrough(HWND hWnd) const;
    void RemovePassThrough(HWND hWnd);

private:
    CMapPtrToPtr m_map;            // HWND -> newest CTkWndHook
    CMapPtrToPtr m_mapPassThrough; // HWND -> WNDPROC of windows that lost their hooks
};

// The one map.
CTkWindowMap& TkGetWindowMap();
