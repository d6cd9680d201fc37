// A combo box of font faces: FillFonts puts in every font family of a device (the screen by
// default) with its font type, charset and pitch kept per entry (GetFontDesc), so that a
// format bar can read back what to set. An owner-drawn box (CBS_OWNERDRAWFIXED |
// CBS_HASSTRINGS) marks the TrueType faces in front of their names. The entries' data belong to
// the box: they are freed when the entries go (DeleteItem) and when the window goes.
#pragma once

#include "CComboBox.h"

class CDC;

// What an entry of a CFontComboBox keeps of its face.
struct CFontDesc {
    CString m_strName;
    BYTE m_nCharSet;
    BYTE m_nPitchAndFamily;
    DWORD m_dwFontType; // RASTER_FONTTYPE, DEVICE_FONTTYPE, TRUETYPE_FONTTYPE
};

class CFontComboBox : public CComboBox {
    DECLARE_DYNAMIC(CFontComboBox)
public:
    CFontComboBox();
    virtual ~CFontComboBox();

    // Empties the box and adds the font families of pDC (NULL: the screen), each once, without
    // the vertical faces ("@..."); answers the number of entries.
    int FillFonts(CDC* pDC = NULL);
    // Adds (or, for a face the box has, keeps) the face of lf with its type; the entry's index.
    int AddFont(const LOGFONTA& lf, DWORD dwFontType);
    // The data of entry nIndex, or NULL.
    const CFontDesc* GetFontDesc(int nIndex) const;
    // Selects the entry of the face (case does not matter); its index, or CB_ERR (the selection
    // is then left alone).
    int SelectFont(LPCTSTR lpszFaceName);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
    virtual void DeleteItem(LPDELETEITEMSTRUCT lpDeleteItemStruct);

protected:
    // Frees the data of every entry and clears them (nothing is freed twice).
    void FreeAllItemData();
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
