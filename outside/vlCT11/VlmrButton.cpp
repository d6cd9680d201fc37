#include "VlmrButton.h"

#include <string>

#include "ButtonCaption.h"
#include "ButtonPictures.h"
#include "ColorMessages.h"
#include "HelpWindows.h"
#include "WindowClasses.h"
#include "vlCT11.h"

namespace {

WNDPROC s_systemButtonProc = nullptr;

const char kPictureProperty[] = "vlCT11.PictureButton";
const LRESULT kHotState = 0x0200; // BST_HOT

// State of a picture button.
struct PictureButton {
    bool statePushed = false; // BM_SETSTATE
    bool mouseDown = false;   // left button pressed on it, capture held
    bool mouseInside = false; // while the button is pressed
    bool keyDown = false;     // space pressed
    bool hot = false;         // the mouse is over it
    bool checked = false;
    HFONT font = nullptr;
};

PictureButton* PictureOf(HWND hwnd) { return (PictureButton*)GetPropA(hwnd, kPictureProperty); }

bool IsPushed(const PictureButton& state)
{
    return state.statePushed || state.keyDown || (state.mouseDown && state.mouseInside);
}

std::string WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthA(hwnd);
    std::string text((size_t)length + 1, '\0');
    text.resize((size_t)GetWindowTextA(hwnd, text.data(), length + 1));
    return text;
}

void UpdateTooltip(HWND hwnd)
{
    AttachHelpText(hwnd, ParseButtonCaption(WindowText(hwnd).c_str()).tooltip);
}

void Paint(HWND hwnd, HDC dc, const PictureButton& state)
{
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = AskParentForBrush(hwnd, dc, CTL_CTLCOLOR_TYPE_BTN);
    FillRect(dc, &client, brush ? brush : LibraryBackgroundBrush());
    const bool enabled = IsWindowEnabled(hwnd) != FALSE;
    const bool pushed = IsPushed(state) || state.checked;
    if (pushed)
        DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    else if (state.hot && enabled)
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    const int shift = pushed ? 1 : 0;
    const int x = (client.right - kPictureSize) / 2 + shift;
    const int y = (client.bottom - kPictureSize) / 2 + shift;
    DrawButtonPicture(dc, GetDlgCtrlID(hwnd), x, y, enabled);
    if (GetFocus() == hwnd && !(SendMessageA(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT focus = client;
        InflateRect(&focus, -2, -2);
        DrawFocusRect(dc, &focus);
    }
}

void Redraw(HWND hwnd) { InvalidateRect(hwnd, nullptr, FALSE); }

// Tells the parent about the click. The parent may destroy the button meanwhile.
void NotifyClicked(HWND hwnd)
{
    SendMessageA(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), (LPARAM)hwnd);
}

bool Inside(HWND hwnd, LPARAM lParam)
{
    RECT client;
    GetClientRect(hwnd, &client);
    POINT point{(short)LOWORD(lParam), (short)HIWORD(lParam)};
    return PtInRect(&client, point) != FALSE;
}

LRESULT PictureButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, PictureButton& state)
{
    switch (message) {
    case WM_CREATE:
        UpdateTooltip(hwnd);
        return 0;
    case WM_NCDESTROY:
        RemovePropA(hwnd, kPictureProperty);
        delete &state;
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        Paint(hwnd, dc, state);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(hwnd, (HDC)wParam, state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE: {
        const bool isDefault = (GetWindowLongPtrA(hwnd, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        return DLGC_BUTTON | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }
    case BM_SETSTYLE: {
        const LONG_PTR style = GetWindowLongPtrA(hwnd, GWL_STYLE);
        SetWindowLongPtrA(hwnd, GWL_STYLE, (style & ~(LONG_PTR)0x0F) | (LONG_PTR)(wParam & 0x0F));
        if (lParam)
            Redraw(hwnd);
        return 0;
    }
    case BM_GETSTATE:
        return (IsPushed(state) ? BST_PUSHED : 0) | (state.checked ? BST_CHECKED : 0) |
               (GetFocus() == hwnd ? BST_FOCUS : 0) | (state.hot ? kHotState : 0);
    case BM_SETSTATE:
        if (state.statePushed != (wParam != 0)) {
            state.statePushed = wParam != 0;
            Redraw(hwnd);
        }
        return 0;
    case BM_GETCHECK:
        return state.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        state.checked = wParam == BST_CHECKED;
        Redraw(hwnd);
        return 0;
    case BM_CLICK:
        if (IsWindowEnabled(hwnd))
            NotifyClicked(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        SetCapture(hwnd);
        state.mouseDown = true;
        state.mouseInside = true;
        Redraw(hwnd);
        return 0;
    case WM_MOUSEMOVE: {
        if (state.mouseDown) {
            const bool inside = Inside(hwnd, lParam);
            if (inside != state.mouseInside) {
                state.mouseInside = inside;
                Redraw(hwnd);
            }
        }
        if (!state.hot) {
            state.hot = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            Redraw(hwnd);
        }
        return 0;
    }
    case WM_MOUSELEAVE:
        state.hot = false;
        Redraw(hwnd);
        return 0;
    case WM_LBUTTONUP: {
        if (!state.mouseDown)
            return 0;
        const bool clicked = Inside(hwnd, lParam);
        state.mouseDown = false;
        ReleaseCapture();
        Redraw(hwnd);
        if (clicked)
            NotifyClicked(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (state.mouseDown) {
            state.mouseDown = false;
            Redraw(hwnd);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !state.keyDown) {
            state.keyDown = true;
            Redraw(hwnd);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state.keyDown) {
            state.keyDown = false;
            Redraw(hwnd);
            NotifyClicked(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state.keyDown = false;
        Redraw(hwnd);
        return 0;
    case WM_ENABLE:
        if (!wParam)
            state.hot = false;
        Redraw(hwnd);
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        UpdateTooltip(hwnd);
        Redraw(hwnd);
        return result;
    }
    case WM_SETFONT:
        state.font = (HFONT)wParam;
        return 0;
    case WM_GETFONT:
        return (LRESULT)state.font;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK VlmrButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const CREATESTRUCTA* create = (const CREATESTRUCTA*)lParam;
        // A caption given as a resource id (not text) keeps the system button.
        const bool textCaption = !create->lpszName || !IS_INTRESOURCE(create->lpszName);
        if (textCaption && ParseButtonCaption(create->lpszName).picture)
            SetPropA(hwnd, kPictureProperty, new PictureButton);
    }
    if (PictureButton* state = PictureOf(hwnd))
        return PictureButtonProc(hwnd, message, wParam, lParam, *state);
    return CallWindowProcA(s_systemButtonProc, hwnd, message, wParam, lParam);
}

} // namespace

bool RegisterVlmrButton(HINSTANCE instance)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(nullptr, "Button", &wc))
        return false;
    s_systemButtonProc = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
    wc.style |= CS_GLOBALCLASS;
    wc.lpfnWndProc = VlmrButtonProc;
    wc.hInstance = instance;
    wc.lpszClassName = kButtonClassName;
    wc.lpszMenuName = nullptr;
    wc.hIconSm = nullptr;
    return RegisterClassExA(&wc) != 0;
}
