// The rows of dock bars and the frame's layout: bars docked without a place get rows of their
// own, docked at a rectangle they join the row it falls into; RecalcLayout gives the dock bars
// their rows' height and the view the rest; bars that do not fit wrap or move back; bars hidden
// and shown (at once, delayed, by the bar toggle commands) give their room back and take it again;
// the frame's end takes its dock bars and floating frames along.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::BarIds;
using docktest::CDockFrame;
using docktest::DockBar;
using docktest::RectIn;
using framestest::RunToIdle;

namespace {

// The docked shape of the test toolbars: buttons and separators (6 pixels in a flat toolbar)
// in one row, inside the bar's two-pixel borders and, at the left, the gripper's 7 pixels.
const int kGripper = 7;
const int kBorder = 2;

class DockLayoutTest : public docktest::DockingTest {
protected:
    void SetUp() override
    {
        m_pFrame = MakeFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_pTop = DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP);
        ASSERT_NE(nullptr, m_pTop);
    }
    CRect InFrame(const CWnd* pWnd) { return RectIn(pWnd, m_pFrame); }
    // The width of the first toolbar docked horizontally (8 buttons, 2 separators).
    int ToolBarWidth() { return 8 * m_pFrame->m_wndToolBar.m_sizeButton.cx + 2 * 6 + kGripper + 2 * kBorder; }
    int ToolBarHeight() { return m_pFrame->m_wndToolBar.m_sizeButton.cy + 2 * kBorder; }
    // Docks the second toolbar into the first toolbar's row, dx pixels after it.
    void DockSecondBesideFirst(int dx)
    {
        CRect rect = docktest::ScreenRect(&m_pFrame->m_wndToolBar);
        CRect rect2 = docktest::ScreenRect(&m_pFrame->m_wndToolBar2);
        rect2.OffsetRect(rect.right + dx - rect2.left, rect.top - rect2.top);
        m_pFrame->DockControlBar(&m_pFrame->m_wndToolBar2, AFX_IDW_DOCKBAR_TOP, &rect2);
        m_pFrame->RecalcLayout();
    }

    CDockFrame* m_pFrame = nullptr;
    CDockBar* m_pTop = nullptr;
};

} // namespace

TEST_F(DockLayoutTest, EnableDockingMakesOneDockBarPerSideOnce)
{
    struct Case {
        UINT nID;
        DWORD dwAlign;
    } const cases[] = {
        {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
        {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
        {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
        {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT},
    };
    for (const Case& c : cases) {
        CDockBar* pDockBar = DockBar(m_pFrame, c.nID);
        ASSERT_NE(nullptr, pDockBar) << c.nID;
        EXPECT_EQ(c.dwAlign, pDockBar->m_dwStyle & CBRS_ALIGN_ANY) << c.nID;
        EXPECT_FALSE(pDockBar->m_bFloating);
        EXPECT_EQ(m_pFrame, pDockBar->GetParent());
    }
    // the frame made them in the order top, bottom, left, right (their windows' order is the
    // order in which they take their room)
    std::vector<UINT> order;
    for (CWnd* pChild = m_pFrame->GetTopWindow(); pChild != NULL; pChild = pChild->GetNextWindow()) {
        UINT nID = (UINT)pChild->GetDlgCtrlID();
        if (nID >= AFX_IDW_DOCKBAR_TOP && nID <= AFX_IDW_DOCKBAR_BOTTOM)
            order.push_back(nID);
    }
    EXPECT_EQ((std::vector<UINT>{AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}), order);

    // again: no second set
    int nBars = (int)m_pFrame->m_listControlBars.GetCount();
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    EXPECT_EQ(nBars, (int)m_pFrame->m_listControlBars.GetCount());
    EXPECT_EQ(RUNTIME_CLASS(CMiniDockFrameWnd), m_pFrame->m_pFloatingFrameClass);
}

TEST_F(DockLayoutTest, EachBarDockedWithoutAPlaceGetsARowOfItsOwn)
{
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(m_pTop));
    for (CControlBar* pBar : {(CControlBar*)&m_pFrame->m_wndToolBar, (CControlBar*)&m_pFrame->m_wndToolBar2,
                              (CControlBar*)&m_pFrame->m_wndDialogBar}) {
        EXPECT_EQ(m_pTop, pBar->m_pDockBar);
        EXPECT_EQ(m_pTop, pBar->GetParent());
        // the bar takes the dock bar's side and all four borders
        EXPECT_EQ((DWORD)(CBRS_ALIGN_TOP | CBRS_BORDER_ANY), pBar->GetBarStyle() & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY));
        EXPECT_FALSE(pBar->IsFloating());
    }

    // Each row starts at the dock bar's edge and overlaps the row above by the bars' two-pixel
    // border; the dock bar (with its own top border) is as high as its rows.
    CRect rectTool = InFrame(&m_pFrame->m_wndToolBar);
    CRect rectTool2 = InFrame(&m_pFrame->m_wndToolBar2);
    CRect rectDialog = InFrame(&m_pFrame->m_wndDialogBar);
    EXPECT_EQ(CRect(-kBorder, 0, -kBorder + ToolBarWidth(), ToolBarHeight()), rectTool);
    EXPECT_EQ(-kBorder, rectTool2.left);
    EXPECT_EQ(rectTool.bottom - kBorder, rectTool2.top);
    EXPECT_EQ(rectTool2.bottom - kBorder, rectDialog.top);
    EXPECT_EQ(m_pFrame->m_wndDialogBar.m_sizeDefault, rectDialog.Size()) << "a dialog bar docks in its template's size";
    // the last row's bottom border lies under the dock bar's edge
    CRect rectTop = InFrame(m_pTop);
    EXPECT_EQ(CRect(0, 0, 620, rectDialog.bottom - kBorder), rectTop);
    CWnd* pView = m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    ASSERT_NE(nullptr, pView);
    EXPECT_EQ(rectTop.bottom, InFrame(pView).top);
    EXPECT_EQ(InFrame(&m_pFrame->m_wndStatusBar).top, InFrame(pView).bottom);
    EXPECT_EQ(420, InFrame(&m_pFrame->m_wndStatusBar).bottom);
    framestest::SaveScreenshot(m_pFrame, "docking_three_rows");
}

TEST_F(DockLayoutTest, InsertPutsABarIntoTheRowItsMiddleFallsInto)
{
    // rows: toolbar (y 0..26 in the dock bar's client area), second toolbar, dialog bar
    CRect rectTool = RectIn(&m_pFrame->m_wndToolBar, m_pTop);
    CRect rectDialog = RectIn(&m_pFrame->m_wndDialogBar, m_pTop);
    CControlBar* pNew = &m_pFrame->m_wndToolBar2;
    struct Case {
        const char* pszWhere;
        CRect rect;
        std::vector<UINT> expected;
    } const cases[] = {
        {"above every row", CRect(0, -30, 50, -20), {0, 0xE807, 0, AFX_IDW_TOOLBAR, 0, 0xE807, 0, AFX_IDW_DIALOGBAR, 0}},
        {"first row, left of the toolbar", CRect(rectTool.left - 40, 2, rectTool.left - 10, 12),
         {0, 0xE807, AFX_IDW_TOOLBAR, 0, 0xE807, 0, AFX_IDW_DIALOGBAR, 0}},
        {"first row, right of the toolbar", CRect(rectTool.right + 10, 2, rectTool.right + 40, 12),
         {0, AFX_IDW_TOOLBAR, 0xE807, 0, 0xE807, 0, AFX_IDW_DIALOGBAR, 0}},
        {"last row, right of the dialog bar", CRect(rectDialog.right + 5, rectDialog.top + 4, rectDialog.right + 30, rectDialog.top + 14),
         {0, AFX_IDW_TOOLBAR, 0, 0xE807, 0, AFX_IDW_DIALOGBAR, 0xE807, 0}},
        {"below every row", CRect(0, rectDialog.bottom + 20, 50, rectDialog.bottom + 30),
         {0, AFX_IDW_TOOLBAR, 0, 0xE807, 0, AFX_IDW_DIALOGBAR, 0, 0xE807, 0}},
    };
    for (const Case& c : cases) {
        CPtrArray saved;
        saved.Copy(m_pTop->m_arrBars);
        int nPos = m_pTop->Insert(pNew, c.rect, c.rect.CenterPoint());
        std::vector<UINT> ids = BarIds(m_pTop);
        EXPECT_EQ(c.expected, ids) << c.pszWhere;
        EXPECT_EQ((void*)pNew, m_pTop->m_arrBars[nPos]) << c.pszWhere;
        m_pTop->m_arrBars.Copy(saved);
    }
}

TEST_F(DockLayoutTest, ThreeBarsInTwoRows)
{
    DockSecondBesideFirst(10);
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(m_pTop))
        << "the second toolbar's old row went with it";
    CRect rectTool = InFrame(&m_pFrame->m_wndToolBar);
    CRect rectTool2 = InFrame(&m_pFrame->m_wndToolBar2);
    CRect rectDialog = InFrame(&m_pFrame->m_wndDialogBar);
    EXPECT_EQ(rectTool.top, rectTool2.top);
    EXPECT_EQ(rectTool.right + 10, rectTool2.left) << "a bar lying further along its row stays there";
    EXPECT_EQ(-kBorder, rectDialog.left);
    EXPECT_EQ(rectTool.bottom - kBorder, rectDialog.top);
    CRect rectTop = InFrame(m_pTop);
    EXPECT_EQ(rectDialog.bottom - kBorder, rectTop.bottom) << "two rows";
    CWnd* pView = m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    EXPECT_EQ(rectTop.bottom, InFrame(pView).top);
    framestest::SaveScreenshot(m_pFrame, "docking_three_bars_two_rows");

    // A bar moved ahead of its row's end moves back so that it ends where the row does (its
    // border beyond the end), but not over the bar before it; a bar that would start beyond the
    // end wraps into a row of its own.
    struct Case {
        int cxClient;
        int xTool2;      // afterwards, in frame coordinates
        BOOL bOwnRow;    // the second toolbar wrapped
    } const cases[] = {
        {620, rectTool.right + 10, FALSE},
        {rectTool.right + rectTool2.Width() + 4, rectTool.right + 4 + kBorder, FALSE},
        {rectTool.right + rectTool2.Width() - 20, rectTool.right - kBorder, FALSE},
        {rectTool.right - kBorder, -kBorder, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "client width " << c.cxClient);
        framestest::SetClientSize(m_pFrame, c.cxClient, 420);
        m_pFrame->RecalcLayout();
        CRect rect2 = InFrame(&m_pFrame->m_wndToolBar2);
        EXPECT_EQ(c.xTool2, rect2.left);
        if (c.bOwnRow) {
            EXPECT_EQ(rectTool.bottom - kBorder, rect2.top);
            EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(m_pTop));
        } else {
            EXPECT_EQ(rectTool.top, rect2.top);
        }
    }
    // The first bar of a row never wraps, however narrow the frame.
    framestest::SetClientSize(m_pFrame, 60, 420);
    m_pFrame->RecalcLayout();
    EXPECT_EQ(CPoint(-kBorder, 0), InFrame(&m_pFrame->m_wndToolBar).TopLeft());
    EXPECT_EQ(0, BarIds(m_pTop)[0]);
    EXPECT_EQ(AFX_IDW_TOOLBAR, BarIds(m_pTop)[1]);
}

TEST_F(DockLayoutTest, HiddenBarsGiveTheirRoomBack)
{
    DockSecondBesideFirst(10);
    CWnd* pView = m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    CRect rectTool = InFrame(&m_pFrame->m_wndToolBar);
    int yTwoRows = InFrame(pView).top;

    // the second toolbar goes: its row keeps the first one
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar2, FALSE, FALSE);
    EXPECT_FALSE(m_pFrame->m_wndToolBar2.IsWindowVisible());
    EXPECT_EQ(yTwoRows, InFrame(pView).top);
    // the first one goes too: the dialog bar's row is the first one now
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, FALSE, FALSE);
    EXPECT_EQ(0, InFrame(&m_pFrame->m_wndDialogBar).top);
    EXPECT_EQ(yTwoRows - (rectTool.Height() - kBorder), InFrame(pView).top);
    framestest::SaveScreenshot(m_pFrame, "docking_toolbars_hidden");

    // Shown with a delay: visible to the layout at once, the window shows at idle time.
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, TRUE, TRUE);
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsVisible());
    EXPECT_FALSE(m_pFrame->m_wndToolBar.IsWindowVisible());
    RunToIdle();
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());
    EXPECT_EQ(rectTool, InFrame(&m_pFrame->m_wndToolBar));
    EXPECT_EQ(yTwoRows, InFrame(pView).top);
    // a delayed hide that a direct show follows does not hide it later
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, FALSE, TRUE);
    m_pFrame->ShowControlBar(&m_pFrame->m_wndToolBar, TRUE, FALSE);
    RunToIdle();
    EXPECT_TRUE(m_pFrame->m_wndToolBar.IsWindowVisible());

    // The bar toggles: the command with a bar's id shows or hides it, its menu item is checked
    // while the bar is visible; an id without a bar is passed on.
    m_pFrame->SendMessage(WM_COMMAND, IDW_SECOND_TOOLBAR);
    EXPECT_TRUE(m_pFrame->m_wndToolBar2.IsWindowVisible());
    m_pFrame->SendMessage(WM_COMMAND, AFX_IDW_DIALOGBAR);
    EXPECT_FALSE(m_pFrame->m_wndDialogBar.IsWindowVisible());
    EXPECT_EQ(yTwoRows - (InFrame(&m_pFrame->m_wndDialogBar).Height() - kBorder), InFrame(pView).top)
        << "the dialog bar's row went";
    CMenu menu;
    menu.CreatePopupMenu();
    const UINT ids[] = {AFX_IDW_TOOLBAR, IDW_SECOND_TOOLBAR, AFX_IDW_DIALOGBAR, AFX_IDW_STATUS_BAR};
    for (UINT nID : ids)
        menu.AppendMenu(MF_STRING, nID, "Leiste");
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)menu.m_hMenu, 0);
    struct Case {
        UINT nID;
        UINT nState;
    } const cases[] = {
        {AFX_IDW_TOOLBAR, MF_CHECKED},
        {IDW_SECOND_TOOLBAR, MF_CHECKED},
        {AFX_IDW_DIALOGBAR, MF_UNCHECKED},
        {AFX_IDW_STATUS_BAR, MF_CHECKED},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nState, menu.GetMenuState(c.nID, MF_BYCOMMAND) & (MF_CHECKED | MF_GRAYED | MF_DISABLED)) << c.nID;
    EXPECT_FALSE(m_pFrame->OnBarCheck(0xE8F0));
    m_pFrame->SendMessage(WM_COMMAND, AFX_IDW_DIALOGBAR);
    EXPECT_TRUE(m_pFrame->m_wndDialogBar.IsWindowVisible());
    EXPECT_EQ(yTwoRows, InFrame(pView).top);
}

TEST_F(DockLayoutTest, OnlyBarsOfTheFrameWithADockingContextDock)
{
    // the status bar has no docking context: it stays the frame's child at the bottom
    m_pFrame->DockControlBar(&m_pFrame->m_wndStatusBar);
    EXPECT_EQ(nullptr, m_pFrame->m_wndStatusBar.m_pDockBar);
    EXPECT_EQ(m_pFrame, m_pFrame->m_wndStatusBar.GetParent());
    // a dock bar id the frame lacks docks nothing
    m_pFrame->DockControlBar(&m_pFrame->m_wndToolBar, 0xE8F1);
    EXPECT_EQ(m_pTop, m_pFrame->m_wndToolBar.m_pDockBar);

    // a bar of another frame is left alone
    docktest::FrameSetup setup;
    setup.bDockBars = FALSE;
    CDockFrame* pOther = MakeFrame(setup, 40, 40, 400, 300);
    ASSERT_NE(nullptr, pOther);
    m_pFrame->DockControlBar(&pOther->m_wndToolBar, AFX_IDW_DOCKBAR_TOP);
    EXPECT_EQ(nullptr, pOther->m_wndToolBar.m_pDockBar);
    EXPECT_EQ(pOther, pOther->m_wndToolBar.GetParent());
    EXPECT_EQ(-1, m_pTop->FindBar(&pOther->m_wndToolBar));
    // its bars, never docked, take their room as plain bars of their frame
    pOther->RecalcLayout();
    EXPECT_EQ(0, RectIn(&pOther->m_wndToolBar, pOther).top);
}

TEST_F(DockLayoutTest, ABarWhoseWindowGoesLeavesItsRow)
{
    DockSecondBesideFirst(10);
    CWnd* pView = m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    // one bar of a shared row, then a bar alone in its row (the row goes with it)
    struct Case {
        CControlBar* pBar;
        UINT nID;
        std::vector<UINT> rows;
        CControlBar* pLowest; // the bar of the last row left
    } const cases[] = {
        {&m_pFrame->m_wndToolBar2, IDW_SECOND_TOOLBAR, {0, AFX_IDW_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}, &m_pFrame->m_wndDialogBar},
        {&m_pFrame->m_wndDialogBar, AFX_IDW_DIALOGBAR, {0, AFX_IDW_TOOLBAR, 0}, &m_pFrame->m_wndToolBar},
    };
    for (const Case& c : cases) {
        c.pBar->DestroyWindow();
        EXPECT_EQ(c.rows, BarIds(m_pTop)) << c.nID;
        EXPECT_EQ(nullptr, c.pBar->m_pDockBar) << c.nID;
        EXPECT_EQ(nullptr, m_pFrame->GetControlBar(c.nID)) << c.nID;
        m_pFrame->RecalcLayout();
        EXPECT_EQ(InFrame(c.pLowest).bottom - kBorder, InFrame(m_pTop).bottom) << c.nID;
        EXPECT_EQ(InFrame(m_pTop).bottom, InFrame(pView).top) << c.nID;
    }
}

TEST_F(DockLayoutTest, TheFrameTakesItsDockBarsAndFloatingFramesAlong)
{
    m_pFrame->FloatControlBar(&m_pFrame->m_wndToolBar2, CPoint(100, 100));
    CFrameWnd* pFloating = m_pFrame->m_wndToolBar2.GetParentFrame();
    ASSERT_NE(nullptr, pFloating);
    ASSERT_NE(m_pFrame, pFloating);
    std::vector<HWND> windows = {pFloating->m_hWnd, m_pTop->m_hWnd, m_pFrame->m_wndToolBar.m_hWnd, m_pFrame->m_wndToolBar2.m_hWnd};
    for (UINT nID : {AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        windows.push_back(DockBar(m_pFrame, nID)->m_hWnd);
    m_pFrame->DestroyWindow();
    for (HWND hWnd : windows)
        EXPECT_FALSE(::IsWindow(hWnd));
}

namespace {

// A control bar of a program's own (as a toolkit derives its bars): it records where the
// library calls its overrides.
class CRecordingBar : public CControlBar {
public:
    std::vector<std::string> m_log;
    BOOL Create(CWnd* pParentWnd, UINT nID)
    {
        m_dwStyle = CBRS_TOP | CBRS_GRIPPER | CBRS_SIZE_FIXED;
        return CWnd::Create(AFX_WNDCONTROLBAR_CLASS, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParentWnd, nID);
    }
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        m_log.push_back(std::string("fixed") + (bHorz ? " horz" : " vert"));
        (void)bStretch;
        return bHorz ? CSize(120, 30) : CSize(30, 120);
    }
    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        m_log.push_back("dynamic" + std::string(dwMode & LM_HORZDOCK ? " horzdock" : "") + (dwMode & LM_VERTDOCK ? " vertdock" : ""));
        return CControlBar::CalcDynamicLayout(nLength, dwMode);
    }
    void DoPaint(CDC* pDC) override
    {
        m_log.push_back("paint");
        CControlBar::DoPaint(pDC);
    }
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override
    {
        m_log.push_back(std::string("update ") + (pTarget != NULL ? pTarget->GetRuntimeClass()->m_lpszClassName : "-") +
                        (bDisableIfNoHndler ? " disable" : ""));
    }
    bool Saw(const std::string& strEntry) const { return std::find(m_log.begin(), m_log.end(), strEntry) != m_log.end(); }
};

} // namespace

TEST_F(DockLayoutTest, ABarOfTheProgramsOwnIsLaidOutPaintedAndUpdatedThroughItsOverrides)
{
    CRecordingBar bar;
    ASSERT_TRUE(bar.Create(m_pFrame, AFX_IDW_CONTROLBAR_FIRST + 40));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    bar.m_log.clear();

    // The dock bar asks the bar for its docked shape, which by default is its fixed one.
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(bar.Saw("dynamic horzdock")) << ::testing::PrintToString(bar.m_log);
    EXPECT_TRUE(bar.Saw("fixed horz")) << ::testing::PrintToString(bar.m_log);
    EXPECT_EQ(CSize(120, 30), docktest::ScreenRect(&bar).Size());

    // Painting goes through DoPaint, the idle update through OnUpdateCmdUI with the frame.
    bar.m_log.clear();
    bar.Invalidate();
    bar.UpdateWindow();
    EXPECT_TRUE(bar.Saw("paint")) << ::testing::PrintToString(bar.m_log);
    bar.m_log.clear();
    bar.SendMessage(WM_IDLEUPDATECMDUI, TRUE);
    EXPECT_EQ((std::vector<std::string>{"update CDockFrame disable"}), bar.m_log);

    // Docked at the left it is asked for its vertical shape.
    bar.m_log.clear();
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    EXPECT_TRUE(bar.Saw("dynamic vertdock")) << ::testing::PrintToString(bar.m_log);
    EXPECT_EQ(CSize(30, 120), docktest::ScreenRect(&bar).Size());
    bar.DestroyWindow();
    m_pFrame->RecalcLayout();
}

namespace {

// A dock bar and a floating frame of a program's own (as a toolkit puts its own in place of the
// library's): they record where the library calls their overrides.
std::vector<std::string> g_overrides;

class CRecordingDockBar : public CDockBar {
public:
    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override
    {
        g_overrides.push_back(std::string("dock bar layout") + (bHorz ? " horz" : " vert"));
        return CDockBar::CalcFixedLayout(bStretch, bHorz);
    }
    void DoPaint(CDC* pDC) override
    {
        g_overrides.push_back("dock bar paint");
        CDockBar::DoPaint(pDC);
    }
};

class CRecordingMiniFrame : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CRecordingMiniFrame)
public:
    BOOL Create(CWnd* pParent, DWORD dwBarStyle) override
    {
        g_overrides.push_back("floating create");
        return CMiniDockFrameWnd::Create(pParent, dwBarStyle);
    }
    void RecalcLayout(BOOL bNotify = TRUE) override
    {
        g_overrides.push_back("floating layout");
        CMiniDockFrameWnd::RecalcLayout(bNotify);
    }
};
IMPLEMENT_DYNCREATE(CRecordingMiniFrame, CMiniDockFrameWnd)

bool Saw(const std::string& s) { return std::find(g_overrides.begin(), g_overrides.end(), s) != g_overrides.end(); }

} // namespace

TEST_F(DockLayoutTest, DockBarsAndFloatingFramesOfTheProgramsOwnAreUsedThroughTheirOverrides)
{
    docktest::FrameSetup setup;
    setup.bDocking = FALSE;
    setup.bDockBars = FALSE;
    CDockFrame* pFrame = MakeFrame(setup, 40, 40);
    ASSERT_NE(nullptr, pFrame);
    CRecordingDockBar* pDockBar = new CRecordingDockBar; // deleted with its window
    ASSERT_TRUE(pDockBar->Create(pFrame, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | CBRS_TOP,
                                 AFX_IDW_DOCKBAR_TOP));
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CRecordingMiniFrame);
    CToolBar& bar = pFrame->m_wndToolBar;
    bar.EnableDocking(CBRS_ALIGN_TOP);

    g_overrides.clear();
    pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_TOP);
    pFrame->RecalcLayout();
    EXPECT_EQ(pDockBar, bar.m_pDockBar);
    EXPECT_TRUE(Saw("dock bar layout horz")) << ::testing::PrintToString(g_overrides);
    pDockBar->Invalidate();
    pDockBar->UpdateWindow();
    EXPECT_TRUE(Saw("dock bar paint")) << ::testing::PrintToString(g_overrides);

    g_overrides.clear();
    CPoint pt(200, 200);
    pFrame->ClientToScreen(&pt);
    pFrame->FloatControlBar(&bar, pt);
    RunToIdle();
    CFrameWnd* pFloating = bar.GetParentFrame();
    ASSERT_NE(nullptr, pFloating);
    EXPECT_TRUE(pFloating->IsKindOf(RUNTIME_CLASS(CRecordingMiniFrame)));
    EXPECT_TRUE(Saw("floating create")) << ::testing::PrintToString(g_overrides);
    EXPECT_TRUE(Saw("floating layout")) << ::testing::PrintToString(g_overrides);
}
