#include "CTkStatusBar.h"

#include <afxpriv.h>

#include "CTkGlobalData.h"
#include "CTkMemDC.h"

IMPLEMENT_DYNAMIC(CTkStatusBar, CStatusBar)

BEGIN_MESSAGE_MAP(CTkStatusBar, CStatusBar)
ON_WM_CREATE()
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CTkStatusBar::CTkStatusBar() {}

CTkStatusBar::~CTkStatusBar()
{
    for (int i = 0; i < m_arrPaneControls.GetSize(); i++) {
        PaneControl* pControl = (PaneControl*)m_arrPaneControls[i];
        // a live control is destroyed (a control destroyed early is left alone)
        if (pControl->pWnd != NULL && ::IsWindow(pControl->pWnd->m_hWnd))
            pControl->pWnd->DestroyWindow();
        if (pControl->bAutoDelete)
            delete pControl->pWnd;
        delete pControl;
    }
    m_arrPaneControls.RemoveAll();
}

BOOL CTkStatusBar::AddPaneControl(CWnd* pWnd, UINT nID, BOOL bAutoDelete)
{
    if (pWnd == NULL || CommandToIndex(nID) < 0)
        return FALSE;
    PaneControl* pControl = new PaneControl;
    pControl->pWnd = pWnd;
    pControl->nID = nID;
    pControl->bAutoDelete = bAutoDelete;
    m_arrPaneControls.Add(pControl);
    PositionControls();
    return TRUE;
}

CRect CTkStatusBar::GetPaneRect(int nIndex, BOOL bForControl) const
{
    CRect rect;
    GetItemRect(nIndex, &rect);
    const int e = ::GetSystemMetrics(SM_CXEDGE);
    UINT nID, nStyle;
    int cxWidth;
    GetPaneInfo(nIndex, nID, nStyle, cxWidth);
    if (nIndex == m_nCount - 1) {
        if (nStyle & SBPS_STRETCH) {
            CRect rectClient;
            GetClientRect(&rectClient);
            rect.right = rectClient.right;
            if (GetStyle() & SBARS_SIZEGRIP)
                rect.right -= tkAfxData.cxSmIcon + e;
        } else {
            rect.right = rect.left + cxWidth + 3 * e;
        }
    }
    if (bForControl && !(nStyle & SBPS_NOBORDERS))
        rect.DeflateRect(e, e);
    return rect;
}

void CTkStatusBar::PositionControls()
{
    for (int i = 0; i < m_arrPaneControls.GetSize(); i++) {
        PaneControl* pControl = (PaneControl*)m_arrPaneControls[i];
        int nIndex = CommandToIndex(pControl->nID);
        if (nIndex < 0 || pControl->pWnd == NULL || !::IsWindow(pControl->pWnd->m_hWnd))
            continue;
        CRect rect = GetPaneRect(nIndex, TRUE);
        pControl->pWnd->MoveWindow(&rect, TRUE);
    }
}

int CTkStatusBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CStatusBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_SETFONT, (WPARAM)tkAfxData.fontMenuPlain.m_hObject);
    return 0;
}

void CTkStatusBar::OnSize(UINT nType, int cx, int cy)
{
    CStatusBar::OnSize(nType, cx, cy);
    PositionControls();
}

void CTkStatusBar::OnPaint()
{
    // texts that wait are written before the control paints
    UpdateAllPanes(FALSE, TRUE);
    CPaintDC dc(this);
    CRect rectClient;
    GetClientRect(&rectClient);
    CTkMemDC memDC(&dc, rectClient, tkAfxData.clr3DFace);
    DefWindowProc(WM_PAINT, (WPARAM)memDC.m_hDC, 0);
    if (tkAfxData.bFlatLook) {
        for (int i = 0; i < m_nCount; i++) {
            UINT nID, nStyle;
            int cxWidth;
            GetPaneInfo(i, nID, nStyle, cxWidth);
            if (nStyle & SBPS_NOBORDERS)
                continue;
            CRect rect = GetPaneRect(i, FALSE);
            memDC.Draw3dRect(&rect, tkAfxData.clr3DShadow, tkAfxData.clr3DShadow);
        }
    }
}

BOOL CTkStatusBar::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CTkStatusBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    RecalcDelayShow(NULL);
    if (!(GetStyle() & WS_VISIBLE) || (m_pDockBar != NULL && !(m_pDockBar->GetStyle() & WS_VISIBLE)))
        return 0;
    CWnd* pTarget = GetOwner();
    if (pTarget == NULL)
        pTarget = GetParent();
    if (pTarget != NULL && pTarget->IsFrameWnd())
        OnUpdateCmdUI((CFrameWnd*)pTarget, (BOOL)wParam);
    else if (GetParentFrame() != NULL)
        OnUpdateCmdUI(GetParentFrame(), (BOOL)wParam);
    return 0;
}
