#include "HelpIdMarker.h"

#include "WindowClasses.h"

namespace {

LRESULT CALLBACK HelpIdMarkerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        // A template may declare it visible or a tab stop: it is neither.
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~(LONG_PTR)(WS_VISIBLE | WS_TABSTOP)) | WS_DISABLED);
        break;
    }
    case WM_STYLECHANGING:
        if (wParam == (WPARAM)GWL_STYLE) {
            STYLESTRUCT* change = (STYLESTRUCT*)lParam;
            change->styleNew = (change->styleNew & ~(DWORD)(WS_VISIBLE | WS_TABSTOP)) | WS_DISABLED;
        }
        return 0;
    case WM_CREATE:
        // Whatever size the template gives it: no area to paint or click.
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case WM_WINDOWPOSCHANGING: {
        WINDOWPOS* pos = (WINDOWPOS*)lParam;
        pos->flags &= ~(UINT)SWP_SHOWWINDOW;
        pos->cx = pos->cy = 0;
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

bool RegisterHelpIdMarker(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = HelpIdMarkerProc;
    wc.hInstance = instance;
    wc.lpszClassName = kHelpIdClassName;
    return RegisterClassExA(&wc) != 0;
}
