// Project files
// =============
//
// A project file is text in code page 1252, one setting a line. The first line that is not
// blank or a comment is the signature "VLRP11 project 1". Comment lines start with ';' or '#'.
// Every other line is "key = value"; keys are lower case; blanks around keys and values do not
// count. Line ends are CR LF or LF.
//
//   key      value                                   meaning
//   type     list | card                             the kind of report (default list)
//   page     <width> <height>                        paper in mm (default A4: 210 297)
//   margins  <left> <top> <right> <bottom>           margins in mm (default 15 each)
//   font     <size> [<header size>]                  text size in pt (9), first header line (14)
//   rows     <n>                                     at most n table rows a page (0: as fit)
//   header   <expression>                            a header line of every page (repeatable)
//   column   <heading> | <expression> | <width> | <alignment>
//                                                    a table column: heading text, value,
//                                                    width in mm, left | center | right
//   line     <label> | <expression>                  a line of a card: label (may be empty)
//   footer   <expression>                            a footer line of every page (repeatable)
//
// Expressions are described in Expression.h; the item "Seite" is the page number. Example:
//
//   VLRP11 project 1
//   type = list
//   header = "Terminliste"
//   column = Beginn | Beginn | 30 | left
//   column = Betreff | Betreff | 80 | left
//   footer = "Seite " + Seite
//
// The page defaults file (the job's option 12, beside the library) has the same form and takes
// only page, margins, font and rows. A value that does not parse, an unknown key or a missing
// signature makes the file damaged; nothing of it is used then.
#include "Project.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace rp {
namespace {

const char kSignature[] = "VLRP11 project 1";
const size_t kMaxFileSize = 4 * 1024 * 1024;

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> parts;
    size_t start = 0;
    bool quoted = false;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] == '"')
            quoted = !quoted;
        if (i == text.size() || (text[i] == '|' && !quoted)) {
            parts.push_back(Trimmed(text.substr(start, i - start)));
            start = i + 1;
        }
    }
    return parts;
}

// Numbers with '.' (or ','), independent of the process's locale.
bool ParseNumbers(const std::string& text, std::vector<double>& out, size_t minCount, size_t maxCount)
{
    out.clear();
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        double value = 0, scale = 0;
        bool digits = false;
        for (char c : word) {
            if (c >= '0' && c <= '9') {
                digits = true;
                if (scale == 0)
                    value = value * 10 + (c - '0');
                else {
                    value += (c - '0') * scale;
                    scale /= 10;
                }
            } else if ((c == '.' || c == ',') && scale == 0)
                scale = 0.1;
            else
                return false;
        }
        if (!digits || value > 100000)
            return false;
        out.push_back(value);
    }
    return out.size() >= minCount && out.size() <= maxCount;
}

} // namespace

Project::Result Project::Load(const std::string& path, bool defaultsOnly, std::string& error)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = "Die Datei " + path + " kann nicht ge\xF6" "ffnet werden.";
        return Missing;
    }
    LARGE_INTEGER size{};
    std::string text;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= (LONGLONG)kMaxFileSize;
    if (read) {
        text.resize((size_t)size.QuadPart);
        DWORD got = 0;
        read = text.empty() || (ReadFile(file, &text[0], (DWORD)text.size(), &got, nullptr) && got == text.size());
    }
    CloseHandle(file);
    if (!read) {
        error = "Die Datei " + path + " ist zu gro\xDF oder nicht lesbar.";
        return Damaged;
    }
    return Parse(text, defaultsOnly, error);
}

Project::Result Project::Parse(const std::string& text, bool defaultsOnly, std::string& error)
{
    Project parsed = *this;
    parsed.header.clear();
    parsed.columns.clear();
    parsed.lines.clear();
    parsed.footer.clear();
    bool signed_ = false;
    int lineNumber = 0;
    std::istringstream stream(text);
    std::string raw;
    auto damaged = [&](const std::string& what) {
        error = "Zeile " + std::to_string(lineNumber) + ": " + what;
        return Damaged;
    };
    while (std::getline(stream, raw)) {
        ++lineNumber;
        std::string line = Trimmed(raw);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line.find('\0') != std::string::npos)
            return damaged("unzul\xE4ssiges Zeichen");
        if (!signed_) {
            if (line != kSignature)
                return damaged("keine Druckdefinition (erwartet \"" + std::string(kSignature) + "\")");
            signed_ = true;
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            return damaged("\"=\" fehlt");
        std::string key = Trimmed(line.substr(0, equals));
        std::string value = Trimmed(line.substr(equals + 1));
        std::vector<double> numbers;
        std::string exprError;
        if (key == "page") {
            if (!ParseNumbers(value, numbers, 2, 2) || numbers[0] < 50 || numbers[1] < 50)
                return damaged("ung\xFCltiges Papierformat");
            parsed.page.width = numbers[0];
            parsed.page.height = numbers[1];
        } else if (key == "margins") {
            if (!ParseNumbers(value, numbers, 4, 4))
                return damaged("ung\xFCltige R\xE4nder");
            parsed.page.marginLeft = numbers[0];
            parsed.page.marginTop = numbers[1];
            parsed.page.marginRight = numbers[2];
            parsed.page.marginBottom = numbers[3];
        } else if (key == "font") {
            if (!ParseNumbers(value, numbers, 1, 2) || numbers[0] < 4 || numbers[0] > 72 ||
                (numbers.size() == 2 && (numbers[1] < 4 || numbers[1] > 72)))
                return damaged("ung\xFCltige Schriftgr\xF6\xDF" "e");
            parsed.page.fontSize = numbers[0];
            if (numbers.size() == 2)
                parsed.page.headerSize = numbers[1];
        } else if (key == "rows") {
            if (!ParseNumbers(value, numbers, 1, 1) || numbers[0] != (int)numbers[0])
                return damaged("ung\xFCltige Zeilenzahl");
            parsed.page.rowsPerPage = (int)numbers[0];
        } else if (defaultsOnly) {
            return damaged("unbekannter Eintrag \"" + key + "\"");
        } else if (key == "type") {
            if (value == "list")
                parsed.kind = ProjectKind::List;
            else if (value == "card")
                parsed.kind = ProjectKind::Card;
            else
                return damaged("unbekannte Art \"" + value + "\"");
        } else if (key == "header" || key == "footer") {
            Expression expression;
            if (!expression.Parse(value, exprError))
                return damaged(exprError);
            (key == "header" ? parsed.header : parsed.footer).push_back(expression);
        } else if (key == "column") {
            std::vector<std::string> parts = SplitBars(value);
            Column column;
            if (parts.size() != 4)
                return damaged("eine Spalte hat vier Teile: \xDC" "berschrift | Ausdruck | Breite | Ausrichtung");
            column.heading = parts[0];
            if (!column.value.Parse(parts[1], exprError))
                return damaged(exprError);
            if (!ParseNumbers(parts[2], numbers, 1, 1) || numbers[0] < 2)
                return damaged("ung\xFCltige Spaltenbreite");
            column.width = numbers[0];
            if (parts[3] == "left")
                column.align = Align::Left;
            else if (parts[3] == "center")
                column.align = Align::Center;
            else if (parts[3] == "right")
                column.align = Align::Right;
            else
                return damaged("unbekannte Ausrichtung \"" + parts[3] + "\"");
            parsed.columns.push_back(column);
        } else if (key == "line") {
            std::vector<std::string> parts = SplitBars(value);
            CardLine cardLine;
            if (parts.size() != 2)
                return damaged("eine Kartenzeile hat zwei Teile: Bezeichnung | Ausdruck");
            cardLine.label = parts[0];
            if (!cardLine.value.Parse(parts[1], exprError))
                return damaged(exprError);
            parsed.lines.push_back(cardLine);
        } else
            return damaged("unbekannter Eintrag \"" + key + "\"");
    }
    if (!signed_) {
        lineNumber = 1;
        return damaged("keine Druckdefinition (leere Datei)");
    }
    const PageSetup& p = parsed.page;
    if (p.marginLeft + p.marginRight + 20 > p.width || p.marginTop + p.marginBottom + 20 > p.height) {
        error = "Die R\xE4nder lassen keinen Platz auf der Seite.";
        return Damaged;
    }
    *this = parsed;
    return Ok;
}

std::string Project::ToText() const
{
    auto number = [](double value) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.2f", value);
        std::string text = buffer;
        for (char& c : text)
            if (c == ',')
                c = '.'; // whatever the process's locale
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
        return text;
    };
    const PageSetup& p = page;
    std::string text = std::string(kSignature) + "\r\n";
    text += std::string("type = ") + (kind == ProjectKind::List ? "list" : "card") + "\r\n";
    text += "page = " + number(p.width) + " " + number(p.height) + "\r\n";
    text += "margins = " + number(p.marginLeft) + " " + number(p.marginTop) + " " + number(p.marginRight) + " " +
            number(p.marginBottom) + "\r\n";
    text += "font = " + number(p.fontSize) + " " + number(p.headerSize) + "\r\n";
    if (p.rowsPerPage > 0)
        text += "rows = " + std::to_string(p.rowsPerPage) + "\r\n";
    for (const Expression& line : header)
        text += "header = " + line.Source() + "\r\n";
    static const char* const kAlign[] = {"left", "center", "right"};
    for (const Column& column : columns)
        text += "column = " + column.heading + " | " + column.value.Source() + " | " + number(column.width) + " | " +
                kAlign[(int)column.align] + "\r\n";
    for (const CardLine& line : lines)
        text += "line = " + line.label + " | " + line.value.Source() + "\r\n";
    for (const Expression& line : footer)
        text += "footer = " + line.Source() + "\r\n";
    return text;
}

std::string Project::DefaultText(const std::string& extension, int type)
{
    std::string ext = extension;
    for (char& c : ext)
        c = (char)tolower((unsigned char)c);
    bool todo = ext == "lad" || ext == "cad";
    bool card = ext == "ctd" || ext == "cad" || (ext != "ltd" && ext != "lad" && type == 3);
    std::string text = std::string(kSignature) + "\r\n";
    text += "; Druckdefinition, mit einem Texteditor \xE4nderbar (Aufbau: siehe Handbuch des Druckmoduls)\r\n";
    if (!card) {
        text += "type = list\r\n";
        text += todo ? "header = \"Aufgabenliste\"\r\n" : "header = \"Terminliste\"\r\n";
        text += "header = \"Benutzer: \" + Aktueller Benutzer\r\n";
        if (todo) {
            text += "column = Priorit\xE4t | Priorit\xE4t | 20 | center\r\n"
                    "column = Betreff | Betreff | 70 | left\r\n"
                    "column = Ende | Ende | 32 | left\r\n"
                    "column = % erledigt | % erledigt | 22 | right\r\n"
                    "column = Benutzer | Benutzer | 36 | left\r\n";
        } else {
            text += "column = Beginn | Beginn | 28 | left\r\n"
                    "column = Ende | Ende | 28 | left\r\n"
                    "column = Betreff | Betreff | 50 | left\r\n"
                    "column = Ort | Ort | 28 | left\r\n"
                    "column = Mit | Mit | 24 | left\r\n"
                    "column = Benutzer | Benutzer | 22 | left\r\n";
        }
    } else {
        text += "type = card\r\n";
        text += todo ? "header = \"Aufgaben-Karteikarten\"\r\n" : "header = \"Termin-Karteikarten\"\r\n";
        text += "line = Betreff | Betreff\r\n";
        if (todo) {
            text += "line = Priorit\xE4t | Priorit\xE4t\r\n"
                    "line = F\xE4llig | Ende\r\n"
                    "line = % erledigt | % erledigt\r\n";
        } else {
            text += "line = Beginn | Beginn\r\n"
                    "line = Ende | Ende\r\n"
                    "line = Ort | Ort\r\n";
        }
        text += "line = Mit | Mit\r\n"
                "line = Privat | Privat\r\n"
                "line = Erinnerung | Erinnerung\r\n"
                "line = Benutzer | Benutzer\r\n"
                "line = Notizen | Notizen.unformatiert\r\n";
    }
    text += "footer = \"Seite \" + Seite\r\n";
    return text;
}

} // namespace rp
