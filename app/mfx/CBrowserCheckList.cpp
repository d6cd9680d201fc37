#include "CBrowserCheckList.h"

CBrowserCheckList::CBrowserCheckList(HWND hControl, HWND hOwner, LPCSTR pszTitle, BOOL bCheckMode)
    : CBrowserListWrapper(hControl, TRUE, hOwner), m_bCheckMode(bCheckMode)
{
    SetStyle(bCheckMode ? BRS_MULTISELECT | BRS_CHECKLIST : BRS_CHECKLIST);
    CString strTitles(" \t");
    if (pszTitle != NULL) {
        strTitles += pszTitle;
    } else {
        strTitles += " ";
        SetOption(BRA_NOHEADER, 1);
    }
    SetColumnTitles(strTitles);
    SetOption(BRA_COLUMNLINES, 0);

    BRCOLUMN column = {};
    if (GetColumn(0, &column) == 0) {
        column.cellKind = BRCK_CHECK;
        column.flags |= 0x428;
        if (bCheckMode) {
            column.autoToggle = 1;
        } else {
            column.autoToggle = 0;
            column.flags &= ~BRCF_TEXTSORT;
        }
        SetColumn(&column);
    }
    if (GetColumn(1, &column) == 0) {
        column.flags &= ~BRCF_TEXTSORT;
        column.flags |= BRCF_STRETCH;
        SetColumn(&column);
    }
    const int kCheckWidths[] = {7, 92};
    const int kPlainWidths[] = {7, 99};
    SetColumnWidths(2, bCheckMode ? kCheckWidths : kPlainWidths);
}

int CBrowserCheckList::AddEntry(LPCSTR pszText, BOOL bChecked)
{
    CString strRow;
    strRow.Format("%s\t%s", bChecked ? "T" : "F", pszText != NULL ? pszText : "");
    return AddString(strRow);
}

BOOL CBrowserCheckList::IsChecked(int nRow)
{
    if (!m_bCheckMode)
        return nRow == GetCurrentRow();
    CString strText;
    GetTextString(nRow, strText);
    return !strText.IsEmpty() && strText[0] == 'T';
}

BOOL CBrowserCheckList::GetEntryText(int nRow, CString& strText) { return GetCellText(nRow, 1, strText) == 0; }
int CBrowserCheckList::GetEntryCount() { return GetCount(); }

LRESULT CBrowserCheckList::MarkAll(LPCSTR pszMark)
{
    if (!m_bCheckMode)
        return 0;
    int nCount = GetCount();
    for (int nRow = 0; nRow < nCount; nRow++)
        SetCellText(nRow, 0, pszMark);
    return RedrawRow(BRROW_ALL);
}

LRESULT CBrowserCheckList::CheckAll() { return MarkAll("T"); }
LRESULT CBrowserCheckList::UncheckAll() { return MarkAll("F"); }

LRESULT CBrowserCheckList::OnMeasureRow(LPARAM lParam) { return lParam != 0 ? 30 : -1; }

void CBrowserCheckList::MarkSelected(LPCSTR pszMark)
{
    int nCount = GetCount();
    for (int nRow = 0; nRow < nCount; nRow++) {
        if (GetSel(nRow) == 1)
            SetCellText(nRow, 0, pszMark);
    }
    RedrawRow(BRROW_ALL);
}

void CBrowserCheckList::FindEntryByKey(char chKey)
{
    int nCount = GetCount();
    int nCurrent = GetCurrentRow();
    CString strText;
    auto beginsWithKey = [&](int nRow) { return GetEntryText(nRow, strText) && !strText.IsEmpty() && strText[0] == chKey; };
    int nStart = 0;
    if (nCurrent >= 0 && beginsWithKey(nCurrent))
        nStart = nCurrent + 1;
    for (int nRow = nStart; nRow < nCount; nRow++) {
        if (beginsWithKey(nRow)) {
            SetCurrentRow(nRow);
            return;
        }
    }
    for (int nRow = 0; nRow < nStart; nRow++) {
        if (beginsWithKey(nRow)) {
            SetCurrentRow(nRow);
            return;
        }
    }
}

LRESULT CBrowserCheckList::OnKey(BOOL bKeyDown, LPARAM lParam)
{
    if (!bKeyDown)
        return 0;
    WORD wKey = LOWORD((DWORD)lParam);
    if (wKey == VK_DELETE && m_bCheckMode) {
        MarkSelected("F");
        return 1;
    }
    if (wKey == VK_SPACE && m_bCheckMode) {
        CString strCurrent;
        int nCurrent = GetCurrentRow();
        if (nCurrent >= 0)
            GetCellText(nCurrent, 0, strCurrent);
        MarkSelected(strCurrent != "T" ? "T" : "F");
        return 1;
    }
    if ((wKey >= '0' && wKey <= '9') || (wKey >= 'A' && wKey <= 'Z')) {
        FindEntryByKey((char)wKey);
        return 1;
    }
    return 0;
}
