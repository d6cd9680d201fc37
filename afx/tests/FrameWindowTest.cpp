// Frame windows beyond the main window: mini frames (tool-window caption, the floating-status
// protocol, sizing edges), the modal state that disables a frame's floating windows with it, the
// caption that stays active for the floating frames, and the idle work of other top-level frames.
#include <gtest/gtest.h>

#include <afxext.h>

#include "FrameTestSupport.h"

using framestest::CPaneView;
using framestest::RunToIdle;

namespace {

class FrameWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pMain = new CFrameWnd;
        ASSERT_TRUE(m_pMain->Create(NULL, "Hauptrahmen", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 540, 440)));
        m_app.m_pMainWnd = m_pMain;
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != NULL)
            m_app.m_pMainWnd->DestroyWindow(); // takes the owned frames along
        framestest::TakeQuitMessage();
    }
    CMiniFrameWnd* NewMiniFrame(DWORD dwStyle, CRect rect = CRect(600, 100, 760, 220))
    {
        CMiniFrameWnd* pMini = new CMiniFrameWnd;
        if (!pMini->Create(NULL, "Leiste", dwStyle | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, rect, m_pMain))
            return nullptr;
        return pMini;
    }
    framestest::CProbeApp m_app;
    CFrameWnd* m_pMain = nullptr;
};

} // namespace

TEST_F(FrameWindowTest, MiniFrameFollowsTheFloatingStatusOfItsOwner)
{
    CMiniFrameWnd* pMini = NewMiniFrame(MFS_SYNCACTIVE | MFS_4THICKFRAME);
    ASSERT_NE(nullptr, pMini);
    EXPECT_TRUE(pMini->GetExStyle() & WS_EX_TOOLWINDOW) << "the small caption";
    EXPECT_FALSE(pMini->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(pMini->GetStyle() & WS_THICKFRAME);
    EXPECT_EQ(m_pMain, pMini->GetTopLevelFrame()) << "the owner is the frame above it";

    EXPECT_EQ(1, (int)pMini->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
    pMini->SendMessage(WM_FLOATSTATUS, FS_DISABLE);
    EXPECT_FALSE(pMini->IsWindowEnabled());
    pMini->SendMessage(WM_FLOATSTATUS, FS_ENABLE);
    EXPECT_TRUE(pMini->IsWindowEnabled());
    pMini->SendMessage(WM_FLOATSTATUS, FS_HIDE);
    EXPECT_FALSE(pMini->IsWindowVisible());
    pMini->SendMessage(WM_FLOATSTATUS, FS_SHOW);
    EXPECT_TRUE(pMini->IsWindowVisible());

    // the owner's activation reaches the floating frame's caption
    m_pMain->SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_TRUE(pMini->m_bActive);
    m_pMain->SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_FALSE(pMini->m_bActive);
    EXPECT_FALSE(m_pMain->m_nFlags & WF_STAYACTIVE);
    // the activation going to the floating frame keeps the owner's caption active
    m_pMain->SendMessage(WM_ACTIVATE, WA_INACTIVE, (LPARAM)pMini->m_hWnd);
    EXPECT_TRUE(m_pMain->m_nFlags & WF_STAYACTIVE);
    EXPECT_TRUE(pMini->m_bActive);

    // a mini frame that does not follow its owner says so
    CMiniFrameWnd* pPlain = NewMiniFrame(0, CRect(600, 300, 760, 380));
    ASSERT_NE(nullptr, pPlain);
    EXPECT_EQ(0, (int)pPlain->SendMessage(WM_FLOATSTATUS, FS_SYNCACTIVE));
}

TEST_F(FrameWindowTest, MiniFrameStylesChangeTheSizingEdges)
{
    struct Case {
        DWORD dwStyle;
        LRESULT topLeft, leftEdge, bottomRight;
    } const cases[] = {
        {0, HTTOPLEFT, HTLEFT, HTBOTTOMRIGHT},
        {MFS_4THICKFRAME, HTTOP, HTLEFT, HTBOTTOM}, // no corners: the edge
        {MFS_MOVEFRAME | MFS_THICKFRAME, HTCAPTION, HTCAPTION, HTCAPTION},
    };
    for (const Case& c : cases) {
        CMiniFrameWnd* pMini = NewMiniFrame(c.dwStyle | WS_THICKFRAME);
        ASSERT_NE(nullptr, pMini);
        CRect rect;
        pMini->GetWindowRect(&rect);
        auto hit = [pMini](int x, int y) { return pMini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(x, y)); };
        EXPECT_EQ(c.topLeft, hit(rect.left, rect.top)) << std::hex << c.dwStyle;
        EXPECT_EQ(c.leftEdge, hit(rect.left, rect.CenterPoint().y)) << std::hex << c.dwStyle;
        EXPECT_EQ(c.bottomRight, hit(rect.right - 1, rect.bottom - 1)) << std::hex << c.dwStyle;
        EXPECT_EQ(HTCLIENT, hit(rect.CenterPoint().x, rect.bottom - 20));
        pMini->DestroyWindow();
    }
}

TEST_F(FrameWindowTest, DisabledFrameDisablesItsFloatingWindows)
{
    CMiniFrameWnd* pMini = NewMiniFrame(MFS_SYNCACTIVE);
    ASSERT_NE(nullptr, pMini);
    // a modal dialog disables the main frame: its floating windows follow
    m_pMain->EnableWindow(FALSE);
    EXPECT_TRUE(m_pMain->InModalState());
    EXPECT_FALSE(pMini->IsWindowEnabled());
    m_pMain->EnableWindow(TRUE);
    EXPECT_FALSE(m_pMain->InModalState());
    EXPECT_TRUE(pMini->IsWindowEnabled());
    // modal states nest: the floating windows come back with the last end
    m_pMain->BeginModalState();
    m_pMain->BeginModalState();
    EXPECT_FALSE(pMini->IsWindowEnabled());
    m_pMain->EndModalState();
    EXPECT_FALSE(pMini->IsWindowEnabled());
    m_pMain->EndModalState();
    EXPECT_TRUE(pMini->IsWindowEnabled());
}

TEST_F(FrameWindowTest, OtherTopLevelFramesDoTheirIdleWork)
{
    CFrameWnd* pOther = new CFrameWnd;
    ASSERT_TRUE(pOther->Create(NULL, "Zweiter Rahmen", WS_OVERLAPPEDWINDOW, CRect(100, 100, 400, 300)));
    framestest::CPlaceholderBar* pBar = new framestest::CPlaceholderBar(framestest::CPlaceholderBar::top, 30, RGB(200, 200, 200), "");
    ASSERT_TRUE(pBar->Create(pOther, AFX_IDW_TOOLBAR));
    CWnd pane;
    ASSERT_TRUE(pane.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pOther, AFX_IDW_PANE_FIRST));
    RunToIdle();
    // a frame waiting to be shown is shown at idle time, and its delayed layout is done then
    pOther->m_nShowDelay = SW_SHOWNOACTIVATE;
    pOther->DelayRecalcLayout();
    EXPECT_FALSE(pOther->IsWindowVisible());
    EXPECT_EQ(0, framestest::ChildRect(&pane).Height());
    RunToIdle();
    EXPECT_TRUE(pOther->IsWindowVisible());
    EXPECT_EQ(-1, pOther->m_nShowDelay);
    CRect rectClient;
    pOther->GetClientRect(&rectClient);
    EXPECT_EQ(CRect(0, 30, rectClient.right, rectClient.bottom), framestest::ChildRect(&pane));
    pane.DestroyWindow();
    pOther->DestroyWindow();
    delete pBar;
}

namespace {

// A frame that is a splitter's pane (made by the splitter from its class, as a view is) with a
// splitter of its own.
class CInnerFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CInnerFrame)
public:
    CSplitterWnd m_wndSplitter;
    BOOL OnCreateClient(LPCREATESTRUCT, CCreateContext* pContext) override
    {
        return m_wndSplitter.CreateStatic(this, 1, 2) &&
               m_wndSplitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(80, 0), pContext) &&
               m_wndSplitter.CreateView(0, 1, RUNTIME_CLASS(CPaneView), CSize(0, 0), pContext);
    }
};
IMPLEMENT_DYNCREATE(CInnerFrame, CFrameWnd)

} // namespace

TEST_F(FrameWindowTest, FrameInsideASplitterPaneHasViewsOfItsOwn)
{
    CDocument* pDoc = new CDocument;
    CCreateContext context;
    context.m_pCurrentDoc = pDoc;
    CSplitterWnd splitter;
    ASSERT_TRUE(splitter.CreateStatic(m_pMain, 1, 2));
    ASSERT_TRUE(splitter.CreateView(0, 0, RUNTIME_CLASS(CPaneView), CSize(120, 0), &context));
    ASSERT_TRUE(splitter.CreateView(0, 1, RUNTIME_CLASS(CInnerFrame), CSize(0, 0), &context));
    m_pMain->RecalcLayout();
    m_pMain->InitialUpdateFrame(pDoc, TRUE);
    RunToIdle();

    CInnerFrame* pInner = (CInnerFrame*)splitter.GetPane(0, 1);
    ASSERT_TRUE(pInner->IsKindOf(RUNTIME_CLASS(CInnerFrame)));
    EXPECT_TRUE(pInner->GetStyle() & WS_CHILD);
    EXPECT_EQ(m_pMain, pInner->GetParentFrame());
    CView* pInnerView = (CView*)pInner->m_wndSplitter.GetPane(0, 1);
    EXPECT_EQ(pInner, pInnerView->GetParentFrame());
    EXPECT_EQ(m_pMain, pInnerView->GetTopLevelFrame());
    EXPECT_EQ(pDoc, pInnerView->GetDocument());
    int nViews = 0;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != NULL; pDoc->GetNextView(pos))
        nViews++;
    EXPECT_EQ(3, nViews) << "the outer pane and the inner frame's two";
    // the inner splitter fills the inner frame
    CRect rectInner;
    pInner->GetClientRect(&rectInner);
    EXPECT_EQ(rectInner, framestest::ChildRect(&pInner->m_wndSplitter));
    EXPECT_EQ(80, framestest::ChildRect(pInner->m_wndSplitter.GetPane(0, 0)).Width());

    // a click into an inner view makes it the inner frame's active view, not the main frame's
    CView* pMainView = m_pMain->GetActiveView();
    pInnerView->SendMessage(WM_MOUSEACTIVATE, (WPARAM)m_pMain->m_hWnd, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    EXPECT_EQ(pInnerView, pInner->GetActiveView());
    EXPECT_EQ(pMainView, m_pMain->GetActiveView());
    framestest::SaveScreenshot(m_pMain, "frames_inner_frame");

    // the inner frame goes with its views; the document keeps the outer one
    pInner->DestroyWindow();
    nViews = 0;
    for (POSITION pos = pDoc->GetFirstViewPosition(); pos != NULL; pDoc->GetNextView(pos))
        nViews++;
    EXPECT_EQ(1, nViews);
    EXPECT_EQ(pMainView, m_pMain->GetActiveView());
}

namespace {

// A child that records the messages the system sends only to top-level windows.
class CColourListener : public CWnd {
public:
    int m_nSysColorChanges = 0;
    afx_msg void OnSysColorChange() { m_nSysColorChanges++; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColourListener, CWnd)
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

} // namespace

TEST_F(FrameWindowTest, FramePassesColourChangesToItsWindows)
{
    CColourListener listener;
    ASSERT_TRUE(listener.Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), m_pMain, 1));
    // the main frame also brings the library's shared colours up to date
    afxData.clrBtnFace = RGB(1, 2, 3);
    m_pMain->SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(1, listener.m_nSysColorChanges);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), afxData.clrBtnFace);
    listener.DestroyWindow();
}

namespace {

// A frame whose popup menu has two radio items and a check item, set by update handlers; while
// the menu is up it takes a screenshot of it and ends it.
class CRadioMenuFrame : public CFrameWnd {
public:
    std::string m_strShot;
    afx_msg void OnDay() {}
    afx_msg void OnUpdateDay(CCmdUI* pCmdUI) { pCmdUI->SetRadio(TRUE); }
    afx_msg void OnUpdateWeek(CCmdUI* pCmdUI) { pCmdUI->SetRadio(FALSE); }
    afx_msg void OnUpdateBold(CCmdUI* pCmdUI) { pCmdUI->SetCheck(1); }
    afx_msg void OnEnterIdle(UINT nWhy, CWnd*)
    {
        if (nWhy != MSGF_MENU || !m_strShot.empty())
            return;
        HWND hWndMenu = ::FindWindowA("#32768", NULL);
        if (hWndMenu == NULL)
            return;
        ::UpdateWindow(hWndMenu);
        CRect rect;
        ::GetWindowRect(hWndMenu, &rect);
        m_strShot = framestest::SaveScreenArea(rect, "menu_radio");
        ::EndMenu();
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CRadioMenuFrame, CFrameWnd)
ON_COMMAND(301, OnDay)
ON_COMMAND(302, OnDay)
ON_COMMAND(303, OnDay)
ON_UPDATE_COMMAND_UI(301, OnUpdateDay)
ON_UPDATE_COMMAND_UI(302, OnUpdateWeek)
ON_UPDATE_COMMAND_UI(303, OnUpdateBold)
ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

} // namespace

TEST_F(FrameWindowTest, RadioMenuItemsShowTheDotAndCheckItemsTheCheckMark)
{
    CRadioMenuFrame* pFrame = new CRadioMenuFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "Ansicht", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(80, 80, 400, 300), m_pMain));
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 301, "&Tagesansicht");
    menu.AppendMenu(MF_STRING, 302, "&Wochenansicht");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING, 303, "&Fett");
    pFrame->SetForegroundWindow();
    CPoint pt(40, 40);
    pFrame->ClientToScreen(&pt);
    // should the menu not come to its idle state, it is ended after a while (the test fails then)
    UINT_PTR nTimer = ::SetTimer(NULL, 0, 3000, [](HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); });
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, pFrame);
    ::KillTimer(NULL, nTimer);
    EXPECT_TRUE(framestest::CopyToShots(pFrame->m_strShot, "afx", "menu_radio")) << "the menu was shown";

    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_STATE | MIIM_CHECKMARKS;
    const struct {
        UINT nPos;
        BOOL bChecked;
        HBITMAP hbmChecked;
    } items[] = {{0, TRUE, afxData.hbmMenuDot}, {1, FALSE, afxData.hbmMenuDot}, {3, TRUE, NULL}};
    for (const auto& item : items) {
        ASSERT_TRUE(::GetMenuItemInfoA(menu.m_hMenu, item.nPos, TRUE, &mii));
        EXPECT_EQ(item.bChecked, (mii.fState & MFS_CHECKED) != 0) << item.nPos;
        EXPECT_EQ(item.hbmChecked, mii.hbmpChecked) << item.nPos;
    }
    pFrame->DestroyWindow();
}

TEST_F(FrameWindowTest, BoxesBelongToThePopupTheUserWorksWith)
{
    // Without a parent of its own a box or sheet is owned by the main window's last active
    // popup; a parent given is taken as it is (its top-level window).
    CWnd popup;
    ASSERT_TRUE(popup.CreateEx(0, NULL, "Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100, 200, 100, m_pMain->m_hWnd, NULL));
    ::SetActiveWindow(popup.m_hWnd);
    ASSERT_EQ(popup.m_hWnd, ::GetLastActivePopup(m_pMain->m_hWnd));
    EXPECT_EQ(popup.m_hWnd, AfxGetSafeOwner(NULL, NULL));
    EXPECT_EQ(m_pMain->m_hWnd, AfxGetSafeOwner(m_pMain, NULL));
    popup.DestroyWindow();
    m_app.m_pMainWnd = NULL;
    EXPECT_EQ((HWND)NULL, AfxGetSafeOwner(NULL, NULL)) << "no window at all";
    m_app.m_pMainWnd = m_pMain;
}
