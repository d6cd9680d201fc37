// The library's classes in templates shaped like the program's reminder windows: picture buttons
// (mnemonics, tooltips, pushed state, clicks), the markup static with the program's bitmaps, the
// colour messages, the help id marker, hover help, and the unattended entry that keeps a dialog
// open. Writes screenshots to build/shots/vlct11.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "CtlLog.h"
#include "DialogTemplate.h"
#include "Screenshot.h"
#include "TestKit.h"
#include "vlCT11.h"

namespace {

const char kHelp50100[] = "Erneut erinnern nach einem bestimmten Zeitraum. Es wird dabei lediglich der "
                          "Erinnerungszeitpunkt verschoben, der Terminzeitpunkt wird nicht ver\xE4ndert.";
const char kHelp50101[] = "Verschiebt den Datensatz eines Termins / Aufgabe um einem bestimmten Zeitabstand.";

const DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;

// The single reminder window's layout (template 157) with the library's classes.
DialogTemplate ReminderTemplate(const char* dialogClass = "VlmrDialog1132")
{
    DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME, 0, 0, 0, 270, 146,
                       "Erinnerung - Besprechung", dialogClass, "MS Sans Serif", 8);
    tpl.AddItem("VlmrStatic1132", ".tb: Info ~.xif", 1005, WS_VISIBLE, 6, 6, 258, 70);
    tpl.AddItem("Static", "A&ktion:", 1069, WS_VISIBLE, 6, 83, 28, 12);
    tpl.AddItem("Static", "Nachricht senden", 1070, WS_VISIBLE, 40, 83, 165, 12);
    tpl.AddItem("vlmrbutton1132", "&Ausf\xFChren", 1066, kButton, 209, 82, 54, 14);
    tpl.AddItem("Static", "Verschieben/Verlegen &um:", (DWORD)-1, WS_VISIBLE, 6, 100, 90, 12);
    tpl.AddItem("Edit", "15", 1039, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_NUMBER, 100, 100, 26, 12);
    tpl.AddItem("ComboBox", "", 1068, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 128, 100, 80, 64);
    tpl.AddItem("vlmrbutton1132", "{&M}:Bemerkungsfeld erg\xE4nzen", 183, kButton, 230, 99, 15, 14);
    tpl.AddItem("vlmrbutton1132", "{&G}:Gehe zu Datensatz", 98, kButton, 248, 99, 15, 14);
    tpl.AddItem("Static", "", 1061, WS_VISIBLE | SS_ETCHEDHORZ, 6, 118, 258, 1);
    tpl.AddItem("vlmrbutton1132", "", 18, kButton, 6, 124, 15, 14);
    tpl.AddItem("vlmrbutton1132", "{&L}:Datensatz l\xF6schen.", 161, kButton, 25, 124, 16, 14);
    tpl.AddItem("vlmrbutton1132", "&Bearbeiten...", 1067, kButton, 44, 124, 54, 14);
    tpl.AddItem("vlmrbutton1132", "V&erlegen", 1071, kButton, 102, 124, 50, 14);
    tpl.AddItem("vlmrbutton1132", "&Verschieben", 1065, kButton, 156, 124, 54, 14);
    tpl.AddItem("vlmrbutton1132", "S&chlie\xDF" "en", 1, kButton, 214, 124, 50, 14);
    tpl.AddItem("Button", "DEFBUTTON", 1096, WS_VISIBLE | BS_DEFPUSHBUTTON, 280, 150, 18, 12);
    tpl.AddItem("VlmrHelpID1132", "157", 1099, WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10);
    return tpl;
}

// The collective reminder window's layout (template 229): sizable, the second dialog class.
DialogTemplate CollectiveTemplate()
{
    DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 0, 0,
                       0, 280, 196, "2 Erinnerung(en)", "VlmrDialog21132", "MS Sans Serif", 8);
    tpl.AddItem("VlmrStatic1132", ".f,0~.tf(Arial,12)bc:\xB6<Multiselektion>~.xif", 1005, WS_VISIBLE, 6, 6, 268, 41);
    tpl.AddItem("vlmrbutton1132", "{&M}:Bemerkungsfeld erg\xE4nzen", 183, kButton, 241, 130, 15, 14);
    tpl.AddItem("vlmrbutton1132", "{&G}:Gehe zu Datensatz", 98, kButton, 259, 130, 15, 14);
    tpl.AddItem("vlmrbutton1132", "{&L}:Datensatz l\xF6schen.", 161, kButton, 33, 176, 15, 14);
    tpl.AddItem("vlmrbutton1132", "S&chlie\xDF" "en", 1, kButton, 220, 176, 54, 14);
    tpl.AddItem("vlmrbutton1132", "", 18, kButton, 6, 176, 15, 14);
    return tpl;
}

// The notes editor's format bar (buttons 142 to 154).
DialogTemplate FormatBarTemplate()
{
    DialogTemplate tpl(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, 200, 40, "Notizen",
                       "VlmrDialog1132", "MS Sans Serif", 8);
    struct Item {
        int id;
        const char* caption;
    };
    const Item items[] = {{142, ":Fett"},           {143, ":Kursiv"},          {144, ":Unterstrichen"},
                          {145, ":Durchgestrichen"}, {146, ":Linksb\xFCndig"},  {148, ":Zentriert"},
                          {147, ":Rechtsb\xFCndig"}, {154, ":Absatz ausr\xFC" "cken"}, {153, ":Absatz einr\xFC" "cken"},
                          {149, ":Aufz\xE4hlung"}};
    short x = 6;
    for (const Item& item : items) {
        tpl.AddItem("vlmrbutton1132", item.caption, (DWORD)item.id, kButton, x, 6, 14, 14);
        x += 15;
    }
    tpl.AddItem("Edit", "", 1047, WS_VISIBLE | WS_TABSTOP | WS_BORDER, 6, 22, 188, 12);
    return tpl;
}

struct Command {
    WORD id;
    WORD code;
    HWND control;
    bool operator==(const Command&) const = default;
};

void PrintTo(const Command& c, std::ostream* os) { *os << "{id " << c.id << ", code " << c.code << "}"; }

struct ColourAsk {
    UINT message;
    WPARAM dc;
    LPARAM control;
    bool operator==(const ColourAsk&) const = default;
};

std::vector<Command> s_commands;
std::vector<ColourAsk> s_colourAsks;
HBRUSH s_colourAnswer = nullptr; // the dialog's answer to every colour message

bool IsColourMessage(UINT message)
{
    for (const char* name : {CTL_CTLCOLOR_EDIT_NAME, CTL_CTLCOLOR_LISTBOX_NAME, CTL_CTLCOLOR_BTN_NAME,
                             CTL_CTLCOLOR_DLG_NAME, CTL_CTLCOLOR_SCROLLBAR_NAME, CTL_CTLCOLOR_STATIC_NAME})
        if (message == RegisterWindowMessageA(name))
            return true;
    return false;
}

INT_PTR CALLBACK RecordingProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND) {
        s_commands.push_back({LOWORD(wParam), HIWORD(wParam), (HWND)lParam});
        return TRUE;
    }
    if (message >= 0xC000 && IsColourMessage(message)) {
        s_colourAsks.push_back({message, wParam, lParam});
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, (LONG_PTR)s_colourAnswer);
        return TRUE;
    }
    return FALSE;
}

// Runs the dialog's waiting messages through the dialog manager, as a modeless dialog's loop does.
void PumpDialog(HWND dialog)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsWindow(dialog) && IsDialogMessageA(dialog, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string Text(HWND window)
{
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The tooltip window of the library's help for the dialog's controls.
HWND TooltipOf(HWND dialog)
{
    struct Search {
        HWND owner;
        HWND found;
    } search{dialog, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM lParam) -> BOOL {
            Search* s = (Search*)lParam;
            if (GetWindow(window, GW_OWNER) == s->owner && lstrcmpiA(ClassOf(window).c_str(), TOOLTIPS_CLASSA) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&search);
    return search.found;
}

// The help text of a control; nothing when it has no tool. Read in UTF-16: the ANSI message
// hands out only a short prefix of long texts.
std::optional<std::string> HelpText(HWND dialog, HWND control)
{
    HWND tip = TooltipOf(dialog);
    if (!tip)
        return std::nullopt;
    WCHAR text[1024] = L"";
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(control);
    tool.uId = (UINT_PTR)control;
    if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, (LPARAM)&tool))
        return std::nullopt;
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 1024, (LPARAM)&tool);
    char ansi[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, ansi, sizeof ansi, nullptr, nullptr);
    return std::string(ansi);
}

// A control drawn into a bitmap of its client size (WM_PRINTCLIENT): its pixels, 0x00RRGGBB.
std::vector<DWORD> Render(HWND control, int* width = nullptr)
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
    std::vector<DWORD> pixels((const DWORD*)bits, (const DWORD*)bits + rc.right * rc.bottom);
    for (DWORD& p : pixels)
        p &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    if (width)
        *width = rc.right;
    return pixels;
}

DWORD Pixel(COLORREF colour) { return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour); }

int CountPixels(const std::vector<DWORD>& pixels, DWORD value)
{
    int count = 0;
    for (DWORD p : pixels)
        count += p == value;
    return count;
}

// A modeless dialog of the test module, attended (the library leaves it alone) unless a test
// switches the unattended mode on for itself.
class LibraryDialog : public testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("VLCT11_UNATTENDED", nullptr);
        ASSERT_GE(CtlJobOpen(), 1);
        s_commands.clear();
        s_colourAsks.clear();
        s_colourAnswer = nullptr;
    }

    void TearDown() override
    {
        for (HWND dialog : m_dialogs)
            if (IsWindow(dialog))
                DestroyWindow(dialog);
        CtlJobClose();
        SetEnvironmentVariableA("VLCT11_UNATTENDED", "1");
    }

    HWND Open(const DialogTemplate& tpl, bool show = true)
    {
        HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), tpl.Get(), nullptr, RecordingProc, 0);
        if (dialog) {
            m_dialogs.push_back(dialog);
            if (show) {
                SetWindowPos(dialog, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
                SetForegroundWindow(dialog);
                UpdateWindow(dialog);
            }
            PumpDialog(dialog);
        }
        return dialog;
    }

    std::vector<HWND> m_dialogs;
};

TEST_F(LibraryDialog, TemplatesOfTheReminderWindowsLoad)
{
    HWND single = Open(ReminderTemplate(), false);
    ASSERT_NE(nullptr, single);
    EXPECT_EQ(0, lstrcmpiA("VlmrDialog1132", ClassOf(single).c_str()));
    struct Expected {
        int id;
        const char* className;
        const char* text;
    };
    const Expected items[] = {
        {1005, "VlmrStatic1132", ".tb: Info ~.xif"},
        {98, "vlmrbutton1132", "{&G}:Gehe zu Datensatz"},
        {18, "vlmrbutton1132", ""},
        {1067, "vlmrbutton1132", "&Bearbeiten..."},
        {1099, "VlmrHelpID1132", "157"},
    };
    for (const Expected& item : items) {
        SCOPED_TRACE(item.id);
        HWND control = GetDlgItem(single, item.id);
        ASSERT_NE(nullptr, control);
        EXPECT_EQ(0, lstrcmpiA(item.className, ClassOf(control).c_str())) << ClassOf(control);
        EXPECT_EQ(item.text, Text(control));
    }

    HWND collective = Open(CollectiveTemplate(), false);
    ASSERT_NE(nullptr, collective);
    EXPECT_EQ(0, lstrcmpiA("VlmrDialog21132", ClassOf(collective).c_str()));
    EXPECT_NE(0, GetWindowLongPtrA(collective, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_NE(nullptr, GetDlgItem(collective, 1005));
}

// Alt+G clicks the picture button "{&G}:Gehe zu Datensatz"; its text stays as it is.
TEST_F(LibraryDialog, AltMnemonicClicksThePictureButton)
{
    HWND dialog = Open(ReminderTemplate());
    ASSERT_NE(nullptr, dialog);
    HWND edit = GetDlgItem(dialog, 1039);
    SetFocus(edit);
    PumpDialog(dialog);
    s_commands.clear();
    // The character of Alt+G, as TranslateMessage makes it from the key.
    PostMessageA(edit, WM_SYSCHAR, 'g', 1 | (1 << 29));
    PumpDialog(dialog);
    ASSERT_EQ(1u, s_commands.size());
    EXPECT_EQ((Command{98, BN_CLICKED, GetDlgItem(dialog, 98)}), s_commands[0]);
    EXPECT_EQ("{&G}:Gehe zu Datensatz", Text(GetDlgItem(dialog, 98)));
}

// ":Fett" has no mnemonic: Alt+F clicks nothing.
TEST_F(LibraryDialog, PictureWithoutMnemonicIsNotClickedByAlt)
{
    HWND dialog = Open(FormatBarTemplate());
    ASSERT_NE(nullptr, dialog);
    HWND edit = GetDlgItem(dialog, 1047);
    SetFocus(edit);
    PumpDialog(dialog);
    s_commands.clear();
    PostMessageA(edit, WM_SYSCHAR, 'f', 1 | (1 << 29));
    PumpDialog(dialog);
    for (const Command& c : s_commands)
        EXPECT_NE(142, c.id);
}

TEST_F(LibraryDialog, PictureButtonsCarryTheirTooltips)
{
    HWND dialog = Open(ReminderTemplate(), false);
    ASSERT_NE(nullptr, dialog);
    struct Tip {
        int id;
        std::optional<std::string> text;
    };
    const Tip tips[] = {
        {98, "Gehe zu Datensatz"}, {183, "Bemerkungsfeld erg\xE4nzen"}, {161, "Datensatz l\xF6schen."},
        {18, std::nullopt},        {1067, std::nullopt},
    };
    for (const Tip& tip : tips) {
        SCOPED_TRACE(tip.id);
        EXPECT_EQ(tip.text, HelpText(dialog, GetDlgItem(dialog, tip.id)));
    }
    HWND formatBar = Open(FormatBarTemplate(), false);
    EXPECT_EQ(std::optional<std::string>("Fett"), HelpText(formatBar, GetDlgItem(formatBar, 142)));
    EXPECT_EQ(std::optional<std::string>("Aufz\xE4hlung"), HelpText(formatBar, GetDlgItem(formatBar, 149)));

    // A new caption brings its new tooltip.
    SetWindowTextA(GetDlgItem(dialog, 98), "{&G}:Gehe zum verkn\xFCpften Datensatz");
    EXPECT_EQ(std::optional<std::string>("Gehe zum verkn\xFCpften Datensatz"),
              HelpText(dialog, GetDlgItem(dialog, 98)));
}

TEST_F(LibraryDialog, PictureButtonStatesAndClicks)
{
    HWND dialog = Open(FormatBarTemplate());
    ASSERT_NE(nullptr, dialog);
    HWND bold = GetDlgItem(dialog, 142);
    EXPECT_EQ(0, SendMessageA(bold, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageA(bold, BM_SETSTATE, TRUE, 0);
    EXPECT_EQ(BST_PUSHED, SendMessageA(bold, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageA(bold, BM_SETSTATE, FALSE, 0);
    EXPECT_EQ(0, SendMessageA(bold, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, SendMessageA(bold, WM_GETDLGCODE, 0, 0));

    // Mouse: a press and release inside clicks; released outside does not.
    s_commands.clear();
    SendMessageA(bold, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(BST_PUSHED, SendMessageA(bold, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageA(bold, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    SendMessageA(bold, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(bold, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 5));
    EXPECT_EQ(0, SendMessageA(bold, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SendMessageA(bold, WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    // Space and BM_CLICK click; a disabled button takes no BM_CLICK.
    SendMessageA(bold, WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(bold, WM_KEYUP, VK_SPACE, 0);
    SendMessageA(bold, BM_CLICK, 0, 0);
    EnableWindow(bold, FALSE);
    SendMessageA(bold, BM_CLICK, 0, 0);
    EnableWindow(bold, TRUE);
    EXPECT_EQ((std::vector<Command>{{142, BN_CLICKED, bold}, {142, BN_CLICKED, bold}, {142, BN_CLICKED, bold}}),
              s_commands);
}

// The delete picture is red; disabled it is drawn in grey without its colour.
TEST_F(LibraryDialog, DisabledPictureIsGreyed)
{
    HWND dialog = Open(ReminderTemplate(), false);
    HWND erase = GetDlgItem(dialog, 161);
    const DWORD red = 0xC80000;
    const DWORD shadow = Pixel(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_GT(CountPixels(Render(erase), red), 20);
    EnableWindow(erase, FALSE);
    const std::vector<DWORD> disabled = Render(erase);
    EXPECT_EQ(0, CountPixels(disabled, red));
    EXPECT_GT(CountPixels(disabled, shadow), 20);
}

TEST_F(LibraryDialog, HelpIdMarkerIsNeverShownOrFocused)
{
    HWND dialog = Open(ReminderTemplate());
    HWND marker = GetDlgItem(dialog, 1099);
    ASSERT_NE(nullptr, marker);
    EXPECT_EQ("157", Text(marker));
    RECT area;
    GetWindowRect(marker, &area);
    EXPECT_TRUE(IsRectEmpty(&area)) << "no area to paint";
    ShowWindow(marker, SW_SHOW);
    SetWindowPos(marker, nullptr, 0, 0, 50, 50, SWP_NOZORDER);
    GetWindowRect(marker, &area);
    EXPECT_TRUE(IsRectEmpty(&area)) << "no area to paint";
    EXPECT_EQ(0, GetWindowLongPtrA(marker, GWL_STYLE) & WS_TABSTOP);
    SetFocus(marker);
    EXPECT_NE(marker, GetFocus());
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    HWND item = first;
    for (int i = 0; i < 40 && item; ++i) {
        EXPECT_NE(marker, item);
        item = GetNextDlgTabItem(dialog, item, FALSE);
        if (item == first)
            break;
    }
}

// Each WM_CTLCOLOR message a dialog of the library gets becomes the registered message of its
// type, sent to the dialog with the same device context and control.
TEST_F(LibraryDialog, ColourMessagesReachTheDialogWithTheirType)
{
    HWND dialog = Open(ReminderTemplate(), false);
    HWND edit = GetDlgItem(dialog, 1039);
    HDC dc = GetDC(edit);
    const struct {
        UINT system;
        const char* name;
        int type;
    } kinds[] = {
        {WM_CTLCOLOREDIT, CTL_CTLCOLOR_EDIT_NAME, 1},   {WM_CTLCOLORLISTBOX, CTL_CTLCOLOR_LISTBOX_NAME, 2},
        {WM_CTLCOLORBTN, CTL_CTLCOLOR_BTN_NAME, 3},     {WM_CTLCOLORDLG, CTL_CTLCOLOR_DLG_NAME, 4},
        {WM_CTLCOLORSCROLLBAR, CTL_CTLCOLOR_SCROLLBAR_NAME, 5}, {WM_CTLCOLORSTATIC, CTL_CTLCOLOR_STATIC_NAME, 6},
    };
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        EXPECT_EQ(kind.type, (int)(kind.system - WM_CTLCOLORMSGBOX));
        s_colourAsks.clear();
        s_colourAnswer = red;
        EXPECT_EQ((LRESULT)red, SendMessageA(dialog, kind.system, (WPARAM)dc, (LPARAM)edit));
        EXPECT_EQ((std::vector<ColourAsk>{{RegisterWindowMessageA(kind.name), (WPARAM)dc, (LPARAM)edit}}),
                  s_colourAsks);
        s_colourAnswer = nullptr;
        EXPECT_NE(0, SendMessageA(dialog, kind.system, (WPARAM)dc, (LPARAM)edit)) << "the usual brush";
    }
    DeleteObject(red);
    ReleaseDC(edit, dc);
}

// The library's static and picture buttons take the dialog's brush; 0 gives the library's colour.
TEST_F(LibraryDialog, ControlsPaintWithTheDialogsBrush)
{
    HWND dialog = Open(ReminderTemplate(), false);
    const DWORD red = 0xFF0000;
    const DWORD library = Pixel(CtlTools_rgbBkgnd());
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    for (int id : {1005, 98}) {
        SCOPED_TRACE(id);
        HWND control = GetDlgItem(dialog, id);
        s_colourAsks.clear();
        s_colourAnswer = brush;
        std::vector<DWORD> pixels = Render(control);
        EXPECT_EQ(red, pixels[0]) << "corner pixel";
        ASSERT_FALSE(s_colourAsks.empty());
        EXPECT_EQ(RegisterWindowMessageA(id == 1005 ? CTL_CTLCOLOR_STATIC_NAME : CTL_CTLCOLOR_BTN_NAME),
                  s_colourAsks[0].message);
        EXPECT_EQ((LPARAM)control, s_colourAsks[0].control);
        s_colourAnswer = nullptr;
        EXPECT_EQ(library, Render(control)[0]) << "corner pixel";
    }
    DeleteObject(brush);
}

// The panel's bitmaps come from the module that made the dialog; unknown names show nothing.
TEST_F(LibraryDialog, StaticDrawsTheDialogModulesBitmaps)
{
    HWND dialog = Open(ReminderTemplate(), false);
    HWND panel = GetDlgItem(dialog, 1005);
    const DWORD blue = 0x0040B0; // the info picture's colour
    SetWindowTextA(panel, ".f,0~.b:IDB_INFO~.w:22~.f,1~.t:Text~.xi");
    EXPECT_GT(CountPixels(Render(panel), blue), 50);
    SetWindowTextA(panel, ".f,0~.b:IDB_UNBEKANNT~.w:22~.f,1~.t:Text~.xi");
    EXPECT_EQ(0, CountPixels(Render(panel), blue));
    const DWORD magenta = 0xFF00FF; // the bitmaps' transparent colour
    SetWindowTextA(panel, ".b:IDB_PRIV_I~.b:IDB_REPEAT_I~.xi");
    EXPECT_EQ(0, CountPixels(Render(panel), magenta));
}

TEST_F(LibraryDialog, HoverHelpIsAttachedReplacedAndGoesWithTheControl)
{
    const int previous = CtlSetHelpWindowDelay(250);
    EXPECT_EQ(250, CtlSetHelpWindowDelay(250));
    HWND dialog = Open(ReminderTemplate(), false);
    HWND postpone = GetDlgItem(dialog, 1065), move = GetDlgItem(dialog, 1071);
    ASSERT_TRUE(CtlAttachHelpWindowA(postpone, kHelp50100, 0));
    HWND tip = TooltipOf(dialog);
    ASSERT_NE(nullptr, tip);
    EXPECT_EQ(250, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(250, CtlSetHelpWindowDelay(600));
    ASSERT_TRUE(CtlAttachHelpWindowA(move, kHelp50101, 0));
    EXPECT_EQ(600, SendMessageA(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0));
    EXPECT_EQ(std::optional<std::string>(kHelp50100), HelpText(dialog, postpone));
    EXPECT_EQ(std::optional<std::string>(kHelp50101), HelpText(dialog, move));
    EXPECT_LE(SendMessageA(tip, TTM_GETMAXTIPWIDTH, 0, 0), 400) << "long texts wrap";

    const LRESULT tools = SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0);
    ASSERT_TRUE(CtlAttachHelpWindowA(postpone, "Neuer Text", 0));
    EXPECT_EQ(std::optional<std::string>("Neuer Text"), HelpText(dialog, postpone));
    EXPECT_EQ(tools, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0)) << "replaced, not added";

    DestroyWindow(move);
    EXPECT_EQ(tools - 1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_TRUE(CtlAttachHelpWindowA(postpone, "", 0));
    EXPECT_EQ(std::nullopt, HelpText(dialog, postpone));
    EXPECT_FALSE(CtlAttachHelpWindowA(nullptr, "Text", 0));
    EXPECT_EQ(-1, CtlSetHelpWindowDelay(-5));
    EXPECT_EQ(600, CtlSetHelpWindowDelay(previous));
}

// Unattended, the library answers a dialog of its classes (here with its "S&chließen" button 1);
// the entry KEEP leaves it open for the test and logs that.
TEST_F(LibraryDialog, KeepEntryLeavesTheDialogOpenUnattended)
{
    oxtest::CtlLog log;
    for (const char* script : {"", "KEEP"}) {
        SCOPED_TRACE(script);
        log.Clear();
        log.SetDialogAnswers(script);
        s_commands.clear();
        HWND dialog = Open(ReminderTemplate(), false);
        ASSERT_NE(nullptr, dialog);
        PumpDialog(dialog);
        if (*script) {
            EXPECT_TRUE(s_commands.empty());
            EXPECT_EQ((std::vector<oxtest::CtlLog::Record>{{"DialogKept", "Erinnerung - Besprechung"}}),
                      log.Records());
        } else {
            // Answered with "S&chließen"; this test's dialog refuses to end, so the answers repeat.
            ASSERT_FALSE(s_commands.empty());
            EXPECT_EQ((Command{1, BN_CLICKED, GetDlgItem(dialog, 1)}), s_commands[0]);
            EXPECT_FALSE(log.Records("Dialog").empty());
            EXPECT_TRUE(log.Records("DialogKept").empty());
        }
        DestroyWindow(dialog);
    }
}

std::string Fill(const char* format, const char* a, const char* b = "", const char* c = "", const char* d = "",
                 const char* e = "", const char* f = "")
{
    char buffer[2048];
    std::snprintf(buffer, sizeof buffer, format, a, b, c, d, e, f);
    return buffer;
}

RECT ScreenRectOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return rect;
}

// Pumps until the condition holds or 5 seconds passed (waiting on the message queue).
template <typename Condition>
bool PumpUntil(HWND dialog, Condition condition)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 5000)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        PumpDialog(dialog);
    }
    return true;
}

// The mouse resting on a control with hover help shows its text (after the delay).
TEST_F(LibraryDialog, HoverHelpAppearsWhenTheMouseRests)
{
    const int previous = CtlSetHelpWindowDelay(100);
    HWND dialog = Open(ReminderTemplate());
    ASSERT_NE(nullptr, dialog);
    HWND postpone = GetDlgItem(dialog, 1065);
    ASSERT_TRUE(CtlAttachHelpWindowA(postpone, kHelp50100, 0));
    HWND tip = TooltipOf(dialog);
    ASSERT_NE(nullptr, tip);
    EXPECT_FALSE(IsWindowVisible(tip));
    RECT button = ScreenRectOf(postpone);
    SetCursorPos(button.left + 3, button.top + 3);
    PumpDialog(dialog);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    EXPECT_TRUE(PumpUntil(dialog, [&] { return IsWindowVisible(tip) != FALSE; })) << "tooltip shown";
    RECT shown = ScreenRectOf(tip);
    EXPECT_LE(shown.right - shown.left, 360) << "the long text wraps";
    CtlSetHelpWindowDelay(previous);
}

// The single reminder window's look: the info panel of an appointment and the picture buttons,
// the "go to record" button hot with its tooltip shown.
TEST_F(LibraryDialog, ScreenshotOfTheReminderWindow)
{
    HWND dialog = Open(ReminderTemplate());
    ASSERT_NE(nullptr, dialog);
    const char* panel =
        ".f,0~.w:4~.f,1~.w:22~.b:%s~.f,2~.w:22~.b:%s~.l~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Am:~.f,2~.tf(Arial,8):%s"
        "~.l%s%s~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Betreff:~.f,2~.tf(Arial,8):%s~.xif";
    const std::string with = Fill("~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Mit:~.f,2~.tf(Arial,8):%s~.l", "Herr Kunz");
    const std::string place = Fill("~.f,0~.w:4~.f,1~.w:60~.tf(Arial,8)b:Ort:~.f,2~.tf(Arial,8):%s~.l", "Raum 3");
    SetDlgItemTextA(dialog, 1005,
                    Fill(panel, "IDB_PRIV_I", "IDB_REPEAT_I", "Mo 14.12.26  um  09:00 - 10:00 Uhr", with.c_str(),
                         place.c_str(), "Besprechung mit dem Vertrieb")
                        .c_str());
    CtlAttachHelpWindowA(GetDlgItem(dialog, 1065), kHelp50100, 0);
    HWND go = GetDlgItem(dialog, 98);
    RECT button = ScreenRectOf(go);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    SendMessageA(go, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    HWND tip = TooltipOf(dialog);
    ASSERT_NE(nullptr, tip);
    SendMessageA(tip, TTM_POPUP, 0, 0);
    EXPECT_TRUE(PumpUntil(dialog, [&] { return IsWindowVisible(tip) != FALSE; })) << "tooltip shown";
    EXPECT_NE(0, SendMessageA(go, BM_GETSTATE, 0, 0) & 0x0200) << "hot";
    RECT shot = ScreenRectOf(dialog), tipRect = ScreenRectOf(tip);
    UnionRect(&shot, &shot, &tipRect);
    EXPECT_FALSE(oxtest::SaveScreenPng(shot, "reminder_window").empty());
}

TEST_F(LibraryDialog, ScreenshotOfTheFormatBar)
{
    HWND dialog = Open(FormatBarTemplate());
    ASSERT_NE(nullptr, dialog);
    SendDlgItemMessageA(dialog, 142, BM_SETSTATE, TRUE, 0);
    EnableWindow(GetDlgItem(dialog, 154), FALSE);
    UpdateWindow(dialog);
    PumpDialog(dialog);
    EXPECT_FALSE(oxtest::SaveScreenPng(ScreenRectOf(dialog), "format_bar").empty());
}

TEST_F(LibraryDialog, ScreenshotOfTheCollectiveWindow)
{
    HWND dialog = Open(CollectiveTemplate());
    ASSERT_NE(nullptr, dialog);
    UpdateWindow(dialog);
    PumpDialog(dialog);
    EXPECT_FALSE(oxtest::SaveScreenPng(ScreenRectOf(dialog), "collective_window").empty());
}

} // namespace
