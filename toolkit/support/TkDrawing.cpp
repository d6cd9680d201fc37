#include "TkDrawing.h"

#include "CTkGlobalData.h"

// Where the source is white the destination stays; elsewhere the selected brush shows.
#define TK_ROP_PSDPXAX 0x00B8074A

void TkDrawEmbossed(CDC* pDC, CImageList* pImageList, int nIndex, CPoint pt, BOOL bInColor)
{
    IMAGEINFO info;
    if (pDC == NULL || pImageList == NULL || !pImageList->GetImageInfo(0, &info))
        return;
    const int cx = info.rcImage.right - info.rcImage.left, cy = info.rcImage.bottom - info.rcImage.top;
    HDC hdcMem = ::CreateCompatibleDC(pDC->m_hDC);
    HBITMAP hbm = bInColor ? ::CreateCompatibleBitmap(pDC->m_hDC, cx, cy) : ::CreateBitmap(cx, cy, 1, 1, NULL);
    if (hdcMem == NULL || hbm == NULL) {
        if (hbm != NULL)
            ::DeleteObject(hbm);
        if (hdcMem != NULL)
            ::DeleteDC(hdcMem);
        return;
    }
    HGDIOBJ hOldBitmap = ::SelectObject(hdcMem, hbm);
    ::PatBlt(hdcMem, 0, 0, cx, cy, WHITENESS);
    ::ImageList_Draw(pImageList->m_hImageList, nIndex, hdcMem, 0, 0, ILD_TRANSPARENT);
    if (bInColor) {
        // Every pixel that is not white belongs to the shape (drawn into a monochrome bitmap
        // directly, light colours would turn white and drop out): the raster operation below
        // needs a black and white source, as a coloured one would tint the destination.
        HBITMAP hbmMono = ::CreateBitmap(cx, cy, 1, 1, NULL);
        HDC hdcMono = hbmMono != NULL ? ::CreateCompatibleDC(pDC->m_hDC) : NULL;
        if (hdcMono != NULL) {
            HGDIOBJ hOldMono = ::SelectObject(hdcMono, hbmMono);
            ::SetBkColor(hdcMem, RGB(255, 255, 255));
            ::BitBlt(hdcMono, 0, 0, cx, cy, hdcMem, 0, 0, SRCCOPY);
            ::SelectObject(hdcMono, hOldMono);
            ::DeleteDC(hdcMono);
            ::SelectObject(hdcMem, hOldBitmap);
            ::DeleteObject(hbm);
            hbm = hbmMono;
            hOldBitmap = ::SelectObject(hdcMem, hbm);
        } else if (hbmMono != NULL) {
            ::DeleteObject(hbmMono);
        }
    }

    COLORREF clrOldText = ::SetTextColor(pDC->m_hDC, RGB(0, 0, 0));
    COLORREF clrOldBk = ::SetBkColor(pDC->m_hDC, RGB(255, 255, 255));
    HBRUSH hbrHilight = ::CreateSolidBrush(tkAfxData.clr3DHilight);
    HGDIOBJ hOldBrush = ::SelectObject(pDC->m_hDC, hbrHilight);
    ::BitBlt(pDC->m_hDC, pt.x + 1, pt.y + 1, cx, cy, hdcMem, 0, 0, TK_ROP_PSDPXAX);
    HBRUSH hbrShadow = ::CreateSolidBrush(tkAfxData.clr3DShadow);
    ::SelectObject(pDC->m_hDC, hbrShadow);
    ::BitBlt(pDC->m_hDC, pt.x, pt.y, cx, cy, hdcMem, 0, 0, TK_ROP_PSDPXAX);
    ::SelectObject(pDC->m_hDC, hOldBrush);
    ::DeleteObject(hbrHilight);
    ::DeleteObject(hbrShadow);
    ::SetTextColor(pDC->m_hDC, clrOldText);
    ::SetBkColor(pDC->m_hDC, clrOldBk);

    ::SelectObject(hdcMem, hOldBitmap);
    ::DeleteObject(hbm);
    ::DeleteDC(hdcMem);
}

void TkFillDitherRect(CDC* pDC, LPCRECT lpRect)
{
    static const WORD s_pattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
    HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, s_pattern);
    if (hbm == NULL)
        return;
    HBRUSH hbr = ::CreatePatternBrush(hbm);
    if (hbr != NULL) {
        COLORREF clrOldBk = ::SetBkColor(pDC->m_hDC, tkAfxData.clr3DFace);
        COLORREF clrOldText = ::SetTextColor(pDC->m_hDC, tkAfxData.clr3DHilight);
        ::FillRect(pDC->m_hDC, lpRect, hbr);
        ::SetBkColor(pDC->m_hDC, clrOldBk);
        ::SetTextColor(pDC->m_hDC, clrOldText);
        ::DeleteObject(hbr);
    }
    ::DeleteObject(hbm);
}

void TkStripMnemonics(CString& strText)
{
    CString strResult;
    int nLength = strText.GetLength();
    for (int i = 0; i < nLength; i++) {
        TCHAR ch = strText[i];
        if (ch == '&') {
            if (i + 1 < nLength && strText[i + 1] == '&') {
                strResult += "&&";
                i++;
            }
            continue;
        }
        strResult += ch;
    }
    strText = strResult;
}
