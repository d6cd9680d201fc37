// Toolbars: the toolbar resource (type 241) and its damaged forms, the sizes the bar answers for
// the layout modes (LM_...), the buttons' state from the frame's update handlers, the tools under
// the mouse, clicks reaching the frame and tooltip texts asked of the frame.
#include <gtest/gtest.h>

#include <string.h>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::CDockFrame;
using framestest::RunToIdle;

namespace {

const int kGripper = 7;
const int kBorder = 2;
const int kSeparator = 6; // a flat toolbar's separator

class ToolBarTest : public docktest::DockingTest {
protected:
    void SetUp() override
    {
        m_pFrame = MakeFrame();
        ASSERT_NE(nullptr, m_pFrame);
        m_bw = m_pFrame->m_wndToolBar.m_sizeButton.cx;
        m_bh = m_pFrame->m_wndToolBar.m_sizeButton.cy;
    }
    CToolBar& Bar() { return m_pFrame->m_wndToolBar; }
    CPoint ButtonCentre(UINT nID)
    {
        CRect rect;
        Bar().GetItemRect(Bar().CommandToIndex(nID), &rect);
        return rect.CenterPoint();
    }

    CDockFrame* m_pFrame = nullptr;
    int m_bw = 0;
    int m_bh = 0;
};

} // namespace

TEST_F(ToolBarTest, TheResourceGivesButtonsImagesAndSizes)
{
    CToolBar& bar = Bar();
    ASSERT_EQ(10, bar.GetCount());
    EXPECT_EQ(CSize(16, 15), bar.m_sizeImage);
    EXPECT_EQ(CSize(23, 22), bar.m_sizeButton) << "seven pixels more than the images";
    struct Case {
        UINT nID;
        UINT nStyle; // the style part of GetButtonStyle
        int iImage;  // images in order, separators have a width
    } const cases[] = {
        {ID_TB_NEW, TBBS_BUTTON, 0},  {ID_TB_OPEN, TBBS_BUTTON, 1},  {ID_TB_SAVE, TBBS_BUTTON, 2},
        {0, TBBS_SEPARATOR, kSeparator}, {ID_TB_CUT, TBBS_BUTTON, 3}, {ID_TB_COPY, TBBS_BUTTON, 4},
        {ID_TB_PASTE, TBBS_BUTTON, 5}, {0, TBBS_SEPARATOR, kSeparator},
        {ID_TB_BOLD, TBBS_CHECKBOX, 6}, // its update handler checks it: a check box
        {ID_TB_ITALIC, TBBS_BUTTON, 7},
    };
    for (int i = 0; i < 10; i++) {
        UINT nID = 0;
        UINT nStyle = 0;
        int iImage = -1;
        bar.GetButtonInfo(i, nID, nStyle, iImage);
        EXPECT_EQ(cases[i].nID, nID) << i;
        EXPECT_EQ(cases[i].nID, bar.GetItemID(i)) << i;
        EXPECT_EQ(cases[i].nStyle, LOWORD(nStyle) & (TBSTYLE_SEP | TBSTYLE_CHECK)) << i;
        EXPECT_EQ(cases[i].iImage, iImage) << i;
    }
    EXPECT_EQ(4, bar.CommandToIndex(ID_TB_CUT));
    EXPECT_EQ(-1, bar.CommandToIndex(0x8199));
    // asking out of range answers nothing and changes nothing
    EXPECT_EQ(0u, bar.GetButtonStyle(99));
    bar.SetButtonStyle(99, TBBS_CHECKED);
    EXPECT_EQ(10, (int)bar.GetToolBarCtrl().GetButtonCount());
}

TEST_F(ToolBarTest, ADamagedResourceLoadsNothing)
{
    CToolBar bar;
    ASSERT_TRUE(bar.CreateEx(m_pFrame, TBSTYLE_FLAT, WS_CHILD | CBRS_TOP, CRect(0, 0, 0, 0), 0xE8A0));
    ASSERT_TRUE(bar.LoadToolBar(IDR_DOCK_TOOLBAR2));
    ASSERT_EQ(5, bar.GetCount());
    struct Case {
        UINT nIDResource;
        const char* pszWhat;
        int nButtonsAfter; // a refused resource leaves the bar's buttons as they were
    } const cases[] = {
        {IDR_BAD_VERSION, "version 2", 5},
        {IDR_BAD_COUNT, "ten ids counted, two there", 5},
        {999, "no such resource", 5},
        {IDR_NO_BITMAP, "no bitmap of that name", 2},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(bar.LoadToolBar(c.nIDResource)) << c.pszWhat;
        EXPECT_EQ(c.nButtonsAfter, bar.GetToolBarCtrl().GetButtonCount()) << c.pszWhat;
    }
    // a bar without a window loads nothing
    CToolBar barWithoutWindow;
    EXPECT_FALSE(barWithoutWindow.LoadToolBar(IDR_DOCK_TOOLBAR));
}

TEST_F(ToolBarTest, TheLayoutModesGiveTheBarsShapes)
{
    // The bar is docked at the top (gripper at its left). Its buttons: 8 buttons and 2
    // separators, 10 in all; 3 buttons fit into a row of 3 button widths.
    const int nRowWidth = 8 * m_bw + 2 * kSeparator;
    struct Case {
        const char* pszWhat;
        int nLength;
        DWORD dwMode;
        UINT nMRUWidth;
        CSize size;
    } const cases[] = {
        {"docked at the top", -1, LM_HORZ | LM_HORZDOCK, 32767, CSize(nRowWidth + kGripper + 2 * kBorder, m_bh + 2 * kBorder)},
        {"stretched", -1, LM_STRETCH | LM_HORZ | LM_HORZDOCK, 32767, CSize(32767, m_bh + 2 * kBorder)},
        {"fixed layout", -1, LM_HORZ, 32767, CSize(nRowWidth + kGripper + 2 * kBorder, m_bh + 2 * kBorder)},
        // one button a row; a separator that ends a row adds its width below it
        {"docked at a side", -1, LM_VERTDOCK, 32767, CSize(m_bw + 2 * kBorder, 8 * m_bh + 2 * kSeparator + kGripper + 2 * kBorder)},
        // rows of three buttons, wrapped after the separators
        {"the width it floated with", 0, LM_HORZ | LM_MRUWIDTH, (UINT)(3 * m_bw),
         CSize(3 * m_bw + kGripper + 2 * kBorder, 3 * m_bh + 2 * kSeparator + 2 * kBorder)},
        {"an MRU width narrower than a button", 0, LM_HORZ | LM_MRUWIDTH, 5,
         CSize(m_bw + kGripper + 2 * kBorder, 8 * m_bh + 2 * kSeparator + 2 * kBorder)},
        {"a width", 3 * m_bw + kGripper + 2 * kBorder, LM_HORZ, 32767,
         CSize(3 * m_bw + kGripper + 2 * kBorder, 3 * m_bh + 2 * kSeparator + 2 * kBorder)},
        {"a height that holds one row", m_bh + 2 * kBorder + 5, LM_HORZ | LM_LENGTHY, 32767,
         CSize(nRowWidth + kGripper + 2 * kBorder, m_bh + 2 * kBorder)},
        {"a height that holds every row", 1000, LM_HORZ | LM_LENGTHY, 32767,
         CSize(m_bw + kGripper + 2 * kBorder, 8 * m_bh + 2 * kSeparator + 2 * kBorder)},
    };
    CToolBar& bar = Bar();
    for (const Case& c : cases) {
        bar.m_nMRUWidth = c.nMRUWidth;
        EXPECT_EQ(c.size, bar.CalcDynamicLayout(c.nLength, c.dwMode)) << c.pszWhat;
    }
    bar.m_nMRUWidth = 32767;
    EXPECT_EQ(cases[0].size, bar.CalcFixedLayout(FALSE, TRUE));

    // Only a commit gives the control its rows: the button after a wrap starts a row.
    bar.m_nMRUWidth = (UINT)(3 * m_bw);
    bar.CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    EXPECT_FALSE(bar.GetButtonStyle(3) & TBBS_WRAPPED);
    bar.CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    EXPECT_TRUE(bar.GetButtonStyle(3) & TBBS_WRAPPED) << "after the first separator";
    EXPECT_TRUE(bar.GetButtonStyle(7) & TBBS_WRAPPED);
    // a change of the bar's style brings the docked layout back at the next painting
    bar.m_nMRUWidth = 32767;
    bar.SetBarStyle(bar.GetBarStyle() ^ CBRS_FLYBY);
    bar.Invalidate();
    bar.UpdateWindow();
    EXPECT_FALSE(bar.GetButtonStyle(3) & TBBS_WRAPPED);
    bar.SetBarStyle(bar.GetBarStyle() ^ CBRS_FLYBY);
}

TEST_F(ToolBarTest, IdleTimeSetsTheButtonsFromTheFramesHandlers)
{
    CToolBarCtrl& ctrl = Bar().GetToolBarCtrl();
    struct Case {
        BOOL bCanSave;
        BOOL bBold;
    } const cases[] = {{TRUE, FALSE}, {FALSE, TRUE}, {TRUE, FALSE}};
    for (const Case& c : cases) {
        m_pFrame->m_bCanSave = c.bCanSave;
        m_pFrame->m_bBold = c.bBold;
        // the next idle time (a message first, as the loop sees one)
        m_pFrame->PostMessage(WM_NULL);
        RunToIdle();
        EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TB_NEW)) << "a command handler";
        EXPECT_EQ(c.bCanSave, ctrl.IsButtonEnabled(ID_TB_SAVE) != 0) << "an update handler";
        EXPECT_FALSE(ctrl.IsButtonEnabled(ID_TB_COPY)) << "no handler";
        EXPECT_EQ(c.bBold, ctrl.IsButtonChecked(ID_TB_BOLD) != 0);
        EXPECT_EQ(c.bBold, (Bar().GetButtonStyle(Bar().CommandToIndex(ID_TB_BOLD)) & TBBS_CHECKED) != 0);
        EXPECT_EQ(!c.bCanSave, (Bar().GetButtonStyle(Bar().CommandToIndex(ID_TB_SAVE)) & TBBS_DISABLED) != 0)
            << "the bar's disabled bit is the control's enabled bit turned round";
    }
    // a hidden bar is not updated
    m_pFrame->ShowControlBar(&Bar(), FALSE, FALSE);
    m_pFrame->m_bCanSave = FALSE;
    m_pFrame->PostMessage(WM_NULL);
    RunToIdle();
    EXPECT_TRUE(ctrl.IsButtonEnabled(ID_TB_SAVE));
}

TEST_F(ToolBarTest, ToolsUnderTheMouse)
{
    CToolBar& bar = Bar();
    CRect rectSep;
    bar.GetItemRect(3, &rectSep);
    struct Case {
        const char* pszWhere;
        CPoint pt;
        INT_PTR nHit;
    } const cases[] = {
        {"a button", ButtonCentre(ID_TB_OPEN), ID_TB_OPEN},
        {"a disabled button", ButtonCentre(ID_TB_COPY), ID_TB_COPY},
        {"a separator", rectSep.CenterPoint(), -1},
        {"the gripper", CPoint(-5, 10), -1},
        {"beyond the last button", CPoint(2000, 10), -1},
    };
    for (const Case& c : cases) {
        TOOLINFO ti;
        memset(&ti, 0, sizeof(ti));
        ti.cbSize = sizeof(ti);
        EXPECT_EQ(c.nHit, bar.OnToolHitTest(c.pt, &ti)) << c.pszWhere;
        EXPECT_EQ(c.nHit, bar.OnToolHitTest(c.pt, NULL)) << c.pszWhere;
        if (c.nHit != -1) {
            EXPECT_EQ(bar.m_hWnd, ti.hwnd);
            EXPECT_EQ((UINT_PTR)c.nHit, ti.uId);
            EXPECT_EQ(LPSTR_TEXTCALLBACKA, ti.lpszText);
        }
    }
}

TEST_F(ToolBarTest, ClicksAndTipsGoToTheFrame)
{
    // A press on a button shows its prompt in the status line at once; the release runs the
    // command in the frame and the idle prompt comes back.
    CPoint pt = ButtonCentre(ID_TB_NEW);
    Bar().PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    RunToIdle();
    EXPECT_EQ(CString("Legt ein neues Dokument an"), m_pFrame->m_wndStatusBar.GetPaneText(0));
    Bar().PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    RunToIdle();
    EXPECT_EQ(1, m_pFrame->m_nNewCommands);
    EXPECT_EQ(CString("Bereit"), m_pFrame->m_wndStatusBar.GetPaneText(0));
    EXPECT_EQ(nullptr, ::GetCapture());

    // the tooltip's text is the second part of the command's string, given by the frame; a
    // command without a string gets an empty one
    struct Case {
        UINT nID;
        const char* pszText;
    } const cases[] = {{ID_TB_NEW, "Neu"}, {ID_TB_PASTE, "Einfügen"}, {0x8199, ""}};
    for (const Case& c : cases) {
        TOOLTIPTEXTA ttt;
        memset(&ttt, 0, sizeof(ttt));
        ttt.hdr.hwndFrom = Bar().m_hWnd;
        ttt.hdr.idFrom = c.nID;
        ttt.hdr.code = TTN_NEEDTEXTA;
        Bar().SendMessage(WM_NOTIFY, c.nID, (LPARAM)&ttt);
        EXPECT_STREQ(c.pszText, ttt.lpszText != NULL ? ttt.lpszText : "") << c.nID;
    }
}
