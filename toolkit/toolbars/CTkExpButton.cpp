#include "CTkExpButton.h"

#include "CTkControlBar.h"
#include "CTkGlobalData.h"
#include "CTkToolBar.h"

const BYTE CTkExpButton::kHiddenHorz[5] = {0x33, 0x99, 0xCC, 0x99, 0x33};
const BYTE CTkExpButton::kHiddenVert[8] = {0xEE, 0xE4, 0xF1, 0xFB, 0xEE, 0xE4, 0xF1, 0xFB};

namespace {

// The customize triangles: pointing down (5 x 3) and left (3 x 5), rows left bit first.
const BYTE kCustomizeHorz[3] = {0x00, 0x88, 0xD8};
const BYTE kCustomizeVert[5] = {0xC0, 0x80, 0x00, 0x80, 0xC0};

// Draws the 0 bits of a glyph of cx x cy pixels at (x, y).
void DrawGlyph(CDC* pDC, const BYTE* pRows, int cx, int cy, int x, int y, COLORREF clr)
{
    for (int row = 0; row < cy; row++) {
        for (int col = 0; col < cx; col++) {
            if (!(pRows[row] & (0x80 >> col)))
                pDC->SetPixel(x + col, y + row, clr);
        }
    }
}

} // namespace

IMPLEMENT_DYNAMIC(CTkExpButton, CButton)

BEGIN_MESSAGE_MAP(CTkExpButton, CButton)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTkExpButton::CTkExpButton() : m_pToolBar(NULL), m_pPopup(NULL) {}

CTkExpButton::~CTkExpButton() {}

BOOL CTkExpButton::CreateFor(CTkToolBar* pToolBar)
{
    m_pToolBar = pToolBar;
    return Create(NULL, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_FLAT | BS_OWNERDRAW, CRect(0, 0, 0, 0),
                  pToolBar, TK_ID_CUSTOMIZE);
}

COLORREF CTkExpButton::GetColorFace() const
{
    return m_pToolBar != NULL ? m_pToolBar->GetBackgroundColor() : tkAfxData.clr3DFace;
}

BOOL CTkExpButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CTkExpButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rect(lpDIS->rcItem);
    UINT nState = lpDIS->itemState;
    if (m_pPopup != NULL)
        nState |= ODS_SELECTED;
    pDC->FillSolidRect(&rect, GetColorFace());
    if (nState & ODS_SELECTED) {
        if (tkAfxData.bFlatLook)
            pDC->Draw3dRect(&rect, tkAfxData.clrToolkit[43 - 30], tkAfxData.clrToolkit[43 - 30]);
        else
            pDC->Draw3dRect(&rect, tkAfxData.clr3DShadow, tkAfxData.clr3DHilight);
    }
    DrawButtonBitmap(pDC, (nState & ODS_SELECTED) ? 1 : 0, rect);
}

void CTkExpButton::DrawButtonBitmap(CDC* pDC, UINT nState, CRect rect)
{
    if (m_pToolBar == NULL)
        return;
    BOOL bHorz = m_pToolBar->IsLayoutHorizontal();
    int nShift = ((nState & 1) && !tkAfxData.bFlatLook) ? 1 : 0;
    BOOL bDisabled = !IsWindowEnabled();
    COLORREF clr = bDisabled ? tkAfxData.clr3DShadow : tkAfxData.clrBtnText;
    if (m_pToolBar->HasHiddenButtons()) {
        if (bHorz)
            DrawGlyph(pDC, kHiddenHorz, 8, 5, rect.left + (rect.Width() - 8) / 2 + nShift, rect.top + 2 + nShift, clr);
        else
            DrawGlyph(pDC, kHiddenVert, 8, 8, rect.right - 2 - 8 + nShift, rect.top + (rect.Height() - 8) / 2 + nShift,
                      clr);
    }
    if (m_pToolBar->IsCustomizable()) {
        if (bHorz)
            DrawGlyph(pDC, kCustomizeHorz, 5, 3, rect.left + (rect.Width() - 5) / 2 + nShift,
                      rect.bottom - 2 - 3 + nShift, clr);
        else
            DrawGlyph(pDC, kCustomizeVert, 3, 5, rect.left + 2 + nShift, rect.top + (rect.Height() - 5) / 2 + nShift,
                      clr);
    }
}
