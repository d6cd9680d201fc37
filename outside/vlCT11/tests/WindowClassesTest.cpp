// The window classes of the library's dialog templates: they exist while a job is open, a
// template with CLASS "vlmrDialog1132" holding the library's static and button works as a dialog,
// the button reports clicks, the static shows its formatted text.
#include <gtest/gtest.h>

#include <vector>

#include "CtlLog.h"
#include "DialogTemplate.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

const char* const kClassNames[] = {"vlmrDialog1132", "VlmrDialog21132", "VLMRSTATIC1132", "VLMRBUTTON1132",
                                    "VlmrHelpID1132"};

bool ClassExists(const char* name)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    return GetClassInfoExA(GetModuleHandleA(nullptr), name, &wc) != FALSE;
}

const int kStaticId = 100;

// The password dialog's layout: a text, OK (default) and Cancel.
DialogTemplate PasswordTemplate()
{
    DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_FIXEDSYS, 0, 0, 0, 210, 90,
                       "Passwort-Eingabe", "vlmrDialog1132");
    tpl.AddItem("VLMRSTATIC1132", ".t:Bitte geben Sie das Passwort ein.~.xi", kStaticId, WS_VISIBLE | SS_NOTIFY, 6, 5,
                196, 36);
    tpl.AddItem("VLMRBUTTON1132", "OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 6, 65, 50, 14);
    tpl.AddItem("VLMRBUTTON1132", "Abbrechen", IDCANCEL, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 153, 65, 50, 14);
    return tpl;
}

struct Command {
    WORD id;
    WORD code;
    HWND control;
    bool operator==(const Command&) const = default;
};

void PrintTo(const Command& c, std::ostream* os) { *os << "{id " << c.id << ", code " << c.code << "}"; }

std::vector<Command> s_commands;

INT_PTR CALLBACK RecordingDialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        s_commands.push_back({LOWORD(wParam), HIWORD(wParam), (HWND)lParam});
        return TRUE;
    }
    return FALSE;
}

HWND CreateFromTemplate(const DialogTemplate& tpl)
{
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tpl.Get(), nullptr, RecordingDialogProc, 0);
}

std::string ClassOf(HWND hwnd)
{
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

TEST(CtlJob, ClassesExistOnlyWhileAJobIsOpen)
{
    for (const char* name : kClassNames)
        ASSERT_FALSE(ClassExists(name)) << name << " exists before the first job";
    EXPECT_EQ(-1, CtlJobClose()); // no job: nothing to close, nothing changes
    EXPECT_EQ(nullptr, CreateFromTemplate(PasswordTemplate()));

    EXPECT_EQ(1, CtlJobOpen());
    EXPECT_EQ(2, CtlJobOpen());
    for (const char* name : kClassNames)
        EXPECT_TRUE(ClassExists(name)) << name;
    EXPECT_EQ(1, CtlJobClose());
    for (const char* name : kClassNames)
        EXPECT_TRUE(ClassExists(name)) << name << " with one job still open";
    EXPECT_EQ(0, CtlJobClose());
    for (const char* name : kClassNames)
        EXPECT_FALSE(ClassExists(name)) << name << " after the last job";

    // Open again after the last close.
    EXPECT_EQ(1, CtlJobOpen());
    HWND dialog = CreateFromTemplate(PasswordTemplate());
    EXPECT_NE(nullptr, dialog);
    DestroyWindow(dialog);
    EXPECT_EQ(0, CtlJobClose());
}

// The dialogs of these tests are modeless and never wait for anyone; unattended, the library would
// answer them (see DialogAnswers.h) and the commands of that answer would mix with the ones the
// tests send.
class TemplateDialog : public testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("VLCT11_UNATTENDED", nullptr);
        ASSERT_EQ(1, CtlJobOpen());
        s_commands.clear();
        m_dialog = CreateFromTemplate(PasswordTemplate());
        ASSERT_NE(nullptr, m_dialog);
        ShowWindow(m_dialog, SW_SHOW);
        oxtest::PumpMessages();
    }

    void TearDown() override
    {
        if (m_dialog)
            DestroyWindow(m_dialog);
        CtlJobClose();
        SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    }

    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }

    HWND m_dialog = nullptr;
};

TEST_F(TemplateDialog, UsesTheLibraryClasses)
{
    EXPECT_EQ("vlmrDialog1132", ClassOf(m_dialog));
    EXPECT_EQ("VLMRSTATIC1132", ClassOf(Item(kStaticId)));
    EXPECT_EQ("VLMRBUTTON1132", ClassOf(Item(IDOK)));
    EXPECT_EQ("VLMRBUTTON1132", ClassOf(Item(IDCANCEL)));
    char text[64] = "";
    GetDlgItemTextA(m_dialog, IDCANCEL, text, sizeof text);
    EXPECT_STREQ("Abbrechen", text);
}

TEST_F(TemplateDialog, ButtonClickReachesTheDialogProcedure)
{
    for (int id : {IDCANCEL, IDOK}) {
        s_commands.clear();
        SendMessageA(Item(id), BM_CLICK, 0, 0);
        ASSERT_EQ(1u, s_commands.size()) << "button " << id;
        EXPECT_EQ((Command{(WORD)id, BN_CLICKED, Item(id)}), s_commands[0]);
    }
}

TEST_F(TemplateDialog, DefaultPushButtonIsTheDialogDefault)
{
    LRESULT def = SendMessageA(m_dialog, DM_GETDEFID, 0, 0);
    EXPECT_EQ(MAKELRESULT(IDOK, DC_HASDEFID), def);
    EXPECT_EQ((LRESULT)DLGC_DEFPUSHBUTTON, SendMessageA(Item(IDOK), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON);
    EXPECT_EQ((LRESULT)DLGC_UNDEFPUSHBUTTON, SendMessageA(Item(IDCANCEL), WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON);
}

// Ink of the static's rendering: how many pixels differ from the background, and the lowest
// row that has any.
struct Ink {
    int pixels = 0;
    int lowestRow = -1;
};

Ink RenderInk(HWND control)
{
    RECT rc;
    GetClientRect(control, &rc);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(control, WM_PRINTCLIENT, (WPARAM)dc, PRF_CLIENT);
    GdiFlush();
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    DWORD background = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    Ink ink;
    const DWORD* pixel = static_cast<const DWORD*>(bits);
    for (int y = 0; y < rc.bottom; ++y)
        for (int x = 0; x < rc.right; ++x)
            if ((pixel[y * rc.right + x] & 0xFFFFFF) != background) {
                ++ink.pixels;
                ink.lowestRow = y;
            }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink;
}

int LineHeight(HWND control)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageA(control, WM_GETFONT, 0, 0));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return tm.tmHeight;
}

struct RenderCase {
    const char* markup;
    bool ink;          // anything drawn
    bool belowLineOne; // drawn below the first line
};

const RenderCase kRenderCases[] = {
    {"", false, false},
    {"~.xi", false, false},
    {".t:Hallo~.xi", true, false},
    {".tb:Hallo~.xi", true, false},
    {".xi~.t:Hallo", false, false},          // nothing after the end marker
    {".b:IDB_INFO~.w:20~.xi", false, false}, // codes that show nothing here
    {".t:Hallo\r\nWelt~.xi", true, true},
    {".t:eins zwei drei vier fünf sechs sieben acht neun zehn elf zwölf~.xi", true, true}, // wraps
};

TEST_F(TemplateDialog, StaticRendersItsFormattedText)
{
    HWND text = Item(kStaticId);
    ASSERT_NE(nullptr, text);
    SetWindowPos(text, nullptr, 0, 0, 150, 60, SWP_NOMOVE | SWP_NOZORDER);
    int line = LineHeight(text);
    for (const RenderCase& c : kRenderCases) {
        SCOPED_TRACE(c.markup);
        SetWindowTextA(text, c.markup);
        Ink ink = RenderInk(text);
        EXPECT_EQ(c.ink, ink.pixels > 0) << ink.pixels << " pixels";
        EXPECT_EQ(c.belowLineOne, ink.lowestRow >= line) << "lowest row " << ink.lowestRow << ", line " << line;
    }
}

TEST_F(TemplateDialog, StaticDrawsBoldTextBolder)
{
    HWND text = Item(kStaticId);
    SetWindowTextA(text, ".t:Fetter Text~.xi");
    int plain = RenderInk(text).pixels;
    SetWindowTextA(text, ".tb:Fetter Text~.xi");
    int bold = RenderInk(text).pixels;
    EXPECT_GT(bold, plain);
}

TEST_F(TemplateDialog, StaticRendersAgainWhenItsTextChanges)
{
    HWND text = Item(kStaticId);
    UpdateWindow(text);
    RECT dirty;
    ASSERT_FALSE(GetUpdateRect(text, &dirty, FALSE));
    SetWindowTextA(text, ".t:Neu~.xi");
    EXPECT_TRUE(GetUpdateRect(text, &dirty, FALSE));
    char stored[32] = "";
    GetWindowTextA(text, stored, sizeof stored);
    EXPECT_STREQ(".t:Neu~.xi", stored);
}

} // namespace
