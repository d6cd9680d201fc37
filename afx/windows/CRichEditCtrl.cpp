#include "AfxWindowLayer.h"
#include "afxcmn.h"
#include <richedit.h>

IMPLEMENT_DYNAMIC(CRichEditCtrl, CWnd)

BOOL CRichEditCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return AfxCreateControl(this, "RichEdit20A", NULL, dwStyle, rect, pParentWnd, nID);
}

void CRichEditCtrl::GetSel(long& nStartChar, long& nEndChar) const
{
    CHARRANGE cr = {0, 0};
    ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, (LPARAM)&cr);
    nStartChar = cr.cpMin;
    nEndChar = cr.cpMax;
}

void CRichEditCtrl::SetSel(long nStartChar, long nEndChar)
{
    CHARRANGE cr = {nStartChar, nEndChar};
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr);
}

CString CRichEditCtrl::GetSelText() const
{
    long nStart = 0, nEnd = 0;
    GetSel(nStart, nEnd);
    CString str;
    long nLen = nEnd > nStart ? nEnd - nStart : 0;
    // a selection may contain more bytes than characters (line ends are one character)
    int nCopied = (int)::SendMessageA(m_hWnd, EM_GETSELTEXT, 0, (LPARAM)str.GetBuffer((int)nLen * 2 + 2));
    str.ReleaseBuffer(nCopied);
    return str;
}

CString CRichEditCtrl::GetTextRange(long nFirst, long nLast) const
{
    long nLength = GetTextLength();
    if (nLast < 0 || nLast > nLength)
        nLast = nLength;
    if (nFirst < 0)
        nFirst = 0;
    CString str;
    if (nLast <= nFirst)
        return str;
    // room for two bytes per character (a line end may come out as CR LF) and the end
    TEXTRANGEA tr;
    tr.chrg.cpMin = nFirst;
    tr.chrg.cpMax = nLast;
    tr.lpstrText = str.GetBuffer((int)(nLast - nFirst) * 2 + 1);
    int nCopied = (int)::SendMessageA(m_hWnd, EM_GETTEXTRANGE, 0, (LPARAM)&tr);
    str.ReleaseBuffer(nCopied);
    return str;
}

DWORD CRichEditCtrl::GetDefaultCharFormat(CHARFORMATA& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessageA(m_hWnd, EM_GETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetSelectionCharFormat(CHARFORMATA& cf) const
{
    cf.cbSize = sizeof(cf);
    return (DWORD)::SendMessageA(m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf);
}

DWORD CRichEditCtrl::GetParaFormat(PARAFORMAT& pf) const
{
    pf.cbSize = sizeof(pf);
    return (DWORD)::SendMessageA(m_hWnd, EM_GETPARAFORMAT, 0, (LPARAM)&pf);
}

BOOL AFXAPI AfxInitRichEdit()
{
    static HMODULE s_hRichEdit = NULL;
    if (s_hRichEdit == NULL)
        s_hRichEdit = ::LoadLibraryA("RICHED32.DLL");
    return s_hRichEdit != NULL;
}
