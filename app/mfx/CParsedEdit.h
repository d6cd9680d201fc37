// An edit control that filters typed characters by a style mask. A refused character beeps and
// never reaches the control. Decimal commas and date separators become points, at most one point
// is kept, and the number of decimal places may be limited.
//
// Style bits (PES_...): digits, decimal point ("." and "," typed as "."), letters and "_", date
// input (digits; "/", "," and "." typed as "." unless PES_SLASH is set too), signs "+" and "-",
// space, "%", "/", every other character, and the characters of the string resource whose id is
// the style's high word (PES_EXTRA). -1 filters nothing; PES_ALL_BUT_SPACE lets everything but
// the space through and drops that without a beep.
#pragma once

#include <afxwin.h>

#define PES_DIGITS 0x0001
#define PES_DECIMAL 0x0002
#define PES_LETTERS 0x0004
#define PES_DATE 0x0008
#define PES_SIGN 0x0010
#define PES_SPACE 0x0020
#define PES_PERCENT 0x0040
#define PES_SLASH 0x0080
#define PES_OTHER 0x1000
#define PES_EXTRA 0x8000
#define PES_ALL_BUT_SPACE 0xFFFF7FDFu

class CParsedEdit : public CEdit {
    DECLARE_DYNAMIC(CParsedEdit)
public:
    CParsedEdit();

    // Stores the style; with PES_EXTRA the extra characters come from string id style >> 16
    // (none when that string does not exist).
    void SetParseStyle(DWORD dwStyle);
    DWORD GetParseStyle() const { return m_dwStyle; }
    const CString& GetExtraChars() const { return m_strExtra; }
    // Sets the style and subclasses the parent's control nID; FALSE (and nothing subclassed) when
    // the parent has no such control.
    BOOL SubclassEdit(UINT nID, CWnd* pParent, DWORD dwStyle);
    // Keeps the window's current procedure for default processing, then subclasses the window.
    BOOL SubclassWindow(HWND hWnd);

    // Decimal places allowed after the point; -1 for no limit.
    int m_nDecimalLimit;

    // The beep of a refused character (MessageBeep); tests count beeps with their own.
    typedef BOOL(WINAPI* BeepFunction)(UINT uType);
    // Answers the previous function; NULL restores MessageBeep.
    static BeepFunction SetBeepFunction(BeepFunction pfn);

protected:
    virtual WNDPROC* GetSuperWndProcAddr();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

private:
    DWORD m_dwStyle;
    CString m_strExtra;
    WNDPROC m_pfnSuperEdit;

    void Beep();
    // The character's WM_CHAR passed on to the control (c may differ from the one typed).
    void PassChar(UINT c);
};
