#include "Screenshot.h"

#include "TestKit.h"

namespace oxtest {

std::string SaveScreenPng(const RECT& screenRect, const char* name)
{
    HDC screen = GetDC(nullptr);
    const std::string path = SaveShot(screen, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                                      screenRect.bottom - screenRect.top, "vlct11", name);
    ReleaseDC(nullptr, screen);
    return path;
}

} // namespace oxtest
