// The menu-item information record of GetMenuItemInfo/SetMenuItemInfo calls: all fields cleared,
// the size field set to the structure's size on this platform.
#pragma once

#include <windows.h>
#include <string.h>

struct CTkMenuItemInfo : public MENUITEMINFOA {
    CTkMenuItemInfo()
    {
        memset(static_cast<MENUITEMINFOA*>(this), 0, sizeof(MENUITEMINFOA));
        cbSize = sizeof(MENUITEMINFOA);
    }
};
