// The program's message boxes as the controls library sees them: texts, captions by selector,
// answer keys and extended values from its log; owners and the focus from attended boxes; the
// fatal error box in a process of its own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AttendedBox.h"
#include "CtlLog.h"
#include "MfxMessageBox.h"
#include "MfxTestResource.h"
#include "TestKit.h"

namespace {

using oxtest::AttendedBox;
using oxtest::CtlLog;
using Record = CtlLog::Record;

const char kAnswersKey[] = "Software\\velmar\\vlCT11\\Answers";
const char kMainTitle[] = "OX Hauptfenster";
const char kActiveTitle[] = "Aktives Fenster";
const char kText[] = "Bitte prüfen Sie die Eingabe.";

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// An application with a main window ("OX Hauptfenster") and a second top-level window that is
// active ("Aktives Fenster"); the controls library unattended with a fresh log.
class BoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "OxMfxBoxTest";
        RegisterClassA(&wc);
        m_main.Attach(Frame(kMainTitle));
        m_app.m_pMainWnd = &m_main;
        m_active.Attach(Frame(kActiveTitle));
        SetForegroundWindow(m_active.m_hWnd);
        SetActiveWindow(m_active.m_hWnd);
    }

    void TearDown() override { CWnd::DeleteTempMap(); }

    HWND Frame(const char* title)
    {
        return CreateWindowExA(0, "OxMfxBoxTest", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300, NULL, NULL,
                               GetModuleHandleA(NULL), NULL);
    }

    CWinApp m_app{"mfx_test"};
    CWnd m_main, m_active;
    CtlLog m_log;
};

// Each box of the table must reach the library with this caption and text.
struct CaptionCase {
    const char* what;
    std::function<int()> show;
    bool withMainWindow;
    const char* caption;
    const char* text;
};

TEST_F(BoxTest, CaptionsBySelector)
{
    CWnd* pOwner = &m_main;
    const CaptionCase cases[] = {
        {"Id -1", [] { return MfxMessageBoxId(IDS_TEST_TEXT, -1, MB_ICONEXCLAMATION); }, true, kMainTitle, kText},
        {"Id -1 without main window", [] { return MfxMessageBoxId(IDS_TEST_TEXT, -1, MB_ICONEXCLAMATION); }, false,
         "", kText},
        {"Id -2", [] { return MfxMessageBoxId(IDS_TEST_TEXT, -2, MB_ICONEXCLAMATION); }, true, kActiveTitle, kText},
        {"Id string", [] { return MfxMessageBoxId(IDS_TEST_TEXT, IDS_TEST_CAPTION, MB_ICONEXCLAMATION); }, true,
         "Prüfung", kText},
        {"Id unknown string", [] { return MfxMessageBoxId(999, 998, MB_ICONEXCLAMATION); }, true, "", ""},
        {"Id -3 is a string id", [] { return MfxMessageBoxId(IDS_TEST_TEXT, -3, MB_ICONEXCLAMATION); }, true, "",
         kText},
        {"Text -1", [] { return MfxMessageBoxText("Freier Text", -1, MB_ICONEXCLAMATION); }, true, kMainTitle,
         "Freier Text"},
        {"Text -2", [] { return MfxMessageBoxText("Freier Text", -2, MB_ICONEXCLAMATION); }, true, kActiveTitle,
         "Freier Text"},
        {"Str", [] { return MfxMessageBoxStr("Text", "Titel", MB_ICONEXCLAMATION); }, true, "Titel", "Text"},
        {"core", [] { return MfxMessageBox(NULL, "Text", "Titel", MB_ICONEXCLAMATION); }, true, "Titel", "Text"},
    };
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.what);
        m_log.Clear();
        m_app.m_pMainWnd = c.withMainWindow ? pOwner : NULL;
        EXPECT_EQ(IDOK, c.show());
        EXPECT_EQ((std::vector<Record>{{"MessageBox", c.caption, c.text, "0x30", "1"}}), m_log.Records());
    }
}

TEST_F(BoxTest, RememberingBoxesCaptionsAndKeys)
{
    std::string longText(300, 't');
    longText[0] = 'A';
    const struct {
        const char* what;
        std::function<int()> show;
        bool withMainWindow;
        std::string caption, text, key;
    } cases[] = {
        {"AutoId -2, key from the ids", [] { return MfxMessageBoxAutoId(IDS_TEST_REMINDER_OFF, -2, MB_OK); }, true,
         kActiveTitle, "Die Erinnerung ist ausgeschaltet.", "#-2#40076"},
        {"AutoId -1", [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -1, MB_OK); }, true, kMainTitle, kText,
         "#-1#901"},
        {"AutoId -1 without main window: the program title",
         [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -1, MB_OK); }, false, "OX Testprogramm", kText, "#-1#901"},
        {"AutoId -3 with owner", [this] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -3, MB_OK, &m_main); }, true,
         kMainTitle, kText, "#-3#901"},
        {"AutoId -3 without owner: the active window", [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -3, MB_OK); },
         true, kActiveTitle, kText, "#-3#901"},
        {"AutoId string caption, given key",
         [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, IDS_TEST_CAPTION, MB_OK, NULL, -1, "WRNREMIND"); }, true,
         "Prüfung", kText, "WRNREMIND"},
        {"Auto without key: the text", [] { return MfxMessageBoxAuto(NULL, "Text", "Titel", MB_OK); }, true, "Titel",
         "Text", "Text"},
        {"Auto with a 300-character text: its first 255 characters",
         [&] { return MfxMessageBoxAuto(NULL, longText.c_str(), "Titel", MB_OK); }, true, "Titel", longText,
         longText.substr(0, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_log.Clear();
        m_app.m_pMainWnd = c.withMainWindow ? &m_main : NULL;
        EXPECT_EQ(IDOK, c.show());
        EXPECT_EQ((std::vector<Record>{{"MessageBoxAuto", c.caption, c.text, "0x0", c.key, "1", "shown"}}),
                  m_log.Records());
    }
}

TEST_F(BoxTest, AnswerRememberedUnderTheIdKey)
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kAnswersKey, "#-2#40076");
    m_log.SetAnswers("IDNO*");
    EXPECT_EQ(IDNO, MfxMessageBoxAutoId(IDS_TEST_REMINDER_OFF, -2, MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(IDNO, MfxMessageBoxAutoId(IDS_TEST_REMINDER_OFF, -2, MB_YESNO | MB_ICONQUESTION));
    std::vector<Record> records = m_log.Records();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kAnswersKey, "#-2#40076");
    ASSERT_EQ(2u, records.size());
    EXPECT_EQ("#-2#40076", records[1][4]);
    EXPECT_EQ("remembered", records[1][6]);
}

TEST_F(BoxTest, ExtendedValueGoesToTheExtendedBoxes)
{
    m_log.SetAnswers("IDCANCEL,IDRETRY");
    EXPECT_EQ(IDCANCEL, MfxMessageBoxId(IDS_TEST_TEXT, IDS_TEST_CAPTION, MB_OKCANCEL, NULL, 5));
    EXPECT_EQ(IDRETRY, MfxMessageBoxAutoId(IDS_TEST_TEXT, IDS_TEST_CAPTION, MB_RETRYCANCEL, NULL, 9));
    EXPECT_EQ((std::vector<Record>{{"MessageBox", "Prüfung", kText, "0x1", "2", "5"},
                                   {"MessageBoxAuto", "Prüfung", kText, "0x5", "#902#901", "4", "shown", "9"}}),
              m_log.Records());
}

TEST_F(BoxTest, OwnerIsTheMainWindowUnlessGiven)
{
    const struct {
        const char* what;
        std::function<int()> show;
        HWND owner;
    } cases[] = {
        {"Id without owner", [] { return MfxMessageBoxId(IDS_TEST_TEXT, -1, MB_OK); }, m_main.m_hWnd},
        {"Text with owner", [this] { return MfxMessageBoxText(kText, -1, MB_OK, &m_active); }, m_active.m_hWnd},
        {"Str without owner", [] { return MfxMessageBoxStr(kText, "Titel", MB_OK); }, m_main.m_hWnd},
        {"core without owner", [] { return MfxMessageBox(NULL, kText, "Titel", MB_OK); }, (HWND)NULL},
        {"AutoId -2 without owner: the active window",
         [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -2, MB_OK, NULL, -1, ""); }, m_active.m_hWnd},
        {"AutoId -1 without owner: the main window",
         [] { return MfxMessageBoxAutoId(IDS_TEST_TEXT, -1, MB_OK, NULL, -1, ""); }, m_main.m_hWnd},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetActiveWindow(m_active.m_hWnd);
        AttendedBox::Seen seen;
        EXPECT_EQ(IDOK, AttendedBox::Answer(IDOK, false, seen, c.show));
        ASSERT_NE(nullptr, seen.box);
        EXPECT_EQ(c.owner, seen.owner);
    }
}

TEST_F(BoxTest, FocusGoesBackAfterTheBox)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, m_main.m_hWnd, NULL,
                                GetModuleHandleA(NULL), NULL);
    SetForegroundWindow(m_main.m_hWnd);
    SetFocus(edit);
    ASSERT_EQ(edit, GetFocus());
    AttendedBox::Seen seen;
    EXPECT_EQ(IDOK, AttendedBox::Answer(IDOK, false, seen, [] { return MfxMessageBoxId(IDS_TEST_TEXT, -1, MB_OK); }));
    ASSERT_NE(nullptr, seen.box);
    EXPECT_EQ(edit, GetFocus());
}

// The fatal error box ends the program: mfx_probe shows it in a process of its own.
TEST(MfxFatalErrorBox, ShowsTheTaskModalErrorBoxAndEndsTheProgram)
{
    CtlLog log;
    const struct {
        const char* arguments;
        Record box;
    } cases[] = {
        {"fatal 903 108 2095 main", {"MessageBox", kMainTitle, "Modul 108, Zeile 2095", "0x2010", "1"}},
        {"fatal 903 1 2", {"MessageBox", "", "Modul 1, Zeile 2", "0x2010", "1"}},
        {"fatal 0 1 2 main", {"MessageBox", kMainTitle, "", "0x2010", "1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        log.Clear();
        std::string command = "\"" + oxtest::ProgramDir() + "\\mfx_probe.exe\" " + c.arguments;
        EXPECT_EQ(3, oxtest::RunProcess(command)) << "the program ends through AfxAbort";
        EXPECT_EQ((std::vector<Record>{c.box}), log.Records());
    }
}

} // namespace
