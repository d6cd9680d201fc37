// Docking by the mouse: a toolbar dragged by its gripper from the top to the left side, floated
// in the middle of the frame, docked back by a double click on its floating frame's caption and
// dragged back to the top, its dock bars' rows and its rectangles checked after each step, and
// the layout saved and loaded into a new frame; a drag cancelled by Escape or the right button,
// Ctrl keeping a bar from docking; a floating frame moved by its caption, resized by its border,
// closed and shown again; a floating bar's placeholder keeping its row.
#include <gtest/gtest.h>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::BarIds;
using docktest::CDockFrame;
using docktest::DockBar;
using docktest::PostDrag;
using docktest::RectIn;
using docktest::ScreenRect;
using framestest::RunToIdle;

namespace {

const int kBorder = 2;
// Where the gripper of a docked bar is, in the bar's client coordinates: left of the client area
// of a horizontal bar, above it of a vertical one.
const CPoint kGripperHorz(-5, 10);
const CPoint kGripperVert(10, -5);

class MouseDockingTest : public docktest::DockingTest {
protected:
    void SetUp() override
    {
        m_pFrame = MakeFrame();
        ASSERT_NE(nullptr, m_pFrame);
    }
    // A point of the frame's client area on the screen.
    CPoint OnFrame(CFrameWnd* pFrame, int x, int y)
    {
        CPoint pt(x, y);
        pFrame->ClientToScreen(&pt);
        return pt;
    }
    CMiniDockFrameWnd* FloatingFrameOf(CControlBar* pBar)
    {
        CFrameWnd* pFrame = pBar->GetParentFrame();
        return pFrame != NULL && pFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)) ? (CMiniDockFrameWnd*)pFrame : nullptr;
    }
    // A point in the caption of a floating frame (screen coordinates).
    CPoint CaptionPoint(CFrameWnd* pFloating)
    {
        CRect rect = ScreenRect(pFloating);
        return CPoint(rect.left + 20, rect.top + ::GetSystemMetrics(SM_CYFRAME) + ::GetSystemMetrics(SM_CYSMCAPTION) / 2);
    }
    std::vector<UINT> Ids(CFrameWnd* pFrame, UINT nDockBarID) { return BarIds(DockBar(pFrame, nDockBarID)); }

    CDockFrame* m_pFrame = nullptr;
    CDockFrame* m_pFrame2 = nullptr;
};

} // namespace

TEST_F(MouseDockingTest, ABarDraggedToTheLeftFloatedAndDockedBack)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CDockBar* pTop = DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP);
    CDockBar* pLeft = DockBar(m_pFrame, AFX_IDW_DOCKBAR_LEFT);
    CWnd* pView = m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST);
    CRect rectHorz = RectIn(&bar, m_pFrame);
    CPoint ptLeftOrigin(0, 0); // the left dock bar's inside in the frame before the drag
    pLeft->ClientToScreen(&ptLeftOrigin);
    m_pFrame->ScreenToClient(&ptLeftOrigin);
    docktest::SaveFrameShot(m_pFrame, "docking_step0_start");

    // 1. From the top to the left side: the bar turns vertical where the mouse left it.
    PostDrag(&bar, kGripperHorz, {OnFrame(m_pFrame, 40, 150), OnFrame(m_pFrame, 3, 200)});
    RunToIdle();
    EXPECT_EQ(nullptr, ::GetCapture());
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0}), BarIds(pLeft));
    EXPECT_EQ((std::vector<UINT>{0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(pTop)) << "its row went with it";
    EXPECT_EQ(pLeft, bar.m_pDockBar);
    EXPECT_EQ((DWORD)CBRS_ALIGN_LEFT, bar.GetBarStyle() & CBRS_ALIGN_ANY);
    CRect rectVert = RectIn(&bar, m_pFrame);
    CSize sizeVert = bar.CalcDynamicLayout(-1, LM_VERTDOCK);
    EXPECT_EQ(sizeVert, rectVert.Size());
    EXPECT_EQ(-kBorder, rectVert.left);
    // dropped where the mouse left it (its top as far above the mouse as when it was pressed),
    // and kept there in its dock bar when the top rows shrank
    CRect rectInLeft;
    bar.GetWindowRect(&rectInLeft);
    pLeft->ScreenToClient(&rectInLeft);
    EXPECT_EQ(200 - (kGripperHorz.y + kBorder) - ptLeftOrigin.y, rectInLeft.top);
    EXPECT_EQ(RectIn(pLeft, m_pFrame).right, RectIn(pView, m_pFrame).left) << "the view gives the side its room";
    EXPECT_EQ(sizeVert.cx - kBorder - kBorder, RectIn(pLeft, m_pFrame).Width());
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_LEFT, bar.m_pDockContext->m_uMRUDockID);
    docktest::SaveFrameShot(m_pFrame, "docking_step1_left");

    // 2. From the left into the middle of the view: it floats, its place on the left kept.
    PostDrag(&bar, kGripperVert, {OnFrame(m_pFrame, 200, 200), OnFrame(m_pFrame, 300, 220)});
    RunToIdle();
    CMiniDockFrameWnd* pFloating = FloatingFrameOf(&bar);
    ASSERT_NE(nullptr, pFloating);
    EXPECT_TRUE(bar.IsFloating());
    EXPECT_TRUE(bar.GetBarStyle() & CBRS_FLOATING);
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, bar.GetBarStyle() & CBRS_ALIGN_ANY) << "a bar that changes its shape floats horizontally";
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0}), BarIds(&pFloating->m_wndDockBar));
    EXPECT_EQ((UINT)AFX_IDW_DOCKBAR_FLOAT, (UINT)pFloating->m_wndDockBar.GetDlgCtrlID());
    EXPECT_TRUE(pFloating->m_wndDockBar.m_bFloating);
    ASSERT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR | 0x10000, 0}), BarIds(pLeft)) << "a placeholder keeps its row";
    EXPECT_TRUE((UINT_PTR)pLeft->m_arrBars[1] <= 0xFFFF);
    EXPECT_EQ(nullptr, pLeft->GetDockedControlBar(1));
    EXPECT_EQ(0, pLeft->GetDockedCount());
    EXPECT_EQ(0, RectIn(pView, m_pFrame).left) << "an empty side takes no room";
    EXPECT_TRUE(pFloating->IsWindowVisible());
    EXPECT_EQ(m_pFrame->m_hWnd, ::GetWindow(pFloating->m_hWnd, GW_OWNER));
    EXPECT_TRUE(m_pFrame->m_listControlBars.Find(&pFloating->m_wndDockBar) != NULL) << "the frame keeps the floating dock bar";
    EXPECT_EQ(bar.m_pDockContext->m_ptMRUFloatPos, ScreenRect(pFloating).TopLeft());
    EXPECT_EQ((DWORD)CBRS_ALIGN_TOP, bar.m_pDockContext->m_dwMRUFloatStyle);
    CRect rectFloating = ScreenRect(pFloating);
    EXPECT_TRUE(rectFloating.PtInRect(ScreenRect(&bar).CenterPoint()));
    CString strTitle;
    pFloating->GetWindowText(strTitle);
    EXPECT_EQ(CString("Standard"), strTitle) << "the floating frame shows the bar's title";
    docktest::SaveFrameShot(m_pFrame, "docking_step2_floating");

    // 3. A double click on the floating frame's caption docks it where it was docked last.
    HWND hWndFloating = pFloating->m_hWnd;
    CPoint ptCaption = CaptionPoint(pFloating);
    ASSERT_EQ(HTCAPTION, (int)pFloating->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptCaption.x, ptCaption.y)));
    pFloating->PostMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    RunToIdle();
    EXPECT_FALSE(::IsWindow(hWndFloating)) << "a floating frame without bars goes";
    EXPECT_EQ(pLeft, bar.m_pDockBar);
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0}), BarIds(pLeft));
    EXPECT_EQ(rectVert, RectIn(&bar, m_pFrame)) << "back in its place";
    docktest::SaveFrameShot(m_pFrame, "docking_step3_docked_back");

    // 4. Back to the top, into the second toolbar's row after it.
    PostDrag(&bar, kGripperVert, {OnFrame(m_pFrame, 200, 100), OnFrame(m_pFrame, 300, 8)});
    RunToIdle();
    EXPECT_EQ(pTop, bar.m_pDockBar);
    EXPECT_EQ((std::vector<UINT>{0, IDW_SECOND_TOOLBAR, AFX_IDW_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(pTop));
    EXPECT_EQ((std::vector<UINT>{0}), BarIds(pLeft));
    CRect rectBack = RectIn(&bar, m_pFrame);
    EXPECT_EQ(rectHorz.Size(), rectBack.Size()) << "horizontal again";
    EXPECT_EQ(RectIn(&m_pFrame->m_wndToolBar2, m_pFrame).top, rectBack.top);
    EXPECT_EQ(0, RectIn(pView, m_pFrame).left);
    docktest::SaveFrameShot(m_pFrame, "docking_step4_top_again");

    // 5. The layout saved and loaded into a new frame (made with the bars in their first
    // places) gives the same rows, rectangles and remembered places.
    m_pFrame->SaveBarState("Schritte");
    m_pFrame2 = MakeFrame(docktest::FrameSetup(), 40, 40);
    ASSERT_NE(nullptr, m_pFrame2);
    m_pFrame2->LoadBarState("Schritte");
    RunToIdle();
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT})
        EXPECT_EQ(Ids(m_pFrame, nID), Ids(m_pFrame2, nID)) << nID;
    for (UINT nID : {AFX_IDW_TOOLBAR, IDW_SECOND_TOOLBAR, AFX_IDW_DIALOGBAR, AFX_IDW_STATUS_BAR}) {
        CControlBar* pBar1 = m_pFrame->GetControlBar(nID);
        CControlBar* pBar2 = m_pFrame2->GetControlBar(nID);
        EXPECT_EQ(RectIn(pBar1, m_pFrame), RectIn(pBar2, m_pFrame2)) << nID;
        EXPECT_EQ(pBar1->IsWindowVisible(), pBar2->IsWindowVisible()) << nID;
        EXPECT_EQ(pBar1->GetBarStyle(), pBar2->GetBarStyle()) << nID;
    }
    CDockContext* pContext2 = m_pFrame2->m_wndToolBar.m_pDockContext;
    EXPECT_EQ(bar.m_pDockContext->m_uMRUDockID, pContext2->m_uMRUDockID);
    EXPECT_EQ(bar.m_pDockContext->m_rectMRUDockPos, pContext2->m_rectMRUDockPos);
    EXPECT_EQ(bar.m_pDockContext->m_ptMRUFloatPos, pContext2->m_ptMRUFloatPos);
    docktest::SaveFrameShot(m_pFrame2, "docking_step5_loaded");
}

TEST_F(MouseDockingTest, EscapeOrTheRightButtonLeaveTheBarWhereItWas)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    CDockBar* pTop = DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP);
    std::vector<UINT> idsBefore = BarIds(pTop);
    CRect rectBefore = RectIn(&bar, m_pFrame);
    struct Case {
        const char* pszHow;
        UINT nEndKey;
        BOOL bRightButton;
    } const cases[] = {{"Escape", VK_ESCAPE, FALSE}, {"the right button", 0, TRUE}};
    for (const Case& c : cases) {
        if (c.bRightButton) {
            bar.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(kGripperHorz.x, kGripperHorz.y));
            CPoint pt = OnFrame(m_pFrame, 3, 200);
            bar.ScreenToClient(&pt);
            bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
            bar.PostMessage(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
            bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y)); // after the loop: a plain message
        } else {
            PostDrag(&bar, kGripperHorz, {OnFrame(m_pFrame, 3, 200)}, c.nEndKey);
        }
        RunToIdle();
        EXPECT_EQ(nullptr, ::GetCapture()) << c.pszHow;
        EXPECT_EQ(idsBefore, BarIds(pTop)) << c.pszHow;
        EXPECT_EQ(rectBefore, RectIn(&bar, m_pFrame)) << c.pszHow;
        EXPECT_EQ(pTop, bar.m_pDockBar) << c.pszHow;
    }
    // another window that has the mouse already keeps the drag from starting
    m_pFrame->SetCapture();
    bar.m_pDockContext->StartDrag(ScreenRect(&bar).TopLeft() + CSize(4, 12));
    EXPECT_EQ(m_pFrame->m_hWnd, ::GetCapture());
    ::ReleaseCapture();
    EXPECT_EQ(pTop, bar.m_pDockBar);
}

TEST_F(MouseDockingTest, CtrlKeepsABarFromDocking)
{
    CToolBar& bar = m_pFrame->m_wndToolBar2;
    // over the left side, as in the first drag above, but with Ctrl held: it floats there
    PostDrag(&bar, kGripperHorz, {OnFrame(m_pFrame, 3, 200)}, 0, {VK_CONTROL});
    RunToIdle();
    CMiniDockFrameWnd* pFloating = FloatingFrameOf(&bar);
    ASSERT_NE(nullptr, pFloating);
    EXPECT_EQ((std::vector<UINT>{0}), BarIds(DockBar(m_pFrame, AFX_IDW_DOCKBAR_LEFT)));
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR | 0x10000, 0, AFX_IDW_DIALOGBAR, 0}),
              BarIds(DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP)));
    // the floating frame's corner is where the outline was: the bar's corner moved with the mouse
    EXPECT_EQ(bar.m_pDockContext->m_ptMRUFloatPos, ScreenRect(pFloating).TopLeft());
    docktest::SaveFrameShot(m_pFrame, "docking_ctrl_floats");
}

TEST_F(MouseDockingTest, AFloatingFrameMovesWithItsCaptionAndResizesWithItsBorder)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    m_pFrame->FloatControlBar(&bar, OnFrame(m_pFrame, 150, 150));
    RunToIdle();
    CMiniDockFrameWnd* pFloating = FloatingFrameOf(&bar);
    ASSERT_NE(nullptr, pFloating);
    HWND hWndFloating = pFloating->m_hWnd;
    CRect rectStart = ScreenRect(pFloating);
    EXPECT_EQ(OnFrame(m_pFrame, 150, 150), rectStart.TopLeft());
    EXPECT_FALSE(pFloating->GetStyle() & MFS_MOVEFRAME) << "a bar that changes its shape can be resized";

    // The caption drags the bar: away from the dock bars the floating frame itself moves.
    CPoint ptCaption = CaptionPoint(pFloating);
    pFloating->PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    CPoint pt = ptCaption + CSize(40, 30);
    bar.ScreenToClient(&pt);
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    RunToIdle();
    EXPECT_EQ(hWndFloating, FloatingFrameOf(&bar)->m_hWnd) << "the same floating frame";
    EXPECT_EQ(rectStart.TopLeft() + CSize(40, 30), ScreenRect(pFloating).TopLeft());
    EXPECT_EQ(ScreenRect(pFloating).TopLeft(), bar.m_pDockContext->m_ptMRUFloatPos);

    // Its right border narrows it: the buttons wrap into rows, the bar remembers the width.
    CRect rectBar = ScreenRect(&bar);
    CRect rectFrame = ScreenRect(pFloating);
    CPoint ptBorder(rectFrame.right - 2, rectFrame.CenterPoint().y);
    pFloating->PostMessage(WM_NCLBUTTONDOWN, HTRIGHT, MAKELPARAM(ptBorder.x, ptBorder.y));
    pt = ptBorder - CSize(rectBar.Width() / 2, 0);
    bar.ScreenToClient(&pt);
    bar.PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    bar.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    RunToIdle();
    CRect rectNarrow = ScreenRect(&bar);
    EXPECT_LT(rectNarrow.Width(), rectBar.Width() / 2 + 20);
    EXPECT_GT(rectNarrow.Height(), rectBar.Height());
    EXPECT_LT(bar.m_nMRUWidth, 32767u);
    EXPECT_EQ(rectNarrow.Size(), bar.CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH)) << "its floating shape is the narrow one";
    EXPECT_EQ(rectFrame.TopLeft(), ScreenRect(pFloating).TopLeft()) << "the left edge stays";
    CRect rectClient;
    pFloating->GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.Size(), ScreenRect(&pFloating->m_wndDockBar).Size()) << "the frame is as small as its bar";
    docktest::SaveFrameShot(m_pFrame, "docking_floating_narrow");

    // Closing the floating frame hides the bar (the frame stays for it); the bar's toggle shows
    // both again.
    pFloating->PostMessage(WM_CLOSE);
    RunToIdle();
    EXPECT_TRUE(::IsWindow(hWndFloating));
    EXPECT_FALSE(pFloating->IsWindowVisible());
    EXPECT_FALSE(bar.IsWindowVisible());
    m_pFrame->SendMessage(WM_COMMAND, AFX_IDW_TOOLBAR);
    RunToIdle();
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_TRUE(pFloating->IsWindowVisible());
}

TEST_F(MouseDockingTest, APlaceHolderKeepsTheRowOfAFloatingBar)
{
    CToolBar& bar = m_pFrame->m_wndToolBar2;
    CDockBar* pTop = DockBar(m_pFrame, AFX_IDW_DOCKBAR_TOP);
    CRect rectDocked = RectIn(&bar, m_pFrame);
    // floated by a double click on its gripper: where it was (it never floated before)
    bar.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kGripperHorz.x, kGripperHorz.y));
    RunToIdle();
    CMiniDockFrameWnd* pFloating = FloatingFrameOf(&bar);
    ASSERT_NE(nullptr, pFloating);
    ASSERT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR | 0x10000, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(pTop));
    EXPECT_EQ(2, pTop->GetDockedCount());
    EXPECT_EQ(2, pTop->GetDockedVisibleCount());
    EXPECT_TRUE(CDockBar::IsPlaceHolder(pTop->m_arrBars[3]));
    EXPECT_FALSE(CDockBar::IsPlaceHolder(pTop->m_arrBars[1]));
    EXPECT_FALSE(CDockBar::IsPlaceHolder(NULL));
    EXPECT_EQ(3, pTop->FindBar((CControlBar*)CDockBar::PlaceHolderOf(IDW_SECOND_TOOLBAR)));
    // a placeholder takes no room: the dialog bar's row follows the first one
    EXPECT_EQ(RectIn(&m_pFrame->m_wndToolBar, m_pFrame).bottom - kBorder, RectIn(&m_pFrame->m_wndDialogBar, m_pFrame).top);
    CPoint ptFrameCorner = ScreenRect(pFloating).TopLeft();
    CPoint ptDockedCorner = rectDocked.TopLeft();
    m_pFrame->ClientToScreen(&ptDockedCorner);
    EXPECT_EQ(ptDockedCorner, ptFrameCorner) << "floats where it was docked";

    // docked back by a double click on the floating frame's caption: into its row again
    HWND hWndFloating = pFloating->m_hWnd;
    CPoint ptCaption = CaptionPoint(pFloating);
    pFloating->PostMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    RunToIdle();
    EXPECT_FALSE(::IsWindow(hWndFloating));
    EXPECT_EQ((std::vector<UINT>{0, AFX_IDW_TOOLBAR, 0, IDW_SECOND_TOOLBAR, 0, AFX_IDW_DIALOGBAR, 0}), BarIds(pTop));
    EXPECT_EQ(rectDocked, RectIn(&bar, m_pFrame));
    // and floated again by a double click: where it floated last
    bar.PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(kGripperHorz.x, kGripperHorz.y));
    RunToIdle();
    ASSERT_NE(nullptr, FloatingFrameOf(&bar));
    EXPECT_EQ(ptFrameCorner, ScreenRect(FloatingFrameOf(&bar)).TopLeft());
}

namespace {

// A docking context of a program's own: it records the calls the bar and its floating frame make
// and reuses the library's floating-frame arithmetic.
class CRecordingDockContext : public CDockContext {
public:
    explicit CRecordingDockContext(CControlBar* pBar) : CDockContext(pBar) {}
    std::vector<std::string> m_log;
    void StartDrag(CPoint pt) override
    {
        m_log.push_back("drag");
        CDockContext::StartDrag(pt);
    }
    void ToggleDocking() override
    {
        m_log.push_back("toggle");
        CDockContext::ToggleDocking();
    }
    CRect FloatingWindowOf(CRect rect)
    {
        AdjustWindowForFloat(rect);
        return rect;
    }
};

} // namespace

TEST_F(MouseDockingTest, ADerivedDockingContextIsCalledAndKnowsTheFloatingFrame)
{
    CToolBar& bar = m_pFrame->m_wndToolBar;
    delete bar.m_pDockContext;
    CRecordingDockContext* pContext = new CRecordingDockContext(&bar);
    bar.m_pDockContext = pContext;

    m_pFrame->FloatControlBar(&bar, OnFrame(m_pFrame, 150, 150));
    RunToIdle();
    CMiniDockFrameWnd* pFloating = FloatingFrameOf(&bar);
    ASSERT_NE(nullptr, pFloating);
    EXPECT_EQ(ScreenRect(pFloating), pContext->FloatingWindowOf(ScreenRect(&bar)))
        << "the floating frame is the bar's rectangle grown by AdjustWindowForFloat";

    // A double click on the floating frame's caption docks the bar through the context.
    CPoint ptCaption = CaptionPoint(pFloating);
    pFloating->PostMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(ptCaption.x, ptCaption.y));
    RunToIdle();
    EXPECT_FALSE(bar.IsFloating());
    EXPECT_EQ((std::vector<std::string>{"toggle"}), pContext->m_log);

    // A press on the docked bar's gripper starts a drag through it (Escape ends it unchanged).
    CRect rectDocked = ScreenRect(&bar);
    PostDrag(&bar, kGripperHorz, {rectDocked.TopLeft() + CSize(30, 60)}, VK_ESCAPE);
    RunToIdle();
    EXPECT_EQ((std::vector<std::string>{"toggle", "drag"}), pContext->m_log);
    EXPECT_EQ(rectDocked, ScreenRect(&bar));
}
