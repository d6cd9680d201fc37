// Output to a printer through the printer API, drawn by PageRenderer.
#pragma once

#include <string>

#include "Document.h"

namespace rp {

class PrinterOutput {
public:
    // The default printer's name; false when no printer is installed.
    static bool DefaultPrinter(std::string& name);
    // Prints the document copies times; 0, RP_ERR_NO_PRINTER when the printer cannot be opened,
    // RP_ERR_OUTPUT when it fails while printing (the job is then cancelled).
    static int Print(const Document& document, const std::string& printer, const std::string& title, int copies);
};

} // namespace rp
