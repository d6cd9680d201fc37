// The flat look's painter of the customization's owner-drawn command lists: a pale item area, an
// icon column in the menus' colour, the selected item framed, each command's picture raised when
// selected and an arrow at items without a command (categories).
#pragma once

#include "CTkPainters.h"

class CTkFlatPainters;

class CTkFlatListPainter : public CTkListPainter {
public:
    explicit CTkFlatListPainter(CTkFlatPainters* pOwner) : m_pOwner(pOwner) {}

    void DrawItem(LPDRAWITEMSTRUCT lpDIS, CListBox* pList, int cxIconColumn) override;
    void Paint(CListBox* pList, int cxIconColumn) override;

    CTkFlatPainters* m_pOwner;
};
