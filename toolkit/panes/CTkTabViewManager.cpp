#include "CTkTabViewManager.h"

#include "CTkGlobalData.h"
#include "CTkTabNavButtons.h"
#include "CMiniDockFrameWnd.h"

namespace {

const UINT kFirstViewId = 0xE900;

// Width of a tab for its text.
int TabWidth(const CString& text, BOOL bImage, const std::function<int(const CString&)>& measure)
{
    return measure(text) + 12 + (text.GetLength() == 1 ? 1 : 0) + (bImage ? 22 : 0);
}

bool EndsWithEllipsis(const CString& text) { return text.GetLength() >= 3 && text.Right(3) == "..."; }

} // namespace

CTkTabViewManager::CTkTabViewManager()
    : m_nPopupIndex(0), m_nMenuId(0), m_bSendInitialUpdate(FALSE), m_pParent(NULL), m_pSavedView(NULL),
      m_pParentFrame(NULL), m_nPrevSel(-1), m_bInitPending(FALSE), m_nDeferredSeq(1), m_tabs(10)
{
    m_bBoldSelection = FALSE;
}

CTkTabViewManager::~CTkTabViewManager()
{
    while (!m_tabs.IsEmpty())
        delete (CTkTabRecord*)m_tabs.RemoveHead();
}

// ---- records ---------------------------------------------------------------------------------------

POSITION CTkTabViewManager::PositionAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)m_tabs.GetCount())
        return NULL;
    return m_tabs.FindIndex(nIndex);
}

CTkTabRecord* CTkTabViewManager::RecordAt(int nIndex) const
{
    POSITION pos = PositionAt(nIndex);
    return pos != NULL ? (CTkTabRecord*)m_tabs.GetAt(pos) : NULL;
}

int CTkTabViewManager::IndexOfView(const CWnd* pView) const
{
    if (pView == NULL)
        return -1;
    int i = 0;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL; i++)
        if (((CTkTabRecord*)m_tabs.GetNext(pos))->pView == pView)
            return i;
    return -1;
}

int CTkTabViewManager::IndexOfClass(CRuntimeClass* pClass) const
{
    if (pClass == NULL)
        return -1;
    int i = 0;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL; i++) {
        CWnd* pView = ((CTkTabRecord*)m_tabs.GetNext(pos))->pView;
        if (pView != NULL && pView->m_hWnd != NULL && pView->IsKindOf(pClass))
            return i;
    }
    return -1;
}

BOOL CTkTabViewManager::IsTabView(CWnd* pView) const { return IndexOfView(pView) >= 0; }

CWnd* CTkTabViewManager::GetView(int nIndex) const
{
    CTkTabRecord* pRecord = RecordAt(nIndex);
    if (pRecord == NULL || pRecord->pView == NULL || !::IsWindow(pRecord->pView->m_hWnd))
        return NULL;
    return pRecord->pView;
}

CWnd* CTkTabViewManager::GetViewByClass(CRuntimeClass* pClass) const { return GetView(IndexOfClass(pClass)); }

CWnd* CTkTabViewManager::GetActiveView() const
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return NULL;
    return GetView(m_pTabCtrl->GetCurSel());
}

LPCTSTR CTkTabViewManager::GetViewText(int nIndex) const
{
    CTkTabRecord* pRecord = RecordAt(nIndex);
    return pRecord != NULL ? (LPCTSTR)pRecord->strLabel : NULL;
}

LPCTSTR CTkTabViewManager::GetViewTextByClass(CRuntimeClass* pClass) const { return GetViewText(IndexOfClass(pClass)); }

LPCTSTR CTkTabViewManager::GetShownText(int nIndex) const
{
    CTkTabRecord* pRecord = RecordAt(nIndex);
    return pRecord != NULL ? (LPCTSTR)pRecord->strShown : NULL;
}

// ---- adding views ------------------------------------------------------------------------------------

BOOL CTkTabViewManager::AddView(LPCTSTR lpszLabel, CWnd* pView, int nIndex, int nIcon)
{
    return InsertView(lpszLabel, pView, nIndex, nIcon);
}

BOOL CTkTabViewManager::AddViewByClass(LPCTSTR lpszLabel, CRuntimeClass* pViewClass, CDocument* pDoc,
                                       CCreateContext* pContext, int nIndex, int nIcon)
{
    CWnd* pView = CreateTabView(pViewClass, pDoc, pContext);
    if (pView == NULL)
        return FALSE;
    return InsertView(lpszLabel, pView, nIndex, nIcon);
}

BOOL CTkTabViewManager::InsertView(LPCTSTR lpszLabel, CWnd* pView, int nIndex, int nIcon)
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL || lpszLabel == NULL)
        return FALSE;
    int nCount = (int)m_tabs.GetCount();
    if (nIndex < 0 || nIndex > nCount)
        nIndex = nCount;
    if (pView != NULL && pView->m_hWnd != NULL)
        pView->SetParent(m_pTabCtrl);
    CTkTabRecord* pRecord = new CTkTabRecord;
    pRecord->nTooltipId = nCount;
    pRecord->pView = pView;
    pRecord->strLabel = lpszLabel;
    pRecord->strTip = lpszLabel;
    pRecord->strShown = lpszLabel;
    POSITION pos = PositionAt(nIndex);
    if (pos != NULL)
        m_tabs.InsertBefore(pos, pRecord);
    else
        m_tabs.AddTail(pRecord);

    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE;
    item.pszText = (LPSTR)lpszLabel;
    item.iImage = nIcon == -1 ? nIndex : nIcon;
    m_pTabCtrl->InsertItem(nIndex, &item);
    AddToolTip((UINT)pRecord->nTooltipId, lpszLabel);
    ResetToolTips();
    SetActiveView(nIndex);
    return TRUE;
}

CWnd* CTkTabViewManager::CreateTabView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext)
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL || pViewClass == NULL ||
        !pViewClass->IsDerivedFrom(RUNTIME_CLASS(CWnd)))
        return NULL;
    CCreateContext context;
    if (pContext == NULL) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewDocTemplate = pDoc != NULL ? pDoc->GetDocTemplate() : NULL;
        pContext = &context;
    }
    CWnd* pWnd = NULL;
    try {
        pWnd = (CWnd*)pViewClass->CreateObject();
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
    if (pWnd == NULL)
        return NULL;
    DWORD dwStyle = WS_CHILD | WS_VISIBLE;
    if (!IsFlat())
        dwStyle |= WS_BORDER;
    // a window that fails deletes its object as a view does
    if (!pWnd->Create(NULL, NULL, dwStyle, CRect(0, 0, 0, 0), m_pTabCtrl, kFirstViewId + (UINT)m_tabs.GetCount(), pContext))
        return NULL;
    if (m_bSendInitialUpdate && !m_bInitPending)
        pWnd->SendMessage(WM_INITIALUPDATE);
    pWnd->SetOwner(m_pParent);
    return pWnd;
}

// ---- activation ----------------------------------------------------------------------------------

void CTkTabViewManager::RestoreFrameView(BOOL bOnlyTabViews)
{
    if (m_pParentFrame == NULL || m_pParentFrame->m_hWnd == NULL)
        return;
    CView* pActive = m_pParentFrame->GetActiveView();
    if (pActive == NULL || (bOnlyTabViews && !IsTabView(pActive)))
        return;
    CView* pSaved = m_pSavedView != NULL && ::IsWindow(m_pSavedView->m_hWnd) ? m_pSavedView : NULL;
    m_pParentFrame->SetActiveView(pSaved);
}

void CTkTabViewManager::ActivateView(CWnd* pView)
{
    if (pView == NULL || m_pTabCtrl == NULL)
        return;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL;) {
        CWnd* pOther = ((CTkTabRecord*)m_tabs.GetNext(pos))->pView;
        if (pOther != NULL && ::IsWindow(pOther->m_hWnd)) {
            pOther->ShowWindow(SW_HIDE);
            pOther->EnableWindow(FALSE);
        }
    }
    if (m_pParentFrame != NULL && pView->IsKindOf(RUNTIME_CLASS(CView)) && m_pParentFrame->IsChild(pView)) {
        CView* pActive = m_pParentFrame->GetActiveView();
        if (pActive != NULL && pActive != pView && m_pTabCtrl->IsChild(pActive))
            m_pParentFrame->SetActiveView((CView*)pView);
    }
    pView->ShowWindow(SW_SHOW);
    pView->EnableWindow(TRUE);
    pView->SetFocus();
    SizeView(pView);
}

BOOL CTkTabViewManager::SetActiveView(int nIndex)
{
    CTkTabRecord* pRecord = RecordAt(nIndex);
    if (pRecord == NULL || pRecord->pView == NULL)
        return FALSE;
    m_pTabCtrl->SetCurSel(nIndex);
    ActivateView(pRecord->pView);
    return TRUE;
}

BOOL CTkTabViewManager::SetActiveViewByWnd(CWnd* pView) { return SetActiveView(IndexOfView(pView)); }

BOOL CTkTabViewManager::SetActiveViewByClass(CRuntimeClass* pClass) { return SetActiveView(IndexOfClass(pClass)); }

void CTkTabViewManager::NotifyOwner(UINT nMessage)
{
    CWnd* pOwner = m_pTabCtrl->GetOwner();
    if (pOwner == NULL)
        pOwner = m_pTabCtrl->GetParent();
    if (pOwner != NULL)
        pOwner->SendMessage(nMessage, (WPARAM)m_pTabCtrl->GetDlgCtrlID(), (LPARAM)m_pTabCtrl);
}

int CTkTabViewManager::OnSelChanging()
{
    m_nPrevSel = m_pTabCtrl->GetCurSel();
    if (m_nPrevSel != -1)
        NotifyOwner(TKWM_TAB_SELCHANGING);
    return m_nPrevSel;
}

int CTkTabViewManager::OnSelChange()
{
    int nSel = m_pTabCtrl->GetCurSel();
    if (nSel < 0)
        return -1;
    CWnd* pPrev = GetView(m_nPrevSel);
    if (pPrev != NULL) {
        pPrev->ShowWindow(SW_HIDE);
        pPrev->EnableWindow(FALSE);
        if (m_pParentFrame != NULL && m_pParentFrame->GetActiveView() == pPrev) {
            CView* pSaved = m_pSavedView != NULL && ::IsWindow(m_pSavedView->m_hWnd) ? m_pSavedView : NULL;
            m_pParentFrame->SetActiveView(pSaved);
        }
    }
    CWnd* pView = GetView(nSel);
    if (pView != NULL && m_pParentFrame != NULL && pView->IsKindOf(RUNTIME_CLASS(CView)) && m_pParentFrame->IsChild(pView)) {
        CView* pActive = m_pParentFrame->GetActiveView();
        if (pActive == NULL || !m_pTabCtrl->IsChild(pActive))
            m_pSavedView = pActive;
        m_pParentFrame->SetActiveView((CView*)pView);
    }
    if (pView != NULL)
        ActivateView(pView);
    NotifyOwner(TKWM_TAB_SELCHANGE);
    return nSel;
}

void CTkTabViewManager::SelectTab(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_pTabCtrl->GetItemCount())
        return;
    OnSelChanging();
    m_pTabCtrl->SetCurSel(nIndex);
    OnSelChange();
}

// ---- removing views ----------------------------------------------------------------------------------

void CTkTabViewManager::RemoveTabRecord(POSITION pos, BOOL bDestroyWindow)
{
    if (pos == NULL)
        return;
    CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.GetAt(pos);
    if (pRecord->pView != NULL && ::IsWindow(pRecord->pView->m_hWnd)) {
        if (bDestroyWindow)
            pRecord->pView->DestroyWindow();
        else
            pRecord->pView->ShowWindow(SW_HIDE);
    }
    m_tabs.RemoveAt(pos);
    delete pRecord;
}

BOOL CTkTabViewManager::DeleteView(int nIndex, BOOL bDestroyWindow)
{
    POSITION pos = PositionAt(nIndex);
    if (pos == NULL)
        return FALSE;
    CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.GetAt(pos);
    if (m_pParentFrame != NULL && pRecord->pView != NULL && m_pParentFrame->GetActiveView() == pRecord->pView)
        RestoreFrameView(FALSE);
    RemoveTabRecord(pos, bDestroyWindow);
    m_pTabCtrl->DeleteItem(nIndex);
    int nCount = (int)m_tabs.GetCount();
    if (nCount > 0) {
        SetActiveView(nIndex == 0 ? 0 : (nIndex < nCount ? nIndex - 1 : nCount - 1));
        ResetToolTips();
    }
    return TRUE;
}

BOOL CTkTabViewManager::DeleteViewByWnd(CWnd* pView, BOOL bDestroyWindow)
{
    return DeleteView(IndexOfView(pView), bDestroyWindow);
}

BOOL CTkTabViewManager::DeleteViewByClass(CRuntimeClass* pClass, BOOL bDestroyWindow)
{
    return DeleteView(IndexOfClass(pClass), bDestroyWindow);
}

BOOL CTkTabViewManager::RemoveAllViews(BOOL bDestroyWindow)
{
    RestoreFrameView(TRUE);
    while (!m_tabs.IsEmpty())
        RemoveTabRecord(m_tabs.GetHeadPosition(), bDestroyWindow);
    if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL)
        m_pTabCtrl->DeleteAllItems();
    return TRUE;
}

// ---- sizes, fonts and styles ---------------------------------------------------------------------------

void CTkTabViewManager::SizeView(CWnd* pView)
{
    if (pView == NULL || !::IsWindow(pView->m_hWnd))
        return;
    CRect rect;
    GetChildRect(rect);
    pView->MoveWindow(&rect, TRUE);
}

void CTkTabViewManager::SizeAllViews()
{
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL;)
        SizeView(((CTkTabRecord*)m_tabs.GetNext(pos))->pView);
}

int CTkTabViewManager::TabHitTest(CPoint pt) const
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return -1;
    if (pt.x == 0 && pt.y == 0) {
        ::GetCursorPos(&pt);
        m_pTabCtrl->ScreenToClient(&pt);
    }
    TCHITTESTINFO hit = {pt, 0};
    return m_pTabCtrl->HitTest(&hit);
}

BOOL CTkTabViewManager::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return FALSE;
    if (!m_pTabCtrl->ModifyStyle(dwRemove, dwAdd, nFlags))
        return FALSE;
    UpdateTabFont();
    return TRUE;
}

void CTkTabViewManager::UpdateTabFont()
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return;
    DWORD dwStyle = m_pTabCtrl->GetStyle();
    CFont* pFont = &tkAfxData.fontMenuPlain;
    if (dwStyle & TCS_VERTICAL)
        pFont = (dwStyle & TCS_RIGHT) ? &tkAfxData.fontVertDown : &tkAfxData.fontVert;
    if (tkAfxData.bWin95)
        m_pTabCtrl->PostMessage(WM_SETFONT, (WPARAM)pFont->m_hObject, TRUE);
    else
        m_pTabCtrl->SendMessage(WM_SETFONT, (WPARAM)pFont->m_hObject, TRUE);
}

void CTkTabViewManager::SetMenuID(UINT nMenuId, int nPopupIndex)
{
    m_nMenuId = nMenuId;
    m_nPopupIndex = nPopupIndex;
}

// ---- tooltips ------------------------------------------------------------------------------------

CToolTipCtrl* CTkTabViewManager::GetToolTips() const
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return NULL;
    HWND hTips = (HWND)::SendMessageA(m_pTabCtrl->m_hWnd, TCM_GETTOOLTIPS, 0, 0);
    return hTips != NULL ? (CToolTipCtrl*)CWnd::FromHandle(hTips) : NULL;
}

void CTkTabViewManager::SetToolTips(CToolTipCtrl* pToolTips)
{
    if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL)
        m_pTabCtrl->SendMessage(TCM_SETTOOLTIPS, (WPARAM)pToolTips->GetSafeHwnd(), 0);
}

void CTkTabViewManager::AddToolTip(UINT nId, LPCTSTR lpszText)
{
    CToolTipCtrl* pTips = GetToolTips();
    if (pTips == NULL)
        return;
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = m_pTabCtrl->m_hWnd;
    ti.uId = nId;
    m_pTabCtrl->GetItemRect((int)nId, &ti.rect);
    ti.lpszText = (LPSTR)lpszText;
    pTips->SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
}

void CTkTabViewManager::UpdateToolTip(int nIndex, LPCTSTR lpszText)
{
    CTkTabRecord* pRecord = RecordAt(nIndex);
    CToolTipCtrl* pTips = GetToolTips();
    if (pRecord == NULL || pTips == NULL || lpszText == NULL)
        return;
    pRecord->strTip = lpszText;
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V1_SIZE;
    ti.hwnd = m_pTabCtrl->m_hWnd;
    ti.uId = (UINT_PTR)pRecord->nTooltipId;
    ti.lpszText = (LPSTR)(LPCTSTR)pRecord->strTip;
    pTips->SendMessage(TTM_UPDATETIPTEXTA, 0, (LPARAM)&ti);
}

void CTkTabViewManager::UpdateToolTipByClass(CRuntimeClass* pClass, LPCTSTR lpszText)
{
    UpdateToolTip(IndexOfClass(pClass), lpszText);
}

void CTkTabViewManager::ResetToolTips()
{
    CToolTipCtrl* pTips = GetToolTips();
    if (pTips == NULL)
        return;
    // the tools follow the tabs' positions: all made again
    int nCount = (int)m_tabs.GetCount();
    for (int i = 0; i <= nCount; i++) {
        TOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V1_SIZE;
        ti.hwnd = m_pTabCtrl->m_hWnd;
        ti.uId = (UINT_PTR)i;
        pTips->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
    int i = 0;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL; i++) {
        CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.GetNext(pos);
        pRecord->nTooltipId = i;
        AddToolTip((UINT)i, pRecord->strTip);
    }
}

BOOL CTkTabViewManager::EnableToolTips(BOOL bEnable)
{
    CToolTipCtrl* pTips = GetToolTips();
    if (pTips == NULL)
        return FALSE;
    pTips->SendMessage(TTM_ACTIVATE, bEnable, 0);
    return TRUE;
}

// ---- deferred set-up -------------------------------------------------------------------------------

void CTkTabViewManager::PostDeferredInit()
{
    m_nDeferredSeq++;
    m_pTabCtrl->PostMessage(TKWM_DEFERRED_INIT, 0, (LPARAM)m_nDeferredSeq);
    m_bInitPending = TRUE;
}

void CTkTabViewManager::DoDeferredInit()
{
    m_bInitPending = FALSE;
    m_nDeferredSeq++;
    UpdateTabFont();
    m_pParent = m_pTabCtrl->GetParent();
    m_pParentFrame = m_pTabCtrl->GetParentFrame();
    if (m_pParentFrame != NULL && m_pParentFrame->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
        m_pParentFrame = m_pParentFrame->GetParentFrame();
    SizeAllViews();
    if (m_bAutoCondense)
        ApplyLabelPass();
    m_pTabCtrl->ModifyStyle(0, WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
}

// ---- shortening labels -------------------------------------------------------------------------------

std::vector<CString> CTkTabViewManager::CondenseLabels(const std::vector<CString>& labels, const std::vector<BOOL>& bImage,
                                                       int nAvailable, int nExtra, int nAverage,
                                                       const std::function<int(const CString&)>& measure)
{
    std::vector<CString> texts = labels;
    size_t n = labels.size();
    if (n == 0 || nAvailable <= 0)
        return texts;
    int nMin = 6 * nAverage + 12;
    std::vector<int> widths(n);
    std::vector<bool> finished(n, false);
    int nTotal = nExtra;
    for (size_t i = 0; i < n; i++) {
        widths[i] = TabWidth(texts[i], i < bImage.size() && bImage[i], measure);
        nTotal += widths[i];
        // a label that is no wider than the least a shortened one keeps is never shortened
        finished[i] = widths[i] <= nMin;
    }
    while (nTotal > nAvailable) {
        int nWidest = -1;
        for (size_t i = 0; i < n; i++)
            if (!finished[i] && (nWidest < 0 || widths[i] > widths[nWidest]))
                nWidest = (int)i;
        if (nWidest < 0)
            break;
        BOOL bImg = (size_t)nWidest < bImage.size() && bImage[nWidest];
        int nChosen = widths[nWidest];
        CString text = texts[nWidest];
        if (!EndsWithEllipsis(text))
            text += "...";
        int nWidth = TabWidth(text, bImg, measure);
        // characters go one by one before the "...", never below the least width
        while (nWidth >= nChosen && text.GetLength() > 3) {
            CString shorter = text.Left(text.GetLength() - 4) + "...";
            int nShorter = TabWidth(shorter, bImg, measure);
            if (nShorter < nMin)
                break;
            text = shorter;
            nWidth = nShorter;
        }
        if (nWidth >= nChosen) {
            finished[nWidest] = true; // cannot get narrower: keep the text it had
            continue;
        }
        nTotal += nWidth - nChosen;
        texts[nWidest] = text;
        widths[nWidest] = nWidth;
        if (text == "..." || nWidth <= nMin ||
            TabWidth(text.Left(text.GetLength() - 4) + "...", bImg, measure) < nMin || text.GetLength() <= 3)
            finished[nWidest] = true;
    }
    return texts;
}

void CTkTabViewManager::ApplyLabelPass()
{
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL || m_tabs.IsEmpty())
        return;
    DWORD dwStyle = m_pTabCtrl->GetStyle();
    CRect rectClient;
    m_pTabCtrl->GetClientRect(&rectClient);
    int nAvailable = (dwStyle & TCS_VERTICAL) ? rectClient.Height() : rectClient.Width();
    if (nAvailable == 0)
        return;
    std::vector<CString> labels;
    std::vector<BOOL> images;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL;) {
        CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.GetNext(pos);
        labels.push_back(pRecord->strLabel);
        TCITEMA item = {};
        item.mask = TCIF_IMAGE;
        m_pTabCtrl->GetItem((int)labels.size() - 1, &item);
        HIMAGELIST hImages = (HIMAGELIST)::SendMessageA(m_pTabCtrl->m_hWnd, TCM_GETIMAGELIST, 0, 0);
        images.push_back(hImages != NULL && item.iImage >= 0 && item.iImage < ::ImageList_GetImageCount(hImages));
    }
    std::vector<CString> texts = labels;
    if (m_bAutoCondense) {
        CClientDC dc(m_pTabCtrl);
        HGDIOBJ hFont = (HGDIOBJ)m_pTabCtrl->SendMessage(WM_GETFONT);
        HGDIOBJ hOld = hFont != NULL ? ::SelectObject(dc.m_hDC, hFont) : NULL;
        TEXTMETRICA tm = {};
        ::GetTextMetricsA(dc.m_hDC, &tm);
        int nExtra = (dwStyle & (TCS_VERTICAL | TCS_MULTILINE)) ? 5 : 4;
        texts = CondenseLabels(labels, images, nAvailable, nExtra, tm.tmAveCharWidth,
                               [&dc](const CString& s) { return dc.GetTextExtent(s, s.GetLength()).cx; });
        if (hOld != NULL)
            ::SelectObject(dc.m_hDC, hOld);
    }
    int i = 0;
    for (POSITION pos = m_tabs.GetHeadPosition(); pos != NULL; i++) {
        CTkTabRecord* pRecord = (CTkTabRecord*)m_tabs.GetNext(pos);
        if (pRecord->strShown == texts[i])
            continue;
        pRecord->strShown = texts[i];
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (LPSTR)(LPCTSTR)pRecord->strShown;
        m_pTabCtrl->SetItem(i, &item);
    }
}

void CTkTabViewManager::SetAutoCondense(BOOL bCondense)
{
    m_bAutoCondense = bCondense;
    ApplyLabelPass();
}
