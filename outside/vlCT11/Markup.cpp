#include "Markup.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>

namespace {

const char kPilcrow = '\xB6';

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

// One parsed command.
struct Command {
    enum class Kind { None, Field, Width, Bitmap, Text, Row, End };
    Kind kind = Kind::None;
    int number = 0;   // field or width
    std::string text; // text or bitmap name
    MarkupFont font;
    bool centred = false;
};

bool ParseNumber(const std::string& text, int* value)
{
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::atoi(text.c_str());
    return true;
}

// ".tf(Face,Size)FLAGS:text"
Command ParseFontText(const std::string& segment)
{
    Command command;
    const size_t close = segment.find(')');
    const size_t colon = close == std::string::npos ? close : segment.find(':', close);
    if (colon == std::string::npos)
        return command;
    const std::string inside = segment.substr(4, close - 4);
    const size_t comma = inside.find(',');
    int points = 0;
    if (comma == std::string::npos || comma == 0 || !ParseNumber(inside.substr(comma + 1), &points) || points == 0)
        return command;
    command.kind = Command::Kind::Text;
    command.font.face = inside.substr(0, comma);
    command.font.points = points;
    for (char flag : segment.substr(close + 1, colon - close - 1)) {
        if (flag == 'b')
            command.font.bold = true;
        else if (flag == 'c')
            command.centred = true;
    }
    command.text = segment.substr(colon + 1);
    return command;
}

Command ParseCommand(const std::string& segment)
{
    Command command;
    if (StartsWith(segment, ".xi")) {
        command.kind = Command::Kind::End;
    } else if (segment == ".l") {
        command.kind = Command::Kind::Row;
    } else if (StartsWith(segment, ".f,")) {
        if (ParseNumber(segment.substr(3), &command.number))
            command.kind = Command::Kind::Field;
    } else if (StartsWith(segment, ".w:")) {
        if (ParseNumber(segment.substr(3), &command.number))
            command.kind = Command::Kind::Width;
    } else if (StartsWith(segment, ".b:")) {
        command.kind = Command::Kind::Bitmap;
        command.text = segment.substr(3);
    } else if (StartsWith(segment, ".tf(")) {
        command = ParseFontText(segment);
    } else if (StartsWith(segment, ".tb:")) {
        command.kind = Command::Kind::Text;
        command.font.bold = true;
        command.text = segment.substr(4);
    } else if (StartsWith(segment, ".t:")) {
        command.kind = Command::Kind::Text;
        command.text = segment.substr(3);
    } else if (!StartsWith(segment, ".")) {
        command.kind = Command::Kind::Text;
        command.text = segment;
    }
    return command;
}

// The commands up to the end marker, in rows (split at ".l").
std::vector<std::vector<Command>> ParseRows(const char* markup)
{
    std::vector<std::vector<Command>> rows(1);
    const char* start = markup;
    for (;;) {
        const char* tilde = std::strchr(start, '~');
        Command command = ParseCommand(tilde ? std::string(start, tilde) : std::string(start));
        if (command.kind == Command::Kind::End)
            break;
        if (command.kind == Command::Kind::Row)
            rows.emplace_back();
        else if (command.kind != Command::Kind::None)
            rows.back().push_back(std::move(command));
        if (!tilde)
            break;
        start = tilde + 1;
    }
    return rows;
}

class Layouter {
public:
    Layouter(int width, const MarkupMeasurer& measurer) : m_width(width), m_measurer(measurer) {}

    void Row(const std::vector<Command>& commands)
    {
        // Widths given anywhere in the row hold for the whole row, and for this row only.
        m_widths.clear();
        int field = 0;
        for (const Command& command : commands) {
            if (command.kind == Command::Kind::Field)
                field = command.number;
            else if (command.kind == Command::Kind::Width)
                m_widths[field] = command.number;
        }
        m_cursors.clear();
        field = 0;
        for (const Command& command : commands) {
            switch (command.kind) {
            case Command::Kind::Field:
                field = command.number;
                break;
            case Command::Kind::Bitmap:
                Bitmap(field, command.text);
                break;
            case Command::Kind::Text:
                Text(field, command);
                break;
            default:
                break;
            }
        }
        int bottom = m_rowTop;
        for (const auto& [number, cursor] : m_cursors)
            bottom = std::max(bottom, cursor.line);
        m_rowTop = bottom + 1;
        NoteLine(bottom, 0);
    }

    MarkupLayout Result()
    {
        // A row left empty at the end adds no line.
        while (!m_layout.lineHeights.empty() && (int)m_layout.lineHeights.size() > m_lastUsed + 1)
            m_layout.lineHeights.pop_back();
        return std::move(m_layout);
    }

private:
    struct Cursor {
        int line = 0;
        int offset = 0; // pixels used on the line within the field
    };

    int FieldX(int field) const
    {
        long long x = 0;
        for (const auto& [number, width] : m_widths) {
            if (number >= field)
                break;
            x += width;
        }
        return (int)std::min<long long>(x, 1 << 24);
    }

    int FieldWidth(int field) const
    {
        auto it = m_widths.find(field);
        if (it != m_widths.end())
            return it->second;
        return std::max(0, m_width - FieldX(field));
    }

    Cursor& CursorOf(int field)
    {
        auto it = m_cursors.find(field);
        if (it == m_cursors.end())
            it = m_cursors.emplace(field, Cursor{m_rowTop, 0}).first;
        return it->second;
    }

    void NoteLine(int line, int height)
    {
        if ((int)m_layout.lineHeights.size() <= line)
            m_layout.lineHeights.resize((size_t)line + 1, 0);
        m_layout.lineHeights[(size_t)line] = std::max(m_layout.lineHeights[(size_t)line], height);
        if (height > 0)
            m_lastUsed = std::max(m_lastUsed, line);
    }

    void Bitmap(int field, const std::string& name)
    {
        int cx = 0, cy = 0;
        if (name.empty())
            return;
        m_measurer.BitmapSize(name, &cx, &cy);
        if (cx <= 0)
            return;
        Cursor& cursor = CursorOf(field);
        if (cursor.offset > 0 && cursor.offset + cx > FieldWidth(field))
            cursor = Cursor{cursor.line + 1, 0};
        m_layout.runs.push_back({MarkupRun::Kind::Bitmap, name, MarkupFont{}, FieldX(field) + cursor.offset,
                                 cursor.line, cx});
        cursor.offset += cx;
        NoteLine(cursor.line, cy);
    }

    // Places the pending words of a text as one run.
    void Flush(int field, const Command& command, std::string& run)
    {
        if (run.empty())
            return;
        Cursor& cursor = CursorOf(field);
        const int width = m_measurer.TextWidth(command.font, run);
        int x = FieldX(field) + cursor.offset;
        if (command.centred && cursor.offset == 0)
            x += std::max(0, (FieldWidth(field) - width) / 2);
        m_layout.runs.push_back({MarkupRun::Kind::Text, run, command.font, x, cursor.line, width});
        cursor.offset += width;
        NoteLine(cursor.line, m_measurer.LineHeight(command.font));
        run.clear();
    }

    void Text(int field, const Command& command)
    {
        const std::string& text = command.text;
        const int lineHeight = m_measurer.LineHeight(command.font);
        std::string run, blanks;
        size_t i = 0;
        while (i < text.size()) {
            const char c = text[i];
            if (c == '\r') {
                ++i;
                continue;
            }
            if (c == '\n' || c == kPilcrow) {
                Flush(field, command, run);
                Cursor& cursor = CursorOf(field);
                NoteLine(cursor.line, lineHeight);
                cursor = Cursor{cursor.line + 1, 0};
                blanks.clear();
                ++i;
                continue;
            }
            const bool blank = c == ' ';
            size_t end = i;
            while (end < text.size() && text[end] != '\r' && text[end] != '\n' && text[end] != kPilcrow &&
                   (text[end] == ' ') == blank)
                ++end;
            const Cursor& cursor = CursorOf(field);
            if (blank) {
                if (cursor.offset > 0 || !run.empty())
                    blanks.append(text, i, end - i);
            } else {
                std::string longer = run + blanks + text.substr(i, end - i);
                const bool lineUsed = cursor.offset > 0 || !run.empty();
                if (lineUsed &&
                    cursor.offset + m_measurer.TextWidth(command.font, longer) > FieldWidth(field)) {
                    Flush(field, command, run);
                    Cursor& moved = CursorOf(field);
                    moved = Cursor{moved.line + 1, 0};
                    run = text.substr(i, end - i);
                } else
                    run = std::move(longer);
                blanks.clear();
            }
            i = end;
        }
        // Blanks at the end of a text separate it from the next one on the same line.
        run += blanks;
        Flush(field, command, run);
    }

    int m_width;
    const MarkupMeasurer& m_measurer;
    std::map<int, int> m_widths;
    std::map<int, Cursor> m_cursors;
    int m_rowTop = 0;
    int m_lastUsed = -1;
    MarkupLayout m_layout;
};

} // namespace

MarkupLayout LayoutMarkup(const char* markup, int width, const MarkupMeasurer& measurer)
{
    Layouter layouter(width, measurer);
    if (markup)
        for (const std::vector<Command>& row : ParseRows(markup))
            layouter.Row(row);
    return layouter.Result();
}
