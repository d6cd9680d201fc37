// The toolkit's bar base: the room inside borders and gripper, the gripper's lines, the toolkit
// bar style, and the bars menu of a right click on a real frame.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>
#include <afxres.h>

#include "CTkControlBar.h"
#include "CTkDockContext.h"
#include "CTkGlobalData.h"
#include "CTkMenuBar.h"
#include "CTkMenuItemInfo.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class CTestBar : public CTkControlBar {
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    CSize CalcFixedLayout(BOOL, BOOL bHorz) override { return bHorz ? CSize(32767, 26) : CSize(26, 32767); }
    BOOL CreateBar(CWnd* pParent, DWORD dwStyle, UINT nID, const char* pszTitle)
    {
        m_dwStyle = dwStyle & CBRS_ALL;
        return CWnd::Create(AfxRegisterWndClass(0), pszTitle, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), pParent,
                            nID);
    }
};

// A bar that lets its owner's tooltip answer stand or not.
class COwnerFrame : public CFrameWnd {
public:
    std::function<void()> m_onIdle;
    const char* m_pszTip = NULL;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onIdle) {
            std::function<void()> f = m_onIdle;
            m_onIdle = nullptr;
            f();
            return 0;
        }
        if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == TTN_NEEDTEXTA) {
            if (m_pszTip != NULL)
                ((NMTTDISPINFOA*)lParam)->lpszText = (LPSTR)m_pszTip;
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

// A bar whose own default processing writes a text of its own into a tooltip request.
class CTipBar : public CTestBar {
public:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_NOTIFY && ((NMHDR*)lParam)->code == TTN_NEEDTEXTA) {
            strcpy(((NMTTDISPINFOA*)lParam)->szText, "Leiste");
            return 1;
        }
        return CTestBar::DefWindowProc(message, wParam, lParam);
    }
};

struct Item {
    std::string strText;
    UINT nID;
    bool bChecked;
};

std::vector<Item> ReadMenu(HMENU hMenu)
{
    std::vector<Item> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
        char sz[128] = "";
        ::GetMenuStringA(hMenu, i, sz, sizeof(sz), MF_BYPOSITION);
        UINT nState = ::GetMenuState(hMenu, i, MF_BYPOSITION);
        items.push_back({sz, ::GetMenuItemID(hMenu, i), (nState & MF_CHECKED) != 0});
    }
    return items;
}

HWND FindPopupWindow()
{
    HWND hPopup = NULL;
    while ((hPopup = ::FindWindowExA(NULL, hPopup, "#32768", NULL)) != NULL) {
        if (::IsWindowVisible(hPopup))
            return hPopup;
    }
    return NULL;
}

const UINT ID_BAR_A = AFX_IDW_CONTROLBAR_FIRST + 40;
const UINT ID_BAR_B = AFX_IDW_CONTROLBAR_FIRST + 41;

} // namespace

TEST(ControlBarGeometryTest, InsideRect)
{
    CTestBar bar;
    ASSERT_EQ(2, afxData.cxBorder2);
    ASSERT_EQ(2, afxData.cyBorder2);
    const DWORD kAll = CBRS_BORDER_ANY;
    struct Case {
        DWORD dwStyle;
        BOOL bHorz;
        CRect expected; // of 0,0,100,30
    } cases[] = {
        {CBRS_ALIGN_TOP | kAll | CBRS_GRIPPER, TRUE, CRect(2 + 6 + 7, 2 + 1, 100 - 2 - 6, 30 - 2 - 1)},
        {CBRS_ALIGN_TOP | kAll, TRUE, CRect(2 + 6, 2 + 1, 100 - 2 - 6, 30 - 2 - 1)},
        {CBRS_ALIGN_TOP | CBRS_GRIPPER, TRUE, CRect(6 + 7, 1, 100 - 6, 30 - 1)},
        {CBRS_ALIGN_TOP | kAll | CBRS_GRIPPER | CBRS_FLOATING, TRUE, CRect(2 + 6, 2 + 1, 100 - 2 - 6, 30 - 2 - 1)},
        // vertical: the borders turn, the gripper goes to the top
        {CBRS_ALIGN_LEFT | CBRS_GRIPPER, FALSE, CRect(1, 6 + 7, 100 - 1, 30 - 6)},
        {CBRS_ALIGN_LEFT | CBRS_BORDER_LEFT | CBRS_BORDER_TOP, FALSE, CRect(2 + 1, 2 + 6, 100 - 1, 30 - 6)},
        {CBRS_ALIGN_LEFT | CBRS_GRIPPER | CBRS_FLOATING, FALSE, CRect(1, 6, 100 - 1, 30 - 6)},
    };
    for (const Case& c : cases) {
        bar.m_dwStyle = c.dwStyle;
        CRect rect(0, 0, 100, 30);
        bar.CalcInsideRect(rect, c.bHorz);
        EXPECT_EQ(c.expected, rect) << std::hex << c.dwStyle << " horz " << c.bHorz;
    }
}

// The rows (horizontal bar) or columns (vertical bar) where the gripper painted something.
std::vector<int> GripperLines(CTestBar& bar, int cx, int cy, BOOL bHorz)
{
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap bm;
    HDC hScreen = ::GetDC(NULL);
    bm.Attach(::CreateCompatibleBitmap(hScreen, cx, cy));
    ::ReleaseDC(NULL, hScreen);
    CBitmap* pOld = dc.SelectObject(&bm);
    const COLORREF kBack = RGB(1, 2, 3);
    dc.FillSolidRect(0, 0, cx, cy, kBack);
    bar.DrawGripper(&dc, CRect(0, 0, cx, cy));
    std::vector<int> lines;
    for (int n = 0; n < (bHorz ? cy : cx); n++) {
        bool bAny = false;
        for (int m = 0; m < (bHorz ? cx : cy) && !bAny; m++)
            bAny = dc.GetPixel(bHorz ? m : n, bHorz ? n : m) != kBack;
        if (bAny)
            lines.push_back(n);
    }
    dc.SelectObject(pOld);
    return lines;
}

TEST(ControlBarGeometryTest, GripperLines)
{
    BOOL bFlat = tkAfxData.bFlatLook;
    tkAfxData.bFlatLook = TRUE;
    CTestBar bar;
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER;
    // 24 pixels: 8 short lines at 4, 6, ... 18, each from x 2 to 4
    EXPECT_EQ((std::vector<int>{4, 6, 8, 10, 12, 14, 16, 18}), GripperLines(bar, 30, 24, TRUE));
    EXPECT_TRUE(GripperLines(bar, 30, 9, TRUE).empty());
    EXPECT_EQ((std::vector<int>{4}), GripperLines(bar, 30, 10, TRUE));
    // vertical: columns instead of rows
    bar.m_dwStyle = CBRS_ALIGN_LEFT | CBRS_GRIPPER;
    EXPECT_EQ((std::vector<int>{4, 6, 8, 10, 12, 14, 16, 18}), GripperLines(bar, 24, 30, FALSE));
    // floating or without the bit: none
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER | CBRS_FLOATING;
    EXPECT_TRUE(GripperLines(bar, 30, 24, TRUE).empty());
    bar.m_dwStyle = CBRS_ALIGN_TOP;
    EXPECT_TRUE(GripperLines(bar, 30, 24, TRUE).empty());
    // two raised bars: columns 2-4 and 5-7 take the whole height but two rows at each end
    bar.m_dwStyle = CBRS_ALIGN_TOP | CBRS_GRIPPER;
    bar.SetTkBarStyle(TKCBRS_DEFAULT | TKCBRS_DOUBLE_GRIPPER);
    std::vector<int> rows = GripperLines(bar, 30, 24, TRUE);
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(2, rows.front());
    EXPECT_EQ(21, rows.back());
    EXPECT_EQ(20u, rows.size());
    tkAfxData.bFlatLook = bFlat;
}

TEST(ControlBarGeometryTest, ToolkitStyleAndConstruction)
{
    CTestBar bar;
    EXPECT_EQ(0x3003u, bar.GetTkBarStyle());
    EXPECT_EQ(CRect(6, 1, 6, 1), bar.GetBorders());
    EXPECT_EQ(2, bar.m_cxDefaultGap);
    EXPECT_EQ(32767u, bar.m_nMRUWidth);
    EXPECT_EQ(200u, bar.m_barPosition.sizes[3][0]);
    EXPECT_EQ(100u, bar.m_barPosition.sizes[3][1]);
    EXPECT_TRUE(bar.ModifyTkBarStyle(2, 1, TRUE));
    EXPECT_EQ(0x3001u, bar.GetTkBarStyle());
    EXPECT_EQ(0x3001u, bar.m_barPosition.dwTkStyle);
    // the 8-point fonts
    LOGFONTA lf;
    ASSERT_TRUE(bar.m_fontNormal.GetLogFont(&lf));
    HDC hdc = ::GetDC(NULL);
    EXPECT_EQ(-::MulDiv(8, ::GetDeviceCaps(hdc, LOGPIXELSY), 72), lf.lfHeight);
    ::ReleaseDC(NULL, hdc);
    ASSERT_TRUE(bar.m_fontVert.GetLogFont(&lf));
    LOGFONTA lfVert;
    tkAfxData.fontVert.GetLogFont(&lfVert);
    EXPECT_EQ(lfVert.lfEscapement, lf.lfEscapement);
}

class ControlBarFrameTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_bBarMenus = tkAfxData.bBarMenus;
        tkAfxData.bBarMenus = TRUE;
        m_pFrame = new COwnerFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Leisten", WS_OVERLAPPEDWINDOW, CRect(30, 30, 530, 330)));
        ASSERT_TRUE(m_status.Create(m_pFrame));
        ASSERT_TRUE(m_menuBar.Create(m_pFrame, WS_CHILD | WS_VISIBLE | CBRS_TOP));
        ASSERT_TRUE(m_menuBar.LoadMenuBar(IDR_MAINFRAME));
        ASSERT_TRUE(m_barA.CreateBar(m_pFrame, CBRS_TOP | CBRS_GRIPPER, ID_BAR_A, "Termine"));
        ASSERT_TRUE(m_barB.CreateBar(m_pFrame, CBRS_TOP | CBRS_GRIPPER, ID_BAR_B, ""));
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    void TearDown() override
    {
        if (m_pFrame != NULL)
            m_pFrame->DestroyWindow();
        tkAfxData.bBarMenus = m_bBarMenus;
    }

    // Right-clicks the bar; answers the items of the popup that opened (none: empty) after act
    // ran inside the menu loop (default: the menu is closed).
    std::vector<Item> RightClick(CWnd& bar, std::function<void(HWND)> act = nullptr)
    {
        std::vector<Item> items;
        bool bOpened = false;
        m_pFrame->m_onIdle = [&]() {
            HWND hPopup = FindPopupWindow();
            bOpened = hPopup != NULL;
            if (hPopup == NULL)
                return;
            items = ReadMenu((HMENU)::SendMessageA(hPopup, MN_GETHMENU, 0, 0));
            if (act)
                act(hPopup);
            else
                ::PostMessageA(hPopup, WM_KEYDOWN, VK_ESCAPE, 0);
        };
        bar.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 3));
        m_pFrame->m_onIdle = nullptr;
        tktest::RunToIdle();
        return items;
    }

    COwnerFrame* m_pFrame = NULL;
    CStatusBar m_status;
    CTkMenuBar m_menuBar;
    CTestBar m_barA;
    CTipBar m_barB;
    BOOL m_bBarMenus = TRUE;
};

TEST_F(ControlBarFrameTest, BarsMenuListsTheBarsNewestFirst)
{
    std::vector<Item> items = RightClick(m_barA);
    // the bars in reverse order of the frame's list; the menu bar left out; the status bar last
    ASSERT_EQ(3u, items.size());
    EXPECT_EQ("Control Bar", items[0].strText);
    EXPECT_EQ(ID_BAR_B, items[0].nID);
    EXPECT_EQ("Termine", items[1].strText);
    EXPECT_EQ(ID_BAR_A, items[1].nID);
    EXPECT_EQ("Status Bar", items[2].strText);
    EXPECT_EQ((UINT)AFX_IDW_STATUS_BAR, items[2].nID);
    for (const Item& item : items)
        EXPECT_TRUE(item.bChecked) << item.strText;

    // a hidden bar is listed without its check mark
    m_pFrame->ShowControlBar(&m_status, FALSE, FALSE);
    items = RightClick(m_barB);
    ASSERT_EQ(3u, items.size());
    EXPECT_FALSE(items[2].bChecked);
    EXPECT_TRUE(items[1].bChecked);
}

TEST_F(ControlBarFrameTest, ChoosingAnEntryHidesThatBar)
{
    RightClick(m_barA, [](HWND hPopup) {
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
    });
    tktest::RunToIdle();
    EXPECT_FALSE(m_barA.IsWindowVisible());
    EXPECT_TRUE(m_barB.IsWindowVisible());
    EXPECT_TRUE(m_status.IsWindowVisible());
}

TEST_F(ControlBarFrameTest, WithoutBarMenusNothingOpens)
{
    tkAfxData.bBarMenus = FALSE;
    EXPECT_TRUE(RightClick(m_barA).empty());
    // an unlisted bar opens nothing either
    tkAfxData.bBarMenus = TRUE;
    m_barA.m_bListed = FALSE;
    EXPECT_TRUE(RightClick(m_barA).empty());
    // but is still left out of another bar's list
    std::vector<Item> items = RightClick(m_barB);
    ASSERT_EQ(2u, items.size());
    EXPECT_EQ(ID_BAR_B, items[0].nID);
}

TEST_F(ControlBarFrameTest, ContextMenuOfTheCallersChoice)
{
    m_barA.SetContextMenuID(IDR_MAINFRAME, 3);
    EXPECT_EQ((UINT)IDR_MAINFRAME, m_barA.GetContextMenuID());
    std::vector<Item> items = RightClick(m_barA);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    std::vector<Item> expected = ReadMenu(::GetSubMenu(menu.m_hMenu, 3));
    ASSERT_EQ(expected.size(), items.size());
    for (size_t i = 0; i < items.size(); i++)
        EXPECT_EQ(expected[i].strText, items[i].strText) << i;
    // a menu that does not exist shows nothing
    m_barA.SetContextMenuID(999, 0);
    EXPECT_TRUE(RightClick(m_barA).empty());
}

TEST_F(ControlBarFrameTest, TooltipTheOwnerAnswersIsNotAnsweredByTheBar)
{
    NMTTDISPINFOA info;
    memset(&info, 0, sizeof(info));
    info.hdr.hwndFrom = m_barB.m_hWnd;
    info.hdr.idFrom = 5;
    info.hdr.code = TTN_NEEDTEXTA;
    m_pFrame->m_pszTip = "Neuer Termin";
    m_barB.SendMessage(WM_NOTIFY, 5, (LPARAM)&info);
    EXPECT_STREQ("Neuer Termin", info.lpszText);
    EXPECT_STREQ("", info.szText);
    // left unanswered by the owner, the bar's own processing answers it
    memset(&info, 0, sizeof(info));
    info.hdr.hwndFrom = m_barB.m_hWnd;
    info.hdr.code = TTN_NEEDTEXTA;
    m_pFrame->m_pszTip = NULL;
    EXPECT_EQ(1, m_barB.SendMessage(WM_NOTIFY, 5, (LPARAM)&info));
    EXPECT_STREQ("Leiste", info.szText);
}

TEST_F(ControlBarFrameTest, PrivateMessagesAndVisibilityListeners)
{
    EXPECT_EQ(0, m_barA.SendMessage(TKWM_QUERY_FULLDRAG));
    SIZE size = {10, 10};
    EXPECT_EQ(0, m_barA.SendMessage(TKWM_QUERY_FLOATOFFSET, 0, (LPARAM)&size));
    EXPECT_EQ(1, m_menuBar.SendMessage(TKWM_QUERY_FULLDRAG));
    REBARBANDINFOA band;
    memset(&band, 0, sizeof(band));
    EXPECT_EQ(1, m_barA.SendMessage(TKWM_ADDREBAR, TRUE, (LPARAM)&band));
    EXPECT_TRUE(m_barA.m_bInRebar);
    EXPECT_TRUE(band.fMask & RBBIM_CHILDSIZE);
    EXPECT_EQ(26u, band.cyMinChild);

    // docking: the toolkit's docking context, made once; the parent becomes the owner
    EXPECT_EQ(NULL, m_barA.m_pDockContext);
    m_barA.EnableDocking(CBRS_ALIGN_ANY, TKCBRS_DOUBLE_GRIPPER);
    CDockContext* pContext = m_barA.m_pDockContext;
    EXPECT_TRUE(dynamic_cast<CTkDockContext*>(pContext) != NULL);
    EXPECT_EQ((DWORD)CBRS_ALIGN_ANY, m_barA.m_dwDockStyle);
    EXPECT_EQ(0x3007u, m_barA.GetTkBarStyle());
    EXPECT_EQ(m_pFrame, m_barA.GetOwner());
    m_barA.EnableDocking(CBRS_ALIGN_TOP);
    EXPECT_EQ(pContext, m_barA.m_pDockContext);

    static std::vector<BOOL> seen;
    seen.clear();
    int listener = 0;
    auto pfn = [](void*, BOOL bVisible) { seen.push_back(bVisible); };
    m_barA.AddVisibilityListener(pfn, &listener);
    m_barA.AddVisibilityListener(pfn, NULL); // skipped
    m_barA.DelayShow(FALSE);
    m_barA.DelayShow(TRUE);
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), seen);
}

namespace {

// Counts the status texts it is asked to show.
class CTextFrame : public CFrameWnd {
public:
    std::vector<std::pair<UINT, WPARAM>> m_texts;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING)
            m_texts.push_back({message, wParam});
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(ControlBarStatusTextTest, WithoutStatusBarTheMainWindowShowsTheText)
{
    tktest::CTestApp app;
    CWinApp* pApp = AfxGetApp();
    ASSERT_EQ(&app, pApp);
    CWnd* pOldMain = pApp->m_pMainWnd;
    CTextFrame* pMain = new CTextFrame;
    ASSERT_TRUE(pMain->Create(NULL, "Haupt", WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 100)));
    CTextFrame* pFrame = new CTextFrame;
    ASSERT_TRUE(pFrame->Create(NULL, "Leisten", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    pApp->m_pMainWnd = pMain;
    CTestBar bar;
    ASSERT_TRUE(bar.CreateBar(pFrame, CBRS_TOP | CBRS_FLYBY, ID_BAR_A, "Termine"));
    bar.SetOwner(pFrame);

    EXPECT_TRUE(bar.SetStatusText(ID_NEW_APPOINTMENT));
    EXPECT_EQ((std::vector<std::pair<UINT, WPARAM>>{{WM_SETMESSAGESTRING, ID_NEW_APPOINTMENT}}), pMain->m_texts);
    pMain->m_texts.clear();
    EXPECT_TRUE(bar.SetStatusText(-1));
    ASSERT_FALSE(pMain->m_texts.empty());
    EXPECT_EQ((std::pair<UINT, WPARAM>{WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE}), pMain->m_texts.front());

    // with a status bar the owner's own texts are enough
    CStatusBar status;
    ASSERT_TRUE(status.Create(pFrame));
    pMain->m_texts.clear();
    EXPECT_TRUE(bar.SetStatusText(ID_NEW_TASK));
    EXPECT_TRUE(pMain->m_texts.empty());
    EXPECT_FALSE(pFrame->m_texts.empty());

    pApp->m_pMainWnd = pOldMain;
    bar.DestroyWindow();
    pFrame->DestroyWindow();
    pMain->DestroyWindow();
}
