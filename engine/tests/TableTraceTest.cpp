// The trace lines of the table exports and the dumps of db_debuginfo, read from the
// debug-output channel of a probe process that uses the real DLL.
#include <gtest/gtest.h>

#include <regex>

#include "DebugCapture.h"
#include "TableTestKit.h"

using namespace tabletest;

namespace {

// Runs the probe with a command on a table and answers the lines it wrote to the channel.
std::vector<std::string> ProbeLines(const std::string& command, const std::string& table)
{
    oxtest::MailslotCapture capture;
    EXPECT_TRUE(capture.IsOpen());
    capture.Take();
    const std::string line = "\"" + oxtest::ProgramDir() + "\\engine_dbf_probe.exe\" " + command + " \"" + table + "\"";
    EXPECT_EQ(0, oxtest::RunProcess(line)) << line;
    return capture.Take();
}

// Trace lines of the engine without the library prefix, process and thread ids and time, and
// with caller buffer addresses replaced by "0xBUF".
std::vector<std::string> TraceLines(const std::vector<std::string>& lines)
{
    const std::regex prefix("^vlDB07:( *)[0-9a-f]{8}/[0-9a-f]{8}: [0-9]{2}:[0-9]{2}\\.[0-9]{3} ");
    const std::regex buffer("0x[0-9a-f]{8}");
    std::vector<std::string> out;
    for (const std::string& l : lines) {
        if (l.compare(0, 7, "vlDB07:") != 0)
            continue;
        std::string text = std::regex_replace(l, prefix, "$1");
        if (text.compare(0, 7, "vlDB07:") == 0)
            text.erase(0, 7);
        out.push_back(std::regex_replace(text, buffer, "0xBUF"));
    }
    return out;
}

class TableTrace : public ::testing::Test {
protected:
    oxtest::TempDir m_dir{"dbftrace"};
};

} // namespace

TEST_F(TableTrace, CallNoteAndResultLines)
{
    const std::string table = m_dir.File("trace.dbf");
    const std::string longText(80, 'x');
    oxtest::WriteFileText(table, DbfImage({{"NAME", 'C', 10, 0}, {"NUM", 'N', 5, 0}, {"LONGTEXT", 'C', 80, 0}},
                                          {" Meier        42" + longText, " Huber        -7"}));
    std::vector<std::string> lines = TraceLines(ProbeLines("trace", table));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(0u, lines.front().find("@DbSetDebug(1) --- Version 7.014 of ")) << lines.front();
    EXPECT_EQ(0u, lines.back().find("@DbSetDebug(0) --- Version 7.014 of ")) << lines.back();
    const std::vector<std::string> expected = {
        "@DbUse('" + table + "',0x0001,'TR',0x0000)",
        "=1",
        "@DbGetContents('NAME',0xBUF,200)",
        "->'Meier     '",
        "=1",
        "@DbGetContents(FIELDREF(2),0xBUF,200)",
        "->'   42'",
        "=1",
        "@DbGetContents('LONGTEXT',0xBUF,200)",
        "->'" + std::string(76, 'x') + "...'",
        "=1",
        "@DbGetContents('NOSUCH',0xBUF,200)",
        "[error: code 14]",
        "=0",
        "@DbGoto(1)",
        "=1",
        "@DbReplace('TR.NAME','Neu')",
        " @DbReplace('NAME','Neu')",
        "=1",
        "=1",
        "@DbSkip(1)",
        "=2",
        "@DbRecno()",
        "=2",
        "@DbGetReference('FIELDREF(2)')",
        "=2",
        "@DbClose(3)",
        "=1",
    };
    EXPECT_EQ(expected, std::vector<std::string>(lines.begin() + 1, lines.end() - 1));
}

TEST_F(TableTrace, DebugInfoDumps)
{
    // A table name of 60 characters or more is shown shortened in the dump.
    const std::string table = m_dir.File("a_table_with_a_rather_long_name_for_the_dump.dbf");
    ASSERT_GE(table.size(), 57u);
    oxtest::WriteFileText(table, DbfImage({{"NAME", 'C', 10, 0}}, {" A", " B", " C"}));
    std::vector<std::string> lines;
    for (const std::string& l : ProbeLines("debuginfo", table))
        if (l.compare(0, 7, "vlDB07:") != 0)
            lines.push_back(l);
    const std::string shortened = table.substr(0, 30) + "..." + table.substr(table.size() - 27);
    const std::string dashes(79, '-');
    const std::vector<std::string> expected = {
        dashes,
        "Local settings of area #1",
        "--------------",
        " -- no valid area --",
        dashes,
        "Global settings:",
        "----------------",
        " TABSTOR Version 7.014",
        " Exclusive      = TRUE",
        " DateFormat     = ", // the text of date format 0 comes from the value conversions
        " Enable Deleted = FALSE",
        " Exact          = TRUE",
        " FilesOpen      = TRUE",
        " Decimals       = 0",
        " CurrentError   = 0",
        " ErrorCallback  = None",
        " Pos.Callback   = None",
        " ErrorVariable  = None",
        "Local settings of area #1",
        "--------------",
        " Area           = 1",
        " Alias          = DUMP",
        " Database       = " + shortened,
        " DatabaseType   = dBase 3+",
        " Packed         = no",
        " Charset        = International",
        " SortOrder      = ASCII",
        " CloseOnSelect  = FALSE",
        " ShareMode      = Exclusive",
        " ReadOnly       = FALSE",
        " DateOfChange   = 05-17-2024",
        " PasswordExists = FALSE",
        " Relations      = None",
        " CurrentRecord  = 2",
        " NrOfRecords    = 3",
        " EOF            = FALSE",
        " BOF            = FALSE",
        " BufferValid    = TRUE",
        " BufferRecord   = 2",
        " BufferCopyValid= FALSE",
        " BufferChanged  = FALSE",
        " RecordDeleted  = FALSE",
        " -Memofile      = None",
        " -CurrentIndex  = None",
        dashes,
        "Relation tree:",
        "--------------",
        "No relation(s) defined",
    };
    ASSERT_EQ(expected.size(), lines.size());
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] == " DateFormat     = ")
            EXPECT_EQ(0u, lines[i].find(expected[i])) << lines[i];
        else
            EXPECT_EQ(expected[i], lines[i]) << "line " << i;
}
