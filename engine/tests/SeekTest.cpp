// Key seeks: db_seek, db_softseek and db_seek_next as a table of cases over one small table with
// character, numeric, date and phonetic indexes, under the exact and deleted settings, on an
// exclusive and on a shared table.
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
const std::vector<Row>& kRows = kSeekRows;

// Index slots of the fixture.
enum { NAME = 1, AMOUNT = 2, BORN = 3, SOUND = 4 };

enum Op { SEEK, SOFT, NEXT, FIND };
const char* const kOpNames[] = {"db_seek", "db_softseek", "db_seek_next", "db_find"};

struct Step {
    Op op;
    const char* key;
    BOOL found;
    long recno;     // DB_EOF: the end-of-file position (EOF flag set)
};

struct Case {
    const char* what;
    int order;
    int exact;
    int deleted;
    std::vector<Step> steps;
};

const Case kCases[] = {
    {"a shorter text matches as a prefix", NAME, 0, 0, {{SEEK, "SMI", TRUE, 4}, {FIND, "SMITHE", TRUE, 3}}},
    {"exact: a shorter text finds nothing", NAME, 1, 0, {{SEEK, "SMI", FALSE, DB_EOF}}},
    {"exact: the text at full key size", NAME, 1, 0, {{SEEK, "SMI       ", TRUE, 4}}},
    {"a longer text is compared over the key size", NAME, 1, 0, {{SEEK, "SMITHERS  XYZ", TRUE, 3}}},
    {"the first record of equal keys", NAME, 0, 0, {{SEEK, "SMITH", TRUE, 1}}},
    {"a deleted first match: the next record with the key", NAME, 0, 1, {{SEEK, "SMITH", TRUE, 5}}},
    {"only deleted matches: end of file", NAME, 0, 1, {{SEEK, "ZORRO", FALSE, DB_EOF}}},
    {"a missing key: end of file", NAME, 0, 0, {{SEEK, "PETERS", FALSE, DB_EOF}}},
    {"soft: a missing key stands on the next greater key", NAME, 0, 0, {{SOFT, "PETERS", FALSE, 4}}},
    {"soft: nothing greater: end of file", NAME, 0, 0, {{SOFT, "ZZZ", FALSE, DB_EOF}}},
    {"soft: a deleted last key: end of file", NAME, 0, 1, {{SOFT, "ZORRO", FALSE, DB_EOF}}},
    {"soft: a deleted first match: the next visible one", NAME, 0, 1, {{SOFT, "SMITH", TRUE, 5}}},
    {"soft: between keys", NAME, 0, 0, {{SOFT, "SMITHA", FALSE, 3}}},
    {"next: equal keys, then a prefix", NAME, 0, 0,
     {{SEEK, "SMITH", TRUE, 1}, {NEXT, "SMITH", TRUE, 5}, {NEXT, "SMITH", TRUE, 7}, {NEXT, "SMITH", TRUE, 3},
      {NEXT, "SMITH", FALSE, 9}}},
    {"next, exact: a prefix is no match; the area stays on the record", NAME, 1, 0,
     {{SEEK, "SMITH     ", TRUE, 1}, {NEXT, "SMITH     ", TRUE, 5}, {NEXT, "SMITH     ", TRUE, 7},
      {NEXT, "SMITH     ", FALSE, 3}}},
    {"next: hidden records are passed over", NAME, 0, 1, {{SEEK, "SMITH", TRUE, 5}, {NEXT, "SMITH", TRUE, 7}}},
    {"next on the last record: end of file", NAME, 0, 0, {{SEEK, "ZORRO", TRUE, 9}, {NEXT, "ZORRO", FALSE, DB_EOF}}},
    {"numbers: 5 and 5.00 are one key", AMOUNT, 1, 0,
     {{SEEK, "5", TRUE, 1}, {SEEK, "5.00", TRUE, 1}, {NEXT, "5", TRUE, 4}, {NEXT, "5.0", TRUE, 8},
      {NEXT, "5", FALSE, 7}}},
    {"numbers: negative and missing", AMOUNT, 0, 0, {{SEEK, "-1.5", TRUE, 2}, {SEEK, "7", FALSE, DB_EOF}}},
    {"numbers: soft past a deleted record", AMOUNT, 0, 1, {{SOFT, "4", FALSE, 4}, {SOFT, "5", TRUE, 4}}},
    {"dates: CCYYMMDD", BORN, 1, 0, {{SEEK, "20240517", TRUE, 1}, {NEXT, "20240517", TRUE, 5}}},
    {"dates: the empty date", BORN, 1, 0, {{SEEK, "        ", TRUE, 2}, {NEXT, "        ", TRUE, 4}}},
    {"an empty text matches the first key", BORN, 0, 0, {{SEEK, "", TRUE, 3}}},
    {"phonetic: the code of the text", SOUND, 0, 0, {{SEEK, "Mayer", TRUE, 8}, {SEEK, "maier ", TRUE, 8}}},
};

class Seek : public IndexFixture {
protected:
    void OpenWithIndexes(unsigned flags)
    {
        ASSERT_TRUE(Open(kRows, flags));
        ASSERT_TRUE(db_index_on(NAME, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_index_on(AMOUNT, "AMOUNT", File("amount").c_str(), 0));
        ASSERT_TRUE(db_index_on(BORN, "BORN", File("born").c_str(), 0));
        ASSERT_TRUE(db_index_on(SOUND, "PHONETIC(NAME)", File("sound").c_str(), 0));
        ASSERT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
};

BOOL Call(Op op, const char* key)
{
    switch (op) {
    case SEEK: return db_seek(key);
    case SOFT: return db_softseek(key);
    case NEXT: return db_seek_next(key);
    default: return db_find(key);
    }
}

} // namespace

TEST_F(Seek, FindsKeysAsTheSettingsSay)
{
    // The phonetic index stores sound codes: "Mayer", "maier" and "MEIER" share theirs.
    for (unsigned flags : {0x01u, 0x00u}) {
        const std::string table = flags ? "exclusive" : "shared";
        OpenWithIndexes(flags);
        for (const Case& c : kCases) {
            db_set_exact(c.exact);
            db_set_deleted(c.deleted);
            ASSERT_TRUE(db_set_order(c.order)) << c.what;
            ASSERT_EQ(1, db_goto(1));
            for (size_t i = 0; i < c.steps.size(); ++i) {
                const Step& s = c.steps[i];
                const std::string where = table + ", " + c.what + ", step " + std::to_string(i + 1) + ": " +
                                          kOpNames[s.op] + "('" + s.key + "')";
                EXPECT_EQ(s.found, Call(s.op, s.key)) << where;
                EXPECT_EQ(s.recno, (long)db_recno()) << where;
                EXPECT_EQ(s.recno == DB_EOF, db_eof() != FALSE) << where;
                EXPECT_EQ(s.found, Area().found) << where << ": the found flag";
                EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << where;
                EXPECT_EQ(0, Area().indexes[c.order - 1].lockCount - (flags ? 1 : 0)) << where << ": lock released";
            }
        }
        db_set_exact(1);
        db_set_deleted(0);
        ASSERT_TRUE(db_close(3));
    }
}

TEST_F(Seek, TheFoundRecordContinuesInKeyOrder)
{
    OpenWithIndexes(0x01);
    ASSERT_TRUE(db_set_order(NAME));
    ASSERT_TRUE(db_seek("MEIER     "));
    EXPECT_EQ(std::string("MEIER     "), tabletest::Contents("NAME")) << "the buffer holds the record found";
    EXPECT_EQ(4, db_skip(1));
    EXPECT_EQ(2, db_skip(-2));
}

TEST_F(Seek, NeedsAControllingIndex)
{
    OpenWithIndexes(0x01);
    ASSERT_TRUE(db_set_order(0));
    for (Op op : {SEEK, SOFT, NEXT, FIND}) {
        EXPECT_FALSE(Call(op, "SMITH")) << kOpNames[op];
        EXPECT_EQ(std::vector<unsigned>{DBE_BAD_ORDER}, TakeErrors()) << kOpNames[op];
    }
    ASSERT_TRUE(db_close(3));
    for (Op op : {SEEK, SOFT, NEXT, FIND}) {
        EXPECT_FALSE(Call(op, "SMITH")) << kOpNames[op] << " without a table";
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << kOpNames[op] << " without a table";
    }
}
