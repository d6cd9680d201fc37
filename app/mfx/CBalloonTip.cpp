#include "CBalloonTip.h"

#include <shellapi.h>

namespace {

const int kMargin = 8;
const int kTailHeight = 20;
const int kTailWidth = 20;
const int kIconCell = 24;
const int kCloseCell = 24;
const int kMinLine = 24;
const int kMinWidth = 96;
const char kClassName[] = "BalloonHelpClass";

CRect DesktopRect()
{
    CRect rect;
    ::GetWindowRect(::GetDesktopWindow(), &rect);
    return rect;
}

} // namespace

ATOM CBalloonTip::s_atom = 0;
LONG CBalloonTip::s_nLive = 0;
HINSTANCE(WINAPI* CBalloonTip::s_pfnOpenUrl)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) = &::ShellExecuteA;

BEGIN_MESSAGE_MAP(CBalloonTip, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_NCPAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBalloonTip::CBalloonTip()
    : m_nAlpha(255), m_nOptions(0), m_nTimeout(0), m_ptAnchor(0, 0), m_hIcon(NULL), m_hRgn(NULL),
      m_ptMouseStart(0, 0), m_nCloseState(DFCS_CAPTIONCLOSE | DFCS_FLAT), m_bClosePressed(false)
{
    HMODULE hUser = ::GetModuleHandleA("USER32.DLL");
    m_pfnSetLayered = hUser != NULL ? (PFN_SetLayered)::GetProcAddress(hUser, "SetLayeredWindowAttributes") : NULL;
    m_hBodyFont = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    LOGFONTA lf;
    ::GetObjectA(m_hBodyFont, sizeof(lf), &lf);
    lf.lfWeight = FW_BOLD;
    m_hTitleFont = ::CreateFontIndirectA(&lf);
    InterlockedIncrement(&s_nLive);
}

CBalloonTip::~CBalloonTip()
{
    if (m_hRgn != NULL)
        ::DeleteObject(m_hRgn);
    if (m_hTitleFont != NULL)
        ::DeleteObject(m_hTitleFont);
    // the body font is the stock object: not deleted
    InterlockedDecrement(&s_nLive);
}

int CBalloonTip::LiveObjects() { return s_nLive; }

ATOM CBalloonTip::RegisterWindowClass()
{
    if (s_atom != 0)
        return s_atom;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = AfxGetAfxWndProc();
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(NULL, IDC_ARROW);
    wc.lpszClassName = kClassName;
    s_atom = ::RegisterClassA(&wc);
    if (s_atom == 0) {
        wc.style &= ~CS_DROPSHADOW;
        s_atom = ::RegisterClassA(&wc);
    }
    return s_atom;
}

BOOL CBalloonTip::Create(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, unsigned nOptions, CWnd* pParent,
                         LPCTSTR lpszUrl, int nTimeoutMs, HICON hIcon)
{
    m_strBody = lpszBody != NULL ? lpszBody : "";
    m_nOptions = nOptions;
    m_strUrl = lpszUrl != NULL ? lpszUrl : "";
    m_nTimeout = nTimeoutMs;
    m_hIcon = hIcon;
    // an anchor off the desktop is brought onto its edge
    CRect rcDesktop = DesktopRect();
    m_ptAnchor.x = ptAnchor.x < rcDesktop.left ? rcDesktop.left : ptAnchor.x >= rcDesktop.right ? rcDesktop.right - 1 : ptAnchor.x;
    m_ptAnchor.y = ptAnchor.y < rcDesktop.top ? rcDesktop.top : ptAnchor.y >= rcDesktop.bottom ? rcDesktop.bottom - 1 : ptAnchor.y;
    if (pParent == NULL)
        pParent = AfxGetMainWnd();
    if (pParent == NULL || RegisterWindowClass() == 0)
        return FALSE;
    if (!CreateEx(WS_EX_TOOLWINDOW, kClassName, lpszTitle, WS_POPUP, CRect(0, 0, 10, 10), pParent, 0))
        return FALSE;
    PositionWindow();
    if (m_pfnSetLayered != NULL) {
        m_nAlpha = 25;
        ModifyStyleEx(0, WS_EX_LAYERED);
        m_pfnSetLayered(m_hWnd, 0, (BYTE)m_nAlpha, LWA_ALPHA);
        SetTimer(kFadeInTimer, 30, NULL);
    } else if (m_nTimeout > 0) {
        SetTimer(kTimeoutTimer, m_nTimeout, NULL);
    }
    if (m_nOptions & kCloseOnMouseMove) {
        ::GetCursorPos(&m_ptMouseStart);
        ScreenToClient(&m_ptMouseStart);
        SetTimer(kMouseTimer, 100, NULL);
    }
    if (m_nOptions & (kCloseOnLButtonUp | kCloseOnRButtonUp))
        SetCapture();
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

void CBalloonTip::LaunchBalloon(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, UINT nIconId, unsigned nOptions,
                                CWnd* pParent, LPCTSTR lpszUrl, int nTimeoutMs)
{
    HICON hIcon = (HICON)::LoadImageA(NULL, MAKEINTRESOURCEA(nIconId), IMAGE_ICON, 16, 16, LR_SHARED);
    LaunchBalloonWithIcon(lpszTitle, lpszBody, ptAnchor, hIcon, nOptions, pParent, lpszUrl, nTimeoutMs);
}

void CBalloonTip::LaunchBalloonWithIcon(LPCTSTR lpszTitle, LPCTSTR lpszBody, POINT ptAnchor, HICON hIcon,
                                        unsigned nOptions, CWnd* pParent, LPCTSTR lpszUrl, int nTimeoutMs)
{
    CBalloonTip* pTip = new CBalloonTip;
    if (!pTip->Create(lpszTitle, lpszBody, ptAnchor, nOptions | kDeleteThisOnClose, pParent, lpszUrl, nTimeoutMs,
                      hIcon)) {
        // a window that was made deletes its object when it goes; one that was not, here
        if (pTip->m_hWnd != NULL)
            pTip->DestroyWindow();
        else
            delete pTip;
    }
}

int CBalloonTip::GetBalloonQuadrant(POINT ptAnchor)
{
    CRect rect = DesktopRect();
    int nQuadrant = 0;
    if (ptAnchor.x < rect.left + rect.Width() / 2)
        nQuadrant |= 1;
    if (ptAnchor.y >= rect.top + rect.Height() / 2)
        nQuadrant |= 2;
    return nQuadrant;
}

CSize CBalloonTip::GetContentSize()
{
    CRect rcDesktop = DesktopRect();
    CString strTitle;
    GetWindowText(strTitle);
    CClientDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    CRect rcTitle(0, 0, 0, 0), rcBody(0, 0, 0, 0);
    if (!strTitle.IsEmpty()) {
        HGDIOBJ hOld = ::SelectObject(hdc, m_hTitleFont);
        rcTitle.SetRect(0, 0, rcDesktop.Width() - 48, 0);
        ::DrawTextA(hdc, strTitle, -1, &rcTitle, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
        rcTitle.right += 48;
        ::SelectObject(hdc, hOld);
    }
    if (!m_strBody.IsEmpty()) {
        HGDIOBJ hOld = ::SelectObject(hdc, m_hBodyFont);
        rcBody.SetRect(0, 0, rcDesktop.Width() / 2, 0);
        ::DrawTextA(hdc, m_strBody, -1, &rcBody, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
        ::SelectObject(hdc, hOld);
    }
    int cx = rcTitle.Width() > rcBody.Width() ? rcTitle.Width() : rcBody.Width();
    int cy = rcBody.Height() + (rcTitle.Height() > kMinLine ? rcTitle.Height() : kMinLine);
    return CSize(cx, cy);
}

CSize CBalloonTip::GetWindowSize()
{
    CSize size = GetContentSize();
    int cx = size.cx + 2 * kMargin;
    return CSize(cx > kMinWidth ? cx : kMinWidth, size.cy + 2 * kMargin + kTailHeight);
}

void CBalloonTip::PositionWindow()
{
    CSize size = GetWindowSize();
    const int w = size.cx, h = size.cy;
    const int nQuadrant = GetBalloonQuadrant(m_ptAnchor);
    POINT tail[3];
    int nTop = 0, nBottom = h;
    switch (nQuadrant) {
    case 0:
        nTop = kTailHeight;
        tail[0] = {2 * w / 3, 21};
        tail[1] = {2 * w / 3 + kTailWidth, 1};
        tail[2] = {2 * w / 3 + kTailWidth, 21};
        break;
    case 1:
        nTop = kTailHeight;
        tail[0] = {w / 3, 21};
        tail[1] = {w / 3 - kTailWidth, 1};
        tail[2] = {w / 3 - kTailWidth, 21};
        break;
    case 2:
        nBottom = h - kTailHeight;
        tail[0] = {2 * w / 3 + kTailWidth, h - 22};
        tail[1] = {2 * w / 3 + kTailWidth, h - 2};
        tail[2] = {2 * w / 3, h - 22};
        break;
    default:
        nBottom = h - kTailHeight;
        tail[0] = {w / 3 - kTailWidth, h - 22};
        tail[1] = {w / 3 - kTailWidth, h - 2};
        tail[2] = {w / 3, h - 22};
        break;
    }
    int x = m_ptAnchor.x - tail[1].x;
    int y = m_ptAnchor.y - tail[1].y;
    CRect rcDesktop = DesktopRect();
    int nShift = 0;
    if (x < 0)
        nShift = -x;
    else if (x + w > rcDesktop.right)
        nShift = rcDesktop.right - (x + w);
    x += nShift;
    for (POINT& pt : tail)
        pt.x -= nShift;
    SetWindowPos(NULL, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);

    // The region's tail reaches one pixel further at the tip and at a right-hand edge: a polygon
    // region leaves out its right and bottom edges, which would keep the tip off the anchor.
    POINT area[3] = {tail[0], tail[1], tail[2]};
    area[1].y += nQuadrant < 2 ? -1 : 1;
    if (nQuadrant % 2 == 0)
        for (POINT& pt : area)
            if (pt.x == tail[1].x)
                pt.x++;
    HRGN hTail = ::CreatePolygonRgn(area, 3, ALTERNATE);
    HRGN hBody = ::CreateRoundRectRgn(0, nTop, w, nBottom, 16, 16);
    ::CombineRgn(hBody, hBody, hTail, RGN_OR);
    ::DeleteObject(hTail);
    if (m_hRgn != NULL)
        ::DeleteObject(m_hRgn);
    m_hRgn = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(m_hRgn, hBody, NULL, RGN_COPY);
    ::SetWindowRgn(m_hWnd, hBody, TRUE); // the window owns it now
}

void CBalloonTip::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    RECT& rc = lpncsp->rgrc[0];
    CRect rcWindow(rc);
    rc.left += kMargin;
    rc.right -= kMargin;
    rc.top += kMargin;
    rc.bottom -= kMargin;
    // the tail side: the quadrant of the anchor (the window is already there or at its size)
    if (GetBalloonQuadrant(m_ptAnchor) < 2)
        rc.top += kTailHeight;
    else
        rc.bottom -= kTailHeight;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
}

BOOL CBalloonTip::OnEraseBkgnd(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    ::FillRect(pDC->GetSafeHdc(), &rect, ::GetSysColorBrush(COLOR_INFOBK));
    return TRUE;
}

CRect CBalloonTip::CloseButtonRect()
{
    CRect rect;
    GetClientRect(&rect);
    return CRect(rect.right - 16, rect.top, rect.right, rect.top + 16);
}

void CBalloonTip::OnPaint()
{
    CPaintDC dc(this);
    HDC hdc = dc.GetSafeHdc();
    CRect rect;
    GetClientRect(&rect);
    const CRect rcClient = rect;
    ::FillRect(hdc, &rect, ::GetSysColorBrush(COLOR_INFOBK));
    ::SetTextColor(hdc, ::GetSysColor(COLOR_INFOTEXT));
    ::SetBkColor(hdc, ::GetSysColor(COLOR_INFOBK));
    if (m_hIcon != NULL) {
        ::DrawIconEx(hdc, 0, 0, m_hIcon, 16, 16, 0, NULL, DI_NORMAL);
        rect.left += kIconCell;
    }
    if (m_nOptions & kShowCloseButton) {
        CRect rcClose = CloseButtonRect();
        ::DrawFrameControl(hdc, &rcClose, DFC_CAPTION, m_nCloseState);
        rect.right -= kCloseCell;
    }
    CString strTitle;
    GetWindowText(strTitle);
    HGDIOBJ hOld = ::SelectObject(hdc, m_hTitleFont);
    CRect rcTitle = rect;
    int nTitle = ::DrawTextA(hdc, strTitle, -1, &rcTitle, DT_CENTER | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(hdc, m_hBodyFont);
    // The body lies below the title line, where icon and close button no longer are: it gets the
    // whole width it was measured for (indented, it would wrap anew and lose its last lines).
    CRect rcBody = rcClient;
    rcBody.top += nTitle > kMinLine ? nTitle : kMinLine;
    ::DrawTextA(hdc, m_strBody, -1, &rcBody, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    ::SelectObject(hdc, hOld);
}

void CBalloonTip::OnNcPaint()
{
    HDC hdc = ::GetWindowDC(m_hWnd);
    CRect rcWindow, rcClient;
    GetWindowRect(&rcWindow);
    GetClientRect(&rcClient);
    ClientToScreen(&rcClient);
    rcClient.OffsetRect(-rcWindow.left, -rcWindow.top);
    rcWindow.OffsetRect(-rcWindow.left, -rcWindow.top);
    ::ExcludeClipRect(hdc, rcClient.left, rcClient.top, rcClient.right, rcClient.bottom);
    ::FillRect(hdc, &rcWindow, ::GetSysColorBrush(COLOR_INFOBK));
    ::SelectClipRgn(hdc, NULL);
    if (m_hRgn != NULL) {
        COLORREF back = ::GetSysColor(COLOR_INFOBK), text = ::GetSysColor(COLOR_INFOTEXT);
        if (m_nOptions & kShadowFrame) {
            HBRUSH hLight = ::CreateSolidBrush(RGB((GetRValue(back) / 3 + 170) % 256, (GetGValue(back) / 3 + 170) % 256,
                                                   (GetBValue(back) / 3 + 170) % 256));
            HBRUSH hDark = ::CreateSolidBrush(RGB((GetRValue(text) / 3 + 2 * (GetRValue(back) / 3)) % 256,
                                                  (GetGValue(text) / 3 + 2 * (GetGValue(back) / 3)) % 256,
                                                  (GetBValue(text) / 3 + 2 * (GetBValue(back) / 3)) % 256));
            ::OffsetRgn(m_hRgn, 1, 1);
            ::FrameRgn(hdc, m_hRgn, hLight, 2, 2);
            ::OffsetRgn(m_hRgn, -2, -2);
            ::FrameRgn(hdc, m_hRgn, hDark, 2, 2);
            ::OffsetRgn(m_hRgn, 1, 1);
            ::DeleteObject(hLight);
            ::DeleteObject(hDark);
        }
        ::FrameRgn(hdc, m_hRgn, ::GetSysColorBrush(COLOR_INFOTEXT), 1, 1);
    }
    ::ReleaseDC(m_hWnd, hdc);
}

void CBalloonTip::SetAlpha(int nAlpha)
{
    m_nAlpha = nAlpha;
    if (m_pfnSetLayered != NULL)
        m_pfnSetLayered(m_hWnd, 0, (BYTE)nAlpha, LWA_ALPHA);
}

void CBalloonTip::StartClose(int nAlpha)
{
    m_nAlpha = nAlpha;
    SetTimer(kFadeOutTimer, 30, NULL);
}

void CBalloonTip::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case kFadeInTimer:
        m_nAlpha += 22;
        if (m_nAlpha > 255) {
            m_nAlpha = 255;
            KillTimer(kFadeInTimer);
            if (m_nTimeout > 0)
                SetTimer(kTimeoutTimer, m_nTimeout, NULL);
        }
        SetAlpha(m_nAlpha);
        break;
    case kFadeOutTimer:
        KillTimer(kFadeInTimer);
        m_nAlpha -= 25;
        if (m_nAlpha >= 0 && m_pfnSetLayered != NULL) {
            SetAlpha(m_nAlpha);
        } else {
            m_nAlpha = 0;
            KillTimer(kFadeOutTimer);
            DestroyWindow();
        }
        break;
    case kTimeoutTimer:
        KillTimer(kTimeoutTimer);
        StartClose(255);
        break;
    case kMouseTimer: {
        KillTimer(kMouseTimer);
        CPoint pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        OnMouseMove(0, pt);
        break;
    }
    default:
        CWnd::OnTimer(nIDEvent);
    }
}

void CBalloonTip::OnLButtonDown(UINT nFlags, CPoint point)
{
    if ((m_nOptions & kShowCloseButton) && CloseButtonRect().PtInRect(point)) {
        m_bClosePressed = true;
        SetCapture();
        OnMouseMove(nFlags | MK_LBUTTON, point);
    }
}

void CBalloonTip::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_nOptions & kShowCloseButton) {
        UINT nState = DFCS_CAPTIONCLOSE | DFCS_FLAT;
        if (CloseButtonRect().PtInRect(point)) {
            nState = DFCS_CAPTIONCLOSE | DFCS_HOT;
            if (m_bClosePressed && (nFlags & MK_LBUTTON))
                nState |= DFCS_PUSHED;
            SetTimer(kMouseTimer, 500, NULL);
        }
        if (nState != m_nCloseState) {
            m_nCloseState = nState;
            CRect rcClose = CloseButtonRect();
            InvalidateRect(&rcClose, FALSE);
        }
    }
    if (m_nOptions & kCloseOnMouseMove) {
        if (m_nAlpha == 255 && (abs(point.x - m_ptMouseStart.x) > 5 || abs(point.y - m_ptMouseStart.y) > 5))
            StartClose(254);
        else
            SetTimer(kMouseTimer, 100, NULL);
    }
}

void CBalloonTip::OnLButtonUp(UINT, CPoint point)
{
    if (m_bClosePressed) {
        m_bClosePressed = false;
        ::ReleaseCapture();
        if (CloseButtonRect().PtInRect(point))
            StartClose(255);
    } else if (m_nOptions & kCloseOnLButtonUp) {
        StartClose(255);
    } else if (!m_strUrl.IsEmpty()) {
        StartClose(255);
        s_pfnOpenUrl(NULL, NULL, m_strUrl, NULL, NULL, SW_SHOWNORMAL);
    }
}

void CBalloonTip::OnRButtonUp(UINT, CPoint)
{
    if (m_nOptions & kCloseOnRButtonUp)
        StartClose(255);
}

void CBalloonTip::OnDestroy()
{
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    CWnd::OnDestroy();
}

void CBalloonTip::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    if (m_nOptions & kDeleteThisOnClose)
        delete this;
}
