// Writing, deleting and appending records: the write path's errors, the stored bytes of db_write
// and db_insert with the header's date and count, the deleted mark, the indexes following the
// keys, db_zap, db_append_from, db_lupdate and the flush at close.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Area.h"
#include "EngineHooks.h"
#include "Job.h"
#include "RecordWrite.h"
#include "WriteTestKit.h"

using namespace tabletest;
using namespace writetest;

namespace {

const std::vector<FieldDef> kFields = {{"NAME", 'C', 10, 0}, {"AMOUNT", 'N', 8, 2}, {"NOTE", 'M', 10, 0}};
const unsigned kHeaderLength = 32 * 4 + 2;
const unsigned kRecordLength = 1 + 10 + 8 + 10;

std::string Row(const std::string& name, const std::string& amount = "    1.00")
{
    std::string row = " " + name;
    row.resize(11, ' ');
    return row + amount + "          ";
}

// Five records, changed last on 3 February 2001.
std::string TableImage()
{
    std::string image = DbfImage(kFields, {Row("Row 1"), Row("Row 2"), Row("Row 3"), Row("Row 4"), Row("Row 5")}, 0x83);
    image[1] = 101;
    image[2] = 2;
    image[3] = 3;
    return image;
}

std::string StoredRecord(const std::string& image, int n)
{
    return image.substr(kHeaderLength + (size_t)(n - 1) * kRecordLength, kRecordLength);
}

std::string Today()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return std::string{(char)(now.wYear - 1900), (char)now.wMonth, (char)now.wDay};
}

s_Area& Current() { return *g_Job->currentArea; }

class Writing : public TableTest {
public:
    void SetUp() override
    {
        TableTest::SetUp();
        m_savedHooks = g_EngineHooks;
        g_Job->exclusive = 0;
        ASSERT_TRUE(oxtest::WriteFileText(File("table.dbt"), MemoImage(1)));
        ASSERT_TRUE(Use("table.dbf", TableImage(), 0));
    }
    void TearDown() override
    {
        TableTest::TearDown();
        g_EngineHooks = m_savedHooks;
    }
    std::string Image() const { return oxtest::ReadFileText(File("table.dbf")); }
    // Opens the table afresh (shared; flags 0x10: read-only).
    void Reopen(unsigned flags)
    {
        db_close(0);
        ASSERT_TRUE(Use("table.dbf", TableImage(), flags));
    }
    // Positions on a record under the caller's lock, with the record read.
    void LockRecord(long n)
    {
        ASSERT_EQ(n, db_goto(n));
        ASSERT_TRUE(db_rlock(0));
        ASSERT_NE("<failed>", Contents("NAME"));
    }

    s_EngineHooks m_savedHooks;
};

// Every write of the file fails while the area works on a read-only handle of it.
class ReadOnlyHandle {
public:
    ReadOnlyHandle(s_Area& area, const std::string& path) : m_area(area), m_saved(area.file)
    {
        area.file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                nullptr);
    }
    ~ReadOnlyHandle()
    {
        CloseHandle(m_area.file);
        m_area.file = m_saved;
    }

private:
    s_Area& m_area;
    HANDLE m_saved;
};

} // namespace

TEST_F(Writing, WritePathErrors)
{
    const struct {
        const char* what;
        unsigned flags;
        std::function<void(Writing&)> setup;
        std::function<BOOL()> call;
        BOOL result;
        unsigned error;
    } cases[] = {
        {"db_write, read-only table", 0x10, [](Writing&) { db_goto(2); }, [] { return db_write(); }, FALSE, 54},
        {"db_write after db_blank", 0, [](Writing&) { db_blank(), db_replace("NAME", "Neu"); },
         [] { return db_write(); }, FALSE, 50},
        {"db_write beyond the last record", 0, [](Writing&) { db_goto(99); }, [] { return db_write(); }, FALSE, 50},
        {"db_write, the buffer holds another record", 0, [](Writing& t) { t.LockRecord(2), db_skip(1); },
         [] { return db_write(); }, FALSE, 52},
        {"db_write of an unchanged record", 0, [](Writing& t) { t.LockRecord(2); }, [] { return db_write(); }, TRUE, 0},
        {"db_insert, read-only table", 0x10, [](Writing&) {}, [] { return db_insert(); }, FALSE, 54},
        {"db_insert right after opening", 0, [](Writing&) {}, [] { return db_insert(); }, TRUE, 0},
        {"db_delete, read-only table", 0x10, [](Writing&) { db_goto(2); }, [] { return db_delete(); }, FALSE, 54},
        {"db_delete at end of file", 0, [](Writing&) { db_goto(99); }, [] { return db_delete(); }, FALSE, 0},
        {"db_recall, read-only table", 0x10, [](Writing&) { db_goto(2); }, [] { return db_recall(); }, FALSE, 54},
        {"db_recall of the blank template", 0, [](Writing&) { db_blank(); }, [] { return db_recall(); }, FALSE, 0},
        {"db_zap, read-only table", 0x10, [](Writing&) {}, [] { return db_zap(); }, FALSE, 54},
        {"db_append_from, read-only destination", 0x10, [](Writing&) {},
         [] { return db_append_from(DB_AREAREF(1), nullptr); }, FALSE, 54},
        {"db_append_from, unknown alias", 0, [](Writing&) {}, [] { return db_append_from("NOWHERE", nullptr); }, FALSE, 6},
        {"db_append_from, unused source area", 0, [](Writing&) {},
         [] { return db_append_from(DB_AREAREF(7), nullptr); }, FALSE, 51},
        {"db_append_from, the current area as its own source", 0, [](Writing&) {},
         [] { return db_append_from(nullptr, nullptr); }, FALSE, 51},
        {"db_append_from, the same table open in the source area", 0,
         [this](Writing&) {
             db_select_area(2);
             db_use(File("table.dbf").c_str(), 0, "SAME", 0);
             db_select_area(1);
         },
         [] { return db_append_from("SAME", nullptr); }, FALSE, 51},
        {"db_memo_write, read-only table", 0x10, [](Writing&) { db_goto(2); },
         [] { return db_memo_write("NOTE", "Text"); }, FALSE, 54},
    };
    for (const auto& c : cases) {
        Reopen(c.flags);
        c.setup(*this);
        const std::string before = Image();
        m_error = 0;
        EXPECT_EQ(c.result, c.call()) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
        EXPECT_EQ(before, Image()) << c.what << ": the file is unchanged";
    }

    // Short writes: of the header (written first), and of the record.
    Reopen(0);
    LockRecord(2);
    ASSERT_TRUE(db_replace("NAME", "Neu"));
    {
        ReadOnlyHandle readOnly(Current(), File("table.dbf"));
        m_error = 0;
        EXPECT_FALSE(db_write());
        EXPECT_EQ((unsigned)DBE_WRITE, m_error);
        EXPECT_EQ(0, Current().changed) << "the changed flag is cleared either way";
        ASSERT_TRUE(db_replace("NAME", "Neu"));
        ASSERT_EQ(0, Current().headerDirty);
        EXPECT_FALSE(_db_flush_buffer(Current(), false));
        EXPECT_EQ((unsigned)DBE_WRITE_RECORD, m_error);
    }
    EXPECT_EQ(Row("Row 2"), StoredRecord(Image(), 2));

    // With the table file closed every export reports error 9.
    Reopen(0);
    db_goto(2);
    ASSERT_TRUE(db_files_close());
    const struct {
        const char* what;
        std::function<unsigned()> call;
    } closed[] = {
        {"db_write", [] { return (unsigned)db_write(); }},
        {"db_insert", [] { return (unsigned)db_insert(); }},
        {"db_delete", [] { return (unsigned)db_delete(); }},
        {"db_recall", [] { return (unsigned)db_recall(); }},
        {"db_deleted", [] { return (unsigned)db_deleted(); }},
        {"db_zap", [] { return (unsigned)db_zap(); }},
        {"db_lupdate", [] { char b[16]; return (unsigned)db_lupdate(b, sizeof b); }},
        {"db_filetime", [] { return db_filetime(); }},
        {"db_append_from", [] { return (unsigned)db_append_from(DB_AREAREF(1), nullptr); }},
    };
    for (const auto& c : closed) {
        m_error = 0;
        EXPECT_EQ(0u, c.call()) << c.what;
        EXPECT_EQ((unsigned)DBE_FILES_CLOSED, m_error) << c.what;
    }
}

TEST_F(Writing, WriteStoresTheRecordAndStampsTheHeader)
{
    LockRecord(2);
    ASSERT_TRUE(db_replace("NAME", "Neu"));
    ASSERT_TRUE(db_replace("AMOUNT", "3.14159"));
    EXPECT_TRUE(db_write());
    const std::string image = Image();
    EXPECT_EQ(Row("Neu", "    3.14"), StoredRecord(image, 2));
    EXPECT_EQ(Row("Row 3"), StoredRecord(image, 3));
    EXPECT_EQ(Today(), image.substr(1, 3)) << "the change date (UTC)";
    EXPECT_EQ(5u, Get32(image, 4));
    EXPECT_EQ(0, Current().beforeImageValid);
    EXPECT_FALSE(db_eof());
    EXPECT_EQ((unsigned)DB_LOCK_CALLER_RECORD, Current().lockBits) << "the caller's lock stays";
}

TEST_F(Writing, InsertAppendsBehindTheCountOfTheHeader)
{
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_replace("NAME", "Sechs"));
    EXPECT_TRUE(db_insert());
    EXPECT_EQ(6u, db_recno());
    std::string image = Image();
    EXPECT_EQ(6u, Get32(image, 4));
    EXPECT_EQ(kHeaderLength + 6 * kRecordLength, image.size());
    EXPECT_EQ(Row("Sechs", "        "), StoredRecord(image, 6));
    EXPECT_EQ(Today(), image.substr(1, 3));
    EXPECT_EQ("Sechs     ", Contents("NAME")) << "the new record is the current one";

    // Other stations appended two records meanwhile: the count in the header decides.
    HANDLE h = CreateFileA(File("table.dbf").c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    const std::string more = Row("Fremd 7") + Row("Fremd 8");
    const uint8_t count[4] = {8, 0, 0, 0};
    DWORD done = 0;
    SetFilePointer(h, 0, nullptr, FILE_END);
    WriteFile(h, more.data(), (DWORD)more.size(), &done, nullptr);
    SetFilePointer(h, 4, nullptr, FILE_BEGIN);
    WriteFile(h, count, 4, &done, nullptr);
    CloseHandle(h);
    db_blank();
    db_replace("NAME", "Neun");
    EXPECT_TRUE(db_insert());
    EXPECT_EQ(9u, db_recno());
    image = Image();
    EXPECT_EQ(9u, Get32(image, 4));
    EXPECT_EQ(Row("Fremd 8"), StoredRecord(image, 8));
    EXPECT_EQ(Row("Neun", "        "), StoredRecord(image, 9));
}

TEST_F(Writing, DeleteAndRecallWriteOnlyTheMark)
{
    ASSERT_EQ(3, db_goto(3));
    EXPECT_FALSE(db_deleted());
    EXPECT_TRUE(db_delete());
    EXPECT_TRUE(db_deleted());
    EXPECT_EQ('*', StoredRecord(Image(), 3)[0]);
    {
        // A record marked already is not written again (a write would fail here).
        ReadOnlyHandle readOnly(Current(), File("table.dbf"));
        m_error = 0;
        EXPECT_TRUE(db_delete());
        EXPECT_EQ(0u, m_error);
    }
    EXPECT_TRUE(db_recall());
    EXPECT_FALSE(db_deleted());
    EXPECT_EQ(Row("Row 3"), StoredRecord(Image(), 3));
    {
        ReadOnlyHandle readOnly(Current(), File("table.dbf"));
        EXPECT_TRUE(db_recall());
        EXPECT_EQ(0u, m_error);
    }
    db_goto(99);
    EXPECT_FALSE(db_deleted()) << "the blank template at end of file";
}

// ---- indexes follow the keys --------------------------------------------------------------------

namespace {

std::vector<std::string> s_keyLog;
int s_failAdd = -1;     // the slot whose next add fails
int s_failDelete = -1;  // the slot whose next delete fails

std::string Key(const char* key) { return std::string(key, 10); }

void PlugKeyHooks(s_Area& area, const std::function<std::string(const std::string&)>& file)
{
    s_keyLog.clear();
    s_failAdd = s_failDelete = -1;
    for (int slot : {0, 2}) {
        const std::string path = file("key" + std::to_string(slot) + ".ntx");
        ASSERT_TRUE(oxtest::WriteFileText(path, IndexImage(1, 10)));
        s_Index& index = area.indexes[slot];
        std::snprintf(index.name, sizeof index.name, "KEY%d.NTX", slot);
        index.file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
        std::memcpy(index.header, IndexImage(1, 10).data(), DB_INDEX_HEADER_SIZE);
    }
    area.order = 2;
    // These fake indexes are not walked: navigation keeps the natural order of the records.
    g_EngineHooks.firstKey = nullptr;
    g_EngineHooks.lastKey = nullptr;
    g_EngineHooks.stepKeys = nullptr;
    g_EngineHooks.currentKey = nullptr;
    // The key of both indexes: the NAME field of the buffer.
    g_EngineHooks.evaluateKey = [](s_Area& a, int, char* key) {
        std::memcpy(key, a.record.get() + 1, 10);
        return true;
    };
    g_EngineHooks.addKey = [](s_Area& a, int slot, const char* key, int32_t recno) {
        EXPECT_GT(a.indexes[slot].lockCount, a.exclusive ? -1 : 0) << "keys change under the index lock";
        s_keyLog.push_back("add " + std::to_string(slot) + " " + Key(key) + " " + std::to_string(recno));
        if (slot == s_failAdd) {
            s_failAdd = -1;
            _db_raise_error(DBE_KEY_EXISTS);
            return false;
        }
        return true;
    };
    g_EngineHooks.deleteKey = [](s_Area&, int slot, const char* key, int32_t recno) {
        s_keyLog.push_back("del " + std::to_string(slot) + " " + Key(key) + " " + std::to_string(recno));
        if (slot == s_failDelete) {
            s_failDelete = -1;
            _db_raise_error(DBE_KEY_MISSING);
            return false;
        }
        return true;
    };
    g_EngineHooks.seekKey = [](s_Area&, int slot, const char* key, int32_t recno) {
        s_keyLog.push_back("seek " + std::to_string(slot) + " " + Key(key) + " " + std::to_string(recno));
        return true;
    };
}

using Log = std::vector<std::string>;

// A line of the key log: the key as the index holds it (10 characters).
std::string Entry(const char* verb, int slot, std::string key, int recno)
{
    key.resize(10, ' ');
    return std::string(verb) + " " + std::to_string(slot) + " " + key + " " + std::to_string(recno);
}

} // namespace

TEST_F(Writing, IndexesFollowTheKeys)
{
    PlugKeyHooks(Current(), [this](const std::string& name) { return File(name); });
    const struct {
        const char* what;
        std::function<BOOL()> change;
        BOOL result;
        unsigned error;
        Log log;
    } cases[] = {
        {"a new key replaces the old one; the controlling order follows",
         [] { return db_replace("NAME", "Zeta") && db_write(); }, TRUE, 0,
         {Entry("del", 0, "Row 1", 1), Entry("add", 0, "Zeta", 1), Entry("del", 2, "Row 1", 1),
          Entry("add", 2, "Zeta", 1), Entry("seek", 2, "Zeta", 1)}},
        {"an unchanged key leaves the indexes alone", [] { return db_replace("AMOUNT", "7") && db_write(); }, TRUE, 0, {}},
        {"deleting leaves the keys", [] { return db_delete(); }, TRUE, 0, {}},
        {"recalling leaves the keys", [] { return db_recall(); }, TRUE, 0, {}},
        {"an appended record gets its keys, no repositioning",
         [] { return db_blank() && db_replace("NAME", "Neu") && db_insert(); }, TRUE, 0,
         {Entry("add", 0, "Neu", 6), Entry("add", 2, "Neu", 6)}},
        {"a failed addition puts the old key back and writes no record",
         [] { return (s_failAdd = 0), db_goto(2) && db_rlock(0) && Contents("NAME") != "" && db_replace("NAME", "Beta") && db_write(); },
         FALSE, 45, {Entry("del", 0, "Row 2", 2), Entry("add", 0, "Beta", 2), Entry("add", 0, "Row 2", 2)}},
        {"a failed deletion in the second index undoes the first index's change",
         [] { return (s_failDelete = 2), db_goto(3) && db_rlock(0) && Contents("NAME") != "" && db_replace("NAME", "Gamma") && db_write(); },
         FALSE, 46,
         {Entry("del", 0, "Row 3", 3), Entry("add", 0, "Gamma", 3), Entry("del", 2, "Row 3", 3), Entry("del", 0, "Gamma", 3),
          Entry("add", 0, "Row 3", 3)}},
        {"a failed addition ends the visit; the append stays done",
         [] { return (s_failAdd = 0), db_blank() && db_replace("NAME", "Sieben") && db_insert(); }, TRUE, 45,
         {Entry("add", 0, "Sieben", 7)}},
    };
    LockRecord(1);
    for (const auto& c : cases) {
        s_keyLog.clear();
        m_error = 0;
        EXPECT_EQ(c.result, c.change()) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
        EXPECT_EQ(c.log, s_keyLog) << c.what;
        EXPECT_EQ(0, Current().indexes[0].lockCount) << c.what << ": the index locks are released";
        EXPECT_EQ(0, Current().indexes[2].lockCount) << c.what;
        s_failAdd = s_failDelete = -1;
    }
    EXPECT_EQ(Row("Row 2", "    1.00"), StoredRecord(Image(), 2)) << "a failed write leaves the row as it was";
    EXPECT_EQ(Row("Row 3", "    1.00"), StoredRecord(Image(), 3));
    EXPECT_EQ(7u, Get32(Image(), 4));
}

// ---- emptying a table ---------------------------------------------------------------------------

TEST_F(Writing, ZapEmptiesTheTableItsMemoFileAndIndexes)
{
    static int s_rebuilds;
    s_rebuilds = 0;
    g_EngineHooks.rebuildIndexes = [](s_Area&) { return ++s_rebuilds, true; };
    ASSERT_TRUE(db_blank());
    ASSERT_TRUE(db_memo_write("NOTE", "Ein Memo"));
    ASSERT_TRUE(db_insert());
    ASSERT_GT(oxtest::ReadFileText(File("table.dbt")).size(), 512u);
    // An unsaved change of the buffer.
    db_goto(2);
    ASSERT_EQ("Row 2     ", Contents("NAME"));
    Current().record[1] = 'X';
    Current().changed = 1;

    EXPECT_TRUE(db_zap());
    const std::string image = Image();
    EXPECT_EQ(kHeaderLength, image.size()) << "nothing behind the header, not even the changed buffer";
    EXPECT_EQ(0u, Get32(image, 4));
    EXPECT_EQ(Today(), image.substr(1, 3));
    const std::string memo = oxtest::ReadFileText(File("table.dbt"));
    ASSERT_EQ(24u, memo.size());
    EXPECT_EQ(1u, Get32(memo, 0));
    std::string name = memo.substr(8, 9);
    CharUpperBuffA(name.data(), (DWORD)name.size());
    EXPECT_EQ(std::string("TABLE\0\0\0\0", 9), name) << "the table's name";
    EXPECT_EQ(0x0102u, Get16(memo, 18));
    EXPECT_EQ(512u, Get16(memo, 20));
    EXPECT_EQ(1, s_rebuilds);
    EXPECT_TRUE(db_eof());
    EXPECT_TRUE(db_bof());
    EXPECT_EQ((unsigned)DB_EOF, db_recno());
    EXPECT_EQ(0u, Current().lockBits) << "the engine's file lock is gone";
    // The table takes new records from number 1 on.
    db_blank();
    db_replace("NAME", "Neu");
    EXPECT_TRUE(db_insert());
    EXPECT_EQ(1u, db_recno());
}

// ---- appending from another area ----------------------------------------------------------------

namespace {

// The source: ANSI text (charset mark 3), a wider name and amount, a memo, a date and a tag.
const std::vector<FieldDef> kSourceFields = {
    {"FULLNAME", 'C', 20, 0}, {"AMOUNT", 'N', 10, 2}, {"NOTE", 'M', 10, 0}, {"BORN", 'D', 8, 0}, {"TAG", 'C', 3, 0}};
// The destination: OEM text.
const std::vector<FieldDef> kTargetFields = {
    {"NAME", 'C', 10, 0}, {"AMOUNT", 'N', 8, 2}, {"NOTE", 'M', 10, 0}, {"BORN", 'D', 8, 0}, {"OTHER", 'C', 5, 0}};

std::string SourceRow(bool deleted, const std::string& name, const std::string& amount, const std::string& memo,
                      const std::string& born, const std::string& tag)
{
    std::string row(deleted ? "*" : " ");
    std::string n = name;
    n.resize(20, ' ');
    return row + n + amount + memo + born + tag;
}

class AppendFrom : public Writing {
protected:
    void SetUp() override
    {
        Writing::SetUp();
        std::string source = DbfImage(kSourceFields,
                                      {SourceRow(false, "M\xFCller-L\xFC" "denscheid", "   1234.50", "         1", "20240517", "abc"),
                                       SourceRow(true, "Gel\xF6scht", "      2.00", "          ", "19991231", "del"),
                                       SourceRow(false, "Kurz", "     -0.25", "          ", "        ", "xyz")},
                                      0x83);
        source[31] = 3; // ANSI
        std::string block1 = std::string("Notiz \xFC\x1A") + '\0';
        block1.resize(512, ' ');
        ASSERT_TRUE(oxtest::WriteFileText(File("src.dbt"), MemoImage(2, block1)));
        db_select_area(2);
        ASSERT_TRUE(Use("src.dbf", source, 0, "SRC"));
        db_select_area(1);
        std::string target = DbfImage(kTargetFields, {}, 0x83);
        ASSERT_TRUE(oxtest::WriteFileText(File("dst.dbt"), MemoImage(1)));
        ASSERT_TRUE(Use("dst.dbf", target, 0, "DST"));
    }
    // The appended records: the fields as stored, the memo texts read back.
    std::vector<std::string> Appended()
    {
        std::vector<std::string> rows;
        for (long r = 1; r <= (long)db_reccount(); ++r) {
            db_goto(r);
            char memo[64] = {};
            db_memo_read_buffer("NOTE", memo, sizeof memo);
            rows.push_back(Contents("NAME") + "|" + Contents("AMOUNT") + "|" + memo + "|" + Contents("BORN") + "|" +
                           Contents("OTHER"));
        }
        return rows;
    }
};

int DB_CALL HideEverything() { return 0; }

} // namespace

TEST_F(AppendFrom, FieldListNamesTheSources)
{
    EXPECT_TRUE(db_append_from("SRC", "NAME=FULLNAME,amount,NOTE,BORN"));
    EXPECT_EQ(1, db_select(nullptr)) << "the destination is current again";
    EXPECT_EQ((std::vector<std::string>{"M\x81ller-L\x81" "d| 1234.50|Notiz \x81|20240517|     ",
                                        "Gel\x94scht  |    2.00||19991231|     ",
                                        "Kurz      |   -0.25||        |     "}),
              Appended());
}

TEST_F(AppendFrom, FieldsByPositionAndHiddenRecords)
{
    g_Job->deleted = 1;
    EXPECT_TRUE(db_append_from(DB_AREAREF(2), nullptr));
    EXPECT_EQ((std::vector<std::string>{"M\x81ller-L\x81" "d| 1234.50|Notiz \x81|20240517|abc  ",
                                        "Kurz      |   -0.25||        |xyz  "}),
              Appended())
        << "the deleted record is hidden";

    // Any source type goes into a memo field.
    ASSERT_TRUE(db_zap());
    g_Job->deleted = 0;
    EXPECT_TRUE(db_append_from("SRC", "NOTE=TAG"));
    EXPECT_EQ((std::vector<std::string>{"          |        |abc|        |     ",
                                        "          |        |del|        |     ",
                                        "          |        |xyz|        |     "}),
              Appended());

    // A filter that hides every record leaves nothing to append.
    ASSERT_TRUE(db_zap());
    db_select_area(2);
    g_Job->currentArea->filterProc = &HideEverything;
    db_select_area(1);
    EXPECT_TRUE(db_append_from("SRC", nullptr));
    EXPECT_EQ(0u, db_reccount());
}

// ---- dates and closing --------------------------------------------------------------------------

TEST_F(Writing, LupdateInTheJobsDateFormat)
{
    const struct {
        int format;
        unsigned size;
        const char* expected;
    } cases[] = {
        {0, 32, "02/03/2001"}, {1, 32, "2001.02.03"}, {3, 32, "03.02.2001"}, {3, 6, "03.02"},
    };
    for (const auto& c : cases) {
        g_Job->dateFormat = c.format;
        char buffer[32] = "x";
        EXPECT_TRUE(db_lupdate(buffer, c.size)) << c.format;
        EXPECT_STREQ(c.expected, buffer) << c.format;
    }
    m_error = 0;
    char none[1] = {'x'};
    EXPECT_FALSE(db_lupdate(none, 0));
    EXPECT_EQ('x', none[0]) << "a buffer of size 0 takes nothing";
}

TEST_F(Writing, CloseWritesAChangedBuffer)
{
    LockRecord(4);
    ASSERT_TRUE(db_replace("NAME", "Vergessen"));
    ASSERT_TRUE(db_close(3));
    const std::string image = Image();
    EXPECT_EQ(Row("Vergessen"), StoredRecord(image, 4));
    EXPECT_EQ(std::string("\x65\x02\x03"), image.substr(1, 3)) << "no change date was stamped";
}
