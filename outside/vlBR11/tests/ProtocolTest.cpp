// The message protocol of the browse control, driven by messages only (the dialogs stay hidden).
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "BrowseTestSupport.h"
#include "TestKit.h"

using namespace brtest;

namespace {

struct ProtocolTest : testing::Test {
    void SetUp() override { ResetEvents(); }
    void TearDown() override { ResetEvents(); }
};

void ThreeColumns(TestDialog& d)
{
    d.Send(BRM_SETTITLES, 0, (LPARAM) "Name\tOrt\tZeit");
}

} // namespace

TEST_F(ProtocolTest, LibraryAnswersItsVersionAndTheClassIsGlobalInAnyCase)
{
    EXPECT_EQ(VLBR_VERSION, BrwsGetVersion(0));
    HWND hwnd = CreateWindowExA(0, "VlmrBrowser1132", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, hwnd);
    char name[64];
    GetClassNameA(hwnd, name, sizeof name);
    EXPECT_STREQ(VLBR_CLASSNAME, name);
    DestroyWindow(hwnd);
    TestDialog d("Protokoll", 400, 300, false);
    EXPECT_NE(nullptr, d.List()) << "the class in a dialog template";
}

// Each message with its result, in a sequence that builds on the one before.
TEST_F(ProtocolTest, MessagesAnswerAsDocumented)
{
    TestDialog d("Protokoll", 400, 300, false);
    d.Attach();
    char buf[64] = "unchanged";
    struct Step {
        const char* what;
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        LRESULT expected;
    } steps[] = {
        {"current row without rows", BRM_GETCURROW, 0, 0, -1},
        {"count without rows", BRM_GETCOUNT, 0, 0, 0},
        {"titles give the columns", BRM_SETTITLES, 0, (LPARAM) "A\tB\tC", 3},
        {"column count", BRM_GETCOLCOUNT, 0, 0, 3},
        {"text length of a bad row", BRM_GETTEXTLEN, 0, 0, BRERR_ROW},
        {"text of a bad row", BRM_GETTEXT, 0, (LPARAM)buf, BRERR_ROW},
        {"attribute: the default", BRM_SETATTRIBUTE, BRA_EDITING, 1, 0},
        {"attribute: the old value", BRM_SETATTRIBUTE, BRA_EDITING, 0, 1},
        {"attribute: 7 defaults to 5", BRM_SETATTRIBUTE, BRA_COLORS, 0, 5},
        {"attribute index out of range", BRM_SETATTRIBUTE, BRA_COUNT, 0, BRERR_ARGUMENT},
        {"style: the old one", BRM_SETSTYLE, 0, BRS_MULTISELECT, BRS_MULTISELECT},
        {"add a row", LB_ADDSTRING, 0, (LPARAM) "x\ty\tz", 0},
        {"add another", LB_ADDSTRING, 0, (LPARAM) "one\ttwo", 1},
        {"length of row 1", BRM_GETTEXTLEN, 1, 0, 7},
        {"text of row 1", BRM_GETTEXT, 1, (LPARAM)buf, 7},
        {"set row text", BRM_SETROWTEXT, 0, (LPARAM) "a\tb\tc", 0},
        {"set text of a bad row", BRM_SETROWTEXT, 5, (LPARAM) "a", BRERR_ROW},
        {"no current row yet", BRM_GETCURROW, 0, 0, -1},
        {"set current row", BRM_SETCURROW, 1, 0, 0},
        {"current row", BRM_GETCURROW, 0, 0, 1},
        {"list-box current row", LB_GETCURSEL, 0, 0, 1},
        {"bad current row", BRM_SETCURROW, 2, 0, BRERR_ROW},
        {"item data", LB_SETITEMDATA, 1, 4711, 0},
        {"item data back", LB_GETITEMDATA, 1, 0, 4711},
        {"item data of a bad row", LB_GETITEMDATA, 9, 0, LB_ERR},
        {"select row 0", LB_SETSEL, TRUE, 0, 0},
        {"selected", LB_GETSEL, 0, 0, 1},
        {"not selected", LB_GETSEL, 1, 0, 0},
        {"select all", LB_SETSEL, TRUE, -1, 0},
        {"selection count", LB_GETSELCOUNT, 0, 0, 2},
        {"redraw a bad row", BRM_REDRAWROW, 7, 0, BRERR_ROW},
        {"redraw all", BRM_REDRAWROW, BRROW_ALL, 0, 0},
        {"refresh row 1", BRM_REFRESHROW, 1, 0, 0},
        {"sort order: the default", BRM_SETSORTORDER, (WPARAM)-6, 0, 0},
        {"sort order round trip", BRM_GETSORTORDER, 0, 0, -6},
        {"sort order: the old value", BRM_SETSORTORDER, 0, 0, -6},
        {"widths without array", BRM_SETCOLWIDTHS, 3, 0, BRERR_RECORD},
        {"delete a bad row", LB_DELETESTRING, 4, 0, LB_ERR},
        {"delete row 0: rows left", LB_DELETESTRING, 0, 0, 1},
        {"the current row moved up with its row", BRM_GETCURROW, 0, 0, 0},
        {"reset", BRM_RESETCONTENT, 0, 0, 0},
        {"count after reset", BRM_GETCOUNT, 0, 0, 0},
        {"current row after reset", BRM_GETCURROW, 0, 0, -1},
    };
    for (const Step& s : steps)
        EXPECT_EQ(s.expected, d.Send(s.msg, s.wp, s.lp)) << s.what;
    EXPECT_STREQ("one\ttwo", buf) << "0xB3C writes exactly the length 0xB3B answered plus its NUL";
    int32_t widths[3] = {10, 20, 70};
    EXPECT_EQ(0, d.Send(BRM_SETCOLWIDTHS, 3, (LPARAM)widths));
    RECT client;
    GetClientRect(d.List(), &client);
    EXPECT_EQ(client.right * 20 / 100, d.Column(1).width) << "widths are percent of the client width";
    EXPECT_TRUE(Codes().empty() || Codes() == std::vector<int>(Codes().size(), BRE_ROWHEIGHT))
        << "the owner's own messages raise no events";
}

TEST_F(ProtocolTest, GetTextWritesNoMoreThanTheLengthItAnswers)
{
    TestDialog d("Protokoll", 400, 300, false);
    ThreeColumns(d);
    std::string longRow(3000, 'x');
    longRow += "\tende";
    d.AddRow(longRow);
    LRESULT len = d.Send(BRM_GETTEXTLEN, 0);
    ASSERT_EQ((LRESULT)longRow.size(), len);
    std::vector<char> buffer(len + 1 + 16, '#');
    EXPECT_EQ(len, d.Send(BRM_GETTEXT, 0, (LPARAM)buffer.data()));
    EXPECT_EQ(longRow, std::string(buffer.data()));
    EXPECT_EQ(std::string(15, '#'), std::string(buffer.data() + len + 1, 15)) << "nothing written past the NUL";
}

TEST_F(ProtocolTest, CellsReadWriteAndRefuseBadRecords)
{
    TestDialog d("Protokoll", 400, 300, false);
    ThreeColumns(d);
    d.AddRow("Anna\tBonn\t10:00", 7);
    d.AddRow("Bert", 8);
    EXPECT_EQ("Bonn", d.Cell(0, 1));
    EXPECT_EQ("", d.Cell(1, 2)) << "a cell the row does not have is empty";

    char small[3] = "ab";
    BRCELL cell{sizeof cell, 1, 0, small, sizeof small};
    EXPECT_EQ(BRERR_BUFFER, d.Send(BRM_GETCELLTEXT, 0, (LPARAM)&cell));
    EXPECT_STREQ("ab", small) << "a short buffer is left alone";

    BRCELL set{sizeof set, 2, 1, (char*)"11:30\tx", 0};
    EXPECT_EQ(0, d.Send(BRM_SETCELLTEXT, 0, (LPARAM)&set));
    EXPECT_EQ("Bert\t\t11:30 x", d.RowText(1)) << "cells added; a tab in a cell becomes a blank";

    struct Bad {
        const char* what;
        BRCELL cell;
        LRESULT expected;
    } bad[] = {
        {"the 32-bit size", {20, 0, 0, nullptr, 0}, BRERR_RECORD},
        {"no such row", {sizeof(BRCELL), 0, 2, nullptr, 0}, BRERR_ROW},
        {"negative row", {sizeof(BRCELL), 0, -1, nullptr, 0}, BRERR_ROW},
        {"no such column", {sizeof(BRCELL), 3, 0, nullptr, 0}, BRERR_COLUMN},
    };
    for (const Bad& b : bad) {
        BRCELL c = b.cell;
        EXPECT_EQ(b.expected, d.Send(BRM_GETCELLLEN, 0, (LPARAM)&c)) << b.what;
        c.text = (char*)"neu";
        EXPECT_EQ(b.expected, d.Send(BRM_SETCELLTEXT, 0, (LPARAM)&c)) << b.what;
    }
    EXPECT_EQ(BRERR_RECORD, d.Send(BRM_GETCELLLEN, 0, 0));
    EXPECT_EQ("Anna\tBonn\t10:00", d.RowText(0)) << "refused records change nothing";

    BRADDROW add32 = {12, "Carl", 9};
    EXPECT_EQ(BRERR_RECORD, d.Send(BRM_ADDROW, BRPOS_END, (LPARAM)&add32));
    EXPECT_EQ(2, d.Send(BRM_GETCOUNT));
    BRADDROW add{sizeof add, "Carl", (LPARAM)0x123456789ALL};
    EXPECT_EQ(2, d.Send(BRM_ADDROW, BRPOS_END, (LPARAM)&add));
    EXPECT_EQ((LRESULT)0x123456789ALL, d.Send(LB_GETITEMDATA, 2)) << "item data is pointer-sized";
}

TEST_F(ProtocolTest, ColumnDescriptorKeepsWhatTheProgramDoesNotOwn)
{
    TestDialog d("Protokoll", 400, 300, false);
    d.Send(BRM_SETTITLES, 0, (LPARAM) "\x02" "1118\x02\tBetreff");
    BRCOLUMN before = d.Column(1);
    EXPECT_EQ(1, before.index);
    EXPECT_STREQ("Betreff", before.title);
    EXPECT_EQ((uint32_t)BRCF_TEXTSORT, before.flags) << "new columns sort by text";

    BRCOLUMN changed = before;
    changed.autoToggle = 1;
    changed.flags = (changed.flags | 0x428) & ~BRCF_TEXTSORT;
    changed.editLimit = 20;
    changed.cellKind = BRCK_CHECK;
    ASSERT_EQ(0, d.Send(BRM_SETCOLUMN, 1, (LPARAM)&changed));
    BRCOLUMN after = d.Column(1);
    EXPECT_EQ(0, memcmp(&changed, &after, sizeof after)) << "every byte read back as written";
    const unsigned char* b = (const unsigned char*)&before;
    const unsigned char* a = (const unsigned char*)&after;
    for (size_t i = 0; i < sizeof before; i++) {
        bool owned = (i >= 264 && i < 272) || (i >= 276 && i < 280) || (i >= 292 && i < 296);
        if (!owned) {
            EXPECT_EQ(b[i], a[i]) << "byte " << i << " changed";
        }
    }

    struct Refused {
        const char* what;
        int cb;
        int index;
        WPARAM column;
        LRESULT expected;
    } refused[] = {
        {"size 300", 300, 1, 1, BRERR_RECORD},
        {"index and wparam differ", 304, 0, 1, BRERR_COLUMN},
        {"no such column", 304, 5, 5, BRERR_COLUMN},
    };
    for (const Refused& r : refused) {
        BRCOLUMN x = after;
        x.cb = r.cb;
        x.index = r.index;
        x.editLimit = 99;
        EXPECT_EQ(r.expected, d.Send(BRM_SETCOLUMN, r.column, (LPARAM)&x)) << r.what;
        EXPECT_EQ(20, d.Column(1).editLimit) << r.what;
    }
    BRCOLUMN shortRead;
    memset(&shortRead, 0x5A, sizeof shortRead);
    shortRead.cb = 300;
    EXPECT_EQ(BRERR_RECORD, d.Send(BRM_GETCOLUMN, 0, (LPARAM)&shortRead));
    EXPECT_EQ(0x5A5A5A5A, shortRead.index) << "a refused read writes nothing";
}

TEST_F(ProtocolTest, IconsBuiltInAndTheOwnersCopies)
{
    TestDialog d("Protokoll", 400, 300, false);
    for (int number : {0, 56, 102, 112, BRICON_REMINDER, BRICON_SERIESHEADER, BRICON_TODO, BRICON_PRIORITYHEADER,
                       BRICON_SINGLE, BRICON_DONEHEADER, BRICON_PRIVATEHEADER, BRICON_SERIES, BRICON_REMINDERHEADER})
        EXPECT_NE(0, d.Send(BRM_GETICON, number)) << "built-in icon " << number;
    for (int number : {113, 1116, 4000, -1})
        EXPECT_EQ(0, d.Send(BRM_GETICON, number)) << "no icon " << number;

    HICON own = CopyIcon(LoadIconA(nullptr, (LPCSTR)IDI_INFORMATION));
    EXPECT_EQ(0, d.Send(BRM_SETICON, 4000, (LPARAM)own));
    DestroyIcon(own); // the control keeps its own copy
    HICON kept = (HICON)d.Send(BRM_GETICON, 4000);
    ASSERT_NE(nullptr, kept);
    ICONINFO info{};
    EXPECT_TRUE(GetIconInfo(kept, &info)) << "the copy outlives the owner's icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_EQ(0, d.Send(BRM_SETICON, 4000, 0));
    EXPECT_EQ(0, d.Send(BRM_GETICON, 4000));
}

TEST_F(ProtocolTest, SingleSelectionFollowsTheCurrentRow)
{
    TestDialog d("Protokoll", 400, 300, false);
    d.Send(BRM_SETSTYLE, 0, 8);
    ThreeColumns(d);
    for (const char* r : {"a", "b", "c"})
        d.Send(LB_ADDSTRING, 0, (LPARAM)r);
    d.Send(BRM_SETCURROW, 2);
    EXPECT_EQ(1, d.Send(LB_GETSELCOUNT));
    EXPECT_EQ(1, d.Send(LB_GETSEL, 2));
    d.Send(LB_SETSEL, TRUE, 0);
    EXPECT_EQ(1, d.Send(LB_GETSELCOUNT));
    EXPECT_EQ(0, d.Send(BRM_GETCURROW));
    EXPECT_EQ(LB_ERR, d.Send(LB_SETSEL, TRUE, -1)) << "a single-selection list cannot select all";
}

namespace {

// The date in the first blank-separated token of "dd.mm.yyyy Ddd" as yyyymmdd.
int DateKey(const char* text)
{
    int day = 0, month = 0, year = 0;
    sscanf(text, "%d.%d.%d", &day, &month, &year);
    return year * 10000 + month * 100 + day;
}

std::string ReadCell(HWND list, int row, int column)
{
    BRCELL cell{sizeof cell, column, row, nullptr, 0};
    LRESULT len = SendMessageA(list, BRM_GETCELLLEN, 0, (LPARAM)&cell);
    if (len < 0)
        return "<unreadable>";
    std::string text(len + 1, '\0');
    cell.text = &text[0];
    cell.size = (int32_t)len + 1;
    SendMessageA(list, BRM_GETCELLTEXT, 0, (LPARAM)&cell);
    text.resize(len);
    return text;
}

} // namespace

// The owner compares dates as the appointment list does: date, then the user and start time of the
// two rows the record names, read from the control while it sorts.
LRESULT CompareAsAppointmentList(HWND list, int code, LPARAM param)
{
    if (code != BRE_COMPARE)
        return 0;
    const BRCOMPARE* c = (const BRCOMPARE*)param;
    int a = DateKey(c->textA), b = DateKey(c->textB);
    if (a != b)
        return a < b ? -1 : 1;
    int user = strcmp(ReadCell(list, c->rowA, 14).c_str(), ReadCell(list, c->rowB, 14).c_str());
    if (user != 0)
        return user;
    return strcmp(ReadCell(list, c->rowA, 8).c_str(), ReadCell(list, c->rowB, 8).c_str());
}

TEST_F(ProtocolTest, OwnerSortKeepsRowsReadableAndAddsInPlace)
{
    TestDialog d("Protokoll", 900, 500, false);
    d.Attach();
    g_reply = CompareAsAppointmentList;
    std::string titles = "a\tb\tc\td\te\tBeginn\tg\th\tStartzeit\tj\tk\tl\tm\tn\tBenutzer";
    d.Send(BRM_SETTITLES, 0, (LPARAM)titles.c_str());
    d.ChangeColumn(5, [](BRCOLUMN& c) { c.flags |= BRCF_OWNERSORT; });
    const int n = 200;
    for (int i = 0; i < n; i++) {
        int day = 1 + (i * 7) % 28, month = 1 + (i * 5) % 12;
        char row[200];
        sprintf(row, "\t\t\tTermin %d\t\t%02d.%02d.2026 Mo\t\t\t%02d:%02d\t\t\t\t\t\t%s", i, day, month, 8 + i % 10,
                (i * 13) % 60, (i % 3) ? "meier" : "abel");
        d.AddRow(row, i);
    }
    ResetEvents();
    g_reply = CompareAsAppointmentList;
    std::vector<std::string> unreadable;
    g_reply = [&](HWND list, int code, LPARAM param) {
        const BRCOMPARE* c = (const BRCOMPARE*)param;
        if (ReadCell(list, c->rowA, 14).find('<') != std::string::npos)
            unreadable.push_back("row " + std::to_string(c->rowA));
        EXPECT_EQ(BRERR_BUSY, SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "x")) << "rows do not change while sorting";
        return CompareAsAppointmentList(list, code, param);
    };
    EXPECT_EQ(0, d.Send(BRM_SETSORTORDER, 6));
    size_t compares = Events().size();
    EXPECT_LE(compares, (size_t)(1.5 * n * log2((double)n))) << "comparisons";
    EXPECT_TRUE(unreadable.empty());
    EXPECT_EQ(n, d.Send(BRM_GETCOUNT));
    for (int i = 1; i < n; i++) {
        int a = DateKey(d.Cell(i - 1, 5).c_str()), b = DateKey(d.Cell(i, 5).c_str());
        ASSERT_LE(a, b) << "rows " << i - 1 << " and " << i;
        if (a == b) {
            std::string ua = d.Cell(i - 1, 14), ub = d.Cell(i, 14);
            ASSERT_LE(ua, ub) << "equal dates go by user, rows " << i;
            if (ua == ub) {
                ASSERT_LE(d.Cell(i - 1, 8), d.Cell(i, 8)) << "then by start time, rows " << i;
            }
        }
    }
    g_reply = CompareAsAppointmentList;
    int at = d.AddRow("\t\t\tNeu\t\t15.06.2026 Mo\t\t\t09:00\t\t\t\t\t\tabel", 999);
    ASSERT_GE(at, 0);
    EXPECT_EQ(999, d.Send(LB_GETITEMDATA, at)) << "the index answered is the row's";
    EXPECT_LE(DateKey(d.Cell(at - 1, 5).c_str()), 20260615);
    EXPECT_GE(DateKey(d.Cell(at + 1, 5).c_str()), 20260615);

    EXPECT_EQ(6, d.Send(BRM_SETSORTORDER, (WPARAM)-6));
    for (int i = 1; i < n + 1; i++)
        ASSERT_GE(DateKey(d.Cell(i - 1, 5).c_str()), DateKey(d.Cell(i, 5).c_str())) << "descending, row " << i;
    for (int code : Codes())
        EXPECT_TRUE(code == BRE_COMPARE || code == BRE_ROWHEIGHT) << "event " << code << " for an owner's message";
}

TEST_F(ProtocolTest, TextSortIgnoresCaseAndKeepsTheCurrentRow)
{
    TestDialog d("Protokoll", 400, 300, false);
    ThreeColumns(d);
    for (const char* r : {"berta", "Anton", "cäsar", "Dora", "anton"})
        d.Send(LB_ADDSTRING, 0, (LPARAM)r);
    d.Send(BRM_SETCURROW, 3); // Dora
    d.Send(BRM_SETSORTORDER, 1);
    std::vector<std::string> rows;
    for (int i = 0; i < 5; i++)
        rows.push_back(d.RowText(i));
    EXPECT_EQ((std::vector<std::string>{"Anton", "anton", "berta", "cäsar", "Dora"}), rows) << "stable, without case";
    EXPECT_EQ("Dora", d.RowText((int)d.Send(BRM_GETCURROW)));
    EXPECT_EQ(3, d.Send(LB_ADDSTRING, 0, (LPARAM) "Bruno")) << "in place, after berta";
}

namespace {

struct LayoutKey {
    std::string path;
    explicit LayoutKey(const char* leaf) : path(std::string("Software\\velmar\\OXTest\\vlBR11\\") + leaf)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
    }
    ~LayoutKey() { RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str()); }
    BRLAYOUT Record(const char* value) const
    {
        return BRLAYOUT{sizeof(BRLAYOUT), path.c_str(), value, 0, 0, HKEY_CURRENT_USER};
    }
    std::string Read(const char* value) const
    {
        char data[1024];
        DWORD size = sizeof data, type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), value, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
            return "<none>";
        return type == REG_BINARY ? std::string(data, size) : "<not binary>";
    }
    void Write(const char* value, const std::string& bytes) const
    {
        RegSetKeyValueA(HKEY_CURRENT_USER, path.c_str(), value, REG_BINARY, bytes.data(), (DWORD)bytes.size());
    }
};

void FourColumns(TestDialog& d)
{
    d.Send(BRM_SETTITLES, 0, (LPARAM) "A\tB\tC\tD");
    int32_t widths[4] = {10, 20, 30, 40};
    d.Send(BRM_SETCOLWIDTHS, 4, (LPARAM)widths);
}

} // namespace

TEST_F(ProtocolTest, LayoutSavedAndLoadedThroughTheRegistry)
{
    LayoutKey key("Layout");
    BRLAYOUT place = key.Record("ViewAppList");
    {
        TestDialog d("Protokoll", 400, 300, false);
        FourColumns(d);
        d.ChangeColumn(2, [](BRCOLUMN& c) { c.width = 123; c.flags |= BRCF_OWNERSORT; });
        EXPECT_EQ(0, d.Send(BRM_SAVELAYOUT, 0x1007, (LPARAM)&place));
    }
    std::string stored = key.Read("ViewAppList");
    ASSERT_EQ(16u + 4 * 12, stored.size()) << "one REG_BINARY value";
    std::string cmd = "cmd.exe /c reg.exe query \"HKCU\\" + key.path + "\" /v ViewAppList > \"" +
                      oxtest::ProgramDir() + "\\vlbr11_reg.txt\"";
    oxtest::RunProcess(cmd);
    std::string query = oxtest::ReadFileText(oxtest::ProgramDir() + "\\vlbr11_reg.txt");
    EXPECT_NE(std::string::npos, query.find("REG_BINARY")) << query;
    DeleteFileA((oxtest::ProgramDir() + "\\vlbr11_reg.txt").c_str());

    TestDialog fresh("Protokoll", 400, 300, false);
    FourColumns(fresh);
    EXPECT_EQ(0, fresh.Send(BRM_LOADLAYOUT, 0x1007, (LPARAM)&place));
    EXPECT_EQ(123, fresh.Column(2).width);
    EXPECT_TRUE(fresh.Column(2).flags & BRCF_OWNERSORT);

    BRLAYOUTTEXT shortForm{sizeof shortForm, key.path.c_str(), "ViewAppList"};
    TestDialog other("Protokoll", 400, 300, false);
    FourColumns(other);
    EXPECT_EQ(0, other.Send(BRM_LOADLAYOUT, BRL_WIDTHS, (LPARAM)&shortForm)) << "the two-text form";
    EXPECT_EQ(123, other.Column(2).width);
    EXPECT_FALSE(other.Column(2).flags & BRCF_OWNERSORT) << "flags not asked for";
}

TEST_F(ProtocolTest, DamagedLayoutsAreRefusedAndChangeNothing)
{
    LayoutKey key("Damaged");
    BRLAYOUT place = key.Record("Good");
    {
        TestDialog d("Protokoll", 400, 300, false);
        FourColumns(d);
        d.ChangeColumn(0, [](BRCOLUMN& c) { c.width = 77; });
        ASSERT_EQ(0, d.Send(BRM_SAVELAYOUT, 7, (LPARAM)&place));
    }
    std::string good = key.Read("Good");
    std::string foreign = good;
    foreign[6] = 5; // five columns
    key.Write("Short", good.substr(0, good.size() - 4));
    key.Write("Version", std::string(good).replace(4, 1, "\x09"));
    key.Write("Foreign", foreign);
    RegSetKeyValueA(HKEY_CURRENT_USER, key.path.c_str(), "Text", REG_SZ, "BRLY", 5);

    TestDialog d("Protokoll", 400, 300, false);
    FourColumns(d);
    int widthBefore = d.Column(0).width;
    struct Case {
        const char* value;
        LRESULT expected;
    } cases[] = {{"Short", BRERR_LAYOUT}, {"Version", BRERR_LAYOUT}, {"Foreign", BRERR_LAYOUT},
                 {"Text", BRERR_LAYOUT},  {"Missing", BRERR_REGISTRY}};
    for (const Case& c : cases) {
        BRLAYOUT p = key.Record(c.value);
        EXPECT_EQ(c.expected, d.Send(BRM_LOADLAYOUT, 0x1007, (LPARAM)&p)) << c.value;
        EXPECT_EQ(widthBefore, d.Column(0).width) << c.value;
    }
    BRLAYOUT missingKey{sizeof(BRLAYOUT), "Software\\velmar\\OXTest\\vlBR11\\Nowhere", "Good", 0, 0, HKEY_CURRENT_USER};
    EXPECT_EQ(BRERR_REGISTRY, d.Send(BRM_LOADLAYOUT, 7, (LPARAM)&missingKey));
    struct {
        int32_t cb;
        const char* a;
        const char* b;
    } old32{24 - 12, "x", "y"}; // the 32-bit record size
    EXPECT_EQ(BRERR_RECORD, d.Send(BRM_SAVELAYOUT, 7, (LPARAM)&old32));
    EXPECT_EQ(BRERR_RECORD, d.Send(BRM_LOADLAYOUT, 7, 0));
    EXPECT_EQ(widthBefore, d.Column(0).width);
    BRLAYOUT goodPlace = key.Record("Good");
    EXPECT_EQ(0, d.Send(BRM_LOADLAYOUT, 7, (LPARAM)&goodPlace));
    EXPECT_EQ(77, d.Column(0).width);
}
