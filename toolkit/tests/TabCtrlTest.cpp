// The flat tab control with views: deleting tabs, keyboard switching, the owner's notifications,
// the frame's active view handed to a tab's view and back, the deferred set-up, label shortening,
// the page area, the navigation buttons, and screenshots of the flat look.
#include <gtest/gtest.h>

#include "CTkGlobalData.h"
#include "CTkTabCtrl.h"
#include "CTkTabNavButtons.h"
#include "PanesTestSupport.h"
#include "ToolkitTestSupport.h"

#include <string>
#include <vector>

using panestest::CLabelView;
using panestest::COtherView;

namespace {

const UINT kTabId = 1079;

std::vector<std::string>& OwnerLog()
{
    static std::vector<std::string> s_log;
    return s_log;
}

// A frame that records what the tab control tells its owner.
class COwnerFrame : public CFrameWnd {
public:
    LRESULT OnTabSelChanging(WPARAM wParam, LPARAM lParam) { return Record("changing", wParam, lParam); }
    LRESULT OnTabSelChange(WPARAM wParam, LPARAM lParam) { return Record("change", wParam, lParam); }
    CWnd* m_pExpectedTab = nullptr;
    LRESULT Record(const char* pszWhat, WPARAM wParam, LPARAM lParam)
    {
        std::string strEntry = pszWhat;
        if (wParam != kTabId || (CWnd*)lParam != m_pExpectedTab)
            strEntry += " (wrong parameters)";
        OwnerLog().push_back(strEntry);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COwnerFrame, CFrameWnd)
ON_MESSAGE(TKWM_TAB_SELCHANGING, OnTabSelChanging)
ON_MESSAGE(TKWM_TAB_SELCHANGE, OnTabSelChange)
END_MESSAGE_MAP()

// A tab control that counts font changes and close commands.
class CCountingTabCtrl : public CTkTabCtrl {
public:
    int m_nSetFont = 0;
    int m_nClose = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SETFONT)
            m_nSetFont++;
        if (message == WM_COMMAND && LOWORD(wParam) == TK_ID_TABNAV_CLOSE)
            m_nClose++;
        return CTkTabCtrl::WindowProc(message, wParam, lParam);
    }
    using CTkTabViewManager::m_bInitPending;
};

const char* const kLabels[] = {"Allgemein", "Wiederholung", "Notizen"};

class TkTabCtrlTest : public testing::Test {
protected:
    void SetUp() override
    {
        OwnerLog().clear();
        tkAfxData.bFlatLook = TRUE; // as the program's main frame sets it
        m_pFrame = new COwnerFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(40, 40, 700, 500)));
        panestest::SetClientSize(m_pFrame, 600, 400);
        m_pFrame->m_pExpectedTab = &m_tab;
        // the view the frame had before the tabs came
        m_pSaved = (CLabelView*)RUNTIME_CLASS(CLabelView)->CreateObject();
        ASSERT_TRUE(m_pSaved->Create(NULL, "Vorher", WS_CHILD | WS_VISIBLE, CRect(0, 340, 600, 400), m_pFrame, 5000, NULL));
        m_pFrame->SetActiveView(m_pSaved);
    }
    void TearDown() override
    {
        if (m_pFrame->m_hWnd != NULL)
            m_pFrame->DestroyWindow();
        tktest::RunToIdle();
        BYTE keys[256] = {};
        ::SetKeyboardState(keys);
    }
    // A tab control subclassed from a plain one, as the dialogs do, with a label view per label.
    void MakeTabs(int nLabels, DWORD dwStyle = 0, int cx = 600)
    {
        HWND hWnd = ::CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | dwStyle, 0, 0, cx, 330,
                                      m_pFrame->m_hWnd, (HMENU)(UINT_PTR)kTabId, NULL, NULL);
        ASSERT_NE(nullptr, hWnd);
        ASSERT_TRUE(m_tab.SubclassWindow(hWnd));
        m_tab.SetNavButtons(0);
        tktest::RunToIdle();
        for (int i = 0; i < nLabels; i++) {
            ASSERT_TRUE(m_tab.AddViewByClass(kLabels[i % 3], RUNTIME_CLASS(CLabelView)));
            m_tab.GetView(i)->SetWindowText(kLabels[i % 3]);
        }
        tktest::RunToIdle();
    }
    // The key with Ctrl and Shift as given, through the control's message filter.
    BOOL Key(UINT nKey, bool bCtrl, bool bShift)
    {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = bCtrl ? 0x80 : 0;
        keys[VK_SHIFT] = bShift ? 0x80 : 0;
        ::SetKeyboardState(keys);
        MSG msg = {m_tab.m_hWnd, WM_KEYDOWN, nKey, 0, 0, {0, 0}};
        BOOL bEaten = m_tab.PreTranslateMessage(&msg);
        memset(keys, 0, sizeof(keys));
        ::SetKeyboardState(keys);
        return bEaten;
    }
    std::vector<std::string> Labels()
    {
        std::vector<std::string> labels;
        for (int i = 0; i < m_tab.GetItemCount(); i++) {
            char szText[64] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT;
            item.pszText = szText;
            item.cchTextMax = 64;
            m_tab.GetItem(i, &item);
            labels.push_back(szText);
        }
        return labels;
    }

    tktest::CTestApp m_app;
    COwnerFrame* m_pFrame = nullptr;
    CLabelView* m_pSaved = nullptr;
    CCountingTabCtrl m_tab;
};

} // namespace

TEST_F(TkTabCtrlTest, DeletingATabActivatesItsNeighbour)
{
    struct Case {
        int nDelete;
        int nActive; // afterwards
        std::vector<std::string> labels;
    } const cases[] = {
        {0, 0, {"Wiederholung", "Notizen"}},
        {1, 0, {"Allgemein", "Notizen"}},
        {2, 1, {"Allgemein", "Wiederholung"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nDelete);
        if (m_tab.m_hWnd != NULL)
            m_tab.DestroyWindow();
        MakeTabs(3);
        ASSERT_EQ(3, m_tab.GetItemCount());
        EXPECT_EQ(2, m_tab.GetCurSel()); // the last one added is active
        m_tab.SetActiveView(1);
        CWnd* pGone = m_tab.GetView(c.nDelete);
        HWND hGone = pGone->m_hWnd;
        ASSERT_TRUE(m_tab.DeleteView(c.nDelete));
        EXPECT_FALSE(::IsWindow(hGone));
        EXPECT_EQ(c.labels, Labels());
        EXPECT_EQ(2, m_tab.GetTabCount());
        EXPECT_EQ(c.nActive, m_tab.GetCurSel());
        CWnd* pActive = m_tab.GetActiveView();
        ASSERT_NE(nullptr, pActive);
        EXPECT_TRUE(pActive->IsWindowVisible());
        EXPECT_FALSE(m_tab.GetView(1 - c.nActive)->IsWindowVisible());
        EXPECT_STREQ(c.labels[c.nActive].c_str(), m_tab.GetViewText(c.nActive));
    }

    // Tabs, views and classes that are not there change nothing.
    EXPECT_FALSE(m_tab.DeleteView(-1));
    EXPECT_FALSE(m_tab.DeleteView(2));
    EXPECT_FALSE(m_tab.SetActiveView(7));
    EXPECT_FALSE(m_tab.DeleteViewByWnd(m_pSaved));
    EXPECT_FALSE(m_tab.DeleteViewByClass(RUNTIME_CLASS(COtherView)));
    EXPECT_EQ(nullptr, m_tab.GetView(5));
    EXPECT_EQ(nullptr, m_tab.GetViewText(-1));
    EXPECT_EQ(nullptr, m_tab.GetViewByClass(RUNTIME_CLASS(COtherView)));
    EXPECT_EQ(2, m_tab.GetItemCount());
    EXPECT_EQ(1, m_tab.GetCurSel());
}

TEST_F(TkTabCtrlTest, KeyboardSwitchingTellsTheOwnerAndHandsOverTheFrameView)
{
    MakeTabs(3);
    m_tab.SetActiveView(2);
    struct Case {
        UINT nKey;
        bool bCtrl, bShift;
        int nAfter;
    } const cases[] = {
        {VK_TAB, true, false, 0},  // from the last: wraps to the first
        {VK_TAB, true, true, 2},   // from the first backwards: the last
        {VK_F6, false, false, 0},  // F6 as Ctrl+Tab
        {VK_F6, false, false, 1},
        {VK_TAB, true, true, 0},
    };
    for (const Case& c : cases) {
        OwnerLog().clear();
        EXPECT_TRUE(Key(c.nKey, c.bCtrl, c.bShift));
        EXPECT_EQ(c.nAfter, m_tab.GetCurSel());
        EXPECT_EQ((std::vector<std::string>{"changing", "change"}), OwnerLog());
        EXPECT_EQ(m_tab.GetView(c.nAfter), m_pFrame->GetActiveView());
        EXPECT_TRUE(m_tab.GetView(c.nAfter)->IsWindowVisible());
        EXPECT_EQ(m_tab.m_hWnd, ::GetFocus());
    }
    // A plain Tab is no switch.
    OwnerLog().clear();
    EXPECT_FALSE(Key(VK_TAB, false, false));
    EXPECT_TRUE(OwnerLog().empty());

    // The frame's view comes back when the tab whose view is active goes.
    ASSERT_TRUE(m_tab.DeleteView(0));
    EXPECT_EQ(m_pSaved, m_pFrame->GetActiveView());
}

TEST_F(TkTabCtrlTest, AClickTellsTheOwnerThroughTheReflectedNotifications)
{
    MakeTabs(3);
    m_tab.SetActiveView(0);
    CRect rect;
    m_tab.GetItemRect(2, &rect);
    OwnerLog().clear();
    m_tab.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    m_tab.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    EXPECT_EQ(2, m_tab.GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"changing", "change"}), OwnerLog());
    EXPECT_EQ(m_tab.GetView(2), m_pFrame->GetActiveView());
    EXPECT_TRUE(m_tab.GetView(2)->IsWindowVisible());
    EXPECT_FALSE(m_tab.GetView(0)->IsWindowVisible());
    EXPECT_FALSE(m_tab.GetView(0)->IsWindowEnabled());

    // Commands go to the active view first.
    EXPECT_TRUE(m_tab.OnCmdMsg(panestest::kLabelViewCommand, CN_COMMAND, NULL, NULL));
    EXPECT_EQ(1, ((CLabelView*)m_tab.GetView(2))->m_nCommands);
    EXPECT_EQ(0, ((CLabelView*)m_tab.GetView(0))->m_nCommands);

    // All views go: the frame's view from before comes back.
    EXPECT_TRUE(m_tab.RemoveAllViews());
    EXPECT_EQ(0, m_tab.GetItemCount());
    EXPECT_EQ(m_pSaved, m_pFrame->GetActiveView());
    EXPECT_FALSE(m_tab.OnCmdMsg(panestest::kLabelViewCommand, CN_COMMAND, NULL, NULL));
}

TEST_F(TkTabCtrlTest, ImagesAndToolTips)
{
    MakeTabs(0, TCS_TOOLTIPS);
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
    m_tab.SetImageList(&images);
    CLabelView* pViews[3];
    for (int i = 0; i < 3; i++) {
        pViews[i] = (CLabelView*)RUNTIME_CLASS(CLabelView)->CreateObject();
        ASSERT_TRUE(pViews[i]->Create(NULL, kLabels[i], WS_CHILD, CRect(0, 0, 0, 0), m_pFrame, 0, NULL));
    }
    ASSERT_TRUE(m_tab.AddView("Allgemein", pViews[0]));
    ASSERT_TRUE(m_tab.AddView("Notizen", pViews[2], -1, 7));
    ASSERT_TRUE(m_tab.InsertView("Wiederholung", pViews[1], 1)); // icon -1: the image of its position
    EXPECT_EQ(&m_tab, pViews[1]->GetParent()); // the view became the control's child
    int expectedImages[] = {0, 1, 7};
    for (int i = 0; i < 3; i++) {
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        m_tab.GetItem(i, &item);
        EXPECT_EQ(expectedImages[i], item.iImage) << i;
    }
    EXPECT_EQ(1, m_tab.GetCurSel());

    // The tips follow the tabs' positions.
    CToolTipCtrl* pTips = m_tab.GetToolTips();
    ASSERT_NE(nullptr, pTips);
    m_tab.UpdateToolTip(1, "Serie bearbeiten");
    m_tab.DeleteView(0);
    auto TipText = [&](UINT nId) {
        char szText[80] = "";
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.hwnd = m_tab.m_hWnd;
        ti.uId = nId;
        ti.lpszText = szText;
        pTips->SendMessage(TTM_GETTEXTA, sizeof(szText), (LPARAM)&ti);
        return std::string(szText);
    };
    EXPECT_EQ("Serie bearbeiten", TipText(0));
    EXPECT_EQ("Notizen", TipText(1));
    EXPECT_EQ(2, (int)pTips->SendMessage(TTM_GETTOOLCOUNT));
    EXPECT_TRUE(m_tab.EnableToolTips(FALSE));
}

TEST_F(TkTabCtrlTest, TwoQuickSubclassingsRunTheDeferredSetUpOnce)
{
    HWND hWnd = ::CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 200, m_pFrame->m_hWnd,
                                  (HMENU)(UINT_PTR)kTabId, NULL, NULL);
    ASSERT_TRUE(m_tab.SubclassWindow(hWnd));
    m_tab.UnsubclassWindow();
    ASSERT_TRUE(m_tab.SubclassWindow(hWnd));
    EXPECT_TRUE(m_tab.m_bInitPending);
    EXPECT_EQ(0, m_tab.m_nSetFont);
    tktest::RunToIdle();
    EXPECT_EQ(1, m_tab.m_nSetFont);
    EXPECT_FALSE(m_tab.m_bInitPending);
    EXPECT_TRUE(m_tab.GetStyle() & WS_CLIPCHILDREN);
    EXPECT_EQ((HFONT)tkAfxData.fontMenuPlain.m_hObject, (HFONT)m_tab.SendMessage(WM_GETFONT));
}

TEST(TkTabLabelTest, ShorteningWidestFirstNeverBelowTheLeast)
{
    // Every character 7 pixels wide, 7 on average: the least width is 6 * 7 + 12 = 54.
    auto measure = [](const CString& s) { return 7 * s.GetLength(); };
    std::vector<CString> labels = {"Allgemein", "Wiederholung und Erinnerung", "Notizen"};
    std::vector<BOOL> images = {FALSE, FALSE, FALSE};
    struct Case {
        int nAvailable;
        std::vector<std::string> expected;
    } const cases[] = {
        {400, {"Allgemein", "Wiederholung und Erinnerung", "Notizen"}}, // fits
        {341, {"Allgemein", "Wiederholung und Erinnerung", "Notizen"}}, // fits exactly
        {300, {"Allgemein", "Wiederholung und E...", "Notizen"}},       // the widest only
        {100, {"All...", "Wie...", "Not..."}},                          // too narrow: all at the least
        {0, {"Allgemein", "Wiederholung und Erinnerung", "Notizen"}},   // no room known: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nAvailable);
        std::vector<CString> texts = CTkTabViewManager::CondenseLabels(labels, images, c.nAvailable, 4, 7, measure);
        ASSERT_EQ(c.expected.size(), texts.size());
        for (size_t i = 0; i < texts.size(); i++)
            EXPECT_STREQ(c.expected[i].c_str(), (LPCTSTR)texts[i]);
    }
    // An image adds 22 pixels: the tab with it is the widest.
    std::vector<CString> texts = CTkTabViewManager::CondenseLabels({"Allgemein", "Notizen1"}, {FALSE, TRUE}, 160, 4, 7, measure);
    EXPECT_STREQ("Allgemein", (LPCTSTR)texts[0]);
    EXPECT_STREQ("Not...", (LPCTSTR)texts[1]); // 83 after the first round, still the widest
}

TEST_F(TkTabCtrlTest, ShorteningOnTheControlAndBack)
{
    MakeTabs(3, 0, 200);
    std::vector<std::string> full = {"Allgemein", "Wiederholung", "Notizen"};
    ASSERT_EQ(full, Labels());
    m_tab.SetAutoCondense(TRUE);
    EXPECT_TRUE(m_tab.GetAutoCondense());
    std::vector<std::string> shown = Labels();
    ASSERT_EQ(3u, shown.size());
    EXPECT_NE(full, shown);
    EXPECT_EQ("...", shown[1].substr(shown[1].size() - 3)); // the widest went first
    for (int i = 0; i < 3; i++) {
        EXPECT_STREQ(shown[i].c_str(), m_tab.GetShownText(i));
        EXPECT_STREQ(full[i].c_str(), m_tab.GetViewText(i)); // the full label is kept
    }
    m_tab.SetAutoCondense(FALSE);
    EXPECT_EQ(full, Labels());
}

TEST(TkTabGeometryTest, PageAreaForEachSideAndRowCount)
{
    CRect client(0, 0, 300, 200);
    CRect sel(2, 2, 62, 22); // 60 x 20
    struct Case {
        DWORD dwStyle;
        int nRows;
        CRect expected;
    } const cases[] = {
        {0, 1, CRect(3, 25, 297, 197)},
        {0, 2, CRect(3, 45, 297, 197)},
        {TCS_BOTTOM, 1, CRect(3, 3, 297, 175)},
        {TCS_BOTTOM, 2, CRect(3, 3, 297, 155)},
        {TCS_VERTICAL, 1, CRect(65, 3, 297, 197)},
        {TCS_VERTICAL, 2, CRect(125, 3, 297, 197)},
        {TCS_VERTICAL | TCS_RIGHT, 1, CRect(3, 3, 235, 197)},
        {TCS_VERTICAL | TCS_RIGHT, 2, CRect(3, 3, 175, 197)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, CTkFlatTabPainter::ComputeChildRect(client, sel, c.nRows, c.dwStyle))
            << c.dwStyle << " rows " << c.nRows;
    EXPECT_EQ(10, CTkTabNavButtons::WidthFor(0));
    EXPECT_EQ(38, CTkTabNavButtons::WidthFor(TK_TABNAV_ARROWS));
    EXPECT_EQ(52, CTkTabNavButtons::WidthFor(TK_TABNAV_ARROWS | TK_TABNAV_CLOSE));
}

TEST_F(TkTabCtrlTest, ViewsFillThePageArea)
{
    MakeTabs(2);
    CRect rectPage;
    m_tab.GetChildRect(rectPage);
    ASSERT_FALSE(rectPage.IsRectEmpty());
    EXPECT_EQ(rectPage, panestest::ChildRect(m_tab.GetActiveView()));
    m_tab.SetWindowPos(NULL, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    m_tab.GetChildRect(rectPage);
    EXPECT_EQ(497, rectPage.right);
    EXPECT_EQ(rectPage, panestest::ChildRect(m_tab.GetActiveView()));
}

TEST_F(TkTabCtrlTest, NavigationButtons)
{
    // Few tabs: the buttons window of its own, both arrows disabled.
    MakeTabs(3);
    m_tab.SetNavButtons(TK_TABNAV_ARROWS);
    m_tab.UpdateWindow();
    CTkTabNavButtons* pNav = m_tab.GetNavButtons();
    ASSERT_NE(nullptr, pNav->m_hWnd);
    pNav->UpdateWindow();
    EXPECT_TRUE(pNav->IsWindowVisible());
    EXPECT_EQ(38, panestest::ChildRect(pNav).Width());
    EXPECT_FALSE(pNav->m_btnLeft.IsEnabled());
    EXPECT_FALSE(pNav->m_btnRight.IsEnabled());

    // Many tabs: the control's up-down is taken over; with flags 0 it is 10 pixels wide.
    for (int i = 3; i < 14; i++)
        m_tab.AddViewByClass(kLabels[i % 3], RUNTIME_CLASS(CLabelView));
    m_tab.SetActiveView(0);
    m_tab.Invalidate();
    m_tab.UpdateWindow();
    tktest::RunToIdle();
    HWND hSpin = TkFindTabSpin(&m_tab);
    ASSERT_NE(nullptr, hSpin);
    EXPECT_EQ(hSpin, pNav->m_hWnd);
    pNav->UpdateWindow();
    EXPECT_TRUE(pNav->m_btnRight.IsEnabled());
    EXPECT_FALSE(pNav->m_btnLeft.IsEnabled());
    m_tab.SetNavButtons(0);
    tktest::RunToIdle();
    EXPECT_EQ(10, panestest::ChildRect(pNav).Width());
    CRect rectClient;
    m_tab.GetClientRect(&rectClient);
    EXPECT_EQ(rectClient.right, panestest::ChildRect(pNav).right);

    // Holding the right arrow: one tab further before every message that comes meanwhile.
    auto FirstVisible = [&]() {
        CRect rectRow;
        TkGetTabRowRect(&m_tab, rectRow);
        TCHITTESTINFO hit = {{5, rectRow.CenterPoint().y}, 0};
        return m_tab.HitTest(&hit);
    };
    m_tab.SetNavButtons(TK_TABNAV_ARROWS);
    pNav->UpdateWindow();
    ASSERT_EQ(0, FirstVisible());
    CPoint ptRight = CRect(pNav->m_btnRight.rect).CenterPoint();
    pNav->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptRight.x, ptRight.y));
    pNav->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(ptRight.x, ptRight.y));
    pNav->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptRight.x, ptRight.y));
    pNav->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptRight.x, ptRight.y));
    EXPECT_EQ(3, FirstVisible());
    tktest::RunToIdle();
    EXPECT_TRUE(pNav->m_btnLeft.IsEnabled());
    CPoint ptLeft = CRect(pNav->m_btnLeft.rect).CenterPoint();
    pNav->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(ptLeft.x, ptLeft.y));
    pNav->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptLeft.x, ptLeft.y));
    EXPECT_EQ(2, FirstVisible());

    // The close button: a press moved off before the release sends nothing.
    m_tab.SetNavButtons(TK_TABNAV_ARROWS | TK_TABNAV_CLOSE);
    pNav->UpdateWindow();
    CRect rectClose(pNav->m_btnClose.rect);
    ASSERT_FALSE(rectClose.IsRectEmpty());
    CPoint ptIn = rectClose.CenterPoint();
    struct Case {
        POINT ptUp;
        int nClose;
    } const cases[] = {{{ptIn.x, ptIn.y}, 1}, {{ptIn.x - 30, ptIn.y + 40}, 0}};
    for (const Case& c : cases) {
        m_tab.m_nClose = 0;
        pNav->PostMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.ptUp.x, c.ptUp.y));
        pNav->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.ptUp.x, c.ptUp.y));
        pNav->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(ptIn.x, ptIn.y));
        EXPECT_EQ(c.nClose, m_tab.m_nClose);
        EXPECT_NE(pNav->m_hWnd, ::GetCapture());
        EXPECT_FALSE(pNav->m_btnClose.flags & CTkTabNavButton::kPressed);
    }

    // Without the flat look: the platform's painting, the buttons hidden.
    tkAfxData.bFlatLook = FALSE;
    m_tab.Invalidate();
    m_tab.UpdateWindow();
    EXPECT_FALSE(pNav->IsShown());
    EXPECT_FALSE(pNav->IsWindowVisible());
    tkAfxData.bFlatLook = TRUE;
}

// Screenshots: the dialog's three tabs, the row with its buttons, the four sides.
TEST(TkTabShotTest, FlatTabs)
{
    tktest::CTestApp app;
    tkAfxData.bFlatLook = TRUE;
    LONG nBase = ::GetDialogBaseUnits();
    int cx = MulDiv(380, LOWORD(nBase), 4);
    int cy = MulDiv(272, HIWORD(nBase), 8);
    CFrameWnd* pFrame = new CFrameWnd;
    ASSERT_TRUE(pFrame->Create(NULL, "Termin bearbeiten", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 700, 600)));
    panestest::SetClientSize(pFrame, cx, cy);
    pFrame->SetForegroundWindow();
    CTkTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(8, 8, cx - 8, cy - 8), pFrame, kTabId));
    tab.SetNavButtons(0);
    for (const char* pszLabel : kLabels) {
        ASSERT_TRUE(tab.AddViewByClass(pszLabel, RUNTIME_CLASS(CLabelView)));
        tab.GetView(tab.GetItemCount() - 1)->SetWindowText(CString("Seite \x84") + pszLabel + "\x93");
    }
    tab.SetActiveView(0);
    tktest::RunToIdle();
    panestest::SaveShot(pFrame, "tabs-dialog");

    // a long row with the arrows and the close button
    tab.SetNavButtons(TK_TABNAV_ARROWS | TK_TABNAV_CLOSE);
    const char* const more[] = {"Teilnehmer", "Ressourcen", "Erinnerung", "Kategorien", "Anlagen", "Verlauf", "Zeitzone"};
    for (const char* pszLabel : more)
        tab.AddViewByClass(pszLabel, RUNTIME_CLASS(CLabelView));
    tab.SetActiveView(1);
    tktest::RunToIdle();
    panestest::SaveShot(pFrame, "tabs-nav-buttons");
    pFrame->DestroyWindow();
    tktest::RunToIdle();

    // the four sides
    CFrameWnd* pSides = new CFrameWnd;
    ASSERT_TRUE(pSides->Create(NULL, "Registerkarten", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(20, 20, 700, 600)));
    panestest::SetClientSize(pSides, 640, 480);
    const DWORD styles[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE, TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
    CTkTabCtrl tabs[4];
    for (int i = 0; i < 4; i++) {
        CRect rect(i % 2 * 320 + 6, i / 2 * 240 + 6, i % 2 * 320 + 314, i / 2 * 240 + 234);
        ASSERT_TRUE(tabs[i].Create(WS_CHILD | WS_VISIBLE | styles[i], rect, pSides, 100 + i));
        tabs[i].SetNavButtons(0);
        tktest::RunToIdle();
        for (const char* pszLabel : kLabels)
            tabs[i].AddViewByClass(pszLabel, RUNTIME_CLASS(CLabelView));
        tabs[i].SetActiveView(1);
        CRect rectPage;
        tabs[i].GetChildRect(rectPage);
        EXPECT_FALSE(rectPage.IsRectEmpty()) << i;
    }
    tktest::RunToIdle();
    panestest::SaveShot(pSides, "tabs-four-sides");
    pSides->DestroyWindow();
}
