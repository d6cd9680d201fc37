// The list classes on the real browse control in dialogs, driven by real input: the check list's
// keys, the view list's keys and context menu, the reminder list's "select all"; the wrapper's
// records against the control; screenshots of an appointment list and a user check list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BrowseMenus.h"
#include "BrowseTestSupport.h"
#include "CBrowserCheckList.h"
#include "CBrowserReminderList.h"
#include "CBrowserViewList.h"
#include "Png.h"
#include "TestKit.h"

using brtest::TestDialog;

namespace {

std::string Shot(HWND hwnd, const char* name)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    brtest::PumpIdle();
    std::string folder = oxtest::ProgramDir() + "\\..\\shots";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\browse-lists";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string path = folder + "\\" + name + ".png";
    RECT rc;
    GetWindowRect(hwnd, &rc);
    HDC dc = GetDC(nullptr);
    bool ok = oxtest::WriteDcPng(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, path);
    ReleaseDC(nullptr, dc);
    return ok ? path : std::string();
}

std::vector<std::string> Marks(CBrowserListWrapper& list)
{
    std::vector<std::string> marks;
    for (int row = 0; row < list.GetCount(); row++) {
        CString text;
        list.GetCellText(row, 0, text);
        marks.push_back((LPCSTR)text);
    }
    return marks;
}

// Messages the owner dialog received from its list (the dialog is subclassed).
struct OwnerLog {
    std::vector<std::pair<UINT, LPARAM>> messages;
};
OwnerLog g_owner;
WNDPROC g_dialogProc = nullptr;
LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m >= 0x905 && m <= 0x937)
        g_owner.messages.push_back({m, l});
    return CallWindowProcA(g_dialogProc, h, m, w, l);
}
void RecordOwner(HWND dialog)
{
    g_owner.messages.clear();
    g_dialogProc = (WNDPROC)SetWindowLongPtrA(dialog, GWLP_WNDPROC, (LONG_PTR)OwnerProc);
}

// The main window: records the commands it gets.
std::vector<WPARAM> g_mainCommands;
LRESULT CALLBACK MainProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_COMMAND)
        g_mainCommands.push_back(w);
    return DefWindowProcA(h, m, w, l);
}

// Chooses the first item of the next popup menu that opens, with the keyboard, from inside the
// menu's own loop.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = FindWindowA("#32768", nullptr);
    if (!menu || !IsWindowVisible(menu))
        return;
    KillTimer(nullptr, id);
    INPUT in[4] = {};
    WORD keys[2] = {VK_DOWN, VK_RETURN};
    for (int i = 0; i < 4; i++) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i / 2];
        in[i].ki.dwFlags = (i % 2) ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
}

int RowY(int header, int rowHeight, int row) { return header + row * rowHeight + rowHeight / 2; }

const char* const kUsers[] = {"Meier", "maier", "Müller", "Schmidt", "[®Raum 1]", "[®Raum 2]"};

class BrowseLists : public ::testing::Test {
protected:
    CWinApp m_app{"mfx_browse_input_test"};
};

TEST_F(BrowseLists, RecordsAndValuesCrossTheControlIntact)
{
    TestDialog dialog("Liste", 400, 200, false);
    CBrowserListWrapper list(dialog.List(), FALSE, nullptr);
    list.SetColumnTitles("Betreff\tOrt");
    ASSERT_EQ(0, list.AddRow("Zahnarzt\tPraxis", (LPARAM)4294967295u));
    EXPECT_EQ((LPARAM)4294967295u, list.GetItemData(0)) << "a record id above 2^31 stays positive";
    int row = -1;
    EXPECT_TRUE(list.FindItemData((LPARAM)4294967295u, row));
    EXPECT_EQ(0, row);
    EXPECT_FALSE(list.FindItemData(-1, row));

    // A long row is read whole through its announced length.
    std::string longText(3000, 'x');
    list.AddRow((longText + "\tEnde").c_str(), 2);
    CString text;
    EXPECT_EQ(3005, list.GetTextCopy(1, text));
    EXPECT_EQ(3005, text.GetLength());
    EXPECT_EQ(-1, list.GetTextCopy(9, text));
    EXPECT_TRUE(text.IsEmpty());

    // A descriptor read and written back keeps the bytes the program does not change.
    BRCOLUMN column = {};
    ASSERT_EQ(0, list.GetColumn(1, &column));
    column.width = 123;
    ASSERT_EQ(0, list.SetColumn(&column));
    BRCOLUMN before = {};
    list.GetColumn(1, &before);
    BRCOLUMN changed = before;
    changed.flags |= BRCF_CENTER | BRCF_NOMOVE;
    ASSERT_EQ(0, list.SetColumn(&changed));
    BRCOLUMN after = {};
    list.GetColumn(1, &after);
    EXPECT_STREQ("Ort", after.title);
    EXPECT_EQ(before.width, after.width);
    EXPECT_EQ(before.position, after.position);
    EXPECT_EQ(before.flags | BRCF_CENTER | BRCF_NOMOVE, after.flags);
}

TEST_F(BrowseLists, CheckListSetsUpItsColumns)
{
    struct Case {
        const char* title;
        BOOL checkMode;
        int autoToggle;
        bool textSort0;
    } cases[] = {{nullptr, TRUE, 1, true}, {"Benutzer", FALSE, 0, false}};
    for (const Case& c : cases) {
        TestDialog dialog("Benutzer", 300, 200, false);
        CBrowserListWrapper probe(dialog.List(), FALSE, nullptr);
        probe.SetColumnTitles("alt\tTitel");
        CBrowserCheckList list(dialog.List(), dialog.Dialog(), c.title, c.checkMode);
        EXPECT_EQ(2, list.GetColumnCount());
        BRCOLUMN first = {}, second = {};
        ASSERT_EQ(0, list.GetColumn(0, &first));
        ASSERT_EQ(0, list.GetColumn(1, &second));
        EXPECT_EQ(BRCK_CHECK, first.cellKind);
        EXPECT_EQ(c.autoToggle, first.autoToggle);
        EXPECT_EQ(0x428u, first.flags & 0x428u);
        EXPECT_EQ(c.textSort0, (first.flags & BRCF_TEXTSORT) != 0);
        EXPECT_STREQ(" ", first.title);
        EXPECT_STREQ(c.title ? c.title : " ", second.title);
        EXPECT_EQ(0u, second.flags & BRCF_TEXTSORT);
        EXPECT_NE(0u, second.flags & BRCF_STRETCH);
        EXPECT_EQ(c.title ? 0 : 1, (int)list.SetOption(BRA_NOHEADER, 0)) << "no title, no header";
        EXPECT_EQ(0, (int)list.SetOption(BRA_COLUMNLINES, 0));
        EXPECT_EQ(30, list.DispatchEvent(36, 17));
        EXPECT_EQ(-1, list.DispatchEvent(36, 0));
    }
}

TEST_F(BrowseLists, CheckListKeysSetTheMarksOfTheSelectedRows)
{
    TestDialog dialog("Benutzer", 300, 260, true);
    CBrowserCheckList list(dialog.List(), dialog.Dialog(), nullptr, TRUE);
    const bool marks[] = {true, true, false, true, false, true};
    for (int i = 0; i < 6; i++)
        list.AddEntry(kUsers[i], marks[i]);
    EXPECT_TRUE(list.IsChecked(0));
    EXPECT_FALSE(list.IsChecked(2));
    ASSERT_TRUE(brtest::Activate(dialog));

    // Three rows selected by clicks on their texts, the last (current) one marked "T".
    int x = brtest::ColumnMiddle(dialog, 1);
    int header = 0; // a check list without title has no header
    brtest::Click(dialog.List(), x, RowY(header, 30, 2));
    brtest::Click(dialog.List(), x, RowY(header, 30, 4), {VK_CONTROL});
    brtest::Click(dialog.List(), x, RowY(header, 30, 3), {VK_CONTROL});
    ASSERT_EQ(3, list.GetCurrentRow()) << "rows are 30 pixels high";
    ASSERT_EQ(3, list.GetSelCount());
    brtest::Key(VK_SPACE);
    EXPECT_EQ((std::vector<std::string>{"T", "T", "F", "F", "F", "T"}), Marks(list)) << "current row was T: all three F";
    brtest::Key(VK_SPACE);
    EXPECT_EQ((std::vector<std::string>{"T", "T", "T", "T", "T", "T"}), Marks(list));

    // Delete unchecks only the selected rows.
    brtest::Key(VK_DELETE);
    EXPECT_EQ((std::vector<std::string>{"T", "T", "F", "F", "F", "T"}), Marks(list));
    EXPECT_EQ(6, list.GetEntryCount()) << "Delete removes no entry";

    // Letters find capital entries only, the next one below first.
    list.SetCurrentRow(3); // "Schmidt"
    std::vector<int> found;
    for (int i = 0; i < 3; i++) {
        brtest::Key('M');
        found.push_back(list.GetCurrentRow());
    }
    EXPECT_EQ((std::vector<int>{0, 2, 0}), found) << "\"maier\" is never found";
    brtest::Key('X');
    EXPECT_EQ(0, list.GetCurrentRow()) << "no entry: the current row stays";
    brtest::Key('S');
    EXPECT_EQ(3, list.GetCurrentRow());

    CString entry;
    EXPECT_TRUE(list.GetEntryText(4, entry));
    EXPECT_STREQ("[®Raum 1]", (LPCSTR)entry);
    EXPECT_EQ(0, list.UncheckAll());
    EXPECT_EQ((std::vector<std::string>(6, "F")), Marks(list));
    EXPECT_EQ(0, list.CheckAll());
    EXPECT_EQ((std::vector<std::string>(6, "T")), Marks(list));
}

TEST_F(BrowseLists, CheckListWithoutCheckModeChoosesTheCurrentRow)
{
    TestDialog dialog("Benutzer", 300, 200, true);
    CBrowserCheckList list(dialog.List(), dialog.Dialog(), "Benutzer", FALSE);
    list.AddEntry("Meier", TRUE);
    list.AddEntry("Schmidt", FALSE);
    list.SetCurrentRow(1);
    EXPECT_FALSE(list.IsChecked(0)) << "without check mode the mark means nothing";
    EXPECT_TRUE(list.IsChecked(1));
    EXPECT_EQ(0, list.CheckAll());
    EXPECT_EQ(0, list.UncheckAll());
    EXPECT_EQ((std::vector<std::string>{"T", "F"}), Marks(list)) << "CheckAll changes nothing";
    ASSERT_TRUE(brtest::Activate(dialog));
    list.SetSel(0, TRUE);
    brtest::Key(VK_DELETE);
    EXPECT_EQ((std::vector<std::string>{"T", "F"}), Marks(list));
}

TEST_F(BrowseLists, ViewListSendsKeysToItsOwnerAndCommandsToTheMainWindow)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "BrwMainWindow";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, "BrwMainWindow", "Haupt", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, wc.hInstance, nullptr);
    CWnd mainWnd;
    mainWnd.Attach(main);
    m_app.m_pMainWnd = &mainWnd;

    TestDialog dialog("Termine", 500, 240, true);
    RecordOwner(dialog.Dialog());
    CBrowserViewList list(dialog.List(), TRUE, nullptr);
    list.SetColumnTitles("Beginn\tBetreff");
    list.AddRow("01.02.2008\tZahnarzt", 11);
    list.AddRow("02.02.2008\tFriseur", 12);
    ASSERT_TRUE(brtest::Activate(dialog));

    brtest::Key(VK_RETURN);
    bool sawKey = false;
    for (auto& m : g_owner.messages)
        sawKey |= m.first == WM_BROWSE_KEY && m.second == 256 * 65536 + 13;
    EXPECT_TRUE(sawKey) << "Return reaches the owner as 0x937";

    // A left click opens no menu and sends no command.
    int header = brtest::HeaderHeight(dialog.List());
    int rowHeight = brtest::RowHeight(dialog.List());
    g_mainCommands.clear();
    brtest::Click(dialog.List(), 60, RowY(header, rowHeight, 1));
    EXPECT_TRUE(g_mainCommands.empty());
    bool sawSelection = false;
    for (auto& m : g_owner.messages)
        sawSelection |= m.first == WM_BROWSE_SELCHANGE;
    EXPECT_TRUE(sawSelection);

    // A right click: the menu's first command ("Neuer Termin") goes to the main window.
    SetTimer(nullptr, 0, 50, ChooseFirstItem);
    brtest::Click(dialog.List(), 60, RowY(header, rowHeight, 0), {}, true);
    EXPECT_TRUE(brtest::PumpUntil([] { return !g_mainCommands.empty(); }));
    ASSERT_EQ(1u, g_mainCommands.size());
    EXPECT_EQ(32775u, LOWORD(g_mainCommands[0]));

    SetWindowLongPtrA(dialog.Dialog(), GWLP_WNDPROC, (LONG_PTR)g_dialogProc);
    m_app.m_pMainWnd = nullptr;
    mainWnd.Detach();
    DestroyWindow(main);
}

TEST_F(BrowseLists, ReminderListMenuSelectsEveryRow)
{
    TestDialog dialog("Erinnerungen", 500, 240, true);
    CBrowserReminderList list(dialog.List(), TRUE, nullptr);
    list.SetStyle(BRS_MULTISELECT);
    list.SetColumnTitles("Beginn\tBetreff");
    for (int i = 0; i < 4; i++)
        list.AddRow("11.12.2026\tTermin", i);
    ASSERT_TRUE(brtest::Activate(dialog));
    int header = brtest::HeaderHeight(dialog.List());
    int rowHeight = brtest::RowHeight(dialog.List());
    brtest::Click(dialog.List(), 60, RowY(header, rowHeight, 1));
    ASSERT_EQ(1, list.GetSelCount());
    SetTimer(nullptr, 0, 50, ChooseFirstItem);
    brtest::Click(dialog.List(), 60, RowY(header, rowHeight, 2), {}, true);
    EXPECT_TRUE(brtest::PumpUntil([&] { return list.GetSelCount() == 4; })) << "\"&Alle Einträge Selektieren\"";
    EXPECT_EQ(0, list.GetFirstSelected());

    // The menu key opens the same menu.
    brtest::Click(dialog.List(), 60, RowY(header, rowHeight, 3));
    ASSERT_EQ(1, list.GetSelCount());
    SetTimer(nullptr, 0, 50, ChooseFirstItem);
    brtest::Key(VK_APPS);
    EXPECT_TRUE(brtest::PumpUntil([&] { return list.GetSelCount() == 4; }));
}

TEST_F(BrowseLists, Screenshots)
{
    TestDialog dialog("Terminliste", 760, 300, true);
    CBrowserViewList list(dialog.List(), TRUE, nullptr);
    list.SetColumnTitles("\x02" "1145\x02\t\x02" "1118\x02\t\x02" "1140\x02\tBeginn\tEnde\tBetreff\tOrt\tPartner\tErstellt am");
    const int widths[] = {3, 3, 3, 17, 17, 19, 13, 13, 12};
    list.SetColumnWidths(9, widths);
    list.SetOption(0, 0);
    list.SetOption(7, 5);
    list.SetOption(39, 1);
    list.SetOption(62, 1);
    list.SetOption(69, 1);
    list.SetOption(79, 30);
    list.SetColor(80, GetSysColor(COLOR_HIGHLIGHT));
    list.SetOption(47, 0);
    const char* rows[] = {
        "\x02" "1117\x02\t\x02" "1141\x02\t\tMo 02.01.2008 09:00\tMo 02.01.2008 10:00\tTeambesprechung\tRaum 1\tHerr Meier\t15.12.2007",
        "\t\x02" "1124\x02\t\tDi 03.01.2008 14:30\tDi 03.01.2008 15:00\tZahnarzt\tPraxis Dr. Müller\t\t02.01.2008",
        "\x02" "1117\x02\t\x02" "1124\x02\tP\tFr 06.01.2008\tFr 06.01.2008\tGeburtstag Schwester\t\t\t01.02.2008",
        "\t\x02" "1141\x02\t\tMo 09.01.2008 08:00\tMo 09.01.2008 08:15\tWochenplanung\tBüro\tFrau Schäfer\t02.01.2008",
    };
    for (int i = 0; i < 4; i++)
        list.AddRow(rows[i], 100 + i);
    list.SetSel(1, TRUE);
    list.SetCurrentRow(1);
    EXPECT_FALSE(Shot(dialog.Dialog(), "appointment_list").empty());

    TestDialog checkDialog("Benutzer", 260, 230, true);
    CBrowserCheckList check(checkDialog.List(), checkDialog.Dialog(), nullptr, TRUE);
    const bool marks[] = {true, false, true, false, true, false};
    for (int i = 0; i < 6; i++)
        check.AddEntry(kUsers[i], marks[i]);
    check.SetCurrentRow(4);
    EXPECT_FALSE(Shot(checkDialog.Dialog(), "check_list").empty());
}

} // namespace
