// The locked collections: their operations, the owned-value helpers of the map, and walks (under
// the lock and over snapshots) while another thread adds, removes and clears.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "CLockedList.h"
#include "CLockedMap.h"

namespace {

typedef CLockedList<DWORD, DWORD> CDwordList;
typedef CLockedMap<DWORD, DWORD, DWORD, DWORD> CDwordMap;

// Gives the tests a view of the map's hash table.
class CMapProbe : public CDwordMap {
public:
    bool HasHashTable() const { return m_pHashTable != NULL; }
};

std::vector<DWORD> Elements(CDwordList& list)
{
    std::vector<DWORD> elements;
    CSingleLock lock(list.GetLock(), TRUE);
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        elements.push_back(list.GetNext(pos));
    return elements;
}

// Counts the objects alive, so the tests see what the map's owned-value helpers delete.
class CCounted {
public:
    CCounted() { ++s_nAlive; }
    virtual ~CCounted() { --s_nAlive; }
    static int s_nAlive;
};
int CCounted::s_nAlive = 0;

typedef CLockedMap<DWORD, DWORD, CCounted*, CCounted*> COwningMap;

} // namespace

TEST(CLockedList, OperationsKeepListOrder)
{
    CDwordList list(10);
    POSITION first = list.AddTail(1);
    list.AddTail(2);
    list.AddTail(1);
    list.AddTail(3);
    EXPECT_EQ(4, list.GetCount());
    EXPECT_EQ(1u, list.GetAt(first));
    EXPECT_EQ((std::vector<DWORD>{1, 2, 1, 3}), Elements(list));

    EXPECT_TRUE(list.RemoveValue(1)) << "the first 1 goes";
    EXPECT_EQ((std::vector<DWORD>{2, 1, 3}), Elements(list));
    EXPECT_FALSE(list.RemoveValue(7));
    EXPECT_EQ(3, list.GetCount());

    CArray<DWORD, DWORD> snapshot;
    list.GetSnapshot(snapshot);
    ASSERT_EQ(3, snapshot.GetSize());
    EXPECT_EQ(2u, snapshot[0]);
    EXPECT_EQ(1u, snapshot[1]);
    EXPECT_EQ(3u, snapshot[2]);

    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
}

TEST(CLockedMap, RemovingTheOnlyKeyFreesTheTableAndTheNextInsertMakesItAgain)
{
    CMapProbe map;
    EXPECT_FALSE(map.HasHashTable());
    map.SetAt(5, 50);
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_TRUE(map.RemoveKey(5));
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(nullptr, map.GetStartPosition());
    map[7] = 70;
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(17u, map.GetHashTableSize());
    DWORD value = 0;
    EXPECT_TRUE(map.Lookup(7, value));
    EXPECT_EQ(70u, value);
    EXPECT_FALSE(map.Lookup(5, value));
}

TEST(CLockedMap, OwnedValuesAreDeletedOnceAfterTheirRemoval)
{
    COwningMap map;
    map.SetAt(1, new CCounted);
    map.SetAt(2, new CCounted);
    map.SetAt(3, new CCounted);
    ASSERT_EQ(3, CCounted::s_nAlive);

    EXPECT_EQ(-1, map.RemoveKeyAndDelete(9));
    EXPECT_EQ(3, CCounted::s_nAlive) << "an absent key deletes nothing";
    EXPECT_EQ(0, map.RemoveKeyAndDelete(2));
    EXPECT_EQ(2, CCounted::s_nAlive);
    EXPECT_EQ(2, map.GetCount());

    map.DeleteAllValues();
    EXPECT_EQ(0, CCounted::s_nAlive);
    EXPECT_TRUE(map.IsEmpty());
}

TEST(CLockedMap, SnapshotPairsKeysWithTheirValues)
{
    CDwordMap map;
    for (DWORD key = 1; key <= 40; key++)
        map.SetAt(key, key * 3);
    CArray<DWORD, DWORD> keys, values;
    map.GetSnapshot(keys, values);
    ASSERT_EQ(40, keys.GetSize());
    ASSERT_EQ(40, values.GetSize());
    std::set<DWORD> seen;
    for (int i = 0; i < keys.GetSize(); i++) {
        EXPECT_EQ(keys[i] * 3, values[i]) << "key " << keys[i];
        seen.insert(keys[i]);
    }
    EXPECT_EQ(40u, seen.size());
}

// ---- walks while another thread changes the collection -----------------------------------------
//
// The writer keeps a model of what the collection must hold. Keys below kStable are put in at the
// start and never removed for longer than one locked step (a clear re-adds them under the same
// lock); every other key comes and goes. The readers walk under the collection's lock and over
// snapshots while the writer runs: every walk must see every stable key, each value must belong to
// its key, and a walk under the lock must see exactly GetCount entries. At the end the
// collection must hold exactly the writer's model.

namespace {

const DWORD kStable = 50;
const int kWriterSteps = 100000;

DWORD ValueOf(DWORD key) { return key * 7 + 1; }

struct WalkFailures {
    std::atomic<int> nCount{0};
    std::string strFirst;

    void Report(const std::string& text)
    {
        if (nCount++ == 0)
            strFirst = text;
    }
};

void CheckMapEntries(const std::vector<std::pair<DWORD, DWORD>>& entries, int nExpectedCount, WalkFailures& failures)
{
    std::set<DWORD> keys;
    for (const auto& entry : entries) {
        if (entry.second != ValueOf(entry.first))
            failures.Report("key " + std::to_string(entry.first) + " has value " + std::to_string(entry.second));
        keys.insert(entry.first);
    }
    if (nExpectedCount >= 0 && (int)entries.size() != nExpectedCount)
        failures.Report("walk saw " + std::to_string(entries.size()) + " entries, GetCount " +
                        std::to_string(nExpectedCount));
    for (DWORD key = 0; key < kStable; key++) {
        if (keys.count(key) == 0) {
            failures.Report("stable key " + std::to_string(key) + " missing");
            break;
        }
    }
}

} // namespace

TEST(LockedCollectionsStress, MapWalksWhileAnotherThreadAddsRemovesAndClears)
{
    CDwordMap map;
    std::set<DWORD> model;
    for (DWORD key = 0; key < kStable; key++) {
        map.SetAt(key, ValueOf(key));
        model.insert(key);
    }
    std::atomic<bool> bWriting{true};
    WalkFailures failures;
    std::atomic<int> nWalks{0};
    // The writer begins when both readers run, so that they overlap on a busy machine too.
    std::atomic<int> nReaders{0};

    std::thread writer([&] {
        while (nReaders < 2)
            std::this_thread::yield();
        for (int i = 0; i < kWriterSteps; i++) {
            const DWORD key = kStable + (DWORD)(i % 997);
            if (i % 3 == 2) {
                map.RemoveKey(key);
                model.erase(key);
            } else {
                map.SetAt(key, ValueOf(key));
                model.insert(key);
            }
            if (i % 2500 == 2499) {
                // A clear frees the table and every block; the stable keys come back in the same
                // locked step.
                CSingleLock lock(map.GetLock(), TRUE);
                map.RemoveAll();
                model.clear();
                for (DWORD stable = 0; stable < kStable; stable++) {
                    map.SetAt(stable, ValueOf(stable));
                    model.insert(stable);
                }
            }
        }
        bWriting = false;
    });
    std::thread lockedReader([&] {
        ++nReaders;
        while (bWriting) {
            std::vector<std::pair<DWORD, DWORD>> entries;
            CSingleLock lock(map.GetLock(), TRUE);
            const int nCount = map.GetCount();
            for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
                DWORD key, value;
                map.GetNextAssoc(pos, key, value);
                entries.emplace_back(key, value);
            }
            lock.Unlock();
            CheckMapEntries(entries, nCount, failures);
            nWalks++;
        }
    });
    std::thread snapshotReader([&] {
        ++nReaders;
        while (bWriting) {
            CArray<DWORD, DWORD> keys, values;
            map.GetSnapshot(keys, values);
            std::vector<std::pair<DWORD, DWORD>> entries;
            for (int i = 0; i < keys.GetSize(); i++)
                entries.emplace_back(keys[i], values[i]);
            CheckMapEntries(entries, -1, failures);
            nWalks++;
        }
    });
    writer.join();
    lockedReader.join();
    snapshotReader.join();

    EXPECT_EQ(0, failures.nCount.load()) << "first failure: " << failures.strFirst;
    EXPECT_GT(nWalks.load(), 0);
    CArray<DWORD, DWORD> keys, values;
    map.GetSnapshot(keys, values);
    std::set<DWORD> held;
    for (int i = 0; i < keys.GetSize(); i++)
        held.insert(keys[i]);
    EXPECT_EQ(model, held) << "the map lost or kept entries";
}

TEST(LockedCollectionsStress, ListWalksWhileAnotherThreadAddsRemovesAndClears)
{
    CDwordList list(10);
    std::multiset<DWORD> model;
    for (DWORD value = 0; value < kStable; value++) {
        list.AddTail(value);
        model.insert(value);
    }
    std::atomic<bool> bWriting{true};
    WalkFailures failures;
    std::atomic<int> nWalks{0};
    // The writer begins when both readers run, so that they overlap on a busy machine too.
    std::atomic<int> nReaders{0};

    auto checkWalk = [&](const std::vector<DWORD>& values, int nExpectedCount) {
        if (nExpectedCount >= 0 && (int)values.size() != nExpectedCount)
            failures.Report("walk saw " + std::to_string(values.size()) + " elements, GetCount " +
                            std::to_string(nExpectedCount));
        std::set<DWORD> seen(values.begin(), values.end());
        for (DWORD value = 0; value < kStable; value++) {
            if (seen.count(value) == 0) {
                failures.Report("stable element " + std::to_string(value) + " missing");
                break;
            }
        }
    };

    std::thread writer([&] {
        while (nReaders < 2)
            std::this_thread::yield();
        for (int i = 0; i < kWriterSteps; i++) {
            const DWORD value = kStable + (DWORD)(i % 389);
            if (i % 3 == 2) {
                if (list.RemoveValue(value))
                    model.erase(model.find(value));
            } else {
                list.AddTail(value);
                model.insert(value);
            }
            if (i % 2500 == 2499) {
                CSingleLock lock(list.GetLock(), TRUE);
                list.RemoveAll();
                model.clear();
                for (DWORD stable = 0; stable < kStable; stable++) {
                    list.AddTail(stable);
                    model.insert(stable);
                }
            }
        }
        bWriting = false;
    });
    std::thread lockedReader([&] {
        ++nReaders;
        while (bWriting) {
            std::vector<DWORD> values;
            CSingleLock lock(list.GetLock(), TRUE);
            const int nCount = list.GetCount();
            for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
                values.push_back(list.GetNext(pos));
            lock.Unlock();
            checkWalk(values, nCount);
            nWalks++;
        }
    });
    std::thread snapshotReader([&] {
        ++nReaders;
        while (bWriting) {
            CArray<DWORD, DWORD> snapshot;
            list.GetSnapshot(snapshot);
            checkWalk(std::vector<DWORD>(snapshot.GetData(), snapshot.GetData() + snapshot.GetSize()), -1);
            nWalks++;
        }
    });
    writer.join();
    lockedReader.join();
    snapshotReader.join();

    EXPECT_EQ(0, failures.nCount.load()) << "first failure: " << failures.strFirst;
    EXPECT_GT(nWalks.load(), 0);
    const std::vector<DWORD> held = Elements(list);
    EXPECT_EQ(model, std::multiset<DWORD>(held.begin(), held.end())) << "the list lost or kept elements";
}
