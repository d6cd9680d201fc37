// Trims, comparisons, the charset conversion string and the auto-release holder (code page 1252).
#include <gtest/gtest.h>

#include <string>

#include "TextHelpers.h"
#include "clsAutoRelease.h"
#include "clsCharsetConversionString.h"

namespace {

struct TrimCase {
    const char* text;
    const char* left;
    const char* right;
    const char* both;
};

TEST(TextHelpers, Trims)
{
    const TrimCase cases[] = {
        {"  a b  ", "a b  ", "  a b", "a b"},
        {"a  b", "a  b", "a  b", "a  b"},
        {"    ", "", "", ""},
        {"", "", "", ""},
        {"\ta\t", "\ta\t", "\ta\t", "\ta\t"},
        {" \ta ", "\ta ", " \ta", "\ta"},
        {"x", "x", "x", "x"},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "[" << c.text << "]");
        char left[32], right[32], both[32];
        strcpy(left, c.text);
        strcpy(right, c.text);
        strcpy(both, c.text);
        EXPECT_EQ(left, StrTrimLeft(left));
        EXPECT_EQ(c.left, std::string(left));
        StrTrimRight(right);
        EXPECT_EQ(c.right, std::string(right));
        StrTrimBoth(both);
        EXPECT_EQ(c.both, std::string(both));
    }
}

struct CompareCase {
    const char* a;
    const char* b;
    int noCase, locale, localeNoCase; // signs
};

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

TEST(TextHelpers, Comparisons)
{
    const CompareCase cases[] = {
        {"abc", "abc", 0, 0, 0},
        {"abc", "ABC", 0, -1, 0},
        {"abc", "abd", -1, -1, -1},
        // The locale orders 'a' before 'B'; the ASCII-folding comparison too.
        {"a", "B", -1, -1, -1},
        // Only A to Z fold: the byte values of the umlauts decide.
        {"\xE4", "\xC4", 1, -1, 1},
        // Texts the locale treats as equal are ordered by their bytes.
        {"a\xAD" "b", "ab", 1, 1, 1},
        {"", "a", -1, -1, -1},
    };
    for (const CompareCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " : " << c.b);
        EXPECT_EQ(c.noCase, Sign(StrCompareNoCase(c.a, c.b)));
        EXPECT_EQ(c.locale, Sign(StrCompareLocale(c.a, c.b)));
        EXPECT_EQ(c.localeNoCase, Sign(StrCompareLocaleNoCase(c.a, c.b)));
    }
}

TEST(TextHelpers, BoundedComparisons)
{
    struct Case {
        const char* a;
        const char* b;
        size_t n;
        int compare, noCase;
    };
    const Case cases[] = {
        {"abcx", "abcy", 3, 0, 0}, {"abcx", "abcy", 4, -1, -1}, {"ABCx", "abcy", 3, -1, 0},
        {"ab", "abc", 3, -1, -1},  {"abc", "xyz", 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a << " : " << c.b << " n " << c.n);
        EXPECT_EQ(c.compare, Sign(StrNCompare(c.a, c.b, c.n)));
        EXPECT_EQ(c.noCase, Sign(StrNCompareNoCase(c.a, c.b, c.n)));
    }
}

TEST(clsCharsetConversionString, WideForms)
{
    const std::string longText(100, 'q');
    struct Case {
        const char* narrow;
        UINT codePage;
        std::wstring wide;
    };
    const Case cases[] = {
        {"Gr\xFC\xDF" "e", 0, L"Gr\u00FC\u00DFe"},
        {longText.c_str(), 0, std::wstring(100, L'q')},
        {"", 0, L""},
        {nullptr, 0, L""},
        {"\xC3\xA4x", CP_UTF8, L"\u00E4x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.narrow ? c.narrow : "NULL");
        clsCharsetConversionString s(c.narrow, c.codePage);
        EXPECT_EQ(c.wide, std::wstring(s.GetWide()));
        EXPECT_EQ(s.GetWide(), s.GetWide()) << "made once";
        EXPECT_EQ(c.narrow ? c.narrow : "", std::string(s.GetNarrow()));
    }
}

// Counts the references it is given.
struct CountedInterface {
    int refs = 1;
    void AddRef() { ++refs; }
    void Release() { --refs; }
};

TEST(clsAutoRelease, HoldsOneReferencePerHolder)
{
    CountedInterface object;
    {
        clsAutoRelease<CountedInterface> holder;
        EXPECT_EQ(nullptr, (CountedInterface*)holder);
        holder.m_ptr = &object; // as an interface-returning call fills it
        {
            clsAutoRelease<CountedInterface> copy(holder);
            EXPECT_EQ(&object, (CountedInterface*)copy);
            EXPECT_EQ(2, object.refs);
        }
        EXPECT_EQ(1, object.refs);
    }
    EXPECT_EQ(0, object.refs);
    {
        clsAutoRelease<CountedInterface> empty;
        clsAutoRelease<CountedInterface> copyOfEmpty(empty);
        EXPECT_EQ(nullptr, (CountedInterface*)copyOfEmpty);
    }
}

} // namespace
