// The shortcut bar: header, items-area and item geometry, hit testing, the operations and what
// they tell the owner, the mouse loops driven by posted messages, the in-place rename, the context
// menu, the notices on destruction and screenshots of the main window's view bar.
#include <gtest/gtest.h>

#include "CTkEditItem.h"
#include "CTkGlobalData.h"
#include "CTkOutBarCtrl.h"
#include "TestKit.h"
#include "ToolkitResource.h"
#include "ToolkitTestSupport.h"

#include <string>
#include <vector>

namespace {

struct Notice {
    UINT nCode;
    int nIndex, nDropIndex, nDragIndex;
    bool bFolder;
    std::string strText;
    bool operator==(const Notice& o) const
    {
        return nCode == o.nCode && nIndex == o.nIndex && nDropIndex == o.nDropIndex && nDragIndex == o.nDragIndex &&
               bFolder == o.bFolder && strText == o.strText;
    }
};

std::ostream& operator<<(std::ostream& os, const Notice& n)
{
    return os << "{" << n.nCode << ", " << n.nIndex << ", " << n.nDropIndex << ", " << n.nDragIndex << ", "
              << (n.bFolder ? "folder" : "item") << ", \"" << n.strText << "\"}";
}

// The bar's owner: records every notice and answers per code (default 1); without a handler it
// answers as any window does (0).
class COwnerWnd : public CWnd {
public:
    std::vector<Notice> m_notices;
    LRESULT m_answers[11] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
    bool m_bHandles = true;
    HWND m_hPopupSeen = NULL;
    std::vector<std::string> m_menuTexts;
    std::vector<UINT> m_menuChecks;

    std::vector<Notice> Take()
    {
        std::vector<Notice> v;
        v.swap(m_notices);
        return v;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == TKWM_OUTBAR_NOTIFY && m_bHandles) {
            const TK_OUTBARNOTIFY* p = (const TK_OUTBARNOTIFY*)lParam;
            m_notices.push_back({(UINT)wParam, p->nIndex, p->nDropIndex, p->nDragIndex, p->bFolder,
                                 p->lpszText != NULL ? p->lpszText : "(null)"});
            return wParam <= 10 ? m_answers[wParam] : 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Answers the bar's and the editor's messages as the program's message loop does.
void Pump()
{
    MSG msg;
    while (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(msg.hwnd);
        if (pWnd != NULL && pWnd->PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessage(&msg);
    }
}

const char* const kViews[] = {"Tagesansicht", "Wochenansicht", "Monatsansicht", "Terminliste", "Aufgaben"};

// A frame with the view bar as the program makes it: flags 0x202, id 0xE900, owner the frame,
// large and small pictures, folder "Ansichten" with the five views (data: the view mode).
class OutBarFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1)),
                                     "Ansichtenleiste", WS_POPUP | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                                     216, 640, NULL, NULL));
        LPCTSTR icons[] = {IDI_APPLICATION, IDI_INFORMATION, IDI_WARNING, IDI_QUESTION, IDI_ERROR};
        ASSERT_TRUE(m_large.Create(32, 32, ILC_COLOR24 | ILC_MASK, 5, 1));
        ASSERT_TRUE(m_small.Create(16, 16, ILC_COLOR24 | ILC_MASK, 5, 1));
        for (LPCTSTR id : icons) {
            m_large.Add((HICON)::LoadImage(NULL, id, IMAGE_ICON, 32, 32, LR_SHARED));
            m_small.Add((HICON)::LoadImage(NULL, id, IMAGE_ICON, 16, 16, LR_SHARED));
        }
        m_pBar = new CTkOutBarCtrl;
        CRect rc;
        m_owner.GetClientRect(&rc);
        ASSERT_TRUE(m_pBar->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &m_owner, 0xE900, 0x202));
        m_pBar->SetOwner(&m_owner);
        m_pBar->MoveWindow(0, 0, 200, 600);
        m_pBar->SetImageList(&m_large, 2);
        m_pBar->SetImageList(&m_small, 1);
        m_pBar->SetAnimationDelay(-1);
    }
    void TearDown() override
    {
        if (m_pBar != NULL) {
            if (::IsWindow(m_pBar->m_hWnd))
                m_pBar->DestroyWindow();
            delete m_pBar;
        }
        m_owner.DestroyWindow();
    }
    void AddViews(int nCount = 5)
    {
        int f = m_pBar->AddFolder("Ansichten", 0);
        for (int i = 0; i < nCount; i++)
            m_pBar->InsertItem(f, -1, kViews[i % 5], i % 5, (DWORD)i);
        m_pBar->SetSelFolder(0);
        m_owner.Take();
    }
    void Paint()
    {
        m_pBar->Invalidate();
        m_pBar->UpdateWindow();
    }
    CPoint Centre(const CRect& rc) { return rc.CenterPoint(); }
    // Posts the moves and the release, then presses the button at ptDown (its loop takes them).
    void Click(CPoint ptDown, const std::vector<CPoint>& moves, CPoint ptUp)
    {
        for (CPoint pt : moves)
            m_pBar->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_pBar->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptUp.x, ptUp.y));
        m_pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptDown.x, ptDown.y));
        Pump();
    }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> v;
        for (int i = 0; i < m_pBar->GetItemCount(); i++)
            v.push_back((const char*)m_pBar->GetItemText(i));
        return v;
    }

    tktest::CTestApp m_app;
    COwnerWnd m_owner;
    CImageList m_large, m_small;
    CTkOutBarCtrl* m_pBar = NULL;
};

} // namespace

TEST(OutBarGeometryTest, HeadersAndItemsArea)
{
    CRect rcClient(0, 0, 200, 600);
    // three folders, the second current: 0 and 1 at the top, 2 at the bottom
    EXPECT_EQ(CRect(0, -1, 200, 21), CTkOutBarCtrl::CalcFolderRect(rcClient, 3, 1, 22, 0));
    EXPECT_EQ(CRect(0, 21, 200, 43), CTkOutBarCtrl::CalcFolderRect(rcClient, 3, 1, 22, 1));
    EXPECT_EQ(CRect(0, 578, 200, 600), CTkOutBarCtrl::CalcFolderRect(rcClient, 3, 1, 22, 2));
    EXPECT_EQ(CRect(0, 43, 200, 578), CTkOutBarCtrl::CalcInsideRect(rcClient, 3, 1, 22));
    EXPECT_EQ(rcClient, CTkOutBarCtrl::CalcInsideRect(rcClient, 0, 0, 22)) << "no folders: the whole client";
}

TEST(OutBarGeometryTest, ItemIconAndLabelInBothViews)
{
    CTkOutBarCtrl bar;
    CRect I(0, 43, 200, 578);
    struct Case {
        const char* name;
        BOOL bSmall;
        CSize icon, label;
        int nFirst, k;
        CRect item, icon_, labelRect;
    };
    const Case cases[] = {
        {"large, first item", FALSE, {32, 32}, {60, 13}, 0, 0, {0, 48, 200, 104}, {84, 48, 116, 81}, {70, 84, 130, 97}},
        {"large, second item", FALSE, {32, 32}, {60, 13}, 0, 1, {0, 112, 200, 168}, {84, 112, 116, 145}, {70, 148, 130, 161}},
        {"small, first item", TRUE, {16, 16}, {50, 13}, 0, 0, {5, 48, 70, 64}, {7, 48, 23, 64}, {7, 53, 77, 69}},
        {"small, second item", TRUE, {16, 16}, {50, 13}, 0, 1, {5, 74, 70, 90}, {7, 74, 23, 90}, {7, 79, 77, 95}},
        {"small, scrolled by one", TRUE, {16, 16}, {50, 13}, 1, 1, {5, 48, 70, 64}, {7, 48, 23, 64}, {7, 53, 77, 69}},
        {"small, no text: as wide as the icon and the gap", TRUE, {16, 16}, {0, 0}, 0, 0, {5, 48, 20, 64},
         {7, 48, 23, 64}, {7, 53, 27, 69}},
    };
    for (const Case& c : cases) {
        std::vector<CTkOutBarCtrl::ItemSizes> sizes(3, {c.icon, c.label});
        CRect rcItem, rcIcon, rcLabel;
        bar.CalcItemRects(I, c.bSmall, sizes, c.nFirst, c.k, &rcItem, &rcIcon, &rcLabel);
        EXPECT_EQ(c.item, rcItem) << c.name;
        EXPECT_EQ(c.icon_, rcIcon) << c.name;
        EXPECT_EQ(c.labelRect, rcLabel) << c.name;
    }
}

TEST_F(OutBarFixture, HitTestHeadersItemsArrowsAndNothing)
{
    m_pBar->AddFolder("Eins");
    m_pBar->AddFolder("Zwei");
    m_pBar->AddFolder("Drei");
    for (int i = 0; i < 20; i++)
        m_pBar->InsertItem(1, -1, kViews[i % 5], i % 5, i);
    m_pBar->SetSelFolder(1);
    Paint();
    int nIndex = -1;
    CRect rc;
    m_pBar->GetFolderRect(2, rc);
    EXPECT_EQ(0, m_pBar->HitTestEx(rc.CenterPoint(), nIndex));
    EXPECT_EQ(2, nIndex);
    m_pBar->GetIconRect(1, 3, rc);
    EXPECT_EQ(1, m_pBar->HitTestEx(rc.CenterPoint(), nIndex));
    EXPECT_EQ(3, nIndex);
    ASSERT_TRUE(m_pBar->m_bDownArrowShown);
    EXPECT_FALSE(m_pBar->m_bUpArrowShown);
    EXPECT_EQ(3, m_pBar->HitTestEx(m_pBar->m_rcDownArrow.CenterPoint(), nIndex));
    m_pBar->m_nFirstItem = 2;
    Paint();
    ASSERT_TRUE(m_pBar->m_bUpArrowShown);
    EXPECT_EQ(2, m_pBar->HitTestEx(m_pBar->m_rcUpArrow.CenterPoint(), nIndex));
    // beside the large icons, between icon and label gaps: nothing
    m_pBar->GetIconRect(1, 3, rc);
    EXPECT_EQ(-1, m_pBar->HitTestEx(CPoint(3, rc.top + 2), nIndex));
    // a bar without folders answers nothing
    CTkOutBarCtrl empty;
    EXPECT_EQ(-1, empty.HitTestEx(CPoint(1, 1), nIndex));
}

TEST_F(OutBarFixture, OperationsAndTheirNotices)
{
    int f = m_pBar->AddFolder("Ansichten");
    EXPECT_EQ(0, m_pBar->InsertItem(f, 0, "B"));
    EXPECT_EQ(0, m_pBar->InsertItem(f, 0, "A")) << "position 0 puts it first";
    EXPECT_EQ(2, m_pBar->InsertItem(f, -1, "C")) << "-1 appends";
    EXPECT_EQ(3, m_pBar->InsertItem(f, 99, "D")) << "past the end appends";
    EXPECT_EQ(-1, m_pBar->InsertItem(7, 0, "X")) << "no such folder";
    EXPECT_EQ((std::vector<std::string>{"A", "B", "C", "D"}), Texts());

    // removing an item: refused, then allowed
    m_owner.m_answers[OBN_ITEMDELETED] = 0;
    EXPECT_EQ(0, m_pBar->RemoveItem(1));
    EXPECT_EQ(4, m_pBar->GetItemCount());
    m_owner.m_answers[OBN_ITEMDELETED] = 1;
    EXPECT_EQ(1, m_pBar->RemoveItem(1));
    EXPECT_EQ((std::vector<std::string>{"A", "C", "D"}), Texts());
    EXPECT_EQ((std::vector<Notice>{{OBN_ITEMDELETED, 1, -1, -1, false, "B"}, {OBN_ITEMDELETED, 1, -1, -1, false, "B"}}),
              m_owner.Take());

    // invalid indexes change nothing and tell nothing
    m_pBar->SetItemText(7, "X");
    m_pBar->SetItemText(-1, "X");
    m_pBar->SetFolderText(5, "X");
    EXPECT_EQ(nullptr, m_pBar->GetItem(0, 3));
    EXPECT_EQ(nullptr, m_pBar->GetItem(4, 0));
    EXPECT_EQ(0, m_pBar->RemoveItem(3));
    EXPECT_EQ(0, m_pBar->GetItemImage(9));
    EXPECT_EQ((DWORD)0, m_pBar->GetItemData(-2));
    m_pBar->RemoveFolder(4);
    EXPECT_EQ((std::vector<std::string>{"A", "C", "D"}), Texts());
    EXPECT_TRUE(m_owner.Take().empty());

    // folder changes: refused (nothing animated, folder stays), allowed
    m_pBar->AddFolder("Zwei");
    m_pBar->AddFolder("Drei");
    m_pBar->AddFolder("Vier");
    m_pBar->ModifyFlag(0, TKOB_ANIMATEFOLDERS);
    m_pBar->SetAnimationDelay(0);
    m_owner.m_answers[OBN_FOLDERCHANGING] = 0;
    m_pBar->SetSelFolder(2);
    EXPECT_EQ(0, m_pBar->GetSelFolder());
    m_owner.m_answers[OBN_FOLDERCHANGING] = 1;
    m_pBar->SetSelFolder(2);
    EXPECT_EQ(2, m_pBar->GetSelFolder());
    EXPECT_EQ((std::vector<Notice>{{OBN_FOLDERCHANGING, 2, -1, -1, true, "Drei"},
                                   {OBN_FOLDERCHANGING, 2, -1, -1, true, "Drei"}}),
              m_owner.Take());

    // removing folders: 3 while 2 is current keeps 2; 0 while 2 is current makes 0 current
    m_pBar->RemoveFolder(3);
    EXPECT_EQ(2, m_pBar->GetSelFolder());
    m_pBar->RemoveFolder(0);
    EXPECT_EQ(0, m_pBar->GetSelFolder());
    EXPECT_EQ(2, m_pBar->GetFolderCount());
    EXPECT_EQ((std::vector<Notice>{{OBN_FOLDERDELETED, 3, -1, -1, true, "Vier"},
                                   {OBN_FOLDERDELETED, 0, -1, -1, true, "Ansichten"}}),
              m_owner.Take());

    // an owner without a handler refuses everything
    m_owner.m_bHandles = false;
    m_pBar->SetSelFolder(1);
    m_pBar->RemoveFolder(0);
    EXPECT_EQ(0, m_pBar->GetSelFolder());
    EXPECT_EQ(2, m_pBar->GetFolderCount());
}

TEST_F(OutBarFixture, HeaderReleaseSelectsTheHeaderUnderThePointer)
{
    m_pBar->AddFolder("Eins");
    m_pBar->AddFolder("Zwei");
    m_pBar->AddFolder("Drei");
    m_pBar->SetSelFolder(0);
    m_owner.Take();
    CRect rc1, rc2;
    m_pBar->GetFolderRect(1, rc1);
    m_pBar->GetFolderRect(2, rc2);
    Click(rc1.CenterPoint(), {rc2.CenterPoint()}, rc2.CenterPoint());
    EXPECT_EQ(2, m_pBar->GetSelFolder());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ((std::vector<Notice>{{OBN_FOLDERCHANGING, 2, -1, -1, true, "Drei"}}), m_owner.Take());
}

TEST_F(OutBarFixture, ClicksOnEnabledAndDisabledItems)
{
    AddViews(4);
    Paint();
    CRect rc;
    m_pBar->GetIconRect(0, 1, rc);
    m_pBar->GetItem(0, 1)->m_bEnabled = 0;
    Click(rc.CenterPoint(), {rc.CenterPoint()}, rc.CenterPoint());
    EXPECT_TRUE(m_owner.Take().empty()) << "a disabled item sends nothing";
    EXPECT_EQ(-1, m_pBar->m_nHotItem) << "and never lights up";
    EXPECT_EQ(-1, m_pBar->m_nSelItem);

    m_pBar->GetIconRect(0, 2, rc);
    m_owner.m_answers[OBN_ITEMCLICK] = 0;
    Click(rc.CenterPoint(), {}, rc.CenterPoint());
    EXPECT_EQ(-1, m_pBar->m_nSelItem) << "refused";
    m_owner.m_answers[OBN_ITEMCLICK] = 1;
    Click(rc.CenterPoint(), {}, rc.CenterPoint());
    EXPECT_EQ(2, m_pBar->m_nSelItem);
    EXPECT_EQ(2, m_pBar->GetFolder(0)->GetSelectedItem());
    std::vector<Notice> notices = m_owner.Take();
    std::vector<Notice> clicks;
    for (const Notice& n : notices)
        if (n.nCode == OBN_ITEMCLICK)
            clicks.push_back(n);
    EXPECT_EQ((std::vector<Notice>{{OBN_ITEMCLICK, 2, -1, -1, false, "Monatsansicht"},
                                   {OBN_ITEMCLICK, 2, -1, -1, false, "Monatsansicht"}}),
              clicks);
    EXPECT_EQ((DWORD)2, m_pBar->GetItemData(m_pBar->m_nSelItem)) << "the view mode rides along";
}

TEST_F(OutBarFixture, DraggedItemsMove)
{
    AddViews(4);
    m_pBar->ModifyFlag(0, TKOB_DRAGITEMS);
    Paint();
    CRect rc0, rc2, I;
    m_pBar->GetIconRect(0, 0, rc0);
    m_pBar->GetIconRect(0, 2, rc2);
    m_pBar->GetInsideRect(I);
    CPoint ptOutside(3, rc0.CenterPoint().y); // beside the icon: not on an item
    ASSERT_EQ(-1, [&] { int n; return m_pBar->HitTestEx(ptOutside, n); }());
    Click(rc0.CenterPoint(), {ptOutside, rc2.CenterPoint()}, rc2.CenterPoint());
    EXPECT_EQ((std::vector<std::string>{"Wochenansicht", "Tagesansicht", "Monatsansicht", "Terminliste"}), Texts());
    std::vector<Notice> notices = m_owner.Take();
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ((Notice{OBN_ITEMMOVED, 0, 2, 0, false, "Tagesansicht"}), notices.back());

    // below the last item: last, reported with the count
    Paint();
    m_pBar->GetIconRect(0, 0, rc0);
    CPoint ptBelow(I.CenterPoint().x, I.bottom - 10);
    Click(rc0.CenterPoint(), {ptOutside, ptBelow}, ptBelow);
    EXPECT_EQ((std::vector<std::string>{"Tagesansicht", "Monatsansicht", "Terminliste", "Wochenansicht"}), Texts());
    notices = m_owner.Take();
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ((Notice{OBN_ITEMMOVED, 4, 4, 0, false, "Wochenansicht"}), notices.back());
    EXPECT_EQ(nullptr, CWnd::GetCapture());

    // the selected index follows the selected item: an item dropped in front of the first one,
    // and one taken from above it to the end
    struct Case {
        const char* name;
        int nSelected, nFrom;
        bool bToEnd;
        int nTo;
    };
    const Case cases[] = {{"in front of the selected first item", 0, 2, false, 0},
                          {"from above the selected item to the end", 2, 0, true, 0},
                          {"the selected item itself to the end", 1, 1, true, 0}};
    for (const Case& c : cases) {
        m_pBar->SelectItem(0, c.nSelected);
        std::string strSelected = (const char*)m_pBar->GetItemText(c.nSelected);
        Paint();
        CRect rcFrom, rcTo;
        m_pBar->GetIconRect(0, c.nFrom, rcFrom);
        m_pBar->GetIconRect(0, c.nTo, rcTo);
        CPoint ptDrop = c.bToEnd ? ptBelow : rcTo.CenterPoint();
        Click(rcFrom.CenterPoint(), {ptOutside, ptDrop}, ptDrop);
        ASSERT_GE(m_pBar->m_nSelItem, 0) << c.name;
        EXPECT_EQ(strSelected, (const char*)m_pBar->GetItemText(m_pBar->m_nSelItem)) << c.name;
        EXPECT_EQ(m_pBar->m_nSelItem, m_pBar->GetFolder(0)->GetSelectedItem()) << c.name;
    }
}

TEST_F(OutBarFixture, DownArrowStepsUntilTheLastItemIsVisible)
{
    AddViews(12);
    Paint();
    ASSERT_TRUE(m_pBar->m_bDownArrowShown);
    CPoint ptSaved;
    ::GetCursorPos(&ptSaved);
    CPoint pt = m_pBar->m_rcDownArrow.CenterPoint();
    m_pBar->ClientToScreen(&pt);
    ::SetCursorPos(pt.x, pt.y);
    CPoint ptArrow = m_pBar->m_rcDownArrow.CenterPoint();
    m_pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptArrow.x, ptArrow.y));
    ::SetCursorPos(ptSaved.x, ptSaved.y);
    // the loop ended by itself, the button still "down": the last item is fully visible, and the
    // step before it was not
    CRect I, rcLast;
    m_pBar->GetInsideRect(I);
    m_pBar->GetItemRect(0, 11, rcLast);
    EXPECT_GT(m_pBar->m_nFirstItem, 0);
    EXPECT_LE(rcLast.bottom, I.bottom);
    m_pBar->m_nFirstItem--;
    m_pBar->GetItemRect(0, 11, rcLast);
    EXPECT_GT(rcLast.bottom, I.bottom);
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_FALSE(::KillTimer(m_pBar->m_hWnd, 2)) << "the repeat timer is gone";
}

namespace {
// A window that takes the capture away when it gets its message.
class CCaptureThief : public CWnd {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP)
            ::ReleaseCapture();
        return CWnd::WindowProc(message, wParam, lParam);
    }
};
} // namespace

TEST_F(OutBarFixture, LostCaptureEndsEveryLoop)
{
    AddViews(12);
    m_pBar->AddFolder("Zwei");
    Paint();
    CCaptureThief thief;
    ASSERT_TRUE(thief.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
    CRect rcHeader, rcIcon;
    m_pBar->GetFolderRect(1, rcHeader);
    m_pBar->GetIconRect(0, 0, rcIcon);
    const CPoint points[] = {rcHeader.CenterPoint(), rcIcon.CenterPoint(), m_pBar->m_rcDownArrow.CenterPoint()};
    for (CPoint pt : points) {
        thief.PostMessage(WM_APP);
        m_pBar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        EXPECT_EQ(nullptr, CWnd::GetCapture());
        EXPECT_FALSE(::KillTimer(m_pBar->m_hWnd, 2));
        Paint();
    }
    EXPECT_EQ(0, m_pBar->GetSelFolder());
    EXPECT_EQ(-1, m_pBar->m_nSelItem);
    thief.DestroyWindow();
}

TEST_F(OutBarFixture, InPlaceRename)
{
    AddViews(3);
    m_pBar->AddFolder("Zwei");
    Paint();
    auto editor = [&]() { return (CTkEditItem*)CWnd::FromHandlePermanent(::GetDlgItem(m_pBar->m_hWnd, 255)); };
    auto key = [&](CTkEditItem* p, UINT vk) {
        p->PostMessage(WM_KEYDOWN, vk, 0);
        Pump();
    };
    struct Case {
        const char* name;
        bool bFolder;
        int nIndex;
        const char* pszNew;
        int nHow; // 0 Enter, 1 Esc, 2 focus elsewhere
        LRESULT lAnswer;
        std::vector<Notice> notices;
        const char* pszAfter;
    };
    const Case cases[] = {
        {"Enter applies", false, 1, "Woche", 0, 1, {{OBN_ITEMRENAMED, 1, -1, -1, false, "Woche"}}, "Woche"},
        {"Esc discards", false, 1, "Nichts", 1, 1, {}, "Woche"},
        {"focus elsewhere applies", false, 2, "Monat", 2, 1, {{OBN_ITEMRENAMED, 2, -1, -1, false, "Monat"}}, "Monat"},
        {"refused", false, 0, "Tag", 0, 0, {{OBN_ITEMRENAMED, 0, -1, -1, false, "Tag"}}, "Tagesansicht"},
        {"empty text tells nothing", false, 0, "", 0, 1, {}, "Tagesansicht"},
        {"folder, Enter", true, 1, "Gruppe", 0, 1, {{OBN_FOLDERRENAMED, 1, -1, -1, true, "Gruppe"}}, "Gruppe"},
        {"folder, same name", true, 1, "Gruppe", 0, 1, {{OBN_FOLDERRENAMED, 1, -1, -1, true, "Gruppe"}}, "Gruppe"},
    };
    for (const Case& c : cases) {
        m_owner.m_answers[c.bFolder ? OBN_FOLDERRENAMED : OBN_ITEMRENAMED] = c.lAnswer;
        if (c.bFolder)
            m_pBar->EditFolder(c.nIndex);
        else
            m_pBar->EditItem(c.nIndex);
        Pump();
        CTkEditItem* pEdit = editor();
        ASSERT_NE(nullptr, pEdit) << c.name;
        EXPECT_EQ(pEdit->m_hWnd, ::GetFocus()) << c.name;
        pEdit->SetWindowText(c.pszNew);
        m_owner.Take();
        if (c.nHow == 0)
            key(pEdit, VK_RETURN);
        else if (c.nHow == 1)
            key(pEdit, VK_ESCAPE);
        else {
            m_owner.SetFocus();
            Pump();
        }
        EXPECT_EQ(nullptr, editor()) << c.name << ": the editor is gone";
        std::vector<Notice> renames;
        for (const Notice& n : m_owner.Take())
            if (n.nCode == OBN_ITEMRENAMED || n.nCode == OBN_FOLDERRENAMED)
                renames.push_back(n);
        EXPECT_EQ(c.notices, renames) << c.name;
        CString strNow = c.bFolder ? m_pBar->GetFolder(c.nIndex)->m_strName : m_pBar->GetItemText(c.nIndex);
        EXPECT_STREQ(c.pszAfter, strNow) << c.name;
    }
}

namespace {
// Reads the bar's context menu when it opens, then closes it.
class CMenuReadingBar : public CTkOutBarCtrl {
public:
    std::vector<std::string> m_texts;
    UINT m_nCheckedId = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT lResult = CTkOutBarCtrl::WindowProc(message, wParam, lParam);
        if (message == WM_INITMENUPOPUP) {
            HMENU hMenu = (HMENU)wParam;
            m_texts.clear();
            for (int i = 0; i < ::GetMenuItemCount(hMenu); i++) {
                char sz[128] = "";
                ::GetMenuStringA(hMenu, i, sz, sizeof(sz), MF_BYPOSITION);
                m_texts.push_back(::GetMenuItemID(hMenu, i) == 0 ? "-" : sz);
                if (::GetMenuState(hMenu, i, MF_BYPOSITION) & MF_CHECKED)
                    m_nCheckedId = ::GetMenuItemID(hMenu, i);
            }
            ::EndMenu();
        }
        return lResult;
    }
};
} // namespace

TEST_F(OutBarFixture, ContextMenuEntriesFollowTheFlags)
{
    delete m_pBar;
    CMenuReadingBar* pBar = new CMenuReadingBar;
    m_pBar = pBar;
    ASSERT_TRUE(pBar->Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 200, 600), &m_owner, 0xE900, 0x202));
    pBar->SetImageList(&m_large, 2);
    pBar->SetImageList(&m_small, 1);
    AddViews(3);
    Paint();
    CRect rcIcon, rcHeader;
    pBar->GetIconRect(0, 0, rcIcon);
    pBar->GetFolderRect(0, rcHeader);
    struct Case {
        const char* name;
        DWORD dwFlags;
        CPoint pt;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"item, no extra flags", 0x202, rcIcon.CenterPoint(), {"&Kleine Symbole", "&Große Symbole"}},
        {"item, remove and rename", 0x202 | TKOB_REMOVEITEMS | TKOB_RENAMEITEMS, rcIcon.CenterPoint(),
         {"&Kleine Symbole", "&Große Symbole", "-", "Von Outlookleiste entfernen", "Verküpfung umbenennen"}},
        {"header, rename only", 0x202 | TKOB_RENAMEFOLDERS | TKOB_REMOVEITEMS, rcHeader.CenterPoint(),
         {"&Kleine Symbole", "&Große Symbole", "-", "Gruppe umbenennen"}},
        {"header, remove only", 0x202 | TKOB_REMOVEFOLDERS, rcHeader.CenterPoint(),
         {"&Kleine Symbole", "&Große Symbole", "-", "Gruppe entfernen"}},
    };
    for (const Case& c : cases) {
        pBar->m_dwFlags = c.dwFlags;
        pBar->m_texts.clear();
        pBar->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(c.pt.x, c.pt.y));
        Pump();
        EXPECT_EQ(c.texts, pBar->m_texts) << c.name;
        EXPECT_EQ((UINT)ID_TK_OUTBAR_LARGEICONS, pBar->m_nCheckedId) << c.name;
    }
    // the owner may refuse the menu
    m_owner.m_answers[OBN_CONTEXTMENU] = 0;
    pBar->m_texts.clear();
    pBar->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(rcIcon.CenterPoint().x, rcIcon.CenterPoint().y));
    EXPECT_TRUE(pBar->m_texts.empty());
    // small icons: the check moves
    m_owner.m_answers[OBN_CONTEXTMENU] = 1;
    pBar->SendMessage(WM_COMMAND, ID_TK_OUTBAR_SMALLICONS);
    EXPECT_TRUE(pBar->IsSmallIconView(0));
    pBar->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(2, 100));
    EXPECT_EQ((UINT)ID_TK_OUTBAR_SMALLICONS, pBar->m_nCheckedId);
}

TEST_F(OutBarFixture, DestructionTellsEveryItemThenItsFolder)
{
    m_pBar->AddFolder("Eins");
    m_pBar->InsertItem(0, -1, "a");
    m_pBar->InsertItem(0, -1, "b");
    m_pBar->AddFolder("Zwei");
    m_pBar->InsertItem(1, -1, "c");
    m_owner.Take();
    m_owner.m_answers[OBN_FOLDERDELETED] = 0; // ignored on destruction
    m_pBar->DestroyWindow();
    EXPECT_EQ((std::vector<Notice>{{OBN_ITEMDELETED, 0, -1, -1, false, "a"},
                                   {OBN_ITEMDELETED, 1, -1, -1, false, "b"},
                                   {OBN_FOLDERDELETED, 0, -1, -1, true, "Eins"},
                                   {OBN_ITEMDELETED, 0, -1, -1, false, "c"},
                                   {OBN_FOLDERDELETED, 1, -1, -1, true, "Zwei"}}),
              m_owner.Take());
}

TEST_F(OutBarFixture, ViewBarShots)
{
    AddViews(5);
    m_pBar->AddFolder("Weitere");
    m_pBar->SelectItem(0, 1);
    BOOL bFlat = tkAfxData.bFlatLook;
    for (int look = 0; look < 2; look++) {
        tkAfxData.bFlatLook = look == 0;
        for (int small = 0; small < 2; small++) {
            m_pBar->SetSmallIconView(small == 1, 0);
            Paint();
            m_pBar->m_nHotItem = -1;
            m_pBar->HighlightItem(3, FALSE);
            std::string name = std::string(small ? "small" : "large") + (look == 0 ? "-flat" : "-3d");
            // the shot reads the screen: the hot item is drawn straight on it
            CWindowDC dc(m_pBar);
            CRect rc;
            m_pBar->GetWindowRect(&rc);
            EXPECT_FALSE(oxtest::SaveShot(dc.m_hDC, 0, 0, rc.Width(), rc.Height(), "view-bar", name.c_str()).empty());
        }
    }
    tkAfxData.bFlatLook = bFlat;
    EXPECT_EQ(3, m_pBar->m_nHotItem);

    // three folders, the second current, and a rename in progress
    m_pBar->SetSmallIconView(FALSE, 0);
    m_pBar->AddFolder("Dritte");
    m_pBar->InsertItem(1, -1, "Notizen", 1, 0);
    m_pBar->InsertItem(1, -1, "Kontakte", 2, 0);
    m_pBar->SetSelFolder(1);
    Paint();
    m_pBar->EditItem(0);
    Pump();
    EXPECT_FALSE(tktest::SaveWindowShot(m_pBar->m_hWnd, "three-folders-rename", "view-bar").empty());
    m_owner.SetFocus();
    Pump();
}

TEST(OutBarEditorTest, AnEditorWithoutWindowGoesAtOnce)
{
    tktest::CTestApp app;
    CTkOutBarCtrl bar; // no window: the editor cannot be made
    bar.AddFolder("Ansichten");
    bar.InsertItem(0, -1, "Tagesansicht");
    CTkEditItem* pEdit = new CTkEditItem;
    EXPECT_FALSE(pEdit->CreateEditItem("Tagesansicht", WS_CHILD, CRect(0, 0, 50, 20), &bar, 255, 0, false, false));
    bar.EditItem(0); // nothing starts, nothing is left behind
    bar.EditFolder(0);
    EXPECT_STREQ("Tagesansicht", bar.GetItemText(0));
}

TEST_F(OutBarFixture, TheSelectedItemDoesNotLightUpWhileFramedOrAnimated)
{
    AddViews(4);
    m_pBar->SelectItem(0, 1);
    Paint();
    struct Case {
        const char* name;
        DWORD dwFlags;
        int nPeriod;
        int nHotAfter;
    };
    const Case cases[] = {{"framed", 0x202, 0, -1}, {"animated", 0x002, 50, -1}, {"neither", 0x002, 0, 1}};
    for (const Case& c : cases) {
        m_pBar->m_dwFlags = c.dwFlags;
        m_pBar->AnimateSelectedItem(c.nPeriod);
        m_pBar->HighlightItem(-1, FALSE);
        m_pBar->HighlightItem(1, FALSE);
        EXPECT_EQ(c.nHotAfter, m_pBar->m_nHotItem) << c.name;
        m_pBar->HighlightItem(2, FALSE);
        EXPECT_EQ(2, m_pBar->m_nHotItem) << c.name << ": another item lights up";
    }
    // switching the animation off kills its timer
    m_pBar->AnimateSelectedItem(50);
    m_pBar->AnimateSelectedItem(0);
    EXPECT_FALSE(::KillTimer(m_pBar->m_hWnd, 3));
    EXPECT_EQ(0, m_pBar->m_nAnimPeriod);
}
