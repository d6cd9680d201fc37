// "VlmrStatic1132": a static that renders the library's markup (Markup.h). Its window text is the
// markup; it is shown again whenever the text, the font or the enabled state changes. Bitmaps come
// from the module that made the control (its dialog's module). The background is the parent's
// answer to CTL_CTLCOLOR_STATIC, else to WM_CTLCOLORSTATIC, else the library's colour.
#pragma once

#include <windows.h>

bool RegisterVlmrStatic(HINSTANCE instance);
