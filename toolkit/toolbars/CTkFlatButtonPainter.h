// The flat look's toolbar-button painter. What a button looks like is decided by two pure
// functions over what the painter reads from the bar and the mouse (TkFlatButtonState and
// TkFlatButtonLook); DrawButton reads those facts, asks them and paints.
#pragma once

#include "CTkPainters.h"

class CTkFlatPainters;

// Drawing states of a button.
enum {
    TKBTN_PRESSED = 0,
    TKBTN_HOT = 1,
    TKBTN_OPEN = 2, // its drop-down is open
    TKBTN_NORMAL = 3
};

// Colours of a look: an index of the toolkit colour table (30..52) or one of these.
#define TKLOOK_BACKGROUND (-1) // the bar's background colour
#define TKLOOK_FACE (-2)       // clr3DFace
#define TKLOOK_FACELIGHT (-3)  // clr3DFaceLight

// Which picture of the command is drawn.
enum {
    TKICON_NONE = 0,     // the command has no picture
    TKICON_DISABLED = 1, // its disabled icon
    TKICON_MONO = 2,     // the normal icon in one colour (no disabled icon)
    TKICON_NORMAL = 3,
    TKICON_RAISED = 4,   // the shadow icon at +1,+1 under the normal icon at -1,-1
    TKICON_FADED = 5
};

// What the painter knows about a button when it draws it.
struct TK_FLAT_BUTTON_FACTS {
    BYTE fsState;           // the control's state bits (TBSTATE_ENABLED set = enabled)
    BOOL bHotItem;          // the control's hot item
    BOOL bBarDropDownOpen;  // a drop-down of the bar is open
    BOOL bMouseOverBar;     // the cursor is over the bar's window and nobody holds the capture
    int nUnderCursor;       // -1 no button under the cursor, 0 this one, 1 another one
    BOOL bLButtonDown;
    BOOL bCustomizing;
    BOOL bInPressedList;    // its drop-down is open
    BOOL bHasIcon;          // the image manager has a record for the command
    BOOL bHasDisabledIcon;
    BOOL bFullColorIcons;
};

struct TK_FLAT_BUTTON_LOOK {
    int nState;
    int nFill;
    int nText;
    int nBorder;
    BOOL bBorder;
    int nIcon;
};

int TkFlatButtonState(const TK_FLAT_BUTTON_FACTS& facts);
TK_FLAT_BUTTON_LOOK TkFlatButtonLook(const TK_FLAT_BUTTON_FACTS& facts);
// The colour of a look's colour value for a bar with the background clrBackground.
COLORREF TkFlatLookColor(int nColor, COLORREF clrBackground);

class CTkFlatButtonPainter : public CTkToolBarButtonPainter {
public:
    explicit CTkFlatButtonPainter(CTkFlatPainters* pOwner) : m_pOwner(pOwner) {}

    void EraseSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex) override;
    BOOL DrawButton(CDC* pDC, CTkToolBar* pBar, int nIndex) override;
    void DrawSeparator(CDC* pDC, CTkToolBar* pBar, int nIndex) override;
    void OnDropDownClosed(CDC*, CTkToolBar*, int) override {}
    void InvalidateButton(CTkToolBar* pBar, int nIndex) override;

    // The facts DrawButton decides by, read from the bar, the control and the mouse.
    TK_FLAT_BUTTON_FACTS ReadFacts(CTkToolBar* pBar, int nIndex, const TBBUTTON& button);

    CTkFlatPainters* m_pOwner;
};
