// The menu bar: its items from menu 128, mnemonics and sizes, wrapping and sizing, docked and
// floating layout, the MDI window list and child controls, the frame hooks, and screenshots.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>
#include <afxres.h>

#include "CTkGlobalData.h"
#include "CTkMenuBar.h"
#include "CTkMenuBarTextItem.h"
#include "TestKit.h"
#include "TkDrawing.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <string>
#include <vector>

namespace {

const DWORD kProgramStyle = 0x50402834; // the program's window and bar style of its menu bar

std::string Shot(CWnd* pWnd, const char* pszName)
{
    pWnd->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    tktest::RunToIdle();
    CRect rect;
    pWnd->GetWindowRect(&rect);
    HDC hdc = ::GetDC(NULL);
    std::string strPath =
        oxtest::SaveShot(hdc, rect.left, rect.top, rect.Width(), rect.Height(), "menu-bar", pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

std::vector<std::string> Titles(CTkMenuBar& bar)
{
    std::vector<std::string> titles;
    // the icon first, the three frame buttons last
    for (INT_PTR i = 1; i < bar.m_arrItems.GetSize() - 3; i++)
        titles.push_back((LPCSTR)((CTkMenuBarTextItem*)bar.m_arrItems[i])->m_strText);
    return titles;
}

} // namespace

// An SDI frame with the menu bar as the program makes it, docked at the top, and the class
// library's toolbar from toolbar 128 below it.
class MenuBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_bFlat = tkAfxData.bFlatLook;
        m_pFrame = new CFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 300), NULL,
                                     MAKEINTRESOURCE(IDR_MAINFRAME)));
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
        ASSERT_TRUE(m_bar.LoadMenuBar(IDR_MAINFRAME));
        ASSERT_TRUE(m_toolBar.CreateEx(m_pFrame, TBSTYLE_FLAT,
                                       WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS | CBRS_FLYBY));
        ASSERT_TRUE(m_toolBar.LoadToolBar(IDR_MAINFRAME));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_bar.EnableDocking(CBRS_ALIGN_ANY, 0x306B);
        m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar);
        m_pFrame->DockControlBar(&m_toolBar);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    void TearDown() override
    {
        if (m_pFrame != NULL)
            m_pFrame->DestroyWindow();
        tkAfxData.bFlatLook = m_bFlat;
        tktest::RunToIdle();
    }

    CFrameWnd* m_pFrame = NULL;
    CTkMenuBar m_bar;
    CToolBar m_toolBar;
    BOOL m_bFlat = TRUE;
};

TEST_F(MenuBarTest, ItemsOfMenu128)
{
    EXPECT_EQ(NULL, ::GetMenu(m_pFrame->m_hWnd)); // the frame's own menu went
    CString strTitle;
    m_bar.GetWindowText(strTitle);
    EXPECT_STREQ("Menüleiste", strTitle); // the floating bar's caption
    EXPECT_EQ((std::vector<std::string>{"&Datei", "&Bearbeiten", "&Ausgabe", "Ans&icht", "&Konfiguration", "&?"}),
              Titles(m_bar));
    ASSERT_EQ(10, m_bar.m_arrItems.GetSize());
    EXPECT_EQ(0x306Bu | 0x3003u, m_bar.GetTkBarStyle());

    // sizes: the text without marks in the menu font plus 14, the menu height
    CClientDC dc(NULL);
    CFont* pOld = dc.SelectObject(&tkAfxData.fontMenu);
    const char* mnemonics = "DBAiK?";
    for (int i = 0; i < 6; i++) {
        CTkMenuBarTextItem* pItem = (CTkMenuBarTextItem*)m_bar.m_arrItems[i + 1];
        CString strPlain = pItem->m_strText;
        TkStripMnemonics(strPlain);
        CSize size;
        pItem->GetSize(size);
        EXPECT_EQ(dc.GetTextExtent(strPlain).cx + 14, size.cx) << i;
        EXPECT_EQ(tkAfxData.cyMenu, size.cy) << i;
        TCHAR ch = 0;
        EXPECT_TRUE(pItem->GetMnemonic(ch));
        EXPECT_EQ(mnemonics[i], ch) << i;
        EXPECT_EQ(i, pItem->m_nMenuPos);
    }
    dc.SelectObject(pOld);

    // an SDI frame: icon and frame buttons hidden, layout and hit testing see the titles only
    int items[16];
    ASSERT_EQ(6, m_bar.GetVisibleItems(items, 3));
    EXPECT_EQ(1, items[0]);
    EXPECT_EQ(0, m_bar.GetVisibleItems(items, 2));
    CRect rect = m_bar.GetItemRect(2);
    m_bar.GetVisibleItems(items, 3);
    EXPECT_EQ(2, m_bar.HitTestItem(rect.CenterPoint(), items, items + 5));
    EXPECT_EQ(-1, m_bar.HitTestItem(CPoint(-5, -5), items, items + 5));
}

TEST(MenuBarMnemonicTest, Table)
{
    struct Case {
        const char* pszText;
        char ch;
    } cases[] = {{"&Datei", 'D'}, {"Ans&icht", 'i'}, {"&?", '?'}, {"A&&B", 0},
                 {"&&Nur", 0},    {"Ende&", 0},      {"A&&B&c", 'c'}, {"Ohne", 0}};
    for (const Case& c : cases)
        EXPECT_EQ(c.ch, CTkMenuBarTextItem::FindMnemonic(c.pszText)) << c.pszText;
}

TEST_F(MenuBarTest, WrapNarrowerThanEveryItem)
{
    int items[16];
    int n = m_bar.GetVisibleItems(items, 3);
    ASSERT_EQ(6, n);
    auto item = [&](int k) { return (CTkMenuBarItem*)m_bar.m_arrItems[items[k]]; };
    for (BOOL bLast : {TRUE, FALSE}) {
        for (int k = 0; k < n; k++)
            item(k)->m_bWrap = k == n - 1 ? bLast : FALSE;
        EXPECT_EQ(6, m_bar.WrapItems(1));
        for (int k = 0; k < n - 1; k++)
            EXPECT_TRUE(item(k)->m_bWrap) << k;
        EXPECT_EQ(bLast, item(n - 1)->m_bWrap); // the last is never changed
    }
    // wide enough for all: one row, nothing wraps
    EXPECT_EQ(1, m_bar.WrapItems(32767));
    for (int k = 0; k < n - 1; k++)
        EXPECT_FALSE(item(k)->m_bWrap) << k;
}

TEST_F(MenuBarTest, FloatingBarSnapsToALayoutNotWiderThanAsked)
{
    // every layout the titles can take, by brute force
    m_bar.m_dwStyle |= CBRS_FLOATING;
    std::vector<int> widths;
    for (int w = 0; w < 700; w++) {
        m_bar.WrapItems(w);
        m_bar.PositionItems(TRUE);
        int cx = m_bar.CalcItemsSize(TRUE).cx;
        if (widths.empty() || widths.back() != cx)
            widths.push_back(cx);
    }
    ASSERT_GE(widths.size(), 3u);
    for (int nAsked : {0, widths[0], widths[1] - 1, widths[1], widths[1] + 1, (widths[1] + widths[2]) / 2,
                       widths.back() - 1, widths.back(), 5000}) {
        m_bar.SizeItems(nAsked, TRUE);
        m_bar.PositionItems(TRUE);
        int cx = m_bar.CalcItemsSize(TRUE).cx;
        int nExpected = widths[0];
        for (int w : widths) {
            if (w <= nAsked)
                nExpected = std::max(nExpected, w);
        }
        std::string strWidths;
        for (int w : widths)
            strWidths += std::to_string(w) + " ";
        EXPECT_EQ(nExpected, cx) << "asked " << nAsked << " layouts " << strWidths;
    }
    m_bar.m_dwStyle &= ~CBRS_FLOATING;
}

TEST_F(MenuBarTest, DockedTopGrowsByAMenuRowPerRow)
{
    CRect rect;
    m_bar.GetWindowRect(&rect);
    int cyOne = rect.Height();
    int nRowsWide = 1;
    // narrower: the titles take two and then three rows
    for (int cx : {330, 150}) {
        m_pFrame->SetWindowPos(NULL, 0, 0, cx, 300, SWP_NOMOVE | SWP_NOZORDER);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
        m_bar.GetWindowRect(&rect);
        int items[16];
        int n = m_bar.GetVisibleItems(items, 3);
        int nRows = 1;
        for (int k = 0; k < n - 1; k++)
            nRows += ((CTkMenuBarItem*)m_bar.m_arrItems[items[k]])->m_bWrap ? 1 : 0;
        EXPECT_GT(nRows, nRowsWide) << cx;
        EXPECT_EQ(cyOne + (nRows - 1) * tkAfxData.cyMenu, rect.Height()) << cx;
        // every title inside the bar's client area
        CRect rectClient;
        m_bar.GetClientRect(&rectClient);
        for (int k = 0; k < n; k++) {
            CRect r = m_bar.GetItemRect(items[k]);
            EXPECT_LE(r.right, rectClient.right) << k;
            EXPECT_LE(r.bottom, rectClient.bottom) << k;
        }
        nRowsWide = nRows;
    }
}

TEST_F(MenuBarTest, InactiveFrameDrawsGreyTitles)
{
    auto textColours = [&]() {
        CRect rect = m_bar.GetItemRect(1);
        CClientDC dcBar(&m_bar);
        CDC dc;
        dc.CreateCompatibleDC(&dcBar);
        CBitmap bm;
        bm.CreateCompatibleBitmap(&dcBar, rect.right + 2, rect.bottom + 2);
        CBitmap* pOld = dc.SelectObject(&bm);
        dc.FillSolidRect(0, 0, rect.right + 2, rect.bottom + 2, RGB(255, 255, 255));
        ((CTkMenuBarItem*)m_bar.m_arrItems[1])->Draw(&dc);
        int nMenuText = 0, nGray = 0;
        for (int y = rect.top; y < rect.bottom; y++) {
            for (int x = rect.left; x < rect.right; x++) {
                COLORREF clr = dc.GetPixel(x, y);
                nMenuText += clr == tkAfxData.clrMenuText;
                nGray += clr == tkAfxData.clrGrayText;
            }
        }
        dc.SelectObject(pOld);
        return std::make_pair(nMenuText, nGray);
    };
    ASSERT_NE(tkAfxData.clrMenuText, tkAfxData.clrGrayText);
    m_pFrame->SetActiveWindow();
    tktest::RunToIdle();
    EXPECT_TRUE(m_bar.m_bFrameActive);
    auto active = textColours();
    EXPECT_GT(active.first, 10);
    EXPECT_EQ(0, active.second);
    // another window becomes active
    CFrameWnd* pOther = new CFrameWnd;
    ASSERT_TRUE(pOther->Create(NULL, "Andere", WS_OVERLAPPEDWINDOW, CRect(700, 40, 900, 200)));
    pOther->ShowWindow(SW_SHOW);
    pOther->SetActiveWindow();
    tktest::RunToIdle();
    EXPECT_FALSE(m_bar.m_bFrameActive);
    auto inactive = textColours();
    EXPECT_EQ(0, inactive.first);
    EXPECT_GT(inactive.second, 10);
    pOther->DestroyWindow();
    m_pFrame->SetActiveWindow();
    tktest::RunToIdle();
    EXPECT_TRUE(m_bar.m_bFrameActive);
}

TEST_F(MenuBarTest, SettingChangeKeepsTheMenusAndRebuildsTheItems)
{
    HMENU hMenu = m_bar.m_hMenu;
    HMENU hWindow = ::CreatePopupMenu();
    m_bar.SetMenu(hMenu, hWindow);
    // The rebuild deletes the old items, so a new one may take an old one's address: the old
    // title is marked instead, by its drawing function (nothing paints until messages are pumped;
    // a title that was not made anew gets its function back below).
    CTkMenuBarItem* pOldTitle = (CTkMenuBarItem*)m_bar.m_arrItems[1];
    const CTkMenuBarItem::PFNITEMDRAW pfnTitleDraw = pOldTitle->m_pfnDraw;
    ASSERT_TRUE(pfnTitleDraw != nullptr);
    pOldTitle->m_pfnDraw = nullptr;
    m_bar.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ(hMenu, m_bar.m_hMenu);
    EXPECT_EQ(hWindow, m_bar.m_hWindowMenu);
    ASSERT_EQ(10, m_bar.m_arrItems.GetSize());
    CTkMenuBarItem* pTitle = (CTkMenuBarItem*)m_bar.m_arrItems[1];
    EXPECT_TRUE(pTitle->m_pfnDraw == pfnTitleDraw) << "the title was made anew";
    if (pTitle->m_pfnDraw == nullptr)
        pTitle->m_pfnDraw = pfnTitleDraw;
    EXPECT_EQ((std::vector<std::string>{"&Datei", "&Bearbeiten", "&Ausgabe", "Ans&icht", "&Konfiguration", "&?"}),
              Titles(m_bar));
    m_bar.SetMenu(hMenu, NULL);
    ::DestroyMenu(hWindow);
}

TEST(MenuBarServerMenuTest, ForeignTopLevelMenus)
{
    auto popup = [](std::vector<std::pair<const char*, UINT>> items) {
        HMENU h = ::CreatePopupMenu();
        for (auto& item : items)
            ::AppendMenuA(h, MF_STRING, item.second, item.first);
        return h;
    };
    HMENU hServer = ::CreateMenu();
    ::AppendMenuA(hServer, MF_POPUP, (UINT_PTR)popup({{"Neu", 1}, {"Öffnen", 2}}), "&Datei");
    ::AppendMenuA(hServer, MF_POPUP, (UINT_PTR)popup({{"Kopieren", 3}}), "&Bearbeiten");
    ::AppendMenuA(hServer, MF_POPUP, (UINT_PTR)popup({{"Info", 4}}), "&Hilfe");
    ::AppendMenuA(hServer, MF_POPUP, (UINT_PTR)popup({{"Tabelle", 6}}), "&Format");
    HMENU hContainer = ::CreateMenu();
    ::AppendMenuA(hContainer, MF_POPUP, (UINT_PTR)popup({{"Neu", 1}, {"Öffnen", 2}}), "&Datei");
    ::AppendMenuA(hContainer, MF_POPUP, (UINT_PTR)popup({{"Kopieren", 5}}), "&Bearbeiten"); // other id
    ::AppendMenuA(hContainer, MF_POPUP, (UINT_PTR)popup({{"Info", 4}, {"Hilfe", 7}}), "&Hilfe"); // more items
    ::AppendMenuA(hContainer, MF_POPUP, (UINT_PTR)popup({{"Tabelle", 6}}), "&format");          // other case
    CMap<UINT, UINT, BOOL, BOOL> map;
    CTkMenuBar::MapMenus(hServer, hContainer, map);
    BOOL b;
    EXPECT_FALSE(map.Lookup(1, b));
    EXPECT_TRUE(map.Lookup(2, b));
    EXPECT_TRUE(map.Lookup(3, b));
    EXPECT_TRUE(map.Lookup(4, b));
    EXPECT_EQ(3, map.GetCount());
    CTkMenuBar::MapMenus(hServer, hServer, map);
    EXPECT_EQ(0, map.GetCount());
    ::DestroyMenu(hServer);
    ::DestroyMenu(hContainer);
}

TEST_F(MenuBarTest, Shots)
{
    // flat look with a hot title
    tkAfxData.bFlatLook = TRUE;
    m_bar.SetHotItem(2);
    EXPECT_FALSE(Shot(m_pFrame, "docked-top-flat").empty());
    // 3-D look
    tkAfxData.bFlatLook = FALSE;
    m_bar.SetMenu(NULL, NULL);
    m_bar.SetHotItem(2);
    EXPECT_FALSE(Shot(m_pFrame, "docked-top-3d").empty());
    tkAfxData.bFlatLook = TRUE;
    m_bar.SetMenu(NULL, NULL);
    m_bar.SetHotItem(-1);

    // floating, wrapped in two rows
    m_bar.WrapItems(32767);
    m_bar.PositionItems(TRUE);
    int cxOneRow = m_bar.CalcItemsSize(TRUE).cx;
    m_pFrame->FloatControlBar(&m_bar, CPoint(120, 380));
    m_bar.m_nMRUWidth = cxOneRow * 2 / 3;
    CFrameWnd* pMini = m_bar.GetParentFrame();
    ASSERT_TRUE(pMini != NULL && pMini != m_pFrame);
    pMini->RecalcLayout();
    tktest::RunToIdle();
    CRect rect;
    m_bar.GetClientRect(&rect);
    EXPECT_EQ(2 * tkAfxData.cyMenu + m_bar.CalcBorderSize(TRUE).cy, rect.Height());
    EXPECT_FALSE(Shot(pMini, "floating-two-rows").empty());

    // docked left: the titles run downwards
    m_pFrame->DockControlBar(&m_bar, AFX_IDW_DOCKBAR_LEFT);
    m_pFrame->RecalcLayout();
    tktest::RunToIdle();
    EXPECT_TRUE(m_bar.IsLeftDocked());
    CRect r1 = m_bar.GetItemRect(1);
    EXPECT_GT(r1.Height(), r1.Width());
    EXPECT_FALSE(Shot(m_pFrame, "docked-left").empty());
}

namespace {

std::vector<std::string> MenuTexts(HMENU hMenu)
{
    std::vector<std::string> texts;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
        char sz[128] = "";
        ::GetMenuStringA(hMenu, i, sz, sizeof(sz), MF_BYPOSITION);
        UINT nState = ::GetMenuState(hMenu, i, MF_BYPOSITION);
        std::string s = (nState & MF_SEPARATOR) ? "-" : sz;
        if (nState & MF_CHECKED)
            s += " [x]";
        texts.push_back(s + " " + std::to_string(::GetMenuItemID(hMenu, i)));
    }
    return texts;
}

} // namespace

class MenuBarMDITest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CMDIFrameWnd;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 340), NULL,
                                     MAKEINTRESOURCE(IDR_MAINFRAME)));
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), AFX_IDW_MENUBAR));
        ASSERT_TRUE(m_bar.LoadMenuBar(IDR_MAINFRAME));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_bar.EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, 0x306B);
        m_pFrame->DockControlBar(&m_bar);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
        EXPECT_EQ(m_pFrame->m_hWndMDIClient, m_bar.m_hWndMDIClient);
    }
    void TearDown() override
    {
        if (m_pFrame != NULL)
            m_pFrame->DestroyWindow();
        if (m_hWindow != NULL)
            ::DestroyMenu(m_hWindow);
        tktest::RunToIdle();
    }
    CMDIChildWnd* NewChild(const char* pszTitle, UINT nID)
    {
        CMDIChildWnd* pChild = new CMDIChildWnd;
        if (!pChild->Create(NULL, pszTitle, WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, CFrameWnd::rectDefault,
                            m_pFrame))
            return NULL;
        ::SetWindowLongPtrA(pChild->m_hWnd, GWLP_ID, nID);
        return pChild;
    }
    void UseWindowMenu()
    {
        m_hWindow = ::CreatePopupMenu();
        ::AppendMenuA(m_hWindow, MF_STRING, ID_WINDOW_TILE_HORZ, "&Nebeneinander");
        m_bar.SetMenu(m_bar.m_hLoadedMenu, m_hWindow);
    }

    CMDIFrameWnd* m_pFrame = NULL;
    CTkMenuBar m_bar;
    HMENU m_hWindow = NULL;
};

TEST_F(MenuBarMDITest, WindowList)
{
    ASSERT_TRUE(NewChild("Woche", 0xFF00) != NULL);
    ASSERT_TRUE(NewChild("Monat", 0xFF02) != NULL);
    CMDIChildWnd* pActive = NewChild("Aufgaben", 0xFF0C);
    ASSERT_TRUE(pActive != NULL);
    m_pFrame->MDIActivate(pActive);
    tktest::RunToIdle();
    UseWindowMenu();
    const std::vector<std::string> expected = {
        "&Nebeneinander " + std::to_string(ID_WINDOW_TILE_HORZ), "- 0", "&1  Woche 65280", "&3  Monat 65282",
        "&9  Aufgaben [x] 65292", "- 0", "Fenster... 65289"};
    m_bar.Refresh();
    EXPECT_EQ(expected, MenuTexts(m_hWindow));
    m_bar.Refresh(); // the list is replaced, not added again
    EXPECT_EQ(expected, MenuTexts(m_hWindow));

    // a child with the ninth id as well: the ninth entry stays the active child's
    ASSERT_TRUE(NewChild("Tag", 0xFF08) != NULL);
    m_pFrame->MDIActivate(pActive);
    tktest::RunToIdle();
    m_bar.Refresh();
    EXPECT_EQ(expected, MenuTexts(m_hWindow));

    // without children only the window menu's own items stay
    m_pFrame->MDIGetActive(); // (the frame keeps its children until it goes)
    for (HWND h; (h = ::GetWindow(m_pFrame->m_hWndMDIClient, GW_CHILD)) != NULL;)
        ::SendMessageA(m_pFrame->m_hWndMDIClient, WM_MDIDESTROY, (WPARAM)h, 0);
    tktest::RunToIdle();
    m_bar.Refresh();
    EXPECT_EQ((std::vector<std::string>{"&Nebeneinander " + std::to_string(ID_WINDOW_TILE_HORZ), "- 0"}),
              MenuTexts(m_hWindow));
}

TEST_F(MenuBarMDITest, MaximizedChildShowsItsIconAndButtons)
{
    CMDIChildWnd* pChild = NewChild("Woche", 0xFF00);
    ASSERT_TRUE(pChild != NULL);
    int items[16];
    EXPECT_EQ(6, m_bar.GetVisibleItems(items, 3));
    pChild->MDIMaximize();
    tktest::RunToIdle();
    // idle time updates the bars
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    tktest::RunToIdle();
    EXPECT_TRUE(m_bar.m_bChildMaximized);
    ASSERT_EQ(10, m_bar.GetVisibleItems(items, 3));
    ASSERT_EQ(3, m_bar.GetVisibleItems(items, 2));
    // the icon at the start, the three buttons at the row's end
    CRect rectInside(0, 0, 0, 0);
    m_bar.CalcInsideRect(rectInside, TRUE);
    EXPECT_EQ(rectInside.left, m_bar.GetItemRect(0).left);
    CRect rectClose = m_bar.GetItemRect(9);
    EXPECT_EQ(rectInside.left + m_bar.GetAvailableLength(TRUE) - ::GetSystemMetrics(SM_CXEDGE), rectClose.right);
    EXPECT_EQ(m_bar.GetItemRect(8).right + 2, rectClose.left); // the restore button's spacing
    EXPECT_EQ(m_bar.GetItemRect(7).right, m_bar.GetItemRect(8).left);
    EXPECT_GT(m_bar.GetItemRect(8).left, m_bar.GetItemRect(6).right);
    EXPECT_FALSE(Shot(m_pFrame, "mdi-maximized-child").empty());

    pChild->MDIRestore();
    m_pFrame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
    tktest::RunToIdle();
    EXPECT_FALSE(m_bar.m_bChildMaximized);
    EXPECT_EQ(6, m_bar.GetVisibleItems(items, 3));
}

TEST_F(MenuBarMDITest, MDISetMenuSwitchesTheBarsMenu)
{
    HMENU hMenu = ::CreateMenu();
    HMENU hWindow = ::CreatePopupMenu();
    ::AppendMenuA(hWindow, MF_STRING, ID_WINDOW_CASCADE, "&Überlappend");
    ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)hWindow, "&Fenster");
    ::AppendMenuA(hMenu, MF_STRING, 0xE145, "&Hilfe");
    HMENU hOld = m_bar.m_hMenu;
    EXPECT_EQ(0, ::SendMessageA(m_pFrame->m_hWndMDIClient, WM_MDISETMENU, (WPARAM)hMenu, (LPARAM)hWindow));
    EXPECT_EQ(hMenu, m_bar.m_hMenu);
    EXPECT_EQ(hWindow, m_bar.m_hWindowMenu);
    EXPECT_EQ(NULL, ::GetMenu(m_pFrame->m_hWnd));
    EXPECT_EQ((std::vector<std::string>{"&Fenster", "&Hilfe"}), Titles(m_bar));
    m_bar.SetMenu(hOld, NULL);
    ::DestroyMenu(hMenu);
}

TEST_F(MenuBarTest, MenuWithoutTitlesLeavesOnlyTheBorders)
{
    HMENU hMenu = ::CreateMenu();
    ::AppendMenuA(hMenu, MF_POPUP, (UINT_PTR)::CreatePopupMenu(), "");
    ::AppendMenuA(hMenu, MF_SEPARATOR, 0, NULL);
    HMENU hOld = m_bar.SetMenu(hMenu, NULL);
    EXPECT_EQ(m_bar.m_hLoadedMenu, hOld);
    ASSERT_EQ(4, m_bar.m_arrItems.GetSize()); // the icon and the frame buttons, all hidden
    int items[8];
    EXPECT_EQ(0, m_bar.GetVisibleItems(items, 3));
    CSize border = m_bar.CalcBorderSize(TRUE);
    EXPECT_EQ(border.cy, m_bar.CalcFixedLayout(FALSE, TRUE).cy);
    EXPECT_EQ(border.cx, m_bar.CalcDynamicLayout(0, LM_HORZ | LM_COMMIT).cx);
    m_bar.SetMenu(NULL, NULL); // back to the loaded menu
    EXPECT_EQ(m_bar.m_hLoadedMenu, m_bar.m_hMenu);
    EXPECT_EQ(10, m_bar.m_arrItems.GetSize());
    ::DestroyMenu(hMenu);
}

TEST(MenuBarLoadTest, MissingMenuResourceLeavesTheBarEmpty)
{
    CTkMenuBar bar;
    EXPECT_FALSE(bar.LoadMenuBar(4711));
    EXPECT_EQ(NULL, bar.m_hMenu);
    EXPECT_EQ(0, bar.m_arrItems.GetSize());
}
