// The main frame's bars in rows: the toolkit dock bar's layout (rows, the menu bar's own row,
// wrapping, the chevron's hidden buttons, Insert), the trackers of docking windows, the flat
// toolbar buttons, the status bar, the dialog bar and the rebar, and screenshots of the frame.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>

#include "CTkDialogBar.h"
#include "CTkDockBar.h"
#include "CTkDockWindow.h"
#include "CTkExpButton.h"
#include "CTkFlatButtonPainter.h"
#include "CTkFrameWnd.h"
#include "CTkGlobalData.h"
#include "CTkReBar.h"
#include "CTkStatusBar.h"
#include "CTkToolBar.h"
#include "TestKit.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kMenuBarStyle = 0x50402834;   // the program's menu bar
const DWORD kToolBarStyle = 0x50402834;   // and its toolbar
const DWORD kDialogBarStyle = 0x402834;   // the filter bar (made visible by its creation)
const DWORD kStatusBarStyle = 0x52008200; // the status bar
const UINT kFilterBarID = 59397;
const UINT kPaneIDs[4] = {0, 100, 101, 102};

// The program's main frame as far as its bars go.
class CLayoutFrame : public CTkFrameWnd {
public:
    CTkToolBar m_toolBar;
    CTkDialogBar m_dialogBar;
    CTkStatusBar m_statusBar;

    BOOL Build()
    {
        if (!Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(0, 0, 1024, 768), NULL, MAKEINTRESOURCE(IDR_MAINFRAME)))
            return FALSE;
        if (!m_menuBar.CreateEx(this, TBSTYLE_FLAT, kMenuBarStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR) ||
            !m_menuBar.LoadMenuBar(IDR_MAINFRAME))
            return FALSE;
        if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR) ||
            !m_toolBar.LoadToolBar(IDR_MAINFRAME))
            return FALSE;
        if (!m_dialogBar.Create(this, IDR_MAINFRAME, kDialogBarStyle, kFilterBarID))
            return FALSE;
        if (!m_statusBar.CreateEx(this, 0, kStatusBarStyle, AFX_IDW_STATUS_BAR))
            return FALSE;
        static const UINT kSeparators[4] = {ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR, ID_SEPARATOR};
        m_statusBar.SetIndicators(kSeparators, 4);
        m_statusBar.SetPaneInfo(0, kPaneIDs[0], SBPS_NOBORDERS | SBPS_STRETCH, 0);
        m_statusBar.SetPaneInfo(1, kPaneIDs[1], SBPS_NORMAL, 80);
        m_statusBar.SetPaneInfo(2, kPaneIDs[2], SBPS_NORMAL, 85);
        m_statusBar.SetPaneInfo(3, kPaneIDs[3], SBPS_NORMAL, 85);
        m_statusBar.SetPaneText(0, "Bereit");
        m_statusBar.SetPaneText(1, "Termine: 12");
        m_statusBar.SetPaneText(2, "11.12.2026");
        m_statusBar.SetPaneText(3, "NUM");

        m_menuBar.EnableDocking(CBRS_ALIGN_ANY, 0x306B);
        m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
        m_dialogBar.EnableDocking(CBRS_ALIGN_ANY);
        EnableDocking(CBRS_ALIGN_ANY);
        DockControlBar(&m_menuBar, 0, NULL);
        DockControlBar(&m_toolBar, 0, NULL);
        DockControlBar(&m_dialogBar, 0, NULL);
        ShowWindow(SW_SHOW);
        RecalcLayout();
        tktest::RunToIdle();
        RecalcLayout();
        tktest::RunToIdle();
        return TRUE;
    }
    CTkDockBar* Top() { return (CTkDockBar*)GetControlBar(AFX_IDW_DOCKBAR_TOP); }
    // Called once when a popup menu of the frame is idle.
    std::function<void()> m_onIdle;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onIdle) {
            std::function<void()> f = m_onIdle;
            m_onIdle = nullptr;
            f();
            return 0;
        }
        return CTkFrameWnd::WindowProc(message, wParam, lParam);
    }
    CTkDockBar* Bottom() { return (CTkDockBar*)GetControlBar(AFX_IDW_DOCKBAR_BOTTOM); }

protected:
    afx_msg void OnNewAppointment() {}
    afx_msg void OnUpdateDay(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CLayoutFrame, CTkFrameWnd)
ON_COMMAND(ID_NEW_APPOINTMENT, OnNewAppointment)
ON_UPDATE_COMMAND_UI(ID_VIEW_DAY, OnUpdateDay)
END_MESSAGE_MAP()

// A bar's rectangle in its dock bar's client coordinates.
CRect InDockBar(CWnd* pBar, CWnd* pDockBar)
{
    CRect rect;
    pBar->GetWindowRect(&rect);
    pDockBar->ScreenToClient(&rect);
    return rect;
}

std::vector<void*> Entries(CDockBar* pDockBar)
{
    std::vector<void*> entries;
    for (int i = 0; i < pDockBar->m_arrBars.GetSize(); i++)
        entries.push_back(pDockBar->m_arrBars[i]);
    return entries;
}

std::string Shot(CWnd* pWnd, const char* pszArea, const char* pszName)
{
    pWnd->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    tktest::RunToIdle();
    CRect rect;
    pWnd->GetWindowRect(&rect);
    HDC hdc = ::GetDC(NULL);
    std::string strPath = oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), pszArea, pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

class DockedLayoutTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_bFlat = tkAfxData.bFlatLook;
        tkAfxData.bFlatLook = TRUE;
        m_pFrame = new CLayoutFrame;
        ASSERT_TRUE(m_pFrame->Build());
    }
    void TearDown() override
    {
        if (m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
        tktest::RunToIdle();
        tkAfxData.bFlatLook = m_bFlat;
    }
    void Relayout()
    {
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    void SetFrameWidth(int cx)
    {
        m_pFrame->SetWindowPos(NULL, 0, 0, cx, 768, SWP_NOMOVE | SWP_NOZORDER);
        Relayout();
    }
    CLayoutFrame* m_pFrame = NULL;
    BOOL m_bFlat = FALSE;
};

} // namespace

// ---- rows of the top dock bar ------------------------------------------------------------------

TEST_F(DockedLayoutTest, ThreeRowsFromTheTop)
{
    CTkDockBar* pTop = m_pFrame->Top();
    ASSERT_NE(nullptr, pTop);
    std::vector<void*> expected = {NULL, &m_pFrame->m_menuBar, NULL, &m_pFrame->m_toolBar, NULL, &m_pFrame->m_dialogBar, NULL};
    EXPECT_EQ(expected, Entries(pTop));
    CRect rectMenu = InDockBar(&m_pFrame->m_menuBar, pTop);
    CRect rectTool = InDockBar(&m_pFrame->m_toolBar, pTop);
    CRect rectFilter = InDockBar(&m_pFrame->m_dialogBar, pTop);
    EXPECT_EQ(-1, rectMenu.top);
    EXPECT_EQ(rectMenu.bottom, rectTool.top);
    EXPECT_EQ(rectTool.bottom, rectFilter.top);
    const int nRows = rectMenu.Height() + rectTool.Height() + rectFilter.Height();
    // the rows start one pixel above the dock bar; the layout adds one pixel below the last
    CSize size = pTop->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(nRows - 1 + 1, size.cy);
    CRect rectDock;
    pTop->GetWindowRect(&rectDock);
    EXPECT_EQ(size.cy, rectDock.Height());
    // the filter bar takes the frame's width
    CRect rectFrame;
    m_pFrame->GetClientRect(&rectFrame);
    EXPECT_GE(rectFilter.right, rectFrame.right);
    EXPECT_EQ(0, rectFilter.left);
    EXPECT_EQ(0, (int)pTop->m_arrTrackers.GetSize());
}

TEST_F(DockedLayoutTest, ToolbarDockedIntoTheMenuBarsRowPutsTheMenuBarBackAlone)
{
    CTkDockBar* pTop = m_pFrame->Top();
    CRect rectMenu;
    m_pFrame->m_menuBar.GetWindowRect(&rectMenu);
    CRect rectTool;
    m_pFrame->m_toolBar.GetWindowRect(&rectTool);
    CRect rect(rectMenu.TopLeft(), rectTool.Size());
    m_pFrame->DockControlBar(&m_pFrame->m_toolBar, AFX_IDW_DOCKBAR_TOP, &rect);
    // at the start of the menu bar's row
    EXPECT_EQ(&m_pFrame->m_toolBar, pTop->m_arrBars[1]);
    Relayout();
    std::vector<void*> expected = {NULL, &m_pFrame->m_menuBar, NULL, &m_pFrame->m_toolBar, NULL, &m_pFrame->m_dialogBar, NULL};
    EXPECT_EQ(expected, Entries(pTop));
    EXPECT_EQ(InDockBar(&m_pFrame->m_menuBar, pTop).bottom, InDockBar(&m_pFrame->m_toolBar, pTop).top);
}

TEST_F(DockedLayoutTest, ABarBeyondTheWidthWrapsButNeverTheFirstOfARow)
{
    CTkDockBar* pTop = m_pFrame->Top();
    CTkToolBar second;
    ASSERT_TRUE(second.CreateEx(m_pFrame, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR + 5));
    ASSERT_TRUE(second.LoadToolBar(IDR_MAINFRAME));
    second.EnableDocking(CBRS_ALIGN_ANY);
    m_pFrame->DockControlBarLeftOf(&second, &m_pFrame->m_toolBar);
    Relayout();
    int nTool = pTop->FindBar(&m_pFrame->m_toolBar);
    ASSERT_GT(nTool, 0);
    EXPECT_EQ(&second, pTop->m_arrBars[nTool + 1]); // one row while there is room
    CRect rectTool = InDockBar(&m_pFrame->m_toolBar, pTop);

    // narrower than the first toolbar: the second starts beyond the width and wraps
    SetFrameWidth(rectTool.Width() - 40);
    nTool = pTop->FindBar(&m_pFrame->m_toolBar);
    EXPECT_EQ(nullptr, pTop->m_arrBars[nTool - 1]); // the first of its row stays
    EXPECT_EQ(nullptr, pTop->m_arrBars[nTool + 1]);
    EXPECT_EQ(&second, pTop->m_arrBars[nTool + 2]);
    EXPECT_EQ(InDockBar(&m_pFrame->m_toolBar, pTop).bottom, InDockBar(&second, pTop).top);
    EXPECT_EQ(0, InDockBar(&second, pTop).left);
    m_pFrame->DestroyWindow();
}

TEST_F(DockedLayoutTest, TheLastToolbarHidesButtonsForRoomAndShowsThemAgain)
{
    CTkToolBar& bar = m_pFrame->m_toolBar;
    CTkDockBar* pTop = m_pFrame->Top();
    // the full length from the control's item rectangles
    CRect rectLast;
    bar.SendMessage(TB_GETITEMRECT, (WPARAM)(bar.GetButtonCount() - 1), (LPARAM)&rectLast);
    const int nFull = InDockBar(&bar, pTop).Width();
    EXPECT_GE(nFull, rectLast.right);
    CRect rectFrame, rectWindow;
    m_pFrame->GetClientRect(&rectFrame);
    m_pFrame->GetWindowRect(&rectWindow);
    const int nNonClient = rectWindow.Width() - rectFrame.Width();

    SetFrameWidth(nFull - 100 + nNonClient);
    m_pFrame->GetClientRect(&rectFrame);
    EXPECT_GT(bar.m_mapHiddenForRoom.GetCount(), 0);
    EXPECT_LE(InDockBar(&bar, pTop).right, rectFrame.right);
    EXPECT_TRUE(bar.m_pExpButton->IsWindowVisible());
    std::vector<int> hidden;
    for (int i = 0; i < bar.GetButtonCount(); i++)
        if (bar.SendMessage(TB_ISBUTTONHIDDEN, (WPARAM)bar.GetItemID(i)))
            hidden.push_back(i);
    ASSERT_FALSE(hidden.empty());
    EXPECT_EQ(bar.GetButtonCount() - 1, hidden.back()); // hidden from the end

    // a little wider: the first hidden button comes back before any later one
    SetFrameWidth(nFull - 100 + nNonClient + 40);
    for (size_t k = 1; k < hidden.size(); k++) {
        BOOL bEarlier = (BOOL)bar.SendMessage(TB_ISBUTTONHIDDEN, (WPARAM)bar.GetItemID(hidden[k - 1]));
        BOOL bLater = (BOOL)bar.SendMessage(TB_ISBUTTONHIDDEN, (WPARAM)bar.GetItemID(hidden[k]));
        EXPECT_FALSE(!bLater && bEarlier) << "button " << hidden[k] << " came back before " << hidden[k - 1];
    }
    SetFrameWidth(1024);
    EXPECT_EQ(0, bar.m_mapHiddenForRoom.GetCount());
    EXPECT_EQ(nFull, InDockBar(&bar, pTop).Width());
}

TEST_F(DockedLayoutTest, ToolbarDockedAtTheLeftStandsInAColumn)
{
    CTkToolBar& bar = m_pFrame->m_toolBar;
    m_pFrame->DockControlBar(&bar, AFX_IDW_DOCKBAR_LEFT, NULL);
    Relayout();
    CTkDockBar* pLeft = (CTkDockBar*)m_pFrame->GetControlBar(AFX_IDW_DOCKBAR_LEFT);
    ASSERT_NE(nullptr, pLeft);
    EXPECT_EQ((std::vector<void*>{NULL, &bar, NULL}), Entries(pLeft));
    CRect rect = InDockBar(&bar, pLeft);
    EXPECT_EQ(-1, rect.top);
    EXPECT_EQ(0, rect.left);
    EXPECT_GT(rect.Height(), rect.Width());
    // the left dock bar is one pixel narrower than its column
    CRect rectDock;
    pLeft->GetWindowRect(&rectDock);
    EXPECT_EQ(rect.Width() - 1, rectDock.Width());
    // the top dock bar keeps the menu bar's and the filter bar's rows only
    std::vector<void*> expected = {NULL, &m_pFrame->m_menuBar, NULL, &m_pFrame->m_dialogBar, NULL};
    EXPECT_EQ(expected, Entries(m_pFrame->Top()));
}

TEST_F(DockedLayoutTest, InsertTable)
{
    CTkDockBar* pTop = m_pFrame->Top();
    CRect rectTool = InDockBar(&m_pFrame->m_toolBar, pTop);
    CRect rectFilter = InDockBar(&m_pFrame->m_dialogBar, pTop);
    CControlBar* pNew = (CControlBar*)(UINT_PTR)0x123450; // only stored, never used
    struct Case {
        const char* pszName;
        CPoint ptMid;
        int nLeft;
        bool bHideToolBar;
        bool bPlaceHolder;
        std::vector<int> expected; // entries: -1 NULL, 0 new, 1 menu, 2 tool, 3 filter, 4 placeholder
    };
    const Case cases[] = {
        {"above the first row", CPoint(10, -5), 10, false, false, {-1, 0, -1, 1, -1, 2, -1, 3, -1}},
        {"in the toolbar's row, right of it", CPoint(rectTool.right + 20, rectTool.CenterPoint().y), rectTool.left + 5,
         false, false, {-1, 1, -1, 2, 0, -1, 3, -1}},
        {"in the toolbar's row, left of it", CPoint(rectTool.left + 2, rectTool.CenterPoint().y), rectTool.left,
         false, false, {-1, 1, -1, 0, 2, -1, 3, -1}},
        {"below the last row", CPoint(10, rectFilter.bottom + 20), 10, false, false, {-1, 1, -1, 2, -1, 3, -1, 0, -1}},
        // the hidden toolbar's row has no thickness: the point falls into the next row
        {"hidden toolbar skipped", CPoint(10, rectTool.CenterPoint().y), 10, true, false, {-1, 1, -1, 2, -1, 3, 0, -1}},
        {"placeholder skipped", CPoint(rectFilter.right - 10, rectFilter.CenterPoint().y), rectFilter.left + 5, false,
         true, {-1, 1, -1, 2, -1, 4, 3, 0, -1}},
    };
    void* const pPlaceHolder = CDockBar::PlaceHolderOf(4711);
    for (const Case& c : cases) {
        CPtrArray saved;
        saved.Copy(pTop->m_arrBars);
        if (c.bHideToolBar)
            m_pFrame->m_toolBar.ShowWindow(SW_HIDE);
        if (c.bPlaceHolder)
            pTop->m_arrBars.InsertAt(pTop->FindBar(&m_pFrame->m_dialogBar), pPlaceHolder);
        CRect rect(CPoint(c.nLeft, c.ptMid.y - 5), CSize(50, 10));
        int nIndex = pTop->Insert(pNew, rect, c.ptMid);
        std::vector<int> got;
        for (int i = 0; i < pTop->m_arrBars.GetSize(); i++) {
            void* p = pTop->m_arrBars[i];
            got.push_back(p == NULL ? -1 : p == pNew ? 0 : p == &m_pFrame->m_menuBar ? 1 : p == &m_pFrame->m_toolBar ? 2
                          : p == &m_pFrame->m_dialogBar ? 3 : p == pPlaceHolder ? 4 : 9);
        }
        EXPECT_EQ(c.expected, got) << c.pszName;
        EXPECT_EQ(pNew, pTop->m_arrBars[nIndex]) << c.pszName;
        pTop->m_arrBars.Copy(saved);
        if (c.bHideToolBar)
            m_pFrame->m_toolBar.ShowWindow(SW_SHOW);
    }
}

// ---- the bars menu -----------------------------------------------------------------------------

namespace {

// The command ids and check marks of the popup menu a right click on the dock bar opens (empty
// when none opens).
std::vector<std::pair<UINT, bool>> BarsMenuOf(CLayoutFrame* pFrame)
{
    std::vector<std::pair<UINT, bool>> items;
    pFrame->m_onIdle = [&]() {
        HWND hPopup = NULL;
        while ((hPopup = ::FindWindowExA(NULL, hPopup, "#32768", NULL)) != NULL && !::IsWindowVisible(hPopup))
            ;
        if (hPopup == NULL)
            return;
        HMENU hMenu = (HMENU)::SendMessageA(hPopup, MN_GETHMENU, 0, 0);
        for (int i = 0; hMenu != NULL && i < ::GetMenuItemCount(hMenu); i++) {
            UINT nID = ::GetMenuItemID(hMenu, i);
            if (nID != 0)
                items.push_back({nID, (::GetMenuState(hMenu, (UINT)i, MF_BYPOSITION) & MF_CHECKED) != 0});
        }
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    CTkDockBar* pTop = pFrame->Top();
    CRect rect;
    pTop->GetClientRect(&rect);
    pTop->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(rect.right - 20, rect.bottom - 3));
    tktest::RunToIdle();
    pFrame->m_onIdle = nullptr;
    return items;
}

} // namespace

TEST_F(DockedLayoutTest, TheDockBarKeepsACopyOfADockedBarsStyleWord)
{
    const DWORD dwBefore = m_pFrame->m_dialogBar.GetTkBarStyle();
    EXPECT_TRUE(m_pFrame->m_dialogBar.ModifyTkBarStyle(2, 1, TRUE));
    EXPECT_EQ((dwBefore & ~2u) | 1u, m_pFrame->m_dialogBar.GetTkBarStyle());
    EXPECT_EQ(m_pFrame->m_dialogBar.GetTkBarStyle(), m_pFrame->Top()->m_dwTkBarStyle);
    m_pFrame->m_dialogBar.ModifyTkBarStyle(1, dwBefore & 3, FALSE);
}

TEST_F(DockedLayoutTest, BarsMenuOfTheDockBar)
{
    BOOL bDockBarMenus = tkAfxData.bDockBarMenus, bBarMenus = tkAfxData.bBarMenus;
    tkAfxData.bBarMenus = TRUE;
    tkAfxData.bDockBarMenus = FALSE;
    EXPECT_TRUE(BarsMenuOf(m_pFrame).empty());

    tkAfxData.bDockBarMenus = TRUE;
    m_pFrame->ShowControlBar(&m_pFrame->m_dialogBar, FALSE, FALSE);
    std::vector<std::pair<UINT, bool>> items = BarsMenuOf(m_pFrame);
    auto has = [&](UINT nID, bool bChecked) {
        for (const auto& item : items)
            if (item.first == nID)
                return item.second == bChecked;
        return false;
    };
    EXPECT_TRUE(has(AFX_IDW_TOOLBAR, true));
    EXPECT_TRUE(has(kFilterBarID, false));
    EXPECT_TRUE(has(AFX_IDW_STATUS_BAR, true));
    EXPECT_FALSE(has(TK_ID_CUSTOMIZE, false)); // no customizable toolbar

    m_pFrame->m_toolBar.m_bCustomizable = 1;
    items = BarsMenuOf(m_pFrame);
    EXPECT_TRUE(has(TK_ID_CUSTOMIZE, false));
    m_pFrame->m_toolBar.m_bCustomizable = 0;
    tkAfxData.bDockBarMenus = bDockBarMenus;
    tkAfxData.bBarMenus = bBarMenus;
}

// ---- trackers ----------------------------------------------------------------------------------

TEST_F(DockedLayoutTest, WithoutDockingWindowsNoTrackerAndDefaultHitTest)
{
    CTkDockBar* pTop = m_pFrame->Top();
    EXPECT_EQ(0, (int)pTop->m_arrTrackers.GetSize());
    CRect rect;
    pTop->GetWindowRect(&rect);
    for (int y = rect.top; y < rect.bottom; y += 3) {
        CPoint pt(rect.left + 300, y);
        LRESULT lHit = pTop->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        EXPECT_NE(HTBORDER, lHit) << y;
        EXPECT_EQ(-1, pTop->m_nHotTracker);
    }
    EXPECT_NE(tkAfxData.hcurRowSplit, ::GetCursor());
    EXPECT_NE(tkAfxData.hcurColSplit, ::GetCursor());
}

namespace {

// Two docking windows in one row of a dock bar.
struct DockWindowPair {
    CTkDockWindow first, second;
    BOOL Make(CLayoutFrame* pFrame, UINT nDockBarID)
    {
        DWORD dwAlign = nDockBarID == AFX_IDW_DOCKBAR_TOP ? CBRS_ALIGN_TOP : CBRS_ALIGN_BOTTOM;
        if (!first.Create(pFrame, "Erste", WS_CHILD | WS_VISIBLE | dwAlign, 0xE901, CSize(300, 120)) ||
            !second.Create(pFrame, "Zweite", WS_CHILD | WS_VISIBLE | dwAlign, 0xE902, CSize(300, 120)))
            return FALSE;
        first.EnableDocking(CBRS_ALIGN_ANY);
        second.EnableDocking(CBRS_ALIGN_ANY);
        first.m_nMinLength = 50;
        second.m_nMinLength = 60;
        pFrame->DockControlBar(&first, nDockBarID, NULL);
        pFrame->DockControlBarLeftOf(&second, &first);
        return TRUE;
    }
};

// Drags tracker nTracker by (dx, dy) through the dock bar's messages; bEscape cancels at the end.
void DragTracker(CTkDockBar* pDockBar, int nTracker, int dx, int dy, bool bEscape)
{
    CTkDockTracker* pTracker = (CTkDockTracker*)pDockBar->m_arrTrackers[nTracker];
    CPoint pt = pTracker->m_rect.CenterPoint();
    CPoint ptScreen = pt;
    pDockBar->ClientToScreen(&ptScreen);
    ASSERT_EQ(HTBORDER, pDockBar->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptScreen.x, ptScreen.y)));
    ASSERT_EQ(nTracker, pDockBar->m_nHotTracker);
    pDockBar->SendMessage(WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(ptScreen.x, ptScreen.y));
    ASSERT_TRUE(pDockBar->m_bTracking);
    EXPECT_EQ(pDockBar->m_hWnd, ::GetCapture());
    pDockBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x + dx / 2, pt.y + dy / 2));
    pDockBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x + dx, pt.y + dy));
    if (bEscape)
        pDockBar->SendMessage(WM_COMMAND, IDCANCEL);
    else
        pDockBar->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x + dx, pt.y + dy));
    EXPECT_FALSE(pDockBar->m_bTracking);
    EXPECT_NE(pDockBar->m_hWnd, ::GetCapture());
}

int FindTracker(CTkDockBar* pDockBar, int nOrientation)
{
    for (int i = 0; i < pDockBar->m_arrTrackers.GetSize(); i++)
        if (((CTkDockTracker*)pDockBar->m_arrTrackers[i])->m_nOrientation == nOrientation)
            return i;
    return -1;
}

} // namespace

TEST_F(DockedLayoutTest, RowTrackerOfTheTopDockBarMakesTheRowThicker)
{
    DockWindowPair pair;
    ASSERT_TRUE(pair.Make(m_pFrame, AFX_IDW_DOCKBAR_TOP));
    Relayout();
    CTkDockBar* pTop = m_pFrame->Top();
    int nRow = FindTracker(pTop, 2);
    ASSERT_GE(nRow, 0);
    ASSERT_GE(FindTracker(pTop, 1), 0); // between the two windows
    // the window docked last keeps its length; the first one gives up the room
    EXPECT_EQ(300, pair.second.GetDockedSize(TRUE).cx);
    CRect rectTop;
    pTop->GetClientRect(&rectTop);
    EXPECT_EQ(rectTop.Width() - 6 - 300, pair.first.GetDockedSize(TRUE).cx);
    const int nBefore = pair.first.GetDockedSize(TRUE).cy;
    DragTracker(pTop, nRow, 0, 30, false);
    Relayout();
    EXPECT_EQ(nBefore + 30, pair.first.GetDockedSize(TRUE).cy);
    EXPECT_EQ(nBefore + 30, pair.second.GetDockedSize(TRUE).cy);
    CRect rect;
    pair.first.GetWindowRect(&rect);
    EXPECT_EQ(nBefore + 30, rect.Height());

    // the trackers in the 3-D look: raised strips below the row and between the windows
    tkAfxData.bFlatLook = FALSE;
    pTop->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_NE("", Shot(pTop, "docked-layout", "trackers-3d"));
    tkAfxData.bFlatLook = TRUE;

    // Escape leaves every size
    nRow = FindTracker(pTop, 2);
    int nBar = FindTracker(pTop, 1);
    CSize size1 = pair.first.GetDockedSize(TRUE), size2 = pair.second.GetDockedSize(TRUE);
    DragTracker(pTop, nRow, 0, 40, true);
    DragTracker(pTop, nBar, -40, 0, true);
    Relayout();
    EXPECT_EQ(size1, pair.first.GetDockedSize(TRUE));
    EXPECT_EQ(size2, pair.second.GetDockedSize(TRUE));
}

TEST_F(DockedLayoutTest, BarTrackerStopsAtTheNeighboursMinimumLengths)
{
    DockWindowPair pair;
    ASSERT_TRUE(pair.Make(m_pFrame, AFX_IDW_DOCKBAR_TOP));
    Relayout();
    CTkDockBar* pTop = m_pFrame->Top();
    int nBar = FindTracker(pTop, 1);
    ASSERT_GE(nBar, 0);
    const int nTotal = pair.first.GetDockedSize(TRUE).cx + pair.second.GetDockedSize(TRUE).cx;
    DragTracker(pTop, nBar, 2000, 0, false);
    Relayout();
    EXPECT_EQ(60, pair.second.GetDockedSize(TRUE).cx);
    EXPECT_EQ(nTotal - 60, pair.first.GetDockedSize(TRUE).cx);
    nBar = FindTracker(pTop, 1);
    DragTracker(pTop, nBar, -2000, 0, false);
    Relayout();
    EXPECT_EQ(50, pair.first.GetDockedSize(TRUE).cx);
    EXPECT_EQ(nTotal - 50, pair.second.GetDockedSize(TRUE).cx);
}

TEST_F(DockedLayoutTest, RowTrackerOfTheBottomDockBarGrowsUpUntilNoClientIsLeft)
{
    DockWindowPair pair;
    ASSERT_TRUE(pair.Make(m_pFrame, AFX_IDW_DOCKBAR_BOTTOM));
    Relayout();
    CTkDockBar* pBottom = m_pFrame->Bottom();
    int nRow = FindTracker(pBottom, 2);
    ASSERT_GE(nRow, 0);
    const int nBefore = pair.first.GetDockedSize(TRUE).cy;
    DragTracker(pBottom, nRow, 0, -30, false);
    Relayout();
    EXPECT_EQ(nBefore + 30, pair.first.GetDockedSize(TRUE).cy);

    // far up: the row takes what the client area had, no more
    CRect rectClient;
    m_pFrame->GetClientRect(&rectClient);
    int nTaken = 0;
    for (UINT nID : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_STATUS_BAR}) {
        CRect rect;
        m_pFrame->GetDlgItem((int)nID)->GetWindowRect(&rect);
        nTaken += rect.Height();
    }
    const int nMax = nBefore + 30 + rectClient.Height() - nTaken;
    nRow = FindTracker(pBottom, 2);
    DragTracker(pBottom, nRow, 0, -2000, false);
    EXPECT_EQ(nMax, pair.first.GetDockedSize(TRUE).cy);
    EXPECT_GT(nMax, nBefore + 30);
}

// ---- flat toolbar buttons ----------------------------------------------------------------------

TEST(FlatButtonLookTest, StateColoursAndIcon)
{
    const BYTE E = TBSTATE_ENABLED, C = TBSTATE_CHECKED, P = TBSTATE_PRESSED, I = TBSTATE_INDETERMINATE;
    struct Case {
        const char* pszName;
        BYTE fsState;
        BOOL bHot, bBarDropOpen, bInPressedList, bHasDisabledIcon, bFullColor;
        TK_FLAT_BUTTON_LOOK look; // state, fill, text, border, border drawn, icon
    };
    const Case cases[] = {
        {"normal", E, 0, 0, 0, 0, 0, {TKBTN_NORMAL, TKLOOK_BACKGROUND, 46, 32, FALSE, TKICON_FADED}},
        {"normal full colour", E, 0, 0, 0, 0, 1, {TKBTN_NORMAL, TKLOOK_BACKGROUND, 46, 32, FALSE, TKICON_NORMAL}},
        {"hot", E, 1, 0, 0, 0, 0, {TKBTN_HOT, 31, 45, 32, TRUE, TKICON_RAISED}},
        {"pressed", E | P, 0, 0, 0, 0, 0, {TKBTN_PRESSED, 33, 47, 32, TRUE, TKICON_NORMAL}},
        {"checked and hot", E | C, 1, 0, 0, 0, 0, {TKBTN_HOT, 33, 45, 37, TRUE, TKICON_NORMAL}},
        {"checked and normal", E | C, 0, 0, 0, 0, 0, {TKBTN_NORMAL, 36, 46, 37, TRUE, TKICON_NORMAL}},
        {"checked and disabled", C, 0, 0, 0, 0, 0, {TKBTN_NORMAL, TKLOOK_FACE, 46, 43, TRUE, TKICON_MONO}},
        {"disabled with its icon", 0, 0, 0, 0, 1, 0, {TKBTN_NORMAL, TKLOOK_BACKGROUND, 46, 32, FALSE, TKICON_DISABLED}},
        {"hot while another drop-down is open", E, 1, 1, 0, 0, 0, {TKBTN_NORMAL, TKLOOK_BACKGROUND, 46, 32, FALSE, TKICON_FADED}},
        {"its own drop-down open", E, 1, 1, 1, 0, 0, {TKBTN_OPEN, TKLOOK_BACKGROUND, 46, 32, FALSE, TKICON_FADED}},
        {"indeterminate and hot", E | I, 1, 0, 0, 0, 0, {TKBTN_HOT, 31, 46, 32, FALSE, TKICON_RAISED}},
        {"indeterminate and pressed", E | I | P, 0, 0, 0, 0, 0, {TKBTN_PRESSED, 33, 45, 32, FALSE, TKICON_NORMAL}},
        {"indeterminate and disabled", I, 0, 0, 0, 0, 0, {TKBTN_NORMAL, TKLOOK_FACELIGHT, 46, 32, FALSE, TKICON_MONO}},
    };
    for (const Case& c : cases) {
        TK_FLAT_BUTTON_FACTS facts = {};
        facts.fsState = c.fsState;
        facts.bHotItem = c.bHot;
        facts.bBarDropDownOpen = c.bBarDropOpen;
        facts.bInPressedList = c.bInPressedList;
        facts.nUnderCursor = -1;
        facts.bHasIcon = TRUE;
        facts.bHasDisabledIcon = c.bHasDisabledIcon;
        facts.bFullColorIcons = c.bFullColor;
        TK_FLAT_BUTTON_LOOK look = TkFlatButtonLook(facts);
        EXPECT_EQ(c.look.nState, look.nState) << c.pszName;
        EXPECT_EQ(c.look.nFill, look.nFill) << c.pszName;
        EXPECT_EQ(c.look.nText, look.nText) << c.pszName;
        EXPECT_EQ(c.look.nBorder, look.nBorder) << c.pszName;
        EXPECT_EQ(c.look.bBorder, look.bBorder) << c.pszName;
        EXPECT_EQ(c.look.nIcon, look.nIcon) << c.pszName;
    }
    // the mouse: pressed over this button, another button under the cursor takes the hot look
    TK_FLAT_BUTTON_FACTS facts = {};
    facts.fsState = E;
    facts.bMouseOverBar = TRUE;
    facts.nUnderCursor = 0;
    facts.bLButtonDown = TRUE;
    EXPECT_EQ(TKBTN_PRESSED, TkFlatButtonState(facts));
    facts.bCustomizing = TRUE;
    EXPECT_EQ(TKBTN_NORMAL, TkFlatButtonState(facts));
    facts.bCustomizing = FALSE;
    facts.bLButtonDown = FALSE;
    facts.bHotItem = TRUE;
    facts.nUnderCursor = 1;
    EXPECT_EQ(TKBTN_NORMAL, TkFlatButtonState(facts));
    // a command without a picture shows none
    facts.bHasIcon = FALSE;
    EXPECT_EQ(TKICON_NONE, TkFlatButtonLook(facts).nIcon);
}

TEST_F(DockedLayoutTest, FlatButtonsAsTheControlShowsThem)
{
    CTkToolBar& bar = m_pFrame->m_toolBar;
    ::SetCursorPos(600, 500); // away from the bar
    bar.OnUpdateCmdUI(m_pFrame, TRUE); // day view checked; commands without a handler disabled
    bar.SendMessage(TB_SETHOTITEM, 0);
    bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    tktest::RunToIdle();
    auto colour = [](int n) { return tkAfxData.clrToolkit[n - 30]; };
    CClientDC dc(&bar);
    CRect rectHot, rectChecked, rectDisabled;
    bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&rectHot);
    bar.SendMessage(TB_GETITEMRECT, (WPARAM)bar.CommandToIndex(ID_VIEW_DAY), (LPARAM)&rectChecked);
    bar.SendMessage(TB_GETITEMRECT, (WPARAM)bar.CommandToIndex(ID_EDIT_ENTRY), (LPARAM)&rectDisabled);
    ASSERT_EQ(0, bar.SendMessage(TB_GETSTATE, ID_EDIT_ENTRY) & TBSTATE_ENABLED);
    // fill inside the frame, border on the edge
    EXPECT_EQ(colour(31), dc.GetPixel(rectHot.left + 1, rectHot.top + 1));
    EXPECT_EQ(colour(32), dc.GetPixel(rectHot.left, rectHot.CenterPoint().y));
    EXPECT_EQ(colour(36), dc.GetPixel(rectChecked.left + 1, rectChecked.top + 1));
    EXPECT_EQ(colour(37), dc.GetPixel(rectChecked.left, rectChecked.CenterPoint().y));
    EXPECT_EQ(bar.GetBackgroundColor(), dc.GetPixel(rectDisabled.left, rectDisabled.CenterPoint().y));
    EXPECT_EQ(bar.GetBackgroundColor(), dc.GetPixel(rectDisabled.left + 1, rectDisabled.top + 1));
}

TEST_F(DockedLayoutTest, ClassicLookLeavesACheckedButtonToTheControl)
{
    tkAfxData.bFlatLook = FALSE;
    CTkToolBar& bar = m_pFrame->m_toolBar;
    int nDay = bar.CommandToIndex(ID_VIEW_DAY);
    bar.SendMessage(TB_CHECKBUTTON, ID_VIEW_DAY, TRUE);
    CClientDC dc(&bar);
    NMTBCUSTOMDRAW cd = {};
    cd.nmcd.hdc = dc.m_hDC;
    cd.nmcd.dwItemSpec = ID_VIEW_DAY;
    bar.SendMessage(TB_GETITEMRECT, (WPARAM)nDay, (LPARAM)&cd.nmcd.rc);
    EXPECT_FALSE(bar.DrawButton(&dc, &cd));
    tkAfxData.bFlatLook = TRUE;
    EXPECT_TRUE(bar.DrawButton(&dc, &cd));
}

// ---- status bar --------------------------------------------------------------------------------

TEST_F(DockedLayoutTest, StatusBarFramesPanesInTheFlatLook)
{
    CTkStatusBar& bar = m_pFrame->m_statusBar;
    bar.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    tktest::RunToIdle();
    CClientDC dc(&bar);
    for (int i = 1; i < 4; i++) {
        CRect rect = bar.GetPaneRect(i, FALSE);
        EXPECT_EQ(tkAfxData.clr3DShadow, dc.GetPixel(rect.left, rect.CenterPoint().y)) << i;
        EXPECT_EQ(tkAfxData.clr3DShadow, dc.GetPixel(rect.right - 1, rect.CenterPoint().y)) << i;
        EXPECT_EQ(tkAfxData.clr3DShadow, dc.GetPixel(rect.CenterPoint().x, rect.top)) << i;
        EXPECT_EQ(tkAfxData.clr3DShadow, dc.GetPixel(rect.CenterPoint().x, rect.bottom - 1)) << i;
    }
    CRect rect0 = bar.GetPaneRect(0, FALSE);
    EXPECT_NE(tkAfxData.clr3DShadow, dc.GetPixel(rect0.left + 1, rect0.top));
    EXPECT_NE(tkAfxData.clr3DShadow, dc.GetPixel(rect0.CenterPoint().x, rect0.bottom - 1));
}

TEST_F(DockedLayoutTest, StretchPaneControlEndsBeforeTheSizeGrip)
{
    CTkStatusBar bar;
    ASSERT_TRUE(bar.CreateEx(m_pFrame, SBARS_SIZEGRIP, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE810));
    static const UINT kIDs[2] = {ID_SEPARATOR, ID_SEPARATOR};
    bar.SetIndicators(kIDs, 2);
    bar.SetPaneInfo(0, 200, SBPS_NORMAL, 80);
    bar.SetPaneInfo(1, 201, SBPS_STRETCH, 0);
    m_pFrame->RecalcLayout();
    CStatic* pStatic = new CStatic;
    ASSERT_TRUE(pStatic->Create("Fortschritt", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &bar, 0x300));
    ASSERT_TRUE(bar.AddPaneControl(pStatic, 201, TRUE));
    ASSERT_TRUE(bar.GetStyle() & SBARS_SIZEGRIP);
    CRect rectClient, rectControl;
    bar.GetClientRect(&rectClient);
    pStatic->GetWindowRect(&rectControl);
    bar.ScreenToClient(&rectControl);
    const int e = ::GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(rectClient.right - tkAfxData.cxSmIcon - e - e, rectControl.right);
    HWND hStatic = pStatic->m_hWnd;
    bar.DestroyWindow();
    // the control went with the bar's window; the object goes with the bar
    EXPECT_FALSE(::IsWindow(hStatic));
}

TEST_F(DockedLayoutTest, DestroyingTheStatusBarDestroysItsPaneControls)
{
    CTkStatusBar* pBar = new CTkStatusBar;
    ASSERT_TRUE(pBar->CreateEx(m_pFrame, 0, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, 0xE811));
    static const UINT kIDs[2] = {ID_SEPARATOR, ID_SEPARATOR};
    pBar->SetIndicators(kIDs, 2);
    pBar->SetPaneInfo(1, 201, SBPS_NORMAL, 80);
    // a control that is a child of the frame: only the bar's destruction destroys it
    CStatic live, early;
    ASSERT_TRUE(live.Create("a", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, 0x301));
    ASSERT_TRUE(early.Create("b", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pFrame, 0x302));
    ASSERT_TRUE(pBar->AddPaneControl(&live, 201, FALSE));
    ASSERT_TRUE(pBar->AddPaneControl(&early, 201, FALSE));
    HWND hLive = live.m_hWnd;
    early.DestroyWindow(); // destroyed early: skipped
    pBar->PositionControls();
    delete pBar;
    EXPECT_FALSE(::IsWindow(hLive));
    EXPECT_EQ(nullptr, live.m_hWnd);
}

// ---- dialog bar --------------------------------------------------------------------------------

namespace {

HWND g_hCaptureSeen = NULL;
HWND g_hDragBar = NULL;
void CALLBACK SeeCaptureAndCancel(HWND, UINT, UINT_PTR nID, DWORD)
{
    ::KillTimer(NULL, nID);
    g_hCaptureSeen = ::GetCapture();
    ::PostMessageA(g_hDragBar, WM_RBUTTONDOWN, 0, 0);
}

} // namespace

TEST_F(DockedLayoutTest, DialogBarSizeStripAndControls)
{
    CTkDialogBar& bar = m_pFrame->m_dialogBar;
    CRect rectTemplate;
    bar.GetWindowRect(&rectTemplate);
    CSize size = bar.CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(32767, size.cx);
    EXPECT_EQ(bar.m_sizeDefault.cy, size.cy);
    EXPECT_EQ(rectTemplate.Height(), size.cy);
    EXPECT_EQ(bar.m_sizeDefault, bar.CalcFixedLayout(FALSE, TRUE));
    ASSERT_NE(nullptr, bar.GetDlgItem(IDC_FILTER_CATEGORY));
    ASSERT_NE(nullptr, bar.GetDlgItem(IDC_FILTER_STATE));

    // the strip: the press reaches the bar and starts its drag loop (a timer looks and cancels)
    CRect rectWindow, rectClient;
    bar.GetWindowRect(&rectWindow);
    bar.GetClientRect(&rectClient);
    bar.ClientToScreen(&rectClient);
    EXPECT_EQ(rectWindow.left + 8, rectClient.left) << std::hex << bar.GetStyle();
    CPoint ptStrip(rectWindow.left + 4, rectWindow.CenterPoint().y);
    EXPECT_EQ(HTCLIENT, bar.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(ptStrip.x, ptStrip.y)));
    bar.ScreenToClient(&ptStrip);
    g_hCaptureSeen = NULL;
    g_hDragBar = bar.m_hWnd;
    ::SetTimer(NULL, 0, 1, SeeCaptureAndCancel);
    bar.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptStrip.x, ptStrip.y));
    EXPECT_EQ(bar.m_hWnd, g_hCaptureSeen);
    EXPECT_NE(bar.m_hWnd, ::GetCapture());

    // a press on list 1003 goes to the list, not to the bar's drag
    CWnd* pList = bar.GetDlgItem(IDC_FILTER_CATEGORY);
    CRect rectList;
    pList->GetWindowRect(&rectList);
    EXPECT_EQ(pList->m_hWnd, ::WindowFromPoint(rectList.CenterPoint()));
    pList->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    pList->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_NE(bar.m_hWnd, ::GetCapture());
    pList->SendMessage(CB_SHOWDROPDOWN, FALSE);
    tktest::RunToIdle();
}

TEST_F(DockedLayoutTest, DialogBarWithoutTemplateFails)
{
    int nChildren = 0;
    for (CWnd* p = m_pFrame->GetWindow(GW_CHILD); p != NULL; p = p->GetWindow(GW_HWNDNEXT))
        nChildren++;
    CTkDialogBar bar;
    EXPECT_FALSE(bar.Create(m_pFrame, IDD_MISSING, kDialogBarStyle, 0xE812));
    EXPECT_EQ(nullptr, bar.m_hWnd);
    int nAfter = 0;
    for (CWnd* p = m_pFrame->GetWindow(GW_CHILD); p != NULL; p = p->GetWindow(GW_HWNDNEXT))
        nAfter++;
    EXPECT_EQ(nChildren, nAfter);
}

// ---- rebar -------------------------------------------------------------------------------------

TEST_F(DockedLayoutTest, ReBarShowsBandsChildAndTakesItsIdealWidth)
{
    CTkReBar rebar;
    ASSERT_TRUE(rebar.Create(m_pFrame));
    CStatic child;
    ASSERT_TRUE(child.Create("Band", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &rebar, 0x310));
    REBARBANDINFOA info = {};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(rebar.AddBar(&child, &info));
    ASSERT_EQ(0, rebar.FindBand(child.m_hWnd));
    rebar.SendMessage(RB_SHOWBAND, 0, FALSE);
    EXPECT_FALSE(child.IsWindowVisible());
    rebar.SendMessage(RB_SHOWBAND, 0, TRUE);
    EXPECT_TRUE(child.GetStyle() & WS_VISIBLE);
    rebar.SendMessage(TKWM_REBAR_SIZECHILD, (WPARAM)child.m_hWnd, 150);
    REBARBANDINFOA got = {};
    got.cbSize = sizeof(got);
    got.fMask = RBBIM_IDEALSIZE;
    ASSERT_TRUE(rebar.SendMessage(RB_GETBANDINFOA, 0, (LPARAM)&got));
    EXPECT_EQ(150u, got.cxIdeal);
}

// ---- screenshots -------------------------------------------------------------------------------

TEST_F(DockedLayoutTest, Screenshots)
{
    CTkToolBar& bar = m_pFrame->m_toolBar;
    bar.OnUpdateCmdUI(m_pFrame, TRUE); // day view checked, commands without a handler disabled
    bar.SendMessage(TB_SETHOTITEM, 0);
    EXPECT_NE("", Shot(m_pFrame, "docked-layout", "frame-flat"));

    tkAfxData.bFlatLook = FALSE;
    m_pFrame->RecalcLayout();
    bar.SendMessage(TB_SETHOTITEM, 0);
    EXPECT_NE("", Shot(m_pFrame, "docked-layout", "frame-3d"));
    tkAfxData.bFlatLook = TRUE;

    SetFrameWidth(220);
    EXPECT_GT(bar.m_mapHiddenForRoom.GetCount(), 0);
    EXPECT_TRUE(bar.m_pExpButton->IsWindowVisible());
    EXPECT_NE("", Shot(m_pFrame, "docked-layout", "frame-narrow-chevron"));
}

// The toolbar's own screenshots on the toolkit frame: docked under the menu bar, too short with
// the chevron, floating in rows.
TEST_F(DockedLayoutTest, ToolbarScreenshots)
{
    CTkToolBar& bar = m_pFrame->m_toolBar;
    m_pFrame->ShowControlBar(&m_pFrame->m_dialogBar, FALSE, FALSE);
    m_pFrame->ShowControlBar(&m_pFrame->m_statusBar, FALSE, FALSE);
    Relayout();
    bar.OnUpdateCmdUI(m_pFrame, TRUE);
    bar.SendMessage(TB_SETHOTITEM, 0);
    EXPECT_NE("", Shot(m_pFrame, "toolbar", "docked"));

    CRect rectBar;
    bar.GetWindowRect(&rectBar);
    SetFrameWidth(260);
    EXPECT_TRUE(bar.m_pExpButton->IsWindowVisible());
    CRect rectDock;
    m_pFrame->Top()->GetWindowRect(&rectDock);
    EXPECT_NE("", Shot(m_pFrame->Top(), "toolbar", "too-short"));
    SetFrameWidth(1024);

    bar.m_nMRUWidth = 100;
    m_pFrame->FloatControlBar(&bar, CPoint(300, 300));
    tktest::RunToIdle();
    ASSERT_TRUE(bar.IsFloating());
    CRect rectItem0, rectItem13;
    bar.SendMessage(TB_GETITEMRECT, 0, (LPARAM)&rectItem0);
    bar.SendMessage(TB_GETITEMRECT, 13, (LPARAM)&rectItem13);
    EXPECT_GT(rectItem13.top, rectItem0.top);
    EXPECT_NE("", Shot(bar.GetParentFrame(), "toolbar", "floating"));
}
