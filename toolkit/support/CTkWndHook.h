// A hook object that watches the messages of any window, its own or somebody else's. Several
// hooks may watch one window; they form a chain, newest first (CTkWindowMap). The window is
// subclassed once, with TkHookWndProc, by its first hook.
//
// Subclasses override WindowProc and call this class's WindowProc for what they do not consume:
// it passes the message to the next (older) hook, and from the oldest to the window's previous
// window procedure.
#pragma once

#include <afxwin.h>

class CTkWndHook : public CObject {
    DECLARE_DYNAMIC(CTkWndHook)
public:
    CTkWndHook();
    ~CTkWndHook() override;

    void Serialize(CArchive& ar) override;
    virtual BOOL IsWindowHooked() const;
    // With a window: joins its chain. With NULL: leaves the chain of the hooked window. Always TRUE.
    virtual BOOL HookWindow(HWND hWnd);
    virtual BOOL HookWindow(CWnd* pWnd);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd;           // the hooked window; NULL while not hooked
    WNDPROC m_pOldWndProc; // the window's procedure before its first hook (shared by the chain)
    CTkWndHook* m_pNext;   // the hook of the window attached before this one

    friend class CTkWindowMap;
};

// The window procedure of hooked windows.
LRESULT CALLBACK TkHookWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
