#include "AfxWindowLayer.h"
#include "afxcmn.h"
#include <string.h>

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, "EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    if (nMaxLength < (int)sizeof(WORD)) {
        // the length travels in the buffer's first WORD
        char szSmall[sizeof(WORD)] = {};
        *(WORD*)szSmall = (WORD)nMaxLength;
        int n = (int)::SendMessageA(m_hWnd, EM_GETLINE, (WPARAM)nIndex, (LPARAM)szSmall);
        memcpy(lpszBuffer, szSmall, nMaxLength > 0 ? (size_t)nMaxLength : 0);
        return n;
    }
    *(LPWORD)lpszBuffer = (WORD)nMaxLength;
    return (int)::SendMessageA(m_hWnd, EM_GETLINE, (WPARAM)nIndex, (LPARAM)lpszBuffer);
}
