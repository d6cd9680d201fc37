#include "ScreenFit.h"

namespace {

// One axis: the extent shrinks to the area's, then the start moves so that the end fits.
void FitAxis(LONG& start, LONG& end, LONG areaStart, LONG areaEnd)
{
    LONG extent = end - start;
    if (extent < 0)
        extent = 0;
    if (extent > areaEnd - areaStart)
        extent = areaEnd - areaStart;
    if (start + extent > areaEnd)
        start = areaEnd - extent;
    if (start < areaStart)
        start = areaStart;
    end = start + extent;
}

} // namespace

RECT FitRectIntoArea(const RECT& rect, const RECT& area)
{
    RECT fitted = rect;
    FitAxis(fitted.left, fitted.right, area.left, area.right);
    FitAxis(fitted.top, fitted.bottom, area.top, area.bottom);
    return fitted;
}
