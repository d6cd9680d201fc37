// An edit control.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"
#include <string.h>

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL CanUndo() const { return (BOOL)::SendMessageA(m_hWnd, EM_CANUNDO, 0, 0); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    int GetLineCount() const { return (int)::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    BOOL GetModify() const { return (BOOL)::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
    void GetSel(int& nStartChar, int& nEndChar) const { ::SendMessageA(m_hWnd, EM_GETSEL, (WPARAM)&nStartChar, (LPARAM)&nEndChar); }
    DWORD GetSel() const { return (DWORD)::SendMessageA(m_hWnd, EM_GETSEL, 0, 0); }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) { SendMessage(EM_SETSEL, (WPARAM)nStartChar, nEndChar); if (!bNoScroll) SendMessage(EM_SCROLLCARET); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) { SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText); }
    void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, (WPARAM)nChars); }
    UINT GetLimitText() const { return (UINT)::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
    int LineFromChar(int nIndex = -1) const { return (int)::SendMessageA(m_hWnd, EM_LINEFROMCHAR, (WPARAM)nIndex, 0); }
    int LineIndex(int nLine = -1) const { return (int)::SendMessageA(m_hWnd, EM_LINEINDEX, (WPARAM)nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)::SendMessageA(m_hWnd, EM_LINELENGTH, (WPARAM)nLine, 0); }
    // Copies line nIndex (at most nMaxLength characters, no terminator added); answers the count.
    int GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const;
    void SetPasswordChar(TCHAR ch) { SendMessage(EM_SETPASSWORDCHAR, (WPARAM)(BYTE)ch); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};
