#include "Markup.h"

#include <cstring>

namespace {

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

} // namespace

std::vector<MarkupSegment> ParseMarkup(const char* text)
{
    std::vector<MarkupSegment> segments;
    if (!text)
        return segments;
    const char* start = text;
    for (;;) {
        const char* tilde = std::strchr(start, '~');
        std::string segment = tilde ? std::string(start, tilde) : std::string(start);
        if (StartsWith(segment, ".xi"))
            break;
        MarkupSegment shown{MarkupSegment::Style::Plain, std::string()};
        if (StartsWith(segment, ".tb:")) {
            shown.style = MarkupSegment::Style::Bold;
            shown.text = segment.substr(4);
        } else if (StartsWith(segment, ".t:"))
            shown.text = segment.substr(3);
        else if (!StartsWith(segment, "."))
            shown.text = segment;
        if (!shown.text.empty())
            segments.push_back(shown);
        if (!tilde)
            break;
        start = tilde + 1;
    }
    return segments;
}
