#include "CUserColorCombo.h"

CUserColorCombo::CUserColorCombo() : m_pUserColors(NULL) {}

CUserColorCombo::~CUserColorCombo()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

void CUserColorCombo::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    HDC hdc = lpDIS->hDC;
    RECT rcItem = lpDIS->rcItem;
    const int nItem = (int)lpDIS->itemID;
    CString text;
    const BOOL bEntry = nItem >= 0 && nItem < GetCount();
    if (bEntry)
        GetLBText(nItem, text);
    CString allUsers;
    allUsers.LoadString(kAllUsersStringId);
    const BOOL bAllUsers = !allUsers.IsEmpty() && text == allUsers;

    const COLORREF crOldText = ::GetTextColor(hdc);
    const COLORREF crOldBk = ::GetBkColor(hdc);
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    const UINT action = lpDIS->itemAction;
    if (bSelected && (action & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))) {
        ::SetTextColor(hdc, ::GetSysColor(COLOR_HIGHLIGHTTEXT));
        ::SetBkColor(hdc, ::GetSysColor(COLOR_HIGHLIGHT));
        ::FillRect(hdc, &rcItem, ::GetSysColorBrush(COLOR_HIGHLIGHT));
    } else if (!bSelected && (action & (ODA_DRAWENTIRE | ODA_SELECT))) {
        ::SetTextColor(hdc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkColor(hdc, ::GetSysColor(COLOR_WINDOW));
        ::FillRect(hdc, &rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    }
    RECT rcText = rcItem;
    ::DrawTextA(hdc, text, text.GetLength(), &rcText, DT_SINGLELINE | DT_VCENTER);

    // No entry (an empty list, nothing selected): no swatch, and no nameless user in the map.
    if (bEntry && !bAllUsers) {
        RECT swatch = rcItem;
        swatch.left += 3 * ((rcItem.right - rcItem.left) / 4);
        ::InflateRect(&swatch, -2, -2);
        COLORREF crUser = 0;
        if (m_pUserColors != NULL)
            crUser = (*m_pUserColors)[(LPCTSTR)text]; // a new name gets colour 0
        HPEN hPen = ::CreatePen(PS_SOLID, 1, ::GetSysColor(bSelected ? COLOR_WINDOW : COLOR_HIGHLIGHT));
        HGDIOBJ hOldPen = ::SelectObject(hdc, hPen);
        HGDIOBJ hOldBrush = ::SelectObject(hdc, ::GetStockObject(NULL_BRUSH));
        ::Rectangle(hdc, swatch.left, swatch.top, swatch.right, swatch.bottom);
        ::SelectObject(hdc, hOldBrush);
        ::SelectObject(hdc, hOldPen);
        ::DeleteObject(hPen);
        ::InflateRect(&swatch, -1, -1);
        HBRUSH hBrush = ::CreateSolidBrush(crUser);
        ::FillRect(hdc, &swatch, hBrush);
        ::DeleteObject(hBrush);
    }
    if (action & ODA_FOCUS)
        ::DrawFocusRect(hdc, &rcItem);
    ::SetTextColor(hdc, crOldText);
    ::SetBkColor(hdc, crOldBk);
}
