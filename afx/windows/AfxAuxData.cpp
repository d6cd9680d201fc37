#include "AfxWindowLayer.h"

AUX_DATA afxData;

AUX_DATA::AUX_DATA()
    : cxBorder2(0), cyBorder2(0), cxVScroll(0), cyHScroll(0), cxIcon(0), cyIcon(0), cxPixelsPerInch(96),
      cyPixelsPerInch(96), clrBtnFace(0), clrBtnShadow(0), clrBtnHilite(0), clrBtnText(0), clrWindowFrame(0),
      hbrBtnFace(NULL), hbrWindowFrame(NULL), hcurWait(::LoadCursorA(NULL, IDC_WAIT)),
      hcurArrow(::LoadCursorA(NULL, IDC_ARROW)), hbmMenuDot(NULL)
{
    UpdateSysMetrics();
    UpdateSysColors();
}

AUX_DATA::~AUX_DATA()
{
    if (hbrBtnFace != NULL)
        ::DeleteObject(hbrBtnFace);
    if (hbrWindowFrame != NULL)
        ::DeleteObject(hbrWindowFrame);
    if (hbmMenuDot != NULL)
        ::DeleteObject(hbmMenuDot);
}

void AUX_DATA::UpdateSysColors()
{
    clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    clrBtnText = ::GetSysColor(COLOR_BTNTEXT);
    clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);

    HBRUSH hbrOld = hbrBtnFace;
    hbrBtnFace = ::CreateSolidBrush(clrBtnFace);
    if (hbrOld != NULL)
        ::DeleteObject(hbrOld);
    hbrOld = hbrWindowFrame;
    hbrWindowFrame = ::CreateSolidBrush(clrWindowFrame);
    if (hbrOld != NULL)
        ::DeleteObject(hbrOld);
}

namespace {

// A round dot in the middle of a check-mark cell: black (0 bits, drawn in the menu's text
// colour) on white (1 bits, the menu's background).
HBITMAP MakeMenuDot()
{
    int cx = ::GetSystemMetrics(SM_CXMENUCHECK);
    int cy = ::GetSystemMetrics(SM_CYMENUCHECK);
    if (cx <= 0 || cy <= 0)
        return NULL;
    HDC hdcScreen = ::GetDC(NULL);
    HDC hdc = ::CreateCompatibleDC(hdcScreen);
    ::ReleaseDC(NULL, hdcScreen);
    if (hdc == NULL)
        return NULL;
    HBITMAP hbm = ::CreateBitmap(cx, cy, 1, 1, NULL);
    if (hbm != NULL) {
        HGDIOBJ hbmOld = ::SelectObject(hdc, hbm);
        ::PatBlt(hdc, 0, 0, cx, cy, WHITENESS);
        // a dot of about 40 % of the cell, at least 4 pixels, centred
        int nSize = (cx < cy ? cx : cy) * 2 / 5;
        if (nSize < 4)
            nSize = 4;
        int x = (cx - nSize) / 2;
        int y = (cy - nSize) / 2;
        HGDIOBJ hbrOld = ::SelectObject(hdc, ::GetStockObject(BLACK_BRUSH));
        HGDIOBJ hpenOld = ::SelectObject(hdc, ::GetStockObject(BLACK_PEN));
        ::Ellipse(hdc, x, y, x + nSize, y + nSize);
        ::SelectObject(hdc, hpenOld);
        ::SelectObject(hdc, hbrOld);
        ::SelectObject(hdc, hbmOld);
    }
    ::DeleteDC(hdc);
    return hbm;
}

} // namespace

void AUX_DATA::UpdateSysMetrics()
{
    cxBorder2 = 2 * ::GetSystemMetrics(SM_CXBORDER);
    cyBorder2 = 2 * ::GetSystemMetrics(SM_CYBORDER);
    cxVScroll = ::GetSystemMetrics(SM_CXVSCROLL);
    cyHScroll = ::GetSystemMetrics(SM_CYHSCROLL);
    cxIcon = ::GetSystemMetrics(SM_CXICON);
    cyIcon = ::GetSystemMetrics(SM_CYICON);
    HDC hdc = ::GetDC(NULL);
    if (hdc != NULL) {
        cxPixelsPerInch = ::GetDeviceCaps(hdc, LOGPIXELSX);
        cyPixelsPerInch = ::GetDeviceCaps(hdc, LOGPIXELSY);
        ::ReleaseDC(NULL, hdc);
    }
    // Menus keep the old dot as long as their items use it: the handle is only replaced when
    // the check-mark size changed.
    BITMAP bm;
    if (hbmMenuDot == NULL || ::GetObjectA(hbmMenuDot, sizeof(bm), &bm) == 0 ||
        bm.bmWidth != ::GetSystemMetrics(SM_CXMENUCHECK) || bm.bmHeight != ::GetSystemMetrics(SM_CYMENUCHECK)) {
        HBITMAP hbmNew = MakeMenuDot();
        if (hbmNew != NULL)
            hbmMenuDot = hbmNew; // the old one may still be shown by a menu: it is left alone
    }
}
