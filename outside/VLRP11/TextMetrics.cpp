#include "TextMetrics.h"

namespace rp {
namespace {

#include "FontMetrics.inc"

// Width in font units (1/1000 of the size).
double CharWidth(unsigned char c, bool bold)
{
    if (c == (unsigned char)kCheckMark)
        return kCheckMarkWidth;
    if (c >= 0x02 && c <= 0x08)
        return 1000; // a picture: a square of the text's size
    if (IsStyleMark((char)c))
        return 0;
    if (c < 32)
        c = ' ';
    return (bold ? kBoldWidths : kRegularWidths)[c - 32];
}

} // namespace

double TextWidth(const std::string& text, bool bold, double size)
{
    double units = 0;
    int style = 0;
    for (char c : text) {
        if (IsStyleMark(c))
            style = StyleOf(c);
        else
            units += CharWidth((unsigned char)c, bold || (style & kStyleBold));
    }
    return units * size / 1000.0;
}

std::vector<std::string> WrapText(const std::string& text, bool bold, double size, double width)
{
    std::vector<std::string> lines;
    const double limit = width * 1000.0 / size; // in font units
    std::string line;
    double lineUnits = 0;
    int style = 0;                          // at the end of line
    size_t lastBlank = std::string::npos;   // in line
    int styleAtBlank = 0;
    auto units = [&](const std::string& part, int startStyle) {
        double sum = 0;
        int s = startStyle;
        for (char c : part)
            if (IsStyleMark(c))
                s = StyleOf(c);
            else
                sum += CharWidth((unsigned char)c, bold || (s & kStyleBold));
        return sum;
    };
    auto startLine = [&](int lineStyle) {
        line = lineStyle ? std::string(1, StyleMark(lineStyle)) : std::string();
        lineUnits = 0;
        lastBlank = std::string::npos;
    };
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(line);
    };
    auto empty = [&] { return line.empty() || (line.size() == 1 && IsStyleMark(line[0])); };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') {
            flush();
            startLine(style);
            continue;
        }
        if (IsStyleMark(c)) {
            style = StyleOf(c);
            line += c;
            continue;
        }
        if (c == '\r' || c == '\t')
            c = ' ';
        if (c == ' ' && empty() && !lines.empty() && i > 0 && text[i - 1] != '\n')
            continue; // a blank at which the line broke
        double w = CharWidth((unsigned char)c, bold || (style & kStyleBold));
        if (lineUnits + w > limit && !empty() && c != ' ') {
            if (lastBlank != std::string::npos) {
                std::string rest = line.substr(lastBlank + 1);
                line.erase(lastBlank);
                flush();
                startLine(styleAtBlank);
                line += rest;
                lineUnits = units(rest, styleAtBlank);
            } else {
                flush();
                startLine(style);
            }
        }
        if (c == ' ') {
            lastBlank = line.size();
            styleAtBlank = style;
        }
        line += c;
        lineUnits += w;
    }
    if (!empty() || lines.empty() || text.back() == '\n')
        flush();
    return lines;
}

std::vector<TextRun> SplitRuns(const std::string& text, bool bold, double size, double x)
{
    std::vector<TextRun> runs;
    int style = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (IsStyleMark(c)) {
            style = StyleOf(c);
            ++i;
            continue;
        }
        TextRun run{TextRun::Characters, std::string(), -1, bold || (style & kStyleBold) != 0, (style & kStyleItalic) != 0,
                    (style & kStyleUnderline) != 0, x, 0};
        if (c >= 0x02 && c <= 0x08) {
            run.kind = TextRun::Picture;
            run.picture = c - 0x02;
            ++i;
        } else {
            bool check = c == kCheckMark;
            run.kind = check ? TextRun::CheckMarks : TextRun::Characters;
            size_t j = i;
            while (j < text.size() && (text[j] == kCheckMark) == check && !IsStyleMark(text[j]) &&
                   !(text[j] >= 0x02 && text[j] <= 0x08))
                ++j;
            run.text = text.substr(i, j - i);
            i = j;
        }
        run.width = run.kind == TextRun::Picture ? size : TextWidth(run.text, run.bold, size);
        x += run.width;
        runs.push_back(run);
    }
    return runs;
}

} // namespace rp
