#include "CTkTabCtrl.h"

#include "CTkGlobalData.h"
#include "CTkTabNavButtons.h"

IMPLEMENT_DYNAMIC(CTkTabCtrl, CTabCtrl)

BEGIN_MESSAGE_MAP(CTkTabCtrl, CTabCtrl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_SETTINGCHANGE()
ON_WM_SYSCOLORCHANGE()
ON_WM_RBUTTONDOWN()
ON_WM_CREATE()
ON_WM_DESTROY()
ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChangeReflect)
ON_NOTIFY_REFLECT(TCN_SELCHANGING, OnSelChangingReflect)
ON_WM_WINDOWPOSCHANGED()
ON_MESSAGE(TKWM_DEFERRED_INIT, OnDeferredInit)
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
END_MESSAGE_MAP()

CTkTabCtrl::CTkTabCtrl() { BindTabCtrl(this); }

CTkTabCtrl::~CTkTabCtrl() {}

void CTkTabCtrl::PreSubclassWindow()
{
    CTabCtrl::PreSubclassWindow();
    PostDeferredInit();
}

int CTkTabCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CTabCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    PostDeferredInit();
    return 0;
}

LRESULT CTkTabCtrl::OnDeferredInit(WPARAM, LPARAM lParam)
{
    if ((int)lParam != m_nDeferredSeq)
        return 0; // a later request follows
    if (m_bSendInitialUpdate)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    DoDeferredInit();
    return 0;
}

LRESULT CTkTabCtrl::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    DoDeferredInit();
    return 0;
}

BOOL CTkTabCtrl::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN &&
        ((pMsg->wParam == VK_TAB && (::GetKeyState(VK_CONTROL) & 0x8000)) || pMsg->wParam == VK_F6)) {
        int nCount = GetItemCount();
        if (nCount > 0) {
            int nSel = GetCurSel();
            BOOL bBack = (::GetKeyState(VK_SHIFT) & 0x8000) != 0;
            int nNext = bBack ? (nSel <= 0 ? nCount - 1 : nSel - 1) : (nSel + 1 >= nCount ? 0 : nSel + 1);
            SelectTab(nNext);
            SetFocus();
        }
        return TRUE;
    }
    return CTabCtrl::PreTranslateMessage(pMsg);
}

BOOL CTkTabCtrl::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CWnd* pView = GetActiveView();
    if (pView != NULL && pView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CTabCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CTkTabCtrl::EnableToolTips(BOOL bEnable) { return CTkTabViewManager::EnableToolTips(bEnable); }

void CTkTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    PaintTabs(&dc);
}

BOOL CTkTabCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkTabCtrl::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CTabCtrl::OnSettingChange(uFlags, lpszSection);
    m_nEdge = ::GetSystemMetrics(SM_CYEDGE);
}

void CTkTabCtrl::OnSysColorChange()
{
    CTabCtrl::OnSysColorChange();
    CreatePens();
}

void CTkTabCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    if (m_nMenuId == 0) {
        CTabCtrl::OnRButtonDown(nFlags, point);
        return;
    }
    CMenu menu;
    if (!menu.LoadMenu(m_nMenuId))
        return;
    CMenu* pPopup = menu.GetSubMenu(m_nPopupIndex);
    if (pPopup != NULL) {
        ClientToScreen(&point);
        CWnd* pTarget = m_pParentFrame != NULL ? (CWnd*)m_pParentFrame : GetParentFrame();
        pPopup->TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, pTarget != NULL ? pTarget : this);
    }
    menu.DestroyMenu();
}

void CTkTabCtrl::OnDestroy()
{
    while (!m_tabs.IsEmpty()) {
        CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.RemoveHead();
        if (pRecord->pView != NULL && ::IsWindow(pRecord->pView->m_hWnd))
            pRecord->pView->PostMessage(WM_CLOSE);
        delete pRecord;
    }
    CTabCtrl::OnDestroy();
}

void CTkTabCtrl::OnSelChangingReflect(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    SetRedraw(FALSE);
    OnSelChanging();
}

void CTkTabCtrl::OnSelChangeReflect(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    OnSelChange();
    SetRedraw(TRUE);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTkTabCtrl::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    if (!(lpwndpos->flags & SWP_HIDEWINDOW))
        SizeAllViews();
    else
        RestoreFrameView(TRUE);
    CTabCtrl::OnWindowPosChanged(lpwndpos);
    if (m_bAutoCondense)
        ApplyLabelPass();
}
