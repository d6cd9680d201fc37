// The markup of the library's static control "VlmrStatic1132": commands separated by '~'.
//
//   .f,N                   continue in field (column) N of the current row; fields lie side by
//                          side, field N starting where the widths of fields 0 to N-1 end
//   .w:N                   width of the current field in pixels, for the whole row (also when
//                          given after the field's content); a field without a width in its row
//                          reaches the right edge
//   .b:NAME                the bitmap resource NAME of the module that made the dialog (an empty
//                          or unknown name shows nothing)
//   .t:text                text in the control's font
//   .tb:text               text in the bold control font
//   .tf(Face,Size)FLAGS:text  text in the font Face of Size points; FLAGS: b bold, c centred in
//                          the field
//   .l                     ends the row: the next row starts below everything of this one, in
//                          field 0
//   .xi, .xif              end: nothing after it is shown
//
// A command without a leading '.' is text in the control's font; other codes show nothing.
// Inside a text the character 0xB6 (pilcrow) and a line feed break the line within the field;
// words wrap at the field's right edge; blanks at the start of a line are dropped.
//
// Layout is a pure function of the markup, the width and a measurer of texts and bitmaps: it
// answers runs with their font, x and line, and the height of every line.
#pragma once

#include <string>
#include <vector>

struct MarkupFont {
    std::string face; // empty: the control's font
    int points = 0;   // 0: the control's size
    bool bold = false;

    bool operator==(const MarkupFont&) const = default;
};

struct MarkupRun {
    enum class Kind { Text, Bitmap };
    Kind kind = Kind::Text;
    std::string text; // the text, or the bitmap's name
    MarkupFont font;
    int x = 0;    // pixels from the left edge
    int line = 0; // from 0
    int width = 0;

    bool operator==(const MarkupRun&) const = default;
};

struct MarkupLayout {
    std::vector<MarkupRun> runs;
    std::vector<int> lineHeights; // pixels, one per line up to the last one used
};

class MarkupMeasurer {
public:
    virtual ~MarkupMeasurer() = default;
    virtual int TextWidth(const MarkupFont& font, const std::string& text) const = 0;
    virtual int LineHeight(const MarkupFont& font) const = 0;
    // Width and height of a bitmap; a width of 0 when there is no bitmap of that name.
    virtual void BitmapSize(const std::string& name, int* width, int* height) const = 0;
};

MarkupLayout LayoutMarkup(const char* markup, int width, const MarkupMeasurer& measurer);
