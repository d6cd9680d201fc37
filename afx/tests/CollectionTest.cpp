// Collections: hashing, iteration order and block allocation of the maps, list and array
// behaviour, growth rules and the typed pointer wrappers.
#include <afxcoll.h>
#include <afxtempl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Gives the tests a view of a collection's storage.
template <class BASE> class StorageProbe : public BASE {
public:
    using BASE::BASE;
    bool HasHashTable() const { return this->m_pHashTable != NULL; }
    int BlockCount() const
    {
        int n = 0;
        for (CPlex* p = this->m_pBlocks; p != NULL; p = p->pNext)
            ++n;
        return n;
    }
};

template <class BASE> class ArrayProbe : public BASE {
public:
    int MaxSize() const { return this->m_nMaxSize; }
};

template <class MAP, class KEY, class VALUE> std::vector<KEY> KeysInOrder(const MAP& map)
{
    std::vector<KEY> keys;
    POSITION pos = map.GetStartPosition();
    while (pos != NULL) {
        KEY key;
        VALUE value;
        map.GetNextAssoc(pos, key, value);
        keys.push_back(key);
    }
    return keys;
}

std::vector<DWORD> DwordKeys(const CMap<DWORD, DWORD, int, int>& map)
{
    return KeysInOrder<CMap<DWORD, DWORD, int, int>, DWORD, int>(map);
}

std::vector<std::string> StringKeys(const CMapStringToPtr& map)
{
    std::vector<std::string> keys;
    for (const CString& key : KeysInOrder<CMapStringToPtr, CString, void*>(map))
        keys.push_back((LPCTSTR)key);
    return keys;
}

} // namespace

TEST(MapHashing, KeyHashes)
{
    EXPECT_EQ(0x123u, HashKey<DWORD>(0x1234));
    EXPECT_EQ(0x0FFFFFFFu, HashKey<DWORD>(0xFFFFFFF0));
    // h = 33 h + c, with the characters taken as signed: 'ä' counts as -28.
    EXPECT_EQ(0x61u, HashKey<LPCTSTR>("a"));
    EXPECT_EQ(0x0029D13Du, HashKey<LPCTSTR>("März"));
    EXPECT_EQ(0xFFFFFFAEu, HashKey<LPCTSTR>("®"));
    EXPECT_EQ(HashKey<LPCTSTR>("März"), HashKey<const CString&>(CString("März")));
}

TEST(MapOrder, DwordKeysIterateByBucketThenNewestFirst)
{
    // Buckets: (key >> 4) % 17. 0x00 and 0x110 share bucket 0; 0x10, 0x120 and 0x230 bucket 1.
    CMap<DWORD, DWORD, int, int> map;
    for (DWORD key : {0x00u, 0x10u, 0x110u, 0x20u, 0x120u, 0x230u})
        map[key] = (int)key;
    EXPECT_EQ((std::vector<DWORD>{0x110, 0x00, 0x230, 0x120, 0x10, 0x20}), DwordKeys(map));

    map[0x10] = 99; // replacing a value keeps the order
    EXPECT_EQ((std::vector<DWORD>{0x110, 0x00, 0x230, 0x120, 0x10, 0x20}), DwordKeys(map));

    EXPECT_TRUE(map.RemoveKey(0x120));
    EXPECT_FALSE(map.RemoveKey(0x120));
    EXPECT_EQ((std::vector<DWORD>{0x110, 0x00, 0x230, 0x10, 0x20}), DwordKeys(map));

    map.SetAt(0x120, 1); // back at the head of its bucket
    EXPECT_EQ((std::vector<DWORD>{0x110, 0x00, 0x120, 0x230, 0x10, 0x20}), DwordKeys(map));

    int value = 0;
    EXPECT_TRUE(map.Lookup(0x10, value));
    EXPECT_EQ(99, value);
    EXPECT_FALSE(map.Lookup(0x11, value));
}

TEST(MapOrder, StringKeysUseTheStringHash)
{
    // Buckets: "Grüße" 2, "®" 4, "März" 5, "Mittwoch" and "q" 11, "a" 12, "Öl" 15.
    CMapStringToPtr map;
    for (const char* key : {"a", "Mittwoch", "März", "q", "Grüße", "®", "Öl"})
        map[key] = (void*)key;
    EXPECT_EQ((std::vector<std::string>{"Grüße", "®", "März", "q", "Mittwoch", "a", "Öl"}), StringKeys(map));

    void* p = NULL;
    EXPECT_TRUE(map.Lookup(CString("März"), p));
    EXPECT_FALSE(map.Lookup("märz", p));
}

TEST(MapOrder, TableKeepsItsSizeAsTheMapGrows)
{
    CMap<DWORD, DWORD, int, int> map;
    for (DWORD key = 0; key < 1000; ++key)
        map[key * 7] = (int)key;
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_EQ(1000, map.GetCount());
    std::vector<DWORD> keys = DwordKeys(map);
    ASSERT_EQ(1000u, keys.size());
    for (size_t i = 1; i < keys.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LE((keys[i - 1] >> 4) % 17, (keys[i] >> 4) % 17);
    }

    CMap<DWORD, DWORD, int, int> sized;
    sized.InitHashTable(31);
    sized[0x10] = 1;
    sized[0x200] = 2; // with 31 buckets both keys share bucket 1 (with 17: buckets 1 and 15)
    EXPECT_EQ(31u, sized.GetHashTableSize());
    EXPECT_EQ((std::vector<DWORD>{0x200, 0x10}), DwordKeys(sized));
}

TEST(MapStorage, TableIsMadeOnFirstInsertionAndFreedWithTheLastEntry)
{
    StorageProbe<CMap<DWORD, DWORD, int, int>> map;
    EXPECT_EQ(17u, map.GetHashTableSize());
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(NULL, map.GetStartPosition());
    EXPECT_FALSE(map.RemoveKey(1));

    map[1] = 1;
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(BEFORE_START_POSITION, map.GetStartPosition());

    EXPECT_TRUE(map.RemoveKey(1));
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(0, map.BlockCount());
    EXPECT_TRUE(map.IsEmpty());

    map[2] = 2;
    EXPECT_TRUE(map.HasHashTable());
    EXPECT_EQ(17u, map.GetHashTableSize());
    map[3] = 3;
    map.RemoveAll();
    EXPECT_FALSE(map.HasHashTable());
    EXPECT_EQ(0, map.BlockCount());
    EXPECT_EQ(0, map.GetCount());
}

TEST(MapStorage, EntriesComeInBlocksOfTheBlockSize)
{
    const struct {
        int nBlockSize;
        int nEntries;
        int nBlocks;
    } cases[] = {{10, 10, 1}, {10, 11, 2}, {3, 7, 3}, {1, 4, 4}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nBlockSize);
        StorageProbe<CMapPtrToPtr> map(c.nBlockSize);
        for (int i = 0; i < c.nEntries; ++i)
            map[(void*)(INT_PTR)(i + 1)] = NULL;
        EXPECT_EQ(c.nBlocks, map.BlockCount());
        // Freed entries are reused before a new block is made.
        map.RemoveKey((void*)(INT_PTR)1);
        map[(void*)(INT_PTR)100] = NULL;
        EXPECT_EQ(c.nBlocks, map.BlockCount());
    }
}

TEST(ListStorage, NodesComeInBlocksAndGoWithTheLastElement)
{
    StorageProbe<CList<int, int>> list(4);
    for (int i = 0; i < 9; ++i)
        list.AddTail(i);
    EXPECT_EQ(3, list.BlockCount());
    while (list.GetCount() > 1)
        list.RemoveHead();
    EXPECT_EQ(3, list.BlockCount());
    EXPECT_EQ(8, list.RemoveTail());
    EXPECT_EQ(0, list.BlockCount());
}

TEST(List, InsertRemoveAndFind)
{
    CStringList list;
    POSITION posB = list.AddTail("b");
    list.AddHead("a");
    list.AddTail("d");
    list.InsertAfter(posB, CString("c"));
    list.InsertBefore(list.GetHeadPosition(), "0");

    std::string joined;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        joined += (LPCTSTR)list.GetNext(pos);
    EXPECT_EQ("0abcd", joined);

    std::string backwards;
    for (POSITION pos = list.GetTailPosition(); pos != NULL;)
        backwards += (LPCTSTR)list.GetPrev(pos);
    EXPECT_EQ("dcba0", backwards);

    EXPECT_EQ(posB, list.Find("b"));
    EXPECT_EQ(NULL, list.Find("b", posB));
    EXPECT_EQ(posB, list.FindIndex(2));
    EXPECT_EQ(NULL, list.FindIndex(5));

    list.RemoveAt(posB);
    EXPECT_EQ(4, list.GetCount());
    EXPECT_STREQ("0", list.RemoveHead());
    EXPECT_STREQ("d", list.RemoveTail());
    EXPECT_STREQ("a", list.GetHead());
    EXPECT_STREQ("c", list.GetTail());
}

TEST(List, EmptyListRefusesHeadAndTail)
{
    CPtrList list;
    bool bThrown = false;
    try {
        list.RemoveHead();
    } catch (CInvalidArgException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(Array, GrowthRules)
{
    // The first block is exact; later growth uses the grow-by value, or size/8 within [4, 1024].
    const struct {
        const char* name;
        int nInitial;
        int nGrowBy;
        int nMaxAfterAdd;
    } cases[] = {
        {"first element", 0, -1, 1},
        {"small array grows by 4", 1, -1, 5},
        {"size/8", 100, -1, 112},
        {"at most 1024", 10000, -1, 11024},
        {"explicit grow-by", 5, 2, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ArrayProbe<CDWordArray> array;
        if (c.nInitial > 0)
            array.SetSize(c.nInitial, c.nGrowBy);
        EXPECT_EQ(c.nInitial, array.MaxSize());
        array.Add(7);
        EXPECT_EQ(c.nInitial + 1, array.GetSize());
        EXPECT_EQ(c.nMaxAfterAdd, array.MaxSize());
    }

    // Growth to a size beyond the next step allocates exactly that size.
    ArrayProbe<CDWordArray> array;
    array.SetSize(5, 2);
    array.SetSize(20);
    EXPECT_EQ(20, array.MaxSize());
    array.FreeExtra();
    EXPECT_EQ(20, array.MaxSize());
    array.SetSize(3);
    EXPECT_EQ(20, array.MaxSize());
    array.FreeExtra();
    EXPECT_EQ(3, array.MaxSize());
}

TEST(Array, NewElementsAreZeroAndIndexesAreChecked)
{
    CUIntArray array;
    array.SetSize(3);
    EXPECT_EQ(0u, array[2]);
    array.SetAtGrow(5, 9);
    EXPECT_EQ(6, array.GetSize());
    EXPECT_EQ(0u, array[4]);
    bool bThrown = false;
    try {
        array.GetAt(6);
    } catch (CInvalidArgException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
}

TEST(Array, InsertAndRemoveKeepElementsThatCannotBeCopiedBitwise)
{
    CArray<std::string, const std::string&> array;
    for (int i = 0; i < 5; ++i)
        array.Add(std::string(40, (char)('a' + i))); // longer than the small-string buffer
    array.InsertAt(1, std::string("x"), 2);
    array.RemoveAt(4);
    std::vector<std::string> expected = {std::string(40, 'a'), "x", "x", std::string(40, 'b'), std::string(40, 'd'),
                                         std::string(40, 'e')};
    ASSERT_EQ((int)expected.size(), array.GetSize());
    for (int i = 0; i < array.GetSize(); ++i)
        EXPECT_EQ(expected[i], array[i]);
}

TEST(Array, AddingAnElementOfTheArrayItselfSurvivesGrowth)
{
    CArray<CString, const CString&> array;
    array.Add(CString("erstes"));
    for (int i = 0; i < 50; ++i)
        array.Add(array[0]); // grows several times while the argument lies in the array
    for (int i = 0; i < array.GetSize(); ++i)
        EXPECT_STREQ("erstes", array[i]);
    array.InsertAt(0, array[10], 3);
    EXPECT_EQ(54, array.GetSize());
    EXPECT_STREQ("erstes", array[0]);
}

TEST(Array, CopyAppendAndInsertArray)
{
    CStringArray a, b;
    a.Add("1");
    a.Add(CString("2"));
    b.Copy(a);
    b.Append(a);
    b.InsertAt(1, &a);
    std::string joined;
    for (int i = 0; i < b.GetSize(); ++i)
        joined += (LPCTSTR)b[i];
    EXPECT_EQ("112212", joined);
    b.RemoveAll();
    EXPECT_EQ(0, b.GetSize());
}

namespace {
class CListItem : public CObject {
public:
    explicit CListItem(int n) : m_n(n) {}
    int m_n;
};
} // namespace

TEST(TypedPointers, WrappersGiveTheElementType)
{
    CListItem one(1), two(2);

    CTypedPtrList<CObList, CListItem*> list;
    list.AddTail(&one);
    list.AddHead(&two);
    EXPECT_EQ(2, list.GetHead()->m_n);
    EXPECT_EQ(1, list.GetTail()->m_n);
    POSITION pos = list.GetHeadPosition();
    EXPECT_EQ(&two, list.GetNext(pos));
    EXPECT_EQ(&one, list.GetNext(pos));

    CTypedPtrArray<CPtrArray, CListItem*> array;
    array.Add(&one);
    array.SetAtGrow(2, &two);
    EXPECT_EQ(1, array[0]->m_n);
    EXPECT_EQ(nullptr, array[1]);
    EXPECT_EQ(2, array.GetAt(2)->m_n);

    CTypedPtrMap<CMapStringToOb, CString, CListItem*> map;
    map.SetAt("eins", &one);
    map["zwei"] = &two;
    CListItem* pFound = NULL;
    EXPECT_TRUE(map.Lookup("zwei", pFound));
    EXPECT_EQ(&two, pFound);
    EXPECT_TRUE(map.RemoveKey("eins"));
    POSITION mapPos = map.GetStartPosition();
    CString key;
    CListItem* pValue = NULL;
    map.GetNextAssoc(mapPos, key, pValue);
    EXPECT_STREQ("zwei", key);
    EXPECT_EQ(&two, pValue);
    EXPECT_EQ(NULL, mapPos);
}
