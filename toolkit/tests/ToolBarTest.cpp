// The toolkit's toolbar: loading toolbar 128, the button style word against the real control,
// attached controls, layout over fake button sizes, hiding and showing buttons for room, the
// chevron, deferred layouts, drop-down buttons, tooltips, command updates and screenshots.
#include <gtest/gtest.h>

#include <afxext.h>
#include <afxpriv.h>
#include <afxres.h>

#include "CTkExpButton.h"
#include "CTkGlobalData.h"
#include "CTkMenuBar.h"
#include "CTkAccelManager.h"
#include "CTkToolBar.h"
#include "TestKit.h"
#include "TkMenuState.h"
#include "TkMessageBox.h"
#include "ToolkitTestResource.h"
#include "ToolkitTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kProgramStyle = 0x52402834; // the program's window and bar style of its toolbar

// A toolbar whose buttons have sizes of the test's choice (layout as pure computation).
class CFakeSizeBar : public CTkToolBar {
public:
    std::vector<CSize> m_sizes;
    CSize GetButtonSize(TBBUTTON* pData, int nIndex) override
    {
        CSize size = m_sizes[(size_t)nIndex];
        if ((pData[nIndex].fsStyle & TBSTYLE_SEP) && (pData[nIndex].fsState & TBSTATE_WRAP))
            return CSize(0, size.cx);
        return size;
    }
    using CTkToolBar::InsetSize;
};

// A toolbar that counts the deferred layouts that acted and answers update requests of its own.
class CCountingBar : public CTkToolBar {
public:
    int m_nPositionControls = 0;
    int m_nReflectedUpdates = 0;
    BOOL m_bReflectedDisables = FALSE;
    void PositionControls() override
    {
        m_nPositionControls++;
        CTkToolBar::PositionControls();
    }
    using CTkToolBar::InsetSize;

protected:
    afx_msg void OnUpdateReflected(CCmdUI* pCmdUI)
    {
        if (!m_bReflectedDisables || pCmdUI->m_nID != ID_VIEW_DAY) {
            pCmdUI->ContinueRouting();
            return;
        }
        m_nReflectedUpdates++;
        pCmdUI->Enable(FALSE);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountingBar, CTkToolBar)
ON_UPDATE_COMMAND_UI_REFLECT(OnUpdateReflected)
END_MESSAGE_MAP()

// The frame: records commands and drop-down questions, answers the update of some commands.
class CToolFrame : public CFrameWnd {
public:
    std::vector<UINT> m_commands;
    int m_nDropDowns = 0;
    LRESULT m_lDropDownAnswer = 0;
    int m_nDayUpdates = 0;
    std::function<void()> m_onIdle;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && lParam == 0 && HIWORD(wParam) == 0) {
            m_commands.push_back(LOWORD(wParam));
            return 0;
        }
        if (message == TKWM_DROPDOWN) {
            m_nDropDowns++;
            return m_lDropDownAnswer;
        }
        if (message == WM_ENTERIDLE && wParam == MSGF_MENU && m_onIdle) {
            std::function<void()> f = m_onIdle;
            m_onIdle = nullptr;
            f();
            return 0;
        }
        return CFrameWnd::WindowProc(message, wParam, lParam);
    }

protected:
    afx_msg void OnNewAppointment() {}
    afx_msg void OnUpdateDay(CCmdUI* pCmdUI)
    {
        m_nDayUpdates++;
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CToolFrame, CFrameWnd)
ON_COMMAND(ID_NEW_APPOINTMENT, OnNewAppointment)
ON_UPDATE_COMMAND_UI(ID_VIEW_DAY, OnUpdateDay)
END_MESSAGE_MAP()

CRect ItemRect(CTkToolBar& bar, int nIndex)
{
    CRect rect(0, 0, 0, 0);
    bar.SendMessage(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect);
    return rect;
}

} // namespace

// ---- layout over fake button sizes ------------------------------------------------------------

class ToolBarLayoutTest : public testing::Test {
protected:
    // Buttons of the given widths (23 x 22 each; 'S' a separator of 6, 'C' a control separator of
    // 100, 'H' a hidden button).
    void Make(const char* pszItems)
    {
        m_buttons.clear();
        m_bar.m_sizes.clear();
        for (const char* p = pszItems; *p != 0; p++) {
            TBBUTTON b;
            memset(&b, 0, sizeof(b));
            b.idCommand = 100 + (int)m_buttons.size();
            CSize size(23, 22);
            if (*p == 'S') {
                b.fsStyle = TBSTYLE_SEP;
                b.idCommand = 0;
                size = CSize(6, 22);
            } else if (*p == 'C') {
                b.fsStyle = TBSTYLE_SEP;
                size = CSize(100, 22);
            } else if (*p == 'H') {
                b.fsState = TBSTATE_HIDDEN;
            }
            m_buttons.push_back(b);
            m_bar.m_sizes.push_back(size);
        }
    }
    std::string Wraps()
    {
        std::string s;
        for (size_t i = 0; i < m_buttons.size(); i++)
            if (m_buttons[i].fsState & TBSTATE_WRAP)
                s += std::to_string(i) + " ";
        return s;
    }
    CFakeSizeBar m_bar;
    std::vector<TBBUTTON> m_buttons;
};

TEST_F(ToolBarLayoutTest, CalcSizeWithoutButtonsAndTheChevronRoom)
{
    m_bar.m_dwStyle = CBRS_ALIGN_TOP;
    EXPECT_EQ(CSize(23, 22), m_bar.CalcSize(NULL, 0));
    m_bar.m_sizeButton = CSize(16, 16);
    EXPECT_EQ(CSize(22, 22), m_bar.CalcSize(NULL, 0));
    m_bar.m_sizeButton = CSize(23, 22);

    struct Case {
        const char* pszName;
        DWORD dwStyle;
        BOOL bCustomizable;
        BOOL bHidden;
        BOOL bInRebar;
        CSize size;
    } cases[] = {
        {"docked, plain", CBRS_ALIGN_TOP, FALSE, FALSE, FALSE, CSize(23 * 3, 22)},
        {"docked, customizable", CBRS_ALIGN_TOP, TRUE, FALSE, FALSE, CSize(23 * 3 + 13, 22)},
        {"docked, hidden buttons", CBRS_ALIGN_TOP, FALSE, TRUE, FALSE, CSize(23 * 3 + 13, 22)},
        {"docked left, hidden buttons", CBRS_ALIGN_LEFT, FALSE, TRUE, FALSE, CSize(23 * 3, 22 + 13)},
        {"floating, customizable", CBRS_ALIGN_TOP | CBRS_FLOATING, TRUE, TRUE, FALSE, CSize(23 * 3, 22)},
        {"floating in a rebar", CBRS_ALIGN_TOP | CBRS_FLOATING, TRUE, FALSE, TRUE, CSize(23 * 3 + 13, 22)},
    };
    Make("BBB");
    for (const Case& c : cases) {
        m_bar.m_dwStyle = c.dwStyle;
        m_bar.m_bCustomizable = (BYTE)c.bCustomizable;
        m_bar.m_bInRebar = (BYTE)c.bInRebar;
        m_bar.m_mapHiddenForRoom.RemoveAll();
        if (c.bHidden)
            m_bar.m_mapHiddenForRoom.SetAt(5, 23);
        EXPECT_EQ(c.size, m_bar.CalcSize(m_buttons.data(), (int)m_buttons.size())) << c.pszName;
    }
}

TEST_F(ToolBarLayoutTest, CalcSizeOfRowsAndWrappedSeparators)
{
    Make("BBSBB");
    m_buttons[1].fsState |= TBSTATE_WRAP; // ends row 1 after the second button
    m_buttons[2].fsState |= TBSTATE_WRAP; // a separator alone in its row: 6 pixels of height
    EXPECT_EQ(CSize(46, 22 + 6 + 22), m_bar.CalcSize(m_buttons.data(), 5));
}

TEST_F(ToolBarLayoutTest, WrapToolBar)
{
    struct Case {
        const char* pszItems;
        int nWidth;
        int nRows;
        const char* pszWraps;
    } cases[] = {
        {"BBSBB", 60, 2, "2 "},     // at the separator of the row
        {"BBB", 50, 2, "1 "},       // no separator: after the previous button
        {"BCB", 130, 2, "0 "},      // never at a control separator
        {"BBB", 10, 3, "0 1 "},     // narrower than one button: one per row
        {"BHB", 50, 1, ""},         // hidden buttons take no room
        {"BBSBB", 32767, 1, ""},    // all in one row
        {"C", 10, 1, ""},           // nowhere to wrap: the row goes on
    };
    for (const Case& c : cases) {
        Make(c.pszItems);
        m_buttons[0].fsState |= TBSTATE_WRAP; // wraps of an earlier call are cleared
        EXPECT_EQ(c.nRows, m_bar.WrapToolBar(m_buttons.data(), (int)m_buttons.size(), c.nWidth))
            << c.pszItems << " " << c.nWidth;
        EXPECT_EQ(c.pszWraps, Wraps()) << c.pszItems << " " << c.nWidth;
    }
}

TEST_F(ToolBarLayoutTest, SizeToolBarBothWays)
{
    // horizontal: 100 pixels give two rows; the narrowest width with two rows is three buttons
    Make("BBBBBB");
    m_bar.SizeToolBar(m_buttons.data(), 6, 100, FALSE);
    EXPECT_EQ("2 ", Wraps());
    EXPECT_EQ(CSize(69, 44), m_bar.CalcSize(m_buttons.data(), 6));
    // vertical: a height of 50 holds two rows
    m_bar.SizeToolBar(m_buttons.data(), 6, 50, TRUE);
    EXPECT_EQ(CSize(69, 44), m_bar.CalcSize(m_buttons.data(), 6));
    // a height of 22: one row
    m_bar.SizeToolBar(m_buttons.data(), 6, 22, TRUE);
    EXPECT_EQ(CSize(138, 22), m_bar.CalcSize(m_buttons.data(), 6));
    // a width of 32767: one row; 0: one column
    m_bar.SizeToolBar(m_buttons.data(), 6, 32767, FALSE);
    EXPECT_EQ("", Wraps());
    m_bar.SizeToolBar(m_buttons.data(), 6, 0, FALSE);
    EXPECT_EQ("0 1 2 3 4 ", Wraps());
}

// ---- the real control --------------------------------------------------------------------------

class ToolBarTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_bFlat = tkAfxData.bFlatLook;
        m_bTips = tkAfxData.bToolBarTips;
        m_bAccelTips = tkAfxData.bToolBarAccelTips;
        tkAfxData.bFlatLook = TRUE;
        m_pFrame = new CToolFrame;
        ASSERT_TRUE(m_pFrame->Create(NULL, "Termine", WS_OVERLAPPEDWINDOW, CRect(40, 40, 640, 300), NULL,
                                     MAKEINTRESOURCE(IDR_MAINFRAME)));
        ASSERT_TRUE(m_bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), AFX_IDW_TOOLBAR));
        ASSERT_TRUE(m_bar.LoadToolBar(IDR_MAINFRAME));
        m_pFrame->EnableDocking(CBRS_ALIGN_ANY);
        m_bar.EnableDocking(CBRS_ALIGN_ANY);
        m_pFrame->DockControlBar(&m_bar);
        m_pFrame->ShowWindow(SW_SHOW);
        m_pFrame->RecalcLayout();
        tktest::RunToIdle();
    }
    void TearDown() override
    {
        CTkToolBar::SetShortcutTextSource(NULL);
        if (m_pFrame != NULL)
            m_pFrame->DestroyWindow();
        tkAfxData.bFlatLook = m_bFlat;
        tkAfxData.bToolBarTips = m_bTips;
        tkAfxData.bToolBarAccelTips = m_bAccelTips;
        tktest::RunToIdle();
    }
    int Visible()
    {
        int n = 0;
        for (int i = 0; i < m_bar.GetButtonCount(); i++)
            n += (m_bar.GetButtonStyle(i) & (TBSTATE_HIDDEN << 16)) ? 0 : 1;
        return n;
    }
    LRESULT Notify(NMHDR* pNMHDR)
    {
        pNMHDR->hwndFrom = m_bar.m_hWnd;
        pNMHDR->idFrom = AFX_IDW_TOOLBAR;
        // as the control tells its parent; the frame reflects it to the bar
        return m_pFrame->SendMessage(WM_NOTIFY, AFX_IDW_TOOLBAR, (LPARAM)pNMHDR);
    }

    CToolFrame* m_pFrame = NULL;
    CCountingBar m_bar;
    BOOL m_bFlat = TRUE, m_bTips = TRUE, m_bAccelTips = FALSE;
};

TEST_F(ToolBarTest, LoadToolBar128)
{
    EXPECT_EQ(14, m_bar.GetButtonCount());
    EXPECT_EQ(CSize(23, 25), m_bar.m_sizeButton);
    EXPECT_EQ(CSize(16, 18), m_bar.m_sizeImage);
    DWORD dwSize = (DWORD)m_bar.SendMessage(TB_GETBUTTONSIZE);
    EXPECT_EQ(23, LOWORD(dwSize));
    EXPECT_EQ(25, HIWORD(dwSize));
    EXPECT_EQ(6, ItemRect(m_bar, 2).Width()); // separators of a flat control
    EXPECT_EQ(23, ItemRect(m_bar, 0).Width());
    EXPECT_EQ((UINT)ID_GOTO_TODAY, m_bar.GetItemID(12));
    TBBUTTON b;
    m_bar.SendMessage(TB_GETBUTTON, 13, (LPARAM)&b);
    EXPECT_EQ(10, b.iBitmap); // the eleventh picture
    EXPECT_EQ(14, (int)m_bar.m_listButtons.GetCount());
    // the style the bar lent the control while loading is gone again
    EXPECT_EQ(0u, m_bar.GetStyle() & TBSTYLE_TRANSPARENT);
    {
        // the key and value of the saved layout: application key and profile name, bar id
        tktest::CTestApp app;
        app.UseTestRegistryKey();
        CTkToolBar bar;
        ASSERT_TRUE(bar.CreateEx(m_pFrame, TBSTYLE_FLAT, kProgramStyle, CRect(0, 0, 0, 0), 0xE801));
        EXPECT_EQ(CString(app.m_pszProfileName) + "-Bar59393", bar.m_strStateName);
        EXPECT_EQ("Software\\" + app.m_strKey + "\\" + app.m_pszProfileName + "\\Settings", bar.m_strStatePath);
        bar.DestroyWindow();
    }

    // light grey of the bitmap shows in the face colour (pixel 0,0 is the transparent grey)
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    HGDIOBJ hOld = ::SelectObject(dc.m_hDC, m_bar.m_hbmImageWell);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), dc.GetPixel(0, 0));
    ::SelectObject(dc.m_hDC, hOld);
}

TEST_F(ToolBarTest, BadAndEmptyResources)
{
    HBITMAP hbmBefore = m_bar.m_hbmImageWell;
    // a count beyond the resource's data: refused, the bar keeps what it had
    EXPECT_FALSE(m_bar.LoadToolBar(IDR_TOOLBAR_TRUNCATED));
    EXPECT_EQ(14, m_bar.GetButtonCount());
    EXPECT_EQ(hbmBefore, m_bar.m_hbmImageWell);
    EXPECT_FALSE(m_bar.LoadToolBar(4711)); // missing
    EXPECT_EQ(14, m_bar.GetButtonCount());
    // no items: no buttons, but the bitmap is loaded
    EXPECT_TRUE(m_bar.LoadToolBar(IDR_TOOLBAR_EMPTY));
    EXPECT_EQ(0, m_bar.GetButtonCount());
    EXPECT_NE((HBITMAP)NULL, m_bar.m_hbmImageWell);
    EXPECT_NE(hbmBefore, m_bar.m_hbmImageWell);
}

TEST_F(ToolBarTest, StyleWordAgainstTheControl)
{
    struct Case {
        const char* pszName;
        int nIndex;
        UINT nStyle;
    } cases[] = {
        {"checked", 6, 0x10000 | TBSTYLE_CHECK},
        {"pressed", 7, 0x20000},
        {"disabled", 8, 0x40000},
        {"hidden", 9, 0x80000},
        {"indeterminate", 10, 0x100000},
        {"wrapped", 3, 0x200000},
        {"enabled", 4, 0},
        {"control separator", 5, TBSTYLE_SEP},
    };
    for (const Case& c : cases) {
        m_bar.SetButtonStyle(c.nIndex, c.nStyle);
        EXPECT_EQ(c.nStyle, m_bar.GetButtonStyle(c.nIndex)) << c.pszName;
        TBBUTTON raw;
        ASSERT_TRUE(m_bar.SendMessage(TB_GETBUTTON, (WPARAM)c.nIndex, (LPARAM)&raw));
        EXPECT_EQ((BYTE)(HIWORD(c.nStyle) ^ TBSTATE_ENABLED), raw.fsState) << c.pszName;
        EXPECT_EQ((BYTE)LOWORD(c.nStyle), raw.fsStyle) << c.pszName;
        // the same word again leaves a clean layout clean
        m_bar.m_bLayoutPending = FALSE;
        m_bar.SetButtonStyle(c.nIndex, c.nStyle);
        EXPECT_FALSE(m_bar.m_bLayoutPending) << c.pszName;
        m_bar.SetButtonStyle(c.nIndex, c.nStyle ^ 0x40000);
        EXPECT_TRUE(m_bar.m_bLayoutPending) << c.pszName;
    }
}

TEST_F(ToolBarTest, AttachedComboOverItsSeparator)
{
    const UINT nComboID = 1003;
    m_bar.SetButtonInfo(5, nComboID, TBSTYLE_SEP, 6);
    m_bar.RebuildButtonList();
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, CRect(0, 0, 120, 200), &m_bar, nComboID));
    m_bar.AttachControl(&combo, FALSE);
    m_pFrame->RecalcLayout();
    tktest::RunToIdle();
    CRect rectItem = ItemRect(m_bar, 5);
    CRect rectCombo;
    combo.GetWindowRect(&rectCombo);
    m_bar.ScreenToClient(&rectCombo);
    EXPECT_TRUE(combo.IsWindowVisible());
    EXPECT_EQ(120, rectItem.Width()); // the separator took the control's width
    EXPECT_EQ(rectItem.left, rectCombo.left);
    ASSERT_LT(rectCombo.Height(), rectItem.Height());
    EXPECT_EQ(rectItem.top + (rectItem.Height() - rectCombo.Height()) / 2, rectCombo.top);
    // a new hidden bit hides it at once, without a layout
    m_bar.SetButtonStyle(5, m_bar.GetButtonStyle(5) | (TBSTATE_HIDDEN << 16));
    EXPECT_FALSE(combo.IsWindowVisible());
    m_bar.SetButtonStyle(5, m_bar.GetButtonStyle(5) & ~(TBSTATE_HIDDEN << 16));
    EXPECT_TRUE(combo.IsWindowVisible());
    combo.DestroyWindow();
}

TEST_F(ToolBarTest, FloatingBarNarrowerThanOneButton)
{
    m_bar.m_dwStyle |= CBRS_FLOATING | CBRS_SIZE_DYNAMIC;
    m_bar.m_nMRUWidth = 5;
    CSize size = m_bar.CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    CSize inset = m_bar.InsetSize(TRUE);
    EXPECT_EQ(23, size.cx - inset.cx);
    // eleven rows of one button, the three separators each add their width
    EXPECT_EQ(11 * 25 + 3 * 6, size.cy - inset.cy);
    int nTop = -1;
    for (int i = 0; i < 14; i++) {
        if (m_bar.GetButtonStyle(i) & TBSTYLE_SEP)
            continue;
        CRect rect = ItemRect(m_bar, i);
        EXPECT_EQ(0, rect.left) << i;
        EXPECT_GT(rect.top, nTop) << i;
        nTop = rect.top;
    }
}

TEST_F(ToolBarTest, HideAndShowButtonsForRoom)
{
    CSize sizeFull = m_bar.CalcFixedLayout(FALSE, TRUE);
    // no room for anything: every button but the first goes, the last visible one stays
    m_bar.HideButtonsForRoom(sizeFull.cx, 0, TRUE);
    EXPECT_EQ(1, Visible());
    EXPECT_EQ(13, (int)m_bar.m_mapHiddenForRoom.GetCount());
    int nWidth = 0;
    ASSERT_TRUE(m_bar.m_mapHiddenForRoom.Lookup(13, nWidth));
    EXPECT_EQ(23, nWidth);
    ASSERT_TRUE(m_bar.m_mapHiddenForRoom.Lookup(11, nWidth));
    EXPECT_EQ(6, nWidth);

    // room for the first buttons again: they come back in index order; button 7 does not fit,
    // and the walk stops there though separator 11 would fit
    CSize sizeOne = m_bar.CalcFixedLayout(FALSE, TRUE);
    int nAvail = sizeOne.cx + 23 + 6 + 23 + 23 + 6 + 23 + 10;
    int nResult = m_bar.ShowButtonsForRoom(sizeOne.cx, nAvail, TRUE);
    EXPECT_EQ(nAvail, nResult);
    for (int i = 0; i < 14; i++)
        EXPECT_EQ(i <= 6, !(m_bar.GetButtonStyle(i) & (TBSTATE_HIDDEN << 16))) << i;
    EXPECT_TRUE(m_bar.m_mapHiddenForRoom.Lookup(11, nWidth));
    EXPECT_LE(m_bar.CalcFixedLayout(FALSE, TRUE).cx, nAvail);

    // all the room: all back, the map empty, the full length answered
    nResult = m_bar.ShowButtonsForRoom(sizeOne.cx, 2000, TRUE);
    EXPECT_EQ(14, Visible());
    EXPECT_EQ(0, (int)m_bar.m_mapHiddenForRoom.GetCount());
    EXPECT_GE(nResult, sizeFull.cx);
    EXPECT_EQ(sizeFull, m_bar.CalcFixedLayout(FALSE, TRUE)); // no chevron room left

    // a bar that fits hides nothing
    m_bar.HideButtonsForRoom(sizeFull.cx, sizeFull.cx + 50, TRUE);
    EXPECT_EQ(14, Visible());
}

TEST_F(ToolBarTest, ChevronPlace)
{
    CTkExpButton* pChevron = m_bar.m_pExpButton;
    ASSERT_NE(nullptr, pChevron);
    EXPECT_EQ(TK_ID_CUSTOMIZE, pChevron->GetDlgCtrlID());
    EXPECT_EQ(0x4600800Bu, pChevron->GetStyle() & 0xFFFFFFFFu & ~WS_VISIBLE);
    EXPECT_FALSE(pChevron->IsWindowVisible()); // nothing hidden, not customizable
    m_bar.m_mapHiddenForRoom.SetAt(13, 23);
    auto left = [&]() {
        CRect rect;
        pChevron->GetWindowRect(&rect);
        m_bar.ScreenToClient(&rect);
        return rect.left;
    };
    CSize inset = m_bar.InsetSize(TRUE);
    m_bar.PositionExpandButton(200, TRUE);
    EXPECT_TRUE(pChevron->IsWindowVisible());
    EXPECT_EQ(200 - inset.cx - 12, left());
    // never over the first button
    m_bar.PositionExpandButton(5, TRUE);
    EXPECT_EQ(23, left());
    // in a rebar: 12 before the end, the insets not counted
    m_bar.m_bInRebar = 1;
    m_bar.PositionExpandButton(200, TRUE);
    EXPECT_EQ(188, left());
    m_bar.m_bInRebar = 0;
    m_bar.m_mapHiddenForRoom.RemoveAll();
    m_bar.PositionExpandButton(200, TRUE);
    EXPECT_FALSE(pChevron->IsWindowVisible());
}

TEST_F(ToolBarTest, TwoDeferredLayoutsMakeOne)
{
    tktest::RunToIdle();
    m_bar.m_nPositionControls = 0;
    m_bar.PostDeferredLayout();
    m_bar.PostDeferredLayout();
    tktest::RunToIdle();
    EXPECT_EQ(1, m_bar.m_nPositionControls);
    // an outdated number alone does nothing
    m_bar.SendMessage(TKWM_DEFERRED_LAYOUT, 0, (LPARAM)(m_bar.m_nLayoutSequence - 1));
    EXPECT_EQ(1, m_bar.m_nPositionControls);
}

TEST(ToolBarPressedListTest, SortedAndUnique)
{
    CTkToolBar bar;
    for (int n : {5, 2, 9, 5, 2, 7})
        bar.SetDropButtonPressed(n, TRUE);
    ASSERT_EQ(4, (int)bar.m_arrPressed.GetSize());
    EXPECT_EQ((std::vector<DWORD>{2, 5, 7, 9}),
              (std::vector<DWORD>(bar.m_arrPressed.GetData(), bar.m_arrPressed.GetData() + 4)));
    EXPECT_TRUE(bar.IsDropButtonPressed(7));
    EXPECT_FALSE(bar.IsDropButtonPressed(6));
    bar.SetDropButtonPressed(5, FALSE);
    bar.SetDropButtonPressed(4, FALSE);
    EXPECT_FALSE(bar.IsDropButtonPressed(5));
    EXPECT_EQ(3, (int)bar.m_arrPressed.GetSize());
    EXPECT_TRUE(bar.HasPressedDropButtons());
}

TEST_F(ToolBarTest, DropDownWithMenuRecord)
{
    TK_DROPDOWN* pRecord = m_bar.AddDropDownButton(ID_NEW_APPOINTMENT, TRUE);
    ASSERT_NE(nullptr, pRecord);
    pRecord->nMenuID = IDR_MAINFRAME;
    EXPECT_EQ(TBSTYLE_DROPDOWN, m_bar.GetButtonStyle(0) & TBSTYLE_DROPDOWN);
    CRect rectButton = ItemRect(m_bar, 0);
    m_bar.ClientToScreen(&rectButton);
    CRect rectPopup;
    bool bPressedWhileOpen = false;
    m_pFrame->m_onIdle = [&]() {
        HWND hPopup = NULL;
        while ((hPopup = ::FindWindowExA(NULL, hPopup, "#32768", NULL)) != NULL && !::IsWindowVisible(hPopup))
            ;
        if (hPopup == NULL)
            return;
        ::GetWindowRect(hPopup, &rectPopup);
        bPressedWhileOpen = m_bar.IsDropButtonPressed(0) != FALSE;
        // the last item of "&Datei": "&Beenden"
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_UP, 0);
        ::PostMessageA(hPopup, WM_KEYDOWN, VK_RETURN, 0);
    };
    m_pFrame->m_bAutoMenuEnable = FALSE; // "&Beenden" has no handler in this frame
    NMTOOLBARA nm;
    memset(&nm, 0, sizeof(nm));
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = ID_NEW_APPOINTMENT;
    Notify(&nm.hdr);
    tktest::RunToIdle();
    EXPECT_TRUE(bPressedWhileOpen);
    EXPECT_EQ(rectButton.left, rectPopup.left);
    EXPECT_GE(rectPopup.top, rectButton.bottom - 1);
    EXPECT_LE(rectPopup.top, rectButton.bottom + 2);
    EXPECT_EQ((std::vector<UINT>{ID_APP_EXIT}), m_pFrame->m_commands);
    EXPECT_FALSE(m_bar.HasPressedDropButtons());
    EXPECT_TRUE(::IsRectEmpty(&tkMenuState.rcTrackButton));
}

TEST_F(ToolBarTest, DropDownAsksTheOwner)
{
    NMTOOLBARA nm;
    memset(&nm, 0, sizeof(nm));
    nm.hdr.code = TBN_DROPDOWN;
    nm.iItem = ID_NEW_TASK;
    struct Case {
        const char* pszName;
        BOOL bRecord;
        LRESULT lAnswer;
        bool bPressedAfter;
    } cases[] = {
        {"record, answer 0", TRUE, 0, false},
        {"record, answer 1", TRUE, 1, true},
        {"style without record, answer 0", FALSE, 0, false},
        {"style without record, answer 1", FALSE, 1, true},
    };
    for (const Case& c : cases) {
        m_bar.RebuildButtonList();
        m_bar.SetDropButtonPressed(1, FALSE);
        if (c.bRecord)
            m_bar.AddDropDownButton(ID_NEW_TASK, FALSE);
        else
            m_bar.SetButtonStyle(1, m_bar.GetButtonStyle(1) | TBSTYLE_DROPDOWN);
        m_pFrame->m_nDropDowns = 0;
        m_pFrame->m_lDropDownAnswer = c.lAnswer;
        Notify(&nm.hdr);
        EXPECT_EQ(1, m_pFrame->m_nDropDowns) << c.pszName;
        EXPECT_EQ(c.bPressedAfter, m_bar.IsDropButtonPressed(1) != FALSE) << c.pszName;
        // a second press while it is held open does nothing
        Notify(&nm.hdr);
        EXPECT_EQ(c.bPressedAfter ? 1 : 2, m_pFrame->m_nDropDowns) << c.pszName;
    }
    m_bar.SetDropButtonPressed(1, FALSE);
}

TEST_F(ToolBarTest, GetButtonInfoTexts)
{
    m_bar.SetButtonText(12, "Heute");
    m_bar.RebuildButtonList();
    struct Case {
        int nIndex;
        LRESULT lResult;
        const char* pszText; // NULL: the buffer stays untouched
    } cases[] = {
        {0, TRUE, "Neuer Termin"},    // the part after the line break
        {3, TRUE, "Eintrag bearbeiten"}, // an empty tooltip part: the part before it
        {4, TRUE, NULL},              // no line break: no text
        {2, TRUE, NULL},              // a separator
        {12, TRUE, "Heute"},          // the button's own text
        {14, FALSE, NULL},            // beyond the list
    };
    for (const Case& c : cases) {
        char szBuffer[64];
        memset(szBuffer, 'x', sizeof(szBuffer));
        szBuffer[63] = 0;
        NMTOOLBARA nm;
        memset(&nm, 0, sizeof(nm));
        nm.hdr.code = TBN_GETBUTTONINFOA;
        nm.iItem = c.nIndex;
        nm.pszText = szBuffer;
        nm.cchText = 40;
        EXPECT_EQ(c.lResult, Notify(&nm.hdr)) << c.nIndex;
        if (c.pszText != NULL) {
            EXPECT_STREQ(c.pszText, szBuffer) << c.nIndex;
            EXPECT_EQ((int)strlen(c.pszText), nm.cchText) << c.nIndex;
        } else {
            EXPECT_EQ('x', szBuffer[0]) << c.nIndex;
        }
        if (c.lResult)
            EXPECT_EQ(m_bar.GetItemID(c.nIndex), (UINT)nm.tbButton.idCommand) << c.nIndex;
    }
    // a long text into a short buffer stays inside it, terminated
    char szShort[8];
    memset(szShort, '#', sizeof(szShort));
    NMTOOLBARA nm;
    memset(&nm, 0, sizeof(nm));
    nm.hdr.code = TBN_GETBUTTONINFOA;
    nm.iItem = 0;
    nm.pszText = szShort;
    nm.cchText = 5;
    EXPECT_TRUE(Notify(&nm.hdr));
    EXPECT_STREQ("Neue", szShort);
    EXPECT_EQ('#', szShort[5]);
    EXPECT_EQ('#', szShort[7]);
}

namespace {
void TwoShortcuts(UINT nCmd, CString& strText)
{
    if (nCmd == ID_NEW_APPOINTMENT)
        strText = "Ctrl+N, Alt+N";
}
} // namespace

TEST_F(ToolBarTest, Tooltips)
{
    tktest::CTestApp app; // the program's resources for the frame's tooltip texts
    CPoint pt = ItemRect(m_bar, 0).CenterPoint();
    TOOLINFO ti;
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    tkAfxData.bToolBarTips = FALSE;
    EXPECT_EQ(-1, m_bar.OnToolHitTest(pt, &ti));
    tkAfxData.bToolBarTips = TRUE;
    tkAfxData.bToolBarAccelTips = FALSE;
    EXPECT_EQ(ID_NEW_APPOINTMENT, (int)m_bar.OnToolHitTest(pt, &ti));
    EXPECT_EQ(m_bar.m_hWnd, ti.hwnd);
    EXPECT_EQ((UINT_PTR)ID_NEW_APPOINTMENT, ti.uId);
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText);
    // the frame answers the tooltip's request with the command's second part
    NMTTDISPINFOA info;
    memset(&info, 0, sizeof(info));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(m_pFrame));
    info.hdr.hwndFrom = tip.m_hWnd;
    info.hdr.idFrom = ID_NEW_APPOINTMENT;
    info.hdr.code = TTN_NEEDTEXTA;
    m_pFrame->SendMessage(WM_NOTIFY, ID_NEW_APPOINTMENT, (LPARAM)&info);
    std::string strTip = info.lpszText != NULL && info.lpszText != info.szText ? info.lpszText : info.szText;
    EXPECT_EQ("Neuer Termin", strTip);

    // shortcut keys: the first one only
    tkAfxData.bToolBarAccelTips = TRUE;
    CTkToolBar::SetShortcutTextSource(TwoShortcuts);
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    EXPECT_EQ(ID_NEW_APPOINTMENT, (int)m_bar.OnToolHitTest(pt, &ti));
    ASSERT_NE(LPSTR_TEXTCALLBACKA, ti.lpszText);
    EXPECT_STREQ("Neuer Termin (Ctrl+N)", ti.lpszText);
    // by default the accelerator manager answers, and only while it serves a frame
    CTkToolBar::SetShortcutTextSource(NULL);
    CTkAccelManager* pManager = CTkAccelManager::Instance();
    const int nCount = pManager->m_nCount;
    ASSERT_TRUE(pManager->AddAccelerator(ID_NEW_APPOINTMENT, FVIRTKEY | FCONTROL | FSHIFT, 'T'));
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    EXPECT_EQ(ID_NEW_APPOINTMENT, (int)m_bar.OnToolHitTest(pt, &ti));
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText) << "an inactive manager gives no text";
    const BYTE bActive = pManager->m_bActive;
    pManager->m_bActive = 1;
    memset(&ti, 0, sizeof(ti));
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    EXPECT_EQ(ID_NEW_APPOINTMENT, (int)m_bar.OnToolHitTest(pt, &ti));
    EXPECT_STREQ("Neuer Termin (Ctrl+Shift+T)", ti.lpszText != LPSTR_TEXTCALLBACKA ? ti.lpszText : "");
    pManager->m_bActive = bActive;
    pManager->m_nCount = nCount;
    CTkToolBar::SetShortcutTextSource(TwoShortcuts);
    // a command without shortcut keeps the callback
    CPoint pt2 = ItemRect(m_bar, 1).CenterPoint();
    EXPECT_EQ(ID_NEW_TASK, (int)m_bar.OnToolHitTest(pt2, &ti));
    EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText);
    // a separator is no tool; a record too small is not written
    EXPECT_EQ(-1, m_bar.OnToolHitTest(ItemRect(m_bar, 2).CenterPoint(), &ti));
    TOOLINFO small;
    memset(&small, 0, sizeof(small));
    small.cbSize = TTTOOLINFOA_V1_SIZE - 1;
    EXPECT_EQ(ID_NEW_APPOINTMENT, (int)m_bar.OnToolHitTest(pt, &small));
    EXPECT_EQ(NULL, small.hwnd);
}

TEST_F(ToolBarTest, CommandUpdates)
{
    m_bar.OnUpdateCmdUI(m_pFrame, TRUE);
    // a handler enables and checks; a command handler enables; no handler disables
    EXPECT_EQ((UINT)(0x10000 | TBSTYLE_CHECK), m_bar.GetButtonStyle(6)); // ID_VIEW_DAY
    EXPECT_EQ(0u, m_bar.GetButtonStyle(0));                              // ID_NEW_APPOINTMENT
    EXPECT_EQ(0x40000u, m_bar.GetButtonStyle(13));                       // ID_REFRESH
    EXPECT_EQ((UINT)TBSTYLE_SEP, m_bar.GetButtonStyle(2));              // separators untouched
    // a disabled pressed button loses the pressed bit
    m_bar.SetButtonStyle(13, 0x20000);
    m_bar.OnUpdateCmdUI(m_pFrame, TRUE);
    EXPECT_EQ(0x40000u, m_bar.GetButtonStyle(13));
    // a whole-drop-down button stays enabled
    m_bar.SetButtonStyle(13, BTNS_WHOLEDROPDOWN);
    m_bar.OnUpdateCmdUI(m_pFrame, TRUE);
    EXPECT_EQ((UINT)BTNS_WHOLEDROPDOWN, m_bar.GetButtonStyle(13));

    // the bar's reflected handler goes first: the frame's is not asked
    m_bar.m_bReflectedDisables = TRUE;
    m_pFrame->m_nDayUpdates = 0;
    m_bar.OnUpdateCmdUI(m_pFrame, TRUE);
    EXPECT_EQ(1, m_bar.m_nReflectedUpdates);
    EXPECT_EQ(0, m_pFrame->m_nDayUpdates);
    EXPECT_EQ(0x40000u, m_bar.GetButtonStyle(6) & 0x40000);
    // the frame has handlers for the bar's commands; a plain window has none
    EXPECT_TRUE(m_bar.IsUpdateTarget(m_pFrame));
    EXPECT_FALSE(m_bar.IsUpdateTarget(&m_bar));
}

TEST_F(ToolBarTest, NotificationAnswers)
{
    NMTOOLBARA nm;
    memset(&nm, 0, sizeof(nm));
    nm.hdr.code = TBN_QUERYDELETE;
    nm.tbButton.fsState = TBSTATE_HIDDEN;
    nm.tbButton.idCommand = 0; // a hidden separator
    EXPECT_TRUE(Notify(&nm.hdr));
    nm.tbButton.idCommand = ID_NEW_TASK;
    EXPECT_FALSE(Notify(&nm.hdr));
    nm.tbButton.fsState = TBSTATE_ENABLED;
    EXPECT_TRUE(Notify(&nm.hdr));
    nm.hdr.code = TBN_QUERYINSERT;
    EXPECT_TRUE(Notify(&nm.hdr));

    // adjusting: buttons hidden for room come back, hiding waits until the end
    m_bar.HideButtonsForRoom(400, 0, TRUE);
    ASSERT_EQ(1, Visible());
    nm.hdr.code = TBN_BEGINADJUST;
    Notify(&nm.hdr);
    EXPECT_EQ(14, Visible());
    EXPECT_EQ(400, m_bar.HideButtonsForRoom(400, 0, TRUE));
    EXPECT_EQ(14, Visible());
    nm.hdr.code = TBN_ENDADJUST;
    Notify(&nm.hdr);
    EXPECT_FALSE(m_bar.m_bAdjusting);

    // help goes through the toolkit's box function
    static std::string s_strBox;
    s_strBox.clear();
    TK_MESSAGEBOX_HOOK pfnOld = TkSetMessageBoxHook([](HWND, LPCSTR pszText, LPCSTR, UINT nType) -> int {
        s_strBox = pszText;
        EXPECT_EQ((UINT)MB_ICONINFORMATION, nType & MB_ICONMASK);
        return IDOK;
    });
    nm.hdr.code = TBN_CUSTHELP;
    Notify(&nm.hdr);
    TkSetMessageBoxHook(pfnOld);
    EXPECT_EQ("Help not implemented!", s_strBox);
}
