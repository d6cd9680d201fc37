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
