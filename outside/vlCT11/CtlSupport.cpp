// The library's settings and services for the program's windows: the dialog mode, the support of
// a top-level window, the background of dialogs, and keeping stored window rectangles on screen.
#include "vlCT11.h"

#include <atomic>

#include "ScreenFit.h"

namespace {

std::atomic<int> s_dialogMode{0};

} // namespace

VLCT11_API int WINAPI CtlSetDialogboxMode(int mode) { return s_dialogMode.exchange(mode); }

// This library does no skinning, so a window it supports keeps its own window procedure: the
// support only checks that there is a window.
VLCT11_API BOOL WINAPI CtlAddCtlSupportA(HWND window, int, void*) { return IsWindow(window) ? TRUE : FALSE; }

VLCT11_API BOOL WINAPI CtlEraseBkgnd(HWND window, HDC dc)
{
    RECT client;
    if (!dc || !GetClientRect(window, &client))
        return FALSE;
    HBRUSH brush = CreateSolidBrush(CtlTools_rgbBkgnd());
    const BOOL filled = FillRect(dc, &client, brush) != 0;
    DeleteObject(brush);
    return filled;
}

VLCT11_API BOOL WINAPI CtlEnsureVisible(RECT* rect, int)
{
    if (!rect)
        return FALSE;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST), &info))
        return FALSE;
    const RECT fitted = FitRectIntoArea(*rect, info.rcWork);
    if (EqualRect(&fitted, rect))
        return FALSE;
    *rect = fitted;
    return TRUE;
}
