// Tooltips of a frame: the mouse over a child control adds the control as the thread's tool, the
// tip shows the second part of the control's command string (the frame answers TTN_NEEDTEXT), and
// leaving the control takes the tool away.
#include <gtest/gtest.h>

#include <afxcmn.h>

#include "FrameTestSupport.h"
#include "FramesTestResource.h"

using framestest::RunToIdle;

namespace {

class ToolTipTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new CFrameWnd;
        // on top of the windows of other programs, as the mouse has to find it
        ASSERT_TRUE(m_pFrame->Create(NULL, "Tipps", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(80, 80, 480, 380), NULL, NULL,
                                     WS_EX_TOPMOST));
        m_app.m_pMainWnd = m_pFrame;
        ASSERT_TRUE(m_button.Create("Prüfen", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(40, 40, 160, 80), m_pFrame, IDC_TIP_BUTTON));
        ASSERT_TRUE(m_pFrame->EnableToolTips(TRUE));
        RunToIdle();
    }
    void TearDown() override
    {
        if (m_app.m_pMainWnd != NULL)
            m_app.m_pMainWnd->DestroyWindow();
        framestest::TakeQuitMessage();
    }
    // The mouse moves to the point (frame client coordinates) as the user moves it.
    void MoveMouse(CPoint pt)
    {
        m_pFrame->ClientToScreen(&pt);
        ::SetCursorPos(pt.x, pt.y);
        HWND hWnd = ::WindowFromPoint(pt);
        POINT ptClient = pt;
        ::ScreenToClient(hWnd, &ptClient);
        ::PostMessageA(hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(ptClient.x, ptClient.y));
        RunToIdle();
    }
    CToolTipCtrl* Tip() { return AfxGetThreadState()->m_pToolTip; }
    int ToolCount() { return Tip() != NULL ? (int)Tip()->SendMessage(TTM_GETTOOLCOUNT) : 0; }

    framestest::CProbeApp m_app;
    CFrameWnd* m_pFrame = nullptr;
    CButton m_button;
};

} // namespace

TEST_F(ToolTipTest, TipOfAHitTestedChildShowsTheSecondPartOfItsString)
{
    MoveMouse(CPoint(100, 60));
    ASSERT_NE(nullptr, Tip());
    EXPECT_EQ(1, ToolCount());
    EXPECT_EQ(m_pFrame, AfxGetThreadState()->m_pLastHit);
    EXPECT_EQ(IDC_TIP_BUTTON, (int)AfxGetThreadState()->m_nLastHit);
    // the tip appears after the system's delay, with the text the frame gave
    ASSERT_TRUE(framestest::PumpUntil([this] { return Tip()->IsWindowVisible() != FALSE; }, 5000));
    char szText[80] = "";
    TTTOOLINFOA ti = AfxGetThreadState()->m_lastInfo;
    ti.lpszText = szText;
    Tip()->SendMessage(TTM_GETTEXTA, 0, (LPARAM)&ti);
    EXPECT_STREQ("Prüfknopf", szText);
    CRect rectShot;
    m_pFrame->GetWindowRect(&rectShot);
    CRect rectTip;
    Tip()->GetWindowRect(&rectTip);
    rectShot.UnionRect(&rectShot, &rectTip);
    framestest::SaveScreenArea(rectShot, "frames_tooltip");

    // off the control: the tool goes
    MoveMouse(CPoint(300, 200));
    EXPECT_EQ(0, ToolCount());
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_pLastHit);
}

TEST_F(ToolTipTest, FrameAnswersTheTextRequestsOfItsTools)
{
    // ANSI and wide requests, for a window tool (its control id) and for a command id
    ASSERT_NE(nullptr, Tip());
    struct Case {
        UINT nCode;
        UINT uFlags;
        UINT_PTR idFrom;
        const char* pszText;
    } const cases[] = {
        {TTN_NEEDTEXTA, TTF_IDISHWND, 0, "Prüfknopf"},
        {TTN_NEEDTEXTW, TTF_IDISHWND, 0, "Prüfknopf"},
        {TTN_NEEDTEXTA, 0, ID_PROBE_VIEW, "Ansicht prüfen"},
        {TTN_NEEDTEXTA, 0, ID_PROBE_NOBODY, ""}, // a string without a tip part
        {TTN_NEEDTEXTA, 0, 0, ""},               // a separator
    };
    for (const Case& c : cases) {
        union {
            TOOLTIPTEXTA a;
            TOOLTIPTEXTW w;
        } ttt;
        memset(&ttt, 0, sizeof(ttt));
        ttt.a.hdr.hwndFrom = Tip()->m_hWnd; // the thread's tooltip control asks
        ttt.a.hdr.idFrom = c.uFlags & TTF_IDISHWND ? (UINT_PTR)m_button.m_hWnd : c.idFrom;
        ttt.a.hdr.code = c.nCode;
        if (c.nCode == TTN_NEEDTEXTA)
            ttt.a.uFlags = c.uFlags;
        else
            ttt.w.uFlags = c.uFlags;
        m_pFrame->SendMessage(WM_NOTIFY, 0, (LPARAM)&ttt.a.hdr);
        char szText[80] = "";
        if (c.nCode == TTN_NEEDTEXTA)
            lstrcpynA(szText, ttt.a.lpszText != NULL ? ttt.a.lpszText : "", sizeof(szText));
        else
            WideCharToMultiByte(CP_ACP, 0, ttt.w.lpszText != NULL ? ttt.w.lpszText : L"", -1, szText, sizeof(szText), NULL, NULL);
        EXPECT_STREQ(c.pszText, szText) << c.nCode << " " << c.idFrom;
    }
}
