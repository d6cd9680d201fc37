// Expressions of project files: terms joined by '+', each a quoted text ("" inside stands for
// one quote) or the name of an item (blanks around it do not count):
//     "Seite " + Seite        Beginn        "Benutzer: " + Aktueller Benutzer
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rp {

class Expression {
public:
    // False with a message (German, for the user) when the source is no expression.
    bool Parse(const std::string& source, std::string& error);

    const std::vector<std::string>& Names() const { return m_names; }
    // The text it was parsed from, without blanks around it.
    const std::string& Source() const { return m_source; }
    bool IsEmpty() const { return m_terms.empty(); }

    // The joined text; lookup gives the printed text of a name.
    std::string Evaluate(const std::function<std::string(const std::string&)>& lookup) const;

private:
    struct Term {
        bool literal;
        std::string text;
    };
    std::vector<Term> m_terms;
    std::vector<std::string> m_names;
    std::string m_source;
};

} // namespace rp
