#include "CViewDays.h"

IMPLEMENT_DYNCREATE(CViewDays, CView)

void CViewDays::OnDraw(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_WINDOW));
}

void CViewDays::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    m_nUpdates++;
    CView::OnUpdate(pSender, lHint, pHint);
}
