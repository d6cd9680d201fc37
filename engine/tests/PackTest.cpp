// Packing a table (db_pack): the kept records in their order, the cut file and the header, the
// refusals, memo references that cannot be read, a protected table, the caller's unwritten change,
// failures that must leave the table as it was, the rebuilt index, and the trace lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "Area.h"
#include "DebugCapture.h"
#include "DebugOutput.h"
#include "EngineHooks.h"
#include "Job.h"
#include "Pack.h"
#include "TableFile.h"
#include "TableTestKit.h"

using namespace tabletest;

namespace {

const std::vector<FieldDef> kFields = {{"NAME", 'C', 10, 0}, {"NUM", 'N', 5, 0}};
const unsigned kHeaderLength = 32 * 3 + 2;
const unsigned kRecordLength = 1 + 10 + 5;

// A record: the deleted flag, "Row <n>" and n.
std::string Row(int n, char flag = ' ')
{
    char text[32];
    std::snprintf(text, sizeof text, "%cRow %-6d%5d", flag, n, n);
    return text;
}

// Records 1..count, those in deleted marked with '*'.
std::vector<std::string> Rows(int count, const std::vector<int>& deleted = {})
{
    std::vector<std::string> rows;
    for (int n = 1; n <= count; ++n) {
        bool marked = false;
        for (int d : deleted)
            marked = marked || d == n;
        rows.push_back(Row(n, marked ? '*' : ' '));
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& rows)
{
    std::string all;
    for (const std::string& r : rows)
        all += r;
    return all;
}

std::string Today()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return std::string{(char)(now.wYear - 1900), (char)now.wMonth, (char)now.wDay};
}

// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

std::vector<unsigned> s_callbackErrors;
void DB_CALL CollectError(unsigned code) { s_callbackErrors.push_back(code); }

// The failing record write of a case: the place and the record number.
PackWriteTarget s_failTarget;
int32_t s_failRecno;
bool FailOneWrite(PackWriteTarget target, int32_t recno) { return !(target == s_failTarget && recno == s_failRecno); }
// Records of the table a reader can give.
int s_readable;

// A cipher of the tests: every byte XORed with a value of its file offset, so that a record
// enciphered for one position reads as garbage at any other.
void Xor(int64_t position, void* buffer, unsigned length)
{
    auto* bytes = (uint8_t*)buffer;
    for (unsigned i = 0; i < length; ++i)
        bytes[i] ^= (uint8_t)((position + i) * 37 + 11);
}
void XorCipher(s_Area&, int32_t position, void* buffer, unsigned length) { Xor(position, buffer, length); }
std::string Enciphered(const std::string& record, int recno)
{
    std::string out = record;
    Xor(kHeaderLength + (int64_t)(recno - 1) * kRecordLength, &out[0], (unsigned)out.size());
    return out;
}

class Pack : public TableTest {
protected:
    void SetUp() override
    {
        TableTest::SetUp();
        m_savedHooks = g_EngineHooks;
        s_callbackErrors.clear();
        g_Job->exclusive = 0; // the open flags say it
    }
    void TearDown() override
    {
        _db_set_pack_write_probe(nullptr);
        TableTest::TearDown();
        g_EngineHooks = m_savedHooks;
    }
    std::string Path() const { return File("table.dbf"); }
    // The table file's bytes, through the handle of the area while the table is open (exclusively
    // open, the file cannot be opened a second time).
    std::string Image() const
    {
        if (!g_Job->currentArea || g_Job->currentArea->file == INVALID_HANDLE_VALUE)
            return oxtest::ReadFileText(Path());
        HANDLE file = g_Job->currentArea->file;
        LARGE_INTEGER size{}, zero{};
        GetFileSizeEx(file, &size);
        std::string bytes((size_t)size.QuadPart, '\0');
        DWORD read = 0;
        SetFilePointerEx(file, zero, nullptr, FILE_BEGIN);
        if (!bytes.empty() && !ReadFile(file, &bytes[0], (DWORD)bytes.size(), &read, nullptr))
            read = 0;
        bytes.resize(read);
        return bytes;
    }
    s_Area& Current() { return *g_Job->currentArea; }

    s_EngineHooks m_savedHooks;
};

} // namespace

TEST_F(Pack, KeepsTheRecordsInOrderAndCutsTheFile)
{
    // Record 5's deleted flag is another character than '*': it is kept.
    std::vector<std::string> rows = Rows(250, {2, 101, 250});
    rows[4][0] = 'x';
    ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, rows)));
    ASSERT_TRUE(db_goto(200));

    EXPECT_TRUE(db_pack());
    EXPECT_EQ(0u, db_error());
    EXPECT_EQ(0u, m_error);

    std::vector<std::string> kept;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i][0] != '*')
            kept.push_back(rows[i]);
    ASSERT_EQ(247u, kept.size());
    const std::string image = Image();
    EXPECT_EQ(kHeaderLength + 247 * kRecordLength, image.size());
    EXPECT_EQ(247u, Get32(image, 4));
    EXPECT_EQ(Today(), image.substr(1, 3));
    EXPECT_TRUE(image.substr(kHeaderLength) == Joined(kept)) << "the kept records in their old order";

    EXPECT_EQ(247u, db_reccount());
    EXPECT_EQ(1u, db_recno()) << "the area stands at the first record";
    EXPECT_EQ(0u, db_indexord());
    ASSERT_EQ(100, db_goto(100));
    EXPECT_EQ("Row 102   ", Contents("NAME"));
    EXPECT_EQ(std::vector<std::string>{"table.dbf"}, FilesIn(m_dir->Path())) << "no temporary file is left";
}

TEST_F(Pack, TableWithoutDeletedRecordsOrWithoutKeptOnes)
{
    const struct {
        const char* what;
        std::vector<int> deleted;
        unsigned count;
    } cases[] = {
        {"nothing deleted", {}, 5},
        {"everything deleted", {1, 2, 3, 4, 5}, 0},
        {"only the last deleted", {5}, 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> rows = Rows(5, c.deleted);
        ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, rows)));
        EXPECT_TRUE(db_pack());
        EXPECT_EQ(0u, db_error());
        std::vector<std::string> kept;
        for (const std::string& r : rows)
            if (r[0] != '*')
                kept.push_back(r);
        const std::string image = Image();
        EXPECT_EQ(c.count, Get32(image, 4));
        EXPECT_TRUE(image.substr(kHeaderLength) == Joined(kept));
        EXPECT_EQ(c.count == 0 ? (unsigned)DB_EOF : 1u, db_recno());
        db_close(3);
    }
}

TEST_F(Pack, RefusedTablesStayAsTheyAre)
{
    const struct {
        const char* what;
        unsigned flags;
        bool fakeLock;
        std::vector<std::string> rows;
        unsigned error;
    } cases[] = {
        {"shared", 0x00, false, Rows(5, {2}), 17},
        {"exclusive with a fake record lock", 0x01, true, Rows(5, {2}), 17},
        {"without records", 0x01, false, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = DbfImage(kFields, c.rows);
        ASSERT_TRUE(Use("table.dbf", before, c.flags));
        if (c.fakeLock) {
            ASSERT_TRUE(db_goto(1));
            ASSERT_TRUE(db_fake_rlock());
        }
        EXPECT_FALSE(db_pack());
        EXPECT_EQ(c.error, db_error());
        EXPECT_EQ(c.error, m_error);
        db_close(3);
        EXPECT_TRUE(Image() == before);
    }

    // A table just defined has no lock bits until it is opened again.
    ASSERT_TRUE(db_define_begin(File("new.dbf").c_str(), 1, nullptr, 0, 1));
    ASSERT_TRUE(db_define_field("NAME", 'C', 10, 0));
    ASSERT_TRUE(db_define_end());
    EXPECT_FALSE(db_pack());
    EXPECT_EQ(17u, db_error());
}

TEST_F(Pack, FailedReadsAndWritesLeaveTheTableAsItWas)
{
    const struct {
        const char* what;
        int readable;     // records that can be read; the table holds 8
        PackWriteTarget target;
        int32_t recno;    // the failing write; 0: none
        unsigned error;
    } cases[] = {
        {"the first moved record cannot be written", 8, PACK_WRITE_TEMPORARY, 2, 16},
        {"a later moved record cannot be written", 8, PACK_WRITE_TEMPORARY, 5, 16},
        {"the first record cannot be copied back", 8, PACK_WRITE_TABLE, 2, 16},
        {"record 7 cannot be read", 6, PACK_WRITE_TEMPORARY, 0, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string before = DbfImage(kFields, Rows(8, {2}));
        ASSERT_TRUE(Use("table.dbf", before));
        s_Area& area = *g_Job->currentArea;
        if (c.readable < 8) {
            // A table whose file ends before its count is refused when it is opened; the records
            // come through a reader that gives out after the readable ones instead.
            s_readable = c.readable;
            area.packed = 1;
            g_EngineHooks.packedSize = [](s_Area&) { return (int64_t)kHeaderLength + 8 * kRecordLength; };
            g_EngineHooks.readPacked = [](s_Area& a, int64_t offset, void* buffer, unsigned count) -> unsigned {
                if (offset + count > (int64_t)kHeaderLength + (int64_t)s_readable * kRecordLength)
                    return 0;
                return _db_read_at(a, buffer, offset, count);
            };
        }
        s_failTarget = c.target;
        s_failRecno = c.recno;
        _db_set_pack_write_probe(FailOneWrite);
        EXPECT_FALSE(db_pack());
        EXPECT_EQ(c.error, db_error());
        EXPECT_EQ(c.error, m_error);
        _db_set_pack_write_probe(nullptr);
        area.packed = 0;
        g_EngineHooks = m_savedHooks;
        db_close(3);
        EXPECT_TRUE(Image() == before);
        EXPECT_EQ(std::vector<std::string>{"table.dbf"}, FilesIn(m_dir->Path())) << "no temporary file is left";
    }
}

TEST_F(Pack, UnreadableMemoReferencesAreEmptied)
{
    // Block 1 holds a memo; a reference to block 40 lies beyond the end of the memo file.
    std::string memo(512, '\0');
    Put32(memo, 0, 2);
    Put16(memo, 20, 512);
    std::string block = std::string("Erste Notiz") + "\x1A" + '\0';
    block.resize(512, ' ');
    ASSERT_TRUE(oxtest::WriteFileText(File("table.dbt"), memo + block));
    const std::vector<FieldDef> fields = {{"NAME", 'C', 10, 0}, {"NOTE", 'M', 10, 0}};
    const std::vector<std::string> rows = {"*Gone               1", " Good               1", " Lost              40",
                                           " Blank               "};
    ASSERT_TRUE(Use("table.dbf", DbfImage(fields, rows, 0x83)));
    db_set_errorcallback(CollectError);

    EXPECT_TRUE(db_pack());
    EXPECT_EQ(0u, db_error()) << "the memo check's errors are not the pack's";
    EXPECT_EQ(0u, m_error);
    EXPECT_EQ(std::vector<unsigned>{10}, s_callbackErrors) << "they still reach the callback";

    ASSERT_EQ(3u, db_reccount());
    const std::string image = Image();
    const unsigned header = 32 * 3 + 2;
    EXPECT_EQ(rows[1], image.substr(header, 21));
    EXPECT_EQ(" Lost      " + std::string(10, ' '), image.substr(header + 21, 21)) << "the lost reference is blank";
    EXPECT_EQ(rows[3], image.substr(header + 42, 21));
    char text[64];
    ASSERT_EQ(1, db_goto(1));
    ASSERT_TRUE(db_memo_read_buffer("NOTE", text, sizeof text));
    EXPECT_STREQ("Erste Notiz", text);
}

TEST_F(Pack, ProtectedTableIsEncipheredForTheNewPositions)
{
    const std::vector<std::string> plain = Rows(6, {1, 4});
    std::vector<std::string> stored;
    for (size_t i = 0; i < plain.size(); ++i)
        stored.push_back(Enciphered(plain[i], (int)i + 1));
    ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, stored)));
    g_EngineHooks.encryptBuffer = XorCipher;
    g_EngineHooks.decryptBuffer = XorCipher;
    Current().protectedTable = 1;

    EXPECT_TRUE(db_pack());
    EXPECT_EQ(0u, db_error());
    const int kept[] = {2, 3, 5, 6};
    const std::string image = Image();
    ASSERT_EQ(kHeaderLength + 4 * kRecordLength, image.size());
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_TRUE(image.substr(kHeaderLength + i * kRecordLength, kRecordLength) == Enciphered(plain[kept[i] - 1], i + 1));
        ASSERT_EQ(i + 1, db_goto(i + 1));
        EXPECT_EQ(plain[kept[i] - 1].substr(1, 10), Contents("NAME"));
    }
}

TEST_F(Pack, UnwrittenChangeStaysWithItsRecord)
{
    ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, Rows(5, {2}))));
    ASSERT_EQ(4, db_goto(4));
    ASSERT_TRUE(db_replace("NAME", "Changed"));

    EXPECT_TRUE(db_pack());
    std::string changed = Row(4);
    changed.replace(1, 10, "Changed   ");
    EXPECT_EQ(Joined({Row(1), Row(3), changed, Row(5)}), Image().substr(kHeaderLength));
}

TEST_F(Pack, RebuiltIndexFindsTheNewRecordNumbers)
{
    ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, Rows(30, {3, 10, 11}))));
    ASSERT_TRUE(db_index_on(1, "NAME", File("names.ntx").c_str(), 0));

    ASSERT_TRUE(db_pack());
    ASSERT_TRUE(db_reindex(0));
    ASSERT_TRUE(db_set_order(1));
    EXPECT_TRUE(db_seek("Row 20    "));
    EXPECT_EQ(17u, db_recno());
    EXPECT_FALSE(db_seek("Row 10    "));
}

TEST_F(Pack, TraceLines)
{
    ASSERT_TRUE(Use("table.dbf", DbfImage(kFields, Rows(2, {1}))));
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    capture.Take();
    db_set_debug(1);
    db_pack();
    db_set_debug(0);
    DebugChannelClose();

    // Without the program's name, process, thread and time; the indentation kept.
    const std::regex prefix("^engine_pack_test:( *)([0-9a-f]{8}/[0-9a-f]{8}: [0-9]{2}:[0-9]{2}\\.[0-9]{3} )?");
    std::vector<std::string> lines;
    for (const std::string& l : capture.Take())
        if (l.find("@DbSetDebug") == std::string::npos)
            lines.push_back(std::regex_replace(l, prefix, "$1"));
    const std::vector<std::string> expected = {
        "@DbPack()", " @DbSetOrder(0)", "=1", " @DbReccount()", "=1", " @DbGoto(1)", "=1", " @DbGoto(0)", "=1", "=1",
    };
    EXPECT_EQ(expected, lines);
}
