// Captures the debug-output channel: owns the mailslot "\\.\mailslot\traxel" (tests that use it
// are declared CHANNEL in CMake and run alone) or a viewer window of class "QivClsTraxel32".
// Every library process started while the capture exists writes its lines into it, and under
// Wine keeps the name taken until it ends: the constructor waits up to a minute for that.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace oxtest {

class MailslotCapture {
public:
    MailslotCapture();
    ~MailslotCapture();
    bool IsOpen() const { return m_slot != INVALID_HANDLE_VALUE; }
    // Reads every message waiting now (each message is one line ending in CR, which is removed).
    std::vector<std::string> Take();
    // Raw messages as received (with their CR).
    std::vector<std::string> TakeRaw();

private:
    HANDLE m_slot;
};

// A hidden top-level window of class "QivClsTraxel32" that collects WM_COPYDATA lines.
class ViewerWindowCapture {
public:
    ViewerWindowCapture();
    ~ViewerWindowCapture();
    HWND Window() const { return m_hwnd; }
    // Lines received so far (messages are pumped first); each entry keeps the exact bytes of
    // the data block (the terminating NUL included, which cbData counts).
    std::vector<std::string> Take();

private:
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
    HWND m_hwnd = nullptr;
    std::vector<std::string> m_lines;
};

// Lines that contain the given text.
std::vector<std::string> LinesContaining(const std::vector<std::string>& lines, const std::string& text);

// The lines this process wrote as program (prefix "<program>:"), without that prefix and without
// the "pid/tid: mm:ss.mmm " part of timed lines; the indentation in front of it stays.
std::vector<std::string> OwnLines(const std::vector<std::string>& lines, const std::string& program);

} // namespace oxtest
