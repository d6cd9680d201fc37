// The b-tree operations on small indexes: splits and deletes with pages of four keys, finding and
// stepping, positioning the work area, the errors of adding and deleting, and damaged files.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "BTree.h"
#include "BoxObj.h"
#include "CtlLog.h"
#include "Job.h"
#include "Locks.h"
#include "NtxTestKit.h"
#include "vlDB07.h"

using namespace ntxtest;
using tabletest::Get16;
using tabletest::Get32;
using tabletest::Put16;
using tabletest::Put32;

namespace {

// Key texts and record numbers.
using Keys = std::vector<std::pair<std::string, int>>;

// The keys of the page at offset, trailing blanks cut, separated by blanks.
std::string PageKeys(const std::string& image, uint32_t offset)
{
    const Sizes s = SizesFor(Get16(image, 14));
    std::string keys;
    for (unsigned e = 0; e < Get16(image, offset); ++e) {
        std::string key = image.substr(offset + Get16(image, offset + 2 + 2 * e) + 8, s.keySize);
        key.erase(key.find_last_not_of(' ') + 1);
        keys += (e ? " " : "") + key;
    }
    return keys;
}

class BTree : public IndexTest {
protected:
    void Add(const Keys& keys)
    {
        for (const auto& k : keys) {
            EXPECT_TRUE(_ntx_add_counted(Slot(), k.first.c_str(), k.second)) << "add " << k.first << "/" << k.second;
            EXPECT_EQ(0u, TakeError()) << "add " << k.first << "/" << k.second;
        }
    }
    void Delete(const Keys& keys)
    {
        for (const auto& k : keys) {
            EXPECT_TRUE(_ntx_delete(Slot(), k.first.c_str(), k.second)) << "delete " << k.first << "/" << k.second;
            EXPECT_EQ(0u, TakeError()) << "delete " << k.first << "/" << k.second;
        }
    }
    // The record number of the current key, 0 when the position is on no key.
    uint32_t CurrentRecno() const
    {
        const uint8_t* entry = _ntx_current_key(Slot());
        return entry ? Get32(std::string((const char*)entry, 8), 4) : 0;
    }
    std::vector<uint32_t> Recnos()
    {
        std::vector<uint32_t> recnos;
        for (const Entry& e : ScanIndex(Commit()).entries)
            recnos.push_back(e.recno);
        return recnos;
    }
};

} // namespace

TEST_F(BTree, SplitsAndDeletesWithPagesOfFourKeys)
{
    const Keys abcde = {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"E", 5}};
    const Keys aToQ = {{"A", 1},  {"B", 2},  {"C", 3},  {"D", 4},  {"E", 5},  {"F", 6},
                       {"G", 7},  {"H", 8},  {"I", 9},  {"J", 10}, {"K", 11}, {"L", 12},
                       {"M", 13}, {"N", 14}, {"O", 15}, {"P", 16}, {"Q", 17}};
    const struct {
        const char* what;
        Keys adds, deletes;
        const char* shape;
        const char* pageAt1024;   // the first leaf, which keeps the upper half of its splits (when in the tree)
        size_t freePages;
    } cases[] = {
        {"E behind A B C D: C goes up", abcde, {}, "[[A B] C [D E]]", "D E", 0},
        {"0 before A B C D: B goes up", {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"0", 5}}, {}, "[[0 A] B [C D]]", "C D", 0},
        {"BB between B and C goes up itself", {{"A", 1}, {"B", 2}, {"C", 3}, {"D", 4}, {"BB", 5}}, {},
         "[[A B] BB [C D]]", "C D", 0},
        {"a full root splits: a third level", aToQ, {},
         "[[[A B] C [D E] F [G H]] I [[J K] L [M N] O [P Q]]]", "P Q", 0},
        {"the right leaf empties: the root gives way, C goes back", abcde, {{"D", 4}, {"E", 5}}, "[A B C]", "", 2},
        {"the left leaf empties: C goes back", abcde, {{"A", 1}, {"B", 2}}, "[C D E]", "C D E", 2},
        {"a separator goes: the key before it takes its place", abcde, {{"C", 3}}, "[[A] B [D E]]", "D E", 0},
        {"every key goes: an empty root leaf", abcde, abcde, "[]", "", 2},
        {"the last leaf empties: O goes back", aToQ, {{"P", 16}, {"Q", 17}},
         "[[[A B] C [D E] F [G H]] I [[J K] L [M N O]]]", "", 1},
        {"a branch page left with its right-hand item only leaves the tree", aToQ,
         {{"P", 16}, {"Q", 17}, {"J", 10}, {"K", 11}}, "[[[A B] C [D E] F [G H]] I [L M N O]]", "", 3},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(EmptyIndex(150)));
        Add(c.adds);
        Delete(c.deletes);
        const std::string image = Commit();
        const Scan scan = ScanIndex(image);
        EXPECT_EQ("", scan.error) << c.what;
        EXPECT_EQ(c.shape, scan.shape) << c.what;
        EXPECT_EQ(c.freePages, scan.freePages) << c.what;
        if (*c.pageAt1024) {
            EXPECT_EQ(c.pageAt1024, PageKeys(image, 1024)) << c.what;
        }
        EXPECT_EQ(0u, TakeError()) << c.what;
    }
}

TEST_F(BTree, EqualKeysStandInRecordNumberOrder)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Add({{"K", 7}, {"K", 3}, {"K", 5}, {"J", 9}, {"L", 1}});
    EXPECT_EQ((std::vector<uint32_t>{9, 3, 5, 7, 1}), Recnos());

    // Equal keys across pages of two keys (the program's composite key size).
    ASSERT_TRUE(Open(EmptyIndex(226)));
    Keys keys;
    for (int r : {8, 2, 6, 4, 1, 7, 3, 5})
        keys.push_back({"SAME", r});
    Add(keys);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8}), Recnos());
}

TEST_F(BTree, FindResults)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Add({{"ABC", 1}, {"ABD", 2}, {"K", 3}, {"K", 5}, {"L", 1}});
    const struct {
        const char* key;
        int found;
        uint32_t at;   // record number of the key the position is on (0: none)
    } finds[] = {
        {"ABC       ", 0, 1}, {"AB", 1, 1},   {"ABCA", 2, 2}, {"B", 2, 3},
        {"Z", 3, 0},          {"K         ", 0, 3}, {"LONGER THAN THE KEY SIZE", 3, 0},
    };
    for (const auto& f : finds) {
        EXPECT_EQ(f.found, _ntx_find(Slot(), f.key)) << f.key;
        EXPECT_EQ(f.at, CurrentRecno()) << f.key;
    }
    const struct {
        const char* key;
        int recno;
        int found;
    } withRecno[] = {
        {"K", 5, 0},   // present
        {"K", 4, 1},   // an equal key with a greater record number follows
        {"K", 9, 1},   // the keys after the equal ones differ
        {"L", 2, 4},   // the end of the index among equal keys
        {"A", 1, 2},
        {"M", 1, 3},
    };
    for (const auto& f : withRecno)
        EXPECT_EQ(f.found, _ntx_find_recno(Slot(), Padded(f.key, 10).c_str(), f.recno)) << f.key << "/" << f.recno;
    EXPECT_EQ(0u, TakeError());
}

TEST_F(BTree, AKeyEqualToASeparatorIsFoundOnTheLeftmostEqualKey)
{
    ASSERT_TRUE(Open(EmptyIndex(150)));
    Add({{"A", 1}, {"B", 2}, {"C", 1}, {"D", 4}, {"C", 9}});
    EXPECT_EQ("[[A B] C [C D]]", ScanIndex(Commit()).shape);
    EXPECT_EQ(1, _ntx_find(Slot(), "C"));
    EXPECT_EQ(1u, CurrentRecno());
    EXPECT_EQ(1, _ntx_step(Slot(), 1));
    EXPECT_EQ(9u, CurrentRecno());
    EXPECT_EQ(0, _ntx_find_recno(Slot(), Padded("C", 150).c_str(), 9));
}

TEST_F(BTree, WalksInBothDirectionsAndStopsAtTheEnds)
{
    ASSERT_TRUE(Open(EmptyIndex(150)));
    Keys keys;
    for (int i = 0; i < 40; ++i)
        keys.push_back({std::string(1, (char)('0' + (i * 7) % 40)), i + 1});
    Add(keys);
    std::vector<uint32_t> forward, backward;
    ASSERT_TRUE(_ntx_first(Slot()));
    do
        forward.push_back(CurrentRecno());
    while (_ntx_step(Slot(), 1) == 1);
    EXPECT_EQ(0u, CurrentRecno()) << "stepping from the last key leaves the position right of it";
    ASSERT_TRUE(_ntx_last(Slot()));
    do
        backward.push_back(CurrentRecno());
    while (_ntx_step(Slot(), -1) == -1);
    EXPECT_EQ(Recnos(), forward);
    EXPECT_EQ(std::vector<uint32_t>(forward.rbegin(), forward.rend()), backward);

    ASSERT_TRUE(_ntx_first(Slot()));
    EXPECT_EQ(0, _ntx_step(Slot(), -1)) << "no key before the first";
    ASSERT_TRUE(_ntx_first(Slot()));
    EXPECT_EQ(10, _ntx_step(Slot(), 10));
    EXPECT_EQ(forward[10], CurrentRecno());
    EXPECT_EQ(29, _ntx_step(Slot(), 100)) << "the keys there are";
    ASSERT_TRUE(_ntx_first(Slot()));
    EXPECT_EQ(39, _ntx_step(Slot(), 39));
    EXPECT_EQ(forward[39], CurrentRecno());
    EXPECT_EQ(0, _ntx_step(Slot(), 1)) << "no key after the last";

    ASSERT_TRUE(Open(EmptyIndex(10)));
    EXPECT_TRUE(_ntx_first(Slot()));
    EXPECT_EQ(0u, CurrentRecno()) << "an empty index has no first key";
    EXPECT_EQ(0, _ntx_step(Slot(), 1));
    EXPECT_EQ(0, _ntx_step(Slot(), -1));
}

TEST_F(BTree, PositionMovesTheAreaToTheRecordOfTheKey)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Keys rows;
    for (int i = 1; i <= 20; ++i)
        rows.push_back({"Row " + std::to_string(i), i});
    Add(rows);
    const struct {
        const char* key;
        int found;
        int32_t recno;
        int eof;
    } cases[] = {
        {"Row 7     ", 0, 7, 0},
        {"Row 1", 1, 1, 0},    // a prefix: the leftmost key that begins so
        {"Row 0", 2, 1, 0},    // the next greater key
        {"Row 99", 3, 0x7FFFFFFF, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.found, _ntx_position(Area(), Slot(), c.key)) << c.key;
        EXPECT_EQ(c.recno, Area().recno) << c.key;
        EXPECT_EQ(c.eof, Area().eof) << c.key;
        EXPECT_EQ(0, Area().bof) << c.key;
        if (!c.eof) {
            EXPECT_EQ(Padded("Row " + std::to_string(c.recno), 10), std::string(Area().record.get() + 1, 10)) << c.key;
        }
    }
    EXPECT_EQ(0u, TakeError());
}

TEST_F(BTree, AddAndDeleteErrors)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Add({{"K", 5}, {"L", 6}});
    const std::string before = Commit();

    EXPECT_FALSE(_ntx_add(Slot(), "K", 5));
    EXPECT_EQ((unsigned)DBE_KEY_EXISTS, TakeError());
    EXPECT_EQ(before, Commit()) << "a key and record number present change nothing";

    EXPECT_FALSE(_ntx_delete(Slot(), "K", 6));
    EXPECT_EQ((unsigned)DBE_KEY_MISSING, TakeError());
    EXPECT_FALSE(_ntx_delete(Slot(), "M", 5));
    EXPECT_EQ((unsigned)DBE_KEY_MISSING, TakeError());
    EXPECT_TRUE(_ntx_delete(Slot(), "K         ", 5));
    EXPECT_EQ(0u, TakeError());
    EXPECT_EQ((std::vector<uint32_t>{6}), Recnos());

    // A key shorter than the key size is stored padded and goes where the padded key sorts.
    Add({{"A", 1}, {"AB", 2}, {"A", 3}});
    EXPECT_EQ((std::vector<uint32_t>{1, 3, 2, 6}), Recnos());

    Slot().packed = 1;
    EXPECT_FALSE(_ntx_add_counted(Slot(), "X", 9));
    EXPECT_EQ((unsigned)DBE_INDEX_PACKED, TakeError());
    EXPECT_FALSE(_ntx_delete(Slot(), "L", 6));
    EXPECT_EQ((unsigned)DBE_INDEX_PACKED, TakeError());
    _ntx_drop_pages(Slot());
    EXPECT_EQ(-1, _ntx_find(Slot(), "L")) << "packed pages come only through the packed reader";
    EXPECT_EQ((unsigned)DBE_READ_RECORD, TakeError());
    Slot().packed = 0;
}

TEST_F(BTree, AUniqueIndexStoresADuplicateAndReportsIt)
{
    ASSERT_TRUE(Open(EmptyIndex(10, 0, 0x0106)));
    EXPECT_TRUE(_ntx_add_counted(Slot(), "K", 2));
    EXPECT_EQ(0u, TakeError());
    EXPECT_TRUE(_ntx_add_counted(Slot(), "K", 1));
    EXPECT_EQ((unsigned)DBE_NOT_UNIQUE, TakeError());
    EXPECT_TRUE(_ntx_add_counted(Slot(), "K", 3));
    EXPECT_EQ((unsigned)DBE_NOT_UNIQUE, TakeError());
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3}), Recnos());

    // A delete that empties a leaf puts the separator before it back into the tree; its equal
    // key was reported when it was added, so nothing is reported now.
    ASSERT_TRUE(Open(EmptyIndex(226, 0, 0x0106)));
    Add({{"A", 1}, {"B", 2}, {"C", 3}});
    EXPECT_TRUE(_ntx_add_counted(Slot(), "B", 4));
    EXPECT_EQ((unsigned)DBE_NOT_UNIQUE, TakeError());
    EXPECT_EQ("[[A] B [B C]]", ScanIndex(Commit()).shape);
    EXPECT_TRUE(_ntx_delete(Slot(), "A", 1));
    EXPECT_EQ(0u, TakeError());
    EXPECT_EQ("[[B] B [C]]", ScanIndex(Commit()).shape);
    EXPECT_EQ((std::vector<uint32_t>{2, 4, 3}), Recnos());
}

TEST_F(BTree, EveryLockPeriodThatChangesRaisesTheCounterByOne)
{
    ASSERT_TRUE(Open(EmptyIndex(10, 65534)));
    Add({{"A", 1}, {"B", 2}});
    EXPECT_EQ(65535u, ScanIndex(Commit()).counter);
    Add({{"C", 3}});
    EXPECT_TRUE(_ntx_delete(Slot(), "A", 1));
    EXPECT_EQ(0u, ScanIndex(Commit()).counter) << "the counter wraps";
    EXPECT_EQ(0u, ScanIndex(Commit()).counter) << "a lock period without change";
}

TEST_F(BTree, CachedPagesAreReadOncePerLockPeriod)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Keys keys;
    for (int i = 0; i < 200; ++i)
        keys.push_back({"K" + std::to_string(i), i + 1});
    Add(keys);
    EXPECT_EQ(2, ScanIndex(Commit()).depth);
    _ntx_drop_pages(Slot());
    const unsigned long before = Slot().pages->PagesRead();
    EXPECT_EQ(1, _ntx_find(Slot(), "K1"));
    EXPECT_EQ(2u, Slot().pages->PagesRead() - before) << "root and leaf";
    EXPECT_EQ(1, _ntx_find(Slot(), "K1"));
    EXPECT_EQ(2u, Slot().pages->PagesRead() - before) << "the second find reads nothing";
    EXPECT_EQ(1, _ntx_find(Slot(), "K99"));
    EXPECT_EQ(3u, Slot().pages->PagesRead() - before) << "another leaf: the root is cached";

    // Another station's change (the counter moved) drops the cache at the next lock.
    UnlockIndex(Area(), 0, FALSE);
    std::string image = oxtest::ReadFileText(m_path);
    Put16(image, 2, Get16(image, 2) + 1);
    ASSERT_TRUE(Overwrite(m_path, image));
    ASSERT_TRUE(LockIndex(Area(), 0, FALSE, TRUE));
    EXPECT_EQ(0u, Slot().pages->PageCount());
    EXPECT_EQ(1, _ntx_find(Slot(), "K1"));
}

TEST_F(BTree, UpWithoutACurrentPageShowsTheBox)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    ASSERT_TRUE(_ntx_first(Slot()));
    oxtest::CtlLog log;
    _ntx_reset(Slot());
    Slot().pages->Up();
    const auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ("TABSTOR", boxes[0][1]);
    EXPECT_EQ("internal error: BoxObj->Up() called with no current page", boxes[0][2]);
    EXPECT_EQ(-1, Slot().level);
}

// ---- damaged files ------------------------------------------------------------------------------

namespace {

// A chain of branch pages from 1024 down, each with one key ("M") whose child is the next page,
// ending in a leaf of two keys ("B", "C"); each page's right-hand child is a shared leaf ("X").
// levels counts the pages on the path, the leaf included. full: pages of two keys (key size 226).
std::string ChainIndex(int levels, bool full)
{
    const unsigned keySize = full ? 226 : 10;
    const uint32_t shared = 1024u * (uint32_t)(levels + 1);
    std::string image = HeaderImage(keySize);
    for (int level = 0; level < levels - 1; ++level) {
        const uint32_t next = 1024u * (uint32_t)(level + 2);
        std::vector<Item> items = {{next, 100u + level, "M"}};
        if (full)
            items.push_back({shared, 200u + level, "N"});
        image += PageImage(keySize, items, shared);
    }
    image += PageImage(keySize, {{0, 1, "B"}, {0, 2, "C"}});
    image += PageImage(keySize, {{0, 3, "X"}});
    return image;
}

} // namespace

TEST_F(BTree, DamagedFilesGiveErrors)
{
    const std::string leaf = PageImage(10, {{0, 1, "A"}, {0, 2, "B"}});
    std::string badOffset = leaf;
    Put16(badOffset, 2, 1020);
    std::string tooMany = leaf;
    Put16(tooMany, 0, 51);
    const struct {
        const char* what;
        std::string image;
        unsigned error;
    } cases[] = {
        {"a truncated root page", HeaderImage(10) + leaf.substr(0, 500), DBE_INDEX_READ},
        {"a root beyond the end of the file", HeaderImage(10, 8192) + leaf, DBE_INDEX_READ},
        {"root offset 0", HeaderImage(10, 0) + leaf, DBE_INDEX_BAD},
        {"a root offset that is no page", HeaderImage(10, 1000) + leaf, DBE_INDEX_BAD},
        {"an item beyond the page's end", HeaderImage(10) + badOffset, DBE_INDEX_BAD},
        {"more keys than max keys", HeaderImage(10) + tooMany, DBE_INDEX_BAD},
        {"a page that is its own child", HeaderImage(10) + PageImage(10, {{1024, 1, "M"}}, 2048) + leaf, DBE_INDEX_BAD},
        {"a path of 21 pages", ChainIndex(21, false), DBE_INDEX_BAD},
        {"a header of other sizes", HeaderImage(10).replace(18, 2, "\x3C\x00", 2) + leaf, DBE_INDEX_BAD},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(c.image)) << c.what;
        TakeError();
        EXPECT_EQ(-1, _ntx_find(Slot(), "B")) << c.what;
        EXPECT_EQ(c.error, TakeError()) << c.what;
        EXPECT_FALSE(_ntx_first(Slot())) << c.what;
        TakeError();
        EXPECT_FALSE(_ntx_add_counted(Slot(), "B", 9)) << c.what;
        EXPECT_EQ(c.error, TakeError()) << c.what;
        // Nothing unusable stays in the cache.
        for (uint32_t offset : {1024u, 2048u}) {
            const IBuffer* page = Slot().pages ? Slot().pages->FindPage(offset) : nullptr;
            if (page) {
                EXPECT_TRUE(ntx::PageValid(page->page, Slot().pages->Geometry())) << c.what << ": page " << offset;
            }
        }
    }
}

TEST_F(BTree, APageWhoseReadFailedIsReadAgain)
{
    const std::string image = HeaderImage(10) + PageImage(10, {{0, 1, "A"}, {0, 2, "B"}});
    ASSERT_TRUE(Open(image.substr(0, 1500)));
    EXPECT_EQ(-1, _ntx_find(Slot(), "B"));
    EXPECT_EQ((unsigned)DBE_INDEX_READ, TakeError());
    EXPECT_EQ(0u, Slot().pages->PageCount()) << "the page that could not be read is not kept";
    ASSERT_TRUE(Overwrite(m_path, image));
    EXPECT_EQ(0, _ntx_find(Slot(), "B         "));
    EXPECT_EQ(0u, TakeError());
}

TEST_F(BTree, ACycleThroughAMiddleChildEndsTheWalk)
{
    // The root's second key leads back to the root.
    const std::string image = HeaderImage(10) + PageImage(10, {{2048, 10, "M"}, {1024, 11, "N"}}, 3072) +
                              PageImage(10, {{0, 1, "A"}, {0, 2, "B"}}) + PageImage(10, {{0, 3, "X"}});
    ASSERT_TRUE(Open(image));
    ASSERT_TRUE(_ntx_first(Slot()));
    int steps = 0;
    while (_ntx_step(Slot(), 1) == 1 && steps < 100)
        ++steps;
    EXPECT_EQ(2, steps) << "A, B, M, then the way back to the root is refused";
    EXPECT_EQ((unsigned)DBE_INDEX_BAD, TakeError());
    EXPECT_EQ(-1, _ntx_find(Slot(), "N"));
    EXPECT_EQ((unsigned)DBE_INDEX_BAD, TakeError());
}

TEST_F(BTree, ASplitThatCannotBeMadeChangesNothing)
{
    // A full root leaf whose free list is damaged: the split needs two pages.
    std::vector<Item> items;
    for (int i = 0; i < 50; ++i)
        items.push_back({0, (uint32_t)i + 1, "K" + std::to_string(100 + i)});
    const std::string full = PageImage(10, items);
    const std::string freeSelf = std::string(1024, '\0').replace(0, 4, std::string("\x00\x08\x00\x00", 4));
    const struct {
        const char* what;
        std::string image;
        unsigned error;
    } cases[] = {
        {"the free list names a page beyond the end", HeaderImage(10, 1024, 8192) + full, DBE_INDEX_READ},
        {"the free list runs in a circle", HeaderImage(10, 1024, 2048) + full + freeSelf, DBE_INDEX_BAD},
        {"the free list names the root", HeaderImage(10, 1024, 1024) + full, DBE_INDEX_BAD},
        {"a 20-level path of full pages", ChainIndex(20, true), DBE_INDEX_BAD},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Open(c.image)) << c.what;
        const std::string key = c.image.size() > 4096 ? "A" : "K0";
        EXPECT_FALSE(_ntx_add_counted(Slot(), key.c_str(), 99)) << c.what;
        EXPECT_EQ(c.error, TakeError()) << c.what;
        const std::string after = Commit();
        EXPECT_EQ(c.image.substr(4), after.substr(4)) << c.what << ": only the counter changed";
        EXPECT_EQ(Get16(c.image, 2) + 1, Get16(after, 2)) << c.what;
    }
}

TEST_F(BTree, TwentyLevelsCanBeFollowed)
{
    ASSERT_TRUE(Open(ChainIndex(20, false)));
    EXPECT_EQ(0, _ntx_find(Slot(), "B         "));
    EXPECT_EQ(1u, CurrentRecno());
    EXPECT_EQ(19, Slot().level);
    EXPECT_EQ(0u, TakeError());
}

TEST_F(BTree, NavigationFollowsTheIndex)
{
    ASSERT_TRUE(Open(EmptyIndex(10)));
    Keys rows;
    for (int i = 1; i <= 20; ++i)
        rows.push_back({"Row " + std::to_string(i), i});
    Add(rows);
    Area().order = 0;
    // Key order: Row 1, Row 10 .. Row 19, Row 2, Row 20, Row 3 .. Row 9.
    std::vector<long> expected = {1, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 2, 20, 3, 4, 5, 6, 7, 8, 9};
    std::vector<long> walked = {db_goto(0)};
    EXPECT_EQ("Row 1     ", tabletest::Contents("INDEXKEY"));
    for (long recno = db_skip(1); recno != 0x7FFFFFFF && walked.size() < 30; recno = db_skip(1))
        walked.push_back(recno);
    EXPECT_EQ(expected, walked);
    EXPECT_EQ(1, db_eof());
    EXPECT_EQ(9, db_goto(-1));
    EXPECT_EQ(8, db_skip(-1));
    EXPECT_EQ(4, db_skip(-4));
    EXPECT_EQ("Row 4     ", tabletest::Contents("INDEXKEY"));
    EXPECT_EQ(1, db_skip(-100));
    EXPECT_EQ(1, db_bof());
    EXPECT_EQ(0u, m_error);
}
