// Expression seeks: db_seek_expression and db_seek_expression_next as a table of cases over one
// small table with character, numeric and date indexes, the search values taken from constants
// and from the fields of a second area; then the errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
// AMOUNT order: 2, 5, 9, 1, 4, 8, 7, 3, 6. BORN order: 3, 6, 8, 1, 5, 9, 2, 4, 7 (empty last).
const std::vector<Row>& kRows = kSeekRows;
// The second area, KEYS: the values to look for.
const std::vector<Row> kKeys = {{"SMITHERS", 12.25, "20240517"}, {"", 0, ""}};

enum { NAME = 1, AMOUNT = 2, BORN = 3 };
enum Op { SEEK, NEXT };

struct Step {
    Op op;
    const char* expr;
    BOOL result;
    BOOL found;
    long recno;     // DB_EOF: the end-of-file position
};

struct Case {
    const char* what;
    int order;
    int exact;
    int deleted;
    long keysRecord;    // the record KEYS stands on
    std::vector<Step> steps;
};

const Case kCases[] = {
    {"exact: a shorter text finds nothing", NAME, 1, 0, 1, {{SEEK, "'SMITH'", TRUE, FALSE, DB_EOF}}},
    {"exact: the text at key size", NAME, 1, 0, 1, {{SEEK, "'SMITH     '", TRUE, TRUE, 1}}},
    {"a prefix, and a hidden record counts", NAME, 0, 1, 1,
     {{SEEK, "'SMITH'", TRUE, TRUE, 1}, {SEEK, "UPPER('meier')", TRUE, TRUE, 8}, {SEEK, "'ZORRO'", TRUE, TRUE, 9}}},
    {"a missing key", NAME, 0, 0, 1, {{SEEK, "'NOBODY'", TRUE, FALSE, DB_EOF}}},
    {"a text longer than the key is compared over the key size", NAME, 1, 0, 1,
     {{SEEK, "SPACE(100000)", TRUE, FALSE, DB_EOF}, {SEEK, "'MEIER' + SPACE(100000)", TRUE, TRUE, 8}}},
    {"a field of another area", NAME, 1, 0, 1, {{SEEK, "KEYS.NAME", TRUE, TRUE, 3}}},
    {"next: the records that keep the key", NAME, 0, 0, 1,
     {{SEEK, "'SMITH'", TRUE, TRUE, 1}, {NEXT, "'SMITH'", TRUE, TRUE, 5}, {NEXT, "'SMITH'", TRUE, TRUE, 7},
      {NEXT, "'SMITH'", TRUE, TRUE, 3}, {NEXT, "'SMITH'", FALSE, FALSE, 9}, {NEXT, "'SMITH'", FALSE, FALSE, DB_EOF},
      {NEXT, "'SMITH'", FALSE, FALSE, DB_EOF}}},
    {"next, exact: a prefix is no match; the area stays", NAME, 1, 0, 1,
     {{SEEK, "'SMITH     '", TRUE, TRUE, 1}, {NEXT, "'SMITH     '", TRUE, TRUE, 5},
      {NEXT, "'SMITH     '", TRUE, TRUE, 7}, {NEXT, "'SMITH     '", FALSE, FALSE, 3}}},
    {"next: hidden records are passed over", NAME, 0, 1, 1,
     {{SEEK, "'SMITH'", TRUE, TRUE, 1}, {NEXT, "'SMITH'", TRUE, TRUE, 5}}},
    {"next: the expression is evaluated for the record reached", NAME, 1, 0, 1,
     {{SEEK, "'MEIER     '", TRUE, TRUE, 8}, {NEXT, "NAME", TRUE, TRUE, 4}, {NEXT, "NAME", TRUE, TRUE, 1}}},
    {"numbers in the index's form", AMOUNT, 1, 0, 1,
     {{SEEK, "5", TRUE, TRUE, 1}, {SEEK, "2.5 * 2", TRUE, TRUE, 1}, {SEEK, "-1.5", TRUE, TRUE, 2},
      {SEEK, "KEYS.AMOUNT", TRUE, TRUE, 3}, {SEEK, "7", TRUE, FALSE, DB_EOF}}},
    {"numbers: next", AMOUNT, 1, 0, 1,
     {{SEEK, "5", TRUE, TRUE, 1}, {NEXT, "5", TRUE, TRUE, 4}, {NEXT, "5.00", TRUE, TRUE, 8},
      {NEXT, "5", FALSE, FALSE, 7}}},
    {"dates", BORN, 1, 0, 1, {{SEEK, "KEYS.BORN", TRUE, TRUE, 1}, {NEXT, "KEYS.BORN", TRUE, TRUE, 5}}},
    {"the empty date", BORN, 1, 0, 2, {{SEEK, "KEYS.BORN", TRUE, TRUE, 2}, {NEXT, "KEYS.BORN", TRUE, TRUE, 4}}},
};

class ExpressionSeek : public IndexFixture {
protected:
    void OpenWithIndexes()
    {
        ASSERT_EQ(2, db_select_area(2));
        ASSERT_TRUE(Use("keys.dbf", TableImage(kKeys), 0x01, "KEYS"));
        ASSERT_EQ(1, db_select_area(1));
        ASSERT_TRUE(Open(kRows));
        ASSERT_TRUE(db_index_on(NAME, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_index_on(AMOUNT, "AMOUNT", File("amount").c_str(), 0));
        ASSERT_TRUE(db_index_on(BORN, "BORN", File("born").c_str(), 0));
        ASSERT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
};

BOOL Call(Op op, const char* expr) { return op == SEEK ? db_seek_expression(expr) : db_seek_expression_next(expr); }

} // namespace

TEST_F(ExpressionSeek, FindsTheKeyOfTheExpression)
{
    OpenWithIndexes();
    for (const Case& c : kCases) {
        db_set_exact(c.exact);
        db_set_deleted(c.deleted);
        ASSERT_EQ(2, db_select_area(2));
        ASSERT_EQ(c.keysRecord, db_goto(c.keysRecord));
        ASSERT_EQ(1, db_select_area(1));
        ASSERT_TRUE(db_set_order(c.order)) << c.what;
        ASSERT_EQ(6, db_goto(6));
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& s = c.steps[i];
            const std::string where = std::string(c.what) + ", step " + std::to_string(i + 1) + ": " + s.expr;
            EXPECT_EQ(s.result, Call(s.op, s.expr)) << where;
            EXPECT_EQ(s.found, db_found()) << where;
            EXPECT_EQ(s.recno, (long)db_recno()) << where;
            EXPECT_EQ(s.recno == DB_EOF, db_eof() != FALSE) << where;
            EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << where;
        }
    }
    db_set_exact(1);
    db_set_deleted(0);
}

TEST_F(ExpressionSeek, RefusesExpressionsOfAnotherTypeOrThatFail)
{
    OpenWithIndexes();
    const struct {
        int order;
        const char* expr;
        unsigned error;
    } cases[] = {
        {NAME, "5", DBE_SEEK_TYPE},          {NAME, "KEYS.BORN", DBE_SEEK_TYPE}, {AMOUNT, "'5'", DBE_SEEK_TYPE},
        {BORN, "KEYS.NAME", DBE_SEEK_TYPE},  {NAME, ".T.", DBE_SEEK_TYPE},      {AMOUNT, "AMOUNT > 1", DBE_SEEK_TYPE},
        {NAME, "NAME +", DBE_EXPRESSION},    {NAME, "", DBE_EXPRESSION},        {BORN, "NOSUCH.BORN", DBE_NO_ALIAS},
        {AMOUNT, "DOW(BORN)", DBE_FUNCTION},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(db_set_order(c.order));
        for (Op op : {SEEK, NEXT}) {
            ASSERT_EQ(5, db_goto(5));
            EXPECT_FALSE(Call(op, c.expr)) << c.expr;
            EXPECT_FALSE(db_found()) << c.expr;
            EXPECT_EQ(std::vector<unsigned>{c.error}, TakeErrors()) << c.expr << (op == SEEK ? "" : ", next");
        }
    }
    // Without a controlling index: error 24; without a table: no error.
    ASSERT_TRUE(db_set_order(0));
    for (Op op : {SEEK, NEXT}) {
        EXPECT_FALSE(Call(op, "'SMITH'"));
        EXPECT_EQ(std::vector<unsigned>{DBE_BAD_ORDER}, TakeErrors());
    }
    ASSERT_TRUE(db_close(3));
    for (Op op : {SEEK, NEXT}) {
        EXPECT_FALSE(Call(op, "'SMITH'"));
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
}

TEST_F(ExpressionSeek, SharedTableReleasesTheIndexLock)
{
    ASSERT_TRUE(Open(kRows, 0x00));
    ASSERT_TRUE(db_index_on(NAME, "NAME", File("name").c_str(), 0));
    for (const char* expr : {"'MEIER'", "'NOBODY'"}) {
        EXPECT_TRUE(db_seek_expression(expr)) << expr;
        EXPECT_EQ(0, Area().indexes[0].lockCount) << expr;
    }
    EXPECT_FALSE(db_seek_expression("5"));
    EXPECT_EQ(0, Area().indexes[0].lockCount);
    EXPECT_EQ(std::vector<unsigned>{DBE_SEEK_TYPE}, TakeErrors());
}
