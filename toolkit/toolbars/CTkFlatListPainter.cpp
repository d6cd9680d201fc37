#include "CTkFlatListPainter.h"

#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkMemDC.h"

namespace {

COLORREF Toolkit(int nIndex) { return tkAfxData.clrToolkit[nIndex - 30]; }

} // namespace

void CTkFlatListPainter::DrawItem(LPDRAWITEMSTRUCT lpDIS, CListBox* pList, int cxIconColumn)
{
    if (lpDIS == NULL || pList == NULL || (int)lpDIS->itemID < 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    pDC->FillSolidRect(&rect, Toolkit(41));
    pDC->FillSolidRect(rect.left, rect.top, cxIconColumn, rect.Height(), Toolkit(30));
    CFont* pOldFont = pDC->SelectObject(pList->GetFont());
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    if (bSelected) {
        pDC->FillSolidRect(&rect, Toolkit(31));
        pDC->Draw3dRect(&rect, Toolkit(32), Toolkit(32));
    }
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOld = pDC->SetTextColor(Toolkit(bSelected ? 45 : 44));

    CString strText;
    pList->GetText((int)lpDIS->itemID, strText);
    CRect rectText(rect.left + cxIconColumn + 6, rect.top, rect.right - cxIconColumn, rect.bottom);
    CRect rectMeasure = rectText;
    pDC->DrawText(strText, &rectMeasure, DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
    pDC->DrawText(strText, &rectText, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);

    UINT nCmd = (UINT)lpDIS->itemData;
    CTkIconRecord* pRecord = nCmd != 0 ? TkGetImageManager().Lookup(nCmd, TRUE) : NULL;
    if (pRecord != NULL && pRecord->hNormal != NULL) {
        int x = rect.left + (cxIconColumn - 16) / 2;
        int y = rect.top + (rect.Height() - 16) / 2;
        if (bSelected) {
            if (pRecord->hShadow != NULL)
                pDC->DrawState(CPoint(x + 1, y + 1), CSize(16, 16), pRecord->hShadow, DST_ICON);
            pDC->DrawState(CPoint(x - 1, y - 1), CSize(16, 16), pRecord->hNormal, DST_ICON);
        } else {
            HICON hIcon = tkAfxData.bFullColorIcons || pRecord->hFaded == NULL ? pRecord->hNormal : pRecord->hFaded;
            pDC->DrawState(CPoint(x, y), CSize(16, 16), hIcon, DST_ICON);
        }
    } else if (nCmd == 0) {
        // a category: an arrow pointing right at the item's end
        int x = rect.right - 11;
        static const int kLines[5] = {9, 7, 5, 3, 1};
        for (int i = 0; i < 5; i++)
            pDC->FillSolidRect(x + i, rect.top + 6 + i, 1, kLines[i], Toolkit(44));
    }
    pDC->SetTextColor(clrOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}

void CTkFlatListPainter::Paint(CListBox* pList, int cxIconColumn)
{
    CPaintDC dc(pList);
    CRect rect;
    pList->GetClientRect(&rect);
    CTkMemDC memDC(&dc, rect, Toolkit(41));
    memDC.FillSolidRect(0, 0, cxIconColumn, rect.Height(), Toolkit(30));
    pList->DefWindowProc(WM_PAINT, (WPARAM)memDC.m_hDC, 0);
}
