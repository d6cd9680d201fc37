#include "CParsedEdit.h"

#include <ctype.h>

IMPLEMENT_DYNAMIC(CParsedEdit, CEdit)

BEGIN_MESSAGE_MAP(CParsedEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

namespace {

CParsedEdit::BeepFunction g_pfnBeep = &::MessageBeep;

DWORD ClassOf(UINT c)
{
    if (c >= '0' && c <= '9')
        return PES_DIGITS;
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_')
        return PES_LETTERS;
    switch (c) {
    case ' ':
        return PES_SPACE;
    case '+':
    case '-':
        return PES_SIGN;
    case '%':
        return PES_PERCENT;
    case '.':
        return PES_DECIMAL;
    case '/':
        return PES_SLASH;
    default:
        return PES_OTHER;
    }
}

} // namespace

CParsedEdit::CParsedEdit() : m_nDecimalLimit(-1), m_dwStyle((DWORD)-1), m_pfnSuperEdit(NULL) {}

CParsedEdit::BeepFunction CParsedEdit::SetBeepFunction(BeepFunction pfn)
{
    BeepFunction previous = g_pfnBeep;
    g_pfnBeep = pfn != NULL ? pfn : &::MessageBeep;
    return previous;
}

void CParsedEdit::SetParseStyle(DWORD dwStyle)
{
    m_dwStyle = dwStyle;
    m_strExtra.Empty();
    if (dwStyle != (DWORD)-1 && (dwStyle & PES_EXTRA) != 0 && !m_strExtra.LoadString(dwStyle >> 16))
        m_strExtra.Empty();
}

BOOL CParsedEdit::SubclassEdit(UINT nID, CWnd* pParent, DWORD dwStyle)
{
    HWND hControl = pParent != NULL ? ::GetDlgItem(pParent->GetSafeHwnd(), (int)nID) : NULL;
    if (hControl == NULL)
        return FALSE;
    SetParseStyle(dwStyle);
    return SubclassWindow(hControl);
}

BOOL CParsedEdit::SubclassWindow(HWND hWnd)
{
    m_pfnSuperEdit = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (!CEdit::SubclassWindow(hWnd)) {
        m_pfnSuperEdit = NULL;
        return FALSE;
    }
    return TRUE;
}

WNDPROC* CParsedEdit::GetSuperWndProcAddr() { return &m_pfnSuperEdit; }

void CParsedEdit::Beep() { g_pfnBeep((UINT)-1); }

void CParsedEdit::PassChar(UINT c)
{
    const MSG* pMsg = GetCurrentMessage();
    DefWindowProc(WM_CHAR, (WPARAM)c, pMsg->lParam);
}

void CParsedEdit::OnChar(UINT nChar, UINT, UINT)
{
    const DWORD style = m_dwStyle;
    if (style == (DWORD)-1 || nChar == VK_BACK) {
        PassChar(nChar);
        return;
    }
    if (style == PES_ALL_BUT_SPACE) {
        if (nChar != ' ')
            PassChar(nChar);
        return;
    }
    if ((style & PES_DECIMAL) && (nChar == '.' || nChar == ',')) {
        CString text;
        GetWindowText(text);
        if (text.Find('.') >= 0)
            Beep();
        else
            PassChar('.');
        return;
    }
    if ((style & PES_DATE) && (style & PES_SLASH) && nChar == '/') {
        PassChar(nChar);
        return;
    }
    if ((style & PES_DATE) && (nChar == '/' || nChar == ',' || nChar == '.')) {
        PassChar('.');
        return;
    }
    const DWORD cls = ClassOf(nChar);
    BOOL allowed = (style & cls) != 0 || ((style & PES_DATE) && cls == PES_DIGITS) ||
                   ((style & PES_EXTRA) && nChar != 0 && nChar < 256 && m_strExtra.Find((TCHAR)nChar) >= 0);
    if (!allowed) {
        Beep();
        return;
    }
    if (m_nDecimalLimit < 0) {
        PassChar(nChar);
        return;
    }
    CString before;
    GetWindowText(before);
    int selStart = 0, selEnd = 0;
    GetSel(selStart, selEnd);
    PassChar(nChar);
    CString after;
    GetWindowText(after);
    const int point = after.Find('.');
    if (point >= 0 && after.GetLength() - point - 1 > m_nDecimalLimit) {
        SetWindowText(before);
        SetSel(selStart, selEnd);
        Beep();
    }
}
