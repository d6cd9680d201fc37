#include "afxwin.h"
#include "CSplitterWnd.h"

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
ON_COMMAND_EX(ID_NEXT_PANE, OnNextPaneCmd)
ON_COMMAND_EX(ID_PREV_PANE, OnNextPaneCmd)
ON_UPDATE_COMMAND_UI(ID_NEXT_PANE, OnUpdateNextPaneMenu)
ON_UPDATE_COMMAND_UI(ID_PREV_PANE, OnUpdateNextPaneMenu)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}

CView::~CView()
{
    if (m_pDocument != NULL)
        m_pDocument->RemoveView(this);
}

BOOL CView::IsSelected(const CObject*) const { return FALSE; }

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL) {
        if (!AfxEndDeferRegisterClass(AFX_WNDFRAMEORVIEW_CLASS))
            return FALSE;
        cs.lpszClass = AFX_WNDFRAMEORVIEW_CLASS;
    }
    // a sunken client edge in place of the flat border
    if (cs.style & WS_BORDER) {
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    // the view joins the document of its creation context
    CCreateContext* pContext = (CCreateContext*)lpcs->lpCreateParams;
    if (pContext != NULL && pContext->m_pCurrentDoc != NULL)
        pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL && pFrame->GetActiveView() == this)
        pFrame->SetActiveView(NULL); // no frame keeps a view that is going
    CWnd::OnDestroy();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

void CView::OnInitialUpdate() { OnUpdate(NULL, 0, NULL); }

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnUpdate(CView* pSender, LPARAM, CObject*)
{
    if (pSender != this)
        Invalidate(TRUE);
}

BOOL CView::IsTopParentActive() const
{
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL)
        return FALSE;
    HWND hWndForeground = ::GetForegroundWindow();
    return hWndForeground == pTop->m_hWnd || hWndForeground == ::GetLastActivePopup(pTop->m_hWnd);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    UNUSED(pActivateView);
    if (bActivate && IsTopParentActive())
        SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
        return nResult;
    CFrameWnd* pParentFrame = GetParentFrame();
    if (pParentFrame != NULL) {
        // the active view is activated again (it may have lost the focus to a child), any
        // other one becomes active
        CView* pView = pParentFrame->GetActiveView();
        HWND hWndFocus = ::GetFocus();
        if (pView == this && m_hWnd != hWndFocus && !::IsChild(m_hWnd, hWndFocus))
            OnActivateView(TRUE, this, this);
        else
            pParentFrame->SetActiveView(this);
    }
    return nResult;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != NULL && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

CSplitterWnd* PASCAL CView::GetParentSplitter(const CWnd* pWnd, BOOL bAnyState)
{
    if (pWnd == NULL || pWnd->m_hWnd == NULL)
        return NULL;
    CSplitterWnd* pSplitter = (CSplitterWnd*)CWnd::FromHandlePermanent(::GetParent(pWnd->m_hWnd));
    if (pSplitter == NULL || !pSplitter->IsKindOf(RUNTIME_CLASS(CSplitterWnd)))
        return NULL;
    if (!bAnyState) {
        // a splitter that can split but is not split now does not count
        if ((pSplitter->GetStyle() & SPLS_DYNAMIC_SPLIT) && pSplitter->GetRowCount() == 1 && pSplitter->GetColumnCount() == 1)
            return NULL;
    }
    return pSplitter;
}

CScrollBar* CView::GetScrollBarCtrl(int nBar) const
{
    // the splitter's bar along the pane's column (horizontal) or row (vertical)
    CSplitterWnd* pSplitter = GetParentSplitter(this, TRUE);
    if (pSplitter == NULL)
        return NULL;
    DWORD dwStyle = pSplitter->GetScrollStyle();
    if ((nBar == SB_HORZ && !(dwStyle & WS_HSCROLL)) || (nBar == SB_VERT && !(dwStyle & WS_VSCROLL)))
        return NULL;
    int nRow = 0;
    int nCol = 0;
    if (!pSplitter->IsChildPane(this, &nRow, &nCol))
        return NULL;
    UINT nID = nBar == SB_HORZ ? AFX_IDW_HSCROLL_FIRST + nCol : AFX_IDW_VSCROLL_FIRST + nRow;
    // the bar has no object of its own: the scroll-bar wrapper adds no data to CWnd
    return (CScrollBar*)pSplitter->GetDlgItem(nID);
}

BOOL CView::OnNextPaneCmd(UINT nID)
{
    CSplitterWnd* pSplitter = GetParentSplitter(this, FALSE);
    if (pSplitter == NULL)
        return FALSE;
    pSplitter->ActivateNext(nID == ID_PREV_PANE);
    return TRUE;
}

void CView::OnUpdateNextPaneMenu(CCmdUI* pCmdUI)
{
    CSplitterWnd* pSplitter = GetParentSplitter(this, FALSE);
    pCmdUI->Enable(pSplitter != NULL && pSplitter->CanActivateNext(pCmdUI->m_nID == ID_PREV_PANE));
}
