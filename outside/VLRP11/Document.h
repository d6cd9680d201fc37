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

// A picture (an icon item): RGBA rows from the top, 4 bytes a pixel. In texts the byte
// PictureMark(i) stands for picture i, set as a square of the text's size.
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};
const int kPictureMarks = 7; // bytes 0x02..0x08
inline char PictureMark(int index) { return (char)(0x02 + index); }
inline int PictureIndex(char c) { return (unsigned char)c >= 0x02 && (unsigned char)c < 0x02 + kPictureMarks ? c - 0x02 : -1; }

struct Document {
    std::string title;
    ProjectKind kind = ProjectKind::List;
    double pageWidth = 595.3, pageHeight = 841.9; // pt
    std::vector<std::string> header;              // the first page's header lines
    std::vector<Column> columns;                  // headings, widths (mm) and alignments
    std::vector<std::vector<std::string>> rows;
    std::vector<CardLines> cards;
    std::vector<Page> pages;
    std::vector<Picture> pictures;
};

} // namespace rp
