// The dialog framework (sizable dialogs, the controls library's colour messages and
// "KdMfxMessages"), the filtered edit field and the combo boxes, in real dialogs on the shared
// desktop. Screenshots go to build/shots/mfx-dialogs.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <type_traits>
#include <vector>

#include "CAppSettings.h"
#include "CColorPickerCombo.h"
#include "CHistoryCombo.h"
#include "CItemDataComboBox.h"
#include "CMfxDialog.h"
#include "CMfxModelessDlg.h"
#include "CMfxSizableDialog.h"
#include "CParsedEdit.h"
#include "CUserColorCombo.h"
#include "CtlLog.h"
#include "MfxDialogsTestResource.h"
#include "MfxMessages.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

const char kShots[] = "mfx-dialogs";
const char kRegistryKey[] = "OX Test";
const char kAppKey[] = "Software\\OX Test\\mfx_dialogs_test";

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("mfx_dialogs_test")
    {
        AfxWinInit(::GetModuleHandleA(NULL), NULL, (LPTSTR) "", SW_SHOWNORMAL);
        SetRegistryKey(kRegistryKey);
    }
};

CTestApp& App()
{
    static CTestApp app;
    return app;
}

class MfxDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        ASSERT_GE(CtlJobOpen(), 1);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    }
    void TearDown() override
    {
        oxtest::PumpMessages();
        CtlJobClose();
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    }
};

void Shot(HWND hWnd, const char* name, const RECT* pExtra = NULL)
{
    ::RedrawWindow(hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    oxtest::PumpMessages();
    RECT r;
    ::GetWindowRect(hWnd, &r);
    if (pExtra != NULL)
        ::UnionRect(&r, &r, pExtra);
    HDC screen = ::GetDC(NULL);
    EXPECT_FALSE(oxtest::SaveShot(screen, r.left, r.top, r.right - r.left, r.bottom - r.top, kShots, name).empty()) << name;
    ::ReleaseDC(NULL, screen);
}

RECT ChildRect(HWND hDlg, int nID)
{
    RECT r = {};
    ::GetWindowRect(::GetDlgItem(hDlg, nID), &r);
    ::MapWindowPoints(NULL, hDlg, (LPPOINT)&r, 2);
    return r;
}

// ---- sizable dialog -------------------------------------------------------------------------

MfxResizeAnchor g_anchors[] = {
    {IDC_SIZ_LIST, 0, 0, 100, 100, {}},
    {IDC_SIZ_OK, 100, 100, 0, 0, {}},
    {IDC_SIZ_MISSING, 50, 50, 50, 50, {}},
    {IDC_SIZ_EDIT, 0, 0, 100, 0, {}},
    {IDC_SIZ_NOTE, 50, 100, 0, 0, {}},
};

class CTestSizableDialog : public CMfxSizableDialog {
public:
    CTestSizableDialog() : CMfxSizableDialog(IDD_MFX_SIZABLE, g_anchors, (int)(sizeof g_anchors / sizeof g_anchors[0])) {}
};

// Sizes the window so that its client area gets cx x cy.
void SetClientSize(HWND hWnd, int cx, int cy)
{
    RECT window, client;
    ::GetWindowRect(hWnd, &window);
    ::GetClientRect(hWnd, &client);
    const int width = (window.right - window.left) - client.right + cx;
    const int height = (window.bottom - window.top) - client.bottom + cy;
    ::SetWindowPos(hWnd, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    oxtest::PumpMessages();
}

SIZE ClientSize(HWND hWnd)
{
    RECT r;
    ::GetClientRect(hWnd, &r);
    return {r.right, r.bottom};
}

bool SameRect(const RECT& a, const RECT& b) { return ::EqualRect(&a, &b) != FALSE; }

TEST_F(MfxDialogs, SizableDialogMovesAndGrowsItsControlsByTheirPercentages)
{
    CTestSizableDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_SIZABLE));
    HWND h = dlg.m_hWnd;
    ::SetWindowPos(h, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    oxtest::PumpMessages();
    const SIZE s0 = ClientSize(h);
    const RECT& initial = dlg.GetInitialClientRect();
    EXPECT_EQ(s0.cx, initial.right);
    EXPECT_EQ(s0.cy, initial.bottom);
    const RECT list0 = ChildRect(h, IDC_SIZ_LIST), ok0 = ChildRect(h, IDC_SIZ_OK), edit0 = ChildRect(h, IDC_SIZ_EDIT),
               note0 = ChildRect(h, IDC_SIZ_NOTE);
    EXPECT_TRUE(SameRect(list0, g_anchors[0].rect)) << "the rectangles are recorded at initialisation";
    EXPECT_TRUE(::IsRectEmpty(&g_anchors[2].rect)) << "a row without a control keeps its rectangle";
    for (const char* entry : {"08:00  Frühbesprechung", "10:30  Kundentermin Müller", "14:00  Projektplanung"})
        ::SendDlgItemMessageA(h, IDC_SIZ_LIST, LB_ADDSTRING, 0, (LPARAM)entry);
    ::SetDlgItemTextA(h, IDC_SIZ_EDIT, "Wochenplanung");
    Shot(h, "sizable_template_size");

    // +101 px wide, +60 px high.
    SetClientSize(h, s0.cx + 101, s0.cy + 60);
    ASSERT_EQ(s0.cx + 101, ClientSize(h).cx);
    const RECT list1 = ChildRect(h, IDC_SIZ_LIST), ok1 = ChildRect(h, IDC_SIZ_OK), edit1 = ChildRect(h, IDC_SIZ_EDIT),
               note1 = ChildRect(h, IDC_SIZ_NOTE);
    EXPECT_EQ(list0.right - list0.left + 101, list1.right - list1.left) << "100/100 grows with the client";
    EXPECT_EQ(list0.bottom - list0.top + 60, list1.bottom - list1.top);
    EXPECT_EQ(list0.left, list1.left);
    EXPECT_EQ(ok0.left + 101, ok1.left) << "100/100 keeps to the lower right";
    EXPECT_EQ(ok0.top + 60, ok1.top);
    EXPECT_EQ(ok0.right - ok0.left, ok1.right - ok1.left);
    EXPECT_EQ(edit0.right - edit0.left + 101, edit1.right - edit1.left);
    EXPECT_EQ(edit0.bottom - edit0.top, edit1.bottom - edit1.top);
    EXPECT_EQ(note0.left + 50, note1.left) << "101 x 50 / 100 truncates to 50";
    EXPECT_EQ(note0.top + 60, note1.top);
    Shot(h, "sizable_grown");

    // An odd step and back: the recorded rectangles come back exactly.
    SetClientSize(h, s0.cx + 37, s0.cy + 13);
    SetClientSize(h, s0.cx, s0.cy);
    EXPECT_TRUE(SameRect(list0, ChildRect(h, IDC_SIZ_LIST)));
    EXPECT_TRUE(SameRect(ok0, ChildRect(h, IDC_SIZ_OK)));
    EXPECT_TRUE(SameRect(edit0, ChildRect(h, IDC_SIZ_EDIT)));
    EXPECT_TRUE(SameRect(note0, ChildRect(h, IDC_SIZ_NOTE)));
    dlg.DestroyWindow();
}

TEST_F(MfxDialogs, SizableDialogSnapsBackOnlyInTheDirectionThatIsTooSmall)
{
    CTestSizableDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_SIZABLE));
    HWND h = dlg.m_hWnd;
    ::ShowWindow(h, SW_SHOWNOACTIVATE);
    oxtest::PumpMessages();
    const SIZE s0 = ClientSize(h);
    struct Case {
        int cx, cy;     // asked for
        int wantCx, wantCy;
    };
    const Case cases[] = {
        {s0.cx - 40, s0.cy + 30, s0.cx, s0.cy + 30},
        {s0.cx + 30, s0.cy - 40, s0.cx + 30, s0.cy},
        {s0.cx - 20, s0.cy - 20, s0.cx, s0.cy},
    };
    for (const Case& c : cases) {
        SetClientSize(h, c.cx, c.cy);
        const SIZE now = ClientSize(h);
        EXPECT_EQ(c.wantCx, now.cx) << c.cx << " x " << c.cy;
        EXPECT_EQ(c.wantCy, now.cy) << c.cx << " x " << c.cy;
    }
    dlg.DestroyWindow();
}

// Sends itself a small WM_SIZE while its initial rectangle is still all zero.
class CEarlySizeDialog : public CTestSizableDialog {
public:
    bool windowKept = false;
    bool listKept = false;
    BOOL OnInitDialog() override
    {
        RECT before, after;
        ::GetWindowRect(m_hWnd, &before);
        const RECT list = ChildRect(m_hWnd, IDC_SIZ_LIST);
        SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
        ::GetWindowRect(m_hWnd, &after);
        windowKept = SameRect(before, after);
        listKept = SameRect(list, ChildRect(m_hWnd, IDC_SIZ_LIST));
        return CTestSizableDialog::OnInitDialog();
    }
};

TEST_F(MfxDialogs, SizableDialogIgnoresSizesBeforeInitialisationAndWhenMinimised)
{
    CTestSizableDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_SIZABLE));
    HWND h = dlg.m_hWnd;
    ::ShowWindow(h, SW_SHOWNOACTIVATE);
    oxtest::PumpMessages();
    RECT window0;
    ::GetWindowRect(h, &window0);
    const RECT list0 = ChildRect(h, IDC_SIZ_LIST);

    // Minimised: the 0 x 0 client is no reason to enlarge anything.
    ::SendMessageA(h, WM_SIZE, SIZE_MINIMIZED, 0);
    RECT window1;
    ::GetWindowRect(h, &window1);
    EXPECT_TRUE(SameRect(window0, window1));
    EXPECT_TRUE(SameRect(list0, ChildRect(h, IDC_SIZ_LIST)));
    ::ShowWindow(h, SW_MINIMIZE);
    oxtest::PumpMessages();
    EXPECT_TRUE(::IsIconic(h));
    ::ShowWindow(h, SW_RESTORE);
    oxtest::PumpMessages();
    ::GetWindowRect(h, &window1);
    EXPECT_EQ(window0.right - window0.left, window1.right - window1.left) << "restored at its own size";
    EXPECT_TRUE(SameRect(list0, ChildRect(h, IDC_SIZ_LIST)));
    dlg.DestroyWindow();

    // A WM_SIZE before the rectangles are recorded changes nothing.
    CEarlySizeDialog early;
    ASSERT_TRUE(early.Create(IDD_MFX_SIZABLE));
    EXPECT_TRUE(early.windowKept);
    EXPECT_TRUE(early.listKept);
    early.DestroyWindow();
}

TEST_F(MfxDialogs, HiddenSizableDialogStaysHiddenWhenSized)
{
    CTestSizableDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_SIZABLE));
    HWND h = dlg.m_hWnd;
    ASSERT_FALSE(::IsWindowVisible(h));
    const SIZE s0 = ClientSize(h);
    SetClientSize(h, s0.cx + 50, s0.cy + 50);
    EXPECT_FALSE(::IsWindowVisible(h)) << "growing";
    SetClientSize(h, s0.cx - 50, s0.cy);
    EXPECT_FALSE(::IsWindowVisible(h)) << "snapping back";
    EXPECT_EQ(s0.cx, ClientSize(h).cx);
    dlg.DestroyWindow();
}

// ---- CMfxDialog -----------------------------------------------------------------------------

class CTestColorDialog : public CMfxModelessDlg {
public:
    CTestColorDialog() : CMfxModelessDlg(IDD_MFX_COLORS), m_brush(::CreateSolidBrush(RGB(255, 0, 0))) {}
    ~CTestColorDialog() override { ::DeleteObject(m_brush); }

    struct Call {
        HWND control;
        HDC dc;
        UINT type;
    };
    std::vector<Call> colorCalls;
    std::vector<std::pair<WORD, WORD>> valueCalls;
    int plainCalls = 0;
    bool answerBrush = true;
    HBRUSH m_brush;

    HBRUSH OnMfxCtlColor(CWnd* pControl, CDC* pDC, UINT nCtlType) override
    {
        colorCalls.push_back({pControl->GetSafeHwnd(), pDC->GetSafeHdc(), nCtlType});
        return answerBrush ? m_brush : NULL;
    }
    void OnMfxNotifyValues(WORD a, WORD b) override { valueCalls.push_back({a, b}); }
    void OnMfxNotify() override { ++plainCalls; }
};

// A pixel of the window drawn into a memory bitmap of its client size (message WM_PRINTCLIENT, or
// WM_ERASEBKGND for the background).
COLORREF PixelOf(HWND hWnd, int x, int y, UINT message = WM_PRINTCLIENT)
{
    RECT rc;
    ::GetClientRect(hWnd, &rc);
    HDC screen = ::GetDC(NULL);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    ::ReleaseDC(NULL, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageA(hWnd, message, (WPARAM)dc, message == WM_PRINTCLIENT ? PRF_CLIENT | PRF_ERASEBKGND : 0);
    ::GdiFlush();
    COLORREF cr = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return cr;
}

TEST_F(MfxDialogs, ColourMessagesOfTheLibraryReachTheColourOperationWithTheirType)
{
    oxtest::CtlLog log;
    log.SetDialogAnswers("KEEP"); // the library leaves the dialog open
    CTestColorDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COLORS));
    HWND h = dlg.m_hWnd;
    struct Case {
        UINT message;
        const char* name;
        UINT type;
    };
    const Case cases[] = {
        {g_nMfxMsgCtlColorBtn, "CTL_CTLCOLOR_BTN", 3},     {g_nMfxMsgCtlColorStatic, "CTL_CTLCOLOR_STATIC", 6},
        {g_nMfxMsgCtlColorListBox, "CTL_CTLCOLOR_LISTBOX", 2}, {g_nMfxMsgCtlColorScrollBar, "CTL_CTLCOLOR_SCROLLBAR", 5},
        {g_nMfxMsgCtlColorEdit, "CTL_CTLCOLOR_EDIT", 1},   {g_nMfxMsgCtlColorDlg, "CTL_CTLCOLOR_DLG", 4},
    };
    HWND hControl = ::GetDlgItem(h, IDC_COL_EDIT);
    HDC dc = ::GetDC(hControl);
    for (const Case& c : cases) {
        EXPECT_EQ(::RegisterWindowMessageA(c.name), c.message) << c.name;
        dlg.colorCalls.clear();
        LRESULT answer = ::SendMessageA(h, c.message, (WPARAM)dc, (LPARAM)hControl);
        ASSERT_EQ(1u, dlg.colorCalls.size()) << c.name;
        EXPECT_EQ(c.type, dlg.colorCalls[0].type) << c.name;
        EXPECT_EQ(hControl, dlg.colorCalls[0].control) << c.name;
        EXPECT_EQ(dc, dlg.colorCalls[0].dc) << c.name;
        EXPECT_EQ((LRESULT)dlg.m_brush, answer) << c.name;
    }
    ::ReleaseDC(hControl, dc);

    // The library's controls ask for themselves while they paint; the brush paints them.
    dlg.colorCalls.clear();
    ::SetWindowPos(h, HWND_TOP, 60, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    oxtest::PumpMessages();
    auto asked = [&](HWND control, UINT type) {
        for (const auto& call : dlg.colorCalls)
            if (call.control == control && call.type == type)
                return true;
        return false;
    };
    HWND hStatic = ::GetDlgItem(h, IDC_COL_STATIC);
    HWND hButton = ::GetDlgItem(h, IDC_COL_BUTTON);
    EXPECT_TRUE(asked(hStatic, CTLCOLOR_STATIC));
    EXPECT_TRUE(asked(hButton, CTLCOLOR_BTN));
    EXPECT_TRUE(asked(::GetDlgItem(h, IDC_COL_EDIT), CTLCOLOR_EDIT)) << "the dialog class turns WM_CTLCOLOREDIT into its message";
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(hStatic, 0, 0)) << "the static's corner";
    EXPECT_EQ(RGB(255, 0, 0), PixelOf(hButton, 0, 0)) << "the button's corner";
    Shot(h, "colour_messages_red");

    // NULL: the library's own colours.
    dlg.answerBrush = false;
    ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    oxtest::PumpMessages();
    EXPECT_EQ(CtlTools_rgbBkgnd(), PixelOf(hStatic, 0, 0)) << "the library's colour";
    // The dialog's background is the library's.
    RECT rd;
    ::GetClientRect(h, &rd);
    EXPECT_EQ(CtlTools_rgbBkgnd(), PixelOf(h, rd.right - 3, rd.bottom - 3, WM_ERASEBKGND));
    dlg.DestroyWindow();
}

TEST_F(MfxDialogs, KdMfxMessagesCallTheNotificationsAndCommand18IsSwallowed)
{
    oxtest::CtlLog log;
    log.SetDialogAnswers("KEEP");
    CTestColorDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COLORS));
    HWND h = dlg.m_hWnd;
    EXPECT_EQ(::RegisterWindowMessageA("KdMfxMessages"), g_nMfxMsgKdMfx);
    EXPECT_EQ(1, ::SendMessageA(h, g_nMfxMsgKdMfx, 101, MAKELPARAM(0x1234, 0xBEEF)));
    ASSERT_EQ(1u, dlg.valueCalls.size());
    EXPECT_EQ(0x1234, dlg.valueCalls[0].first);
    EXPECT_EQ(0xBEEF, dlg.valueCalls[0].second);
    EXPECT_EQ(0, dlg.plainCalls);
    EXPECT_EQ(1, ::SendMessageA(h, g_nMfxMsgKdMfx, 102, 77));
    EXPECT_EQ(1, dlg.plainCalls);
    EXPECT_EQ(1u, dlg.valueCalls.size());
    for (WPARAM other : {(WPARAM)0, (WPARAM)100, (WPARAM)103, (WPARAM)0x10065}) {
        EXPECT_EQ(0, ::SendMessageA(h, g_nMfxMsgKdMfx, other, 5)) << other;
    }
    EXPECT_EQ(1, dlg.plainCalls);
    EXPECT_EQ(1u, dlg.valueCalls.size());

    // Command 18 (help) is swallowed: the dialog stays, nobody else hears of it.
    ::SendMessageA(h, WM_COMMAND, MAKEWPARAM(18, BN_CLICKED), 0);
    EXPECT_TRUE(::IsWindow(h));

    // The attached object is deleted with the window.
    struct CTracked : CObject {
        bool* gone;
        explicit CTracked(bool* p) : gone(p) {}
        ~CTracked() override { *gone = true; }
    };
    bool gone = false;
    dlg.m_bFlag = TRUE;
    dlg.SetAttachedObject(new CTracked(&gone));
    dlg.DestroyWindow();
    EXPECT_TRUE(gone);
    EXPECT_EQ(NULL, dlg.GetAttachedObject());
    EXPECT_FALSE(dlg.m_bFlag);
}

// ---- CParsedEdit ----------------------------------------------------------------------------

int g_beeps = 0;
BOOL WINAPI CountBeep(UINT) { return ++g_beeps, TRUE; }

struct BeepCounter {
    CParsedEdit::BeepFunction previous;
    BeepCounter() : previous(CParsedEdit::SetBeepFunction(&CountBeep)) { g_beeps = 0; }
    ~BeepCounter() { CParsedEdit::SetBeepFunction(previous); }
};

std::string TextOf(HWND h)
{
    char buffer[256] = {};
    ::GetWindowTextA(h, buffer, sizeof buffer);
    return buffer;
}

TEST_F(MfxDialogs, ParsedEditFiltersTypedCharactersByItsStyle)
{
    BeepCounter beeps;
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_PARSED));
    HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_PAR_EDIT);
    struct Case {
        DWORD style;
        int decimals;
        const char* start;
        const char* typed;
        const char* want;
        int beeps;
    };
    const Case cases[] = {
        {1, -1, "", "a- ", "", 3},
        {1, -1, "", "0123456789", "0123456789", 0},
        {1, -1, "12", "\b", "1", 0},
        {3, -1, "12", ",", "12.", 0},
        {3, -1, "12.5", ".", "12.5", 1},
        {3, -1, "12.5", ",", "12.5", 1},
        {8, -1, "1", "/", "1.", 0},
        {8, -1, "1", ",", "1.", 0},
        {8, -1, "", "7", "7", 0},
        {0x88, -1, "1", "/", "1/", 0},
        {3, 2, "1.25", "7", "1.25", 1},
        {3, 2, "1.2", "5", "1.25", 0},
        {3, 0, "12", "3", "123", 0},
        {PES_ALL_BUT_SPACE, -1, "ab", " ", "ab", 0},
        {PES_ALL_BUT_SPACE, -1, "ab", "x%", "abx%", 0},
        {(IDS_TEST_EXTRA_CHARS << 16) | PES_EXTRA | PES_DIGITS, -1, "", "\xE4#1", "\xE4#1", 0},
        {(IDS_TEST_EXTRA_CHARS << 16) | PES_EXTRA | PES_DIGITS, -1, "", "a", "", 1},
        {(999u << 16) | PES_EXTRA | PES_DIGITS, -1, "", "a#1", "1", 2},
        {(DWORD)-1, -1, "", "a -", "a -", 0},
        {PES_LETTERS | PES_SIGN, -1, "", "x_-+%", "x_-+", 1},
    };
    for (const Case& c : cases) {
        CParsedEdit edit;
        ASSERT_TRUE(edit.SubclassEdit(IDC_PAR_EDIT, &dlg, c.style));
        edit.m_nDecimalLimit = c.decimals;
        ::SetWindowTextA(hEdit, c.start);
        ::SendMessageA(hEdit, EM_SETSEL, 64, 64);
        g_beeps = 0;
        for (const char* p = c.typed; *p; ++p)
            ::SendMessageA(hEdit, WM_CHAR, (BYTE)*p, 1);
        EXPECT_EQ(c.want, TextOf(hEdit)) << std::hex << c.style << " " << c.start << " + " << c.typed;
        EXPECT_EQ(c.beeps, g_beeps) << std::hex << c.style << " " << c.start << " + " << c.typed;
        edit.UnsubclassWindow();
    }
    dlg.DestroyWindow();
}

TEST_F(MfxDialogs, ParsedEditSubclassesOnlyAnExistingControlAndKeepsItsProcedure)
{
    CDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_PARSED));
    HWND hEdit = ::GetDlgItem(dlg.m_hWnd, IDC_PAR_SPAN);
    WNDPROC before = (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC);
    CParsedEdit missing;
    EXPECT_FALSE(missing.SubclassEdit(4711, &dlg, 1));
    EXPECT_EQ(NULL, missing.m_hWnd);
    EXPECT_EQ(before, (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC));

    CParsedEdit edit;
    ASSERT_TRUE(edit.SubclassEdit(IDC_PAR_SPAN, &dlg, 1));
    EXPECT_EQ(hEdit, edit.m_hWnd);
    EXPECT_NE(before, (WNDPROC)::GetWindowLongPtrA(hEdit, GWLP_WNDPROC));
    // Other messages reach the edit control's own procedure.
    ::SetWindowTextA(hEdit, "15");
    EXPECT_EQ(2, ::GetWindowTextLengthA(hEdit));
    EXPECT_EQ(1, ::SendMessageA(hEdit, EM_GETLINECOUNT, 0, 0));

    // The extra characters of a missing string: none.
    edit.SetParseStyle((999u << 16) | PES_EXTRA);
    EXPECT_TRUE(edit.GetExtraChars().IsEmpty());
    edit.SetParseStyle((IDS_TEST_EXTRA_CHARS << 16) | PES_EXTRA);
    EXPECT_STREQ("\xE4\xF6\xFC#", edit.GetExtraChars());
    edit.SetParseStyle(1);
    EXPECT_TRUE(edit.GetExtraChars().IsEmpty());

    // A screenshot with typed text.
    edit.SetParseStyle(1);
    CParsedEdit text;
    ASSERT_TRUE(text.SubclassEdit(IDC_PAR_EDIT, &dlg, 3));
    {
        BeepCounter beeps;
        ::SetWindowTextA(hEdit, "");
        for (char c : std::string("1x5"))
            ::SendMessageA(hEdit, WM_CHAR, (BYTE)c, 1);
        for (char c : std::string("12,5"))
            ::SendMessageA(text.m_hWnd, WM_CHAR, (BYTE)c, 1);
        EXPECT_EQ("15", TextOf(hEdit));
        EXPECT_EQ("12.5", TextOf(text.m_hWnd));
    }
    ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 80, 80, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    Shot(dlg.m_hWnd, "parsed_edit");
    dlg.DestroyWindow();
}

// ---- combo boxes ----------------------------------------------------------------------------

class CComboDialog : public CDialog {
public:
    CComboDialog() : CDialog(IDD_MFX_COMBOS) {}
    CColorPickerCombo m_color;
    CUserColorCombo m_user;
    CHistoryCombo m_history;
    CItemDataComboBox m_items;
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_color.SubclassDlgItem(IDC_CMB_COLOR, this);
        m_user.SubclassDlgItem(IDC_CMB_USER, this);
        m_history.SubclassDlgItem(IDC_CMB_HISTORY, this);
        m_items.SubclassDlgItem(IDC_CMB_ITEMS, this);
        return TRUE;
    }
};

// Draws item nItem of the control through its parent (owner-draw reflection) into a memory DC.
struct ItemBitmap {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    int cx, cy;
    ItemBitmap(int width, int height) : cx(width), cy(height)
    {
        HDC screen = ::GetDC(NULL);
        dc = ::CreateCompatibleDC(screen);
        bitmap = ::CreateCompatibleBitmap(screen, cx, cy);
        ::ReleaseDC(NULL, screen);
        old = ::SelectObject(dc, bitmap);
        RECT all = {0, 0, cx, cy};
        HBRUSH magenta = ::CreateSolidBrush(RGB(255, 0, 255));
        ::FillRect(dc, &all, magenta);
        ::DeleteObject(magenta);
    }
    ~ItemBitmap()
    {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
    void Draw(HWND hParent, HWND hCombo, int nItem, UINT state, UINT action = ODA_DRAWENTIRE)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_COMBOBOX;
        dis.CtlID = (UINT)::GetDlgCtrlID(hCombo);
        dis.itemID = (UINT)nItem;
        dis.itemAction = action;
        dis.itemState = state;
        dis.hwndItem = hCombo;
        dis.hDC = dc;
        dis.rcItem = {0, 0, cx, cy};
        dis.itemData = (ULONG_PTR)::SendMessageA(hCombo, CB_GETITEMDATA, (WPARAM)nItem, 0);
        ::SendMessageA(hParent, WM_DRAWITEM, dis.CtlID, (LPARAM)&dis);
    }
    COLORREF At(int x, int y) const { return ::GetPixel(dc, x, y); }
};

TEST_F(MfxDialogs, ColourPickerListsTheFixedColoursAndSelectsByColour)
{
    CComboDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
    CColorPickerCombo& combo = dlg.m_color;
    EXPECT_EQ(65, combo.GetCount()) << "subclassing fills the list";
    EXPECT_EQ(0, combo.GetCurSel());
    EXPECT_EQ(-1, combo.GetAutoIndex());
    EXPECT_EQ(RGB(0, 0, 0), combo.GetSelectedColor());
    EXPECT_EQ(54, combo.SelectColor(0xFFCCCC)) << "the first of the two equal entries";
    EXPECT_EQ(54, combo.GetCurSel());
    EXPECT_EQ((COLORREF)0xFFCCCC, combo.GetSelectedColor());
    EXPECT_EQ(51, combo.SelectColor(0xFFE2B4));
    EXPECT_EQ(64, combo.SelectColor(0xCCFFCC));
    EXPECT_EQ(65, combo.SelectColor(0x123456)) << "not in the list";
    EXPECT_EQ(64, combo.GetCurSel()) << "the selection stays";

    // Item 6 (0x0000FF, red) into a memory DC: the swatch inside a 2-pixel margin.
    ItemBitmap item(60, 16);
    item.Draw(dlg.m_hWnd, combo.m_hWnd, 6, 0);
    EXPECT_EQ((COLORREF)0x0000FF, item.At(30, 8));
    EXPECT_EQ((COLORREF)0x0000FF, item.At(2, 2));
    EXPECT_EQ(RGB(255, 0, 255), item.At(1, 1)) << "the margin is not drawn";
    EXPECT_EQ(RGB(255, 0, 255), item.At(58, 14));

    // The "Auto" entry holds the window-text colour.
    CColorPickerCombo withAuto(TRUE);
    EXPECT_EQ(65, withAuto.GetAutoIndex());

    // Dropped down, for a look.
    combo.SelectColor(0x0000FF);
    ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 100, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    oxtest::PumpMessages();
    combo.ShowDropDown(TRUE);
    oxtest::PumpMessages();
    RECT dropped;
    ::SendMessageA(combo.m_hWnd, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&dropped);
    HWND hList = NULL;
    COMBOBOXINFO info = {sizeof info};
    if (::GetComboBoxInfo(combo.m_hWnd, &info))
        hList = info.hwndList;
    RECT listRect = dropped;
    if (hList != NULL)
        ::GetWindowRect(hList, &listRect);
    Shot(dlg.m_hWnd, "colour_combo_dropped", &listRect);
    combo.ShowDropDown(FALSE);
    dlg.DestroyWindow();
}

// The owners hand over the settings' own map.
static_assert(std::is_same_v<decltype(CAppSettings::m_userColors), CMfxUserColorMap>);

TEST_F(MfxDialogs, UserColourComboDrawsTheUsersColourFromTheMap)
{
    CComboDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
    CMfxUserColorMap colors;
    colors.SetAt("Anna", RGB(0, 160, 0));
    colors.SetAt("[\xAERaum 1]", RGB(0, 0, 200));
    dlg.m_user.SetUserColorMap(&colors);
    CString allUsers;
    ASSERT_TRUE(allUsers.LoadString(6402));
    EXPECT_STREQ(" < Alle Benutzer >", allUsers);
    CComboBox& combo = dlg.m_user;
    combo.AddString("Anna");
    combo.AddString("Zoe");
    combo.AddString("[\xAERaum 1]");
    combo.AddString(allUsers);
    const int nAnna = combo.FindStringExact(-1, "Anna");
    const int nZoe = combo.FindStringExact(-1, "Zoe");
    const int nAll = combo.FindStringExact(-1, allUsers);

    const int cx = 120, cy = 16;
    const int swatchX = 3 * (cx / 4) + 2 + 1 + 5; // inside the outline
    {
        ItemBitmap item(cx, cy);
        item.Draw(dlg.m_hWnd, combo.m_hWnd, nAnna, 0);
        EXPECT_EQ(RGB(0, 160, 0), item.At(swatchX, cy / 2));
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), item.At(3 * (cx / 4) + 2, cy / 2)) << "the outline";
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), item.At(3 * (cx / 4) - 4, 1)) << "the background";
    }
    {
        ItemBitmap item(cx, cy);
        item.Draw(dlg.m_hWnd, combo.m_hWnd, nZoe, ODS_SELECTED);
        EXPECT_EQ(RGB(0, 0, 0), item.At(swatchX, cy / 2)) << "a user without colour: black";
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), item.At(3 * (cx / 4) + 2, cy / 2)) << "the outline of a selected item";
        EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), item.At(3 * (cx / 4) - 4, 1)) << "the selected background";
        COLORREF cr = 0xABCDEF;
        EXPECT_TRUE(colors.Lookup("Zoe", cr)) << "the name joined the map";
        EXPECT_EQ(0u, cr);
    }
    // No swatch for all users, nor for the selection field while nothing is selected (item -1):
    // no nameless user joins the map.
    for (int nItem : {nAll, -1}) {
        ItemBitmap item(cx, cy);
        const int before = (int)colors.GetCount();
        item.Draw(dlg.m_hWnd, combo.m_hWnd, nItem, 0);
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), item.At(swatchX, cy / 2)) << nItem;
        EXPECT_EQ(before, (int)colors.GetCount()) << nItem;
    }
    COLORREF unused;
    EXPECT_FALSE(colors.Lookup("", unused));

    combo.SetCurSel(nAnna);
    ::SetWindowPos(dlg.m_hWnd, HWND_TOP, 100, 60, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    oxtest::PumpMessages();
    combo.ShowDropDown(TRUE);
    oxtest::PumpMessages();
    COMBOBOXINFO info = {sizeof info};
    RECT listRect = {};
    if (::GetComboBoxInfo(combo.m_hWnd, &info))
        ::GetWindowRect(info.hwndList, &listRect);
    Shot(dlg.m_hWnd, "user_colour_combo_dropped", &listRect);
    combo.ShowDropDown(FALSE);
    dlg.DestroyWindow();
}

std::string RegString(const char* section, const char* name, DWORD* pType = NULL)
{
    std::string key = std::string(kAppKey) + "\\" + section;
    char buffer[512] = {};
    DWORD size = sizeof buffer, type = 0;
    if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_ANY, &type, buffer, &size) != ERROR_SUCCESS)
        return "<missing>";
    if (pType)
        *pType = type;
    return type == REG_SZ ? std::string(buffer) : "<type " + std::to_string(type) + ">";
}

void SetReg(const char* section, const char* name, DWORD type, const void* data, DWORD size)
{
    std::string key = std::string(kAppKey) + "\\" + section;
    HKEY h = NULL;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, NULL, 0, KEY_WRITE, NULL, &h, NULL));
    ::RegSetValueExA(h, name, 0, type, (const BYTE*)data, size);
    ::RegCloseKey(h);
}

void SetRegString(const char* section, const char* name, const char* value)
{
    SetReg(section, name, REG_SZ, value, (DWORD)strlen(value) + 1);
}

// "reg query" of the Wine prefix: 0 when the value exists.
int RegQuery(const char* section, const char* name)
{
    return oxtest::RunProcess(std::string("reg.exe query \"HKCU\\") + kAppKey + "\\" + section + "\" /v " + name);
}

std::vector<std::string> Entries(CComboBox& combo)
{
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        entries.push_back((LPCTSTR)text);
    }
    return entries;
}

TEST_F(MfxDialogs, HistoryComboLoadsUpToTheFirstEmptyValueAndSavesAtMost21)
{
    using V = std::vector<std::string>;
    SetRegString("Termin", "CmbBetr0", "A");
    SetRegString("Termin", "CmbBetr1", "");
    SetRegString("Termin", "CmbBetr2", "B");
    SetRegString("Termin", "CmbBetr", "A");
    {
        CComboDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
        EXPECT_EQ("A", std::string(dlg.m_history.LoadHistory("Termin", "CmbBetr")));
        EXPECT_EQ(V{"A"}, Entries(dlg.m_history));
        EXPECT_EQ(0, dlg.m_history.GetCurSel()) << "the last value (key = prefix) is selected";
        dlg.DestroyWindow();
    }

    // A value of another type ends the list like an empty one; a binary last value selects nothing.
    SetRegString("Termin", "CmbBetr1", "C");
    const DWORD number = 7;
    SetReg("Termin", "CmbBetr2", REG_DWORD, &number, sizeof number);
    SetRegString("Termin", "CmbBetr3", "D");
    const BYTE bytes[] = {'A', 0};
    SetReg("Termin", "CmbBetr", REG_BINARY, bytes, sizeof bytes);
    {
        CComboDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
        EXPECT_EQ("", std::string(dlg.m_history.LoadHistory("Termin", "CmbBetr")));
        EXPECT_EQ((V{"A", "C"}), Entries(dlg.m_history));
        EXPECT_EQ(-1, dlg.m_history.GetCurSel());
        EXPECT_EQ("", TextOf(dlg.m_history.m_hWnd));
        dlg.DestroyWindow();
    }

    // 25 entries: "CmbBetr0" to "CmbBetr20" are written, "CmbBetr21" is left alone.
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kAppKey);
    {
        CComboDialog dlg;
        ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
        dlg.m_history.LoadHistory("Termin", "CmbBetr", TRUE, "CmbBetrLast");
        for (int i = 0; i < 25; ++i)
            dlg.m_history.AddToHistory(("Eintrag " + std::to_string(i)).c_str());
        dlg.m_history.SetWindowText("Eintrag 24");
        dlg.m_history.SaveHistory(TRUE);
        EXPECT_EQ(25, dlg.m_history.GetCount()) << "a listed text is not added again";
        dlg.DestroyWindow();
    }
    EXPECT_EQ("Eintrag 24", RegString("Termin", "CmbBetr0"));
    EXPECT_EQ("Eintrag 4", RegString("Termin", "CmbBetr20"));
    EXPECT_EQ("<missing>", RegString("Termin", "CmbBetr21"));
    EXPECT_EQ("Eintrag 24", RegString("Termin", "CmbBetrLast"));
    EXPECT_EQ(0, RegQuery("Termin", "CmbBetr20"));
    EXPECT_NE(0, RegQuery("Termin", "CmbBetr21"));
}

TEST_F(MfxDialogs, HistoryComboPutsANewTextOnTopOnce)
{
    using V = std::vector<std::string>;
    SetRegString("Termin", "CmbOrt0", "Raum 1");
    SetRegString("Termin", "CmbOrt1", "Kantine");
    SetRegString("Termin", "CmbOrt2", "Foyer");
    SetRegString("Termin", "CmbOrt3", "Besprechung");
    SetRegString("Termin", "CmbOrt4", "Lager");
    CComboDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
    CHistoryCombo& combo = dlg.m_history;
    combo.LoadHistory("Termin", "CmbOrt", FALSE);
    ASSERT_EQ(5, combo.GetCount());
    EXPECT_EQ(0, combo.AddToHistory(" Besprechung "));
    EXPECT_EQ((V{"Besprechung", "Raum 1", "Kantine", "Foyer", "Lager"}), Entries(combo));
    EXPECT_EQ(0, combo.GetCurSel());
    EXPECT_EQ(-1, combo.FindExact(-1, "besprechung")) << "exact, with case";
    EXPECT_EQ(3, combo.FindExact(1, "Foyer"));
    EXPECT_EQ(-1, combo.FindExact(4, "Foyer"));

    // A remembered text that the list lacks becomes the drop-down's text.
    SetRegString("Termin", "CmbOrtLetzter", "Dach");
    CComboDialog second;
    ASSERT_TRUE(second.Create(IDD_MFX_COMBOS));
    EXPECT_EQ("Dach", std::string(second.m_history.LoadHistory("Termin", "CmbOrt", TRUE, "CmbOrtLetzter")));
    EXPECT_EQ(-1, second.m_history.GetCurSel());
    EXPECT_EQ("Dach", TextOf(second.m_history.m_hWnd));
    second.DestroyWindow();

    // Without a section the text is appended as it is, also twice, and nothing is saved.
    CComboDialog plain;
    ASSERT_TRUE(plain.Create(IDD_MFX_COMBOS));
    EXPECT_EQ("", std::string(plain.m_history.LoadHistory("", "CmbX")));
    EXPECT_EQ("", std::string(plain.m_history.LoadHistory(NULL, "CmbX")));
    plain.m_history.AddString("Lager");
    EXPECT_EQ(1, plain.m_history.AddToHistory(" Lager "));
    EXPECT_EQ(2, plain.m_history.AddToHistory(" Lager "));
    EXPECT_EQ((V{"Lager", " Lager ", " Lager "}), Entries(plain.m_history));
    plain.m_history.SaveHistory(TRUE);
    EXPECT_EQ("<missing>", RegString("", "CmbX0"));
    plain.DestroyWindow();
    dlg.DestroyWindow();
}

TEST_F(MfxDialogs, ItemDataComboSelectsByItemData)
{
    CComboDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_MFX_COMBOS));
    CItemDataComboBox& combo = dlg.m_items;
    const struct {
        const char* text;
        DWORD_PTR data;
    } units[] = {{"Minute(n)", 1}, {"Stunde(n)", 60}, {"Tag(e)", 1440}, {"Woche(n)", 10080}};
    for (const auto& u : units)
        combo.SetItemData(combo.AddString(u.text), u.data);
    EXPECT_EQ(2, combo.SelectItemData(1440));
    EXPECT_EQ(2, combo.GetCurSel());
    EXPECT_EQ(-1, combo.SelectItemData(30));
    EXPECT_EQ(2, combo.GetCurSel()) << "the selection stays";
    EXPECT_EQ(3, combo.FindItemData(10080));
    EXPECT_EQ(-1, combo.FindItemData(0));
    dlg.DestroyWindow();
}

} // namespace
