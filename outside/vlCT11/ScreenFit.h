// Placing a window rectangle inside a work area: the pure arithmetic of CtlEnsureVisible.
#pragma once

#include <windows.h>

// The rectangle moved (and, where it is wider or taller than the area, shrunk) so that it lies
// inside the area. A rectangle already inside comes back unchanged.
RECT FitRectIntoArea(const RECT& rect, const RECT& area);
