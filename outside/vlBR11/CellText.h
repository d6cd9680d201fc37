// Cells of a row text (separated by tabs) and the icon reference "\x02" N "\x02" at a cell's start.
#pragma once

#include <string>
#include <vector>

// The cell `column` of a row text; empty when the row has fewer cells.
std::string CellOf(const std::string& row, int column);
// The row text with cell `column` replaced (cells added as needed); tabs in the cell become blanks.
std::string ReplaceCell(const std::string& row, int column, const std::string& cell);
// Every cell of a tab-separated text.
std::vector<std::string> SplitCells(const std::string& text);

// A cell split into its icon number (-1 for none) and the text after the reference.
struct CellParts {
    int icon = -1;
    std::string text;
};
CellParts ParseCell(const std::string& cell);
