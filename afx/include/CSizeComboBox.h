// A combo box of font sizes in points for one face: FillSizes puts in the real sizes of a raster
// face, else the 15 usual sizes of a scalable one (8 to 48). Each entry keeps the font height
// of its size on the screen (a negative LOGFONT height: the character height without internal
// leading, in pixels), so that a size can be given back in twips (points x 20).
#pragma once

#include "CComboBox.h"

class CDC;

class CSizeComboBox : public CComboBox {
    DECLARE_DYNAMIC(CSizeComboBox)
public:
    CSizeComboBox();

    // Empties the box and adds the sizes of the face on pDC (NULL: the screen); answers the
    // number of entries.
    int FillSizes(LPCTSTR lpszFaceName, CDC* pDC = NULL);
    // Adds the size in points (kept in ascending order, each once); the entry's index.
    int InsertSize(int nPointSize);
    // The font height kept with entry nIndex (0 for none), and its size in twips (-1 for none).
    int GetHeight(int nIndex) const;
    int GetTwips(int nIndex) const;
    // Selects the entry whose size is nTwips; its index, or CB_ERR with no entry selected and
    // the size shown as text in the edit field (in points, "10,5" for half points).
    int SelectTwips(int nTwips);

    // The screen's pixels per inch (vertical), which heights and twips are converted with.
    int m_nLogPixelsY;

    // "12", "10,5": a size in twips as the text of points (German decimal comma).
    static CString PASCAL TwipsToPointString(int nTwips);
};
