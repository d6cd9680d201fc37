// Widths of texts in the report fonts, line breaking, and the runs of a text. Texts are code
// page 1252 with these bytes of their own:
//   kCheckMark      the check mark glyph of the dingbats font;
//   0x02..0x08      pictures (Document.h), each a square of the text's size;
//   0x10..0x17      style marks: StyleMark(bits) gives the text after it that style (bits
//                   kStyleBold, kStyleItalic, kStyleUnderline, added to the bold of the whole
//                   text); they take no room.
#pragma once

#include <string>
#include <vector>

namespace rp {

const char kCheckMark = '\x01';
enum { kStyleBold = 1, kStyleItalic = 2, kStyleUnderline = 4 };
inline bool IsStyleMark(char c) { return (unsigned char)c >= 0x10 && (unsigned char)c <= 0x17; }
inline char StyleMark(int style) { return (char)(0x10 | (style & 7)); }
inline int StyleOf(char c) { return c & 7; }

// Width in points of text set in the sans-serif font (bold or regular) of the given size.
double TextWidth(const std::string& text, bool bold, double size);

// The text broken into lines no wider than width: at line feeds, else after the last blank that
// keeps a line inside the width, else inside a word that is wider on its own. Carriage returns
// and tabs become blanks. An empty text is one empty line. A line that starts inside a styled
// part begins with its style mark.
std::vector<std::string> WrapText(const std::string& text, bool bold, double size, double width);

// A text cut into what is drawn one way: characters of one style, check marks, pictures.
struct TextRun {
    enum Kind { Characters, CheckMarks, Picture } kind;
    std::string text; // Characters, CheckMarks (one byte each)
    int picture;      // Picture: its index
    bool bold, italic, underline;
    double x, width;  // points
};
std::vector<TextRun> SplitRuns(const std::string& text, bool bold, double size, double x);

} // namespace rp
