// Dialog bars and rebars: a dialog bar made from its template with the strings of its
// initialisation data (a damaged one refused), its sizes, its controls enabled by the frame's
// handlers and sending their commands to the frame; a rebar whose bands hold bars, as high as
// its visible bands, a band hidden with its bar.
#include <gtest/gtest.h>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::CDockFrame;
using framestest::RunToIdle;

namespace {

// A bar aligned at the top draws a two-pixel line along its top.
const int kTopLine = 2;

class DialogBarTest : public docktest::DockingTest {
protected:
    void MakeFrame(BOOL bDocking)
    {
        docktest::FrameSetup setup;
        setup.bDocking = bDocking;
        m_pFrame = DockingTest::MakeFrame(setup);
        ASSERT_NE(nullptr, m_pFrame);
    }

    CDockFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(DialogBarTest, TheTemplateMakesTheBar)
{
    MakeFrame(TRUE);
    CDialogBar& bar = m_pFrame->m_wndDialogBar;
    EXPECT_EQ(AFX_IDW_DIALOGBAR, bar.GetDlgCtrlID());
    EXPECT_TRUE(bar.GetStyle() & WS_CLIPSIBLINGS);
    // the strings of the initialisation data
    CComboBox* pCombo = (CComboBox*)bar.GetDlgItem(IDC_BAR_COMBO);
    ASSERT_NE(nullptr, pCombo);
    ASSERT_EQ(2, pCombo->GetCount());
    CString strItem;
    pCombo->GetLBText(0, strItem);
    EXPECT_EQ(CString("Woche"), strItem) << "in the order of the data";
    pCombo->GetLBText(1, strItem);
    EXPECT_EQ(CString("Monat"), strItem);

    // the template's size, stretched over the frame's width (height) when asked to
    CSize size = bar.m_sizeDefault;
    EXPECT_GT(size.cx, 300);
    EXPECT_GT(size.cy, 20);
    EXPECT_EQ(size, bar.CalcFixedLayout(FALSE, TRUE));
    EXPECT_EQ(CSize(32767, size.cy), bar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(CSize(size.cx, 32767), bar.CalcFixedLayout(TRUE, FALSE));

    // its buttons: enabled by a command handler of the frame, disabled without one; a click
    // reaches the frame
    RunToIdle();
    EXPECT_TRUE(bar.GetDlgItem(IDC_BAR_APPLY)->IsWindowEnabled());
    EXPECT_FALSE(bar.GetDlgItem(IDC_BAR_NOBODY)->IsWindowEnabled());
    bar.GetDlgItem(IDC_BAR_APPLY)->SendMessage(BM_CLICK);
    RunToIdle();
    EXPECT_EQ(1, m_pFrame->m_nApplyCommands);
}

TEST_F(DialogBarTest, DamagedInitialisationDataMakeNoBar)
{
    MakeFrame(TRUE);
    struct Case {
        UINT nIDTemplate;
        const char* pszWhat;
    } const cases[] = {
        {IDD_BAD_LENGTH, "a record longer than the data"},
        {IDD_NO_TERMINATOR, "no terminator, a text without its end"},
        {999, "no template"},
    };
    for (const Case& c : cases) {
        {
            CDialogBar bar;
            EXPECT_FALSE(bar.Create(m_pFrame, c.nIDTemplate, WS_CHILD | WS_VISIBLE | CBRS_TOP, 0xE8A1)) << c.pszWhat;
        }
        // nothing of it stays with the frame
        EXPECT_EQ(nullptr, m_pFrame->GetControlBar(0xE8A1)) << c.pszWhat;
        EXPECT_EQ(nullptr, m_pFrame->GetDlgItem(0xE8A1)) << c.pszWhat;
    }
}

TEST_F(DialogBarTest, ARebarIsAsHighAsItsVisibleBands)
{
    MakeFrame(FALSE);
    CReBar rebar;
    ASSERT_TRUE(rebar.Create(m_pFrame));
    ASSERT_TRUE(rebar.AddBar(&m_pFrame->m_wndToolBar2));
    ASSERT_TRUE(rebar.AddBar(&m_pFrame->m_wndDialogBar, "Auswahl", NULL, RBBS_GRIPPERALWAYS | RBBS_BREAK));
    CReBarCtrl& ctrl = rebar.GetReBarCtrl();
    ASSERT_EQ(2u, ctrl.GetBandCount());
    EXPECT_EQ(rebar.m_hWnd, ::GetParent(m_pFrame->m_wndDialogBar.m_hWnd)) << "the band holds the bar";
    m_pFrame->RecalcLayout();
    int cyTwoRows = (int)ctrl.GetBarHeight();
    EXPECT_EQ(CSize(32767, cyTwoRows + kTopLine), rebar.CalcFixedLayout(TRUE, TRUE));
    EXPECT_EQ(cyTwoRows + kTopLine, docktest::RectIn(&rebar, m_pFrame).Height());
    framestest::SaveScreenshot(m_pFrame, "docking_rebar");

    // the dialog bar hidden: its band hides at the next layout, the rebar shrinks
    m_pFrame->ShowControlBar(&m_pFrame->m_wndDialogBar, FALSE, FALSE);
    REBARBANDINFOA band;
    memset(&band, 0, sizeof(band));
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_STYLE;
    ASSERT_TRUE(ctrl.GetBandInfo(1, &band));
    EXPECT_TRUE(band.fStyle & RBBS_HIDDEN);
    EXPECT_LT((int)ctrl.GetBarHeight(), cyTwoRows);
    EXPECT_EQ((int)ctrl.GetBarHeight() + kTopLine, docktest::RectIn(&rebar, m_pFrame).Height());
    // the band shown again shows its bar
    rebar.SendMessage(RB_SHOWBAND, 1, TRUE);
    EXPECT_TRUE(m_pFrame->m_wndDialogBar.IsWindowVisible());
    m_pFrame->RecalcLayout();
    EXPECT_EQ(cyTwoRows + kTopLine, docktest::RectIn(&rebar, m_pFrame).Height());
}
