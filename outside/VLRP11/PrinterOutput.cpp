#include "PrinterOutput.h"

#include <windows.h>

#include "PageRenderer.h"
#include "VLRP11.h"

namespace rp {

bool PrinterOutput::DefaultPrinter(std::string& name)
{
    char buffer[512];
    DWORD size = sizeof buffer;
    if (!GetDefaultPrinterA(buffer, &size) || !buffer[0])
        return false;
    name = buffer;
    return true;
}

int PrinterOutput::Print(const Document& document, const std::string& printer, const std::string& title, int copies)
{
    HDC dc = CreateDCA("WINSPOOL", printer.c_str(), nullptr, nullptr);
    if (!dc)
        return RP_ERR_NO_PRINTER;
    // The page's corner is the paper's; the printable area starts at the physical offset.
    double scale = GetDeviceCaps(dc, LOGPIXELSX) / 72.0;
    int offsetX = -GetDeviceCaps(dc, PHYSICALOFFSETX), offsetY = -GetDeviceCaps(dc, PHYSICALOFFSETY);
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.empty() ? "Druckauftrag" : title.c_str();
    int result = RP_OK;
    if (StartDocA(dc, &info) <= 0)
        result = RP_ERR_OUTPUT;
    for (int copy = 0; copy < copies && result == RP_OK; ++copy)
        for (const Page& page : document.pages) {
            if (StartPage(dc) <= 0) {
                result = RP_ERR_OUTPUT;
                break;
            }
            PageRenderer::Render(dc, document, page, scale, offsetX, offsetY);
            if (EndPage(dc) <= 0) {
                result = RP_ERR_OUTPUT;
                break;
            }
        }
    if (result == RP_OK)
        EndDoc(dc);
    else
        AbortDoc(dc);
    DeleteDC(dc);
    return result;
}

} // namespace rp
