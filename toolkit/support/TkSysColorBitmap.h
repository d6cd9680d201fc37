// Loading toolbar bitmaps with their standard grey shades in the current system colours.
#pragma once

#include <windows.h>

// Loads the bitmap resource and replaces black, 0x808080, 0xC0C0C0 and white by the button text,
// shadow, face and highlight colours (with bMono every one of them but black becomes white).
// pclrTargets, when given, holds the four colours to use instead of the system's (in that order).
// NULL when the resource cannot be loaded.
HBITMAP TkLoadSysColorBitmap(HINSTANCE hInst, HRSRC hRsrc, BOOL bMono, const COLORREF* pclrTargets = NULL);
