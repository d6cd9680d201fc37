// What a print run produced, for the writers: positioned pages (PDF) and the same content as
// header, table rows and cards (HTML, RTF). Texts are code page 1252 with kCheckMark.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Project.h"

namespace rp {

// Positions in points from the page's top left corner; y of a text is its baseline.
struct TextOp {
    double x, y, size;
    bool bold;
    std::string text;
};
struct LineOp {
    double x1, y1, x2, y2, width;
};
struct Page {
    std::vector<TextOp> texts;
    std::vector<LineOp> lines;
};

using CardLines = std::vector<std::pair<std::string, std::string>>; // label, value

struct Document {
    std::string title;
    ProjectKind kind = ProjectKind::List;
    double pageWidth = 595.3, pageHeight = 841.9; // pt
    std::vector<std::string> header;              // the first page's header lines
    std::vector<Column> columns;                  // headings, widths (mm) and alignments
    std::vector<std::vector<std::string>> rows;
    std::vector<CardLines> cards;
    std::vector<Page> pages;
};

} // namespace rp
