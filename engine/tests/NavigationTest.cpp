// Navigation: db_goto and db_skip in natural order with and without the deleted setting, the
// position callback, the stop flag, filters plugged in through the hooks, and index order
// through a fake index behind the index hooks.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "Area.h"
#include "EngineHooks.h"
#include "Job.h"
#include "TableTestKit.h"

using namespace tabletest;

namespace {

using Callback = std::tuple<int, int, int>; // area, position, direction
std::vector<Callback> s_callbacks;
int s_stopOnCall = 0;
void DB_CALL RecordPosition(int area, int position, int direction)
{
    s_callbacks.emplace_back(area, position, direction);
    if (s_stopOnCall && (int)s_callbacks.size() == s_stopOnCall)
        g_Job->currentArea->stopFlag = 1;
}

const long EOFPOS = DB_EOF;

// Ten records "R1".."R10"; records 1, 4, 5 and 10 are marked deleted.
std::string TenRecords()
{
    std::vector<std::string> records;
    for (int i = 1; i <= 10; ++i) {
        const bool deleted = i == 1 || i == 4 || i == 5 || i == 10;
        std::string name = "R" + std::to_string(i);
        records.push_back((deleted ? "*" : " ") + name + std::string(5 - name.size(), ' '));
    }
    return DbfImage({{"NAME", 'C', 5, 0}}, records);
}

std::string NameOf(long recno)
{
    if (recno == EOFPOS)
        return "     ";
    std::string name = "R" + std::to_string(recno);
    return name + std::string(5 - name.size(), ' ');
}

class Navigation : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        m_savedHooks = g_EngineHooks;
        ASSERT_TRUE(Use("ten.dbf", TenRecords(), 0x01));
        s_callbacks.clear();
        s_stopOnCall = 0;
    }
    void TearDown() override
    {
        g_EngineHooks = m_savedHooks;
        TableTest::TearDown();
    }
    // The hooks the engine's modules filled at start-up; tests plug their own in.
    s_EngineHooks m_savedHooks;
    // Positions the area without the deleted setting and without callbacks.
    void StartAt(long recno)
    {
        g_Job->deleted = 0;
        db_set_positioncallback(nullptr);
        db_goto(recno == EOFPOS ? 11 : recno);
        s_callbacks.clear();
        db_set_positioncallback(&RecordPosition);
    }
};

struct Move {
    const char* what;
    int deleted;
    long start;
    char op; // 'g' db_goto, 's' db_skip
    long arg;
    long result, recno;
    BOOL bof, eof;
    std::vector<Callback> callbacks;
};

void Check(const Move& m, long result)
{
    EXPECT_EQ(m.result, result) << m.what;
    EXPECT_EQ((unsigned)m.recno, db_recno()) << m.what;
    EXPECT_EQ(m.bof, db_bof()) << m.what;
    EXPECT_EQ(m.eof, db_eof()) << m.what;
    EXPECT_EQ(m.callbacks, s_callbacks) << m.what;
    EXPECT_EQ(NameOf(m.recno), Contents("NAME")) << m.what << ": the buffer holds the record reached";
}

} // namespace

TEST_F(Navigation, NaturalOrderWithAndWithoutDeletedRecords)
{
    const Move moves[] = {
        {"goto 0", 0, 5, 'g', 0, 1, 1, 0, 0, {{1, 1, 1}}},
        {"goto -1", 0, 5, 'g', -1, 10, 10, 0, 0, {{1, 10, 1}}},
        {"goto -5", 0, 5, 'g', -5, 1, 1, 1, 0, {{1, 1, 1}}},
        {"goto beyond the count", 0, 5, 'g', 11, EOFPOS, EOFPOS, 0, 1, {}},
        {"goto the current record", 0, 5, 'g', 5, 5, 5, 0, 0, {}},
        {"skip 3", 0, 5, 's', 3, 8, 8, 0, 0, {{1, 8, 1}}},
        {"skip -10", 0, 5, 's', -10, 1, 1, 1, 0, {{1, 1, -1}}},
        {"skip 10", 0, 5, 's', 10, EOFPOS, EOFPOS, 0, 1, {{1, EOFPOS, 1}}},
        {"skip 1 at end of file", 0, EOFPOS, 's', 1, EOFPOS, EOFPOS, 0, 1, {}},
        {"skip -1 at end of file", 0, EOFPOS, 's', -1, 10, 10, 0, 0, {{1, 10, -1}}},
        {"skip 0", 0, 5, 's', 0, 5, 5, 0, 0, {}},
        {"deleted: goto 0", 1, 5, 'g', 0, 2, 2, 0, 0, {{1, 2, 1}}},
        {"deleted: goto -1", 1, 5, 'g', -1, 9, 9, 0, 0, {{1, 9, 1}}},
        {"deleted: goto a deleted record by number", 1, 5, 'g', 4, 4, 4, 0, 0, {{1, 4, 1}}},
        {"deleted: skip 1 over two deleted records", 1, 3, 's', 1, 6, 6, 0, 0, {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}}},
        {"deleted: skip 2 runs out of records", 1, 8, 's', 2, EOFPOS, EOFPOS, 0, 1,
         {{1, 0, 1}, {1, 1, 1}, {1, 1, 1}, {1, 1, 1}}},
        {"deleted: skip -1 over two deleted records", 1, 6, 's', -1, 3, 3, 0, 0, {{1, 0, -1}, {1, 0, -1}, {1, 0, -1}}},
        {"deleted: skip -1 from the first visible record", 1, 2, 's', -1, 2, 2, 1, 0,
         {{1, 0, -1}, {1, 0, -1}, {1, 0, -1}}},
        {"deleted: skip -1 on record 1", 1, 1, 's', -1, 1, 1, 1, 0, {}},
        {"deleted: skip -2 at end of file", 1, EOFPOS, 's', -2, 8, 8, 0, 0, {{1, 0, -1}, {1, 0, -1}, {1, -1, -1}}},
        {"deleted: skip 0", 1, 3, 's', 0, 3, 3, 0, 0, {}},
    };
    for (const auto& m : moves) {
        StartAt(m.start);
        g_Job->deleted = m.deleted;
        const long result = m.op == 'g' ? db_goto(m.arg) : db_skip(m.arg);
        Check(m, result);
    }
}

TEST_F(Navigation, StopFlagFromThePositionCallbackEndsAFilteredSkip)
{
    StartAt(2);
    g_Job->deleted = 1;
    s_stopOnCall = 2;
    EXPECT_EQ(4, db_skip(5)) << "the record reached when the flag was set";
    EXPECT_EQ((std::vector<Callback>{{1, 0, 1}, {1, 1, 1}}), s_callbacks);
    s_stopOnCall = 0;
    EXPECT_EQ(6, db_skip(1)) << "the next skip clears the flag first";
}

TEST_F(Navigation, EmptyTableAndMissingTable)
{
    ASSERT_TRUE(Use("empty.dbf", DbfImage({{"NAME", 'C', 5, 0}}, {})));
    for (long target : {0L, -1L, 1L, -5L}) {
        EXPECT_EQ(EOFPOS, db_goto(target)) << target;
        EXPECT_EQ((unsigned)EOFPOS, db_recno()) << target;
        EXPECT_TRUE(db_eof()) << target;
    }
    EXPECT_EQ(EOFPOS, db_skip(1));
    EXPECT_TRUE(db_bof());
    db_close(3);
    m_error = 0;
    EXPECT_EQ(0, db_skip(1));
    EXPECT_EQ(0, db_goto(1));
    EXPECT_EQ(0u, m_error) << "no table: no error";
}

namespace {

// A filter plugged in as the expression module would: hides even records, fails on record 7.
char s_filterToken;
s_Expression* const kFilter = (s_Expression*)&s_filterToken;
int s_filtersFreed = 0;
int DB_CALL OddRecords() { return g_Job->currentArea->recno % 2; }

} // namespace

TEST_F(Navigation, FiltersDecideVisibility)
{
    g_EngineHooks.evaluateCondition = [](s_Area& area, s_Expression*) {
        if (area.recno == 7) {
            _db_raise_error(DBE_EXPRESSION);
            return -1;
        }
        return area.recno % 2 == 1 ? 1 : 0;
    };
    g_EngineHooks.freeExpression = [](s_Expression* e) {
        if (e == kFilter)
            ++s_filtersFreed;
    };
    s_filtersFreed = 0;
    StartAt(1);
    g_Job->currentArea->filterExpression = kFilter;
    EXPECT_EQ(5, db_skip(2));
    EXPECT_EQ(0, db_skip(1)) << "a failed evaluation ends the skip";
    EXPECT_EQ((unsigned)DBE_EXPRESSION, m_error);
    EXPECT_EQ(9, db_goto(-1));
    m_error = 0;
    EXPECT_EQ(0, db_skip(-1)) << "record 8 is hidden, record 7 fails";
    EXPECT_EQ((unsigned)DBE_EXPRESSION, m_error);
    db_close(3);
    EXPECT_EQ(1, s_filtersFreed) << "closing the area frees its filter";

    // The caller's filter procedure.
    ASSERT_TRUE(db_use(File("ten.dbf").c_str(), 0x01, nullptr, 0));
    g_Job->currentArea->filterProc = &OddRecords;
    EXPECT_EQ(3, (db_goto(1), db_skip(1)));
    EXPECT_EQ(9, db_goto(-1));
    EXPECT_EQ(7, db_skip(-1));
}

TEST_F(Navigation, AFailedFilterLeavesGotoOnRecordOneWithABlankBuffer)
{
    // Records 4 to 7 are visible; the filter fails on records 3 and 8, which the moves to the top
    // and to the bottom meet first.
    g_EngineHooks.evaluateCondition = [](s_Area& area, s_Expression*) {
        if (area.recno == 3 || area.recno == 8) {
            _db_raise_error(DBE_EXPRESSION);
            return -1;
        }
        return area.recno > 3 && area.recno < 8 ? 1 : 0;
    };
    g_EngineHooks.freeExpression = [](s_Expression*) {};
    for (long target : {0L, -1L}) {
        StartAt(5);
        s_Area& area = *g_Job->currentArea;
        area.filterExpression = kFilter;
        m_error = 0;
        EXPECT_EQ(0, db_goto(target)) << target;
        EXPECT_EQ((unsigned)DBE_EXPRESSION, m_error) << target;
        EXPECT_EQ(1u, db_recno()) << target;
        EXPECT_EQ(std::string((size_t)area.recordLength, ' '), std::string(area.record.get(), (size_t)area.recordLength))
            << target << ": the buffer is blank";
        EXPECT_EQ(std::vector<Callback>{}, s_callbacks) << target << ": a failed move reports no position";
        area.filterExpression = nullptr;
    }
}

namespace {

// An index over the ten records in descending record order, behind the index hooks.
struct FakeIndex {
    std::vector<int32_t> keys;
    int pos = -1;
    int locks = 0, seeks = 0;
    char key[8];
} s_index;

void PlugFakeIndex(s_Area& area)
{
    s_index = FakeIndex{};
    for (int32_t r = 10; r >= 1; --r)
        s_index.keys.push_back(r);
    strcpy(area.indexes[0].name, "FAKE.NTX");
    area.order = 0;
    g_EngineHooks.firstKey = [](s_Area&, int) { return (s_index.pos = 0), true; };
    g_EngineHooks.lastKey = [](s_Area&, int) { return (s_index.pos = (int)s_index.keys.size() - 1), true; };
    g_EngineHooks.stepKeys = [](s_Area&, int, long n) {
        long target = std::clamp<long>(s_index.pos + n, 0, (long)s_index.keys.size() - 1);
        long moved = target - s_index.pos;
        s_index.pos = (int)target;
        return moved;
    };
    g_EngineHooks.currentKey = [](s_Area&, int, int32_t* recno, const char** key, unsigned* length) {
        if (s_index.pos < 0)
            return false;
        *recno = s_index.keys[(size_t)s_index.pos];
        snprintf(s_index.key, sizeof s_index.key, "K%02d", *recno);
        *key = s_index.key;
        *length = 3;
        return true;
    };
    g_EngineHooks.evaluateKey = [](s_Area& area, int, char* key) {
        return snprintf(key, 8, "K%02d", area.recno), true;
    };
    g_EngineHooks.seekKey = [](s_Area&, int, const char*, int32_t recno) {
        ++s_index.seeks;
        s_index.pos = (int)(std::find(s_index.keys.begin(), s_index.keys.end(), recno) - s_index.keys.begin());
        return true;
    };
    g_EngineHooks.lockIndex = [](s_Area&, int) { return ++s_index.locks, true; };
    g_EngineHooks.unlockIndex = [](s_Area&, int) { --s_index.locks; };
}

} // namespace

TEST_F(Navigation, IndexOrderThroughTheIndexHooks)
{
    PlugFakeIndex(*g_Job->currentArea);
    const Move moves[] = {
        {"goto 0: first key", 0, 5, 'g', 0, 10, 10, 0, 0, {{1, 10, 1}}},
        {"skip 0 answers 1", 0, 5, 's', 0, 1, 5, 0, 0, {}},
        {"skip 3 in key order", 0, 10, 's', 3, 7, 7, 0, 0, {{1, 7, 1}}},
        {"skip -1 before the first key", 0, 10, 's', -1, 10, 10, 1, 0, {{1, 10, -1}}},
        {"skip 2 past the last key", 0, 2, 's', 2, EOFPOS, EOFPOS, 0, 1, {{1, EOFPOS, 1}}},
        {"skip 1 at end of file blanks the buffer", 0, EOFPOS, 's', 1, 0, EOFPOS, 0, 1, {}},
        {"skip -1 at end of file: last key", 0, EOFPOS, 's', -1, 1, 1, 0, 0, {}},
        {"goto by number repositions the index", 0, 10, 'g', 5, 5, 5, 0, 0, {{1, 5, 1}}},
        {"deleted: goto 0", 1, 5, 'g', 0, 9, 9, 0, 0, {{1, 9, 1}}},
        {"deleted: skip 3", 1, 9, 's', 3, 6, 6, 0, 0, {{1, 6, 1}}},
        {"deleted: skip 2 runs out of keys", 1, 3, 's', 2, EOFPOS, EOFPOS, 0, 1, {{1, EOFPOS, 1}}},
        {"deleted: goto -1", 1, 5, 'g', -1, 2, 2, 0, 0, {{1, 2, 1}}},
    };
    for (const auto& m : moves) {
        StartAt(m.start);
        g_Job->deleted = m.deleted;
        const long result = m.op == 'g' ? db_goto(m.arg) : db_skip(m.arg);
        Check(m, result);
    }
    StartAt(5);
    EXPECT_EQ(4, db_skip(1)) << "db_goto placed the index on record 5";
    EXPECT_EQ("K04", Contents("INDEXKEY"));
    EXPECT_EQ(0, s_index.locks) << "an exclusive table takes no index locks";
}

namespace {

// What repeated db_skip(1) from the current record reaches: at most max records, and the record
// and end-of-file flag it ends on.
struct Walk {
    std::vector<long> recnos;
    std::vector<std::string> names;
    unsigned end = 0;
    BOOL eof = FALSE;
    bool operator==(const Walk& o) const
    {
        return recnos == o.recnos && names == o.names && end == o.end && eof == o.eof;
    }
};

std::ostream& operator<<(std::ostream& os, const Walk& w)
{
    for (long r : w.recnos)
        os << r << ' ';
    return os << "end " << w.end << " eof " << w.eof;
}

Walk SkipWalk(long max)
{
    Walk w;
    while ((long)w.recnos.size() < max && db_recno() != (unsigned)EOFPOS && !db_eof()) {
        w.recnos.push_back((long)db_recno());
        w.names.push_back(Contents("NAME"));
        if (db_skip(1) == 0)
            break;
    }
    w.end = db_recno();
    w.eof = db_eof();
    return w;
}

Walk BulkWalk(long max, long* result)
{
    const unsigned size = db_recsize();
    std::vector<long> recnos((size_t)max + 1, -7);
    std::vector<char> rows(((size_t)max + 1) * size, '?');
    *result = db_read_rows(max, recnos.data(), rows.data(), size);
    Walk w;
    for (long i = 0; i < *result; ++i) {
        w.recnos.push_back(recnos[(size_t)i]);
        w.names.push_back(std::string(rows.data() + (size_t)i * size + 1, 5));
    }
    EXPECT_EQ(-7, recnos[(size_t)(*result < 0 ? 0 : *result)]) << "nothing written beyond the rows read";
    w.end = db_recno();
    w.eof = db_eof();
    return w;
}

} // namespace

TEST_F(Navigation, ReadRowsReachesWhatTheSkipsReach)
{
    const struct {
        const char* what;
        bool index;
        int deleted;
        bool filter;
        long start, max;
    } cases[] = {
        {"natural order, every record", false, 0, false, 1, 20},
        {"natural order, deleted hidden, from the top", false, 1, false, 0, 20},
        {"natural order, fewer than there are", false, 0, false, 2, 3},
        {"natural order, the filter procedure", false, 0, true, 1, 20},
        {"natural order at the end of the file", false, 0, false, EOFPOS, 5},
        {"natural order, max 0", false, 0, false, 1, 0},
        {"index order, every key", true, 0, false, 0, 20},
        {"index order, deleted hidden", true, 1, false, 0, 20},
        {"index order, part of the keys from the middle", true, 0, false, 6, 4},
        {"index order, the filter procedure", true, 0, true, 0, 20},
    };
    for (const auto& c : cases) {
        if (c.index)
            PlugFakeIndex(*g_Job->currentArea);
        s_Area& area = *g_Job->currentArea;
        area.filterProc = c.filter ? &OddRecords : nullptr;
        const auto position = [&] {
            StartAt(c.start == 0 ? 1 : c.start);
            g_Job->deleted = c.deleted;
            if (c.start == 0)
                db_goto(0);
        };
        position();
        const Walk skipped = SkipWalk(c.max);
        position();
        long result = 0;
        const Walk read = BulkWalk(c.max, &result);
        EXPECT_EQ((long)skipped.recnos.size(), result) << c.what;
        EXPECT_EQ(skipped, read) << c.what;
        EXPECT_EQ(0u, m_error) << c.what;
        area.filterProc = nullptr;
        g_EngineHooks = m_savedHooks;
        area.indexes[0].name[0] = 0;
        area.order = -1;
    }
}

TEST_F(Navigation, ReadRowsEndsWithAnErrorOnWhatCannotBeRead)
{
    // A buffer too small for a record.
    StartAt(1);
    long recnos[4];
    char rows[64];
    EXPECT_EQ(-1, db_read_rows(2, recnos, rows, db_recsize() - 1));
    EXPECT_EQ((unsigned)DBE_BUFFER, m_error);

    // A filter that fails on record 3.
    g_EngineHooks.evaluateCondition = [](s_Area& area, s_Expression*) {
        if (area.recno == 3) {
            _db_raise_error(DBE_EXPRESSION);
            return -1;
        }
        return 1;
    };
    g_EngineHooks.freeExpression = [](s_Expression*) {};
    StartAt(1);
    g_Job->currentArea->filterExpression = kFilter;
    m_error = 0;
    EXPECT_EQ(-1, db_read_rows(4, recnos, rows, db_recsize()));
    EXPECT_EQ((unsigned)DBE_EXPRESSION, m_error);
    g_Job->currentArea->filterExpression = nullptr;

    // An index entry beyond the records of the table (a damaged index).
    PlugFakeIndex(*g_Job->currentArea);
    s_index.keys.insert(s_index.keys.begin() + 2, 12);
    StartAt(1);
    db_goto(0);
    m_error = 0;
    EXPECT_EQ(-1, db_read_rows(4, recnos, rows, db_recsize()));
    EXPECT_EQ((unsigned)DBE_INDEX_READ, m_error);
}
