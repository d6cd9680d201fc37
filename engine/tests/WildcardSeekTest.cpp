// Wildcard seeks: db_seek_wild and db_seek_wild_next as a table of patterns over a small indexed
// table (exclusive and shared), the position callback of a walk, sort orders and phonetic keys,
// hostile patterns, a damaged index, and a key added by another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "IndexTestKit.h"
#include "Job.h"
#include "TestKit.h"
#include "vlDB07.h"

using namespace idxtest;

namespace {

// The rows of IndexTestKit.h; NAME order: ADAMS 6, JONES 2, MEIER 8, SMI 4, SMITH 1 (deleted), 5,
// 7, SMITHERS 3, ZORRO 9 (deleted).
const std::vector<Row>& kRows = kSeekRows;

enum Op { WILD, NEXT };

struct Step {
    Op op;
    std::string pattern;
    long recno;     // DB_EOF: not found, at the end of file
};

struct Case {
    const char* what;
    int deleted;
    std::vector<Step> steps;
};

const Case kCases[] = {
    {"the pattern's end is open", 0,
     {{WILD, "SMITH", 1}, {NEXT, "SMITH", 5}, {NEXT, "SMITH", 7}, {NEXT, "SMITH", 3}, {NEXT, "SMITH", DB_EOF}}},
    {"a blank closes a word", 0, {{WILD, "SMITH ", 1}, {NEXT, "SMITH ", 5}, {NEXT, "SMITH ", 7}, {NEXT, "SMITH ", DB_EOF}}},
    {"'?' also stands for a blank", 0, {{WILD, "SMI?", 4}, {NEXT, "SMI?", 1}}},
    {"'*' in front", 0, {{WILD, "*RR", 9}, {WILD, "*S", 6}, {NEXT, "*S", 2}, {NEXT, "*S", 4}}},
    {"'?' in front", 0, {{WILD, "?O*", 2}, {NEXT, "?O*", 9}, {NEXT, "?O*", DB_EOF}}},
    {"letters after a '*'", 0, {{WILD, "S*ERS", 3}, {WILD, "M*R", 8}}},
    {"case matters", 0, {{WILD, "smith", DB_EOF}}},
    {"no key matches", 0, {{WILD, "NOBODY", DB_EOF}}},
    {"the empty pattern and '*' match the first key", 0, {{WILD, "", 6}, {WILD, "*", 6}, {WILD, "***", 6}}},
    {"next from the last key", 0, {{WILD, "ZORRO", 9}, {NEXT, "*", DB_EOF}}},
    {"hidden records do not match", 1,
     {{WILD, "SMITH", 5}, {NEXT, "SMITH", 7}, {WILD, "Z*", DB_EOF}, {WILD, "*", 6}}},
    {"a pattern longer than every key", 0, {{WILD, std::string(300, 'A'), DB_EOF}}},
    {"300 wildcards", 0, {{WILD, std::string(300, '*'), 6}, {WILD, std::string(300, '?'), DB_EOF}}},
    {"wildcards around a long word", 0, {{WILD, "*" + std::string(280, 'S') + "*", DB_EOF}}},
};

class WildcardSeek : public IndexFixture {
protected:
    void OpenWithIndex(unsigned flags)
    {
        ASSERT_TRUE(Open(kRows, flags));
        ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
        ASSERT_EQ(std::vector<unsigned>{}, TakeErrors());
    }

    static BOOL Call(Op op, const std::string& pattern)
    {
        return op == WILD ? db_seek_wild(pattern.c_str()) : db_seek_wild_next(pattern.c_str());
    }
};

std::vector<std::pair<int, int>> s_positions;

void DB_CALL RecordPosition(int area, int position, int direction)
{
    s_positions.push_back({area * direction, position});
}

} // namespace

TEST_F(WildcardSeek, FindsMatchesInKeyOrder)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        const std::string table = flags ? "exclusive" : "shared";
        OpenWithIndex(flags);
        for (const Case& c : kCases) {
            db_set_deleted(c.deleted);
            ASSERT_EQ(1, db_goto(1));
            for (size_t i = 0; i < c.steps.size(); ++i) {
                const Step& s = c.steps[i];
                const std::string where = table + ", " + c.what + ", step " + std::to_string(i + 1);
                EXPECT_EQ(s.recno != DB_EOF, Call(s.op, s.pattern) != FALSE) << where;
                EXPECT_EQ(s.recno, (long)db_recno()) << where;
                EXPECT_EQ(s.recno == DB_EOF, db_eof() != FALSE) << where;
                EXPECT_EQ(s.recno != DB_EOF, db_found() != FALSE) << where;
                EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << where;
                EXPECT_EQ(flags ? 1 : 0, Area().indexes[0].lockCount) << where << ": lock released";
            }
        }
        db_set_deleted(0);
        ASSERT_TRUE(db_close(3));
    }
}

TEST_F(WildcardSeek, TheRecordFoundIsReadAndTheOrderGoesOn)
{
    OpenWithIndex(0x01);
    ASSERT_TRUE(db_seek_wild("M*"));
    EXPECT_EQ(std::string("MEIER     "), tabletest::Contents("NAME"));
    EXPECT_EQ(std::string("    5.00"), tabletest::Contents("AMOUNT"));
    EXPECT_EQ(4, db_skip(1));
    EXPECT_EQ(2, db_skip(-2));
}

TEST_F(WildcardSeek, ReportsEveryKeyPassed)
{
    OpenWithIndex(0x01);
    db_set_positioncallback(RecordPosition);
    // A walk without a match: the first key (reached by going to the top), every key stepped to,
    // then the end of file.
    s_positions.clear();
    EXPECT_FALSE(db_seek_wild("NOBODY"));
    const std::vector<std::pair<int, int>> walked = {{1, 6}, {1, 2}, {1, 8}, {1, 4}, {1, 1},
                                                     {1, 5}, {1, 7}, {1, 3}, {1, 9}, {1, DB_EOF}};
    EXPECT_EQ(walked, s_positions);
    // A match: the keys up to it, and the record found once more.
    s_positions.clear();
    EXPECT_TRUE(db_seek_wild("MEIER"));
    const std::vector<std::pair<int, int>> found = {{1, 6}, {1, 2}, {1, 8}, {1, 8}};
    EXPECT_EQ(found, s_positions);
}

TEST_F(WildcardSeek, NeedsAControllingIndex)
{
    OpenWithIndex(0x01);
    ASSERT_TRUE(db_set_order(0));
    for (Op op : {WILD, NEXT}) {
        EXPECT_FALSE(Call(op, "*"));
        EXPECT_EQ(std::vector<unsigned>{DBE_BAD_ORDER}, TakeErrors());
    }
    ASSERT_TRUE(db_close(3));
    for (Op op : {WILD, NEXT}) {
        EXPECT_FALSE(Call(op, "*"));
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
    // An empty table: FALSE at the end of file.
    ASSERT_TRUE(Open({}));
    ASSERT_TRUE(db_index_on(1, "NAME", File("empty").c_str(), 0));
    EXPECT_FALSE(db_seek_wild("*"));
    EXPECT_TRUE(db_eof());
    EXPECT_FALSE(db_found());
    EXPECT_FALSE(db_seek_wild(nullptr));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(WildcardSeek, GermanReplaceComparesSpelledOutUmlauts)
{
    // Code page 850: 0x9A is the capital U with umlaut.
    const std::vector<Row> rows = {{"M\x9ALLER", 1, ""}, {"MUELLER", 2, ""}, {"MULLER", 3, ""}};
    const struct {
        int sortOrder;
        const char* pattern;
        std::vector<long> found;
    } cases[] = {
        {0, "M\x9A*", {1}},
        {0, "MUE*", {2}},
        {1, "M\x9A*", {1, 2}},
        {1, "MUE*", {1, 2}},
        {1, "MUL*", {3}},
        {1, "MU?L*", {1, 2, 3}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(rows));
        ASSERT_TRUE(db_set_sortorder(c.sortOrder));
        ASSERT_TRUE(db_index_on(1, "NAME", File("umlaut").c_str(), 0));
        std::vector<long> found;
        for (BOOL hit = db_seek_wild(c.pattern); hit && found.size() < 10; hit = db_seek_wild_next(c.pattern))
            found.push_back((long)db_recno());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(c.found, found) << "sort order " << c.sortOrder << ", " << c.pattern;
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
        ASSERT_TRUE(db_close(3));
    }
}

TEST_F(WildcardSeek, PhoneticIndexComparesCodes)
{
    OpenWithIndex(0x01);
    ASSERT_TRUE(db_index_on(2, "PHONETIC(NAME)", File("sound").c_str(), 0));
    EXPECT_TRUE(db_seek_wild("Mayer"));
    EXPECT_EQ(8u, db_recno());
    EXPECT_FALSE(db_seek_wild("Adler"));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(WildcardSeek, ADamagedIndexEndsTheWalkWithAnError)
{
    // Many keys, so that the index has leaves below its root; then every page after the root's
    // first is overwritten with garbage.
    std::vector<Row> rows;
    for (int i = 0; i < 600; ++i)
        rows.push_back({"ROW" + std::to_string(i), (double)i, ""});
    ASSERT_TRUE(Open(rows));
    ASSERT_TRUE(db_index_on(1, "NAME", File("big").c_str(), 0));
    ASSERT_TRUE(db_set_index_to(1, nullptr));
    std::string image = Image("big.ntx");
    ASSERT_GT(image.size(), 4096u);
    for (size_t at = 2048; at < image.size(); ++at)
        image[at] = (char)(0xA5 ^ (at * 7));
    ASSERT_TRUE(oxtest::WriteFileText(File("big.ntx"), image));
    ASSERT_TRUE(db_set_index_to(1, File("big").c_str()));
    TakeErrors();
    EXPECT_FALSE(db_seek_wild("NOBODY"));
    EXPECT_FALSE(db_found());
    EXPECT_NE(std::vector<unsigned>{}, TakeErrors()) << "the damage is reported";
    EXPECT_FALSE(db_seek_wild_next("*"));
}

TEST_F(WildcardSeek, SeesAKeyAnotherProcessAdded)
{
    OpenWithIndex(0x00);
    EXPECT_FALSE(db_seek_wild("SMY*"));
    // The second station appends SMYTHE through the real library: record 10 and its key.
    const std::string line = "\"" + oxtest::ProgramDir() + "\\engine_search_probe.exe\" append \"" +
                             File("table.dbf") + "\" \"" + File("name.ntx") + "\" SMYTHE";
    ASSERT_EQ(0, oxtest::RunProcess(line)) << line;
    EXPECT_TRUE(db_seek_wild("SMY*"));
    EXPECT_EQ(10u, db_recno());
    EXPECT_EQ(std::string("SMYTHE    "), tabletest::Contents("NAME"));
    EXPECT_TRUE(db_seek_wild_next("Z*"));
    EXPECT_EQ(9u, db_recno()) << "ZORRO follows SMYTHE";
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}
