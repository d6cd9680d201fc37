// Draws the pages of a Document with GDI: for printers, and for any device context a caller
// gives (a metafile in tests).
#pragma once

#include <windows.h>

#include "Document.h"

namespace rp {

class PageRenderer {
public:
    // Draws a page of the document (which holds its pictures): a point of the page is scale device units, the page's top left corner lies at
    // (originX, originY). The device context's state is restored afterwards.
    static void Render(HDC dc, const Document& document, const Page& page, double scale, int originX, int originY);
};

} // namespace rp
