// MSGBOX.EXE: the arguments it takes, and what its runs show (through the controls library's log).
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "CtlLog.h"
#include "MsgboxArguments.h"
#include "TestKit.h"

void PrintTo(const MsgboxArguments& a, std::ostream* os)
{
    *os << "{" << (a.hasText ? "text" : "no text") << ", caption \"" << a.caption << "\", text \"" << a.text
        << "\"}";
}

namespace {

const char kShutdownArguments[] = "/f:0 /c:velmar chronivo /t:Der chronivo wurde vom Systemverwalter beendet.";

struct ArgumentCase {
    const char* arguments;
    MsgboxArguments expected;
};

const ArgumentCase kArgumentCases[] = {
    {kShutdownArguments, {true, "velmar chronivo", "Der chronivo wurde vom Systemverwalter beendet."}},
    // Switches before the text in another order; the value of /f: is ignored.
    {"/c:velmar chronivo /f:7 /t:Text", {true, "velmar chronivo", "Text"}},
    {"/c:Titel /t:Text /f:0", {true, "Titel", "Text /f:0"}},
    // The text runs to the end, switches in it included.
    {"/f:0 /c:Titel /t:Siehe /c:Hilfe und /t:mehr", {true, "Titel", "Siehe /c:Hilfe und /t:mehr"}},
    // A switch only after a blank: "a/c:b" is caption text.
    {"/c:a/c:b /t:x", {true, "a/c:b", "x"}},
    {"/f:0 /c:Gr\xFC\xDF" "e /t:\xC4nderung f\xFCr S\xFC\xDF", {true, "Gr\xFC\xDF" "e", "\xC4nderung f\xFCr S\xFC\xDF"}},
    {"/F:0 /C:Titel /T:Text", {true, "Titel", "Text"}},
    // Switches quoted as a whole, as a shell passes words with blanks; other quotes stay.
    {"/f:0 \"/c:velmar chronivo\" \"/t:Der \"chronivo\" ist beendet.\"",
     {true, "velmar chronivo", "Der \"chronivo\" ist beendet."}},
    {"/c:Titel /t:Er sagte \"Hallo\"", {true, "Titel", "Er sagte \"Hallo\""}},
    {"/t:", {true, "", ""}},
    {"/t:Nur Text", {true, "", "Nur Text"}},
    {"/f:0 /c:Titel", {false, "Titel", ""}},
    {"", {false, "", ""}},
};

TEST(MsgboxArguments, Table)
{
    for (const ArgumentCase& c : kArgumentCases) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(c.expected, ParseMsgboxArguments(c.arguments));
    }
}

TEST(MsgboxArguments, ProgramNameIsSkipped)
{
    EXPECT_EQ("/t:x y", ArgumentsOf("\"C:\\Program Files\\OX\\MSGBOX.EXE\"  /t:x y"));
    EXPECT_EQ("/t:x", ArgumentsOf("MSGBOX.EXE /t:x"));
    EXPECT_EQ("", ArgumentsOf("MSGBOX.EXE"));
    EXPECT_EQ("", ArgumentsOf(nullptr));
}

std::string Program() { return oxtest::ProgramDir() + "\\MSGBOX.EXE"; }

int RunMsgbox(const std::string& arguments) { return oxtest::RunProcess("\"" + Program() + "\" " + arguments, 60000); }

TEST(MsgboxProgram, ShowsTheTextUnattended)
{
    struct RunCase {
        const char* arguments;
        int exitCode;
        oxtest::CtlLog::Record logged; // empty: no box
    };
    const RunCase cases[] = {
        {kShutdownArguments, 0,
         {"MessageBox", "velmar chronivo", "Der chronivo wurde vom Systemverwalter beendet.", "0x40", "1"}},
        {"/c:Titel /f:0 /t:Text mit /c: darin", 0, {"MessageBox", "Titel", "Text mit /c: darin", "0x40", "1"}},
        {"/f:0 /c:Gr\xFC\xDF" "e /t:\xC4nderung f\xFCr S\xFC\xDF", 0,
         {"MessageBox", "Gr\xFC\xDF" "e", "\xC4nderung f\xFCr S\xFC\xDF", "0x40", "1"}},
        {"/f:0 /c:velmar chronivo", 2, {}},
        {"", 2, {}},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.arguments);
        oxtest::CtlLog log;
        EXPECT_EQ(c.exitCode, RunMsgbox(c.arguments));
        const auto boxes = log.Records("MessageBox");
        if (c.logged.empty())
            EXPECT_TRUE(boxes.empty());
        else {
            ASSERT_EQ(1u, boxes.size());
            EXPECT_EQ(c.logged, boxes[0]);
        }
    }
}

// The program starts it with the shell, from the program folder, working directory ".".
TEST(MsgboxProgram, StartedAsTheProgramStartsIt)
{
    oxtest::CtlLog log;
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(oxtest::ProgramDir().c_str());
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    const std::string program = Program();
    info.lpFile = program.c_str();
    info.lpParameters = kShutdownArguments;
    info.lpDirectory = ".";
    info.nShow = SW_SHOWNORMAL;
    const BOOL started = ShellExecuteExA(&info);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(started);
    ASSERT_NE(nullptr, info.hProcess);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 60000));
    DWORD code = 99;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    EXPECT_EQ(0u, code);
    const auto boxes = log.Records("MessageBox");
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ((oxtest::CtlLog::Record{"MessageBox", "velmar chronivo",
                                      "Der chronivo wurde vom Systemverwalter beendet.", "0x40", "1"}),
              boxes[0]);
}

} // namespace
