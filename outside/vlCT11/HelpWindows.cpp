#include "HelpWindows.h"

#include <commctrl.h>

#include <atomic>

#include "vlCT11.h"

namespace {

std::atomic<int> s_delay{600};

const char kTooltipProperty[] = "vlCT11.HelpWindow";
const UINT_PTR kSubclassId = 0x43544C48; // marks the subclass that removes a control's tool
const int kTipWidth = 320;               // texts wrap at this width (pixels)
const int kShowTime = 30000;             // long help texts stay readable

HWND Owner(HWND control)
{
    HWND root = GetAncestor(control, GA_ROOT);
    return root ? root : control;
}

HWND TooltipOf(HWND owner, bool create)
{
    HWND tip = (HWND)GetPropA(owner, kTooltipProperty);
    if (tip && IsWindow(tip))
        return tip;
    if (!create)
        return nullptr;
    static const bool initialised = [] {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_WIN95_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    (void)initialised;
    tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                          (HINSTANCE)GetWindowLongPtrA(owner, GWLP_HINSTANCE), nullptr);
    if (!tip)
        return nullptr;
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, kTipWidth);
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, kShowTime);
    SetPropA(owner, kTooltipProperty, tip);
    return tip;
}

TTTOOLINFOA ToolOf(HWND control, const char* text)
{
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control) ? GetParent(control) : control;
    tool.uId = (UINT_PTR)control;
    tool.lpszText = const_cast<char*>(text);
    return tool;
}

void RemoveTool(HWND control)
{
    if (HWND tip = TooltipOf(Owner(control), false)) {
        TTTOOLINFOA tool = ToolOf(control, nullptr);
        SendMessageA(tip, TTM_DELTOOLA, 0, (LPARAM)&tool);
    }
}

// Removes the control's tool when the control goes.
LRESULT CALLBACK ControlSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NCDESTROY) {
        RemoveTool(hwnd);
        RemoveWindowSubclass(hwnd, ControlSubclass, kSubclassId);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

int HelpDelay() { return s_delay.load(); }

bool AttachHelpText(HWND control, const std::string& text)
{
    if (!IsWindow(control))
        return false;
    if (text.empty()) {
        RemoveTool(control);
        return true;
    }
    HWND tip = TooltipOf(Owner(control), true);
    if (!tip)
        return false;
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_INITIAL, HelpDelay());
    TTTOOLINFOA tool = ToolOf(control, text.c_str());
    TTTOOLINFOA found = ToolOf(control, nullptr);
    if (SendMessageA(tip, TTM_GETTOOLINFOA, 0, (LPARAM)&found))
        SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, (LPARAM)&tool);
    else if (!SendMessageA(tip, TTM_ADDTOOLA, 0, (LPARAM)&tool))
        return false;
    SetWindowSubclass(control, ControlSubclass, kSubclassId, 0);
    return true;
}

VLCT11_API int WINAPI CtlSetHelpWindowDelay(int milliseconds)
{
    if (milliseconds < 0)
        return -1;
    return s_delay.exchange(milliseconds);
}

VLCT11_API BOOL WINAPI CtlAttachHelpWindowA(HWND control, const char* text, int)
{
    return AttachHelpText(control, text ? text : "") ? TRUE : FALSE;
}
