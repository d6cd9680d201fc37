#include "ButtonCaption.h"

#include <cctype>
#include <cstring>

ButtonCaption ParseButtonCaption(const char* caption)
{
    ButtonCaption parsed;
    if (!caption || !*caption) {
        parsed.picture = true;
        return parsed;
    }
    const std::string text = caption;
    if (text[0] == ':') {
        parsed.picture = true;
        parsed.tooltip = text.substr(1);
        return parsed;
    }
    const size_t close = text.find("}:");
    if (text[0] != '{' || close == std::string::npos)
        return parsed;
    parsed.picture = true;
    parsed.tooltip = text.substr(close + 2);
    const std::string inside = text.substr(1, close - 1);
    const size_t ampersand = inside.find('&');
    if (ampersand != std::string::npos && ampersand + 1 < inside.size())
        parsed.mnemonic = (char)std::toupper((unsigned char)inside[ampersand + 1]);
    return parsed;
}
