#include "TkMenuState.h"

namespace {

// Windows 95 (9x platform, 4.0 up to 4.9) and Windows NT 4.0.
BYTE IsOldWindows()
{
    OSVERSIONINFOA osvi = {};
    osvi.dwOSVersionInfoSize = sizeof(osvi);
    if (!::GetVersionExA(&osvi) || osvi.dwMajorVersion != 4)
        return 0;
    if (osvi.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return osvi.dwMinorVersion <= 9 ? 1 : 0;
    return osvi.dwPlatformId == VER_PLATFORM_WIN32_NT && osvi.dwMinorVersion == 0 ? 1 : 0;
}

} // namespace

TK_MENUSTATE tkMenuState = {0, 0, 0, 0, 0, 0, {0, 0, 0, 0}, 0, 1, 1, 0, IsOldWindows(), -1, -1};
