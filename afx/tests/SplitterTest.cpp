// Splitter windows: the hit codes of bars, boxes and intersections, tracking a bar driven by
// mouse and key messages (the tracker, its limits, the new sizes), the layout of rows and columns
// with their ideal and minimum sizes, dynamic splitting through the split boxes with the shared
// scroll bars, panes made without a creation context, and the next-pane commands.
#include <gtest/gtest.h>

#include <afxext.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "FrameTestSupport.h"

using framestest::CPaneView;
using framestest::Log;
using framestest::RunToIdle;
using framestest::TheLog;

namespace {

// A frame (400 x 300 client pixels) whose pane is the splitter of the test.
class SplitterTest : public testing::Test {
protected:
    void SetUp() override
    {
        TheLog().clear();
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Teiler", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 500, 420)));
        framestest::SetClientSize(m_pFrame, 400, 300);
    }
    void TearDown() override
    {
        if (m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow(); // the splitter's window goes with it
    }
    // A static splitter of nRows x nCols panes; row 0 wants cyFirst, column 0 cxFirst pixels.
    void MakeStatic(int nRows, int nCols, int cyFirst, int cxFirst, CCreateContext* pContext = NULL)
    {
        ASSERT_TRUE(m_splitter.CreateStatic(m_pFrame, nRows, nCols));
        for (int row = 0; row < nRows; row++)
            for (int col = 0; col < nCols; col++)
                ASSERT_TRUE(m_splitter.CreateView(row, col, RUNTIME_CLASS(CPaneView),
                                                  CSize(col == 0 ? cxFirst : 0, row == 0 ? cyFirst : 0), pContext));
        m_pFrame->RecalcLayout();
        ASSERT_EQ(CRect(0, 0, 400, 300), framestest::ChildRect(&m_splitter));
    }
    int ColumnSize(int col)
    {
        int cxCur = 0;
        int cxMin = 0;
        m_splitter.GetColumnInfo(col, cxCur, cxMin);
        return cxCur;
    }
    int RowSize(int row)
    {
        int cyCur = 0;
        int cyMin = 0;
        m_splitter.GetRowInfo(row, cyCur, cyMin);
        return cyCur;
    }
    LRESULT Mouse(UINT message, int x, int y)
    {
        return m_splitter.SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }

    framestest::CProbeApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    CSplitterWnd m_splitter;
};

} // namespace

TEST_F(SplitterTest, HitCodesOfBarsAndIntersections)
{
    // Panes inside a 2-pixel border; the bars are the 7-pixel gaps between them (row 0 and
    // column 0 100 and 150 pixels).
    MakeStatic(2, 2, 100, 150);
    EXPECT_EQ(CRect(2, 2, 152, 102), framestest::ChildRect(m_splitter.GetPane(0, 0)));
    EXPECT_EQ(CRect(159, 109, 398, 298), framestest::ChildRect(m_splitter.GetPane(1, 1)));
    struct Case {
        POINT pt;
        int nHit;
    } const cases[] = {
        {{100, 50}, CSplitterWnd::noHit},   {{152, 50}, 201},  {{158, 50}, 201},
        {{151, 50}, CSplitterWnd::noHit},   {{159, 50}, CSplitterWnd::noHit},
        {{50, 102}, 101},                   {{50, 108}, 101},  {{50, 109}, CSplitterWnd::noHit},
        {{155, 105}, 301},                  {{155, 1}, CSplitterWnd::noHit},
        {{300, 200}, CSplitterWnd::noHit},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nHit, m_splitter.HitTest(c.pt)) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(m_splitter.IdFromRowCol(1, 1), m_splitter.GetPane(1, 1)->GetDlgCtrlID());
    int row = -1;
    int col = -1;
    EXPECT_TRUE(m_splitter.IsChildPane(m_splitter.GetPane(1, 0), &row, &col));
    EXPECT_EQ(1, row);
    EXPECT_EQ(0, col);
    EXPECT_FALSE(m_splitter.IsChildPane(m_pFrame, &row, &col));
    EXPECT_EQ(-1, row);
    framestest::SaveScreenshot(m_pFrame, "frames_splitter_static");
}

TEST_F(SplitterTest, DraggingTheBarSetsTheColumnWidth)
{
    MakeStatic(1, 2, 0, 150);
    struct Case {
        int xDown;
        int xMove;     // no move when equal to xDown
        UINT nEndKey;  // 0: button released; else the key that ends the tracking
        int cxColumn0; // afterwards
        int cxColumn1;
    } const cases[] = {
        {155, 155, 0, 150, 239},         // a click without moving changes nothing
        {155, 205, 0, 200, 189},         // 50 pixels to the right
        {156, 106, 0, 101, 288},         // the tracker is centred on the mouse, wherever the bar was gripped
        {155, 205, VK_ESCAPE, 150, 239}, // Escape cancels
        {155, 205, VK_RETURN, 200, 189}, // Enter accepts
        {155, 1000, 0, 391, 0},          // the tracker stops inside the splitter: no room for column 1
        {155, -100, 0, 0, 389},          // ... and at column 0's left edge: column 0 disappears
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.xDown << " -> " << c.xMove << (c.nEndKey != 0 ? " with a key" : ""));
        m_splitter.SetColumnInfo(0, 150, 0);
        m_splitter.RecalcLayout();
        Mouse(WM_LBUTTONDOWN, c.xDown, 100);
        ASSERT_TRUE(m_splitter.m_bTracking);
        EXPECT_EQ(201, m_splitter.m_htTrack);
        EXPECT_EQ(m_splitter.m_hWnd, ::GetCapture());
        // the tracker: the bar without the panes' borders, movable within the inside
        EXPECT_EQ(CRect(153, 2, 157, 298), m_splitter.m_rectTracker);
        EXPECT_EQ(CRect(2, 2, 394, 298), m_splitter.m_rectLimit);
        if (c.xMove != c.xDown)
            Mouse(WM_MOUSEMOVE, c.xMove, 100);
        if (c.nEndKey != 0)
            m_splitter.SendMessage(WM_KEYDOWN, c.nEndKey, 0);
        else
            Mouse(WM_LBUTTONUP, c.xMove, 100);
        EXPECT_FALSE(m_splitter.m_bTracking);
        EXPECT_NE(m_splitter.m_hWnd, ::GetCapture());
        EXPECT_EQ(c.cxColumn0, ColumnSize(0));
        EXPECT_EQ(c.cxColumn1, ColumnSize(1));
        EXPECT_EQ(c.cxColumn0, framestest::ChildRect(m_splitter.GetPane(0, 0)).Width());
    }

    // A column dragged below its minimum disappears.
    m_splitter.SetColumnInfo(0, 150, 30);
    m_splitter.RecalcLayout();
    Mouse(WM_LBUTTONDOWN, 155, 100);
    Mouse(WM_MOUSEMOVE, 25, 100);
    Mouse(WM_LBUTTONUP, 25, 100);
    EXPECT_EQ(0, ColumnSize(0));

    // Losing the mouse to another window ends the tracking without applying it.
    m_splitter.SetColumnInfo(0, 150, 0);
    m_splitter.RecalcLayout();
    Mouse(WM_LBUTTONDOWN, 155, 100);
    m_pFrame->SetCapture();
    Mouse(WM_MOUSEMOVE, 255, 100);
    EXPECT_FALSE(m_splitter.m_bTracking);
    ::ReleaseCapture();
    EXPECT_EQ(150, ColumnSize(0));
}

TEST_F(SplitterTest, DraggingAnIntersectionSetsRowAndColumn)
{
    MakeStatic(2, 2, 100, 150);
    Mouse(WM_LBUTTONDOWN, 155, 105);
    ASSERT_TRUE(m_splitter.m_bTracking2);
    EXPECT_EQ(301, m_splitter.m_htTrack);
    EXPECT_EQ(CRect(2, 103, 398, 107), m_splitter.m_rectTracker);
    EXPECT_EQ(CRect(153, 2, 157, 298), m_splitter.m_rectTracker2);
    Mouse(WM_MOUSEMOVE, 255, 205);
    EXPECT_EQ(203, m_splitter.m_rectTracker.top);
    EXPECT_EQ(253, m_splitter.m_rectTracker2.left);
    Mouse(WM_LBUTTONUP, 255, 205);
    EXPECT_EQ(200, RowSize(0));
    EXPECT_EQ(250, ColumnSize(0));
    EXPECT_EQ(CRect(259, 209, 398, 298), framestest::ChildRect(m_splitter.GetPane(1, 1)));
}

TEST_F(SplitterTest, RowsTakeTheirIdealSizesInOrderAndTheLastTheRest)
{
    // Three rows in 296 pixels (inside the border), 7 pixels apart.
    ASSERT_TRUE(m_splitter.CreateStatic(m_pFrame, 3, 1));
    for (int row = 0; row < 3; row++)
        ASSERT_TRUE(m_splitter.CreateView(row, 0, RUNTIME_CLASS(CPaneView), CSize(0, 0), NULL));
    m_pFrame->RecalcLayout();
    struct Case {
        int ideal[2];
        int min[3];
        int cur[3];
    } const cases[] = {
        {{100, 50}, {0, 0, 0}, {100, 50, 132}},
        {{5, 50}, {10, 0, 0}, {0, 50, 232}},   // below its minimum: not shown (its bar stays)
        // no room left after a row: it gives up room for its border, the rows after it get none
        {{200, 150}, {0, 0, 0}, {200, 84, 0}},
        {{200, 80}, {0, 0, 20}, {200, 84, 0}}, // the last would be below its minimum: the one before takes its room
        {{400, 10}, {0, 0, 0}, {291, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ideal[0] << "/" << c.ideal[1]);
        for (int row = 0; row < 3; row++)
            m_splitter.SetRowInfo(row, row < 2 ? c.ideal[row] : 0, c.min[row]);
        m_splitter.RecalcLayout();
        for (int row = 0; row < 3; row++)
            EXPECT_EQ(c.cur[row], RowSize(row)) << "row " << row;
    }
}

TEST_F(SplitterTest, SplitBoxesMakeAndBarsRemoveRowsOfADynamicSplitter)
{
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CPaneView);
    ASSERT_TRUE(m_splitter.Create(m_pFrame, 2, 2, CSize(20, 20), &context));
    m_pFrame->RecalcLayout();
    EXPECT_EQ((DWORD)(WS_HSCROLL | WS_VSCROLL), m_splitter.GetScrollStyle());
    EXPECT_EQ(0u, m_splitter.GetStyle() & (WS_HSCROLL | WS_VSCROLL)) << "the splitter's bars are shared controls";
    ASSERT_NE(nullptr, m_splitter.GetDlgItem(AFX_IDW_VSCROLL_FIRST));
    ASSERT_NE(nullptr, m_splitter.GetDlgItem(AFX_IDW_HSCROLL_FIRST));
    EXPECT_EQ(m_splitter.GetDlgItem(AFX_IDW_VSCROLL_FIRST)->m_hWnd, m_splitter.GetPane(0, 0)->GetScrollBarCtrl(SB_VERT)->m_hWnd);
    int cxBar = GetSystemMetrics(SM_CXVSCROLL);
    int cyBar = GetSystemMetrics(SM_CYHSCROLL);
    // the boxes lie at the start of the bars' strips
    EXPECT_EQ(CSplitterWnd::vSplitterBox, m_splitter.HitTest(CPoint(400 - 2 - cxBar / 2, 4)));
    EXPECT_EQ(CSplitterWnd::hSplitterBox, m_splitter.HitTest(CPoint(4, 300 - 2 - cyBar / 2)));
    EXPECT_EQ(CSplitterWnd::noHit, m_splitter.HitTest(CPoint(400 - 2 - cxBar / 2, 100)));
    int cyInside = 296 - cyBar;
    EXPECT_EQ(cyInside, RowSize(0));

    // The row box dragged down makes a second row of the same view class.
    TheLog().clear();
    Mouse(WM_LBUTTONDOWN, 400 - 2 - cxBar / 2, 4);
    EXPECT_EQ(CSplitterWnd::vSplitterBox, m_splitter.m_htTrack);
    Mouse(WM_MOUSEMOVE, 100, 120);
    Mouse(WM_LBUTTONUP, 100, 120);
    ASSERT_EQ(2, m_splitter.GetRowCount());
    EXPECT_EQ(115, RowSize(0));
    EXPECT_EQ(cyInside - 115 - 7, RowSize(1));
    ASSERT_NE(nullptr, m_splitter.GetPane(1, 0));
    EXPECT_TRUE(m_splitter.GetPane(1, 0)->IsKindOf(RUNTIME_CLASS(CPaneView)));
    EXPECT_NE(nullptr, m_splitter.GetDlgItem(AFX_IDW_VSCROLL_FIRST + 1));
    EXPECT_EQ((Log{"initial update " + std::to_string(m_splitter.IdFromRowCol(1, 0))}), TheLog());
    EXPECT_EQ(CSplitterWnd::noHit, m_splitter.HitTest(CPoint(400 - 2 - cxBar / 2, 4))) << "no more rows to make";

    // A column box dropped where the first column would be below its minimum makes nothing.
    Mouse(WM_LBUTTONDOWN, 4, 300 - 2 - cyBar / 2);
    Mouse(WM_MOUSEMOVE, 12, 100);
    Mouse(WM_LBUTTONUP, 12, 100);
    EXPECT_EQ(1, m_splitter.GetColumnCount());
    framestest::SaveScreenshot(m_pFrame, "frames_splitter_dynamic");

    // A double click on the bar removes a row again (never the active pane's).
    CWnd* pSecond = m_splitter.GetPane(1, 0);
    m_pFrame->SetActiveView((CView*)pSecond);
    Mouse(WM_LBUTTONDBLCLK, 100, 2 + 115 + 3);
    ASSERT_EQ(1, m_splitter.GetRowCount());
    EXPECT_EQ(pSecond, m_splitter.GetPane(0, 0)) << "the active pane stays and moves up";
    EXPECT_EQ(nullptr, m_splitter.GetDlgItem(AFX_IDW_VSCROLL_FIRST + 1));
}

TEST_F(SplitterTest, PaneMadeWithoutContextShowsTheActivePanesDocument)
{
    CDocument* pDoc = new CDocument;
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    MakeStatic(1, 2, 0, 150, &context);
    m_pFrame->SetActiveView((CView*)m_splitter.GetPane(0, 0));
    // the active pane goes: the next pane becomes active
    TheLog().clear();
    m_splitter.DeleteView(0, 0);
    EXPECT_EQ(m_splitter.GetPane(0, 1), m_pFrame->GetActiveView());
    ASSERT_TRUE(m_splitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(100, 0), NULL));
    CView* pNew = (CView*)m_splitter.GetPane(0, 0);
    EXPECT_EQ(pDoc, pNew->GetDocument());
    EXPECT_EQ((Log{"initial update " + std::to_string(AFX_IDW_PANE_FIRST) + " with document"}), TheLog());
    int nViews = 0;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != NULL; pDoc->GetNextView(pos))
        nViews++;
    EXPECT_EQ(2, nViews);
}

TEST_F(SplitterTest, NextPaneCommandsWalkThePanes)
{
    MakeStatic(2, 2, 100, 150);
    m_pFrame->SetActiveView((CView*)m_splitter.GetPane(0, 0));
    struct Case {
        UINT nCmd;
        int row;
        int col;
    } const cases[] = {
        {ID_NEXT_PANE, 0, 1}, {ID_NEXT_PANE, 1, 0}, {ID_NEXT_PANE, 1, 1}, {ID_NEXT_PANE, 0, 0}, {ID_PREV_PANE, 1, 1}, {ID_PREV_PANE, 1, 0},
    };
    for (const Case& c : cases) {
        m_pFrame->SendMessage(WM_COMMAND, c.nCmd);
        EXPECT_EQ(m_splitter.GetPane(c.row, c.col), m_pFrame->GetActiveView()) << c.row << "," << c.col;
    }
}

namespace {

// A splitter of a program's own: it records where the library calls its overrides.
class CRecordingSplitter : public CSplitterWnd {
public:
    mutable std::vector<std::string> m_log;
    void OnDrawSplitter(CDC* pDC, ESplitType nType, const CRect& rect) override
    {
        static const char* const names[] = {"box", "bar", "intersection", "border"};
        if (pDC != NULL) // (NULL: only the area is invalidated)
            m_log.push_back(std::string("draw ") + names[nType]);
        CSplitterWnd::OnDrawSplitter(pDC, nType, rect);
    }
    int HitTest(CPoint pt) const override
    {
        int ht = CSplitterWnd::HitTest(pt);
        m_log.push_back("hit " + std::to_string(ht));
        return ht;
    }
    void TrackRowSize(int y, int row) override
    {
        m_log.push_back("row " + std::to_string(y) + " " + std::to_string(row));
        CSplitterWnd::TrackRowSize(y, row);
    }
    void TrackColumnSize(int x, int col) override
    {
        m_log.push_back("column " + std::to_string(x) + " " + std::to_string(col));
        CSplitterWnd::TrackColumnSize(x, col);
    }
    bool Saw(const std::string& s) const { return std::find(m_log.begin(), m_log.end(), s) != m_log.end(); }
};

} // namespace

TEST_F(SplitterTest, ASplitterOfTheProgramsOwnDrawsHitsAndTracksThroughItsOverrides)
{
    CRecordingSplitter splitter;
    ASSERT_TRUE(splitter.CreateStatic(m_pFrame, 2, 2));
    for (int row = 0; row < 2; row++)
        for (int col = 0; col < 2; col++)
            ASSERT_TRUE(splitter.CreateView(row, col, RUNTIME_CLASS(CPaneView), CSize(150, 100), NULL));
    m_pFrame->RecalcLayout();
    splitter.m_log.clear();
    splitter.Invalidate();
    splitter.UpdateWindow();
    for (const char* psz : {"draw bar", "draw border"})
        EXPECT_TRUE(splitter.Saw(psz)) << psz << ": " << ::testing::PrintToString(splitter.m_log);

    // The intersection dragged: the hit code comes from HitTest, the new sizes go through the
    // tracking overrides (the tracker's position in the splitter's client coordinates).
    splitter.m_log.clear();
    splitter.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(155, 105));
    EXPECT_TRUE(splitter.Saw("hit 301")) << ::testing::PrintToString(splitter.m_log);
    splitter.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(255, 205));
    splitter.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(255, 205));
    EXPECT_TRUE(splitter.Saw("row 202 0")) << ::testing::PrintToString(splitter.m_log);
    EXPECT_TRUE(splitter.Saw("column 252 0")) << ::testing::PrintToString(splitter.m_log);
    int cyCur = 0, cyMin = 0;
    splitter.GetRowInfo(0, cyCur, cyMin);
    EXPECT_EQ(200, cyCur);
    splitter.DestroyWindow();
}
