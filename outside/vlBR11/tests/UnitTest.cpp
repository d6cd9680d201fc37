// Cells of row texts and the stored layout value, without windows.
#include <gtest/gtest.h>

#include "CellText.h"
#include "LayoutValue.h"
#include "vlBR11.h"

TEST(CellText, CellOfPicksTheTabSeparatedCell)
{
    struct Case {
        const char* row;
        int column;
        const char* expected;
    } cases[] = {
        {"a\tb\tc", 0, "a"}, {"a\tb\tc", 2, "c"}, {"a\tb\tc", 3, ""}, {"a\t\tc", 1, ""},
        {"", 0, ""},         {"a\tb", -1, ""},    {"\x02" "1141\x02\tx", 0, "\x02" "1141\x02"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CellOf(c.row, c.column)) << "row '" << c.row << "' column " << c.column;
}

TEST(CellText, ReplaceCellAddsMissingCellsAndTurnsTabsIntoBlanks)
{
    EXPECT_EQ("a\tX\tc", ReplaceCell("a\tb\tc", 1, "X"));
    EXPECT_EQ("a\t\t\tX", ReplaceCell("a", 3, "X"));
    EXPECT_EQ("T\tRaum 1", ReplaceCell("F\tRaum 1", 0, "T"));
    EXPECT_EQ("a b\tc", ReplaceCell("x\tc", 0, "a\tb"));
}

TEST(CellText, ParseCellSplitsTheIconReference)
{
    struct Case {
        const char* cell;
        int icon;
        const char* text;
    } cases[] = {
        {"\x02" "1141\x02", 1141, ""},
        {"\x02" "0\x02 ", 0, " "},
        {"\x02" "4000\x02Privat", 4000, "Privat"},
        {"Betreff", -1, "Betreff"},
        {"\x02x\x02", -1, "\x02x\x02"},          // not a number
        {"\x02" "12", -1, "\x02" "12"},           // not closed
        {"\x02\x02", -1, "\x02\x02"},             // empty number
    };
    for (const Case& c : cases) {
        CellParts parts = ParseCell(c.cell);
        EXPECT_EQ(c.icon, parts.icon) << c.cell;
        EXPECT_EQ(c.text, parts.text) << c.cell;
    }
}

namespace {

LayoutValue ThreeColumns()
{
    LayoutValue layout;
    layout.flags = BRL_WIDTHS | BRL_ORDER | BRL_FLAGS;
    layout.sortOrder = -6;
    layout.columns = {{20, 1, BRCF_CENTER}, {150, 0, BRCF_TEXTSORT}, {90, 2, BRCF_OWNERSORT}};
    return layout;
}

} // namespace

TEST(LayoutValue, RoundTripKeepsEveryField)
{
    std::string bytes = EncodeLayout(ThreeColumns());
    ASSERT_EQ(16u + 3 * 12, bytes.size());
    EXPECT_EQ(std::string("BRLY"), bytes.substr(0, 4));
    LayoutValue back;
    ASSERT_TRUE(DecodeLayout(bytes, 3, &back));
    EXPECT_EQ(ThreeColumns().flags, back.flags);
    EXPECT_EQ(-6, back.sortOrder);
    ASSERT_EQ(3u, back.columns.size());
    EXPECT_EQ(150, back.columns[1].width);
    EXPECT_EQ(0, back.columns[1].position);
    EXPECT_EQ((uint32_t)BRCF_OWNERSORT, back.columns[2].flags);
}

TEST(LayoutValue, DamagedOrForeignValuesAreRefusedAndLeaveTheResultAlone)
{
    std::string good = EncodeLayout(ThreeColumns());
    auto with = [&](size_t at, char byte) {
        std::string s = good;
        s[at] = byte;
        return s;
    };
    struct Case {
        const char* what;
        std::string bytes;
        int columns;
    } cases[] = {
        {"empty", "", 3},
        {"cut in the header", good.substr(0, 10), 3},
        {"cut in a column", good.substr(0, good.size() - 1), 3},
        {"one byte too many", good + "x", 3},
        {"another magic", with(0, 'X'), 3},
        {"another version", with(4, 2), 3},
        {"another column count", good, 4},
        {"position twice", with(16 + 12 + 4, 1), 3},
        {"position out of range", with(16 + 4, 7), 3},
        {"negative width", with(16 + 3, (char)0x80), 3},
    };
    for (const Case& c : cases) {
        LayoutValue out;
        out.sortOrder = 99;
        EXPECT_FALSE(DecodeLayout(c.bytes, c.columns, &out)) << c.what;
        EXPECT_EQ(99, out.sortOrder) << c.what;
        EXPECT_TRUE(out.columns.empty()) << c.what;
    }
}
