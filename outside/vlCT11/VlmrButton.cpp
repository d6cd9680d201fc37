#include "VlmrButton.h"

#include "WindowClasses.h"

namespace {

WNDPROC s_systemButtonProc = nullptr;

LRESULT CALLBACK VlmrButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
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
