#include "CTkFlatButtonPainter.h"

#include "CTkFlatPainters.h"
#include "CTkGlobalData.h"
#include "CTkImageManager.h"
#include "CTkToolBar.h"

namespace {

const int kArrowPart = 14;       // the rightmost pixels of a drop-down button hold its arrow
const BYTE kWholeDropDown = 0x80; // the whole button opens the drop-down

COLORREF Toolkit(int nIndex) { return tkAfxData.clrToolkit[nIndex - 30]; }

struct DrawTextData {
    LPCSTR pszText;
    UINT nFlags;
};

BOOL CALLBACK DrawTextOutput(HDC hDC, LPARAM lData, WPARAM, int cx, int cy)
{
    const DrawTextData* pData = (const DrawTextData*)lData;
    RECT rect = {0, 0, cx, cy};
    ::DrawTextA(hDC, pData->pszText, -1, &rect, pData->nFlags);
    return TRUE;
}

// A down arrow of 5, 3 and 1 pixels with its top-left corner at (x, y).
void DrawDownArrow(CDC* pDC, int x, int y, COLORREF clr)
{
    for (int i = 0; i < 3; i++)
        pDC->FillSolidRect(x + i, y + i, 5 - 2 * i, 1, clr);
}

} // namespace

int TkFlatButtonState(const TK_FLAT_BUTTON_FACTS& facts)
{
    int nState = TKBTN_NORMAL;
    if (facts.fsState & TBSTATE_PRESSED)
        nState = TKBTN_PRESSED;
    else if (facts.bHotItem && !facts.bBarDropDownOpen)
        nState = TKBTN_HOT;
    if (facts.bMouseOverBar) {
        if (facts.nUnderCursor == 0 && facts.bLButtonDown && !facts.bCustomizing)
            nState = TKBTN_PRESSED;
        else if (facts.nUnderCursor == 1 && nState == TKBTN_HOT)
            nState = TKBTN_NORMAL;
    }
    if (facts.bInPressedList)
        nState = TKBTN_OPEN;
    return nState;
}

TK_FLAT_BUTTON_LOOK TkFlatButtonLook(const TK_FLAT_BUTTON_FACTS& facts)
{
    TK_FLAT_BUTTON_LOOK look;
    look.nState = TkFlatButtonState(facts);
    look.nFill = TKLOOK_BACKGROUND;
    look.nText = 46;
    look.nBorder = 32;
    look.bBorder = FALSE;
    const BOOL bEnabled = (facts.fsState & TBSTATE_ENABLED) != 0;
    const BOOL bPressedOrHot = look.nState == TKBTN_PRESSED || look.nState == TKBTN_HOT;
    if (facts.fsState & TBSTATE_CHECKED) {
        look.bBorder = TRUE;
        if (!bEnabled) {
            look.nFill = TKLOOK_FACE;
            look.nBorder = 43;
        } else {
            look.nBorder = 37;
            if (bPressedOrHot) {
                look.nFill = 33;
                look.nText = 45;
            } else {
                look.nFill = 36;
            }
        }
    } else if (facts.fsState & TBSTATE_INDETERMINATE) {
        if (!bEnabled) {
            look.nFill = TKLOOK_FACELIGHT;
        } else if (look.nState == TKBTN_PRESSED) {
            look.nFill = 33;
            look.nText = 45;
        } else if (look.nState == TKBTN_HOT) {
            look.nFill = 31;
        }
    } else if (bEnabled) {
        if (look.nState == TKBTN_PRESSED) {
            look.nFill = 33;
            look.nText = 47;
            look.bBorder = TRUE;
        } else if (look.nState == TKBTN_HOT) {
            look.nFill = 31;
            look.nText = 45;
            look.bBorder = TRUE;
        }
    }

    if (!facts.bHasIcon)
        look.nIcon = TKICON_NONE;
    else if (!bEnabled)
        look.nIcon = facts.bHasDisabledIcon ? TKICON_DISABLED : TKICON_MONO;
    else if (look.nState == TKBTN_PRESSED || (facts.fsState & TBSTATE_CHECKED))
        look.nIcon = TKICON_NORMAL;
    else if (look.nState == TKBTN_HOT)
        look.nIcon = TKICON_RAISED;
    else
        look.nIcon = facts.bFullColorIcons ? TKICON_NORMAL : TKICON_FADED;
    return look;
}

COLORREF TkFlatLookColor(int nColor, COLORREF clrBackground)
{
    switch (nColor) {
    case TKLOOK_BACKGROUND:
        return clrBackground;
    case TKLOOK_FACE:
        return tkAfxData.clr3DFace;
    case TKLOOK_FACELIGHT:
        return tkAfxData.clr3DFaceLight;
    default:
        return Toolkit(nColor);
    }
}

TK_FLAT_BUTTON_FACTS CTkFlatButtonPainter::ReadFacts(CTkToolBar* pBar, int nIndex, const TBBUTTON& button)
{
    TK_FLAT_BUTTON_FACTS facts;
    memset(&facts, 0, sizeof(facts));
    facts.fsState = button.fsState;
    facts.bHotItem = (int)::SendMessage(pBar->m_hWnd, TB_GETHOTITEM, 0, 0) == nIndex;
    facts.bBarDropDownOpen = pBar->HasPressedDropButtons();
    facts.nUnderCursor = -1;
    CPoint pt;
    ::GetCursorPos(&pt);
    if (::WindowFromPoint(pt) == pBar->m_hWnd && ::GetCapture() == NULL) {
        facts.bMouseOverBar = TRUE;
        pBar->ScreenToClient(&pt);
        int nHit = (int)::SendMessage(pBar->m_hWnd, TB_HITTEST, 0, (LPARAM)&pt);
        if (nHit >= 0)
            facts.nUnderCursor = nHit == nIndex ? 0 : 1;
        facts.bLButtonDown = (::GetKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
    }
    facts.bCustomizing = m_pOwner != NULL && m_pOwner->IsCustomizing();
    facts.bInPressedList = pBar->IsDropButtonPressed(nIndex);
    CTkIconRecord* pRecord = TkGetImageManager().Lookup((UINT)button.idCommand, TRUE);
    facts.bHasIcon = pRecord != NULL && pRecord->hNormal != NULL;
    facts.bHasDisabledIcon = pRecord != NULL && pRecord->hDisabled != NULL;
    facts.bFullColorIcons = tkAfxData.bFullColorIcons;
    return facts;
}

BOOL CTkFlatButtonPainter::DrawButton(CDC* pDC, CTkToolBar* pBar, int nIndex)
{
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    if (!::SendMessage(pBar->m_hWnd, TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return FALSE;
    CRect rect;
    if (!::SendMessage(pBar->m_hWnd, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect))
        return FALSE;

    CFont* pFont = pBar->GetFont();
    CFont* pOldFont = pFont != NULL ? pDC->SelectObject(pFont) : NULL;
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF clrOldText = pDC->GetTextColor();
    COLORREF clrOldBk = pDC->GetBkColor();

    const TK_FLAT_BUTTON_FACTS facts = ReadFacts(pBar, nIndex, button);
    const TK_FLAT_BUTTON_LOOK look = TkFlatButtonLook(facts);
    const COLORREF clrBackground = pBar->GetBackgroundColor();
    const COLORREF clrFill = TkFlatLookColor(look.nFill, clrBackground);
    const COLORREF clrText = Toolkit(look.nText);
    const COLORREF clrBorder = TkFlatLookColor(look.nBorder, clrBackground);
    const BOOL bEnabled = (button.fsState & TBSTATE_ENABLED) != 0;

    pDC->FillSolidRect(&rect, clrFill);

    const DWORD dwExStyle = (DWORD)::SendMessage(pBar->m_hWnd, TB_GETEXTENDEDSTYLE, 0, 0);
    const BOOL bArrow = (dwExStyle & TBSTYLE_EX_DRAWDDARROWS) && (button.fsStyle & TBSTYLE_DROPDOWN);
    const BOOL bSeparateArrow = bArrow && !(button.fsStyle & kWholeDropDown);
    CRect rectArrow(rect.right - kArrowPart, rect.top, rect.right, rect.bottom);

    if (look.nState == TKBTN_OPEN) {
        pDC->Draw3dRect(&rect, Toolkit(43), Toolkit(43));
    } else if (look.bBorder) {
        pDC->Draw3dRect(&rect, clrBorder, clrBorder);
        if (bSeparateArrow)
            pDC->Draw3dRect(&rectArrow, clrBorder, clrBorder);
    }

    // the colour bar of a colour drop-down
    TK_DROPDOWN* pDrop = pBar->FindDropDownButton((UINT)button.idCommand);
    if (pDrop != NULL && pDrop->bColorBar && pDrop->bColorPopup) {
        CRect rectColor(rect.left + 4, rect.bottom - 7, rect.left + pBar->m_sizeButton.cx - 4, rect.bottom - 4);
        pDC->FillSolidRect(&rectColor, bEnabled ? (COLORREF)pDrop->clrCurrent : Toolkit(41));
        pDC->ExcludeClipRect(&rectColor);
    }

    pDC->SetTextColor(clrText);
    pDC->SetBkColor(clrFill);

    const CSize sizeImage = pBar->m_sizeImage;
    const BOOL bList = (pBar->GetStyle() & TBSTYLE_LIST) != 0;
    if (bArrow) {
        CRect rectPart = rectArrow;
        if (!bSeparateArrow && !bList) {
            rectPart.left -= 10;
            rectPart.bottom = rectPart.top + sizeImage.cy + 3;
        }
        DrawDownArrow(pDC, (rectPart.left + rectPart.right - 3) / 2, (rectPart.top + rectPart.bottom - 1) / 2, clrText);
    }

    // the image's place, and the text
    CPoint ptImage;
    CString strText = pBar->GetButtonText(nIndex);
    if (bList) {
        ptImage = CPoint(rect.left + (pBar->m_sizeButton.cx - sizeImage.cx) / 2 + 2, rect.top + (rect.Height() - sizeImage.cy) / 2);
    } else {
        ptImage = CPoint(rect.left + (rect.Width() - sizeImage.cx - (bArrow ? kArrowPart : 0)) / 2 - 1, rect.top + 3);
    }
    if (!strText.IsEmpty()) {
        CRect rectText;
        UINT nFlags;
        if (bList) {
            if (button.iBitmap == -2) {
                rectText = CRect(rect.left + 2, rect.top + 1, rect.right, rect.top + 1 + rect.Height() - 2);
                nFlags = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
            } else {
                rectText = CRect(ptImage.x + sizeImage.cx + 3, rect.top + 1, rect.right, rect.top + 1 + rect.Height() - 2);
                nFlags = DT_SINGLELINE | DT_VCENTER;
            }
            if (bArrow)
                rectText.right -= bSeparateArrow ? 17 : 7;
        } else {
            int cx = rect.Width() - (bSeparateArrow ? 20 : 6);
            rectText = CRect(CPoint(rect.left + 3, rect.top + sizeImage.cy + 5), CSize(cx, sizeImage.cy));
            nFlags = DT_CENTER;
        }
        nFlags = (nFlags & ~pBar->m_dwDrawTextMask) | (pBar->m_dwDrawTextFlags & pBar->m_dwDrawTextMask);
        DrawTextData data = {(LPCSTR)strText, nFlags};
        CBrush brush(Toolkit(41));
        ::DrawStateA(pDC->m_hDC, bEnabled ? NULL : (HBRUSH)brush.m_hObject, &DrawTextOutput, (LPARAM)&data, 0, rectText.left,
                     rectText.top, rectText.Width(), rectText.Height(), DST_COMPLEX | (bEnabled ? 0 : DSS_MONO));
    }

    // the picture
    CTkIconRecord* pRecord = TkGetImageManager().Lookup((UINT)button.idCommand, TRUE);
    const int x = ptImage.x + 1, y = ptImage.y + 1;
    const int cx = sizeImage.cx, cy = sizeImage.cy;
    switch (look.nIcon) {
    case TKICON_DISABLED:
        ::DrawIconEx(pDC->m_hDC, x, y, pRecord->hDisabled, cx, cy, 0, NULL, DI_NORMAL);
        break;
    case TKICON_MONO: {
        CBrush brush(Toolkit(41));
        ::DrawStateA(pDC->m_hDC, (HBRUSH)brush.m_hObject, NULL, (LPARAM)pRecord->hNormal, 0, x, y, cx, cy, DST_ICON | DSS_MONO);
        break;
    }
    case TKICON_NORMAL:
        ::DrawIconEx(pDC->m_hDC, x, y, pRecord->hNormal, cx, cy, 0, NULL, DI_NORMAL);
        break;
    case TKICON_RAISED:
        if (pRecord->hShadow != NULL)
            ::DrawIconEx(pDC->m_hDC, x + 1, y + 1, pRecord->hShadow, cx, cy, 0, NULL, DI_NORMAL);
        ::DrawIconEx(pDC->m_hDC, x - 1, y - 1, pRecord->hNormal, cx, cy, 0, NULL, DI_NORMAL);
        break;
    case TKICON_FADED:
        ::DrawIconEx(pDC->m_hDC, x, y, pRecord->hFaded != NULL ? pRecord->hFaded : pRecord->hNormal, cx, cy, 0, NULL, DI_NORMAL);
        break;
    default:
        break;
    }

    pDC->SetTextColor(clrOldText);
    pDC->SetBkColor(clrOldBk);
    pDC->SetBkMode(nOldMode);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    return TRUE;
}

void CTkFlatButtonPainter::EraseSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex)
{
    CRect rect;
    if (::SendMessage(pBar->m_hWnd, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect))
        pDC->FillSolidRect(&rect, pBar->GetBackgroundColor());
}

void CTkFlatButtonPainter::DrawSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex)
{
    CRect rect;
    TBBUTTON button;
    memset(&button, 0, sizeof(button));
    if (!::SendMessage(pBar->m_hWnd, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect) ||
        !::SendMessage(pBar->m_hWnd, TB_GETBUTTON, (WPARAM)nIndex, (LPARAM)&button))
        return;
    pDC->FillSolidRect(&rect, pBar->GetBackgroundColor());
    const COLORREF clrLine = Toolkit(39);
    if (button.fsState & TBSTATE_WRAP) {
        CRect rectClient;
        pBar->GetClientRect(&rectClient);
        int y = (rect.bottom - rect.Width() + rect.bottom) / 2 - 1;
        pDC->FillSolidRect(rect.left, y, rectClient.right - rect.left, 1, clrLine);
    } else {
        pDC->FillSolidRect(rect.left + 3, rect.top + 2, 1, rect.Height() - 4, clrLine);
    }
}

void CTkFlatButtonPainter::InvalidateButton(CTkToolBar* pBar, int nIndex)
{
    CRect rect;
    if (::SendMessage(pBar->m_hWnd, TB_GETITEMRECT, (WPARAM)nIndex, (LPARAM)&rect)) {
        rect.right += 4;
        rect.bottom += 4;
        pBar->InvalidateRect(&rect, FALSE);
    }
}
