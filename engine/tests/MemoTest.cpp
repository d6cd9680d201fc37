// Memo files: dBase 4 memos in whole blocks with the chain of free runs, terminator memos with
// their reuse rules, reading (limits, styles, handles), the errors of the memo exports, writes
// refused before the memo file is touched, and a damaged free chain.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Area.h"
#include "EngineHooks.h"
#include "Job.h"
#include "WriteTestKit.h"

using namespace tabletest;
using namespace writetest;

namespace {

class Memos : public TableTest {
protected:
    // A new table memo.dbf (ID N 6, NOTE M) of the database type (1: dBase 4 memos), open shared
    // with the alias T1.
    void Define(unsigned type)
    {
        g_Job->exclusive = 0;
        db_files_open();
        ASSERT_TRUE(db_define_begin(File("memo.dbf").c_str(), 0, "T1", type, 2));
        ASSERT_TRUE(db_define_field("ID", 'N', 6, 0));
        ASSERT_TRUE(db_define_field("NOTE", 'M', 10, 0));
        ASSERT_TRUE(db_define_end());
        // Opened again, so that the memo file is shared as well.
        db_close(0);
        ASSERT_TRUE(db_use(File("memo.dbf").c_str(), 0, "T1", type));
        m_id = 0;
    }
    // Appends a record with a memo.
    bool New(const std::string& text)
    {
        return db_blank() && db_replace("ID", std::to_string(++m_id).c_str()) && db_memo_write("NOTE", text.c_str()) &&
               db_insert();
    }
    // Writes the memo of a record under its lock.
    bool Put(long recno, const std::string& text)
    {
        const bool done = db_goto(recno) == recno && db_rlock(0) && Contents("ID") != "<failed>" &&
                          db_memo_write("NOTE", text.c_str()) && db_write();
        db_unlock(0);
        return done;
    }
    std::string Reference(long recno)
    {
        db_goto(recno);
        return Contents("NOTE");
    }
    // The memo text through db_memo_read.
    std::string Read(long recno, HGLOBAL previous = nullptr)
    {
        db_goto(recno);
        HGLOBAL memo = db_memo_read("NOTE", previous);
        if (!memo)
            return "<failed>";
        std::string text = (const char*)GlobalLock(memo);
        GlobalUnlock(memo);
        GlobalFree(memo);
        return text;
    }
    std::string Dbt() const { return oxtest::ReadFileText(File("memo.dbt")); }
    // The free-run record {next, length} at a block.
    std::pair<uint32_t, uint32_t> RunAt(uint32_t block) const
    {
        const std::string dbt = Dbt();
        return {Get32(dbt, block * 512), Get32(dbt, block * 512 + 4)};
    }

    long m_id = 0;
};

using FreeRun = std::pair<uint32_t, uint32_t>;

} // namespace

TEST_F(Memos, Dbase4MemosTakeWholeBlocks)
{
    Define(1);
    const std::string a(504, 'a'), b(505, 'b');
    ASSERT_TRUE(New(a));
    EXPECT_EQ("0000000001", Reference(1));
    std::string dbt = Dbt();
    EXPECT_EQ(1024u, dbt.size()) << "504 characters and the 8-byte block header fill one block";
    EXPECT_EQ(std::string("\xFF\xFF\x08\x00", 4), dbt.substr(512, 4));
    EXPECT_EQ(512u, Get32(dbt, 516));
    EXPECT_EQ(a, dbt.substr(520, 504));
    EXPECT_EQ(2u, Get32(dbt, 0)) << "the free chain starts at the end of the file";

    ASSERT_TRUE(New(b));
    EXPECT_EQ("0000000002", Reference(2));
    dbt = Dbt();
    EXPECT_EQ(2048u, dbt.size()) << "505 characters take two blocks";
    EXPECT_EQ(4u, Get32(dbt, 0));
    EXPECT_EQ(a, Read(1));
    EXPECT_EQ(b, Read(2));
    char first[11];
    EXPECT_TRUE(db_memo_read_buffer("NOTE", first, sizeof first));
    EXPECT_STREQ("bbbbbbbbbb", first);
}

TEST_F(Memos, Dbase4FreeRunsAreReused)
{
    Define(1);
    ASSERT_TRUE(New(std::string(1200, 'a'))); // blocks 1..3
    ASSERT_TRUE(New(std::string(100, 'b')));  // block 4
    ASSERT_TRUE(New(std::string(100, 'c')));  // block 5
    ASSERT_EQ(6u, RunAt(0).first);

    // An empty text gives the run back and leaves 10 blanks.
    ASSERT_TRUE(Put(1, ""));
    EXPECT_EQ("          ", Reference(1));
    EXPECT_FALSE(db_memo_exist("NOTE"));
    EXPECT_EQ(1u, RunAt(0).first);
    EXPECT_EQ(FreeRun(6, 3), RunAt(1));

    // Two blocks from the first run large enough; the old run of record 2 joins the chain in
    // block order.
    const std::string d(600, 'd');
    ASSERT_TRUE(Put(2, d));
    EXPECT_EQ("0000000001", Reference(2));
    EXPECT_EQ(3u, RunAt(0).first);
    EXPECT_EQ(FreeRun(4, 1), RunAt(3));
    EXPECT_EQ(FreeRun(6, 1), RunAt(4));
    EXPECT_EQ(d, Read(2));

    // The first fitting run lies before the memo's own old run.
    ASSERT_TRUE(Put(3, std::string(100, 'e')));
    EXPECT_EQ("0000000003", Reference(3));
    EXPECT_EQ(4u, RunAt(0).first);
    EXPECT_EQ(FreeRun(5, 1), RunAt(4));
    EXPECT_EQ(FreeRun(6, 1), RunAt(5));
    // Now the memo's own old run is the first that fits.
    ASSERT_TRUE(Put(3, std::string(50, 'f')));
    EXPECT_EQ("0000000003", Reference(3));
    EXPECT_EQ(4u, RunAt(0).first);
    EXPECT_EQ(std::string(50, 'f'), Read(3));

    // Runs too short are passed over: the end of the file takes it.
    ASSERT_TRUE(New(std::string(1000, 'g')));
    EXPECT_EQ("0000000006", Reference(4));
    EXPECT_EQ(FreeRun(8, 1), RunAt(5));
    EXPECT_EQ(8u * 512, Dbt().size());
    EXPECT_EQ(d, Read(2));
    EXPECT_EQ(std::string(1000, 'g'), Read(4));
}

TEST_F(Memos, TerminatorMemosReuseTheirPlaceWhenItSuffices)
{
    Define(0);
    ASSERT_TRUE(New("abc"));
    EXPECT_EQ("         1", Reference(1));
    EXPECT_EQ(std::string("abc\x1A\0", 5), Dbt().substr(512, 5));
    EXPECT_EQ(2u, Get32(Dbt(), 0));
    ASSERT_TRUE(New("b"));
    EXPECT_EQ("         2", Reference(2));

    const struct {
        const char* what;
        long recno;
        std::string text;
        const char* reference;
        unsigned nextFree;
    } cases[] = {
        {"a text of one block stays in the first block", 1, std::string(511, 'q'), "         1", 3},
        {"a longer text goes behind the others", 2, std::string(600, 'x'), "         3", 5},
        {"the old place holds as many blocks as needed", 2, std::string(1000, 'y'), "         3", 5},
        {"one block more than the old text spans", 2, std::string(1100, 'z'), "         5", 8},
        {"an empty text leaves the blocks", 1, "", "          ", 8},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Put(c.recno, c.text)) << c.what;
        EXPECT_EQ(c.reference, Reference(c.recno)) << c.what;
        EXPECT_EQ(c.nextFree, Get32(Dbt(), 0)) << c.what;
        EXPECT_EQ(c.text, Read(c.recno)) << c.what;
    }
    // The 511 characters and their terminator filled block 1; nothing spilled into block 2.
    EXPECT_EQ(std::string(511, 'q') + "\x1A", Dbt().substr(512, 512));
    EXPECT_EQ("b\x1A", Dbt().substr(1024, 2));
}

TEST_F(Memos, ReadingStylesHandlesAndLimits)
{
    // Block 1: a terminator memo with filler behind it; block 2: a block-header memo.
    std::string blocks = std::string("hello\x1A") + "world" + std::string(501, 'w');
    std::string header = std::string("\xFF\xFF\x08\x00", 4) + std::string("\x0D\x00\x00\x00", 4) + "dBase" +
                         std::string(499, '.');
    const std::vector<FieldDef> fields = {{"ID", 'N', 6, 0}, {"NOTE", 'M', 10, 0}};
    const std::string image = DbfImage(fields, {"      1         1", "      2         2", "      3          "}, 0x83);
    ASSERT_TRUE(oxtest::WriteFileText(File("read.dbt"), MemoImage(3, blocks + header)));
    const struct {
        unsigned type;
        long recno;
        const char* text;
        unsigned warning;
    } cases[] = {
        {0, 1, "hello", 0}, {0, 2, "dBase", 1000}, {0, 3, "", 0}, {1, 1, "hello", 1000}, {1, 2, "dBase", 0},
    };
    for (const auto& c : cases) {
        db_close(0);
        db_files_open();
        oxtest::WriteFileText(File("read.dbf"), image);
        ASSERT_TRUE(db_use(File("read.dbf").c_str(), 0x01, nullptr, c.type));
        m_error = 0;
        db_goto(c.recno);
        HGLOBAL memo = db_memo_read("NOTE", nullptr);
        ASSERT_NE(nullptr, memo) << c.recno;
        EXPECT_STREQ(c.text, (const char*)GlobalLock(memo)) << "type " << c.type << ", record " << c.recno;
        GlobalUnlock(memo);
        GlobalFree(memo);
        EXPECT_EQ(c.warning, m_error) << "type " << c.type << ", record " << c.recno << ": the style of the table";
    }

    // A handle of the caller is re-allocated for the result.
    HGLOBAL previous = GlobalAlloc(GMEM_MOVEABLE, 2);
    db_goto(2);
    HGLOBAL memo = db_memo_read("NOTE", previous);
    ASSERT_NE(nullptr, memo);
    EXPECT_STREQ("dBase", (const char*)GlobalLock(memo));
    GlobalUnlock(memo);
    GlobalFree(memo);

    char part[11];
    db_goto(1);
    EXPECT_TRUE(db_memo_read_buffer("NOTE", part, 4));
    EXPECT_STREQ("hel", part);
}

TEST_F(Memos, ReadsStopAtOneMegabyte)
{
    const std::string text(1100000, 'm');
    for (unsigned type : {0u, 1u}) {
        db_close(0);
        Define(type);
        ASSERT_TRUE(New(text)) << type;
        const std::string read = Read(1);
        EXPECT_EQ(1048575u, read.size()) << "type " << type;
        EXPECT_EQ(text.substr(0, 1048575), read) << "type " << type;
        std::string hooked;
        ASSERT_TRUE(g_EngineHooks.readMemo(*g_Job->currentArea, 2, hooked));
        EXPECT_EQ(read, hooked) << "the expressions' memo reads";
    }
}

TEST_F(Memos, Errors)
{
    Define(1);
    ASSERT_TRUE(New("text"));
    db_goto(1);
    char buffer[32];
    const struct {
        const char* what;
        std::function<bool()> call;
        unsigned error;
    } cases[] = {
        {"db_memo_exist, not a memo field", [] { return db_memo_exist("ID") != FALSE; }, 28},
        {"db_memo_read_buffer, not a memo field", [&] { return db_memo_read_buffer("ID", buffer, sizeof buffer) != FALSE; }, 28},
        {"db_memo_read, not a memo field", [] { return db_memo_read("ID", nullptr) != nullptr; }, 28},
        {"db_memo_write, not a memo field", [] { return db_memo_write("ID", "x") != FALSE; }, 28},
        {"db_memo_exist, no such field", [] { return db_memo_exist("NOSUCH") != FALSE; }, 14},
        {"db_memo_read, no such field", [] { return db_memo_read("#7", nullptr) != nullptr; }, 14},
        {"db_memo_write, unknown alias", [] { return db_memo_write("NOWHERE.NOTE", "x") != FALSE; }, 6},
        {"db_memo_read_buffer, size 0", [&] { return db_memo_read_buffer("NOTE", buffer, 0) != FALSE; }, 22},
        {"the expressions' memo read, not a memo field",
         [] { std::string t; return g_EngineHooks.readMemo(*g_Job->currentArea, 1, t); }, 28},
    };
    for (const auto& c : cases) {
        m_error = 0;
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(c.error, m_error) << c.what;
    }

    // The alias-qualified form, from another area.
    db_select_area(2);
    ASSERT_TRUE(Use("other.dbf", DbfImage({{"NAME", 'C', 10, 0}}, {" Anderer"}), 0x01));
    EXPECT_TRUE(db_memo_read_buffer("T1.NOTE", buffer, sizeof buffer));
    EXPECT_STREQ("text", buffer);
    EXPECT_EQ(2, db_select(nullptr));
    db_select_area(1);

    // A record that cannot be read (its bytes come through the packed-table hooks, which give
    // nothing): the read error, not the one of packing.
    {
        const s_EngineHooks saved = g_EngineHooks;
        s_Area& area = *g_Job->currentArea;
        area.packed = 1;
        g_EngineHooks.packedSize = [](s_Area& a) { return (int64_t)a.headerLength + (int64_t)a.recordLength; };
        g_EngineHooks.readPacked = [](s_Area&, int64_t, void*, unsigned) { return 0u; };
        area.bufferValid = 0;
        m_error = 0;
        EXPECT_EQ(nullptr, db_memo_read("NOTE", nullptr));
        EXPECT_EQ((unsigned)DBE_READ_RECORD, m_error);
        area.packed = 0;
        g_EngineHooks = saved;
    }

    // Opened without its memo file.
    db_close(0);
    db_files_open();
    ASSERT_TRUE(db_use(File("memo.dbf").c_str(), 0x21, nullptr, 1));
    db_goto(1);
    m_error = 0;
    EXPECT_FALSE(db_memo_read_buffer("NOTE", buffer, sizeof buffer));
    EXPECT_EQ((unsigned)DBE_MEMO_OPEN, m_error);
    EXPECT_TRUE(db_memo_exist("NOTE")) << "the reference is in the table";
}

TEST_F(Memos, UnlockedRecordKeepsItsMemo)
{
    for (unsigned type : {0u, 1u}) {
        db_close(0);
        Define(type);
        ASSERT_TRUE(New("alt"));
        const std::string dbt = Dbt();
        const std::string reference = Reference(1);
        m_error = 0;
        EXPECT_FALSE(db_memo_write("NOTE", "neu und viel laenger als vorher")) << "type " << type;
        EXPECT_EQ((unsigned)DBE_UNLOCKED, m_error) << "type " << type;
        EXPECT_EQ(dbt, Dbt()) << "type " << type << ": the memo file is untouched";
        EXPECT_EQ(reference, Reference(1)) << "type " << type;
        EXPECT_EQ("alt", Read(1)) << "type " << type;
        m_error = 0;
        EXPECT_FALSE(db_memo_write("NOTE", "")) << "type " << type << ": an empty text gives nothing back either";
        EXPECT_EQ(dbt, Dbt()) << "type " << type;
    }
}

TEST_F(Memos, DamagedFreeChainEndsTheWrite)
{
    // The chain's first run names itself as its successor.
    std::string run(512, '\0');
    Put32(run, 0, 1);
    ASSERT_TRUE(oxtest::WriteFileText(File("loop.dbt"), MemoImage(1, run)));
    ASSERT_TRUE(oxtest::WriteFileText(File("loop.dbf"), DbfImage({{"ID", 'N', 6, 0}, {"NOTE", 'M', 10, 0}}, {}, 0x83)));
    db_files_open();
    ASSERT_TRUE(db_use(File("loop.dbf").c_str(), 0x01, nullptr, 1));
    m_error = 0;
    db_blank();
    EXPECT_FALSE(db_memo_write("NOTE", "text"));
    EXPECT_EQ((unsigned)DBE_MEMO_WRITE, m_error);
}
