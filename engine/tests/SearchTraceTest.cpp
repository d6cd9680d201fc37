// Trace lines of locate, the small table exports, the wildcard and expression seeks and the
// relations, and the relation tree of db_debuginfo (3), read from the debug-output channel.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "DebugCapture.h"
#include "DebugOutput.h"
#include "IndexTestKit.h"
#include "Job.h"

using namespace idxtest;

namespace {

const std::vector<Row> kRows = {{"SMITH", 5.00, ""}, {"MEIER", 5.00, ""}, {"ADAMS", 1.00, ""}};

// Lines of this process without the program's prefix and the "pid/tid: mm:ss.mmm " part; the
// indentation (one blank per level of nesting) stays.
std::vector<std::string> Lines(const std::vector<std::string>& lines)
{
    return oxtest::OwnLines(lines, "engine_search_trace_test");
}

class SearchTrace : public IndexFixture {
protected:
    void SetUp() override
    {
        IndexFixture::SetUp();
        ASSERT_TRUE(m_capture.IsOpen());
        DebugChannelOpen(GetModuleHandleA(nullptr));
        m_capture.Take();
    }
    void TearDown() override
    {
        DebugChannelClose();
        IndexFixture::TearDown();
    }
    oxtest::MailslotCapture m_capture;
};

} // namespace

TEST_F(SearchTrace, CallAndResultLines)
{
    ASSERT_EQ(2, db_select_area(2));
    ASSERT_TRUE(Use("keys.dbf", TableImage(kRows), 0x01, "KEYS"));
    ASSERT_TRUE(db_index_on(1, "NAME", File("keys").c_str(), 0));
    ASSERT_EQ(1, db_select_area(1));
    ASSERT_TRUE(Open(kRows));
    ASSERT_TRUE(db_index_on(1, "NAME", File("name").c_str(), 0));
    ASSERT_EQ(1, db_goto(1));
    db_set_exact(0);
    m_capture.Take();

    char buffer[300];
    db_set_debug(1);
    db_locate("AMOUNT = 1");
    db_continue();
    db_found();
    db_set_compatibility(0, 1);
    db_get_databaseUNC(1, buffer, sizeof buffer);
    db_set_option(1, 2);
    db_set_mailslotcallback((void*)(uintptr_t)0x1234);
    db_trigger_usernotification("Hallo");
    db_broadcast(0xAB, 3);
    db_set_user("Meier");
    db_seek_wild("M*");
    db_seek_wild_next("S*");
    db_seek_expression("'MEIER'");
    db_seek_expression_next("'MEIER'");
    db_add_relation("KEYS", "NAME");
    db_align_relations();
    db_rlock_relations(0);
    db_unlock_relations();
    db_write_relations();
    db_delete_relations();
    db_set_debug(0);

    char full[MAX_PATH];
    GetFullPathNameA(File("table.dbf").c_str(), sizeof full, full, nullptr);
    CharLowerA(full);
    const std::vector<std::string> expected = {
        "@DbLocate('AMOUNT = 1')",
        "=1",
        "@DbContinue()",
        " @DbSkip(1)",
        "=2",
        " @DbSkip(1)",
        "=1",
        " @DbSkip(1)",
        "=2147483647",
        "=1",
        "@DbFound()",
        "=0",
        "@DbSetCompatibility(0,1)",
        "=1",
        "@DbGetDatabasepath(1,0xBUF,300)",
        std::string("->'") + full + "'",
        "=1",
        "@DbSetMailslotCallback(0x00001234)",
        "@DbTriggerUsernotification(Hallo)",
        "[error: code 61]",
        "=0",
        "@DbBroadcast(000000ab,3)",
        "[error: code 61]",
        "=0",
        "@DbSetUser('Meier')",
        "=1",
        "@DbSeekWild('M*')",
        " @DbGoto(0)",
        "=3",
        "=1",
        "@DbSeekWildNext('S*')",
        " @DbSkip(1)",
        "=1",
        "=1",
        "@DbSeekExpression(''MEIER'')",
        "=1",
        "@DbSeekExpressionNext(''MEIER'')",
        " @DbSkip(1)",
        "=1",
        "=0",
        "@DbAddRelation('KEYS',NAME)",
        "=1",
        "@DbUnlockRelations()",     // db_align_relations
        "=1",
        "@DbRlockRelations(0)",
        " @DbRlock(0)",
        "=1",
        " @DbRlock(0)",
        "=1",
        "=1",
        "@DbUnlockRelations()",
        " @DbUnlock(0)",
        "=1",
        " @DbUnlock(0)",
        "=1",
        "=1",
        "@DbWriteRelations()",
        " @DbWrite()",
        "=1",
        "=1",
        "@DbDeleteRelations()",
        "=1",
    };
    std::vector<std::string> lines = Lines(m_capture.Take());
    ASSERT_EQ(expected.size() + 2, lines.size());
    const std::regex address("0x[0-9a-f]{8},");
    std::vector<std::string> got;
    for (size_t i = 1; i + 1 < lines.size(); ++i)
        got.push_back(std::regex_replace(lines[i], address, "0xBUF,"));
    EXPECT_EQ(expected, got);
}

TEST_F(SearchTrace, RelationTree)
{
    // Written by a process of the real library (the dump goes through the utility library's own
    // debug output, which finds the channel when it is loaded).
    oxtest::TempDir folder("relationtree");
    std::string path = folder.File("");
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    const std::string line = "\"" + oxtest::ProgramDir() + "\\engine_search_probe.exe\" tree \"" + path + "\"";
    ASSERT_EQ(0, oxtest::RunProcess(line)) << line;
    std::vector<std::string> lines;
    for (const std::string& l : m_capture.Take())
        if (l.compare(0, 7, "vlDB07:") != 0)
            lines.push_back(l);
    const std::string key = "CUST+'" + std::string(60, 'x') + "'";
    const std::string shortened = key.substr(0, 29) + "..." + key.substr(key.size() - 26);
    // OEM line drawing: 0xB3 bar, 0xC3 branch, 0xC0 last branch, 0xC4 line; 0xF8 the first level.
    const std::vector<std::string> expected = {
        std::string(79, '-'),
        "Relation tree:",
        "--------------",
        "ORDERS",
        "\xF8\xB3",
        "\xF8\xC3\xC4\xC4ORDERS.(RECNO())",
        "\xF8\xB3   *child does not exist*",
        "\xF8\xB3",
        "\xF8\xC0\xC4\xC4ORDERS.(" + shortened + ")",
        "\xF8   to KEYS.(ID)",
        "\xF8   \xB3",
        "\xF8   \xC0\xC4\xC4KEYS.(RECNO())",
        "\xF8      to #3 *child has no index*",
    };
    EXPECT_EQ(expected, lines);
}
