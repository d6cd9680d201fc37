#include "CBrowserListWrapper.h"

#include <string.h>

#include <vector>

#include "MfxWindows.h"

namespace {

const char kContainerProperty[] = "BrowserContainer";

// A card window passes its list's notifications on to its own parent.
BOOL IsCardWindow(HWND hWnd)
{
    char szClass[64] = "";
    if (hWnd == NULL || GetClassNameA(hWnd, szClass, sizeof(szClass)) == 0)
        return FALSE;
    return _strnicmp(szClass, "VLMRCARD", 8) == 0;
}

} // namespace

CBrowserListWrapper::CBrowserListWrapper(HWND hControl, BOOL bAttachEvents, HWND hOwner)
    : m_hControl(NULL), m_hOwner(NULL), m_pfnCallback(NULL), m_bEvent16(FALSE)
{
    Attach(hControl, bAttachEvents, hOwner);
    QueryVersion();
}

CBrowserListWrapper::~CBrowserListWrapper()
{
    Detach();
}

LRESULT CBrowserListWrapper::Attach(HWND hControl, BOOL bAttachEvents, HWND hOwner)
{
    m_hControl = hControl;
    m_pfnCallback = NULL;
    m_hOwner = hOwner;
    if (m_hOwner == NULL && hControl != NULL) {
        m_hOwner = GetParent(hControl);
        if (IsCardWindow(m_hOwner))
            m_hOwner = GetParent(m_hOwner);
    }
    if (!bAttachEvents || hControl == NULL)
        return 0;
    // The property holds a block with the wrapper's address (pointer-sized).
    HLOCAL hBlock = LocalAlloc(LMEM_MOVEABLE, sizeof(CBrowserListWrapper*));
    if (hBlock == NULL)
        return 0;
    CBrowserListWrapper** ppThis = (CBrowserListWrapper**)LocalLock(hBlock);
    *ppThis = this;
    LocalUnlock(hBlock);
    SetPropA(hControl, kContainerProperty, hBlock);
    m_pfnCallback = &CBrowserListWrapper::EventCallback;
    return SendMsg(BRM_SETCALLBACK, 0, (LPARAM)m_pfnCallback);
}

void CBrowserListWrapper::QueryVersion()
{
    m_bEvent16 = FALSE;
    BrwsGetVersion(0);
}

void CBrowserListWrapper::Detach()
{
    if (m_hControl != NULL && IsWindow(m_hControl)) {
        HLOCAL hBlock = (HLOCAL)GetPropA(m_hControl, kContainerProperty);
        if (hBlock != NULL) {
            // Only our own block: another wrapper may have taken the control over since.
            CBrowserListWrapper** ppThis = (CBrowserListWrapper**)LocalLock(hBlock);
            BOOL bOurs = ppThis != NULL && *ppThis == this;
            if (ppThis != NULL)
                LocalUnlock(hBlock);
            if (bOurs) {
                LocalFree(hBlock);
                SetPropA(m_hControl, kContainerProperty, NULL);
                RemovePropA(m_hControl, kContainerProperty);
            }
        }
    }
    m_hControl = NULL;
    m_pfnCallback = NULL;
}

LRESULT CALLBACK CBrowserListWrapper::EventCallback(HWND hControl, int nEvent, LPARAM lParam)
{
    HLOCAL hBlock = (HLOCAL)GetPropA(hControl, kContainerProperty);
    if (hBlock == NULL)
        return 0;
    CBrowserListWrapper** ppThis = (CBrowserListWrapper**)LocalLock(hBlock);
    if (ppThis == NULL)
        return 0;
    CBrowserListWrapper* pThis = *ppThis;
    LocalUnlock(hBlock);
    if (pThis == NULL || pThis->m_hControl == NULL || pThis->m_pfnCallback == NULL)
        return 0;
    return pThis->DispatchEvent(nEvent, lParam);
}

LRESULT CBrowserListWrapper::DispatchEvent(int nEvent, LPARAM lParam)
{
    // Key events carry the window message in the high and the key in the low 16 bits.
    BOOL bKeyDown = HIWORD((DWORD)lParam) == WM_KEYDOWN;
    switch (LOWORD((DWORD)nEvent)) {
    case 0: OnEvent0(lParam); return 1;
    case 1: OnDblClick(lParam); return 1;
    case 2: OnEvent2(lParam); return 1;
    case 3:
    case 4: OnEvent3(lParam); return 1;
    case 5: OnSelChange(lParam); return 1;
    case 6: return OnEvent6(lParam);
    case 7: return OnEvent7(lParam);
    case 8: return OnKeyEvent8(bKeyDown, lParam);
    case 9: return OnEvent9(lParam);
    case 10: OnEvent10(); return 1;
    case 11: OnEvent11(); return 1;
    case 12: return OnEvent12();
    case 13: return OnEvent13();
    case 14: return OnColumnMenu(lParam);
    case 15: OnEvent15(lParam); return 1;
    case 16: OnEvent16(); return 1;
    case 17: OnMouseClick(lParam); return 1;
    case 18: OnEvent18(lParam); return 1;
    case 19: return OnEvent19(lParam);
    case 20: return OnEvent20(lParam);
    case 21: OnEvent21(); return 1;
    case 22: OnEvent22(lParam); return 1;
    case 23: OnEvent23(); return 1;
    case 24: return OnEvent24(lParam);
    case 25: return OnEvent25(lParam);
    case 26: return OnEvent26(lParam);
    case 27: return OnCompareRows(lParam);
    case 28: OnSortChanged(); return 1;
    case 29: return OnEvent29(lParam);
    case 30: return OnEvent30(lParam);
    case 31: return OnEvent31(lParam);
    case 33: OnEvent33(lParam); return 1;
    case 34: return OnEvent34(lParam);
    case 35: return OnEvent35(lParam);
    case 36: return OnMeasureRow(lParam);
    case 37: OnEvent37(); return 1;
    case 38: return OnEvent38(lParam);
    case 39: return OnEvent39(lParam);
    case 40: return OnEvent40(lParam);
    case 41: return OnEvent41(lParam);
    case 42: OnEvent42(lParam); return 1;
    case 43: OnEvent43(lParam); return 1;
    case 45: return OnEvent45(lParam);
    case 46: return OnEvent46(lParam) != 0 ? 1 : 0;
    case 47: OnEvent47(lParam); return 1;
    case 48: return OnEvent48(lParam);
    case 49: OnEvent49(lParam); return 1;
    case 52: return OnEvent52(lParam);
    case 55: return OnKey(bKeyDown, lParam);
    case 61: OnContextMenu(); return 1;
    default: return 0;
    }
}

LRESULT CBrowserListWrapper::RefreshRow(int nRow) { return SendMsg(BRM_REFRESHROW, (WORD)nRow, 0); }
LRESULT CBrowserListWrapper::RedrawRow(int nRow) { return SendMsg(BRM_REDRAWROW, (WORD)nRow, 0); }

void CBrowserListWrapper::OnEvent0(LPARAM) {}
LRESULT CBrowserListWrapper::OnDblClick(LPARAM)
{
    int nRow = GetHitRow();
    if (nRow < 0)
        return nRow;
    NotifyOwner(2);
    return 0;
}
LRESULT CBrowserListWrapper::OnKeyEvent8(BOOL, LPARAM) { return 0; }
void CBrowserListWrapper::OnMouseClick(LPARAM) {}
void CBrowserListWrapper::OnEvent18(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent19(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent21() {}
void CBrowserListWrapper::OnSelChange(LPARAM) { NotifyOwner(1); }
void CBrowserListWrapper::OnEvent16() { m_bEvent16 = TRUE; }
LRESULT CBrowserListWrapper::OnColumnMenu(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent2(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent3(LPARAM) { return 1; }
void CBrowserListWrapper::OnEvent22(LPARAM) {}
void CBrowserListWrapper::OnEvent15(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent9(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent6(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent7(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent10() {}
void CBrowserListWrapper::OnEvent11() {}
LRESULT CBrowserListWrapper::OnEvent20(LPARAM) { return 1; }
LRESULT CBrowserListWrapper::OnEvent13() { return -1; }
LRESULT CBrowserListWrapper::OnEvent12() { return 0; }
void CBrowserListWrapper::OnEvent23() {}
void CBrowserListWrapper::OnEvent37() {}
void CBrowserListWrapper::OnEvent42(LPARAM) {}
void CBrowserListWrapper::OnEvent43(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent45(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent26(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent33(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent38(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent39(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent40(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent24(LPARAM) { return 1; }
LRESULT CBrowserListWrapper::OnEvent25(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent29(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent30(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent34(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent35(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent41(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent31(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnCompareRows(LPARAM) { return 0; }
void CBrowserListWrapper::OnSortChanged() {}
LRESULT CBrowserListWrapper::OnMeasureRow(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnEvent46(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent47(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent48(LPARAM) { return 0; }
void CBrowserListWrapper::OnEvent49(LPARAM) {}
LRESULT CBrowserListWrapper::OnEvent52(LPARAM) { return 0; }
LRESULT CBrowserListWrapper::OnKey(BOOL, LPARAM) { return 0; }
void CBrowserListWrapper::OnContextMenu() {}

void CBrowserListWrapper::NotifyOwner(int nCode)
{
    int nId = MfxGetCtrlID(CWnd::FromHandle(m_hControl));
    SendMessageA(m_hOwner, WM_COMMAND, MAKEWPARAM(nId, nCode), (LPARAM)m_hControl);
}

LRESULT CBrowserListWrapper::SendMsg(UINT nMsg, WPARAM wParam, LPARAM lParam) const
{
    if (m_hControl == NULL)
        return BRW_NO_CONTROL;
    return SendMessageA(m_hControl, nMsg, wParam, lParam);
}

LRESULT CBrowserListWrapper::SetColor(int nAttribute, COLORREF color) { return SendMsg(BRM_SETATTRIBUTE, nAttribute, (LPARAM)color); }
int CBrowserListWrapper::SetOption(int nAttribute, int nValue) { return (short)LOWORD((DWORD)SendMsg(BRM_SETATTRIBUTE, nAttribute, nValue)); }

LRESULT CBrowserListWrapper::SaveLayout(DWORD dwFlags, HKEY hRoot, LPCSTR pszKeyPath, LPCSTR pszValueName)
{
    BRLAYOUT layout = {};
    layout.cb = sizeof(layout);
    layout.keyPath = pszKeyPath;
    layout.valueName = pszValueName;
    layout.root = hRoot;
    return SendMsg(BRM_SAVELAYOUT, dwFlags, (LPARAM)&layout);
}

LRESULT CBrowserListWrapper::LoadLayout(DWORD dwFlags, HKEY hRoot, LPCSTR pszKeyPath, LPCSTR pszValueName)
{
    BRLAYOUT layout = {};
    layout.cb = sizeof(layout);
    layout.keyPath = pszKeyPath;
    layout.valueName = pszValueName;
    layout.root = hRoot;
    return SendMsg(BRM_LOADLAYOUT, dwFlags, (LPARAM)&layout);
}

LRESULT CBrowserListWrapper::SaveLayoutOld(DWORD dwFlags, LPCSTR pszKeyPath, LPCSTR pszValueName)
{
    BRLAYOUTTEXT layout = {};
    layout.cb = sizeof(layout);
    layout.keyPath = pszKeyPath;
    layout.valueName = pszValueName;
    return SendMsg(BRM_SAVELAYOUT, dwFlags, (LPARAM)&layout);
}

LRESULT CBrowserListWrapper::GetColumn(int nColumn, BRCOLUMN* pColumn)
{
    pColumn->cb = sizeof(BRCOLUMN);
    return SendMsg(BRM_GETCOLUMN, nColumn, (LPARAM)pColumn);
}

LRESULT CBrowserListWrapper::SetColumn(BRCOLUMN* pColumn) { return SendMsg(BRM_SETCOLUMN, pColumn->index, (LPARAM)pColumn); }
int CBrowserListWrapper::GetHitRow() { return BRHIT_ROW(SendMsg(BRM_GETHITROW, 0, 0)); }
LRESULT CBrowserListWrapper::SetColumnTitles(LPCSTR pszTitles) { return SendMsg(BRM_SETTITLES, 0, (LPARAM)pszTitles); }
LRESULT CBrowserListWrapper::SetStyle(DWORD dwStyle) { return SendMsg(BRM_SETSTYLE, 0, dwStyle); }
LRESULT CBrowserListWrapper::SetRowText(int nRow, LPCSTR pszText) { return SendMsg(BRM_SETROWTEXT, nRow, (LPARAM)pszText); }
LRESULT CBrowserListWrapper::ResetContent() { return SendMsg(BRM_RESETCONTENT, 0, 0); }
LRESULT CBrowserListWrapper::SetCurrentRow(int nRow) { return SendMsg(BRM_SETCURROW, nRow, 0); }
LRESULT CBrowserListWrapper::SetSortOrder(int nOrder) { return SendMsg(BRM_SETSORTORDER, nOrder, 0); }
int CBrowserListWrapper::GetTextLen(int nRow) { return (int)SendMsg(BRM_GETTEXTLEN, nRow, 0); }

LRESULT CBrowserListWrapper::GetTextCopy(int nRow, CString& strText)
{
    strText.Empty();
    int nLength = GetTextLen(nRow);
    if (nLength < 0)
        return nLength;
    std::vector<char> buffer(nLength + 1, '\0');
    LRESULT lr = SendMsg(BRM_GETTEXT, nRow, (LPARAM)buffer.data());
    if (lr >= 0) {
        buffer[nLength] = '\0';
        strText = buffer.data();
    }
    return lr;
}

void CBrowserListWrapper::GetTextString(int nRow, CString& strText) { GetTextCopy(nRow, strText); }
int CBrowserListWrapper::GetCurrentRow() { return (int)SendMsg(BRM_GETCURROW, 0, 0); }
int CBrowserListWrapper::GetCount() { return (int)SendMsg(BRM_GETCOUNT, 0, 0); }
int CBrowserListWrapper::GetSortOrder() { return (int)SendMsg(BRM_GETSORTORDER, 0, 0); }

BOOL CBrowserListWrapper::SetColumnWidths(int nCount, const int* pWidths)
{
    if (nCount <= 0 || pWidths == NULL)
        return FALSE;
    std::vector<int32_t> widths(pWidths, pWidths + nCount);
    return SendMsg(BRM_SETCOLWIDTHS, nCount, (LPARAM)widths.data()) == 0;
}

LRESULT CBrowserListWrapper::BeginEdit(int nColumn) { return SendMsg(BRM_BEGINEDIT, nColumn, 0); }

HICON CBrowserListWrapper::GetIcon(int nIcon)
{
    LRESULT lr = SendMsg(BRM_GETICON, nIcon, 0);
    return lr == BRW_NO_CONTROL ? NULL : (HICON)lr;
}

LRESULT CBrowserListWrapper::SetIcon(int nIcon, HICON hIcon) { return SendMsg(BRM_SETICON, nIcon, (LPARAM)hIcon); }

LRESULT CBrowserListWrapper::GetCellTextLength(int nRow, int nColumn, int& nLength)
{
    if (nRow < 0 || nColumn < 0)
        return BRW_BAD_CELL;
    BRCELL cell = {};
    cell.cb = sizeof(cell);
    cell.column = nColumn;
    cell.row = nRow;
    LRESULT lr = SendMsg(BRM_GETCELLLEN, 0, (LPARAM)&cell);
    nLength = (int)lr;
    return lr < 0 ? lr : 0;
}

LRESULT CBrowserListWrapper::GetCellText(int nRow, int nColumn, CString& strText)
{
    if (nRow < 0 || nColumn < 0)
        return BRW_BAD_CELL;
    BRCELL cell = {};
    cell.cb = sizeof(cell);
    cell.column = nColumn;
    cell.row = nRow;
    LRESULT lLength = SendMsg(BRM_GETCELLLEN, 0, (LPARAM)&cell);
    if (lLength < 0)
        return lLength;
    std::vector<char> buffer((size_t)lLength + 1, '\0');
    cell.text = buffer.data();
    cell.size = (int32_t)buffer.size();
    LRESULT lr = SendMsg(BRM_GETCELLTEXT, 0, (LPARAM)&cell);
    if (lr == 0) {
        buffer.back() = '\0';
        strText = buffer.data();
    }
    return lr;
}

LRESULT CBrowserListWrapper::SetCellText(int nRow, int nColumn, LPCSTR pszText)
{
    if (nRow < 0 || nColumn < 0)
        return BRW_BAD_CELL;
    CString strCopy(pszText != NULL ? pszText : "");
    BRCELL cell = {};
    cell.cb = sizeof(cell);
    cell.column = nColumn;
    cell.row = nRow;
    cell.text = strCopy.GetBuffer(0);
    LRESULT lr = SendMsg(BRM_SETCELLTEXT, 0, (LPARAM)&cell);
    strCopy.ReleaseBuffer();
    return lr;
}

int CBrowserListWrapper::GetColumnCount() { return (int)SendMsg(BRM_GETCOLCOUNT, 0, 0); }

int CBrowserListWrapper::AddRow(LPCSTR pszText, LPARAM lItemData)
{
    BRADDROW row = {};
    row.cb = sizeof(row);
    row.text = pszText;
    row.itemData = lItemData;
    return (int)SendMsg(BRM_ADDROW, BRPOS_END, (LPARAM)&row);
}

int CBrowserListWrapper::AddString(LPCSTR pszText) { return (int)SendMsg(LB_ADDSTRING, 0, (LPARAM)pszText); }
LRESULT CBrowserListWrapper::DeleteString(int nRow) { return SendMsg(LB_DELETESTRING, nRow, 0); }
int CBrowserListWrapper::GetSel(int nRow) { return (int)SendMsg(LB_GETSEL, nRow, 0); }
int CBrowserListWrapper::GetCurSel() { return (int)SendMsg(LB_GETCURSEL, 0, 0); }
LRESULT CBrowserListWrapper::SetSel(int nRow, BOOL bSelect) { return SendMsg(LB_SETSEL, bSelect, nRow); }
int CBrowserListWrapper::GetSelCount() { return (int)SendMsg(LB_GETSELCOUNT, 0, 0); }
LPARAM CBrowserListWrapper::GetItemData(int nRow) { return SendMsg(LB_GETITEMDATA, nRow, 0); }
LRESULT CBrowserListWrapper::SetItemData(int nRow, LPARAM lValue) { return SendMsg(LB_SETITEMDATA, nRow, lValue); }
LRESULT CBrowserListWrapper::SetRedraw(BOOL bRedraw) { return SendMsg(WM_SETREDRAW, bRedraw, 0); }

int CBrowserListWrapper::GetFirstSelected()
{
    int nCount = GetCount();
    for (int nRow = 0; nRow < nCount; nRow++) {
        if (GetSel(nRow) > 0)
            return nRow;
    }
    return -1;
}

BOOL CBrowserListWrapper::FindItemData(LPARAM lValue, int& nRow)
{
    int nCount = GetCount();
    for (int i = 0; i < nCount; i++) {
        if (GetItemData(i) == lValue) {
            nRow = i;
            return TRUE;
        }
    }
    return FALSE;
}
