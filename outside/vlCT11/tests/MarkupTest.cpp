// The static's formatted text: which segments are shown, in which style.
#include <gtest/gtest.h>

#include "Markup.h"

// Found by GoogleTest through the segment's namespace.
void PrintTo(const MarkupSegment& s, std::ostream* os)
{
    *os << (s.style == MarkupSegment::Style::Bold ? "bold" : "plain") << " \"" << s.text << "\"";
}

namespace {

using Style = MarkupSegment::Style;
using Segments = std::vector<MarkupSegment>;

struct MarkupCase {
    const char* markup;
    Segments expected;
};

const MarkupCase kCases[] = {
    {".t:Bitte geben Sie das Passwort ein.~.xi", {{Style::Plain, "Bitte geben Sie das Passwort ein."}}},
    {".tb:Letzte Warnung!~.xi", {{Style::Bold, "Letzte Warnung!"}}},
    {".t:Am: ~.tb:Montag~.t: um 9 Uhr~.xi",
     {{Style::Plain, "Am: "}, {Style::Bold, "Montag"}, {Style::Plain, " um 9 Uhr"}}},
    {".t:vorher~.xi~.t:nachher", {{Style::Plain, "vorher"}}},
    {".t:ohne Endmarke", {{Style::Plain, "ohne Endmarke"}}},
    {".tb: mit Blank~.xi", {{Style::Bold, " mit Blank"}}},
    {".t:a:b.c~.xi", {{Style::Plain, "a:b.c"}}},
    {"Klartext", {{Style::Plain, "Klartext"}}},
    {".b:IDB_INFO~.f,1~.w:40~.t:Wert~.xi", {{Style::Plain, "Wert"}}},
    {".t:~~.tb:~.xi", {}},
    {"~.xi", {}},
    {"", {}},
    {".xif", {}},
};

TEST(ParseMarkup, ShowsSegmentsUpToTheEndMarker)
{
    for (const MarkupCase& c : kCases) {
        SCOPED_TRACE(c.markup);
        EXPECT_EQ(c.expected, ParseMarkup(c.markup));
    }
}

TEST(ParseMarkup, NullShowsNothing) { EXPECT_EQ(Segments{}, ParseMarkup(nullptr)); }

} // namespace
