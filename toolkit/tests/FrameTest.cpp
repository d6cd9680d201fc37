// The toolkit frame with its menu bar: docking through the frame helper, the keys of the menu
// bar, the message filter of popup loops, and the menu bar worked with real mouse and keys.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>

#include "CDemoFrame.h"
#include "CTkAccelManager.h"
#include "CTkCustomizeManager.h"
#include "CTkDockBar.h"
#include "CTkFrameWnd.h"
#include "CTkGlobalData.h"
#include "CTkMiniDockFrameWnd.h"
#include "CTkPopupMenu.h"
#include "CTkRegistryHelper.h"
#include "CTkToolsManager.h"
#include "TestKit.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kProgramStyle = 0x50402834; // the program's window and bar style of its menu bar

// A frame that handles "Neuer Termin..." (commands without a handler are disabled in menus).
class CTestFrame : public CTkFrameWnd {
public:
    UINT m_nLastCommand = 0;
    afx_msg void OnNewAppointment() { m_nLastCommand = ID_NEW_APPOINTMENT; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CTkFrameWnd)
ON_COMMAND(ID_NEW_APPOINTMENT, OnNewAppointment)
END_MESSAGE_MAP()

// Dispatches waiting messages the way the program's loop does (the frame translates first).
void Pump(CFrameWnd* pFrame)
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (pFrame != NULL && pFrame->m_hWnd != NULL && pFrame->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void SendMouse(CPoint pt, DWORD dwButtons)
{
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    int n = 0;
    input[n].type = INPUT_MOUSE;
    input[n].mi.dx = pt.x * 65535 / (cxScreen - 1);
    input[n].mi.dy = pt.y * 65535 / (cyScreen - 1);
    input[n++].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    if (dwButtons) {
        input[n] = input[0];
        input[n++].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        input[n] = input[0];
        input[n++].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    }
    ::SendInput(n, input, sizeof(INPUT));
}

void SendKey(WORD vk)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_KEYBOARD;
    input[0].ki.wVk = input[1].ki.wVk = vk;
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, input, sizeof(INPUT));
}

// The visible popup menu windows.
std::vector<HWND> PopupWindows()
{
    std::vector<HWND> popups;
    for (HWND h = ::FindWindowExA(NULL, NULL, "#32768", NULL); h != NULL; h = ::FindWindowExA(NULL, h, "#32768", NULL)) {
        if (::IsWindowVisible(h))
            popups.push_back(h);
    }
    return popups;
}

void SetModifiers(bool bShift, bool bCtrl, bool bAlt)
{
    BYTE keys[256] = {};
    keys[VK_SHIFT] = bShift ? 0x80 : 0;
    keys[VK_CONTROL] = bCtrl ? 0x80 : 0;
    keys[VK_MENU] = bAlt ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

// A script of steps run from a thread timer, so that it also goes on inside popup loops: each
// step waits until its condition holds, then acts.
struct ScriptStep {
    const char* pszName;
    std::function<bool()> ready;
    std::function<void()> act;
};
struct Script {
    std::vector<ScriptStep> steps;
    size_t nNext = 0;
    int nTicks = 0;
    bool bTimedOut = false;
};
Script* g_pScript = NULL;

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    Script& s = *g_pScript;
    if (s.nNext >= s.steps.size())
        return;
    if (++s.nTicks > 1500) { // far beyond any step; ends a stuck popup so the test can fail
        s.bTimedOut = true;
        ::EndMenu();
        return;
    }
    if (s.steps[s.nNext].ready()) {
        s.nTicks = 0;
        s.steps[s.nNext++].act();
    }
}

// Runs the script; answers the name of the step that never became ready, or "".
std::string RunScript(Script& script, CFrameWnd* pFrame)
{
    g_pScript = &script;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, ScriptTimer);
    while (script.nNext < script.steps.size() && !script.bTimedOut) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        Pump(pFrame);
    }
    ::KillTimer(NULL, nTimer);
    g_pScript = NULL;
    Pump(pFrame);
    return script.nNext < script.steps.size() ? script.steps[script.nNext].pszName : "";
}

} // namespace

// A toolkit frame as the program makes it: menu 128 on the menu bar 59480 (the helper's own
// object), docking top and bottom, the bar docked at the top.
class FrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CTestFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 400), NULL,
                                     MAKEINTRESOURCE(IDR_MAINFRAME)));
        CTkMenuBar& bar = m_pFrame->m_menuBar;
        ASSERT_TRUE(bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
        ASSERT_TRUE(bar.LoadMenuBar(IDR_MAINFRAME));
        bar.EnableDocking(0xA000, 0x306B);
        m_pFrame->EnableDocking(0xA000);
        m_pFrame->DockControlBar(&bar, 0, NULL);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->SetForegroundWindow();
        m_pFrame->SetFocus();
        m_pFrame->RecalcLayout();
        Pump(m_pFrame);
    }
    void TearDown() override
    {
        SetModifiers(false, false, false);
        if (m_pFrame != NULL && m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
        Pump(m_pFrame);
    }
    CTkMenuBar& Bar() { return m_pFrame->m_menuBar; }
    // The screen point in the middle of a title.
    CPoint TitlePoint(int nItem)
    {
        CPoint pt = Bar().GetItemRect(nItem).CenterPoint();
        Bar().ClientToScreen(&pt);
        return pt;
    }

    CTestFrame* m_pFrame = NULL;
};

TEST_F(FrameTest, DockBarsMenuBarAndMenu)
{
    // top and bottom only, toolkit dock bars, the toolkit's floating frames
    EXPECT_EQ(RUNTIME_CLASS(CTkMiniDockFrameWnd), m_pFrame->m_pFloatingFrameClass);
    CControlBar* pTop = m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(nullptr, pTop);
    EXPECT_TRUE(pTop->IsKindOf(RUNTIME_CLASS(CTkDockBar)));
    EXPECT_NE(nullptr, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM));
    EXPECT_EQ(nullptr, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_EQ(nullptr, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT));
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(pTop, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP)); // left alone
    EXPECT_NE(nullptr, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    EXPECT_NE(nullptr, m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_RIGHT));

    EXPECT_EQ(&Bar(), m_pFrame->GetMenuBar());
    EXPECT_EQ(pTop->m_hWnd, ::GetParent(Bar().m_hWnd));
    // no window menu: the menu is the one the bar shows
    EXPECT_EQ(nullptr, ::GetMenu(m_pFrame->m_hWnd));
    ASSERT_NE(nullptr, m_pFrame->GetMenu());
    EXPECT_EQ(Bar().m_hMenu, m_pFrame->GetMenu()->m_hMenu);

    // a bottom bar docked with id 0 goes to the bottom dock bar; a bar docked left of another
    // follows it in its row
    CToolBar bottom, first, second;
    ASSERT_TRUE(bottom.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, CRect(0, 0, 0, 0), 0xE801));
    ASSERT_TRUE(first.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE802));
    ASSERT_TRUE(second.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0), 0xE803));
    for (CToolBar* p : {&bottom, &first, &second}) {
        ASSERT_TRUE(p->LoadToolBar(IDR_MAINFRAME));
        p->EnableDocking(CBRS_ALIGN_ANY);
    }
    m_pFrame->DockControlBar(&bottom, 0, NULL);
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, ::GetDlgCtrlID(::GetParent(bottom.m_hWnd)));
    m_pFrame->DockControlBar(&first, 0, NULL);
    m_pFrame->DockControlBar(&second, 0, NULL); // a row of its own below
    m_pFrame->DockControlBarLeftOf(&second, &first);
    CDockBar* pDock = (CDockBar*)pTop;
    int nFirst = pDock->FindBar(&first);
    ASSERT_GT(nFirst, 0);
    EXPECT_EQ(&second, pDock->m_arrBars[nFirst + 1]);
    for (CToolBar* p : {&bottom, &first, &second})
        p->DestroyWindow();
}

TEST(FrameCreateTest, NoFrameAfterTheCommonControlsCheckFailed)
{
    BOOL bOld = tkAfxData.bComCtlVersionFailed;
    for (BOOL bFailed : {TRUE, FALSE}) {
        tkAfxData.bComCtlVersionFailed = bFailed;
        CTkFrameWnd* pFrame = new CTkFrameWnd; // a failed creation deletes the object
        BOOL bCreated = pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100));
        EXPECT_EQ(!bFailed, bCreated);
        if (bCreated)
            pFrame->DestroyWindow();
    }
    tkAfxData.bComCtlVersionFailed = bOld;
}

// The keys the frame hands to the menu bar: what is consumed, the state and hot title after it,
// and which popup opened (a thread timer ends every popup at once and notes the open title).
namespace {
int g_nOpened = -1;
CTkMenuBar* g_pTimedBar = NULL;
void CALLBACK EndPopupTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pTimedBar != NULL && g_pTimedBar->m_nTrackingState == 2 && !PopupWindows().empty()) {
        g_nOpened = g_pTimedBar->m_nTrackedItem;
        ::EndMenu();
    }
}
} // namespace

TEST_F(FrameTest, TranslateFrameMessageTable)
{
    const LPARAM kAltBit = 1 << 29;
    struct Case {
        const char* pszName;
        int nState, nHot;
        bool bShift, bCtrl, bAlt;
        UINT message;
        WPARAM vk;
        LPARAM lParam;
        BOOL bResult;
        int nStateAfter, nHotAfter, nOpened;
    } cases[] = {
        {"Alt down", 0, -1, false, false, true, WM_SYSKEYDOWN, VK_MENU, kAltBit, TRUE, 0, -1, -1},
        {"Alt up: keyboard mode on the first title", 0, -1, false, false, false, WM_SYSKEYUP, VK_MENU, 0, TRUE, 1, 1, -1},
        {"Alt up again: mode ends", 1, 1, false, false, false, WM_SYSKEYUP, VK_MENU, 0, TRUE, 0, -1, -1},
        {"F10 down", 0, -1, false, false, false, WM_SYSKEYDOWN, VK_F10, 0, TRUE, 0, -1, -1},
        {"F10 up", 0, -1, false, false, false, WM_SYSKEYUP, VK_F10, 0, TRUE, 1, 1, -1},
        {"F10 up in keyboard mode", 1, 3, false, false, false, WM_SYSKEYUP, VK_F10, 0, TRUE, 0, -1, -1},
        {"F1 passes", 1, 1, false, false, false, WM_KEYDOWN, VK_F1, 0, FALSE, 1, 1, -1},
        {"F9 passes", 1, 1, false, false, false, WM_KEYDOWN, VK_F9, 0, FALSE, 1, 1, -1},
        {"F11 passes", 1, 1, false, false, false, WM_SYSKEYDOWN, VK_F11, 0, FALSE, 1, 1, -1},
        {"Alt up with Shift", 0, -1, true, false, false, WM_SYSKEYUP, VK_MENU, 0, FALSE, 0, -1, -1},
        {"Alt up with Ctrl", 0, -1, false, true, false, WM_SYSKEYUP, VK_MENU, 0, FALSE, 0, -1, -1},
        {"Left on the first title: the last", 1, 1, false, false, false, WM_KEYDOWN, VK_LEFT, 0, TRUE, 1, 6, -1},
        {"Right on the last title: the first", 1, 6, false, false, false, WM_KEYDOWN, VK_RIGHT, 0, TRUE, 1, 1, -1},
        {"Right", 1, 2, false, false, false, WM_KEYDOWN, VK_RIGHT, 0, TRUE, 1, 3, -1},
        {"Enter opens", 1, 2, false, false, false, WM_KEYDOWN, VK_RETURN, 0, TRUE, 0, -1, 2},
        {"Space opens", 1, 3, false, false, false, WM_KEYDOWN, VK_SPACE, 0, TRUE, 0, -1, 3},
        {"Up opens", 1, 1, false, false, false, WM_KEYDOWN, VK_UP, 0, TRUE, 0, -1, 1},
        {"Down opens", 1, 5, false, false, false, WM_KEYDOWN, VK_DOWN, 0, TRUE, 0, -1, 5},
        {"Escape ends the mode", 1, 4, false, false, false, WM_KEYDOWN, VK_ESCAPE, 0, TRUE, 0, -1, -1},
        {"mnemonic in keyboard mode", 1, 1, false, false, false, WM_KEYDOWN, 'I', 0, TRUE, 0, -1, 4},
        {"Alt+mnemonic", 0, -1, false, false, true, WM_SYSKEYDOWN, 'B', kAltBit, TRUE, 0, -1, 2},
        {"no title: consumed in keyboard mode", 1, 2, false, false, false, WM_KEYDOWN, 'X', 0, TRUE, 1, 2, -1},
        {"no title with Alt held: passes", 0, -1, false, false, true, WM_SYSKEYDOWN, 'X', kAltBit, FALSE, 0, -1, -1},
        {"a letter without Alt outside the mode", 0, -1, false, false, false, WM_KEYDOWN, 'D', 0, FALSE, 0, -1, -1},
        {"a click elsewhere ends the mode", 1, 2, false, false, false, WM_LBUTTONDOWN, 0, 0, FALSE, 0, -1, -1},
    };
    CTkMenuBar& bar = Bar();
    // the pointer, left over a title by an earlier program, would make that title hot
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    Pump(m_pFrame);
    g_pTimedBar = &bar;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, EndPopupTimer);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        bar.SetTrackingState(0, -1);
        bar.SetTrackingState(c.nState, c.nHot);
        SetModifiers(c.bShift, c.bCtrl, c.bAlt);
        g_nOpened = -1;
        MSG msg = {};
        msg.hwnd = c.message == WM_LBUTTONDOWN ? m_pFrame->m_hWnd : m_pFrame->m_hWnd;
        msg.message = c.message;
        msg.wParam = c.vk;
        msg.lParam = c.lParam;
        EXPECT_EQ(c.bResult, bar.TranslateFrameMessage(&msg));
        EXPECT_EQ(c.nStateAfter, bar.m_nTrackingState);
        EXPECT_EQ(c.nHotAfter, bar.m_nHotItem);
        EXPECT_EQ(c.nOpened, g_nOpened);
        SetModifiers(false, false, false);
    }
    ::KillTimer(NULL, nTimer);
    g_pTimedBar = NULL;
}

// What reaches a WH_MSGFILTER hook from a popup's loop: real keys and mouse input, whether
// answering 1 eats a key, and whether the exclusion rectangle keeps the popup off a title.
namespace {
struct FilterProbe {
    HHOOK hHook = NULL;
    std::vector<UINT> keys;     // WM_KEYDOWN key codes seen with MSGF_MENU
    int nMouseMoves = 0;        // WM_MOUSEMOVE seen with MSGF_MENU
    int nButtonDowns = 0;       // WM_LBUTTONDOWN seen with MSGF_MENU
    POINT ptLastMouse = {};     // the point of the last mouse message, as the hook saw it
    HWND hLastMouse = NULL;
} g_probe;

LRESULT CALLBACK ProbeFilter(int nCode, WPARAM wParam, LPARAM lParam)
{
    MSG* pMsg = (MSG*)lParam;
    if (nCode == MSGF_MENU) {
        if (pMsg->message == WM_KEYDOWN) {
            g_probe.keys.push_back((UINT)pMsg->wParam);
            if (pMsg->wParam == VK_DOWN)
                return 1; // eaten: no item gets highlighted
        } else if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN) {
            (pMsg->message == WM_MOUSEMOVE ? g_probe.nMouseMoves : g_probe.nButtonDowns)++;
            g_probe.ptLastMouse = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
            g_probe.hLastMouse = pMsg->hwnd;
        }
    }
    return ::CallNextHookEx(g_probe.hHook, nCode, wParam, lParam);
}
} // namespace

TEST_F(FrameTest, MessageFilterOfAPopupLoop)
{
    HMENU hPopup = ::GetSubMenu(Bar().m_hMenu, 1); // "&Bearbeiten"
    CRect rcExclude = Bar().GetItemRect(2);
    Bar().ClientToScreen(&rcExclude);
    CPoint ptOutside(rcExclude.right + 300, rcExclude.top - 20);
    g_probe = FilterProbe();
    g_probe.hHook = ::SetWindowsHookExA(WH_MSGFILTER, ProbeFilter, NULL, ::GetCurrentThreadId());
    CRect rcPopup;
    bool bHilite = true;
    Script script;
    script.steps = {
        {"popup open", [] { return PopupWindows().size() == 1; },
         [&] {
             ::GetWindowRect(PopupWindows()[0], &rcPopup);
             SendKey(VK_DOWN);
             SendKey(VK_LEFT);
             SendKey(VK_RIGHT);
         }},
        {"keys seen", [] { return g_probe.keys.size() >= 3; },
         [&] {
             bHilite = (::GetMenuState(hPopup, 0, MF_BYPOSITION) & MF_HILITE) != 0;
             SendMouse(ptOutside, 0);
         }},
        {"mouse move seen", [] { return g_probe.nMouseMoves > 0; }, [&] { SendMouse(ptOutside, 1); }},
        {"popup closed", [] { return PopupWindows().empty(); }, [] {}},
    };
    TPMPARAMS tpm = {sizeof(TPMPARAMS)};
    tpm.rcExclude = rcExclude;
    g_pScript = &script;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, ScriptTimer);
    ::TrackPopupMenuEx(hPopup, TPM_VERTICAL, rcExclude.left, rcExclude.bottom - 1, m_pFrame->m_hWnd, &tpm);
    std::string strStuck = RunScript(script, m_pFrame);
    ::KillTimer(NULL, nTimer);
    ::UnhookWindowsHookEx(g_probe.hHook);
    EXPECT_EQ("", strStuck);
    EXPECT_EQ((std::vector<UINT>{VK_DOWN, VK_LEFT, VK_RIGHT}), g_probe.keys);
    EXPECT_FALSE(bHilite); // the eaten Down did not reach the popup
    EXPECT_GT(g_probe.nButtonDowns, 0);
    // the mouse point as the hook sees it: screen coordinates
    EXPECT_EQ(ptOutside.x, g_probe.ptLastMouse.x) << "hwnd " << g_probe.hLastMouse;
    EXPECT_EQ(ptOutside.y, g_probe.ptLastMouse.y);
    // with room below, the popup opens where asked
    EXPECT_EQ(rcExclude.bottom - 1, rcPopup.top);
    EXPECT_EQ(rcExclude.left, rcPopup.left);

    // without room below, it opens above the exclusion rectangle instead of over it
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    tpm.rcExclude = CRect(100, cyScreen - 30, 180, cyScreen - 8);
    Script below;
    below.steps = {{"popup open", [] { return PopupWindows().size() == 1; },
                    [&] {
                        ::GetWindowRect(PopupWindows()[0], &rcPopup);
                        ::EndMenu();
                    }}};
    g_pScript = &below;
    nTimer = ::SetTimer(NULL, 0, 20, ScriptTimer);
    ::TrackPopupMenuEx(hPopup, TPM_VERTICAL, 100, cyScreen - 9, m_pFrame->m_hWnd, &tpm);
    EXPECT_EQ("", RunScript(below, m_pFrame));
    ::KillTimer(NULL, nTimer);
    // Wine's answer is recorded: it keeps the popup on the screen but lays it over the rectangle
    CRect rcOver;
    bool bHonoured = !rcOver.IntersectRect(&rcPopup, &tpm.rcExclude);
    RecordProperty("rcExcludeHonoured", bHonoured ? "yes" : "no");
    std::printf("rcExclude honoured: %s (popup %ld..%ld, rectangle %ld..%ld)\n", bHonoured ? "yes" : "no", rcPopup.top,
                rcPopup.bottom, tpm.rcExclude.top, tpm.rcExclude.bottom);
    EXPECT_LE(rcPopup.bottom, cyScreen); // on the screen in any case
}

// The menu bar worked as a new user would, with real mouse and keys.
TEST_F(FrameTest, MouseAndKeysAsAUserWorksTheMenuBar)
{
    CTkMenuBar& bar = Bar();
    HMENU hFile = ::GetSubMenu(bar.m_hMenu, 0), hEdit = ::GetSubMenu(bar.m_hMenu, 1);
    auto openOn = [&](int nItem, HMENU hMenu) {
        return [&bar, nItem, hMenu] {
            return bar.m_nTrackingState == 2 && bar.m_nTrackedItem == nItem && bar.m_pOpenPopup != NULL &&
                   bar.m_pOpenPopup->m_hMenu == hMenu && PopupWindows().size() == 1;
        };
    };
    auto shot = [&](const char* pszName) {
        CRect rect;
        m_pFrame->GetWindowRect(&rect);
        for (HWND h : PopupWindows()) {
            CRect r;
            ::GetWindowRect(h, &r);
            rect.UnionRect(&rect, &r);
        }
        HDC hdc = ::GetDC(NULL);
        oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), "menu-bar", pszName);
        ::ReleaseDC(NULL, hdc);
    };
    CRect rcPopup;
    Script script;
    script.steps = {
        {"start", [] { return true; }, [&] { SendMouse(TitlePoint(1), 1); }},
        {"click on Datei opens it", openOn(1, hFile),
         [&] {
             ::GetWindowRect(PopupWindows()[0], &rcPopup);
             CRect rcTitle = bar.GetItemRect(1);
             bar.ClientToScreen(&rcTitle);
             EXPECT_GE(rcPopup.top, rcTitle.bottom - 2);
             EXPECT_LE(abs(rcPopup.left - rcTitle.left), 2);
             bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
             shot("tracking-popup-open");
             SendMouse(TitlePoint(2), 0);
         }},
        {"moving to Bearbeiten opens it", openOn(2, hEdit), [&] { SendMouse(TitlePoint(2), 1); }},
        {"a click on the open title closes it",
         [&] { return bar.m_nTrackingState == 0 && PopupWindows().empty(); }, [&] { SendMouse(TitlePoint(1), 1); }},
        {"Datei again", openOn(1, hFile), [&] { SendKey(VK_DOWN); }},
        {"Reparatur highlighted", [&] { return bar.m_bRightArrow == 0; }, [&] { SendKey(VK_RIGHT); }},
        {"Right opens the submenu", [&] { return PopupWindows().size() == 2 && bar.m_nTrackedItem == 1; },
         [&] { SendKey(VK_RIGHT); }},
        {"Right again: the next title", openOn(2, hEdit), [&] { SendKey(VK_ESCAPE); }},
        {"Escape: keyboard mode on the same title",
         [&] { return bar.m_nTrackingState == 1 && bar.m_nHotItem == 2 && PopupWindows().empty(); },
         [&] { SendKey(VK_ESCAPE); }},
        {"Escape again: no mode", [&] { return bar.m_nTrackingState == 0; }, [&] { SendKey(VK_MENU); }},
        {"Alt: keyboard mode on Datei", [&] { return bar.m_nTrackingState == 1 && bar.m_nHotItem == 1; },
         [&] {
             bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
             shot("tracking-keyboard-mode");
             SendKey('B');
         }},
        {"mnemonic opens Bearbeiten", openOn(2, hEdit), [&] { SendKey('T'); }},
        {"Neuer Termin reaches the frame",
         [&] { return m_pFrame->m_nLastCommand == ID_NEW_APPOINTMENT && bar.m_nTrackingState == 0; },
         [&] { SendMouse(TitlePoint(4), 0); }},
        {"Ansicht hot under the mouse", [&] { return bar.m_nHotItem == 4; },
         [&] {
             bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
             shot("tracking-hot-title");
         }},
    };
    EXPECT_EQ("", RunScript(script, m_pFrame)) << "state " << bar.m_nTrackingState << " tracked "
                                                << bar.m_nTrackedItem << " hot " << bar.m_nHotItem << " command "
                                                << m_pFrame->m_nLastCommand << " popups " << PopupWindows().size();
}

// ---- shortcuts and tools ------------------------------------------------------------------------

namespace {
// The text of a popup's item by position.
CString ItemText(HMENU hMenu, int nPos)
{
    char sz[256] = {};
    ::GetMenuStringA(hMenu, nPos, sz, sizeof(sz), MF_BYPOSITION);
    return sz;
}
int PositionOf(HMENU hMenu, UINT nID)
{
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
        if (::GetMenuItemID(hMenu, i) == nID)
            return i;
    }
    return -1;
}
} // namespace

TEST(AccelManagerTest, KeyTextsLookupAndShortcutTexts)
{
    struct Case {
        BYTE fVirt;
        WORD wKey;
        const char* pszText;
    } cases[] = {
        {FVIRTKEY | FCONTROL | FSHIFT, VK_F5, "Ctrl+Shift+F5"},
        {FVIRTKEY | FALT, 'T', "Alt+T"},
        {FVIRTKEY | FCONTROL | FALT | FSHIFT, VK_DELETE, "Ctrl+Alt+Shift+Del"},
        {FVIRTKEY, VK_NUMPAD7, "Num 7"},
        {FVIRTKEY | FCONTROL, 0xE8, "Ctrl+"}, // a key without a name
        {FVIRTKEY | FCONTROL, 0, ""},
    };
    for (const Case& c : cases) {
        ACCEL accel = {c.fVirt, c.wKey, 1};
        CString strText;
        CTkAccelManager::GetKeyText(accel, strText);
        EXPECT_STREQ(c.pszText, strText) << c.pszText;
    }

    CTkAccelManager manager;
    manager.m_bSaveOnDestroy = 0;
    manager.AddAccelerator(ID_NEW_APPOINTMENT, FCONTROL, 'N');
    manager.AddAccelerator(ID_NEW_TASK, FVIRTKEY | FALT, 'N');
    manager.AddAccelerator(ID_NEW_APPOINTMENT, FVIRTKEY | FALT, 'N');
    EXPECT_TRUE(manager.m_bModified);
    // the virtual-key and no-invert flags do not count, the modifiers do
    UINT nCmd = 0;
    EXPECT_TRUE(manager.FindAccelerator(FVIRTKEY | FNOINVERT | FCONTROL, 'N', &nCmd));
    EXPECT_EQ(ID_NEW_APPOINTMENT, nCmd);
    EXPECT_TRUE(manager.FindAccelerator(FALT, 'N', &nCmd));
    EXPECT_EQ(ID_NEW_TASK, nCmd); // the first of two entries for Alt+N
    EXPECT_FALSE(manager.FindAccelerator(FCONTROL | FSHIFT, 'N', &nCmd));
    CString strText;
    manager.GetShortcutText(ID_NEW_APPOINTMENT, strText);
    EXPECT_STREQ("Ctrl+N, Alt+N", strText);
    strText.Empty();
    manager.GetShortcutText(ID_VIEW_MONTH, strText);
    EXPECT_STREQ("", strText);
}

TEST(AccelManagerTest, StoredTableLoadsWholeRecordsOnly)
{
    tktest::CTestApp app;
    app.UseTestRegistryKey();
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    const ACCEL table[3] = {{FVIRTKEY | FCONTROL, 'N', 32775}, {FVIRTKEY | FALT, 'T', 32776}, {FVIRTKEY, VK_F5, 32784}};
    BYTE data[20] = {};
    memcpy(data, table, sizeof(table));
    data[18] = 0x7F; // two bytes left over
    ASSERT_TRUE(reg.WriteProfileBinary("Settings", "Accelerators", data, sizeof(data)));
    CTkAccelManager manager;
    manager.m_bSaveOnDestroy = 0;
    ASSERT_TRUE(manager.Load());
    ASSERT_EQ(3, manager.m_nCount);
    EXPECT_EQ(0, memcmp(table, manager.m_pTable, sizeof(table)));
    // a change is written back in the same form
    manager.AddAccelerator(32777, FVIRTKEY | FSHIFT, VK_F2);
    ASSERT_TRUE(manager.SaveChanges(FALSE));
    BYTE* pStored = NULL;
    UINT nBytes = 0;
    ASSERT_TRUE(reg.GetProfileBinary("Settings", "Accelerators", &pStored, &nBytes));
    EXPECT_EQ(24u, nBytes);
    EXPECT_EQ(0, memcmp(table, pStored, sizeof(table)));
    delete[] pStored;
    reg.DeleteProfileValue("Settings", "Accelerators");
    EXPECT_FALSE(manager.Load());
    EXPECT_EQ(0, manager.m_nCount);
}

TEST_F(FrameTest, MenusShowTheShortcutsOfTheAcceleratorManager)
{
    tktest::CTestApp app;
    app.UseTestRegistryKey();
    CTkAccelManager* pAccel = CTkAccelManager::Instance();
    ASSERT_TRUE(pAccel->Attach(m_pFrame)); // nothing stored, the frame has no table of its own
    EXPECT_EQ(0, pAccel->m_nCount);

    struct Case {
        const char* pszName;
        bool bActive;
        std::vector<ACCEL> accels;
        const char* pszExpected;
    } cases[] = {
        {"no shortcut: the text loses its own", true, {}, "Neuer &Termin..."},
        {"two shortcuts: the first one", true,
         {{FVIRTKEY | FCONTROL, 'N', ID_NEW_APPOINTMENT}, {FVIRTKEY | FALT, 'N', ID_NEW_APPOINTMENT}},
         "Neuer &Termin...\tCtrl+N"},
        {"inactive: nothing changes", false,
         {{FVIRTKEY | FCONTROL, 'N', ID_NEW_APPOINTMENT}}, "Neuer &Termin...\tStrg+Umschalt+T"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        while (pAccel->m_nCount > 0)
            pAccel->Load(); // empties the table (nothing is stored)
        for (const ACCEL& a : c.accels)
            pAccel->AddAccelerator(a.cmd, a.fVirt, a.key);
        pAccel->m_bActive = c.bActive;
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
        HMENU hEdit = ::GetSubMenu(menu.m_hMenu, 1);
        // an owner-drawn item and the separators must stay as they are
        ::AppendMenuA(hEdit, MF_OWNERDRAW, ID_VIEW_MONTH, (LPCSTR)(ULONG_PTR)0x1234);
        int nCount = ::GetMenuItemCount(hEdit);
        std::vector<MENUITEMINFOA> before(nCount);
        for (int i = 0; i < nCount; i++) {
            before[i].cbSize = sizeof(MENUITEMINFOA);
            before[i].fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA;
            ::GetMenuItemInfoA(hEdit, i, TRUE, &before[i]);
        }
        m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hEdit, 1);
        EXPECT_STREQ(c.pszExpected, ItemText(hEdit, PositionOf(hEdit, ID_NEW_APPOINTMENT)));
        for (int i = 0; i < nCount; i++) {
            if (before[i].fType == MFT_STRING)
                continue;
            MENUITEMINFOA after = {};
            after.cbSize = sizeof(after);
            after.fMask = MIIM_TYPE | MIIM_ID | MIIM_DATA;
            ::GetMenuItemInfoA(hEdit, i, TRUE, &after);
            EXPECT_EQ(before[i].fType, after.fType) << i;
            EXPECT_EQ(before[i].wID, after.wID) << i;
            EXPECT_EQ(before[i].dwItemData, after.dwItemData) << i;
        }
        menu.DestroyMenu();
    }

    // Alt+B is a shortcut now: it reaches the frame's table instead of opening "&Bearbeiten"
    pAccel->m_bActive = 1;
    pAccel->AddAccelerator(ID_NEW_APPOINTMENT, FVIRTKEY | FALT, 'B');
    ASSERT_TRUE(pAccel->ApplyToFrame());
    SetModifiers(false, false, true);
    g_pTimedBar = &Bar(); // a popup opened by mistake is ended and noted
    g_nOpened = -1;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, EndPopupTimer);
    MSG msg = {m_pFrame->m_hWnd, WM_SYSKEYDOWN, 'B', 1 << 29};
    EXPECT_TRUE(m_pFrame->PreTranslateMessage(&msg));
    ::KillTimer(NULL, nTimer);
    g_pTimedBar = NULL;
    SetModifiers(false, false, false);
    EXPECT_EQ((UINT)ID_NEW_APPOINTMENT, m_pFrame->m_nLastCommand);
    EXPECT_EQ(-1, g_nOpened);
    EXPECT_EQ(0, Bar().m_nTrackingState);

    // the frame saves the changed shortcuts when it goes (the manager no longer does)
    EXPECT_FALSE(pAccel->m_bSaveOnDestroy);
    m_pFrame->DestroyWindow(); // deletes the frame object
    m_pFrame = NULL;
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    BYTE* pStored = NULL;
    UINT nBytes = 0;
    EXPECT_TRUE(reg.GetProfileBinary("Settings", "Accelerators", &pStored, &nBytes));
    EXPECT_EQ(2 * sizeof(ACCEL), nBytes); // Ctrl+N of the last case and Alt+B
    delete[] pStored;
    pAccel->Detach();
    reg.DeleteProfileValue("Settings", "Accelerators");
    pAccel->Load();
}

TEST(ToolsManagerTest, ToolsByCommandWithTheirFieldsCutAtTheirEnds)
{
    tktest::CTestApp app;
    app.UseTestRegistryKey();
    // two tools and a remainder; the first tool's texts lack their zero bytes
    std::vector<BYTE> data(2 * sizeof(TK_TOOL) + 100, 0);
    TK_TOOL* pTools = (TK_TOOL*)data.data();
    pTools[0].nCmd = 53001;
    memset(pTools[0].szText, 'm', sizeof(pTools[0].szText));
    memset(pTools[0].szArgs, 'a', sizeof(pTools[0].szArgs));
    memset(pTools[0].szCommand, 'c', sizeof(pTools[0].szCommand));
    memset(pTools[0].szDirectory, 'd', sizeof(pTools[0].szDirectory));
    pTools[1].nCmd = 53002;
    strcpy(pTools[1].szCommand, "notepad.exe");
    strcpy(pTools[1].szArgs, "liste.txt");
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    ASSERT_TRUE(reg.WriteProfileBinary("Settings", "Tools", data.data(), (UINT)data.size()));

    CTkToolsManager manager; // reads the stored tools
    manager.m_bSaveOnDestroy = 0;
    EXPECT_EQ(2, manager.m_nCount);
    CString strCommand, strArgs, strDirectory;
    ASSERT_TRUE(manager.GetLaunch(53001, strCommand, strArgs, strDirectory));
    EXPECT_EQ(259, strCommand.GetLength());
    EXPECT_EQ(127, strArgs.GetLength());
    EXPECT_EQ(259, strDirectory.GetLength());
    ASSERT_TRUE(manager.GetLaunch(53002, strCommand, strArgs, strDirectory));
    EXPECT_STREQ("notepad.exe", strCommand);
    EXPECT_STREQ("liste.txt", strArgs);
    EXPECT_STREQ("", strDirectory);
    EXPECT_FALSE(manager.GetLaunch(53000, strCommand, strArgs, strDirectory));
    EXPECT_EQ(nullptr, manager.FindTool(53250));
    reg.DeleteProfileValue("Settings", "Tools");
}

TEST_F(FrameTest, AToolCommandNobodyKnowsIsIgnored)
{
    // the process's tools manager knows no tool: the command is handled and starts nothing
    ASSERT_EQ(nullptr, CTkToolsManager::Instance()->FindTool(53100));
    EXPECT_TRUE(m_pFrame->OnCmdMsg(53100, CN_COMMAND, NULL, NULL));
    Pump(m_pFrame);
    EXPECT_TRUE(::IsWindow(m_pFrame->m_hWnd));
}

// ---- the buttons of a maximized MDI child on the bar, clicked for real --------------------------

namespace {
// A child that notes the system commands it gets.
class CNotingChild : public CMDIChildWnd {
public:
    std::vector<UINT> m_commands;
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam)
    {
        m_commands.push_back(nID & 0xFFF0);
        CMDIChildWnd::OnSysCommand(nID, lParam);
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CNotingChild, CMDIChildWnd)
ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

// Pumps until done() holds; FALSE after about five seconds.
bool PumpUntil(CFrameWnd* pFrame, const std::function<bool()>& done)
{
    for (int i = 0; i < 50 && !done(); i++) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        Pump(pFrame);
    }
    return done();
}
} // namespace

TEST(FrameMDITest, ChildButtonsClickedAndTheIconAmongTheTitles)
{
    CMDIFrameWnd* pFrame = new CMDIFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 340), NULL,
                               MAKEINTRESOURCE(IDR_MAINFRAME)));
    CTkMenuBar bar;
    ASSERT_TRUE(bar.CreateEx(pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(bar.LoadMenuBar(IDR_MAINFRAME));
    pFrame->EnableDocking(CBRS_ALIGN_ANY);
    bar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, 0x306B);
    pFrame->DockControlBar(&bar);
    pFrame->ShowWindow(SW_SHOW);
    pFrame->SetForegroundWindow();
    pFrame->RecalcLayout();
    Pump(pFrame);

    struct Case {
        const char* pszName;
        DWORD dwStyle;
        int nButton; // item index: 7 minimize, 8 restore, 9 close
        UINT nExpected; // the system command the child gets, 0 none
    } cases[] = {
        {"restore without a maximize box", WS_CHILD | WS_VISIBLE | (WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX), 8, 0},
        {"restore", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 8, SC_RESTORE},
        {"close", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 9, SC_CLOSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        CNotingChild* pChild = new CNotingChild;
        ASSERT_TRUE(pChild->Create(NULL, "Woche", c.dwStyle, CFrameWnd::rectDefault, pFrame));
        HWND hChild = pChild->m_hWnd;
        pChild->MDIMaximize();
        Pump(pFrame);
        pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        Pump(pFrame);
        ASSERT_TRUE(bar.m_bChildMaximized);
        // the child's icon counts among the titles for Left and Right
        EXPECT_EQ(0, bar.GetNextItem(1, TRUE));
        EXPECT_EQ(0, bar.GetNextItem(6, FALSE));
        EXPECT_EQ(1, bar.GetNextItem(0, FALSE));
        CPoint pt = bar.GetItemRect(c.nButton).CenterPoint();
        bar.ClientToScreen(&pt);
        // a click into the child first, so that the last case's click makes no double click
        CRect rcChild;
        ::GetWindowRect(hChild, &rcChild);
        SendMouse(rcChild.CenterPoint(), 1);
        Pump(pFrame);
        SendMouse(pt, 1);
        if (c.nExpected == SC_CLOSE) {
            EXPECT_TRUE(PumpUntil(pFrame, [&] { return !::IsWindow(hChild); })); // the child went
        } else if (c.nExpected != 0) {
            EXPECT_TRUE(PumpUntil(pFrame, [&] { return !pChild->m_commands.empty(); }));
            EXPECT_EQ(std::vector<UINT>{c.nExpected}, pChild->m_commands);
        } else {
            // the click was handled once the mouse, moved on to a title after it, makes that hot
            CPoint ptTitle = bar.GetItemRect(2).CenterPoint();
            bar.ClientToScreen(&ptTitle);
            SendMouse(ptTitle, 0);
            EXPECT_TRUE(PumpUntil(pFrame, [&] { return bar.m_nHotItem == 2; }));
            EXPECT_EQ(nullptr, ::GetCapture());
            EXPECT_TRUE(pChild->m_commands.empty());
            EXPECT_TRUE(::IsZoomed(hChild));
        }
        if (::IsWindow(hChild))
            ::SendMessageA(pFrame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)hChild, 0);
        Pump(pFrame);
    }
    pFrame->DestroyWindow();
    Pump(NULL);
}

// ---- the demo's frame at 1024 x 768, for the eye -------------------------------------------------

namespace {
CDemoFrame* g_pShotFrame = NULL;
int g_nShotTicks = 0;
CString g_strFlyBy;
bool g_bShotTaken = false;

std::string ShootFrame(CFrameWnd* pFrame, const char* pszName)
{
    CRect rect;
    pFrame->GetWindowRect(&rect);
    HDC hdc = ::GetDC(NULL);
    std::string strPath = oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), "toolkit-frame", pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

// Inside the popup loop of "&Bearbeiten": Down selects the first item, whose text shows in the
// status bar; then the picture, then the popup ends.
void CALLBACK ShootOpenPopup(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_pShotFrame == NULL || PopupWindows().empty())
        return;
    ++g_nShotTicks;
    if (g_nShotTicks == 1) {
        SendKey(VK_DOWN);
        return;
    }
    g_strFlyBy = g_pShotFrame->m_wndStatusBar.GetPaneText(0);
    if (g_strFlyBy.IsEmpty() && g_nShotTicks < 100)
        return;
    for (HWND h : PopupWindows())
        ::RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    g_pShotFrame->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_bShotTaken = !ShootFrame(g_pShotFrame, "bearbeiten-open").empty();
    ::EndMenu();
}
} // namespace

TEST(DemoFrameTest, TheProgramsFrameAt1024x768)
{
    CDemoFrame* pFrame = new CDemoFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1024, 768)));
    pFrame->ShowWindow(SW_SHOW);
    pFrame->SetForegroundWindow();
    pFrame->RecalcLayout();
    pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    Pump(pFrame);
    CTkMenuBar& bar = pFrame->m_menuBar;
    // the menu bar in a row above the toolbar, both on the top dock bar; the status bar below
    ASSERT_EQ(&bar, pFrame->GetMenuBar());
    CControlBar* pTop = pFrame->GetControlBar(AFX_IDW_DOCKBAR_TOP);
    ASSERT_NE(nullptr, pTop);
    EXPECT_EQ(pTop->m_hWnd, ::GetParent(bar.m_hWnd));
    EXPECT_EQ(pTop->m_hWnd, ::GetParent(pFrame->m_wndToolBar.m_hWnd));
    CRect rcBar, rcTool, rcStatus;
    bar.GetWindowRect(&rcBar);
    pFrame->m_wndToolBar.GetWindowRect(&rcTool);
    pFrame->m_wndStatusBar.GetWindowRect(&rcStatus);
    EXPECT_GE(rcTool.top, rcBar.bottom - 2); // rows of bars with borders share 2 pixels
    EXPECT_GT(rcTool.Height(), 16);
    EXPECT_GT(rcStatus.top, rcTool.bottom + 500);
    EXPECT_TRUE(tkAfxData.bCoolMenusInstalled);
    EXPECT_FALSE(ShootFrame(pFrame, "docked").empty());

    // keyboard mode: Alt pressed and released
    SetModifiers(false, false, true);
    MSG msg = {pFrame->m_hWnd, WM_SYSKEYDOWN, VK_MENU, 1 << 29};
    bar.TranslateFrameMessage(&msg);
    SetModifiers(false, false, false);
    msg.message = WM_SYSKEYUP;
    msg.lParam = 0;
    bar.TranslateFrameMessage(&msg);
    EXPECT_EQ(1, bar.m_nTrackingState);
    bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump(pFrame); // the display learns of what was painted while messages are looked at
    EXPECT_EQ(1, bar.m_nHotItem);
    EXPECT_FALSE(ShootFrame(pFrame, "keyboard-mode").empty());
    bar.SetTrackingState(0, -1);

    // "&Bearbeiten" open, its first item selected by a key
    g_pShotFrame = pFrame;
    g_nShotTicks = 0;
    g_bShotTaken = false;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 30, ShootOpenPopup);
    bar.TrackPopup(2);
    ::KillTimer(NULL, nTimer);
    g_pShotFrame = NULL;
    EXPECT_TRUE(g_bShotTaken);
    EXPECT_STREQ("Einen neuen Termin anlegen", g_strFlyBy);

    // a command shows its id
    pFrame->SendMessage(WM_COMMAND, ID_NEW_TASK);
    EXPECT_STREQ("Befehl 32776", pFrame->m_wndStatusBar.GetPaneText(0));
    pFrame->DestroyWindow();
    Pump(NULL);
}

// ---- the menu bar for the customize sheet: keys of menu buttons ----------------------------------

TEST_F(FrameTest, MenuButtonKeysFindTheirPopups)
{
    // the keys are zlib's CRC-32 over the texts with "&", each followed by four zero bytes
    EXPECT_EQ(0xEACA9622u, CTkMenuBar::GetTitleKey("&Datei"));
    EXPECT_EQ(0x18785592u, CTkMenuBar::GetItemKey("&Datei", "&Reparatur"));
    HMENU hMenu = Bar().m_hMenu;
    HMENU hRepair = ::GetSubMenu(::GetSubMenu(hMenu, 0), 0);
    HMENU hAppointmentLists = ::GetSubMenu(::GetSubMenu(hMenu, 2), 0);
    ASSERT_NE(nullptr, hRepair);
    // through the customize manager's hook, which the bar set when it was created
    CTkCustomizeManager* pManager = CTkCustomizeManager::Instance();
    ASSERT_EQ(&Bar(), pManager->m_hookCommandPopup.pObject);
    HMENU hFound = pManager->m_hookCommandPopup.Call<HMENU, UINT>(0x18785592u);
    EXPECT_EQ(hRepair, hFound);
    EXPECT_EQ(hAppointmentLists, Bar().FindSubMenuByKey(0xE04280B0u));
    EXPECT_EQ(nullptr, Bar().FindSubMenuByKey(0xEACA9622u)); // a title is no popup item
    EXPECT_EQ(nullptr, Bar().FindSubMenuByKey(CTkMenuBar::GetItemKey("&Bearbeiten", "&Reparatur")));
    // a bar that goes takes its registrations along
    Bar().DestroyWindow();
    EXPECT_TRUE(pManager->m_hookCommandPopup.IsEmpty());
}
