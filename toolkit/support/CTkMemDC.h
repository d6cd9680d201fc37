// A memory device context for painting without flicker: drawing goes to a bitmap that stands
// for a rectangle of the target ((0,0) is the rectangle's top-left corner); the destructor copies
// it to the target.
#pragma once

#include <afxwin.h>

class CTkMemDC : public CDC {
    DECLARE_DYNAMIC(CTkMemDC)
public:
    // An empty rect stands for the target's clip box. clrFill (unless 0xFFFFFFFF) fills the
    // bitmap; without it the caller paints all of it.
    CTkMemDC(CDC* pDC, const CRect& rect, COLORREF clrFill = (COLORREF)-1);
    ~CTkMemDC() override;

    BOOL IsValid() const { return m_bValid; }

    CDC* m_pDC;
    BOOL m_bValid;
    CRect m_rect;
    CBitmap m_bitmap;
    HBITMAP m_hOldBitmap;
};
