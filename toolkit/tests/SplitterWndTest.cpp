// The flat splitter: hiding and showing rows and columns with their panes' ids, the active pane
// and the sizes; exchanging the view of a pane; live resizing against the tracker; the no-size
// lock; the split cursors; and the program's arrangement of three flat splitters on screen.
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "CTkSplitterWnd.h"
#include "PanesTestSupport.h"
#include "TkColors.h"
#include "ToolkitTestSupport.h"

#include <vector>

using panestest::ChildRect;
using panestest::CFailingView;
using panestest::CLabelView;
using panestest::COtherView;

namespace {

// A frame of 600 x 400 client pixels whose pane is the splitter of the test.
class TkSplitterTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Teiler", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 700, 500)));
        panestest::SetClientSize(m_pFrame, 600, 400);
        m_pFrame->SetForegroundWindow();
    }
    void TearDown() override
    {
        if (m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
    }
    // nRows x nCols label views; the first row and column want cyFirst and cxFirst pixels, the
    // second ones (when there are three) cxSecond.
    void Make(int nRows, int nCols, int cyFirst, int cxFirst, int cxSecond = 0)
    {
        ASSERT_TRUE(m_split.CreateStatic(m_pFrame, nRows, nCols));
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++) {
                int cx = col == 0 ? cxFirst : (col == 1 ? cxSecond : 0);
                ASSERT_TRUE(m_split.CreateView(row, col, RUNTIME_CLASS(CLabelView), CSize(cx, row == 0 ? cyFirst : 0), NULL));
                m_split.GetPane(row, col)->SetWindowText("Bereich");
            }
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    int ColumnSize(int col)
    {
        int cxCur = 0, cxMin = 0;
        m_split.GetColumnInfo(col, cxCur, cxMin);
        return cxCur;
    }
    int RowSize(int row)
    {
        int cyCur = 0, cyMin = 0;
        m_split.GetRowInfo(row, cyCur, cyMin);
        return cyCur;
    }
    // What the hiding operations may change: every pane window's id, visibility and
    // rectangle, the counts and the sizes.
    struct State {
        std::vector<int> ids;
        std::vector<BOOL> visible;
        std::vector<CRect> rects;
        int nRows, nCols, nHiddenRow, nHiddenCol;
        bool operator==(const State& o) const
        {
            return ids == o.ids && visible == o.visible && rects == o.rects && nRows == o.nRows && nCols == o.nCols &&
                   nHiddenRow == o.nHiddenRow && nHiddenCol == o.nHiddenCol;
        }
    };
    State Snapshot(const std::vector<CWnd*>& panes)
    {
        State s;
        for (CWnd* p : panes) {
            s.ids.push_back(p->GetDlgCtrlID());
            s.visible.push_back(p->IsWindowVisible());
            s.rects.push_back(ChildRect(p));
        }
        s.nRows = m_split.GetRowCount();
        s.nCols = m_split.GetColumnCount();
        s.nHiddenRow = m_split.GetHiddenRow();
        s.nHiddenCol = m_split.GetHiddenColumn();
        return s;
    }
    std::vector<CWnd*> AllPanes()
    {
        std::vector<CWnd*> panes;
        for (int row = 0; row < m_split.GetRowCount(); row++)
            for (int col = 0; col < m_split.GetColumnCount(); col++)
                panes.push_back(m_split.GetPane(row, col));
        return panes;
    }
    LRESULT Mouse(UINT message, int x, int y)
    {
        return m_split.SendMessage(message, message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN ? MK_LBUTTON : 0,
                                   MAKELPARAM(x, y));
    }
    COLORREF PixelAt(int x, int y)
    {
        CDC* pDC = m_split.GetDC();
        COLORREF clr = pDC->GetPixel(x, y);
        m_split.ReleaseDC(pDC);
        return clr;
    }

    tktest::CTestApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    CTkSplitterWnd m_split;
};

} // namespace

TEST_F(TkSplitterTest, ConstructionAndFlatLook)
{
    // Flat: 6-pixel bars and gaps; style 2 stored, the drag flag still the system's.
    panestest::CFullDragSetting fullDrag(TRUE);
    CTkSplitterWnd split;
    EXPECT_EQ(6, split.m_cxSplitter);
    EXPECT_EQ(6, split.m_cySplitterGap);
    EXPECT_EQ((DWORD)TK_SPLIT_NOFULLDRAG, split.GetSplitterStyle());
    EXPECT_TRUE(split.IsFullDrag());
    split.SetSplitterStyle(TK_SPLIT_NOFULLDRAG | TK_SPLIT_NOBORDER);
    EXPECT_FALSE(split.IsFullDrag());
    EXPECT_EQ((DWORD)(TK_SPLIT_NOFULLDRAG | TK_SPLIT_NOBORDER), split.GetSplitterStyle());
    split.SetSplitterStyle(0);
    EXPECT_TRUE(split.IsFullDrag());

    Make(1, 2, 0, 200);
    EXPECT_EQ(CRect(208, 2, 598, 398), ChildRect(m_split.GetPane(0, 1)));
    m_split.EnableFlatLook(FALSE);
    EXPECT_EQ(7, m_split.m_cxSplitter);
    EXPECT_EQ(7, m_split.m_cySplitter);
    EXPECT_EQ(7, m_split.m_cxSplitterGap);
    EXPECT_EQ(7, m_split.m_cySplitterGap);
    EXPECT_EQ(CRect(209, 2, 598, 398), ChildRect(m_split.GetPane(0, 1)));

    // The settings change: read again, but style 2 keeps it off.
    m_split.SetSplitterStyle(0);
    panestest::CFullDragSetting dragOff(FALSE);
    m_split.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    EXPECT_FALSE(m_split.IsFullDrag());
    panestest::CFullDragSetting dragOn(TRUE);
    m_split.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    EXPECT_TRUE(m_split.IsFullDrag());
    m_split.SetSplitterStyle(TK_SPLIT_NOFULLDRAG);
    m_split.SendMessage(WM_SETTINGCHANGE, SPI_SETDRAGFULLWINDOWS, 0);
    EXPECT_FALSE(m_split.IsFullDrag());
}

TEST_F(TkSplitterTest, HidingAndShowingParksThePanesAndRestoresThem)
{
    struct Case {
        int nRows, nCols;
        bool bRow;      // a row is hidden, else a column
        int nHide;
        int activeRow, activeCol;    // the active pane before
        int newActiveRow, newActiveCol; // the active pane's original position after hiding
    } const cases[] = {
        {1, 2, false, 1, 0, 1, 0, 0}, // the active pane's column goes: column 0 becomes active
        {1, 2, false, 0, 0, 0, 0, 1}, // ... the next column
        {1, 3, false, 1, 0, 0, 0, 0}, // another column is active: it stays
        {1, 3, false, 2, 0, 2, 0, 0}, // the last column goes: back to column 0
        {1, 3, false, 0, 0, 1, 0, 1},
        {2, 1, true, 0, 0, 0, 1, 0},  // rows: the next row
        {2, 1, true, 1, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nRows << "x" << c.nCols << (c.bRow ? " row " : " column ") << c.nHide);
        if (m_split.m_hWnd != NULL)
            m_split.DestroyWindow();
        Make(c.nRows, c.nCols, 150, 150, 150);
        std::vector<CWnd*> panes = AllPanes();
        State before = Snapshot(panes);
        int nSize = c.bRow ? RowSize(c.nHide) : ColumnSize(c.nHide);
        CWnd* pActive = m_split.GetPane(c.activeRow, c.activeCol);
        m_pFrame->SetActiveView((CView*)pActive);
        ASSERT_EQ(pActive, m_split.GetActivePane());

        if (c.bRow)
            m_split.HideRow(c.nHide);
        else
            m_split.HideColumn(c.nHide);

        int n = c.bRow ? c.nRows : c.nCols;
        EXPECT_EQ(n - 1, c.bRow ? m_split.GetRowCount() : m_split.GetColumnCount());
        EXPECT_EQ(c.nHide, c.bRow ? m_split.GetHiddenRow() : m_split.GetHiddenColumn());
        for (int row = 0; row < c.nRows; row++)
            for (int col = 0; col < c.nCols; col++) {
                CWnd* pPane = panes[row * c.nCols + col];
                int k = c.bRow ? row : col;
                int nExpected = k == c.nHide ? n : (k > c.nHide ? k - 1 : k);
                int nId = c.bRow ? m_split.IdFromRowCol(nExpected, col) : m_split.IdFromRowCol(row, nExpected);
                EXPECT_EQ(nId, pPane->GetDlgCtrlID()) << row << "," << col;
                EXPECT_EQ(k != c.nHide, !!pPane->IsWindowVisible()) << row << "," << col;
            }
        // the visible panes fill the splitter; the hidden size waits past the last entry
        EXPECT_EQ(nSize, c.bRow ? m_split.m_pRowInfo[n - 1].nCurSize : m_split.m_pColInfo[n - 1].nCurSize);
        CWnd* pLast = c.bRow ? m_split.GetPane(n - 2, 0) : m_split.GetPane(0, n - 2);
        EXPECT_EQ(c.bRow ? 398 : 598, c.bRow ? ChildRect(pLast).bottom : ChildRect(pLast).right);
        EXPECT_EQ(panes[c.newActiveRow * c.nCols + c.newActiveCol], m_split.GetActivePane());

        if (c.bRow)
            m_split.ShowRow();
        else
            m_split.ShowColumn();
        tktest::RunToIdle();
        EXPECT_EQ(nSize, c.bRow ? m_split.m_pRowInfo[c.nHide].nIdealSize : m_split.m_pColInfo[c.nHide].nIdealSize);
        EXPECT_TRUE(before == Snapshot(panes));
    }
}

TEST_F(TkSplitterTest, RepeatedAndInvalidRequestsChangeNothing)
{
    Make(1, 3, 0, 150, 150);
    std::vector<CWnd*> panes = AllPanes();
    State start = Snapshot(panes);
    CView* pOutside = (CView*)RUNTIME_CLASS(CLabelView)->CreateObject();
    ASSERT_TRUE(pOutside->Create(NULL, "Fremd", WS_CHILD, CRect(0, 0, 10, 10), m_pFrame, 77, NULL));

    m_split.ShowColumn();
    m_split.ShowRow();
    m_split.HideColumn(-1);
    m_split.HideColumn(5);
    m_split.HideColumn(3);
    m_split.HideRow(0); // the only row
    m_split.HideRow(1);
    EXPECT_FALSE(m_split.SwitchView(0, 0, NULL));
    EXPECT_FALSE(m_split.SwitchView(0, 7, (CView*)panes[1]));
    EXPECT_FALSE(m_split.SwitchView(0, 0, pOutside)); // not a child of the splitter
    EXPECT_FALSE(m_split.SwitchView(0, 0, (CView*)panes[0]));
    EXPECT_EQ(nullptr, m_split.ReplaceView(0, 0, NULL));
    EXPECT_EQ(nullptr, m_split.ReplaceView(-1, 0, (CView*)panes[1]));
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 9, RUNTIME_CLASS(COtherView)));
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 0, NULL));
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 0, RUNTIME_CLASS(CWnd))); // no view class
    EXPECT_TRUE(start == Snapshot(panes));
    EXPECT_EQ(77, pOutside->GetDlgCtrlID());

    // Hiding the hidden column again changes nothing.
    m_split.HideColumn(1);
    State hidden = Snapshot(panes);
    m_split.HideColumn(1);
    EXPECT_TRUE(hidden == Snapshot(panes));

    // Hiding another column shows the hidden one first.
    m_split.HideColumn(2);
    EXPECT_EQ(2, m_split.GetHiddenColumn());
    EXPECT_EQ(2, m_split.GetColumnCount());
    EXPECT_EQ(m_split.IdFromRowCol(0, 1), panes[1]->GetDlgCtrlID());
    EXPECT_TRUE(panes[1]->IsWindowVisible());
    EXPECT_EQ(m_split.IdFromRowCol(0, 3), panes[2]->GetDlgCtrlID());
    EXPECT_FALSE(panes[2]->IsWindowVisible());
    m_split.ShowColumn();
    EXPECT_TRUE(start == Snapshot(panes));
}

TEST_F(TkSplitterTest, ExchangingTheViewOfAPane)
{
    Make(1, 2, 0, 200);
    CLabelView* pA = (CLabelView*)m_split.GetPane(0, 0);
    CLabelView* pB = (CLabelView*)m_split.GetPane(0, 1);
    CLabelView* pC = (CLabelView*)RUNTIME_CLASS(CLabelView)->CreateObject();
    ASSERT_TRUE(pC->Create(NULL, "Neu", WS_CHILD, CRect(0, 0, 0, 0), &m_split, 0, NULL));
    CRect rectPane = ChildRect(pA);

    // Switching: ids and visibility change places.
    ASSERT_TRUE(m_split.SwitchView(0, 0, pC));
    EXPECT_EQ(pC, m_split.GetPane(0, 0));
    EXPECT_TRUE(pC->IsWindowVisible());
    EXPECT_EQ(rectPane, ChildRect(pC));
    EXPECT_EQ(0, pA->GetDlgCtrlID());
    EXPECT_FALSE(pA->IsWindowVisible());
    EXPECT_EQ(pB, m_split.GetPane(0, 1));
    EXPECT_FALSE(m_split.SwitchView(0, 0, pC));

    // Replacing: the old view goes hidden with id 0.
    EXPECT_EQ(pC, m_split.ReplaceView(0, 0, pA));
    EXPECT_EQ(pA, m_split.GetPane(0, 0));
    EXPECT_TRUE(pA->IsWindowVisible());
    EXPECT_EQ(0, pC->GetDlgCtrlID());
    EXPECT_FALSE(pC->IsWindowVisible());
    EXPECT_EQ(nullptr, m_split.ReplaceView(0, 0, pA));

    // By class: the pane's own class or a base of it, or a view that cannot be made, change
    // nothing.
    m_split.SetColumnInfo(0, 200, 40);
    m_split.RecalcLayout();
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 0, RUNTIME_CLASS(CLabelView)));
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 0, RUNTIME_CLASS(CView)));
    EXPECT_EQ(nullptr, m_split.ReplaceViewByClass(0, 0, RUNTIME_CLASS(CFailingView)));
    EXPECT_EQ(pA, m_split.GetPane(0, 0));
    EXPECT_TRUE(pA->IsWindowVisible());
    EXPECT_EQ(m_split.IdFromRowCol(0, 0), pA->GetDlgCtrlID());

    EXPECT_EQ(pA, m_split.ReplaceViewByClass(0, 0, RUNTIME_CLASS(COtherView)));
    CWnd* pNew = m_split.GetPane(0, 0);
    ASSERT_NE(nullptr, pNew);
    ASSERT_TRUE(pNew->IsKindOf(RUNTIME_CLASS(COtherView)));
    EXPECT_EQ(1, ((CLabelView*)pNew)->m_nInitialUpdates);
    EXPECT_TRUE(pNew->IsWindowVisible());
    EXPECT_EQ(0, pA->GetDlgCtrlID());
    EXPECT_FALSE(pA->IsWindowVisible());
    int cxCur = 0, cxMin = 0;
    m_split.GetColumnInfo(0, cxCur, cxMin);
    EXPECT_EQ(200, cxCur);
    EXPECT_EQ(40, cxMin);
    EXPECT_EQ(rectPane, ChildRect(pNew));
}

TEST_F(TkSplitterTest, DraggingABarLiveOrWithATracker)
{
    panestest::CFullDragSetting fullDrag(TRUE);
    Make(1, 2, 0, 200);
    // The bar lies at 202..207; the column's width follows the mouse minus 4 pixels.
    const COLORREF clrBlack = RGB(0, 0, 0);
    struct Case {
        DWORD dwStyle;
        int nEnd;            // 0 release, 1 Escape, 2 capture lost
        int cxAfterMoves[2]; // after the moves to 255 and 305
        int cxEnd;
        bool bTracker;       // an inverted tracker shows at the mouse mid-drag
    } const cases[] = {
        {0, 0, {251, 301}, 301, false},
        {0, 2, {251, 301}, 301, false}, // live changes stay when the mouse is taken away
        {TK_SPLIT_NOFULLDRAG, 0, {200, 200}, 301, true},
        {TK_SPLIT_NOFULLDRAG, 1, {200, 200}, 200, true},
        {TK_SPLIT_NOFULLDRAG, 2, {200, 200}, 200, true},
        {TK_SPLIT_NOBORDER, 0, {251, 301}, 301, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.dwStyle << " end " << c.nEnd);
        m_split.SetSplitterStyle(c.dwStyle);
        m_split.SetColumnInfo(0, 200, 0);
        m_split.RecalcLayout();
        tktest::RunToIdle();
        Mouse(WM_LBUTTONDOWN, 205, 100);
        ASSERT_TRUE(m_split.IsTracking());
        EXPECT_EQ(201, m_split.m_htTrack);
        Mouse(WM_MOUSEMOVE, 255, 100);
        EXPECT_TRUE(m_split.IsTracking());
        EXPECT_EQ(c.cxAfterMoves[0], ColumnSize(0));
        EXPECT_EQ(c.bTracker, PixelAt(255, 200) == clrBlack);
        Mouse(WM_MOUSEMOVE, 305, 100);
        EXPECT_EQ(c.cxAfterMoves[1], ColumnSize(0));
        EXPECT_EQ(c.cxAfterMoves[1], ChildRect(m_split.GetPane(0, 0)).Width());
        if (c.nEnd == 0) {
            Mouse(WM_LBUTTONUP, 305, 100);
        } else if (c.nEnd == 1) {
            m_split.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        } else {
            m_pFrame->SetCapture();
            Mouse(WM_MOUSEMOVE, 355, 100);
            ::ReleaseCapture();
        }
        EXPECT_FALSE(m_split.IsTracking());
        EXPECT_NE(m_split.m_hWnd, ::GetCapture());
        EXPECT_EQ(c.cxEnd, ColumnSize(0));
        tktest::RunToIdle();
        EXPECT_NE(clrBlack, PixelAt(255, 200)); // no tracker left behind
    }
}

TEST_F(TkSplitterTest, NoSizeLockAndSplitCursors)
{
    Make(2, 2, 100, 200);
    // The 2 x 2 splitter: column bar at x 202..207, row bar at y 102..107.
    struct Case {
        POINT pt;
        HCURSOR hCursor;
    } const cases[] = {
        {{205, 50}, tkAfxData.hcurColSplit},
        {{205, 300}, tkAfxData.hcurColSplit},
        {{50, 105}, tkAfxData.hcurRowSplit},
        {{205, 105}, ::LoadCursor(NULL, IDC_SIZEALL)},
        {{50, 50}, ::LoadCursor(NULL, IDC_ARROW)},
    };
    ASSERT_NE(nullptr, tkAfxData.hcurColSplit);
    ASSERT_NE(nullptr, tkAfxData.hcurRowSplit);
    for (const Case& c : cases) {
        ::SetCursor(NULL);
        m_split.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.pt.x, c.pt.y));
        EXPECT_EQ(c.hCursor, ::GetCursor()) << c.pt.x << "," << c.pt.y;
    }

    // A real press on the bar: it tracks unless the splitter is locked.
    for (DWORD dwStyle : {(DWORD)TK_SPLIT_NOFULLDRAG, (DWORD)(TK_SPLIT_NOFULLDRAG | TK_SPLIT_NOSIZE)}) {
        SCOPED_TRACE(dwStyle);
        m_split.SetSplitterStyle(dwStyle);
        CPoint pt(204, 50); // the middle of the bar: a move on the press keeps the width
        m_split.ClientToScreen(&pt);
        bool bLocked = (dwStyle & TK_SPLIT_NOSIZE) != 0;
        EXPECT_EQ(bLocked ? HTBORDER : HTCLIENT, (int)m_split.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)));
        int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
        int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_MOUSE;
        input[0].mi.dx = input[1].mi.dx = pt.x * 65535 / (cxScreen - 1);
        input[0].mi.dy = input[1].mi.dy = pt.y * 65535 / (cyScreen - 1);
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(2, input, sizeof(INPUT));
        tktest::RunToIdle();
        EXPECT_EQ(!bLocked, !!m_split.IsTracking());
        input[0].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
        ::SendInput(1, input, sizeof(INPUT));
        tktest::RunToIdle();
        EXPECT_FALSE(m_split.IsTracking());
        EXPECT_EQ(200, ColumnSize(0));
    }
}

// The program's arrangement: the main frame's splitter (1 x 2, the view bar left), the inner
// splitter (1 x 2) and the side splitter (2 x 1), all flat with style 2.
TEST(TkSplitterShotTest, ProgramSplittersWithTheViewBarHiddenAndShown)
{
    tktest::CTestApp app;
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Terminplaner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 1024, 768)));
    pFrame->SetForegroundWindow();
    CTkSplitterWnd outer, inner, side;
    ASSERT_TRUE(outer.CreateStatic(pFrame, 1, 2, WS_CHILD | WS_VISIBLE | WS_BORDER, AFX_IDW_PANE_FIRST));
    outer.SetSplitterStyle(TK_SPLIT_NOFULLDRAG);
    outer.EnableFlatLook(TRUE);
    ASSERT_TRUE(outer.CreateView(0, 0, RUNTIME_CLASS(CLabelView), CSize(130, 0), NULL));
    outer.GetPane(0, 0)->SetWindowText("Ansichten");
    ASSERT_TRUE(inner.CreateStatic(&outer, 1, 2, WS_CHILD | WS_VISIBLE | WS_BORDER, outer.IdFromRowCol(0, 1)));
    inner.SetSplitterStyle(TK_SPLIT_NOFULLDRAG);
    inner.EnableFlatLook(TRUE);
    ASSERT_TRUE(inner.CreateView(0, 0, RUNTIME_CLASS(CLabelView), CSize(600, 0), NULL));
    inner.GetPane(0, 0)->SetWindowText("Tagesansicht");
    ASSERT_TRUE(side.CreateStatic(&inner, 2, 1, WS_CHILD | WS_VISIBLE | WS_BORDER, inner.IdFromRowCol(0, 1)));
    side.SetSplitterStyle(TK_SPLIT_NOFULLDRAG);
    ASSERT_TRUE(side.CreateView(0, 0, RUNTIME_CLASS(CLabelView), CSize(0, 200), NULL));
    side.GetPane(0, 0)->SetWindowText("Monatskalender");
    ASSERT_TRUE(side.CreateView(1, 0, RUNTIME_CLASS(CLabelView), CSize(0, 0), NULL));
    side.GetPane(1, 0)->SetWindowText("Aufgaben");
    pFrame->RecalcLayout();
    tktest::RunToIdle();
    CWnd* pBar = outer.GetPane(0, 0);
    int cxInner = ChildRect(&inner).Width();
    panestest::SaveShot(pFrame, "splitter-view-bar-shown");

    outer.HideColumn(0);
    tktest::RunToIdle();
    EXPECT_FALSE(pBar->IsWindowVisible());
    EXPECT_EQ(&inner, outer.GetPane(0, 0));
    EXPECT_GT(ChildRect(&inner).Width(), cxInner + 130);
    panestest::SaveShot(pFrame, "splitter-view-bar-hidden");

    outer.ShowColumn();
    tktest::RunToIdle();
    EXPECT_TRUE(pBar->IsWindowVisible());
    EXPECT_EQ(pBar, outer.GetPane(0, 0));
    EXPECT_EQ(cxInner, ChildRect(&inner).Width());
    panestest::SaveShot(pFrame, "splitter-view-bar-shown-again");

    // A tracker mid-drag on the inner splitter's bar.
    CRect rectDay = ChildRect(inner.GetPane(0, 0));
    int xBar = rectDay.right + 3;
    inner.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(xBar, 300));
    ASSERT_TRUE(inner.IsTracking());
    inner.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(xBar - 150, 300));
    panestest::SaveShot(pFrame, "splitter-tracker-mid-drag", false);
    inner.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(inner.IsTracking());
    pFrame->DestroyWindow();
}

TEST_F(TkSplitterTest, TheVariantPaintsItsTopStrip)
{
    CTkSplitterWndEx split;
    ASSERT_TRUE(split.CreateStatic(m_pFrame, 1, 2));
    split.MoveWindow(0, 0, 200, 100);
    split.SetTopMargin(8);
    EXPECT_EQ(8, split.GetTopMargin());
    split.SetTopLine(TRUE);
    EXPECT_TRUE(split.GetTopLine());
    // the background into a white bitmap: the strip below the border, nothing else
    CClientDC dcScreen(&split);
    CDC dc;
    dc.CreateCompatibleDC(&dcScreen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dcScreen, 100, 40);
    CBitmap* pOld = dc.SelectObject(&bitmap);
    dc.FillSolidRect(0, 0, 100, 40, RGB(255, 255, 255));
    EXPECT_TRUE(split.SendMessage(WM_ERASEBKGND, (WPARAM)dc.m_hDC));
    COLORREF clrFace = TkGetSysColor(51);
    EXPECT_EQ(clrFace, dc.GetPixel(10, 2));
    EXPECT_EQ(clrFace, dc.GetPixel(10, 9));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(10, 10));
    EXPECT_EQ(RGB(255, 255, 255), dc.GetPixel(10, 1));
    dc.SelectObject(pOld);
    split.DestroyWindow();
}
