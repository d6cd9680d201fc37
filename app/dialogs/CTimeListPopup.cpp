#include "CTimeListPopup.h"

#include "DialogsResource.h"

namespace {

// Posted by the hook when the mouse is released over the list: takes the selected entry even
// when the click did not change it (no LBN_SELCHANGE comes then).
const UINT WM_TAKE_SELECTION = WM_APP + 0x104;

bool IsButtonDown(WPARAM message)
{
    switch (message) {
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return true;
    }
    return false;
}

} // namespace

HHOOK CTimeListPopup::s_hHook = NULL;
HWND CTimeListPopup::s_hWndPopup = NULL;
CTimeListPopup* CTimeListPopup::s_pPopup = NULL;

BEGIN_MESSAGE_MAP(CTimeListPopup, CDialog)
    ON_WM_SIZE()
    ON_LBN_SELCHANGE(IDC_POPUP_TIMES, OnListSelChange)
    ON_MESSAGE(WM_TAKE_SELECTION, OnTakeSelection)
END_MESSAGE_MAP()

CTimeListPopup::CTimeListPopup(CWnd* pParent, int nMinute, int x, int y, int cx, int cy)
    : CDialog(IDD_TIME_LIST_POPUP, pParent), m_nMinute(nMinute), m_x(x), m_y(y), m_cx(cx), m_cy(cy)
{
}

void CTimeListPopup::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_POPUP_TIMES, m_list);
}

BOOL CTimeListPopup::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowPos(NULL, m_x, m_y, m_cx, m_cy, SWP_NOZORDER | SWP_NOOWNERZORDER);
    int nSelect = -1;
    for (int m = 0; m < 24 * 60; m += 30) {
        CString strText;
        strText.Format("%02d%c%02d", m / 60, ':', m % 60);
        int nIndex = m_list.AddString(strText);
        m_list.SetItemData(nIndex, (DWORD_PTR)m);
        if (m_nMinute >= 0 && m <= m_nMinute)
            nSelect = nIndex;
    }
    m_list.SetCurSel(nSelect);
    s_hWndPopup = m_hWnd;
    s_pPopup = this;
    if (s_hHook == NULL)
        s_hHook = ::SetWindowsHookExA(WH_MOUSE, &CTimeListPopup::PopupMouseHook, NULL, ::GetCurrentThreadId());
    return TRUE;
}

BOOL CTimeListPopup::DestroyWindow()
{
    if (s_hHook != NULL && ::UnhookWindowsHookEx(s_hHook))
        s_hHook = NULL;
    if (s_pPopup == this) {
        s_hWndPopup = NULL;
        s_pPopup = NULL;
    }
    return CDialog::DestroyWindow();
}

void CTimeListPopup::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (m_list.m_hWnd != NULL)
        m_list.MoveWindow(0, 0, cx, cy);
}

void CTimeListPopup::TakeSelection()
{
    int nIndex = m_list.GetCurSel();
    if (nIndex == LB_ERR)
        return;
    m_nMinute = (int)m_list.GetItemData(nIndex);
    EndDialog(IDOK);
}

void CTimeListPopup::OnListSelChange() { TakeSelection(); }

LRESULT CTimeListPopup::OnTakeSelection(WPARAM, LPARAM)
{
    TakeSelection();
    return 0;
}

// Return: the selected entry; nothing selected: the popup stays open.
void CTimeListPopup::OnOK() { TakeSelection(); }

LRESULT CALLBACK CTimeListPopup::PopupMouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0 && s_hWndPopup != NULL) {
        const MOUSEHOOKSTRUCT* pInfo = (const MOUSEHOOKSTRUCT*)lParam;
        HWND hTarget = pInfo->hwnd;
        bool bInside = hTarget == s_hWndPopup || ::IsChild(s_hWndPopup, hTarget);
        if (IsButtonDown(wParam) && !bInside && s_pPopup != NULL)
            s_pPopup->EndDialog(IDCANCEL);
        else if (wParam == WM_LBUTTONUP && bInside && s_pPopup != NULL && hTarget == s_pPopup->m_list.m_hWnd &&
                 pInfo->wHitTestCode == HTCLIENT)
            ::PostMessageA(s_hWndPopup, WM_TAKE_SELECTION, 0, 0);
    }
    return ::CallNextHookEx(NULL, nCode, wParam, lParam);
}
