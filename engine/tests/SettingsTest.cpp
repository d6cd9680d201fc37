// Job and work-area settings: the switches, the date format, the sort order, the scrambler key,
// the stop flag, filter procedures and filter expressions, and navigation under a filter.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;

namespace {

class Settings : public ExprTest {
protected:
    // The record numbers visible from the top, forwards, and from the bottom, backwards.
    std::vector<long> Forward()
    {
        std::vector<long> seen;
        for (long r = db_goto(0); r != 0 && r != DB_EOF && !db_eof(); r = db_skip(1))
            seen.push_back(r);
        return seen;
    }
    std::vector<long> Backward()
    {
        std::vector<long> seen;
        // A move backwards from the first visible record stays on it and sets BOF.
        for (long r = db_goto(-1); r != 0 && r != DB_EOF && !db_bof() && seen.size() < 10; r = db_skip(-1))
            seen.push_back(r);
        return seen;
    }
};

} // namespace

TEST_F(Settings, JobSwitchesAreStoredAsGiven)
{
    EXPECT_NE(0, db_set_exclusive(0));
    EXPECT_EQ(0, g_Job->exclusive);
    EXPECT_NE(0, db_set_exclusive(5));
    EXPECT_EQ(5, g_Job->exclusive);
    EXPECT_NE(0, db_set_deleted(1));
    EXPECT_EQ(1, g_Job->deleted);
    EXPECT_TRUE(db_set_decimals(3));
    EXPECT_EQ(3, g_Job->decimals);
    EXPECT_TRUE(db_set_exact(0));
    EXPECT_EQ(0, g_Job->exact);

    const int formats[][2] = {{0, 0}, {3, 3}, {4, 4}, {7, 4}, {-1, 4}, {2, 2}};
    for (const auto& f : formats) {
        EXPECT_EQ(f[1], db_set_dateformat(f[0])) << f[0];
        EXPECT_EQ(f[1], g_Job->dateFormat) << f[0];
    }
}

TEST(SettingsWithoutJob, EverySetterFails)
{
    _db_process_attach(GetModuleHandleA(nullptr));
    while (g_Job)
        db_job_close();
    EXPECT_EQ(0, db_set_exclusive(1));
    EXPECT_EQ(0, db_set_deleted(1));
    EXPECT_EQ(0, db_set_dateformat(2));
    EXPECT_FALSE(db_set_decimals(2));
    EXPECT_FALSE(db_set_exact(0));
    EXPECT_FALSE(db_set_sortorder(1));
    EXPECT_FALSE(db_set_password(1, "abc"));
    EXPECT_FALSE(db_set_abort_flag(1));
    EXPECT_FALSE(db_set_filter_to("A"));
    EXPECT_FALSE(db_set_filter_to_index("A"));
    EXPECT_FALSE(db_set_filter_to_proc(nullptr));
    EXPECT_FALSE(db_set_userdata((void*)1));
    EXPECT_EQ(nullptr, db_get_userdata());
    EXPECT_FALSE(db_protected_section_start());
    EXPECT_FALSE(db_protected_section_end());
    EXPECT_FALSE(db_matches_condition("1 = 1"));
    EXPECT_EQ((unsigned)DBE_NO_JOB, db_error());
}

TEST_F(Settings, AreaSettingsNeedATable)
{
    db_select_area(3);
    EXPECT_FALSE(db_set_sortorder(1));
    EXPECT_FALSE(db_set_abort_flag(1));
    EXPECT_FALSE(db_set_filter_to("1 = 1"));
    EXPECT_FALSE(db_set_filter_to_index("1 = 1"));
    EXPECT_FALSE(db_set_filter_to_proc(nullptr));
    EXPECT_FALSE(db_set_password(1, "abc"));
    EXPECT_FALSE(db_matches_condition("1 = 1"));
}

TEST_F(Settings, SortOrderAndStopFlag)
{
    EXPECT_TRUE(db_set_sortorder(9));
    EXPECT_EQ(9, g_Job->currentArea->sortOrder) << "stored as given";
    EXPECT_TRUE(db_set_sortorder(2));
    EXPECT_EQ(2, g_Job->currentArea->sortOrder);
    EXPECT_TRUE(db_set_abort_flag(7));
    EXPECT_EQ(1, g_Job->currentArea->stopFlag);
    EXPECT_TRUE(db_set_abort_flag(0));
    EXPECT_EQ(0, g_Job->currentArea->stopFlag);
}

TEST_F(Settings, PasswordWithoutTheTableEncryptionChangesNothing)
{
    // An engine whose cipher hooks are missing must not mark an area enciphered.
    const s_EngineHooks saved = g_EngineHooks;
    g_EngineHooks.encryptBuffer = nullptr;
    g_EngineHooks.decryptBuffer = nullptr;
    struct Restore {
        const s_EngineHooks& hooks;
        ~Restore() { g_EngineHooks = hooks; }
    } restore{saved};
    s_Area* area = g_Job->currentArea;
    const std::string record = tabletest::Record();
    for (int mode : {1, 0}) {
        m_error = 0;
        EXPECT_FALSE(db_set_password(mode, "geheim")) << mode;
        EXPECT_EQ((unsigned)DBE_NOT_AVAILABLE, m_error) << mode;
        EXPECT_EQ(0, area->scramblerKey[0]) << mode << ": no key";
        EXPECT_EQ(0, area->scramblerModeWord) << mode;
        EXPECT_FALSE(area->IsEncrypted()) << mode;
    }
    EXPECT_EQ(record, tabletest::Record()) << "the records are read as they are stored";
}

TEST_F(Settings, PasswordKeyAndScramblerTables)
{
    StandInCipher cipher;
    s_Area* area = g_Job->currentArea;
    EXPECT_FALSE(db_set_password(0, "secret")) << "only mode 1 answers TRUE";
    EXPECT_EQ(0, std::memcmp(area->scramblerKey, "secretse\0\0", 11));
    EXPECT_EQ(0, area->scramblerModeWord);

    EXPECT_FALSE(db_set_password(0x101, "xy"));
    EXPECT_EQ(0, std::memcmp(area->scramblerKey, "xyxyxyxy\0\x01", 11));
    EXPECT_EQ(0x101, area->scramblerModeWord);

    EXPECT_TRUE(db_set_password(1, "ab"));
    EXPECT_EQ(0, std::memcmp(area->scramblerKey, "abababab\0\x01", 11));
    // Encode table: positions 0, 13, 26, ... take (('a' - i) XOR 7) AND 0x7F plus 0x20 for
    // i = 0, 1, 2, ...; position 1 is the eleventh (i = 10).
    EXPECT_EQ(0x86, area->scramblerEncode[0]);
    EXPECT_EQ(0x87, area->scramblerEncode[13]);
    EXPECT_EQ(0x70, area->scramblerEncode[1]);
    std::set<int> codes;
    for (int i = 0; i < 128; ++i) {
        const int code = area->scramblerEncode[i];
        codes.insert(code);
        ASSERT_GE(code, 0x20);
        ASSERT_LE(code, 0x9F);
        EXPECT_EQ(i + 0x20, area->scramblerDecode[code - 0x20]) << "the decode table inverts position " << i;
    }
    EXPECT_EQ(128u, codes.size()) << "the encode table is a permutation of 0x20..0x9F";

    EXPECT_FALSE(db_set_password(1, ""));
    EXPECT_EQ(0, area->scramblerKey[0]) << "an empty password switches the scrambler off";
    EXPECT_TRUE(db_set_password(1, "ab"));
    EXPECT_FALSE(db_set_password(1, nullptr));
    EXPECT_EQ(0, area->scramblerKey[0]);
}

TEST_F(Settings, FilterExpressionsMustBeLogical)
{
    struct Filter {
        const char* text;
        BOOL result;
        unsigned error;
        bool filter;   // a filter expression is set afterwards
    };
    const Filter filters[] = {
        {"NAME = 'X'", TRUE, 0, true},
        {"NAME", FALSE, DBE_NOT_LOGICAL, false},
        {"A", TRUE, 0, true},
        {"", TRUE, 0, false},
        {"NOT A", TRUE, 0, true},
        {nullptr, TRUE, 0, false},
        {"iif(A, .T., .F.)", TRUE, 0, true},
        {"(A)", TRUE, 0, true},
        {"'x' $ NAME", TRUE, 0, true},
        {".T.", TRUE, 0, true},
        {"AGE + 1", FALSE, DBE_NOT_LOGICAL, false},
        {"A + A", FALSE, DBE_NOT_LOGICAL, false},
        {"A", TRUE, 0, true},
        {"NAME =", FALSE, DBE_EXPRESSION, false},
    };
    for (const Filter& f : filters) {
        const char* shown = f.text ? f.text : "(NULL)";
        EXPECT_EQ(f.result, db_set_filter_to(f.text)) << shown;
        EXPECT_EQ(f.error, db_error()) << shown;
        EXPECT_EQ(f.filter, g_Job->currentArea->filterExpression != nullptr) << shown;
        EXPECT_EQ(0, g_Job->currentArea->indexFilter) << shown;
    }
}

TEST_F(Settings, IndexFiltersAndFiltersOfOtherAreas)
{
    s_Area* area = g_Job->currentArea;
    EXPECT_TRUE(db_set_filter_to_index("A"));
    EXPECT_EQ(1, area->indexFilter);
    EXPECT_TRUE(db_set_filter_to("B"));
    EXPECT_EQ(0, area->indexFilter) << "a new filter expression is not an index filter";
    EXPECT_TRUE(db_set_filter_to_index("A"));
    EXPECT_FALSE(db_set_filter_to_index("NAME"));
    EXPECT_EQ(nullptr, area->filterExpression);
    EXPECT_EQ(0, area->indexFilter);

    EXPECT_TRUE(db_set_filter_to("A"));
    db_select_area(2);
    EXPECT_EQ(nullptr, g_Job->currentArea->filterExpression);
    db_select_area(1);
    EXPECT_NE(nullptr, area->filterExpression) << "a filter stays when another area is selected";
}

TEST_F(Settings, NavigationShowsTheRecordsTheFilterAccepts)
{
    struct Case {
        const char* filter;
        int index;
        std::vector<long> forward;
    };
    const Case cases[] = {
        {"A", 0, {1, 3}},
        {"A", 1, {1, 3}},
        {"AGE < 40", 0, {2, 3}},
        {"NAME = 'Meier'", 0, {}},   // exact: the padded field never equals the shorter text
        {"trim(NAME) = 'Meier'", 0, {3}},
        {"BORN < ctod('01/01/2000') .AND. AGE > 1", 0, {2, 3}},
        {"OTHER.CITY = 'Berlin  '", 0, {1, 2, 3}},
        {".F.", 0, {}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.index ? db_set_filter_to_index(c.filter) : db_set_filter_to(c.filter)) << c.filter;
        EXPECT_EQ(c.forward, Forward()) << c.filter;
        EXPECT_EQ(std::vector<long>(c.forward.rbegin(), c.forward.rend()), Backward()) << c.filter;
        EXPECT_EQ(1, db_select(nullptr)) << c.filter;
    }
    EXPECT_TRUE(db_set_filter_to(""));
    EXPECT_EQ((std::vector<long>{1, 2, 3}), Forward());

    // With exact off a text equals every text it begins.
    db_set_exact(0);
    ASSERT_TRUE(db_set_filter_to("NAME = 'Meier'"));
    EXPECT_EQ((std::vector<long>{3}), Forward());
}

TEST_F(Settings, AFailingFilterEndsTheMoveWithItsError)
{
    ASSERT_TRUE(db_set_filter_to("ctod(NAME) > BORN"));
    EXPECT_EQ(0, db_goto(0));
    EXPECT_EQ((unsigned)DBE_BAD_DATE, db_error());
    // An error raised before a later field read of the same evaluation stays the current error.
    ASSERT_TRUE(db_set_filter_to("ctod(NAME) > BORN .OR. A"));
    EXPECT_EQ(0, db_goto(0));
    EXPECT_EQ((unsigned)DBE_BAD_DATE, db_error());
}

namespace {

int s_procCalls = 0;
int DB_CALL HideFirstTwoAndStopAtTheSecond()
{
    ++s_procCalls;
    const unsigned recno = db_recno();
    if (recno == 2)
        db_set_abort_flag(1);
    return recno > 2;
}
int DB_CALL HideTheSecond() { return db_recno() != 2; }

} // namespace

TEST_F(Settings, FilterProceduresAndTheStopFlag)
{
    EXPECT_TRUE(db_set_filter_to_proc(&HideTheSecond));
    EXPECT_EQ((std::vector<long>{1, 3}), Forward());
    EXPECT_TRUE(db_set_filter_to("AGE > 35"));
    EXPECT_EQ((std::vector<long>{1}), Forward()) << "procedure and expression both apply";
    EXPECT_TRUE(db_set_filter_to(nullptr));

    // The stop flag set from within the filter procedure ends the move on the record reached.
    s_procCalls = 0;
    EXPECT_TRUE(db_set_filter_to_proc(&HideFirstTwoAndStopAtTheSecond));
    EXPECT_EQ(2, db_goto(0));
    EXPECT_EQ(2, s_procCalls);
    EXPECT_TRUE(db_set_filter_to_proc(nullptr));
    EXPECT_EQ((std::vector<long>{1, 2, 3}), Forward());
}
