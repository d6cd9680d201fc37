// The balloon help window on the test desktop: its size from the measured texts, the
// tail's side and third per quadrant, the tip on the anchor, the pushes at the desktop's edges,
// fading driven by sent timer messages, closing by mouse movement, click and time-out, the URL
// through the shell seam, self-deleting launched balloons, and screenshots of a data tip.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "CBalloonTip.h"
#include "TestKit.h"

namespace {

int DesktopWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int DesktopHeight() { return GetSystemMetrics(SM_CYSCREEN); }

const char kTitle[] = "09:00 - 10:00";
const char kBody[] = "Besprechung Vertrieb\r\nMit: Herr Schulz\r\nOrt: Raum 1";

std::vector<std::string> g_opened;
HINSTANCE WINAPI RecordOpen(HWND, LPCSTR, LPCSTR lpFile, LPCSTR, LPCSTR, INT)
{
    g_opened.push_back(lpFile);
    return (HINSTANCE)42;
}

// The window size the texts need, measured here with DrawText.
CSize ExpectedSize(const char* pszTitle, const std::string& strBody)
{
    HDC hdc = GetDC(NULL);
    HFONT hBody = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA lf;
    GetObjectA(hBody, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    HFONT hBold = CreateFontIndirectA(&lf);
    RECT rcTitle = {0, 0, 0, 0}, rcBody = {0, 0, 0, 0};
    if (*pszTitle) {
        rcTitle.right = DesktopWidth() - 48;
        HGDIOBJ hOld = SelectObject(hdc, hBold);
        DrawTextA(hdc, pszTitle, -1, &rcTitle, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        rcTitle.right += 48;
        SelectObject(hdc, hOld);
    }
    if (!strBody.empty()) {
        rcBody.right = DesktopWidth() / 2;
        HGDIOBJ hOld = SelectObject(hdc, hBody);
        DrawTextA(hdc, strBody.c_str(), -1, &rcBody, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        SelectObject(hdc, hOld);
    }
    DeleteObject(hBold);
    ReleaseDC(NULL, hdc);
    int cx = std::max(rcTitle.right, rcBody.right);
    int cy = rcBody.bottom + std::max((int)rcTitle.bottom, 24);
    return CSize(std::max(cx + 16, 96), cy + 36);
}

class BalloonTipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateEx(0, AfxRegisterWndClass(0), "Tagesansicht", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
        g_opened.clear();
        CBalloonTip::s_pfnOpenUrl = &RecordOpen;
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        oxtest::PumpMessages();
    }
    static int Alpha(CWnd& wnd)
    {
        BYTE alpha = 0;
        DWORD dwFlags = 0;
        COLORREF key;
        if (!GetLayeredWindowAttributes(wnd.m_hWnd, &key, &alpha, &dwFlags))
            return -1;
        return alpha;
    }
    // Whether the balloon is fading out (its fade-out timer runs; it is stopped here).
    static bool Closing(CBalloonTip& tip) { return KillTimer(tip.m_hWnd, CBalloonTip::kFadeOutTimer) != FALSE; }
    // Sends the fade-in timer until the balloon is opaque.
    static void FadeIn(CBalloonTip& tip)
    {
        for (int i = 0; i < 20 && tip.m_nAlpha < 255; i++)
            tip.SendMessage(WM_TIMER, CBalloonTip::kFadeInTimer);
    }
    CWnd m_owner;
};

TEST_F(BalloonTipTest, EachQuadrantPutsTheTailOnItsSideAndThirdWithTheTipOnTheAnchor)
{
    const CSize size = ExpectedSize(kTitle, kBody);
    const int w = size.cx, h = size.cy;
    struct Case {
        POINT anchor;
        int nQuadrant;
        int tipX, tipY; // in the window, as the quadrant places it
    } cases[] = {
        {{DesktopWidth() - 200, 100}, 0, 2 * w / 3 + 20, 1},
        {{200, 100}, 1, w / 3 - 20, 1},
        {{DesktopWidth() - 200, DesktopHeight() - 150}, 2, 2 * w / 3 + 20, h - 2},
        {{200, DesktopHeight() - 150}, 3, w / 3 - 20, h - 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.nQuadrant, CBalloonTip::GetBalloonQuadrant(c.anchor));
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, c.anchor, 0, &m_owner));
        CRect rect;
        tip.GetWindowRect(&rect);
        EXPECT_EQ(size, rect.Size()) << c.nQuadrant;
        EXPECT_EQ(c.anchor.x, rect.left + c.tipX) << c.nQuadrant;
        EXPECT_EQ(c.anchor.y, rect.top + c.tipY) << c.nQuadrant;
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(ERROR, GetWindowRgn(tip.m_hWnd, hRgn));
        // the anchor's pixel lies in the balloon, the corner beyond it does not
        EXPECT_TRUE(PtInRegion(hRgn, c.tipX, c.tipY)) << c.nQuadrant;
        EXPECT_FALSE(PtInRegion(hRgn, 0, c.nQuadrant < 2 ? 0 : h - 1)) << c.nQuadrant;
        // the client area lies off the tail side
        CRect rcClient;
        tip.GetClientRect(&rcClient);
        tip.ClientToScreen(&rcClient);
        EXPECT_EQ(c.nQuadrant < 2 ? rect.top + 28 : rect.top + 8, rcClient.top) << c.nQuadrant;
        DeleteObject(hRgn);
        tip.DestroyWindow();
    }
}

TEST_F(BalloonTipTest, TheDesktopEdgesPushTheBalloonAndTheTipFollowsTheAnchor)
{
    const CSize size = ExpectedSize(kTitle, kBody);
    {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(5, 300), 0, &m_owner));
        CRect rect;
        tip.GetWindowRect(&rect);
        EXPECT_EQ(0, rect.left);
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(tip.m_hWnd, hRgn);
        EXPECT_TRUE(PtInRegion(hRgn, 5 - rect.left, 300 - rect.top)) << "the tail reaches the anchor";
        EXPECT_EQ(299, rect.top);
        DeleteObject(hRgn);
        tip.DestroyWindow();
    }
    {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(DesktopWidth() - 4, 100), 0, &m_owner));
        CRect rect;
        tip.GetWindowRect(&rect);
        EXPECT_EQ(DesktopWidth(), rect.right);
        EXPECT_EQ(size.cx, rect.Width());
        HRGN hRgn = CreateRectRgn(0, 0, 0, 0);
        GetWindowRgn(tip.m_hWnd, hRgn);
        EXPECT_TRUE(PtInRegion(hRgn, DesktopWidth() - 4 - rect.left, 1)) << "the tail reaches the anchor";
        DeleteObject(hRgn);
        tip.DestroyWindow();
    }
}

TEST_F(BalloonTipTest, TheSizeFollowsTheTexts)
{
    std::string strLong;
    for (int i = 0; i < 60; i++)
        strLong += "Besprechung ";
    struct Case {
        const char* pszTitle;
        std::string strBody;
    } cases[] = {{kTitle, kBody}, {"", kBody}, {kTitle, ""}, {"", ""}, {kTitle, strLong}};
    for (const Case& c : cases) {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(c.pszTitle, c.strBody.c_str(), CPoint(500, 100), 0, &m_owner));
        CRect rect;
        tip.GetWindowRect(&rect);
        EXPECT_EQ(ExpectedSize(c.pszTitle, c.strBody), rect.Size()) << c.pszTitle << "|" << c.strBody.size();
        tip.DestroyWindow();
    }
    // an empty title keeps a line of 24 pixels above the body; a long body wraps at half the desktop
    EXPECT_EQ(ExpectedSize("", kBody).cy, ExpectedSize("", "").cy + ExpectedSize(kTitle, kBody).cy - 60);
    EXPECT_LE(ExpectedSize("", strLong).cx, DesktopWidth() / 2 + 16);
    EXPECT_GT(ExpectedSize("", strLong).cx, DesktopWidth() / 2 - 100);
    EXPECT_GT(ExpectedSize("", strLong).cy, ExpectedSize("", "Besprechung").cy);
}

TEST_F(BalloonTipTest, ItFadesInAndOutBySteps)
{
    CBalloonTip tip;
    ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), 0, &m_owner, "", 5000));
    std::vector<int> alphas = {Alpha(tip)};
    while (tip.m_nAlpha < 255 && alphas.size() < 20) {
        tip.SendMessage(WM_TIMER, CBalloonTip::kFadeInTimer);
        alphas.push_back(Alpha(tip));
    }
    EXPECT_EQ((std::vector<int>{25, 47, 69, 91, 113, 135, 157, 179, 201, 223, 245, 255}), alphas);
    // the time-out starts the fade-out; steps of 25 until the window goes
    tip.SendMessage(WM_TIMER, CBalloonTip::kTimeoutTimer);
    std::vector<int> out;
    for (int i = 0; i < 20 && tip.m_hWnd != NULL; i++) {
        tip.SendMessage(WM_TIMER, CBalloonTip::kFadeOutTimer);
        if (tip.m_hWnd != NULL)
            out.push_back(Alpha(tip));
    }
    EXPECT_EQ(nullptr, tip.m_hWnd);
    ASSERT_FALSE(out.empty());
    EXPECT_EQ(230, out.front());
    EXPECT_EQ(5, out.back());
}

TEST_F(BalloonTipTest, MouseMovementClosesOnlyOnceItIsFullyShown)
{
    CBalloonTip tip;
    ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), CBalloonTip::kCloseOnMouseMove, &m_owner));
    CPoint ptStart;
    GetCursorPos(&ptStart);
    tip.ScreenToClient(&ptStart);
    tip.SendMessage(WM_TIMER, CBalloonTip::kFadeInTimer);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptStart.x + 6, ptStart.y));
    EXPECT_EQ(47, tip.m_nAlpha) << "still fading in";
    FadeIn(tip);
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptStart.x + 5, ptStart.y - 5));
    EXPECT_EQ(255, tip.m_nAlpha) << "five pixels keep it";
    tip.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(ptStart.x, ptStart.y + 6));
    EXPECT_EQ(254, tip.m_nAlpha);
    for (int i = 0; i < 20 && tip.m_hWnd != NULL; i++)
        tip.SendMessage(WM_TIMER, CBalloonTip::kFadeOutTimer);
    EXPECT_EQ(nullptr, tip.m_hWnd);
}

TEST_F(BalloonTipTest, AClickOpensTheUrlUnlessTheClickOnlyCloses)
{
    {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), 0, &m_owner, "http://example.org/termin"));
        FadeIn(tip);
        tip.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_EQ(std::vector<std::string>{"http://example.org/termin"}, g_opened);
        EXPECT_TRUE(Closing(tip));
        tip.DestroyWindow();
    }
    g_opened.clear();
    {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), CBalloonTip::kCloseOnLButtonUp, &m_owner,
                               "http://example.org/termin"));
        EXPECT_EQ(tip.m_hWnd, GetCapture());
        FadeIn(tip);
        tip.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_TRUE(g_opened.empty());
        EXPECT_TRUE(Closing(tip));
        tip.DestroyWindow();
    }
    {
        // without URL and without option 1 a click does nothing
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), 0, &m_owner));
        FadeIn(tip);
        tip.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_FALSE(Closing(tip));
        tip.SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
        EXPECT_FALSE(Closing(tip)) << "a right click closes only with option 2";
        tip.DestroyWindow();
    }
}

TEST_F(BalloonTipTest, LaunchedBalloonsAreFreedWithTheirWindowAndFailedOnesAtOnce)
{
    const int nLive = CBalloonTip::LiveObjects();
    CBalloonTip::LaunchBalloon(kTitle, kBody, CPoint(500, 100), 32516, 0x24, &m_owner, "", 5000);
    EXPECT_EQ(nLive + 1, CBalloonTip::LiveObjects());
    HWND hTip = FindWindowA("BalloonHelpClass", kTitle);
    ASSERT_NE(nullptr, hTip);
    EXPECT_TRUE(GetWindowLongA(hTip, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    for (int i = 0; i < 40 && IsWindow(hTip); i++)
        SendMessageA(hTip, WM_TIMER,
                     i < 12 ? CBalloonTip::kFadeInTimer : i == 12 ? CBalloonTip::kTimeoutTimer : CBalloonTip::kFadeOutTimer, 0);
    EXPECT_FALSE(IsWindow(hTip));
    EXPECT_EQ(nLive, CBalloonTip::LiveObjects());

    // no parent and no main window: nothing shown, nothing kept
    CBalloonTip::LaunchBalloon(kTitle, kBody, CPoint(500, 100), 32516, 0x24, NULL);
    EXPECT_EQ(nullptr, FindWindowA("BalloonHelpClass", kTitle));
    EXPECT_EQ(nLive, CBalloonTip::LiveObjects());
}

TEST_F(BalloonTipTest, AnchorsOffTheDesktopAndHugeTextsStillGiveABalloonOnTheDesktop)
{
    std::string strHuge;
    while (strHuge.size() < 65536)
        strHuge += "Besprechung Vertrieb mit Herrn Schulz ";
    const POINT anchors[] = {{-500, -500}, {5000, 5000}};
    for (const POINT& pt : anchors) {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, strHuge.c_str(), pt, 0, &m_owner));
        CRect rect, rcHit;
        tip.GetWindowRect(&rect);
        EXPECT_TRUE(rcHit.IntersectRect(&rect, CRect(0, 0, DesktopWidth(), DesktopHeight()))) << pt.x;
        EXPECT_GE(rect.left, 0);
        EXPECT_LE(rect.right, DesktopWidth());
        tip.DestroyWindow();
    }
}

TEST_F(BalloonTipTest, TheShadowFrameHasItsColours)
{
    CBalloonTip tip;
    ASSERT_TRUE(tip.Create(kTitle, kBody, CPoint(500, 100), CBalloonTip::kShadowFrame, &m_owner));
    FadeIn(tip);
    ::SetWindowPos(tip.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    tip.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CRect rect;
    tip.GetWindowRect(&rect);
    COLORREF back = GetSysColor(COLOR_INFOBK), text = GetSysColor(COLOR_INFOTEXT);
    COLORREF light = RGB((GetRValue(back) / 3 + 170) % 256, (GetGValue(back) / 3 + 170) % 256, (GetBValue(back) / 3 + 170) % 256);
    // the body's left edge, half way down: outline (x 0), dark frame, light frame inside
    HDC hdc = GetWindowDC(tip.m_hWnd);
    const int y = rect.Height() / 2;
    EXPECT_EQ(text, GetPixel(hdc, 0, y));
    EXPECT_EQ(light, GetPixel(hdc, 2, y));
    EXPECT_EQ(back, GetPixel(hdc, 5, y));
    ReleaseDC(tip.m_hWnd, hdc);
}

TEST_F(BalloonTipTest, Screenshots)
{
    const POINT anchors[] = {{DesktopWidth() - 220, 150}, {220, 150}, {DesktopWidth() - 220, DesktopHeight() - 150}, {220, DesktopHeight() - 150}};
    const char* names[] = {"balloon-quadrant0", "balloon-quadrant1", "balloon-quadrant2", "balloon-quadrant3"};
    HICON hIcon = (HICON)LoadImageA(NULL, MAKEINTRESOURCEA(32516), IMAGE_ICON, 16, 16, LR_SHARED);
    for (int i = 0; i < 4; i++) {
        CBalloonTip tip;
        ASSERT_TRUE(tip.Create(kTitle, kBody, anchors[i], 0x24, &m_owner, "", 0, hIcon));
        FadeIn(tip);
        ::SetWindowPos(tip.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        tip.RedrawWindow(NULL, NULL, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
        oxtest::PumpMessages();
        CRect rect;
        tip.GetWindowRect(&rect);
        HDC hdc = GetDC(NULL);
        EXPECT_FALSE(oxtest::SaveShot(hdc, rect.left - 10, rect.top - 10, rect.Width() + 20, rect.Height() + 20, "dropdowns", names[i]).empty());
        ReleaseDC(NULL, hdc);
        tip.DestroyWindow();
    }
}

} // namespace
