// Cool menus: popups of a real frame made owner-drawn inside the menu loop and plain again after
// it, foreign owner-drawn items and the system menu untouched, shortened popups of a
// CTkPopupMenu with the expand item, item sizes, mnemonics, and the recently chosen commands.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxres.h>

#include "CTkCoolMenu.h"
#include "CTkCustomizeManager.h"
#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkMenuItemData.h"
#include "CTkMenuItemInfo.h"
#include "CTkPopupMenu.h"
#include "CTkRegistryHelper.h"
#include "TestKit.h"
#include "TkMenuState.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const UINT ID_FOREIGN = 40001;
const ULONG_PTR kForeignData = 0x1234; // somebody else's item data, not even a pointer

// One item as the menu holds it.
struct ItemState {
    UINT fType, fState, wID;
    HMENU hSubMenu;
    ULONG_PTR dwItemData;
    std::string strText;
    bool operator==(const ItemState& o) const
    {
        return fType == o.fType && fState == o.fState && wID == o.wID && hSubMenu == o.hSubMenu &&
               dwItemData == o.dwItemData && strText == o.strText;
    }
};

std::ostream& operator<<(std::ostream& os, const ItemState& s)
{
    return os << "{type " << std::hex << s.fType << " state " << s.fState << std::dec << " id " << s.wID << " \""
              << s.strText << "\"}";
}

std::vector<ItemState> Items(HMENU hMenu)
{
    std::vector<ItemState> items;
    for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
        char sz[256] = "";
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
        mii.dwTypeData = sz;
        mii.cch = sizeof(sz) - 1;
        ::GetMenuItemInfoA(hMenu, i, TRUE, &mii);
        items.push_back({mii.fType, mii.fState, mii.wID, mii.hSubMenu, mii.dwItemData,
                         (mii.fType & MFT_OWNERDRAW) ? "" : sz});
    }
    return items;
}

// The view mode nID chosen among the view modes, marked as the class library marks radio items.
void SetRadio(HMENU hMenu, UINT nID)
{
    for (UINT n : {ID_VIEW_DAY, ID_VIEW_WEEK, ID_VIEW_MONTH, ID_VIEW_APPOINTMENTS, ID_VIEW_TASKS}) {
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        mii.fType = n == nID ? MFT_RADIOCHECK : MFT_STRING;
        mii.fState = n == nID ? MFS_CHECKED : 0;
        ::SetMenuItemInfoA(hMenu, n, FALSE, &mii);
    }
}

// A frame with menu 128 that can act from inside the menu loop (WM_ENTERIDLE) and draws its own
// owner-drawn item.
class CCoolFrame : public CFrameWnd {
public:
    std::function<void()> m_onIdle;
    int m_nForeignMeasured = 0;
    int m_nForeignDrawn = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onIdle) {
            std::function<void()> f = m_onIdle;
            m_onIdle = nullptr;
            f();
            return 0;
        }
        if (message == WM_MEASUREITEM && ((LPMEASUREITEMSTRUCT)lParam)->itemData == kForeignData) {
            m_nForeignMeasured++;
            ((LPMEASUREITEMSTRUCT)lParam)->itemWidth = 80;
            ((LPMEASUREITEMSTRUCT)lParam)->itemHeight = 18;
            return TRUE;
        }
        if (message == WM_DRAWITEM && ((LPDRAWITEMSTRUCT)lParam)->itemData == kForeignData) {
            m_nForeignDrawn++;
            return TRUE;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }
};

HWND FindPopupWindow()
{
    HWND hPopup = NULL;
    while ((hPopup = ::FindWindowExA(NULL, hPopup, "#32768", NULL)) != NULL) {
        if (::IsWindowVisible(hPopup))
            return hPopup;
    }
    return NULL;
}

std::string ShotOfPopup(const char* pszName)
{
    HWND hPopup = FindPopupWindow();
    if (hPopup == NULL)
        return "";
    ::RedrawWindow(hPopup, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    RECT rc;
    ::GetWindowRect(hPopup, &rc);
    HDC hdc = ::GetDC(NULL);
    std::string strPath =
        oxtest::SaveShot(hdc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, "cool-menus", pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

class CoolMenuTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.UseTestRegistryKey();
        m_bFlat = tkAfxData.bFlatLook;
        m_bRecent = tkAfxData.bRecentlyUsedFirst;
        m_pFrame = new CCoolFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(20, 20, 620, 420), NULL,
                                     MAKEINTRESOURCE(IDR_MAINFRAME)));
        m_pFrame->m_bAutoMenuEnable = FALSE; // the states the test sets stay
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->UpdateWindow();
        ASSERT_TRUE(m_cool.Install(m_pFrame));
        ASSERT_TRUE(m_cool.LoadToolbar(IDR_MAINFRAME, TRUE));
        m_hView = ::GetSubMenu(::GetMenu(m_pFrame->m_hWnd), 3);
        ASSERT_TRUE(m_hView != NULL);
        // view modes as radio items (the day view chosen), the bars shown, one bar unavailable
        SetRadio(m_hView, ID_VIEW_DAY);
        ::CheckMenuItem(m_hView, ID_VIEW_TOOLBAR, MF_BYCOMMAND | MF_CHECKED);
        ::CheckMenuItem(m_hView, ID_VIEW_STATUS_BAR, MF_BYCOMMAND | MF_CHECKED);
        ::EnableMenuItem(m_hView, ID_VIEW_VIEWBAR, MF_BYCOMMAND | MF_GRAYED);
        tktest::RunToIdle();
    }
    void TearDown() override
    {
        m_cool.HookWindow((HWND)NULL);
        if (m_pFrame != NULL)
            m_pFrame->DestroyWindow();
        tkAfxData.bFlatLook = m_bFlat;
        tkAfxData.bRecentlyUsedFirst = m_bRecent;
        tkMenuState.bExpandMenus = 0;
    }

    // Tracks a popup of the frame; onIdle runs inside the loop and must end it.
    // Tracks hMenu and runs onIdle once inside its loop. Windows of other test programs on the
    // shared display can take the activation and so end the loop before it idles: then the frame
    // takes the activation back and the menu is tracked again.
    UINT Track(HMENU hMenu, std::function<void()> onIdle)
    {
        UINT nCmd = 0;
        for (int attempt = 0; attempt < 5; attempt++) {
            ::SetForegroundWindow(m_pFrame->m_hWnd);
            m_pFrame->m_onIdle = onIdle;
            nCmd = (UINT)::TrackPopupMenu(hMenu, TPM_RETURNCMD | TPM_LEFTALIGN, 60, 60, 0, m_pFrame->m_hWnd, NULL);
            if (!m_pFrame->m_onIdle)
                break; // the loop idled and ran onIdle
            m_pFrame->m_onIdle = nullptr;
        }
        return nCmd;
    }

    tktest::CTestApp m_app;
    CCoolFrame* m_pFrame = NULL;
    CTkCoolMenu m_cool;
    HMENU m_hView = NULL;
    BOOL m_bFlat = FALSE, m_bRecent = FALSE;
};

TEST_F(CoolMenuTest, PopupIsOwnerDrawnInsideTheLoopAndPlainAfterIt)
{
    // somebody else's owner-drawn item
    CTkMenuItemInfo mii;
    mii.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    mii.fType = MFT_OWNERDRAW;
    mii.wID = ID_FOREIGN;
    mii.dwItemData = kForeignData;
    ASSERT_TRUE(::InsertMenuItemA(m_hView, 5, TRUE, &mii));
    const std::vector<ItemState> before = Items(m_hView);
    // rarely used commands shorten only popups of a CTkPopupMenu: this one opens in full
    m_cool.HideCommand(ID_VIEW_TASKS);
    tkAfxData.bRecentlyUsedFirst = TRUE;

    for (BOOL bFlat : {FALSE, TRUE}) {
        tkAfxData.bFlatLook = bFlat;
        std::vector<ItemState> inside;
        struct Record {
            bool bToolkit;
            std::string strText;
            int nHomePos;
            UINT nID;
        };
        std::vector<Record> records; // copied inside the loop: the records go with it
        std::string strShot;
        m_pFrame->m_nForeignMeasured = 0;
        Track(m_hView, [&]() {
            inside = Items(m_hView);
            for (const ItemState& s : inside) {
                CTkMenuItemData* p = CTkMenuItemData::FromItemData(s.dwItemData);
                records.push_back(p != NULL ? Record{true, (LPCSTR)p->m_strText, p->m_nHomePos, p->m_nID}
                                            : Record{false, "", -1, 0});
            }
            strShot = ShotOfPopup(bFlat ? "view-flat" : "view-3d");
            ::EndMenu();
        });
        ASSERT_EQ(before.size(), inside.size());
        for (size_t i = 0; i < inside.size(); i++) {
            if (before[i].wID == ID_FOREIGN) {
                EXPECT_EQ(before[i], inside[i]) << "foreign item";
                continue;
            }
            EXPECT_TRUE(inside[i].fType & MFT_OWNERDRAW) << before[i];
            ASSERT_TRUE(records[i].bToolkit) << before[i];
            EXPECT_EQ(before[i].strText, records[i].strText) << i;
            EXPECT_EQ((int)i, records[i].nHomePos);
            EXPECT_EQ(before[i].wID, records[i].nID);
        }
        EXPECT_GT(m_pFrame->m_nForeignMeasured, 0); // the foreign item went to its own handler
        EXPECT_FALSE(strShot.empty());
        EXPECT_EQ(before, Items(m_hView)) << (bFlat ? "flat" : "3-D");
        EXPECT_TRUE(m_cool.m_listItems.IsEmpty());
        EXPECT_TRUE(m_cool.m_listConvertedMenus.IsEmpty());
    }
}

TEST_F(CoolMenuTest, SystemMenuStaysAsItIs)
{
    HMENU hSys = ::GetSystemMenu(m_pFrame->m_hWnd, FALSE);
    ASSERT_TRUE(hSys != NULL);
    const std::vector<ItemState> before = Items(hSys);
    // told as a system menu, and told as an ordinary popup: the frame's system menu either way
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hSys, MAKELPARAM(0, TRUE));
    EXPECT_EQ(before, Items(hSys));
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)hSys, MAKELPARAM(0, FALSE));
    EXPECT_EQ(before, Items(hSys));
    EXPECT_TRUE(m_cool.m_listItems.IsEmpty());
}

bool TwoSeparatorsInARow(const std::vector<ItemState>& items)
{
    for (size_t i = 1; i < items.size(); i++) {
        CTkMenuItemData* pA = CTkMenuItemData::FromItemData(items[i - 1].dwItemData);
        CTkMenuItemData* pB = CTkMenuItemData::FromItemData(items[i].dwItemData);
        if (pA != NULL && pB != NULL && (pA->m_fType & MFT_SEPARATOR) && (pB->m_fType & MFT_SEPARATOR))
            return true;
    }
    return false;
}

TEST_F(CoolMenuTest, ShortenedPopupOpensInFullThroughTheExpandItem)
{
    const UINT aRare[] = {ID_VIEW_TOOLBAR, 59397, ID_VIEW_STATUS_BAR, ID_VIEW_VIEWBAR, ID_VIEW_TASKS};
    ASSERT_TRUE(m_cool.HideCommands(aRare, 5));
    tkAfxData.bRecentlyUsedFirst = TRUE;
    tkAfxData.bFlatLook = FALSE;
    CTkPopupMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    HMENU hView = ::GetSubMenu(menu.m_hMenu, 3);
    SetRadio(hView, ID_VIEW_WEEK);
    const std::vector<ItemState> before = Items(hView);

    std::vector<ItemState> shortened, expanded;
    bool bTwoSeparators = true;
    int nOpened = 0;
    m_pFrame->m_onIdle = [&]() {
        nOpened++;
        shortened = Items(hView);
        bTwoSeparators = TwoSeparatorsInARow(shortened);
        ShotOfPopup("view-shortened");
        // Up from no selection highlights the last item: the expand item; Enter chooses it.
        HWND hPopup = FindPopupWindow();
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
        m_pFrame->m_onIdle = [&]() {
            nOpened++;
            expanded = Items(hView);
            ShotOfPopup("view-expanded");
            ::EndMenu();
        };
    };
    UINT nResult = menu.GetSubMenu(3)->TrackPopupMenu(TPM_LEFTALIGN, 60, 60, m_pFrame, NULL, TRUE);
    EXPECT_EQ(0u, nResult);
    EXPECT_EQ(2, nOpened);

    ASSERT_FALSE(shortened.empty());
    for (const ItemState& s : shortened) {
        for (UINT nRare : aRare)
            EXPECT_NE(nRare, s.wID);
    }
    EXPECT_FALSE(bTwoSeparators);
    EXPECT_EQ((UINT)TK_SHOW_FULL_MENUS, shortened.back().wID);
    EXPECT_EQ(before.size() - 5 - 1 + 1, shortened.size()); // five rare items and one separator out, expand item in

    // reopened in full: every item, the rarely used ones marked, no expand item
    ASSERT_EQ(before.size(), expanded.size());
    for (size_t i = 0; i < expanded.size(); i++)
        EXPECT_EQ(before[i].wID, expanded[i].wID) << i;
    EXPECT_EQ(0, tkMenuState.bExpandMenus);
    EXPECT_EQ(before, Items(hView));
    EXPECT_TRUE(m_cool.m_listItems.IsEmpty());
}

TEST_F(CoolMenuTest, PopupMenuPostsTheChosenCommand)
{
    CTkPopupMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_MAINFRAME));
    EXPECT_EQ(1, tkMenuState.bPopupActive);
    m_pFrame->m_onIdle = [&]() {
        HWND hPopup = FindPopupWindow();
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
    };
    UINT nResult = menu.GetSubMenu(3)->TrackPopupMenu(TPM_LEFTALIGN, 60, 60, m_pFrame, NULL, TRUE);
    EXPECT_EQ((UINT)ID_VIEW_DAY, nResult);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, m_pFrame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ((WPARAM)ID_VIEW_DAY, msg.wParam);
}

TEST(PopupMenuStateTest, ObjectRaisesAndLowersTheFlag)
{
    {
        CTkPopupMenu menu;
        EXPECT_EQ(1, tkMenuState.bPopupActive);
    }
    EXPECT_EQ(0, tkMenuState.bPopupActive);
}

// ---- sizes, mnemonics, recent commands ----------------------------------------------------------

class CoolMenuItemsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_app.UseTestRegistryKey();
        m_bFlat = tkAfxData.bFlatLook;
        m_hWnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
        m_cool.HookWindow(m_hWnd);
        m_hMenu = ::CreatePopupMenu();
    }
    void TearDown() override
    {
        m_cool.ConvertMenu(CMenu::FromHandle(m_hMenu), FALSE);
        ::DestroyMenu(m_hMenu);
        m_cool.HookWindow((HWND)NULL);
        ::DestroyWindow(m_hWnd);
        tkAfxData.bFlatLook = m_bFlat;
    }
    int TextWidth(const char* psz, BOOL bBold)
    {
        HDC hdc = ::GetWindowDC(m_hWnd);
        HGDIOBJ hOld = ::SelectObject(hdc, (bBold ? tkAfxData.fontMenuBold : tkAfxData.fontMenu).GetSafeHandle());
        SIZE size;
        ::GetTextExtentPoint32A(hdc, psz, (int)strlen(psz), &size);
        ::SelectObject(hdc, hOld);
        ::ReleaseDC(m_hWnd, hdc);
        return size.cx;
    }
    MEASUREITEMSTRUCT Measure(int nPos)
    {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        CTkMenuItemInfo mii;
        mii.fMask = MIIM_DATA | MIIM_ID;
        ::GetMenuItemInfoA(m_hMenu, nPos, TRUE, &mii);
        mis.itemID = mii.wID;
        mis.itemData = mii.dwItemData;
        EXPECT_TRUE(m_cool.OnMeasureItem(&mis)) << nPos;
        return mis;
    }

    tktest::CTestApp m_app;
    HWND m_hWnd = NULL;
    HMENU m_hMenu = NULL;
    CTkCoolMenu m_cool;
    BOOL m_bFlat = FALSE;
};

TEST_F(CoolMenuItemsTest, MeasuredSizes)
{
    ::AppendMenuA(m_hMenu, MF_STRING, 101, "&Neu\tStrg+N");
    ::AppendMenuA(m_hMenu, MF_SEPARATOR, 0, NULL);
    ::AppendMenuA(m_hMenu, MF_STRING, 102, "X");
    ::AppendMenuA(m_hMenu, MF_STRING, 103, "");
    ::AppendMenuA(m_hMenu, MF_STRING, 104, "Eine recht lange Beschriftung\tF5");
    ::SetMenuDefaultItem(m_hMenu, 101, FALSE);
    m_cool.ConvertMenu(CMenu::FromHandle(m_hMenu), TRUE);
    int cyMenu = ::GetSystemMetrics(SM_CYMENU);
    ASSERT_NE(TextWidth("&NeuXXXStrg+N", TRUE), TextWidth("&NeuXXXStrg+N", FALSE)); // the bold font shows

    int wNew = TextWidth("&NeuXXXStrg+N", TRUE);
    int wLong = TextWidth("Eine recht lange BeschriftungXXXF5", FALSE);
    struct {
        BOOL bFlat;
        int nPos;
        UINT cx, cy;
    } cases[] = {
        // 3-D look: text + 2 x 16 + 2, at least 100 wide; 15 + 4 high, at least a menu line
        {FALSE, 0, (UINT)std::max(100, wNew + 34), (UINT)std::max(19, cyMenu)},
        {FALSE, 1, 0, 3},
        {FALSE, 2, 100, (UINT)std::max(19, cyMenu)},
        {FALSE, 3, 100, (UINT)cyMenu},
        {FALSE, 4, (UINT)(wLong + 34), (UINT)std::max(19, cyMenu)},
        // flat look: text + 16 + 28; 15 + 7 high; the first item one higher, the last three lower
        {TRUE, 0, (UINT)std::max(100, wNew + 44), (UINT)std::max(22, cyMenu) + 1},
        {TRUE, 1, 0, 3},
        {TRUE, 2, 100, (UINT)std::max(22, cyMenu)},
        {TRUE, 3, 100, (UINT)cyMenu},
        {TRUE, 4, (UINT)(wLong + 44), (UINT)std::max(22, cyMenu) - 3},
    };
    for (const auto& c : cases) {
        tkAfxData.bFlatLook = c.bFlat;
        MEASUREITEMSTRUCT mis = Measure(c.nPos);
        EXPECT_EQ(c.cx, mis.itemWidth) << (c.bFlat ? "flat " : "3-D ") << c.nPos;
        EXPECT_EQ(c.cy, mis.itemHeight) << (c.bFlat ? "flat " : "3-D ") << c.nPos;
    }
    // somebody else's data is not measured
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = kForeignData;
    EXPECT_FALSE(m_cool.OnMeasureItem(&mis));
}

TEST_F(CoolMenuItemsTest, MnemonicsChooseOrCycle)
{
    ::AppendMenuA(m_hMenu, MF_STRING, 101, "&Datei");
    ::AppendMenuA(m_hMenu, MF_STRING, 102, "&Drucken");
    ::AppendMenuA(m_hMenu, MF_STRING, 103, "&Ansicht");
    ::AppendMenuA(m_hMenu, MF_STRING, 104, "Da&tum");
    ::AppendMenuA(m_hMenu, MF_STRING, 105, "&&Doppelt");
    ::AppendMenuA(m_hMenu, MF_STRING, 106, "&Ende");
    m_cool.ConvertMenu(CMenu::FromHandle(m_hMenu), TRUE);
    ::AppendMenuA(m_hMenu, MF_STRING, 107, "&Extra"); // not converted: not the toolkit's
    CMenu* pMenu = CMenu::FromHandle(m_hMenu);
    auto hilite = [&](int nPos) {
        for (int i = 0; i < ::GetMenuItemCount(m_hMenu); i++) {
            CTkMenuItemInfo mii;
            mii.fMask = MIIM_STATE;
            mii.fState = i == nPos ? MFS_HILITE : 0;
            ::SetMenuItemInfoA(m_hMenu, i, TRUE, &mii);
        }
    };
    struct {
        char ch;
        int nHilite;
        LRESULT lExpected;
    } cases[] = {
        {'x', -1, 0},
        {'a', -1, MAKELRESULT(2, MNC_EXECUTE)},
        {'T', -1, MAKELRESULT(3, MNC_EXECUTE)},
        {'e', -1, MAKELRESULT(5, MNC_EXECUTE)}, // the unconverted "&Extra" does not count
        {'d', -1, MAKELRESULT(0, MNC_SELECT)},
        {'D', 0, MAKELRESULT(1, MNC_SELECT)},
        {'d', 1, MAKELRESULT(0, MNC_SELECT)},
        {'d', 3, MAKELRESULT(0, MNC_SELECT)},
    };
    for (const auto& c : cases) {
        hilite(c.nHilite);
        EXPECT_EQ(c.lExpected, m_cool.OnMenuChar((BYTE)c.ch, MF_POPUP, pMenu)) << c.ch << " " << c.nHilite;
    }
}

TEST_F(CoolMenuItemsTest, RecentlyChosenCommands)
{
    const UINT aRare[] = {1, 2, 3, 4, 5, 6, 7};
    m_cool.HideCommands(aRare, 7);
    CTkRegistryHelper reg(HKEY_CURRENT_USER);
    auto values = [&]() {
        std::vector<UINT> v;
        for (int i = 1; i <= 6; i++)
            v.push_back(reg.GetProfileInt("Recent Item List", ("Item" + std::to_string(i)).c_str(), 0));
        return v;
    };
    struct {
        UINT nID;
        BOOL bAdded;
        std::vector<UINT> after;
    } steps[] = {
        {1, TRUE, {1, 0, 0, 0, 0, 0}},   {2, TRUE, {2, 1, 0, 0, 0, 0}}, {3, TRUE, {3, 2, 1, 0, 0, 0}},
        {4, TRUE, {4, 3, 2, 1, 0, 0}},   {5, TRUE, {5, 4, 3, 2, 1, 0}}, {6, TRUE, {6, 5, 4, 3, 2, 0}}, // five kept
        {3, TRUE, {3, 6, 5, 4, 2, 0}},                                                                 // to the front
        {99, FALSE, {3, 6, 5, 4, 2, 0}},                                                               // not rarely used
        {2, TRUE, {2, 3, 6, 5, 4, 0}},
    };
    for (const auto& s : steps) {
        EXPECT_EQ(s.bAdded, m_cool.AddRecentItem(s.nID)) << s.nID;
        EXPECT_EQ(s.after, values()) << s.nID;
    }
    EXPECT_FALSE(m_cool.IsHiddenCommand(2)); // chosen recently: shown
    EXPECT_TRUE(m_cool.IsHiddenCommand(1));  // pushed out: hidden again
    EXPECT_FALSE(m_cool.IsHiddenCommand(99));
    // a chosen command reaches the list through the window's WM_COMMAND too
    ::SendMessageA(m_hWnd, WM_COMMAND, 7, 0);
    EXPECT_EQ(7u, values()[0]);
    m_cool.ResetRecentItems();
    EXPECT_EQ((std::vector<UINT>{0, 0, 0, 0, 0, 0}), values());
}

} // namespace

namespace {

// Radio items (MFT_RADIOCHECK, as the class library marks them) get a bullet, other checked items
// a check mark, when the command has no picture.
TEST_F(CoolMenuItemsTest, RadioItemsGetABulletAndCheckedItemsATick)
{
    ::AppendMenuA(m_hMenu, MF_STRING, 45001, "&Radio");
    ::AppendMenuA(m_hMenu, MF_STRING, 45002, "&Haken");
    CTkMenuItemInfo mii;
    mii.fMask = MIIM_FTYPE | MIIM_STATE;
    mii.fType = MFT_RADIOCHECK;
    mii.fState = MFS_CHECKED;
    ::SetMenuItemInfoA(m_hMenu, 0, TRUE, &mii);
    ::CheckMenuItem(m_hMenu, 1, MF_BYPOSITION | MF_CHECKED);
    m_cool.ConvertMenu(CMenu::FromHandle(m_hMenu), TRUE);
    ASSERT_TRUE(TkGetImageManager().Lookup(45001, FALSE) == NULL);

    for (BOOL bFlat : {FALSE, TRUE}) {
        tkAfxData.bFlatLook = bFlat;
        for (int nPos = 0; nPos < 2; nPos++) {
            HDC hdcScreen = ::GetDC(NULL);
            HDC hdc = ::CreateCompatibleDC(hdcScreen);
            HBITMAP hbm = ::CreateCompatibleBitmap(hdcScreen, 200, 22);
            ::ReleaseDC(NULL, hdcScreen);
            HGDIOBJ hOld = ::SelectObject(hdc, hbm);
            DRAWITEMSTRUCT dis = {};
            dis.CtlType = ODT_MENU;
            dis.itemState = ODS_CHECKED;
            dis.hDC = hdc;
            dis.rcItem = {0, 0, 200, 22};
            CTkMenuItemInfo miiData;
            miiData.fMask = MIIM_DATA;
            ::GetMenuItemInfoA(m_hMenu, nPos, TRUE, &miiData);
            dis.itemData = miiData.dwItemData;
            ASSERT_TRUE(m_cool.OnDrawItem(&dis));
            // the mark's origin: the image cell (one pixel taller each way), 3 right and 2 down in
            // the flat look, where the first item starts a pixel lower and the last ends one higher
            int nTop = bFlat && nPos == 0 ? 1 : 0;
            int nBottom = bFlat && nPos == 1 ? 21 : 22;
            int l = bFlat ? 3 : 0;
            int t = nTop + (nBottom - nTop - m_cool.m_szBox.cy) / 2 - 1 + (bFlat ? 2 : 0);
            COLORREF clrMark = bFlat ? tkAfxData.clrToolkit[44 - 30] : tkAfxData.clrMenuText;
            bool bBullet = ::GetPixel(hdc, l + 7, t + 9) == clrMark && ::GetPixel(hdc, l + 10, t + 12) == clrMark;
            bool bTick = ::GetPixel(hdc, l + 6, t + 9) == clrMark && ::GetPixel(hdc, l + 12, t + 7) == clrMark;
            EXPECT_EQ(nPos == 0, bBullet) << (bFlat ? "flat " : "3-D ") << nPos;
            EXPECT_EQ(nPos == 1, bTick) << (bFlat ? "flat " : "3-D ") << nPos;
            ::SelectObject(hdc, hOld);
            ::DeleteObject(hbm);
            ::DeleteDC(hdc);
        }
    }
}

} // namespace

namespace {

TEST_F(CoolMenuTest, PicturesFromBitmapsIconsAndToolbarWindows)
{
    CTkImageManager& images = TkGetImageManager();
    // a bitmap of 16 x 18 pictures: one per non-zero id
    m_cool.SetImageSize(CSize(16, 18));
    const UINT aIDs[] = {46001, 0, 46003};
    EXPECT_TRUE(m_cool.LoadBitmapImages(IDR_MAINFRAME, aIDs, 3, TRUE));
    EXPECT_TRUE(images.Lookup(46001, FALSE) != NULL);
    EXPECT_TRUE(images.Lookup(46003, FALSE) != NULL);
    EXPECT_FALSE(images.Contains(0, FALSE));
    EXPECT_FALSE(m_cool.LoadBitmapImages(999, aIDs, 3, TRUE)); // no such bitmap
    EXPECT_FALSE(m_cool.AddImagesFromBitmap(NULL, aIDs, 3, TRUE));
    HBITMAP hbm = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCE(IDR_MAINFRAME));
    EXPECT_FALSE(m_cool.AddImagesFromBitmap(hbm, NULL, 3, TRUE));
    ::DeleteObject(hbm);

    // icons: a zero id or no icon is refused
    HICON hIcon = ::CopyIcon(images.Lookup(46001, FALSE)->hNormal);
    EXPECT_FALSE(m_cool.AddIcon(0, hIcon, TRUE));
    EXPECT_FALSE(m_cool.AddIcon(46020, NULL, TRUE));
    EXPECT_TRUE(m_cool.AddIcon(46020, hIcon, TRUE)); // takes the icon
    EXPECT_TRUE(images.Lookup(46020, FALSE) != NULL);

    // a live toolbar: the image size comes from its image list
    CToolBar bar, empty;
    ASSERT_TRUE(bar.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 0xE801));
    ASSERT_TRUE(bar.LoadToolBar(IDR_MAINFRAME));
    m_cool.SetImageSize(CSize(16, 15));
    EXPECT_TRUE(m_cool.LoadToolbarWnd(&bar, TRUE));
    EXPECT_EQ(CSize(16, 18), m_cool.GetImageSize());
    EXPECT_TRUE(images.Lookup(ID_GOTO_TODAY, FALSE) != NULL);
    ASSERT_TRUE(empty.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 0xE802));
    EXPECT_FALSE(m_cool.LoadToolbarWnd(&empty, TRUE)); // no image list
    EXPECT_FALSE(m_cool.LoadToolbarWnd(NULL, TRUE));

    // positions of commands
    EXPECT_EQ(11, m_cool.FindMenuItem(CMenu::FromHandle(m_hView), ID_REFRESH));
    EXPECT_EQ(-1, m_cool.FindMenuItem(CMenu::FromHandle(m_hView), 46001));
    EXPECT_EQ(-1, m_cool.FindMenuItem(NULL, ID_REFRESH));
}

TEST_F(CoolMenuTest, NewBarsFloatOneBelowTheOther)
{
    m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
    CTkCustomizeManager manager;
    CToolBar bars[3];
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(bars[i].CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 0xE801 + i));
        ASSERT_TRUE(bars[i].LoadToolBar(IDR_MAINFRAME));
        bars[i].EnableDocking(CBRS_ALIGN_ANY);
        manager.m_hookPlaceBar.Call<void, CFrameWnd*, CControlBar*>(m_pFrame, &bars[i]);
        CFrameWnd* pFloating = bars[i].GetParentFrame();
        ASSERT_TRUE(pFloating != NULL && pFloating != m_pFrame) << i;
        CRect rc;
        pFloating->GetWindowRect(&rc);
        EXPECT_EQ(CPoint(200 + 15 * i, 200 + 15 * i), rc.TopLeft()) << i;
        EXPECT_TRUE(bars[i].IsWindowVisible()) << i;
    }
    EXPECT_EQ(CPoint(245, 245), manager.m_ptNewBar);
}

} // namespace

namespace {

// A popup announced as one to pass over is left plain; the next one is converted; the end of the
// menu loop makes it plain again.
TEST_F(CoolMenuTest, SkippedPopupsAndTheEndOfTheLoop)
{
    const std::vector<ItemState> before = Items(m_hView);
    tkMenuState.nSkipInitMenuPopup = 1;
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)m_hView, MAKELPARAM(3, FALSE));
    EXPECT_EQ(0, tkMenuState.nSkipInitMenuPopup);
    EXPECT_EQ(before, Items(m_hView));
    m_pFrame->SendMessage(WM_INITMENUPOPUP, (WPARAM)m_hView, MAKELPARAM(3, FALSE));
    EXPECT_TRUE(Items(m_hView)[0].fType & MFT_OWNERDRAW);
    // a selection inside the loop changes nothing; the end of the loop restores
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_VIEW_DAY, MF_HILITE), (LPARAM)m_hView);
    EXPECT_TRUE(Items(m_hView)[0].fType & MFT_OWNERDRAW);
    m_pFrame->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(before, Items(m_hView));
    EXPECT_TRUE(m_cool.m_listItems.IsEmpty());
}

} // namespace

namespace {

// The expand item starts the expand timer while it is highlighted in a menu bar's popup loop (with
// "full menus after a delay" on), and only then; the timer message stops it.
TEST_F(CoolMenuItemsTest, ExpandItemTimer)
{
    BOOL bDelay = tkAfxData.bFullMenusAfterDelay;
    BYTE bOutside = tkMenuState.bOutsideMenuBarLoop;
    HDC hdc = ::GetDC(m_hWnd);
    CDC* pDC = CDC::FromHandle(hdc);
    struct {
        BYTE bOutsideLoop;
        BOOL bAfterDelay;
        BOOL bSelected;
        bool bTimer;
    } cases[] = {{0, TRUE, TRUE, true}, {1, TRUE, TRUE, false}, {0, FALSE, TRUE, false}, {0, TRUE, FALSE, false}};
    for (const auto& c : cases) {
        tkMenuState.bOutsideMenuBarLoop = c.bOutsideLoop;
        tkAfxData.bFullMenusAfterDelay = c.bAfterDelay;
        m_cool.DrawExpandItem(pDC, CRect(0, 0, 120, 20), c.bSelected);
        EXPECT_EQ(c.bTimer ? 1 : 0, m_cool.m_bExpandTimerRunning) << c.bOutsideLoop << c.bAfterDelay << c.bSelected;
    }
    // running from the first case's settings: the timer message ends it (no Enter: not selected)
    tkMenuState.bOutsideMenuBarLoop = 0;
    tkAfxData.bFullMenusAfterDelay = TRUE;
    tkMenuState.bExpandItemSelected = 0;
    m_cool.DrawExpandItem(pDC, CRect(0, 0, 120, 20), TRUE);
    ASSERT_EQ(1, m_cool.m_bExpandTimerRunning);
    ::SendMessageA(m_hWnd, WM_TIMER, 1000, 0);
    EXPECT_EQ(0, m_cool.m_bExpandTimerRunning);
    EXPECT_FALSE(::KillTimer(m_hWnd, 1000)); // already gone
    ::ReleaseDC(m_hWnd, hdc);
    tkAfxData.bFullMenusAfterDelay = bDelay;
    tkMenuState.bOutsideMenuBarLoop = bOutside;
}

} // namespace
