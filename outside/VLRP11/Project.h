// A report project: page, fonts, header, table columns or card lines, footer. Read from and
// written to the project file format described in Project.cpp.
#pragma once

#include <string>
#include <vector>

#include "Expression.h"

namespace rp {

enum class ProjectKind { List, Card };
enum class Align { Left, Center, Right };

// Page and fonts, in millimetres and points.
struct PageSetup {
    double width = 210, height = 297;                          // mm
    double marginLeft = 15, marginTop = 15, marginRight = 15, marginBottom = 15; // mm
    double fontSize = 9;                                        // pt; the header is bold and larger
    double headerSize = 14;                                     // pt of the header's first line
    int rowsPerPage = 0;                                        // 0: as many as fit
};

struct Column {
    std::string heading;
    Expression value;
    double width = 30; // mm
    Align align = Align::Left;
};

struct CardLine {
    std::string label;
    Expression value;
};

class Project {
public:
    enum Result { Ok, Missing, Damaged };

    ProjectKind kind = ProjectKind::List;
    PageSetup page;
    std::vector<Expression> header; // lines; the first one set larger
    std::vector<Column> columns;
    std::vector<CardLine> lines;
    std::vector<Expression> footer;

    // Reads a file over the current values (so page defaults read before stay unless the file
    // sets them). Damaged: 'error' tells where. A defaults file takes only the page keys.
    Result Load(const std::string& path, bool defaultsOnly, std::string& error);
    // Parses text in the file format (used by Load).
    Result Parse(const std::string& text, bool defaultsOnly, std::string& error);

    // The project in the file format (Parse of it gives the same project).
    std::string ToText() const;

    // The default project text of a kind of report, chosen by the project file extension
    // ("ltd" appointment list, "lad" to-do list, "ctd" appointment card, "cad" to-do card;
    // another extension: by the project type, 2 list, 3 card, of appointments).
    static std::string DefaultText(const std::string& extension, int type);
};

} // namespace rp
