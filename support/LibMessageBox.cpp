#include "LibMessageBox.h"

#include "vlCT11.h"

int LibMessageBox(HWND owner, const char* text, const char* caption, UINT style)
{
    return CtlMessageBoxA(owner, text, caption, style);
}
