#include "CheckBoxMessageBox.h"

#include <algorithm>

namespace {

const int kCheckBoxId = 0x5A01;

struct BoxState {
    HWND box = nullptr;
    bool ticked = false;
};

thread_local BoxState* t_state = nullptr;

bool IsDialogWindow(HWND hwnd)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

// Makes the box taller (and wider when the text needs it) and puts the check box in the room.
void AddCheckBox(HWND box)
{
    HFONT font = (HFONT)SendMessageA(box, WM_GETFONT, 0, 0);
    HDC dc = GetDC(box);
    HGDIOBJ previous = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent{};
    GetTextExtentPoint32A(dc, kDontShowAgainText, lstrlenA(kDontShowAgainText), &extent);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(box, dc);

    const int margin = std::max(8, (int)metrics.tmAveCharWidth * 2);
    const int height = std::max((int)metrics.tmHeight, GetSystemMetrics(SM_CYMENUCHECK)) + 4;
    const int width = extent.cx + GetSystemMetrics(SM_CXMENUCHECK) + 8;
    RECT window{}, client{};
    GetWindowRect(box, &window);
    GetClientRect(box, &client);
    const int growX = std::max(0, width + 2 * margin - (int)client.right);
    SetWindowPos(box, nullptr, 0, 0, window.right - window.left + growX, window.bottom - window.top + height + margin,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND check = CreateWindowExA(0, "BUTTON", kDontShowAgainText, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                 margin, client.bottom + margin / 2, width, height, box,
                                 (HMENU)(INT_PTR)kCheckBoxId, (HINSTANCE)GetWindowLongPtrA(box, GWLP_HINSTANCE),
                                 nullptr);
    if (check && font)
        SendMessageA(check, WM_SETFONT, (WPARAM)font, FALSE);
}

LRESULT CALLBACK BoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    BoxState* state = t_state;
    if (state) {
        HWND hwnd = (HWND)wParam;
        if (code == HCBT_ACTIVATE && !state->box && IsDialogWindow(hwnd)) {
            state->box = hwnd;
            AddCheckBox(hwnd);
        } else if (code == HCBT_DESTROYWND && hwnd == state->box)
            state->ticked = IsDlgButtonChecked(hwnd, kCheckBoxId) == BST_CHECKED;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

int MessageBoxWithCheckBox(HWND owner, const char* text, const char* caption, UINT style, bool* ticked)
{
    BoxState state;
    BoxState* outer = t_state;
    t_state = &state;
    HHOOK hook = SetWindowsHookExA(WH_CBT, BoxHook, nullptr, GetCurrentThreadId());
    int answer = MessageBoxA(owner, text, caption, style);
    if (hook)
        UnhookWindowsHookEx(hook);
    t_state = outer;
    *ticked = answer != 0 && state.ticked;
    return answer;
}
