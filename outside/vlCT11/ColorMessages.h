// The registered colour messages ("CTL_CTLCOLOR_EDIT" ... "CTL_CTLCOLOR_STATIC") with which the
// library's dialogs and controls ask a dialog for brushes, and the library's own colours.
#pragma once

#include <windows.h>

// The registered message of a colour type (CtlColorType, 1 to 6); 0 for another type.
UINT CtlColorMessage(int type);
// Asks the control's parent with the type's colour message; nullptr when it answered 0 (or the
// control has no parent).
HBRUSH AskParentForBrush(HWND control, HDC dc, int type);
// A brush of the library's background colour, owned by the library.
HBRUSH LibraryBackgroundBrush();
