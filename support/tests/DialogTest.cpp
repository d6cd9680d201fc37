// The dialog base class: templates by language, modal and modeless creation with the hand-over,
// the Close box rules, the routing of commands by control kind, help, and the item helpers.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ChannelLines.h"
#include "TestKit.h"
#include "clsDialog.h"
#include "vlCT11.h"

namespace {

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

bool AnyLineContains(const std::vector<std::string>& lines, const std::string& text)
{
    for (const std::string& line : lines)
        if (line.find(text) != std::string::npos)
            return true;
    return false;
}

// Records which handler each message reached.
class RecordingDialog : public clsDialog {
public:
    RecordingDialog(const char* name, bool modal, HWND parent = nullptr)
        : clsDialog(Module(), name, parent, Module(), 0, 0, modal)
    {
    }

    std::vector<std::string> calls;
    std::function<void(RecordingDialog&)> afterInit;
    std::string caption;
    LONG_PTR style = 0;
    UINT closeState = 0;

    int OnInitDialog(HWND focus) override
    {
        const int result = clsDialog::OnInitDialog(focus);
        char text[64] = {};
        GetWindowTextA(Window(), text, sizeof text);
        caption = text;
        style = GetWindowLongPtrA(Window(), GWL_STYLE);
        closeState = GetMenuState(GetSystemMenu(Window(), FALSE), SC_CLOSE, MF_BYCOMMAND);
        if (afterInit)
            afterInit(*this);
        return result;
    }
    void OnHelp() override { calls.push_back("help"); }
    int OnCommand(int code, HWND control, int id) override
    {
        calls.push_back("command " + std::to_string(id));
        return clsDialog::OnCommand(code, control, id);
    }
    int OnEditCommand(int, HWND, int id) override { return Record("edit", id); }
    int OnListCommand(int, HWND, int id) override { return Record("list", id); }
    int OnComboCommand(int, HWND, int id) override { return Record("combo", id); }
    int OnCommandNotify0(int, HWND, int id) override { return Record("notify0", id); }
    int OnCommandNotify1(int, HWND, int id) override { return Record("notify1", id); }
    int OnOtherCommand(int, HWND, int id) override { return Record("other", id); }

    void PostClose() { PostMessageA(Window(), WM_CLOSE, 0, 0); }

private:
    int Record(const char* what, int id)
    {
        calls.push_back(std::string(what) + " " + std::to_string(id));
        return 0;
    }
};

// A class of the system's controls under another name (the controls library's list and combo
// classes are known by their name prefixes).
void RegisterSuperclass(const char* base, const char* name)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    ASSERT_TRUE(GetClassInfoExA(nullptr, base, &wc));
    wc.hInstance = Module();
    wc.lpszClassName = name;
    wc.style &= ~CS_GLOBALCLASS;
    RegisterClassExA(&wc);
}

class Dialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        supporttest::TakeDebugLines();
        CtlJobOpen();
        RegisterSuperclass("COMBOBOX", "VLMRCOMBOTEST");
        RegisterSuperclass("LISTBOX", "VLMRBROWSERTEST");
    }
    void TearDown() override
    {
        oxtest::PumpMessages();
        CtlJobClose();
    }
};

} // namespace

TEST_F(Dialog, TemplatesAreFoundByLanguage)
{
    const LCID saved = GetThreadLocale();
    SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
    struct Case {
        const char* name;
        WORD language;         // asked for
        WORD expectedLanguage; // of the resource found
    } cases[] = {
        {"NEUTRALONLY", 0, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
        {"TWOLANG", 0, MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL)},
        {"NEUTRALONLY", MAKELANGID(LANG_GERMAN, SUBLANG_NEUTRAL), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HRSRC found = clsDialog::LoadResource(Module(), c.language, c.name);
        EXPECT_EQ(FindResourceExA(Module(), RT_DIALOG, c.name, c.expectedLanguage), found);
        EXPECT_NE(nullptr, found);
    }
    RecordingDialog german("TWOLANG", true);
    german.afterInit = [](RecordingDialog& d) { d.PostClose(); };
    EXPECT_EQ(IDCANCEL, german.DoModal());
    EXPECT_EQ("deutsch", german.caption);
    SetThreadLocale(saved);

    // A template in no language: a debug line, and -1 from DoModal.
    supporttest::TakeDebugLines();
    EXPECT_EQ(nullptr, clsDialog::LoadResource(Module(), 0, "MISSING"));
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(), ",0x0000,MISSING): cannot find dialog: 0x"));
    RecordingDialog missing("MISSING", true);
    EXPECT_EQ(-1, missing.DoModal());
    const std::vector<std::string> lines = supporttest::TakeDebugLines();
    EXPECT_TRUE(AnyLineContains(lines, "clsDialog::DialogBoxParam: LoadResource() failed"));
    EXPECT_TRUE(AnyLineContains(lines, "DLG: cannot create dialog 'MISSING'"));
}

TEST_F(Dialog, ModalAndModelessObjectsRefuseTheOtherCreation)
{
    RecordingDialog modeless("OKCANCEL", false);
    EXPECT_EQ(0, modeless.DoModal());
    EXPECT_EQ(nullptr, modeless.Window());
    RecordingDialog modal("OKCANCEL", true);
    EXPECT_EQ(nullptr, modal.Create());
    EXPECT_TRUE(modal.calls.empty());
}

TEST_F(Dialog, CloseBoxFollowsTheButtonsOfTheDialog)
{
    struct Case {
        const char* name;
        INT_PTR endCode;
        bool systemMenu;
        bool closeGreyed;
    } cases[] = {
        {"OKCANCEL", IDCANCEL, true, false},  // Close cancels
        {"OKONLY", IDOK, true, false},        // Close presses OK
        {"NEITHER", IDCANCEL, true, true},    // a caption gains the system menu, Close greyed
        {"NEITHERSYS", IDCANCEL, false, false}, // the system menu goes: nothing could close it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDialog dialog(c.name, true);
        dialog.afterInit = [](RecordingDialog& d) { d.PostClose(); };
        EXPECT_EQ(c.endCode, dialog.DoModal());
        EXPECT_EQ(c.systemMenu, (dialog.style & WS_SYSMENU) != 0);
        if (c.systemMenu) {
            EXPECT_EQ(c.closeGreyed, (dialog.closeState & MF_GRAYED) != 0);
        }
        EXPECT_EQ(nullptr, dialog.Window());
    }
}

TEST_F(Dialog, SecondCreationDuringTheHandOverIsRefused)
{
    // A window hook runs between the creation of the dialog window and its first message, while
    // the hand-over is published: a second dialog made there is refused.
    static INT_PTR nested = 0;
    static bool tried = false;
    nested = 0;
    tried = false;
    HHOOK hook = SetWindowsHookExA(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            if (code == HCBT_CREATEWND && !tried) {
                char name[16] = {};
                GetClassNameA((HWND)wParam, name, sizeof name);
                if (std::string(name) == "#32770") {
                    tried = true;
                    RecordingDialog second("OKCANCEL", true);
                    nested = second.DoModal();
                }
            }
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hook);
    RecordingDialog first("OKCANCEL", true);
    first.afterInit = [](RecordingDialog& d) { d.PostClose(); };
    const INT_PTR result = first.DoModal();
    UnhookWindowsHookEx(hook);
    EXPECT_TRUE(tried);
    EXPECT_EQ(-1, nested);
    EXPECT_EQ(IDCANCEL, result) << "the first dialog runs as usual";
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(), "DANGER: __pParam != NULL"));

    // The hand-over was released: the next dialog is made as usual.
    RecordingDialog next("OKCANCEL", true);
    next.afterInit = [](RecordingDialog& d) { d.PostClose(); };
    EXPECT_EQ(IDCANCEL, next.DoModal());
}

TEST_F(Dialog, CommandsAreRoutedByTheKindOfControl)
{
    RecordingDialog dialog("ROUTING", false);
    ASSERT_NE(nullptr, dialog.Create());
    HWND window = dialog.Window();
    struct Case {
        int id;
        int code;
        std::vector<std::string> calls;
    } cases[] = {
        {10, BN_CLICKED, {"command 10"}},     // the controls library's button
        {11, BN_CLICKED, {"command 11"}},     // the system's button
        {12, EN_CHANGE, {"edit 12"}},         // edits take selections
        {13, CBN_SELCHANGE, {"combo 13"}},
        {14, CBN_SELCHANGE, {"combo 14"}},    // "VLMRCOMBO..."
        {15, LBN_SELCHANGE, {"list 15"}},
        {16, LBN_SELCHANGE, {"list 16"}},     // "VLMRBROWSER..."
        {17, STN_CLICKED, {"notify0 17", "other 17"}},
        {17, 1, {"notify1 17", "other 17"}},
        {17, 5, {"other 17"}},
        {0x12, BN_CLICKED, {"help"}},         // the help command, whatever sends it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        dialog.calls.clear();
        HWND control = GetDlgItem(window, c.id == 0x12 ? 11 : c.id);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(c.id, c.code), (LPARAM)control);
        EXPECT_EQ(c.calls, dialog.calls);
    }
    // A click moves the focus to the button.
    SetFocus(GetDlgItem(window, 12));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(10, BN_CLICKED), (LPARAM)GetDlgItem(window, 10));
    EXPECT_EQ(GetDlgItem(window, 10), GetFocus());

    dialog.calls.clear();
    SendMessageA(window, clsDialog::HelpMessage(), 0, 0);
    EXPECT_EQ(std::vector<std::string>{"help"}, dialog.calls);

    dialog.EndDialog(IDOK);
    EXPECT_FALSE(IsWindow(window)) << "a modeless dialog is destroyed";
    EXPECT_EQ(nullptr, dialog.Window());
}

TEST_F(Dialog, ItemHelpers)
{
    RecordingDialog dialog("ROUTING", false);
    ASSERT_NE(nullptr, dialog.Create());
    HWND edit = GetDlgItem(dialog.Window(), 12);

    dialog.SetItemText(12, "Hallo");
    SendMessageA(edit, EM_SETSEL, 5, 5);
    dialog.SetItemText(12, " Welt", true);
    String text;
    dialog.GetItemText(12, text);
    EXPECT_STREQ("Hallo Welt", text);
    dialog.SetItemText(12, String(""));
    dialog.GetItemString(12, text);
    EXPECT_STREQ("", text);

    dialog.LimitItemText(12, 7);
    EXPECT_EQ(7, SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));

    supporttest::TakeDebugLines();
    EXPECT_EQ(nullptr, dialog.GetItem(99, true));
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(), "): GetDlgItem(99) returns NULL"));
    EXPECT_EQ(edit, dialog.GetItem(12, true));

    // A click on a disabled button does nothing; a posted click arrives with the next messages.
    dialog.calls.clear();
    EnableWindow(GetDlgItem(dialog.Window(), 11), FALSE);
    dialog.ClickButton(11, true);
    EXPECT_TRUE(dialog.calls.empty());
    dialog.ClickButton(10, false);
    EXPECT_TRUE(dialog.calls.empty());
    oxtest::PumpMessages();
    EXPECT_EQ(std::vector<std::string>{"command 10"}, dialog.calls);
    dialog.EndDialog(IDCANCEL);
}

TEST_F(Dialog, ParentThatIsNoWindowIsDropped)
{
    RecordingDialog dialog("OKCANCEL", true, (HWND)(intptr_t)0x4321);
    EXPECT_TRUE(AnyLineContains(supporttest::TakeDebugLines(),
                                "clsDialog()::ct(): invalid parent handle passed (is non-NULL, but not a window)!"));
    dialog.afterInit = [](RecordingDialog& d) { d.PostClose(); };
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
}
