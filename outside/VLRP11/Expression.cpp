#include "Expression.h"

namespace rp {
namespace {

std::string Trimmed(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

bool Expression::Parse(const std::string& source, std::string& error)
{
    m_terms.clear();
    m_names.clear();
    m_source = Trimmed(source);
    size_t i = 0;
    const size_t n = source.size();
    while (true) {
        while (i < n && (source[i] == ' ' || source[i] == '\t'))
            ++i;
        if (i < n && source[i] == '"') {
            std::string text;
            ++i;
            bool closed = false;
            while (i < n) {
                if (source[i] == '"') {
                    if (i + 1 < n && source[i + 1] == '"') {
                        text += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                text += source[i++];
            }
            if (!closed) {
                error = "Text ohne schlie\xDF" "endes Anf\xFChrungszeichen: " + source;
                return false;
            }
            m_terms.push_back({true, text});
            while (i < n && (source[i] == ' ' || source[i] == '\t'))
                ++i;
        } else {
            size_t end = source.find('+', i);
            std::string name = Trimmed(source.substr(i, end == std::string::npos ? std::string::npos : end - i));
            if (name.empty()) {
                error = "Leerer Ausdruck oder leerer Teil zwischen \"+\": " + source;
                return false;
            }
            if (name.find('"') != std::string::npos) {
                error = "Anf\xFChrungszeichen in einem Namen: " + name;
                return false;
            }
            m_terms.push_back({false, name});
            m_names.push_back(name);
            i = end == std::string::npos ? n : end;
        }
        if (i >= n)
            return true;
        if (source[i] != '+') {
            error = "\"+\" erwartet: " + source;
            return false;
        }
        ++i;
    }
}

std::string Expression::Evaluate(const std::function<std::string(const std::string&)>& lookup) const
{
    std::string result;
    for (const Term& term : m_terms)
        result += term.literal ? term.text : lookup(term.text);
    return result;
}

} // namespace rp
