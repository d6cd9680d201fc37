// The debug-output channel: line protocol over the mailslot and to a viewer window, timed lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DebugCapture.h"
#include "DebugOutput.h"
#include "clsLibInfo.h"

namespace {

const std::string kPrefix = "support_channel_test:";

struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
};

std::vector<Case> LineCases()
{
    std::string long600(600, 'x');
    return {
        {"CR LF is one break", "a\r\nb", {kPrefix + "a", kPrefix + "b"}},
        {"LF LF is one break", "a\n\nb", {kPrefix + "a", kPrefix + "b"}},
        {"a third LF gives an empty line", "a\n\n\nb", {kPrefix + "a", kPrefix, kPrefix + "b"}},
        {"leading breaks are skipped", "\r\n\nab", {kPrefix + "ab"}},
        {"BEL is not sent", "a\ab", {kPrefix + "ab"}},
        {"lines are cut after 513 characters",
         long600,
         {kPrefix + std::string(513 - kPrefix.size(), 'x'), kPrefix + std::string(600 - (513 - kPrefix.size()), 'x')}},
        {"a final break sends nothing more", "a\n", {kPrefix + "a"}},
    };
}

class DebugChannel : public ::testing::Test {
protected:
    void TearDown() override { DebugChannelClose(); }
};

} // namespace

TEST_F(DebugChannel, MailslotLinesEndInOneCR)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    for (const Case& c : LineCases()) {
        DebugPrintf("%s", c.text.c_str());
        std::vector<std::string> raw = capture.TakeRaw();
        std::vector<std::string> expected;
        for (const auto& l : c.lines)
            expected.push_back(l + "\r");
        EXPECT_EQ(expected, raw) << c.what;
    }
}

TEST_F(DebugChannel, ViewerWindowDataCountsTheNul)
{
    oxtest::ViewerWindowCapture viewer;
    ASSERT_NE(nullptr, viewer.Window());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    for (const Case& c : LineCases()) {
        DebugPrintf("%s", c.text.c_str());
        std::vector<std::string> got = viewer.Take();
        std::vector<std::string> expected;
        for (const auto& l : c.lines)
            expected.push_back(l + std::string(1, '\0'));
        EXPECT_EQ(expected, got) << c.what;
    }
}

TEST_F(DebugChannel, WithoutViewerNothingIsFormatted)
{
    DebugChannelOpen(GetModuleHandleA(nullptr));
    EXPECT_FALSE(DebugChannelHasTarget());
    // A format that would fault when formatted proves that nothing is formatted.
    DebugPrintf("%s", (const char*)0x10);
    DebugPrintfTimed(1, "%s", (const char*)0x10);
}

TEST_F(DebugChannel, TimedLinesCarryTimeThreadAndIndentation)
{
    oxtest::MailslotCapture capture;
    ASSERT_TRUE(capture.IsOpen());
    DebugChannelOpen(GetModuleHandleA(nullptr));
    char tid[16];
    snprintf(tid, sizeof tid, "%08lx", GetCurrentThreadId());

    // Indentation text between "mm:ss.mmm" and the thread id: min(level, 30) + 1 blanks.
    auto indentOf = [&](const std::string& line) -> int {
        size_t start = kPrefix.size() + 9;
        size_t t = line.find(tid, start);
        return t == std::string::npos ? -1 : (int)(t - start - 1);
    };
    DebugPrintfTimed(0, "level0");
    DebugPrintfTimed(2, "still0");  // raises the level after the line
    DebugPrintfTimed(0, "level2");
    DebugPrintfTimed(40, nullptr);  // level 42
    DebugPrintfTimed(0, "level42");
    DebugPrintfTimed(-50, "down");  // clamped at 0 before the line
    DebugPrintfTimed(2, nullptr);
    DebugPrintfTimed(-5, nullptr);  // 2 - 5 stays 0
    DebugPrintfTimed(0, "zero");
    std::vector<std::string> lines = capture.Take();
    ASSERT_EQ(6u, lines.size());
    const int expected[] = {1, 1, 3, 31, 1, 1};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(expected[i], indentOf(lines[i])) << lines[i];
        EXPECT_EQ(':', lines[i][kPrefix.size() + 2]) << lines[i];
        EXPECT_EQ('.', lines[i][kPrefix.size() + 5]) << lines[i];
    }
    DebugPrintfTimed(-50, nullptr);
}

TEST(clsLibInfo, NamesOfHostAndLibrary)
{
    clsLibInfo info;
    info.Init(GetModuleHandleA(nullptr));
    EXPECT_STREQ("support_channel_test.exe", info.HostFileName());
    EXPECT_STREQ("support_channel_test", info.HostName());
    EXPECT_STREQ("support_channel_test", info.LibName());
    EXPECT_EQ(1252u, info.CodePage());
    EXPECT_FALSE(info.IsDBCS());
    std::string dir = info.HostDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ('\\', dir.back());
    EXPECT_NE(0u, info.PlatformVersion());
    info.Close();
}
