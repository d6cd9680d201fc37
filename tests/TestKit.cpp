#include "TestKit.h"

#include "Png.h"

#include <atomic>
#include <cstdio>
#include <cstring>

namespace oxtest {

TempDir::TempDir(const char* tag)
{
    static std::atomic<unsigned> counter{0};
    char base[MAX_PATH];
    GetTempPathA(sizeof base, base);
    for (;;) {
        char name[MAX_PATH + 64];
        std::snprintf(name, sizeof name, "%s%s_%lu_%u", base, tag, GetCurrentProcessId(), counter++);
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            break;
        }
    }
}

TempDir::~TempDir() { RemoveTree(m_path); }

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string n = fd.cFileName;
            if (n == "." || n == "..")
                continue;
            std::string full = path + "\\" + n;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(full);
            else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadFileText(const std::string& path)
{
    std::string out;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        out.append(buf, n);
    CloseHandle(h);
    return out;
}

bool WriteFileText(const std::string& path, const std::string& data)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = WriteFile(h, data.data(), (DWORD)data.size(), &n, nullptr);
    CloseHandle(h);
    return ok && n == data.size();
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int RunProcess(const std::string& commandLine, DWORD timeoutMs)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return -1;
    DWORD code = (DWORD)-1;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &code);
    else
        TerminateProcess(pi.hProcess, 99);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return (int)code;
}

std::string ProgramDir()
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n);
    return p.substr(0, p.find_last_of('\\'));
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r')
            continue;
        if (c == '\n') {
            lines.push_back(cur);
            cur.clear();
        } else
            cur += c;
    }
    if (!cur.empty())
        lines.push_back(cur);
    return lines;
}

} // namespace oxtest

namespace oxtest {

// ---- screenshots -------------------------------------------------------------------------------

std::string SaveShot(HDC hdc, int x, int y, int cx, int cy, const std::string& area, const std::string& name)
{
    if (cx <= 0 || cy <= 0)
        return std::string();
    // the programs live in <build>\bin
    std::string folder = ProgramDir() + "\\..\\shots";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\" + area;
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".png";
    if (!WriteDcPng(hdc, x, y, cx, cy, path))
        return std::string();
    return path;
}

} // namespace oxtest
