// Text helpers: hexadecimal images, CMfxString (formatting, tokens, replacing, path parts, ini
// values), first-dot replacement and the string-list sort.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CMfxString.h"
#include "MfxHex.h"
#include "MfxTestResource.h"
#include "MfxText.h"
#include "TestKit.h"

namespace {

std::string Bytes(const BYTE* p, int n) { return std::string((const char*)p, (size_t)n); }

// ---- hexadecimal images ------------------------------------------------------------------------

TEST(MfxHexEncode, WritesTwoUpperCaseDigitsPerByte)
{
    const BYTE bytes[] = {0x00, 0x1F, 0xA0, 0xFF, 0x7E};
    CString text = "alt";
    MfxHexEncode(bytes, 3, text);
    EXPECT_STREQ("001FA0", text);
    MfxHexEncode(bytes, 5, text);
    EXPECT_STREQ("001FA0FF7E", text);
    MfxHexEncode(bytes, 0, text);
    EXPECT_STREQ("", text);
}

struct DecodeCase {
    const char* text;
    int size;
    BOOL result;
    std::string bytes; // the whole buffer afterwards
};

const DecodeCase kDecodeCases[] = {
    {"001FA0", 5, TRUE, std::string("\x00\x1F\xA0\x00\x00", 5)},
    {"001fa0", 3, TRUE, std::string("\x00\x1F\xA0", 3)},          // lower case decodes alike
    {"aBcD", 2, TRUE, std::string("\xAB\xCD", 2)},                // mixed case
    {"ABC", 2, TRUE, std::string("\xAB\x00", 2)},                 // an odd last digit is not used
    {"0102030405", 2, TRUE, std::string("\x01\x02", 2)},          // digits beyond the buffer are cut
    {"", 2, TRUE, std::string("\x00\x00", 2)},
    {"01G2", 2, FALSE, std::string("\x00\x00", 2)},               // a non-digit is an error
    {"0x12", 2, FALSE, std::string("\x00\x00", 2)},
    {"12 4", 2, FALSE, std::string("\x00\x00", 2)},
    {"12Zz", 1, TRUE, std::string("\x12", 1)},                     // outside the used part: not read
    {"A\xC4", 1, FALSE, std::string("\x00", 1)},                   // 'Ä'
};

TEST(MfxHexDecode, CaseTable)
{
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(std::string("text \"") + c.text + "\" into " + std::to_string(c.size) + " bytes");
        BYTE buffer[8];
        memset(buffer, 0xEE, sizeof buffer);
        EXPECT_EQ(c.result, MfxHexDecode(buffer, c.size, c.text));
        EXPECT_EQ(c.bytes, Bytes(buffer, c.size));
        EXPECT_EQ(0xEE, buffer[c.size]) << "nothing written beyond the buffer";
    }
}

TEST(MfxHexDecode, RoundTripOfEveryByte)
{
    BYTE bytes[256];
    for (int i = 0; i < 256; ++i)
        bytes[i] = (BYTE)i;
    CString text;
    MfxHexEncode(bytes, 256, text);
    ASSERT_EQ(512, text.GetLength());
    BYTE back[256];
    ASSERT_TRUE(MfxHexDecode(back, 256, text));
    EXPECT_EQ(Bytes(bytes, 256), Bytes(back, 256));
    text.MakeLower();
    ASSERT_TRUE(MfxHexDecode(back, 256, text));
    EXPECT_EQ(Bytes(bytes, 256), Bytes(back, 256));
}

// ---- CMfxString ----------------------------------------------------------------------------

TEST(CMfxString, LoadsAStringResource)
{
    EXPECT_STREQ("Prüfung", CMfxString((UINT)IDS_TEST_CAPTION));
    EXPECT_STREQ("", CMfxString((UINT)999));
}

TEST(CMfxString, FormatGrowsBeyond1024Characters)
{
    std::string subject(5000, 'x');
    subject[4999] = 'E';
    CMfxString text;
    text.Format("Betreff: %s (%d)", subject.c_str(), 42);
    EXPECT_EQ("Betreff: " + subject + " (42)", std::string(text));

    text.FormatId(IDS_TEST_FORMAT, 108u, 2095u);
    EXPECT_STREQ("Modul 108, Zeile 2095", text);
}

TEST(CMfxString, GetTokenTable)
{
    struct Case {
        const char* text;
        int n;
        BOOL result;
        const char* token;
    } cases[] = {
        {"a;b;c", 1, TRUE, "a"},      {"a;b;c", 2, TRUE, "b"},   {"a;b;c", 3, TRUE, "c"},
        {"a;b;c", 4, FALSE, ""},      {"a;;c", 2, TRUE, ""},     {"Minute(n);1", 2, TRUE, "1"},
        {"abc", 1, TRUE, "abc"},      {"", 1, TRUE, ""},         {"", 2, FALSE, ""},
        {"a;b;", 2, TRUE, "b;"},      {"a;b;", 3, TRUE, "b;"}, // a rest ending in the separator
        {"a;b", 0, FALSE, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\" field " + std::to_string(c.n));
        CString token = "alt";
        EXPECT_EQ(c.result, CMfxString(c.text).GetToken(c.n, token, ';'));
        EXPECT_STREQ(c.token, token);
    }
}

TEST(CMfxString, ReplaceAllTable)
{
    struct Case {
        const char* text;
        const char* find;
        const char* replacement;
        int count;
        const char* result;
    } cases[] = {
        {"aaaa", "aa", "a", 2, "aa"},        {"a.b.c", ".", "::", 2, "a::b::c"},
        {"abc", "x", "y", 0, "abc"},         {"abab", "ab", "abab", 2, "abababab"}, // no rescan
        {"", "a", "b", 0, ""},               {"abc", "", "x", 0, "abc"},
        {"Grüße", "ü", "ue", 1, "Grueße"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.find + " / " + c.replacement);
        CMfxString text(c.text);
        EXPECT_EQ(c.count, text.ReplaceAll(c.find, c.replacement));
        EXPECT_STREQ(c.result, text);
    }
}

TEST(CMfxString, PathParts)
{
    struct Case {
        const char* path;
        const char* fileName;
        const char* directory;
        const char* extension;
        const char* title;
    } cases[] = {
        {"C:\\Daten\\OX\\OX4.DBE", "OX4.DBE", "C:\\Daten\\OX\\", ".DBE", "OX4"},
        {"C:\\Daten\\", "", "C:\\Daten\\", "", ""},
        {"OX4", "OX4", "", "", "OX4"},
        {"\\\\server\\freigabe\\a.b.c", "a.b.c", "\\\\server\\freigabe\\", ".c", "a.b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CMfxString path(c.path);
        EXPECT_STREQ(c.fileName, path.GetFileName());
        EXPECT_STREQ(c.directory, path.GetDirectory());
        EXPECT_STREQ(c.extension, path.GetExtension());
        EXPECT_STREQ(c.title, path.GetFileTitle());
    }
}

TEST(CMfxString, PathPartsOfLongPaths)
{
    // Longer than any fixed 256-character part buffer.
    std::string directory = "C:\\" + std::string(300, 'd') + "\\";
    std::string name(400, 'n');
    CMfxString path((directory + name + ".DBE").c_str());
    EXPECT_EQ(directory, std::string(path.GetDirectory()));
    EXPECT_EQ(name, std::string(path.GetFileTitle()));
    CMfxString copy = path.ChangeExtension("DBT");
    EXPECT_EQ(directory + name + ".DBT", std::string(path));
    EXPECT_STREQ(path, copy);
}

TEST(CMfxString, ChangeExtensionChangesTheStringAndAnswersACopy)
{
    struct Case {
        const char* path;
        const char* extension;
        const char* result;
    } cases[] = {
        {"C:\\Daten\\OX4.DBE", "DBA", "C:\\Daten\\OX4.DBA"},
        {"C:\\Daten\\OX4.DBE", ".nt0", "C:\\Daten\\OX4.nt0"},
        {"C:\\Daten\\OX4", "DBT", "C:\\Daten\\OX4.DBT"},
        {"OX4.DBE", "", "OX4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " -> " + c.extension);
        CMfxString path(c.path);
        CMfxString copy = path.ChangeExtension(c.extension);
        EXPECT_STREQ(c.result, path);
        EXPECT_STREQ(c.result, copy);
    }
}

TEST(CMfxString, ReadIniStringReadsLongValuesWhole)
{
    oxtest::TempDir dir("mfx");
    std::string file = dir.File("test.ini");
    std::string longValue(3000, 'w');
    WritePrivateProfileStringA("Allgemein", "Kurz", "Wert", file.c_str());
    WritePrivateProfileStringA("Allgemein", "Lang", longValue.c_str(), file.c_str());

    CMfxString value;
    EXPECT_EQ(4, value.ReadIniString("Allgemein", "Kurz", "###", file.c_str()));
    EXPECT_STREQ("Wert", value);
    EXPECT_EQ(3000, value.ReadIniString("Allgemein", "Lang", "###", file.c_str()));
    EXPECT_EQ(longValue, std::string(value));
    EXPECT_EQ(3, value.ReadIniString("Allgemein", "Fehlt", "###", file.c_str()));
    EXPECT_STREQ("###", value);
}

// ---- first dot, decimal character, sorting -----------------------------------------------------

TEST(MfxText, FirstDotReplacement)
{
    CString result;
    MfxReplaceFirstDot("1.234.5", result, ',');
    EXPECT_STREQ("1,234.5", result);
    MfxReplaceFirstByDot("1,25,0", result, ',');
    EXPECT_STREQ("1.25,0", result);
    MfxReplaceFirstDot("125", result, ',');
    EXPECT_STREQ("125", result);
    MfxDecimalToLocal("12.50", result);
    EXPECT_STREQ("12.50", result);
    MfxDecimalFromLocal("-0.5", result);
    EXPECT_STREQ("-0.5", result);
}

TEST(MfxSortStringList, SortsByteWise)
{
    struct Case {
        std::vector<const char*> in;
        std::vector<const char*> out;
    } cases[] = {
        {{"b", "B", "a"}, {"B", "a", "b"}},
        {{}, {}},
        {{"x"}, {"x"}},
        {{"d", "c", "b", "a"}, {"a", "b", "c", "d"}},
        {{"Ärger", "Zeit", "Abend"}, {"Abend", "Zeit", "Ärger"}}, // 0xC4 after the ASCII letters
        {{"a", "a", "A"}, {"A", "a", "a"}},
    };
    for (const Case& c : cases) {
        CStringList list;
        for (const char* s : c.in)
            list.AddTail(s);
        MfxSortStringList(list);
        std::vector<std::string> sorted;
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
            sorted.push_back((LPCTSTR)list.GetNext(pos));
        EXPECT_EQ(std::vector<std::string>(c.out.begin(), c.out.end()), sorted);
    }
}

} // namespace
