// An exclusive table whose files stay open keeps what it knows of them between calls: their bytes,
// where each file pointer stands, and its headers through mapped views. These tests play the same
// calls twice, once as the engine runs them and once with that knowledge forgotten before every
// call, and compare the files byte by byte; the calls include those that move a file pointer
// behind the appends (an index build reading the table, the debug dump reading the count) and
// those that cut the files (pack, zap). Then the rows are read from the files themselves. Last,
// closing the table lets go of the files at once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Area.h"
#include "Job.h"
#include "TestKit.h"
#include "WriteTestKit.h"
#include "vlDB07.h"

using namespace writetest;
using tabletest::Get16;
using tabletest::Get32;

namespace {

const unsigned kMemoBlock = 512;

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string NoteText(const std::string& name) { return "Notiz zu " + name + " " + std::string(300, 'x'); }

// A step of a script, and what the table holds afterwards: the names of its rows in order, and the
// rows that have a memo (its text is NoteText of the name).
struct Model {
    std::vector<std::string> names;
    std::vector<bool> noted;
};
using Step = std::function<bool(Model&)>;

bool Append(Model& m, const std::string& name, bool note)
{
    if (!db_blank() || !db_replace("NAME", name.c_str()) || !db_insert())
        return false;
    m.names.push_back(name);
    m.noted.push_back(note);
    return !note || (db_memo_write("NOTE", NoteText(name).c_str()) && db_write());
}

Step Add(const std::string& name, bool note)
{
    return [=](Model& m) { return Append(m, name, note); };
}

// Renames row n and gives it a new memo.
Step Rename(long n, const std::string& name)
{
    return [=](Model& m) {
        // The field read brings the record into the buffer.
        if (db_goto(n) != n || !db_rlock(1) || tabletest::Contents("NAME") == "<failed>" ||
            !db_replace("NAME", name.c_str()) ||
            !db_memo_write("NOTE", NoteText(name).c_str()) || !db_write())
            return false;
        m.names[(size_t)n - 1] = name;
        m.noted[(size_t)n - 1] = true;
        return db_unlock(1) != FALSE;
    };
}

Step DeleteAndPack(long n)
{
    return [=](Model& m) {
        if (db_goto(n) != n || !db_delete() || !db_pack())
            return false;
        m.names.erase(m.names.begin() + (n - 1));
        m.noted.erase(m.noted.begin() + (n - 1));
        return true;
    };
}

// An index beside the table, built (reading the table file) and kept open in natural order.
const Step kIndex = [](Model&) {
    std::string index = (const char*)g_Job->currentArea->databaseName;
    index.replace(index.size() - 3, 3, "ntx");
    if (!db_index_on(1, "NAME", index.c_str(), 0))
        return false;
    db_set_order(0);
    return true;
};
const Step kDump = [](Model&) { return db_debuginfo(1), true; };
const Step kZap = [](Model& m) {
    m.names.clear();
    m.noted.clear();
    return db_zap() != FALSE;
};

struct Script {
    const char* name;
    std::vector<Step> steps;
};

class ExclusiveFiles : public tabletest::TableTest, public ::testing::WithParamInterface<Script> {
protected:
    // Plays the script on a fresh copy of the table; forget: the area forgets what it knows of its
    // files before every step. Answers the files' bytes after closing.
    void Play(bool forget, Model* model, std::string* dbf, std::string* dbt)
    {
        const std::string table = File("excl.dbf"), memo = File("excl.dbt");
        ASSERT_TRUE(oxtest::WriteFileText(memo, MemoImage(1)));
        // The table ends in an end-of-file mark, as other programs write it.
        ASSERT_TRUE(Use("excl.dbf", SharedTableImage() + "\x1A", 0x01)) << m_error;
        model->names.clear();
        model->noted.clear();
        for (int i = 1; i <= 10; ++i) {
            model->names.push_back("Row " + std::to_string(i));
            model->noted.push_back(false);
        }
        int n = 0;
        for (const Step& step : GetParam().steps) {
            ++n;
            if (forget) {
                g_Job->currentArea->cache.reset();
                g_Job->currentArea->memoCache.reset();
            }
            ASSERT_TRUE(step(*model)) << "step " << n << ", error " << m_error;
        }
        ASSERT_TRUE(db_close(3));
        *dbf = oxtest::ReadFileText(table);
        *dbt = oxtest::ReadFileText(memo);
    }
};

TEST_P(ExclusiveFiles, KeptKnowledgeWritesTheSameFiles)
{
    Model kept, forgotten;
    std::string dbf, dbt, plainDbf, plainDbt;
    ASSERT_NO_FATAL_FAILURE(Play(false, &kept, &dbf, &dbt));
    ASSERT_NO_FATAL_FAILURE(Play(true, &forgotten, &plainDbf, &plainDbt));
    EXPECT_EQ(plainDbf, dbf);
    // Memo blocks end in filler bytes that differ from run to run: the header and the size.
    EXPECT_EQ(plainDbt.size(), dbt.size());
    EXPECT_EQ(plainDbt.substr(0, 24), dbt.substr(0, 24));

    // The rows, read from the files.
    const unsigned headerLength = Get16(dbf, 8), recordLength = Get16(dbf, 10);
    ASSERT_EQ(kept.names.size(), (size_t)Get32(dbf, 4));
    ASSERT_GE(dbf.size(), (size_t)headerLength + kept.names.size() * recordLength);
    const unsigned nextFree = Get32(dbt, 0);
    for (size_t i = 0; i < kept.names.size(); ++i) {
        const std::string record = dbf.substr(headerLength + i * recordLength, recordLength);
        EXPECT_EQ(' ', record[0]) << "row " << i + 1;
        EXPECT_EQ(kept.names[i], Trimmed(record.substr(1, 10))) << "row " << i + 1;
        const std::string reference = record.substr(11, 10);
        if (!kept.noted[i]) {
            EXPECT_EQ(std::string(10, ' '), reference) << "row " << i + 1;
            continue;
        }
        const unsigned block = (unsigned)std::stoul(reference);
        const std::string text = NoteText(kept.names[i]) + "\x1A";
        EXPECT_LT(block, nextFree) << "row " << i + 1;
        ASSERT_GE(dbt.size(), (size_t)block * kMemoBlock + text.size()) << "row " << i + 1;
        EXPECT_EQ(text, dbt.substr((size_t)block * kMemoBlock, text.size())) << "row " << i + 1;
    }
}

const Script kScripts[] = {
    {"AppendsAroundAnIndexBuildAndTheDump",
     {Add("A1", true), Add("A2", false), kIndex, Add("A3", true), kDump, Add("A4", false), Add("A5", true)}},
    // The build's reads leave the pointer behind the end-of-file mark, where the rewrite of the
    // last row left it in front.
    {"RewriteTheLastRowThenIndexThenAppend", {Rename(10, "B10"), kIndex, Add("A1", false)}},
    {"RewriteInTheMiddleThenAppend", {Add("A1", true), Add("A2", false), Rename(3, "B3"), Add("A3", true), Rename(11, "B11")}},
    {"PackThenAppend", {Add("A1", true), Add("A2", true), DeleteAndPack(2), Add("A3", true), kDump, Add("A4", false)}},
    {"ZapThenAppend", {Add("A1", true), kZap, Add("Z1", true), Add("Z2", false), Add("Z3", true)}},
};

INSTANTIATE_TEST_SUITE_P(Calls, ExclusiveFiles, ::testing::ValuesIn(kScripts),
                         [](const ::testing::TestParamInfo<Script>& info) { return std::string(info.param.name); });

// The mapped headers go with the files: right after db_files_close (the area stays) and right
// after db_close, the files can be opened exclusively and deleted.
class ExclusiveClose : public tabletest::TableTest {};

TEST_F(ExclusiveClose, LetsGoOfTheFilesAtOnce)
{
    const std::string table = File("excl.dbf"), memo = File("excl.dbt");
    ASSERT_TRUE(oxtest::WriteFileText(memo, MemoImage(1)));
    ASSERT_TRUE(Use("excl.dbf", SharedTableImage(), 0x01)) << m_error;
    Model model;
    ASSERT_TRUE(Append(model, "A1", true));
    ASSERT_TRUE(g_Job->currentArea->cache && g_Job->currentArea->cache->HeaderMapped())
        << "the count went through the mapped header";
    ASSERT_TRUE(g_Job->currentArea->memoCache && g_Job->currentArea->memoCache->HeaderMapped())
        << "the next-free block went through the mapped header";
    const auto released = [&](bool remove) {
        for (const std::string& path : {table, memo}) {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            EXPECT_NE(INVALID_HANDLE_VALUE, file) << path << ": " << GetLastError();
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
            if (remove) {
                EXPECT_TRUE(DeleteFileA(path.c_str())) << path << ": " << GetLastError();
            }
        }
    };
    ASSERT_TRUE(db_files_close());
    released(false);
    ASSERT_TRUE(db_files_open());
    ASSERT_TRUE(Append(model, "A2", true)) << m_error;
    ASSERT_TRUE(db_close(3));
    released(true);
}

} // namespace
