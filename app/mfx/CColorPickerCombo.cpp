#include "CColorPickerCombo.h"

const COLORREF CColorPickerCombo::s_fixedColors[kFixedColors] = {
    0x000000, 0x404040, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000080, 0x0000FF, 0x008000, 0x008080, 0x00C0C0, 0x0080FF,
    0x00FF00, 0x00FF80, 0x00FFFF, 0x800000, 0x800080, 0x8000FF, 0x808000, 0x8080FF, 0x80FF00, 0x80FF80, 0x80FFFF,
    0x40FFFF, 0xBAF0FF, 0xD0FFFF, 0xFF0000, 0xFF0080, 0xC000C0, 0xFF00FF, 0xFF8000, 0xFF8080, 0xFF80FF, 0xFFFF00,
    0xFFFF80, 0x006699, 0x0099CC, 0x00CCFF, 0x99FFFF, 0x9DDBFF, 0x66CCFF, 0x3399FF, 0x4B79FF, 0x0033FF, 0x000099,
    0x663333, 0x993300, 0xCC6600, 0xD78300, 0xFF9900, 0xDE9A34, 0xFFCC99, 0xFFE2B4, 0xFFFFDE, 0xFFCCFF, 0xFFCCCC,
    0xFFCCCC, 0xFF9999, 0xCC6666, 0xCC9999, 0x996666, 0x006600, 0x009900, 0x33CC66, 0x66FF99, 0xCCFFCC,
};

CColorPickerCombo::CColorPickerCombo(BOOL bWithAuto) : m_nAutoIndex(-1), m_bWithAuto(bWithAuto)
{
    for (COLORREF cr : s_fixedColors)
        m_colors.Add(cr);
    if (bWithAuto)
        m_nAutoIndex = (int)m_colors.Add(::GetSysColor(COLOR_WINDOWTEXT));
}

CColorPickerCombo::~CColorPickerCombo() { m_colors.RemoveAll(); }

void CColorPickerCombo::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    for (INT_PTR i = 0; i < m_colors.GetSize(); ++i)
        ::SendMessageA(m_hWnd, CB_ADDSTRING, 0, (LPARAM)"");
    ::SendMessageA(m_hWnd, CB_SETCURSEL, 0, 0);
}

int CColorPickerCombo::SelectColor(COLORREF cr)
{
    for (INT_PTR i = 0; i < m_colors.GetSize(); ++i) {
        if (m_colors[i] == cr) {
            SetCurSel((int)i);
            return (int)i;
        }
    }
    return (int)m_colors.GetSize();
}

COLORREF CColorPickerCombo::GetSelectedColor() const
{
    int nSel = GetCurSel();
    if (nSel < 0 || nSel >= m_colors.GetSize())
        return CLR_INVALID;
    return m_colors[nSel];
}

void CColorPickerCombo::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    const int nItem = (int)lpDIS->itemID;
    if (nItem < 0 || nItem >= m_colors.GetSize())
        return; // an empty list: nothing to draw
    HDC hdc = lpDIS->hDC;
    RECT inner = lpDIS->rcItem;
    ::InflateRect(&inner, -2, -2);
    HBRUSH hBrush = ::CreateSolidBrush(m_colors[nItem]);
    ::FillRect(hdc, &inner, hBrush);
    if (lpDIS->itemState & ODS_SELECTED)
        ::DrawFocusRect(hdc, &inner);
    if (nItem == m_nAutoIndex) {
        COLORREF crOldText = ::SetTextColor(hdc, RGB(255, 255, 255));
        int nOldMode = ::SetBkMode(hdc, TRANSPARENT);
        ::DrawTextA(hdc, "Auto", -1, &inner, DT_CENTER | DT_SINGLELINE);
        ::SetBkMode(hdc, nOldMode);
        ::SetTextColor(hdc, crOldText);
    }
    ::DeleteObject(hBrush);
}

void CColorPickerCombo::MeasureItem(LPMEASUREITEMSTRUCT) {}
