// The abort dialogs: real modeless windows whose controls show what the caller set, an abort by
// the button or by the script, unknown handles.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <climits>

#include "CtlLog.h"
#include "ProgressDialog.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

using oxtest::CtlLog;

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND hwnd, LPARAM lParam)
{
    Search* search = reinterpret_cast<Search*>(lParam);
    char text[256] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::string(text) == search->caption) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The top-level window of this thread with the caption.
HWND FindThreadWindow(const char* caption)
{
    Search search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, (LPARAM)&search);
    return search.found;
}

std::string ItemText(HWND dialog, int id)
{
    char text[512] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class AbortDialog : public testing::Test {
protected:
    void TearDown() override
    {
        for (int handle : m_started)
            CtlAbortDlgEnd(handle);
    }

    // Starts a dialog that the fixture ends; returns its handle.
    int Start(const char* caption, const char* text, int mode, HWND owner = nullptr)
    {
        int handle = CtlAbortDlgStartA(owner, caption, text, mode);
        if (handle > 0)
            m_started.push_back(handle);
        return handle;
    }

    CtlLog m_log;
    std::vector<int> m_started;
};

TEST_F(AbortDialog, Mode2ShowsCaptionTextBarAndAbortButton)
{
    int handle = Start("Reorganisation", "Tabellen werden geprüft", 2);
    ASSERT_GT(handle, 0);
    HWND dialog = FindThreadWindow("Reorganisation");
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ("Tabellen werden geprüft", ItemText(dialog, ProgressDialog::kTextId));
    HWND bar = GetDlgItem(dialog, ProgressDialog::kBarId);
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(0, SendMessageA(bar, PBM_GETPOS, 0, 0));
    EXPECT_EQ("Abbrechen", ItemText(dialog, ProgressDialog::kAbortId));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, ProgressDialog::kAbortId)));
    EXPECT_EQ((CtlLog::Record{"AbortDlgStart", "Reorganisation", "Tabellen werden geprüft", "2",
                              std::to_string(handle)}),
              m_log.Records().at(0));
}

TEST_F(AbortDialog, Mode5ShowsTextAndAbortButtonWithoutBar)
{
    const char* text = "Warte auf Freigabe des Datensatzes oder der Datenbank. Bitte haben Sie etwas Geduld\n"
                       "(in 300 Sekunden wird automatisch abgebrochen)";
    int handle = Start("Test: Datensatz ist gesperrt", text, 5);
    ASSERT_GT(handle, 0);
    HWND dialog = FindThreadWindow("Test: Datensatz ist gesperrt");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, GetDlgItem(dialog, ProgressDialog::kBarId));
    EXPECT_EQ(text, ItemText(dialog, ProgressDialog::kTextId));
    EXPECT_EQ("Abbrechen", ItemText(dialog, ProgressDialog::kAbortId));
}

TEST_F(AbortDialog, SetTextShowsTextAndClippedPercent)
{
    int handle = Start("Fortschritt", "Start", 2);
    HWND dialog = FindThreadWindow("Fortschritt");
    ASSERT_NE(nullptr, dialog);
    struct Step {
        const char* text;
        int percent;
        int shown;
    };
    const Step steps[] = {{"Schritt 1", 40, 40}, {"Schritt 2", 150, 100}, {"Schritt 3", -5, 0}, {"", 100, 100}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.percent);
        EXPECT_EQ(0, CtlAbortDlgSetTextA(handle, step.text, step.percent));
        EXPECT_EQ(step.text, ItemText(dialog, ProgressDialog::kTextId));
        EXPECT_EQ(step.shown, SendDlgItemMessageA(dialog, ProgressDialog::kBarId, PBM_GETPOS, 0, 0));
    }
    std::vector<CtlLog::Record> lines = m_log.Records("AbortDlgSetText");
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ((CtlLog::Record{"AbortDlgSetText", std::to_string(handle), "Schritt 2", "150"}), lines[1]);
    EXPECT_EQ((CtlLog::Record{"AbortDlgSetText", std::to_string(handle), "", "100"}), lines[3]);
}

TEST_F(AbortDialog, ScriptAbortsFromTheNthCheckOfEachDialog)
{
    m_log.SetAbortAfter(3);
    int first = Start("Erster", "Text", 5);
    ASSERT_GT(first, 0);
    EXPECT_EQ(0, CtlAbortDlgCheckAbort(first));
    EXPECT_EQ(0, CtlAbortDlgCheckAbort(first));
    EXPECT_NE(0, CtlAbortDlgCheckAbort(first));
    EXPECT_NE(0, CtlAbortDlgCheckAbort(first));
    int second = Start("Zweiter", "Text", 5);
    EXPECT_EQ(0, CtlAbortDlgCheckAbort(second)); // counts its own checks
    std::vector<CtlLog::Record> lines = m_log.Records("AbortDlgCheckAbort");
    ASSERT_EQ(2u, lines.size()); // only the non-zero answers
    EXPECT_EQ((CtlLog::Record{"AbortDlgCheckAbort", std::to_string(first), "1"}), lines[0]);
}

TEST_F(AbortDialog, NoAbortWithoutScriptOrPerson)
{
    for (const char* setting : {(const char*)nullptr, "", "nie", "-2"}) {
        SCOPED_TRACE(setting ? setting : "(not set)");
        SetEnvironmentVariableA("VLCT11_ABORT_AFTER", setting);
        int handle = Start("Warten", "Text", 5);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(0, CtlAbortDlgCheckAbort(handle));
    }
    EXPECT_TRUE(m_log.Records("AbortDlgCheckAbort").empty());
}

TEST_F(AbortDialog, CheckDispatchesAPendingAbortOfThePerson)
{
    // The caller does not pump: the click waits in the queue until the check hands it over.
    struct Way {
        const char* name;
        bool toButton;
        UINT message;
    };
    const Way ways[] = {{"button click", true, BM_CLICK}, {"close box", false, WM_CLOSE}};
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        int handle = Start(way.name, "Text", 2);
        HWND dialog = FindThreadWindow(way.name);
        ASSERT_NE(nullptr, dialog);
        HWND button = GetDlgItem(dialog, ProgressDialog::kAbortId);
        EXPECT_EQ(0, CtlAbortDlgCheckAbort(handle));
        PostMessageA(way.toButton ? button : dialog, way.message, 0, 0);
        EXPECT_NE(0, CtlAbortDlgCheckAbort(handle));
        EXPECT_NE(0, CtlAbortDlgCheckAbort(handle)); // stays aborted
        EXPECT_FALSE(IsWindowEnabled(button));
        EXPECT_TRUE(IsWindow(dialog)); // the caller ends it
    }
}

TEST_F(AbortDialog, EndClosesTheWindowAndRetiresTheHandle)
{
    int handle = CtlAbortDlgStartA(nullptr, "Ende", "Text", 2);
    ASSERT_GT(handle, 0);
    HWND dialog = FindThreadWindow("Ende");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(0, CtlAbortDlgEnd(handle));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_GT(0, CtlAbortDlgEnd(handle));
    EXPECT_GT(0, CtlAbortDlgSetTextA(handle, "x", 1));
    EXPECT_GT(0, CtlAbortDlgCheckAbort(handle));
    int next = Start("Danach", "Text", 2);
    EXPECT_GT(next, 0);
    EXPECT_NE(handle, next);
    std::vector<CtlLog::Record> ends = m_log.Records("AbortDlgEnd");
    ASSERT_EQ(2u, ends.size());
    EXPECT_EQ((CtlLog::Record{"AbortDlgEnd", std::to_string(handle), "0"}), ends[0]);
    EXPECT_EQ((CtlLog::Record{"AbortDlgEnd", std::to_string(handle), "-1"}), ends[1]);
}

TEST_F(AbortDialog, UnknownHandlesGiveNegativeResults)
{
    for (int handle : {0, -1, 4711, INT_MAX}) {
        SCOPED_TRACE(handle);
        EXPECT_GT(0, CtlAbortDlgSetTextA(handle, "Text", 10));
        EXPECT_GT(0, CtlAbortDlgCheckAbort(handle));
        EXPECT_GT(0, CtlAbortDlgEnd(handle));
    }
}

TEST_F(AbortDialog, OutlivesItsOwnerWindow)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Besitzer", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    int handle = Start("Besessen", "Text", 2, owner);
    HWND dialog = FindThreadWindow("Besessen");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(owner, GetWindow(dialog, GW_OWNER));
    DestroyWindow(owner); // takes the owned dialog with it
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(0, CtlAbortDlgSetTextA(handle, "weiter", 50));
    EXPECT_EQ(0, CtlAbortDlgCheckAbort(handle));
    EXPECT_EQ(0, CtlAbortDlgEnd(handle));
    m_started.clear();
}

TEST_F(AbortDialog, OwnerThatIsNoWindowIsIgnored)
{
    int handle = Start("Ohne Besitzer", "Text", 2, (HWND)(intptr_t)0x7FFF0001);
    ASSERT_GT(handle, 0);
    HWND dialog = FindThreadWindow("Ohne Besitzer");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(nullptr, GetWindow(dialog, GW_OWNER));
}

} // namespace
