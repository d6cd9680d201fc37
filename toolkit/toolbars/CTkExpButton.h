// The chevron at the end of a toolbar whose buttons do not all fit: an owner-drawn flat button
// (id 53782) that the toolbar's layout sizes and places. It draws two chevrons pointing along the
// bar when the toolbar hides buttons, and a small triangle when the toolbar is customizable.
#pragma once

#include <afxwin.h>

class CTkToolBar;

class CTkExpButton : public CButton {
    DECLARE_DYNAMIC(CTkExpButton)
public:
    CTkExpButton();
    ~CTkExpButton() override;

    // A child of the toolbar with no text, style 0x4600800B, an empty rectangle, id 53782.
    BOOL CreateFor(CTkToolBar* pToolBar);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    virtual COLORREF GetColorFace() const;
    // Draws the glyphs into rect (state: ODS_ bits; bit 1 pressed).
    virtual void DrawButtonBitmap(CDC* pDC, UINT nState, CRect rect);

    // The glyphs as monochrome rows (8 pixels a row, left bit first; 0 bits draw).
    static const BYTE kHiddenHorz[5];
    static const BYTE kHiddenVert[8];

    CTkToolBar* m_pToolBar;
    CWnd* m_pPopup; // the hidden-buttons popup arrives with its class

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()
};
