// Locate: db_locate and db_continue as a table of searches (order, deleted setting, filter), the
// conditions they refuse, and the cases that end the search early: an empty table, a damaged
// table, a condition that cannot be evaluated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "IndexTestKit.h"
#include "Job.h"
#include "vlDB07.h"

using namespace idxtest;

namespace {

//  rec  NAME       AMOUNT   BORN
//    1  SMITH        5.00   20240517  deleted
//    2  JONES       -1.50   (empty)
//    3  SMITHERS    12.25   19991231
//    4  SMI          5.00   (empty)
//    5  SMITH        0.00   20240517
//    6  ADAMS      100.00   20000101
//    7  SMITH        7.50   (empty)
//    8  MEIER        5.00   20100101
//    9  ZORRO        3.00   20240518  deleted
// NAME order: ADAMS 6, JONES 2, MEIER 8, SMI 4, SMITH 1, 5, 7, SMITHERS 3, ZORRO 9.
const std::vector<Row>& kRows = kSeekRows;

struct Search {
    const char* what;
    bool nameOrder;
    int deleted;
    const char* filter;     // NULL: none
    const char* condition;
    std::vector<long> found; // the records db_locate and then db_continue stand on, in turn
};

const Search kSearches[] = {
    {"natural order", false, 0, nullptr, "AMOUNT = 5", {1, 4, 8}},
    {"the deleted setting hides a match", false, 1, nullptr, "AMOUNT = 5", {4, 8}},
    {"index order", true, 0, nullptr, "AMOUNT = 5", {8, 4, 1}},
    {"index order and the deleted setting", true, 1, nullptr, "AMOUNT = 5", {8, 4}},
    {"a filter hides a match", false, 0, "NAME <> 'MEIER'", "AMOUNT = 5", {1, 4}},
    {"no record matches", false, 0, nullptr, "NAME = 'NOBODY'", {}},
    {"a condition in parentheses", false, 0, nullptr, "(AMOUNT > 50)", {6}},
    {"a contains operation", true, 0, nullptr, "'SMITH' $ NAME", {1, 5, 7, 3}},
    {"a logical constant", false, 1, nullptr, ".T.", {2, 3, 4, 5, 6, 7, 8}},
    {"a logical operator and a function", false, 0, nullptr, "UPPER(NAME) = 'SMITH' .AND. AMOUNT < 6", {1, 5}},
    {"a prefix", true, 0, nullptr, "NAME = 'SMITH'", {1, 5, 7, 3}},
    {"the last record matches", false, 0, nullptr, "NAME = 'ZORRO'", {9}},
    {"the first record is the only match", true, 0, nullptr, "NAME = 'ADAMS'", {6}},
};

class Locate : public IndexFixture {
protected:
    void OpenWithIndex()
    {
        ASSERT_TRUE(Open(kRows));
        ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_set_order(0));
        // Texts compare as prefixes, as the program sets it: NAME = 'SMITH' holds for SMITHERS.
        db_set_exact(0);
        ASSERT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
};

} // namespace

TEST_F(Locate, FindsEveryMatchInTheCurrentOrder)
{
    OpenWithIndex();
    for (const Search& s : kSearches) {
        ASSERT_TRUE(db_set_order(s.nameOrder ? 1 : 0)) << s.what;
        db_set_deleted(s.deleted);
        ASSERT_TRUE(db_set_filter_to(s.filter)) << s.what;
        ASSERT_EQ(1, db_goto(1));
        std::vector<long> found;
        for (BOOL ran = db_locate(s.condition); ran && db_found() && found.size() < 20; ran = db_continue())
            found.push_back((long)db_recno());
        EXPECT_EQ(s.found, found) << s.what;
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << s.what;
        // The search ran to the end of file without a match.
        EXPECT_FALSE(db_found()) << s.what;
        EXPECT_TRUE(db_eof()) << s.what;
        EXPECT_EQ((unsigned)DB_EOF, db_recno()) << s.what;
        // At the end of file the search stays there.
        EXPECT_TRUE(db_continue()) << s.what;
        EXPECT_FALSE(db_found()) << s.what;
        EXPECT_TRUE(db_eof()) << s.what;
    }
    db_set_deleted(0);
}

TEST_F(Locate, TheRecordFoundIsInTheBuffer)
{
    OpenWithIndex();
    ASSERT_TRUE(db_locate("AMOUNT > 10"));
    EXPECT_EQ(std::string("SMITHERS  "), tabletest::Contents("NAME"));
    EXPECT_FALSE(db_bof());
    EXPECT_FALSE(db_eof());
    // The next skip goes on from the record found.
    EXPECT_EQ(4, db_skip(1));
}

TEST_F(Locate, RefusesConditionsThatAreNotLogical)
{
    OpenWithIndex();
    const struct {
        const char* condition;
        unsigned error;
    } cases[] = {
        {"AMOUNT", DBE_NOT_LOGICAL},  {"NAME", DBE_NOT_LOGICAL},    {"BORN", DBE_NOT_LOGICAL},
        {"AMOUNT + 1", DBE_NOT_LOGICAL}, {"'SMITH'", DBE_NOT_LOGICAL}, {"AMOUNT =", DBE_EXPRESSION},
        {"NOSUCH = 1", DBE_EXPRESSION}, {"", DBE_EXPRESSION},
    };
    for (const auto& c : cases) {
        // A good condition first: the refused one replaces it, so db_continue has none.
        ASSERT_TRUE(db_locate("AMOUNT = 5"));
        ASSERT_TRUE(db_found());
        EXPECT_FALSE(db_locate(c.condition)) << c.condition;
        EXPECT_EQ(std::vector<unsigned>{c.error}, TakeErrors()) << c.condition;
        EXPECT_FALSE(db_continue()) << c.condition;
        EXPECT_EQ(std::vector<unsigned>{DBE_NO_LOCATE}, TakeErrors()) << c.condition;
    }
}

TEST_F(Locate, ContinueNeedsALocateInTheSameArea)
{
    OpenWithIndex();
    EXPECT_FALSE(db_continue());
    EXPECT_EQ(std::vector<unsigned>{DBE_NO_LOCATE}, TakeErrors());
    ASSERT_TRUE(db_locate("AMOUNT = 5"));
    // Another area has no condition; the first keeps its own.
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(Use("other.dbf", TableImage(kRows)));
    EXPECT_FALSE(db_continue());
    EXPECT_EQ(std::vector<unsigned>{DBE_NO_LOCATE}, TakeErrors());
    ASSERT_EQ(1, db_select_area(1));
    EXPECT_TRUE(db_continue());
    EXPECT_EQ(4u, db_recno());
    // Closing the table frees the condition with it.
    ASSERT_TRUE(db_close(3));
    ASSERT_TRUE(Open(kRows));
    EXPECT_FALSE(db_continue());
    EXPECT_EQ(std::vector<unsigned>{DBE_NO_LOCATE}, TakeErrors());
}

TEST_F(Locate, NothingToSearch)
{
    // An empty table, and a table whose records are all hidden.
    const std::vector<std::vector<Row>> tables = {{}, {{"GONE", 1, "", true}, {"AWAY", 2, "", true}}};
    for (const auto& rows : tables) {
        ASSERT_TRUE(Open(rows));
        db_set_deleted(1);
        EXPECT_TRUE(db_locate(".T.")) << rows.size() << " records";
        EXPECT_FALSE(db_found()) << rows.size() << " records";
        EXPECT_TRUE(db_bof()) << rows.size() << " records";
        EXPECT_TRUE(db_eof()) << rows.size() << " records";
        EXPECT_EQ((unsigned)DB_EOF, db_recno());
        EXPECT_TRUE(db_continue());
        EXPECT_FALSE(db_found());
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
        db_set_deleted(0);
        ASSERT_TRUE(db_close(3));
    }
    // Without a table: FALSE and no error.
    EXPECT_FALSE(db_locate(".T."));
    EXPECT_FALSE(db_continue());
    EXPECT_FALSE(db_found());
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(Locate, AFailureEndsTheSearch)
{
    OpenWithIndex();
    // The table's files closed between calls: error 9.
    ASSERT_TRUE(db_files_close());
    EXPECT_FALSE(db_locate(".T."));
    EXPECT_EQ(std::vector<unsigned>{DBE_FILES_CLOSED}, TakeErrors());
    ASSERT_TRUE(db_files_open());

    // A function that cannot be evaluated: the evaluator's error, FALSE.
    EXPECT_FALSE(db_locate("DOW(BORN) = 1"));
    EXPECT_EQ(std::vector<unsigned>{DBE_FUNCTION}, TakeErrors());
    ASSERT_TRUE(db_close(3));

    // A table damaged under an open exclusive area: its file loses the tail (cut through the
    // area's own handle, as a failing disk or share would) while the count still names nine
    // records. The search fails on the first missing record instead of going on as if nothing
    // happened: when the condition reads it, and when only the skip reads it (the deleted setting
    // reads every record passed).
    const std::string image = TableImage(kRows);
    const unsigned headerLength = tabletest::Get16(image, 8);
    const unsigned recordLength = tabletest::Get16(image, 10);
    const struct {
        int deleted;
        const char* condition;
    } cases[] = {{0, "NAME = 'NOBODY'"}, {1, "NAME = 'NOBODY'"}, {1, ".F."}, {1, "RECNO() > 100"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Use("short.dbf", image));
        HANDLE file = g_Job->currentArea->file;
        LARGE_INTEGER cut;
        cut.QuadPart = headerLength + 6 * recordLength;
        ASSERT_TRUE(SetFilePointerEx(file, cut, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        db_set_deleted(c.deleted);
        EXPECT_FALSE(db_locate(c.condition)) << c.condition << ", deleted " << c.deleted;
        const std::vector<unsigned> errors = TakeErrors();
        ASSERT_FALSE(errors.empty()) << c.condition << ", deleted " << c.deleted;
        EXPECT_EQ((unsigned)DBE_READ_RECORD, errors.front()) << c.condition << ", deleted " << c.deleted;
        EXPECT_FALSE(db_found());
        db_set_deleted(0);
        ASSERT_TRUE(db_close(3));
    }
}

TEST_F(Locate, SeeksSetTheFoundFlagToo)
{
    OpenWithIndex();
    ASSERT_TRUE(db_set_order(1));
    EXPECT_TRUE(db_seek("MEIER"));
    EXPECT_TRUE(db_found());
    EXPECT_FALSE(db_seek("NOBODY"));
    EXPECT_FALSE(db_found());
    ASSERT_TRUE(db_locate("AMOUNT = 100"));
    EXPECT_TRUE(db_found());
    EXPECT_FALSE(db_seek("NOBODY"));
    EXPECT_FALSE(db_found());
}
