#include "TextMetrics.h"

namespace rp {
namespace {

#include "FontMetrics.inc"

double CharWidth(unsigned char c, bool bold)
{
    if (c == (unsigned char)kCheckMark)
        return kCheckMarkWidth;
    if (c >= 0x02 && c <= 0x08)
        return 1000; // a picture: a square of the text's size
    if (c < 32)
        c = ' ';
    return (bold ? kBoldWidths : kRegularWidths)[c - 32];
}

} // namespace

double TextWidth(const std::string& text, bool bold, double size)
{
    double units = 0;
    for (unsigned char c : text)
        units += CharWidth(c, bold);
    return units * size / 1000.0;
}

std::vector<std::string> WrapText(const std::string& text, bool bold, double size, double width)
{
    std::vector<std::string> lines;
    const double limit = width * 1000.0 / size; // in font units
    std::string line;
    double lineUnits = 0;
    size_t lastBlank = std::string::npos; // in line
    auto flush = [&] {
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        lines.push_back(line);
        line.clear();
        lineUnits = 0;
        lastBlank = std::string::npos;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\n') {
            flush();
            continue;
        }
        if (c == '\r' || c == '\t')
            c = ' ';
        if (c == ' ' && line.empty() && !lines.empty() && i > 0 && text[i - 1] != '\n')
            continue; // a blank at which the line broke
        double w = CharWidth((unsigned char)c, bold);
        if (lineUnits + w > limit && !line.empty() && c != ' ') {
            if (lastBlank != std::string::npos) {
                std::string rest = line.substr(lastBlank + 1);
                line.erase(lastBlank);
                flush();
                line = rest;
                for (unsigned char r : rest)
                    lineUnits += CharWidth(r, bold);
            } else
                flush();
        }
        if (c == ' ')
            lastBlank = line.size();
        line += c;
        lineUnits += w;
    }
    if (!line.empty() || lines.empty() || text.back() == '\n')
        flush();
    return lines;
}

} // namespace rp
