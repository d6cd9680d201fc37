#include "TestKit.h"

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

namespace {

UINT32 PngCrc(const std::string& data)
{
    static UINT32 table[256];
    static bool bTable = false;
    if (!bTable) {
        for (UINT32 i = 0; i < 256; i++) {
            UINT32 c = i;
            for (int k = 0; k < 8; k++)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        bTable = true;
    }
    UINT32 crc = 0xFFFFFFFFu;
    for (unsigned char ch : data)
        crc = table[(crc ^ ch) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBE32(std::string& s, UINT32 v)
{
    s += (char)(v >> 24);
    s += (char)(v >> 16);
    s += (char)(v >> 8);
    s += (char)v;
}

void PutChunk(std::string& png, const char* type, const std::string& data)
{
    PutBE32(png, (UINT32)data.size());
    std::string body = std::string(type, 4) + data;
    png += body;
    PutBE32(png, PngCrc(body));
}

// RGB rows as PNG, the pixel data in stored (uncompressed) deflate blocks.
std::string EncodePng(int cx, int cy, const std::string& rgbRows)
{
    std::string png("\x89PNG\r\n\x1a\n", 8);
    std::string ihdr;
    PutBE32(ihdr, (UINT32)cx);
    PutBE32(ihdr, (UINT32)cy);
    ihdr += std::string("\x08\x02\x00\x00\x00", 5); // 8 bits, RGB
    PutChunk(png, "IHDR", ihdr);
    std::string raw;
    for (int y = 0; y < cy; y++) {
        raw += '\0'; // no filter
        raw.append(rgbRows, (size_t)y * cx * 3, (size_t)cx * 3);
    }
    std::string z("\x78\x01", 2);
    UINT32 a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size();) {
        size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
        bool bLast = pos + n >= raw.size();
        z += (char)(bLast ? 1 : 0);
        z += (char)(n & 0xFF);
        z += (char)(n >> 8);
        z += (char)(~n & 0xFF);
        z += (char)((~n >> 8) & 0xFF);
        z.append(raw, pos, n);
        pos += n;
    }
    PutBE32(z, (b << 16) | a);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", std::string());
    return png;
}

} // namespace

std::string SaveShot(HDC hdc, int x, int y, int cx, int cy, const std::string& area, const std::string& name)
{
    if (cx <= 0 || cy <= 0)
        return std::string();
    BITMAPINFO bmi;
    memset(&bmi, 0, sizeof(bmi));
    bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy; // top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* pBits = nullptr;
    HBITMAP hBitmap = CreateDIBSection(hdc, &bmi, DIB_RGB_COLORS, &pBits, nullptr, 0);
    if (hBitmap == nullptr)
        return std::string();
    HDC hdcMem = CreateCompatibleDC(hdc);
    HGDIOBJ hOld = SelectObject(hdcMem, hBitmap);
    BitBlt(hdcMem, 0, 0, cx, cy, hdc, x, y, SRCCOPY);
    GdiFlush();
    std::string rgb;
    rgb.reserve((size_t)cx * cy * 3);
    const unsigned char* p = (const unsigned char*)pBits;
    for (int i = 0; i < cx * cy; i++) {
        rgb += (char)p[i * 4 + 2];
        rgb += (char)p[i * 4 + 1];
        rgb += (char)p[i * 4 + 0];
    }
    SelectObject(hdcMem, hOld);
    DeleteDC(hdcMem);
    DeleteObject(hBitmap);

    // the programs live in <build>\bin
    std::string folder = ProgramDir() + "\\..\\shots";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\" + area;
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".png";
    if (!WriteFileText(path, EncodePng(cx, cy, rgb)))
        return std::string();
    return path;
}

} // namespace oxtest
