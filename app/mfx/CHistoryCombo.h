// A combo box that remembers recently entered texts in the application's profile: the values
// "<prefix>0", "<prefix>1", ... of a section, newest first, and optionally the last text under
// a key of its own.
#pragma once

#include <afxwin.h>

class CHistoryCombo : public CComboBox {
public:
    CHistoryCombo();

    // Lists the section's values "<prefix>n" from n = 0 up to the first empty one (a value that is
    // no string counts as empty). With bRememberLast the last text (key lpszLastKey, else the
    // prefix, else "Last") is selected, or set as the text of a drop-down that does not list it.
    // Answers that last text with bRememberLast, else empty. Without section or prefix nothing
    // happens.
    CString LoadHistory(LPCTSTR lpszSection, LPCTSTR lpszKeyPrefix, BOOL bRememberLast = TRUE,
                        LPCTSTR lpszLastKey = NULL);
    // Puts the text, trimmed of spaces, at the top, removes an older copy and selects it (index
    // 0). Without section or prefix the text is appended unchanged.
    int AddToHistory(LPCTSTR lpszText);
    // Writes the first (maximum + 1) entries, and with bRememberLast the current text. With
    // bAddCurrentText a new, non-empty current text is added first.
    void SaveHistory(BOOL bAddCurrentText = TRUE);
    // Index of the first entry from nStart on (from 0 for -1) whose text equals lpszText byte for
    // byte; -1 when there is none.
    int FindExact(int nStart, LPCTSTR lpszText) const;

    int m_nMaxHistory;

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);

    CString m_strSection;
    CString m_strKeyPrefix;
    CString m_strLastKey;
    BOOL m_bRememberLast;

private:
    CString LastValueKey() const;
};
