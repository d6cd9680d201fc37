#include "CellText.h"

#include <stdlib.h>

std::string CellOf(const std::string& row, int column)
{
    if (column < 0)
        return std::string();
    size_t begin = 0;
    for (int i = 0; i < column; i++) {
        size_t tab = row.find('\t', begin);
        if (tab == std::string::npos)
            return std::string();
        begin = tab + 1;
    }
    size_t end = row.find('\t', begin);
    return row.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

std::string ReplaceCell(const std::string& row, int column, const std::string& cell)
{
    std::string clean = cell;
    for (char& c : clean)
        if (c == '\t')
            c = ' ';
    std::vector<std::string> cells = SplitCells(row);
    if ((int)cells.size() <= column)
        cells.resize(column + 1);
    cells[column] = clean;
    std::string out;
    for (size_t i = 0; i < cells.size(); i++) {
        if (i)
            out += '\t';
        out += cells[i];
    }
    return out;
}

std::vector<std::string> SplitCells(const std::string& text)
{
    std::vector<std::string> cells;
    size_t begin = 0;
    for (;;) {
        size_t tab = text.find('\t', begin);
        if (tab == std::string::npos) {
            cells.push_back(text.substr(begin));
            return cells;
        }
        cells.push_back(text.substr(begin, tab - begin));
        begin = tab + 1;
    }
}

CellParts ParseCell(const std::string& cell)
{
    CellParts parts;
    if (cell.size() >= 3 && cell[0] == '\x02') {
        size_t end = cell.find('\x02', 1);
        if (end != std::string::npos && end > 1 && end <= 7) {
            bool digits = true;
            for (size_t i = 1; i < end; i++)
                digits = digits && cell[i] >= '0' && cell[i] <= '9';
            if (digits) {
                parts.icon = atoi(cell.substr(1, end - 1).c_str());
                parts.text = cell.substr(end + 1);
                return parts;
            }
        }
    }
    parts.text = cell;
    return parts;
}
