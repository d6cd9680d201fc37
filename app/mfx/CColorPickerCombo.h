// An owner-drawn combo box of 65 fixed colours (and, when asked for, a 66th "Auto" entry holding
// the window-text colour). Subclassing the dialog's control (whose template gives it the
// owner-drawn style) fills the list and selects the first colour.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>
#include <afxcoll.h>

class CColorPickerCombo : public CComboBox {
public:
    explicit CColorPickerCombo(BOOL bWithAuto = FALSE);
    virtual ~CColorPickerCombo();

    enum { kFixedColors = 65 };
    // The fixed colours in list order.
    static const COLORREF s_fixedColors[kFixedColors];

    // Selects the first entry of that colour and answers its index; when none has it, answers
    // the number of entries and leaves the selection as it is.
    int SelectColor(COLORREF cr);
    // The colour of the selected entry; CLR_INVALID when nothing is selected.
    COLORREF GetSelectedColor() const;
    int GetAutoIndex() const { return m_nAutoIndex; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

protected:
    virtual void PreSubclassWindow();

    CDWordArray m_colors;
    int m_nAutoIndex;
    BOOL m_bWithAuto;
};
