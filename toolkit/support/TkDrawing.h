// Small drawing helpers that several toolkit classes share.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>

// Draws image nIndex of the list in the disabled look: the image's shape in the highlight colour
// one pixel down and right, and in the shadow colour at pt. bInColor: the shape is taken from a
// colour copy of the image (else a monochrome one).
void TkDrawEmbossed(CDC* pDC, CImageList* pImageList, int nIndex, CPoint pt, BOOL bInColor);

// Fills the rectangle with the checker pattern of a checked button in the classic look (face and
// highlight colours).
void TkFillDitherRect(CDC* pDC, LPCRECT lpRect);

// Removes every single '&' of the text; "&&" stays as it is.
void TkStripMnemonics(CString& strText);
