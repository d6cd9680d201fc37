#include "CTkEditItem.h"

#include "CTkOutBarCtrl.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CTkEditItem, CTkEdit)

BEGIN_MESSAGE_MAP(CTkEditItem, CTkEdit)
    ON_WM_KILLFOCUS()
    ON_WM_CHAR()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CTkEditItem::CTkEditItem()
    : m_nIndex(-1), m_bCancelled(false), m_bLeftAligned(false), m_bFolder(false), m_rect(0, 0, 0, 0), m_pBar(NULL)
{
    m_bCreated = true;
}

BOOL CTkEditItem::CreateEditItem(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CTkOutBarCtrl* pBar, UINT nID,
                                 int nIndex, bool bFolder, bool bLeftAligned)
{
    m_pBar = pBar;
    m_nIndex = nIndex;
    m_bFolder = bFolder;
    m_bLeftAligned = bLeftAligned;
    m_strText = lpszText;
    m_rect = rect;
    CRect A;
    pBar->GetInsideRect(A);
    A.DeflateRect(5, 5);
    if (m_rect.Width() > A.Width()) {
        m_rect.right = A.right;
        if (!bLeftAligned)
            m_rect.left = A.left;
    }
    if (!Create(dwStyle, m_rect, pBar, nID))
        return FALSE; // no window, no rename: PostNcDestroy has already deleted the editor
    SendMessage(WM_SETFONT, (WPARAM)pBar->GetBarFont()->GetSafeHandle(), TRUE);
    SetWindowText(lpszText);
    return TRUE;
}

BOOL CTkEditItem::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->hwnd == m_hWnd) {
        if (pMsg->wParam == VK_RETURN) {
            PostMessage(WM_CLOSE);
            return TRUE;
        }
        if (pMsg->wParam == VK_ESCAPE) {
            m_bCancelled = true;
            PostMessage(WM_CLOSE);
            return TRUE;
        }
    }
    return CTkEdit::PreTranslateMessage(pMsg);
}

void CTkEditItem::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (m_bFolder) {
        CTkEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    if (nChar == VK_ESCAPE) {
        m_bCancelled = true;
        m_pBar->SetFocus();
        return;
    }
    if (nChar == VK_RETURN) {
        m_pBar->SetFocus();
        return;
    }
    CTkEdit::OnChar(nChar, nRepCnt, nFlags);
    // grow or shrink with the text
    CString strText;
    GetWindowText(strText);
    CWindowDC dc(this);
    CFont* pOld = dc.SelectObject(m_pBar->GetBarFont());
    int w = dc.GetTextExtent(strText).cx;
    dc.SelectObject(pOld);
    CRect A;
    m_pBar->GetInsideRect(A);
    A.DeflateRect(5, 5);
    CRect rc = m_rect;
    if (m_bLeftAligned) {
        rc.right = std::max(m_rect.right, std::min((LONG)(rc.left + w + 9), A.right));
    } else {
        rc.left = A.left + (A.Width() - w) / 2;
        rc.right = rc.left + w;
        rc.InflateRect(6, 0);
        if (rc.Width() < m_rect.Width()) {
            rc.left = m_rect.left;
            rc.right = m_rect.right;
        } else if (rc.Width() > A.Width()) {
            rc.left = A.left;
            rc.right = A.right;
        }
    }
    MoveWindow(rc, TRUE);
}

BOOL CTkEditItem::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    HCURSOR hCursor = ::LoadCursor(NULL, IDC_IBEAM);
    if (hCursor == NULL)
        return CTkEdit::OnSetCursor(pWnd, nHitTest, message);
    ::SetCursor(hCursor);
    return TRUE;
}

void CTkEditItem::OnKillFocus(CWnd* pNewWnd)
{
    CTkEdit::OnKillFocus(pNewWnd);
    PostMessage(WM_CLOSE);
    if (m_bCancelled)
        return;
    CString strText;
    GetWindowText(strText);
    if (strText.IsEmpty())
        return;
    m_strText = strText;
    m_pBar->OnLabelEndEdit(this, m_bFolder);
}

void CTkEditItem::PostNcDestroy()
{
    delete this;
}
