// The external key sort of index builds: both run modes against std::stable_sort, the run layout,
// keys that begin with a 0 byte, the announced count, the temporary file and the sort orders (the
// engine's objects are linked into this program).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "Area.h"
#include "Collation.h"
#include "Job.h"
#include "KeySort.h"
#include "TableTestKit.h"

namespace {

struct Entry {
    std::string key;
    int32_t recno;
    bool operator==(const Entry& other) const { return key == other.key && recno == other.recno; }
};

std::string Show(const Entry& e)
{
    std::string text = "'";
    for (unsigned char c : e.key) {
        char escaped[8];
        if (c >= 0x20 && c < 0x7F && c != '\\')
            text += (char)c;
        else {
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            text += escaped;
        }
    }
    return text + "' #" + std::to_string(e.recno);
}

// The first difference of two entry sequences, with both entries.
void ExpectSequence(const std::vector<Entry>& expected, const std::vector<Entry>& actual, const std::string& what)
{
    EXPECT_EQ(expected.size(), actual.size()) << what << ": number of entries";
    for (size_t i = 0; i < std::min(expected.size(), actual.size()); ++i)
        if (!(expected[i] == actual[i])) {
            ADD_FAILURE() << what << ": entry " << i << ": expected " << Show(expected[i]) << ", got " << Show(actual[i]);
            return;
        }
}

// How the runs are kept, set through the profile's switches ("ReindexTryAlloc" -1: no switch
// written, the defaults apply).
struct Mode {
    const char* name;
    int tryAlloc;
    int allocFlags;
    bool fileMode;
};
const Mode kDefaults{"no switches", -1, 0, false};
const Mode kMovable{"memory, movable blocks", 1, GMEM_MOVEABLE, false};
const Mode kFile{"file", 0, 0, true};

// Entries of keys padded with blanks to the longest, record numbers 1, 2, … in the given order.
std::vector<Entry> Padded(const std::vector<std::string>& keys, size_t keySize)
{
    std::vector<Entry> entries;
    for (const auto& k : keys) {
        std::string key = k;
        key.resize(keySize, ' ');
        entries.push_back({key, (int32_t)entries.size() + 1});
    }
    return entries;
}

size_t LongestKey(const std::vector<std::string>& keys)
{
    size_t n = 1;
    for (const auto& k : keys)
        n = std::max(n, k.size());
    return n;
}

// count entries: a quarter random keys, a quarter from a small pool (equal keys within and
// across runs), half pool keys with one byte changed (keys that part late); record numbers
// 1..count in random order.
std::vector<Entry> RandomEntries(std::mt19937& random, int keySize, int count, const std::string& alphabet)
{
    auto randomKey = [&] {
        std::string key((size_t)keySize, ' ');
        for (auto& c : key)
            c = alphabet[random() % alphabet.size()];
        return key;
    };
    std::vector<std::string> pool(16);
    for (auto& p : pool)
        p = randomKey();
    std::vector<int32_t> recnos((size_t)count);
    std::iota(recnos.begin(), recnos.end(), 1);
    std::shuffle(recnos.begin(), recnos.end(), random);
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        std::string key;
        switch (random() % 4) {
        case 0: key = randomKey(); break;
        case 1: key = pool[random() % pool.size()]; break;
        default:
            key = pool[random() % pool.size()];
            key[random() % key.size()] = alphabet[random() % alphabet.size()];
            break;
        }
        entries.push_back({key, recnos[(size_t)i]});
    }
    return entries;
}

class KeySortTest : public tabletest::TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        m_profile = File("switches.ini");
        _sort_profile_file(m_profile.c_str());
        // A temporary directory of the test's own, so that its "idx" files can be counted.
        m_temp = File("tmp");
        ASSERT_TRUE(CreateDirectoryA(m_temp.c_str(), nullptr));
        char old[MAX_PATH];
        const DWORD length = GetEnvironmentVariableA("TMP", old, sizeof old);
        m_hadTmp = length > 0 && length < sizeof old;
        if (m_hadTmp)
            m_oldTmp = old;
        SetEnvironmentVariableA("TMP", m_temp.c_str());
        // A table whose sort order the keys follow.
        ASSERT_TRUE(Use("keys.dbf", tabletest::DbfImage({{"NAME", 'C', 10, 0}}, {})));
    }

    void TearDown() override
    {
        _SORTDONE();
        _sort_profile_file(nullptr);
        SetEnvironmentVariableA("TMP", m_hadTmp ? m_oldTmp.c_str() : nullptr);
        TableTest::TearDown();
    }

    void SetMode(const Mode& mode)
    {
        const char* p = m_profile.c_str();
        if (mode.tryAlloc < 0) {
            WritePrivateProfileStringA("Tabstor", nullptr, nullptr, p);
            return;
        }
        WritePrivateProfileStringA("Tabstor", "ReindexTryAlloc", std::to_string(mode.tryAlloc).c_str(), p);
        WritePrivateProfileStringA("Tabstor", "ReindexAllocFlags", std::to_string(mode.allocFlags).c_str(), p);
    }

    // Names and sizes of the "idx" files in the test's temporary directory.
    std::vector<std::pair<std::string, uint64_t>> IdxFiles() const
    {
        std::vector<std::pair<std::string, uint64_t>> files;
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((m_temp + "\\idx*").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return files;
        do
            files.push_back({fd.cFileName, ((uint64_t)fd.nFileSizeHigh << 32) | fd.nFileSizeLow});
        while (FindNextFileA(h, &fd));
        FindClose(h);
        return files;
    }

    // Sorts the entries in the mode and answers what came out up to the end signal; every
    // refusal on the way fails the test.
    std::vector<Entry> Sort(const std::vector<Entry>& in, int keySize, const Mode& mode, const std::string& what)
    {
        SetMode(mode);
        std::vector<Entry> out;
        if (!_SORTINIT((int32_t)in.size(), keySize, 4)) {
            ADD_FAILURE() << what << ": _SORTINIT failed with error " << m_error;
            return out;
        }
        EXPECT_EQ(mode.fileMode, _sort_layout().fileMode) << what << ": file mode";
        for (const auto& e : in)
            if (!_SORTADD(e.key.data(), &e.recno)) {
                ADD_FAILURE() << what << ": _SORTADD failed with error " << m_error;
                return out;
            }
        std::string entry((size_t)keySize + 4, 'x');
        for (size_t i = 0; i <= in.size(); ++i) {
            bool end = false;
            if (!_SORTNEXT(entry.data(), &end)) {
                ADD_FAILURE() << what << ": _SORTNEXT failed after " << out.size() << " entries";
                break;
            }
            if (end) {
                EXPECT_EQ(0, entry[0]) << what << ": first byte at the end";
                break;
            }
            int32_t recno;
            std::memcpy(&recno, entry.data() + keySize, 4);
            out.push_back({entry.substr(0, (size_t)keySize), recno});
        }
        bool end = false;
        EXPECT_TRUE(_SORTNEXT(entry.data(), &end) && end) << what << ": the end signal stays";
        _SORTDONE();
        return out;
    }

    std::string m_profile;
    std::string m_temp;
    std::string m_oldTmp;
    bool m_hadTmp = false;
};

// ---- order ----------------------------------------------------------------------------------

// Random entries of many sizes, sorted in memory and in file mode, against std::stable_sort with
// the same comparison: the key over the key size in the area's sort order, then the record number.
TEST_F(KeySortTest, MatchesStableSortInBothModes)
{
    struct Size {
        int keySize;
        int count;
    };
    const Size sizes[] = {{10, 0},    {10, 1},   {10, 2},    {10, 4661},  {10, 4662}, {10, 20000}, {1, 30000},
                          {250, 255}, {250, 257}, {250, 1000}, {250, 2600}, {226, 5000}, {226, 30000}};
    const int orders[] = {DB_SORT_ASCII, DB_SORT_GERMAN_TABLE, DB_SORT_GERMAN_ALTERNATE};
    const std::string alphabet("\0 0AaZz/\\(\x84\x8E\x99\x9A\xE1\xFF", 16);
    std::mt19937 random(20240517);
    for (int order : orders) {
        ASSERT_TRUE(db_set_sortorder(order));
        const s_Collation collation{order, 0};
        for (const Size& size : sizes) {
            const std::vector<Entry> in = RandomEntries(random, size.keySize, size.count, alphabet);
            std::vector<Entry> expected = in;
            std::stable_sort(expected.begin(), expected.end(), [&](const Entry& a, const Entry& b) {
                const int c = _str_compare_n(collation, a.key.c_str(), b.key.c_str(), (size_t)size.keySize);
                return c != 0 ? c < 0 : a.recno < b.recno;
            });
            for (const Mode& mode : {kDefaults, kFile}) {
                const std::string what = "order " + std::to_string(order) + ", key size " + std::to_string(size.keySize) +
                                         ", " + std::to_string(size.count) + " entries, " + mode.name;
                ExpectSequence(expected, Sort(in, size.keySize, mode, what), what);
            }
        }
    }
}

// German Replace (whose comparison over n characters is no strict order when umlauts meet their
// spellings) still gives the same sequence in every mode.
TEST_F(KeySortTest, MemoryAndFileModeGiveTheSameSequence)
{
    ASSERT_TRUE(db_set_sortorder(DB_SORT_GERMAN_REPLACE));
    const std::string alphabet("\0 AEeOUsu\x84\x8E\x94\x99\x81\x9A\xE1", 16);
    std::mt19937 random(7);
    for (int keySize : {4, 20, 250}) {
        const std::vector<Entry> in = RandomEntries(random, keySize, 3000, alphabet);
        const std::string what = "key size " + std::to_string(keySize);
        const std::vector<Entry> memory = Sort(in, keySize, kDefaults, what + ", memory");
        ASSERT_EQ(in.size(), memory.size()) << what;
        ExpectSequence(memory, Sort(in, keySize, kMovable, what + ", movable"), what + ": movable blocks against memory");
        ExpectSequence(memory, Sort(in, keySize, kFile, what + ", file"), what + ": file against memory");
    }
}

TEST_F(KeySortTest, EqualKeysComeInRecordNumberOrder)
{
    // 600 entries of key size 250 take 3 runs of 200, so equal keys meet within and across runs.
    // Record numbers beyond one byte catch a tie broken by the bytes of the record number.
    std::vector<int32_t> recnos;
    for (int32_t i = 0; i < 600; ++i)
        recnos.push_back(i * 65793 + (i % 3));
    std::vector<int32_t> shuffled = recnos;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
    std::vector<Entry> in, expected;
    for (int32_t r : shuffled)
        in.push_back({std::string(250, 'K'), r});
    for (int32_t r : recnos)
        expected.push_back({std::string(250, 'K'), r});
    for (const Mode& mode : {kDefaults, kFile})
        ExpectSequence(expected, Sort(in, 250, mode, mode.name), mode.name);
}

TEST_F(KeySortTest, SortOrdersOrderTheKeys)
{
    struct Case {
        const char* name;
        int order;
        std::vector<std::string> keys;
        std::vector<std::string> expected;
    };
    // ( Z a ä Ü, in OEM
    const std::vector<std::string> mixed = {"a", "\x9A", "(", "\x84", "Z"};
    const Case cases[] = {
        {"ASCII: byte codes", DB_SORT_ASCII, mixed, {"(", "Z", "a", "\x84", "\x9A"}},
        {"German Table: capitals, small letters, punctuation", DB_SORT_GERMAN_TABLE, mixed, {"\x9A", "Z", "a", "\x84", "("}},
        {"German Alternate Table: umlauts behind their letters", DB_SORT_GERMAN_ALTERNATE, mixed, {"(", "\x9A", "Z", "a", "\x84"}},
        {"German Table: digits, then capitals with their umlauts", DB_SORT_GERMAN_TABLE,
         {"b", "B", "\x8E", "A", "1", "a", "\x84"}, {"1", "A", "\x8E", "B", "a", "\x84", "b"}},
        {"German Replace: umlauts spelled out", DB_SORT_GERMAN_REPLACE,
         {"Mufti", "M\x81hle", "Muell", "Maus"}, {"Maus", "M\x81hle", "Muell", "Mufti"}},
        {"ASCII: the same names by bytes", DB_SORT_ASCII,
         {"Mufti", "M\x81hle", "Muell", "Maus"}, {"Maus", "Muell", "Mufti", "M\x81hle"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(db_set_sortorder(c.order));
        const size_t keySize = LongestKey(c.keys);
        const std::vector<Entry> in = Padded(c.keys, keySize);
        for (const Mode& mode : {kDefaults, kFile}) {
            std::vector<std::string> out;
            for (const Entry& e : Sort(in, (int)keySize, mode, c.name))
                out.push_back(e.key);
            std::vector<std::string> expected;
            for (const Entry& e : Padded(c.expected, keySize))
                expected.push_back(e.key);
            EXPECT_EQ(expected, out) << c.name << ", " << mode.name;
        }
    }
}

// ---- keys that begin with a 0 byte ------------------------------------------------------------

TEST_F(KeySortTest, KeysBeginningWithZeroAreSortedAndDelivered)
{
    // ASCII compares up to the first 0 byte: the keys that begin with it are equal and smallest.
    const std::vector<Entry> few = {{std::string("ABC", 3), 1},
                                    {std::string("\0AB", 3), 2},
                                    {std::string("\0\0\0", 3), 3},
                                    {std::string("AB\0", 3), 4},
                                    {std::string("\0ZZ", 3), 5}};
    const std::vector<Entry> fewSorted = {few[1], few[2], few[4], few[3], few[0]};
    // Only such keys, in 3 runs: the first entry of every run begins with 0.
    std::vector<Entry> many, manySorted;
    for (int32_t i = 600; i >= 1; --i)
        many.push_back({std::string(1, '\0') + std::string(249, (char)('A' + i % 26)), i});
    manySorted = many;
    std::reverse(manySorted.begin(), manySorted.end());
    for (const Mode& mode : {kDefaults, kFile}) {
        ExpectSequence(fewSorted, Sort(few, 3, mode, mode.name), std::string("five keys, ") + mode.name);
        ExpectSequence(manySorted, Sort(many, 250, mode, mode.name), std::string("600 keys, ") + mode.name);
    }
}

// ---- the announced count ----------------------------------------------------------------------

TEST_F(KeySortTest, CountZeroEndsAtOnce)
{
    for (const Mode& mode : {kDefaults, kFile}) {
        SetMode(mode);
        ASSERT_TRUE(_SORTINIT(0, 10, 4)) << mode.name;
        EXPECT_EQ(1, _sort_layout().runs) << mode.name;
        EXPECT_EQ(0, _sort_layout().perRun) << mode.name;
        char entry[14];
        std::memset(entry, 'x', sizeof entry);
        bool end = false;
        EXPECT_TRUE(_SORTNEXT(entry, &end)) << mode.name;
        EXPECT_TRUE(end) << mode.name;
        EXPECT_EQ(0, entry[0]) << mode.name;
        _SORTDONE();
    }
}

TEST_F(KeySortTest, MoreEntriesThanAnnouncedRaise41)
{
    struct Case {
        int keySize;
        int32_t count;
    };
    // 999 entries of key size 250 get 4 runs of 250: room for one more, which is refused all the same.
    const Case cases[] = {{10, 0}, {10, 5}, {250, 999}, {250, 1000}};
    for (const Mode& mode : {kDefaults, kFile})
        for (const Case& c : cases) {
            const std::string what = std::string(mode.name) + ", " + std::to_string(c.count) + " announced";
            SetMode(mode);
            ASSERT_TRUE(_SORTINIT(c.count, c.keySize, 4)) << what;
            const std::string key((size_t)c.keySize, 'k');
            for (int32_t i = 1; i <= c.count; ++i)
                ASSERT_TRUE(_SORTADD(key.data(), &i)) << what << ", entry " << i;
            const int32_t extra = c.count + 1;
            m_error = 0;
            EXPECT_FALSE(_SORTADD(key.data(), &extra)) << what;
            EXPECT_EQ(41u, m_error) << what;
            EXPECT_EQ(0, _sort_layout().runs) << what << ": the sort is ended";
            EXPECT_TRUE(IdxFiles().empty()) << what << ": temporary file left";
            EXPECT_FALSE(_SORTADD(key.data(), &extra)) << what << ": adding after the end";
        }
}

TEST_F(KeySortTest, FewerEntriesThanAnnouncedRunDry)
{
    struct Case {
        int keySize;
        int32_t count;
        int32_t added;
    };
    // 1,000 announced at key size 250: 4 runs of 250, of which 700 entries fill two and a half.
    const Case cases[] = {{10, 10, 9}, {10, 10, 0}, {250, 1000, 700}, {250, 1000, 999}};
    for (const Mode& mode : {kDefaults, kFile})
        for (const Case& c : cases) {
            const std::string what = std::string(mode.name) + ", " + std::to_string(c.added) + " of " + std::to_string(c.count);
            SetMode(mode);
            ASSERT_TRUE(_SORTINIT(c.count, c.keySize, 4)) << what;
            for (int32_t i = c.added; i >= 1; --i) {
                const std::string key((size_t)c.keySize, (char)('A' + i % 26));
                ASSERT_TRUE(_SORTADD(key.data(), &i)) << what;
            }
            std::string entry((size_t)c.keySize + 4, 'x');
            int32_t delivered = 0;
            bool end = false;
            while (_SORTNEXT(entry.data(), &end) && !end)
                ++delivered;
            EXPECT_FALSE(end) << what << ": a normal end";
            EXPECT_EQ(c.added, delivered) << what;
            EXPECT_FALSE(_SORTNEXT(entry.data(), &end)) << what << ": the next call after running dry";
            _SORTDONE();
        }
}

// ---- run layout and the temporary file --------------------------------------------------------

TEST_F(KeySortTest, RunLayout)
{
    struct Case {
        int keySize;
        int32_t count;
        int runs;
        int32_t perRun;
    };
    const Case cases[] = {
        {250, 1000, 4, 250},    // the first guess, 3 runs of 334, is too big
        {10, 0, 1, 0},
        {10, 1, 1, 1},
        {10, 4661, 1, 4661},    // 4,662 places of 14 bytes, one spare
        {10, 4662, 2, 2331},
        {226, 282000, 1000, 282},
        {226, 282001, 1001, 282},  // beyond 1,000 runs: the program's composite key on a large table
    };
    for (const Mode& mode : {kDefaults, kFile})
        for (const Case& c : cases) {
            const std::string what = std::string(mode.name) + ", key size " + std::to_string(c.keySize) + ", " +
                                     std::to_string(c.count) + " entries";
            SetMode(mode);
            ASSERT_TRUE(_SORTINIT(c.count, c.keySize, 4)) << what;
            EXPECT_EQ(c.runs, _sort_layout().runs) << what;
            EXPECT_EQ(c.perRun, _sort_layout().perRun) << what;
            const auto files = IdxFiles();
            if (mode.fileMode) {
                // k slots of the count and n + 1 entries, then the byte 0x1A.
                const uint64_t size = (uint64_t)c.runs * ((uint64_t)(c.keySize + 4) * (uint64_t)(c.perRun + 1) + 4) + 1;
                ASSERT_EQ(1u, files.size()) << what;
                EXPECT_EQ(size, files[0].second) << what;
            } else {
                EXPECT_TRUE(files.empty()) << what;
            }
            _SORTDONE();
        }
}

TEST_F(KeySortTest, LayoutsBeyondTheRunLimitRaise13)
{
    struct Case {
        int keySize;
        int32_t count;
    };
    // 2^31 - 1 entries need more than 65,535 runs; an entry of 40,000 bytes fits no run twice.
    const Case cases[] = {{226, INT32_MAX}, {40000, 1}, {10, INT32_MAX}};
    for (const Mode& mode : {kDefaults, kFile})
        for (const Case& c : cases) {
            const std::string what = std::string(mode.name) + ", key size " + std::to_string(c.keySize);
            SetMode(mode);
            m_error = 0;
            EXPECT_FALSE(_SORTINIT(c.count, c.keySize, 4)) << what;
            EXPECT_EQ(13u, m_error) << what;
            EXPECT_EQ(0, _sort_layout().runs) << what;
            EXPECT_TRUE(IdxFiles().empty()) << what;
        }
}

TEST_F(KeySortTest, TemporaryFileLivesFromInitToDone)
{
    for (const Mode& mode : {kDefaults, kFile}) {
        SetMode(mode);
        ASSERT_TRUE(_SORTINIT(1000, 250, 4)) << mode.name;
        const auto files = IdxFiles();
        if (!mode.fileMode) {
            EXPECT_TRUE(files.empty()) << mode.name;
            _SORTDONE();
            continue;
        }
        ASSERT_EQ(1u, files.size());
        const std::string name = files[0].first;
        EXPECT_EQ("idx", name.substr(0, 3)) << name;
        const std::string key(250, 'k');
        for (int32_t i = 1; i <= 1000; ++i)
            ASSERT_TRUE(_SORTADD(key.data(), &i));
        std::string entry(254, 'x');
        bool end = false;
        for (int i = 0; i < 10; ++i)
            ASSERT_TRUE(_SORTNEXT(entry.data(), &end) && !end);
        ASSERT_EQ(1u, IdxFiles().size()) << "while draining";
        EXPECT_EQ(name, IdxFiles()[0].first);
        _SORTDONE();
        EXPECT_TRUE(IdxFiles().empty()) << name << " left after _SORTDONE";
    }
}

} // namespace
