// The control's own 16 x 16 icons: action pictures 0 .. 112 and the list icons (vlBR11.h BRICON_*).
#pragma once

#include <windows.h>

// The built-in icon of the number, made on first use and kept until the library is unloaded;
// NULL for a number without a built-in icon.
HICON BuiltinIcon(int number);
// Destroys the icons made so far.
void ReleaseBuiltinIcons();
