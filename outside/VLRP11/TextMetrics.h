// Widths of texts in the report fonts, and line breaking. Texts are code page 1252; the byte
// kCheckMark stands for the check mark glyph of the dingbats font, the bytes 0x02..0x08 for
// pictures (Document.h), each a square of the text's size.
#pragma once

#include <string>
#include <vector>

namespace rp {

const char kCheckMark = '\x01';

// Width in points of text set in the sans-serif font (bold or regular) of the given size.
double TextWidth(const std::string& text, bool bold, double size);

// The text broken into lines no wider than width: at line feeds, else after the last blank that
// keeps a line inside the width, else inside a word that is wider on its own. Carriage returns
// and tabs become blanks. An empty text is one empty line.
std::vector<std::string> WrapText(const std::string& text, bool bold, double size, double width);

} // namespace rp
