// The activity log: several processes log into one file, attended mode logs too, and a missing
// or unusable log never disturbs a box.
#include <gtest/gtest.h>

#include <map>

#include "CtlLog.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;

// Starts a program without waiting for it; NULL when it cannot start.
HANDLE StartProcess(const std::string& commandLine)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = commandLine;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

DWORD WaitForExit(HANDLE process)
{
    DWORD code = 99;
    if (WaitForSingleObject(process, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    else
        TerminateProcess(process, 98);
    CloseHandle(process);
    return code;
}

TEST(ActivityLog, ProcessesShareOneLogWithoutLosingLines)
{
    CtlLog log;
    const int kBoxes = 150;
    std::string helper = "\"" + oxtest::ProgramDir() + "\\vlct11_log_helper.exe\" ";
    HANDLE first = StartProcess(helper + "A " + std::to_string(kBoxes));
    HANDLE second = StartProcess(helper + "B " + std::to_string(kBoxes));
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    for (int i = 0; i < kBoxes; ++i)
        CtlMessageBoxA(nullptr, ("T " + std::to_string(i)).c_str(), "Helfer", MB_OK);
    EXPECT_EQ(0u, WaitForExit(first));
    EXPECT_EQ(0u, WaitForExit(second));

    std::vector<CtlLog::Record> records = log.Records();
    ASSERT_EQ(3u * kBoxes, records.size());
    std::map<std::string, int> seen;
    for (const CtlLog::Record& record : records) {
        ASSERT_EQ(5u, record.size()) << "a torn line";
        EXPECT_EQ((CtlLog::Record{"MessageBox", "Helfer", record[2], "0x0", "1"}), record);
        ++seen[record[2]];
    }
    for (const char* tag : {"A", "B", "T"})
        for (int i = 0; i < kBoxes; ++i)
            EXPECT_EQ(1, seen[std::string(tag) + " " + std::to_string(i)]) << tag << " " << i;
}

TEST(ActivityLog, AttendedModeLogsToo)
{
    CtlLog log;
    // Only modeless dialogs run while attended: nothing here waits for a person.
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "0");
    int handle = CtlAbortDlgStartA(nullptr, "Bedient", "Text", 2);
    int ended = CtlAbortDlgEnd(handle);
    SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    ASSERT_GT(handle, 0);
    EXPECT_EQ(0, ended);
    std::vector<CtlLog::Record> records = log.Records();
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ((CtlLog::Record{"AbortDlgStart", "Bedient", "Text", "2", std::to_string(handle)}), records[0]);
    EXPECT_EQ((CtlLog::Record{"AbortDlgEnd", std::to_string(handle), "0"}), records[1]);
}

TEST(ActivityLog, BoxesAnswerWithoutAUsableLog)
{
    CtlLog log;
    oxtest::TempDir dir("vlct11");
    for (const std::string& target : {std::string(), dir.File("fehlt\\log.txt"), dir.Path()}) {
        SCOPED_TRACE("VLCT11_LOG=" + target);
        SetEnvironmentVariableA("VLCT11_LOG", target.c_str());
        EXPECT_EQ(IDYES, CtlMessageBoxA(nullptr, "Text", "Titel", MB_YESNO));
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(dir.File("fehlt").c_str()));
    EXPECT_TRUE(log.Records().empty());
}

} // namespace
