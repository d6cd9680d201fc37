#include "PanesTestSupport.h"

#include "TestKit.h"
#include "ToolkitTestSupport.h"

namespace panestest {

IMPLEMENT_DYNCREATE(CLabelView, CView)

BEGIN_MESSAGE_MAP(CLabelView, CView)
ON_COMMAND(kLabelViewCommand, OnLabelCommand)
END_MESSAGE_MAP()

void CLabelView::OnDraw(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    pDC->FillSolidRect(&rect, RGB(255, 255, 255));
    CString strText;
    GetWindowText(strText);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    HGDIOBJ hOld = pDC->SelectObject(::GetStockObject(DEFAULT_GUI_FONT));
    pDC->DrawText(strText, &rect, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    pDC->SelectObject(hOld);
}

void CLabelView::OnInitialUpdate()
{
    m_nInitialUpdates++;
    CView::OnInitialUpdate();
}

IMPLEMENT_DYNCREATE(COtherView, CLabelView)

IMPLEMENT_DYNCREATE(CFailingView, CView)

BEGIN_MESSAGE_MAP(CFailingView, CView)
ON_WM_CREATE()
END_MESSAGE_MAP()

int CFailingView::OnCreate(LPCREATESTRUCT) { return -1; }

void SetClientSize(CWnd* pWnd, int cx, int cy)
{
    for (int i = 0; i < 3; i++) {
        CRect rectClient;
        pWnd->GetClientRect(&rectClient);
        CRect rectWindow;
        pWnd->GetWindowRect(&rectWindow);
        int dx = cx - rectClient.Width();
        int dy = cy - rectClient.Height();
        if (dx == 0 && dy == 0)
            return;
        pWnd->SetWindowPos(NULL, 0, 0, rectWindow.Width() + dx, rectWindow.Height() + dy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

CRect ChildRect(const CWnd* pWnd)
{
    CRect rect;
    pWnd->GetWindowRect(&rect);
    ::MapWindowPoints(NULL, ::GetParent(pWnd->m_hWnd), (POINT*)&rect, 2);
    return rect;
}

CFullDragSetting::CFullDragSetting(BOOL bFullDrag) : m_bOld(FALSE)
{
    ::SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &m_bOld, 0);
    ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, bFullDrag, NULL, 0);
}

CFullDragSetting::~CFullDragSetting() { ::SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, m_bOld, NULL, 0); }

std::string SaveShot(CWnd* pWnd, const char* pszName, bool bRedraw)
{
    if (bRedraw) {
        ::RedrawWindow(pWnd->m_hWnd, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    // what was drawn straight onto the window reaches the screen
    ::GdiFlush();
    tktest::RunToIdle();
    RECT rect;
    pWnd->GetWindowRect(&rect);
    HDC hdc = ::GetDC(NULL);
    std::string strPath = oxtest::SaveShot(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                           "splitter-tabs", pszName);
    ::ReleaseDC(NULL, hdc);
    return strPath;
}

} // namespace panestest
