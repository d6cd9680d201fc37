#include "AnswerScript.h"

#include <windows.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

struct NamedAnswer {
    const char* name;
    int id;
};

const NamedAnswer kNamedAnswers[] = {
    {"IDOK", IDOK},         {"IDCANCEL", IDCANCEL}, {"IDABORT", IDABORT}, {"IDRETRY", IDRETRY},
    {"IDIGNORE", IDIGNORE}, {"IDYES", IDYES},       {"IDNO", IDNO},
};

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

std::optional<int> AnswerScript::ParseAnswer(const std::string& entry)
{
    std::string text = Trimmed(entry);
    if (text.empty())
        return std::nullopt;
    for (const NamedAnswer& named : kNamedAnswers)
        if (lstrcmpiA(text.c_str(), named.name) == 0)
            return named.id;
    char* end = nullptr;
    errno = 0;
    long number = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || number < INT_MIN || number > INT_MAX)
        return std::nullopt;
    return (int)number;
}

AnswerScript::Entry AnswerScript::ParseEntry(const std::string& entry)
{
    std::string text = Trimmed(entry);
    Entry parsed;
    if (!text.empty() && text.back() == '*') {
        parsed.dontShowAgain = true;
        text.pop_back();
    }
    parsed.answer = ParseAnswer(text);
    if (!parsed.answer)
        parsed.dontShowAgain = false;
    return parsed;
}

AnswerScript::Entry AnswerScript::NextEntry(const std::optional<std::string>& value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (value != m_value) {
        m_value = value;
        m_entries.clear();
        m_position = 0;
        if (value && !value->empty()) {
            size_t start = 0;
            for (;;) {
                size_t comma = value->find(',', start);
                m_entries.push_back(ParseEntry(value->substr(start, comma - start)));
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        }
    }
    if (m_position >= m_entries.size())
        return Entry{};
    return m_entries[m_position++];
}

AnswerScript& AnswerScript::Boxes()
{
    static AnswerScript script;
    return script;
}
