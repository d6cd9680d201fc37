#include "CTkDockWindow.h"

#include <afxpriv.h>

IMPLEMENT_DYNAMIC(CTkDockWindow, CTkControlBar)

CTkDockWindow::CTkDockWindow()
    : m_sizeHorzDocked(200, 100), m_sizeVertDocked(100, 200), m_sizeFloating(200, 200), m_nMinLength(32),
      m_bExpanded(FALSE), m_nLengthBeforeExpand(0)
{
}

CTkDockWindow::~CTkDockWindow()
{
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

BOOL CTkDockWindow::Create(CWnd* pParentWnd, LPCTSTR lpszTitle, DWORD dwStyle, UINT nID, CSize sizeDocked)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    m_sizeHorzDocked = sizeDocked;
    m_sizeVertDocked = CSize(sizeDocked.cy, sizeDocked.cx);
    CRect rect(0, 0, 0, 0);
    return CWnd::Create(AFX_WNDCONTROLBAR_CLASS, lpszTitle, (dwStyle & ~CBRS_ALL) | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd, nID);
}

CSize CTkDockWindow::GetDockedSize(BOOL bHorz) const
{
    // along the row first
    return bHorz ? m_sizeHorzDocked : CSize(m_sizeVertDocked.cy, m_sizeVertDocked.cx);
}

void CTkDockWindow::SetDockedSize(BOOL bHorz, CSize size)
{
    if (bHorz)
        m_sizeHorzDocked = size;
    else
        m_sizeVertDocked = CSize(size.cy, size.cx);
}

int CTkDockWindow::GetMinimumLength(BOOL) const { return m_nMinLength; }

int CTkDockWindow::GetExpandLength(BOOL bHorz) const
{
    int nLength = GetDockedSize(bHorz).cx - GetMinimumLength(bHorz);
    return nLength > 0 ? nLength : 0;
}

int CTkDockWindow::Expand(int nLength, BOOL bHorz)
{
    CSize size = GetDockedSize(bHorz);
    if (!m_bExpanded)
        m_nLengthBeforeExpand = size.cx;
    m_bExpanded = TRUE;
    size.cx = nLength;
    SetDockedSize(bHorz, size);
    return nLength;
}

void CTkDockWindow::Restore(BOOL bHorz)
{
    if (!m_bExpanded)
        return;
    m_bExpanded = FALSE;
    CSize size = GetDockedSize(bHorz);
    size.cx = m_nLengthBeforeExpand;
    SetDockedSize(bHorz, size);
}

CSize CTkDockWindow::CalcDynamicLayout(int, DWORD dwMode)
{
    if (dwMode & LM_VERTDOCK)
        return m_sizeVertDocked;
    if (dwMode & LM_HORZDOCK)
        return m_sizeHorzDocked;
    return m_sizeFloating;
}

CSize CTkDockWindow::CalcFixedLayout(BOOL, BOOL bHorz) { return bHorz ? m_sizeHorzDocked : m_sizeVertDocked; }

void CTkDockWindow::OnUpdateCmdUI(CFrameWnd*, BOOL) {}
