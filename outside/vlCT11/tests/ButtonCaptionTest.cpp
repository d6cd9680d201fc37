// The button captions: picture or text button, mnemonic, tooltip.
#include <gtest/gtest.h>

#include "ButtonCaption.h"

void PrintTo(const ButtonCaption& c, std::ostream* os)
{
    *os << (c.picture ? "picture" : "text") << " mnemonic '" << (c.mnemonic ? c.mnemonic : ' ') << "' tooltip \""
        << c.tooltip << "\"";
}

namespace {

struct CaptionCase {
    const char* caption;
    ButtonCaption expected;
};

TEST(ParseButtonCaption, Table)
{
    const CaptionCase cases[] = {
        {"{&G}:Gehe zu Datensatz", {true, 'G', "Gehe zu Datensatz"}},
        {"{&l}:Datensatz l\xF6schen.", {true, 'L', "Datensatz l\xF6schen."}},
        {":Fett", {true, 0, "Fett"}},
        {"{&W}:", {true, 'W', ""}},
        {"{}:Ohne Taste", {true, 0, "Ohne Taste"}},
        {"", {true, 0, ""}},
        {nullptr, {true, 0, ""}},
        {"&Ausf\xFChren", {false, 0, ""}},
        {"Gehe &zu Datensatz", {false, 0, ""}},
        {"{&G} ohne Doppelpunkt", {false, 0, ""}},
        {"Zeit: 10 Uhr", {false, 0, ""}},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.caption ? c.caption : "(null)");
        EXPECT_EQ(c.expected, ParseButtonCaption(c.caption));
    }
}

} // namespace
