// Unattended answers of the dialogs of the class "vlmrDialog1132": scripted texts and buttons,
// the default answer, edit limits, dialogs that refuse an answer, and the log lines (which never
// hold the texts).
#include <gtest/gtest.h>

#include <string>

#include "CtlLog.h"
#include "DialogTemplate.h"
#include "vlCT11.h"

namespace {

const int kEdit = 101;

struct DialogRun {
    int okWanted = 0;       // 1: IDOK is taken only when the edit holds "ja"
    int limit = 0;          // EM_LIMITTEXT of the edit (0: none)
    std::string text;       // the edit's text when the dialog ended with IDOK
};

DialogRun* s_run = nullptr;

INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        if (s_run->limit)
            SendDlgItemMessageA(dialog, kEdit, EM_LIMITTEXT, s_run->limit, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        char text[256] = {};
        GetDlgItemTextA(dialog, kEdit, text, sizeof text);
        if (LOWORD(wParam) == IDOK && s_run->okWanted && std::string(text) != "ja")
            return TRUE; // refused: the dialog stays open
        s_run->text = text;
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR Show(DialogRun& run, bool withCancel)
{
    DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 0, 0, 0, 200, 80, "Titel",
                       "vlmrDialog1132");
    tpl.AddItem("Edit", "", kEdit, WS_VISIBLE | WS_BORDER | WS_TABSTOP, 5, 5, 150, 14);
    tpl.AddItem("VLMRBUTTON1132", "OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 5, 60, 50, 14);
    if (withCancel)
        tpl.AddItem("VLMRBUTTON1132", "Abbrechen", IDCANCEL, WS_VISIBLE | WS_TABSTOP, 60, 60, 50, 14);
    s_run = &run;
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), tpl.Get(), nullptr, Proc, 0);
}

class DialogAnswers : public ::testing::Test {
protected:
    void SetUp() override { CtlJobOpen(); }
    void TearDown() override { CtlJobClose(); }
    oxtest::CtlLog m_log;
};

} // namespace

TEST_F(DialogAnswers, ScriptedAndDefaultAnswers)
{
    struct Case {
        const char* script;
        bool withCancel;
        int limit;
        INT_PTR result;
        std::string text;
        oxtest::CtlLog::Record record;
    } cases[] = {
        {"IDOK;101=abc\\;def\\|x\\\\y", true, 0, IDOK, "abc;def|x\\y", {"Dialog", "Titel", "1", "101"}},
        {"", true, 0, IDCANCEL, "", {"Dialog", "Titel", "2", ""}},
        {"", false, 0, IDOK, "", {"Dialog", "Titel", "1", ""}},
        {"1;101=abcdef;999=nichts", true, 3, IDOK, "abc", {"Dialog", "Titel", "1", "101"}},
        {"IDCANCEL;101=geheim", true, 0, IDCANCEL, "geheim", {"Dialog", "Titel", "2", "101"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        m_log.Clear();
        m_log.SetDialogAnswers(c.script);
        DialogRun run;
        run.limit = c.limit;
        EXPECT_EQ(c.result, Show(run, c.withCancel));
        EXPECT_EQ(c.text, run.text);
        const auto records = m_log.Records();
        ASSERT_EQ(1u, records.size());
        EXPECT_EQ(c.record, records[0]);
    }
}

TEST_F(DialogAnswers, RefusedAnswersTakeTheNextEntryThenGiveUp)
{
    m_log.SetDialogAnswers("IDOK;101=nein|IDOK;101=ja");
    DialogRun run;
    run.okWanted = 1;
    EXPECT_EQ(IDOK, Show(run, true));
    EXPECT_EQ("ja", run.text);
    EXPECT_EQ(2u, m_log.Records("Dialog").size());

    // A dialog that takes no answer at all ends after 20.
    m_log.Clear();
    m_log.SetDialogAnswers(std::string(30, '|'));
    DialogRun stubborn;
    stubborn.okWanted = 1;
    EXPECT_EQ(IDCANCEL, Show(stubborn, false));
    EXPECT_EQ(20u, m_log.Records("Dialog").size());
    EXPECT_EQ(1u, m_log.Records("DialogGivenUp").size());
}

TEST_F(DialogAnswers, LogNeverHoldsTheTexts)
{
    m_log.SetDialogAnswers("IDOK;101=Passwort123");
    DialogRun run;
    Show(run, true);
    EXPECT_EQ("Passwort123", run.text);
    for (const auto& record : m_log.Records())
        for (const std::string& field : record)
            EXPECT_EQ(std::string::npos, field.find("Passwort123"));
}
