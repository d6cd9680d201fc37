// Trace lines of the settings, filter and small exports, and the compiler's message line, read
// from the debug-output channel.
#include <gtest/gtest.h>

#include <cstdio>

#include "DebugCapture.h"
#include "DebugOutput.h"
#include "ExprTestKit.h"
#include "Job.h"

using namespace exprtest;

namespace {

// Lines of this process without the program's prefix and the "pid/tid: mm:ss.mmm " part.
std::vector<std::string> TraceLines(const std::vector<std::string>& lines)
{
    return oxtest::OwnLines(lines, "engine_expr_trace_test");
}

class ExprTrace : public ExprTest {};

} // namespace

TEST_F(ExprTrace, CallNoteAndResultLines)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    capture.Take();
    int value = 0;
    StandInCipher cipher;
    db_set_debug(1);
    db_set_filter_to("AGE > 3");
    db_set_abort_flag(1);
    db_set_sortorder(2);
    db_fieldref(3);
    db_arearef(2);
    db_set_userdata(&value);
    db_get_userdata();
    db_protected_section_start();
    db_protected_section_end();
    db_matches_condition("AGE = 42");
    db_matches_condition("AGE =");
    // Last: with the scrambler's password the table's records would read as other bytes.
    db_set_password(1, "geheim");
    db_set_debug(0);
    DebugChannelClose();

    char address[32], pointer[32];
    std::snprintf(address, sizeof address, "%08lx", (unsigned long)(uintptr_t)&value);
    std::snprintf(pointer, sizeof pointer, "=0x%016llX", (unsigned long long)(uintptr_t)&value);
    const std::vector<std::string> expected = {
        "@DbSetFilterTo('AGE > 3')",
        "=1",
        "@DbSetExact(1)",
        "=1",
        "@DbSetSortorder(2)",
        "=1",
        "@DbFieldref(3)",
        "=0xFFFFFFFFFFFFF003",
        "@DbArearef(2)",
        "=0xFFFFFFFFFFFFFF02",
        std::string("@DbSetUserData(") + address + ")",
        "->TRUE",
        "=1",
        "@DbGetUserData()",
        std::string("->'") + address + "'",
        pointer,
        "=1",
        "=1",
        "@DbMatchesCondition('AGE = 42')",
        "->1",
        "=1",
        "@DbMatchesCondition('AGE =')",
        "error 'error: uninterpretable term: 'AGE =''",
        "[error: code 18]",
        "[error: code 18]",
        "=0",
        "@DbSetPassword(x,xxxxxxx)",
        "=1",
    };
    std::vector<std::string> lines = TraceLines(capture.Take());
    ASSERT_GE(lines.size(), expected.size() + 2);
    std::vector<std::string> got(lines.begin() + 1, lines.begin() + 1 + (long)expected.size());
    for (std::string& l : got)
        l.erase(0, l.find_first_not_of(' '));
    EXPECT_EQ(expected, got);
    for (const std::string& l : lines)
        EXPECT_EQ(std::string::npos, l.find("geheim")) << "the password never appears: " << l;
}
