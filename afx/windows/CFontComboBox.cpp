#include "AfxWindowLayer.h"
#include "CFontComboBox.h"

IMPLEMENT_DYNAMIC(CFontComboBox, CComboBox)

BEGIN_MESSAGE_MAP(CFontComboBox, CComboBox)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CFontComboBox::CFontComboBox() {}

CFontComboBox::~CFontComboBox() {}

namespace {

int CALLBACK AddFamily(const LOGFONTA* lpelf, const TEXTMETRICA*, DWORD dwFontType, LPARAM lParam)
{
    // the vertical variants of faces ("@Name") are no faces of their own
    if (lpelf->lfFaceName[0] != '@')
        ((CFontComboBox*)lParam)->AddFont(*lpelf, dwFontType);
    return 1;
}

} // namespace

int CFontComboBox::FillFonts(CDC* pDC)
{
    FreeAllItemData();
    ResetContent();
    HDC hdcScreen = NULL;
    HDC hdc = pDC != NULL ? pDC->m_hDC : NULL;
    if (hdc == NULL)
        hdc = hdcScreen = ::GetDC(NULL);
    if (hdc != NULL)
        ::EnumFontFamiliesA(hdc, NULL, (FONTENUMPROCA)&AddFamily, (LPARAM)this);
    if (hdcScreen != NULL)
        ::ReleaseDC(NULL, hdcScreen);
    return GetCount();
}

int CFontComboBox::AddFont(const LOGFONTA& lf, DWORD dwFontType)
{
    int nIndex = FindStringExact(-1, lf.lfFaceName);
    if (nIndex != CB_ERR)
        return nIndex;
    nIndex = AddString(lf.lfFaceName);
    if (nIndex < 0)
        return nIndex;
    CFontDesc* pDesc = new CFontDesc;
    pDesc->m_strName = lf.lfFaceName;
    pDesc->m_nCharSet = lf.lfCharSet;
    pDesc->m_nPitchAndFamily = lf.lfPitchAndFamily;
    pDesc->m_dwFontType = dwFontType;
    SetItemDataPtr(nIndex, pDesc);
    return nIndex;
}

const CFontDesc* CFontComboBox::GetFontDesc(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return NULL;
    DWORD_PTR dwData = GetItemData(nIndex);
    return dwData == (DWORD_PTR)CB_ERR ? NULL : (const CFontDesc*)dwData;
}

int CFontComboBox::SelectFont(LPCTSTR lpszFaceName)
{
    // an exact name, not the first face that begins with it ("Arial" is not "Arial Black")
    int nIndex = FindStringExact(-1, lpszFaceName);
    if (nIndex != CB_ERR)
        SetCurSel(nIndex);
    return nIndex;
}

void CFontComboBox::FreeAllItemData()
{
    if (m_hWnd == NULL)
        return;
    for (int i = GetCount() - 1; i >= 0; i--) {
        delete (CFontDesc*)GetFontDesc(i);
        SetItemData(i, 0);
    }
}

void CFontComboBox::OnDestroy()
{
    FreeAllItemData();
    CComboBox::OnDestroy();
}

void CFontComboBox::DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct)
{
    // (entries whose data were freed already have 0)
    delete (CFontDesc*)lpDeleteItemStruct->itemData;
    lpDeleteItemStruct->itemData = 0;
}

void CFontComboBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    // a line of the dialog font with a pixel of room above and below
    HDC hdc = ::GetDC(NULL);
    HGDIOBJ hOld = ::SelectObject(hdc, ::GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    ::GetTextMetricsA(hdc, &tm);
    ::SelectObject(hdc, hOld);
    ::ReleaseDC(NULL, hdc);
    lpMeasureItemStruct->itemHeight = (UINT)(tm.tmHeight + 2);
}

void CFontComboBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (lpDIS->itemID == (UINT)-1)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    COLORREF clrBack = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF clrText = ::GetSysColor(bSelected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    pDC->FillSolidRect(&rect, clrBack);

    // the TrueType mark: two overlapping T's, as wide as the line is high
    int nMark = rect.Height();
    const CFontDesc* pDesc = (const CFontDesc*)lpDIS->itemData;
    if (pDesc != NULL && (pDesc->m_dwFontType & TRUETYPE_FONTTYPE)) {
        int nOldMode = pDC->SetBkMode(TRANSPARENT);
        COLORREF clrOld = pDC->SetTextColor(bSelected ? clrText : RGB(128, 128, 128));
        CRect rectT(rect.left + 1, rect.top, rect.left + nMark - 3, rect.bottom);
        pDC->DrawText("T", 1, &rectT, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->SetTextColor(bSelected ? clrText : RGB(0, 0, 128));
        rectT.OffsetRect(nMark / 3, 2);
        pDC->DrawText("T", 1, &rectT, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->SetTextColor(clrOld);
        pDC->SetBkMode(nOldMode);
    }
    CString strName;
    GetLBText((int)lpDIS->itemID, strName);
    CRect rectText(rect.left + nMark + 2, rect.top, rect.right, rect.bottom);
    COLORREF clrOld = pDC->SetTextColor(clrText);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    pDC->DrawText(strName, strName.GetLength(), &rectText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(clrOld);
    if (lpDIS->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rect);
}
