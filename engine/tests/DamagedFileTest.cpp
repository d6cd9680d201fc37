// Damaged files end every walk: an index entry whose record number lies beyond what the table
// holds (or is 0), and a header whose record count is larger than the file, in both directions of
// a walk, in natural and index order, on exclusive and shared tables. A walk either reports the
// damage (error 33 for an index entry) or gives the rows that are there; none goes on for ever.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "IndexTestKit.h"
#include "Job.h"
#include "vlDB07.h"

using namespace idxtest;
using tabletest::Get16;
using tabletest::Put32;

namespace {

const int kRows = 20;
const unsigned kRootPage = 1024;
const long kRecnoAt = 4;   // of an item: child (4 bytes), record number, key

// Twenty rows whose NAME order is not their record order: record n holds "Row <(n * 7) % 20>".
std::vector<Row> Rows()
{
    std::vector<Row> rows;
    for (int n = 1; n <= kRows; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Row %02d", (n * 7) % kRows);
        rows.push_back({name, (double)n, ""});
    }
    return rows;
}

// Record numbers in NAME order.
std::vector<long> NameOrder()
{
    std::vector<long> order(kRows);
    for (int n = 1; n <= kRows; ++n)
        order[(size_t)((n * 7) % kRows)] = n;
    return order;
}

std::vector<long> Reversed(std::vector<long> v) { return {v.rbegin(), v.rend()}; }

// Record numbers from the top (forward) or the bottom (backward) until the walk ends; a walk
// longer than the table stops after twice its rows.
std::vector<long> WalkOf(bool forward)
{
    std::vector<long> seen;
    long r = db_goto(forward ? 0 : -1);
    while (r != 0 && r != DB_EOF && !db_eof() && !db_bof() && seen.size() < 2 * kRows) {
        seen.push_back(r);
        r = db_skip(forward ? 1 : -1);
    }
    // db_skip backwards reports the first record again when it runs out.
    if (!forward && r != 0 && db_bof() && seen.size() < 2 * kRows && (seen.empty() || seen.back() != r))
        seen.push_back(r);
    return seen;
}

class DamagedFile : public IndexFixture {
protected:
    // The table with its NAME index (one leaf page, the root), the index's entry at a position in
    // key order given another record number, opened again (flags of db_use).
    void OpenWithBadEntry(size_t position, uint32_t recno, unsigned flags)
    {
        ASSERT_TRUE(Open(Rows(), 0x01));
        ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_close(3));
        std::string image = Image("NAME.NTX");
        ASSERT_EQ(2048u, image.size()) << "one leaf";
        const unsigned item = Get16(image, kRootPage + 2 + 2 * position);
        Put32(image, kRootPage + item + kRecnoAt, recno);
        ASSERT_TRUE(oxtest::WriteFileText(File("NAME.NTX"), image));
        db_set_exclusive(flags & 0x01);
        ASSERT_TRUE(db_use(File("table.dbf").c_str(), flags, nullptr, 0));
        db_set_exclusive(1);
        ASSERT_TRUE(db_set_index_to(1, File("name").c_str()));
        TakeErrors();
    }
    // Sets the record count in the header of the open table from outside the engine.
    void DamageCount(uint32_t count)
    {
        HANDLE file = CreateFileA(File("table.dbf").c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        uint8_t bytes[4] = {(uint8_t)count, (uint8_t)(count >> 8), (uint8_t)(count >> 16), (uint8_t)(count >> 24)};
        DWORD written = 0;
        SetFilePointer(file, 4, nullptr, FILE_BEGIN);
        EXPECT_TRUE(WriteFile(file, bytes, sizeof bytes, &written, nullptr));
        CloseHandle(file);
    }
};

} // namespace

TEST_F(DamagedFile, IndexEntriesBeyondTheTableEndEveryWalk)
{
    const std::vector<long> order = NameOrder();
    const struct {
        const char* what;
        size_t position;    // in key order
        uint32_t recno;
    } damages[] = {
        {"first entry: end-of-file record number", 0, 0x7FFFFFFF},
        {"middle entry: one beyond the count", 9, kRows + 1},
        {"middle entry: record number 0", 9, 0},
        {"last entry: end-of-file record number", kRows - 1, 0x7FFFFFFF},
        {"last entry: far beyond the count", kRows - 1, 100000},
    };
    for (const auto& d : damages) {
        for (unsigned flags : {0x01u, 0x00u}) {
            const std::string what = std::string(d.what) + (flags ? ", exclusive" : ", shared");
            OpenWithBadEntry(d.position, d.recno, flags);
            const std::vector<long> before(order.begin(), order.begin() + (long)d.position);
            const std::vector<long> after(order.begin() + (long)d.position + 1, order.end());

            EXPECT_EQ(before, WalkOf(true)) << what << ": forward, the rows up to the damage";
            EXPECT_EQ(std::vector<unsigned>{DBE_INDEX_READ}, TakeErrors()) << what << ": forward";
            EXPECT_EQ(Reversed(after), WalkOf(false)) << what << ": backward, the rows down to the damage";
            EXPECT_EQ(std::vector<unsigned>{DBE_INDEX_READ}, TakeErrors()) << what << ": backward";

            char key[16];
            std::snprintf(key, sizeof key, "Row %02d    ", (int)d.position);
            EXPECT_FALSE(db_seek(key)) << what << ": a seek of the damaged key";
            EXPECT_EQ(std::vector<unsigned>{DBE_INDEX_READ}, TakeErrors()) << what << ": seek";
            ASSERT_TRUE(db_close(3));
        }
    }
}

TEST_F(DamagedFile, HeaderCountBeyondTheFileIsRefusedWhenOpening)
{
    ASSERT_TRUE(db_files_open());
    const uint32_t counts[] = {kRows + 1, kRows + 5, 0x7FFFFFFF, 0xFFFFFFFF};
    for (uint32_t count : counts) {
        for (unsigned flags : {0x01u, 0x00u}) {
            std::string image = TableImage(Rows());
            Put32(image, 4, count);
            ASSERT_TRUE(oxtest::WriteFileText(File("table.dbf"), image));
            db_set_exclusive(flags & 0x01);
            EXPECT_FALSE(db_use(File("table.dbf").c_str(), flags, nullptr, 0)) << count << " flags " << flags;
            db_set_exclusive(1);
            EXPECT_EQ(std::vector<unsigned>{DBE_FORMAT}, TakeErrors()) << count << " flags " << flags;
            EXPECT_FALSE(db_used()) << count << " flags " << flags;
        }
    }
    // A count below what the file holds (a record written, its count not yet) is no damage.
    std::string image = TableImage(Rows());
    Put32(image, 4, kRows - 1);
    ASSERT_TRUE(oxtest::WriteFileText(File("table.dbf"), image));
    ASSERT_TRUE(db_use(File("table.dbf").c_str(), 0x01, nullptr, 0));
    EXPECT_EQ((unsigned)kRows - 1, db_reccount());
}

TEST_F(DamagedFile, HeaderCountDamagedAfterOpeningEndsEveryWalk)
{
    std::vector<long> natural;
    for (long n = 1; n <= kRows; ++n)
        natural.push_back(n);
    for (uint32_t count : {(uint32_t)kRows + 3, 0x7FFFFFFFu}) {
        for (bool indexed : {false, true}) {
            const std::string what = std::to_string(count) + (indexed ? ", index order" : ", natural order");
            ASSERT_TRUE(Open(Rows(), 0x00));
            if (indexed) {
                ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
            }
            DamageCount(count);
            const std::vector<long> rows = indexed ? NameOrder() : natural;
            EXPECT_EQ(rows, WalkOf(true)) << what << ": forward";
            EXPECT_EQ(Reversed(rows), WalkOf(false)) << what << ": backward";
            EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << what;
            EXPECT_EQ((unsigned)kRows, db_reccount()) << what << ": the rows the file holds";
            ASSERT_TRUE(db_close(3));
        }
    }
}
