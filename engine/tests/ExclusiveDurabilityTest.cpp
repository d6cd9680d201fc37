// Every row whose insert returned is in the files of an exclusive table, with a header count that
// names it: a second process (engine_write_probe) appends rows, some with a memo, to a table it
// holds exclusively without flushing, and ends by closing the table or by being killed between
// two calls. This process then reads the files byte by byte and opens the table with the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestKit.h"
#include "WriteTestKit.h"
#include "vlDB07.h"

using namespace writetest;
using tabletest::Get16;
using tabletest::Get32;

namespace {

const unsigned kOldRows = 10;       // the rows of SharedTableImage
const unsigned kMemoBlock = 512;

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string RowName(unsigned i) { return "Neu" + std::to_string(i); }

// Memo texts of different lengths, up to several blocks.
std::string NoteText(unsigned i) { return "Notiz " + std::to_string(i) + " " + std::string(180 * i, (char)('a' + i)); }

struct DurabilityCase {
    const char* name;
    unsigned rows;          // rows appended
    unsigned memoEvery;     // a memo on rows 1, 1 + memoEvery, ...
    bool kill;              // the writer is killed instead of closing the table
    bool lastMemoPending;   // killed after the last row's insert, before its memo is written
};

class ExclusiveDurability : public tabletest::TableTest, public ::testing::WithParamInterface<DurabilityCase> {};

TEST_P(ExclusiveDurability, EveryReturnedInsertIsInTheFiles)
{
    const DurabilityCase& c = GetParam();
    const std::string table = File("excl.dbf"), memo = File("excl.dbt");
    ASSERT_TRUE(oxtest::WriteFileText(memo, MemoImage(1)));
    ASSERT_TRUE(oxtest::WriteFileText(table, SharedTableImage()));

    PeerProcess peer;
    ASSERT_TRUE(peer.Started());
    ASSERT_EQ("1 0", peer.Run("exclusive " + table));
    std::vector<bool> noted(c.rows + 1, false);
    for (unsigned i = 1; i <= c.rows; ++i) {
        ASSERT_EQ(std::to_string(kOldRows + i) + " 0", peer.Run("append " + RowName(i)));
        const bool last = i == c.rows;
        if ((i - 1) % c.memoEvery == 0 && !(last && c.lastMemoPending)) {
            ASSERT_EQ("1 0", peer.Run("memo " + NoteText(i)));
            ASSERT_EQ("1 0", peer.Run("write"));
            noted[i] = true;
        }
    }
    if (c.kill)
        peer.Kill();
    else
        ASSERT_EQ("1 0", peer.Run("close"));

    // The bytes of the files, as any other program reads them.
    const std::string dbf = oxtest::ReadFileText(table), dbt = oxtest::ReadFileText(memo);
    const unsigned headerLength = Get16(dbf, 8), recordLength = Get16(dbf, 10);
    const unsigned count = Get32(dbf, 4);
    ASSERT_EQ(kOldRows + c.rows, count);
    ASSERT_GE(dbf.size(), (size_t)headerLength + (size_t)count * recordLength);
    const unsigned nextFree = Get32(dbt, 0);
    for (unsigned i = 1; i <= c.rows; ++i) {
        const std::string record = dbf.substr(headerLength + (size_t)(kOldRows + i - 1) * recordLength, recordLength);
        EXPECT_EQ(RowName(i), Trimmed(record.substr(1, 10))) << "row " << i;
        const std::string reference = record.substr(11, 10);
        if (!noted[i]) {
            EXPECT_EQ(std::string(10, ' '), reference) << "row " << i;
            continue;
        }
        const unsigned block = (unsigned)std::stoul(reference);
        const std::string text = NoteText(i);
        ASSERT_GE(dbt.size(), (size_t)block * kMemoBlock + text.size() + 1) << "row " << i;
        EXPECT_EQ(text + "\x1A", dbt.substr((size_t)block * kMemoBlock, text.size() + 1)) << "row " << i;
        // The next memo goes behind this one.
        EXPECT_GE(nextFree, block + (text.size() + 1 + kMemoBlock - 1) / kMemoBlock) << "row " << i;
    }

    // The engine opens the table as it was left: the count is one the file holds.
    ASSERT_TRUE(db_files_open());
    ASSERT_TRUE(db_use(table.c_str(), 0, nullptr, 0)) << m_error;
    EXPECT_EQ(kOldRows + c.rows, db_reccount());
    EXPECT_EQ((long)(kOldRows + c.rows), db_goto((long)(kOldRows + c.rows)));
    EXPECT_EQ(RowName(c.rows), Trimmed(tabletest::Contents("NAME")));
}

const DurabilityCase kCases[] = {
    {"Closed", 9, 3, false, false},
    {"KilledAfterAMemo", 7, 3, true, false},
    {"KilledRightAfterAnInsert", 8, 2, true, false},
    {"KilledBeforeTheMemoOfTheLastInsert", 7, 3, true, true},
};

INSTANTIATE_TEST_SUITE_P(Writer, ExclusiveDurability, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<DurabilityCase>& info) { return std::string(info.param.name); });

} // namespace
