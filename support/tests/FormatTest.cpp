// The formatter of String (its first-pass bound and the pointer checks), the bounded formatter
// VFormat underneath, and system error texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "PrintfFormat.h"
#include "String.h"

namespace {

std::string Text(const String& s) { return std::string((const char*)s); }

// A page that cannot be read, and a page that can only be read.
class Pages {
public:
    Pages()
    {
        m_noAccess = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_NOACCESS);
        m_readOnly = VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READONLY);
    }
    ~Pages()
    {
        VirtualFree(m_noAccess, 0, MEM_RELEASE);
        VirtualFree(m_readOnly, 0, MEM_RELEASE);
    }
    void* m_noAccess;
    void* m_readOnly;
};

struct FormatCase {
    const char* what;
    std::function<String()> format;
    std::string expected;
};

TEST(StringFormat, Conversions)
{
    const std::string long300(300, 'x');
    const std::wstring wide300(300, L'w');
    const FormatCase cases[] = {
        {"plain", [] { return String::Printf("abc %% def"); }, "abc % def"},
        {"%5.2f", [] { return String::Printf("[%5.2f]", 3.14159); }, "[ 3.14]"},
        {"300-character %s", [&] { return String::Printf("<%s>", long300.c_str()); }, "<" + long300 + ">"},
        {"%I64d", [] { return String::Printf("%I64d", (long long)-9000000000LL); }, "-9000000000"},
        {"%I64u", [] { return String::Printf("%I64u", 18446744073709551615ULL); }, "18446744073709551615"},
        {"%lld", [] { return String::Printf("%lld", 1LL << 40); }, "1099511627776"},
        {"%Lx", [] { return String::Printf("%Lx", 0x123456789ABCLL); }, "123456789abc"},
        {"%d after a 64-bit argument", [] { return String::Printf("%I64d/%d", 5LL, 7); }, "5/7"},
        {"%ld is 32 bits", [] { return String::Printf("%ld/%d", -1L, 2); }, "-1/2"},
        {"%hs", [] { return String::Printf("%hs", "narrow"); }, "narrow"},
        {"%ws", [] { return String::Printf("%ws", L"wide\u00E4"); }, "wide\xE4"},
        {"%S", [] { return String::Printf("%S", L"wide"); }, "wide"},
        {"%ls", [] { return String::Printf("%ls", L"wide"); }, "wide"},
        {"300-unit %S", [&] { return String::Printf("%S", wide300.c_str()); }, std::string(300, 'w')},
        {"%c and %lc", [] { return String::Printf("%c%lc", 'a', (int)L'\u00FC'); }, "a\xFC"},
        {"%p", [] { return String::Printf("%p", (void*)0x1234); }, "0000000000001234"},
        {"%#p", [] { return String::Printf("%#p", (void*)0x1234); }, "0x0000000000001234"},
        {"%p of a 64-bit address", [] { return String::Printf("%p", (void*)0x123456789ABCull); }, "0000123456789ABC"},
        {"%#x", [] { return String::Printf("%#x", 255); }, "0xff"},
        {"%*d", [] { return String::Printf("[%*d]", 5, 42); }, "[   42]"},
        {"%*d negative width", [] { return String::Printf("[%*d]", -4, 7); }, "[7   ]"},
        {"%-*d", [] { return String::Printf("[%-*d]", 4, 7); }, "[7   ]"},
        {"%.*s", [] { return String::Printf("[%.*s]", 2, "abcdef"); }, "[ab]"},
        {"%*.*f", [] { return String::Printf("[%*.*f]", 8, 3, 2.5); }, "[   2.500]"},
        {"%10.2s wider than its precision", [] { return String::Printf("[%10.2s]", "abcdef"); }, "[        ab]"},
        {"%.50d", [] { return String::Printf("%.50d", 1); }, std::string(49, '0') + "1"},
        {"%40d", [] { return String::Printf("%40d", 1); }, std::string(39, ' ') + "1"},
        {"%5.1c", [] { return String::Printf("[%5.1c]", 'x'); }, "[    x]"},
        {"unknown conversion stays", [] { return String::Printf("a%yb"); }, "a%yb"},
        {"format ends in %", [] { return String::Printf("50%"); }, "50%"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, Text(c.format()));
    }
}

TEST(StringFormat, FixedPointOfAHugeValueIsComplete)
{
    // 1e300 has 301 integer digits; with the six decimals 308 characters.
    std::string s = Text(String::Printf("%f", 1e300));
    EXPECT_EQ(308u, s.size());
    EXPECT_EQ("1000000000", s.substr(0, 10));
    EXPECT_EQ(".000000", s.substr(s.size() - 7));
}

TEST(StringFormat, ResultCountsTheCharacters)
{
    String s;
    EXPECT_EQ(7, s.Format("%s-%d", "abc", 123));
    EXPECT_EQ("abc-123", Text(s));
    int written = -1;
    EXPECT_EQ(6, s.Format("abc%ndef", &written));
    EXPECT_EQ(3, written);
    EXPECT_EQ(0, s.Format(""));
    EXPECT_EQ(0u, s.GetLength());
}

TEST(StringFormat, BadPointersGiveTheErrorText)
{
    Pages pages;
    ASSERT_NE(nullptr, pages.m_noAccess);
    ASSERT_NE(nullptr, pages.m_readOnly);
    const struct {
        const char* what;
        std::function<int(String&)> format;
    } cases[] = {
        {"%s unreadable", [&](String& s) { return s.Format("a%sb", (const char*)pages.m_noAccess); }},
        {"%s NULL", [&](String& s) { return s.Format("%s", (const char*)nullptr); }},
        {"%ls unreadable", [&](String& s) { return s.Format("%ls", (const wchar_t*)pages.m_noAccess); }},
        {"%S unreadable", [&](String& s) { return s.Format("%S", (const wchar_t*)pages.m_noAccess); }},
        {"%n unreadable", [&](String& s) { return s.Format("a%n", (int*)pages.m_noAccess); }},
        {"%n read-only", [&](String& s) { return s.Format("a%n", (int*)pages.m_readOnly); }},
        {"%s after other arguments", [&](String& s) {
             return s.Format("%d %I64d %f %s", 1, 2LL, 3.0, (const char*)pages.m_noAccess);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        String s("before");
        EXPECT_EQ(0, c.format(s));
        EXPECT_EQ("<printf format error>", Text(s));
    }
}

TEST(VFormat, OutputIsCutAtTheSizeAndTerminated)
{
    struct Case {
        size_t size;
        const char* expected;
    };
    const Case cases[] = {{1, ""}, {2, "a"}, {3, "ab"}, {4, "abc"}, {5, "abc"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "size " << c.size);
        char buffer[8];
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(3, Format(buffer, c.size, "%s", "abc"));
        EXPECT_EQ(c.expected, std::string(buffer));
        EXPECT_EQ('#', buffer[c.size]) << "nothing written behind the size";
    }
    char untouched = '#';
    EXPECT_EQ(3, Format(&untouched, 0, "abc"));
    EXPECT_EQ('#', untouched) << "size 0 writes nothing";
}

TEST(SystemErrorText, KnownCodeEndsWithTheCodeInHex)
{
    String text = String::SystemErrorText(ERROR_FILE_NOT_FOUND, 0);
    std::string s = Text(text);
    const std::string tail = " (00000002)";
    ASSERT_GT(s.size(), tail.size());
    EXPECT_EQ(tail, s.substr(s.size() - tail.size()));
    EXPECT_EQ(std::string::npos, s.find_first_of("\r\n")) << s;
    EXPECT_NE('(', s[0]) << s;
}

TEST(SystemErrorText, TextWithInsertsIsKept)
{
    // The system's text for this code has an insert ("%1"); it has no arguments here.
    std::string s = Text(String::SystemErrorText(ERROR_BAD_EXE_FORMAT, 0));
    EXPECT_NE(std::string::npos, s.find("%1")) << s;
    EXPECT_EQ(" (000000c1)", s.substr(s.size() - 11)) << s;
}

TEST(SystemErrorText, UnknownCodeGivesTheCode)
{
    EXPECT_EQ("(error code 0x1234abcd)", Text(String::SystemErrorText(0x1234ABCD, 0)));
    EXPECT_EQ("(error code 0x00abcd)", Text(String::SystemErrorText(0xABCD, 0)));
}

} // namespace
