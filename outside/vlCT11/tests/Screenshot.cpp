#include "Screenshot.h"

#include <gdiplus.h>

#include "TestKit.h"

namespace oxtest {

namespace {

// The system's PNG encoder.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

std::wstring Wide(const std::string& text)
{
    std::wstring wide(text.size(), L'\0');
    wide.resize((size_t)MultiByteToWideChar(CP_ACP, 0, text.c_str(), (int)text.size(), wide.data(), (int)wide.size()));
    return wide;
}

} // namespace

std::string SaveScreenPng(const RECT& screenRect, const char* name)
{
    const int cx = screenRect.right - screenRect.left, cy = screenRect.bottom - screenRect.top;
    if (cx <= 0 || cy <= 0)
        return std::string();
    std::string folder = ProgramDir();
    folder = folder.substr(0, folder.find_last_of('\\')) + "\\shots";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\vlct11";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".png";

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, cx, cy, screen, screenRect.left, screenRect.top, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool saved = false;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) {
        {
            Gdiplus::Bitmap image(bitmap, nullptr);
            saved = image.Save(Wide(path).c_str(), &kPngEncoder, nullptr) == Gdiplus::Ok;
        }
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bitmap);
    return saved ? path : std::string();
}

} // namespace oxtest
