// CString: sharing and copy-on-write, buffer access, searching, editing, comparison, formatting
// and conversions.
#include <afxwin.h>
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <thread>
#include <vector>

#include "AfxTestResource.h"

namespace {

// Gives the tests the reference count of a string's buffer.
class CStringProbe : public CString {
public:
    using CString::CString;
    long Refs() const { return GetData()->nRefs; }
};

} // namespace

TEST(StringSharing, CopiesShareUntilOneIsChanged)
{
    CString original("Termin");
    CString copy(original);
    EXPECT_EQ((LPCTSTR)original, (LPCTSTR)copy);

    const struct {
        const char* name;
        std::function<void(CString&)> change;
        const char* result;
    } changes[] = {
        {"SetAt", [](CString& s) { s.SetAt(0, 't'); }, "termin"},
        {"MakeUpper", [](CString& s) { s.MakeUpper(); }, "TERMIN"},
        {"operator+=", [](CString& s) { s += "e"; }, "Termine"},
        {"GetBuffer", [](CString& s) { s.GetBuffer(0)[1] = 'E'; s.ReleaseBuffer(); }, "TErmin"},
        {"Replace", [](CString& s) { s.Replace('i', 'I'); }, "TermIn"},
        {"Delete", [](CString& s) { s.Delete(0, 2); }, "rmin"},
        {"TrimRight", [](CString& s) { s.TrimRight('n'); }, "Termi"},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.name);
        CString s(original);
        c.change(s);
        EXPECT_STREQ(c.result, s);
        EXPECT_STREQ("Termin", original);
    }
}

TEST(StringSharing, LockedBufferIsNeverShared)
{
    CString s("gesperrt");
    LPTSTR p = s.LockBuffer();
    CString copy(s);
    EXPECT_NE((LPCTSTR)copy, (LPCTSTR)s);
    CString assigned;
    assigned = s;
    EXPECT_NE((LPCTSTR)assigned, (LPCTSTR)s);
    p[0] = 'G';
    EXPECT_STREQ("gesperrt", copy);
    s.UnlockBuffer();
    CString shared(s);
    EXPECT_EQ((LPCTSTR)shared, (LPCTSTR)s);
}

TEST(StringSharing, CountsStayRightWhenThreadsCopyOneString)
{
    CStringProbe shared("von allen Threads geteilt");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&shared] {
            for (int i = 0; i < 50000; ++i) {
                CString copy(shared);
                CString other;
                other = copy;
            }
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(1, shared.Refs());
    EXPECT_STREQ("von allen Threads geteilt", shared);
}

TEST(StringBuffer, GetBufferAndReleaseBuffer)
{
    CString s;
    LPTSTR p = s.GetBuffer(10);
    strcpy(p, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(3, s.GetLength());
    EXPECT_STREQ("abc", s);

    s.GetBuffer(0);
    s.ReleaseBuffer(2);
    EXPECT_STREQ("ab", s);

    p = s.GetBufferSetLength(4);
    p[2] = 'c';
    p[3] = 'd';
    EXPECT_EQ(4, s.GetLength());
    EXPECT_STREQ("abcd", s);

    // A length beyond the buffer is cut to the buffer.
    s.GetBuffer(5);
    s.ReleaseBuffer(1000);
    EXPECT_GE(s.GetAllocLength(), s.GetLength());

    CString empty;
    empty.GetBuffer(0);
    empty.ReleaseBuffer();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(StringSearch, FindFamily)
{
    const CString s("Hallo Welt, hallo Mond");
    const struct {
        const char* name;
        int result;
        int expected;
    } cases[] = {
        {"Find('l')", s.Find('l'), 2},
        {"Find('l', 4)", s.Find('l', 4), 8},
        {"Find('l', 50)", s.Find('l', 50), -1},
        {"Find('l', -1)", s.Find('l', -1), -1},
        {"Find('x')", s.Find('x'), -1},
        {"Find(\"hallo\")", s.Find("hallo"), 12},
        {"Find(\"o\", 5)", s.Find("o", 5), 16},
        {"Find(\"\", 3)", s.Find("", 3), 3},
        {"Find(\"xyz\")", s.Find("xyz"), -1},
        {"ReverseFind('o')", s.ReverseFind('o'), 19},
        {"ReverseFind('x')", s.ReverseFind('x'), -1},
        {"FindOneOf(\"Wd\")", s.FindOneOf("Wd"), 6},
        {"FindOneOf(\"xy\")", s.FindOneOf("xy"), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.result);
    }
}

TEST(StringSearch, ExtractionIsClampedToTheString)
{
    const CString s("Hallo Welt, hallo Mond");
    const struct {
        const char* name;
        CString result;
        const char* expected;
    } cases[] = {
        {"Mid(-1, 3)", s.Mid(-1, 3), "Hal"},
        {"Mid(20)", s.Mid(20), "nd"},
        {"Mid(30)", s.Mid(30), ""},
        {"Mid(6, INT_MAX)", s.Mid(6, INT_MAX), "Welt, hallo Mond"},
        {"Mid(6, -2)", s.Mid(6, -2), ""},
        {"Left(5)", s.Left(5), "Hallo"},
        {"Left(-1)", s.Left(-1), ""},
        {"Left(100)", s.Left(100), "Hallo Welt, hallo Mond"},
        {"Right(4)", s.Right(4), "Mond"},
        {"Right(-2)", s.Right(-2), ""},
        {"SpanIncluding(\"Hal\")", s.SpanIncluding("Hal"), "Hall"},
        {"SpanExcluding(\",\")", s.SpanExcluding(","), "Hallo Welt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.expected, c.result);
    }
}

TEST(StringEdit, ChangesInPlace)
{
    const struct {
        const char* name;
        const char* input;
        std::function<int(CString&)> edit;
        const char* result;
        int returned;
    } cases[] = {
        {"TrimLeft()", " \t x y ", [](CString& s) { s.TrimLeft(); return 0; }, "x y ", 0},
        {"TrimRight()", " x y \r\n", [](CString& s) { s.TrimRight(); return 0; }, " x y", 0},
        {"TrimLeft(char)", "xxaxx", [](CString& s) { s.TrimLeft('x'); return 0; }, "axx", 0},
        {"TrimRight(set)", "a.,;.", [](CString& s) { s.TrimRight(".,;"); return 0; }, "a", 0},
        {"TrimRight() all space", "   ", [](CString& s) { s.TrimRight(); return 0; }, "", 0},
        {"Replace(char)", "a-b-c", [](CString& s) { return s.Replace('-', '+'); }, "a+b+c", 2},
        {"Replace(text)", "aXXbXXc", [](CString& s) { return s.Replace("XX", "-"); }, "a-b-c", 2},
        {"Replace(text, longer)", "aXbX", [](CString& s) { return s.Replace("X", "YYY"); }, "aYYYbYYY", 2},
        {"Replace(text, none)", "abc", [](CString& s) { return s.Replace("X", "Y"); }, "abc", 0},
        {"Replace(text, empty)", "abab", [](CString& s) { return s.Replace("b", ""); }, "aa", 2},
        {"Remove", "a b c", [](CString& s) { return s.Remove(' '); }, "abc", 2},
        {"Insert(char)", "ac", [](CString& s) { return s.Insert(1, 'b'); }, "abc", 3},
        {"Insert(text) before start", "c", [](CString& s) { return s.Insert(-5, "ab"); }, "abc", 3},
        {"Insert(text) after end", "a", [](CString& s) { return s.Insert(100, "bc"); }, "abc", 3},
        {"Delete", "abcdef", [](CString& s) { return s.Delete(1, 2); }, "adef", 4},
        {"Delete beyond the end", "abcdef", [](CString& s) { return s.Delete(4, 10); }, "abcd", 4},
        {"Delete after the end", "abc", [](CString& s) { return s.Delete(5, 1); }, "abc", 3},
        {"MakeReverse", "abc", [](CString& s) { s.MakeReverse(); return 0; }, "cba", 0},
        {"MakeUpper", "grüße äöü", [](CString& s) { s.MakeUpper(); return 0; }, "GRÜßE ÄÖÜ", 0},
        {"MakeLower", "ÄÖÜ ABC", [](CString& s) { s.MakeLower(); return 0; }, "äöü abc", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CString s(c.input);
        EXPECT_EQ(c.returned, c.edit(s));
        EXPECT_STREQ(c.result, s);
        EXPECT_EQ((int)strlen(c.result), s.GetLength());
    }
}

TEST(StringCompare, ComparisonsAndOperators)
{
    CString a("Müller"), b("MÜLLER");
    EXPECT_GT(a.Compare(b), 0);
    EXPECT_EQ(0, a.CompareNoCase(b));
    EXPECT_EQ(0, a.CollateNoCase(b));
    // Byte order puts 'ä' (0xE4) after 'b'; the German sort order puts it before.
    CString apfel("äpfel");
    EXPECT_GT(apfel.Compare("birne"), 0);
    EXPECT_LT(apfel.Collate("birne"), 0);

    EXPECT_TRUE(CString("abc") == "abc");
    EXPECT_TRUE("abc" == CString("abc"));
    EXPECT_TRUE(CString("abc") != CString("abd"));
    EXPECT_TRUE(CString("abc") < "abd");
    EXPECT_TRUE(CString("b") > CString("a"));
    EXPECT_TRUE("a" <= CString("a"));
    EXPECT_TRUE(CString("a") >= "a");

    CString joined = CString("a") + 'b' + "c" + CString("d");
    EXPECT_STREQ("abcd", joined);
    EXPECT_STREQ("xabcd", 'x' + joined);
    EXPECT_STREQ("-abcd", "-" + joined);
}

TEST(StringFormat, FormatFollowsTheRunTimePrintfRules)
{
    CString s;
    s.Format("%s hat %d Einträge", "Liste", 3);
    EXPECT_STREQ("Liste hat 3 Einträge", s);

    s.Format("%I64d|%5.2f|%-4s|%04X", (__int64)12345678901LL, 3.14159, "ab", 255);
    EXPECT_STREQ("12345678901| 3.14|ab  |00FF", s);

    s.Format("%300s", "x");
    EXPECT_EQ(300, s.GetLength());

    // The string itself may be an argument.
    s = "abc";
    s.Format("%s-%s", (LPCTSTR)s, (LPCTSTR)s);
    EXPECT_STREQ("abc-abc", s);

    s.Format(IDS_TEST_ENTRY_COUNT, "Liste", 7);
    EXPECT_STREQ("Liste hat 7 Einträge", s);
}

TEST(StringResource, LoadsFromTheResourceModule)
{
    CString s("unverändert");
    EXPECT_TRUE(s.LoadString(IDS_TEST_GREETING));
    EXPECT_STREQ("Grüße aus der Ressource", s);

    EXPECT_TRUE(s.LoadString(IDS_TEST_LONG_TEXT));
    EXPECT_EQ(13 + 300, s.GetLength());
    EXPECT_STREQ("9", s.Right(1));

    CString missing("unverändert");
    EXPECT_FALSE(missing.LoadString(4711));
    EXPECT_STREQ("unverändert", missing);

    CString fromId((LPCSTR)MAKEINTRESOURCE(IDS_TEST_GREETING));
    EXPECT_STREQ("Grüße aus der Ressource", fromId);
}

TEST(StringConvert, WideAnsiAndOem)
{
    CString fromWide(L"Grüße");
    EXPECT_STREQ("Grüße", fromWide);

    BSTR bstr = fromWide.AllocSysString();
    EXPECT_EQ(5u, SysStringLen(bstr));
    EXPECT_EQ(0, wcscmp(L"Grüße", bstr));
    CString("Öl").SetSysString(&bstr);
    EXPECT_EQ(0, wcscmp(L"Öl", bstr));
    SysFreeString(bstr);

    // Code page 850: Ä is 0x8E.
    CString oem("Ä");
    oem.AnsiToOem();
    EXPECT_EQ('\x8E', oem[0]);
    oem.OemToAnsi();
    EXPECT_STREQ("Ä", oem);

    CString repeated('-', 3);
    EXPECT_STREQ("---", repeated);
    CString counted("abcdef", 3);
    EXPECT_STREQ("abc", counted);
}
