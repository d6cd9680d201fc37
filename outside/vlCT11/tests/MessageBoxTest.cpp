// CtlMessageBoxA in unattended mode: default answers, scripted answers, no window, the log line.
#include <gtest/gtest.h>

#include <cstdio>

#include "CtlLog.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;

int Box(UINT style) { return CtlMessageBoxA(nullptr, "Text", "Titel", style); }

std::string StyleName(UINT style)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "style 0x%X", style);
    return buffer;
}

struct DefaultCase {
    UINT style;
    int expected;
};

const DefaultCase kDefaultCases[] = {
    {MB_OK, IDOK},
    {MB_OK | MB_ICONHAND | MB_TASKMODAL, IDOK},
    {MB_OK | MB_DEFBUTTON2, IDOK}, // a default beyond the set falls back to the first button
    {MB_OKCANCEL, IDOK},
    {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
    {MB_OKCANCEL | MB_HELP | MB_DEFBUTTON3, IDOK}, // the Help button answers nothing
    {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
    {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, IDIGNORE},
    {MB_YESNOCANCEL, IDYES},
    {MB_YESNOCANCEL | MB_DEFBUTTON2, IDNO},
    {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
    {MB_YESNO | MB_ICONQUESTION, IDYES},
    {MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDNO},
    {MB_YESNO | MB_DEFBUTTON4, IDYES},
    {MB_RETRYCANCEL | MB_ICONHAND | MB_TASKMODAL, IDRETRY},
    {MB_RETRYCANCEL | MB_DEFBUTTON2, IDCANCEL},
    {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
    {0x7, 0}, // no such button set: the box fails
    {0xF, 0},
};

TEST(CtlMessageBoxA, AnswersTheDefaultButtonWithoutScript)
{
    CtlLog log;
    for (const DefaultCase& c : kDefaultCases) {
        SCOPED_TRACE(StyleName(c.style));
        EXPECT_EQ(c.expected, Box(c.style));
    }
}

TEST(CtlMessageBoxA, TakesScriptedAnswersInOrderThenTheDefault)
{
    CtlLog log;
    log.SetAnswers("IDNO, idyes ,3,42,IDRETRY");
    EXPECT_EQ(IDNO, Box(MB_YESNO));
    EXPECT_EQ(IDYES, Box(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_EQ(IDABORT, Box(MB_ABORTRETRYIGNORE));
    EXPECT_EQ(42, Box(MB_OK));
    EXPECT_EQ(IDRETRY, Box(MB_RETRYCANCEL | MB_DEFBUTTON2));
    EXPECT_EQ(IDNO, Box(MB_YESNO | MB_DEFBUTTON2)); // exhausted
    EXPECT_EQ(IDOK, Box(MB_OKCANCEL));
}

TEST(CtlMessageBoxA, EmptyOrUnknownEntryTakesTheDefault)
{
    CtlLog log;
    log.SetAnswers("IDNO,,IDMAYBE,7x,IDNO");
    EXPECT_EQ(IDNO, Box(MB_YESNO));
    EXPECT_EQ(IDYES, Box(MB_YESNO));
    EXPECT_EQ(IDYES, Box(MB_YESNO));
    EXPECT_EQ(IDYES, Box(MB_YESNO));
    EXPECT_EQ(IDNO, Box(MB_YESNO));
}

TEST(CtlMessageBoxA, ListStartsAgainOnlyWhenTheValueChanges)
{
    CtlLog log;
    SetEnvironmentVariableA("VLCT11_ANSWERS", "IDNO,IDCANCEL");
    EXPECT_EQ(IDNO, Box(MB_YESNOCANCEL));
    SetEnvironmentVariableA("VLCT11_ANSWERS", "IDRETRY,IDCANCEL");
    EXPECT_EQ(IDRETRY, Box(MB_RETRYCANCEL | MB_DEFBUTTON2));
    SetEnvironmentVariableA("VLCT11_ANSWERS", "IDRETRY,IDCANCEL"); // the same value: position kept
    EXPECT_EQ(IDCANCEL, Box(MB_RETRYCANCEL));
    EXPECT_EQ(IDRETRY, Box(MB_RETRYCANCEL)); // exhausted: the default
    SetEnvironmentVariableA("VLCT11_ANSWERS", nullptr);
    EXPECT_EQ(IDYES, Box(MB_YESNO));
    SetEnvironmentVariableA("VLCT11_ANSWERS", "IDRETRY,IDCANCEL"); // back after a change: from the start
    EXPECT_EQ(IDRETRY, Box(MB_RETRYCANCEL | MB_DEFBUTTON2));
}

TEST(CtlMessageBoxA, FailingStyleTakesNoScriptedAnswer)
{
    CtlLog log;
    log.SetAnswers("IDNO");
    EXPECT_EQ(0, Box(0x7));
    EXPECT_EQ(IDNO, Box(MB_YESNO));
}

TEST(CtlLog, SetAnswersStartsTheSameListAgain)
{
    CtlLog log;
    log.SetAnswers("IDNO,IDCANCEL");
    EXPECT_EQ(IDNO, Box(MB_YESNOCANCEL));
    log.SetAnswers("IDNO,IDCANCEL");
    EXPECT_EQ(IDNO, Box(MB_YESNOCANCEL));
    EXPECT_EQ(IDCANCEL, Box(MB_YESNOCANCEL));
}

int s_windowsCreated = 0;

LRESULT CALLBACK CountCreations(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        ++s_windowsCreated;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(CtlMessageBoxA, ShowsNoWindowWhenUnattended)
{
    CtlLog log;
    HHOOK hook = SetWindowsHookExA(WH_CBT, CountCreations, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    s_windowsCreated = 0;
    EXPECT_EQ(IDOK, Box(MB_OK | MB_ICONHAND | MB_TASKMODAL));
    EXPECT_EQ(IDYES, Box(MB_YESNO | MB_SYSTEMMODAL));
    EXPECT_EQ(0, s_windowsCreated);
    // The hook does see windows of this thread (the system may add helper windows of its own).
    DestroyWindow(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    UnhookWindowsHookEx(hook);
    EXPECT_LE(1, s_windowsCreated);
}

TEST(CtlMessageBoxA, WritesOneLogLinePerBox)
{
    CtlLog log;
    log.SetAnswers("IDCANCEL");
    EXPECT_EQ(IDCANCEL, CtlMessageBoxA(nullptr, "Zeile 1\r\nZeile 2\nZeile\t3\rEnde", "Fehler", 0x2015));
    EXPECT_EQ(IDOK, CtlMessageBoxA(nullptr, nullptr, nullptr, MB_OK));
    EXPECT_EQ(IDNO, CtlMessageBoxA(nullptr, "Größe ändern?", "Frage", 0x134));
    std::vector<CtlLog::Record> records = log.Records();
    ASSERT_EQ(3u, records.size());
    EXPECT_EQ((CtlLog::Record{"MessageBox", "Fehler", "Zeile 1\\nZeile 2\\nZeile\\t3\\nEnde", "0x2015", "2"}),
              records[0]);
    EXPECT_EQ((CtlLog::Record{"MessageBox", "", "", "0x0", "1"}), records[1]);
    EXPECT_EQ((CtlLog::Record{"MessageBox", "Frage", "Größe ändern?", "0x134", "7"}), records[2]);
}

} // namespace
