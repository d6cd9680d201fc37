// The keys of loaded entries and their collections: the record id and footprint of a key, its
// references (maps, day lists, holders), the day index's additions and removals (first match per
// day, by record id, retiring the key), and threads that read while others add, remove and empty.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "CDayIndex.h"
#include "CItemMap.h"
#include "CItemVersion.h"

namespace {

// A key held by the test only.
CItemVersionRef NewKey(long nId, short nFootprint = 0) { return CItemVersionRef(new CItemVersion(nId, nFootprint), FALSE); }

} // namespace

TEST(ItemVersionTest, FromTheRowTexts)
{
    const struct {
        const char* id;
        const char* footprint;
        long recordId;
        short footprintValue;
        const char* idText;
    } cases[] = {
        {"0123456789", "0042", 123456789, 42, "0123456789"},
        {"2147483647", "9998", 2147483647L, 9998, "2147483647"},
        {"", "", 0, 0, "0000000000"},
        {"kaputt", "x1", 0, 0, "0000000000"},
        {"  17", "0007", 17, 7, "0000000017"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        CItemVersionRef key(new CItemVersion(c.id, c.footprint), FALSE);
        EXPECT_EQ(c.recordId, key->GetRecordId());
        EXPECT_EQ(c.footprintValue, key->GetFootprint());
        EXPECT_STREQ(c.idText, key->GetIdText());
    }
}

// Each holder keeps one reference; the key lives until the last one goes.
TEST(ItemVersionTest, ReferencesOfMapsDayListsAndHolders)
{
    CItemVersionRef key = NewKey(5);
    CItemVersionRef replacement = NewKey(5, 1);
    {
        CItemMap map;
        CDayIndex index;
        key->AddRef();
        map.Add(key.Get());
        EXPECT_EQ(2, key->GetRefCount());
        EXPECT_EQ(1, index.Add(100, key.Get()));
        EXPECT_EQ(1, index.Add(101, key.Get()));
        EXPECT_EQ(4, key->GetRefCount());
        {
            CItemVersionRef found = map.Find(5);
            ASSERT_TRUE((bool)found);
            EXPECT_EQ(key.Get(), found.Get());
            EXPECT_EQ(5, key->GetRefCount());
        }
        EXPECT_FALSE((bool)map.Find(6));
        // Another key under the same id takes the place of the first, which the map lets go of.
        replacement->AddRef();
        map.Add(replacement.Get());
        EXPECT_EQ(3, key->GetRefCount());
        EXPECT_TRUE(key->IsRetired());
        EXPECT_EQ(1, map.GetCount());
        EXPECT_EQ(2, replacement->GetRefCount());
    }
    EXPECT_EQ(1, key->GetRefCount()) << "the day lists let go when the index went";
    EXPECT_EQ(1, replacement->GetRefCount());
    EXPECT_TRUE(replacement->IsRetired()) << "emptying the map retires its keys";
}

TEST(ItemMapTest, RemoveAndDeleteAll)
{
    CItemMap map;
    std::vector<CItemVersionRef> keys;
    for (long nId = 1; nId <= 3; ++nId) {
        keys.push_back(NewKey(nId));
        keys.back()->AddRef();
        map.Add(keys.back().Get());
    }
    EXPECT_EQ(0, map.RemoveKeyAndDelete(2));
    EXPECT_EQ(-1, map.RemoveKeyAndDelete(2)) << "an absent key: nothing deleted";
    EXPECT_EQ(1, keys[1]->GetRefCount());
    EXPECT_TRUE(keys[1]->IsRetired());
    EXPECT_FALSE(keys[0]->IsRetired());
    map.DeleteAllValues();
    EXPECT_TRUE(map.IsEmpty());
    for (const CItemVersionRef& key : keys) {
        EXPECT_EQ(1, key->GetRefCount());
        EXPECT_TRUE(key->IsRetired());
    }
    // The map is usable again after it was emptied.
    CItemVersionRef again = NewKey(9);
    again->AddRef();
    map.Add(again.Get());
    EXPECT_EQ(9, map.Find(9)->GetRecordId());
}

TEST(DayIndexTest, AddAndRemove)
{
    CDayIndex index;
    CItemVersionRef a = NewKey(1), b = NewKey(2);
    // Keys are appended without a duplicate check.
    EXPECT_EQ(1, index.Add(10, a.Get()));
    EXPECT_EQ(1, index.Add(10, a.Get()));
    EXPECT_EQ(1, index.Add(10, b.Get()));
    EXPECT_EQ(1, index.Add(11, a.Get()));
    EXPECT_EQ(3, index.GetDayCount(10));
    EXPECT_EQ((std::vector<long>{10, 10, 11}), index.GetDaysOf(1));

    // Removal goes by record id (another key object of the same id will do), takes the first match
    // of each day only, and retires the key it was given.
    CItemVersionRef sameId = NewKey(1, 3);
    EXPECT_EQ(1, index.Remove(sameId.Get()));
    EXPECT_TRUE(sameId->IsRetired());
    EXPECT_EQ((std::vector<long>{10}), index.GetDaysOf(1));
    EXPECT_EQ(1, index.Remove(a.Get()));
    EXPECT_TRUE(index.GetDaysOf(1).empty());
    EXPECT_EQ(0, index.Remove(a.Get()));
    EXPECT_EQ(1, a->GetRefCount());
    // A retired key is not taken again; the emptied day stays in the index.
    EXPECT_EQ(0, index.Add(12, a.Get()));
    EXPECT_EQ(0, index.GetDayCount(12));
    EXPECT_EQ(0, index.GetDayCount(11));
    EXPECT_EQ(2, index.GetCount());
    ASSERT_EQ(1u, index.GetDayKeys(10).size());
    EXPECT_EQ(2, index.GetDayKeys(10)[0]->GetRecordId());
    EXPECT_TRUE(index.GetDayKeys(99).empty());
}

// A removal reaches every day the key was added on, singly or in chunks, however far apart the
// days lie, also after the index was emptied and filled again; other keys stay.
TEST(DayIndexTest, RemoveReachesEveryDayAdded)
{
    CDayIndex index;
    CItemVersionRef series = NewKey(5), other = NewKey(6);
    CList<DWORD, DWORD> days;
    for (DWORD nDay : {3u, 700u, 36000u, 72000u, 72001u})
        days.AddTail(nDay);
    POSITION pos = days.GetHeadPosition();
    EXPECT_EQ(2, index.AddDays(days, pos, 2, series.Get()));
    EXPECT_EQ(3, index.AddDays(days, pos, 256, series.Get()));
    EXPECT_EQ(1, index.Add(9, series.Get()));
    EXPECT_EQ(1, index.Add(700, other.Get()));
    EXPECT_EQ((std::vector<long>{3, 9, 700, 36000, 72000, 72001}), index.GetDaysOf(5));

    EXPECT_EQ(1, index.Remove(series.Get()));
    EXPECT_TRUE(index.GetDaysOf(5).empty());
    EXPECT_EQ((std::vector<long>{700}), index.GetDaysOf(6));
    EXPECT_EQ(1, series->GetRefCount()) << "every list let its reference go";

    index.DeleteAllValues();
    CItemVersionRef again = NewKey(6, 2);
    EXPECT_EQ(1, index.Add(41, again.Get()));
    EXPECT_EQ(1, index.Remove(again.Get()));
    EXPECT_TRUE(index.GetDaysOf(6).empty());
    EXPECT_EQ(1, other->GetRefCount());
}

// Readers take copies of day lists and of the map while writers replace keys and empty the
// collections, as reloads do; the keys a reader holds stay valid, the stable entries are always
// there, and when all is done every key is back to the test's reference only.
TEST(DayIndexTest, ReadersWhileWritersReplaceAndEmpty)
{
    CDayIndex index;
    CItemMap map;
    const int kStable = 20, kChurned = 30;
    std::vector<CItemVersionRef> stable;
    for (int i = 0; i < kStable; ++i) {
        stable.push_back(NewKey(1000 + i));
        stable.back()->AddRef();
        map.Add(stable.back().Get());
        index.Add(7, stable.back().Get());
    }
    std::atomic<bool> done{false};
    std::atomic<int> incomplete{0}, walks{0};
    auto reader = [&] {
        while (!done) {
            int nStable = 0;
            for (const CItemVersionRef& key : index.GetDayKeys(7))
                if (key->GetRecordId() >= 1000)
                    ++nStable;
            if (nStable != kStable)
                ++incomplete;
            nStable = 0;
            for (const CItemVersionRef& key : map.GetKeys())
                if (key->GetRecordId() >= 1000)
                    ++nStable;
            if (nStable != kStable)
                ++incomplete;
            ++walks;
        }
    };
    std::thread readers[] = {std::thread(reader), std::thread(reader)};
    std::thread writer([&] {
        const DWORD dwStart = GetTickCount();
        for (int round = 0; GetTickCount() - dwStart < 2000; ++round) {
            for (long nId = 1; nId <= kChurned; ++nId) {
                if (CItemVersionRef old = map.Find(nId)) {
                    index.Remove(old.Get());
                    map.RemoveKeyAndDelete((DWORD)nId);
                }
                CItemVersionRef key = NewKey(nId, (short)(round % 9999));
                key->AddRef();
                map.Add(key.Get());
                for (long nDay = 5; nDay <= 9; ++nDay)
                    index.Add(nDay, key.Get());
            }
        }
        done = true;
    });
    writer.join();
    for (std::thread& t : readers)
        t.join();
    EXPECT_EQ(0, incomplete.load());
    EXPECT_GT(walks.load(), 2);
    EXPECT_EQ(kStable + kChurned, index.GetDayCount(7));
    for (long nId = 1; nId <= kChurned; ++nId)
        EXPECT_EQ((std::vector<long>{5, 6, 7, 8, 9}), index.GetDaysOf(nId)) << nId;
    index.DeleteAllValues();
    map.DeleteAllValues();
    for (const CItemVersionRef& key : stable)
        EXPECT_EQ(1, key->GetRefCount());
}
