#include "CTkDialogBar.h"

#include <afxpriv.h>

#include "COccManager.h"

#include <string.h>

namespace {

const int kGripperStrip = 8;

} // namespace

IMPLEMENT_DYNAMIC(CTkDialogBar, CTkControlBar)

BEGIN_MESSAGE_MAP(CTkDialogBar, CTkControlBar)
ON_MESSAGE(WM_INITDIALOG, OnInitDialog)
ON_WM_ERASEBKGND()
ON_WM_NCCALCSIZE()
ON_WM_NCHITTEST()
ON_WM_NCLBUTTONDOWN()
ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CTkDialogBar::CTkDialogBar() : m_pParentWnd(NULL), m_sizeDefault(0, 0), m_pOccDialogInfo(NULL), m_lpszTemplateName(NULL) {}

CTkDialogBar::~CTkDialogBar()
{
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CTkDialogBar::SetOccDialogInfo(_AFX_OCC_DIALOG_INFO* pOccDialogInfo)
{
    m_pOccDialogInfo = pOccDialogInfo;
    return TRUE;
}

BOOL CTkDialogBar::Create(CWnd* pParentWnd, UINT nIDTemplate, UINT nStyle, UINT nID)
{
    return Create(pParentWnd, MAKEINTRESOURCE(nIDTemplate), nStyle, nID);
}

BOOL CTkDialogBar::Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, UINT nStyle, UINT nID)
{
    if (pParentWnd == NULL || lpszTemplateName == NULL)
        return FALSE;
    m_dwStyle = nStyle & CBRS_ALL;
    m_pParentWnd = pParentWnd;
    CREATESTRUCT cs;
    memset(&cs, 0, sizeof(cs));
    cs.lpszClass = AFX_WNDCONTROLBAR_CLASS;
    cs.style = (DWORD)nStyle | WS_CHILD;
    cs.hMenu = (HMENU)(UINT_PTR)nID;
    cs.hInstance = AfxGetInstanceHandle();
    cs.hwndParent = pParentWnd->m_hWnd;
    if (!PreCreateWindow(cs))
        return FALSE;

    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    if (hResource == NULL && hInst != AfxGetInstanceHandle()) {
        hInst = AfxGetInstanceHandle();
        hResource = ::FindResourceA(hInst, lpszTemplateName, (LPCSTR)RT_DIALOG);
    }
    HGLOBAL hTemplate = hResource != NULL ? ::LoadResource(hInst, hResource) : NULL;
    LPCDLGTEMPLATE lpTemplate = hTemplate != NULL ? (LPCDLGTEMPLATE)::LockResource(hTemplate) : NULL;
    if (lpTemplate == NULL)
        return FALSE;

    m_lpszTemplateName = lpszTemplateName;
    AfxInitCommonControls();
    BOOL bCreated = CreateDlgIndirect(lpTemplate, pParentWnd, hInst);
    m_lpszTemplateName = NULL;
    if (!bCreated || m_hWnd == NULL)
        return FALSE;

    SetDlgCtrlID((int)nID);
    CRect rect;
    GetWindowRect(&rect);
    m_sizeDefault = rect.Size();
    ModifyStyle(0, WS_CLIPSIBLINGS);
    if (!ExecuteDlgInit(lpszTemplateName)) {
        DestroyWindow();
        return FALSE;
    }
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

CSize CTkDialogBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    if (!bStretch)
        return m_sizeDefault;
    return bHorz ? CSize(32767, m_sizeDefault.cy) : CSize(m_sizeDefault.cx, 32767);
}

CSize CTkDialogBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
        return CalcFixedLayout(TRUE, (dwMode & LM_HORZDOCK) != 0);
    return CTkControlBar::CalcDynamicLayout(nLength, dwMode);
}

void CTkDialogBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) { UpdateDialogControls(pTarget, bDisableIfNoHndler); }

LRESULT CTkDialogBar::OnInitDialog(WPARAM, LPARAM)
{
    Default();
    COccManager* pManager = AfxGetOccManager();
    if (pManager != NULL && m_pOccDialogInfo != NULL) {
        if (!pManager->CreateDlgControls(this, m_lpszTemplateName, m_pOccDialogInfo))
            return FALSE;
    }
    return TRUE;
}

BOOL CTkDialogBar::OnEraseBkgnd(CDC* pDC)
{
    // the parent paints its background behind the bar
    CWnd* pParent = m_pParentWnd != NULL ? m_pParentWnd : GetParent();
    if (pParent == NULL)
        return FALSE;
    CPoint pt(0, 0);
    MapWindowPoints(pParent, &pt, 1);
    CPoint ptOld = pDC->SetWindowOrg(pt);
    LRESULT lResult = pParent->SendMessage(WM_ERASEBKGND, (WPARAM)pDC->m_hDC);
    pDC->SetWindowOrg(ptOld);
    return (BOOL)lResult;
}

void CTkDialogBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    lpncsp->rgrc[0].left += kGripperStrip;
    CTkControlBar::OnNcCalcSize(bCalcValidRects, lpncsp);
}

LRESULT CTkDialogBar::OnNcHitTest(CPoint) { return HTCLIENT; }

void CTkDialogBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CTkControlBar::OnNcLButtonDown(nHitTest, point);
    ScreenToClient(&point);
    PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void CTkDialogBar::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    CTkControlBar::OnNcLButtonDblClk(nHitTest, point);
    ScreenToClient(&point);
    PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}
