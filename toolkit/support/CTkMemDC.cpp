#include "CTkMemDC.h"

IMPLEMENT_DYNAMIC(CTkMemDC, CDC)

CTkMemDC::CTkMemDC(CDC* pDC, const CRect& rect, COLORREF clrFill)
    : m_pDC(pDC), m_bValid(FALSE), m_rect(rect), m_hOldBitmap(NULL)
{
    if (m_rect.IsRectEmpty())
        pDC->GetClipBox(&m_rect);
    if (!CreateCompatibleDC(pDC))
        return;
    ::SetMapMode(m_hDC, ::GetMapMode(pDC->m_hDC));
    if (!m_bitmap.CreateCompatibleBitmap(pDC, m_rect.Width(), m_rect.Height())) {
        DeleteDC();
        return;
    }
    m_hOldBitmap = (HBITMAP)::SelectObject(m_hDC, m_bitmap.m_hObject);
    m_bValid = TRUE;
    if (clrFill != (COLORREF)-1)
        FillSolidRect(0, 0, m_rect.Width(), m_rect.Height(), clrFill);
}

CTkMemDC::~CTkMemDC()
{
    if (!m_bValid)
        return;
    ::BitBlt(m_pDC->m_hDC, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, 0, 0, SRCCOPY);
    ::SelectObject(m_hDC, m_hOldBitmap);
    m_bitmap.DeleteObject();
    DeleteDC();
}
