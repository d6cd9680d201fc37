// The members of CFrameWnd that dock, float, show and hide control bars and keep their layout:
// the frame layer declares them, the docking layer (which knows the bar classes) defines them.
#include "AfxDockingPrivate.h"
#include "CControlBar.h"
#include "CControlBarInfo.h"
#include "CDockBar.h"
#include "CDockContext.h"
#include "CDockState.h"
#include "CMiniDockFrameWnd.h"

using namespace afxdock;

const DWORD CFrameWnd::dwDockBarMap[4][2] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

void CFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (int i = 0; i < 4; i++) {
        if (!(dwDockBarMap[i][1] & dwDockStyle & CBRS_ALIGN_ANY))
            continue;
        if (GetControlBar(dwDockBarMap[i][0]) != NULL)
            continue;
        CDockBar* pDockBar = new CDockBar;
        if (!pDockBar->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | dwDockBarMap[i][1],
                              dwDockBarMap[i][0])) {
            delete pDockBar;
            AfxThrowResourceException();
        }
    }
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (nID == 0)
        return NULL;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->m_hWnd != NULL && BarId(pBar->m_hWnd) == nID)
            return pBar;
    }
    return NULL;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CDockBar* pDockBar = NULL;
    if (nDockBarID != 0) {
        CControlBar* pFound = GetControlBar(nDockBarID);
        if (pFound == NULL || !pFound->IsDockBar())
            return; // the frame has no such dock bar
        pDockBar = (CDockBar*)pFound;
    }
    DockControlBar(pBar, pDockBar, lpRect);
}

void CFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    // A bar must have been made in this frame (it is in the frame's list) and have a docking
    // context (CControlBar::EnableDocking); a bar that is not is left where it is.
    if (pBar == NULL || pBar->m_pDockContext == NULL || pBar->m_pDockSite != this || m_listControlBars.Find(pBar) == NULL)
        return;
    if (pDockBar == NULL) {
        // the dock bar of the bar's side, else the first one it may dock at
        DWORD dwAlign = pBar->m_dwStyle & CBRS_ALIGN_ANY;
        for (int i = 0; i < 4 && pDockBar == NULL; i++) {
            if ((dwDockBarMap[i][1] & CBRS_ALIGN_ANY) == dwAlign)
                pDockBar = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
        }
        for (int i = 0; i < 4 && pDockBar == NULL; i++) {
            if (dwDockBarMap[i][1] & pBar->m_dwDockStyle & CBRS_ALIGN_ANY)
                pDockBar = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
        }
        if (pDockBar == NULL)
            return;
    }
    pDockBar->DockControlBar(pBar, lpRect);
}

void CFrameWnd::ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    if (pBar == NULL || pBar->m_pDockContext == NULL || pBar->m_pDockSite != this || m_listControlBars.Find(pBar) == NULL)
        return;
    if (pDockBar == NULL) {
        // the dock bar that keeps the bar's placeholder, else the one of its alignment
        CDockBar* pPossible = NULL;
        void* pPlaceHolder = CDockBar::PlaceHolderOf(BarId(pBar->m_hWnd));
        for (int i = 0; i < 4 && pDockBar == NULL; i++) {
            CDockBar* pTemp = (CDockBar*)GetControlBar(dwDockBarMap[i][0]);
            if (pTemp == NULL)
                continue;
            if (pTemp->FindBar((CControlBar*)pPlaceHolder) > 0)
                pDockBar = pTemp;
            else if ((dwDockBarMap[i][1] & CBRS_ALIGN_ANY) == (pBar->m_dwStyle & CBRS_ALIGN_ANY))
                pPossible = pTemp;
        }
        if (pDockBar == NULL)
            pDockBar = pPossible;
        if (pDockBar == NULL)
            return;
    }
    pDockBar->ReDockControlBar(pBar, lpRect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle)
{
    CRuntimeClass* pClass = m_pFloatingFrameClass != NULL ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* pObject = pClass->CreateObject();
    if (pObject == NULL)
        AfxThrowMemoryException();
    if (!pObject->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        delete pObject;
        AfxThrowResourceException();
    }
    CMiniDockFrameWnd* pFrame = (CMiniDockFrameWnd*)pObject;
    if (!pFrame->Create(this, dwStyle)) {
        // a frame whose window exists goes with it; one that never got a window is deleted here
        if (pFrame->m_hWnd != NULL)
            pFrame->DestroyWindow();
        else
            delete pFrame;
        AfxThrowResourceException();
    }
    return pFrame;
}

void CFrameWnd::FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle)
{
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    // A bar alone in a floating frame of the same orientation: the frame moves.
    if (pBar->m_pDockSite != NULL && pBar->m_pDockBar != NULL) {
        CDockBar* pDockBar = pBar->m_pDockBar;
        if (pDockBar->m_bFloating && pDockBar->GetDockedCount() == 1 && (dwStyle & pDockBar->m_dwStyle & CBRS_ALIGN_ANY) != 0) {
            CFrameWnd* pDockFrame = pDockBar->GetParentFrame();
            if (pDockFrame != NULL) {
                pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                pDockFrame->RecalcLayout(TRUE);
                pDockFrame->UpdateWindow();
                return;
            }
        }
    }
    // a bar that changes its shape floats horizontally
    if (pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        dwStyle |= CBRS_SIZE_DYNAMIC;
        if (dwStyle & CBRS_ORIENT_VERT)
            dwStyle = (dwStyle & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(dwStyle);
    pDockFrame->SetWindowPos(NULL, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (pDockFrame->m_hWndOwner == NULL)
        pDockFrame->m_hWndOwner = pBar->m_hWnd;
    pDockFrame->m_wndDockBar.DockControlBar(pBar);
    pDockFrame->RecalcLayout(TRUE);
    if (pBar->GetStyle() & WS_VISIBLE) {
        pDockFrame->ShowWindow(SW_SHOWNA);
        pDockFrame->UpdateWindow();
    }
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (pBar == NULL || pBar->m_hWnd == NULL)
        return;
    CFrameWnd* pParentFrame = pBar->GetDockingFrame();
    if (pParentFrame == NULL)
        pParentFrame = this;
    if (bDelay) {
        pBar->DelayShow(bShow);
        pParentFrame->DelayRecalcLayout();
    } else {
        pBar->SetWindowPos(NULL, 0, 0, 0, 0,
                           SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        // an earlier delayed request must not undo this one
        pBar->DelayShow(bShow);
        if (bShow || !pBar->IsFloating())
            pParentFrame->RecalcLayout(FALSE);
    }
    // a floating frame shows while it holds a visible bar
    if (pBar->IsFloating()) {
        int nVisible = pBar->m_pDockBar != NULL ? pBar->m_pDockBar->GetDockedVisibleCount() : (bShow ? 1 : 0);
        if (nVisible == 1 && bShow) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay) {
                pParentFrame->m_nShowDelay = SW_SHOWNA;
                pParentFrame->RecalcLayout(FALSE);
            } else {
                pParentFrame->ShowWindow(SW_SHOWNA);
            }
        } else if (nVisible == 0) {
            pParentFrame->m_nShowDelay = -1;
            if (bDelay)
                pParentFrame->m_nShowDelay = SW_HIDE;
            else
                pParentFrame->ShowWindow(SW_HIDE);
        } else if (!bDelay) {
            pParentFrame->RecalcLayout(FALSE);
        }
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    // only the alignment and whether floating frames are welcome count
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar != NULL)
        *ppDockBar = NULL;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (!pBar->IsDockBar() || pBar->m_hWnd == NULL || !pBar->IsWindowVisible())
            continue;
        CDockBar* pDockBar = (CDockBar*)pBar;
        if (!(pDockBar->m_dwStyle & dwDockStyle & CBRS_ALIGN_ANY))
            continue;
        if (pDockBar->m_bFloating && !(dwDockStyle & pDockBar->m_dwStyle & CBRS_FLOAT_MULTI))
            continue;
        // an empty dock bar is a line along the frame's edge
        CRect rectBar;
        pDockBar->GetWindowRect(&rectBar);
        if (rectBar.Width() == 0)
            rectBar.right++;
        if (rectBar.Height() == 0)
            rectBar.bottom++;
        CRect rectHit;
        if (rectHit.IntersectRect(&rectBar, &rect)) {
            if (ppDockBar != NULL)
                *ppDockBar = pDockBar;
            return pDockBar->m_dwStyle & dwDockStyle;
        }
    }
    return 0;
}

void CFrameWnd::DestroyDockBars()
{
    // the list changes while its dock bars and floating frames go: a copy first
    CPtrList listDockBars;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->IsDockBar())
            listDockBars.AddTail(pBar);
    }
    for (POSITION pos = listDockBars.GetHeadPosition(); pos != NULL;) {
        CDockBar* pDockBar = (CDockBar*)listDockBars.GetNext(pos);
        // an earlier one may have taken it along (a floating frame's dock bar)
        if (m_listControlBars.Find(pDockBar) == NULL || pDockBar->m_hWnd == NULL)
            continue;
        if (pDockBar->m_bFloating) {
            CFrameWnd* pFloatingFrame = pDockBar->GetParentFrame();
            if (pFloatingFrame != NULL && pFloatingFrame != this) {
                pFloatingFrame->DestroyWindow();
                continue;
            }
        }
        pDockBar->DestroyWindow();
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* pBar = GetControlBar(nID);
    if (pBar == NULL)
        return FALSE; // another handler's command
    ShowControlBar(pBar, (pBar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == NULL) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck((pBar->GetStyle() & WS_VISIBLE) != 0);
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int nVirtKey;
    switch (pCmdUI->m_nID) {
    case ID_INDICATOR_CAPS:
        nVirtKey = VK_CAPITAL;
        break;
    case ID_INDICATOR_NUM:
        nVirtKey = VK_NUMLOCK;
        break;
    case ID_INDICATOR_SCRL:
        nVirtKey = VK_SCROLL;
        break;
    case ID_INDICATOR_KANA:
        nVirtKey = VK_KANA;
        break;
    default:
        pCmdUI->ContinueRouting();
        return;
    }
    // the pane shows its text while the key is toggled on
    pCmdUI->Enable((::GetKeyState(nVirtKey) & 0x0001) != 0);
}

// ---- the saved layout --------------------------------------------------------------------------

void CFrameWnd::GetDockState(CDockState& state) const
{
    state.Clear();
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos != NULL;) {
        CControlBar* pBar = (CControlBar*)m_listControlBars.GetNext(pos);
        if (pBar->m_hWnd == NULL)
            continue;
        CControlBarInfo* pInfo = new CControlBarInfo;
        pBar->GetBarInfo(pInfo);
        state.m_arrBarInfo.Add(pInfo);
    }
}

void CFrameWnd::SetDockState(const CDockState& state)
{
    // First the bars of the infos: a new floating frame for each floating one, else the frame's
    // bar of the id (an id the frame no longer has is passed over).
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
        pInfo->m_pBar = NULL;
        if (pInfo->m_bFloating) {
            CMiniDockFrameWnd* pDockFrame = CreateFloatingFrame(pInfo->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
            CRect rect(pInfo->m_pointPos, CSize(10, 10));
            pDockFrame->CalcWindowRect(&rect);
            pDockFrame->SetWindowPos(NULL, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            pInfo->m_pBar = &pDockFrame->m_wndDockBar;
        } else {
            pInfo->m_pBar = GetControlBar(pInfo->m_nBarID);
            if (pInfo->m_pBar == NULL)
                continue;
        }
        pInfo->m_pBar->m_nMRUWidth = pInfo->m_nMRUWidth;
    }
    // Then every bar takes its state: dock bars their rows (which docks the bars into them),
    // bars their visibility and place. A bar gone meanwhile (a floating frame that lost its
    // bars) is passed over.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
        if (pInfo->m_pBar != NULL && m_listControlBars.Find(pInfo->m_pBar) != NULL)
            pInfo->m_pBar->SetBarInfo(pInfo, this);
    }
    // The floating frames that hold visible bars show; those without bars go.
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); i++) {
        CControlBarInfo* pInfo = (CControlBarInfo*)state.m_arrBarInfo[i];
        if (!pInfo->m_bFloating || pInfo->m_pBar == NULL || m_listControlBars.Find(pInfo->m_pBar) == NULL)
            continue;
        CDockBar* pDockBar = (CDockBar*)pInfo->m_pBar;
        CFrameWnd* pDockFrame = pDockBar->GetParentFrame();
        if (pDockFrame == NULL)
            continue;
        if (pDockBar->GetDockedCount() == 0) {
            pDockFrame->DestroyWindow();
        } else if (pDockBar->GetDockedVisibleCount() > 0) {
            pDockFrame->RecalcLayout();
            pDockFrame->ShowWindow(SW_SHOWNA);
        }
    }
    DelayRecalcLayout();
}

void CFrameWnd::LoadBarState(LPCTSTR lpszProfileName)
{
    CDockState state;
    state.LoadState(lpszProfileName);
    SetDockState(state);
}

void CFrameWnd::SaveBarState(LPCTSTR lpszProfileName) const
{
    CDockState state;
    GetDockState(state);
    state.SaveState(lpszProfileName);
}
