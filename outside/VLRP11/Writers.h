// The output files of a print run, as bytes.
#pragma once

#include <string>

#include "Document.h"

namespace rp {

// PDF 1.4: the positioned pages; the standard sans-serif fonts in WinAnsiEncoding and the
// dingbats font for check marks; page contents compressed.
std::string WritePdf(const Document& document);
// HTML in UTF-8: the header, then one table of the rows (lists) or a block per card.
std::string WriteHtml(const Document& document);
// RTF in code page 1252: the header, then table rows (lists) or a paragraph block per card.
std::string WriteRtf(const Document& document);

} // namespace rp
