#include "MsgboxArguments.h"

#include <cctype>
#include <cstring>

namespace {

// Whether a switch "/x:" starts at position i (at the start or after a blank).
bool SwitchAt(const std::string& text, size_t i, char letter)
{
    if (i + 3 > text.size() || (i > 0 && text[i - 1] != ' '))
        return false;
    return text[i] == '/' && std::tolower((unsigned char)text[i + 1]) == letter && text[i + 2] == ':';
}

size_t FindSwitch(const std::string& text, char letter, size_t from = 0)
{
    for (size_t i = from; i + 3 <= text.size(); ++i)
        if (SwitchAt(text, i, letter))
            return i;
    return std::string::npos;
}

// Drops the quotes of quoted switches ("/c:velmar chronivo", as a shell quotes an argument with
// blanks): a quote at the start of a word directly before "/c:", "/f:" or "/t:", and its closing
// quote: for "/t:", which runs to the end, a quote that ends the line; for the others the next
// quote that ends a word. Other quotes stay.
std::string WithoutSwitchQuotes(const std::string& arguments)
{
    std::string out;
    char open = 0; // the letter of the quoted switch
    for (size_t i = 0; i < arguments.size(); ++i) {
        const char c = arguments[i];
        if (c == '"' && !open && (i == 0 || arguments[i - 1] == ' ') && i + 3 < arguments.size() &&
            arguments[i + 1] == '/' && std::strchr("cftCFT", arguments[i + 2]) && arguments[i + 3] == ':') {
            open = (char)std::tolower((unsigned char)arguments[i + 2]);
            continue;
        }
        const bool last = i + 1 == arguments.size();
        if (c == '"' && open && (last || (open != 't' && arguments[i + 1] == ' '))) {
            open = 0;
            continue;
        }
        out += c;
    }
    return out;
}

} // namespace

MsgboxArguments ParseMsgboxArguments(const std::string& quotedArguments)
{
    const std::string arguments = WithoutSwitchQuotes(quotedArguments);
    MsgboxArguments parsed;
    std::string head = arguments;
    const size_t text = FindSwitch(arguments, 't');
    if (text != std::string::npos) {
        parsed.hasText = true;
        parsed.text = arguments.substr(text + 3);
        head = arguments.substr(0, text);
    }
    const size_t caption = FindSwitch(head, 'c');
    if (caption != std::string::npos) {
        size_t end = head.size();
        for (char letter : {'c', 'f'}) {
            const size_t next = FindSwitch(head, letter, caption + 3);
            if (next != std::string::npos && next < end)
                end = next;
        }
        parsed.caption = head.substr(caption + 3, end - caption - 3);
        // The blank before the next switch separates, it is no part of the caption.
        if (end < head.size() || text != std::string::npos)
            if (!parsed.caption.empty() && parsed.caption.back() == ' ')
                parsed.caption.pop_back();
    }
    return parsed;
}

std::string ArgumentsOf(const char* commandLine)
{
    if (!commandLine)
        return std::string();
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}
