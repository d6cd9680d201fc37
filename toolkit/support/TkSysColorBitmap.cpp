#include "TkSysColorBitmap.h"

#include <string.h>

namespace {

const COLORREF s_clrSources[4] = {RGB(0, 0, 0), RGB(0x80, 0x80, 0x80), RGB(0xC0, 0xC0, 0xC0), RGB(0xFF, 0xFF, 0xFF)};

// A monochrome mask of the pixels of one colour in the bitmap selected into hdcImage (1 where
// the image has the colour); NULL when it cannot be made.
HBITMAP MakeColorMask(HDC hdcImage, int cx, int cy, COLORREF clr)
{
    HDC hdcMask = ::CreateCompatibleDC(hdcImage);
    HBITMAP hbmMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
    if (hdcMask != NULL && hbmMask != NULL) {
        HGDIOBJ hOld = ::SelectObject(hdcMask, hbmMask);
        COLORREF clrOldBk = ::SetBkColor(hdcImage, clr);
        ::BitBlt(hdcMask, 0, 0, cx, cy, hdcImage, 0, 0, SRCCOPY);
        ::SetBkColor(hdcImage, clrOldBk);
        ::SelectObject(hdcMask, hOld);
    }
    if (hdcMask != NULL)
        ::DeleteDC(hdcMask);
    return hbmMask;
}

// Paints the pixels of the mask in clrTo: cleared with the mask first (1 -> black, 0 -> white;
// AND), then painted (1 -> the colour, 0 -> black; OR).
void PaintMask(HDC hdcImage, int cx, int cy, HBITMAP hbmMask, COLORREF clrTo)
{
    HDC hdcMask = ::CreateCompatibleDC(hdcImage);
    if (hdcMask == NULL)
        return;
    HGDIOBJ hOld = ::SelectObject(hdcMask, hbmMask);
    COLORREF clrOldText = ::SetTextColor(hdcImage, RGB(255, 255, 255));
    COLORREF clrOldBk = ::SetBkColor(hdcImage, RGB(0, 0, 0));
    ::BitBlt(hdcImage, 0, 0, cx, cy, hdcMask, 0, 0, SRCAND);
    ::SetTextColor(hdcImage, RGB(0, 0, 0));
    ::SetBkColor(hdcImage, clrTo);
    ::BitBlt(hdcImage, 0, 0, cx, cy, hdcMask, 0, 0, SRCPAINT);
    ::SetTextColor(hdcImage, clrOldText);
    ::SetBkColor(hdcImage, clrOldBk);
    ::SelectObject(hdcMask, hOld);
    ::DeleteDC(hdcMask);
}

} // namespace

HBITMAP TkLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono, const COLORREF* pclrTargets)
{
    if (hRsrc == NULL)
        return NULL;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    if (hGlobal == NULL)
        return NULL;
    const BITMAPINFOHEADER* pHeader = (const BITMAPINFOHEADER*)::LockResource(hGlobal);
    DWORD dwSize = ::SizeofResource(hInst, hRsrc);
    if (pHeader == NULL || dwSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize < sizeof(BITMAPINFOHEADER) ||
        pHeader->biWidth <= 0 || pHeader->biHeight == 0)
        return NULL;

    COLORREF clrTargets[4];
    if (pclrTargets != NULL) {
        memcpy(clrTargets, pclrTargets, sizeof(clrTargets));
    } else {
        clrTargets[0] = ::GetSysColor(COLOR_BTNTEXT);
        clrTargets[1] = ::GetSysColor(COLOR_BTNSHADOW);
        clrTargets[2] = ::GetSysColor(COLOR_BTNFACE);
        clrTargets[3] = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    }
    if (bMono) {
        clrTargets[0] = RGB(0, 0, 0);
        clrTargets[1] = clrTargets[2] = clrTargets[3] = RGB(255, 255, 255);
    }

    const int nBits = pHeader->biBitCount;
    DWORD nColors = nBits <= 8 ? (pHeader->biClrUsed != 0 ? pHeader->biClrUsed : (1u << nBits)) : 0;
    if (nBits > 8 && pHeader->biCompression == BI_BITFIELDS)
        nColors = 3;
    const DWORD dwHeaderSize = pHeader->biSize + nColors * sizeof(RGBQUAD);
    const int cx = pHeader->biWidth, cy = pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight;
    const DWORD dwStride = ((DWORD)cx * nBits + 31) / 32 * 4;
    if (nColors > 256 || dwHeaderSize > dwSize || (pHeader->biCompression == BI_RGB && dwSize - dwHeaderSize < dwStride * cy))
        return NULL;
    const BYTE* pBits = (const BYTE*)pHeader + dwHeaderSize;

    HDC hdcScreen = ::GetDC(NULL);
    HBITMAP hbm = NULL;
    if (nBits <= 8) {
        // the replacement is made in a copy of the colour table (stored blue, green, red)
        BYTE* pInfo = new BYTE[dwHeaderSize];
        memcpy(pInfo, pHeader, dwHeaderSize);
        RGBQUAD* pColors = (RGBQUAD*)(pInfo + pHeader->biSize);
        for (DWORD i = 0; i < nColors; i++) {
            COLORREF clr = RGB(pColors[i].rgbRed, pColors[i].rgbGreen, pColors[i].rgbBlue);
            for (int k = 0; k < 4; k++) {
                if (clr == s_clrSources[k]) {
                    pColors[i].rgbRed = GetRValue(clrTargets[k]);
                    pColors[i].rgbGreen = GetGValue(clrTargets[k]);
                    pColors[i].rgbBlue = GetBValue(clrTargets[k]);
                    break;
                }
            }
        }
        hbm = ::CreateDIBitmap(hdcScreen, (const BITMAPINFOHEADER*)pInfo, CBM_INIT, pBits, (const BITMAPINFO*)pInfo,
                               DIB_RGB_COLORS);
        delete[] pInfo;
    } else {
        hbm = ::CreateDIBitmap(hdcScreen, pHeader, CBM_INIT, pBits, (const BITMAPINFO*)pHeader, DIB_RGB_COLORS);
        if (hbm != NULL) {
            HDC hdcImage = ::CreateCompatibleDC(hdcScreen);
            HGDIOBJ hOld = ::SelectObject(hdcImage, hbm);
            // all masks are taken from the original pixels, so that a colour painted for one
            // shade is not taken for another
            HBITMAP ahbmMasks[4] = {NULL, NULL, NULL, NULL};
            for (int k = 0; k < 4; k++) {
                if (clrTargets[k] != s_clrSources[k])
                    ahbmMasks[k] = MakeColorMask(hdcImage, cx, cy, s_clrSources[k]);
            }
            for (int k = 0; k < 4; k++) {
                if (ahbmMasks[k] != NULL) {
                    PaintMask(hdcImage, cx, cy, ahbmMasks[k], clrTargets[k]);
                    ::DeleteObject(ahbmMasks[k]);
                }
            }
            ::SelectObject(hdcImage, hOld);
            ::DeleteDC(hdcImage);
        }
    }
    ::ReleaseDC(NULL, hdcScreen);
    return hbm;
}
