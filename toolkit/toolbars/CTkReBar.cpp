#include "CTkReBar.h"

#include <afxpriv.h>

#include "CTkGlobalData.h"
#include "CTkToolBar.h"

#include <string.h>

namespace {

const UINT kRbnChildSize = RBN_FIRST - 8;
const int kComCtl472 = 4 * 65536 + 72;

BOOL IsHorzStyle(DWORD dwStyle) { return (dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0; }

} // namespace

IMPLEMENT_DYNAMIC(CTkReBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkReBar, CTkControlBar)
ON_WM_NCCREATE()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(RB_SHOWBAND, OnShowBand)
ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
ON_MESSAGE(TKWM_REBAR_SIZECHILD, OnSizeChild)
ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
ON_NOTIFY_REFLECT(RBN_ENDDRAG, OnHeightChange)
ON_NOTIFY_REFLECT(kRbnChildSize, OnChildSize)
END_MESSAGE_MAP()

CTkReBar::CTkReBar() : m_nBandID(0)
{
    SetBorders();
}

CTkReBar::~CTkReBar()
{
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CTkReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
    m_dwStyle = dwStyle & CBRS_ALL;
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(REBARCLASSNAMEA, NULL, (dwStyle & ~CBRS_ALL) | dwCtrlStyle | CCS_NODIVIDER | CCS_NOPARENTALIGN, rect,
                        pParentWnd, nID);
}

int CTkReBar::FindBand(HWND hWnd)
{
    int nCount = (int)DefWindowProc(RB_GETBANDCOUNT, 0, 0);
    for (int i = 0; i < nCount; i++) {
        REBARBANDINFOA info;
        memset(&info, 0, sizeof(info));
        info.cbSize = sizeof(info);
        info.fMask = RBBIM_CHILD;
        if (DefWindowProc(RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&info) && info.hwndChild == hWnd)
            return i;
    }
    return -1;
}

BOOL CTkReBar::AddBar(CWnd* pBar, REBARBANDINFOA* pInfo)
{
    if (pBar == NULL || pInfo == NULL)
        return FALSE;
    const BOOL bHorz = IsHorzStyle(m_dwStyle);
    pInfo->fMask |= RBBIM_CHILD | RBBIM_SIZE;
    pInfo->hwndChild = pBar->m_hWnd;
    pInfo->cx = 80;
    if (!pBar->SendMessage(TKWM_ADDREBAR, (WPARAM)bHorz, (LPARAM)pInfo)) {
        CSize size;
        if (pBar->IsKindOf(RUNTIME_CLASS(CControlBar))) {
            size = ((CControlBar*)pBar)->CalcFixedLayout(FALSE, bHorz);
        } else {
            CRect rect;
            pBar->GetWindowRect(&rect);
            size = rect.Size();
        }
        pInfo->fMask |= RBBIM_CHILDSIZE;
        pInfo->cxMinChild = size.cx;
        pInfo->cyMinChild = size.cy;
    }
    if (tkAfxData.nComCtlVersion < kComCtl472)
        pInfo->cxMinChild += 4;
    pInfo->fMask |= RBBIM_ID;
    pInfo->wID = (UINT)++m_nBandID;
    BOOL bResult = (BOOL)DefWindowProc(RB_INSERTBANDA, (WPARAM)-1, (LPARAM)pInfo);
    CFrameWnd* pFrame = GetParentFrame();
    pBar->SetOwner(pFrame);
    if (pFrame != NULL)
        pFrame->DelayRecalcLayout();
    return bResult;
}

CSize CTkReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CRect rect;
    GetWindowRect(&rect);
    int nHeight = (int)DefWindowProc(RB_GETBARHEIGHT, 0, 0);
    if (bHorz)
        return CSize(bStretch ? 32767 : rect.Width(), nHeight);
    return CSize(nHeight, bStretch ? 32767 : rect.Height());
}

void CTkReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) { UpdateDialogControls(pTarget, bDisableIfNoHndler); }

LRESULT CTkReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return CTkControlBar::WindowProc(message, wParam, lParam); }

BOOL CTkReBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CTkControlBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    if (m_hWndOwner != NULL)
        DefWindowProc(RB_SETPARENT, (WPARAM)m_hWndOwner, 0);
    return TRUE;
}

void CTkReBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, IsHorzStyle(m_dwStyle));
    lpncsp->rgrc[0].left += rect.left;
    lpncsp->rgrc[0].top += rect.top;
    lpncsp->rgrc[0].right += rect.right;
    lpncsp->rgrc[0].bottom += rect.bottom;
}

void CTkReBar::OnNcPaint() { EraseNonClient(); }

void CTkReBar::OnPaint() { Default(); }

BOOL CTkReBar::OnEraseBkgnd(CDC*) { return (BOOL)Default(); }

LRESULT CTkReBar::OnShowBand(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = Default();
    if (!lResult)
        return lResult;
    REBARBANDINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD | RBBIM_STYLE;
    if (!DefWindowProc(RB_GETBANDINFOA, wParam, (LPARAM)&info) || info.hwndChild == NULL)
        return lResult;
    const BOOL bShow = !(info.fStyle & RBBS_HIDDEN);
    CWnd* pChild = CWnd::FromHandlePermanent(info.hwndChild);
    BOOL bVisible;
    if (pChild != NULL && pChild->IsKindOf(RUNTIME_CLASS(CTkControlBar)))
        bVisible = ((CTkControlBar*)pChild)->IsVisible();
    else
        bVisible = (::GetWindowLongA(info.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0;
    if (bVisible != bShow)
        ::ShowWindow(info.hwndChild, bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
    (void)lParam;
    return lResult;
}

LRESULT CTkReBar::OnRecalcParent(WPARAM, LPARAM)
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
        pFrame->RecalcLayout(TRUE);
    return 0;
}

LRESULT CTkReBar::OnSizeChild(WPARAM wParam, LPARAM lParam)
{
    int nBand = FindBand((HWND)wParam);
    if (nBand < 0)
        return 0;
    REBARBANDINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
    DefWindowProc(RB_GETBANDINFOA, (WPARAM)nBand, (LPARAM)&info);
    info.cxIdeal = (UINT)lParam;
    return DefWindowProc(RB_SETBANDINFOA, (WPARAM)nBand, (LPARAM)&info);
}

void CTkReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame == NULL)
        return;
    if (pFrame->m_bInRecalcLayout)
        PostMessage(WM_RECALCPARENT);
    else
        pFrame->RecalcLayout(TRUE);
}

void CTkReBar::OnChildSize(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    NMREBARCHILDSIZE* pChildSize = (NMREBARCHILDSIZE*)pNMHDR;
    REBARBANDINFOA info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
    if (!DefWindowProc(RB_GETBANDINFOA, (WPARAM)pChildSize->uBand, (LPARAM)&info) || info.hwndChild == NULL)
        return;
    TK_REBAR_FITBAND fit = {&info, pChildSize};
    ::SendMessageA(info.hwndChild, TKWM_REBAR_FITBAND, (WPARAM)IsHorzStyle(m_dwStyle), (LPARAM)&fit);
}
