#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCtrlView, CView)

BEGIN_MESSAGE_MAP(CCtrlView, CView)
ON_WM_PAINT()
END_MESSAGE_MAP()

CCtrlView::CCtrlView(LPCTSTR lpszClass, DWORD dwStyle) : m_strClass(lpszClass), m_dwDefaultStyle(dwStyle) {}

BOOL CCtrlView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = m_strClass;
    AfxInitCommonControls();
    // The frame's default view style means "the control's default style" (a border asked for
    // stays a border).
    if ((cs.style | WS_BORDER) == AFX_WS_DEFAULT_VIEW)
        cs.style = m_dwDefaultStyle & (cs.style | ~WS_BORDER);
    return CView::PreCreateWindow(cs);
}

void CCtrlView::OnDraw(CDC*) {}

// The control paints itself.
void CCtrlView::OnPaint() { Default(); }
