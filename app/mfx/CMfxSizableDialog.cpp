#include "CMfxSizableDialog.h"

IMPLEMENT_DYNAMIC(CMfxSizableDialog, CDialog)

BEGIN_MESSAGE_MAP(CMfxSizableDialog, CDialog)
ON_WM_SIZE()
ON_WM_CREATE()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CMfxSizableDialog::CMfxSizableDialog(UINT nIDTemplate, MfxResizeAnchor* pAnchors, int nAnchors, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_pAnchors(pAnchors), m_nAnchors(pAnchors != NULL ? nAnchors : 0)
{
    ::SetRectEmpty(&m_rectInitialClient);
}

CMfxSizableDialog::~CMfxSizableDialog()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CMfxSizableDialog::OnInitDialog()
{
    ::GetClientRect(m_hWnd, &m_rectInitialClient);
    for (int i = 0; i < m_nAnchors; ++i) {
        HWND hControl = ::GetDlgItem(m_hWnd, m_pAnchors[i].nID);
        if (hControl == NULL)
            continue;
        RECT rect;
        ::GetWindowRect(hControl, &rect);
        ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rect, 2);
        m_pAnchors[i].rect = rect;
    }
    CDialog::OnInitDialog();
    return TRUE;
}

void CMfxSizableDialog::OnSize(UINT nType, int cx, int cy)
{
    // A minimised dialog reports a client of 0 x 0: it is no shrinking by the user.
    if (nType == SIZE_MINIMIZED) {
        Default();
        return;
    }
    const int w0 = m_rectInitialClient.right - m_rectInitialClient.left;
    const int h0 = m_rectInitialClient.bottom - m_rectInitialClient.top;
    if (cx < w0 || cy < h0) {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        const int width = window.right - window.left + (cx < w0 ? w0 - cx : 0);
        const int height = window.bottom - window.top + (cy < h0 ? h0 - cy : 0);
        // Shown as it is: a hidden dialog (one whose placement is restored before it appears)
        // stays hidden.
        const UINT show = ::IsWindowVisible(m_hWnd) ? SWP_SHOWWINDOW : 0;
        ::SetWindowPos(m_hWnd, NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | show);
        Default();
        return;
    }
    Default();
    const RECT& r = m_rectInitialClient;
    if (r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0)
        return; // not initialised yet

    const int dx = cx - w0;
    const int dy = cy - h0;
    HDWP hdwp = ::BeginDeferWindowPos(m_nAnchors);
    for (int i = 0; i < m_nAnchors && hdwp != NULL; ++i) {
        const MfxResizeAnchor& a = m_pAnchors[i];
        HWND hControl = ::GetDlgItem(m_hWnd, a.nID);
        if (hControl == NULL)
            continue;
        const int left = a.rect.left + dx * a.nMoveX / 100;
        const int top = a.rect.top + dy * a.nMoveY / 100;
        const int width = a.rect.right - a.rect.left + dx * a.nGrowX / 100;
        const int height = a.rect.bottom - a.rect.top + dy * a.nGrowY / 100;
        hdwp = ::DeferWindowPos(hdwp, hControl, NULL, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (hdwp != NULL)
        ::EndDeferWindowPos(hdwp);
    // WM_SETREDRAW TRUE marks a hidden window visible: a hidden dialog stays hidden.
    if (::IsWindowVisible(m_hWnd))
        SendMessage(WM_SETREDRAW, TRUE);
}

int CMfxSizableDialog::OnCreate(LPCREATESTRUCT)
{
    return Default() == -1 ? -1 : 0;
}

BOOL CMfxSizableDialog::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }
