#include "DebugCapture.h"

#include <cstdio>

#include "TestKit.h"

namespace oxtest {

MailslotCapture::MailslotCapture()
{
    // Under Wine the name stays taken while any writer still holds the mailslot open: a program
    // that loaded the library while an earlier capture existed keeps its handle until it ends.
    // Wait for such writers (they are other test programs, which end within seconds).
    for (int attempt = 0; attempt < 600; ++attempt) {
        m_slot = CreateMailslotA("\\\\.\\mailslot\\traxel", 0, 0, nullptr);
        if (m_slot != INVALID_HANDLE_VALUE || GetLastError() != ERROR_ALREADY_EXISTS)
            break;
        Sleep(100);
    }
}

MailslotCapture::~MailslotCapture()
{
    if (m_slot != INVALID_HANDLE_VALUE)
        CloseHandle(m_slot);
}

std::vector<std::string> MailslotCapture::TakeRaw()
{
    std::vector<std::string> out;
    if (m_slot == INVALID_HANDLE_VALUE)
        return out;
    for (;;) {
        DWORD next = 0, count = 0;
        if (!GetMailslotInfo(m_slot, nullptr, &next, &count, nullptr) || next == MAILSLOT_NO_MESSAGE)
            break;
        std::string msg(next, '\0');
        DWORD read = 0;
        if (!ReadFile(m_slot, msg.data(), next, &read, nullptr))
            break;
        msg.resize(read);
        out.push_back(msg);
    }
    return out;
}

std::vector<std::string> MailslotCapture::Take()
{
    std::vector<std::string> out = TakeRaw();
    for (auto& s : out)
        if (!s.empty() && s.back() == '\r')
            s.pop_back();
    return out;
}

ViewerWindowCapture::ViewerWindowCapture()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QivClsTraxel32";
    RegisterClassA(&wc);
    m_hwnd = CreateWindowExA(0, "QivClsTraxel32", "capture", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, this);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, (LONG_PTR)this);
}

ViewerWindowCapture::~ViewerWindowCapture()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
    UnregisterClassA("QivClsTraxel32", GetModuleHandleA(nullptr));
}

LRESULT CALLBACK ViewerWindowCapture::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COPYDATA) {
        auto* self = (ViewerWindowCapture*)GetWindowLongPtrA(hwnd, GWLP_USERDATA);
        auto* cds = (COPYDATASTRUCT*)lp;
        if (self && cds)
            self->m_lines.emplace_back((const char*)cds->lpData, cds->cbData);
        return TRUE;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

std::vector<std::string> ViewerWindowCapture::Take()
{
    PumpMessages();
    std::vector<std::string> out;
    out.swap(m_lines);
    return out;
}

std::vector<std::string> LinesContaining(const std::vector<std::string>& lines, const std::string& text)
{
    std::vector<std::string> out;
    for (const auto& l : lines)
        if (l.find(text) != std::string::npos)
            out.push_back(l);
    return out;
}

std::vector<std::string> OwnLines(const std::vector<std::string>& lines, const std::string& program)
{
    char pid[16];
    std::snprintf(pid, sizeof pid, "%08lx/", GetCurrentProcessId());
    // "pid/tid: mm:ss.mmm " is 29 characters.
    const size_t timedPart = 29;
    std::vector<std::string> out;
    for (std::string l : lines) {
        const size_t colon = l.find(':');
        if (colon == std::string::npos || l.compare(0, colon, program) != 0)
            continue;
        l.erase(0, colon + 1);
        const size_t p = l.find(pid);
        if (p != std::string::npos)
            l = l.substr(0, p) + l.substr(p + timedPart);
        out.push_back(l);
    }
    return out;
}

} // namespace oxtest
