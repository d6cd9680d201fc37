// The small exports: trimming, case by character set, stuff and substring, field and area
// references, user values, protected sections and db_matches_condition.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "CtlLog.h"
#include "ExprTestKit.h"
#include "Job.h"
#include "clsAreaList.h"

using namespace exprtest;

namespace {

class StringExports : public ExprTest {};

template <typename F>
std::string Applied(F f, const std::string& text)
{
    char buffer[64] = {};
    text.copy(buffer, sizeof buffer - 1);
    f(buffer);
    return buffer;
}

} // namespace

TEST(StringFunctions, Trimming)
{
    struct Case {
        const char* text;
        const char *left, *right, *both;
    };
    const Case cases[] = {
        {"  ab c  ", "ab c  ", "  ab c", "ab c"},
        {"abc", "abc", "abc", "abc"},
        {"    ", "", "", ""},
        {"", "", "", ""},
        {"\tx \t", "\tx \t", "\tx \t", "\tx \t"},   // only the blank is trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.left, Applied(db_ltrim, c.text)) << "'" << c.text << "'";
        EXPECT_EQ(c.right, Applied(db_rtrim, c.text)) << "'" << c.text << "'";
        EXPECT_EQ(c.right, Applied(db_trim, c.text)) << "'" << c.text << "'";
        EXPECT_EQ(c.both, Applied(db_atrim, c.text)) << "'" << c.text << "'";
    }
}

TEST(StringFunctions, StuffAndSubstring)
{
    struct Stuff {
        unsigned start, count;
        const char* repl;
        const char* result;
    };
    const Stuff stuffs[] = {
        {3, 2, "xyz", "ABxyzEF"}, {7, 0, "xyz", "ABCDEFxyz"}, {8, 0, "xyz", "ABCDEF"}, {0, 2, "xyz", "ABCDEF"},
        {1, 100, "x", "x"},       {2, 3, "", "AEF"},          {2, 3, nullptr, "AEF"}, {6, 5, "yz", "ABCDEyz"},
    };
    for (const Stuff& s : stuffs) {
        char buffer[32] = "ABCDEF";
        EXPECT_STREQ(s.result, db_stuff(buffer, s.start, s.count, s.repl)) << s.start << "," << s.count;
    }
    struct Substr {
        int start;
        unsigned count;
        const char* result;
    };
    const Substr substrs[] = {
        {2, 3, "BCD"}, {-2, 0, "EF"}, {0, 0, ""},   {7, 0, ""},  {6, 0, "F"},     {-6, 0, "ABCDEF"},
        {-7, 0, ""},   {1, 0, "ABCDEF"}, {2, 100, "BCDEF"}, {-3, 2, "DE"}, {INT_MIN, 0, ""},
    };
    for (const Substr& s : substrs) {
        char buffer[32] = "ABCDEF";
        EXPECT_STREQ(s.result, db_substr(buffer, s.start, s.count)) << s.start << "," << s.count;
    }
}

TEST_F(StringExports, CaseFollowsTheCharacterSetOfTheCurrentArea)
{
    struct Case {
        int charset;   // -1: no table in the current area
        const char* text;
        const char *upper, *lower;
    };
    const Case cases[] = {
        {0x00, "abC\x84", "ABC\x8E", "abc\x84"},
        {0x00, "\x81\x82\x84\x86\x91\x94\xA4\xE1", "\x9A\x90\x8E\x8F\x92\x99\xA5\xE1", "\x81\x82\x84\x86\x91\x94\xA4\xE1"},
        {0x00, "\x9A\x90\x8E\x8F\x92\x99\xA5", "\x9A\x90\x8E\x8F\x92\x99\xA5", "\x81\x82\x84\x86\x91\x94\xA4"},
        {0x10, "abC\x84\x8E", "ABC\x84\x8E", "abc\x84\x8E"},
        {0x20, "abC\xE4\xC4", "ABC\xC4\xC4", "abc\xE4\xE4"},
        {0x30, "abC", "abC", "abC"},
        {-1, "abC\x84", "ABC\x84", "abc\x84"},
    };
    for (const Case& c : cases) {
        if (c.charset < 0)
            db_select_area(3);
        else {
            db_select_area(1);
            g_Job->currentArea->charset = c.charset;
        }
        EXPECT_EQ(c.upper, Applied(db_upper, c.text)) << "charset " << c.charset;
        EXPECT_EQ(c.lower, Applied(db_lower, c.text)) << "charset " << c.charset;
    }
    db_select_area(1);
    g_Job->currentArea->charset = 0;
}

TEST_F(StringExports, ReferencesAreSignExtendedAndWorkAsDesignators)
{
    EXPECT_EQ((intptr_t)(int32_t)0xFFFFF003u, db_fieldref(3));
    EXPECT_EQ((intptr_t)DB_FIELDREF(3), db_fieldref(3));
    EXPECT_EQ((intptr_t)DB_FIELDREF(3), db_fieldref(0x7003)) << "only the low 12 bits count";
    EXPECT_EQ((intptr_t)-1, db_fieldref(0xFFF)) << "INDEXKEY";
    EXPECT_EQ((intptr_t)(int32_t)0xFFFFFF02u, db_arearef(2));
    EXPECT_EQ((intptr_t)DB_AREAREF(2), db_arearef(0x102));
    EXPECT_LT(db_arearef(2), 0);

    EXPECT_EQ("ABC       ", tabletest::Contents((const char*)db_fieldref(1)));
    EXPECT_EQ(2, db_select((const char*)db_arearef(2)));
    EXPECT_EQ("Berlin  ", tabletest::Contents((const char*)db_fieldref(1)));
}

TEST_F(StringExports, UserValuesBelongToTheirArea)
{
    int a = 0, b = 0;
    EXPECT_EQ(nullptr, db_get_userdata()) << "an opened area starts without a user value";
    EXPECT_TRUE(db_set_userdata(&a));
    db_select_area(2);
    EXPECT_TRUE(db_set_userdata(&b));
    EXPECT_EQ(&b, db_get_userdata());
    db_select_area(1);
    EXPECT_EQ(&a, db_get_userdata());
    db_select_area(3);
    EXPECT_FALSE(db_set_userdata(&a));
    EXPECT_EQ(nullptr, db_get_userdata());
}

namespace {

DWORD WINAPI SkipOnAnotherThread(void*)
{
    db_skip(0);
    return 0;
}

} // namespace

TEST_F(StringExports, AProtectedSectionHoldsTheGuardAcrossCalls)
{
    oxtest::CtlLog log;
    EXPECT_TRUE(db_protected_section_start());
    EXPECT_EQ(1, g_AreaList.Depth(0));
    db_skip(1);
    EXPECT_EQ(1, g_AreaList.Depth(0)) << "the thread's own calls nest inside its section";
    EXPECT_TRUE(log.Records("MessageBox").empty());

    HANDLE t = CreateThread(nullptr, 0, &SkipOnAnotherThread, nullptr, 0, nullptr);
    WaitForSingleObject(t, INFINITE);
    CloseHandle(t);
    const auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size()) << "another thread's guarded call on the area is warned about";
    EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "Wichtig", "Bitte QIV anrufen!!!", "0x30", "1"}), boxes[0]);
    EXPECT_EQ(1, g_AreaList.Depth(0));

    EXPECT_TRUE(db_protected_section_end());
    EXPECT_EQ(0, g_AreaList.Depth(0));
    EXPECT_TRUE(db_protected_section_end()) << "an end without a start only warns";
    EXPECT_EQ(0, g_AreaList.Depth(0));
    EXPECT_EQ(1u, log.Records("MessageBox").size());
}

TEST_F(StringExports, MatchesConditionTestsTheCurrentRecord)
{
    struct Case {
        long recno;
        const char* condition;
        BOOL result;
        unsigned error;
    };
    const Case cases[] = {
        {1, "AGE = 42", TRUE, 0},
        {1, "AGE = 41", FALSE, 0},
        {3, "AGE = 30 .AND. FLAG", TRUE, 0},
        {2, "BORN < ctod('01/01/1900')", TRUE, 0},
        {1, "OTHER.CITY = 'Berlin'", FALSE, 0},
        {1, "AGE", FALSE, 0},
        {1, "AGE =", FALSE, DBE_EXPRESSION},
        {1, "round(AGE) = 1", FALSE, DBE_FUNCTION},
        {DB_EOF, "trim(NAME) = ''", TRUE, 0},
    };
    for (const Case& c : cases) {
        db_goto(c.recno);
        EXPECT_EQ(c.result, db_matches_condition(c.condition)) << c.condition << " (record " << c.recno << ")";
        EXPECT_EQ(c.error, db_error()) << c.condition;
    }
}
