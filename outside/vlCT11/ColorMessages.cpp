#include "ColorMessages.h"

#include "vlCT11.h"

UINT CtlColorMessage(int type)
{
    static const UINT messages[] = {
        0,
        RegisterWindowMessageA(CTL_CTLCOLOR_EDIT_NAME),
        RegisterWindowMessageA(CTL_CTLCOLOR_LISTBOX_NAME),
        RegisterWindowMessageA(CTL_CTLCOLOR_BTN_NAME),
        RegisterWindowMessageA(CTL_CTLCOLOR_DLG_NAME),
        RegisterWindowMessageA(CTL_CTLCOLOR_SCROLLBAR_NAME),
        RegisterWindowMessageA(CTL_CTLCOLOR_STATIC_NAME),
    };
    return type >= CTL_CTLCOLOR_TYPE_EDIT && type <= CTL_CTLCOLOR_TYPE_STATIC ? messages[type] : 0;
}

HBRUSH AskParentForBrush(HWND control, HDC dc, int type)
{
    HWND parent = GetParent(control);
    const UINT message = CtlColorMessage(type);
    if (!parent || !message)
        return nullptr;
    return (HBRUSH)SendMessageA(parent, message, (WPARAM)dc, (LPARAM)control);
}

HBRUSH LibraryBackgroundBrush()
{
    static HBRUSH brush = CreateSolidBrush(CtlTools_rgbBkgnd());
    return brush;
}
