// String: empty values, copy on write, the out-of-range dummy character, pieces, case,
// comparisons, buffers and UTF-16 conversion (single-byte code page 1252).
#include <gtest/gtest.h>

#include <string>

#include "ChannelLines.h"
#include "String.h"

namespace {

std::string Text(const String& s) { return std::string((const char*)s); }

TEST(String, EmptyValuesAreEqualToEmptyAndNull)
{
    const String values[] = {String(), String((const char*)nullptr), String(""), String((const wchar_t*)nullptr),
                             String(L""), String("abc", 0, 0, false), String((const char*)nullptr, 0, 5, true)};
    for (const String& s : values) {
        EXPECT_EQ(0u, s.GetLength());
        EXPECT_EQ("", Text(s));
        EXPECT_EQ(0, s.Compare(""));
        EXPECT_EQ(0, s.Compare(nullptr));
        EXPECT_EQ(0, s.CompareNoCase(""));
        EXPECT_EQ(0, s.CompareNoCase(nullptr));
        EXPECT_LT(s.Compare("a"), 0);
    }
}

TEST(String, CopyOnWriteIsolatesTheCopy)
{
    String original("hello");
    String copy(original);
    ASSERT_EQ((const char*)original, (const char*)copy) << "a copy shares the text";

    copy[0] = 'j';
    EXPECT_EQ("hello", Text(original));
    EXPECT_EQ("jello", Text(copy));
    EXPECT_NE((const char*)original, (const char*)copy);

    // Both blocks are single-owned again: writing clones nothing.
    const char* before = original;
    original[0] = 'c';
    EXPECT_EQ(before, (const char*)original);
    EXPECT_EQ("cello", Text(original));

    // A copy that ended gives the block back to one owner.
    {
        String temporary(original);
        EXPECT_EQ((const char*)original, (const char*)temporary);
    }
    original[1] = 'a';
    EXPECT_EQ(before, (const char*)original);
    EXPECT_EQ("callo", Text(original));
}

TEST(String, WritingOperationsLeaveSharedCopiesAlone)
{
    struct Case {
        const char* what;
        void (*change)(String&);
        const char* expected;
    };
    const Case cases[] = {
        {"assign", [](String& s) { s = "other"; }, "other"},
        {"append", [](String& s) { s += "!"; }, "shared!"},
        {"delete", [](String& s) { s.Delete(0, 3); }, "red"},
        {"upper", [](String& s) { s.MakeUpper(); }, "SHARED"},
        {"empty", [](String& s) { s.Empty(); }, ""},
        {"buffer", [](String& s) { s.GetBuffer(20)[0] = 'S'; s.ReleaseBuffer(); }, "Shared"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        String original("shared");
        String copy(original);
        c.change(copy);
        EXPECT_EQ(c.expected, Text(copy));
        EXPECT_EQ("shared", Text(original));
    }
}

TEST(String, IndexOutsideTheTextReachesTheDummyAndIsReported)
{
    supporttest::TakeDebugLines();
    {
        String s("abc");
        String none;
        char& atLength = s[3u];
        EXPECT_EQ(0, atLength);
        EXPECT_EQ(&atLength, &none[0u]) << "one dummy for every String";
        EXPECT_EQ(&atLength, &s[-1]);
        atLength = 'x';
        EXPECT_EQ("abc", Text(s));
    }
    // Both destructors ran; the first one reported the write and cleared the dummy.
    std::vector<std::string> lines = supporttest::TakeDebugLines();
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("WRN: detected write to String::operator[] with index out of bounds", lines[0]);

    String later("later");
    EXPECT_EQ(0, later[10u]) << "an out-of-range read after the report sees 0 again";
    { String another("x"); }
    EXPECT_TRUE(supporttest::TakeDebugLines().empty());
}

struct PieceCase {
    const char* what;
    String (*piece)(const String&);
    const char* expected;
};

TEST(String, Pieces)
{
    const PieceCase cases[] = {
        {"Left(2)", [](const String& s) { return s.Left(2); }, "ab"},
        {"Left(0)", [](const String& s) { return s.Left(0); }, ""},
        {"Left(-1)", [](const String& s) { return s.Left(-1); }, ""},
        {"Left(100)", [](const String& s) { return s.Left(100); }, "abcdef"},
        {"Left(2) chars", [](const String& s) { return s.Left(2, true); }, "ab"},
        {"Right(2)", [](const String& s) { return s.Right(2); }, "ef"},
        {"Right(6)", [](const String& s) { return s.Right(6); }, "abcdef"},
        {"Right(7) clamps to the length", [](const String& s) { return s.Right(7); }, "abcdef"},
        {"Right(100) clamps to the length", [](const String& s) { return s.Right(100); }, "abcdef"},
        {"Right(0)", [](const String& s) { return s.Right(0); }, ""},
        {"Right(2) chars", [](const String& s) { return s.Right(2, true); }, "ef"},
        {"Right(100) chars", [](const String& s) { return s.Right(100, true); }, "abcdef"},
        {"Upper", [](const String& s) { return s.Upper(); }, "ABCDEF"},
        {"part 2,3 bytes", [](const String& s) { return String(s, 2, 3, false); }, "cde"},
        {"part 6,1 bytes", [](const String& s) { return String(s, 6, 1, false); }, ""},
        {"part 7,1 bytes", [](const String& s) { return String(s, 7, 1, false); }, ""},
        {"part 4,10 chars", [](const String& s) { return String(s, 4, 10, true); }, "ef"},
        {"part 10,1 chars", [](const String& s) { return String(s, 10, 1, true); }, ""},
    };
    const String source("abcdef");
    for (const PieceCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, Text(c.piece(source)));
    }
    EXPECT_EQ("abcdef", Text(source));
    EXPECT_EQ("", Text(String().Left(3)));
    EXPECT_EQ("", Text(String().Right(3)));
}

TEST(String, Delete)
{
    struct Case {
        unsigned start, count;
        bool inChars;
        const char* expected;
    };
    const Case cases[] = {
        {2, 100, false, "ab"}, {0, 2, false, "cdef"}, {2, 2, false, "abef"}, {5, 1, false, "abcde"},
        {6, 1, false, "abcdef"}, {2, 0, false, "abcdef"}, {1, 2, true, "adef"}, {3, 100, true, "abc"},
        {0xFFFFFFFFu, 1, false, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "Delete(" << c.start << ", " << c.count << ", " << c.inChars << ")");
        String s("abcdef");
        s.Delete(c.start, c.count, c.inChars);
        EXPECT_EQ(c.expected, Text(s));
        EXPECT_EQ(strlen(c.expected), s.GetLength());
    }
}

TEST(String, AssignAndAppend)
{
    String s("abc");
    s += "def";
    s += String("ghi");
    s += "";
    s += (const char*)nullptr;
    s += String();
    EXPECT_EQ("abcdefghi", Text(s));
    EXPECT_EQ(9u, s.GetLength());
    EXPECT_EQ("abcdefghi-xyz", Text(s + "-" + String("xyz")));

    s = "";
    EXPECT_EQ(0u, s.GetLength());
    s = (const char*)nullptr;
    EXPECT_EQ("", Text(s));

    String a("one");
    a = a;
    EXPECT_EQ("one", Text(a));
}

TEST(String, AppendingItsOwnTextKeepsIt)
{
    // The appended text lies in the block that growing replaces.
    String s("0123456");
    s += s;
    EXPECT_EQ("01234560123456", Text(s));
    s += (const char*)s + 10;
    EXPECT_EQ("012345601234563456", Text(s));
    s = (const char*)s + 14;
    EXPECT_EQ("3456", Text(s));
}

TEST(String, CapacityIsTheLengthPlusEightRoundedDownToEight)
{
    // A block is replaced only when the new text does not fit; the old and new blocks exist at
    // the same time, so a replaced block always has another address.
    struct Case {
        size_t first, second;
        bool replaced;
    };
    const Case cases[] = {{1, 7, false}, {7, 8, true}, {8, 15, false}, {8, 16, true}, {15, 16, true}, {16, 23, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " then " << c.second << " bytes");
        String s(std::string(c.first, 'a').c_str());
        const char* before = s;
        s = std::string(c.second, 'b').c_str();
        EXPECT_EQ(c.replaced, before != (const char*)s);
        EXPECT_EQ(std::string(c.second, 'b'), Text(s));
    }
}

TEST(String, GetBufferAndReleaseBuffer)
{
    String s("abc");
    char* p = s.GetBuffer(10);
    EXPECT_EQ("abc", std::string(p)) << "the buffer holds the old text";
    strcpy(p, "abcdefghij");
    s.ReleaseBuffer(-1);
    EXPECT_EQ(10u, s.GetLength());
    EXPECT_EQ("abcdefghij", Text(s));

    s.GetBuffer(4);
    s.ReleaseBuffer(4);
    EXPECT_EQ("abcd", Text(s));

    String none;
    none.ReleaseBuffer(5);
    EXPECT_EQ(0u, none.GetLength());
}

TEST(String, Comparisons)
{
    struct Case {
        const char* left;
        const char* right;
        int compare, compareNoCase; // sign of the result
    };
    const Case cases[] = {
        {"abc", "abc", 0, 0},
        {"abc", "abd", -1, -1},
        {"abd", "abc", 1, 1},
        {"ABC", "abc", 1, 0},
        {"a", "B", -1, -1},
        {"abc", nullptr, 1, 1},
        {"abc", "", 1, 1},
        // The locale finds these equal; their bytes decide.
        {"a\xAD" "b", "ab", 1, 1},
        {"\xC4", "\xE4", 1, -1},
    };
    auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << " : " << (c.right ? c.right : "NULL"));
        String s(c.left);
        EXPECT_EQ(c.compare, sign(s.Compare(c.right)));
        EXPECT_EQ(c.compareNoCase, sign(s.CompareNoCase(c.right)));
    }
}

TEST(String, CaseOfCodePage1252)
{
    String s("abc\xE4\xF6\xFCxyz");
    s.MakeUpper();
    EXPECT_EQ("ABC\xC4\xD6\xDCXYZ", Text(s));
    s.MakeLower();
    EXPECT_EQ("abc\xE4\xF6\xFCxyz", Text(s));
    EXPECT_EQ("abc\xE4\xF6\xFCxyz", Text(s.Upper().Lower()));
    String empty;
    empty.MakeUpper();
    EXPECT_EQ("", Text(empty));
}

TEST(String, Utf16Conversion)
{
    EXPECT_EQ("Gr\xFC\xDF" "e", Text(String(L"Gr\u00FC\u00DFe")));
    EXPECT_EQ("Gr\xFC", Text(String(L"Gr\u00FC\u00DFe", 3)));
    EXPECT_EQ(5u, String(L"Gr\u00FC\u00DFe").GetLength());

    String s("Gr\xFC\xDF" "e");
    const wchar_t* wide = s.ToWide();
    EXPECT_EQ(std::wstring(L"Gr\u00FC\u00DFe"), std::wstring(wide));
    EXPECT_EQ(std::wstring(L""), std::wstring(String().ToWide()));
}

} // namespace
