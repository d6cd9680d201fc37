// An owner-drawn combo box of user and resource names, each with a swatch of its colour from the
// settings' user-colour map (CAppSettings::m_userColors, handed over by the owner). A name
// without a colour is added to the map with colour 0 (black). The entry " < Alle Benutzer >"
// (string 6402 of the schedule data's texts) has no swatch, and neither has the selection field
// while nothing is selected.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

typedef CMap<CString, LPCTSTR, COLORREF, COLORREF> CMfxUserColorMap;

class CUserColorCombo : public CComboBox {
public:
    CUserColorCombo();
    virtual ~CUserColorCombo();

    enum { kAllUsersStringId = 6402 };

    // The map the swatches come from; without one the swatches are black and nothing is added.
    void SetUserColorMap(CMfxUserColorMap* pMap) { m_pUserColors = pMap; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

private:
    CMfxUserColorMap* m_pUserColors;
};
