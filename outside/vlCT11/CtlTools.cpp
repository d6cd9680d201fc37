// The library's look for other modules' painting (colours and pens it owns) and the process-wide
// skin-hooking prohibition flags.
#include "vlCT11.h"

#include <atomic>

namespace {

std::atomic<int> s_skinFlags{0};

// The pens live as long as the process; callers never delete them.
HPEN SystemColourPen(int index)
{
    return CreatePen(PS_SOLID, 1, GetSysColor(index));
}

} // namespace

VLCT11_API int WINAPI CtlSkinHookingProhibitionFlags(int flags) { return s_skinFlags.exchange(flags); }

VLCT11_API COLORREF WINAPI CtlTools_rgbBkgnd(void) { return GetSysColor(COLOR_BTNFACE); }

VLCT11_API HPEN WINAPI CtlTools_hpenDkGray(void)
{
    static HPEN pen = SystemColourPen(COLOR_BTNSHADOW);
    return pen;
}

VLCT11_API HPEN WINAPI CtlTools_hpenLtGray(void)
{
    static HPEN pen = SystemColourPen(COLOR_BTNHIGHLIGHT);
    return pen;
}
