#include "FileFilter.h"

#include <vector>

namespace {

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::string DialogFilter(const char* filter)
{
    std::vector<std::string> parts;
    if (filter) {
        std::string text = filter;
        size_t start = 0;
        for (;;) {
            size_t bar = text.find('|', start);
            std::string part = Trimmed(text.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
            if (part.empty())
                break;
            parts.push_back(part);
            if (bar == std::string::npos)
                break;
            start = bar + 1;
        }
    }
    if (parts.size() % 2)
        parts.push_back(parts.back());
    std::string out;
    for (const std::string& part : parts) {
        out += part;
        out += '\0';
    }
    if (!out.empty())
        out += '\0';
    return out;
}
