// Index creation and rebuild: the trees a build writes (read back by the file layout), the sort
// modes, unique and date keys, the errors of db_index_on and db_reindex, and the keys that record
// writing keeps up to date afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "BTree.h"
#include "IndexBuild.h"
#include "IndexTestKit.h"
#include "Job.h"
#include "KeySort.h"
#include "Locks.h"
#include "NtxFormat.h"
#include "vlDB07.h"

using namespace idxtest;
using ntxtest::Entry;
using tabletest::Get16;
using tabletest::Get32;

namespace {

// Names with repeats, so that equal keys of several records occur.
std::vector<Row> Rows(int count, int distinct = 37)
{
    std::vector<Row> rows;
    for (int i = 0; i < count; ++i) {
        Row row;
        row.name = "N" + std::to_string((i * 7919) % distinct);
        row.amount = ((i * 31) % 2001 - 1000) / 4.0;
        if (i % 5 != 0) {
            char date[16];
            std::snprintf(date, sizeof date, "%04d%02d%02d", 1950 + (i * 13) % 70, 1 + (i * 7) % 12, 1 + i % 28);
            row.born = date;
        }
        row.deleted = i % 9 == 4;
        rows.push_back(row);
    }
    return rows;
}

std::string NameKey(const Row& row) { return NameField(row); }
// The stored date key: CCYYMMDD, an empty date as 0xFF and seven blanks.
std::string BornKey(const Row& row) { return row.born.empty() ? "\xFF       " : row.born; }

// Record numbers of the rows in the order of a key, equal keys by record number.
template <typename Less>
std::vector<long> OrderBy(const std::vector<Row>& rows, Less less)
{
    std::vector<long> order;
    for (size_t i = 0; i < rows.size(); ++i)
        order.push_back((long)i + 1);
    std::stable_sort(order.begin(), order.end(), [&](long a, long b) { return less(rows[a - 1], rows[b - 1]); });
    return order;
}

class IndexBuild : public IndexFixture {};

} // namespace

// ---- the trees of a build ----------------------------------------------------------------------

TEST_F(IndexBuild, WritesTheSortedKeysAsAFullTree)
{
    // Key size 10: 50 keys a page.
    const struct {
        int count;
        int depth;   // 0: not checked
    } cases[] = {
        {0, 1},     // header page and one empty leaf
        {1, 1},
        {50, 1},    // one full leaf
        {51, 2},    // the last key is held back and added through the b-tree: a split
        {101, 2},   // two full leaves and a separator
        {102, 2},   // a key on the next leaf
        {2601, 3},  // 51 full leaves: the separators fill a branch page, the last goes up
        {3000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("rows: " + std::to_string(c.count));
        const std::vector<Row> rows = Rows(c.count);
        ASSERT_TRUE(Open(rows));
        ASSERT_TRUE(db_index_on(1, "name", File("name").c_str(), 0));
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
        ASSERT_TRUE(db_close(3));
        const std::string image = Image("NAME.NTX");
        const ntxtest::Scan scan = ntxtest::ScanIndex(image);
        EXPECT_EQ("", scan.error);
        EXPECT_EQ(Expected(rows, NameKey), scan.entries);
        if (c.depth) {
            EXPECT_EQ(c.depth, scan.depth);
        }
        EXPECT_EQ(6u, Get16(image, 0)) << "signature";
        EXPECT_EQ(1u, Get16(image, 2)) << "change counter: one build";
        EXPECT_EQ(0u, Get32(image, 8)) << "no free page";
        EXPECT_EQ(18u, Get16(image, 12));
        EXPECT_EQ(10u, Get16(image, 14));
        EXPECT_EQ(50u, Get16(image, 18));
        EXPECT_EQ(25u, Get16(image, 20));
        EXPECT_EQ(std::string("NAME\0", 5), image.substr(22, 5)) << "the expression in upper case";
        EXPECT_EQ(std::string(17, '\0'), image.substr(280, 17)) << "no packed marker";
        EXPECT_EQ(std::string(1024 - 297, '\0'), image.substr(297, 1024 - 297)) << "the header page's rest";
        if (c.count == 0) {
            EXPECT_EQ(2048u, image.size());
            EXPECT_EQ(1024u, Get32(image, 4)) << "the empty leaf is the root";
        }
    }
}

TEST_F(IndexBuild, LeavesAreFullAndTheRootIsWrittenLast)
{
    // 250 keys of 50 a page: five full leaves with four separators in between, the last key on a
    // leaf of its own.
    const std::vector<Row> rows = Rows(250, 250);
    ASSERT_TRUE(Open(rows));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    ASSERT_TRUE(db_close(3));
    const std::string image = Image("NAME.NTX");
    const uint32_t root = Get32(image, 4);
    EXPECT_EQ(image.size() - 1024, root) << "the root is the file's last page";
    unsigned leaves = 0, full = 0;
    for (size_t page = 1024; page < image.size(); page += 1024) {
        const bool leaf = Get32(image, page + Get16(image, page + 2)) == 0;
        leaves += leaf;
        full += leaf && Get16(image, page) == 50;
    }
    EXPECT_EQ(5u, leaves);
    EXPECT_EQ(4u, full) << "every leaf but the last is full";
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, FollowsTheValueOrderOfNumericAndDateKeys)
{
    const std::vector<Row> rows = Rows(700);
    ASSERT_TRUE(Open(rows));
    ASSERT_TRUE(db_index_on(1, "AMOUNT", File("amount").c_str(), 0));
    ASSERT_TRUE(db_index_on(2, "BORN", File("born").c_str(), 0));
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    ASSERT_TRUE(db_set_order(1));
    EXPECT_EQ(OrderBy(rows, [](const Row& a, const Row& b) { return a.amount < b.amount; }), Walk());
    ASSERT_TRUE(db_set_order(2));
    // Empty dates after all others.
    EXPECT_EQ(OrderBy(rows, [](const Row& a, const Row& b) { return BornKey(a) < BornKey(b); }), Walk());
    ASSERT_TRUE(db_close(3));
    const ntxtest::Scan scan = ScanFile("BORN.NTX");
    EXPECT_EQ("", scan.error);
    EXPECT_EQ(Expected(rows, BornKey), scan.entries) << "an empty date key begins with 0xFF";
}

TEST_F(IndexBuild, MemoryAndFileSortGiveTheSameFile)
{
    // 20,000 keys of 14 bytes with the record number: five runs; 37 names, so equal keys span
    // runs and must stay in record-number order.
    const std::vector<Row> rows = Rows(20000);
    ASSERT_TRUE(Open(rows));
    const std::string profile = File("sort.ini");
    static bool s_fileMode;
    static bool s_sampled;
    db_set_positioncallback([](int, int position, int) {
        if (position == 10000 && !s_sampled) {
            s_fileMode = _sort_layout().fileMode;
            s_sampled = true;
        }
    });
    for (const char* mode : {"1", "0"}) {
        ASSERT_TRUE(WritePrivateProfileStringA("Tabstor", "ReindexTryAlloc", mode, profile.c_str()));
        _sort_profile_file(profile.c_str());
        s_sampled = false;
        const std::string name = std::string("mode") + mode;
        EXPECT_TRUE(db_index_on(mode[0] == '1' ? 1 : 2, "NAME", File(name.c_str()).c_str(), 0)) << name;
        EXPECT_TRUE(s_sampled);
        EXPECT_EQ(mode[0] == '0', s_fileMode) << name << ": the sort ran in the mode asked for";
    }
    _sort_profile_file(nullptr);
    db_set_positioncallback(nullptr);
    ASSERT_TRUE(db_close(3));
    const std::string memory = Image("MODE1.NTX"), file = Image("MODE0.NTX");
    EXPECT_EQ(memory.size(), file.size());
    EXPECT_TRUE(memory == file) << "the two files differ";
    const ntxtest::Scan scan = ntxtest::ScanIndex(file);
    EXPECT_EQ("", scan.error);
    EXPECT_EQ(Expected(rows, NameKey), scan.entries) << "equal keys in record-number order";
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, UniqueIndexReportsTheFirstDuplicateOnceAndKeepsAllKeys)
{
    const std::vector<Row> rows = {{"B"}, {"A"}, {"C"}, {"A"}, {"B"}, {"A"}};
    ASSERT_TRUE(Open(rows));
    EXPECT_TRUE(db_index_on(1, "NAME", File("uniq").c_str(), 1));
    EXPECT_EQ(std::vector<unsigned>{DBE_NOT_UNIQUE}, TakeErrors());
    EXPECT_TRUE(db_reindex(1));
    EXPECT_EQ(std::vector<unsigned>{DBE_NOT_UNIQUE}, TakeErrors()) << "a rebuild reports it again, once";
    ASSERT_TRUE(db_close(3));
    const std::string image = Image("UNIQ.NTX");
    EXPECT_EQ(1u, Get16(image, 278)) << "unique flag";
    EXPECT_EQ(Expected(rows, NameKey), ntxtest::ScanIndex(image).entries);
}

TEST_F(IndexBuild, KeysBeginningWithAZeroByteAreStoredLikeAnyOther)
{
    // The tree writer takes the end of the sorted keys from the sort, not from a key's first byte.
    ASSERT_TRUE(Open({}));
    ASSERT_TRUE(db_index_on(1, "NAME", File("zero").c_str(), 0));
    std::vector<Entry> entries;
    for (int i = 0; i < 120; ++i) {
        std::string key = "K" + std::to_string(i % 17);
        key.resize(10, ' ');
        if (i % 3 == 0)
            key[0] = '\0';
        if (i % 11 == 0)
            key = std::string(10, '\0');
        entries.push_back({key, (uint32_t)(i + 1)});
    }
    ASSERT_TRUE(_SORTINIT((int32_t)entries.size(), 10, 4));
    for (const Entry& e : entries)
        ASSERT_TRUE(_SORTADD(e.key.data(), &e.recno));
    char pendingKey[16];
    int32_t pendingRecno = -1;
    const bool written = _idx_write_tree(Area(), 0, (int32_t)entries.size(), pendingKey, &pendingRecno);
    _SORTDONE();
    ASSERT_TRUE(written);
    EXPECT_EQ(0, pendingRecno) << "120 keys leave 18 on the last leaf";
    s_Index& slot = Area().indexes[0];
    DWORD bytes = 0;
    ASSERT_NE(INVALID_SET_FILE_POINTER, SetFilePointer(slot.file, 0, nullptr, FILE_BEGIN));
    ASSERT_TRUE(WriteFile(slot.file, slot.header, DB_INDEX_HEADER_SIZE, &bytes, nullptr));
    ASSERT_TRUE(db_close(3));
    // Keys compare as texts (ASCII order: up to their first 0 byte), equal keys by record number.
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::strncmp(a.key.c_str(), b.key.c_str(), 10) < 0;
    });
    const ntxtest::Scan scan = ScanFile("ZERO.NTX");
    EXPECT_EQ("", scan.error);
    EXPECT_EQ(entries, scan.entries);
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, ATreeDeeperThanItsLevelPagesFailsCleanly)
{
    // Level pages are set up for the count a build announces: a leaf and one branch level for no
    // key. 3,000 keys of 50 a page need a second branch level (from the 2,601st key on).
    ASSERT_TRUE(Open({}));
    ASSERT_TRUE(db_index_on(1, "NAME", File("deep").c_str(), 0));
    const int32_t keys = 3000;
    ASSERT_TRUE(_SORTINIT(keys, 10, 4));
    for (int32_t n = 1; n <= keys; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "%010ld", (long)n);
        ASSERT_TRUE(_SORTADD(key, &n));
    }
    char pendingKey[16];
    int32_t pendingRecno = 0;
    g_Job->currentError = 0;
    const bool written = _idx_write_tree(Area(), 0, 0, pendingKey, &pendingRecno);
    _SORTDONE();
    EXPECT_FALSE(written);
    EXPECT_EQ((unsigned)DBE_INDEX_BAD, g_Job->currentError);
    g_Job->currentError = 0;
    TakeErrors();
}

// ---- what a build leaves behind ---------------------------------------------------------------

TEST_F(IndexBuild, MakesTheNewIndexControllingOnTheSameRecord)
{
    const std::vector<Row> rows = Rows(300);
    ASSERT_TRUE(Open(rows));
    ASSERT_EQ(7, db_goto(7));
    static std::vector<int> s_positions;
    s_positions.clear();
    db_set_positioncallback([](int area, int position, int direction) {
        s_positions.push_back(area == 1 && direction == 1 ? position : -1);
    });
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    db_set_positioncallback(nullptr);
    std::vector<int> every(rows.size());
    for (size_t i = 0; i < every.size(); ++i)
        every[i] = (int)i + 1;
    EXPECT_EQ(every, s_positions) << "the position callback sees every record once";
    EXPECT_EQ(1u, db_indexord());
    EXPECT_EQ(7u, db_recno());
    const std::vector<long> order = OrderBy(rows, [](const Row& a, const Row& b) { return a.name < b.name; });
    const size_t at = std::find(order.begin(), order.end(), 7) - order.begin();
    ASSERT_LT(at + 1, order.size());
    EXPECT_EQ(order[at + 1], db_skip(1)) << "the next record in key order";
}

TEST_F(IndexBuild, ReindexOfTheControllingIndexGoesToTheTop)
{
    const std::vector<Row> rows = Rows(120);
    ASSERT_TRUE(Open(rows));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    db_goto(50);
    ASSERT_TRUE(db_reindex(1));
    const std::vector<long> order = OrderBy(rows, [](const Row& a, const Row& b) { return a.name < b.name; });
    EXPECT_EQ(order.front(), (long)db_recno());
    EXPECT_EQ(order, Walk());
    EXPECT_EQ(2u, dbf::Get16(Area().indexes[0].header + 2)) << "change counter";
}

TEST_F(IndexBuild, SharedTableReleasesItsLocksAndCountsEveryBuild)
{
    const std::vector<Row> rows = Rows(200);
    ASSERT_TRUE(Open(rows, 0));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    ASSERT_TRUE(db_reindex(0));
    EXPECT_EQ(0u, Area().lockBits) << "the table's file lock is given up";
    EXPECT_EQ(0, Area().indexes[0].lockCount);
    HANDLE other = CreateFileA(File("name.ntx").c_str(), GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, other);
    EXPECT_TRUE(LockRange(other, LOCK_START, 1, FALSE)) << "another station can lock the index";
    UnlockRange(other, LOCK_START, 1);
    CloseHandle(other);
    const std::string image = Image("NAME.NTX");
    EXPECT_EQ(2u, Get16(image, 2)) << "one step of the change counter per build";
    EXPECT_EQ(Expected(rows, NameKey), ntxtest::ScanIndex(image).entries);
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, ReindexOfAllSlotsStopsAtTheFirstFailure)
{
    const std::vector<Row> rows = Rows(150);
    ASSERT_TRUE(Open(rows, 0));
    ASSERT_TRUE(db_index_on(1, "NAME", File("one").c_str(), 0));
    ASSERT_TRUE(db_index_on(3, "AMOUNT", File("three").c_str(), 0));
    ASSERT_EQ(1u, Get16(Image("THREE.NTX"), 2));
    // Slot 1 can no longer write its file.
    s_Index& one = Area().indexes[0];
    CloseHandle(one.file);
    one.file = CreateFileA(File("one.ntx").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, one.file);
    EXPECT_FALSE(db_reindex(0));
    EXPECT_EQ(std::vector<unsigned>{DBE_INDEX_WRITE}, TakeErrors());
    EXPECT_EQ(1u, Get16(Image("ONE.NTX"), 2)) << "the failed build left the old header";
    EXPECT_EQ(1u, Get16(Image("THREE.NTX"), 2)) << "slot 3 was not rebuilt";
    CloseHandle(one.file);
    one.file = CreateFileA(File("one.ntx").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(db_reindex(0));
    EXPECT_EQ(2u, Get16(Image("ONE.NTX"), 2));
    EXPECT_EQ(2u, Get16(Image("THREE.NTX"), 2));
    EXPECT_EQ(Expected(rows, NameKey), ScanFile("ONE.NTX").entries);
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, EmptyingTheTableEmptiesItsIndexes)
{
    ASSERT_TRUE(Open(Rows(300)));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    ASSERT_TRUE(db_index_on(2, "AMOUNT", File("amount").c_str(), 0));
    ASSERT_TRUE(db_zap());
    ASSERT_TRUE(db_close(3));
    for (const char* name : {"NAME.NTX", "AMOUNT.NTX"}) {
        const std::string image = Image(name);
        EXPECT_EQ(2048u, image.size()) << name;
        EXPECT_EQ("", ntxtest::ScanIndex(image).error) << name;
        EXPECT_EQ(0u, ntxtest::ScanIndex(image).entries.size()) << name;
    }
    EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
}

TEST_F(IndexBuild, NameWithoutExtensionGoesToTheCurrentDirectory)
{
    ASSERT_TRUE(Open(Rows(10)));
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(m_dir->Path().c_str()));
    const BOOL created = db_index_on(2, "NAME", "orders", 0);
    char path[MAX_PATH] = {};
    db_get_indexpath(2, path, sizeof path);
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(created);
    EXPECT_STREQ("ORDERS.NTX", path);
    ASSERT_TRUE(db_close(3));
    EXPECT_EQ(2048u, Image("ORDERS.NTX").size()) << "ten keys on one leaf";
}

TEST_F(IndexBuild, RefusesWhatCannotBeBuilt)
{
    ASSERT_TRUE(Open(Rows(20)));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    const std::string tooLong(257, 'A');
    // With ".ntx" added the name no longer fits a path: no shortened name may be made instead.
    const std::string longName = File(std::string(MAX_PATH - File("").size() - 2, 'x'));
    const struct {
        const char* what;
        std::function<BOOL()> call;
        unsigned error;   // 0: none
    } cases[] = {
        {"slot 0", [this] { return db_index_on(0, "NAME", File("x").c_str(), 0); }, DBE_BAD_ORDER},
        {"slot 51", [this] { return db_index_on(51, "NAME", File("x").c_str(), 0); }, DBE_BAD_ORDER},
        {"a path longer than the limit", [&] { return db_index_on(2, "NAME", longName.c_str(), 0); }, DBE_INDEX_OPEN},
        {"an expression of 257 characters", [&] { return db_index_on(2, tooLong.c_str(), File("x").c_str(), 0); }, DBE_EXPR_TOO_LONG},
        {"the file is open in a slot", [this] { return db_index_on(2, "AMOUNT", File("Name.ntx").c_str(), 0); }, DBE_INDEX_IN_USE},
        {"an expression that does not compile", [this] { return db_index_on(2, "NAME +", File("x").c_str(), 0); }, DBE_EXPRESSION},
        {"a logical key", [this] { return db_index_on(2, "AMOUNT > 3", File("x").c_str(), 0); }, DBE_KEY_EVAL},
        {"a key longer than 330", [this] { return db_index_on(2, "NAME+SPACE(330)", File("x").c_str(), 0); }, DBE_EXPR_TOO_LONG},
        {"a file that cannot be made", [this] { return db_index_on(2, "NAME", "no\\such\\dir\\x", 0); }, DBE_INDEX_OPEN},
        {"reindex of slot 51", [] { return db_reindex(51); }, DBE_BAD_ORDER},
        {"reindex of a slot not in use", [] { return db_reindex(4); }, DBE_NO_REINDEX},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(c.error ? std::vector<unsigned>{c.error} : std::vector<unsigned>{}, TakeErrors()) << c.what;
        EXPECT_EQ(0, Area().indexes[1].name[0]) << c.what << ": slot 2 stays empty";
        EXPECT_EQ(1u, db_indexord()) << c.what;
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(File("xxxxxxxx*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << "no file under a shortened name: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// ---- record writing keeps the indexes ---------------------------------------------------------

TEST_F(IndexBuild, AFailedWriteLeavesTheRowAndEveryIndexAsTheyWere)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        SCOPED_TRACE(flags ? "exclusive" : "shared");
        const std::vector<Row> rows = Rows(60);
        ASSERT_TRUE(Open(rows, flags));
        ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_index_on(2, "BORN", File("born").c_str(), 0));
        ASSERT_TRUE(db_close(3));
        // Record 7's date changes behind the engine's back: the date index lacks the key of the
        // date the row holds now.
        const long recno = 7;
        std::vector<Row> changed = rows;
        changed[recno - 1].born = "19000101";
        db_set_exclusive(flags & 0x01);
        ASSERT_TRUE(Use("table.dbf", TableImage(changed), flags));
        db_set_exclusive(1);
        ASSERT_TRUE(db_set_index_to(1, File("name").c_str()));
        ASSERT_TRUE(db_set_index_to(2, File("born").c_str()));
        const std::string table = TableImage(changed);
        TakeErrors();

        ASSERT_EQ(recno, db_goto(recno));
        ASSERT_TRUE(db_rlock(1));
        ASSERT_EQ(BornField(changed[recno - 1]), tabletest::Contents("BORN"));
        ASSERT_TRUE(db_replace("NAME", "Neu"));
        ASSERT_TRUE(db_replace("BORN", "20240229"));
        EXPECT_FALSE(db_write()) << "the old date key is missing";
        EXPECT_EQ(std::vector<unsigned>{DBE_KEY_MISSING}, TakeErrors());
        EXPECT_EQ(NameField(changed[recno - 1]), tabletest::Contents("NAME")) << "the buffer holds the row as stored";
        ASSERT_TRUE(db_unlock(0));
        ASSERT_TRUE(db_close(3));
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors()) << "nothing is left to write at the close";
        EXPECT_EQ(table, Image("table.dbf")) << "the row stays as it was";
        EXPECT_EQ(Expected(rows, NameKey), ScanFile("NAME.NTX").entries) << "the name index keeps the old key";
        EXPECT_EQ(Expected(rows, BornKey), ScanFile("BORN.NTX").entries);
    }
}

TEST_F(IndexBuild, WritesAndAppendsKeepEveryOpenIndex)
{
    for (unsigned flags : {0x01u, 0x00u}) {
        SCOPED_TRACE(flags ? "exclusive" : "shared");
        std::vector<Row> rows = Rows(400);
        ASSERT_TRUE(Open(rows, flags));
        ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
        ASSERT_TRUE(db_index_on(2, "BORN", File("born").c_str(), 0));
        ASSERT_TRUE(db_index_on(3, "AMOUNT", File("amount").c_str(), 0));
        for (int i = 0; i < 150; ++i) {
            const long recno = 1 + (i * 37) % (long)rows.size();
            Row& row = rows[(size_t)recno - 1];
            row.name = "W" + std::to_string(i % 13);
            row.amount = i - 70.25;
            // Dates become empty and empty dates get a date.
            row.born = row.born.empty() ? "20240229" : (i % 2 ? "" : "19991231");
            ASSERT_EQ(recno, db_goto(recno));
            ASSERT_TRUE(db_rlock(1));
            ASSERT_NE("<failed>", tabletest::Contents("NAME"));
            ASSERT_TRUE(db_replace("NAME", row.name.c_str()));
            ASSERT_TRUE(db_replace("AMOUNT", AmountField(row).c_str()));
            ASSERT_TRUE(db_replace("BORN", BornField(row).c_str()));
            ASSERT_TRUE(db_write()) << "record " << recno;
            ASSERT_TRUE(db_unlock(0));
        }
        for (int i = 0; i < 60; ++i) {
            Row row{"A" + std::to_string(i % 7), i * 1.5, i % 3 ? "20000101" : ""};
            rows.push_back(row);
            ASSERT_TRUE(db_blank());
            ASSERT_TRUE(db_replace("NAME", row.name.c_str()));
            ASSERT_TRUE(db_replace("AMOUNT", AmountField(row).c_str()));
            ASSERT_TRUE(db_replace("BORN", BornField(row).c_str()));
            ASSERT_TRUE(db_insert());
        }
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
        ASSERT_TRUE(db_set_order(1));
        EXPECT_EQ(OrderBy(rows, [](const Row& a, const Row& b) { return NameField(a) < NameField(b); }), Walk());
        ASSERT_TRUE(db_close(3));
        EXPECT_EQ(Expected(rows, NameKey), ScanFile("NAME.NTX").entries);
        EXPECT_EQ(Expected(rows, BornKey), ScanFile("BORN.NTX").entries);
        EXPECT_EQ("", ScanFile("AMOUNT.NTX").error);
        // A rebuild of the written table gives the same trees' keys.
        ASSERT_TRUE(Use("table.dbf", Image("table.dbf"), flags));
        ASSERT_TRUE(db_set_index_to(1, File("born.ntx").c_str()));
        ASSERT_TRUE(db_reindex(1));
        ASSERT_TRUE(db_close(3));
        EXPECT_EQ(Expected(rows, BornKey), ScanFile("BORN.NTX").entries);
        EXPECT_EQ(std::vector<unsigned>{}, TakeErrors());
    }
}
