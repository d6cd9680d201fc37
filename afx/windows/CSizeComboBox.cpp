#include "AfxWindowLayer.h"
#include "CSizeComboBox.h"

#include <stdio.h>

IMPLEMENT_DYNAMIC(CSizeComboBox, CComboBox)

CSizeComboBox::CSizeComboBox() : m_nLogPixelsY(96) {}

namespace {

// The sizes offered for a scalable face.
const int kStandardSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48};

struct SizeEnum {
    CSizeComboBox* pBox;
    BOOL bScalable;
};

int CALLBACK AddSize(const LOGFONTA*, const TEXTMETRICA* lptm, DWORD dwFontType, LPARAM lParam)
{
    SizeEnum* pEnum = (SizeEnum*)lParam;
    if (dwFontType & RASTER_FONTTYPE) {
        int nPoints = ::MulDiv(lptm->tmHeight - lptm->tmInternalLeading, 72, pEnum->pBox->m_nLogPixelsY);
        if (nPoints > 0)
            pEnum->pBox->InsertSize(nPoints);
    } else {
        pEnum->bScalable = TRUE;
    }
    return 1;
}

} // namespace

int CSizeComboBox::FillSizes(LPCTSTR lpszFaceName, CDC* pDC)
{
    ResetContent();
    HDC hdcScreen = NULL;
    HDC hdc = pDC != NULL ? pDC->m_hDC : NULL;
    if (hdc == NULL)
        hdc = hdcScreen = ::GetDC(NULL);
    SizeEnum sizeEnum = {this, FALSE};
    if (hdc != NULL) {
        m_nLogPixelsY = ::GetDeviceCaps(hdc, LOGPIXELSY);
        if (m_nLogPixelsY <= 0)
            m_nLogPixelsY = 96;
        if (lpszFaceName != NULL && *lpszFaceName != '\0')
            ::EnumFontFamiliesA(hdc, lpszFaceName, (FONTENUMPROCA)&AddSize, (LPARAM)&sizeEnum);
    }
    if (hdcScreen != NULL)
        ::ReleaseDC(NULL, hdcScreen);
    // a face that is no raster font (or that the device does not know) is scaled to any size
    if (sizeEnum.bScalable || GetCount() == 0) {
        ResetContent();
        for (int nSize : kStandardSizes)
            InsertSize(nSize);
    }
    return GetCount();
}

int CSizeComboBox::InsertSize(int nPointSize)
{
    int nTwips = nPointSize * 20;
    int nCount = GetCount();
    int nIndex = 0;
    while (nIndex < nCount && GetTwips(nIndex) < nTwips)
        nIndex++;
    if (nIndex < nCount && GetTwips(nIndex) == nTwips)
        return nIndex;
    nIndex = InsertString(nIndex, TwipsToPointString(nTwips));
    if (nIndex >= 0)
        SetItemData(nIndex, (DWORD_PTR)nTwips);
    return nIndex;
}

int CSizeComboBox::GetTwips(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return -1;
    return (int)GetItemData(nIndex);
}

int CSizeComboBox::GetHeight(int nIndex) const
{
    int nTwips = GetTwips(nIndex);
    return nTwips < 0 ? 0 : -::MulDiv(nTwips, m_nLogPixelsY, 1440);
}

int CSizeComboBox::SelectTwips(int nTwips)
{
    for (int i = 0, n = GetCount(); i < n; i++) {
        if (GetTwips(i) == nTwips) {
            SetCurSel(i);
            return i;
        }
    }
    SetCurSel(-1);
    SetWindowText(nTwips > 0 ? (LPCTSTR)TwipsToPointString(nTwips) : "");
    return CB_ERR;
}

CString PASCAL CSizeComboBox::TwipsToPointString(int nTwips)
{
    char szText[32];
    // points with up to one decimal, German comma, no trailing zero
    int nTenths = (nTwips * 10 + 10) / 20;
    if (nTenths % 10 == 0)
        snprintf(szText, sizeof(szText), "%d", nTenths / 10);
    else
        snprintf(szText, sizeof(szText), "%d,%d", nTenths / 10, nTenths % 10);
    return szText;
}
