#include "AfxDockingPrivate.h"
#include "CToolBar.h"

#include <string.h>

#include <vector>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
ON_WM_NCCREATE()
ON_WM_NCCALCSIZE()
ON_WM_NCPAINT()
ON_WM_PAINT()
ON_WM_NCHITTEST()
ON_WM_WINDOWPOSCHANGING()
ON_WM_SYSCOLORCHANGE()
ON_MESSAGE(TB_SETBUTTONSIZE, OnSetButtonSize)
ON_MESSAGE(TB_SETBITMAPSIZE, OnSetBitmapSize)
END_MESSAGE_MAP()

namespace {

// The width of a separator that the buttons give way to.
const int kSeparatorWidthFlat = 6;
const int kSeparatorWidth = 8;

// The state of the buttons' update (idle time): Enable and SetCheck act on the button at
// m_nIndex of the toolbar in m_pOther; a button has no text to set.
class CToolCmdUI : public CCmdUI {
public:
    void Enable(BOOL bOn) override
    {
        m_bEnableChanged = TRUE;
        CToolBar* pToolBar = (CToolBar*)m_pOther;
        UINT nNewStyle = pToolBar->GetButtonStyle((int)m_nIndex) & ~TBBS_DISABLED;
        // a pressed button that is disabled would stay drawn pressed
        if (!bOn)
            nNewStyle = (nNewStyle | TBBS_DISABLED) & ~TBBS_PRESSED;
        pToolBar->SetButtonStyle((int)m_nIndex, nNewStyle);
    }
    void SetCheck(int nCheck) override
    {
        CToolBar* pToolBar = (CToolBar*)m_pOther;
        UINT nNewStyle = pToolBar->GetButtonStyle((int)m_nIndex) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (nCheck == 1)
            nNewStyle |= TBBS_CHECKED;
        else if (nCheck == 2)
            nNewStyle |= TBBS_INDETERMINATE;
        pToolBar->SetButtonStyle((int)m_nIndex, nNewStyle | TBBS_CHECKBOX);
    }
    void SetText(LPCTSTR) override {}
};

// A bitmap resource with its standard grey tones in the system's button colours (black, dark
// grey, light grey and white of a palette image become the text, shadow, face and highlight
// colours). NULL for a damaged or unknown image.
HBITMAP LoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc)
{
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal != NULL ? (const BYTE*)::LockResource(hGlobal) : NULL;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    if (pData == NULL || cbData < sizeof(BITMAPINFOHEADER))
        return NULL;
    const BITMAPINFOHEADER* pHeader = (const BITMAPINFOHEADER*)pData;
    if (pHeader->biSize < sizeof(BITMAPINFOHEADER) || pHeader->biSize > cbData || pHeader->biWidth <= 0 ||
        pHeader->biHeight == 0 || pHeader->biPlanes != 1 || pHeader->biCompression != BI_RGB)
        return NULL;
    int nBits = pHeader->biBitCount;
    if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32)
        return NULL;
    DWORD nColors = nBits <= 8 ? (pHeader->biClrUsed != 0 ? pHeader->biClrUsed : (1u << nBits)) : 0;
    if (nColors > 256)
        return NULL;
    LONG cy = pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight;
    DWORD cbStride = (((DWORD)pHeader->biWidth * (DWORD)nBits + 31) / 32) * 4;
    DWORD cbHead = pHeader->biSize + nColors * sizeof(RGBQUAD);
    if (cbHead > cbData || (cbData - cbHead) / cbStride < (DWORD)cy)
        return NULL;

    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    memcpy(info.data(), pHeader, sizeof(BITMAPINFOHEADER));
    BITMAPINFO* pInfo = (BITMAPINFO*)info.data();
    pInfo->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    memcpy(pInfo->bmiColors, pData + pHeader->biSize, nColors * sizeof(RGBQUAD));
    static const struct {
        COLORREF clrFrom;
        int nSysColor;
    } kColorMap[] = {
        {RGB(0x00, 0x00, 0x00), COLOR_BTNTEXT},
        {RGB(0x80, 0x80, 0x80), COLOR_BTNSHADOW},
        {RGB(0xC0, 0xC0, 0xC0), COLOR_BTNFACE},
        {RGB(0xFF, 0xFF, 0xFF), COLOR_BTNHIGHLIGHT},
    };
    for (DWORD i = 0; i < nColors; i++) {
        RGBQUAD& q = pInfo->bmiColors[i];
        COLORREF clr = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
        for (const auto& map : kColorMap) {
            if (clr == map.clrFrom) {
                COLORREF clrTo = ::GetSysColor(map.nSysColor);
                q.rgbRed = GetRValue(clrTo);
                q.rgbGreen = GetGValue(clrTo);
                q.rgbBlue = GetBValue(clrTo);
                break;
            }
        }
    }

    HDC hDCScreen = ::GetDC(NULL);
    HBITMAP hBitmap = ::CreateCompatibleBitmap(hDCScreen, pHeader->biWidth, cy);
    if (hBitmap != NULL) {
        HDC hDC = ::CreateCompatibleDC(hDCScreen);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        ::StretchDIBits(hDC, 0, 0, pHeader->biWidth, cy, 0, 0, pHeader->biWidth, cy, pData + cbHead, pInfo, DIB_RGB_COLORS,
                        SRCCOPY);
        ::SelectObject(hDC, hOld);
        ::DeleteDC(hDC);
    }
    ::ReleaseDC(NULL, hDCScreen);
    return hBitmap;
}

} // namespace

CToolBar::CToolBar()
    : m_sizeButton(23, 22), m_sizeImage(16, 15), m_hRsrcImageWell(NULL), m_hInstImageWell(NULL), m_hbmImageWell(NULL),
      m_bDelayedButtonLayout(TRUE)
{
    // a little more room above and below the buttons to grip the bar
    m_cyTopBorder = 3;
    m_cyBottomBorder = 3;
}

CToolBar::~CToolBar()
{
    // the control goes before the bitmap it shows
    m_bAutoDelete = FALSE;
    if (m_hWnd != NULL && CWnd::FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_hbmImageWell != NULL)
        ::DeleteObject(m_hbmImageWell);
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    return CreateEx(pParentWnd, 0, dwStyle, CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders, UINT nID)
{
    if (pParentWnd == NULL || ((dwStyle & CBRS_SIZE_FIXED) && (dwStyle & CBRS_SIZE_DYNAMIC)))
        return FALSE;
    SetBorders(&rcBorders);
    // the bar's styles stay with the object; the control gets its own
    m_dwStyle = dwStyle & CBRS_ALL;
    if (nID == AFX_IDW_TOOLBAR)
        m_dwStyle |= CBRS_HIDE_INPLACE;
    dwStyle &= ~CBRS_ALL;
    dwStyle |= CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE | dwCtrlStyle;
    AfxInitCommonControls();
    CRect rect(0, 0, 0, 0);
    if (!CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    SetSizes(m_sizeButton, m_sizeImage);
    return TRUE;
}

BOOL CToolBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!CControlBar::OnNcCreate(lpCreateStruct))
        return FALSE;
    // an owner set before the window existed gets the control's notifications
    if (m_hWndOwner != NULL)
        DefWindowProc(TB_SETPARENT, (WPARAM)m_hWndOwner, 0);
    DefWindowProc(TB_BUTTONSTRUCTSIZE, (WPARAM)sizeof(TBBUTTON), 0);
    return TRUE;
}

void CToolBar::SetOwner(CWnd* pOwnerWnd)
{
    CWnd::SetOwner(pOwnerWnd);
    if (m_hWnd != NULL)
        DefWindowProc(TB_SETPARENT, (WPARAM)pOwnerWnd->GetSafeHwnd(), 0);
}

// ---- sizes, bitmap and buttons -----------------------------------------------------------------

void CToolBar::SetSizes(SIZE sizeButton, SIZE sizeImage)
{
    // a button holds its image with three pixels on each side
    if (sizeButton.cx <= 0 || sizeButton.cy <= 0 || sizeImage.cx <= 0 || sizeImage.cy <= 0 ||
        sizeButton.cx < sizeImage.cx + 6 || sizeButton.cy < sizeImage.cy + 6)
        return;
    if (m_hWnd == NULL) {
        m_sizeButton = sizeButton;
        m_sizeImage = sizeImage;
        return;
    }
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELONG(sizeImage.cx, sizeImage.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELONG(sizeButton.cx, sizeButton.cy));
    m_bDelayedButtonLayout = TRUE;
    Invalidate();
}

LRESULT CToolBar::OnSetButtonSize(WPARAM, LPARAM lParam)
{
    LRESULT lResult = Default();
    if (lResult) {
        // the size the control took (it may keep a larger one)
        DWORD dwSize = (DWORD)DefWindowProc(TB_GETBUTTONSIZE, 0, 0);
        m_sizeButton = dwSize != 0 ? CSize(LOWORD(dwSize), HIWORD(dwSize)) : CSize(LOWORD(lParam), HIWORD(lParam));
    }
    return lResult;
}

LRESULT CToolBar::OnSetBitmapSize(WPARAM, LPARAM lParam)
{
    LRESULT lResult = Default();
    if (lResult)
        m_sizeImage = CSize(LOWORD(lParam), HIWORD(lParam));
    return lResult;
}

void CToolBar::SetHeight(int cyHeight)
{
    if (m_dwStyle & CBRS_BORDER_TOP)
        cyHeight -= afxdock::CyBorder2();
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        cyHeight -= afxdock::CyBorder2();
    // the buttons in the middle (an odd pixel above them); a height below the buttons clips them
    m_cyBottomBorder = (cyHeight - m_sizeButton.cy) / 2;
    m_cyTopBorder = cyHeight - m_sizeButton.cy - m_cyBottomBorder;
    if (m_cyTopBorder < 0) {
        m_cyBottomBorder += m_cyTopBorder;
        m_cyTopBorder = 0;
    }
    if (m_hWnd != NULL) {
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_DRAWFRAME | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
        Invalidate();
    }
}

BOOL CToolBar::LoadToolBar(LPCTSTR lpszResourceName)
{
    if (lpszResourceName == NULL || m_hWnd == NULL)
        return FALSE;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    if (hRsrc == NULL && hInst != AfxGetInstanceHandle()) {
        hInst = AfxGetInstanceHandle();
        hRsrc = ::FindResourceA(hInst, lpszResourceName, RT_TOOLBAR);
    }
    if (hRsrc == NULL)
        return FALSE;
    DWORD cbData = ::SizeofResource(hInst, hRsrc);
    HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
    const BYTE* pData = hGlobal != NULL ? (const BYTE*)::LockResource(hGlobal) : NULL;
    if (pData == NULL || cbData < sizeof(CToolBarData))
        return FALSE;
    CToolBarData header;
    memcpy(&header, pData, sizeof(header));
    // A resource of another version, with empty images or fewer ids than it counts is refused.
    if (header.wVersion != 1 || header.wWidth == 0 || header.wHeight == 0 ||
        (cbData - sizeof(CToolBarData)) / sizeof(WORD) < header.wItemCount)
        return FALSE;
    std::vector<UINT> ids(header.wItemCount);
    for (WORD i = 0; i < header.wItemCount; i++) {
        WORD wID = 0;
        memcpy(&wID, pData + sizeof(CToolBarData) + i * sizeof(WORD), sizeof(WORD));
        ids[i] = wID;
    }
    if (!SetButtons(ids.empty() ? NULL : ids.data(), (int)ids.size()))
        return FALSE;
    // the buttons are seven pixels larger than their images
    SetSizes(CSize(header.wWidth + 7, header.wHeight + 7), CSize(header.wWidth, header.wHeight));
    return LoadBitmap(lpszResourceName);
}

BOOL CToolBar::LoadBitmap(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRsrc = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_BITMAP);
    if (hRsrc == NULL && hInst != AfxGetInstanceHandle()) {
        hInst = AfxGetInstanceHandle();
        hRsrc = ::FindResourceA(hInst, lpszResourceName, (LPCSTR)RT_BITMAP);
    }
    if (hRsrc == NULL)
        return FALSE;
    HBITMAP hbm = LoadSysColorBitmap(hInst, hRsrc);
    if (hbm == NULL)
        return FALSE;
    if (!AddReplaceBitmap(hbm)) {
        ::DeleteObject(hbm);
        return FALSE;
    }
    // kept to load it again in new system colours
    m_hInstImageWell = hInst;
    m_hRsrcImageWell = hRsrc;
    return TRUE;
}

BOOL CToolBar::SetBitmap(HBITMAP hbmImageWell)
{
    m_hInstImageWell = NULL;
    m_hRsrcImageWell = NULL;
    return hbmImageWell != NULL && AddReplaceBitmap(hbmImageWell);
}

BOOL CToolBar::AddReplaceBitmap(HBITMAP hbmImageWell)
{
    if (m_hWnd == NULL)
        return FALSE;
    BITMAP bitmap;
    if (!::GetObjectA(hbmImageWell, sizeof(bitmap), &bitmap) || m_sizeImage.cx <= 0)
        return FALSE;
    int nImages = bitmap.bmWidth / m_sizeImage.cx;
    BOOL bResult;
    if (m_hbmImageWell == NULL) {
        TBADDBITMAP addBitmap;
        addBitmap.hInst = NULL; // nID is the bitmap
        addBitmap.nID = (UINT_PTR)hbmImageWell;
        bResult = DefWindowProc(TB_ADDBITMAP, (WPARAM)nImages, (LPARAM)&addBitmap) == 0;
    } else {
        TBREPLACEBITMAP replace;
        replace.hInstOld = NULL;
        replace.nIDOld = (UINT_PTR)m_hbmImageWell;
        replace.hInstNew = NULL;
        replace.nIDNew = (UINT_PTR)hbmImageWell;
        replace.nButtons = nImages;
        bResult = (BOOL)DefWindowProc(TB_REPLACEBITMAP, 0, (LPARAM)&replace);
    }
    if (bResult) {
        if (m_hbmImageWell != NULL)
            ::DeleteObject(m_hbmImageWell);
        m_hbmImageWell = hbmImageWell;
    }
    return bResult;
}

void CToolBar::OnSysColorChange()
{
    Default();
    // the image well again in the new colours
    if (m_hInstImageWell != NULL && m_hRsrcImageWell != NULL) {
        HBITMAP hbm = LoadSysColorBitmap(m_hInstImageWell, m_hRsrcImageWell);
        if (hbm != NULL && !AddReplaceBitmap(hbm))
            ::DeleteObject(hbm);
    }
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount)
{
    if (m_hWnd == NULL || nIDCount < 0)
        return FALSE;
    // the buttons there are go first
    for (int nCount = (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0); nCount > 0; nCount--)
        DefWindowProc(TB_DELETEBUTTON, 0, 0);

    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    button.iString = -1;
    int iImage = 0;
    for (int i = 0; i < nIDCount; i++) {
        button.fsState = TBSTATE_ENABLED;
        if (lpIDArray == NULL) {
            button.fsStyle = TBSTYLE_BUTTON; // a blank button
            button.idCommand = 0;
            button.iBitmap = 0;
        } else if ((button.idCommand = (int)lpIDArray[i]) == 0) {
            button.fsStyle = TBSTYLE_SEP;
            button.iBitmap = (GetStyle() & TBSTYLE_FLAT) ? kSeparatorWidthFlat : kSeparatorWidth;
        } else {
            button.fsStyle = TBSTYLE_BUTTON;
            button.iBitmap = iImage++;
        }
        if (!DefWindowProc(TB_ADDBUTTONSA, 1, (LPARAM)&button))
            return FALSE;
    }
    m_nCount = (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    m_bDelayedButtonLayout = TRUE;
    return TRUE;
}

int CToolBar::CommandToIndex(UINT nIDFind) const
{
    return (int)const_cast<CToolBar*>(this)->DefWindowProc(TB_COMMANDTOINDEX, nIDFind, 0);
}

UINT CToolBar::GetItemID(int nIndex) const
{
    TBBUTTON button;
    if (!const_cast<CToolBar*>(this)->DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return 0;
    return (UINT)button.idCommand;
}

void CToolBar::GetItemRect(int nIndex, LPRECT lpRect) const
{
    CToolBar* pThis = const_cast<CToolBar*>(this);
    // the buttons' rows are made before anybody asks where a button is
    if (m_bDelayedButtonLayout)
        pThis->Layout();
    if (!pThis->DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)lpRect))
        ::SetRectEmpty(lpRect);
}

void CToolBar::GetButton(int nIndex, TBBUTTON* pButton) const
{
    memset(pButton, 0, sizeof(*pButton));
    const_cast<CToolBar*>(this)->DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)pButton);
    // the control's enabled bit is the bar's disabled bit
    pButton->fsState ^= TBSTATE_ENABLED;
}

void CToolBar::SetButton(int nIndex, TBBUTTON* pButton)
{
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    if (!DefWindowProc(TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return;
    TBBUTTON newButton = *pButton;
    newButton.fsState ^= TBSTATE_ENABLED;
    // the fields count (the structure has padding)
    if (newButton.iBitmap == button.iBitmap && newButton.idCommand == button.idCommand && newButton.fsState == button.fsState &&
        newButton.fsStyle == button.fsStyle && newButton.dwData == button.dwData && newButton.iString == button.iString)
        return;
    // replaced without being drawn in between
    DWORD dwStyle = GetStyle();
    ModifyStyle(WS_VISIBLE, 0);
    DefWindowProc(TB_DELETEBUTTON, (WPARAM)nIndex, 0);
    DefWindowProc(TB_INSERTBUTTONA, (WPARAM)nIndex, (LPARAM)&newButton);
    ModifyStyle(0, dwStyle & WS_VISIBLE);
    if (((newButton.fsStyle ^ button.fsStyle) & TBSTYLE_SEP) || ((newButton.fsStyle & TBSTYLE_SEP) && newButton.iBitmap != button.iBitmap)) {
        Invalidate(); // a separator changes the places of the buttons after it
    } else {
        CRect rect;
        if (DefWindowProc(TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect))
            InvalidateRect(&rect);
    }
}

UINT CToolBar::GetButtonStyle(int nIndex) const
{
    if (nIndex < 0 || nIndex >= (int)const_cast<CToolBar*>(this)->DefWindowProc(TB_BUTTONCOUNT, 0, 0))
        return 0;
    TBBUTTON button;
    GetButton(nIndex, &button);
    return MAKELONG(button.fsStyle, button.fsState);
}

void CToolBar::SetButtonStyle(int nIndex, UINT nStyle)
{
    if (nIndex < 0 || nIndex >= (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0))
        return;
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (button.fsStyle == (BYTE)LOWORD(nStyle) && button.fsState == (BYTE)HIWORD(nStyle))
        return;
    button.fsStyle = (BYTE)LOWORD(nStyle);
    button.fsState = (BYTE)HIWORD(nStyle);
    SetButton(nIndex, &button);
    m_bDelayedButtonLayout = TRUE;
}

void CToolBar::GetButtonInfo(int nIndex, UINT& nID, UINT& nStyle, int& iImage) const
{
    TBBUTTON button;
    GetButton(nIndex, &button);
    nID = (UINT)button.idCommand;
    nStyle = MAKELONG(button.fsStyle, button.fsState);
    iImage = button.iBitmap;
}

void CToolBar::SetButtonInfo(int nIndex, UINT nID, UINT nStyle, int iImage)
{
    if (nIndex < 0 || nIndex >= (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0))
        return;
    TBBUTTON button;
    GetButton(nIndex, &button);
    if (button.idCommand == (int)nID && button.iBitmap == iImage && button.fsStyle == (BYTE)LOWORD(nStyle) &&
        button.fsState == (BYTE)HIWORD(nStyle))
        return;
    button.idCommand = (int)nID;
    button.iBitmap = iImage;
    button.fsStyle = (BYTE)LOWORD(nStyle);
    button.fsState = (BYTE)HIWORD(nStyle);
    SetButton(nIndex, &button);
    m_bDelayedButtonLayout = TRUE;
}

// ---- layout ------------------------------------------------------------------------------------

CSize CToolBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0));
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    // the docked shapes are fixed ones
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZDOCK) != 0);
    return CalcLayout(dwMode, nLength);
}

void CToolBar::Layout()
{
    m_bDelayedButtonLayout = FALSE;
    if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
        CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH | LM_COMMIT);
    else if (m_dwStyle & CBRS_ORIENT_HORZ)
        CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK | LM_COMMIT);
    else
        CalcDynamicLayout(0, LM_VERTDOCK | LM_COMMIT);
}

CSize CToolBar::CalcSize(TBBUTTON* pData, int nCount)
{
    CPoint cur(0, 0);
    CSize sizeResult(0, 0);
    BOOL bDrawDropDowns = (DefWindowProc(TB_GETEXTENDEDSTYLE, 0, 0) & TBSTYLE_EX_DRAWDDARROWS) != 0;
    for (int i = 0; i < nCount; i++) {
        if (pData[i].fsState & TBSTATE_HIDDEN)
            continue;
        // the gap below a wrapping separator: two thirds of its width (all of it when flat)
        int cySep = pData[i].iBitmap;
        if (!(GetStyle() & TBSTYLE_FLAT))
            cySep = cySep * 2 / 3;
        int cx = m_sizeButton.cx;
        if (pData[i].fsStyle & TBSTYLE_SEP) {
            // a separator is a width, or a height where a row ends
            if (pData[i].fsState & TBSTATE_WRAP)
                sizeResult.cy = afxdock::Max(cur.y + m_sizeButton.cy + cySep, sizeResult.cy);
            else
                sizeResult.cx = afxdock::Max(cur.x + pData[i].iBitmap, sizeResult.cx);
        } else {
            if ((pData[i].fsStyle & TBSTYLE_DROPDOWN) && bDrawDropDowns) {
                // the arrow of a drop-down button, as wide as the control makes it
                CRect rect;
                if (DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect) && rect.Width() > m_sizeButton.cx)
                    cx = rect.Width();
            }
            sizeResult.cx = afxdock::Max(cur.x + cx, sizeResult.cx);
            sizeResult.cy = afxdock::Max(cur.y + m_sizeButton.cy, sizeResult.cy);
        }
        cur.x += (pData[i].fsStyle & TBSTYLE_SEP) ? pData[i].iBitmap : cx;
        if (pData[i].fsState & TBSTATE_WRAP) {
            cur.x = 0;
            cur.y += m_sizeButton.cy;
            if (pData[i].fsStyle & TBSTYLE_SEP)
                cur.y += cySep;
        }
    }
    return sizeResult;
}

int CToolBar::WrapToolBar(TBBUTTON* pData, int nCount, int nWidth)
{
    int nWraps = 0;
    int x = 0;
    for (int i = 0; i < nCount; i++) {
        pData[i].fsState &= ~TBSTATE_WRAP;
        if (pData[i].fsState & TBSTATE_HIDDEN)
            continue;
        int dx = (pData[i].fsStyle & TBSTYLE_SEP) ? pData[i].iBitmap : m_sizeButton.cx;
        if (x + dx <= nWidth) {
            x += dx;
            continue;
        }
        // The row ends after the last visible plain separator of the row, else after the last
        // visible button before this one (never at a control in the bar); failing both, the
        // row goes on.
        int nWrap = -1;
        for (int j = i; nWrap < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); j--) {
            if ((pData[j].fsStyle & TBSTYLE_SEP) && pData[j].idCommand == 0 && !(pData[j].fsState & TBSTATE_HIDDEN))
                nWrap = j;
        }
        for (int j = i - 1; nWrap < 0 && j >= 0 && !(pData[j].fsState & TBSTATE_WRAP); j--) {
            if (!(pData[j].fsState & TBSTATE_HIDDEN) && !((pData[j].fsStyle & TBSTYLE_SEP) && pData[j].idCommand != 0))
                nWrap = j;
        }
        if (nWrap < 0) {
            x += dx;
            continue;
        }
        pData[nWrap].fsState |= TBSTATE_WRAP;
        nWraps++;
        i = nWrap; // the next row starts after it
        x = 0;
    }
    return nWraps + 1;
}

void CToolBar::SizeToolBar(TBBUTTON* pData, int nCount, int nLength, BOOL bVert)
{
    if (!bVert) {
        // as many rows as the width allows, then the narrowest width with that many rows
        int nMax = nLength;
        int nTarget = WrapToolBar(pData, nCount, nMax);
        int nMin = 0;
        int nCurrent = WrapToolBar(pData, nCount, nMin);
        if (nCurrent != nTarget) {
            while (nMin < nMax) {
                int nMid = (nMin + nMax) / 2;
                nCurrent = WrapToolBar(pData, nCount, nMid);
                if (nCurrent == nTarget) {
                    nMax = nMid;
                } else {
                    if (nMin == nMid) {
                        WrapToolBar(pData, nCount, nMax);
                        break;
                    }
                    nMin = nMid;
                }
            }
        }
        CSize size = CalcSize(pData, nCount);
        WrapToolBar(pData, nCount, size.cx);
        return;
    }
    // a height: the narrowest width whose rows fit into it
    WrapToolBar(pData, nCount, 0);
    CSize sizeMin = CalcSize(pData, nCount);
    WrapToolBar(pData, nCount, 32767);
    CSize sizeMax = CalcSize(pData, nCount);
    while (sizeMin.cx < sizeMax.cx) {
        CSize sizeMid;
        sizeMid.cx = (sizeMin.cx + sizeMax.cx) / 2;
        WrapToolBar(pData, nCount, sizeMid.cx);
        sizeMid = CalcSize(pData, nCount);
        if (nLength < sizeMid.cy) {
            if (sizeMin == sizeMid) {
                WrapToolBar(pData, nCount, sizeMax.cx);
                return;
            }
            sizeMin = sizeMid;
        } else if (nLength > sizeMid.cy) {
            if (sizeMax == sizeMid) {
                // no width between the two changes the height: the wider one fits
                WrapToolBar(pData, nCount, sizeMax.cx);
                return;
            }
            sizeMax = sizeMid;
        } else {
            return;
        }
    }
}

CSize CToolBar::CalcLayout(DWORD dwMode, int nLength)
{
    CSize sizeResult(0, 0);
    int nCount = m_hWnd != NULL ? (int)DefWindowProc(TB_BUTTONCOUNT, 0, 0) : 0;
    if (nCount > 0) {
        std::vector<TBBUTTON> buttons((size_t)nCount);
        TBBUTTON* pData = buttons.data();
        for (int i = 0; i < nCount; i++)
            GetButton(i, &pData[i]);

        if (!(m_dwStyle & CBRS_SIZE_FIXED)) {
            // the width the buttons wrap in
            BOOL bDynamic = (m_dwStyle & CBRS_SIZE_DYNAMIC) != 0;
            if (bDynamic && (dwMode & LM_MRUWIDTH)) {
                SizeToolBar(pData, nCount, (int)m_nMRUWidth);
            } else if (bDynamic && (dwMode & LM_HORZDOCK)) {
                SizeToolBar(pData, nCount, 32767);
            } else if (bDynamic && (dwMode & LM_VERTDOCK)) {
                SizeToolBar(pData, nCount, 0);
            } else if (bDynamic && nLength != -1) {
                // a length of the bar's window: the buttons get it less the borders
                CRect rect(0, 0, 0, 0);
                CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
                BOOL bVert = (dwMode & LM_LENGTHY) != 0;
                SizeToolBar(pData, nCount, nLength + (bVert ? rect.Height() : rect.Width()), bVert);
            } else if (bDynamic && (m_dwStyle & CBRS_FLOATING)) {
                SizeToolBar(pData, nCount, (int)m_nMRUWidth);
            } else {
                SizeToolBar(pData, nCount, (dwMode & LM_HORZ) ? 32767 : 0);
            }
        }
        sizeResult = CalcSize(pData, nCount);

        if (dwMode & LM_COMMIT) {
            // Controls in the bar (separators with an id and a child of that id) move with
            // their separators.
            struct ControlPos {
                int nIndex;
                UINT nID;
                CRect rectOld;
            };
            std::vector<ControlPos> controls;
            BOOL bDelayed = m_bDelayedButtonLayout;
            m_bDelayedButtonLayout = FALSE;
            for (int i = 0; i < nCount; i++) {
                if ((pData[i].fsStyle & TBSTYLE_SEP) && pData[i].idCommand != 0) {
                    ControlPos pos = {i, (UINT)pData[i].idCommand, CRect(0, 0, 0, 0)};
                    DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&pos.rectOld);
                    ClientToScreen(&pos.rectOld);
                    controls.push_back(pos);
                }
            }
            // a floating bar that changes its shape remembers its width
            if ((m_dwStyle & CBRS_FLOATING) && (m_dwStyle & CBRS_SIZE_DYNAMIC))
                m_nMRUWidth = (UINT)sizeResult.cx;
            for (int i = 0; i < nCount; i++)
                SetButton(i, &pData[i]);
            for (const ControlPos& pos : controls) {
                HWND hWndControl = ::GetDlgItem(m_hWnd, (int)pos.nID);
                if (hWndControl == NULL)
                    continue;
                CRect rectControl;
                ::GetWindowRect(hWndControl, &rectControl);
                CPoint ptOffset = rectControl.TopLeft() - pos.rectOld.TopLeft();
                CRect rectNew;
                DefWindowProc(TB_GETITEMRECT, (WPARAM)pos.nIndex, (LPARAM)&rectNew);
                CPoint pt = rectNew.TopLeft() + ptOffset;
                ::SetWindowPos(hWndControl, NULL, pt.x, pt.y, 0, 0, SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOZORDER);
            }
            m_bDelayedButtonLayout = bDelayed;
        }
    }
    // the bar's borders around the buttons, at least the bar's own stretched size
    CRect rect(0, 0, 0, 0);
    CalcInsideRect(rect, (dwMode & LM_HORZ) != 0);
    sizeResult.cy -= rect.Height();
    sizeResult.cx -= rect.Width();
    CSize size = CControlBar::CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
    sizeResult.cx = afxdock::Max(sizeResult.cx, size.cx);
    sizeResult.cy = afxdock::Max(sizeResult.cy, size.cy);
    return sizeResult;
}

void CToolBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
    // the borders are in the non-client area
    if (m_hWnd != NULL && (dwOldStyle & CBRS_BORDER_ANY) != (dwNewStyle & CBRS_BORDER_ANY))
        SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_DRAWFRAME);
    m_bDelayedButtonLayout = TRUE;
}

// ---- messages ----------------------------------------------------------------------------------

void CToolBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    // the borders and the gripper lie outside the buttons' client area
    afxdock::InsetNonClient(this, lpncsp, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
}

void CToolBar::OnNcPaint() { EraseNonClient(); }

void CToolBar::OnPaint()
{
    if (m_bDelayedButtonLayout)
        Layout();
    Default();
}

LRESULT CToolBar::OnNcHitTest(CPoint)
{
    // the gripper and the borders are "client": a press there reaches OnLButtonDown (a drag)
    return HTCLIENT;
}

void CToolBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
    // the borders need no repainting (the non-client area is painted anew)
    DWORD dwStyle = m_dwStyle;
    m_dwStyle &= ~CBRS_BORDER_ANY;
    CControlBar::OnWindowPosChanging(lpWndPos);
    m_dwStyle = dwStyle;
    // a bar that changes its shape draws its buttons anew in the new size
    if ((dwStyle & CBRS_SIZE_DYNAMIC) && !(lpWndPos->flags & SWP_NOSIZE))
        Invalidate();
}

INT_PTR CToolBar::OnToolHitTest(CPoint point, TOOLINFO* pTI) const
{
    // controls in the bar first
    INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
    if (nHit != -1)
        return nHit;
    CToolBar* pThis = const_cast<CToolBar*>(this);
    int nButtons = (int)pThis->DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < nButtons; i++) {
        CRect rect;
        TBBUTTON button;
        if (!pThis->DefWindowProc(TB_GETITEMRECT, (WPARAM)i, (LPARAM)&rect))
            continue;
        rect.bottom++;
        rect.right++;
        if (!rect.PtInRect(point) || !pThis->DefWindowProc(TB_GETBUTTON, (WPARAM)i, (LPARAM)&button) ||
            (button.fsStyle & TBSTYLE_SEP))
            continue;
        UINT nID = (UINT)button.idCommand;
        if (pTI != NULL && pTI->cbSize >= TTTOOLINFOA_V1_SIZE) {
            pTI->hwnd = m_hWnd;
            pTI->rect = rect;
            pTI->uId = nID;
            pTI->lpszText = LPSTR_TEXTCALLBACKA;
        }
        return nID != 0 ? (INT_PTR)nID : -1;
    }
    return -1;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    state.m_nIndexMax = (UINT)DefWindowProc(TB_BUTTONCOUNT, 0, 0);
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        TBBUTTON button;
        GetButton((int)state.m_nIndex, &button);
        if (button.fsStyle & TBSTYLE_SEP)
            continue;
        state.m_nID = (UINT)button.idCommand;
        // the bar's own update handlers (reflected, then by id) before the frame's
        if (CWnd::OnCmdMsg(0, MAKELONG(0xFFFF, WM_COMMAND + WM_REFLECT_BASE), &state, NULL))
            continue;
        if (CWnd::OnCmdMsg(state.m_nID, (int)CN_UPDATE_COMMAND_UI, &state, NULL))
            continue;
        state.DoUpdate(pTarget, bDisableIfNoHndler);
    }
    // controls in the bar
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}
