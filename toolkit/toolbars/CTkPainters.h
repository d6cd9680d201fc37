// Painter sets: the objects that draw toolbar buttons and owner-drawn command lists in the flat
// look. TkGetPainters gives the flat set while the flat look is on, else the plain set, whose
// painters are all missing so that every class draws in its own way. The frame and combo painters
// of a set are never asked for; both sets answer NULL for them.
#pragma once

#include <afxwin.h>

class CTkToolBar;

// Draws the buttons of a toolbar with TBSTYLE_FLAT (indexes are button indexes of the control).
class CTkToolBarButtonPainter {
public:
    virtual ~CTkToolBarButtonPainter() {}
    virtual void EraseSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex) = 0;
    // TRUE: the button is drawn and the control draws nothing of it.
    virtual BOOL DrawButton(CDC* pDC, CTkToolBar* pBar, int nIndex) = 0;
    virtual void DrawSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex) = 0;
    virtual void OnDropDownClosed(CDC* pDC, CTkToolBar* pBar, int nIndex) = 0;
    virtual void InvalidateButton(CTkToolBar* pBar, int nIndex) = 0;
};

// Draws the owner-drawn command lists of the customization (cxIconColumn: the list's icon column).
class CTkListPainter {
public:
    virtual ~CTkListPainter() {}
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS, CListBox* pList, int cxIconColumn) = 0;
    virtual void Paint(CListBox* pList, int cxIconColumn) = 0;
};

// The plain set (every painter missing); the flat set derives from it.
class CTkPainters {
public:
    virtual ~CTkPainters() {}
    virtual void* GetFramePainter() { return NULL; }
    virtual void* GetComboPainter() { return NULL; }
    virtual CTkToolBarButtonPainter* GetToolBarButtonPainter() { return NULL; }
    virtual CTkListPainter* GetListPainter() { return NULL; }
    virtual void SetCustomizing(BOOL) {}
};

// The flat set while tkAfxData.bFlatLook is on, else the plain set.
CTkPainters* TkGetPainters();
