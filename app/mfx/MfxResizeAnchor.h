// One row of a sizable dialog's anchor table: a control and the percentages of the gained width
// and height added to its position and size. The rectangle (dialog client coordinates) is
// recorded when the dialog is initialised.
#pragma once

#include <windows.h>

struct MfxResizeAnchor {
    int nID;
    BYTE nMoveX;
    BYTE nMoveY;
    BYTE nGrowX;
    BYTE nGrowY;
    RECT rect;
};

// The derived dialogs' static tables are built of these rows: no pointers, the same 24 bytes in
// 32 and 64 bits.
static_assert(sizeof(MfxResizeAnchor) == 24, "MfxResizeAnchor rows are 24 bytes");
