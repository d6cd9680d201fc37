#include "BrowseTestSupport.h"

#include <stdio.h>
#include <string.h>

#include "Png.h"
#include "TestKit.h"

namespace brtest {

std::function<LRESULT(HWND, int, LPARAM)> g_reply;

namespace {

HWND s_front = nullptr; // the dialog that input is meant for

// Windows of tests running beside this one share the display: they may take the activation.
// Input goes out only while the dialog is in front, with the focus where this thread left it.
void TakeFront()
{
    if (!s_front || !IsWindow(s_front) || GetForegroundWindow() == s_front)
        return;
    HWND focus = GetFocus();
    SetWindowPos(s_front, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(s_front);
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != s_front && GetTickCount() - start < 3000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    if (focus && IsWindow(focus) && GetFocus() != focus)
        SetFocus(focus);
}

std::vector<Event> s_events;

LRESULT CALLBACK Record(HWND control, int code, LPARAM param)
{
    Event e{code, param, -1, -1};
    switch (code) {
    case BRE_CHECKING:
    case BRE_CHECKED:
        e.row = ((const BRCHECK*)param)->row;
        e.column = ((const BRCHECK*)param)->column;
        break;
    case BRE_MOUSECLICK:
        e.row = ((const BRMOUSE*)param)->row;
        e.column = ((const BRMOUSE*)param)->column;
        break;
    case BRE_SELCHANGE:
    case BRE_CURCHANGE:
    case BRE_DBLCLICK:
        e.row = (int)param;
        break;
    }
    s_events.push_back(e);
    return g_reply ? g_reply(control, code, param) : 0;
}

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM, LPARAM)
{
    return msg == WM_INITDIALOG;
}

void PutWord(std::vector<WORD>& t, WORD w) { t.push_back(w); }
void PutText(std::vector<WORD>& t, const char* s)
{
    for (; *s; s++)
        t.push_back((WORD)(unsigned char)*s);
    t.push_back(0);
}
void Align(std::vector<WORD>& t)
{
    if (t.size() % 2)
        t.push_back(0);
}

} // namespace

std::vector<Event>& Events() { return s_events; }

std::vector<int> Codes()
{
    std::vector<int> codes;
    for (const Event& e : s_events)
        codes.push_back(e.code);
    return codes;
}

void ResetEvents()
{
    s_events.clear();
    g_reply = nullptr;
}

TestDialog::TestDialog(const char* title, int cx, int cy, bool visible)
{
    BrwsGetVersion(0); // as the program's wrappers do: the library is bound at load time
    std::vector<WORD> t;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_SETFONT | DS_MODALFRAME;
    PutWord(t, LOWORD(style));
    PutWord(t, HIWORD(style));
    PutWord(t, 0); // ex style
    PutWord(t, 0);
    PutWord(t, 1); // controls
    PutWord(t, 0); // x, y, cx, cy
    PutWord(t, 0);
    PutWord(t, 200);
    PutWord(t, 100);
    PutWord(t, 0); // menu
    PutWord(t, 0); // class
    PutText(t, title);
    PutWord(t, 8);
    PutText(t, "MS Shell Dlg");
    Align(t);
    DWORD cstyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    PutWord(t, LOWORD(cstyle));
    PutWord(t, HIWORD(cstyle));
    PutWord(t, 0);
    PutWord(t, 0);
    PutWord(t, 0); // x, y, cx, cy
    PutWord(t, 0);
    PutWord(t, 200);
    PutWord(t, 100);
    PutWord(t, kListId);
    PutText(t, "VLMRBROWSER1132"); // the class in another case than registered
    PutText(t, "");
    PutWord(t, 0);
    m_dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (LPCDLGTEMPLATEA)t.data(), nullptr, DialogProc, 0);
    if (!m_dialog) {
        printf("no dialog: error %lu\n", GetLastError());
        return;
    }
    m_list = GetDlgItem(m_dialog, kListId);
    SetWindowPos(m_dialog, HWND_TOP, 40, 40, cx, cy, SWP_NOACTIVATE);
    RECT client;
    GetClientRect(m_dialog, &client);
    MoveWindow(m_list, 0, 0, client.right, client.bottom, TRUE);
    if (visible) {
        SetWindowPos(m_dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(m_dialog, SW_SHOW);
        PumpIdle();
    }
}

TestDialog::~TestDialog()
{
    if (s_front == m_dialog)
        s_front = nullptr;
    if (m_dialog)
        DestroyWindow(m_dialog);
    PumpIdle();
}

void TestDialog::Attach() { Send(BRM_SETCALLBACK, 0, (LPARAM)Record); }

int TestDialog::AddRow(const std::string& text, LPARAM data) const
{
    BRADDROW add{sizeof add, text.c_str(), data};
    return (int)Send(BRM_ADDROW, BRPOS_END, (LPARAM)&add);
}

std::string TestDialog::RowText(int row) const
{
    LRESULT len = Send(BRM_GETTEXTLEN, row);
    if (len < 0)
        return "<bad row>";
    std::string text(len + 1, '\0');
    Send(BRM_GETTEXT, row, (LPARAM)&text[0]);
    text.resize(len);
    return text;
}

std::string TestDialog::Cell(int row, int column) const
{
    BRCELL cell{sizeof cell, column, row, nullptr, 0};
    LRESULT len = Send(BRM_GETCELLLEN, 0, (LPARAM)&cell);
    if (len < 0)
        return "<error " + std::to_string(len) + ">";
    std::string text(len + 1, '\0');
    cell.text = &text[0];
    cell.size = (int32_t)len + 1;
    if (Send(BRM_GETCELLTEXT, 0, (LPARAM)&cell) != 0)
        return "<read failed>";
    text.resize(len);
    return text;
}

BRCOLUMN TestDialog::Column(int column) const
{
    BRCOLUMN d;
    memset(&d, 0, sizeof d);
    d.cb = sizeof d;
    Send(BRM_GETCOLUMN, column, (LPARAM)&d);
    return d;
}

void TestDialog::ChangeColumn(int column, const std::function<void(BRCOLUMN&)>& change) const
{
    BRCOLUMN d = Column(column);
    change(d);
    Send(BRM_SETCOLUMN, column, (LPARAM)&d);
}

bool PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

void PumpIdle()
{
    // input injected by SendInput reaches the queue through the display server: give it a few
    // rounds to arrive before the queue counts as empty
    for (int idle = 0; idle < 5;) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            idle = 0;
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            idle++;
        }
    }
}

namespace {

void SendMouse(DWORD flags, int sx = 0, int sy = 0)
{
    TakeFront();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        in.mi.dx = MulDiv(sx, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        in.mi.dy = MulDiv(sy, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &in, sizeof in);
}

void SendKey(WORD vk, bool up)
{
    TakeFront();
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = (WORD)MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

POINT ToScreen(HWND hwnd, int x, int y)
{
    POINT pt = {x, y};
    ClientToScreen(hwnd, &pt);
    return pt;
}

} // namespace

void MoveMouse(HWND hwnd, int x, int y)
{
    POINT pt = ToScreen(hwnd, x, y);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, pt.x, pt.y);
    PumpUntil([&] {
        POINT now;
        GetCursorPos(&now);
        return now.x == pt.x && now.y == pt.y;
    }, 2000);
    PumpIdle();
}

void Click(HWND hwnd, int x, int y, const std::vector<WORD>& modifiers, bool right)
{
    MoveMouse(hwnd, x, y);
    for (WORD m : modifiers)
        SendKey(m, false);
    SendMouse(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    SendMouse(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        SendKey(*it, true);
    PumpIdle();
}

void Drag(HWND hwnd, int x1, int y1, int x2, int y2)
{
    MoveMouse(hwnd, x1, y1);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpIdle();
    for (int i = 1; i <= 4; i++)
        MoveMouse(hwnd, x1 + (x2 - x1) * i / 4, y1 + (y2 - y1) * i / 4);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpIdle();
}

void Key(WORD vk, const std::vector<WORD>& modifiers)
{
    for (WORD m : modifiers)
        SendKey(m, false);
    SendKey(vk, false);
    SendKey(vk, true);
    for (auto it = modifiers.rbegin(); it != modifiers.rend(); ++it)
        SendKey(*it, true);
    PumpIdle();
}

void Wheel(int notches)
{
    TakeFront();
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_WHEEL;
    in.mi.mouseData = (DWORD)(notches * WHEEL_DELTA);
    SendInput(1, &in, sizeof in);
    PumpIdle();
}

void Type(const std::string& text)
{
    for (char c : text) {
        TakeFront();
        INPUT in[2] = {};
        for (int i = 0; i < 2; i++) {
            in[i].type = INPUT_KEYBOARD;
            in[i].ki.wScan = (WORD)(unsigned char)c;
            in[i].ki.dwFlags = KEYEVENTF_UNICODE | (i ? KEYEVENTF_KEYUP : 0);
        }
        SendInput(2, in, sizeof in[0]);
    }
    PumpIdle();
}

bool Activate(const TestDialog& dialog)
{
    s_front = dialog.Dialog();
    SetForegroundWindow(dialog.Dialog());
    SetActiveWindow(dialog.Dialog());
    SetFocus(dialog.List());
    bool ok = PumpUntil([&] { return GetForegroundWindow() == dialog.Dialog() && GetFocus() == dialog.List(); }, 3000);
    if (!ok)
        printf("not active: foreground %p (dialog %p), focus %p (list %p)\n", (void*)GetForegroundWindow(),
               (void*)dialog.Dialog(), (void*)GetFocus(), (void*)dialog.List());
    return ok;
}

std::string Screenshot(HWND hwnd, const char* name)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::string folder = oxtest::ProgramDir() + "\\..\\shots";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\vlBR11";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".png";
    RECT rc;
    GetWindowRect(hwnd, &rc);
    HDC dc = GetDC(nullptr); // the screen: the dialog with its children as shown
    bool ok = oxtest::WriteDcPng(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, path);
    ReleaseDC(nullptr, dc);
    return ok ? path : std::string();
}

namespace {

int FontHeight(HWND list)
{
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(list, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return tm.tmHeight;
}

} // namespace

int HeaderHeight(HWND list) { return FontHeight(list) + 9; }
int RowHeight(HWND list) { return FontHeight(list) + 5 > 19 ? FontHeight(list) + 5 : 19; }

int ColumnMiddle(const TestDialog& dialog, int column)
{
    int x = 0;
    for (int c = 0; c < column; c++)
        x += dialog.Column(c).width;
    return x + dialog.Column(column).width / 2;
}

} // namespace brtest
