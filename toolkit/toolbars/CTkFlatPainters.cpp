#include "CTkFlatPainters.h"

#include "CTkGlobalData.h"

CTkFlatPainters::CTkFlatPainters() : m_buttonPainter(this), m_listPainter(this), m_bCustomizing(0) {}

namespace {

// Both sets live for the whole process.
CTkPainters g_plainPainters;
CTkFlatPainters g_flatPainters;

} // namespace

CTkPainters* TkGetPainters()
{
    if (tkAfxData.bFlatLook)
        return &g_flatPainters;
    return &g_plainPainters;
}
