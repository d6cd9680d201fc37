// The docking context of the toolkit's bars: where a bar docks (by the pointer), drags with
// real mouse input (whole bar or outline), Escape, double click and the remembered places, drag
// listeners.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>

#include "CTkDockContext.h"
#include "CTkFrameWnd.h"
#include "CTkGlobalData.h"
#include "CTkMiniDockFrameWnd.h"
#include "CTkToolBar.h"
#include "TestKit.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kToolBarStyle = 0x52402834;

void SendMouse(CPoint pt, DWORD dwButton)
{
    int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dx = pt.x * 65535 / (cxScreen - 1);
    input[0].mi.dy = pt.y * 65535 / (cyScreen - 1);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    int n = 1;
    if (dwButton != 0) {
        input[1] = input[0];
        input[1].mi.dwFlags = dwButton | MOUSEEVENTF_ABSOLUTE;
        n = 2;
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

// A script of steps run from a thread timer, so that it goes on inside the drag loop: each step
// waits until its condition holds, then acts.
struct ScriptStep {
    const char* pszName;
    std::function<bool()> ready;
    std::function<void()> act;
};
struct Script {
    std::vector<ScriptStep> steps;
    size_t nNext = 0;
    int nTicks = 0;
};
Script* g_pScript = NULL;

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR, DWORD)
{
    Script& s = *g_pScript;
    if (s.nNext >= s.steps.size())
        return;
    if (++s.nTicks > 250) {
        // a step that never comes: the loop is ended so that the test can fail
        s.nNext = s.steps.size() + 1;
        SendKey(VK_ESCAPE);
        SendMouse(CPoint(5, 5), MOUSEEVENTF_LEFTUP);
        return;
    }
    if (s.steps[s.nNext].ready()) {
        s.nTicks = 0;
        s.steps[s.nNext++].act();
    }
}

// Runs the script; the name of the step that never became ready, or "".
std::string RunScript(Script& script)
{
    g_pScript = &script;
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 20, ScriptTimer);
    while (script.nNext < script.steps.size()) {
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 100, QS_ALLINPUT);
        tktest::RunToIdle();
    }
    ::KillTimer(NULL, nTimer);
    g_pScript = NULL;
    tktest::RunToIdle();
    if (script.nNext > script.steps.size())
        for (size_t i = 0; i < script.steps.size(); i++)
            if (!script.steps[i].ready())
                return script.steps[i].pszName;
    return script.nNext > script.steps.size() ? "timeout" : "";
}

std::vector<DWORD> Entries(CDockBar* pDockBar)
{
    std::vector<DWORD> ids;
    for (int i = 0; pDockBar != NULL && i < pDockBar->m_arrBars.GetSize(); i++) {
        void* p = pDockBar->m_arrBars[i];
        ids.push_back(p == NULL ? 0 : (UINT_PTR)p <= 0xFFFF ? (DWORD)(UINT_PTR)p | 0x10000 : ((CControlBar*)p)->GetDlgCtrlID());
    }
    return ids;
}

// The screen where the frame is, with the floating frames over it.
void SaveScreenShot(CWnd* pFrame, const char* pszName)
{
    ::RedrawWindow(NULL, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    tktest::RunToIdle();
    CRect rect;
    pFrame->GetWindowRect(&rect);
    HDC hdc = ::GetDC(NULL);
    oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), "docking", pszName);
    ::ReleaseDC(NULL, hdc);
}

struct ListenerLog {
    std::vector<BYTE> calls; // the context's in-loop flag at each call
};
void Listen(void* pData, CTkDockContext* pContext) { ((ListenerLog*)pData)->calls.push_back(pContext->m_bInLoop); }

} // namespace

// A toolkit frame of 1024 x 768 that docks on all sides, with the program's toolbar at the top.
class DockContextTest : public testing::Test {
protected:
    void SetUp() override
    {
        tkAfxData.bFullWindowDrag = TRUE;
        m_pFrame = new CTkFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1024, 768)));
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MAINFRAME));
        m_bar.SetWindowText("Standard");
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar, 0, NULL);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->SetForegroundWindow();
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
        ASSERT_TRUE(m_bar.m_pDockContext != NULL);
    }
    void TearDown() override
    {
        tkAfxData.bFullWindowDrag = TRUE;
        if (m_pFrame != NULL && m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
        tktest::RunToIdle();
    }
    CTkDockContext* Context() { return (CTkDockContext*)m_bar.m_pDockContext; }
    CDockBar* DockBar(UINT nID) { return (CDockBar*)m_pFrame->GetControlBar(nID); }
    CRect ScreenRect(CWnd* pWnd)
    {
        CRect rect;
        pWnd->GetWindowRect(&rect);
        return rect;
    }
    CPoint GripperPoint() { return CPoint(ScreenRect(&m_bar).left + 4, ScreenRect(&m_bar).CenterPoint().y); }
    CFrameWnd* FloatingFrame() { return m_bar.IsFloating() ? m_bar.m_pDockBar->GetParentFrame() : NULL; }
    // A drag of the bar's gripper (or of a floating frame's caption) to pt with the button held;
    // check runs while it is held; then the release or the key.
    std::string Drag(CPoint ptFrom, CPoint pt, std::function<void()> check, WORD vkEnd = 0)
    {
        Script script;
        script.steps = {
            {"pointer at the start", [] { return true; }, [ptFrom] { SendMouse(ptFrom, 0); }},
            {"pressed", [] { return true; }, [ptFrom] { SendMouse(ptFrom, MOUSEEVENTF_LEFTDOWN); }},
            {"loop running", [this] { return Context()->m_bInLoop != 0; },
             [ptFrom, pt] { SendMouse(CPoint((ptFrom.x + pt.x) / 2, (ptFrom.y + pt.y) / 2), 0); }},
            {"half way", [] { return true; }, [pt] { SendMouse(pt, 0); }},
            {"at the end", [pt] { POINT p; ::GetCursorPos(&p); return CPoint(p) == pt; }, [] {}},
            {"moves seen", [] { return true; }, check},
            {"released", [] { return true; },
             [pt, vkEnd] {
                 if (vkEnd != 0)
                     SendKey(vkEnd);
                 else
                     SendMouse(pt, MOUSEEVENTF_LEFTUP);
             }},
            {"loop over", [this] { return Context()->m_bInLoop == 0; },
             [vkEnd, pt] {
                 if (vkEnd != 0)
                     SendMouse(pt, MOUSEEVENTF_LEFTUP);
             }},
        };
        std::string stuck = RunScript(script);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
        return stuck;
    }

    CTkFrameWnd* m_pFrame = NULL;
    CTkToolBar m_bar;
};

TEST_F(DockContextTest, WhereTheBarDocks)
{
    CTkDockContext* pContext = Context();
    CRect rectTop = ScreenRect(DockBar(AFX_IDW_DOCKBAR_TOP));
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);
    // the outlines lie over the top dock bar, whatever the pointer does
    pContext->m_rectDragHorz = rectTop;
    pContext->m_rectDragVert = CRect(rectTop.TopLeft(), CSize(30, 300));
    pContext->m_dwDockStyle = CBRS_ALIGN_ANY;

    struct Case {
        const char* pszName;
        CPoint pt;
        DWORD dwStyle;
        BOOL bFlip;
        DWORD dwExpected;
    } cases[] = {
        {"pointer outside, outline over the dock bar", rectClient.CenterPoint(), CBRS_ALIGN_TOP, FALSE, 0},
        {"pointer over the top dock bar", rectTop.CenterPoint(), CBRS_ALIGN_TOP, FALSE, CBRS_ALIGN_TOP},
        {"within 4 pixels of the empty bottom dock bar", CPoint(500, rectClient.bottom - 3), CBRS_ALIGN_TOP, FALSE, CBRS_ALIGN_BOTTOM},
        {"6 pixels above the empty bottom dock bar", CPoint(500, rectClient.bottom - 6), CBRS_ALIGN_TOP, FALSE, 0},
        {"within 4 pixels of the empty left dock bar", CPoint(rectClient.left + 2, 400), CBRS_ALIGN_TOP, FALSE, CBRS_ALIGN_LEFT},
        {"Shift over the top dock bar", rectTop.CenterPoint(), CBRS_ALIGN_TOP, TRUE, 0},
        {"Shift near the left dock bar", CPoint(rectClient.left + 2, 400), CBRS_ALIGN_TOP, TRUE, CBRS_ALIGN_LEFT},
        {"vertical bar over the top dock bar", rectTop.CenterPoint(), CBRS_ALIGN_LEFT, FALSE, CBRS_ALIGN_TOP},
    };
    for (const Case& c : cases) {
        pContext->m_dwStyle = c.dwStyle;
        pContext->m_bFlip = c.bFlip;
        EXPECT_EQ(c.dwExpected, pContext->CanDockAt(c.pt, TRUE) & CBRS_ALIGN_ANY) << c.pszName;
    }
    pContext->m_bFlip = FALSE;

    // without a pointer the outline decides
    pContext->m_dwStyle = CBRS_ALIGN_TOP;
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, pContext->CanDockAt(CPoint(0, 0), FALSE) & CBRS_ALIGN_ANY);

    // Ctrl never docks; Shift flips only a bar that docks both ways
    ::SetCursorPos(rectTop.CenterPoint().x, rectTop.CenterPoint().y);
    pContext->m_dwStyle = CBRS_ALIGN_TOP;
    pContext->m_dwOverDockStyle = pContext->CanDock();
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, pContext->m_dwOverDockStyle & CBRS_ALIGN_ANY);
    pContext->OnKey(VK_CONTROL, TRUE);
    EXPECT_EQ(0u, pContext->m_dwOverDockStyle);
    pContext->OnKey(VK_CONTROL, FALSE);
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, pContext->m_dwOverDockStyle & CBRS_ALIGN_ANY);
    pContext->OnKey(VK_SHIFT, TRUE);
    EXPECT_TRUE(pContext->m_bFlip);
    pContext->OnKey(VK_SHIFT, FALSE);
    pContext->m_dwDockStyle = CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM;
    pContext->OnKey(VK_SHIFT, TRUE);
    EXPECT_FALSE(pContext->m_bFlip);
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, pContext->m_dwOverDockStyle & CBRS_ALIGN_ANY);
    pContext->OnKey(VK_SHIFT, FALSE);
}

TEST(DockBarHitTest, EmptyDockBarsCatchThePointerNearTheEdge)
{
    const CRect clip(0, 0, 1000, 700);
    struct Case {
        const char* pszName;
        CRect rectBar;
        BOOL bEmpty, bHorz;
        CPoint pt;
        BOOL bExpected;
    } cases[] = {
        {"empty bottom bar, 4 px above", CRect(0, 700, 1000, 700), TRUE, TRUE, CPoint(10, 696), TRUE},
        {"empty bottom bar, 5 px above", CRect(0, 700, 1000, 700), TRUE, TRUE, CPoint(10, 695), FALSE},
        {"empty bottom bar, outside the client area", CRect(0, 700, 1000, 700), TRUE, TRUE, CPoint(10, 702), FALSE},
        {"empty left bar, 3 px right", CRect(0, 0, 0, 700), TRUE, FALSE, CPoint(3, 300), TRUE},
        {"full top bar, inside", CRect(0, 0, 1000, 30), FALSE, TRUE, CPoint(500, 29), TRUE},
        {"full top bar, just below", CRect(0, 0, 1000, 30), FALSE, TRUE, CPoint(500, 31), FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.bExpected, CTkDockContext::HitsDockBar(c.rectBar, c.bEmpty, c.bHorz, clip, c.pt, TRUE, CRect()))
            << c.pszName;
}

TEST_F(DockContextTest, ListenersTakeFourEntries)
{
    ListenerLog logs[5];
    CTkDockContext* pContext = Context();
    std::vector<int> ids;
    for (ListenerLog& log : logs)
        ids.push_back(pContext->AddDragListener(&log, Listen));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4, 0}), ids);
    pContext->RemoveDragListener(&logs[1]);
    EXPECT_EQ(5, pContext->AddDragListener(&logs[4], Listen));
    EXPECT_EQ(&logs[4], pContext->m_listeners[1].pData);
}

TEST_F(DockContextTest, FullWindowDragMovesTheBarAlong)
{
    ListenerLog log;
    Context()->AddDragListener(&log, Listen);
    CPoint ptDrop(500, 400);
    bool bFloatingWhileHeld = false;
    bool bUnderPointer = false;
    std::string stuck = Drag(GripperPoint(), ptDrop, [&] {
        bFloatingWhileHeld = m_bar.IsFloating() != 0;
        bUnderPointer = FloatingFrame() != NULL && ScreenRect(FloatingFrame()).PtInRect(ptDrop);
    });
    EXPECT_EQ("", stuck);
    EXPECT_TRUE(bFloatingWhileHeld);
    EXPECT_TRUE(bUnderPointer);
    ASSERT_TRUE(m_bar.IsFloating());
    EXPECT_TRUE(FloatingFrame()->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
    EXPECT_TRUE(ScreenRect(FloatingFrame()).PtInRect(ptDrop));
    EXPECT_EQ((std::vector<BYTE>{1, 1}), log.calls);
    tktest::SaveWindowShot(FloatingFrame()->m_hWnd, "toolbar-floating", "docking");

    // dragged by its caption to the bottom edge it docks there
    CRect rectFloat = ScreenRect(FloatingFrame());
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);
    CPoint ptCaption(rectFloat.left + 20, rectFloat.top + 8);
    stuck = Drag(ptCaption, CPoint(300, rectClient.bottom - 2), [] {});
    EXPECT_EQ("", stuck);
    EXPECT_FALSE(m_bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, m_bar.m_pDockBar->GetDlgCtrlID());
    tktest::SaveWindowShot(m_pFrame->m_hWnd, "toolbar-docked-bottom", "docking");

    // a double click floats it where it floated last
    Context()->ToggleDocking();
    tktest::RunToIdle();
    ASSERT_TRUE(m_bar.IsFloating());
    EXPECT_EQ(rectFloat.TopLeft(), ScreenRect(FloatingFrame()).TopLeft());
    // and docks it back into its last row
    Context()->ToggleDocking();
    m_pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_FALSE(m_bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_BOTTOM, m_bar.m_pDockBar->GetDlgCtrlID());
}

TEST_F(DockContextTest, OutlineDragMovesTheBarOnRelease)
{
    tkAfxData.bFullWindowDrag = FALSE;
    CRect rectBefore = ScreenRect(&m_bar);
    bool bDockedWhileHeld = false;
    CRect rectWhileHeld;
    std::string stuck = Drag(GripperPoint(), CPoint(500, 400), [&] {
        bDockedWhileHeld = !m_bar.IsFloating();
        rectWhileHeld = ScreenRect(&m_bar);
    });
    EXPECT_EQ("", stuck);
    EXPECT_TRUE(bDockedWhileHeld);
    EXPECT_EQ(rectBefore, rectWhileHeld);
    EXPECT_TRUE(m_bar.IsFloating());
}

TEST_F(DockContextTest, EscapePutsTheBarBack)
{
    std::vector<DWORD> top = Entries(DockBar(AFX_IDW_DOCKBAR_TOP));
    CRect rectDocked = ScreenRect(&m_bar);
    bool bMoved = false;
    std::string stuck = Drag(GripperPoint(), CPoint(500, 400), [&] { bMoved = m_bar.IsFloating() != 0; }, VK_ESCAPE);
    EXPECT_EQ("", stuck);
    EXPECT_TRUE(bMoved);
    EXPECT_FALSE(m_bar.IsFloating());
    EXPECT_EQ(top, Entries(DockBar(AFX_IDW_DOCKBAR_TOP)));
    EXPECT_EQ(rectDocked, ScreenRect(&m_bar));

    // floating: back to where the frame was
    m_pFrame->FloatControlBar(&m_bar, CPoint(400, 300), CBRS_ALIGN_TOP);
    tktest::RunToIdle();
    ASSERT_TRUE(m_bar.IsFloating());
    CRect rectFloat = ScreenRect(FloatingFrame());
    stuck = Drag(CPoint(rectFloat.left + 20, rectFloat.top + 8), CPoint(700, 500), [] {}, VK_ESCAPE);
    EXPECT_EQ("", stuck);
    ASSERT_TRUE(m_bar.IsFloating());
    EXPECT_EQ(rectFloat.TopLeft(), ScreenRect(FloatingFrame()).TopLeft());
}

TEST_F(DockContextTest, DoubleClickOnABarThatNeverFloated)
{
    CRect rectDocked = ScreenRect(&m_bar);
    Context()->ToggleDocking();
    tktest::RunToIdle();
    ASSERT_TRUE(m_bar.IsFloating());
    CRect rectFloat = ScreenRect(FloatingFrame());
    // the floating frame starts where the bar was docked
    EXPECT_EQ(rectDocked.TopLeft(), rectFloat.TopLeft());
    Context()->ToggleDocking();
    m_pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_FALSE(m_bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, m_bar.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(rectDocked, ScreenRect(&m_bar));
}

TEST(CaptionButtonTest, GeometryOfTheButtons)
{
    const int cx = tkAfxData.cxSmIcon;
    const int cy = tkAfxData.cySmIcon;
    const int cxEdge = ::GetSystemMetrics(SM_CXEDGE);
    const int cyEdge = ::GetSystemMetrics(SM_CYEDGE);
    struct Case {
        const char* pszName;
        CRect rectWindow;
        int nType;
        BOOL bFlat;
        CRect rectExpected;
        BOOL bHidden;
    } cases[] = {
        {"close, flat", CRect(100, 50, 300, 90), 0, TRUE, CRect(300 - cxEdge - cx, 50 + cyEdge, 300 - cxEdge, 50 + cyEdge + cy - 1), FALSE},
        {"expand, flat", CRect(100, 50, 300, 90), 1, TRUE,
         CRect(300 - cxEdge - 2 * cx, 50 + cyEdge, 300 - cxEdge - cx, 50 + cyEdge + cy - 1), FALSE},
        {"close, raised", CRect(100, 50, 300, 90), 0, FALSE,
         CRect(300 - cxEdge - cx + 2, 50 + cyEdge + 2, 300 - cxEdge - 2, 50 + cyEdge + cy - 3), FALSE},
        {"expand, raised", CRect(100, 50, 300, 90), 1, FALSE,
         CRect(300 - cxEdge - 2 * cx + 4, 50 + cyEdge + 2, 300 - cxEdge - cx, 50 + cyEdge + cy - 3), FALSE},
        {"close fits just", CRect(0, 0, 3 * cxEdge + cx, 40), 0, TRUE, CRect(2 * cxEdge, cyEdge, 2 * cxEdge + cx, cyEdge + cy - 1), FALSE},
        {"close does not fit", CRect(0, 0, 3 * cxEdge + cx - 1, 40), 0, TRUE,
         CRect(2 * cxEdge - 1, cyEdge, 2 * cxEdge + cx - 1, cyEdge + cy - 1), TRUE},
        {"expand does not fit", CRect(0, 0, 3 * cxEdge + cx + 10, 40), 1, TRUE,
         CRect(2 * cxEdge + 10 - cx, cyEdge, 2 * cxEdge + 10, cyEdge + cy - 1), TRUE},
    };
    for (const Case& c : cases) {
        BOOL bHidden = -1;
        CRect rect = CTkMiniDockFrameWnd::CalcButtonRect(c.rectWindow, c.nType, c.bFlat, &bHidden);
        EXPECT_TRUE(rect == c.rectExpected) << c.pszName << ": " << rect.left << "," << rect.top << "," << rect.right << ","
                                            << rect.bottom;
        EXPECT_EQ(c.bHidden, bHidden) << c.pszName;
    }
}

TEST_F(DockContextTest, FloatingFrameCaption)
{
    BOOL bFlatLook = tkAfxData.bFlatLook;
    m_bar.m_bCustomizable = 1; // an expand button too
    m_pFrame->FloatControlBar(&m_bar, CPoint(300, 200), CBRS_ALIGN_TOP);
    tktest::RunToIdle();
    ASSERT_TRUE(m_bar.IsFloating());
    CTkMiniDockFrameWnd* pFloat = (CTkMiniDockFrameWnd*)FloatingFrame();
    ASSERT_TRUE(pFloat->IsKindOf(RUNTIME_CLASS(CTkMiniDockFrameWnd)));
    EXPECT_TRUE(pFloat->m_bInitialized);
    ASSERT_EQ(2, pFloat->m_listButtons.GetCount());
    EXPECT_EQ(0, ((TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetHead())->nType);
    EXPECT_EQ(1, ((TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetTail())->nType);
    EXPECT_EQ(&m_bar, (CTkToolBar*)pFloat->GetContainedBar());
    EXPECT_FALSE(pFloat->GetStyle() & WS_SYSMENU);

    // the smallest width: the small icon and the buttons
    CRect rectNarrow(0, 0, 5, 20), rectMin(0, 0, tkAfxData.cxSmIcon, 20);
    for (POSITION pos = pFloat->m_listButtons.GetHeadPosition(); pos != NULL;) {
        TK_CAPTIONBUTTON* pButton = (TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetNext(pos);
        CRect rectWindow;
        pFloat->GetWindowRect(&rectWindow);
        rectWindow.OffsetRect(-rectWindow.TopLeft());
        rectMin.right += pFloat->GetButtonRect(pButton, &rectWindow).Width();
    }
    pFloat->CalcWindowRect(&rectNarrow);
    pFloat->CalcWindowRect(&rectMin);
    EXPECT_EQ(rectMin, rectNarrow);

    // the tips of the buttons
    CRect rectWindow;
    pFloat->GetWindowRect(&rectWindow);
    CRect rectClose = CTkMiniDockFrameWnd::CalcButtonRect(rectWindow, 0, tkAfxData.bFlatLook, NULL);
    char szText[80] = "";
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = pFloat->m_hWnd;
    ti.uId = (UINT_PTR)pFloat->m_hWnd; // the tool of the frame itself
    ti.lpszText = szText;
    pFloat->ShowButtonTip(rectClose.CenterPoint().x, rectClose.CenterPoint().y, false);
    pFloat->m_wndToolTip.SendMessage(TTM_GETTEXTA, sizeof(szText), (LPARAM)&ti);
    EXPECT_STREQ("Toolbar Options", szText);

    // the mouse over the close button makes it hot and shows its tip
    std::string stuck;
    Script script;
    script.steps = {
        {"over close", [] { return true; }, [rectClose] { SendMouse(rectClose.CenterPoint(), 0); }},
        {"close hot", [pFloat] { return ((TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetHead())->bHot != 0; }, [] {}},
    };
    stuck = RunScript(script);
    EXPECT_EQ("", stuck);
    szText[0] = 0;
    pFloat->m_wndToolTip.SendMessage(TTM_GETTEXTA, sizeof(szText), (LPARAM)&ti);
    EXPECT_STREQ("Schlie\xdf" "en", szText);
    tkAfxData.bFlatLook = TRUE;
    tktest::SaveWindowShot(pFloat->m_hWnd, "floating-flat-close-hot", "docking");
    SaveScreenShot(m_pFrame, "frame-floating-flat-close-hot");
    tkAfxData.bFlatLook = FALSE;
    tktest::SaveWindowShot(pFloat->m_hWnd, "floating-raised-close-hot", "docking");
    SaveScreenShot(m_pFrame, "frame-floating-raised-close-hot");
    tkAfxData.bFlatLook = bFlatLook;

    // the customize command of the expand button's popup goes on to the bar
    TK_CAPTIONBUTTON* pExpand = (TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetTail();
    pExpand->bHot = pExpand->bHighlighted = 1;
    pFloat->SendMessage(WM_COMMAND, 53782);
    EXPECT_EQ(0, pExpand->bHot | pExpand->bPressed | pExpand->bHighlighted);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_bar.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(53782u, LOWORD(msg.wParam));

    // pressed, moved off and released: the frame stays; pressed and released on it: it closes
    rectClose = CTkMiniDockFrameWnd::CalcButtonRect(rectWindow, 0, tkAfxData.bFlatLook, NULL);
    CPoint ptOff(rectWindow.left + 30, rectClose.CenterPoint().y);
    Script press;
    press.steps = {
        {"down on close", [] { return true; }, [rectClose] { SendMouse(rectClose.CenterPoint(), MOUSEEVENTF_LEFTDOWN); }},
        {"close pressed", [pFloat] { return pFloat->m_pPressedButton != NULL; }, [ptOff] { SendMouse(ptOff, 0); }},
        {"moved off", [pFloat] { return ((TK_CAPTIONBUTTON*)pFloat->m_listButtons.GetHead())->bPressed == 0; },
         [ptOff] { SendMouse(ptOff, MOUSEEVENTF_LEFTUP); }},
    };
    stuck = RunScript(press);
    EXPECT_EQ("", stuck);
    EXPECT_TRUE(pFloat->IsWindowVisible());
    EXPECT_TRUE(m_bar.IsWindowVisible());
    // (the second press comes within the double-click time: it still presses the button)
    Script click;
    click.steps = {
        {"down on close", [] { return true; }, [rectClose] { SendMouse(rectClose.CenterPoint(), MOUSEEVENTF_LEFTDOWN); }},
        {"close pressed", [pFloat] { return pFloat->m_pPressedButton != NULL; },
         [rectClose] { SendMouse(rectClose.CenterPoint(), MOUSEEVENTF_LEFTUP); }},
        {"bar hidden", [this] { return !m_bar.IsWindowVisible(); }, [] {}},
    };
    stuck = RunScript(click);
    EXPECT_EQ("", stuck);
}

TEST_F(DockContextTest, FloatingMenuBarHasNoButtons)
{
    CTkMenuBar& menuBar = m_pFrame->m_menuBar;
    ASSERT_TRUE(menuBar.CreateEx(m_pFrame, TBSTYLE_FLAT, 0x50402834, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
    ASSERT_TRUE(menuBar.LoadMenuBar(IDR_MAINFRAME));
    menuBar.EnableDocking(0xA000, 0x306B);
    m_pFrame->DockControlBar(&menuBar, 0, NULL);
    m_pFrame->FloatControlBar(&menuBar, CPoint(200, 300), CBRS_ALIGN_TOP);
    tktest::RunToIdle();
    ASSERT_TRUE(menuBar.IsFloating());
    CTkMiniDockFrameWnd* pFloat = (CTkMiniDockFrameWnd*)menuBar.m_pDockBar->GetParentFrame();
    EXPECT_TRUE(pFloat->m_bInitialized);
    EXPECT_EQ(0, pFloat->m_listButtons.GetCount());
    EXPECT_FALSE(pFloat->GetStyle() & WS_SYSMENU);
    tktest::SaveWindowShot(pFloat->m_hWnd, "floating-menu-bar", "docking");
}

TEST_F(DockContextTest, DoubleClicksToggleTheBar)
{
    CRect rectDocked = ScreenRect(&m_bar);
    CPoint ptGripper = GripperPoint();
    auto doubleClick = [](CPoint pt) {
        SendMouse(pt, MOUSEEVENTF_LEFTDOWN);
        SendMouse(pt, MOUSEEVENTF_LEFTUP);
        SendMouse(pt, MOUSEEVENTF_LEFTDOWN);
        SendMouse(pt, MOUSEEVENTF_LEFTUP);
    };
    Script script;
    script.steps = {
        {"on the gripper", [] { return true; }, [ptGripper] { SendMouse(ptGripper, 0); }},
        {"double click", [] { return true; }, [ptGripper, doubleClick] { doubleClick(ptGripper); }},
        {"floating", [this] { return m_bar.IsFloating() != 0 && Context()->m_bInLoop == 0; }, [] {}},
    };
    EXPECT_EQ("", RunScript(script));
    ASSERT_TRUE(m_bar.IsFloating());
    CRect rectFloat = ScreenRect(FloatingFrame());
    EXPECT_EQ(rectDocked.TopLeft(), rectFloat.TopLeft());

    CPoint ptCaption(rectFloat.left + 20, rectFloat.top + 8);
    Script back;
    back.steps = {
        {"on the caption", [] { return true; }, [ptCaption] { SendMouse(ptCaption, 0); }},
        {"double click", [] { return true; }, [ptCaption, doubleClick] { doubleClick(ptCaption); }},
        {"docked", [this] { return m_bar.IsFloating() == 0 && Context()->m_bInLoop == 0; }, [] {}},
    };
    EXPECT_EQ("", RunScript(back));
    m_pFrame->RecalcLayout();
    tktest::RunToIdle();
    ASSERT_FALSE(m_bar.IsFloating());
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, m_bar.m_pDockBar->GetDlgCtrlID());
    EXPECT_EQ(rectDocked, ScreenRect(&m_bar));
}

TEST_F(DockContextTest, CtrlKeepsTheDraggedBarFloating)
{
    // once the bar has left it, the top dock bar is empty: the pointer 2 px below the client
    // area's top edge is over it
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    m_pFrame->ClientToScreen(&rectClient);
    CPoint ptFrom = GripperPoint();
    CPoint ptMiddle(500, 400), ptOverTop(600, rectClient.top + 2);
    auto key = [](WORD vk, bool bDown) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = bDown ? 0 : KEYEVENTF_KEYUP;
        ::SendInput(1, &input, sizeof(INPUT));
    };
    bool bFloatingOverTop = false;
    Script script;
    script.steps = {
        {"at the gripper", [] { return true; }, [ptFrom] { SendMouse(ptFrom, 0); }},
        {"pressed", [] { return true; }, [ptFrom] { SendMouse(ptFrom, MOUSEEVENTF_LEFTDOWN); }},
        {"loop running", [this] { return Context()->m_bInLoop != 0; }, [ptMiddle] { SendMouse(ptMiddle, 0); }},
        {"floating", [this] { return m_bar.IsFloating() != 0; }, [key] { key(VK_CONTROL, true); }},
        {"Ctrl seen", [this] { return Context()->m_bForceFrame != 0; }, [ptOverTop] { SendMouse(ptOverTop, 0); }},
        {"over the top dock bar", [this, ptOverTop] { return Context()->m_ptLast == ptOverTop; },
         [this, &bFloatingOverTop] { bFloatingOverTop = m_bar.IsFloating() != 0; }},
        {"still floating", [] { return true; }, [ptOverTop] { SendMouse(ptOverTop, MOUSEEVENTF_LEFTUP); }},
        {"released", [this] { return Context()->m_bInLoop == 0; }, [key] { key(VK_CONTROL, false); }},
    };
    EXPECT_EQ("", RunScript(script));
    EXPECT_TRUE(bFloatingOverTop);
    EXPECT_TRUE(m_bar.IsFloating());
}
