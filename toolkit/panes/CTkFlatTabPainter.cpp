#include "CTkFlatTabPainter.h"

#include "CTkGlobalData.h"
#include "CTkMemDC.h"
#include "CTkTabNavButtons.h"

namespace {

// Entries of the toolkit colour table (as kept in clrToolkit from entry 30 on): the strip and
// the labels of unselected tabs.
COLORREF StripColour() { return tkAfxData.clrToolkit[48 - 30]; }
COLORREF LabelColour() { return tkAfxData.clrToolkit[49 - 30]; }

void Line(CDC* pDC, CPen* pPen, int x1, int y1, int x2, int y2)
{
    CPen* pOld = pDC->SelectObject(pPen);
    pDC->MoveTo(x1, y1);
    pDC->LineTo(x2, y2);
    pDC->SelectObject(pOld);
}

} // namespace

CTkFlatTabPainter::CTkFlatTabPainter()
    : m_nEdge(::GetSystemMetrics(SM_CYEDGE)), m_pTabCtrl(NULL), m_bBoldSelection(TRUE), m_bPageFrame(TRUE),
      m_bDefaultPainting(FALSE), m_bAutoCondense(FALSE), m_pNavButtons(NULL)
{
    CreatePens();
}

CTkFlatTabPainter::~CTkFlatTabPainter()
{
    if (m_pNavButtons != NULL && m_pNavButtons->m_hWnd != NULL)
        m_pNavButtons->DestroyWindow();
    delete m_pNavButtons;
}

void CTkFlatTabPainter::BindTabCtrl(CTabCtrl* pTabCtrl)
{
    m_pTabCtrl = pTabCtrl;
    if (m_pNavButtons == NULL)
        m_pNavButtons = new CTkTabNavButtons;
    m_pNavButtons->Bind(pTabCtrl);
}

void CTkFlatTabPainter::CreatePens()
{
    m_penDark.DeleteObject();
    m_penLight.DeleteObject();
    m_penFace.DeleteObject();
    m_penShadow.DeleteObject();
    m_penDark.CreatePen(PS_SOLID, 1, tkAfxData.clrBtnText);
    m_penLight.CreatePen(PS_SOLID, 1, tkAfxData.clr3DHilight);
    m_penFace.CreatePen(PS_SOLID, 1, tkAfxData.clr3DFace);
    m_penShadow.CreatePen(PS_SOLID, 1, tkAfxData.clr3DShadow);
}

BOOL CTkFlatTabPainter::IsFlat() const { return !m_bDefaultPainting && tkAfxData.bFlatLook; }

void CTkFlatTabPainter::SetNavButtons(DWORD dwOptions)
{
    if (m_pNavButtons != NULL)
        m_pNavButtons->SetOptions(dwOptions);
}

CRect CTkFlatTabPainter::ComputeChildRect(const CRect& c, const CRect& s, int nRows, DWORD dwStyle)
{
    if ((dwStyle & TCS_VERTICAL) && (dwStyle & TCS_RIGHT))
        return CRect(c.left + 3, c.top + 3, c.right - nRows * s.Width() - 5, c.bottom - 3);
    if (dwStyle & TCS_VERTICAL)
        return CRect(c.left + nRows * s.Width() + 5, c.top + 3, c.right - 3, c.bottom - 3);
    if (dwStyle & TCS_BOTTOM)
        return CRect(c.left + 3, c.top + 3, c.right - 3, c.bottom - nRows * s.Height() - 5);
    return CRect(c.left + 3, c.top + nRows * s.Height() + 5, c.right - 3, c.bottom - 3);
}

void CTkFlatTabPainter::GetChildRect(CRect& rect) const
{
    rect.SetRectEmpty();
    if (m_pTabCtrl == NULL || m_pTabCtrl->m_hWnd == NULL)
        return;
    int nSel = m_pTabCtrl->GetCurSel();
    CRect rectSel;
    if (nSel < 0 || !m_pTabCtrl->GetItemRect(nSel, &rectSel))
        return;
    CRect rectClient;
    m_pTabCtrl->GetClientRect(&rectClient);
    int nRows = (int)::SendMessageA(m_pTabCtrl->m_hWnd, TCM_GETROWCOUNT, 0, 0);
    rect = ComputeChildRect(rectClient, rectSel, nRows < 1 ? 1 : nRows, m_pTabCtrl->GetStyle());
}

void CTkFlatTabPainter::PaintTabs(CDC* pDC)
{
    CRect rectClient;
    m_pTabCtrl->GetClientRect(&rectClient);
    CTkMemDC dc(pDC, rectClient, tkAfxData.clr3DFace);
    if (!IsFlat()) {
        UpdateNavButtons();
        m_pTabCtrl->DefWindowProc(WM_PAINT, (WPARAM)dc.m_hDC, 0);
        return;
    }
    int nSel = m_pTabCtrl->GetCurSel();
    CRect rectSel;
    if (m_pTabCtrl->GetItemCount() > 0) {
        int nSaved = dc.SaveDC();
        if (nSel < 0 || !m_pTabCtrl->GetItemRect(nSel, &rectSel))
            rectSel.SetRectEmpty();
        DWORD dwStyle = m_pTabCtrl->GetStyle();
        if ((dwStyle & TCS_VERTICAL) && (dwStyle & TCS_RIGHT))
            DrawTabsRight(&dc, rectClient, rectSel);
        else if (dwStyle & TCS_VERTICAL)
            DrawTabsLeft(&dc, rectClient, rectSel);
        else if (dwStyle & TCS_BOTTOM)
            DrawTabsBottom(&dc, rectClient, rectSel);
        else
            DrawTabsTop(&dc, rectClient, rectSel);
        UpdateNavButtons();
        if (m_bPageFrame) {
            CRect rectPage;
            GetChildRect(rectPage);
            if (!rectPage.IsRectEmpty()) {
                rectPage.InflateRect(1, 1);
                dc.Draw3dRect(&rectPage, tkAfxData.clr3DShadow, tkAfxData.clr3DShadow);
            }
        }
        dc.RestoreDC(nSaved);
    } else {
        UpdateNavButtons();
    }
}

void CTkFlatTabPainter::UpdateNavButtons()
{
    if (m_pNavButtons == NULL)
        return;
    DWORD dwStyle = m_pTabCtrl->GetStyle();
    if (tkAfxData.bFlatLook && !m_bDefaultPainting && !(dwStyle & (TCS_VERTICAL | TCS_MULTILINE)) && !m_bAutoCondense) {
        m_pNavButtons->AttachSpin(TkFindTabSpin(m_pTabCtrl));
        m_pNavButtons->ShowButtons(TRUE); // laid out again: the tabs may have changed
    } else if (m_pNavButtons->IsShown() || m_pNavButtons->m_hWnd != NULL) {
        m_pNavButtons->ShowButtons(FALSE);
    }
}

// Labels of all tabs: horizontal ones centred in their tab, vertical ones running upwards.
void CTkFlatTabPainter::DrawTabLabels(CDC* pDC, BOOL bVertical, int nSelected)
{
    HIMAGELIST hImages = (HIMAGELIST)::SendMessageA(m_pTabCtrl->m_hWnd, TCM_GETIMAGELIST, 0, 0);
    int nCount = m_pTabCtrl->GetItemCount();
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (!m_pTabCtrl->GetItemRect(i, &rect))
            continue;
        char szText[257] = "";
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = szText;
        item.cchTextMax = 256;
        if (!m_pTabCtrl->GetItem(i, &item))
            continue;
        BOOL bSel = i == nSelected;
        pDC->SetTextColor(bSel ? tkAfxData.clrBtnText : LabelColour());
        int cxImage = 0, cyImage = 0;
        if (hImages != NULL && item.iImage >= 0)
            ::ImageList_GetIconSize(hImages, &cxImage, &cyImage);
        if (!bVertical) {
            CRect rectText = rect;
            if (cxImage > 0) {
                ::ImageList_Draw(hImages, item.iImage, pDC->m_hDC, rect.left + m_nEdge + 2, rect.top + m_nEdge, ILD_TRANSPARENT);
                rectText.left += m_nEdge + cxImage;
            }
            CFont* pFont = bSel && m_bBoldSelection ? &tkAfxData.fontMenuBold : &tkAfxData.fontMenu;
            CFont* pOld = pDC->SelectObject(pFont);
            pDC->DrawText(szText, &rectText, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
            pDC->SelectObject(pOld);
        } else {
            int yTop = rect.top;
            if (cxImage > 0) {
                ::ImageList_Draw(hImages, item.iImage, pDC->m_hDC, rect.left + m_nEdge, rect.top + m_nEdge, ILD_TRANSPARENT);
                yTop += m_nEdge + cyImage;
            }
            CFont* pFont = bSel && m_bBoldSelection ? &tkAfxData.fontVertBold : &tkAfxData.fontVert;
            CFont* pOld = pDC->SelectObject(pFont);
            CSize size = pDC->GetTextExtent(szText, (int)strlen(szText));
            CRect rectClip(rect.left, yTop, rect.right, rect.bottom);
            int y = rect.bottom - (rect.bottom - size.cx - yTop) / 2;
            pDC->ExtTextOut(rect.left + m_nEdge, y, ETO_CLIPPED, &rectClip, szText, (UINT)strlen(szText), NULL);
            pDC->SelectObject(pOld);
        }
    }
}

int CTkFlatTabPainter::DrawTabsTop(CDC* pDC, CRect c, CRect s)
{
    int nRows = (int)::SendMessageA(m_pTabCtrl->m_hWnd, TCM_GETROWCOUNT, 0, 0);
    int b = (nRows < 1 ? 1 : nRows) * (s.Height() + c.top);
    pDC->FillSolidRect(c.left, c.top, c.Width(), b - c.top, StripColour());
    Line(pDC, &m_penLight, c.left, b, c.right, b);
    pDC->FillSolidRect(&s, tkAfxData.clr3DFace);
    Line(pDC, &m_penLight, s.left, s.top, s.left, b + 1);
    Line(pDC, &m_penLight, s.left, s.top, s.right, s.top);
    Line(pDC, &m_penDark, s.right, b - 1, s.right, s.top - 1);
    Line(pDC, &m_penFace, s.left + 1, b, s.right, b);
    int nSel = m_pTabCtrl->GetCurSel();
    DrawTabLabels(pDC, FALSE, nSel);
    int nCount = m_pTabCtrl->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (i == nSel || i + 1 == nSel || !m_pTabCtrl->GetItemRect(i, &rect))
            continue;
        Line(pDC, &m_penShadow, rect.right, rect.top + 3, rect.right, rect.bottom - 3);
    }
    return nCount;
}

int CTkFlatTabPainter::DrawTabsBottom(CDC* pDC, CRect c, CRect s)
{
    CRect rectStrip(c.left, s.top, c.right, c.bottom);
    pDC->FillSolidRect(&rectStrip, StripColour());
    Line(pDC, &m_penDark, c.left, s.top, c.right, s.top);
    CRect rectTab = s;
    rectTab.top -= 1;
    pDC->FillSolidRect(&rectTab, tkAfxData.clr3DFace);
    Line(pDC, &m_penDark, s.right, s.top, s.right, s.bottom - 1);
    Line(pDC, &m_penDark, s.left, s.bottom - 1, s.right + 1, s.bottom - 1);
    Line(pDC, &m_penLight, s.left, s.top, s.left, s.bottom - 1);
    Line(pDC, &m_penFace, s.left + 1, s.bottom - 2, s.right, s.bottom - 2);
    int nSel = m_pTabCtrl->GetCurSel();
    DrawTabLabels(pDC, FALSE, nSel);
    int nCount = m_pTabCtrl->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (i == nSel || i + 1 == nSel || !m_pTabCtrl->GetItemRect(i, &rect))
            continue;
        Line(pDC, &m_penShadow, rect.right, rect.top + 4, rect.right, rect.bottom - 2);
    }
    return nCount;
}

int CTkFlatTabPainter::DrawTabsLeft(CDC* pDC, CRect c, CRect s)
{
    CRect rectStrip(c.left, c.top, s.right, c.bottom);
    pDC->FillSolidRect(&rectStrip, StripColour());
    Line(pDC, &m_penLight, s.right, c.top, s.right, c.bottom);
    pDC->FillSolidRect(&s, tkAfxData.clr3DFace);
    Line(pDC, &m_penLight, s.left, s.top, s.left, s.bottom);
    Line(pDC, &m_penLight, s.left, s.top, s.right, s.top);
    Line(pDC, &m_penDark, s.left, s.bottom, s.right, s.bottom);
    Line(pDC, &m_penFace, s.right, s.top + 1, s.right, s.bottom);
    int nSel = m_pTabCtrl->GetCurSel();
    DrawTabLabels(pDC, TRUE, nSel);
    int nCount = m_pTabCtrl->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (i == nSel || i + 1 == nSel || !m_pTabCtrl->GetItemRect(i, &rect))
            continue;
        Line(pDC, &m_penShadow, rect.left + 2, rect.bottom, rect.right - 2, rect.bottom);
    }
    return nCount;
}

int CTkFlatTabPainter::DrawTabsRight(CDC* pDC, CRect c, CRect s)
{
    CRect rectStrip(s.left, c.top, c.right, c.bottom);
    pDC->FillSolidRect(&rectStrip, StripColour());
    Line(pDC, &m_penDark, s.left, c.top, s.left, c.bottom);
    pDC->FillSolidRect(&s, tkAfxData.clr3DFace);
    Line(pDC, &m_penDark, s.right - 1, s.top, s.right - 1, s.bottom);
    Line(pDC, &m_penDark, s.left, s.bottom, s.right, s.bottom);
    Line(pDC, &m_penLight, s.left, s.top, s.right, s.top);
    Line(pDC, &m_penFace, s.left, s.top + 1, s.left, s.bottom);
    int nSel = m_pTabCtrl->GetCurSel();
    DrawTabLabels(pDC, TRUE, nSel);
    int nCount = m_pTabCtrl->GetItemCount();
    for (int i = 0; i < nCount; i++) {
        CRect rect;
        if (i == nSel || i + 1 == nSel || !m_pTabCtrl->GetItemRect(i, &rect))
            continue;
        Line(pDC, &m_penShadow, rect.left + 2, rect.bottom, rect.right - 2, rect.bottom);
    }
    return nCount;
}

void CTkFlatTabPainter::PadTabText(CString& text)
{
    if (text.IsEmpty())
        return;
    BOOL bVertical = m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL && (m_pTabCtrl->GetStyle() & TCS_VERTICAL);
    CFont* pPlain = bVertical ? &tkAfxData.fontVertDown : &tkAfxData.fontVert;
    CFont* pBold = bVertical ? &tkAfxData.fontVertDownBold : &tkAfxData.fontVertBold;
    CWindowDC dc(NULL);
    CFont* pOld = dc.SelectObject(pBold);
    int cxBold = dc.GetTextExtent(text, text.GetLength()).cx;
    dc.SelectObject(pPlain);
    BOOL bFront = TRUE;
    for (int i = 0; i < 256 && dc.GetTextExtent(text, text.GetLength()).cx < cxBold; i++) {
        text = bFront ? " " + text : text + " ";
        bFront = !bFront;
    }
    dc.SelectObject(pOld);
}
