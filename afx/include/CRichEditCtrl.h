// A rich edit control (version 2, riched20.dll, loaded on first creation): text with character
// formats (face, size, effects, colour) and paragraph formats (alignment, bullets, indents),
// read and written as plain text or RTF through streams.
// The wrapper adds no data of its own: FromHandle of a control's handle may be cast to it.
#pragma once

#include "CWnd.h"
#include "CImageList.h"
#include <richedit.h>

// Loads the rich-edit library of the "RICHEDIT" window class (RICHED32.DLL) once for the process;
// FALSE when it cannot be loaded.
BOOL AFXAPI AfxInitRichEdit();

class CRichEditCtrl : public CWnd {
    DECLARE_DYNAMIC(CRichEditCtrl)
public:
    CRichEditCtrl() {}
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- text and lines ----
    long GetTextLength() const { return (long)::SendMessageA(m_hWnd, WM_GETTEXTLENGTH, 0, 0); }
    int GetLineCount() const { return (int)::SendMessageA(m_hWnd, EM_GETLINECOUNT, 0, 0); }
    long LineFromChar(long nIndex) const { return (long)::SendMessageA(m_hWnd, EM_EXLINEFROMCHAR, 0, nIndex); }
    int LineIndex(int nLine = -1) const { return (int)::SendMessageA(m_hWnd, EM_LINEINDEX, (WPARAM)nLine, 0); }
    int LineLength(int nLine = -1) const { return (int)::SendMessageA(m_hWnd, EM_LINELENGTH, (WPARAM)nLine, 0); }
    // The characters nFirst up to (not including) nLast; nLast -1 means to the end.
    CString GetTextRange(long nFirst, long nLast) const;
    // The position of the text (FR_... flags; FR_DOWN searches forward), or -1.
    long FindText(DWORD dwFlags, FINDTEXTEXA* pFindText) const { return (long)::SendMessageA(m_hWnd, EM_FINDTEXTEX, dwFlags, (LPARAM)pFindText); }

    // ---- selection ----
    void GetSel(CHARRANGE& cr) const { ::SendMessageA(m_hWnd, EM_EXGETSEL, 0, (LPARAM)&cr); }
    void GetSel(long& nStartChar, long& nEndChar) const;
    void SetSel(CHARRANGE& cr) { SendMessage(EM_EXSETSEL, 0, (LPARAM)&cr); }
    // (0, -1) selects everything; (-1, ...) takes the selection away.
    void SetSel(long nStartChar, long nEndChar);
    CString GetSelText() const;
    // SEL_EMPTY, else a combination of SEL_TEXT, SEL_OBJECT, SEL_MULTICHAR, SEL_MULTIOBJECT.
    WORD GetSelectionType() const { return (WORD)::SendMessageA(m_hWnd, EM_SELECTIONTYPE, 0, 0); }
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) { SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText); }
    // Whether the selection stays shown while the control has no focus (bPerm: as a style).
    void HideSelection(BOOL bHide, BOOL bPerm) { SendMessage(EM_HIDESELECTION, bHide, bPerm); }

    // ---- character formats (the default one, and the selection's) ----
    // The format's cbSize is set here; the answer is the mask of the attributes that are the same
    // over the whole selection.
    DWORD GetDefaultCharFormat(CHARFORMATA& cf) const;
    DWORD GetSelectionCharFormat(CHARFORMATA& cf) const;
    BOOL SetDefaultCharFormat(CHARFORMATA& cf) { cf.cbSize = sizeof(cf); return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, (LPARAM)&cf); }
    BOOL SetSelectionCharFormat(CHARFORMATA& cf) { cf.cbSize = sizeof(cf); return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, (LPARAM)&cf); }
    // The format of the word at the caret (or of the selected words).
    BOOL SetWordCharFormat(CHARFORMATA& cf) { cf.cbSize = sizeof(cf); return (BOOL)SendMessage(EM_SETCHARFORMAT, SCF_SELECTION | SCF_WORD, (LPARAM)&cf); }

    // ---- paragraph formats (of the paragraphs the selection touches) ----
    DWORD GetParaFormat(PARAFORMAT& pf) const;
    BOOL SetParaFormat(PARAFORMAT& pf) { pf.cbSize = sizeof(pf); return (BOOL)SendMessage(EM_SETPARAFORMAT, 0, (LPARAM)&pf); }

    // ---- behaviour ----
    // The notifications (EN_...) the parent gets: ENM_CHANGE, ENM_SELCHANGE, ENM_LINK, ...
    DWORD GetEventMask() const { return (DWORD)::SendMessageA(m_hWnd, EM_GETEVENTMASK, 0, 0); }
    DWORD SetEventMask(DWORD dwEventMask) { return (DWORD)SendMessage(EM_SETEVENTMASK, 0, dwEventMask); }
    // The most characters the text may have (0 gives the control's default, 32,767).
    void LimitText(long nChars = 0) { SendMessage(EM_EXLIMITTEXT, 0, nChars); }
    long GetLimitText() const { return (long)::SendMessageA(m_hWnd, EM_GETLIMITTEXT, 0, 0); }
    // ECO_... options, combined by nOptions (ECOOP_SET, ECOOP_OR, ECOOP_AND, ECOOP_XOR).
    UINT GetOptions() const { return (UINT)::SendMessageA(m_hWnd, EM_GETOPTIONS, 0, 0); }
    void SetOptions(WORD wOp, DWORD dwFlags) { SendMessage(EM_SETOPTIONS, wOp, dwFlags); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
    COLORREF SetBackgroundColor(BOOL bSysColor, COLORREF cr) { return (COLORREF)SendMessage(EM_SETBKGNDCOLOR, bSysColor, cr); }
    BOOL GetModify() const { return (BOOL)::SendMessageA(m_hWnd, EM_GETMODIFY, 0, 0); }
    void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }

    // ---- streams: SF_TEXT or SF_RTF (with SFF_SELECTION: the selection only) ----
    // The number of characters read or written.
    long StreamIn(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMIN, (WPARAM)nFormat, (LPARAM)&es); }
    long StreamOut(int nFormat, EDITSTREAM& es) { return (long)SendMessage(EM_STREAMOUT, (WPARAM)nFormat, (LPARAM)&es); }

    // ---- editing ----
    BOOL CanUndo() const { return (BOOL)::SendMessageA(m_hWnd, EM_CANUNDO, 0, 0); }
    BOOL CanPaste(UINT nFormat = 0) const { return (BOOL)::SendMessageA(m_hWnd, EM_CANPASTE, nFormat, 0); }
    void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
    BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
    void Clear() { SendMessage(WM_CLEAR); }
    void Copy() { SendMessage(WM_COPY); }
    void Cut() { SendMessage(WM_CUT); }
    void Paste() { SendMessage(WM_PASTE); }
};
