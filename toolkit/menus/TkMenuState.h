// The menu state the menu bar, the cool menus, the popup painter, the toolbars' drop-down buttons
// and the colour popup share. User-interface thread only; not locked.
#pragma once

#include <windows.h>

struct TK_MENUSTATE {
    BYTE bShowMnemonics;      // underline mnemonics even when the system hides keyboard cues
    BYTE bFullMenusRequested; // the last command a menu bar's frame saw was "show full menus"
    BYTE bExpandMenus;        // popups opened now show their rarely used items
    BYTE bPopupActive;        // a CTkPopupMenu object exists
    BYTE bExpandItemSelected; // the expand item of the open popup is highlighted
    int nSkipInitMenuPopup;   // coming WM_INITMENUPOPUP messages the cool menus pass on untouched
    RECT rcTrackButton;       // screen rectangle of the button whose popup is opening
    DWORD nTrackButtonSide;   // CBRS_ALIGN_* side of that button's bar; 0 without a button
    BYTE bOutsideMenuBarLoop; // 0 while a menu bar's popup loop runs
    BYTE bMouseSelection;     // the last change of the highlighted item came from the mouse
    BYTE bCoolMenusEnabled;   // set by the first cool menu installed
    BYTE bOldWindows;         // Windows 95 or NT 4.0
    int cxPopupBorder;        // popup frame the image column accounts for; -1 until a popup opens
    int cyPopupBorder;
};

extern TK_MENUSTATE tkMenuState;
