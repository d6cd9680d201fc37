// A window: a C++ object attached to a Windows window (HWND). This part of the library wraps
// windows made elsewhere; creating windows, subclassing and message maps come later.
//
// Handle maps, one set per thread (as windows belong to threads): a CWnd attached with Attach is
// the permanent object of its handle. FromHandle of a handle without one makes a temporary CWnd
// that lives in the calling thread's temporary map until DeleteTempMap (or the thread's end);
// callers must not keep a temporary object beyond that.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    // Destroys the window when one is still attached.
    virtual ~CWnd();

    HWND m_hWnd;
    operator HWND() const { return m_hWnd; }
    // m_hWnd, or NULL when called through a NULL pointer.
    HWND GetSafeHwnd() const;

    // The permanent object of the handle, else a temporary one; NULL for NULL.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // The permanent object of the handle, or NULL.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // Deletes the calling thread's temporary objects (their windows stay).
    static void PASCAL DeleteTempMap();

    // Makes this object the permanent object of the window; FALSE for NULL or when this object
    // already has a window.
    BOOL Attach(HWND hWndNew);
    // Ends the attachment and returns the handle (the window stays).
    HWND Detach();

    // The window that has the keyboard focus (a temporary object when it has no permanent one).
    static CWnd* PASCAL GetFocus();
    // Gives the focus to this window; answers the window that had it, or NULL.
    CWnd* SetFocus();

    // Copies at most nMaxCount - 1 characters and a NUL; answers the number copied.
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL IsWindowEnabled() const;

    // Destroys the window and detaches it from this object (the object stays).
    virtual BOOL DestroyWindow();
};
