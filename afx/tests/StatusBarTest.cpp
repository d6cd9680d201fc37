// Status bars: the panes of the indicators (the message pane stretched over what the others
// leave), their texts, the key-state indicators updated at idle time, the window text that is
// the message pane's (also read into a small buffer), and the fly-by texts of a toolbar's buttons
// under the resting mouse.
#include <gtest/gtest.h>

#include <string.h>

#include "DockingTestSupport.h"
#include "DockingTestResource.h"

using docktest::CDockFrame;
using framestest::RunToIdle;

namespace {

class StatusBarTest : public docktest::DockingTest {
protected:
    void SetUp() override
    {
        m_pFrame = MakeFrame();
        ASSERT_NE(nullptr, m_pFrame);
    }
    CStatusBar& Bar() { return m_pFrame->m_wndStatusBar; }
    // The text the control shows in the pane.
    CString ShownText(int nIndex)
    {
        char szText[256] = "";
        Bar().DefWindowProc(SB_GETTEXTA, (WPARAM)nIndex, (LPARAM)szText);
        return szText;
    }
    CRect PaneRect(int nIndex)
    {
        CRect rect;
        Bar().GetItemRect(nIndex, &rect);
        return rect;
    }

    CDockFrame* m_pFrame = nullptr;
};

} // namespace

TEST_F(StatusBarTest, TheMessagePaneTakesWhatTheIndicatorsLeave)
{
    CStatusBar& bar = Bar();
    ASSERT_EQ(4, bar.GetCount());
    struct Case {
        UINT nID;
        const char* pszText;
        UINT nStyle;
    } const cases[] = {
        {ID_SEPARATOR, "Bereit", SBPS_STRETCH | SBPS_NOBORDERS},
        {ID_INDICATOR_CAPS, "UF", 0},
        {ID_INDICATOR_NUM, "NUM", 0},
        {ID_INDICATOR_SCRL, "RF", 0},
    };
    HDC hDC = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hDC, (HFONT)bar.SendMessage(WM_GETFONT));
    std::vector<int> widths;
    for (int i = 0; i < 4; i++) {
        UINT nID = 0;
        UINT nStyle = 0;
        int cxWidth = 0;
        bar.GetPaneInfo(i, nID, nStyle, cxWidth);
        widths.push_back(cxWidth);
        EXPECT_EQ(cases[i].nID, nID) << i;
        EXPECT_EQ(cases[i].nID, bar.GetItemID(i)) << i;
        EXPECT_EQ(i, bar.CommandToIndex(cases[i].nID));
        EXPECT_EQ(CString(cases[i].pszText), bar.GetPaneText(i)) << i;
        EXPECT_EQ(cases[i].nStyle, nStyle & ~SBPS_DISABLED) << i;
        if (i > 0) {
            // an indicator is as wide as its text
            SIZE size;
            ::GetTextExtentPoint32A(hDC, cases[i].pszText, (int)strlen(cases[i].pszText), &size);
            EXPECT_EQ(size.cx, cxWidth) << i;
        }
    }
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(NULL, hDC);
    EXPECT_EQ(-1, bar.CommandToIndex(0x8199));

    // The panes lie in order; the message pane grows with the bar, the indicators keep their
    // widths.
    std::vector<CRect> before;
    for (int i = 0; i < 4; i++)
        before.push_back(PaneRect(i));
    for (int i = 1; i < 4; i++)
        EXPECT_LE(before[(size_t)i - 1].right, before[(size_t)i].left) << i;
    framestest::SetClientSize(m_pFrame, 720, 420);
    RunToIdle();
    for (int i = 0; i < 4; i++) {
        CRect rect = PaneRect(i);
        if (i == 0)
            EXPECT_EQ(before[0].Width() + 100, rect.Width());
        else
            EXPECT_EQ(before[(size_t)i].Width(), rect.Width()) << i;
    }
    // a wider indicator takes its room from the message pane
    bar.SetPaneInfo(2, ID_INDICATOR_NUM, 0, widths[2] + 30);
    EXPECT_EQ(before[2].Width() + 30, PaneRect(2).Width());
    EXPECT_EQ(before[0].Width() + 100 - 30, PaneRect(0).Width());
    framestest::SaveScreenshot(m_pFrame, "docking_status_bar");

    // an indicator without its string is refused
    static const UINT badIndicators[] = {ID_SEPARATOR, 0x8199};
    EXPECT_FALSE(bar.SetIndicators(badIndicators, 2));
}

TEST_F(StatusBarTest, PaneTextsAndTheWindowText)
{
    CStatusBar& bar = Bar();
    // a pane's text reaches the control at once, or (bUpdate FALSE) at the next painting
    EXPECT_TRUE(bar.SetPaneText(0, "Sofort"));
    EXPECT_EQ(CString("Sofort"), ShownText(0));
    EXPECT_TRUE(bar.SetPaneText(0, "Später", FALSE));
    EXPECT_EQ(CString("Später"), bar.GetPaneText(0));
    EXPECT_EQ(CString("Sofort"), ShownText(0));
    bar.Invalidate();
    bar.UpdateWindow();
    EXPECT_EQ(CString("Später"), ShownText(0));
    // a pane that does not exist
    EXPECT_FALSE(bar.SetPaneText(4, "x"));
    EXPECT_FALSE(bar.SetPaneText(-1, "x"));
    EXPECT_EQ(CString(), bar.GetPaneText(7));
    CRect rect(1, 2, 3, 4);
    bar.GetItemRect(9, &rect);
    EXPECT_TRUE(rect.IsRectEmpty());

    // The frame's status line is the message pane: the bar's window text.
    m_pFrame->SetMessageText("Hallo Welt");
    EXPECT_EQ(CString("Hallo Welt"), bar.GetPaneText(0));
    EXPECT_EQ(10, bar.GetWindowTextLength());
    CString strText;
    bar.GetWindowText(strText);
    EXPECT_EQ(CString("Hallo Welt"), strText);
    // A buffer smaller than the text gets what fits and its terminator, nothing beyond.
    struct Case {
        int nBuffer;
        const char* pszExpected;
    } const cases[] = {{1, ""}, {4, "Hal"}, {10, "Hallo Wel"}, {11, "Hallo Welt"}, {40, "Hallo Welt"}};
    for (const Case& c : cases) {
        char buffer[48];
        memset(buffer, '#', sizeof(buffer));
        LRESULT nCopied = bar.SendMessage(WM_GETTEXT, (WPARAM)c.nBuffer, (LPARAM)buffer);
        EXPECT_STREQ(c.pszExpected, buffer) << c.nBuffer;
        EXPECT_EQ((LRESULT)strlen(c.pszExpected), nCopied) << c.nBuffer;
        EXPECT_EQ('#', buffer[c.nBuffer]) << "nothing written after the buffer of " << c.nBuffer;
    }
    m_pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
    EXPECT_EQ(CString("Bereit"), bar.GetPaneText(0));
}

TEST_F(StatusBarTest, KeyIndicatorsShowTheirTextWhileTheKeyIsOn)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    BYTE keysSaved[256];
    memcpy(keysSaved, keys, sizeof(keys));
    struct Case {
        BOOL bCapsOn;
        BOOL bNumOn;
    } const cases[] = {{FALSE, FALSE}, {TRUE, FALSE}, {TRUE, TRUE}, {FALSE, TRUE}};
    for (const Case& c : cases) {
        keys[VK_CAPITAL] = c.bCapsOn ? 0x01 : 0x00;
        keys[VK_NUMLOCK] = c.bNumOn ? 0x01 : 0x00;
        keys[VK_SCROLL] = 0;
        ::SetKeyboardState(keys);
        m_pFrame->PostMessage(WM_NULL);
        RunToIdle();
        EXPECT_EQ(CString(c.bCapsOn ? "UF" : ""), ShownText(1)) << c.bCapsOn;
        EXPECT_EQ(!c.bCapsOn, (Bar().GetPaneStyle(1) & SBPS_DISABLED) != 0);
        EXPECT_EQ(CString(c.bNumOn ? "NUM" : ""), ShownText(2)) << c.bNumOn;
        EXPECT_EQ(CString(""), ShownText(3));
        // the pane keeps its text while it shows none
        EXPECT_EQ(CString("UF"), Bar().GetPaneText(1));
    }
    ::SetKeyboardState(keysSaved);
}

TEST_F(StatusBarTest, TheStatusLineShowsTheButtonUnderTheRestingMouse)
{
    // The fly-by text comes when the mouse rests on a button (the bar's timer looks where the
    // mouse is) and goes when it leaves the bar.
    CToolBar& toolBar = m_pFrame->m_wndToolBar;
    CRect rect;
    toolBar.GetItemRect(toolBar.CommandToIndex(ID_TB_CUT), &rect);
    toolBar.ClientToScreen(&rect);
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    // The text needs the frame to be the active window. Tests of other prefixes on the same
    // display can take the display's focus from it while this one waits: it is taken back.
    auto keepActive = [&] {
        if (::GetForegroundWindow() != m_pFrame->m_hWnd)
            m_pFrame->SetForegroundWindow();
    };
    keepActive();
    ASSERT_TRUE(::SetCursorPos(rect.CenterPoint().x, rect.CenterPoint().y));
    CPoint ptClient = rect.CenterPoint();
    toolBar.ScreenToClient(&ptClient);
    toolBar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
    EXPECT_TRUE(framestest::PumpUntil(
        [&] {
            keepActive();
            return Bar().GetPaneText(0) == "Schneidet die Auswahl aus";
        },
        5000))
        << (LPCTSTR)Bar().GetPaneText(0);
    EXPECT_EQ(&toolBar, AfxGetThreadState()->m_pLastStatus);
    framestest::SaveScreenshot(m_pFrame, "docking_flyby");

    // moving on to another button shows its text at once
    toolBar.GetItemRect(toolBar.CommandToIndex(ID_TB_NEW), &rect);
    keepActive();
    toolBar.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(rect.CenterPoint().x, rect.CenterPoint().y));
    toolBar.ClientToScreen(&rect);
    ::SetCursorPos(rect.CenterPoint().x, rect.CenterPoint().y);
    RunToIdle();
    EXPECT_EQ(CString("Legt ein neues Dokument an"), Bar().GetPaneText(0));

    // the mouse leaves: the idle prompt comes back
    CRect rectView = docktest::ScreenRect(m_pFrame->GetDescendantWindow(AFX_IDW_PANE_FIRST));
    ::SetCursorPos(rectView.CenterPoint().x, rectView.CenterPoint().y);
    EXPECT_TRUE(framestest::PumpUntil([&] { return Bar().GetPaneText(0) == "Bereit"; }, 5000)) << (LPCTSTR)Bar().GetPaneText(0);
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_pLastStatus);
    ::SetWindowPos(m_pFrame->m_hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
