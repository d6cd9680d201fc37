// A two-column list of entries with a "T"/"F" check cell in front (check mode), or a plain
// choice of one entry (the current row) without check mode. Space and Delete set the marks of the
// selected rows; a digit or capital letter moves to the next entry that begins with it.
#pragma once

#include "CBrowserListWrapper.h"

class CBrowserCheckList : public CBrowserListWrapper {
public:
    // pszTitle NULL: no header.
    CBrowserCheckList(HWND hControl, HWND hOwner, LPCSTR pszTitle, BOOL bCheckMode);

    int AddEntry(LPCSTR pszText, BOOL bChecked);
    // Check mode: the row's mark; otherwise whether it is the current row.
    BOOL IsChecked(int nRow);
    BOOL GetEntryText(int nRow, CString& strText);
    int GetEntryCount();
    // 0 without check mode.
    LRESULT CheckAll();
    LRESULT UncheckAll();

    LRESULT OnMeasureRow(LPARAM lParam) override;
    LRESULT OnKey(BOOL bKeyDown, LPARAM lParam) override;

private:
    LRESULT MarkAll(LPCSTR pszMark);
    void MarkSelected(LPCSTR pszMark);
    void FindEntryByKey(char chKey);

    BOOL m_bCheckMode;
};
