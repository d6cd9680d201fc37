// "vlmrbutton1132": a push button. A plain caption gives a superclass of the system button with
// all its behaviour. A caption of the picture form (ButtonCaption.h) gives a flat picture button
// of the library: the picture of its control id, the tooltip text of the caption, the mnemonic
// through the dialog manager (the window text keeps the "&"), BN_CLICKED to the parent on a click,
// the space key or BM_CLICK, BM_SETSTATE/BM_GETSTATE (drawn pushed), greyed when disabled, raised
// while the mouse is over it. Its background is the parent's answer to CTL_CTLCOLOR_BTN, else the
// library's colour.
#pragma once

#include <windows.h>

bool RegisterVlmrButton(HINSTANCE instance);
