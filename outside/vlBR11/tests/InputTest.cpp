// The browse control on screen, used as a person would: clicks with Ctrl and Shift, header clicks
// that sort, check cells, in-place editing, a divider dragged with the mouse. Screenshots go to
// build/shots/vlBR11.
#include <gtest/gtest.h>

#include <stdio.h>
#include <string.h>

#include "BrowseTestSupport.h"

using namespace brtest;

namespace {

struct InputTest : testing::Test {
    void SetUp() override { ResetEvents(); }
    void TearDown() override { ResetEvents(); }
};

int RowY(HWND list, int row) { return HeaderHeight(list) + row * RowHeight(list) + RowHeight(list) / 2; }

// Moves the mouse over the row and checks that the control sees it there.
void PointAtRow(const TestDialog& d, int x, int row)
{
    MoveMouse(d.List(), x, RowY(d.List(), row));
    ASSERT_EQ(row, BRHIT_ROW(d.Send(BRM_GETHITROW))) << "the mouse is over row " << row;
}

// The colour on screen (copied as the screenshots are).
COLORREF ScreenPixel(int x, int y)
{
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = 1;
    bmi.bmiHeader.biHeight = 1;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    DWORD* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBSection(screen, &bmi, DIB_RGB_COLORS, (void**)&bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, 1, 1, screen, x, y, SRCCOPY);
    GdiFlush();
    DWORD p = *bits;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ReleaseDC(nullptr, screen);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int DateKey(const std::string& text)
{
    int day = 0, month = 0, year = 0;
    sscanf(text.c_str(), "%d.%d.%d", &day, &month, &year);
    return year * 10000 + month * 100 + day;
}

std::string ReadCell(HWND list, int row, int column)
{
    BRCELL cell{sizeof cell, column, row, nullptr, 0};
    LRESULT len = SendMessageA(list, BRM_GETCELLLEN, 0, (LPARAM)&cell);
    if (len < 0)
        return std::string();
    std::string text(len + 1, '\0');
    cell.text = &text[0];
    cell.size = (int32_t)len + 1;
    SendMessageA(list, BRM_GETCELLTEXT, 0, (LPARAM)&cell);
    text.resize(len);
    return text;
}

// The owner's comparison of the appointment list's date columns: the date, then the user (column
// 14) and the start time (column 8) of the rows named, read from the control.
LRESULT AppointmentCompare(HWND list, int code, LPARAM param)
{
    if (code != BRE_COMPARE)
        return 0;
    const BRCOMPARE* c = (const BRCOMPARE*)param;
    if (c->column == 5) {
        int a = DateKey(c->textA), b = DateKey(c->textB);
        if (a != b)
            return a < b ? -1 : 1;
        int user = strcmp(ReadCell(list, c->rowA, 14).c_str(), ReadCell(list, c->rowB, 14).c_str());
        if (user != 0)
            return user;
        return strcmp(ReadCell(list, c->rowA, 8).c_str(), ReadCell(list, c->rowB, 8).c_str());
    }
    return lstrcmpiA(c->textA, c->textB);
}

const char* const kWeekdays[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};

std::string DateText(int day, int month, int year)
{
    SYSTEMTIME st{};
    st.wYear = (WORD)year;
    st.wMonth = (WORD)month;
    st.wDay = (WORD)day;
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    FileTimeToSystemTime(&ft, &st);
    char text[32];
    sprintf(text, "%02d.%02d.%04d %s", day, month, year, kWeekdays[st.wDayOfWeek]);
    return text;
}

// The appointment list as the program sets it up: 15 columns with header icons, owner-sorted
// columns, widths in percent of the client width, 40 rows.
void FillAppointmentList(TestDialog& d)
{
    d.Send(BRM_SETTITLES, 0,
           (LPARAM) "\x02" "1118\x02\t\x02" "1140\x02\t\x02" "1145\x02\tBetreff\tMit\tBeginn\tSerienende\tDauer\t"
                    "Startzeit\tSerientyp\tErstellt am\tErstellt von\tLetzte Änderung\tGeändert von\tBenutzer");
    d.Send(BRM_SETSTYLE, 0, BRS_MULTISELECT);
    const int options[][2] = {{7, 5}, {47, 0}, {62, 1}, {39, 1}, {0, 0}, {69, 1}, {79, 30}};
    for (const auto& o : options)
        d.Send(BRM_SETATTRIBUTE, o[0], o[1]);
    d.Send(BRM_SETATTRIBUTE, BRA_SELCOLOR, (LPARAM)GetSysColor(COLOR_HIGHLIGHT));
    d.ChangeColumn(0, [](BRCOLUMN& c) { c.flags |= 0x420; });
    for (int c = 0; c < 15; c++)
        d.ChangeColumn(c, [](BRCOLUMN& col) { col.flags |= BRCF_OWNERSORT; });
    RECT client;
    GetClientRect(d.List(), &client);
    int32_t w = client.right > 0 ? 2000 / client.right : 10;
    int32_t widths[15] = {w, w, w, 40, 40, 24, 24, 24, 24, 24, 24, 24, 24, 24, 24};
    // the program's 40 and 24 percent are wide on a 900-pixel list: the list scrolls sideways
    d.Send(BRM_SETCOLWIDTHS, 15, (LPARAM)widths);
    HICON privateIcon = CopyIcon(LoadIconA(nullptr, (LPCSTR)IDI_WARNING));
    d.Send(BRM_SETICON, 4000, (LPARAM)privateIcon);
    DestroyIcon(privateIcon);

    const char* subjects[] = {"Teambesprechung", "Kundentermin Müller GmbH", "Zahnarzt", "Projektabnahme Lager",
                              "Jour fixe Vertrieb", "Schulung Datenschutz", "Mittagessen mit Frau Köhler",
                              "Budgetplanung 2027"};
    const char* partners[] = {"Vertrieb", "Herr Müller", "", "Lagerteam", "Frau Schäfer", "Alle", "Frau Köhler",
                              "Geschäftsleitung"};
    const char* users[] = {"meier", "abel", "schulz"};
    for (int i = 0; i < 40; i++) {
        bool series = i % 4 == 0, privat = i % 7 == 3, reminder = i % 3 != 1;
        int day = 1 + (i * 11) % 28, month = 1 + (i * 7) % 12;
        int minutes = 30 + (i % 6) * 45;
        char duration[32];
        if (minutes < 180)
            sprintf(duration, "%d Minuten", minutes);
        else
            sprintf(duration, "%.01f Stunden", minutes / 60.0);
        char row[600];
        sprintf(row, "\x02%d\x02%s\t\x02%d\x02%s\t\x02%d\x02%s\t%s\t%s\t%s\t%s\t%s\t%02d:%02d\t%s\t%s\t%s\t%s\t%s\t%s",
                series ? 1141 : 1124, series ? "" : " ", privat ? 4000 : 0, privat ? "" : " ",
                reminder ? 1117 : 0, reminder ? "" : " ", subjects[i % 8], partners[i % 8],
                DateText(day, month, 2026).c_str(), series ? "kein Ende" : "", duration, 8 + i % 9, (i * 15) % 60,
                series ? "Wöchentlich" : "", DateText(1 + i % 28, 1, 2026).c_str(), users[i % 3],
                DateText(1 + i % 28, 2, 2026).c_str(), users[(i + 1) % 3], users[i % 3]);
        d.AddRow(row, 1000 + i);
    }
}

} // namespace

TEST_F(InputTest, HeaderClicksSortThroughTheOwnerAndReverse)
{
    TestDialog d("Terminliste", 900, 500, true);
    g_reply = AppointmentCompare;
    d.Attach();
    FillAppointmentList(d);
    ASSERT_TRUE(Activate(d));
    d.Send(BRM_SETCURROW, 0);
    d.Send(LB_SETSEL, TRUE, 0);
    PumpIdle();
    EXPECT_FALSE(Screenshot(d.Dialog(), "appointment_list").empty());

    ResetEvents();
    g_reply = AppointmentCompare;
    int beginn = ColumnMiddle(d, 5);
    RECT client;
    GetClientRect(d.List(), &client);
    ASSERT_LT(beginn, client.right) << "the column \"Beginn\" is in view";
    Click(d.List(), beginn, HeaderHeight(d.List()) / 2);
    ASSERT_TRUE(PumpUntil([&] { return d.Send(BRM_GETSORTORDER) == 6; })) << "a click on \"Beginn\" sorts column 6";
    std::vector<int> codes = Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(BRE_SORTCHANGED, codes.back()) << "event 28 follows the comparisons";
    EXPECT_EQ(BRE_COMPARE, codes.front());
    for (int i = 1; i < 40; i++)
        ASSERT_LE(DateKey(d.Cell(i - 1, 5)), DateKey(d.Cell(i, 5))) << "row " << i;

    Click(d.List(), beginn, HeaderHeight(d.List()) / 2);
    ASSERT_TRUE(PumpUntil([&] { return d.Send(BRM_GETSORTORDER) == -6; })) << "the second click reverses";
    for (int i = 1; i < 40; i++)
        ASSERT_GE(DateKey(d.Cell(i - 1, 5)), DateKey(d.Cell(i, 5))) << "row " << i;

    // "Betreff" (in view with its sort arrow): the owner compares its texts without case
    Click(d.List(), ColumnMiddle(d, 3), HeaderHeight(d.List()) / 2);
    ASSERT_TRUE(PumpUntil([&] { return d.Send(BRM_GETSORTORDER) == 4; }));
    for (int i = 1; i < 40; i++)
        ASSERT_LE(lstrcmpiA(d.Cell(i - 1, 3).c_str(), d.Cell(i, 3).c_str()), 0) << "row " << i;
    EXPECT_FALSE(Screenshot(d.Dialog(), "sorted_list").empty());
    Click(d.List(), beginn, HeaderHeight(d.List()) / 2);
    Click(d.List(), beginn, HeaderHeight(d.List()) / 2);
    ASSERT_TRUE(PumpUntil([&] { return d.Send(BRM_GETSORTORDER) == -6; }));

    int at = d.AddRow("\x02" "1124\x02 \t\x02" "0\x02 \t\x02" "0\x02 \tNachzügler\t\t" + DateText(15, 6, 2026) +
                          "\t\t60 Minuten\t10:00\t\t\t\t\t\tabel",
                      2000);
    ASSERT_GT(at, 0);
    EXPECT_GE(DateKey(d.Cell(at - 1, 5)), 20260615) << "a row added afterwards lands in place";
    EXPECT_LE(DateKey(d.Cell(at + 1, 5)), 20260615);

    // a column without a sort flag does not sort
    d.ChangeColumn(3, [](BRCOLUMN& c) { c.flags &= ~(BRCF_OWNERSORT | BRCF_TEXTSORT); });
    d.Send(BRM_SETATTRIBUTE, 0, 0);
    Click(d.List(), ColumnMiddle(d, 3), HeaderHeight(d.List()) / 2);
    EXPECT_EQ(-6, d.Send(BRM_GETSORTORDER));
}

TEST_F(InputTest, CtrlAndShiftClicksSelectAndRaiseEvents)
{
    TestDialog d("Auswahl", 600, 400, true);
    d.Attach();
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tOrt");
    for (int i = 0; i < 10; i++)
        d.AddRow("Eintrag " + std::to_string(i) + "\tRaum " + std::to_string(i));
    ASSERT_TRUE(Activate(d));
    auto selected = [&] {
        std::vector<int> rows;
        for (int i = 0; i < 10; i++)
            if (d.Send(LB_GETSEL, i) > 0)
                rows.push_back(i);
        return rows;
    };
    struct Step {
        int row;
        std::vector<WORD> keys;
        std::vector<int> expected;
    } steps[] = {
        {2, {}, {2}},
        {5, {VK_CONTROL}, {2, 5}},
        {7, {VK_SHIFT}, {5, 6, 7}},
        {9, {VK_CONTROL, VK_SHIFT}, {5, 6, 7, 8, 9}},
        {6, {VK_CONTROL}, {5, 7, 8, 9}},
        {1, {}, {1}},
    };
    for (const Step& s : steps) {
        ResetEvents();
        PointAtRow(d, 100, s.row);
        Click(d.List(), 100, RowY(d.List(), s.row), s.keys);
        ASSERT_TRUE(PumpUntil([&] { return selected() == s.expected; })) << "click on row " << s.row;
        EXPECT_EQ((LRESULT)s.expected.size(), d.Send(LB_GETSELCOUNT));
        EXPECT_EQ(s.row, d.Send(BRM_GETCURROW));
        bool sel = false, cur = false;
        for (const Event& e : Events()) {
            sel = sel || (e.code == BRE_SELCHANGE && e.row == s.row);
            cur = cur || (e.code == BRE_CURCHANGE && e.row == s.row);
        }
        EXPECT_TRUE(sel) << "event 5 for row " << s.row;
        EXPECT_TRUE(cur) << "event 21 for row " << s.row;
    }
    ResetEvents();
    Key(VK_DOWN, {VK_SHIFT});
    ASSERT_TRUE(PumpUntil([&] { return selected() == std::vector<int>{1, 2}; })) << "Shift+Down extends";
    Key(VK_END);
    ASSERT_TRUE(PumpUntil([&] { return selected() == std::vector<int>{9}; }));
    EXPECT_EQ(9, d.Send(BRM_GETCURROW));
}

namespace {

// The user check list: " " titles without a header, check column 0 flipped by the control,
// entry column 1 stretched.
void FillCheckList(TestDialog& d)
{
    d.Send(BRM_SETSTYLE, 0, BRS_MULTISELECT | BRS_CHECKLIST);
    d.Send(BRM_SETTITLES, 0, (LPARAM) " \t ");
    d.Send(BRM_SETATTRIBUTE, BRA_NOHEADER, 1);
    d.Send(BRM_SETATTRIBUTE, BRA_COLUMNLINES, 0);
    d.ChangeColumn(0, [](BRCOLUMN& c) {
        c.cellKind = BRCK_CHECK;
        c.flags |= 0x428;
        c.autoToggle = 1;
    });
    d.ChangeColumn(1, [](BRCOLUMN& c) { c.flags = (c.flags & ~BRCF_TEXTSORT) | BRCF_STRETCH; });
    int32_t widths[2] = {7, 92};
    d.Send(BRM_SETCOLWIDTHS, 2, (LPARAM)widths);
    for (const char* row : {"T\tabel", "F\tmeier", "T\tschulz", "F\t[\xAERaum 1]", "F\t[\xAERaum 2]", "T\t[\xAEWagen]"})
        d.Send(LB_ADDSTRING, 0, (LPARAM)row);
}

} // namespace

TEST_F(InputTest, CheckCellsFlipThroughTheEventsAndSpaceAsksTheOwnerFirst)
{
    TestDialog d("Benutzer", 900, 500, true);
    g_reply = [](HWND, int code, LPARAM) -> LRESULT { return code == BRE_ROWHEIGHT ? 30 : 0; };
    d.Attach();
    FillCheckList(d);
    ASSERT_TRUE(Activate(d));
    d.Send(BRM_SETCURROW, 3);
    d.Send(LB_SETSEL, TRUE, 3);
    PumpIdle();
    EXPECT_FALSE(Screenshot(d.Dialog(), "check_list").empty());

    auto rowY = [&](int row) { return row * 30 + 15; }; // no header, rows of 30 pixels
    int checkX = d.Column(0).width / 2;
    MoveMouse(d.List(), checkX, rowY(1));
    ASSERT_EQ(1, BRHIT_ROW(d.Send(BRM_GETHITROW)));
    ResetEvents();
    Click(d.List(), checkX, rowY(1));
    ASSERT_TRUE(PumpUntil([&] { return d.Cell(1, 0) == "T"; })) << "a click flips F to T";
    std::vector<int> checks;
    for (int code : Codes())
        if (code == BRE_CHECKING || code == BRE_CHECKED)
            checks.push_back(code);
    EXPECT_EQ((std::vector<int>{BRE_CHECKING, BRE_CHECKED}), checks) << "46 then 47";

    ResetEvents();
    g_reply = [](HWND, int code, LPARAM) -> LRESULT { return code == BRE_CHECKING ? 1 : 0; };
    Click(d.List(), checkX, rowY(2));
    ASSERT_TRUE(PumpUntil([&] { return !Events().empty() && Codes().back() == BRE_CHECKING; }));
    PumpIdle();
    EXPECT_EQ("T", d.Cell(2, 0)) << "the owner handled 46: the cell stays";
    for (int code : Codes())
        EXPECT_NE(BRE_CHECKED, code);

    ResetEvents();
    g_reply = [](HWND, int code, LPARAM param) -> LRESULT {
        return code == BRE_KEY && param == BRKEY_MAKE(WM_KEYDOWN, VK_SPACE) ? 1 : 0;
    };
    Key(VK_SPACE);
    ASSERT_TRUE(PumpUntil([&] {
        for (const Event& e : Events())
            if (e.code == BRE_KEY && e.param == BRKEY_MAKE(WM_KEYUP, VK_SPACE))
                return true;
        return false;
    })) << "Space goes through event 55";
    EXPECT_EQ("T", d.Cell(2, 0)) << "handled by the owner: no default";
    EXPECT_EQ(BRKEY_MAKE(WM_KEYDOWN, VK_SPACE), Events().front().param);

    ResetEvents();
    Key(VK_SPACE); // not handled now: the control toggles the current row
    ASSERT_TRUE(PumpUntil([&] { return d.Cell(2, 0) == "F"; }));
    EXPECT_EQ("T\tabel", d.RowText(0)) << "other rows untouched";
}

TEST_F(InputTest, InPlaceEditingCommitsCutsAtTheLimitAndEscapeRestores)
{
    TestDialog d("Ressourcen Konfiguration", 900, 500, true);
    d.Attach();
    d.Send(BRM_SETATTRIBUTE, BRA_EDITING, 1);
    d.Send(BRM_SETSTYLE, 0, 8);
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Ressourcen");
    d.Send(BRM_SETATTRIBUTE, BRA_COLUMNLINES, 0);
    d.ChangeColumn(0, [](BRCOLUMN& c) {
        c.flags |= 0x04000020;
        c.editLimit = 20;
    });
    for (const char* r : {"Raum 1", "Raum 2", "Beamer", "Dienstwagen"})
        d.Send(LB_ADDSTRING, 0, (LPARAM)r);
    ASSERT_TRUE(Activate(d));

    int row = (int)d.Send(LB_ADDSTRING, 0, (LPARAM) "");
    d.Send(BRM_SETCURROW, row);
    ASSERT_EQ(0, d.Send(BRM_BEGINEDIT, 0));
    HWND edit = GetFocus();
    ASSERT_NE(d.List(), edit);
    ASSERT_EQ(d.List(), GetParent(edit)) << "an edit over the cell has the focus";
    Type("Raum 12");
    ASSERT_TRUE(PumpUntil([&] { return GetWindowTextLengthA(edit) == 7; }));
    EXPECT_FALSE(Screenshot(d.Dialog(), "resource_list_editing").empty());
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return d.RowText(row) == "Raum 12"; })) << "Return commits";
    EXPECT_EQ(d.List(), GetFocus());

    d.Send(BRM_SETCURROW, 2);
    ASSERT_EQ(0, d.Send(BRM_BEGINEDIT, 0));
    edit = GetFocus();
    Type("Besprechungsraum Nord 3");
    Type("xy"); // 25 characters in all
    ASSERT_TRUE(PumpUntil([&] { return GetWindowTextLengthA(edit) == 20; }));
    PumpIdle();
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return d.RowText(2) == "Besprechungsraum Nor"; })) << d.RowText(2);

    d.Send(BRM_SETCURROW, 1);
    ASSERT_EQ(0, d.Send(BRM_BEGINEDIT, 0));
    Type("weg damit");
    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == d.List(); })) << "Escape ends editing";
    EXPECT_EQ("Raum 2", d.RowText(1)) << "and restores the text";

    d.Send(BRM_SETCURROW, 0);
    ASSERT_EQ(0, d.Send(BRM_BEGINEDIT, 0));
    Key(VK_END); // the text starts selected
    Type(" Süd");
    SetFocus(d.List()); // focus leaves the edit: committed
    ASSERT_TRUE(PumpUntil([&] { return d.RowText(0) == "Raum 1 Süd"; })) << d.RowText(0);

    d.Send(BRM_SETATTRIBUTE, BRA_EDITING, 0);
    EXPECT_EQ(BRERR_DENIED, d.Send(BRM_BEGINEDIT, 0)) << "without attribute 71 nothing is edited";
}

TEST_F(InputTest, DividerDraggedWithTheMouseIsSavedAndLoaded)
{
    const char* path = "Software\\velmar\\OXTest\\vlBR11\\Drag";
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
    BRLAYOUT place{sizeof(BRLAYOUT), path, "ViewTodoList", 0, 0, HKEY_CURRENT_USER};
    int dragged = 0;
    {
        TestDialog d("Aufgaben", 900, 500, true);
        d.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tFällig\tBenutzer");
        int32_t widths[3] = {30, 20, 20};
        d.Send(BRM_SETCOLWIDTHS, 3, (LPARAM)widths);
        d.AddRow("Angebot schreiben\t12.12.2026 Sa\tabel");
        ASSERT_TRUE(Activate(d));
        int before = d.Column(0).width;
        Drag(d.List(), before, HeaderHeight(d.List()) / 2, before + 60, HeaderHeight(d.List()) / 2);
        ASSERT_TRUE(PumpUntil([&] { return d.Column(0).width != before; })) << "the divider moved";
        dragged = d.Column(0).width;
        EXPECT_NEAR(before + 60, dragged, 2);
        ASSERT_EQ(0, d.Send(BRM_SAVELAYOUT, 0x1007, (LPARAM)&place));
    }
    TestDialog fresh("Aufgaben", 900, 500, false);
    fresh.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tFällig\tBenutzer");
    int32_t widths[3] = {30, 20, 20};
    fresh.Send(BRM_SETCOLWIDTHS, 3, (LPARAM)widths);
    ASSERT_EQ(0, fresh.Send(BRM_LOADLAYOUT, 0x1007, (LPARAM)&place));
    EXPECT_EQ(dragged, fresh.Column(0).width) << "a new control loads the width";
    RegDeleteTreeA(HKEY_CURRENT_USER, path);
}

TEST_F(InputTest, ColumnsMoveWhenTheirTitlesAreDragged)
{
    TestDialog d("Spalten", 600, 300, true);
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Symbol\tBetreff\tOrt\tBeginn");
    int32_t widths[4] = {10, 30, 30, 30};
    d.Send(BRM_SETCOLWIDTHS, 4, (LPARAM)widths);
    d.ChangeColumn(0, [](BRCOLUMN& c) { c.flags |= BRCF_NOMOVE; });
    d.AddRow("x\tAngebot\tBonn\t01.12.2026 Di");
    ASSERT_TRUE(Activate(d));
    int y = HeaderHeight(d.List()) / 2;
    auto positions = [&] {
        std::vector<int> p;
        for (int c = 0; c < 4; c++)
            p.push_back(d.Column(c).position);
        return p;
    };
    // "Beginn" dropped on the left half of "Betreff": it goes before it
    Drag(d.List(), ColumnMiddle(d, 3), y, d.Column(0).width + 10, y);
    ASSERT_TRUE(PumpUntil([&] { return positions() == std::vector<int>{0, 2, 3, 1}; }));
    EXPECT_EQ(0, d.Send(BRM_GETSORTORDER)) << "a drag is not a click";
    // "Betreff" dropped on the column that does not move: it goes right after it
    Drag(d.List(), d.Column(0).width + d.Column(3).width + d.Column(1).width / 2, y, 2, y);
    ASSERT_TRUE(PumpUntil([&] { return positions() == std::vector<int>{0, 1, 3, 2}; }));
    Drag(d.List(), d.Column(0).width / 2, y, 500, y);
    PumpIdle();
    EXPECT_EQ(0, d.Column(0).position) << "the column that does not move stays";
    EXPECT_FALSE(Screenshot(d.Dialog(), "moved_columns").empty());
}

TEST_F(InputTest, MouseAndKeysRaiseTheirEventsAndScroll)
{
    TestDialog d("Ereignisse", 600, 300, true);
    d.Attach();
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tOrt\tBeginn\tDauer\tBenutzer");
    int32_t widths[5] = {40, 40, 40, 40, 40}; // wider than the list: it scrolls sideways
    d.Send(BRM_SETCOLWIDTHS, 5, (LPARAM)widths);
    for (int i = 0; i < 60; i++)
        d.AddRow("Termin " + std::to_string(i) + "\tRaum " + std::to_string(i % 5) + "\t0" + std::to_string(1 + i % 9) +
                 ".03.2026 Mo\t60 Minuten\tabel");
    ASSERT_TRUE(Activate(d));
    HWND list = d.List();
    int x = 30, header = HeaderHeight(list) / 2;
    auto has = [](int code, int row, int column) {
        for (const Event& e : Events())
            if (e.code == code && e.row == row && e.column == column)
                return true;
        return false;
    };

    ResetEvents();
    Click(list, ColumnMiddle(d, 1), RowY(list, 2));
    ASSERT_TRUE(PumpUntil([&] { return has(BRE_MOUSECLICK, 2, 1); })) << "left click: 17 with row and column";

    ResetEvents();
    int rightButton = 0;
    g_reply = [&](HWND, int code, LPARAM param) -> LRESULT {
        if (code == BRE_MOUSECLICK)
            rightButton = ((const BRMOUSE*)param)->button;
        return 0;
    };
    Click(list, x, RowY(list, 4), {}, true);
    ASSERT_TRUE(PumpUntil([&] { return has(BRE_MOUSECLICK, 4, 0); }));
    EXPECT_EQ(BRBUTTON_RIGHT, rightButton);
    EXPECT_EQ(1, d.Send(LB_GETSEL, 4)) << "a right click selects the row under it";

    ResetEvents();
    Click(list, x, RowY(list, 3));
    Click(list, x, RowY(list, 3));
    ASSERT_TRUE(PumpUntil([&] {
        for (const Event& e : Events())
            if (e.code == BRE_DBLCLICK && e.param == 3)
                return true;
        return false;
    })) << "double click: 1 with the row";

    ResetEvents();
    Click(list, ColumnMiddle(d, 1), header, {}, true);
    ASSERT_TRUE(PumpUntil([&] {
        return !Events().empty() && Events().back().code == BRE_COLUMNMENU && Events().back().param == 1;
    })) << "right click on a title: 14 with the column";

    ResetEvents();
    Key(VK_APPS);
    ASSERT_TRUE(PumpUntil([&] {
        for (int code : Codes())
            if (code == BRE_CONTEXTMENU)
                return true;
        return false;
    })) << "the context-menu key: 61";

    MoveMouse(list, x, RowY(list, 0));
    int first = BRHIT_ROW(d.Send(BRM_GETHITROW));
    Wheel(-1);
    ASSERT_TRUE(PumpUntil([&] { return BRHIT_ROW(d.Send(BRM_GETHITROW)) == first + 3; })) << "the wheel scrolls 3 rows";
    Wheel(1);
    ASSERT_TRUE(PumpUntil([&] { return BRHIT_ROW(d.Send(BRM_GETHITROW)) == first; }));

    MoveMouse(list, 5, RowY(list, 0));
    ASSERT_EQ(0, BRHIT_COLUMN(d.Send(BRM_GETHITROW)));
    for (int i = 0; i < 20; i++)
        Key(VK_RIGHT);
    ASSERT_TRUE(PumpUntil([&] { return BRHIT_COLUMN(d.Send(BRM_GETHITROW)) == 1; })) << "Right scrolls sideways";
    RECT client;
    GetClientRect(list, &client);
    int visible = (client.bottom - HeaderHeight(list)) / RowHeight(list);
    ASSERT_EQ(3, d.Send(BRM_GETCURROW));
    Key(VK_NEXT);
    EXPECT_TRUE(PumpUntil([&] { return d.Send(BRM_GETCURROW) == 3 + visible - 1; })) << "Page Down";
}

TEST_F(InputTest, ColourAttributesAndTheHiddenHeaderChangeWhatIsDrawn)
{
    TestDialog d("Farben", 400, 250, true);
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Betreff\tOrt");
    int32_t widths[2] = {50, 50};
    d.Send(BRM_SETCOLWIDTHS, 2, (LPARAM)widths);
    d.Send(BRM_SETATTRIBUTE, BRA_COLUMNLINES, 0);
    for (int i = 0; i < 4; i++)
        d.AddRow("a\tb");
    d.Send(LB_SETSEL, TRUE, 2);
    ASSERT_TRUE(Activate(d));
    HWND list = d.List();
    // a point of a row away from its text
    auto pixel = [&](int row) {
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpIdle(); // the window's surface reaches the display
        POINT pt = {300, RowY(list, row)};
        ClientToScreen(list, &pt);
        return ScreenPixel(pt.x, pt.y);
    };
    const COLORREF rowBk = RGB(250, 240, 200), selBk = RGB(20, 90, 40), altBk = RGB(230, 230, 255);
    d.Send(BRM_SETATTRIBUTE, BRA_CLR_ROWBK, rowBk);
    d.Send(BRM_SETATTRIBUTE, BRA_CLR_SELBK, selBk);
    d.Send(BRM_SETATTRIBUTE, BRA_CLR_ALTBK, altBk);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), pixel(0)) << "the system's colours while attribute 7 is not 0";
    d.Send(BRM_SETATTRIBUTE, BRA_COLORS, 0);
    EXPECT_EQ(rowBk, pixel(0)) << "attribute 7 = 0: colour 9";
    EXPECT_EQ(selBk, pixel(2)) << "colour 10 for a selected row";
    EXPECT_EQ(altBk, pixel(3)) << "colour 11 for every second row";

    d.Send(BRM_SETATTRIBUTE, BRA_COLORS, 5);
    d.Send(BRM_SETATTRIBUTE, BRA_SELCOLOR, RGB(0, 0, 200));
    d.Send(BRM_SETATTRIBUTE, BRA_SELTINT, 30);
    COLORREF window = GetSysColor(COLOR_WINDOW);
    COLORREF tinted = RGB(GetRValue(window) * 70 / 100, GetGValue(window) * 70 / 100,
                          (200 * 30 + GetBValue(window) * 70) / 100);
    EXPECT_EQ(tinted, pixel(2)) << "attribute 79: 30 percent of colour 80 over the row";

    MoveMouse(list, 300, 3);
    EXPECT_EQ(-1, BRHIT_ROW(d.Send(BRM_GETHITROW))) << "the header is there";
    d.Send(BRM_SETATTRIBUTE, BRA_NOHEADER, 1);
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(0, BRHIT_ROW(d.Send(BRM_GETHITROW))) << "attribute 74: row 0 at the top";
}
