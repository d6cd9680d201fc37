// Double-byte behaviour with the Japanese code page 932 (this program runs under a Japanese
// locale). Characters used: "\x95\x5C" and "\x83\x5C" have the trail byte '\\', "\x83\x61" and
// "\x83\x41" have the trail bytes 'a' and 'A', "\xB1" is a single-byte katakana.
#include <gtest/gtest.h>

#include <string>

#include "PathHelpers.h"
#include "String.h"
#include "TestKit.h"
#include "TextHelpers.h"
#include "clsLibInfo.h"

namespace {

std::string Text(const String& s) { return std::string((const char*)s); }

TEST(Dbcs, TheRunUsesCodePage932)
{
    EXPECT_EQ(932u, GetACP());
    EXPECT_EQ(932u, g_LibInfo.CodePage());
    EXPECT_TRUE(g_LibInfo.IsDBCS());
}

struct PieceCase {
    const char* what;
    String (*piece)(const String&);
    const char* expected;
};

TEST(Dbcs, StringPiecesCountCharacters)
{
    // 5 characters in 7 bytes.
    const String source("\x95\x5C" "ab\x83\x5C" "c");
    const PieceCase cases[] = {
        {"Left(1) chars keeps both bytes", [](const String& s) { return s.Left(1, true); }, "\x95\x5C"},
        {"Left(3) chars", [](const String& s) { return s.Left(3, true); }, "\x95\x5C" "ab"},
        {"Left(100) chars", [](const String& s) { return s.Left(100, true); }, "\x95\x5C" "ab\x83\x5C" "c"},
        {"Right(1) chars", [](const String& s) { return s.Right(1, true); }, "c"},
        {"Right(2) chars", [](const String& s) { return s.Right(2, true); }, "\x83\x5C" "c"},
        {"Right(4) chars", [](const String& s) { return s.Right(4, true); }, "ab\x83\x5C" "c"},
        {"Right(9) chars", [](const String& s) { return s.Right(9, true); }, "\x95\x5C" "ab\x83\x5C" "c"},
        {"part 1,2 chars", [](const String& s) { return String(s, 1, 2, true); }, "ab"},
        {"part 3,1 chars", [](const String& s) { return String(s, 3, 1, true); }, "\x83\x5C"},
        {"Left(1) bytes", [](const String& s) { return s.Left(1); }, "\x95"},
    };
    for (const PieceCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, Text(c.piece(source)));
    }
}

TEST(Dbcs, DeleteCountsCharacters)
{
    struct Case {
        unsigned start, count;
        const char* expected;
    };
    const Case cases[] = {
        {0, 1, "ab\x83\x5C" "c"},
        {1, 2, "\x95\x5C\x83\x5C" "c"},
        {3, 1, "\x95\x5C" "abc"},
        {4, 5, "\x95\x5C" "ab\x83\x5C"},
        {5, 1, "\x95\x5C" "ab\x83\x5C" "c"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Delete(" << c.start << ", " << c.count << ", true)");
        String s("\x95\x5C" "ab\x83\x5C" "c");
        s.Delete(c.start, c.count, true);
        EXPECT_EQ(c.expected, Text(s));
        EXPECT_EQ(strlen(c.expected), s.GetLength());
    }
}

TEST(Dbcs, CaseChangesOnlyAsciiLetters)
{
    String s("x\x83\x61y\x95\x5C\xB1z");
    s.MakeUpper();
    EXPECT_EQ("X\x83\x61Y\x95\x5C\xB1Z", Text(s));
    String t("X\x83\x41Y");
    t.MakeLower();
    EXPECT_EQ("x\x83\x41y", Text(t));
}

TEST(Dbcs, Utf16Conversion)
{
    EXPECT_EQ("\x95\x5C" "abc", Text(String(L"\u8868abc")));
    String s("\x95\x5C" "a");
    EXPECT_EQ(std::wstring(L"\u8868a"), std::wstring(s.ToWide()));
}

TEST(Dbcs, FormatterBoundCountsDoubleBytes)
{
    EXPECT_EQ("\x95\x5C\x95\x5C\x95\x5C", Text(String::Printf("%ls", L"\u8868\u8868\u8868")));
    std::wstring wide(300, L'\u8868');
    std::string expected;
    for (int i = 0; i < 300; ++i)
        expected += "\x95\x5C";
    EXPECT_EQ(expected, Text(String::Printf("%S", wide.c_str())));
    EXPECT_EQ("\x95\x5C" "5\x83\x5C", Text(String::Printf("\x95\x5C%d\x83\x5C", 5)));
    EXPECT_EQ("\x95\x5C", Text(String::Printf("%lc", (int)L'\u8868')));
    // A precision never cuts a converted double-byte character in half.
    EXPECT_EQ("[\x95\x5C]", Text(String::Printf("[%.3ls]", L"\u8868\u8868")));
    EXPECT_EQ("[\x95\x5C" "a]", Text(String::Printf("[%.3ls]", L"\u8868a\u8868")));
}

TEST(Dbcs, BoundedCopiesNeverCutACharacter)
{
    struct Case {
        const char* start;
        const char* source;
        size_t size;
        const char* copy;
        const char* cat;
    };
    const Case cases[] = {
        {"a", "b\x95\x5C", 3, "b", "ab"},
        {"a", "b\x95\x5C", 4, "b\x95\x5C", "ab"},
        {"a", "b\x95\x5C", 5, "b\x95\x5C", "ab\x95\x5C"},
        {"a", "\x95\x5C", 2, "", "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size);
        char copy[16], cat[16];
        strcpy(copy, c.start);
        strcpy(cat, c.start);
        SafeStrCopy(copy, c.source, c.size);
        SafeStrCat(cat, c.source, c.size);
        EXPECT_EQ(c.copy, std::string(copy));
        EXPECT_EQ(c.cat, std::string(cat));
    }
}

TEST(Dbcs, PathsWithTrailBytesThatLookLikeSeparators)
{
    char drive[256], dir[256], name[256], ext[256];
    SplitPath("c:\\dir\\\x95\x5C.txt", drive, dir, name, ext);
    EXPECT_EQ("\\dir\\", std::string(dir));
    EXPECT_EQ("\x95\x5C", std::string(name));
    EXPECT_EQ(".txt", std::string(ext));

    SplitPath("\\\x83\x5C\\f", drive, dir, name, ext);
    EXPECT_EQ("\\\x83\x5C\\", std::string(dir));
    EXPECT_EQ("f", std::string(name));

    char path[770];
    MakePath(path, "", "c:\\\x95\x5C", "a", "txt");
    EXPECT_EQ("c:\\\x95\x5C\\a.txt", std::string(path));
}

TEST(Dbcs, TrimsAndComparisons)
{
    char text[16] = "  \x95\x5C \x95\x5C  ";
    StrTrimBoth(text);
    EXPECT_EQ("\x95\x5C \x95\x5C", std::string(text));

    EXPECT_EQ(0, StrCompareNoCase("abc\x95\x5C", "ABC\x95\x5C"));
    EXPECT_EQ(0, StrNCompare("\x95\x5C" "a", "\x95\x5C" "b", 2));
    EXPECT_GT(0, StrNCompare("\x95\x5C" "a", "\x95\x5C" "b", 3));
    EXPECT_EQ(0, StrNCompare("\x95\x5C", "\x95\x41", 1)) << "a lead byte without room is compared alone";
    EXPECT_NE(0, StrNCompare("\x95\x5C", "\x95\x41", 2));
    EXPECT_EQ(0, StrNCompareNoCase("abc\x83\x61", "ABC\x83\x61", 5));
    EXPECT_NE(0, StrNCompareNoCase("\x83\x61", "\x83\x41", 2)) << "a trail byte is no letter";
    EXPECT_EQ(0, StrNCompareNoCase("ab", "AB", 10));
}

TEST(Dbcs, EnglishComesBeforeGermanWhenNoOtherLanguageHasATable)
{
    // The user default language of this run is Japanese, so the third candidate finds nothing.
    HMODULE module = LoadLibraryA((oxtest::ProgramDir() + "\\support_test_strings.dll").c_str());
    ASSERT_NE(nullptr, module);
    const LCID locale = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), SORT_DEFAULT));
    EXPECT_EQ("C-english", Text(String::LoadString(module, 48, MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH))));
    SetThreadLocale(locale);
    FreeLibrary(module);
}

} // namespace
