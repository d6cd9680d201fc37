// The utility library's string routines as the program imports them.
#include <gtest/gtest.h>

#include "vlUT11.h"

namespace {

TEST(UtilStrlen, CountsBytesUpToTheTerminator)
{
    EXPECT_EQ(0, UtilStrlen(NULL));
    EXPECT_EQ(0, UtilStrlen(""));
    EXPECT_EQ(11, UtilStrlen("Besprechung"));
    EXPECT_EQ(4, UtilStrlen("Gr\xFC\xDF")) << "one byte per ANSI character";
    EXPECT_EQ(2, UtilStrlen("ab\0cd"));
}

TEST(UtilStrnicmp, ComparesAtMostCountCharactersWithoutCase)
{
    struct Case {
        const char* a;
        const char* b;
        int count;
        int sign; // -1, 0, 1
    };
    const Case cases[] = {
        {"COMBOBOX", "ComboBox", 8, 0},
        {"ComboLBox", "COMBOBOX", 8, 1},
        {"ComboLBox", "COMBOBOX", 5, 0},
        {"abc", "abd", 2, 0},
        {"abc", "abd", 3, -1},
        {"abd", "ABC", 3, 1},
        {"ab", "abc", 3, -1},
        {"abc", "ab", 10, 1},
        {NULL, "", 5, 0},
        {NULL, "a", 5, -1},
        {"x", "y", 0, 0},
        {"x", "y", -3, 0},
    };
    for (const Case& c : cases) {
        int result = UtilStrnicmp(c.a, c.b, c.count);
        int sign = result < 0 ? -1 : result > 0 ? 1 : 0;
        EXPECT_EQ(c.sign, sign) << (c.a ? c.a : "(null)") << " / " << c.b << " / " << c.count;
    }
}

} // namespace
