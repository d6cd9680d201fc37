// The browse wrapper on a recording window: the message, wParam and record size of each
// operation, the answers without a control, and the event dispatch with its answers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CBrowserListWrapper.h"
#include "CBrowserConfigList.h"
#include "CBrowserReminderList.h"
#include "CBrowserTodoList.h"
#include "CBrowserViewList.h"

namespace {

struct Sent {
    UINT msg;
    WPARAM wp;
    int cb; // size field of a record passed in lParam, -1 without record
    LPARAM lp = 0;
};
std::vector<Sent> g_sent;
LRESULT g_cellLength = 5;
int g_hitRow = -1;
std::vector<Sent> g_commands; // WM_COMMAND reaching an owner (msg: the owner window)
BRWEVENTPROC g_callback = nullptr;

bool CarriesRecord(UINT msg)
{
    switch (msg) {
    case BRM_SAVELAYOUT: case BRM_LOADLAYOUT: case BRM_GETCOLUMN: case BRM_SETCOLUMN:
    case BRM_GETCELLLEN: case BRM_GETCELLTEXT: case BRM_SETCELLTEXT: case BRM_ADDROW:
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK RecorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if ((msg >= 0xB00 && msg < 0xC00) || (msg >= LB_ADDSTRING && msg <= LB_MSGMAX) || msg == WM_SETREDRAW) {
        g_sent.push_back({msg, wp, CarriesRecord(msg) && lp ? *(const int32_t*)lp : -1, lp});
        if (msg == BRM_SETCALLBACK)
            g_callback = (BRWEVENTPROC)lp;
        if (msg == BRM_GETCELLLEN)
            return g_cellLength;
        if (msg == BRM_GETHITROW)
            return BRHIT_MAKE(g_hitRow, 2);
        if (msg == BRM_GETCELLTEXT) {
            BRCELL* cell = (BRCELL*)lp;
            lstrcpynA(cell->text, "Hallo", cell->size);
        }
        return 0;
    }
    if (msg == WM_COMMAND) {
        g_commands.push_back({(UINT)(UINT_PTR)hwnd, wp, 0});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

void RegisterRecorder(const char* name)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecorderProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

HWND MakeWindow(const char* cls, HWND parent, int id = 0)
{
    RegisterRecorder(cls);
    DWORD style = parent ? WS_CHILD : WS_OVERLAPPED;
    return CreateWindowExA(0, cls, "", style, 0, 0, 100, 100, parent, (HMENU)(INT_PTR)id, GetModuleHandleA(NULL), NULL);
}

struct Operation {
    const char* name;
    std::function<LRESULT(CBrowserListWrapper&)> call;
    UINT msg;
    WPARAM wp;
    int cb;
};

std::vector<Operation> Operations()
{
    static BRCOLUMN column;
    column.index = 3;
    return {
        {"SetColor", [](CBrowserListWrapper& w) { return w.SetColor(80, RGB(1, 2, 3)); }, BRM_SETATTRIBUTE, 80, -1},
        {"SetOption", [](CBrowserListWrapper& w) { return (LRESULT)w.SetOption(7, 5); }, BRM_SETATTRIBUTE, 7, -1},
        {"SaveLayout", [](CBrowserListWrapper& w) { return w.SaveLayout(0x1007, HKEY_CURRENT_USER, "K", "V"); }, BRM_SAVELAYOUT, 0x1007, (int)sizeof(BRLAYOUT)},
        {"LoadLayout", [](CBrowserListWrapper& w) { return w.LoadLayout(0x1007, HKEY_CURRENT_USER, "K", "V"); }, BRM_LOADLAYOUT, 0x1007, (int)sizeof(BRLAYOUT)},
        {"SaveLayoutOld", [](CBrowserListWrapper& w) { return w.SaveLayoutOld(7, "K", "V"); }, BRM_SAVELAYOUT, 7, (int)sizeof(BRLAYOUTTEXT)},
        {"GetColumn", [](CBrowserListWrapper& w) { column.cb = 0; return w.GetColumn(3, &column); }, BRM_GETCOLUMN, 3, 304},
        {"SetColumn", [](CBrowserListWrapper& w) { column.index = 3; return w.SetColumn(&column); }, BRM_SETCOLUMN, 3, 304},
        {"RefreshRow", [](CBrowserListWrapper& w) { return w.RefreshRow(0x12345); }, BRM_REFRESHROW, 0x2345, -1},
        {"RedrawRow", [](CBrowserListWrapper& w) { return w.RedrawRow(BRROW_ALL); }, BRM_REDRAWROW, 0xFFFF, -1},
        {"GetHitRow", [](CBrowserListWrapper& w) { return (LRESULT)w.GetHitRow(); }, BRM_GETHITROW, 0, -1},
        {"SetColumnTitles", [](CBrowserListWrapper& w) { return w.SetColumnTitles("a\tb"); }, BRM_SETTITLES, 0, -1},
        {"SetStyle", [](CBrowserListWrapper& w) { return w.SetStyle(9); }, BRM_SETSTYLE, 0, -1},
        {"SetRowText", [](CBrowserListWrapper& w) { return w.SetRowText(4, "x"); }, BRM_SETROWTEXT, 4, -1},
        {"ResetContent", [](CBrowserListWrapper& w) { return w.ResetContent(); }, BRM_RESETCONTENT, 0, -1},
        {"SetCurrentRow", [](CBrowserListWrapper& w) { return w.SetCurrentRow(2); }, BRM_SETCURROW, 2, -1},
        {"SetSortOrder", [](CBrowserListWrapper& w) { return w.SetSortOrder(-3); }, BRM_SETSORTORDER, (WPARAM)-3, -1},
        {"GetTextLen", [](CBrowserListWrapper& w) { return (LRESULT)w.GetTextLen(6); }, BRM_GETTEXTLEN, 6, -1},
        {"GetCurrentRow", [](CBrowserListWrapper& w) { return (LRESULT)w.GetCurrentRow(); }, BRM_GETCURROW, 0, -1},
        {"GetCount", [](CBrowserListWrapper& w) { return (LRESULT)w.GetCount(); }, BRM_GETCOUNT, 0, -1},
        {"GetSortOrder", [](CBrowserListWrapper& w) { return (LRESULT)w.GetSortOrder(); }, BRM_GETSORTORDER, 0, -1},
        {"BeginEdit", [](CBrowserListWrapper& w) { return w.BeginEdit(1); }, BRM_BEGINEDIT, 1, -1},
        {"SetIcon", [](CBrowserListWrapper& w) { return w.SetIcon(4000, NULL); }, BRM_SETICON, 4000, -1},
        {"GetCellTextLength", [](CBrowserListWrapper& w) { int n = 0; return w.GetCellTextLength(1, 2, n); }, BRM_GETCELLLEN, 0, (int)sizeof(BRCELL)},
        {"SetCellText", [](CBrowserListWrapper& w) { return w.SetCellText(1, 2, "T"); }, BRM_SETCELLTEXT, 0, (int)sizeof(BRCELL)},
        {"GetColumnCount", [](CBrowserListWrapper& w) { return (LRESULT)w.GetColumnCount(); }, BRM_GETCOLCOUNT, 0, -1},
        {"AddRow", [](CBrowserListWrapper& w) { return (LRESULT)w.AddRow("a\tb", 7); }, BRM_ADDROW, BRPOS_END, (int)sizeof(BRADDROW)},
        {"AddString", [](CBrowserListWrapper& w) { return (LRESULT)w.AddString("a"); }, LB_ADDSTRING, 0, -1},
        {"DeleteString", [](CBrowserListWrapper& w) { return w.DeleteString(3); }, LB_DELETESTRING, 3, -1},
        {"GetSel", [](CBrowserListWrapper& w) { return (LRESULT)w.GetSel(3); }, LB_GETSEL, 3, -1},
        {"GetCurSel", [](CBrowserListWrapper& w) { return (LRESULT)w.GetCurSel(); }, LB_GETCURSEL, 0, -1},
        {"SetSel", [](CBrowserListWrapper& w) { return w.SetSel(3, TRUE); }, LB_SETSEL, TRUE, -1},
        {"GetSelCount", [](CBrowserListWrapper& w) { return (LRESULT)w.GetSelCount(); }, LB_GETSELCOUNT, 0, -1},
        {"GetItemData", [](CBrowserListWrapper& w) { return w.GetItemData(5); }, LB_GETITEMDATA, 5, -1},
        {"SetItemData", [](CBrowserListWrapper& w) { return w.SetItemData(5, 9); }, LB_SETITEMDATA, 5, -1},
        {"SetRedraw", [](CBrowserListWrapper& w) { return w.SetRedraw(FALSE); }, WM_SETREDRAW, 0, -1},
    };
}

TEST(CBrowserListWrapper, EachOperationSendsItsMessageAndRecord)
{
    HWND control = MakeWindow("BrwRecorder", NULL);
    CBrowserListWrapper wrapper(control, FALSE, NULL);
    for (const Operation& op : Operations()) {
        g_sent.clear();
        op.call(wrapper);
        ASSERT_EQ(1u, g_sent.size()) << op.name;
        EXPECT_EQ(op.msg, g_sent[0].msg) << op.name;
        EXPECT_EQ(op.wp, g_sent[0].wp) << op.name;
        EXPECT_EQ(op.cb, g_sent[0].cb) << op.name;
    }
    // Widths go as a count and an array; the wrapper answers TRUE for the control's 0.
    g_sent.clear();
    const int widths[] = {7, 92};
    EXPECT_TRUE(wrapper.SetColumnWidths(2, widths));
    EXPECT_FALSE(wrapper.SetColumnWidths(0, widths));
    EXPECT_FALSE(wrapper.SetColumnWidths(2, NULL));
    ASSERT_EQ(1u, g_sent.size()) << "refused widths send nothing";
    EXPECT_EQ((UINT)BRM_SETCOLWIDTHS, g_sent[0].msg);
    EXPECT_EQ(2u, g_sent[0].wp);
    EXPECT_EQ(-1, wrapper.GetHitRow()) << "the row is the signed high word";
    DestroyWindow(control);
}

TEST(CBrowserListWrapper, WithoutControlEveryOperationAnswersMinus15)
{
    CBrowserListWrapper wrapper(NULL, TRUE, NULL);
    g_sent.clear();
    for (const Operation& op : Operations()) {
        if (std::string(op.name) == "GetHitRow")
            continue; // the row of -15 is its high word
        EXPECT_EQ(BRW_NO_CONTROL, op.call(wrapper)) << op.name;
    }
    CString text("alt");
    EXPECT_EQ(BRW_NO_CONTROL, wrapper.GetTextCopy(0, text));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(BRW_NO_CONTROL, wrapper.GetCellText(0, 0, text));
    EXPECT_EQ(NULL, wrapper.GetIcon(3));
    EXPECT_TRUE(g_sent.empty());
}

TEST(CBrowserListWrapper, CellReadsSizeTheirBufferAndRefuseNegativeCells)
{
    HWND control = MakeWindow("BrwRecorder", NULL);
    CBrowserListWrapper wrapper(control, FALSE, NULL);
    struct Case {
        int row, column;
        LRESULT length;
        LRESULT result;
        const char* text;
        size_t messages;
    } cases[] = {
        {-1, 0, 5, BRW_BAD_CELL, "unverändert", 0},
        {0, -1, 5, BRW_BAD_CELL, "unverändert", 0},
        {2, 1, -3, -3, "unverändert", 1}, // a failed length query sends no read
        {2, 1, 5, 0, "Hallo", 2},
        {2, 1, 2, 0, "Ha", 2}, // the buffer is the announced length + 1, never more
    };
    for (const Case& c : cases) {
        g_sent.clear();
        g_cellLength = c.length;
        CString text("unverändert");
        EXPECT_EQ(c.result, wrapper.GetCellText(c.row, c.column, text)) << c.row << "," << c.column;
        EXPECT_STREQ(c.text, (LPCSTR)text);
        EXPECT_EQ(c.messages, g_sent.size());
    }
    g_cellLength = 5;
    int length = 0;
    EXPECT_EQ(BRW_BAD_CELL, wrapper.GetCellTextLength(-1, 0, length));
    EXPECT_EQ(BRW_BAD_CELL, wrapper.SetCellText(0, -2, "x"));
    DestroyWindow(control);
}

// Records which handler an event reached and answers what the test says.
class CRecordingWrapper : public CBrowserListWrapper {
public:
    using CBrowserListWrapper::CBrowserListWrapper;
    std::vector<std::string> calls;
    BOOL keyDown = -1;
    void OnSelChange(LPARAM lParam) override { calls.push_back("SelChange"); CBrowserListWrapper::OnSelChange(lParam); }
    LRESULT OnKey(BOOL bKeyDown, LPARAM) override { calls.push_back("Key"); keyDown = bKeyDown; return 77; }
    LRESULT OnKeyEvent8(BOOL bKeyDown, LPARAM) override { calls.push_back("Key8"); keyDown = bKeyDown; return 0; }
    void OnMouseClick(LPARAM) override { calls.push_back("MouseClick"); }
};

TEST(CBrowserListWrapper, EventsReachTheirHandlersWithTheBaseAnswers)
{
    HWND owner = MakeWindow("BrwOwner", NULL);
    HWND control = MakeWindow("BrwRecorder", owner, 1071);
    g_sent.clear();
    g_callback = nullptr;
    CRecordingWrapper wrapper(control, TRUE, NULL);
    ASSERT_EQ(1u, g_sent.size());
    EXPECT_EQ((UINT)BRM_SETCALLBACK, g_sent[0].msg);
    EXPECT_EQ(owner, wrapper.GetOwner());
    BRWEVENTPROC callback = g_callback; // what the control got
    ASSERT_NE(nullptr, callback);

    struct Case {
        int event;
        LPARAM param;
        LRESULT answer;
        const char* handler; // nullptr: none of the recorded ones
    } cases[] = {
        {0x10005, 0, 1, "SelChange"}, // the high word of the code does not count
        {13, 0, -1, nullptr},
        {20, 0, 1, nullptr},
        {46, 0, 0, nullptr},
        {3, 0, 1, nullptr},
        {24, 0, 1, nullptr},
        {17, 0, 1, "MouseClick"},
        {55, BRKEY_MAKE(WM_KEYUP, VK_RETURN), 77, "Key"},
        {8, BRKEY_MAKE(WM_KEYUP, 'A'), 0, "Key8"},
        {32, 0, 0, nullptr},
        {62, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        wrapper.calls.clear();
        g_commands.clear();
        EXPECT_EQ(c.answer, callback(control, c.event, c.param)) << "event " << c.event;
        if (c.handler) {
            ASSERT_EQ(1u, wrapper.calls.size()) << "event " << c.event;
            EXPECT_EQ(c.handler, wrapper.calls[0]);
        } else {
            EXPECT_TRUE(wrapper.calls.empty()) << "event " << c.event;
        }
    }
    EXPECT_EQ(FALSE, wrapper.keyDown) << "high word 257 is a key release";
    callback(control, 55, BRKEY_MAKE(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(TRUE, wrapper.keyDown);

    // Selection change: WM_COMMAND (id, 1) to the owner.
    g_commands.clear();
    callback(control, 5, 0);
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ((UINT)(UINT_PTR)owner, g_commands[0].msg);
    EXPECT_EQ(MAKEWPARAM(1071, 1), g_commands[0].wp);

    // Double click with no row under the mouse sends nothing.
    g_commands.clear();
    EXPECT_EQ(1, callback(control, 1, 0));
    EXPECT_TRUE(g_commands.empty());
    // With a row under the mouse: WM_COMMAND (id, 2).
    g_hitRow = 3;
    EXPECT_EQ(1, callback(control, 1, 0));
    g_hitRow = -1;
    ASSERT_EQ(1u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(1071, 2), g_commands[0].wp);

    EXPECT_FALSE(wrapper.HadEvent16());
    callback(control, 16, 0);
    EXPECT_TRUE(wrapper.HadEvent16());

    // After Detach a late event is ignored.
    wrapper.Detach();
    EXPECT_EQ(NULL, GetPropA(control, "BrowserContainer"));
    wrapper.calls.clear();
    EXPECT_EQ(0, callback(control, 5, 0));
    EXPECT_TRUE(wrapper.calls.empty());
    DestroyWindow(owner);
}

TEST(CBrowserListWrapper, AListOnACardNotifiesTheCardsParent)
{
    struct Case {
        const char* parentClass;
        bool grandparent;
    } cases[] = {{"VlmrCardX", true}, {"vlmrcard", true}, {"VlmrCar", false}, {"BrwPanel", false}};
    for (const Case& c : cases) {
        HWND top = MakeWindow("BrwOwner", NULL);
        HWND parent = MakeWindow(c.parentClass, top);
        HWND control = MakeWindow("BrwRecorder", parent, 1071);
        CBrowserListWrapper wrapper(control, FALSE, NULL);
        EXPECT_EQ(c.grandparent ? top : parent, wrapper.GetOwner()) << c.parentClass;
        HWND given = MakeWindow("BrwOwner", NULL);
        CBrowserListWrapper explicitOwner(control, FALSE, given);
        EXPECT_EQ(given, explicitOwner.GetOwner());
        DestroyWindow(given);
        DestroyWindow(top);
    }
}

// The list views' variants turn events into messages for their owner.
std::vector<std::pair<UINT, LPARAM>> g_ownerMessages;
LRESULT g_ownerAnswer = 0;
LRESULT CALLBACK ListOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m >= 0x900 && m < 0x940) {
        g_ownerMessages.push_back({m, l});
        return g_ownerAnswer;
    }
    return DefWindowProcA(h, m, w, l);
}

TEST(CBrowserViewList, EventsBecomeMessagesToTheOwner)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ListOwnerProc;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.lpszClassName = "BrwListOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "BrwListOwner", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    HWND control = MakeWindow("BrwRecorder", owner, 1071);
    CBrowserViewList view(control, FALSE, NULL);
    CBrowserTodoList todo(control, FALSE, NULL);
    CBrowserReminderList reminder(control, FALSE, NULL);
    BRCHECK check = {sizeof(BRCHECK), 2, 0, 0};
    struct Case {
        const char* name;
        CBrowserListWrapper* list;
        int event;
        LPARAM param;
        LRESULT ownerAnswer;
        UINT message; // 0: none
        LPARAM messageParam;
        LRESULT answer; // what the control gets
    } cases[] = {
        {"selection", &view, 5, 4, 9, WM_BROWSE_SELCHANGE, 4, 1},
        {"compare", &view, 27, 1234, -1, WM_BROWSE_COMPARE, 1234, -1},
        {"sort changed", &view, 28, 0, 9, WM_BROWSE_SORTCHANGED, 0, 1},
        {"row height", &view, 36, 17, 22, WM_BROWSE_ROWHEIGHT, 17, 22},
        {"key down", &view, 55, BRKEY_MAKE(WM_KEYDOWN, VK_RETURN), 5, WM_BROWSE_KEY, 256 * 65536 + 13, 5},
        {"key up", &view, 55, BRKEY_MAKE(WM_KEYUP, VK_DELETE), 0, WM_BROWSE_KEY, 257 * 65536 + VK_DELETE, 0},
        {"left click", &view, 17, 0, 0, 0, 0, 1},
        {"checking handled", &todo, 46, (LPARAM)&check, 7, WM_BROWSE_CHECKING, (LPARAM)&check, 1},
        {"checking left", &todo, 46, (LPARAM)&check, 0, WM_BROWSE_CHECKING, (LPARAM)&check, 0},
        {"checked", &todo, 47, (LPARAM)&check, 7, WM_BROWSE_CHECKED, (LPARAM)&check, 1},
        {"current row", &reminder, 21, 3, 7, WM_BROWSE_REMINDERCUR, 0, 1},
        {"view current row", &view, 21, 3, 7, 0, 0, 1},
        {"view checking", &view, 46, (LPARAM)&check, 7, 0, 0, 0},
    };
    BRMOUSE left = {sizeof(BRMOUSE), BRBUTTON_LEFT, 5, 5, 0, 0};
    cases[6].param = (LPARAM)&left;
    for (const Case& c : cases) {
        g_ownerMessages.clear();
        g_ownerAnswer = c.ownerAnswer;
        EXPECT_EQ(c.answer, c.list->DispatchEvent(c.event, c.param)) << c.name;
        if (c.message == 0) {
            EXPECT_TRUE(g_ownerMessages.empty()) << c.name;
            continue;
        }
        ASSERT_EQ(1u, g_ownerMessages.size()) << c.name;
        EXPECT_EQ(c.message, g_ownerMessages[0].first) << c.name;
        EXPECT_EQ(c.messageParam, g_ownerMessages[0].second) << c.name;
    }
    view.Detach();
    todo.Detach();
    reminder.Detach();
    DestroyWindow(owner);
}

TEST(CBrowserConfigList, SystemColoursInTheirOrderAndNoColumnMenu)
{
    HWND control = MakeWindow("BrwRecorder", NULL);
    CBrowserConfigList list(control, TRUE, NULL);
    g_sent.clear();
    list.ApplySystemColors();
    const std::pair<WPARAM, LPARAM> expected[] = {
        {7, 0},
        {8, (LPARAM)GetSysColor(COLOR_ACTIVECAPTION)}, {13, (LPARAM)GetSysColor(COLOR_CAPTIONTEXT)},
        {9, (LPARAM)GetSysColor(COLOR_BTNFACE)}, {11, (LPARAM)GetSysColor(COLOR_BTNFACE)},
        {14, (LPARAM)GetSysColor(COLOR_BTNTEXT)}, {16, (LPARAM)GetSysColor(COLOR_BTNTEXT)},
        {10, (LPARAM)GetSysColor(COLOR_HIGHLIGHT)}, {12, (LPARAM)GetSysColor(COLOR_HIGHLIGHT)},
        {15, (LPARAM)GetSysColor(COLOR_HIGHLIGHTTEXT)}, {17, (LPARAM)GetSysColor(COLOR_HIGHLIGHTTEXT)},
    };
    ASSERT_EQ(std::size(expected), g_sent.size());
    for (size_t i = 0; i < g_sent.size(); i++) {
        EXPECT_EQ((UINT)BRM_SETATTRIBUTE, g_sent[i].msg);
        EXPECT_EQ(expected[i].first, g_sent[i].wp) << i;
        EXPECT_EQ(expected[i].second, g_sent[i].lp) << i;
    }
    // The program has no column menu: the event is answered as handled and nothing opens.
    CWinApp app("mfx_browse_test");
    EXPECT_EQ(1, list.DispatchEvent(14, 2));
    DestroyWindow(control);
}

} // namespace
